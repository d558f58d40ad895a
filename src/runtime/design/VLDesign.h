// Design-time side of the translation components: their palette page, the property editors of
// the table lists and of the string module, and the component editors whose verbs open the
// translation editor, switch the language shown and add a language.
//
// The translation editor lives in the expert module; the package reaches it through the expert's
// exported EditorCall, found among the modules already loaded (never loading one itself).
#pragma once

#include "host/framework/DesignIntf.h"
#include "runtime/VLBase.h"

#include <string>

namespace vorlect::runtime::design {

inline constexpr const char* kPalettePage = "sw quillon";
inline constexpr const char* kExpertModule = "libvorlect-expert.so";
inline constexpr const char* kEditorCallName = "EditorCall";
inline constexpr const char* kSupportAddress = "support@vorlect.org";

// EditorCall's signature: the component in, true when the user accepted.
using TEditorCall = bool (*)(TBaseVorlect* component);

// Opens the translation editor for `component` through the expert. False (after the warning) when
// the expert module is not loaded or does not export EditorCall, or when the user did not accept.
bool EditTranslations(TBaseVorlect& component);

// "T&ranslations", "Language &0".., "A&dd language".
class TVorlectEditor : public host::TComponentEditor {
public:
  using host::TComponentEditor::TComponentEditor;
  int GetVerbCount() override;
  std::string GetVerb(int index) override;
  void ExecuteVerb(int index) override;

protected:
  TBaseVorlect& Vorlect() const;
};

// Words, Positions and CharSets: an ellipsis that opens the translation editor.
class TWordProperty : public host::TPropertyEditor {
public:
  using host::TPropertyEditor::TPropertyEditor;
  host::TPropertyAttributes GetAttributes() override { return host::paDialog; }
  std::string GetValue() override;
  bool SetValue(const std::string&) override { return false; }
  void Edit() override;
};

// TLanguageDLLs.DLL: typed, or chosen with a file dialog.
class TDLLProperty : public host::TPropertyEditor {
public:
  using host::TPropertyEditor::TPropertyEditor;
  host::TPropertyAttributes GetAttributes() override { return host::paDialog; }
  std::string GetValue() override;
  bool SetValue(const std::string& value) override;
  void Edit() override;
};

class TDLLEditor : public host::TComponentEditor {
public:
  using host::TComponentEditor::TComponentEditor;
  int GetVerbCount() override { return 1; }
  std::string GetVerb(int index) override { return index == 0 ? "Select DLL" : std::string(); }
  void ExecuteVerb(int index) override;
};

// The file dialog of TDLLProperty and TDLLEditor; the chosen file, or empty when declined.
std::string SelectStringDLL(const std::string& current);

// One Register procedure per unit, as the package's units have them.
namespace vlbase {
void Register();
}
namespace vlcore {
void Register();
}
namespace svlcore {
// The small component's own pair: they behave as those of TVorlect, on a TSmallVorlect.
class TVorlectEditor : public design::TVorlectEditor {
public:
  using design::TVorlectEditor::TVorlectEditor;
};
class TWordProperty : public design::TWordProperty {
public:
  using design::TWordProperty::TWordProperty;
};
void Register();
}  // namespace svlcore

// All three, in unit order.
void RegisterPackage();

}  // namespace vorlect::runtime::design
