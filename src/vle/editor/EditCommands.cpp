// The editing commands of the translation editor: selection modes, clipboard, rows, languages,
// smart fill, find and replace, duplicates, sorting, the hide list, positions and CSV exchange.
#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "host/framework/Classes.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "runtime/VLBase.h"
#include "vle/editor/VLEditor.h"

namespace vorlect::vle {

using namespace vorlect::ports;
using runtime::TBaseVorlect;

namespace {

std::string Format(const char* format, int a, int b = 0) {
  char buf[512];
  std::snprintf(buf, sizeof buf, format, a, b);
  return buf;
}

std::string FindLower(std::string_view s) {
  std::string lower = KeyLower(s);
  return lower.size() == s.size() ? lower : AsciiLower(s);
}

size_t MatchPosition(const std::string& cell, const TFindOptions& o) {
  size_t p = cell.find(o.text);
  if (p == std::string::npos && !o.matchCase) p = FindLower(cell).find(FindLower(o.text));
  return p;
}

}  // namespace

// ---- Selection modes, keys and mouse -----------------------------------------------------------------

void TFEditVorlect::SetMode(TEditMode mode) {
  grid::TVLStrGrid& g = *grid_;
  if (mode == TEditMode::Edit) {
    const grid::TGridRect s = g.Selection();
    g.SetCurrent(s.left, s.top);
    g.Options.Include(host::goEditing).Exclude(host::goRangeSelect);
  } else {
    g.Options.Exclude(host::goEditing).Include(host::goRangeSelect);
  }
  mode_ = mode;
}

void TFEditVorlect::KeyDown(int key, TShiftState shift) {
  if (key < VK_PRIOR || key > VK_DOWN) return;
  lastInput_ = TLastInput::Keyboard;
  if (shift == ssShift && mode_ == TEditMode::Edit) SetMode(TEditMode::SelectRange);
  else if (shift != ssShift && mode_ == TEditMode::SelectRange) SetMode(TEditMode::Edit);
}

bool TFEditVorlect::KeyUp(int key, TShiftState shift) {
  lastShift_ = shift;
  grid::TVLStrGrid& g = *grid_;
  const int last = g.RowCount() - 1;
  if (key == VK_UP && g.Row() == last - 1 && g.RowCount() > 3) {
    bool blank = true;
    for (int k = 0; k < g.ColCount() && blank; ++k) blank = IsBlank(g.Cells(k, last));
    bool swallowed = false;
    if (blank) {
      g.SetRowCount(last);
      g.SetCurrent(g.Col(), last - 1);
      swallowed = true;
    }
    Recount();
    return swallowed;
  }
  if (key == VK_DOWN && shift == 0 && g.Row() == last && !g.Cells(0, last).empty()) {
    g.SetRowCount(g.RowCount() + 1);
    Recount();
    g.SetCurrent(g.Col(), last + 1);
  }
  return false;
}

void TFEditVorlect::MouseDown(TMouseButton button, TShiftState, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  lastInput_ = TLastInput::Mouse;
  mousePos_ = downPos_ = TPoint{x, y};
}

void TFEditVorlect::MouseMove(TShiftState shift, int x, int y) {
  lastShift_ = shift;
  mousePos_ = TPoint{x, y};
}

TCell TFEditVorlect::DefaultCellAt(int x, int y) const {
  const grid::TVLStrGrid& g = *grid_;
  TCell cell;
  int left = 0;
  for (int k = 0; k < g.ColCount(); ++k) {
    const int right = left + g.ColWidths(k) + g.GridLineWidth;
    if (x >= left && x < right) {
      cell.col = k;
      break;
    }
    left = right;
  }
  int top = 0;
  for (int r = 0; r < g.RowCount(); ++r) {
    const int bottom = top + g.RowHeights(r) + g.GridLineWidth;
    if (y >= top && y < bottom) {
      cell.row = r;
      break;
    }
    top = bottom;
  }
  if (cell.col < 0 || cell.row < 0) return {};
  return cell;
}

void TFEditVorlect::MouseUp(TMouseButton button, TShiftState, int x, int y) {
  if (button == TMouseButton::mbLeft && downPos_) {
    auto cellAt = [&](int px, int py) { return CellAt ? CellAt(px, py) : DefaultCellAt(px, py); };
    const TPoint down = *downPos_;
    const TCell a = cellAt(down.x, down.y), b = cellAt(x, y);
    // Both ends well inside one column: a drag of a column border never opens the dialog.
    bool inside = a == b && a.row == 1 && a.col >= 1;
    for (const TPoint& p : {down, TPoint{x, y}})
      inside = inside && cellAt(p.x - 10, p.y).col == a.col && cellAt(p.x + 10, p.y).col == a.col;
    if (inside && SelectFont) {
      const std::string& cell = grid_->Cells(a.col, 1);
      const auto sep = cell.find(", ");
      const std::string font = cell.substr(0, sep);
      const std::string charset = sep == std::string::npos ? std::string() : cell.substr(sep + 2);
      if (auto choice = SelectFont(font, charset)) ChangeFontCell(a.col, choice->fontName, choice->charsetName);
    }
  }
  mousePos_.reset();
  downPos_.reset();
}

bool TFEditVorlect::SelectCell(int col, int) {
  deleteLanguageEnabled_ = col != 0;
  if (lastInput_ == TLastInput::Mouse) {
    if (lastShift_ == ssShift && mode_ == TEditMode::Edit) {
      SetMode(TEditMode::SelectRange);
      pendingShiftClick_ = mousePos_.value_or(TPoint{});
      return false;
    }
    if (lastShift_ != ssShift && mode_ == TEditMode::SelectRange) SetMode(TEditMode::Edit);
  }
  return true;
}

std::optional<TPoint> TFEditVorlect::TakePendingShiftClick() {
  auto p = pendingShiftClick_;
  pendingShiftClick_.reset();
  return p;
}

void TFEditVorlect::DblClick() { grid_->DblClick(); }

// ---- Clipboard ----------------------------------------------------------------------------------------

void TFEditVorlect::ClipboardCommand(TClipAction action) {
  grid::TVLStrGrid& g = *grid_;
  const bool copy = action != TClipAction::Delete, clear = action != TClipAction::Copy;
  if (mode_ == TEditMode::Edit) {
    if (copy) SetClipboardText(g.Cells(g.Col(), g.Row()));
    if (clear) g.SetCells(g.Col(), g.Row(), std::string());
  } else {
    const grid::TGridRect s = g.Selection();
    std::string text;
    for (int r = s.top; r <= s.bottom; ++r) {
      for (int k = s.left; k <= s.right; ++k) {
        if (k > s.left) text += '\t';
        text += g.Cells(k, r);
      }
      text += "\r\n";
    }
    if (copy) SetClipboardText(text);
    if (clear)
      for (int r = s.top; r <= s.bottom; ++r)
        for (int k = s.left; k <= s.right; ++k) g.SetCells(k, r, std::string());
    SetMode(TEditMode::Edit);
  }
  Recount();
}

void TFEditVorlect::Paste() {
  grid::TVLStrGrid& g = *grid_;
  if (g.Col() == 0) {
    MessageDlg(kMsgNoPasteHere, mtError, {mbAbort});
    return;
  }
  const std::string text = GetClipboardText();
  // Lines end at a carriage return (with the line feed after it); fields end at a tab.
  std::vector<std::vector<std::string>> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t cr = text.find('\r', pos);
    std::string_view line(text.data() + pos, (cr == std::string::npos ? text.size() : cr) - pos);
    std::vector<std::string> fields;
    size_t f = 0;
    while (true) {
      const size_t tab = line.find('\t', f);
      fields.emplace_back(line.substr(f, tab == std::string_view::npos ? std::string_view::npos : tab - f));
      if (tab == std::string_view::npos) break;
      f = tab + 1;
    }
    lines.push_back(std::move(fields));
    if (cr == std::string::npos) break;
    pos = cr + 1;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  if (lines.empty()) return;
  const int col = g.Col(), row = g.Row();
  const int needed = row + static_cast<int>(lines.size());
  if (needed > g.RowCount()) g.SetRowCount(needed);
  for (int i = 0; i < static_cast<int>(lines.size()); ++i)
    for (int f = 0; f < static_cast<int>(lines[static_cast<size_t>(i)].size()) && col + f < g.ColCount(); ++f)
      g.SetCells(col + f, row + i, lines[static_cast<size_t>(i)][static_cast<size_t>(f)]);
  AfterRowsChanged();
}

// ---- Rows -------------------------------------------------------------------------------------------

void TFEditVorlect::InsertRow() {
  grid::TVLStrGrid& g = *grid_;
  const int row = std::max(g.Row(), kFirstDataRow);
  g.InsertRow(row);
  g.SetCurrent(g.Col(), row);
  Recount();
}

void TFEditVorlect::DeleteRows() {
  grid::TVLStrGrid& g = *grid_;
  if (g.RowCount() <= kFirstDataRow || g.Row() < kFirstDataRow) return;
  const int row = g.Row(), col = g.Col();
  int end = row + 1;
  while (end < g.RowCount() && IsContinuationKey(g.Cells(0, end))) ++end;
  TRows rows = ReadRows(g);
  rows.erase(rows.begin() + row, rows.begin() + end);
  if (rows.size() <= static_cast<size_t>(kFirstDataRow)) rows.emplace_back(static_cast<size_t>(g.ColCount()));
  WriteRows(g, rows);
  g.SetCurrent(col, std::min(row, g.RowCount() - 1));
  AfterRowsChanged();
}

// ---- Languages ------------------------------------------------------------------------------------

void TFEditVorlect::InsertLanguage() {
  grid::TVLStrGrid& g = *grid_;
  if (g.ColCount() > 255) {
    MessageDlg(kMsgTooManyLanguages, mtError, {mbOK});
    return;
  }
  const int at = g.Col() + 1;  // the new column, right of the cursor
  TRows rows = ReadRows(g);
  for (TRow& row : rows) row.insert(row.begin() + at, std::string());
  rows[1][static_cast<size_t>(at)] = DefaultFontCell();
  const int cols = g.ColCount() + 1;
  std::vector<std::uint8_t> codes;
  std::vector<int> widths;
  for (int k = 0; k < g.ColCount(); ++k) {
    codes.push_back(g.CharsetCode(k));
    widths.push_back(g.ColWidths(k));
  }
  codes.insert(codes.begin() + at, static_cast<std::uint8_t>(kDefaultCharsetCode));
  widths.insert(widths.begin() + at, g.DefaultColWidth);
  g.SetColCount(cols);
  for (int k = 0; k < cols; ++k) {
    g.SetCharsetCode(k, codes[static_cast<size_t>(k)]);
    g.SetColWidths(k, widths[static_cast<size_t>(k)]);
  }
  WriteRows(g, rows);
  AfterRowsChanged();
}

void TFEditVorlect::DeleteLanguage() {
  grid::TVLStrGrid& g = *grid_;
  const int col = g.Col();
  if (col == 0) return;
  if (MessageDlg("Do you really want to delete\rlanguage \"" + g.Cells(col, 0) + "\"?", mtConfirmation, {mbYes, mbNo}) != mrYes)
    return;
  TRows rows = ReadRows(g);
  for (TRow& row : rows) row.erase(row.begin() + col);
  std::vector<std::uint8_t> codes;
  std::vector<int> widths;
  for (int k = 0; k < g.ColCount(); ++k)
    if (k != col) {
      codes.push_back(g.CharsetCode(k));
      widths.push_back(g.ColWidths(k));
    }
  WriteRows(g, rows);  // the cells first: shrinking drops the last column
  g.SetColCount(g.ColCount() - 1);
  for (int k = 0; k < g.ColCount(); ++k) {
    g.SetCharsetCode(k, codes[static_cast<size_t>(k)]);
    g.SetColWidths(k, widths[static_cast<size_t>(k)]);
  }
  deleteLanguageEnabled_ = g.Col() != 0;
  AfterRowsChanged();
}

void TFEditVorlect::MoveColumnBack(int from, int to) {
  grid::TVLStrGrid& g = *grid_;
  auto handler = std::move(g.OnColumnMovedEvent);
  g.OnColumnMovedEvent = nullptr;
  g.MoveColumn(to, from);  // cells, titles, font cells and character-set codes go back
  g.OnColumnMovedEvent = std::move(handler);
  const int cols = g.ColCount();
  g.SetColWidths(0, 64);
  if (cols > 1)
    for (int k = 1; k < cols; ++k) g.SetColWidths(k, (g.ClientWidth - g.ColWidths(0) - cols) / (cols - 1));
  TitleColumns();
  mousePos_.reset();
}

void TFEditVorlect::ColumnMoved(int from, int to) {
  if (from == to) return;
  if (to == 0) {
    MessageDlg(kMsgNoMoveToIndex, mtError, {mbAbort});
    MoveColumnBack(from, to);
    return;
  }
  if (from == 0) {
    MessageDlg(kMsgNoMoveIndex, mtError, {mbAbort});
    MoveColumnBack(from, to);
    return;
  }
  if (MessageDlg(Format(kMsgColumnMoved, from, to), mtConfirmation, mbOKCancel) != mrOk) {
    MoveColumnBack(from, to);
    return;
  }
  TitleColumns();
  WriteTable();
}

// ---- Smart fill ------------------------------------------------------------------------------------

namespace {
std::vector<const host::TStrings*> OtherTables(const TBaseVorlect& self) {
  std::vector<const host::TStrings*> others;
  for (const TBaseVorlect* v : runtime::GlobalList())
    if (v != &self && v->Languages() == self.Languages()) others.push_back(v->Words());
  return others;
}
}  // namespace

void TFEditVorlect::TranslateOne() {
  grid::TVLStrGrid& g = *grid_;
  TRows rows = ReadRows(g);
  TSmartFill fill(rows, OtherTables(component_), component_.Languages() + 1);
  if (auto cell = fill.FillOne()) {
    g.SetCells(cell->first, cell->second, rows[static_cast<size_t>(cell->second)][static_cast<size_t>(cell->first)]);
    g.SetCurrent(cell->first, cell->second);
    AfterCellsChanged({cell->second});
  }
}

void TFEditVorlect::TranslateAll() {
  TRows rows = ReadRows(*grid_);
  TSmartFill fill(rows, OtherTables(component_), component_.Languages() + 1);
  if (fill.FillAll() == 0) return;
  // Only the filled cells go back to the grid, and only their rows get their heights again.
  std::vector<int> changed;
  for (const auto& [k, r] : fill.FilledCells()) {
    grid_->SetCells(k, r, rows[static_cast<size_t>(r)][static_cast<size_t>(k)]);
    if (changed.empty() || changed.back() != r) changed.push_back(r);
  }
  for (int r : changed) CalcRowHeight(*grid_, r);
  // Filling only ever turns empty cells into texts: the count follows without a recount.
  emptyFields_ -= fill.FilledEmptyFields();
}

// ---- Find and replace -------------------------------------------------------------------------------

// The window selects "&All" when it shows the dialog; the scope changes only by a click or closing.
void TFEditVorlect::FindDialogShown() {}

void TFEditVorlect::FindColumnRangeClick(bool all) { settings_.FindAllColumns = all; }

void TFEditVorlect::FindDialogClosed(bool allSelected) { settings_.FindAllColumns = allSelected; }

bool TFEditVorlect::FindNext(const TFindOptions& o) {
  grid::TVLStrGrid& g = *grid_;
  const bool all = settings_.FindAllColumns;
  const int last = g.ColCount() - 1, lastRow = g.RowCount() - 1;
  const int cursorCol = g.Col();
  int k = g.Col(), r = g.Row();
  const int rowStart = all ? (o.down ? 0 : last) : cursorCol;
  while (true) {
    if (all) k += o.down ? 1 : -1;
    if (k > last || k <= 0 || !all) {
      r += o.down ? 1 : -1;
      k = rowStart;
      if (r > lastRow || r < 0) {
        if (MessageDlg(kMsgNotFoundTop, mtInformation, {mbYes, mbNo}) != mrYes) return false;
        r = o.down ? 1 : lastRow;
        k = rowStart;
      }
    }
    if (MatchPosition(g.Cells(k, r), o) != std::string::npos) {
      g.SetCurrent(k, r);
      return true;
    }
  }
}

bool TFEditVorlect::ReplaceStep(const TFindOptions& o, const std::string& replaceText) {
  grid::TVLStrGrid& g = *grid_;
  const int last = g.ColCount() - 1, lastRow = g.RowCount() - 1;
  if (last < 1) return false;  // no language column to step through
  int k = g.Col(), r = g.Row();
  while (true) {
    k += o.down ? 1 : -1;
    if (k > last || k <= 0) {
      r += o.down ? 1 : -1;
      k = o.down ? 1 : last;
      if (o.down ? r > lastRow : r <= 0) {
        if (MessageDlg(kMsgNotFoundTopBottom, mtInformation, {mbYes, mbNo}) != mrYes) return false;
        r = o.down ? 1 : lastRow;
        k = o.down ? 0 : last;
      }
    }
    const std::string& cell = g.Cells(k, r);
    const size_t p = MatchPosition(cell, o);
    if (p != std::string::npos) {
      g.SetCurrent(k, r);
      g.SetCells(k, r, cell.substr(0, p) + replaceText + cell.substr(p + o.text.size()));
      return true;
    }
  }
}

bool TFEditVorlect::Replace(const TFindOptions& o, const std::string& replaceText) {
  const bool replaced = ReplaceStep(o, replaceText);
  if (replaced) AfterCellsChanged({grid_->Row()});
  return replaced;
}

void TFEditVorlect::ReplaceAll(const TFindOptions& o, const std::string& replaceText) {
  bool any = false;
  while (ReplaceStep(o, replaceText)) any = true;
  if (any) AfterRowsChanged();
}

// ---- Duplicates, empty field, sort, hide list, positions, fonts ---------------------------------------

void TFEditVorlect::Duplicates() {
  if (auto d = FindDuplicate(ReadRows(*grid_))) {
    grid_->SetCurrent(0, d->row);
    MessageDlg(Format(kMsgDuplicate, d->distance), mtWarning, {mbOK});
  } else {
    MessageDlg(kMsgNoDuplicate, mtInformation, {mbOK});
  }
}

void TFEditVorlect::EmptyField() {
  Recount();
  if (emptyFields_ == 0) {
    MessageDlg(kMsgNoEmpty, mtInformation, {mbOK});
    return;
  }
  grid::TVLStrGrid& g = *grid_;
  const int last = g.ColCount() - 1, lastRow = g.RowCount() - 1;
  const int startCol = g.Col(), startRow = g.Row();
  int k = startCol, r = startRow;
  while (true) {
    if (++k > last) {
      k = 1;
      if (++r > lastRow) r = 1;
    }
    if (k == startCol && r == startRow) return;
    if (g.Cells(k, r).empty()) {
      g.SetCurrent(k, r);
      return;
    }
  }
}

void TFEditVorlect::Sort() {
  grid::TVLStrGrid& g = *grid_;
  TRows rows = ReadRows(g);
  const std::vector<int> order = SortOrder(rows);
  // Each row's height goes along with it.
  std::vector<int> heights;
  heights.reserve(order.size());
  TRows sorted;
  sorted.reserve(rows.size());
  for (int from : order) {
    heights.push_back(g.RowHeights(from));
    sorted.push_back(std::move(rows[static_cast<size_t>(from)]));
  }
  WriteRows(g, sorted);
  for (int r = 0; r < static_cast<int>(heights.size()); ++r) g.SetRowHeights(r, heights[static_cast<size_t>(r)]);
  // Moving rows changes no count of empty fields.
}

void TFEditVorlect::Toggle() { grid_->Toggle(); }

void TFEditVorlect::ReFilter() {
  grid::TVLStrGrid& g = *grid_;
  if (!g.HideThese) return;
  std::unordered_set<std::string> hidden;
  for (int i = 0; i < g.HideThese->Count(); ++i) hidden.insert(AsciiLower(g.HideThese->Strings(i)));
  TRows rows = ReadRows(g);
  TRows kept;
  kept.reserve(rows.size());
  const int n = static_cast<int>(rows.size());
  for (int i = 0; i < n;) {
    if (i >= kFirstDataRow && hidden.count(AsciiLower(rows[static_cast<size_t>(i)][0]))) {
      ++i;
      while (i < n && IsContinuationKey(rows[static_cast<size_t>(i)][0])) ++i;
      continue;
    }
    kept.push_back(std::move(rows[static_cast<size_t>(i++)]));
  }
  if (kept.size() <= static_cast<size_t>(kFirstDataRow)) kept.emplace_back(static_cast<size_t>(g.ColCount()));
  if (static_cast<int>(kept.size()) == n) return;
  const int col = g.Col(), row = g.Row();
  WriteRows(g, kept);
  g.SetCurrent(col, std::min(row, g.RowCount() - 1));
  AfterRowsChanged();
}

void TFEditVorlect::CompressPositions() {
  host::TStringList& positions = *component_.Positions();
  std::vector<std::string> kept;
  int removed = 0;
  for (int i = 0; i < positions.Count(); ++i) {
    const std::string& line = positions.Strings(i);
    host::TStringList items;
    items.SetCommaText(line);
    const std::string first = items.Count() > 0 ? items.Strings(0) : std::string();
    const bool known = first == runtime::kFormKey || (form_ && !first.empty() && form_->FindComponent(first));
    if (known && TBaseVorlect::PositionsDiffer(line)) kept.push_back(line);
    else ++removed;
  }
  if (removed > 0) {
    positions.BeginUpdate();
    positions.Clear();
    for (const std::string& line : kept) positions.Add(line);
    positions.EndUpdate();
  }
  component_.PositionsLocked = true;
  MessageDlg(Format(kMsgPositionsRemoved, removed, static_cast<int>(kept.size())), mtInformation, {mbOK});
}

bool TFEditVorlect::ChangeFontCell(int col, const std::string& fontName, const std::string& charsetName) {
  grid::TVLStrGrid& g = *grid_;
  if (col < 1 || col >= g.ColCount() || fontName.empty()) return false;
  const auto code = CharsetCodeOf(charsetName);
  if (!code) return false;
  // The table's spelling of the name, so that the cell converts back.
  g.SetCells(col, 1, fontName + ", " + CharsetNameOf(*code));
  g.SetCharsetCode(col, static_cast<std::uint8_t>(*code));
  return true;
}

void TFEditVorlect::Disappear(const std::function<void(TFrmPressKey&)>& showNotice) {
  if (!InfoEsc || !showNotice) return;
  TFrmPressKey notice(kNoticeEsc, InfoEsc);
  showNotice(notice);
}

// ---- CSV ---------------------------------------------------------------------------------------------

TCsvContext TFEditVorlect::CsvContext() const {
  TCsvContext c;
  toolservices::HostServices* host = toolservices::GetHostServices();
  c.haveToolServices = host != nullptr;
  if (CsvFormFile) {
    c.formFile = *CsvFormFile;
  } else if (host) {
    c.formFile = CsvFormFileOf(host->HostCurrentFile());
  }
  const host::TStringList& names = LanguageNames();
  for (int i = 0; i < names.Count(); ++i) c.languageNames.push_back(names.Strings(i));
  c.encoding = CsvEncoding;
  // Without code pages of its own, each language column's bytes are in the code page of its font
  // cell's character set: a file read as UTF-8 is converted into that.
  if (c.encoding.columnCodePages.empty()) c.encoding.columnCodePages = CsvEncodingOf(*grid_, false).columnCodePages;
  return c;
}

std::optional<std::string> TFEditVorlect::AskCsvFile(bool save, const char* title, const char* filter) {
  FileDialogOptions o;
  o.title = title;
  o.filter = filter;
  o.defaultExt = kCsvDefaultExt;
  o.fileName = CsvFileName;
  auto path = save ? SaveFileDialog(o) : OpenFileDialog(o);
  if (path) CsvFileName = *path;
  return path;
}

bool TFEditVorlect::ExportCsv() {
  const auto path = AskCsvFile(true, "", kCsvExportFilter);
  return path && ExportCsvTo(*path);
}

bool TFEditVorlect::ImportCsv() {
  const auto path = AskCsvFile(false, kCsvImportTitle, kCsvImportFilter);
  return path && ImportCsvFrom(*path);
}

bool TFEditVorlect::AddCsvFile() {
  const auto path = AskCsvFile(false, kCsvAddTitle, kCsvImportFilter);
  return path && AddCsvFrom(*path);
}

bool TFEditVorlect::ExportCsvTo(const std::string& path) {
  RecomputeCsvSeparator();
  const auto contents = ExportTableCsv(*grid_, CsvContext());
  if (!contents) return false;
  try {
    platform::WriteFileAtomic(path, *contents);
  } catch (const std::exception& e) {
    MessageDlg(std::string("The CSV file could not be written:\r") + e.what(), mtError, {mbOK});
    return false;
  }
  return true;
}

namespace {
std::optional<std::string> ReadCsv(const std::string& path) {
  try {
    return platform::ReadFile(path);
  } catch (const std::exception& e) {
    MessageDlg(std::string("The CSV file could not be read:\r") + e.what(), mtError, {mbOK});
    return std::nullopt;
  }
}
}  // namespace

bool TFEditVorlect::ImportCsvFrom(const std::string& path) {
  const auto contents = ReadCsv(path);
  if (!contents) return false;
  TCsvContext context = CsvContext();
  context.csvFile = path;
  const bool imported = ImportTableCsv(*grid_, *contents, context);  // row heights included
  Recount();
  return imported;
}

bool TFEditVorlect::AddCsvFrom(const std::string& path) {
  const auto contents = ReadCsv(path);
  if (!contents) return false;
  const bool added = AddCsv(*grid_, *contents, CsvContext());
  AfterRowsChanged();
  return added;
}

}  // namespace vorlect::vle
