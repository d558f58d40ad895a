#include "grid/VLStGrid.h"

#include "host/framework/TypInfo.h"

#include <algorithm>
#include <map>

namespace vorlect::grid {

namespace {

constexpr int kUnset = -1;  // a row height or column width that follows the grid's default

bool IsContinuationKey(const std::string& key) { return !key.empty() && key[0] == '"'; }
bool IsStringKey(const std::string& key) { return !key.empty() && key[0] == '@'; }

// The green tick of a translated block and the red cross of a hidden one.
constexpr const char* kOkPixels[TVLStrGrid::kFlagHeight] = {
    "..............GK", ".............GGK", "............GGK.", "...........GGK..",
    "..GK......GGK...", ".GGGK....GGK....", "..GGGK..GGK.....", "...GGGKGGK......",
    "....GGGGK.......", ".....GGK........", "......K.........",
};
constexpr const char* kNoPixels[TVLStrGrid::kFlagHeight] = {
    ".RRK.......RRK..", "..RRK.....RRK...", "...RRK...RRK....", "....RRK.RRK.....",
    ".....RRRRK......", "......RRK.......", ".....RRRRK......", "....RRK.RRK.....",
    "...RRK...RRK....", "..RRK.....RRK...", ".RRK.......RRK..",
};

}  // namespace

TVLStrGrid::TVLStrGrid(host::TComponent* owner) : host::TStringGrid(owner) {
  HideThese = nullptr;
  rowHeights_.assign(static_cast<size_t>(RowCount()), kUnset);
  colWidths_.assign(static_cast<size_t>(ColCount()), kUnset);
}

std::uint8_t TVLStrGrid::CharsetCode(int col) const {
  return col >= 0 && col < static_cast<int>(charsetCodes_.size()) ? charsetCodes_[static_cast<size_t>(col)] : 0;
}

void TVLStrGrid::SetCharsetCode(int col, std::uint8_t code) {
  if (col >= 0 && col < static_cast<int>(charsetCodes_.size())) charsetCodes_[static_cast<size_t>(col)] = code;
}

// ---- current cell and selection -----------------------------------------------------------------

void TVLStrGrid::SetCol(int col) { SetCurrent(col, row_); }
void TVLStrGrid::SetRow(int row) { SetCurrent(col_, row); }

void TVLStrGrid::SetCurrent(int col, int row) {
  col_ = std::clamp(col, 0, ColCount() - 1);
  row_ = std::clamp(row, 0, RowCount() - 1);
  selection_ = {col_, row_, col_, row_};
}

void TVLStrGrid::SetSelection(const TGridRect& r) {
  const int maxCol = ColCount() - 1, maxRow = RowCount() - 1;
  TGridRect s{std::clamp(std::min(r.left, r.right), 0, maxCol), std::clamp(std::min(r.top, r.bottom), 0, maxRow),
              std::clamp(std::max(r.left, r.right), 0, maxCol), std::clamp(std::max(r.top, r.bottom), 0, maxRow)};
  selection_ = s;
  col_ = s.right;
  row_ = s.bottom;
}

// ---- sizes --------------------------------------------------------------------------------------

int TVLStrGrid::RowHeights(int row) const {
  if (row < 0 || row >= static_cast<int>(rowHeights_.size())) return DefaultRowHeight;
  const int h = rowHeights_[static_cast<size_t>(row)];
  return h == kUnset ? DefaultRowHeight : h;
}

void TVLStrGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= static_cast<int>(rowHeights_.size())) return;
  rowHeights_[static_cast<size_t>(row)] = std::max(0, height);
}

int TVLStrGrid::ColWidths(int col) const {
  if (col < 0 || col >= static_cast<int>(colWidths_.size())) return DefaultColWidth;
  const int w = colWidths_[static_cast<size_t>(col)];
  return w == kUnset ? DefaultColWidth : w;
}

void TVLStrGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= static_cast<int>(colWidths_.size())) return;
  colWidths_[static_cast<size_t>(col)] = std::max(0, width);
}

void TVLStrGrid::ClampCurrent() {
  const int maxCol = ColCount() - 1, maxRow = RowCount() - 1;
  col_ = std::min(col_, maxCol);
  row_ = std::min(row_, maxRow);
  selection_ = {std::min(selection_.left, maxCol), std::min(selection_.top, maxRow),
                std::min(selection_.right, maxCol), std::min(selection_.bottom, maxRow)};
}

// Shrinking or growing keeps the current cell and the selection inside the grid. Character-set
// codes stay with their column index, as the editor sets them for every column it adds.
// Growing has no cells to drop; skipping the string grid's sweep over every cell keeps appending
// rows and columns one at a time linear.
void TVLStrGrid::SetColCount(int v) {
  if (v >= ColCount()) host::TCustomGrid::SetColCount(v);
  else host::TStringGrid::SetColCount(v);
  colWidths_.resize(static_cast<size_t>(ColCount()), kUnset);
  ClampCurrent();
}

void TVLStrGrid::SetRowCount(int v) {
  if (v >= RowCount()) host::TCustomGrid::SetRowCount(v);
  else host::TStringGrid::SetRowCount(v);
  rowHeights_.resize(static_cast<size_t>(RowCount()), kUnset);
  ClampCurrent();
}

// ---- moving columns and rows --------------------------------------------------------------------

namespace {

// Where index `i` ends up when the item at `from` moves to `to`.
int MovedIndex(int i, int from, int to) {
  if (i == from) return to;
  if (from < to && i > from && i <= to) return i - 1;
  if (from > to && i >= to && i < from) return i + 1;
  return i;
}

}  // namespace

void TVLStrGrid::MoveColumn(int from, int to) {
  const int cols = ColCount();
  if (from < 0 || to < 0 || from >= cols || to >= cols || from == to) return;
  const int rows = RowCount();
  std::vector<std::string> column(static_cast<size_t>(rows));
  // Rotate the cells column by column through the span from..to.
  for (int r = 0; r < rows; ++r) column[static_cast<size_t>(r)] = Cells(from, r);
  const int step = from < to ? 1 : -1;
  for (int k = from; k != to; k += step)
    for (int r = 0; r < rows; ++r) SetCells(k, r, Cells(k + step, r));
  for (int r = 0; r < rows; ++r) SetCells(to, r, column[static_cast<size_t>(r)]);

  auto rotate = [&](auto& v) {
    if (from < to) std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
  };
  rotate(colWidths_);
  rotate(charsetCodes_);

  col_ = MovedIndex(col_, from, to);
  selection_.left = MovedIndex(selection_.left, from, to);
  selection_.right = MovedIndex(selection_.right, from, to);
  if (selection_.left > selection_.right) std::swap(selection_.left, selection_.right);
  if (OnColumnMovedEvent) OnColumnMovedEvent(from, to);
}

void TVLStrGrid::InsertRow(int row) {
  row = std::clamp(row, 0, RowCount());
  SetRowCount(RowCount() + 1);
  const int cols = ColCount();
  for (int r = RowCount() - 1; r > row; --r)
    for (int k = 0; k < cols; ++k) SetCells(k, r, Cells(k, r - 1));
  for (int k = 0; k < cols; ++k) SetCells(k, row, std::string());
  rowHeights_.pop_back();
  rowHeights_.insert(rowHeights_.begin() + row, kUnset);
}

void TVLStrGrid::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  const int cols = ColCount();
  for (int r = row; r + 1 < RowCount(); ++r)
    for (int k = 0; k < cols; ++k) SetCells(k, r, Cells(k, r + 1));
  // The host grid keeps at least one row: the last one is emptied instead.
  if (RowCount() == 1) {
    for (int k = 0; k < cols; ++k) SetCells(k, 0, std::string());
    return;
  }
  rowHeights_.erase(rowHeights_.begin() + row);
  rowHeights_.push_back(kUnset);
  SetRowCount(RowCount() - 1);
}

// ---- flags, heights, drawing --------------------------------------------------------------------

int TVLStrGrid::BlockKeyRow(int row) const {
  if (row < 0 || row >= RowCount()) return -1;
  // The fixed rows hold titles and font cells: a search reaching them found no block.
  const int firstData = std::max(1, FixedRows());
  for (int r = row; r >= firstData; --r) {
    const std::string& key = Cells(0, r);
    if (key.empty() || IsContinuationKey(key)) continue;
    return IsStringKey(key) ? -1 : r;
  }
  return -1;
}

void TVLStrGrid::Toggle() {
  if (!HideThese) return;
  const int r = BlockKeyRow(row_);
  if (r < 0) return;
  const std::string key = Cells(0, r);
  const int index = HideThese->IndexOf(key);
  if (index >= 0) HideThese->Delete(index);
  else HideThese->Add(key);
  InvalidatedCells.emplace_back(0, r);
}

void TVLStrGrid::DblClick() {
  if (col_ == 0 && row_ != 0) {
    Toggle();
    return;
  }
  OnDblClick(this);
}

int TVLStrGrid::TextHeight(const std::string& text) const { return ports::TextHeight(text, GridFont); }

void TVLStrGrid::CalcAllRowHeights() {
  const int cols = ColCount();
  // The text measuring gives every text of one line the same height (lines times the font's
  // height), so a long table asks once for an empty cell and once for a one-line one and measures
  // only the cells with line breaks.
  int empty = -1, oneLine = -1;
  for (int r = 1; r < RowCount(); ++r) {
    int h = DefaultRowHeight - 4;
    for (int k = 0; k < cols; ++k) {
      const std::string& text = Cells(k, r);
      int t;
      if (text.empty()) t = empty >= 0 ? empty : (empty = TextHeight(text));
      else if (text.find_first_of("\r\n") == std::string::npos) t = oneLine >= 0 ? oneLine : (oneLine = TextHeight(text));
      else t = TextHeight(text);
      h = std::max(h, t);
    }
    SetRowHeights(r, h + 4);
  }
}

void TVLStrGrid::SetEditText(int col, int row, const std::string& value) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
  const int oldHeight = TextHeight(Cells(col, row));
  SetCells(col, row, value);
  OnSetEditText(this);
  if (OnSetEditTextEvent) OnSetEditTextEvent(col, row, value);

  const int newHeight = value.empty() ? DefaultRowHeight : TextHeight(value) + 4;
  if (RowHeights(row) < newHeight) {
    SetRowHeights(row, newHeight);
  } else if (newHeight < oldHeight) {
    // The row may have been this tall for the old text only: fit it to the tallest language cell.
    int m = 0;
    for (int k = 1; k < ColCount(); ++k) m = std::max(m, TextHeight(Cells(k, row)));
    m += 4;
    if (m < RowHeights(row)) SetRowHeights(row, m);
  }
}

void TVLStrGrid::DrawCell(TGridCanvas& canvas, int col, int row, const TRect& rect) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
  if (row < FixedRows()) {
    canvas.DrawFixedCell(col, row, Cells(col, row), rect);
    if (OnDrawFixedCell) OnDrawFixedCell(canvas, col, row, rect);
    return;
  }
  TRect r = rect;
  if (col > 0) {
    // Each language column is drawn in its own font and character set.
    if (RowCount() > 1) {
      const std::string& fontCell = Cells(col, 1);
      const auto comma = fontCell.find(',');
      if (comma != std::string::npos) canvas.SetFont(fontCell.substr(0, comma), CharsetCode(col));
    }
  } else {
    const std::string& key = Cells(0, row);
    if (!key.empty() && !IsContinuationKey(key) && !IsStringKey(key) && HideThese) {
      const TFlag flag = HideThese->IndexOf(key) >= 0 ? TFlag::No : TFlag::Ok;
      canvas.DrawFlag(flag, r.left + 4, r.top + (RowHeights(row) - kFlagHeight) / 2);
    }
    // Keys line up whether or not they carry a flag.
    r.left += kFlagWidth + 8;
  }
  canvas.DrawText(Cells(col, row), r);
}

const char* const* FlagPixels(TFlag flag) { return flag == TFlag::Ok ? kOkPixels : kNoPixels; }

// ---- type information ---------------------------------------------------------------------------

const host::ClassInfo& TVLStrGrid::StaticClass() {
  // HideThese points at somebody else's list: it is shown but never written to a form file.
  static const host::ClassInfo info = host::ClassBuilder<TVLStrGrid>("TVLStrGrid")
                                          .Object("HideThese", &TVLStrGrid::HideThese)
                                          .NotStored()
                                          .Build();
  return info;
}

void RegisterVLStrGrid() { host::RegisterClass(TVLStrGrid::StaticClass()); }

}  // namespace vorlect::grid
