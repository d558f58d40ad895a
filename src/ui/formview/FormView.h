// A form shown with Qt widgets: every control of a component tree at its place, size and font,
// stock controls as their Qt counterparts, controls of other classes as frames that name their
// class. The view follows the tree as it changes (a language switch rewrites texts, positions
// and fonts): it observes the form (host::TChangeObserver) and re-reads what changed.
//
// The view does not own the form. When the form is destroyed first, the view empties itself;
// otherwise it stops observing when it goes.
#pragma once

#include "host/framework/Classes.h"
#include "host/framework/Controls.h"
#include "ui/formview/ControlFacts.h"

#include <QWidget>

#include <unordered_map>
#include <unordered_set>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace vorlect::ui::formview {

class FormView : public QWidget, private host::TChangeObserver {
  Q_OBJECT
public:
  explicit FormView(host::TControl& form, QWidget* parent = nullptr);
  ~FormView() override;

  // The form shown; null once it was destroyed.
  host::TControl* Form() const { return form_; }
  // The form's client area (the parent of its controls' widgets) and its menu bar (null when the
  // form has no main menu).
  QWidget* ClientArea() const { return client_; }
  QMenuBar* MenuBar() const { return menuBar_; }

  // The widget that shows a control (null for components without one), the action of a menu
  // item, and the component a widget or action shows (null for the view's own parts).
  QWidget* WidgetOf(const host::TComponent* component) const;
  QAction* ActionOf(const host::TComponent* menuItem) const;
  host::TComponent* ComponentOf(const QObject* widgetOrAction) const;

  // Re-reads everything a component shows, or only its place and size.
  void RefreshComponent(host::TComponent& component);
  void RefreshGeometry(host::TComponent& component);
  // Re-reads the whole form.
  void Refresh();

  // Every text the widgets show, read back from them: the caption, the menu, then the controls
  // in the order of the tree. Accelerator markers stay as the widgets hold them; empty texts are
  // left out.
  QStringList ShownTexts() const;

signals:
  // The form asked for its window to come to the front; the view has raised its own window.
  void FormBroughtToFront();

private:
  // host::TChangeObserver
  void ComponentChanged(host::TComponent& component) override;
  void ComponentDestroying(host::TComponent& component) override;
  void BeginBatch() override { ++batch_; }
  void EndBatch() override;
  void ComponentBroughtToFront(host::TComponent& component) override;

  void BuildControls(host::TWinControl& parent, QWidget* container, Kind parentKind);
  QWidget* CreateWidget(host::TControl& control, Kind kind, QWidget* container, Kind parentKind);
  void BuildMenu();
  void AddMenuItems(host::TComponent& item, QMenuBar* bar, QMenu* menu);
  void SyncControl(host::TControl& control);
  void SyncForm();
  void SyncMenuItem(host::TComponent& item);
  void SyncTexts(host::TControl& control, Kind kind, QWidget* widget);
  void Forget(const host::TComponent* component);
  void ForgetMenu(QWidget* menu);
  void Clear();
  void CollectTexts(const host::TControl& control, QStringList& out) const;

  host::TControl* form_;
  QWidget* client_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  std::unordered_map<const host::TComponent*, QObject*> objects_;
  std::unordered_map<const QObject*, host::TComponent*> components_;
  std::unordered_map<const host::TComponent*, Kind> kinds_;
  int batch_ = 0;
  std::vector<host::TComponent*> pending_;
  std::unordered_set<host::TComponent*> pendingSet_;
};

}  // namespace vorlect::ui::formview
