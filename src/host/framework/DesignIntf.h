// Design-time registration: which components a form designer offers on which palette page, and
// which property editors and component editors it uses for them.
//
// A package registers its classes and editors once (its Register procedures); the designer asks
// the registry for the editors of the component and property at hand. Editors reach the edited
// component and tell the designer that the form changed through TDesigner.
#pragma once

#include "host/framework/Classes.h"
#include "host/framework/TypInfo.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::host {

// The form designer as an editor sees it.
class TDesigner {
public:
  virtual ~TDesigner() = default;
  // The form changed; the designer marks its file modified.
  virtual void Modified() = 0;
};

// Attributes a property editor reports to the inspector.
enum TPropertyAttribute : unsigned {
  paValueList = 1,       // offers a list of values
  paSubProperties = 2,   // expands into the properties of its object
  paDialog = 4,          // an ellipsis button opens Edit()
  paMultiSelect = 8,     // may edit several components at once
  paAutoUpdate = 16,     // every keystroke sets the value
  paSortList = 32,
  paReadOnly = 64,       // the value cannot be typed
  paRevertable = 128,
};
using TPropertyAttributes = unsigned;

class TPropertyEditor {
public:
  TPropertyEditor(TDesigner* designer, TPersistent& instance, const PropInfo& prop)
      : designer_(designer), instance_(&instance), prop_(&prop) {}
  virtual ~TPropertyEditor() = default;

  virtual TPropertyAttributes GetAttributes() { return paRevertable; }
  // The text the inspector shows.
  virtual std::string GetValue();
  // A typed value; false when this editor does not take typed values.
  virtual bool SetValue(const std::string& value);
  // The ellipsis button (paDialog).
  virtual void Edit() {}

  const PropInfo& Prop() const { return *prop_; }
  std::string GetName() const { return prop_->name; }
  TPersistent& Instance() const { return *instance_; }
  TComponent* Component() const { return dynamic_cast<TComponent*>(instance_); }
  TDesigner* Designer() const { return designer_; }
  // Tells the designer the property (and so the form) changed.
  void Modified() {
    if (designer_) designer_->Modified();
  }

private:
  TDesigner* designer_;
  TPersistent* instance_;
  const PropInfo* prop_;
};

// Editors of string, ordinal and class-typed properties, with the host's stock behaviour.
class TStringProperty : public TPropertyEditor {
public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() override { return paMultiSelect | paRevertable; }
};

class TOrdinalProperty : public TPropertyEditor {
public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() override;
};

class TClassProperty : public TPropertyEditor {
public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() override { return paMultiSelect | paSubProperties | paReadOnly; }
  std::string GetValue() override;  // "(TStringList)"
  bool SetValue(const std::string&) override { return false; }
};

class TComponentEditor {
public:
  TComponentEditor(TComponent& component, TDesigner* designer) : component_(&component), designer_(designer) {}
  virtual ~TComponentEditor() = default;

  virtual int GetVerbCount() { return 0; }
  virtual std::string GetVerb(int index) { return {}; }
  virtual void ExecuteVerb(int index) {}
  // A double-click on the component: the first verb when there is one.
  virtual void Edit() {
    if (GetVerbCount() > 0) ExecuteVerb(0);
  }

  TComponent& Component() const { return *component_; }
  TDesigner* Designer() const { return designer_; }

private:
  TComponent* component_;
  TDesigner* designer_;
};

using TPropertyEditorFactory =
    std::function<std::unique_ptr<TPropertyEditor>(TDesigner*, TPersistent&, const PropInfo&)>;
using TComponentEditorFactory = std::function<std::unique_ptr<TComponentEditor>(TComponent&, TDesigner*)>;

// What a designer asks the registry.
class TDesignRegistry {
public:
  struct PalettePage {
    std::string name;
    std::vector<const ClassInfo*> classes;  // in registration order
  };

  // Pages in the order they were first named.
  const std::vector<PalettePage>& Pages() const { return pages_; }
  const PalettePage* FindPage(std::string_view name) const;  // ASCII case ignored

  // The editor of `prop` on `instance`: the most recent registration whose property type, owning
  // class (the instance's class or an ancestor; null = any) and name (empty = any) match, else
  // the stock editor of the property's kind.
  std::unique_ptr<TPropertyEditor> PropertyEditor(TDesigner* designer, TPersistent& instance, const PropInfo& prop) const;
  // Whether a registration (not a stock editor) serves this property.
  bool HasRegisteredPropertyEditor(const TPersistent& instance, const PropInfo& prop) const;
  // The inspector's rows: every published property of the instance with its editor.
  std::vector<std::unique_ptr<TPropertyEditor>> PropertyEditors(TDesigner* designer, TPersistent& instance) const;

  // The editor registered for the component's class or its nearest ancestor; null when none.
  std::unique_ptr<TComponentEditor> ComponentEditor(TComponent& component, TDesigner* designer) const;

  void RegisterComponents(std::string_view page, const std::vector<const ClassInfo*>& classes);
  // `propertyType` is the class of a class-typed property (TStrings...), or null with `kind` naming
  // the type of a simple property.
  void RegisterPropertyEditor(TypeKind kind, const ClassInfo* propertyType, const ClassInfo* componentClass,
                              std::string_view propertyName, TPropertyEditorFactory factory);
  void RegisterComponentEditor(const ClassInfo& componentClass, TComponentEditorFactory factory);

  // Forgets every registration (a designer unloading its packages).
  void Clear();

private:
  struct PropertyRegistration {
    TypeKind kind;
    const ClassInfo* propertyType;
    const ClassInfo* componentClass;
    std::string propertyName;
    TPropertyEditorFactory factory;
  };
  struct ComponentRegistration {
    const ClassInfo* componentClass;
    TComponentEditorFactory factory;
  };
  const PropertyRegistration* FindPropertyRegistration(const TPersistent& instance, const PropInfo& prop) const;

  std::vector<PalettePage> pages_;
  std::vector<PropertyRegistration> properties_;
  std::vector<ComponentRegistration> components_;
};

// The process-wide registry the Register procedures fill.
TDesignRegistry& DesignRegistry();

void RegisterComponents(std::string_view page, const std::vector<const ClassInfo*>& classes);
void RegisterPropertyEditor(TypeKind kind, const ClassInfo* propertyType, const ClassInfo* componentClass,
                            std::string_view propertyName, TPropertyEditorFactory factory);
void RegisterComponentEditor(const ClassInfo& componentClass, TComponentEditorFactory factory);

template <class Editor>
TPropertyEditorFactory PropertyEditorOf() {
  return [](TDesigner* designer, TPersistent& instance, const PropInfo& prop) -> std::unique_ptr<TPropertyEditor> {
    return std::make_unique<Editor>(designer, instance, prop);
  };
}

template <class Editor>
TComponentEditorFactory ComponentEditorOf() {
  return [](TComponent& component, TDesigner* designer) -> std::unique_ptr<TComponentEditor> {
    return std::make_unique<Editor>(component, designer);
  };
}

}  // namespace vorlect::host
