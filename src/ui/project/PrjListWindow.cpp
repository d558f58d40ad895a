#include "ui/project/PrjListWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <filesystem>

#include "host/ports/Ports.h"
#include "platform/Files.h"
#include "host/toolservices/ToolServices.h"
#include "ui/FCSVSetup.h"
#include "ui/FSetLang.h"
#include "ui/Help.h"
#include "ui/LongWork.h"
#include "ui/QtText.h"
#include "ui/editor/EditForm.h"
#include "ui/project/ExchangePage.h"
#include "ui/project/PrjListModel.h"
#include "vle/VLSettings.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/ProjectForms.h"

namespace vorlect::ui {

namespace {

constexpr const char* kHelpKeyword = "project manager";
constexpr int kLanguagesColumn = 30, kFormColumn = 90, kPathColumn = 180;

std::string PathOf(const QString& file) { return QFile::encodeName(file).toStdString(); }

struct TCommand {
  const char* name;
  const char* menu;
  const char* caption;
};

// Every menu item, in menu order; a null caption is a separator.
constexpr TCommand kCommands[] = {
    {"FindReplace1", "Action", "&Find && Replace"},
    {"SpellCheck1", "Action", "&Spell-Check"},
    {"AddTVorlect1", "Action", "&Add TVorlect"},
    {"N1", "Action", nullptr},
    {"Exit1", "Action", "E&xit"},
    {"ExportRc1", "StringDLL", "Export to *.rc"},
    {"CompileDLLs1", "StringDLL", "Compile DLLs"},
    {"EmptyStringLists1", "StringDLL", "Empty StringLists"},
    {"N2", "StringDLL", nullptr},
    {"Configuration1", "StringDLL", "Configuration..."},
    {"Warnings1", "Options", "&Warnings"},
    {"CSVFormat1", "Options", "&CSV Format"},
    {"LanguageSetup1", "Options", "&Language Setup"},
    {"SpellChecker1", "Options", "&Spell Checker"},
    {"ProjectManager1", "Help", "&Project Manager"},
};

struct TMenu {
  const char* name;
  const char* title;
};
constexpr TMenu kMenus[] = {
    {"Action", "&Action"}, {"StringDLL", "&String-DLL"}, {"Options", "&Options"}, {"Help", "&Help"}};

}  // namespace

TFPrjListWindow::TFPrjListWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("FPrjList");
  setAttribute(Qt::WA_DeleteOnClose, false);
  BuildActions();

  pages_ = new QStackedWidget(this);
  setCentralWidget(pages_);
  BuildSelectionPage();
  exchange_ = new TExchangePage(pages_);
  pages_->addWidget(exchange_);
  connect(exchange_, &TExchangePage::ExportRequested, this, &TFPrjListWindow::DoExport);
  connect(exchange_, &TExchangePage::ImportRequested, this, &TFPrjListWindow::DoImport);
  connect(exchange_, &TExchangePage::BackRequested, this, &TFPrjListWindow::ShowSelectionPage);
  connect(exchange_, &TExchangePage::HelpRequested, this, &TFPrjListWindow::DoHelp);
  resize(640, 420);

  // The opening: every form read once, with progress; the messages it shows have no window yet.
  // The paths are measured for the column's width as they come, between two rounds of events.
  const QFontMetrics metrics(list_->font());
  int pathWidth = 20;
  {
    TLongWork work(nullptr, tr("Reading the project's forms"));
    // Counts only between the steps: a project of thousands of forms does not hold every table,
    // and each step reads the tables it needs from the form files again.
    catalogue_ = std::make_unique<vle::TFPrjList>(
        true,
        [&](int done, int total, const std::string& file) {
          const QString path = QFile::decodeName(file.c_str());
          pathWidth = std::max(pathWidth, metrics.horizontalAdvance(path) + 20);
          work.Step(done, total, path);
        },
        /*keepLines=*/false);
  }
  catalogue_->Progress = {};
  catalogue_->OpenLanguageSetup = [this] { ExecLanguageSetup(this); };
  setWindowTitle(QFile::decodeName(catalogue_->Caption().c_str()));

  model_ = new TPrjListModel(*catalogue_, this);
  filter_ = new TPrjListFilter(this);
  filter_->setSourceModel(model_);
  list_->setModel(filter_);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFPrjListWindow::SelectionChanged);
  SizeColumns(pathWidth);

  const std::filesystem::path project(catalogue_->Caption());
  if (!catalogue_->Caption().empty()) exchange_->SetFolder(QFile::decodeName(project.parent_path().c_str()));
  UpdateEnabled();
  if (catalogue_->LanguageSetupRequested) {
    catalogue_->LanguageSetupRequested = false;
    ExecLanguageSetup(this);
  }
}

TFPrjListWindow::~TFPrjListWindow() {
  // The list and its models go while the catalogue they show still exists.
  delete pages_;
  delete filter_;
  delete model_;
}

void TFPrjListWindow::BuildActions() {
  for (const TMenu& m : kMenus) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(m.title));
    menu->setObjectName(m.name);
    menus_[m.name] = menu;
  }
  for (const TCommand& c : kCommands) {
    QMenu* menu = menus_.at(c.menu);
    if (!c.caption) {
      menu->addSeparator()->setObjectName(c.name);
      continue;
    }
    auto* action = new QAction(QString::fromLatin1(c.caption), this);
    action->setObjectName(c.name);
    menu->addAction(action);
    actions_[c.name] = action;
  }
  const std::pair<const char*, std::function<void()>> handlers[] = {
      {"FindReplace1", [this] { if (tools_.findReplace) tools_.findReplace(*this); }},
      {"SpellCheck1", [this] { if (tools_.spellCheck) tools_.spellCheck(*this); }},
      {"AddTVorlect1", [this] { DoAddComponent(); }},
      {"Exit1", [this] { close(); }},
      {"ExportRc1", [this] { DoExportRc(); }},
      {"CompileDLLs1", [this] { if (tools_.compileDlls) tools_.compileDlls(*this); }},
      {"EmptyStringLists1", [this] { DoEmpty(); }},
      {"Configuration1", [this] { if (tools_.configuration) tools_.configuration(*this); }},
      {"Warnings1", [this] { DoWarnings(); }},
      {"CSVFormat1", [this] { ExecCsvSetup(this); }},
      {"LanguageSetup1", [this] { ExecLanguageSetup(this); }},
      {"SpellChecker1", [this] { if (tools_.spellSetup) tools_.spellSetup(*this); }},
      {"ProjectManager1", [this] { DoHelp(); }},
  };
  for (const auto& [name, fn] : handlers) connect(actions_.at(name), &QAction::triggered, this, fn);
}

void TFPrjListWindow::BuildSelectionPage() {
  auto* page = new QWidget(pages_);
  filterBox_ = new QLineEdit(page);
  filterBox_->setObjectName("FilterEdit");
  filterBox_->setPlaceholderText(tr("Filter: form or path"));
  filterBox_->setClearButtonEnabled(true);
  incompleteBox_ = new QCheckBox(tr("&Incomplete only"), page);
  incompleteBox_->setObjectName("IncompleteCheckBox");
  incompleteBox_->setToolTip(tr("Show only the forms whose tables have texts still to translate"));
  list_ = new QTreeView(page);
  list_->setObjectName("ListView1");
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSortingEnabled(true);
  list_->header()->setSortIndicatorShown(true);
  list_->header()->setSortIndicator(-1, Qt::AscendingOrder);  // project order until a title is clicked
  list_->header()->setStretchLastSection(false);
  list_->setIconSize(QSize(16, 16));

  selectAllBtn_ = new QPushButton(QStringLiteral("Select &All"), page);
  selectAllBtn_->setObjectName("BtnSelectAll");
  loadFormsBtn_ = new QPushButton(QStringLiteral("Load &Forms"), page);
  loadFormsBtn_->setObjectName("BtnLoadForms");
  spellCheckBtn_ = new QPushButton(QStringLiteral("Spell-Check"), page);
  spellCheckBtn_->setObjectName("BtnSpellCheck");
  okBtn_ = new QPushButton(QStringLiteral("OK"), page);
  okBtn_->setObjectName("BtnOK");
  imExportBtn_ = new QPushButton(QStringLiteral("&Im/Export >>"), page);
  imExportBtn_->setObjectName("BtnImExport");
  helpBtn_ = new QPushButton(QStringLiteral("&Help"), page);
  helpBtn_->setObjectName("BtnHelp");

  auto* top = new QHBoxLayout;
  top->addWidget(filterBox_, 1);
  top->addWidget(incompleteBox_);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {selectAllBtn_, loadFormsBtn_, spellCheckBtn_}) buttons->addWidget(b);
  buttons->addStretch(1);
  for (QPushButton* b : {okBtn_, imExportBtn_, helpBtn_}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  pages_->addWidget(page);

  connect(filterBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
    filter_->SetText(text.trimmed());
    SelectionChanged();
  });
  connect(incompleteBox_, &QCheckBox::toggled, this, [this](bool on) {
    filter_->SetIncompleteOnly(on);
    SelectionChanged();
  });
  connect(list_, &QTreeView::doubleClicked, this,
          [this](const QModelIndex& index) { EditRow(filter_->mapToSource(index).row()); });
  connect(selectAllBtn_, &QPushButton::clicked, this, &TFPrjListWindow::DoSelectAll);
  connect(loadFormsBtn_, &QPushButton::clicked, this, &TFPrjListWindow::DoLoadForms);
  connect(spellCheckBtn_, &QPushButton::clicked, this, [this] { if (tools_.spellCheck) tools_.spellCheck(*this); });
  connect(okBtn_, &QPushButton::clicked, this, &QWidget::close);
  connect(imExportBtn_, &QPushButton::clicked, this, &TFPrjListWindow::ShowExchangePage);
  connect(helpBtn_, &QPushButton::clicked, this, &TFPrjListWindow::DoHelp);
}

void TFPrjListWindow::SizeColumns(int path) {
  // "Form" and "Path" as wide as their widest text, plus a margin.
  const QFontMetrics metrics(list_->font());
  int form = 20;
  for (int i = 0; i < catalogue_->Count(); ++i)
    form = std::max(form, metrics.horizontalAdvance(FromAnsi(catalogue_->Entry(i).FormClassName)) + 20);
  if (catalogue_->Count() == 0) {
    form = kFormColumn;
    path = kPathColumn;
  }
  QHeaderView* header = list_->header();
  header->resizeSection(TPrjListModel::colLanguages,
                        std::max(kLanguagesColumn, list_->iconSize().width() + metrics.horizontalAdvance("888") + 16));
  header->resizeSection(TPrjListModel::colDone, std::max(header->sectionSizeHint(TPrjListModel::colDone),
                                                         metrics.horizontalAdvance("100%") + 20));
  header->resizeSection(TPrjListModel::colForm, form);
  header->resizeSection(TPrjListModel::colPath, path);
}

QAction* TFPrjListWindow::Action(const QString& name) const {
  const auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* TFPrjListWindow::Menu(const QString& name) const {
  const auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

void TFPrjListWindow::InstallTools(TTools tools) {
  tools_ = std::move(tools);
  UpdateEnabled();
}

// ---- Selection ----------------------------------------------------------------------------------

void TFPrjListWindow::SelectionChanged() {
  // What the list shows selected is what the actions work on: rows the filter hides are not.
  std::vector<char> selected(static_cast<size_t>(catalogue_->Count()), 0);
  for (const QModelIndex& index : list_->selectionModel()->selectedRows())
    selected[static_cast<size_t>(filter_->mapToSource(index).row())] = 1;
  for (int i = 0; i < catalogue_->Count(); ++i) catalogue_->SetSelected(i, selected[static_cast<size_t>(i)] != 0);
  UpdateEnabled();
}

void TFPrjListWindow::SelectRows(const std::vector<int>& rows) {
  QItemSelection selection;
  for (int row : rows) {
    const int shown = ViewRow(row);
    if (shown >= 0) selection.select(filter_->index(shown, 0), filter_->index(shown, TPrjListModel::kColumns - 1));
  }
  list_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  SelectionChanged();
}

int TFPrjListWindow::ViewRow(int catalogueRow) const {
  const QModelIndex index = filter_->mapFromSource(model_->index(catalogueRow, 0));
  return index.isValid() ? index.row() : -1;
}

void TFPrjListWindow::UpdateEnabled() {
  const bool any = catalogue_ && catalogue_->SelectedCount() > 0;
  imExportBtn_->setEnabled(any);
  loadFormsBtn_->setEnabled(any);
  spellCheckBtn_->setEnabled(any && tools_.spellCheck);
  actions_.at("SpellCheck1")->setEnabled(any && tools_.spellCheck);
  actions_.at("FindReplace1")->setEnabled(any && tools_.findReplace);
  actions_.at("CompileDLLs1")->setEnabled(catalogue_ && catalogue_->CompileDllsEnabled && tools_.compileDlls);
  actions_.at("EmptyStringLists1")->setEnabled(catalogue_ && catalogue_->EmptyStringListsEnabled);
  actions_.at("Configuration1")->setEnabled(static_cast<bool>(tools_.configuration));
  actions_.at("SpellChecker1")->setEnabled(static_cast<bool>(tools_.spellSetup));
}

void TFPrjListWindow::DoSelectAll() {
  // All rows shown selected: none; otherwise all rows shown.
  const int shown = filter_->rowCount();
  if (shown == 0) return;
  if (list_->selectionModel()->selectedRows().size() == shown) {
    list_->selectionModel()->clearSelection();
  } else {
    list_->selectionModel()->select(
        QItemSelection(filter_->index(0, 0), filter_->index(shown - 1, TPrjListModel::kColumns - 1)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  SelectionChanged();
}

void TFPrjListWindow::RefreshRows() {
  model_->Refresh();
  SelectionChanged();
}

// ---- Pages --------------------------------------------------------------------------------------

void TFPrjListWindow::ShowSelectionPage() {
  menus_.at("Action")->menuAction()->setEnabled(true);
  menus_.at("Options")->menuAction()->setEnabled(true);
  pages_->setCurrentIndex(0);
  list_->setFocus();
}

void TFPrjListWindow::ShowExchangePage() {
  menus_.at("Action")->menuAction()->setEnabled(false);
  menus_.at("Options")->menuAction()->setEnabled(false);
  pages_->setCurrentWidget(exchange_);
  if (exchange_->Files()->count() > 0) exchange_->Files()->setFocus();
  else exchange_->NameEdit()->setFocus();
}

void TFPrjListWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  ShowSelectionPage();
  if (exchange_->Files()->count() > 0) exchange_->SelectFile(exchange_->Files()->item(0)->text());
}

void TFPrjListWindow::closeEvent(QCloseEvent* event) {
  if (working_) {
    event->ignore();
    return;
  }
  event->accept();
  if (loop_) loop_->quit();
}

void TFPrjListWindow::RunModal() {
  setWindowModality(Qt::ApplicationModal);
  show();
  QEventLoop loop;
  loop_ = &loop;
  loop.exec(QEventLoop::DialogExec);
  loop_ = nullptr;
  hide();
}

// ---- Actions ------------------------------------------------------------------------------------

int TFPrjListWindow::RunWithProgress(const QString& title, const std::function<int()>& work) {
  TLongWork progress(this, title);
  working_ = true;
  catalogue_->Progress = [&progress](int done, int total, const std::string& file) {
    progress.Step(done, total, QFile::decodeName(file.c_str()));
  };
  struct TReset {
    TFPrjListWindow* w;
    ~TReset() {
      w->catalogue_->Progress = {};
      w->working_ = false;
    }
  } reset{this};
  return work();
}

std::optional<std::shared_ptr<platform::FileLock>> TFPrjListWindow::LockProject() {
  const std::string& project = catalogue_->Caption();
  if (project.empty()) return std::shared_ptr<platform::FileLock>();
  try {
    if (std::shared_ptr<platform::FileLock> lock = platform::FileLock::TryLock(project + ".lock")) return lock;
    ports::MessageDlg("Another run is changing the forms of " + project + ".\rTry again when it has finished.",
                      ports::mtWarning, {ports::mbOK});
  } catch (const std::exception& e) {
    ports::MessageDlg(std::string("The project could not be locked:\r") + e.what(), ports::mtError, {ports::mbOK});
  }
  return std::nullopt;
}

void TFPrjListWindow::DoLoadForms() {
  toolservices::HostServices* host = toolservices::GetHostServices();
  for (int i = 0; i < catalogue_->Count(); ++i) {
    if (!catalogue_->Selected(i)) continue;
    const std::string unit = vle::ResolveSiblingFile(catalogue_->Entry(i).FormFile, ".pas");
    if (host) host->HostOpenFile(unit);
  }
  close();
}

void TFPrjListWindow::DoExport() {
  const QString target = exchange_->TargetFile();
  vle::TExportOptions options;
  options.utf8 = exchange_->Utf8Box()->isChecked();
  const int count = RunWithProgress(tr("Export"), [&] { return vle::ExportProject(*catalogue_, PathOf(target), options); });
  exchange_->RefreshFiles();
  if (count < 0) return;
  if (QFileInfo(target).suffix().toLower() == QLatin1String("rc")) ScriptFolder = QFileInfo(target).absolutePath();
  exchange_->SelectFile(QFileInfo(target).fileName());
  UpdateEnabled();
  ShowSelectionPage();
}

void TFPrjListWindow::DoImport() {
  const auto lock = LockProject();
  if (!lock) return;
  const QString source = exchange_->TargetFile();
  const bool utf8 = exchange_->Utf8Box()->isChecked();
  const int count = RunWithProgress(tr("Import"), [&] { return vle::ImportProject(*catalogue_, PathOf(source), utf8); });
  RefreshRows();
  if (count >= 0 || QFileInfo(source).suffix().toLower() != QLatin1String("csv")) ShowSelectionPage();
}

void TFPrjListWindow::DoAddComponent() {
  const auto lock = LockProject();
  if (!lock) return;
  RunWithProgress(tr("Adding TVorlect"), [&] { return vle::AddVorlectToAllForms(*catalogue_); });
  RefreshRows();
}

void TFPrjListWindow::DoEmpty() {
  const auto lock = LockProject();
  if (!lock) return;
  const bool cleared = RunWithProgress(tr("Emptying the tables"), [&] { return int(vle::EmptyAllTables(*catalogue_)); });
  RefreshRows();
  if (cleared) close();
}

void TFPrjListWindow::DoExportRc() {
  // Every form, whatever the filter hid, into resource scripts whose name the user types.
  filterBox_->clear();
  incompleteBox_->setChecked(false);
  std::vector<int> all(static_cast<size_t>(catalogue_->Count()));
  for (int i = 0; i < catalogue_->Count(); ++i) all[static_cast<size_t>(i)] = i;
  SelectRows(all);
  ShowExchangePage();
  exchange_->ChooseFilter(1);
  exchange_->NameEdit()->setText(QStringLiteral("*.rc"));
  exchange_->NameEdit()->setFocus();
}

void TFPrjListWindow::DoWarnings() {
  vle::ResetNotices();
  ports::MessageDlg("All those informational messages\rwill appear again.", ports::mtInformation, {ports::mbOK});
}

void TFPrjListWindow::DoHelp() {
  if (!OpenHelp(kHelpKeyword))
    ports::MessageDlg("The help page could not be opened:\rno help page (help/VLCore.html) is installed beside the program.",
                      ports::mtError, {ports::mbOK});
}

void TFPrjListWindow::EditRow(int row) {
  if (row < 0 || row >= catalogue_->Count()) return;
  vle::TEntry& entry = catalogue_->Entry(row);
  if (entry.InstanceCount <= 0) {
    ports::MessageDlg("The form " + entry.FormFile + "\rholds no TVorlect yet: add one with Action | Add TVorlect.",
                      ports::mtInformation, {ports::mbOK});
    return;
  }
  const auto lock = LockProject();
  if (!lock) return;
  // The editor reads the expert-wide settings again: what was changed here goes first.
  try {
    vle::SaveExpertSettings();
  } catch (const std::exception&) {
  }
  toolservices::HostServices* host = toolservices::GetHostServices();
  const std::string unit = vle::ResolveSiblingFile(entry.FormFile, ".pas");
  if (host && (host->HostIsFileOpen(entry.FormFile) || host->HostIsFileOpen(unit))) host->HostSaveFile(entry.FormFile);
  const TEditFormResult result = EditFormFile(entry.FormFile, {}, [this](TEditVorlectWindow& w) {
    if (OnEditorWindow) OnEditorWindow(w);
  });
  if (result.exitStatus != 0) return;
  const std::string formName = entry.FormName;
  vle::ScanFormFile(entry.FormFile, entry);
  entry.FormName = formName;
  if (!catalogue_->KeepLines()) entry.ReleaseLines();
  model_->RowChanged(row);
  if (host && (host->HostIsFileOpen(entry.FormFile) || host->HostIsFileOpen(unit))) {
    host->HostReloadFile(entry.FormFile);
    host->HostReloadFile(unit);
  }
}

}  // namespace vorlect::ui
