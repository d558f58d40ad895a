// The demo's window: the project's main form in a form view, with a Language menu built from its
// translation component, a line showing one of its numbered strings, and the choice of a string
// module. Whatever the menus do goes through the translation component's own interface
// (Global_Set_ActiveLanguage, GetText, TLanguageDLLs), as a developer's program would.
#pragma once

#include "DemoProject.h"
#include "runtime/VLBase.h"
#include "ui/formview/FormView.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QMenu;

namespace vorlect::demo {

class DemoWindow : public QWidget {
  Q_OBJECT
public:
  // The forms must outlive the window; the first is the main form.
  explicit DemoWindow(std::vector<LoadedForm>& forms, QWidget* parent = nullptr);
  ~DemoWindow() override;

  ui::formview::FormView& MainView() const { return *views_.front(); }
  // The texts the main form's widgets show, then the message line.
  QStringList ShownTexts() const;
  QString Message() const;

  void SwitchLanguage(int language);
  // Reads every form's texts from a string module. False with `error` set when it cannot be read.
  bool UseStringModule(const std::string& file, std::string& error);
  // Gives every form the character set of the string module's language (see StringModuleCharset).
  void TakeStringModuleCharset(const std::string& file);

private:
  void BuildMenus();
  void RebuildLanguageMenu();
  void UpdateMessage();
  void ChooseStringModule();
  void ShowMessage();

  std::vector<LoadedForm>& forms_;
  std::vector<std::unique_ptr<ui::formview::FormView>> views_;
  std::unique_ptr<runtime::TLanguageDLLs> dlls_;
  QMenu* languageMenu_ = nullptr;
  QLabel* message_ = nullptr;
};

}  // namespace vorlect::demo
