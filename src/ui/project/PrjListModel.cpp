#include "ui/project/PrjListModel.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "ui/QtText.h"

namespace vorlect::ui {

TPrjListModel::TPrjListModel(vle::TFPrjList& catalogue, QObject* parent)
    : QAbstractTableModel(parent), catalogue_(catalogue) {}

int TPrjListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : catalogue_.Count(); }

int TPrjListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant TPrjListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= catalogue_.Count()) return {};
  const vle::TEntry& e = catalogue_.Entry(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      switch (index.column()) {
        case colLanguages: return QString::number(e.LanguageCount);
        case colDone: return QString::fromStdString(e.DoneCell());
        case colForm: return FromAnsi(e.FormClassName);
        case colPath: return QFile::decodeName(e.FormFile.c_str());
      }
      break;
    case Qt::DecorationRole:
      if (index.column() == colLanguages && e.InstanceCount > 0) return ComponentIcon();
      break;
    case Qt::TextAlignmentRole:
      if (index.column() == colDone) return int(Qt::AlignCenter);
      if (index.column() == colLanguages) return int(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case SortRole:
      switch (index.column()) {
        case colLanguages: return e.LanguageCount;
        case colDone: return e.LineCount() == 0 ? -1 : e.FilledLineCount() * 100 / e.LineCount();
        case colForm: return FromAnsi(e.FormClassName).toLower();
        case colPath: return QFile::decodeName(e.FormFile.c_str()).toLower();
      }
      break;
  }
  return {};
}

QVariant TPrjListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) {
    static const char* const kTitles[kColumns] = {"#L", "Done", "Form", "Path"};
    if (section >= 0 && section < kColumns) return QString::fromLatin1(kTitles[section]);
  }
  if (role == Qt::TextAlignmentRole && section == colDone) return int(Qt::AlignCenter);
  return {};
}

void TPrjListModel::RowChanged(int row) {
  if (row < 0 || row >= catalogue_.Count()) return;
  emit dataChanged(index(row, 0), index(row, kColumns - 1));
}

void TPrjListModel::Refresh() {
  // The rows stay the same rows: the list keeps its selection and scroll position.
  if (catalogue_.Count() > 0) emit dataChanged(index(0, 0), index(catalogue_.Count() - 1, kColumns - 1));
}

QIcon TPrjListModel::ComponentIcon() {
  // A speech bubble with a letter: the component that speaks the form's languages. Drawn for the
  // list's size and twice that, so that it stays sharp on screens that scale.
  static const QIcon icon = [] {
    QIcon result;
    for (int size : {16, 32}) {
      const qreal u = size / 16.0;
      QPixmap pixmap(size, size);
      pixmap.fill(Qt::transparent);
      QPainter p(&pixmap);
      p.setRenderHint(QPainter::Antialiasing);
      QPainterPath bubble;
      bubble.addRoundedRect(QRectF(0.5 * u, 0.5 * u, 15 * u, 11.5 * u), 3 * u, 3 * u);
      QPainterPath tail;
      tail.moveTo(3 * u, 11 * u);
      tail.lineTo(2.5 * u, 15.5 * u);
      tail.lineTo(8 * u, 11 * u);
      p.fillPath(bubble.united(tail), QColor(0x2e, 0x6d, 0xb4));
      QFont f = QApplication::font();
      f.setPixelSize(int(10 * u));
      f.setBold(true);
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRectF(0.5 * u, 0.5 * u, 15 * u, 11.5 * u), Qt::AlignCenter, QStringLiteral("A"));
      result.addPixmap(pixmap);
    }
    return result;
  }();
  return icon;
}

TPrjListFilter::TPrjListFilter(QObject* parent) : QSortFilterProxyModel(parent) {
  setSortRole(TPrjListModel::SortRole);
  setSortCaseSensitivity(Qt::CaseInsensitive);
}

void TPrjListFilter::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  invalidateFilter();
}

void TPrjListFilter::SetIncompleteOnly(bool on) {
  if (on == incompleteOnly_) return;
  incompleteOnly_ = on;
  invalidateFilter();
}

bool TPrjListFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  auto* model = static_cast<TPrjListModel*>(sourceModel());
  const vle::TEntry& e = model->Catalogue().Entry(sourceRow);
  if (incompleteOnly_ && !e.Incomplete()) return false;
  if (text_.isEmpty()) return true;
  return FromAnsi(e.FormClassName).contains(text_, Qt::CaseInsensitive) ||
         QFile::decodeName(e.FormFile.c_str()).contains(text_, Qt::CaseInsensitive) ||
         FromAnsi(e.FormName).contains(text_, Qt::CaseInsensitive);
}

}  // namespace vorlect::ui
