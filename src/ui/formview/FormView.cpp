#include "ui/formview/FormView.h"

#include "host/framework/controls/ComCtrls.h"
#include "host/framework/controls/ExtCtrls.h"
#include "host/framework/controls/Menus.h"
#include "host/framework/controls/StdCtrls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vorlect::ui::formview {

using namespace vorlect::host;

namespace {

// Widgets of the view's own making that hold the parts of a compound control.
constexpr const char* kTabBar = "vorlectTabBar";
constexpr const char* kItemButton = "vorlectItemButton";
constexpr const char* kPanelLabel = "vorlectPanel";

QTabBar* TabBarOf(QWidget* w) { return w->findChild<QTabBar*>(kTabBar, Qt::FindDirectChildrenOnly); }

Qt::Alignment AlignmentOf(TAlignment a) {
  switch (a) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
  }
}

void AddTreeNodes(const TControl& view, TTreeNode* node, QTreeWidgetItem* parent, QTreeWidget* tree) {
  for (; node; node = nullptr) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, Shown(view, node->Text()));
    for (int i = 0; i < node->Count(); ++i) AddTreeNodes(view, node->Item(i), item, tree);
  }
}

void FillTree(const TCustomTreeView& view, QTreeWidget* tree) {
  tree->clear();
  const TTreeNodes& nodes = *view.Items();
  for (int i = 0; i < nodes.TopLevelCount(); ++i) AddTreeNodes(view, nodes.TopItem(i), nullptr, tree);
  tree->expandAll();
}

void FillListView(const TCustomListView& view, QTreeWidget* list) {
  list->clear();
  const int columns = view.Columns()->Count();
  list->setColumnCount(std::max(1, columns));
  QStringList titles;
  for (int c = 0; c < columns; ++c) {
    const TListColumn& column = *view.Columns()->Items(c);
    titles << Shown(view, column.Caption);
    list->setColumnWidth(c, column.Width);
    list->headerItem()->setTextAlignment(c, AlignmentOf(column.Alignment) | Qt::AlignVCenter);
  }
  if (columns > 0) list->setHeaderLabels(titles);
  list->setHeaderHidden(view.ViewStyle != vsReport || !view.ShowColumnHeaders || columns == 0);
  for (int i = 0; i < view.Items()->Count(); ++i) {
    const TListItem& item = *view.Items()->Item(i);
    auto* row = new QTreeWidgetItem(list);
    row->setText(0, Shown(view, item.Caption()));
    // Sub-items show only in the report style, one per further column.
    if (view.ViewStyle != vsReport) continue;
    for (int s = 0; s < item.SubItems()->Count() && s + 1 < list->columnCount(); ++s)
      row->setText(s + 1, Shown(view, item.SubItems()->Strings(s)));
  }
}

void FillRadioGroup(const TCustomRadioGroup& group, QGroupBox* box) {
  const QStringList items = ItemTexts(group);
  QList<QRadioButton*> buttons = box->findChildren<QRadioButton*>(kItemButton, Qt::FindDirectChildrenOnly);
  auto* grid = static_cast<QGridLayout*>(box->layout());
  if (buttons.size() != items.size()) {
    qDeleteAll(buttons);
    buttons.clear();
    // The original fills column after column.
    const int columns = std::max(1, group.Columns());
    const int rows = std::max<int>(1, (static_cast<int>(items.size()) + columns - 1) / columns);
    for (int i = 0; i < items.size(); ++i) {
      auto* button = new QRadioButton(box);
      button->setObjectName(kItemButton);
      grid->addWidget(button, i % rows, i / rows);
      buttons << button;
    }
  }
  for (int i = 0; i < items.size(); ++i) {
    buttons[i]->setText(items[i]);
    buttons[i]->setChecked(i == group.ItemIndex());
  }
}

void FillStatusBar(const TStatusBar& bar, QWidget* widget) {
  QList<QLabel*> labels = widget->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
  const int count = bar.SimplePanel ? 1 : bar.Panels()->Count();
  auto* layout = static_cast<QHBoxLayout*>(widget->layout());
  if (labels.size() != count) {
    qDeleteAll(labels);
    labels.clear();
    for (int i = 0; i < count; ++i) {
      auto* label = new QLabel(widget);
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      label->setTextFormat(Qt::PlainText);
      layout->addWidget(label, i + 1 == count ? 1 : 0);
      labels << label;
    }
  }
  const QStringList texts = ItemTexts(bar);
  for (int i = 0; i < count; ++i) {
    labels[i]->setText(texts.value(i));
    // The last panel takes what is left, as the original draws it.
    if (!bar.SimplePanel && i + 1 < count) labels[i]->setFixedWidth(bar.Panels()->Items(i)->Width);
  }
}

void FillTabBar(QTabBar* bar, const QStringList& texts, int current) {
  const QSignalBlocker block(bar);
  while (bar->count() > texts.size()) bar->removeTab(bar->count() - 1);
  while (bar->count() < texts.size()) bar->addTab(QString());
  for (int i = 0; i < texts.size(); ++i) bar->setTabText(i, texts[i]);
  if (current >= 0 && current < bar->count()) bar->setCurrentIndex(current);
}

// The page a page control or notebook shows.
int ActivePageIndex(const TControl& control) {
  if (auto* pages = dynamic_cast<const TPageControl*>(&control))
    return pages->ActivePage() ? pages->ActivePage()->PageIndex() : 0;
  if (auto* book = dynamic_cast<const TNotebookBase*>(&control)) return book->PageIndex();
  return 0;
}

}  // namespace

FormView::FormView(TControl& form, QWidget* parent) : QWidget(parent), form_(&form) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  BuildMenu();
  client_ = new QWidget(this);
  client_->setObjectName("vorlectClientArea");
  layout->addWidget(client_);
  objects_[form_] = client_;
  components_[client_] = form_;
  kinds_[form_] = Kind::Container;
  if (auto* container = dynamic_cast<TWinControl*>(form_)) BuildControls(*container, client_, Kind::Container);
  Refresh();
  form_->SetChangeObserver(this);
}

FormView::~FormView() {
  if (form_) form_->SetChangeObserver(nullptr);
}

QWidget* FormView::WidgetOf(const TComponent* component) const {
  auto it = objects_.find(component);
  return it == objects_.end() ? nullptr : qobject_cast<QWidget*>(it->second);
}

QAction* FormView::ActionOf(const TComponent* menuItem) const {
  auto it = objects_.find(menuItem);
  return it == objects_.end() ? nullptr : qobject_cast<QAction*>(it->second);
}

TComponent* FormView::ComponentOf(const QObject* object) const {
  auto it = components_.find(object);
  return it == components_.end() ? nullptr : it->second;
}

// ---- building --------------------------------------------------------------------------------

void FormView::BuildControls(TWinControl& parent, QWidget* container, Kind parentKind) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl& control = *parent.Controls(i);
    const Kind kind = KindOf(control);
    QWidget* widget = CreateWidget(control, kind, container, parentKind);
    objects_[&control] = widget;
    components_[widget] = &control;
    kinds_[&control] = kind;
    if (auto* inner = dynamic_cast<TWinControl*>(&control)) BuildControls(*inner, widget, kind);
  }
}

QWidget* FormView::CreateWidget(TControl& control, Kind kind, QWidget* container, Kind parentKind) {
  QWidget* w = nullptr;
  switch (kind) {
    case Kind::Label: {
      auto* label = new QLabel(container);
      label->setTextFormat(Qt::PlainText);
      w = label;
      break;
    }
    case Kind::Button: w = new QPushButton(container); break;
    case Kind::ToolButton: {
      auto* button = new QToolButton(container);
      button->setAutoRaise(true);
      button->setToolButtonStyle(Qt::ToolButtonTextOnly);
      w = button;
      break;
    }
    case Kind::Edit: w = new QLineEdit(container); break;
    case Kind::Memo: w = new QPlainTextEdit(container); break;
    case Kind::CheckBox: w = new QCheckBox(container); break;
    case Kind::RadioButton: {
      auto* button = new QRadioButton(container);
      button->setAutoExclusive(false);  // the tree says which are checked
      w = button;
      break;
    }
    case Kind::GroupBox: w = new QGroupBox(container); break;
    case Kind::RadioGroup: {
      auto* box = new QGroupBox(container);
      new QGridLayout(box);
      w = box;
      break;
    }
    case Kind::Panel: {
      auto* panel = new QLabel(container);
      panel->setObjectName(kPanelLabel);
      panel->setTextFormat(Qt::PlainText);
      panel->setAlignment(Qt::AlignCenter);
      w = panel;
      break;
    }
    case Kind::ListBox: w = new QListWidget(container); break;
    case Kind::ComboBox: w = new QComboBox(container); break;
    case Kind::ListView: {
      auto* list = new QTreeWidget(container);
      list->setRootIsDecorated(false);
      w = list;
      break;
    }
    case Kind::TreeView: {
      auto* tree = new QTreeWidget(container);
      tree->setHeaderHidden(true);
      w = tree;
      break;
    }
    case Kind::TabControl: {
      auto* frame = new QFrame(container);
      frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
      auto* bar = new QTabBar(frame);
      bar->setObjectName(kTabBar);
      bar->setDrawBase(false);
      w = frame;
      break;
    }
    case Kind::PageControl: w = new QTabWidget(container); break;
    case Kind::Notebook: w = new QStackedWidget(container); break;
    case Kind::StatusBar: {
      auto* bar = new QFrame(container);
      auto* layout = new QHBoxLayout(bar);
      layout->setContentsMargins(0, 2, 0, 0);
      layout->setSpacing(2);
      w = bar;
      break;
    }
    case Kind::ToolBar: {
      auto* bar = new QFrame(container);
      bar->setFrameStyle(QFrame::NoFrame);
      w = bar;
      break;
    }
    case Kind::Bevel: {
      auto* bevel = new QFrame(container);
      bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
      w = bevel;
      break;
    }
    case Kind::ScrollBar: {
      auto* scroll = dynamic_cast<TScrollBar*>(&control);
      w = new QScrollBar(scroll && scroll->Kind == sbVertical ? Qt::Vertical : Qt::Horizontal, container);
      break;
    }
    case Kind::ProgressBar: w = new QProgressBar(container); break;
    case Kind::TrackBar: w = new QSlider(Qt::Horizontal, container); break;
    case Kind::Placeholder: {
      auto* frame = new QLabel(container);
      frame->setTextFormat(Qt::PlainText);
      frame->setFrameStyle(QFrame::Box | QFrame::Plain);
      frame->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      frame->setMargin(2);
      frame->setText(QString::fromLatin1(control.ClassName().c_str()));
      w = frame;
      break;
    }
    case Kind::Page:
    case Kind::Container:
    case Kind::Blank:
    case Kind::None: w = new QWidget(container); break;
  }
  if (kind == Kind::Page && parentKind == Kind::PageControl)
    static_cast<QTabWidget*>(container)->addTab(w, QString());
  else if (kind == Kind::Page && parentKind == Kind::Notebook)
    static_cast<QStackedWidget*>(container)->addWidget(w);
  return w;
}

void FormView::BuildMenu() {
  auto* form = dynamic_cast<TCustomForm*>(form_);
  auto* menu = form ? dynamic_cast<TMainMenu*>(form->Menu()) : nullptr;
  if (!menu || !menu->Items() || menu->Items()->Count() == 0) return;
  menuBar_ = new QMenuBar(this);
  menuBar_->setNativeMenuBar(false);  // the menu belongs to the form, as on the original
  static_cast<QVBoxLayout*>(layout())->setMenuBar(menuBar_);
  objects_[menu] = menuBar_;
  components_[menuBar_] = menu;
  AddMenuItems(*menu->Items(), menuBar_, nullptr);
}

void FormView::AddMenuItems(TComponent& parent, QMenuBar* bar, QMenu* menu) {
  auto& root = static_cast<TMenuItem&>(parent);
  for (int i = 0; i < root.Count(); ++i) {
    TMenuItem& item = *root.Items(i);
    QAction* action = nullptr;
    if (item.Count() > 0) {
      QMenu* sub = bar ? bar->addMenu(QString()) : menu->addMenu(QString());
      action = sub->menuAction();
      AddMenuItems(item, nullptr, sub);
    } else {
      action = bar ? bar->addAction(QString()) : menu->addAction(QString());
    }
    objects_[&item] = action;
    components_[action] = &item;
    kinds_[&item] = Kind::None;
  }
}

// ---- following the tree ----------------------------------------------------------------------

void FormView::Refresh() {
  if (!form_) return;
  SyncForm();
  for (auto& [component, object] : objects_) {
    auto* c = const_cast<TComponent*>(component);
    if (c == form_) continue;
    if (auto* control = dynamic_cast<TControl*>(c)) SyncControl(*control);
    else if (dynamic_cast<TMenuItem*>(c)) SyncMenuItem(*c);
  }
}

void FormView::RefreshComponent(TComponent& component) {
  // The form's font decides how the texts of every control that leaves its character set to the
  // form are read, and those of the menu: a change of the form is read everywhere.
  if (&component == form_) return Refresh();
  if (!objects_.contains(&component)) return;
  if (auto* control = dynamic_cast<TControl*>(&component)) return SyncControl(*control);
  if (dynamic_cast<TMenuItem*>(&component)) SyncMenuItem(component);
}

void FormView::RefreshGeometry(TComponent& component) {
  if (&component == form_) {
    client_->setFixedSize(ClientSizeOf(*form_, menuBar_ != nullptr));
    return;
  }
  auto* control = dynamic_cast<TControl*>(&component);
  QWidget* w = WidgetOf(&component);
  if (!control || !w) return;
  // Pages take the place their page control gives them.
  if (kinds_[&component] == Kind::Page && qobject_cast<QStackedWidget*>(w->parentWidget())) return;
  QRect bounds = BoundsOf(*control);
  // An auto-sized label takes the width of its text in the font it is drawn with, as the
  // original sizes it; a right-aligned one keeps its right edge.
  auto* label = dynamic_cast<TCustomLabel*>(control);
  if (label && label->AutoSize() && !label->WordWrap) {
    const int width = w->sizeHint().width();
    if (label->Alignment == taRightJustify) bounds.setLeft(bounds.right() + 1 - width);
    bounds.setWidth(width);
  }
  w->setGeometry(bounds);
  if (QTabBar* bar = TabBarOf(w)) bar->setGeometry(0, 0, w->width(), bar->sizeHint().height());
}

void FormView::ComponentChanged(TComponent& component) {
  if (batch_ > 0) {
    if (pendingSet_.insert(&component).second) pending_.push_back(&component);
    return;
  }
  RefreshComponent(component);
}

void FormView::EndBatch() {
  if (--batch_ > 0) return;
  std::vector<TComponent*> pending;
  pending.swap(pending_);
  const bool wholeForm = pendingSet_.contains(form_);
  pendingSet_.clear();
  if (wholeForm) return Refresh();
  for (TComponent* component : pending)
    if (form_) RefreshComponent(*component);
}

void FormView::ComponentBroughtToFront(TComponent& component) {
  if (&component == form_) {
    window()->raise();
    window()->activateWindow();
    emit FormBroughtToFront();
  } else if (QWidget* widget = WidgetOf(&component)) {
    widget->raise();
  }
}

void FormView::ComponentDestroying(TComponent& component) {
  if (&component == form_) return Clear();
  // A component gone in the middle of a batch is not refreshed at its end.
  if (pendingSet_.erase(&component)) std::erase(pending_, &component);
  Forget(&component);
}

void FormView::ForgetMenu(QWidget* menu) {
  for (QAction* action : menu->actions()) {
    if (TComponent* item = ComponentOf(action)) {
      objects_.erase(item);
      kinds_.erase(item);
      components_.erase(action);
    }
    if (QMenu* sub = action->menu()) ForgetMenu(sub);
  }
}

void FormView::Forget(const TComponent* component) {
  auto it = objects_.find(component);
  if (it == objects_.end()) return;
  QObject* object = it->second;
  objects_.erase(it);
  components_.erase(object);
  kinds_.erase(component);
  // A menu goes with its items; an item with a submenu is the submenu's own action.
  if (object == menuBar_) {
    ForgetMenu(menuBar_);
    menuBar_ = nullptr;
  } else if (auto* action = qobject_cast<QAction*>(object); action && action->menu()) {
    QMenu* menu = action->menu();
    ForgetMenu(menu);
    delete menu;
    return;
  }
  // The widgets inside go with it: forget the components they show too.
  if (auto* widget = qobject_cast<QWidget*>(object)) {
    for (auto i = objects_.begin(); i != objects_.end();) {
      auto* inner = qobject_cast<QWidget*>(i->second);
      if (inner && widget->isAncestorOf(inner)) {
        components_.erase(i->second);
        kinds_.erase(i->first);
        i = objects_.erase(i);
      } else {
        ++i;
      }
    }
  }
  delete object;
}

void FormView::Clear() {
  form_ = nullptr;
  pending_.clear();
  pendingSet_.clear();
  objects_.clear();
  components_.clear();
  kinds_.clear();
  // The widgets stay until the view goes, emptied of the form's texts.
  for (QWidget* child : client_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) delete child;
  if (menuBar_) menuBar_->clear();
}

void FormView::SyncForm() {
  setWindowTitle(Shown(*form_, form_->Caption()));
  client_->setFont(FontOf(*form_));
  client_->setFixedSize(ClientSizeOf(*form_, menuBar_ != nullptr));
}

void FormView::SyncMenuItem(TComponent& component) {
  auto& item = static_cast<TMenuItem&>(component);
  QAction* action = ActionOf(&item);
  if (!action) return;
  action->setSeparator(IsSeparatorCaption(item.Caption()));
  action->setText(Shown(*form_, item.Caption()));
  action->setStatusTip(Shown(*form_, item.Hint()));
  action->setEnabled(item.Enabled);
  action->setVisible(item.Visible);
  action->setCheckable(item.Checked);
  action->setChecked(item.Checked);
}

void FormView::SyncControl(TControl& control) {
  QWidget* w = WidgetOf(&control);
  if (!w) return;
  const Kind kind = kinds_[&control];
  w->setFont(FontOf(control));
  w->setEnabled(control.Enabled());
  w->setToolTip(Shown(control, control.Hint()));
  const bool managedPage = kind == Kind::Page && w->parentWidget() &&
                           (qobject_cast<QStackedWidget*>(w->parentWidget()));
  if (!managedPage) w->setVisible(control.Visible());
  SyncTexts(control, kind, w);
  // Last: an auto-sized control measures the text and font just set.
  RefreshGeometry(control);
}

void FormView::SyncTexts(TControl& control, Kind kind, QWidget* w) {
  const QString caption = Shown(control, control.Caption());
  switch (kind) {
    case Kind::Label:
      static_cast<QLabel*>(w)->setText(caption);
      if (auto* label = dynamic_cast<TCustomLabel*>(&control)) {
        static_cast<QLabel*>(w)->setAlignment(AlignmentOf(label->Alignment) | Qt::AlignTop);
        static_cast<QLabel*>(w)->setWordWrap(label->WordWrap);
        if (QWidget* buddy = WidgetOf(label->FocusControl())) static_cast<QLabel*>(w)->setBuddy(buddy);
      }
      break;
    case Kind::Button:
      static_cast<QPushButton*>(w)->setText(caption);
      if (auto* button = dynamic_cast<TCustomButton*>(&control)) static_cast<QPushButton*>(w)->setDefault(button->Default);
      break;
    case Kind::ToolButton: {
      // Tool-bar buttons show their caption only when the bar shows captions.
      auto* bar = dynamic_cast<TToolBar*>(control.Parent());
      auto* tool = dynamic_cast<TToolButton*>(&control);
      const bool separator = tool && (tool->Style == tbsSeparator || tool->Style == tbsDivider);
      static_cast<QToolButton*>(w)->setText(separator || (bar && !bar->ShowCaptions) ? QString() : caption);
      break;
    }
    case Kind::Edit: {
      auto* edit = static_cast<QLineEdit*>(w);
      auto* source = dynamic_cast<TCustomEdit*>(&control);
      edit->setText(Shown(control, control.Text()));
      if (source) {
        edit->setReadOnly(source->ReadOnly());
        edit->setEchoMode(source->PasswordChar ? QLineEdit::Password : QLineEdit::Normal);
        edit->setAlignment(AlignmentOf(source->Alignment));
      }
      break;
    }
    case Kind::Memo: {
      auto* memo = dynamic_cast<TCustomMemo*>(&control);
      QStringList lines;
      if (memo)
        for (int i = 0; i < memo->Lines()->Count(); ++i) lines << Shown(control, memo->Lines()->Strings(i));
      static_cast<QPlainTextEdit*>(w)->setPlainText(lines.join('\n'));
      break;
    }
    case Kind::CheckBox: {
      auto* box = static_cast<QCheckBox*>(w);
      box->setText(caption);
      if (auto* check = dynamic_cast<TCustomCheckBox*>(&control)) {
        box->setTristate(check->State() == cbGrayed);
        box->setCheckState(check->State() == cbChecked ? Qt::Checked
                           : check->State() == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
      }
      break;
    }
    case Kind::RadioButton:
      static_cast<QRadioButton*>(w)->setText(caption);
      if (auto* radio = dynamic_cast<TRadioButton*>(&control)) static_cast<QRadioButton*>(w)->setChecked(radio->Checked);
      break;
    case Kind::GroupBox: static_cast<QGroupBox*>(w)->setTitle(caption); break;
    case Kind::RadioGroup:
      static_cast<QGroupBox*>(w)->setTitle(caption);
      if (auto* group = dynamic_cast<TCustomRadioGroup*>(&control)) FillRadioGroup(*group, static_cast<QGroupBox*>(w));
      break;
    case Kind::Panel: {
      auto* panel = static_cast<QLabel*>(w);
      auto* source = dynamic_cast<TCustomPanel*>(&control);
      panel->setText(source && !source->ShowCaption ? QString() : caption);
      const TBevelCut outer = static_cast<TWinControl&>(control).BevelOuter();
      panel->setFrameStyle(outer == bvNone ? QFrame::NoFrame
                           : QFrame::Panel | (outer == bvLowered ? QFrame::Sunken : QFrame::Raised));
      if (source) panel->setAlignment(AlignmentOf(source->Alignment) | Qt::AlignVCenter);
      break;
    }
    case Kind::ListBox: {
      auto* list = static_cast<QListWidget*>(w);
      list->clear();
      list->addItems(ItemTexts(control));
      if (auto* box = dynamic_cast<TCustomListBox*>(&control)) list->setCurrentRow(box->ItemIndex());
      break;
    }
    case Kind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(w);
      const QSignalBlocker block(combo);
      auto* source = dynamic_cast<TCustomComboBox*>(&control);
      const bool editable = source && (source->Style == csDropDown || source->Style == csSimple);
      combo->setEditable(editable);
      combo->clear();
      combo->addItems(ItemTexts(control));
      combo->setCurrentIndex(source ? source->ItemIndex() : -1);
      if (editable && source->ItemIndex() < 0) combo->setEditText(Shown(control, control.Text()));
      break;
    }
    case Kind::ListView:
      if (auto* view = dynamic_cast<TCustomListView*>(&control)) FillListView(*view, static_cast<QTreeWidget*>(w));
      break;
    case Kind::TreeView:
      if (auto* view = dynamic_cast<TCustomTreeView*>(&control)) FillTree(*view, static_cast<QTreeWidget*>(w));
      break;
    case Kind::TabControl: {
      int current = -1;
      if (auto* tabs = dynamic_cast<TCustomTabControl*>(&control)) current = tabs->TabIndex();
      if (auto* tabSet = dynamic_cast<TTabSet*>(&control)) current = tabSet->TabIndex();
      FillTabBar(TabBarOf(w), ItemTexts(control), current);
      break;
    }
    case Kind::PageControl: {
      auto* tabs = static_cast<QTabWidget*>(w);
      const QSignalBlocker block(tabs);
      const int active = ActivePageIndex(control);
      if (active >= 0 && active < tabs->count()) tabs->setCurrentIndex(active);
      break;
    }
    case Kind::Notebook: {
      auto* stack = static_cast<QStackedWidget*>(w);
      const int active = ActivePageIndex(control);
      if (active >= 0 && active < stack->count()) stack->setCurrentIndex(active);
      break;
    }
    case Kind::Page:
      // A page's caption is its tab's text.
      if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr)) {
        const int index = tabs->indexOf(w);
        if (index >= 0) {
          tabs->setTabText(index, caption);
          if (auto* sheet = dynamic_cast<TTabSheet*>(&control)) tabs->setTabVisible(index, sheet->TabVisible);
        }
      }
      break;
    case Kind::StatusBar:
      if (auto* bar = dynamic_cast<TStatusBar*>(&control)) FillStatusBar(*bar, w);
      break;
    case Kind::ProgressBar:
      if (auto* bar = dynamic_cast<TProgressBar*>(&control)) {
        static_cast<QProgressBar*>(w)->setRange(bar->Min, bar->Max);
        static_cast<QProgressBar*>(w)->setValue(bar->Position);
      }
      break;
    case Kind::Placeholder:
      static_cast<QLabel*>(w)->setText(QString::fromLatin1(control.ClassName().c_str()));
      break;
    default: break;
  }
}

// ---- reading back ----------------------------------------------------------------------------

QStringList FormView::ShownTexts() const {
  QStringList out;
  auto add = [&out](const QString& text) {
    if (!text.isEmpty()) out << text;
  };
  add(windowTitle());
  if (menuBar_) {
    std::vector<QAction*> stack;
    const QList<QAction*> top = menuBar_->actions();
    for (auto it = top.rbegin(); it != top.rend(); ++it) stack.push_back(*it);
    while (!stack.empty()) {
      QAction* action = stack.back();
      stack.pop_back();
      // Menus an application adds to the form's bar are not the form's.
      if (!components_.contains(action)) continue;
      if (!action->isSeparator()) add(action->text());
      if (QMenu* menu = action->menu()) {
        const QList<QAction*> inner = menu->actions();
        for (auto it = inner.rbegin(); it != inner.rend(); ++it) stack.push_back(*it);
      }
    }
  }
  if (auto* container = dynamic_cast<const TWinControl*>(form_))
    for (int i = 0; i < container->ControlCount(); ++i) CollectTexts(*container->Controls(i), out);
  return out;
}

void FormView::CollectTexts(const TControl& control, QStringList& out) const {
  QWidget* w = WidgetOf(&control);
  if (!w) return;
  auto add = [&out](const QString& text) {
    if (!text.isEmpty()) out << text;
  };
  if (auto* label = qobject_cast<QLabel*>(w)) add(label->text());
  else if (auto* button = qobject_cast<QAbstractButton*>(w)) add(button->text());
  else if (auto* edit = qobject_cast<QLineEdit*>(w)) add(edit->text());
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
    for (const QString& line : memo->toPlainText().split('\n')) add(line);
  } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
    add(box->title());
    for (QRadioButton* b : box->findChildren<QRadioButton*>(kItemButton, Qt::FindDirectChildrenOnly)) add(b->text());
  } else if (auto* list = qobject_cast<QListWidget*>(w)) {
    for (int i = 0; i < list->count(); ++i) add(list->item(i)->text());
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    for (int i = 0; i < combo->count(); ++i) add(combo->itemText(i));
    if (combo->isEditable() && combo->findText(combo->currentText()) < 0) add(combo->currentText());
  } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
    if (!tree->isHeaderHidden())
      for (int c = 0; c < tree->columnCount(); ++c) add(tree->headerItem()->text(c));
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
      for (int c = 0; c < tree->columnCount(); ++c) add((*it)->text(c));
  } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
    for (int i = 0; i < tabs->count(); ++i) add(tabs->tabText(i));
  } else if (QTabBar* bar = TabBarOf(w)) {
    for (int i = 0; i < bar->count(); ++i) add(bar->tabText(i));
  } else if (kinds_.contains(&control) && kinds_.at(&control) == Kind::StatusBar) {
    for (QLabel* l : w->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) add(l->text());
  }
  if (auto* container = dynamic_cast<const TWinControl*>(&control))
    for (int i = 0; i < container->ControlCount(); ++i) CollectTexts(*container->Controls(i), out);
}

}  // namespace vorlect::ui::formview
