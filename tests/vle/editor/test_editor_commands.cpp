// The editing commands on the grid: modes, clipboard, rows, languages, smart fill, find and
// replace, duplicates, sort, hide list, positions, font cells and the CSV file commands.
#include "EditorTestUtil.h"

#include <filesystem>

#include "host/framework/Streaming.h"
#include "platform/Files.h"

namespace vorlect::vle::test {
namespace {

using namespace vorlect::ports;
using Rows = std::vector<std::vector<std::string>>;

class CommandTest : public EditorTest {
protected:
  TFEditVorlect& Open(const std::vector<std::string>& words, int languages = 2, const std::string& more = "") {
    form_ = Load("    Languages = " + std::to_string(languages) + "\n" + StringsProp("Words", words) + more,
                 "  object Button1: TButton\n  end\n  object Label1: TLabel\n  end\n");
    return Edit();
  }
};

TEST_F(CommandTest, ShiftWithNavigationKeysOrMouseSwitchesModes) {
  TFEditVorlect& e = Open({"A", "1", "2", "B", "3", "4"});
  e.KeyDown(VK_DOWN, ssShift);
  EXPECT_EQ(e.Mode(), TEditMode::SelectRange);
  EXPECT_EQ(e.StatusModeText(), "Select range mode");
  EXPECT_FALSE(e.Grid().Options.Contains(host::goEditing));
  e.Grid().SetSelection({1, 3, 2, 2});
  e.KeyDown(VK_LEFT, 0);  // back to edit mode at the selection's top-left
  EXPECT_EQ(e.Mode(), TEditMode::Edit);
  EXPECT_EQ(e.Grid().Col(), 1);
  EXPECT_EQ(e.Grid().Row(), 2);
  e.KeyDown('A', ssShift);  // not a navigation key
  EXPECT_EQ(e.Mode(), TEditMode::Edit);

  e.MouseDown(TMouseButton::mbLeft, ssShift, 70, 60);
  e.MouseMove(ssShift, 72, 61);
  EXPECT_FALSE(e.SelectCell(2, 3));
  EXPECT_EQ(e.Mode(), TEditMode::SelectRange);
  EXPECT_EQ(e.TakePendingShiftClick(), (TPoint{72, 61}));
  EXPECT_EQ(e.TakePendingShiftClick(), std::nullopt);
  e.MouseMove(0, 72, 61);
  EXPECT_TRUE(e.SelectCell(0, 3));
  EXPECT_EQ(e.Mode(), TEditMode::Edit);
  EXPECT_FALSE(e.DeleteLanguageEnabled());
}

TEST_F(CommandTest, ArrowKeysKeepAtMostOneEmptyRowBelow) {
  TFEditVorlect& e = Open({"A", "1", "2"});
  ASSERT_EQ(e.Grid().RowCount(), 4);
  e.Grid().SetCurrent(1, 2);
  EXPECT_TRUE(e.KeyUp(VK_UP, 0));  // on the last row but one: the blank last row goes
  EXPECT_EQ(e.Grid().RowCount(), 3);
  EXPECT_FALSE(e.KeyUp(VK_DOWN, 0));  // on the last row with a key: a new row
  EXPECT_EQ(e.Grid().RowCount(), 4);
  EXPECT_EQ(e.Grid().Row(), 3);
  EXPECT_EQ(e.EmptyFields(), 2);
  EXPECT_FALSE(e.KeyUp(VK_DOWN, 0));  // its key is empty: nothing more
  EXPECT_EQ(e.Grid().RowCount(), 4);
}

TEST_F(CommandTest, RangeCopyAndPasteRoundTrip) {
  TFEditVorlect& e = Open({"A", "x1", "x2", "B", "y1", "y2", "C", "z1", ""});
  e.Grid().SetCurrent(1, 2);
  e.KeyDown(VK_DOWN, ssShift);
  e.Grid().SetSelection({1, 2, 2, 3});
  e.Copy();
  EXPECT_EQ(e.Mode(), TEditMode::Edit);
  EXPECT_EQ(ports_.GetClipboardText(), "x1\tx2\r\ny1\ty2\r\n");
  // At column 1 of the last row: one row appended, none more.
  e.Grid().SetCurrent(1, e.Grid().RowCount() - 1);
  e.Paste();
  EXPECT_EQ(Data(), (Rows{{"A", "x1", "x2"}, {"B", "y1", "y2"}, {"C", "z1", ""}, {"", "x1", "x2"}, {"", "y1", "y2"}}));
  EXPECT_EQ(e.EmptyFields(), 1);

  ports_.SetClipboardText("p\tq\tr\ts");  // more fields than columns right of the cursor
  e.Grid().SetCurrent(2, 2);
  e.Paste();
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "x1", "p"}));

  e.Grid().SetCurrent(0, 2);
  ports_.queueAnswer(mrAbort);
  e.Paste();
  EXPECT_EQ(Messages().back(), (Shown{"You must not paste into this column.", mtError, {mbAbort}}));
  EXPECT_EQ(Row(2)[0], "A");

  e.KeyDown(VK_DOWN, ssShift);
  e.Grid().SetSelection({1, 3, 2, 4});
  e.Cut();
  EXPECT_EQ(ports_.GetClipboardText(), "y1\ty2\r\nz1\t\r\n");
  EXPECT_EQ(Row(3), (std::vector<std::string>{"B", "", ""}));
  e.Grid().SetCurrent(1, 2);
  e.Delete();  // edit mode: the current cell only, clipboard untouched
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "", "p"}));
  EXPECT_EQ(ports_.GetClipboardText(), "y1\ty2\r\nz1\t\r\n");
}

TEST_F(CommandTest, RowsInsertDeleteAndKeepOneDataRow) {
  TFEditVorlect& e = Open({"A", "1", "2", "\"", "3", "4", "\".Hint", "5", "6", "B", "7", "8"});
  e.Grid().SetCurrent(1, 3);
  e.InsertRow();
  EXPECT_EQ(Row(3), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(Row(4)[1], "3");
  e.Grid().SetCurrent(1, 2);
  e.DeleteRows();  // only the row itself: the empty key below starts a block of its own
  EXPECT_EQ(Data()[0], (std::vector<std::string>{"", "", ""}));
  e.DeleteRows();  // the empty-key row with the continuation rows below it
  EXPECT_EQ(Data(), (Rows{{"B", "7", "8"}, {"", "", ""}}));
  e.DeleteRows();
  e.DeleteRows();
  EXPECT_EQ(Data(), (Rows{{"", "", ""}}));
  EXPECT_EQ(e.Grid().Row(), 2);
}

TEST_F(CommandTest, InsertAndDeleteLanguageCarryTitlesFontCellsAndCodes) {
  form_ = Load("    Languages = 2\n" + StringsProp("Words", {"A", "1", "2"}) + StringsProp("CharSets", {"Arial,0", "Courier,204"}));
  TFEditVorlect& e = Edit();
  e.Grid().SetCurrent(1, 2);
  e.InsertLanguage();
  EXPECT_EQ(Row(0), (std::vector<std::string>{"index", "language 0", "", "language 1"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"Font/Charset", "Arial, ANSI_CHARSET", "MS Sans Serif, DEFAULT_CHARSET",
                                              "Courier, RUSSIAN_CHARSET"}));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "1", "", "2"}));
  EXPECT_EQ(e.Grid().CharsetCode(2), 1);
  EXPECT_EQ(e.Grid().CharsetCode(3), 204);

  e.Grid().SetCurrent(1, 2);
  ports_.queueAnswer(mrNo);
  e.DeleteLanguage();
  EXPECT_EQ(e.Grid().ColCount(), 4);
  ports_.queueAnswer(mrYes);
  e.DeleteLanguage();
  EXPECT_EQ(Messages().back(), (Shown{"Do you really want to delete\rlanguage \"language 0\"?", mtConfirmation, {mbYes, mbNo}}));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "", "2"}));
  EXPECT_EQ(e.Grid().CharsetCode(2), 204);
  ASSERT_TRUE(e.Accept());
  EXPECT_EQ(Lines(*Vorlect().CharSets()), (std::vector<std::string>{"MS Sans Serif,1", "Courier,204"}));
  EXPECT_EQ(Words(), (std::vector<std::string>{"A", "", "2"}));
}

TEST_F(CommandTest, ColumnMovesAskAndWriteOrGoBack) {
  TFEditVorlect& e = Open({"A", "one", "eins"});
  ports_.queueAnswer(mrOk);
  e.Grid().MoveColumn(2, 1);  // the window's title drag
  EXPECT_EQ(Messages().back(),
            (Shown{"You just moved column 2 to 1. You should\rdo so in all other forms in your project also.\r\r"
                   "Is this intended or do you want to cancel?",
                   mtConfirmation, mbOKCancel}));
  EXPECT_EQ(Words(), (std::vector<std::string>{"A", "eins", "one"}));
  EXPECT_EQ(Row(0), (std::vector<std::string>{"index", "language 0", "language 1"}));
  e.Cancel();  // does not undo the write
  EXPECT_EQ(Words(), (std::vector<std::string>{"A", "eins", "one"}));

  TFEditVorlect& f = Edit();
  ports_.queueAnswer(mrCancel);
  f.Grid().MoveColumn(1, 2);
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "eins", "one"}));
  EXPECT_EQ(f.Grid().ColWidths(0), 64);
  ports_.queueAnswer(mrAbort);
  f.Grid().MoveColumn(2, 0);
  EXPECT_EQ(Messages().back(), (Shown{"You must not move a language to this column.", mtError, {mbAbort}}));
  ports_.queueAnswer(mrAbort);
  f.Grid().MoveColumn(0, 1);
  EXPECT_EQ(Messages().back(), (Shown{"You must not move the index column.", mtError, {mbAbort}}));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "eins", "one"}));
  EXPECT_EQ(Row(1)[0], "Font/Charset");
}

TEST_F(CommandTest, SmartFillUsesTheTableThenOtherComponents) {
  TFEditVorlect& e = Open({"Button1", "Yes", "Ja", "-", "Button2", "Yes", "", "", "Label1", "No", "Nein", "Non", "Label2", "No", "", ""}, 3);
  // Another component with the same number of languages, found through the global list.
  host::TComponent* other = host::LoadForm("object Form2: TForm\n  object V: TVorlect\n    Languages = 3\n" +
                                               StringsProp("Words", {"X", "Yes", "  ", "Oui", "Y", "Yes", "Jawohl", "Si"}) +
                                               "  end\nend\n")
                                .release();
  std::unique_ptr<host::TComponent> keep(other);
  e.Grid().SetCurrent(3, 5);
  e.TranslateOne();
  EXPECT_EQ(Row(3), (std::vector<std::string>{"Button2", "Yes", "Ja", ""}));
  EXPECT_EQ(e.Grid().Col(), 2);
  EXPECT_EQ(e.Grid().Row(), 3);
  e.TranslateAll();
  // Button2's French: the table's Button1 has "-"; Label2 takes Label1's texts.
  EXPECT_EQ(Data(), (Rows{{"Button1", "Yes", "Ja", "-"},
                          {"Button2", "Yes", "Ja", "-"},
                          {"Label1", "No", "Nein", "Non"},
                          {"Label2", "No", "Nein", "Non"},
                          {"", "", "", ""}}));
  EXPECT_TRUE(ports_.messages().empty());
  const int counted = e.EmptyFields();  // kept without a recount
  e.Recount();
  EXPECT_EQ(e.EmptyFields(), counted);
  EXPECT_EQ(counted, 3);

  // Only the other component knows it; a blank text there does not count.
  TFEditVorlect& f = Open({"Button3", "Yes", "", ""}, 3);
  f.TranslateAll();
  EXPECT_EQ(Data()[0], (std::vector<std::string>{"Button3", "Yes", "Jawohl", "Oui"}));
}

TEST_F(CommandTest, RowsMatchingOnlyInAnEmptyCellStillCount) {
  TFEditVorlect& e = Open({"A", "x", "", "", "B", "", "y", ""}, 3);
  e.TranslateOne();
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "x", "y", ""}));
}

TEST_F(CommandTest, FindStepsThroughCellsAndAsksAtTheEnd) {
  TFEditVorlect& e = Open({"A", "apple", "Apfel", "B", "pear", "Birne", "C", "APPLE", "x"});
  e.FindColumnRangeClick(false);  // Current: the cursor column only
  e.Grid().SetCurrent(1, 4);
  EXPECT_TRUE(e.FindNext({"apple", false, false}));
  EXPECT_EQ(e.Grid().Row(), 2);
  ports_.queueAnswer(mrYes);
  EXPECT_TRUE(e.FindNext({"apple", false, false}));  // up: wraps to the last row
  EXPECT_EQ(Messages().back(), (Shown{"The string could not be found.\rContinue searching from top?", mtInformation, {mbYes, mbNo}}));
  EXPECT_EQ(e.Grid().Row(), 4);
  EXPECT_EQ(e.Grid().Col(), 1);

  e.FindColumnRangeClick(true);
  e.Grid().SetCurrent(1, 2);
  EXPECT_TRUE(e.FindNext({"APPLE", true, true}));
  EXPECT_EQ(e.Grid().Row(), 4);
  ports_.queueAnswer(mrNo);
  EXPECT_FALSE(e.FindNext({"nowhere", true, false}));
  EXPECT_EQ(e.Grid().Row(), 4);
}

TEST_F(CommandTest, ReplaceChangesTheFirstOccurrenceAndMovesOn) {
  TFEditVorlect& e = Open({"A", "cabab", "ab"});
  e.Grid().SetCurrent(0, 2);
  EXPECT_TRUE(e.Replace({"ab", true, true}, "x"));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "cxab", "ab"}));
  EXPECT_EQ(e.Grid().Col(), 1);
  ports_.queueAnswer(mrYes);
  ports_.queueAnswer(mrNo);
  e.ReplaceAll({"AB", true, false}, "x");
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "cxx", "x"}));
  EXPECT_EQ(Messages().back().text, "The string could not be found.\rContinue searching from top/bottom?");
}

TEST_F(CommandTest, DuplicatesReportTheNearestPairFromTheBottom) {
  TFEditVorlect& e = Open({"Button1", "", "", "Label1", "", "", "\"", "", "", "BUTTON1", "", "", "Label2", "", ""});
  e.Duplicates();
  EXPECT_EQ(Messages().back(), (Shown{"A duplicate was found 3 lines above.", mtWarning, {mbOK}}));
  EXPECT_EQ(e.Grid().Row(), 5);
  EXPECT_EQ(e.Grid().Col(), 0);
  TFEditVorlect& f = Open({"Button1", "", "", "\"", "", "", "\"", "", ""});
  f.Duplicates();
  EXPECT_EQ(Messages().back(), (Shown{"No duplicate entries could be found.", mtInformation, {mbOK}}));
}

TEST_F(CommandTest, EmptyFieldWalksRightThenDownAndWraps) {
  TFEditVorlect& e = Open({"A", "1", "", "B", "", "4"});
  e.Grid().SetCurrent(2, 2);
  e.EmptyField();
  EXPECT_EQ(e.Grid().Col(), 1);
  EXPECT_EQ(e.Grid().Row(), 3);
  e.EmptyField();
  EXPECT_EQ(e.Grid().Row(), 4);  // the trailing row
  e.Grid().SetCells(1, 3, "3");
  e.Grid().SetCells(2, 2, "2");
  e.Grid().SetRowCount(4);
  e.EmptyField();
  EXPECT_EQ(Messages().back(), (Shown{"There are no empty entries in this table.", mtInformation, {mbOK}}));
}

TEST_F(CommandTest, SortMovesWholeBlocksWithinStretches) {
  TFEditVorlect& e = Open({"Label1", "l", "", "\".Hint", "lh", "", "%Form%", "f", "", "button1", "b", "", "\"", "b2", "",
                           "", "gap", "", "Zed", "z", "", "Abc", "a", ""});
  e.Grid().SetRowHeights(2, 55);  // Label1's row
  e.Sort();
  EXPECT_EQ(e.Grid().RowHeights(5), 55);
  EXPECT_EQ(Data(), (Rows{{"%Form%", "f", ""},
                          {"button1", "b", ""},
                          {"\"", "b2", ""},
                          {"Label1", "l", ""},
                          {"\".Hint", "lh", ""},
                          {"", "gap", ""},
                          {"Abc", "a", ""},
                          {"Zed", "z", ""},
                          {"", "", ""}}));
}

TEST_F(CommandTest, ToggleAndReFilterWorkOnTheComponentsHideList) {
  TFEditVorlect& e = Open({"Button1", "b", "", "\"", "b2", "", "Label1", "l", "", "\"", "l2", ""});
  e.Grid().SetCurrent(1, 3);
  e.Toggle();
  EXPECT_EQ(Lines(*Vorlect().DoNot()), (std::vector<std::string>{"Button1"}));
  e.Grid().SetCurrent(0, 4);
  e.DblClick();
  EXPECT_EQ(Lines(*Vorlect().DoNot()), (std::vector<std::string>{"Button1", "Label1"}));
  e.ReFilter();
  EXPECT_EQ(Data(), (Rows{{"", "", ""}}));
}

TEST_F(CommandTest, CompressPositionsKeepsOnlyDifferingLinesOfThingsOnTheForm) {
  form_ = Load("    Languages = 2\n" +
                   StringsProp("Positions", {"%Form%,1.2.3.4,1.2.3.5", "button1,1.1.1.1,1.1.1.1", "label1,1.1.1.1,2.2.2.2",
                                             "gone,1.1.1.1,2.2.2.2", "%Form%,1.2.3.4,1.2.3.4"}),
               "  object Button1: TButton\n  end\n  object Label1: TLabel\n  end\n");
  TFEditVorlect& e = Edit();
  e.CompressPositions();
  EXPECT_EQ(Lines(*Vorlect().Positions()), (std::vector<std::string>{"%Form%,1.2.3.4,1.2.3.5", "label1,1.1.1.1,2.2.2.2"}));
  EXPECT_TRUE(Vorlect().PositionsLocked);
  EXPECT_EQ(Messages().back(), (Shown{"3 positions removed,\r2 positions remain", mtInformation, {mbOK}}));
}

TEST_F(CommandTest, ClickingAFontCellOpensTheFontDialog) {
  TFEditVorlect& e = Open({"A", "1", "2"});
  for (int k = 0; k < 3; ++k) e.Grid().SetColWidths(k, 100);
  for (int r = 0; r < e.Grid().RowCount(); ++r) e.Grid().SetRowHeights(r, 20);
  std::vector<std::pair<std::string, std::string>> asked;
  e.SelectFont = [&](const std::string& font, const std::string& charset) -> std::optional<TFontChoice> {
    asked.emplace_back(font, charset);
    return TFontChoice{"Tahoma", "greek_charset"};
  };
  e.MouseDown(TMouseButton::mbLeft, 0, 150, 30);
  e.MouseUp(TMouseButton::mbLeft, 0, 152, 30);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], (std::pair<std::string, std::string>{"Arial", "ANSI_CHARSET"}));
  EXPECT_EQ(Row(1)[1], "Tahoma, GREEK_CHARSET");
  EXPECT_EQ(e.Grid().CharsetCode(1), 161);
  // Near a column border, or in another row: no dialog.
  e.MouseDown(TMouseButton::mbLeft, 0, 196, 30);
  e.MouseUp(TMouseButton::mbLeft, 0, 196, 30);
  e.MouseDown(TMouseButton::mbLeft, 0, 150, 50);
  e.MouseUp(TMouseButton::mbLeft, 0, 150, 50);
  EXPECT_EQ(asked.size(), 1u);
  // A choice without a character set of the table never reaches the cell.
  EXPECT_FALSE(e.ChangeFontCell(2, "Arial", ""));
  EXPECT_FALSE(e.ChangeFontCell(2, "", "ANSI_CHARSET"));
  EXPECT_EQ(Row(1)[2], "Arial, ANSI_CHARSET");
}

TEST_F(CommandTest, DisappearShowsTheNoticeWhileItsFlagIsSet) {
  TFEditVorlect& e = Open({"A", "1", "2"});
  int shown = 0;
  e.Disappear([&](TFrmPressKey& notice) {
    ++shown;
    EXPECT_EQ(notice.Notice(), "Hit ESC to return to the editor.");
    notice.CheckBoxClick();
  });
  EXPECT_FALSE(InfoEsc);
  e.Disappear([&](TFrmPressKey&) { ++shown; });
  EXPECT_EQ(shown, 1);
}

TEST_F(CommandTest, CsvCommandsShareTheFileNameAndWriteWholeFiles) {
  TFEditVorlect& e = Open({"Button1", "OK", "Ja", "\"", "Cancel", ""});
  const std::string path = dir_ + "/table.csv";
  ports_.queueFile(path);
  ASSERT_TRUE(e.ExportCsv());
  ASSERT_EQ(ports_.fileDialogs().size(), 1u);
  EXPECT_TRUE(ports_.fileDialogs()[0].save);
  EXPECT_EQ(ports_.fileDialogs()[0].options.filter, "Export files (*.csv)|*.csv|All files (*.*)|*.*");
  EXPECT_EQ(ports_.fileDialogs()[0].options.defaultExt, "csv");
  EXPECT_EQ(platform::ReadFile(path), "$;(undefined)\r\nButton1;OK;Ja\r\n\"\"\"\";Cancel;\"\"\r\n");

  e.Grid().SetCells(1, 2, "changed");
  ports_.queueFile(path);
  ASSERT_TRUE(e.ImportCsv());
  EXPECT_EQ(ports_.fileDialogs()[1].options.title, "Import a translation");
  EXPECT_EQ(ports_.fileDialogs()[1].options.fileName, path);
  EXPECT_EQ(ports_.fileDialogs()[1].options.filter, "Import files (*.csv)|*.csv|All files (*.*)|*.*");
  EXPECT_EQ(Data(), (Rows{{"Button1", "OK", "Ja"}, {"\"", "Cancel", ""}}));
  EXPECT_EQ(e.EmptyFields(), 1);

  ports_.queueFile(std::nullopt);
  EXPECT_FALSE(e.AddCsvFile());
  EXPECT_EQ(ports_.fileDialogs()[2].options.title, "Add translations");
  EXPECT_EQ(ports_.fileDialogs()[2].options.fileName, path);

  // A file that cannot be written is reported and nothing is left behind.
  ports_.queueFile(dir_ + "/missing/table.csv");
  EXPECT_FALSE(e.ExportCsv());
  EXPECT_EQ(Messages().back().type, mtError);
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/missing"));
}

// A file read as UTF-8 (by its byte-order mark, or as the user answered) comes into each column in
// the code page of the column's character set; Cancel imports nothing.
TEST_F(CommandTest, CsvImportReadAsUtf8TakesEachColumnsCodePage) {
  TFEditVorlect& e = Open({"Button1", "OK", "Ja"}, 2, StringsProp("CharSets", {"Arial,0", "Courier,204"}));
  const std::string path = dir_ + "/ru.csv";
  const std::string rows = "$;(undefined)\r\nButton1;Caf\xC3\xA9;\xD0\x94\xD0\xB0\r\n";
  platform::WriteFileAtomic(path, "\xEF\xBB\xBF" + rows);
  ASSERT_TRUE(e.ImportCsvFrom(path));
  EXPECT_EQ(Data(), (Rows{{"Button1", "Caf\xE9", "\xC4\xE0"}}));
  EXPECT_TRUE(Messages().empty());

  platform::WriteFileAtomic(path, "$;(undefined)\r\nButton1;OK;Ja\r\n");
  ASSERT_TRUE(e.ImportCsvFrom(path));
  platform::WriteFileAtomic(path, rows);
  ports_.queueAnswer(mrCancel);
  EXPECT_FALSE(e.ImportCsvFrom(path));
  EXPECT_EQ(Data(), (Rows{{"Button1", "OK", "Ja"}}));
  ports_.queueAnswer(mrYes);
  ASSERT_TRUE(e.ImportCsvFrom(path));
  EXPECT_EQ(Data(), (Rows{{"Button1", "Caf\xE9", "\xC4\xE0"}}));
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0], (Shown{"File " + path + "\rlooks like UTF-8 - read it as UTF-8?", mtConfirmation,
                                  {mbYes, mbNo, mbCancel}}));
}

}  // namespace
}  // namespace vorlect::vle::test
