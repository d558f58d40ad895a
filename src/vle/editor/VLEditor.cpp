#include "vle/editor/VLEditor.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "host/framework/Controls.h"
#include "host/framework/TypInfo.h"
#include "runtime/VLBase.h"
#include "runtime/VLGrid.h"

namespace vorlect::vle {

using namespace vorlect::ports;
using runtime::TBaseVorlect;

namespace {

std::string Format(const char* format, int a) {
  char buf[256];
  std::snprintf(buf, sizeof buf, format, a);
  return buf;
}

// The table as WriteComponent sees it while Update Table works on a plain row model.
class RowsAccess : public runtime::TStringGridAccess {
public:
  RowsAccess(TRows& rows, int cols) : rows_(rows), cols_(cols) {}
  std::string Cells(int col, int row) const override {
    if (row < 0 || row >= RowCount() || col < 0 || col >= cols_) return {};
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(col)];
  }
  void SetCells(int col, int row, const std::string& text) override {
    if (row < 0 || row >= RowCount() || col < 0 || col >= cols_) throw std::out_of_range("cell outside the table");
    rows_[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
  }
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  void SetRowCount(int rows) override { rows_.resize(static_cast<size_t>(std::max(rows, 0)), TRow(static_cast<size_t>(cols_))); }
  int ColCount() const override { return cols_; }

private:
  TRows& rows_;
  int cols_;
};

// A published string property's value; empty when there is none or it is of another kind.
std::string StrPropOf(const host::TComponent& component, const char* name) {
  const host::PropInfo* p = host::GetPropInfo(component.ClassType(), name);
  if (!p || p->kind != host::TypeKind::String) return {};
  return host::GetStrProp(component, p);
}

bool IsHintKey(std::string_view key) { return key.size() == runtime::kHintKey.size() && host::SameText(key, runtime::kHintKey); }

std::unordered_set<std::string> LowerSet(const host::TStrings* list) {
  std::unordered_set<std::string> set;
  if (list)
    for (int i = 0; i < list->Count(); ++i) set.insert(AsciiLower(list->Strings(i)));
  return set;
}

}  // namespace

// ---- Rows ----------------------------------------------------------------------------------------

TRows ReadRows(const grid::TVLStrGrid& grid) {
  const int rows = grid.RowCount(), cols = grid.ColCount();
  TRows r(static_cast<size_t>(rows), TRow(static_cast<size_t>(cols)));
  // Row by row, as the grid keeps its cells.
  for (int i = 0; i < rows; ++i)
    for (int k = 0; k < cols; ++k) r[static_cast<size_t>(i)][static_cast<size_t>(k)] = grid.Cells(k, i);
  return r;
}

std::vector<int> WriteRows(grid::TVLStrGrid& grid, const TRows& rows) {
  if (grid.RowCount() != static_cast<int>(rows.size())) grid.SetRowCount(static_cast<int>(rows.size()));
  const int cols = grid.ColCount();
  std::vector<char> changed(rows.size(), 0);
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const TRow& row = rows[static_cast<size_t>(i)];
    for (int k = 0; k < std::min(cols, static_cast<int>(row.size())); ++k) {
      const std::string& v = row[static_cast<size_t>(k)];
      if (grid.Cells(k, i) != v) {
        grid.SetCells(k, i, v);
        changed[static_cast<size_t>(i)] = 1;
      }
    }
  }
  std::vector<int> result;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i)
    if (changed[static_cast<size_t>(i)]) result.push_back(i);
  return result;
}

void CalcRowHeight(grid::TVLStrGrid& grid, int row) {
  if (row < 1 || row >= grid.RowCount()) return;
  int h = grid.DefaultRowHeight - 4;
  for (int k = 0; k < grid.ColCount(); ++k) h = std::max(h, grid.TextHeight(grid.Cells(k, row)));
  grid.SetRowHeights(row, h + 4);
}

// ---- Opening --------------------------------------------------------------------------------------

TFEditVorlect::TFEditVorlect(TBaseVorlect& component)
    : component_(component), form_(component.Owner()), grid_(std::make_unique<grid::TVLStrGrid>(nullptr)) {
  grid::TVLStrGrid& g = *grid_;
  g.SetRowCount(3);
  g.SetColCount(component_.Languages() + 1);
  g.SetFixedCols(0);
  g.SetFixedRows(2);
  g.Options = {host::goFixedVertLine, host::goFixedHorzLine, host::goVertLine, host::goHorzLine,
               host::goEditing,       host::goColSizing,      host::goColMoving, host::goTabs};

  settings_ = ReadEditorSettings(component_.Languages(), g.ClientWidth);
  g.SetCells(0, 0, kKeyColumnTitle);
  TitleColumns();
  for (int i = 0; i < static_cast<int>(settings_.ColWidths.size()) && i < g.ColCount(); ++i)
    g.SetColWidths(i, settings_.ColWidths[static_cast<size_t>(i)]);
  g.GridFont.name = settings_.FontName;
  g.GridFont.size = settings_.FontSize;
  g.GridFont.height = 0;
  g.GridFont.bold = settings_.FontStyle & 1;
  g.GridFont.italic = settings_.FontStyle & 2;
  g.GridFont.underline = settings_.FontStyle & 4;
  g.GridFont.strikeOut = settings_.FontStyle & 8;
  g.DefaultRowHeight = g.GridFont.PixelHeight() * 3 / 2;

  component_.PositionsLocked = false;
  component_.CopyForm_to_CharSet();
  g.HideThese = component_.DoNot();
  try {
    BuildTable();
  } catch (const EFontCell& e) {
    g.HideThese = nullptr;
    throw EEditorError(std::string(e.what()) + ".\rThe translation editor cannot be opened for " + component_.Name() + ".");
  }
  g.SetCurrent(1, 2);
  g.OnSetEditTextEvent = [this](int, int, const std::string&) { Recount(); };
  g.OnColumnMovedEvent = [this](int from, int to) { ColumnMoved(from, to); };
}

TFEditVorlect::~TFEditVorlect() {
  if (grid_) {
    grid_->HideThese = nullptr;
    grid_->OnColumnMovedEvent = nullptr;
  }
}

bool TFEditVorlect::Open(TBaseVorlect& component, const std::function<void(TFEditVorlect&)>& runModal) {
  std::unique_ptr<TFEditVorlect> editor;
  try {
    editor = std::make_unique<TFEditVorlect>(component);
  } catch (const EEditorError& e) {
    MessageDlg(e.what(), mtError, {mbOK});
    return false;
  }
  if (runModal) runModal(*editor);
  if (!editor->Closed()) editor->Close();
  return editor->Accepted();
}

int TFEditVorlect::LanguageColumns() const { return grid_->ColCount() - 1; }

std::string TFEditVorlect::ColumnTitle(int k) { return LanguageColumnTitle(k); }

void TFEditVorlect::TitleColumns() {
  for (int k = 1; k < grid_->ColCount(); ++k) grid_->SetCells(k, 0, ColumnTitle(k));
}

void TFEditVorlect::BuildTable() {
  grid::TVLStrGrid& g = *grid_;
  const int languages = component_.Languages();
  const int cols = languages + 1;
  // Font cells first: a malformed entry stops the opening before the table changes.
  std::vector<TDisplayFontCell> fonts;
  const host::TStringList& charSets = *component_.CharSets();
  for (int k = 0; k < languages; ++k)
    fonts.push_back(FontCellOfEntry(k < charSets.Count() ? charSets.Strings(k) : std::string(kDefaultCharSetsEntry)));

  if (g.ColCount() != cols) g.SetColCount(cols);
  TRows rows(2, TRow(static_cast<size_t>(cols)));
  for (int k = 0; k < cols; ++k) rows[0][static_cast<size_t>(k)] = g.Cells(k, 0);
  rows[1][0] = kFontRowKey;
  for (int k = 0; k < languages; ++k) {
    rows[1][static_cast<size_t>(k + 1)] = fonts[static_cast<size_t>(k)].text;
    g.SetCharsetCode(k + 1, static_cast<std::uint8_t>(fonts[static_cast<size_t>(k)].code));
  }

  const std::unordered_set<std::string> hidden = LowerSet(g.HideThese);
  const host::TStringList& words = *component_.Words();
  const int count = words.Count();
  bool skipping = false;
  for (int i = 0; i < count; i += cols) {
    const std::string& key = words.Strings(i);
    if (skipping && IsContinuationKey(key)) continue;
    skipping = !hidden.empty() && hidden.count(AsciiLower(key)) > 0;
    if (skipping) continue;
    // An incomplete last entry is shown with empty cells rather than lost.
    TRow row(static_cast<size_t>(cols));
    for (int k = 0; k < cols && i + k < count; ++k) row[static_cast<size_t>(k)] = words.Strings(i + k);
    rows.push_back(std::move(row));
  }
  rows.emplace_back(static_cast<size_t>(cols));  // the trailing row
  WriteRows(g, rows);
  g.CalcAllRowHeights();
  Recount();
}

bool TFEditVorlect::WriteTable() {
  grid::TVLStrGrid& g = *grid_;
  const int languages = LanguageColumns();
  if (languages < 1) {
    MessageDlg(std::string(runtime::kMsgAtLeastOneLanguage) + "\r" + kMsgNotWritten, mtError, {mbOK});
    return false;
  }
  if (languages > 255) {
    MessageDlg(std::string(kMsgTooManyLanguages) + "\r" + kMsgNotWritten, mtError, {mbOK});
    return false;
  }
  std::vector<std::string> entries;
  try {
    for (int k = 1; k <= languages; ++k) entries.push_back(EntryOfFontCell(g.Cells(k, 1)));
  } catch (const EFontCell& e) {
    MessageDlg(std::string(e.what()) + "\r" + kMsgNotWritten, mtError, {mbOK});
    return false;
  }
  component_.SetLanguages(static_cast<std::uint8_t>(languages));
  if (component_.Languages() != languages) {
    MessageDlg(Format(kMsgNotWrittenLanguages, component_.Languages()), mtWarning, {mbOK});
    return false;
  }

  host::TStringList& charSets = *component_.CharSets();
  charSets.BeginUpdate();
  charSets.Clear();
  for (const std::string& e : entries) charSets.Add(e);
  charSets.EndUpdate();

  host::TStringList& words = *component_.Words();
  words.BeginUpdate();
  words.Clear();
  const int rows = g.RowCount();
  for (int r = kFirstDataRow; r < rows; ++r) {
    if (IsBlank(g.Cells(0, r))) continue;
    for (int k = 0; k <= languages; ++k) words.Add(g.Cells(k, r));
  }
  words.EndUpdate();
  return true;
}

void TFEditVorlect::Recount() {
  const grid::TVLStrGrid& g = *grid_;
  int n = 0;
  // Row by row, as the grid keeps its cells.
  for (int r = kFirstDataRow; r < g.RowCount(); ++r)
    for (int k = 1; k < g.ColCount(); ++k)
      if (g.Cells(k, r).empty()) ++n;
  emptyFields_ = n;
}

void TFEditVorlect::AfterRowsChanged() {
  grid_->CalcAllRowHeights();
  Recount();
}

void TFEditVorlect::AfterCellsChanged(const std::vector<int>& rows) {
  for (int r : rows) CalcRowHeight(*grid_, r);
  Recount();
}

// ---- Leaving --------------------------------------------------------------------------------------

bool TFEditVorlect::Accept() {
  if (!WriteTable()) return false;
  // Switching records the form's font as the active language's first: give the form the font
  // cell just written, or an edited font of the active language would be lost.
  component_.CopyCharSet_to_Form();
  component_.SetActiveLanguage(component_.ActiveLanguage());
  component_.PositionsLocked = false;
  accepted_ = true;
  Close();
  return true;
}

void TFEditVorlect::Cancel() {
  accepted_ = false;
  Close();
}

void TFEditVorlect::Close() {
  if (closed_) return;
  closed_ = true;
  const grid::TVLStrGrid& g = *grid_;
  settings_.ColWidths.clear();
  for (int k = 0; k < g.ColCount(); ++k) settings_.ColWidths.push_back(g.ColWidths(k));
  settings_.FontSize = g.GridFont.size;
  settings_.FontName = g.GridFont.name;
  settings_.FontStyle = (g.GridFont.bold ? 1 : 0) | (g.GridFont.italic ? 2 : 0) | (g.GridFont.underline ? 4 : 0) |
                        (g.GridFont.strikeOut ? 8 : 0);
  if (WriteSettingsOnClose) {
    try {
      WriteEditorSettings(settings_, component_.Languages());
    } catch (const std::exception& e) {
      // The table is where it belongs already; only the window's layout is lost.
      MessageDlg(std::string("The editor settings could not be saved:\r") + e.what(), mtWarning, {mbOK});
    }
  }
  grid_->HideThese = nullptr;
}

bool TFEditVorlect::ChangeLanguage() {
  if (!WriteTable()) return false;
  component_.CopyCharSet_to_Form();
  const int languages = component_.Languages();
  component_.SetActiveLanguage(static_cast<std::uint8_t>((component_.ActiveLanguage() + 1) % languages));
  return true;
}

// ---- Update Table -----------------------------------------------------------------------------------

TRows TFEditVorlect::CaptureBlock(host::TComponent& component, int cols) {
  TRows captured(1, TRow(static_cast<size_t>(cols)));
  RowsAccess access(captured, cols);
  // Only the texts: the positions the component records when capturing stay as they are.
  const bool locked = component_.PositionsLocked;
  component_.PositionsLocked = true;
  try {
    component_.WriteComponent(&component, 0, access);
  } catch (...) {
    component_.PositionsLocked = locked;
    throw;
  }
  component_.PositionsLocked = locked;
  captured.pop_back();  // the empty row a capture leaves at the end
  return captured;
}

void TFEditVorlect::UpdateTable() {
  if (!form_) return;
  host::TComponent& form = *form_;
  grid::TVLStrGrid& g = *grid_;
  bool updateAll = false, ignoreRest = false;

  // Names of components that left the form leave the hide list.
  if (host::TStrings* hide = g.HideThese)
    for (int i = hide->Count() - 1; i >= 0; --i) {
      const std::string& name = hide->Strings(i);
      if (!host::SameText(name, runtime::kFormKey) && !form.FindComponent(name)) hide->Delete(i);
    }

  const int cols = g.ColCount();
  TRows in = ReadRows(g);
  const int n = static_cast<int>(in.size());
  TRows rows;
  rows.reserve(in.size() + 16);
  for (int i = 0; i < std::min(n, 2); ++i) rows.push_back(std::move(in[static_cast<size_t>(i)]));
  for (int i = kFirstDataRow; i < n;) {
    TRow& row = in[static_cast<size_t>(i)];
    const std::string& key = row[0];
    if (key.empty()) {
      // Dropped, unless it is the only data row left.
      if (rows.size() == 2 && i == n - 1) rows.push_back(std::move(row));
      ++i;
      continue;
    }
    if (key[0] == '"' || key[0] == '@' || key[0] == '%') {
      rows.push_back(std::move(row));
      ++i;
      continue;
    }
    const auto dot = key.find('.');
    const std::string name = key.substr(0, dot);
    if (form.FindComponent(name)) {
      rows.push_back(std::move(row));
      ++i;
      continue;
    }
    std::string value = name;
    if (InputQuery("Component \"" + name + "\" removed", kPromptNewName, value)) {
      row[0] = value + (dot == std::string::npos ? std::string() : key.substr(dot));
      rows.push_back(std::move(row));
      ++i;
    } else {
      ++i;
      while (i < n && IsContinuationKey(in[static_cast<size_t>(i)][0])) ++i;
    }
  }
  if (rows.size() <= 2) rows.resize(3, TRow(static_cast<size_t>(cols)));

  const int activeCol = component_.ActiveLanguage() + 1;
  const bool haveActive = activeCol < cols;
  auto appendBlank = [&] {
    rows.emplace_back(static_cast<size_t>(cols));
    return static_cast<int>(rows.size()) - 1;
  };
  auto firstEmptyFrom = [&](int from) {
    for (int r = from; r < static_cast<int>(rows.size()); ++r)
      if (rows[static_cast<size_t>(r)][0].empty()) return r;
    return -1;
  };

  if (runtime::PropertyExists(&form, "Caption")) {
    int r = -1;
    for (int i = kFirstDataRow; i < static_cast<int>(rows.size()) && r < 0; ++i)
      if (AsciiLower(rows[static_cast<size_t>(i)][0]) == "%form%") r = i;
    if (r < 0) r = firstEmptyFrom(kFirstDataRow);
    if (r < 0) r = appendBlank();
    TRow& row = rows[static_cast<size_t>(r)];
    if (row[0].empty()) row[0] = runtime::kFormKey;
    if (dynamic_cast<host::TCustomForm*>(&form) && haveActive) row[static_cast<size_t>(activeCol)] = StrPropOf(form, "Caption");
  }

  // Each component's row: the first with its name, else the first with an empty key. Rows are only
  // ever appended or written in place below, so an index taken now stays valid; hint rows are
  // inserted once all components were seen.
  std::unordered_map<std::string, int> firstRow;
  auto indexFrom = [&](int from) {
    for (int r = std::max(from, kFirstDataRow); r < static_cast<int>(rows.size()); ++r) {
      const std::string& key = rows[static_cast<size_t>(r)][0];
      if (!key.empty()) firstRow.try_emplace(AsciiLower(key), r);
    }
  };
  indexFrom(kFirstDataRow);
  int firstEmpty = firstEmptyFrom(kFirstDataRow);
  std::vector<std::pair<int, TRow>> inserts;

  auto compare = [&](std::string& cell, const std::string& current, const char* word) {
    if (cell == current) return;
    if (updateAll) {
      cell = current;
      return;
    }
    const std::string msg = std::string(word) + " has changed from\r\"" + cell + "\"\rto\"\r" + current + "\"\rUpdate the table?";
    switch (MessageDlg(msg, mtConfirmation, {mbYes, mbNo, mbIgnore, mbAll})) {
      case mrYes: cell = current; break;
      case mrIgnore: ignoreRest = true; break;
      case mrAll:
        cell = current;
        updateAll = true;
        break;
      default: break;
    }
  };

  RowsAccess access(rows, cols);
  for (int c = 0; c < form.ComponentCount(); ++c) {
    host::TComponent* component = form.Components(c);
    const std::string& name = component->Name();
    int r = -1;
    if (!name.empty())
      if (auto it = firstRow.find(AsciiLower(name)); it != firstRow.end()) r = it->second;
    if (r < 0) {
      if (firstEmpty < 0) firstEmpty = appendBlank();
      r = firstEmpty;
    }
    if (!rows[static_cast<size_t>(r)][0].empty()) {
      if (ignoreRest) continue;
      // Each text is compared with the row a capture writes for it now (a combo box's items, not
      // its Text; a radio group's caption, then its items), so that a form that did not change
      // is never offered a change. Rows the block lacks are left to the user.
      if (haveActive) {
        const TRows captured = CaptureBlock(*component, cols);
        for (size_t j = 0; j < captured.size() && !ignoreRest; ++j) {
          const std::string& capturedKey = captured[j][0];
          if (IsHintKey(capturedKey)) break;
          const size_t q = static_cast<size_t>(r) + j;
          if (q >= rows.size()) break;
          if (j > 0 && (!IsContinuationKey(rows[q][0]) || IsHintKey(rows[q][0]))) break;
          const std::string& text = captured[j][static_cast<size_t>(activeCol)];
          if (!text.empty()) compare(rows[q][static_cast<size_t>(activeCol)], text, "String");
        }
      }
      if (ignoreRest) continue;
      const std::string hint = StrPropOf(*component, "Hint");
      if (hint.empty()) continue;
      int q = r + 1;
      while (q < static_cast<int>(rows.size())) {
        const std::string& key = rows[static_cast<size_t>(q)][0];
        if (IsHintKey(key) || !IsContinuationKey(key)) break;
        ++q;
      }
      if (q < static_cast<int>(rows.size()) && IsHintKey(rows[static_cast<size_t>(q)][0])) {
        if (haveActive) compare(rows[static_cast<size_t>(q)][static_cast<size_t>(activeCol)], hint, "Hint");
      } else {
        TRow hintRow(static_cast<size_t>(cols));
        hintRow[0] = runtime::kHintKey;
        if (haveActive) hintRow[static_cast<size_t>(activeCol)] = hint;
        inserts.emplace_back(q, std::move(hintRow));
      }
    } else {
      component_.WriteComponent(component, r, access);
      indexFrom(r);
      firstEmpty = firstEmptyFrom(r);
    }
  }

  if (!inserts.empty()) {
    std::stable_sort(inserts.begin(), inserts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    TRows merged;
    merged.reserve(rows.size() + inserts.size());
    size_t next = 0;
    for (int r = 0; r <= static_cast<int>(rows.size()); ++r) {
      while (next < inserts.size() && inserts[next].first == r) merged.push_back(std::move(inserts[next++].second));
      if (r < static_cast<int>(rows.size())) merged.push_back(std::move(rows[static_cast<size_t>(r)]));
    }
    rows = std::move(merged);
  }
  if (rows.size() > 3 && std::all_of(rows.back().begin(), rows.back().end(), [](const std::string& s) { return s.empty(); }))
    rows.pop_back();
  WriteRows(g, rows);
  g.SetFixedRows(2);
  AfterRowsChanged();
}

// ---- Status bar, titles, geometry -----------------------------------------------------------------

std::string TFEditVorlect::StatusModeText() const { return mode_ == TEditMode::Edit ? kEditModeText : kSelectRangeModeText; }

std::string TFEditVorlect::StatusEmptyText() const { return Format(kEmptyFieldsFormat, emptyFields_); }

std::optional<TActiveMarker> TFEditVorlect::ActiveMarker(int col, const grid::TRect& cell, int titleWidth) const {
  if (col != component_.ActiveLanguage() + 1 || col >= grid_->ColCount()) return std::nullopt;
  const int s = grid_->GridFont.size;
  TActiveMarker m;
  m.frame = cell;
  m.textX = cell.left;
  m.textY = cell.top;
  const int x = cell.left + titleWidth + 5, y = cell.top + s / 2;
  m.triangle = {TPoint{x, y}, TPoint{x + s, y}, TPoint{x + s / 2, cell.bottom - s / 2}};
  return m;
}

void TFEditVorlect::WindowMovedOrResized(int left, int top, int width, int height, int screenWidth) {
  if (width > screenWidth) {
    settings_.Max = true;
    return;
  }
  settings_.x = left;
  settings_.y = top;
  settings_.w = width;
  settings_.h = height;
  settings_.Max = false;
}

void TFEditVorlect::SizeColumns() {
  grid::TVLStrGrid& g = *grid_;
  for (int k = 0; k < g.ColCount(); ++k) g.SetColWidths(k, g.ClientWidth / g.ColCount() - 1);
}

void TFEditVorlect::SetTableFont(const ports::FontSpec& font) {
  grid_->GridFont = font;
  grid_->DefaultRowHeight = font.PixelHeight() * 3 / 2;
}

}  // namespace vorlect::vle
