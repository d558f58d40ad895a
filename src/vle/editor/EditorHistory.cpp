#include "vle/editor/EditorHistory.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/VLBase.h"

namespace vorlect::vle {

namespace {

using TCodes = std::array<std::uint8_t, 256>;
using TLines = std::vector<std::string>;

TCodes CharsetCodes(const grid::TVLStrGrid& g) {
  TCodes codes{};
  for (int k = 0; k < static_cast<int>(codes.size()); ++k) codes[static_cast<size_t>(k)] = g.CharsetCode(k);
  return codes;
}

std::vector<int> ColWidths(const grid::TVLStrGrid& g) {
  std::vector<int> widths;
  for (int k = 0; k < g.ColCount(); ++k) widths.push_back(g.ColWidths(k));
  return widths;
}

TLines LinesOf(const host::TStrings& list) {
  TLines lines;
  lines.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

void SwapLines(host::TStrings& list, TLines& other) {
  TLines current = LinesOf(list);
  list.BeginUpdate();
  list.Clear();
  for (const std::string& line : other) list.Add(line);
  list.EndUpdate();
  other = std::move(current);
}

// A text's share of memory: the string itself and, beyond the short-string buffer, its characters.
size_t TextBytes(const std::string& s) { return sizeof(std::string) + (s.size() > 15 ? s.size() + 1 : 0); }

size_t LinesBytes(const TLines& lines) {
  size_t n = sizeof(TLines);
  for (const std::string& s : lines) n += TextBytes(s);
  return n;
}

}  // namespace

// The table as it was before a command, its texts end to end in one buffer: one allocation instead
// of one per cell keeps taking and dropping it cheap on tables of tens of thousands of rows.
struct TEditorHistory::TSnapshot {
  std::string texts;
  std::vector<size_t> ends;  // where each cell's text ends, row by row
  int rows = 0, cols = 0;
  TCell cursor;
  TCodes codes{};
  std::vector<int> widths;
  TLines doNot, positions;
  bool locked = false;

  void Take(const grid::TVLStrGrid& g) {
    rows = g.RowCount();
    cols = g.ColCount();
    ends.reserve(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (int r = 0; r < rows; ++r)
      for (int k = 0; k < cols; ++k) {
        texts += g.Cells(k, r);
        ends.push_back(texts.size());
      }
  }
  std::string_view Cell(int col, int row) const {
    const size_t i = static_cast<size_t>(row) * static_cast<size_t>(cols) + static_cast<size_t>(col);
    const size_t begin = i == 0 ? 0 : ends[i - 1];
    return std::string_view(texts).substr(begin, ends[i] - begin);
  }
  TRow Row(int row) const {
    TRow r;
    r.reserve(static_cast<size_t>(cols));
    for (int k = 0; k < cols; ++k) r.emplace_back(Cell(k, row));
    return r;
  }
};

// One change, holding the side of it the grid is not on: the state before it while it waits on the
// undo list, the state after it on the redo list. Applying it swaps that side with the grid's.
struct TEditorHistory::TStep {
  struct TCellText {
    int col, row;
    std::string text;
  };

  std::string label;
  TCell cursorBefore, cursorAfter;
  int colsBefore = 0, colsAfter = 0;
  // The table kept its shape: the cells that changed.
  std::vector<TCellText> cells;
  // Otherwise the rows from `first` on that differ: `count` of them in the grid, `rows` on the
  // other side. A change of the column count makes every row differ.
  bool run = false;
  int first = 0, count = 0;
  TRows rows;
  std::optional<TCodes> codes;
  std::optional<std::vector<int>> widths;
  std::optional<TLines> doNot, positions;
  std::optional<bool> locked;
  bool typing = false;  // one cell's in-place edits
  size_t bytes = 0;

  size_t Bytes() const {
    size_t n = sizeof(TStep) + TextBytes(label);
    for (const TCellText& c : cells) n += sizeof(TCellText) - sizeof(std::string) + TextBytes(c.text);
    for (const TRow& row : rows) {
      n += sizeof(TRow);
      for (const std::string& s : row) n += TextBytes(s);
    }
    if (codes) n += sizeof(TCodes);
    if (widths) n += widths->size() * sizeof(int);
    if (doNot) n += LinesBytes(*doNot);
    if (positions) n += LinesBytes(*positions);
    return n;
  }
};

TEditorHistory::TEditorHistory(std::size_t maxBytes) : maxBytes_(maxBytes) {}
TEditorHistory::~TEditorHistory() = default;

std::string TEditorHistory::UndoLabel() const { return undo_.empty() ? std::string() : undo_.back()->label; }
std::string TEditorHistory::RedoLabel() const { return redo_.empty() ? std::string() : redo_.back()->label; }

void TEditorHistory::Changed() {
  if (OnChange) OnChange();
}

void TEditorHistory::Clear() {
  const bool had = !undo_.empty() || !redo_.empty();
  undo_.clear();
  redo_.clear();
  bytes_ = 0;
  typing_ = false;
  if (had) Changed();
}

// ---- Recording ----------------------------------------------------------------------------------------

void TEditorHistory::Run(TFEditVorlect& editor, std::string label, const std::function<void()>& command) {
  if (running_) {
    command();
    return;
  }
  typing_ = false;
  const grid::TVLStrGrid& g = editor.Grid();
  runtime::TBaseVorlect& v = editor.Component();
  TSnapshot before;
  before.Take(g);
  before.cursor = {g.Col(), g.Row()};
  before.codes = CharsetCodes(g);
  before.widths = ColWidths(g);
  before.doNot = LinesOf(*v.DoNot());
  before.positions = LinesOf(*v.Positions());
  before.locked = v.PositionsLocked;

  running_ = true;
  try {
    command();
  } catch (...) {
    running_ = false;
    Record(editor, std::move(label), before);
    throw;
  }
  running_ = false;
  Record(editor, std::move(label), before);
}

void TEditorHistory::Record(TFEditVorlect& editor, std::string label, TSnapshot& before) {
  const grid::TVLStrGrid& g = editor.Grid();
  runtime::TBaseVorlect& v = editor.Component();
  auto step = std::make_unique<TStep>();
  const int cols = g.ColCount(), rows = g.RowCount();
  const int oldRows = before.rows;

  if (oldRows == rows && before.cols == cols) {
    for (int r = 0; r < rows; ++r)
      for (int k = 0; k < cols; ++k) {
        const std::string_view old = before.Cell(k, r);
        if (old != g.Cells(k, r)) step->cells.push_back({k, r, std::string(old)});
      }
  } else {
    auto same = [&](int oldRow, int row) {
      if (before.cols != cols) return false;
      for (int k = 0; k < cols; ++k)
        if (before.Cell(k, oldRow) != g.Cells(k, row)) return false;
      return true;
    };
    const int shorter = std::min(oldRows, rows);
    int top = 0;
    while (top < shorter && same(top, top)) ++top;
    int bottom = 0;
    while (bottom < shorter - top && same(oldRows - 1 - bottom, rows - 1 - bottom)) ++bottom;
    step->run = true;
    step->first = top;
    step->count = rows - bottom - top;
    step->rows.reserve(static_cast<size_t>(oldRows - bottom - top));
    for (int r = top; r < oldRows - bottom; ++r) step->rows.push_back(before.Row(r));
  }
  if (CharsetCodes(g) != before.codes) step->codes = before.codes;
  if (LinesOf(*v.DoNot()) != before.doNot) step->doNot = std::move(before.doNot);
  if (LinesOf(*v.Positions()) != before.positions) step->positions = std::move(before.positions);
  if (step->cells.empty() && !step->run && !step->codes && !step->doNot && !step->positions) return;

  // What rides along with a change but is none by itself.
  if (ColWidths(g) != before.widths) step->widths = std::move(before.widths);
  if (v.PositionsLocked != before.locked) step->locked = before.locked;
  step->label = std::move(label);
  step->cursorBefore = before.cursor;
  step->cursorAfter = {g.Col(), g.Row()};
  step->colsBefore = before.cols;
  step->colsAfter = cols;
  Push(std::move(step));
}

void TEditorHistory::CellEdited(TFEditVorlect& editor, int col, int row, const std::string& before) {
  if (running_) return;  // the command's step has it
  const grid::TVLStrGrid& g = editor.Grid();
  if (col < 0 || row < 0 || col >= g.ColCount() || row >= g.RowCount()) return;
  const std::string& now = g.Cells(col, row);
  if (typing_ && !undo_.empty()) {
    TStep& top = *undo_.back();
    if (top.typing && top.cells.front().col == col && top.cells.front().row == row) {
      const TStep::TCellText& cell = top.cells.front();
      // The step keeps the text from before the first edit; back at that text, it has nothing left to undo.
      if (cell.text == now) {
        bytes_ -= top.bytes;
        undo_.pop_back();
        typing_ = false;
        Changed();
      }
      return;
    }
  }
  if (now == before) return;
  auto step = std::make_unique<TStep>();
  step->label = kCellEditLabel;
  step->typing = true;
  step->cells.push_back({col, row, before});
  step->cursorBefore = step->cursorAfter = {col, row};
  step->colsBefore = step->colsAfter = g.ColCount();
  Push(std::move(step));
  typing_ = true;
}

void TEditorHistory::SetEditText(TFEditVorlect& editor, int col, int row, const std::string& value) {
  grid::TVLStrGrid& g = editor.Grid();
  if (col < 0 || row < 0 || col >= g.ColCount() || row >= g.RowCount()) return;
  const std::string before = g.Cells(col, row);
  g.SetEditText(col, row, value);
  CellEdited(editor, col, row, before);
}

void TEditorHistory::Push(std::unique_ptr<TStep> step) {
  typing_ = false;
  for (const auto& s : redo_) bytes_ -= s->bytes;
  redo_.clear();
  step->bytes = step->Bytes();
  bytes_ += step->bytes;
  undo_.push_back(std::move(step));
  Trim();
  Changed();
}

// The oldest undo steps go first, then the redo steps farthest ahead; the last step stays.
void TEditorHistory::Trim() {
  while (bytes_ > maxBytes_) {
    std::deque<std::unique_ptr<TStep>>* list = nullptr;
    if (undo_.size() > 1 || (!undo_.empty() && !redo_.empty())) list = &undo_;
    else if (redo_.size() > 1) list = &redo_;
    else break;
    bytes_ -= list->front()->bytes;
    list->pop_front();
  }
  if (undo_.empty()) typing_ = false;
}

// ---- Undo and redo ------------------------------------------------------------------------------------

namespace {

// Replaces `count` rows of the grid from `first` on by `other` (rows of `cols` cells, the grid's new
// column count) and leaves the replaced rows in `other`. The rows below move with their heights;
// the replaced rows get theirs measured.
void SwapRows(grid::TVLStrGrid& g, int first, int& count, TRows& other, int cols) {
  const int rows = g.RowCount(), oldCols = g.ColCount();
  // Rows added or removed at the end since the step was recorded (the arrow keys keep one empty
  // row there) must not take the swap outside the grid.
  first = std::clamp(first, 0, rows);
  count = std::clamp(count, 0, rows - first);
  const int otherCount = static_cast<int>(other.size());
  const int tail = rows - first - count;
  const int newFirstTail = first + otherCount;

  TRows taken(static_cast<size_t>(count), TRow(static_cast<size_t>(oldCols)));
  for (int i = 0; i < count; ++i)
    for (int k = 0; k < oldCols; ++k) taken[static_cast<size_t>(i)][static_cast<size_t>(k)] = g.Cells(k, first + i);
  std::vector<int> tailHeights;
  if (otherCount != count) {
    tailHeights.reserve(static_cast<size_t>(tail));
    for (int i = 0; i < tail; ++i) tailHeights.push_back(g.RowHeights(first + count + i));
  }

  // A change of the column count covers the whole table, so no row outside the swap has a width.
  if (cols > oldCols) g.SetColCount(cols);
  const int keptCols = std::min(cols, oldCols);
  // Texts are copied out before they are stored: storing may move the grid's rows.
  auto moveRow = [&](int from, int to) {
    for (int k = 0; k < keptCols; ++k) {
      std::string text = g.Cells(k, from);
      g.SetCells(k, to, text);
    }
  };
  if (otherCount > count) {
    g.SetRowCount(rows - count + otherCount);
    for (int i = tail - 1; i >= 0; --i) moveRow(first + count + i, newFirstTail + i);
  } else if (otherCount < count) {
    for (int i = 0; i < tail; ++i) moveRow(first + count + i, newFirstTail + i);
    g.SetRowCount(rows - count + otherCount);
  }
  for (int i = 0; i < otherCount; ++i) {
    const TRow& row = other[static_cast<size_t>(i)];
    for (int k = 0; k < cols; ++k) g.SetCells(k, first + i, k < static_cast<int>(row.size()) ? row[static_cast<size_t>(k)] : std::string());
  }
  if (cols < oldCols) g.SetColCount(cols);

  if (otherCount != count)
    for (int i = 0; i < tail; ++i) g.SetRowHeights(newFirstTail + i, tailHeights[static_cast<size_t>(i)]);
  for (int i = 0; i < otherCount; ++i) CalcRowHeight(g, first + i);

  other = std::move(taken);
  count = otherCount;
}

}  // namespace

bool TEditorHistory::Undo(TFEditVorlect& editor) { return Step(editor, true); }
bool TEditorHistory::Redo(TFEditVorlect& editor) { return Step(editor, false); }

bool TEditorHistory::Step(TFEditVorlect& editor, bool undo) {
  auto& from = undo ? undo_ : redo_;
  auto& to = undo ? redo_ : undo_;
  if (from.empty() || running_) return false;
  typing_ = false;
  grid::TVLStrGrid& g = editor.Grid();
  runtime::TBaseVorlect& v = editor.Component();
  TStep& s = *from.back();
  if (g.ColCount() != (undo ? s.colsAfter : s.colsBefore)) {
    Clear();
    return false;
  }

  // The grid's widths as they stand, before a change of the column count drops or adds any.
  std::optional<std::vector<int>> widths;
  if (s.widths) widths = ColWidths(g);
  if (s.run) {
    SwapRows(g, s.first, s.count, s.rows, undo ? s.colsBefore : s.colsAfter);
  } else {
    std::vector<int> rows;
    for (TStep::TCellText& c : s.cells) {
      if (c.row >= g.RowCount()) g.SetRowCount(c.row + 1);
      std::string current = g.Cells(c.col, c.row);
      g.SetCells(c.col, c.row, c.text);
      c.text = std::move(current);
      if (rows.empty() || rows.back() != c.row) rows.push_back(c.row);
    }
    for (int r : rows) CalcRowHeight(g, r);
  }
  if (s.codes) {
    const TCodes current = CharsetCodes(g);
    for (int k = 0; k < static_cast<int>(s.codes->size()); ++k) g.SetCharsetCode(k, (*s.codes)[static_cast<size_t>(k)]);
    s.codes = current;
  }
  if (s.widths) {
    for (int k = 0; k < g.ColCount() && k < static_cast<int>(s.widths->size()); ++k) g.SetColWidths(k, (*s.widths)[static_cast<size_t>(k)]);
    s.widths = std::move(widths);
  }
  if (s.doNot) SwapLines(*v.DoNot(), *s.doNot);
  if (s.positions) SwapLines(*v.Positions(), *s.positions);
  if (s.locked) std::swap(*s.locked, v.PositionsLocked);

  // The cursor goes back to a single cell, where it was when the step was taken.
  if (editor.Mode() == TEditMode::SelectRange) editor.SetMode(TEditMode::Edit);
  const TCell cursor = undo ? s.cursorBefore : s.cursorAfter;
  g.SetCurrent(cursor.col, cursor.row);
  editor.Recount();

  bytes_ -= s.bytes;
  s.bytes = s.Bytes();
  bytes_ += s.bytes;
  to.push_back(std::move(from.back()));
  from.pop_back();
  Trim();
  Changed();
  return true;
}

}  // namespace vorlect::vle
