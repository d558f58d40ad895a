// TFPrjList's window: the project manager. The selection page lists the project's forms with how
// far their translations are; the exchange page writes and reads CSV files and resource scripts;
// the menus hold the project-wide actions. The catalogue and every action are the logic's
// (vle::TFPrjList and the exchange and rewrite functions); the window shows the catalogue, keeps
// its selection and shows long work with progress. Messages go through the message port.
#pragma once

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "vle/project/VLEMain.h"

class QAction;
class QCheckBox;
class QEventLoop;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTreeView;

namespace vorlect::platform {
class FileLock;
}

namespace vorlect::ui {

class TEditVorlectWindow;
class TExchangePage;
class TPrjListFilter;
class TPrjListModel;

class TFPrjListWindow : public QMainWindow {
  Q_OBJECT
public:
  // Opens on the current host's project: saves its open files, reads every form with a progress
  // dialog, and asks what the opening asks (through the message port).
  explicit TFPrjListWindow(QWidget* parent = nullptr);
  ~TFPrjListWindow() override;

  // Shows the window and returns when it is closed.
  void RunModal();

  vle::TFPrjList& Catalogue() { return *catalogue_; }
  TPrjListModel& Model() { return *model_; }
  TPrjListFilter& Filter() { return *filter_; }
  QTreeView* List() const { return list_; }
  QStackedWidget* Pages() const { return pages_; }
  TExchangePage* Exchange() const { return exchange_; }
  QLineEdit* FilterBox() const { return filterBox_; }
  QCheckBox* IncompleteBox() const { return incompleteBox_; }
  QPushButton* SelectAllBtn() const { return selectAllBtn_; }
  QPushButton* LoadFormsBtn() const { return loadFormsBtn_; }
  QPushButton* SpellCheckBtn() const { return spellCheckBtn_; }
  QPushButton* ImExportBtn() const { return imExportBtn_; }
  QPushButton* OKBtn() const { return okBtn_; }
  QPushButton* HelpBtn() const { return helpBtn_; }
  // A menu command by its object name ("AddTVorlect1", "Warnings1", ...), a menu by its title's
  // name ("Action", "StringDLL", "Options", "Help").
  QAction* Action(const QString& name) const;
  QMenu* Menu(const QString& name) const;

  // Selects exactly these catalogue rows in the list (rows the filter hides are left out).
  void SelectRows(const std::vector<int>& rows);
  // The list row (as shown) of a catalogue row; -1 when the filter hides it.
  int ViewRow(int catalogueRow) const;

  void ShowSelectionPage();
  void ShowExchangePage();

  // Opens catalogue row `row`'s translation component in the editor window; when the user accepts,
  // the form is saved and the row read again.
  void EditRow(int row);
  // Sees the editor window EditRow opens (tests drive it from there).
  std::function<void(TEditVorlectWindow&)> OnEditorWindow;

  // The tool windows: search and replace, spell check, string-DLL build, tool paths, speller
  // setup. Their menu items and buttons are enabled only once a tool is installed.
  struct TTools {
    std::function<void(TFPrjListWindow&)> findReplace, spellCheck, compileDlls, configuration, spellSetup;
  };
  void InstallTools(TTools tools);

  // Long work over the catalogue (the actions, the tool windows): progress in a dialog, events
  // processed between forms. Returns what `work` returns.
  int RunWithProgress(const QString& title, const std::function<int()>& work);

  // The folder the last resource-script export wrote into: the string modules are built there.
  QString ScriptFolder;

  // What writes forms holds the project's lock (PROJECT.dpr.lock), as the command line's runs do:
  // null, after saying so, while another run holds it (the window does not wait). Without a
  // project there is nothing to lock: an empty lock, which is not null.
  std::optional<std::shared_ptr<platform::FileLock>> LockProject();

  // After the catalogue changed: every row shown again, the enabled states.
  void RefreshRows();
  void UpdateEnabled();

protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void BuildActions();
  void BuildSelectionPage();
  // `path`: the width the widest path needs, measured while the forms were read.
  void SizeColumns(int path);
  void SelectionChanged();

  void DoSelectAll();
  void DoLoadForms();
  void DoExport();
  void DoImport();
  void DoAddComponent();
  void DoEmpty();
  void DoExportRc();
  void DoWarnings();
  void DoHelp();

  std::unique_ptr<vle::TFPrjList> catalogue_;
  TPrjListModel* model_ = nullptr;
  TPrjListFilter* filter_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QTreeView* list_ = nullptr;
  TExchangePage* exchange_ = nullptr;
  QLineEdit* filterBox_ = nullptr;
  QCheckBox* incompleteBox_ = nullptr;
  QPushButton *selectAllBtn_ = nullptr, *loadFormsBtn_ = nullptr, *spellCheckBtn_ = nullptr,
              *imExportBtn_ = nullptr, *okBtn_ = nullptr, *helpBtn_ = nullptr;
  std::map<QString, QAction*> actions_;
  std::map<QString, QMenu*> menus_;
  TTools tools_;
  QEventLoop* loop_ = nullptr;
  bool shown_ = false;
  bool working_ = false;
};

}  // namespace vorlect::ui
