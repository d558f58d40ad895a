#include "ui/ide/IdeServices.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>


namespace vorlect::ui {

namespace {

using toolservices::MenuItem;

QString Text(const std::string& s) { return QString::fromStdString(s); }

// One handle: on the bar itself (action null) or on one of its actions.
class TQtMenuItem : public MenuItem {
public:
  TQtMenuItem(QMenuBar* bar, QAction* action, std::shared_ptr<std::atomic<int>> live)
      : bar_(bar), action_(action), isRoot_(action == nullptr), live_(std::move(live)) {
    ++*live_;
  }
  ~TQtMenuItem() override { --*live_; }

  std::string Name() const override {
    if (isRoot_) return bar_ ? bar_->objectName().toStdString() : std::string();
    return action_ ? action_->objectName().toStdString() : std::string();
  }
  std::string Caption() const override { return action_ ? action_->text().toStdString() : std::string(); }
  int Index() const override {
    QWidget* holder = Holder();
    return holder && action_ ? static_cast<int>(holder->actions().indexOf(action_.data())) : -1;
  }
  int ItemCount() const override {
    QWidget* list = Children();
    return list ? static_cast<int>(list->actions().size()) : 0;
  }
  std::unique_ptr<MenuItem> Item(int index) override {
    QWidget* list = Children();
    if (!list || index < 0 || index >= list->actions().size()) return nullptr;
    return Handle(list->actions().at(index));
  }
  std::unique_ptr<MenuItem> FindItem(std::string_view name) override {
    if (QAction* found = Find(Children(), QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))))
      return Handle(found);
    return nullptr;
  }
  std::unique_ptr<MenuItem> Parent() override {
    QWidget* holder = Holder();
    if (!holder) return nullptr;
    if (auto* menu = qobject_cast<QMenu*>(holder)) return Handle(menu->menuAction());
    return std::make_unique<TQtMenuItem>(bar_, nullptr, live_);
  }
  std::unique_ptr<MenuItem> InsertItem(int index, const std::string& caption, const std::string& name,
                                       const std::string& hint, int shortCut, int, int, uint32_t flags,
                                       ClickHandler onClick) override {
    QWidget* list = ChildrenForInsert();
    if (!list) return nullptr;
    auto* action = new QAction(Text(caption), list);
    action->setObjectName(Text(name));
    action->setStatusTip(Text(hint));
    action->setShortcut(ShortCutToKeySequence(shortCut));
    action->setEnabled(flags & toolservices::mfEnabled);
    action->setVisible(flags & toolservices::mfVisible);
    action->setCheckable(flags & toolservices::mfChecked);
    action->setChecked(flags & toolservices::mfChecked);
    if (caption == "-") action->setSeparator(true);
    if (onClick) {
      QMenuBar* bar = bar_;
      auto live = live_;
      QObject::connect(action, &QAction::triggered, action, [bar, action, live, onClick] {
        TQtMenuItem self(bar, action, live);
        onClick(self);
      });
    }
    const auto actions = list->actions();
    QAction* before = index >= 0 && index < actions.size() ? actions.at(index) : nullptr;
    list->insertAction(before, action);
    return Handle(action);
  }
  bool DestroyMenuItem() override {
    if (isRoot_ || !action_) return false;
    delete action_.data();
    return true;
  }
  uint32_t Flags() const override {
    if (!action_) return 0;
    uint32_t f = 0;
    if (action_->isEnabled()) f |= toolservices::mfEnabled;
    if (action_->isVisible()) f |= toolservices::mfVisible;
    if (action_->isChecked()) f |= toolservices::mfChecked;
    return f;
  }
  void SetFlags(uint32_t mask, uint32_t flags) override {
    if (!action_) return;
    if (mask & toolservices::mfEnabled) action_->setEnabled(flags & toolservices::mfEnabled);
    if (mask & toolservices::mfVisible) action_->setVisible(flags & toolservices::mfVisible);
    if (mask & toolservices::mfChecked) {
      action_->setCheckable(true);
      action_->setChecked(flags & toolservices::mfChecked);
    }
  }
  bool Click() override {
    if (!action_ || !action_->isEnabled()) return false;
    action_->trigger();
    return true;
  }

private:
  std::unique_ptr<MenuItem> Handle(QAction* action) { return std::make_unique<TQtMenuItem>(bar_, action, live_); }

  // The widget whose actions are this item's children.
  QWidget* Children() const {
    if (isRoot_) return bar_.data();
    return action_ ? action_->menu() : nullptr;
  }
  // The same, giving an item without a menu one.
  QWidget* ChildrenForInsert() {
    if (QWidget* list = Children()) return list;
    if (!action_) return nullptr;
    auto* menu = new QMenu(qobject_cast<QWidget*>(action_->parent()));
    menu->setTitle(action_->text());
    action_->setMenu(menu);
    return menu;
  }
  // The menu or bar that shows this item.
  QWidget* Holder() const {
    if (isRoot_ || !action_) return nullptr;
    for (QObject* o : action_->associatedObjects()) {
      if (auto* menu = qobject_cast<QMenu*>(o); menu && menu->menuAction() != action_) return menu;
      if (auto* bar = qobject_cast<QMenuBar*>(o)) return bar;
    }
    return nullptr;
  }
  static QAction* Find(QWidget* list, const QString& name) {
    if (!list) return nullptr;
    for (QAction* a : list->actions()) {
      if (a->objectName().compare(name, Qt::CaseInsensitive) == 0) return a;
      if (QAction* inner = Find(a->menu(), name)) return inner;
    }
    return nullptr;
  }

  QPointer<QMenuBar> bar_;
  QPointer<QAction> action_;
  bool isRoot_;
  std::shared_ptr<std::atomic<int>> live_;
};

}  // namespace

QKeySequence ShortCutToKeySequence(int shortCut) {
  const int vk = shortCut & 0xFF;
  if (vk == 0) return {};
  int key = 0;
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) key = vk;
  else if (vk >= 0x70 && vk <= 0x87) key = Qt::Key_F1 + (vk - 0x70);
  else if (vk == 0x2E) key = Qt::Key_Delete;
  else if (vk == 0x2D) key = Qt::Key_Insert;
  else if (vk == 0x0D) key = Qt::Key_Return;
  else if (vk == 0x1B) key = Qt::Key_Escape;
  else return {};
  int modifiers = 0;
  if (shortCut & 0x2000) modifiers |= Qt::SHIFT;
  if (shortCut & 0x4000) modifiers |= Qt::CTRL;
  if (shortCut & 0x8000) modifiers |= Qt::ALT;
  return QKeySequence(key | modifiers);
}

TQtMainMenu::TQtMainMenu(QMenuBar* bar) : bar_(bar), liveHandles_(std::make_shared<std::atomic<int>>(0)) {}

std::unique_ptr<toolservices::MenuItem> TQtMainMenu::Root() {
  if (!bar_) return nullptr;
  return std::make_unique<TQtMenuItem>(bar_, nullptr, liveHandles_);
}

TIdeServices::TIdeServices(QWidget* mainWindow, QMenuBar* menuBar, TIdeDocuments documents)
    : mainWindow_(mainWindow), menu_(menuBar), documents_(std::move(documents)) {}

TIdeServices::~TIdeServices() = default;

void TIdeServices::OpenProject(const std::string& projectFile) {
  project_ = std::make_unique<toolservices::HeadlessHost>(projectFile);
}

void TIdeServices::CloseProject() { project_.reset(); }

std::string TIdeServices::HostProjectFile() { return project_ ? project_->HostProjectFile() : std::string(); }
int TIdeServices::HostFormCount() { return project_ ? project_->HostFormCount() : 0; }
std::string TIdeServices::HostFormFile(int index) { return project_ ? project_->HostFormFile(index) : std::string(); }
std::string TIdeServices::HostFormName(int index) { return project_ ? project_->HostFormName(index) : std::string(); }
std::string TIdeServices::HostCurrentFile() { return documents_.currentFile ? documents_.currentFile() : std::string(); }
bool TIdeServices::HostIsFileOpen(const std::string& path) { return documents_.isOpen && documents_.isOpen(path); }
bool TIdeServices::HostSaveFile(const std::string& path) { return !documents_.save || documents_.save(path); }
bool TIdeServices::HostOpenFile(const std::string& unitPath) { return documents_.open && documents_.open(unitPath); }
bool TIdeServices::HostReloadFile(const std::string& path) { return !documents_.reload || documents_.reload(path); }
std::unique_ptr<toolservices::MenuItem> TIdeServices::HostMainMenu() { return menu_.Root(); }

}  // namespace vorlect::ui
