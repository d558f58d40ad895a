// The form designer: a form shown through the form view, with its controls selected, moved and
// resized by mouse and keyboard, its non-visual components as icons, the component editors' verbs
// on right-click (verb 0 on double-click) and new components dropped from the palette. Every
// change goes to the component tree; the view follows it.
#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>
#include <unordered_map>

#include "host/framework/Controls.h"
#include "host/framework/DesignIntf.h"

class QLabel;
class QMenu;

namespace vorlect::ui {

namespace formview {
class FormView;
}

class TDesignOverlay;

class TFormDesigner : public QWidget, public host::TDesigner {
  Q_OBJECT
public:
  explicit TFormDesigner(host::TControl& form, QWidget* parent = nullptr);
  ~TFormDesigner() override;

  host::TControl& Form() const { return form_; }
  formview::FormView& View() const { return *view_; }

  host::TComponent* Selected() const { return selected_; }
  void Select(host::TComponent* component);
  // Where a component is drawn, in the designer's coordinates (controls and icons alike).
  QRect RectOf(const host::TComponent& component) const;
  // The icon of a non-visual component, or null.
  QWidget* IconOf(const host::TComponent* component) const;
  // The component at a point of the designer (the form itself when nothing else is there).
  host::TComponent* ComponentAt(const QPoint& pos) const;

  // The next click on the form drops a component of this class (null cancels).
  void SetPendingClass(const host::ClassInfo* cls) { pending_ = cls; }
  const host::ClassInfo* PendingClass() const { return pending_; }
  // Creates a component of `cls` named after its class, at `pos` of `parent`'s client area.
  host::TComponent* AddComponent(const host::ClassInfo& cls, const QPoint& pos, host::TWinControl* parent = nullptr);

  // The component editor's verbs as a menu (null when the component has no editor).
  std::unique_ptr<QMenu> VerbMenu(host::TComponent& component);
  // Verb 0, as a double-click runs it.
  void EditComponent(host::TComponent& component);

  // TDesigner
  void Modified() override;
  bool IsModified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  // Re-reads the whole form (after the tree changed outside the designer).
  void Rebuild();

signals:
  void SelectionChanged(vorlect::host::TComponent* component);
  void FormModified();
  // The form asked to come to the front (a tool finished with it).
  void FormBroughtToFront();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  enum class Drag { None, Move, Resize };
  bool IsDesignSurface(QObject* object) const;
  void MousePress(const QPoint& pos, Qt::MouseButton button, const QPoint& globalPos);
  void MouseMove(const QPoint& pos);
  void MouseRelease(const QPoint& pos);
  void Drop(const QPoint& pos);
  void BuildIcons();
  void MoveBy(host::TComponent& component, int dx, int dy);
  void ResizeBy(host::TControl& control, int dw, int dh);
  void UpdateOverlay();

  host::TControl& form_;
  formview::FormView* view_ = nullptr;
  TDesignOverlay* overlay_ = nullptr;
  QLabel* caption_ = nullptr;
  std::unordered_map<const host::TComponent*, QWidget*> icons_;
  host::TComponent* selected_ = nullptr;
  const host::ClassInfo* pending_ = nullptr;
  bool modified_ = false;

  Drag drag_ = Drag::None;
  QPoint dragStart_;
  QRect startRect_;  // the component's Left/Top/Width/Height (or icon place) when the drag began
  bool dragMoved_ = false;
  bool dropping_ = false;  // a press with a pending class: the release drops it
};

}  // namespace vorlect::ui
