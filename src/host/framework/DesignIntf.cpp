#include "host/framework/DesignIntf.h"


#include <algorithm>

namespace vorlect::host {

std::string TPropertyEditor::GetValue() { return GetPropText(Instance(), Prop().name); }

bool TPropertyEditor::SetValue(const std::string& value) {
  const PropInfo& prop = Prop();
  if (prop.IsReadOnly()) return false;
  switch (prop.kind) {
    case TypeKind::String:
    case TypeKind::Char:
      SetStrProp(Instance(), &prop, value);
      break;
    case TypeKind::Enumeration:
    case TypeKind::Boolean:
      SetEnumProp(Instance(), &prop, value);
      break;
    case TypeKind::Set:
      SetSetProp(Instance(), prop.name, value);
      break;
    case TypeKind::Integer:
    case TypeKind::Byte:
    case TypeKind::Int64: {
      std::int64_t n = 0;
      if (!prop.identMap || !prop.identMap->ToInt(value, n)) {
        size_t used = 0;
        try {
          n = std::stoll(value, &used, 0);
        } catch (const std::exception&) {
          used = 0;
        }
        if (used == 0 || used != value.size()) throw EPropertyError("'" + value + "' is not a valid integer value");
      }
      if (prop.kind == TypeKind::Int64) SetInt64Prop(Instance(), prop.name, n);
      else SetOrdProp(Instance(), &prop, n);
      break;
    }
    case TypeKind::Float:
      try {
        SetFloatProp(Instance(), &prop, std::stod(value));
      } catch (const std::invalid_argument&) {
        throw EPropertyError("'" + value + "' is not a valid floating point value");
      }
      break;
    case TypeKind::Method:
      SetMethodProp(Instance(), &prop, value);
      break;
    default:
      return false;
  }
  Modified();
  return true;
}

TPropertyAttributes TOrdinalProperty::GetAttributes() {
  TPropertyAttributes a = paMultiSelect | paRevertable;
  if (Prop().kind == TypeKind::Enumeration || Prop().kind == TypeKind::Boolean) a |= paValueList | paSortList;
  return a;
}

std::string TClassProperty::GetValue() {
  const ClassInfo* cls = Prop().ClassTypeInfo();
  return "(" + (cls ? cls->Name() : std::string("TPersistent")) + ")";
}

// ---- registry --------------------------------------------------------------------------------

const TDesignRegistry::PalettePage* TDesignRegistry::FindPage(std::string_view name) const {
  for (const PalettePage& page : pages_)
    if (SameText(page.name, name)) return &page;
  return nullptr;
}

void TDesignRegistry::RegisterComponents(std::string_view page, const std::vector<const ClassInfo*>& classes) {
  PalettePage* target = nullptr;
  for (PalettePage& p : pages_)
    if (SameText(p.name, page)) target = &p;
  if (!target) {
    pages_.push_back({std::string(page), {}});
    target = &pages_.back();
  }
  for (const ClassInfo* cls : classes) {
    if (!cls) continue;
    RegisterClass(*cls);
    if (std::find(target->classes.begin(), target->classes.end(), cls) == target->classes.end())
      target->classes.push_back(cls);
  }
}

void TDesignRegistry::RegisterPropertyEditor(TypeKind kind, const ClassInfo* propertyType,
                                             const ClassInfo* componentClass, std::string_view propertyName,
                                             TPropertyEditorFactory factory) {
  properties_.push_back({kind, propertyType, componentClass, std::string(propertyName), std::move(factory)});
}

void TDesignRegistry::RegisterComponentEditor(const ClassInfo& componentClass, TComponentEditorFactory factory) {
  components_.push_back({&componentClass, std::move(factory)});
}

void TDesignRegistry::Clear() {
  pages_.clear();
  properties_.clear();
  components_.clear();
}

const TDesignRegistry::PropertyRegistration* TDesignRegistry::FindPropertyRegistration(const TPersistent& instance,
                                                                                       const PropInfo& prop) const {
  const ClassInfo* type = prop.ClassTypeInfo();
  // The latest registration wins, as a package registered later overrides an earlier one.
  for (auto it = properties_.rbegin(); it != properties_.rend(); ++it) {
    if (it->propertyType) {
      if (!type || !type->InheritsFrom(*it->propertyType)) continue;
    } else if (it->kind != prop.kind) {
      continue;
    }
    if (it->componentClass && !instance.InheritsFrom(*it->componentClass)) continue;
    if (!it->propertyName.empty() && !SameText(it->propertyName, prop.name)) continue;
    return &*it;
  }
  return nullptr;
}

bool TDesignRegistry::HasRegisteredPropertyEditor(const TPersistent& instance, const PropInfo& prop) const {
  return FindPropertyRegistration(instance, prop) != nullptr;
}

std::unique_ptr<TPropertyEditor> TDesignRegistry::PropertyEditor(TDesigner* designer, TPersistent& instance,
                                                                 const PropInfo& prop) const {
  if (const PropertyRegistration* r = FindPropertyRegistration(instance, prop)) return r->factory(designer, instance, prop);
  switch (prop.kind) {
    case TypeKind::String:
    case TypeKind::Char:
      return std::make_unique<TStringProperty>(designer, instance, prop);
    case TypeKind::Class:
    case TypeKind::StringList:
    case TypeKind::Collection:
      if (!prop.isReference) return std::make_unique<TClassProperty>(designer, instance, prop);
      return std::make_unique<TPropertyEditor>(designer, instance, prop);
    case TypeKind::Integer:
    case TypeKind::Byte:
    case TypeKind::Boolean:
    case TypeKind::Enumeration:
      return std::make_unique<TOrdinalProperty>(designer, instance, prop);
    default:
      return std::make_unique<TPropertyEditor>(designer, instance, prop);
  }
}

std::vector<std::unique_ptr<TPropertyEditor>> TDesignRegistry::PropertyEditors(TDesigner* designer,
                                                                                TPersistent& instance) const {
  std::vector<std::unique_ptr<TPropertyEditor>> editors;
  for (const PropInfo* prop : GetPropList(instance)) editors.push_back(PropertyEditor(designer, instance, *prop));
  return editors;
}

std::unique_ptr<TComponentEditor> TDesignRegistry::ComponentEditor(TComponent& component, TDesigner* designer) const {
  // The nearest ancestor's registration: walk the class chain from the component's own class.
  for (const ClassInfo* cls = &component.ClassType(); cls; cls = cls->Parent())
    for (auto it = components_.rbegin(); it != components_.rend(); ++it)
      if (it->componentClass == cls) return it->factory(component, designer);
  return nullptr;
}

TDesignRegistry& DesignRegistry() {
  static TDesignRegistry registry;
  return registry;
}

void RegisterComponents(std::string_view page, const std::vector<const ClassInfo*>& classes) {
  DesignRegistry().RegisterComponents(page, classes);
}

void RegisterPropertyEditor(TypeKind kind, const ClassInfo* propertyType, const ClassInfo* componentClass,
                            std::string_view propertyName, TPropertyEditorFactory factory) {
  DesignRegistry().RegisterPropertyEditor(kind, propertyType, componentClass, propertyName, std::move(factory));
}

void RegisterComponentEditor(const ClassInfo& componentClass, TComponentEditorFactory factory) {
  DesignRegistry().RegisterComponentEditor(componentClass, std::move(factory));
}

}  // namespace vorlect::host
