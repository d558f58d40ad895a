#include "ui/editor/EditForm.h"

#include <filesystem>

#include "host/framework/Streaming.h"
#include "host/ports/Ports.h"
#include "runtime/VLBase.h"
#include "runtime/VLCore.h"
#include "ui/editor/VLEditorWindow.h"
#include "vle/VLSettings.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/FormComponent.h"
#include "vle/settings/TranslatableSettings.h"

namespace vorlect::ui {

namespace {

TEditFormResult Failed(std::string error) {
  std::string shown = error;
  ports::MessageDlg(shown, ports::mtError, {ports::mbOK});
  for (char& c : error)
    if (c == '\r') c = ' ';
  return {1, std::move(error)};
}

}  // namespace

TEditFormResult EditFormFile(const std::string& formFile, const std::string& componentName,
                             const std::function<void(TEditVorlectWindow&)>& onWindow,
                             const std::string& settingsFile) {
  runtime::RegisterClasses();
  std::unique_ptr<host::TComponent> root;
  try {
    if (!settingsFile.empty()) vle::UseSettingsFile(settingsFile);
    vle::LoadExpertSettings();
    host::ReadOptions options;
    options.fileName = formFile;
    options.designing = true;
    root = host::LoadFormFile(formFile, options);
  } catch (const std::exception& e) {
    return Failed(e.what());
  }
  runtime::TBaseVorlect* component = vle::FindTranslationComponent(*root, componentName);
  if (!component)
    return Failed(componentName.empty() ? formFile + ": the form holds no translation component"
                                        : formFile + ": the form holds no translation component named " + componentName);

  const bool accepted = vle::TFEditVorlect::Open(*component, [&](vle::TFEditVorlect& editor) {
    editor.CsvFormFile = std::filesystem::absolute(formFile).string();
    TEditVorlectWindow window(editor);
    window.setWindowFilePath(QString::fromStdString(formFile));
    if (onWindow) onWindow(window);
    window.RunModal();
  });
  TEditFormResult result{accepted ? 0 : 1, {}};
  if (accepted) {
    try {
      vle::SaveComponent(formFile, *component);
    } catch (const std::exception& e) {
      result = Failed(std::string("The translations could not be saved:\r") + e.what());
    }
  }
  try {
    vle::SaveExpertSettings();
  } catch (const std::exception&) {
    // The notices and the CSV choice are only remembered; the form is what counts.
  }
  return result;
}

}  // namespace vorlect::ui
