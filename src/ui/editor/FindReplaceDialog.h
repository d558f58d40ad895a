// The editor's find and replace dialogs: a TVLFindDialog with the "Column range" template and a
// TVLReplaceDialog, both without whole-word matching, wired to the editor's search steps. Their
// windows are owned by the editor's window.
#pragma once

#include <QObject>

#include <functional>
#include <memory>

#include "dialogs/MyDialogs.h"
#include "vle/editor/VLEditor.h"

class QWidget;

namespace vorlect::ui {

class TVLFindWindow;

class TFindReplaceDialog : public QObject {
  Q_OBJECT
public:
  TFindReplaceDialog(vle::TFEditVorlect& editor, QWidget* window);
  ~TFindReplaceDialog() override;

  void ShowFind();
  void ShowReplace();
  // Closes whichever is open (the editor is closing).
  void hide();

  dialogs::TVLFindDialog& Find() { return *find_; }
  dialogs::TVLReplaceDialog& Replace() { return *replace_; }
  // The windows while they are open, else nullptr.
  TVLFindWindow* FindWindow() const;
  TVLFindWindow* ReplaceWindow() const;

  // Runs each search step (the window records it for undo and repaints).
  std::function<void(const QString& label, const std::function<void()>& step)> RunStep;

private:
  static vle::TFindOptions SearchOptions(const dialogs::TVLFindDialog& dialog);
  void Step(const QString& label, const vle::TFindOptions& options, const std::function<void()>& step);

  vle::TFEditVorlect& editor_;
  QWidget* window_;
  std::unique_ptr<dialogs::TVLFindDialog> find_;
  std::unique_ptr<dialogs::TVLReplaceDialog> replace_;
};

}  // namespace vorlect::ui
