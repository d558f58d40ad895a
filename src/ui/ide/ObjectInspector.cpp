#include "ui/ide/ObjectInspector.h"

#include <QHeaderView>
#include <QToolButton>

#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "ui/QtText.h"

namespace vorlect::ui {

namespace {

constexpr int kEditorRole = Qt::UserRole + 1;  // index into editors_
constexpr int kPathRole = Qt::UserRole + 2;


}  // namespace

TObjectInspector::TObjectInspector(host::TDesigner* designer, QWidget* parent)
    : QTreeWidget(parent), designer_(designer) {
  setObjectName("ObjectInspector");
  setColumnCount(3);
  setHeaderLabels({"Property", "Value", ""});
  header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  header()->setSectionResizeMode(1, QHeaderView::Stretch);
  header()->setSectionResizeMode(2, QHeaderView::Fixed);
  header()->resizeSection(2, 24);
  header()->setStretchLastSection(false);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::SelectedClicked);
  connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (!filling_ && column == 1) Commit(item);
  });
}

TObjectInspector::~TObjectInspector() = default;

void TObjectInspector::Inspect(host::TPersistent* instance, host::TDesigner* designer) {
  if (designer) designer_ = designer;
  filling_ = true;
  clear();
  editors_.clear();
  instance_ = instance;
  if (instance_) AddRows(nullptr, *instance_, QString(), 0);
  filling_ = false;
}

void TObjectInspector::AddRows(QTreeWidgetItem* parent, host::TPersistent& instance, const QString& prefix, int depth) {
  for (auto& editor : host::DesignRegistry().PropertyEditors(designer_, instance)) {
    const host::TPropertyAttributes attributes = editor->GetAttributes();
    const QString name = QString::fromStdString(editor->GetName());
    const QString path = prefix.isEmpty() ? name : prefix + "." + name;
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, name);
    std::string value;
    try {
      value = editor->GetValue();
    } catch (const std::exception&) {
      value = "(unreadable)";
    }
    item->setText(1, FromAnsi(value));
    item->setData(0, kEditorRole, static_cast<int>(editors_.size()));
    item->setData(0, kPathRole, path);
    // Values are typed unless the editor says otherwise; objects are edited in place or by dialog.
    const bool typed = !(attributes & (host::paReadOnly | host::paSubProperties)) && !editor->Prop().IsReadOnly() &&
                       !editor->Prop().IsSubObject();
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (typed) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    host::TPropertyEditor* raw = editor.get();
    editors_.push_back(std::move(editor));
    if (attributes & host::paDialog) {
      auto* ellipsis = new QToolButton(this);
      ellipsis->setText("...");
      ellipsis->setObjectName("Ellipsis_" + path);
      setItemWidget(item, 2, ellipsis);
      connect(ellipsis, &QToolButton::clicked, this, [this, item] { RunDialog(item); });
    }
    // Sub-objects unfold into their own published properties (fonts, constraints...), not too deep.
    if ((attributes & host::paSubProperties) && depth < 3)
      if (host::TPersistent* sub = host::GetObjectProp(raw->Instance(), &raw->Prop()))
        AddRows(item, *sub, path, depth + 1);
  }
}

QTreeWidgetItem* TObjectInspector::Row(const QString& path) const {
  QTreeWidgetItemIterator it(const_cast<TObjectInspector*>(this));
  for (; *it; ++it)
    if ((*it)->data(0, kPathRole).toString().compare(path, Qt::CaseInsensitive) == 0) return *it;
  return nullptr;
}

host::TPropertyEditor* TObjectInspector::EditorOf(const QTreeWidgetItem* row) const {
  if (!row) return nullptr;
  const int index = row->data(0, kEditorRole).toInt();
  return index >= 0 && index < static_cast<int>(editors_.size()) ? editors_[static_cast<size_t>(index)].get() : nullptr;
}

QWidget* TObjectInspector::EllipsisOf(const QString& path) const {
  QTreeWidgetItem* row = Row(path);
  return row ? itemWidget(row, 2) : nullptr;
}

void TObjectInspector::Commit(QTreeWidgetItem* item) {
  host::TPropertyEditor* editor = EditorOf(item);
  if (!editor) return;
  const std::string typed = ToAnsi(item->text(1));
  try {
    if (editor->GetValue() == typed) return;
    if (!editor->SetValue(typed)) {
      RefreshValues();
      return;
    }
  } catch (const std::exception& e) {
    ports::MessageDlg(e.what(), ports::mtError, {ports::mbOK});
  }
  RefreshValues();
  emit PropertyChanged(item->data(0, kPathRole).toString());
}

void TObjectInspector::RunDialog(QTreeWidgetItem* item) {
  host::TPropertyEditor* editor = EditorOf(item);
  if (!editor) return;
  try {
    editor->Edit();
  } catch (const std::exception& e) {
    ports::MessageDlg(e.what(), ports::mtError, {ports::mbOK});
  }
  RefreshValues();
  emit PropertyChanged(item->data(0, kPathRole).toString());
}

void TObjectInspector::RefreshValues() {
  filling_ = true;
  QTreeWidgetItemIterator it(this);
  for (; *it; ++it)
    if (host::TPropertyEditor* editor = EditorOf(*it)) {
      try {
        (*it)->setText(1, FromAnsi(editor->GetValue()));
      } catch (const std::exception&) {
        (*it)->setText(1, "(unreadable)");
      }
    }
  filling_ = false;
}

}  // namespace vorlect::ui
