// The object inspector: the published properties of the selected component, each through the
// property editor the design registry gives for it (the packages' own or the framework's stock
// ones). Values are typed into the value column; an ellipsis opens an editor's dialog; objects
// with sub-properties unfold.
#pragma once

#include <QTreeWidget>

#include <memory>
#include <vector>

#include "host/framework/DesignIntf.h"

namespace vorlect::ui {

class TObjectInspector : public QTreeWidget {
  Q_OBJECT
public:
  explicit TObjectInspector(host::TDesigner* designer, QWidget* parent = nullptr);
  ~TObjectInspector() override;

  // Shows the properties of `instance` (null: none), whose changes `designer` hears of (null: the
  // designer given before). The inspector owns neither.
  void Inspect(host::TPersistent* instance, host::TDesigner* designer = nullptr);
  host::TPersistent* Inspected() const { return instance_; }
  // Reads every shown value again (after the designer changed the component).
  void RefreshValues();

  // The row of a property ("Font.Name" for a sub-property), or null.
  QTreeWidgetItem* Row(const QString& path) const;
  host::TPropertyEditor* EditorOf(const QTreeWidgetItem* row) const;
  // The ellipsis of a row with a dialog, or null.
  QWidget* EllipsisOf(const QString& path) const;

signals:
  // A value was set or an editor's dialog ran.
  void PropertyChanged(const QString& path);

private:
  struct Row;
  void AddRows(QTreeWidgetItem* parent, host::TPersistent& instance, const QString& prefix, int depth);
  void Commit(QTreeWidgetItem* item);
  void RunDialog(QTreeWidgetItem* item);

  host::TDesigner* designer_;
  host::TPersistent* instance_ = nullptr;
  std::vector<std::unique_ptr<host::TPropertyEditor>> editors_;
  bool filling_ = false;
};

}  // namespace vorlect::ui
