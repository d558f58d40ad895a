// The project manager's list: one row per form of the catalogue, with the columns "#L" (and the
// component's icon), "Done", "Form" and "Path"; and the view over it that filters by name or path,
// shows only forms with texts still to translate, and sorts by any column.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QSortFilterProxyModel>

#include "vle/project/VLEMain.h"

namespace vorlect::ui {

class TPrjListModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Column { colLanguages, colDone, colForm, colPath, kColumns };
  // The value a column sorts by: numbers for "#L" and "Done" ("-" below 0 %).
  static constexpr int SortRole = Qt::UserRole + 1;

  explicit TPrjListModel(vle::TFPrjList& catalogue, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  vle::TFPrjList& Catalogue() { return catalogue_; }
  // A row's entry changed (rescan, rewrite): its cells are shown again.
  void RowChanged(int row);
  // Every row may have changed.
  void Refresh();

  // The translation component's picture, shown beside "#L" of a form that holds one.
  static QIcon ComponentIcon();

private:
  vle::TFPrjList& catalogue_;
};

class TPrjListFilter : public QSortFilterProxyModel {
  Q_OBJECT
public:
  explicit TPrjListFilter(QObject* parent = nullptr);
  // Rows whose form or path holds `text` (any case); empty shows all.
  void SetText(const QString& text);
  // Only forms whose tables have empty texts.
  void SetIncompleteOnly(bool on);
  bool IncompleteOnly() const { return incompleteOnly_; }
  const QString& Text() const { return text_; }

protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
  QString text_;
  bool incompleteOnly_ = false;
};

}  // namespace vorlect::ui
