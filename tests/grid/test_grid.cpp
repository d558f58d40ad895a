#include "grid/VLStGrid.h"

#include "host/framework/TypInfo.h"

#include <gtest/gtest.h>


namespace vorlect::grid {
namespace {

// Every drawing call, by kind.
struct RecordingCanvas : TGridCanvas {
  struct Font { std::string name; std::uint8_t charset; };
  struct Flag { TFlag flag; int x, y; };
  struct Text { std::string text; TRect rect; };
  struct Fixed { int col, row; std::string text; };
  std::vector<Font> fonts;
  std::vector<Flag> flags;
  std::vector<Text> texts;
  std::vector<Fixed> fixed;

  void SetFont(const std::string& name, std::uint8_t charset) override { fonts.push_back({name, charset}); }
  void DrawFlag(TFlag flag, int x, int y) override { flags.push_back({flag, x, y}); }
  void DrawText(const std::string& text, const TRect& rect) override { texts.push_back({text, rect}); }
  void DrawFixedCell(int col, int row, const std::string& text, const TRect&) override {
    fixed.push_back({col, row, text});
  }
};

class GridTest : public ::testing::Test {
protected:
  void SetUp() override {
    grid.SetColCount(3);
    grid.SetRowCount(6);
    grid.SetFixedRows(2);
    grid.SetFixedCols(0);
    const char* rows[][3] = {{"index", "English", "Deutsch"},
                             {"Font/Charset", "Arial, ANSI_CHARSET", "Arial, GREEK_CHARSET"},
                             {"Button1", "OK", "Ja"},
                             {"\"", "Cancel", ""},
                             {"@Str1", "Hello", "Hallo"},
                             {"", "", ""}};
    for (int r = 0; r < 6; ++r)
      for (int k = 0; k < 3; ++k) grid.SetCells(k, r, rows[r][k]);
    grid.SetCharsetCode(2, 161);
  }

  TVLStrGrid grid{nullptr};
  host::TStringList hidden;
  // Fixed metrics: an 8 pt grid font is 11 pixels high, a line 13.
  static constexpr int kLine = 13;
};

TEST_F(GridTest, KeyCellsCarryFlagsOnlyOnComponentRowsAndAlwaysShiftTheText) {
  const TRect cell{10, 100, 110, 124};
  {
    RecordingCanvas canvas;  // no hide list: no flags, text still shifted
    grid.DrawCell(canvas, 0, 2, cell);
    EXPECT_TRUE(canvas.flags.empty());
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].rect, (TRect{10 + TVLStrGrid::kFlagWidth + 8, 100, 110, 124}));
  }
  grid.HideThese = &hidden;
  hidden.Add("BUTTON1");  // look-ups ignore case
  grid.SetRowHeights(2, 30);
  {
    RecordingCanvas canvas;
    grid.DrawCell(canvas, 0, 2, cell);
    auto flags = canvas.flags;
    ASSERT_EQ(flags.size(), 1u);
    EXPECT_EQ(flags[0].flag, TFlag::No);
    EXPECT_EQ(flags[0].x, 14);
    EXPECT_EQ(flags[0].y, 100 + (30 - TVLStrGrid::kFlagHeight) / 2);
  }
  hidden.Clear();
  {
    RecordingCanvas canvas;
    grid.DrawCell(canvas, 0, 2, cell);
    ASSERT_EQ(canvas.flags.size(), 1u);
    EXPECT_EQ(canvas.flags[0].flag, TFlag::Ok);
  }
  for (int row : {3, 4, 5}) {  // continuation, string entry, empty key
    RecordingCanvas canvas;
    grid.DrawCell(canvas, 0, row, cell);
    EXPECT_TRUE(canvas.flags.empty()) << row;
    EXPECT_EQ(canvas.texts[0].rect.left, 10 + TVLStrGrid::kFlagWidth + 8) << row;
  }
}

TEST_F(GridTest, LanguageCellsUseTheirFontCellAndFixedRowsGoToTheHook) {
  RecordingCanvas canvas;
  grid.DrawCell(canvas, 2, 2, {0, 0, 50, 20});
  auto fonts = canvas.fonts;
  ASSERT_EQ(fonts.size(), 1u);
  EXPECT_EQ(fonts[0].name, "Arial");
  EXPECT_EQ(fonts[0].charset, 161);
  EXPECT_EQ(canvas.texts[0].rect, (TRect{0, 0, 50, 20}));

  grid.SetCells(1, 1, "no comma here");
  RecordingCanvas plain;
  grid.DrawCell(plain, 1, 2, {0, 0, 50, 20});
  EXPECT_TRUE(plain.fonts.empty());

  int hooked = 0;
  grid.OnDrawFixedCell = [&](TGridCanvas&, int col, int row, const TRect&) { hooked = col * 10 + row; };
  RecordingCanvas fixed;
  grid.DrawCell(fixed, 2, 0, {0, 0, 50, 20});
  ASSERT_EQ(fixed.fixed.size(), 1u);
  EXPECT_EQ(fixed.fixed[0].text, "Deutsch");
  EXPECT_TRUE(fixed.texts.empty());
  EXPECT_EQ(hooked, 20);
}

TEST_F(GridTest, ToggleWorksOnTheBlockKeyAndIgnoresStringsAndFixedRows) {
  grid.HideThese = &hidden;
  grid.SetCurrent(0, 3);  // continuation row of Button1
  grid.Toggle();
  ASSERT_EQ(hidden.Count(), 1);
  EXPECT_EQ(hidden.Strings(0), "Button1");
  EXPECT_EQ(grid.InvalidatedCells.back(), (std::pair<int, int>{0, 2}));
  grid.DblClick();  // column 0: toggles back
  EXPECT_EQ(hidden.Count(), 0);

  for (int row : {4, 0, 1}) {
    grid.SetCurrent(0, row);
    grid.Toggle();
    EXPECT_EQ(hidden.Count(), 0) << row;
  }
  // A continuation row right below the fixed rows belongs to no block (the font row is none).
  grid.SetCells(0, 2, "\"");
  grid.SetCurrent(0, 3);
  grid.Toggle();
  EXPECT_EQ(hidden.Count(), 0);

  grid.HideThese = nullptr;
  grid.SetCells(0, 2, "Button1");
  grid.Toggle();  // no list: nothing, no crash
  int dbl = 0;
  grid.OnDblClick = [&](host::TObject*) { ++dbl; };
  grid.HideThese = &hidden;
  grid.SetCurrent(1, 2);
  grid.DblClick();  // a language cell: the base grid's double click
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(hidden.Count(), 0);
}

TEST_F(GridTest, RowHeightsFollowLineCountsAndShrinkAfterAnEdit) {
  grid.DefaultRowHeight = 16;
  grid.SetCells(1, 2, "one\r\ntwo\r\nthree");
  grid.SetCells(2, 2, "a\r\nb");
  grid.CalcAllRowHeights();
  EXPECT_EQ(grid.RowHeights(2), 3 * kLine + 4);
  EXPECT_EQ(grid.RowHeights(3), kLine + 4);
  EXPECT_EQ(grid.RowHeights(0), 16);  // row 0 keeps its height

  std::string seen;
  grid.OnSetEditTextEvent = [&](int, int, const std::string& v) { seen = v; };
  grid.SetEditText(1, 2, "one");
  EXPECT_EQ(seen, "one");
  EXPECT_EQ(grid.RowHeights(2), 2 * kLine + 4);  // the German cell is now the tallest

  grid.SetEditText(2, 2, "x\r\ny\r\nz\r\nw");  // taller: grows at once
  EXPECT_EQ(grid.RowHeights(2), 4 * kLine + 4);
  grid.SetEditText(2, 2, "");  // empty: the default height or the other cells' height
  EXPECT_EQ(grid.RowHeights(2), kLine + 4);

  // A multi-line key does not hold the row up after an edit.
  grid.SetCells(0, 3, "k\r\nk\r\nk");
  grid.SetCells(1, 3, "p\r\nq");
  grid.SetRowHeights(3, 3 * kLine + 4);
  grid.SetEditText(1, 3, "p");
  EXPECT_EQ(grid.RowHeights(3), kLine + 4);
}

TEST_F(GridTest, MovingColumnsCarriesCellsWidthsCodesAndTheCurrentCell) {
  grid.SetColCount(4);
  grid.SetCells(3, 2, "Oui");
  grid.SetColWidths(1, 50);
  grid.SetColWidths(3, 70);
  grid.SetCharsetCode(3, 238);
  grid.SetCurrent(1, 2);
  std::pair<int, int> moved{-1, -1};
  grid.OnColumnMovedEvent = [&](int f, int t) { moved = {f, t}; };

  grid.MoveColumn(1, 3);
  EXPECT_EQ(grid.Cells(1, 2), "Ja");
  EXPECT_EQ(grid.Cells(2, 2), "Oui");
  EXPECT_EQ(grid.Cells(3, 2), "OK");
  EXPECT_EQ(grid.Cells(3, 0), "English");
  EXPECT_EQ(grid.ColWidths(3), 50);
  EXPECT_EQ(grid.ColWidths(2), 70);
  EXPECT_EQ(grid.CharsetCode(1), 161);
  EXPECT_EQ(grid.CharsetCode(2), 238);
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(moved, (std::pair<int, int>{1, 3}));
}

// A row keeps cells only up to its last one written: moving a column left into that gap once read
// a cell of the row while the row was growing.
TEST_F(GridTest, MovingAColumnLeftOverRowsThatEndEarly) {
  grid.SetColCount(5);
  grid.SetCells(1, 3, "one");
  grid.SetCells(2, 3, "a long text that lives on the heap, not in the string itself");
  grid.MoveColumn(4, 1);
  EXPECT_EQ(grid.Cells(1, 3), "");
  EXPECT_EQ(grid.Cells(2, 3), "one");
  EXPECT_EQ(grid.Cells(3, 3), "a long text that lives on the heap, not in the string itself");
  EXPECT_EQ(grid.Cells(4, 3), "");
}

TEST_F(GridTest, RowsInsertDeleteAndShrinkKeepStateConsistent) {
  grid.SetRowHeights(3, 40);
  grid.InsertRow(3);
  EXPECT_EQ(grid.RowCount(), 7);
  EXPECT_EQ(grid.Cells(0, 3), "");
  EXPECT_EQ(grid.Cells(0, 4), "\"");
  EXPECT_EQ(grid.Cells(1, 4), "Cancel");
  EXPECT_EQ(grid.RowHeights(4), 40);
  EXPECT_EQ(grid.RowHeights(3), grid.DefaultRowHeight);

  grid.DeleteRow(2);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.Cells(1, 3), "Cancel");
  EXPECT_EQ(grid.RowHeights(3), 40);
  EXPECT_EQ(grid.Cells(2, 5), "");

  grid.SetSelection({2, 5, 1, 3});  // normalised; the current cell is its bottom-right
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 3, 2, 5}));
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(grid.Row(), 5);
  grid.SetRowCount(4);
  grid.SetColCount(2);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 3, 1, 3}));
  EXPECT_THROW(grid.Cells(2, 0), host::EInvalidGridOperation);
}

TEST(GridRegistration, TheClassIsFoundByNameAndKeepsTheHideListOutOfFiles) {
  RegisterVLStrGrid();
  const host::ClassInfo* cls = host::GetClass("TVLStrGrid");
  ASSERT_NE(cls, nullptr);
  TVLStrGrid grid(nullptr);
  host::TStringList hidden;
  grid.HideThese = &hidden;
  const host::PropInfo* p = host::GetPropInfo(grid, "HideThese");
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->IsStoredValue(grid));
  ASSERT_NE(host::GetPropInfo(grid, "ColCount"), nullptr);
}

}  // namespace
}  // namespace vorlect::grid
