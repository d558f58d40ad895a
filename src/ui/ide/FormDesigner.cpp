#include "ui/ide/FormDesigner.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "ui/QtText.h"
#include "ui/formview/FormView.h"

namespace vorlect::ui {

using host::TComponent;
using host::TControl;
using host::TWinControl;

namespace {

constexpr int kIconSize = 28;
constexpr int kHandle = 6;  // the resize grip at a selected control's bottom-right corner

// Classes whose instances hold dropped controls; any other control passes them to its parent.
bool AcceptsControls(const TComponent& c) {
  for (const char* cls : {"TPanel", "TGroupBox", "TTabSheet", "TScrollBox", "TFrame"})
    if (c.ClassType().Name() == cls) return true;
  return false;
}

}  // namespace

// Draws the selection over the form without taking its mouse events.
class TDesignOverlay : public QWidget {
public:
  TDesignOverlay(TFormDesigner& designer, QWidget* parent) : QWidget(parent), designer_(designer) {
    setObjectName("DesignOverlay");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
  }

protected:
  void paintEvent(QPaintEvent*) override {
    TComponent* c = designer_.Selected();
    if (!c || c == &designer_.Form()) return;
    QPainter p(this);
    const QRect r(mapFrom(&designer_, designer_.RectOf(*c).topLeft()), designer_.RectOf(*c).size());
    p.setPen(QPen(QColor(0, 0, 160), 1, Qt::DashLine));
    p.drawRect(r.adjusted(-1, -1, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 160));
    for (const QPoint& corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
      p.drawRect(QRect(corner - QPoint(kHandle / 2, kHandle / 2), QSize(kHandle, kHandle)));
  }

private:
  TFormDesigner& designer_;
};

TFormDesigner::TFormDesigner(TControl& form, QWidget* parent) : QWidget(parent), form_(form) {
  setObjectName("FormDesigner");
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);  // a form without a colour of its own shows the window colour
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // The form's title bar: the designed form is not a window of its own, but its caption matters.
  caption_ = new QLabel(this);
  caption_->setObjectName("FormCaption");
  caption_->setContentsMargins(6, 3, 6, 3);
  caption_->setAutoFillBackground(true);
  QPalette titlePalette = caption_->palette();
  titlePalette.setColor(QPalette::Window, QColor(10, 36, 106));
  titlePalette.setColor(QPalette::WindowText, Qt::white);
  caption_->setPalette(titlePalette);
  QFont titleFont = caption_->font();
  titleFont.setBold(true);
  caption_->setFont(titleFont);
  layout->addWidget(caption_);
  view_ = new formview::FormView(form_, this);
  layout->addWidget(view_);
  connect(view_, &formview::FormView::FormBroughtToFront, this, &TFormDesigner::FormBroughtToFront);
  overlay_ = new TDesignOverlay(*this, view_->ClientArea());
  BuildIcons();
  UpdateOverlay();
  selected_ = &form_;
  qApp->installEventFilter(this);
}

TFormDesigner::~TFormDesigner() { qApp->removeEventFilter(this); }

void TFormDesigner::Rebuild() {
  // A new view of the whole tree (controls may have come or gone); icons and overlay on top.
  for (auto& [component, icon] : icons_) delete icon;
  icons_.clear();
  auto* fresh = new formview::FormView(form_, this);
  delete layout()->replaceWidget(view_, fresh);  // the old view's layout item is ours to free
  delete view_;
  view_ = fresh;
  connect(view_, &formview::FormView::FormBroughtToFront, this, &TFormDesigner::FormBroughtToFront);
  view_->show();
  overlay_ = new TDesignOverlay(*this, view_->ClientArea());
  BuildIcons();
  UpdateOverlay();
}

void TFormDesigner::BuildIcons() {
  for (auto& [component, icon] : icons_) delete icon;
  icons_.clear();
  QWidget* client = view_->ClientArea();
  for (int i = 0; i < form_.ComponentCount(); ++i) {
    TComponent* c = form_.Components(i);
    if (dynamic_cast<TControl*>(c) || view_->ActionOf(c)) continue;
    auto* icon = new QLabel(client);
    icon->setObjectName(QString::fromStdString("Icon_" + c->Name()));
    icon->setFrameStyle(QFrame::Panel | QFrame::Raised);
    icon->setAlignment(Qt::AlignCenter);
    QString cls = QString::fromStdString(c->ClassName());
    icon->setText(cls.mid(1, 3));
    icon->setToolTip(QString::fromStdString(c->Name()) + ": " + cls);
    icon->setAutoFillBackground(true);
    icon->setGeometry(c->DesignLeft(), c->DesignTop(), kIconSize, kIconSize);
    icon->show();
    icons_[c] = icon;
  }
}

void TFormDesigner::UpdateOverlay() {
  if (caption_) caption_->setText(FromAnsi(host::IsPublishedProp(form_, "Caption") ? host::GetStrProp(form_, "Caption") : form_.Name()));
  if (!overlay_) return;
  overlay_->setGeometry(view_->ClientArea()->rect());
  overlay_->raise();
  overlay_->show();
  overlay_->update();
}

QWidget* TFormDesigner::IconOf(const TComponent* component) const {
  auto it = icons_.find(component);
  return it == icons_.end() ? nullptr : it->second;
}

QRect TFormDesigner::RectOf(const TComponent& component) const {
  QWidget* w = IconOf(&component);
  if (!w) w = view_->WidgetOf(&component);
  if (!w && &component == &form_) w = view_->ClientArea();
  if (!w) return {};
  return QRect(w->mapTo(this, QPoint(0, 0)), w->size());
}

TComponent* TFormDesigner::ComponentAt(const QPoint& pos) const {
  for (const auto& [component, icon] : icons_)
    if (QRect(icon->mapTo(this, QPoint(0, 0)), icon->size()).contains(pos)) return const_cast<TComponent*>(component);
  QWidget* client = view_->ClientArea();
  const QPoint local = client->mapFrom(this, pos);
  for (QWidget* w = client->childAt(local); w && w != client; w = w->parentWidget())
    if (TComponent* c = view_->ComponentOf(w)) return c;
  return &form_;
}

void TFormDesigner::Select(TComponent* component) {
  if (!component) component = &form_;
  if (component == selected_) return;
  selected_ = component;
  UpdateOverlay();
  emit SelectionChanged(component);
}

void TFormDesigner::Modified() {
  modified_ = true;
  UpdateOverlay();
  emit FormModified();
}

// ---- Adding components -------------------------------------------------------------------------

TComponent* TFormDesigner::AddComponent(const host::ClassInfo& cls, const QPoint& pos, TWinControl* parent) {
  TComponent* c = nullptr;
  try {
    c = cls.CreateComponent(&form_);
  } catch (const std::exception& e) {
    ports::MessageDlg(e.what(), ports::mtError, {ports::mbOK});
    return nullptr;
  }
  c->SetDesigning(true);
  // Named after the class: TButton -> Button1, the first number no component of the form has.
  std::string base = cls.Name();
  if (base.size() > 1 && (base[0] == 'T' || base[0] == 't')) base.erase(0, 1);
  for (int n = 1;; ++n)
    if (!form_.FindComponent(base + std::to_string(n))) {
      c->SetName(base + std::to_string(n));
      break;
    }
  if (auto* control = dynamic_cast<TControl*>(c)) {
    if (!parent) parent = dynamic_cast<TWinControl*>(&form_);
    control->SetParent(parent);
    const int width = control->Width() > 0 ? control->Width() : 75;
    const int height = control->Height() > 0 ? control->Height() : 25;
    control->SetBounds(pos.x(), pos.y(), width, height);
    // A new control shows its name until it is given a caption.
    if (const host::PropInfo* caption = host::GetPropInfo(*control, "Caption");
        caption && caption->kind == host::TypeKind::String && host::GetStrProp(*control, caption).empty())
      host::SetStrProp(*control, caption, control->Name());
  } else {
    c->SetDesignPosition(pos.x(), pos.y());
  }
  Rebuild();
  Select(c);
  Modified();
  return c;
}

// ---- Verbs ---------------------------------------------------------------------------------------

std::unique_ptr<QMenu> TFormDesigner::VerbMenu(TComponent& component) {
  std::shared_ptr<host::TComponentEditor> editor = host::DesignRegistry().ComponentEditor(component, this);
  if (!editor || editor->GetVerbCount() == 0) return nullptr;
  auto menu = std::make_unique<QMenu>(this);
  menu->setObjectName("VerbMenu");
  for (int i = 0; i < editor->GetVerbCount(); ++i) {
    QAction* a = menu->addAction(QString::fromStdString(editor->GetVerb(i)));
    a->setObjectName(QString("Verb%1").arg(i));
    connect(a, &QAction::triggered, this, [this, editor, i] {
      editor->ExecuteVerb(i);
      UpdateOverlay();
      emit SelectionChanged(selected_);  // what the inspector shows may have changed
    });
  }
  return menu;
}

void TFormDesigner::EditComponent(TComponent& component) {
  if (auto editor = host::DesignRegistry().ComponentEditor(component, this)) {
    editor->Edit();
    UpdateOverlay();
    emit SelectionChanged(selected_);
  }
}

// ---- Mouse and keyboard --------------------------------------------------------------------------

bool TFormDesigner::IsDesignSurface(QObject* object) const {
  auto* w = qobject_cast<QWidget*>(object);
  QWidget* client = view_ ? view_->ClientArea() : nullptr;
  return w && client && (w == client || client->isAncestorOf(w));
}

bool TFormDesigner::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
    case QEvent::Wheel:
      break;
    default:
      return QWidget::eventFilter(watched, event);
  }
  if (!IsDesignSurface(watched)) return QWidget::eventFilter(watched, event);
  // The form's controls do not work while it is designed: every mouse event is the designer's.
  if (event->type() == QEvent::ContextMenu || event->type() == QEvent::Wheel) return true;
  auto* me = static_cast<QMouseEvent*>(event);
  const QPoint pos = static_cast<QWidget*>(watched)->mapTo(this, me->position().toPoint());
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      setFocus(Qt::MouseFocusReason);
      MousePress(pos, me->button(), me->globalPosition().toPoint());
      break;
    case QEvent::MouseMove:
      MouseMove(pos);
      break;
    case QEvent::MouseButtonRelease:
      MouseRelease(pos);
      break;
    case QEvent::MouseButtonDblClick:
      if (TComponent* c = ComponentAt(pos); c && me->button() == Qt::LeftButton) EditComponent(*c);
      break;
    default:
      break;
  }
  return true;
}

void TFormDesigner::MousePress(const QPoint& pos, Qt::MouseButton button, const QPoint& globalPos) {
  TComponent* c = ComponentAt(pos);
  // A pending class drops where the button goes up, after the press was handled: the drop
  // rebuilds the widgets the press went to.
  if (pending_ && button == Qt::LeftButton) {
    dropping_ = true;
    return;
  }
  Select(c);
  if (button == Qt::RightButton) {
    if (auto menu = VerbMenu(*c)) menu->exec(globalPos);
    return;
  }
  if (button != Qt::LeftButton || c == &form_) return;
  dragStart_ = pos;
  dragMoved_ = false;
  if (auto* control = dynamic_cast<TControl*>(c)) {
    startRect_ = QRect(control->Left(), control->Top(), control->Width(), control->Height());
    const QRect shown = RectOf(*c);
    const QPoint corner = shown.bottomRight();
    drag_ = (std::abs(pos.x() - corner.x()) <= kHandle && std::abs(pos.y() - corner.y()) <= kHandle) ? Drag::Resize
                                                                                                     : Drag::Move;
  } else {
    startRect_ = QRect(c->DesignLeft(), c->DesignTop(), kIconSize, kIconSize);
    drag_ = Drag::Move;
  }
}

void TFormDesigner::MouseMove(const QPoint& pos) {
  if (drag_ == Drag::None || !selected_ || selected_ == &form_) return;
  const QPoint d = pos - dragStart_;
  if (!dragMoved_ && d.manhattanLength() < 2) return;
  dragMoved_ = true;
  if (auto* control = dynamic_cast<TControl*>(selected_)) {
    if (drag_ == Drag::Move)
      control->SetBounds(startRect_.x() + d.x(), startRect_.y() + d.y(), startRect_.width(), startRect_.height());
    else
      control->SetBounds(startRect_.x(), startRect_.y(), std::max(1, startRect_.width() + d.x()),
                         std::max(1, startRect_.height() + d.y()));
  } else {
    selected_->SetDesignPosition(startRect_.x() + d.x(), startRect_.y() + d.y());
    if (QWidget* icon = IconOf(selected_)) icon->move(selected_->DesignLeft(), selected_->DesignTop());
  }
  UpdateOverlay();
}

void TFormDesigner::Drop(const QPoint& pos) {
  const host::ClassInfo* cls = pending_;
  pending_ = nullptr;
  if (!cls) return;
  TComponent* c = ComponentAt(pos);
  // Dropped into the container under the mouse (a panel, a group box...), else onto the form.
  TWinControl* parent = dynamic_cast<TWinControl*>(&form_);
  for (TComponent* p = c; p && p != &form_;) {
    if (AcceptsControls(*p)) {
      parent = dynamic_cast<TWinControl*>(p);
      break;
    }
    auto* control = dynamic_cast<TControl*>(p);
    p = control ? control->Parent() : nullptr;
  }
  const QRect origin = RectOf(*parent);
  AddComponent(*cls, pos - origin.topLeft(), parent);
}

void TFormDesigner::MouseRelease(const QPoint& pos) {
  if (dropping_) {
    dropping_ = false;
    Drop(pos);
    return;
  }
  const bool moved = drag_ != Drag::None && dragMoved_;
  drag_ = Drag::None;
  dragMoved_ = false;
  if (moved) Modified();
}

void TFormDesigner::MoveBy(TComponent& component, int dx, int dy) {
  if (auto* control = dynamic_cast<TControl*>(&component))
    control->SetBounds(control->Left() + dx, control->Top() + dy, control->Width(), control->Height());
  else {
    component.SetDesignPosition(component.DesignLeft() + dx, component.DesignTop() + dy);
    if (QWidget* icon = IconOf(&component)) icon->move(component.DesignLeft(), component.DesignTop());
  }
}

void TFormDesigner::ResizeBy(TControl& control, int dw, int dh) {
  control.SetBounds(control.Left(), control.Top(), std::max(1, control.Width() + dw), std::max(1, control.Height() + dh));
}

void TFormDesigner::keyPressEvent(QKeyEvent* event) {
  int dx = 0, dy = 0;
  switch (event->key()) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    case Qt::Key_Escape:
      pending_ = nullptr;
      if (auto* control = dynamic_cast<TControl*>(selected_); control && control != &form_ && control->Parent())
        Select(control->Parent());
      else
        Select(&form_);
      return;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  if (!selected_ || selected_ == &form_) return;
  // Ctrl+arrows move by one pixel, Shift+arrows size by one, as in the form designers users know.
  if (event->modifiers() & Qt::ControlModifier) {
    MoveBy(*selected_, dx, dy);
  } else if (event->modifiers() & Qt::ShiftModifier) {
    auto* control = dynamic_cast<TControl*>(selected_);
    if (!control) return;
    ResizeBy(*control, dx, dy);
  } else {
    return;
  }
  UpdateOverlay();
  Modified();
}

}  // namespace vorlect::ui
