#include "ui/editor/VLStGridWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "ui/QtPorts.h"
#include "ui/QtText.h"
#include "vle/editor/VLEditor.h"

namespace vorlect::ui {

namespace {

constexpr int kBorderGrip = 3;   // pixels either side of a column border that start sizing it
constexpr int kDragStart = 6;    // pixels a title must travel before it is dragged
constexpr int kMinColWidth = 8;

unsigned ShiftState(Qt::KeyboardModifiers m) {
  unsigned s = 0;
  if (m & Qt::ShiftModifier) s |= vle::ssShift;
  if (m & Qt::AltModifier) s |= vle::ssAlt;
  if (m & Qt::ControlModifier) s |= vle::ssCtrl;
  return s;
}

int VirtualKey(int key) {
  switch (key) {
    case Qt::Key_PageUp: return vle::VK_PRIOR;
    case Qt::Key_PageDown: return vle::VK_NEXT;
    case Qt::Key_End: return vle::VK_END;
    case Qt::Key_Home: return vle::VK_HOME;
    case Qt::Key_Left: return vle::VK_LEFT;
    case Qt::Key_Up: return vle::VK_UP;
    case Qt::Key_Right: return vle::VK_RIGHT;
    case Qt::Key_Down: return vle::VK_DOWN;
    default: return 0;
  }
}

// Lines as the system's text drawing breaks them: at CR LF, and at a lone CR or LF.
QStringList TextLines(const QString& text) {
  QString t = text;
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t.split(QLatin1Char('\n'));
}

QPixmap FlagPixmap(grid::TFlag flag) {
  static QPixmap pictures[2];
  QPixmap& p = pictures[flag == grid::TFlag::Ok ? 0 : 1];
  if (p.isNull()) {
    QImage image(grid::TVLStrGrid::kFlagWidth, grid::TVLStrGrid::kFlagHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const char* const* rows = grid::FlagPixels(flag);
    for (int y = 0; y < grid::TVLStrGrid::kFlagHeight; ++y)
      for (int x = 0; x < grid::TVLStrGrid::kFlagWidth; ++x) {
        QColor c;
        switch (rows[y][x]) {
          case 'K': c = Qt::black; break;
          case 'W': c = Qt::white; break;
          case 'G': c = QColor(0, 160, 0); break;
          case 'R': c = QColor(220, 0, 0); break;
          default: continue;  // transparent
        }
        image.setPixelColor(x, y, c);
      }
    p = QPixmap::fromImage(image);
  }
  return p;
}

// The grid's drawing calls onto a QPainter. Texts are decoded in the code page of the column
// being drawn: keys and the font row in the ANSI code page, titles (configured language names)
// in UTF-8, language cells in their column's character set.
class QtGridCanvas final : public grid::TGridCanvas {
public:
  QtGridCanvas(QPainter& painter, const grid::TVLStrGrid& grid, const QPalette& palette)
      : painter_(painter), grid_(grid), palette_(palette) {}

  void Begin(int col, bool selected, bool greyText) {
    col_ = col;
    selected_ = selected;
    greyText_ = greyText;
    ports::FontSpec fontSpec = grid_.GridFont;
    fontSpec.charset = col > 0 ? grid_.CharsetCode(col) : std::uint8_t{1};
    font_ = QtFont(fontSpec);
    charset_ = fontSpec.charset;
  }

  void SetFont(const std::string& name, std::uint8_t charset) override {
    ports::FontSpec fontSpec = grid_.GridFont;
    fontSpec.name = name;
    fontSpec.charset = charset;
    font_ = QtFont(fontSpec);
    charset_ = charset;
  }

  void DrawFlag(grid::TFlag flag, int x, int y) override { painter_.drawPixmap(x, y, FlagPixmap(flag)); }

  void DrawText(const std::string& text, const grid::TRect& rect) override {
    const QString decoded = col_ > 0 ? FromCharset(text, charset_) : FromAnsi(text);
    painter_.setFont(font_);
    painter_.setPen(selected_ ? palette_.color(QPalette::HighlightedText)
                              : greyText_ ? palette_.color(QPalette::Disabled, QPalette::Text)
                                          : palette_.color(QPalette::Text));
    DrawLines(decoded, rect, 2);
  }

  void DrawFixedCell(int col, int row, const std::string& text, const grid::TRect& rect) override {
    const QRect r(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    painter_.fillRect(r, palette_.color(QPalette::Button));
    painter_.setPen(palette_.color(QPalette::Light));
    painter_.drawLine(r.topLeft(), r.topRight());
    painter_.drawLine(r.topLeft(), r.bottomLeft());
    painter_.setPen(palette_.color(QPalette::Dark));
    painter_.drawLine(r.bottomLeft(), r.bottomRight());
    painter_.drawLine(r.topRight(), r.bottomRight());
    const QString decoded = row == 0 && col > 0 ? QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
                                                : FromAnsi(text);
    ports::FontSpec fontSpec = grid_.GridFont;
    painter_.setFont(QtFont(fontSpec));
    painter_.setPen(palette_.color(QPalette::ButtonText));
    DrawLines(decoded, rect, 2);
  }

private:
  void DrawLines(const QString& text, const grid::TRect& rect, int pad) {
    if (text.isEmpty()) return;
    const QRect clip(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    painter_.save();
    painter_.setClipRect(clip);
    const QFontMetrics fm(painter_.font());
    int y = rect.top + pad + fm.ascent();
    for (const QString& line : TextLines(text)) {
      if (y - fm.ascent() > rect.bottom) break;
      painter_.drawText(rect.left + pad, y, line);
      y += fm.lineSpacing();
    }
    painter_.restore();
  }

  QPainter& painter_;
  const grid::TVLStrGrid& grid_;
  const QPalette& palette_;
  QFont font_;
  std::uint8_t charset_ = 1;
  int col_ = 0;
  bool selected_ = false, greyText_ = false;
};

}  // namespace

// ---- In-place editor ---------------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TVLStrGridWidget& owner) : QPlainTextEdit(owner.viewport()), owner_(owner) {
  setFrameShape(QFrame::NoFrame);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
  document()->setDocumentMargin(1);
  hide();
}

void TInplaceEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Escape) {
    owner_.CancelEdit();
    return;
  }
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(event->modifiers() & Qt::ShiftModifier)) {
    owner_.CommitEdit();
    return;
  }
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    owner_.CommitEdit();
    owner_.focusNextPrevChild(key == Qt::Key_Tab);
    return;
  }
  // Up and Down leave a one-line cell, as they leave the grid's single-line editor.
  if ((key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) &&
      blockCount() == 1) {
    owner_.CommitEdit();
    QKeyEvent copy(event->type(), key, event->modifiers());
    QApplication::sendEvent(&owner_, &copy);
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void TInplaceEdit::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  // A click elsewhere in the window stores the text, as leaving a cell does; a menu or a message
  // box taking the focus for a moment does not.
  if (event->reason() == Qt::MouseFocusReason || event->reason() == Qt::TabFocusReason ||
      event->reason() == Qt::BacktabFocusReason)
    owner_.CommitEdit();
}

// ---- The widget -----------------------------------------------------------------------------------------

TVLStrGridWidget::TVLStrGridWidget(grid::TVLStrGrid& grid, QWidget* parent) : QAbstractScrollArea(parent), grid_(grid) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_ = new TInplaceEdit(*this);
  UpdateScrollBars();
}

int TVLStrGridWidget::FixedHeight() const {
  int h = 0;
  for (int r = 0; r < std::min(grid_.FixedRows(), grid_.RowCount()); ++r) h += grid_.RowHeights(r) + grid_.GridLineWidth;
  return h;
}

int TVLStrGridWidget::ColLeft(int col) const {
  int x = 0;
  for (int k = 0; k < col && k < grid_.ColCount(); ++k) x += grid_.ColWidths(k) + grid_.GridLineWidth;
  return x;
}

int TVLStrGridWidget::TotalWidth() const { return ColLeft(grid_.ColCount()); }

int TVLStrGridWidget::VisibleDataRows() const {
  if (filtered_) return static_cast<int>(shown_.size());
  return std::max(0, grid_.RowCount() - grid_.FixedRows());
}

int TVLStrGridWidget::DataRowAt(int index) const {
  if (index < 0 || index >= VisibleDataRows()) return -1;
  return filtered_ ? shown_[static_cast<size_t>(index)] : grid_.FixedRows() + index;
}

int TVLStrGridWidget::IndexOfRow(int row) const {
  if (row < grid_.FixedRows() || row >= grid_.RowCount()) return -1;
  if (!filtered_) return row - grid_.FixedRows();
  auto it = std::lower_bound(shown_.begin(), shown_.end(), row);
  return it != shown_.end() && *it == row ? static_cast<int>(it - shown_.begin()) : -1;
}

int TVLStrGridWidget::LowerBoundIndex(int row) const {
  if (!filtered_) return std::max(0, row - grid_.FixedRows());
  return static_cast<int>(std::lower_bound(shown_.begin(), shown_.end(), row) - shown_.begin());
}

int TVLStrGridWidget::TopRow() const { return DataRowAt(verticalScrollBar()->value()); }

void TVLStrGridWidget::SetRowFilter(std::vector<int> rows) {
  rows.erase(std::remove_if(rows.begin(), rows.end(),
                            [&](int r) { return r < grid_.FixedRows() || r >= grid_.RowCount(); }),
             rows.end());
  std::sort(rows.begin(), rows.end());
  shown_ = std::move(rows);
  filtered_ = true;
  TableChanged();
}

void TVLStrGridWidget::ClearRowFilter() {
  shown_.clear();
  filtered_ = false;
  TableChanged();
}

void TVLStrGridWidget::UpdateScrollBars() {
  const int count = VisibleDataRows();
  const int height = std::max(0, viewport()->height() - FixedHeight());
  // The last top row that still fills the view: walk up from the end one screen.
  int maxTop = count - 1, used = 0;
  while (maxTop >= 0) {
    used += grid_.RowHeights(DataRowAt(maxTop)) + grid_.GridLineWidth;
    if (used > height) break;
    --maxTop;
  }
  maxTop = std::clamp(maxTop + 1, 0, std::max(0, count - 1));
  const int page = std::max(1, height / std::max(1, grid_.DefaultRowHeight + grid_.GridLineWidth));
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, maxTop);
  v->setPageStep(page);
  v->setSingleStep(1);
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(0, TotalWidth() - viewport()->width()));
  h->setPageStep(std::max(1, viewport()->width()));
  h->setSingleStep(20);
  grid_.ClientWidth = viewport()->width();
}

void TVLStrGridWidget::TableChanged() {
  if (filtered_)
    shown_.erase(std::remove_if(shown_.begin(), shown_.end(),
                                [&](int r) { return r < grid_.FixedRows() || r >= grid_.RowCount(); }),
                 shown_.end());
  UpdateScrollBars();
  if (Editing()) {
    if (editCol_ >= grid_.ColCount() || editRow_ >= grid_.RowCount()) CancelEdit();
    else PlaceEditor();
  }
  viewport()->update();
}

std::pair<int, int> TVLStrGridWidget::CellAt(int x, int y) const {
  int col = -1;
  const int cx = x + horizontalScrollBar()->value();
  int left = 0;
  for (int k = 0; k < grid_.ColCount(); ++k) {
    const int right = left + grid_.ColWidths(k) + grid_.GridLineWidth;
    if (cx >= left && cx < right) {
      col = k;
      break;
    }
    left = right;
  }
  int row = -1;
  int top = 0;
  for (int r = 0; r < std::min(grid_.FixedRows(), grid_.RowCount()) && row < 0; ++r) {
    const int bottom = top + grid_.RowHeights(r) + grid_.GridLineWidth;
    if (y >= top && y < bottom) row = r;
    top = bottom;
  }
  if (row < 0 && y >= top) {
    for (int i = verticalScrollBar()->value(); i < VisibleDataRows() && top <= y; ++i) {
      const int r = DataRowAt(i);
      const int bottom = top + grid_.RowHeights(r) + grid_.GridLineWidth;
      if (y < bottom) {
        row = r;
        break;
      }
      top = bottom;
    }
  }
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

QRect TVLStrGridWidget::CellRect(int col, int row) const {
  if (col < 0 || col >= grid_.ColCount() || row < 0 || row >= grid_.RowCount()) return {};
  const int x = ColLeft(col) - horizontalScrollBar()->value();
  int y = 0;
  if (row < grid_.FixedRows()) {
    for (int r = 0; r < row; ++r) y += grid_.RowHeights(r) + grid_.GridLineWidth;
  } else {
    const int index = IndexOfRow(row), top = verticalScrollBar()->value();
    if (index < top) return {};
    y = FixedHeight();
    for (int i = top; i < index; ++i) {
      y += grid_.RowHeights(DataRowAt(i)) + grid_.GridLineWidth;
      if (y > viewport()->height()) return {};
    }
  }
  return QRect(x, y, grid_.ColWidths(col), grid_.RowHeights(row));
}

void TVLStrGridWidget::ScrollToCell(int col, int row) {
  const int index = IndexOfRow(row);
  if (index >= 0) {
    QScrollBar* v = verticalScrollBar();
    if (index < v->value()) {
      v->setValue(index);
    } else {
      // Lowest top row that still shows the row whole.
      const int height = viewport()->height() - FixedHeight();
      int top = index, used = grid_.RowHeights(row) + grid_.GridLineWidth;
      while (top > 0) {
        const int h = grid_.RowHeights(DataRowAt(top - 1)) + grid_.GridLineWidth;
        if (used + h > height) break;
        used += h;
        --top;
      }
      if (v->value() < top) v->setValue(std::min(top, v->maximum()));
    }
  }
  if (col >= 0 && col < grid_.ColCount()) {
    QScrollBar* h = horizontalScrollBar();
    const int left = ColLeft(col), right = left + grid_.ColWidths(col);
    if (left < h->value()) h->setValue(left);
    else if (right > h->value() + viewport()->width()) h->setValue(std::min(left, right - viewport()->width()));
  }
}

// ---- Painting -------------------------------------------------------------------------------------------

void TVLStrGridWidget::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QPalette& pal = palette();
  const QRect area = viewport()->rect();
  painter.fillRect(area, pal.color(QPalette::Base));
  const bool rangeMode = grid_.Options.Contains(host::goRangeSelect);
  const grid::TGridRect sel = grid_.Selection();
  const int scrollX = horizontalScrollBar()->value();
  QtGridCanvas canvas(painter, grid_, pal);
  const QColor lines = pal.color(QPalette::Mid);

  auto paintRow = [&](int row, int y, int height) {
    int x = -scrollX;
    for (int k = 0; k < grid_.ColCount(); ++k) {
      const int w = grid_.ColWidths(k);
      if (x + w >= 0 && x < area.width()) {
        const QRect cell(x, y, w, height);
        const bool fixed = row < grid_.FixedRows();
        const bool selected = !fixed && rangeMode && k >= sel.left && k <= sel.right && row >= sel.top && row <= sel.bottom;
        const bool current = !fixed && k == grid_.Col() && row == grid_.Row();
        if (selected || (current && hasFocus() && !Editing()))
          painter.fillRect(cell, pal.color(QPalette::Highlight));
        canvas.Begin(k, selected || (current && hasFocus() && !Editing()), rangeMode && !fixed);
        const grid::TRect r{cell.left(), cell.top(), cell.left() + w, cell.top() + height};
        grid_.DrawCell(canvas, k, row, r);
        if (fixed && OnPaintFixedCell) OnPaintFixedCell(painter, k, row, cell);
        if (current && !hasFocus()) {
          painter.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DotLine));
          painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
      }
      x += w;
      painter.setPen(lines);
      painter.drawLine(x, y, x, y + height);
      x += grid_.GridLineWidth;
    }
    painter.setPen(lines);
    painter.drawLine(-scrollX, y + height, x, y + height);
  };

  int y = 0;
  for (int r = 0; r < std::min(grid_.FixedRows(), grid_.RowCount()); ++r) {
    const int h = grid_.RowHeights(r);
    paintRow(r, y, h);
    y += h + grid_.GridLineWidth;
  }
  for (int i = verticalScrollBar()->value(); i < VisibleDataRows() && y < area.height(); ++i) {
    const int r = DataRowAt(i);
    const int h = grid_.RowHeights(r);
    painter.save();
    painter.setClipRect(QRect(0, y, area.width(), area.height() - y));
    paintRow(r, y, h);
    painter.restore();
    y += h + grid_.GridLineWidth;
  }
  grid_.InvalidatedCells.clear();
}

void TVLStrGridWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  if (Editing()) PlaceEditor();
}

void TVLStrGridWidget::scrollContentsBy(int, int) {
  if (Editing()) PlaceEditor();
  viewport()->update();
}

void TVLStrGridWidget::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 40;  // three rows a notch
  if (steps != 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - steps);
  else QAbstractScrollArea::wheelEvent(event);
  event->accept();
}

// ---- Texts ------------------------------------------------------------------------------------------------

QString TVLStrGridWidget::DisplayText(int col, int row) const {
  const std::string& text = grid_.Cells(col, row);
  return col > 0 ? FromCharset(text, grid_.CharsetCode(col)) : FromAnsi(text);
}

std::string TVLStrGridWidget::StoredText(int col, const QString& text, bool* lossy) const {
  QString t = text;
  // The table keeps line breaks as CR LF, as the form files do.
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return col > 0 ? ToCharset(t, grid_.CharsetCode(col), lossy) : ToAnsi(t, lossy);
}

QFont TVLStrGridWidget::CellFont(int col) const {
  ports::FontSpec fontSpec = grid_.GridFont;
  if (col > 0 && grid_.RowCount() > 1) {
    const std::string& fontCell = grid_.Cells(col, 1);
    const auto comma = fontCell.find(',');
    if (comma != std::string::npos) fontSpec.name = fontCell.substr(0, comma);
    fontSpec.charset = grid_.CharsetCode(col);
  }
  return QtFont(fontSpec);
}

// ---- In-place editing ------------------------------------------------------------------------------------

void TVLStrGridWidget::PlaceEditor() {
  const QRect r = CellRect(editCol_, editRow_);
  if (r.isEmpty()) {
    editor_->hide();
    return;
  }
  // A cell with several lines gets room for them all while it is edited.
  const QFontMetrics fm(editor_->font());
  const int lines = std::max(1, editor_->blockCount());
  const int height = std::max(r.height(), lines * fm.lineSpacing() + 6);
  editor_->setGeometry(r.x(), r.y(), std::max(r.width(), 40), height);
  editor_->show();
}

bool TVLStrGridWidget::StartEditing(std::optional<QString> typed) {
  if (!grid_.Options.Contains(host::goEditing)) return false;
  const int col = grid_.Col(), row = grid_.Row();
  if (row < grid_.FixedRows() || row >= grid_.RowCount() || col < 0 || col >= grid_.ColCount()) return false;
  ScrollToCell(col, row);
  editCol_ = col;
  editRow_ = row;
  editBefore_ = grid_.Cells(col, row);
  editor_->setFont(CellFont(col));
  QString text = typed ? *typed : DisplayText(col, row);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  editor_->setPlainText(text);
  QTextCursor cursor = editor_->textCursor();
  cursor.movePosition(QTextCursor::End);
  editor_->setTextCursor(cursor);
  PlaceEditor();
  editor_->setFocus(Qt::OtherFocusReason);
  return true;
}

void TVLStrGridWidget::CommitEdit() {
  if (!Editing()) return;
  const int col = editCol_, row = editRow_;
  bool lossy = false;
  const std::string value = StoredText(col, editor_->toPlainText(), &lossy);
  editor_->hide();
  editCol_ = editRow_ = -1;
  setFocus(Qt::OtherFocusReason);
  if (col >= grid_.ColCount() || row >= grid_.RowCount()) return;
  const std::string before = editBefore_;
  if (value != before) {
    grid_.SetEditText(col, row, value);
    if (OnCellEdited) OnCellEdited(col, row, before);
    if (lossy && OnNotice)
      OnNotice(tr("Characters that the column's character set cannot hold were stored as \"?\"."));
  }
  TableChanged();
}

void TVLStrGridWidget::CancelEdit() {
  if (!editor_->isVisible()) return;
  editor_->hide();
  editCol_ = editRow_ = -1;
  setFocus(Qt::OtherFocusReason);
  viewport()->update();
}

// ---- Moving the current cell --------------------------------------------------------------------------------

bool TVLStrGridWidget::MoveTo(int col, int row) {
  col = std::clamp(col, 0, grid_.ColCount() - 1);
  row = std::clamp(row, grid_.FixedRows(), grid_.RowCount() - 1);
  if (col == grid_.Col() && row == grid_.Row()) return true;
  if (Editing()) CommitEdit();
  if (OnSelectCell && !OnSelectCell(col, row)) {
    viewport()->update();
    return false;
  }
  grid_.SetCurrent(col, row);
  anchorCol_ = endCol_ = col;
  anchorRow_ = endRow_ = row;
  ScrollToCell(col, row);
  viewport()->update();
  return true;
}

void TVLStrGridWidget::ExtendSelection(int col, int row) {
  // A range starts at the current cell unless one is being drawn already; the logic moves the
  // current cell and collapses the selection on its own (commands, mode switches).
  const grid::TGridRect s = grid_.Selection();
  const bool drawing = (s.left != s.right || s.top != s.bottom) &&
                       s == grid::TGridRect{std::min(anchorCol_, endCol_), std::min(anchorRow_, endRow_),
                                            std::max(anchorCol_, endCol_), std::max(anchorRow_, endRow_)};
  if (!drawing) {
    anchorCol_ = endCol_ = grid_.Col();
    anchorRow_ = endRow_ = grid_.Row();
  }
  col = std::clamp(col, 0, grid_.ColCount() - 1);
  row = std::clamp(row, grid_.FixedRows(), grid_.RowCount() - 1);
  endCol_ = col;
  endRow_ = row;
  grid_.SetSelection({anchorCol_, anchorRow_, endCol_, endRow_});
  ScrollToCell(col, row);
  viewport()->update();
}

void TVLStrGridWidget::Navigate(int key, Qt::KeyboardModifiers modifiers) {
  const bool extend = grid_.Options.Contains(host::goRangeSelect) && (modifiers & Qt::ShiftModifier);
  const grid::TGridRect s = grid_.Selection();
  const bool single = s.left == s.right && s.top == s.bottom;
  const int fromCol = extend && !single ? endCol_ : grid_.Col();
  const int fromRow = extend && !single ? endRow_ : grid_.Row();
  int col = fromCol;
  int index = LowerBoundIndex(fromRow);
  const int count = VisibleDataRows();
  if (count == 0) return;
  const int page = std::max(1, verticalScrollBar()->pageStep());
  switch (key) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Up: --index; break;
    case Qt::Key_Down: ++index; break;
    case Qt::Key_PageUp: index -= page; break;
    case Qt::Key_PageDown: index += page; break;
    case Qt::Key_Home:
      if (modifiers & Qt::ControlModifier) index = 0;
      else col = 0;
      break;
    case Qt::Key_End:
      if (modifiers & Qt::ControlModifier) index = count - 1;
      else col = grid_.ColCount() - 1;
      break;
    default: return;
  }
  index = std::clamp(index, 0, count - 1);
  const int row = DataRowAt(index);
  if (extend) ExtendSelection(col, row);
  else MoveTo(col, row);
}

bool TVLStrGridWidget::focusNextPrevChild(bool next) {
  // Tab moves between cells, as the grid's tab option has it.
  if (!grid_.Options.Contains(host::goTabs)) return QAbstractScrollArea::focusNextPrevChild(next);
  int col = grid_.Col() + (next ? 1 : -1), index = LowerBoundIndex(grid_.Row());
  if (col >= grid_.ColCount()) {
    col = 0;
    ++index;
  } else if (col < 0) {
    col = grid_.ColCount() - 1;
    --index;
  }
  if (index >= 0 && index < VisibleDataRows()) MoveTo(col, DataRowAt(index));
  return true;
}

// ---- Keys ----------------------------------------------------------------------------------------------------

void TVLStrGridWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (const int vk = VirtualKey(key)) {
    if (OnKeyDown) OnKeyDown(vk, ShiftState(event->modifiers()));
    Navigate(key, event->modifiers());
    event->accept();
    return;
  }
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    focusNextPrevChild(key == Qt::Key_Tab);
    event->accept();
    return;
  }
  if (key == Qt::Key_F2 || key == Qt::Key_Return || key == Qt::Key_Enter) {
    StartEditing();
    event->accept();
    return;
  }
  const QString text = event->text();
  if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    if (StartEditing(text)) {
      event->accept();
      return;
    }
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void TVLStrGridWidget::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  const int vk = VirtualKey(event->key());
  const unsigned shift = ShiftState(event->modifiers());
  if (OnKeyUp) {
    OnKeyUp(vk, shift);
    TableChanged();
    ScrollToCell(grid_.Col(), grid_.Row());
  }
  event->accept();
}

// ---- Mouse -----------------------------------------------------------------------------------------------------

int TVLStrGridWidget::ColumnBorderAt(int x, int y) const {
  if (y < 0 || y >= FixedHeight() || !grid_.Options.Contains(host::goColSizing)) return -1;
  const int cx = x + horizontalScrollBar()->value();
  int right = 0;
  for (int k = 0; k < grid_.ColCount(); ++k) {
    right += grid_.ColWidths(k);
    if (std::abs(cx - right) <= kBorderGrip) return k;
    right += grid_.GridLineWidth;
  }
  return -1;
}

void TVLStrGridWidget::mousePressEvent(QMouseEvent* event) {
  if (Editing()) CommitEdit();
  setFocus(Qt::MouseFocusReason);
  const QPoint p = event->position().toPoint();
  if (event->button() != Qt::LeftButton) return;
  const unsigned shift = ShiftState(event->modifiers()) | vle::ssLeft;
  if (OnMouseDown) OnMouseDown(p.x(), p.y(), shift);

  if (const int border = ColumnBorderAt(p.x(), p.y()); border >= 0) {
    sizingCol_ = border;
    return;
  }
  const auto [col, row] = CellAt(p.x(), p.y());
  if (col < 0) return;
  if (row == 0 && grid_.Options.Contains(host::goColMoving)) {
    pressCol_ = col;
    pressX_ = p.x();
    return;
  }
  if (row < grid_.FixedRows()) return;
  if (grid_.Options.Contains(host::goRangeSelect) && (event->modifiers() & Qt::ShiftModifier)) {
    ExtendSelection(col, row);
    selecting_ = true;
    return;
  }
  const int beforeCol = grid_.Col(), beforeRow = grid_.Row();
  if (!MoveTo(col, row)) {
    // Refused: a Shift+click switched to range selection; the range runs from the cell that was
    // current to the one clicked, as the click repeated with Shift would make it.
    if (grid_.Options.Contains(host::goRangeSelect)) {
      grid_.SetCurrent(beforeCol, beforeRow);
      ExtendSelection(col, row);
      selecting_ = true;
    }
    return;
  }
  selecting_ = grid_.Options.Contains(host::goRangeSelect);
}

void TVLStrGridWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (OnMouseMove) OnMouseMove(p.x(), p.y(), ShiftState(event->modifiers()));
  if (sizingCol_ >= 0) {
    const int left = ColLeft(sizingCol_) - horizontalScrollBar()->value();
    grid_.SetColWidths(sizingCol_, std::max(kMinColWidth, p.x() - left));
    TableChanged();
    return;
  }
  if (pressCol_ >= 0) {
    if (std::abs(p.x() - pressX_) >= kDragStart) movingColumn_ = true;
    if (movingColumn_) viewport()->setCursor(Qt::ClosedHandCursor);
    return;
  }
  if (selecting_ && (event->buttons() & Qt::LeftButton)) {
    const auto [col, row] = CellAt(std::max(0, p.x()), std::clamp(p.y(), FixedHeight(), viewport()->height() - 1));
    if (col >= 0 && row >= grid_.FixedRows() && (col != endCol_ || row != endRow_)) ExtendSelection(col, row);
    return;
  }
  viewport()->setCursor(ColumnBorderAt(p.x(), p.y()) >= 0 ? Qt::SplitHCursor
                        : grid_.Options.Contains(host::goRangeSelect) ? Qt::CrossCursor
                                                                       : Qt::ArrowCursor);
}

void TVLStrGridWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const bool wasSizing = sizingCol_ >= 0;
  sizingCol_ = -1;
  selecting_ = false;
  if (pressCol_ >= 0) {
    const int from = pressCol_;
    const bool moved = movingColumn_;
    pressCol_ = -1;
    movingColumn_ = false;
    viewport()->unsetCursor();
    if (moved) {
      const auto [to, row] = CellAt(std::clamp(p.x(), 0, viewport()->width() - 1), 0);
      (void)row;
      if (to >= 0 && to != from) {
        if (OnMoveColumn) OnMoveColumn(from, to);
        else grid_.MoveColumn(from, to);
        TableChanged();
      }
    }
  }
  if (event->button() == Qt::LeftButton && OnMouseUp && !wasSizing)
    OnMouseUp(p.x(), p.y(), ShiftState(event->modifiers()));
  viewport()->update();
}

void TVLStrGridWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const auto [col, row] = CellAt(p.x(), p.y());
  if (col < 0 || row < grid_.FixedRows()) return;
  if (col == 0) {
    if (OnKeyDblClick) OnKeyDblClick();
    viewport()->update();
    return;
  }
  StartEditing();
}

}  // namespace vorlect::ui
