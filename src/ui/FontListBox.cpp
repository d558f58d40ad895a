#include "ui/FontListBox.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <initializer_list>

namespace vorlect::ui {

namespace {

constexpr int kTrueTypeRole = Qt::UserRole + 1;

// A line path drawn the way the framework's pen draws it: every point but the last.
void Path(QImage& image, QRgb colour, std::initializer_list<QPoint> points) {
  const QPoint* p = points.begin();
  for (const QPoint* next = p + 1; next != points.end(); p = next++) {
    const QPoint step((next->x() > p->x()) - (next->x() < p->x()), (next->y() > p->y()) - (next->y() < p->y()));
    for (QPoint at = *p; at != *next; at += step)
      if (image.rect().contains(at)) image.setPixel(at, colour);
  }
}

void DrawT(QImage& image, QRgb colour, int a, int b) {
  Path(image, colour, {{a, b}, {a + 7, b}, {a + 7, b + 3}});
  Path(image, colour, {{a, b}, {a, b + 3}});
  Path(image, colour, {{a + 1, b}, {a + 1, b + 1}});
  Path(image, colour, {{a + 6, b}, {a + 6, b + 1}});
  Path(image, colour, {{a + 3, b}, {a + 3, b + 8}});
  Path(image, colour, {{a + 4, b}, {a + 4, b + 8}});
  Path(image, colour, {{a + 1, b + 8}, {a + 6, b + 8}});
}

class FontItemDelegate : public QStyledItemDelegate {
public:
  explicit FontItemDelegate(TFontListBox* list) : QStyledItemDelegate(list), list_(list) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QFontMetrics metrics(option.font);
    return {TFontListBox::kTextIndent + metrics.horizontalAdvance(index.data().toString()) + 4, TFontListBox::kItemHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QColor background = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
    const QString name = index.data().toString();

    painter->save();
    painter->fillRect(option.rect, background);
    if (index.data(kTrueTypeRole).toBool())
      painter->drawImage(option.rect.topLeft() + QPoint(2, 2), TFontListBox::TrueTypeGlyph(background));
    QFont font = list_->font();
    if (list_->UseItemFont()) font.setFamily(name);
    painter->setFont(font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect text = option.rect.adjusted(TFontListBox::kTextIndent, 0, 0, 0);
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
    if (option.state & QStyle::State_HasFocus) {
      QStyleOptionFocusRect focus;
      focus.initFrom(list_);
      focus.rect = option.rect;
      focus.backgroundColor = background;
      list_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, list_);
    }
    painter->restore();
  }

private:
  TFontListBox* list_;
};

}  // namespace

TFontListBox::TFontListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new FontItemDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  Fill();
}

void TFontListBox::SetTTonly(bool value) {
  ttOnly_ = value;
  Fill();
}

void TFontListBox::SetUseItemFont(bool value) {
  useItemFont_ = value;
  Fill();
}

bool TFontListBox::IsTrueType(const QString& family) { return QFontDatabase::isSmoothlyScalable(family); }

QImage TFontListBox::TrueTypeGlyph(const QColor& background) {
  QImage glyph(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
  glyph.fill(background);
  DrawT(glyph, qRgb(128, 128, 128), 0, 0);
  DrawT(glyph, qRgb(0, 0, 0), 4, 3);
  return glyph;
}

void TFontListBox::Fill() {
  QStringList families = QFontDatabase::families();
  families.removeAll(QStringLiteral("Default"));
  if (ttOnly_) families.removeIf([](const QString& f) { return !IsTrueType(f); });
  // Sorted as a list box sorts: letter case aside first.
  std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  families.erase(std::unique(families.begin(), families.end()), families.end());

  clear();
  for (const QString& family : families) {
    auto* item = new QListWidgetItem(family, this);
    item->setData(kTrueTypeRole, IsTrueType(family));
  }
  if (count() > 0) setCurrentRow(0);
}

}  // namespace vorlect::ui
