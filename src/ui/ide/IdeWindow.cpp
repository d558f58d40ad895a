#include "ui/ide/IdeWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>

#include <filesystem>

#include "host/formfile/FormMend.h"
#include "host/framework/Streaming.h"
#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "ui/ide/ComponentPalette.h"
#include "ui/ide/FormDesigner.h"
#include "ui/ide/IdeServices.h"
#include "ui/ide/ObjectInspector.h"

namespace vorlect::ui {

namespace fs = std::filesystem;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A unit and its form file name the same form.
std::string FormKey(const std::string& path) {
  fs::path p = fs::absolute(path).lexically_normal();
  p.replace_extension();
  return p.string();
}

// A form file read for designing, with the bytes it was read from.
std::unique_ptr<host::TComponent> ReadDesignedForm(const std::string& path, std::string& original,
                                                   formfile::FileFormat& format) {
  std::string bytes = formfile::ReadFormFile(path);
  host::ReadOptions options;
  options.designing = true;
  options.fileName = path;
  auto root = host::LoadForm(bytes, options, &format);
  original = std::move(bytes);
  return root;
}

}  // namespace

void RegisterStockComponents() {
  auto page = [](const char* name, std::initializer_list<const char*> classes) {
    std::vector<const host::ClassInfo*> found;
    for (const char* cls : classes)
      if (const host::ClassInfo* info = host::GetClass(cls)) found.push_back(info);
    host::RegisterComponents(name, found);
  };
  page("Standard", {"TMainMenu", "TPopupMenu", "TLabel", "TEdit", "TMemo", "TButton", "TCheckBox", "TRadioButton",
                    "TListBox", "TComboBox", "TGroupBox", "TRadioGroup", "TPanel"});
  page("Additional", {"TBitBtn", "TSpeedButton", "TImage", "TBevel", "TScrollBox", "TStringGrid"});
  page("Win32", {"TPageControl", "TTabSheet", "TListView", "TTreeView", "TStatusBar", "TToolBar"});
}

TIdeWindow::TIdeWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("IdeWindow");
  setWindowTitle(kIdeCaption);
  resize(1100, 750);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("FormTabs");
  tabs_->setDocumentMode(true);
  setCentralWidget(tabs_);
  BuildMenus();
  BuildDocks();
  services_ = std::make_unique<TIdeServices>(
      this, menuBar(),
      TIdeDocuments{[this] { return CurrentFormFile(); }, [this](const std::string& p) { return IsFormOpen(p); },
                    [this](const std::string& p) {
                      TOpenForm* f = Find(p);
                      return !f || !f->designer->IsModified() || SaveForm(p);
                    },
                    [this](const std::string& p) { return OpenForm(p); },
                    [this](const std::string& p) { return !IsFormOpen(p) || ReloadForm(p); }});
  toolservices::SetHostServices(services_.get());
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
    TFormDesigner* d = CurrentDesigner();
    inspector_->Inspect(d ? d->Selected() : nullptr, d);
  });
  statusBar()->showMessage("Ready");
}

TIdeWindow::~TIdeWindow() {
  // Experts first: their menu items live in this window's menu bar.
  loader_.ReleaseExperts();
  inspector_->Inspect(nullptr);
  tabs_->clear();
  for (auto& f : forms_) delete f->designer;
  forms_.clear();
  if (toolservices::GetHostServices() == services_.get()) toolservices::SetHostServices(nullptr);
}

void TIdeWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu");
  auto menu = [bar](const char* name, const char* caption) {
    QMenu* m = bar->addMenu(caption);
    m->menuAction()->setObjectName(name);
    return m;
  };
  auto item = [this](QMenu* m, const char* name, const char* caption, auto slot, QKeySequence key = {}) {
    QAction* a = m->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  QMenu* file = menu("FileMenu", "&File");
  item(file, "FileOpenItem", "&Open Project...", [this] {
    const QString chosen = QFileDialog::getOpenFileName(this, "Open Project", {}, "Projects (*.dpr)");
    if (!chosen.isEmpty()) OpenProject(chosen.toStdString());
  });
  item(file, "FileSaveItem", "&Save", [this] { SaveForm(); }, QKeySequence::Save);
  item(file, "FileSaveAllItem", "Save A&ll", [this] {
    for (auto& f : forms_)
      if (f->designer->IsModified()) SaveForm(f->formPath);
  });
  file->addSeparator();
  item(file, "FileExitItem", "E&xit", [this] { close(); });
  menu("EditMenu", "&Edit");
  menu("ComponentMenu", "&Component");
  QMenu* tools = menu("ToolsMenu", "&Tools");
  item(tools, "ToolsGalleryItem", "&Repository...", [this] { ShowRepository(); });
  QMenu* help = menu("HelpMenu", "&Help");
  item(help, "HelpAboutItem", "&About...", [this] {
    ports::MessageDlg("Vorlect IDE: design and localise the forms of a project.", ports::mtInformation, {ports::mbOK});
  });
}

void TIdeWindow::BuildDocks() {
  palette_ = new TComponentPalette(this);
  auto* paletteDock = new QDockWidget("Components", this);
  paletteDock->setObjectName("PaletteDock");
  paletteDock->setWidget(palette_);
  paletteDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  addDockWidget(Qt::TopDockWidgetArea, paletteDock);
  connect(palette_, &TComponentPalette::ComponentChosen, this, [this](const host::ClassInfo* cls) {
    if (TFormDesigner* d = CurrentDesigner()) {
      d->SetPendingClass(cls);
      statusBar()->showMessage(Q("Click on the form to drop a " + cls->Name()));
    }
  });

  inspector_ = new TObjectInspector(nullptr, this);
  auto* inspectorDock = new QDockWidget("Object Inspector", this);
  inspectorDock->setObjectName("InspectorDock");
  inspectorDock->setWidget(inspector_);
  inspectorDock->setMinimumWidth(300);
  addDockWidget(Qt::LeftDockWidgetArea, inspectorDock);
  connect(inspector_, &TObjectInspector::PropertyChanged, this, [this](const QString&) { UpdateTitles(); });

  formList_ = new QListWidget(this);
  formList_->setObjectName("ProjectForms");
  auto* formsDock = new QDockWidget("Project", this);
  formsDock->setObjectName("ProjectDock");
  formsDock->setWidget(formList_);
  addDockWidget(Qt::LeftDockWidgetArea, formsDock);
  connect(formList_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { OpenForm(item->data(Qt::UserRole).toString().toStdString()); });
}

bool TIdeWindow::OpenProject(const std::string& projectFile) {
  try {
    services_->OpenProject(fs::absolute(projectFile).lexically_normal().string());
  } catch (const std::exception& e) {
    ports::MessageDlg(std::string("The project could not be opened:\r") + e.what(), ports::mtError, {ports::mbOK});
    return false;
  }
  formList_->clear();
  for (int i = 0; i < services_->HostFormCount(); ++i) {
    const std::string unit = services_->HostFormFile(i);
    auto* item = new QListWidgetItem(Q(services_->HostFormName(i) + "  (" + fs::path(unit).filename().string() + ")"));
    item->setData(Qt::UserRole, Q(unit));
    formList_->addItem(item);
  }
  setWindowTitle(Q(std::string(kIdeCaption) + " - " + services_->HostProjectFile()));
  return true;
}

bool TIdeWindow::LoadModules(const std::string& folder) {
  bool ok = true;
  auto attempt = [&](auto load) {
    try {
      load();
    } catch (const toolservices::ModuleLoadError& e) {
      ports::MessageDlg(e.what(), ports::mtError, {ports::mbOK});
      ok = false;
    }
  };
  attempt([&] { loader_.LoadSharedMem(toolservices::TModuleLoader::PathIn(folder, toolservices::kSharedMemFile)); });
  attempt([&] { loader_.LoadPackage(toolservices::TModuleLoader::PathIn(folder, toolservices::kPackageFile)); });
  attempt([&] {
    loader_.LoadExpert(toolservices::TModuleLoader::PathIn(folder, toolservices::kExpertFile), *services_);
  });
  RegisterStockComponents();
  palette_->Rebuild();
  return ok;
}

TIdeWindow::TOpenForm* TIdeWindow::Find(const std::string& path) const {
  if (path.empty()) return nullptr;
  const std::string key = FormKey(path);
  for (const auto& f : forms_)
    if (FormKey(f->formPath) == key) return f.get();
  return nullptr;
}

int TIdeWindow::IndexOf(const TOpenForm* form) const {
  if (!form) return -1;
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* scroll = qobject_cast<QScrollArea*>(tabs_->widget(i));
    if (scroll && scroll->widget() == form->designer) return i;
  }
  return -1;
}

bool TIdeWindow::IsFormOpen(const std::string& path) const { return Find(path) != nullptr; }

TFormDesigner* TIdeWindow::DesignerOf(const std::string& path) const {
  TOpenForm* f = Find(path);
  return f ? f->designer : nullptr;
}

TFormDesigner* TIdeWindow::CurrentDesigner() const {
  auto* scroll = qobject_cast<QScrollArea*>(tabs_->currentWidget());
  return scroll ? qobject_cast<TFormDesigner*>(scroll->widget()) : nullptr;
}

std::string TIdeWindow::CurrentFormFile() const {
  TFormDesigner* d = CurrentDesigner();
  for (const auto& f : forms_)
    if (f->designer == d) return f->unitPath;
  return {};
}

void TIdeWindow::ShowDesigner(TOpenForm& form, int tabIndex) {
  auto* control = dynamic_cast<host::TControl*>(form.root.get());
  form.designer = new TFormDesigner(*control);
  auto* scroll = new QScrollArea;
  scroll->setWidget(form.designer);
  scroll->setBackgroundRole(QPalette::Dark);
  const QString title = Q(fs::path(form.formPath).filename().string());
  if (tabIndex < 0) tabIndex = tabs_->addTab(scroll, title);
  else tabs_->insertTab(tabIndex, scroll, title);
  TFormDesigner* d = form.designer;
  connect(d, &TFormDesigner::SelectionChanged, this, [this, d](host::TComponent* c) {
    if (CurrentDesigner() == d) inspector_->Inspect(c, d);
  });
  connect(d, &TFormDesigner::FormBroughtToFront, this, [this, scroll] { tabs_->setCurrentWidget(scroll); });
  connect(d, &TFormDesigner::FormModified, this, [this] {
    statusBar()->clearMessage();
    UpdateTitles();
    inspector_->RefreshValues();
  });
  tabs_->setCurrentIndex(tabIndex);
  inspector_->Inspect(d->Selected(), d);
}

bool TIdeWindow::OpenForm(const std::string& path) {
  if (TOpenForm* open = Find(path)) {
    tabs_->setCurrentIndex(IndexOf(open));
    return true;
  }
  auto form = std::make_unique<TOpenForm>();
  fs::path p = fs::absolute(path).lexically_normal();
  form->unitPath = fs::path(p).replace_extension(".pas").string();
  form->formPath = fs::path(p).replace_extension(".dfm").string();
  try {
    form->root = ReadDesignedForm(form->formPath, form->original, form->format);
  } catch (const std::exception& e) {
    ports::MessageDlg("The form " + form->formPath + " could not be opened:\r" + e.what(), ports::mtError, {ports::mbOK});
    return false;
  }
  if (!dynamic_cast<host::TControl*>(form->root.get())) {
    ports::MessageDlg("The form " + form->formPath + " holds no form to design.", ports::mtError, {ports::mbOK});
    return false;
  }
  TOpenForm& ref = *form;
  forms_.push_back(std::move(form));
  ShowDesigner(ref);
  return true;
}

bool TIdeWindow::SaveForm(const std::string& path) {
  TOpenForm* form = path.empty() ? nullptr : Find(path);
  if (path.empty())
    for (auto& f : forms_)
      if (f->designer == CurrentDesigner()) form = f.get();
  if (!form) return false;
  try {
    // In the format it was read in, the file mended around the edits: every object and property
    // the designer left alone keeps its bytes (binary) or its lines (text).
    formfile::TextOptions text;
    text.codePage = platform::AnsiCodePage();
    std::string bytes = formfile::MendForm(form->original, host::WriteComponentTree(*form->root), form->formPath, text);
    platform::WriteFileAtomic(form->formPath, bytes);
    form->original = std::move(bytes);
  } catch (const std::exception& e) {
    ports::MessageDlg("The form " + form->formPath + " could not be saved:\r" + e.what(), ports::mtError, {ports::mbOK});
    return false;
  }
  form->designer->SetModified(false);
  UpdateTitles();
  statusBar()->showMessage(Q("Saved " + form->formPath));
  return true;
}

bool TIdeWindow::ReloadForm(const std::string& path) {
  TOpenForm* form = Find(path);
  if (!form) return false;
  std::unique_ptr<host::TComponent> root;
  formfile::FileFormat format = form->format;
  std::string original;
  try {
    root = ReadDesignedForm(form->formPath, original, format);
  } catch (const std::exception& e) {
    ports::MessageDlg("The form " + form->formPath + " could not be read again:\r" + e.what(), ports::mtError,
                      {ports::mbOK});
    return false;
  }
  const int index = IndexOf(form);
  const bool current = tabs_->currentIndex() == index;
  inspector_->Inspect(nullptr);
  QWidget* page = tabs_->widget(index);
  tabs_->removeTab(index);
  delete page;  // the designer with it
  form->root = std::move(root);
  form->format = format;
  form->original = std::move(original);
  ShowDesigner(*form, index);
  if (!current) tabs_->setCurrentIndex(tabs_->currentIndex());
  return true;
}

void TIdeWindow::UpdateTitles() {
  for (const auto& f : forms_) {
    const int i = IndexOf(f.get());
    if (i < 0) continue;
    tabs_->setTabText(i, Q(fs::path(f->formPath).filename().string()) + (f->designer->IsModified() ? " *" : ""));
  }
}

void TIdeWindow::ShowRepository() {
  std::string text = "Installed experts:";
  for (toolservices::TIExpert* e : loader_.Experts())
    text += "\r" + e->GetName() + " (" + e->GetIDString() + ") by " + e->GetAuthor();
  if (loader_.Experts().empty()) text += "\rnone";
  text += "\rPalette pages:";
  for (const auto& page : host::DesignRegistry().Pages()) text += "\r" + page.name;
  ports::MessageDlg(text, ports::mtInformation, {ports::mbOK});
}

void TIdeWindow::closeEvent(QCloseEvent* event) {
  for (auto& f : forms_) {
    if (!f->designer->IsModified()) continue;
    const int answer = ports::MessageDlg("Save changes to " + f->formPath + "?", ports::mtConfirmation,
                                         {ports::mbYes, ports::mbNo, ports::mbCancel});
    if (answer == ports::mrCancel) {
      event->ignore();
      return;
    }
    if (answer == ports::mrYes && !SaveForm(f->formPath)) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

}  // namespace vorlect::ui
