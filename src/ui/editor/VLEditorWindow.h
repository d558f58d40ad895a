// TFEditVorlect's window: the menus, the tool bar, the grid and the status bar of the translation
// editor. Every command is the logic's (vle::TFEditVorlect); the window forwards the user's keys,
// clicks and menu choices to it, records each change for undo and shows the result. Questions and
// messages go through the message port.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ui/editor/VLStGridWidget.h"
#include "vle/editor/EditorHistory.h"
#include "vle/editor/VLEditor.h"

class QAction;
class QLabel;
class QLineEdit;
class QToolBar;
class QEventLoop;

namespace vorlect::vle {
class TEditorSpelling;
}

namespace vorlect::ui {

class TFindReplaceDialog;
class TSpellerWindow;
class TSpellSetupWindow;

class TEditVorlectWindow : public QMainWindow {
  Q_OBJECT
public:
  explicit TEditVorlectWindow(vle::TFEditVorlect& editor, QWidget* parent = nullptr);
  ~TEditVorlectWindow() override;

  // Shows the window and returns when it is closed (Accept, Cancel or the close box).
  void RunModal();
  // TFEditVorlect::Open with this window; true only when the user accepted.
  static bool Open(runtime::TBaseVorlect& component, QWidget* parent = nullptr);

  vle::TFEditVorlect& Editor() { return editor_; }
  TVLStrGridWidget& GridWidget() { return *grid_; }
  vle::TEditorHistory& History() { return history_; }
  // Every menu command by its object name ("Accept1", "UpdateTable1", ...).
  QAction* Action(const QString& name) const;
  QLabel* ModePanel() const { return modePanel_; }
  QLabel* EmptyPanel() const { return emptyPanel_; }
  QLineEdit* FilterBox() const { return filterBox_; }
  QToolBar* ToolBar() const { return toolBar_; }
  TFindReplaceDialog* FindDialog() const { return findDialog_; }
  vle::TEditorSpelling* Spelling() const { return spelling_.get(); }  // null until first used

  // Runs one command of the logic as an undoable step and shows what it changed.
  void Run(const QString& label, const std::function<void()>& command);
  // After any change: grid, status bar, enabled states, filter.
  void Refresh();

  // The font and character-set dialog for the font row; replaceable (tests).
  std::function<std::optional<vle::TFontChoice>(const std::string& fontName, const std::string& charsetName)> SelectFont;
  // The table font dialog; the function gets the font and an Apply callback and returns the
  // chosen font, or nullopt for Cancel. Replaceable (tests).
  std::function<std::optional<ports::FontSpec>(const ports::FontSpec& font,
                                               const std::function<void(const ports::FontSpec&)>& apply)>
      SelectTableFont;
  // The filter: rows with an empty cell, and/or rows holding a text.
  void SetFilter(bool emptyOnly, const QString& text);

protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

private:
  void BuildActions();
  void BuildMenusAndToolBar();
  void BuildStatusBar();
  void ConnectGrid();
  void ApplyGeometry();
  void GeometryChanged();
  void PaintActiveMarker(QPainter& painter, int col, int row, const QRect& rect);
  void ApplyFilter();

  // Commands that need more than one call of the logic.
  void DoAccept();
  void DoCancel();
  void DoFind(bool replace);
  void DoTableFont();
  void DoDisappear();
  void DoCsvFormat();
  void DoSpellCheck();
  void DoSpellSetup();
  void DoHelp();
  void DoAbout();
  void UpdateUndoActions();

  vle::TFEditVorlect& editor_;
  vle::TEditorHistory history_;
  TVLStrGridWidget* grid_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* modePanel_ = nullptr;
  QLabel* emptyPanel_ = nullptr;
  QLineEdit* filterBox_ = nullptr;
  QAction* emptyFilter_ = nullptr;
  std::map<QString, QAction*> actions_;
  TFindReplaceDialog* findDialog_ = nullptr;
  std::unique_ptr<vle::TEditorSpelling> spelling_;
  TSpellerWindow* spellerWindow_ = nullptr;
  std::unique_ptr<TSpellSetupWindow> spellSetup_;
  void MakeSpelling();
  QEventLoop* loop_ = nullptr;
  bool geometryApplied_ = false;
  bool closing_ = false;
};

}  // namespace vorlect::ui
