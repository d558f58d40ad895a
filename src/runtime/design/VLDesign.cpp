#include "runtime/design/VLDesign.h"

#include "host/ports/Ports.h"
#include "platform/Modules.h"
#include "runtime/VLCore.h"
#include "runtime/svlcore.h"

namespace vorlect::runtime::design {

namespace {

// The entry point found by the last opening; forgotten before every look-up, as the expert may
// have been unloaded in between.
TEditorCall lastEditorCall = nullptr;

}  // namespace

bool EditTranslations(TBaseVorlect& component) {
  lastEditorCall = nullptr;
  void* expert = platform::GetModuleHandle(kExpertModule);
  if (!expert) {
    ports::MessageDlg(std::string("Translation editor not found -\rplease reinstall TVorlect or\remail ") +
                          kSupportAddress + " for help.",
                      ports::mtWarning, {ports::mbOK});
    return false;
  }
  lastEditorCall = reinterpret_cast<TEditorCall>(platform::GetProcAddress(expert, kEditorCallName));
  if (!lastEditorCall) {
    ports::MessageDlg("Editor cannot be invoked", ports::mtWarning, {ports::mbOK});
    return false;
  }
  return lastEditorCall(&component);
}

// ---- TVorlectEditor ----------------------------------------------------------------------------

TBaseVorlect& TVorlectEditor::Vorlect() const { return dynamic_cast<TBaseVorlect&>(Component()); }

int TVorlectEditor::GetVerbCount() { return Vorlect().Languages() + 2; }

std::string TVorlectEditor::GetVerb(int index) {
  const int languages = Vorlect().Languages();
  if (index == 0) return "T&ranslations";
  if (index >= 1 && index <= languages) return "Language &" + std::to_string(index - 1);
  if (index == languages + 1) return "A&dd language";
  return {};
}

void TVorlectEditor::ExecuteVerb(int index) {
  TBaseVorlect& vorlect = Vorlect();
  const int languages = vorlect.Languages();
  if (index == 0) {
    if (EditTranslations(vorlect) && Designer()) Designer()->Modified();
  } else if (index >= 1 && index <= languages) {
    vorlect.SetActiveLanguage(static_cast<std::uint8_t>(index - 1));
  } else if (index == languages + 1 && languages < 255) {
    // The language count is a byte: a component with 255 languages gets no more.
    vorlect.SetLanguages(static_cast<std::uint8_t>(languages + 1));
  }
}

// ---- TWordProperty -----------------------------------------------------------------------------

std::string TWordProperty::GetValue() { return "(TStrings)"; }

void TWordProperty::Edit() {
  auto* vorlect = dynamic_cast<TBaseVorlect*>(Component());
  if (vorlect && EditTranslations(*vorlect)) Modified();
}

// ---- TDLLProperty and TDLLEditor ---------------------------------------------------------------

std::string SelectStringDLL(const std::string& current) {
  ports::FileDialogOptions options;
  options.title = "Select a String DLL";
  options.fileName = current;
  options.filter = "String DLLs|*.dll";
  options.defaultExt = "dll";
  // The dialog port only offers files that exist for opening.
  return ports::OpenFileDialog(options).value_or(std::string());
}

std::string TDLLProperty::GetValue() {
  auto* dlls = dynamic_cast<TLanguageDLLs*>(Component());
  return dlls ? dlls->GetDLL() : std::string();
}

bool TDLLProperty::SetValue(const std::string& value) {
  auto* dlls = dynamic_cast<TLanguageDLLs*>(Component());
  if (!dlls) return false;
  dlls->SetDLL(value);
  Modified();
  return true;
}

void TDLLProperty::Edit() {
  auto* dlls = dynamic_cast<TLanguageDLLs*>(Component());
  if (!dlls) return;
  const std::string chosen = SelectStringDLL(dlls->GetDLL());
  if (chosen.empty()) return;
  dlls->SetDLL(chosen);
  Modified();
}

void TDLLEditor::ExecuteVerb(int index) {
  auto* dlls = dynamic_cast<TLanguageDLLs*>(&Component());
  if (index != 0 || !dlls) return;
  const std::string chosen = SelectStringDLL(dlls->GetDLL());
  if (chosen.empty()) return;
  dlls->SetDLL(chosen);
  if (Designer()) Designer()->Modified();
}

// ---- registration ------------------------------------------------------------------------------

namespace vlbase {
void Register() {
  host::RegisterComponents(kPalettePage, {&TLanguageDLLs::StaticClass()});
  host::RegisterPropertyEditor(host::TypeKind::String, nullptr, &TLanguageDLLs::StaticClass(), "DLL",
                               host::PropertyEditorOf<TDLLProperty>());
  host::RegisterComponentEditor(TLanguageDLLs::StaticClass(), host::ComponentEditorOf<TDLLEditor>());
}
}  // namespace vlbase

namespace vlcore {
void Register() {
  host::RegisterComponents(kPalettePage, {&TVorlect::StaticClass()});
  for (const char* list : {"Words", "Positions", "CharSets"})
    host::RegisterPropertyEditor(host::TypeKind::StringList, &host::TStrings::StaticClass(), &TVorlect::StaticClass(),
                                 list, host::PropertyEditorOf<TWordProperty>());
  host::RegisterComponentEditor(TVorlect::StaticClass(), host::ComponentEditorOf<TVorlectEditor>());
}
}  // namespace vlcore

namespace svlcore {
void Register() {
  host::RegisterComponents(kPalettePage, {&TSmallVorlect::StaticClass()});
  host::RegisterPropertyEditor(host::TypeKind::StringList, &host::TStrings::StaticClass(),
                               &TSmallVorlect::StaticClass(), "Words", host::PropertyEditorOf<TWordProperty>());
  host::RegisterComponentEditor(TSmallVorlect::StaticClass(), host::ComponentEditorOf<TVorlectEditor>());
}
}  // namespace svlcore

void RegisterPackage() {
  vlbase::Register();
  vlcore::Register();
  svlcore::Register();
}

}  // namespace vorlect::runtime::design
