// Undo and redo of the editor's working state: cells, shape, character-set codes, the cursor and
// the component lists the commands change at once.
#include "EditorTestUtil.h"

#include <stdexcept>

#include "vle/editor/EditorHistory.h"

namespace vorlect::vle::test {
namespace {

using namespace vorlect::ports;
using Rows = std::vector<std::vector<std::string>>;

class HistoryTest : public EditorTest {
protected:
  TFEditVorlect& Open(const std::vector<std::string>& words, int languages = 2, const std::string& more = "") {
    form_ = Load("    Languages = " + std::to_string(languages) + "\n" + StringsProp("Words", words) + more,
                 "  object Button1: TButton\n  end\n  object Label1: TLabel\n  end\n");
    return Edit();
  }
  // Every row, the fixed ones included.
  Rows Table() const {
    Rows rows;
    for (int r = 0; r < editor_->Grid().RowCount(); ++r) rows.push_back(Row(r));
    return rows;
  }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (int k = 0; k < editor_->Grid().ColCount(); ++k) codes.push_back(editor_->Grid().CharsetCode(k));
    return codes;
  }
  TCell Cursor() const { return {editor_->Grid().Col(), editor_->Grid().Row()}; }
  void Run(const std::string& label, const std::function<void()>& command) { history_.Run(*editor_, label, command); }

  TEditorHistory history_;
};

TEST_F(HistoryTest, TypingInOneCellIsOneStep) {
  TFEditVorlect& e = Open({"A", "1", "2", "B", "3", "4"});
  int notices = 0;
  history_.OnChange = [&] { ++notices; };
  for (const char* text : {"o", "on", "one\r\nuno"}) history_.SetEditText(e, 1, 2, text);  // the row grows
  const int tall = e.Grid().RowHeights(2);
  history_.SetEditText(e, 2, 3, "");  // another cell: a step of its own
  EXPECT_EQ(history_.UndoSteps(), 2u);
  EXPECT_EQ(history_.UndoLabel(), "Typing");
  EXPECT_GT(notices, 0);

  e.Grid().SetCurrent(0, 4);
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Cursor(), (TCell{2, 3}));
  EXPECT_EQ(e.EmptyFields(), 2);
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Data(), (Rows{{"A", "1", "2"}, {"B", "3", "4"}, {"", "", ""}}));
  EXPECT_LT(e.Grid().RowHeights(2), tall);
  EXPECT_FALSE(history_.Undo(e));
  ASSERT_TRUE(history_.Redo(e));
  ASSERT_TRUE(history_.Redo(e));
  EXPECT_EQ(Data(), (Rows{{"A", "one\r\nuno", "2"}, {"B", "3", ""}, {"", "", ""}}));
  EXPECT_EQ(e.Grid().RowHeights(2), tall);

  // Typing back to where the cell started leaves nothing to undo; storing the same text is no edit.
  history_.Clear();
  history_.SetEditText(e, 1, 2, "x");
  history_.SetEditText(e, 1, 2, "one\r\nuno");
  history_.SetEditText(e, 1, 2, "one\r\nuno");
  EXPECT_FALSE(history_.CanUndo());
  // After an undo the same cell starts a new step: nothing merges into a step undone.
  history_.SetEditText(e, 1, 3, "a");
  ASSERT_TRUE(history_.Undo(e));
  history_.SetEditText(e, 1, 3, "b");
  EXPECT_FALSE(history_.CanRedo());
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Row(3)[1], "3");
}

TEST_F(HistoryTest, RowCommandsUndoInTurnAndRedoToTheSameTable) {
  TFEditVorlect& e = Open({"A", "1", "2", "\"", "3", "4", "B", "5", "6"});
  e.Grid().SetEditText(1, 4, "x\r\ny");
  const Rows start = Table();
  const int tall = e.Grid().RowHeights(4);  // B's row

  e.Grid().SetCurrent(1, 2);
  Run("Insert Row", [&] { e.InsertRow(); });
  ports_.SetClipboardText("p\tq\r\nr\ts\r\n");
  e.Grid().SetCurrent(1, 6);
  Run("Paste", [&] { e.Paste(); });  // into the trailing row, and one row more
  e.Grid().SetCurrent(1, 3);
  Run("Delete Row(s)", [&] { e.DeleteRows(); });  // A with its continuation row
  const Rows end = Table();
  EXPECT_EQ(Data(), (Rows{{"", "", ""}, {"B", "x\r\ny", "6"}, {"", "p", "q"}, {"", "r", "s"}}));

  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Row(3), (std::vector<std::string>{"A", "1", "2"}));
  EXPECT_EQ(Cursor(), (TCell{1, 3}));
  EXPECT_EQ(history_.UndoLabel(), "Paste");
  ASSERT_TRUE(history_.Undo(e));
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), start);
  EXPECT_EQ(e.Grid().RowHeights(4), tall);  // moved back up with its row
  EXPECT_EQ(Cursor(), (TCell{1, 2}));
  EXPECT_EQ(e.EmptyFields(), 2);

  for (int i = 0; i < 3; ++i) ASSERT_TRUE(history_.Redo(e));
  EXPECT_EQ(Table(), end);
  EXPECT_EQ(e.Grid().RowHeights(3), tall);
}

TEST_F(HistoryTest, TheArrowKeysEmptyRowLeavesTheStepsWhole) {
  TFEditVorlect& e = Open({"A", "1", "2"});
  const Rows start = Table();
  history_.SetEditText(e, 0, 3, "B");  // a key in the trailing row
  e.Grid().SetCurrent(0, 3);
  e.KeyUp(VK_DOWN, 0);  // a new empty row below it
  ports_.SetClipboardText("p\tq");
  e.Grid().SetCurrent(1, 4);
  Run("Paste", [&] { e.Paste(); });
  ASSERT_TRUE(history_.Undo(e));
  e.Grid().SetCurrent(1, 3);
  e.KeyUp(VK_UP, 0);  // the empty row goes again
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), start);
  ASSERT_TRUE(history_.Redo(e));
  ASSERT_TRUE(history_.Redo(e));
  EXPECT_EQ(Data(), (Rows{{"A", "1", "2"}, {"B", "", ""}, {"", "p", "q"}}));
}

TEST_F(HistoryTest, LanguageColumnsComeBackWithTitlesFontCellsCodesAndWidths) {
  TFEditVorlect& e = Open({"A", "1", "2"}, 2, StringsProp("CharSets", {"Arial,0", "Courier,204"}));
  e.Grid().SetColWidths(2, 77);
  const Rows start = Table();
  e.Grid().SetCurrent(1, 2);
  Run("Insert Language", [&] { e.InsertLanguage(); });
  const Rows inserted = Table();
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), start);
  EXPECT_EQ(Codes(), (std::vector<int>{0, 0, 204}));
  EXPECT_EQ(e.Grid().ColWidths(2), 77);
  ASSERT_TRUE(history_.Redo(e));
  EXPECT_EQ(e.Grid().ColWidths(3), 77);

  e.Grid().SetCurrent(3, 2);
  ports_.queueAnswer(mrYes);
  Run("Delete Language", [&] { e.DeleteLanguage(); });
  ASSERT_EQ(e.Grid().ColCount(), 3);
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), inserted);
  EXPECT_EQ(Codes(), (std::vector<int>{0, 0, 1, 204}));
  EXPECT_EQ(e.EmptyFields(), 4);
  // Undone as far as the start, Accept gives the component the table as it was opened.
  ASSERT_TRUE(history_.Undo(e));
  ASSERT_TRUE(e.Accept());
  EXPECT_EQ(Lines(*Vorlect().CharSets()), (std::vector<std::string>{"Arial,0", "Courier,204"}));
  EXPECT_EQ(Words(), (std::vector<std::string>{"A", "1", "2"}));
}

TEST_F(HistoryTest, SortAndSmartFillAreUndoneWithTheCursor) {
  TFEditVorlect& e = Open({"Zed", "Yes", "", "\"", "z", "", "Abc", "Yes", "Ja", "Mid", "No", ""});
  const Rows start = Table();
  Run("Sort", [&] { e.Sort(); });
  const Rows sorted = Table();
  EXPECT_EQ(Row(2)[0], "Abc");
  e.Grid().SetCurrent(1, 2);
  Run("Translate 1x", [&] { e.TranslateOne(); });
  EXPECT_NE(Cursor(), (TCell{1, 2}));
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), sorted);
  EXPECT_EQ(Cursor(), (TCell{1, 2}));
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), start);

  Run("Translate All", [&] { e.TranslateAll(); });
  EXPECT_EQ(Row(2), (std::vector<std::string>{"Zed", "Yes", "Ja"}));
  EXPECT_FALSE(history_.CanRedo());  // a new step drops the steps undone
  const int filled = e.EmptyFields();
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), start);
  EXPECT_EQ(e.EmptyFields(), filled + 1);
}

TEST_F(HistoryTest, HideListAndPositionsAreRestoredInTheComponent) {
  TFEditVorlect& e = Open({"Button1", "b", "", "\"", "b2", "", "Label1", "l", ""}, 2,
                          StringsProp("Positions", {"%Form%,1.2.3.4,1.2.3.5", "gone,1.1.1.1,2.2.2.2"}));
  const Rows start = Table();
  e.Grid().SetCurrent(1, 3);
  Run("Toggle Component", [&] { e.Toggle(); });
  Run("Re-Filter", [&] { e.ReFilter(); });
  EXPECT_EQ(Data(), (Rows{{"Label1", "l", ""}, {"", "", ""}}));
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), start);
  EXPECT_EQ(Lines(*Vorlect().DoNot()), (std::vector<std::string>{"Button1"}));
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_TRUE(Vorlect().DoNot()->Count() == 0);
  ASSERT_TRUE(history_.Redo(e));
  EXPECT_EQ(Lines(*Vorlect().DoNot()), (std::vector<std::string>{"Button1"}));

  ASSERT_FALSE(Vorlect().PositionsLocked);
  Run("Compress Positions", [&] { e.CompressPositions(); });
  EXPECT_EQ(Lines(*Vorlect().Positions()), (std::vector<std::string>{"%Form%,1.2.3.4,1.2.3.5"}));
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Lines(*Vorlect().Positions()), (std::vector<std::string>{"%Form%,1.2.3.4,1.2.3.5", "gone,1.1.1.1,2.2.2.2"}));
  EXPECT_FALSE(Vorlect().PositionsLocked);
  ASSERT_TRUE(history_.Redo(e));
  EXPECT_EQ(Vorlect().Positions()->Count(), 1);
  EXPECT_TRUE(Vorlect().PositionsLocked);
  // Nothing left to compress: the lock alone is no step.
  Vorlect().PositionsLocked = false;
  const size_t steps = history_.UndoSteps();
  Run("Compress Positions", [&] { e.CompressPositions(); });
  EXPECT_EQ(history_.UndoSteps(), steps);
}

TEST_F(HistoryTest, UpdateTableIsOneStep) {
  form_ = Load("    Languages = 2\n" + StringsProp("Words", {"%Form%", "Order", "Bestellung", "Gone", "e", "f", "\"", "g", "h"}) +
                   StringsProp("DoNot", {"Nobody", "Label1"}),
               "  object Button1: TButton\n    Caption = 'OK'\n    Hint = 'Press me'\n  end\n"
               "  object Label1: TLabel\n    Caption = 'Name'\n  end\n");
  TFEditVorlect& e = Edit();
  const Rows start = Table();
  ports_.queueInput(std::nullopt);  // Gone's block goes
  Run("Update Table", [&] { e.UpdateTable(); });
  const Rows updated = Table();
  EXPECT_EQ(Lines(*Vorlect().DoNot()), (std::vector<std::string>{"Label1"}));
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), start);
  EXPECT_EQ(Lines(*Vorlect().DoNot()), (std::vector<std::string>{"Nobody", "Label1"}));
  ASSERT_TRUE(history_.Redo(e));
  EXPECT_EQ(Table(), updated);
  EXPECT_EQ(Lines(*Vorlect().DoNot()), (std::vector<std::string>{"Label1"}));
}

TEST_F(HistoryTest, CommandsThatChangeNoCellLeaveNoStep) {
  TFEditVorlect& e = Open({"A", "apple", "Apfel", "B", "pear", "Birne"});
  int notices = 0;
  history_.OnChange = [&] { ++notices; };
  Run("Find", [&] { e.FindNext({"pear", true, false}); });
  Run("Copy", [&] { e.Copy(); });
  Run("Change Language", [&] { e.ChangeLanguage(); });
  EXPECT_FALSE(history_.CanUndo());
  EXPECT_EQ(notices, 0);

  history_.SetEditText(e, 2, 2, "Apfelsaft");
  ASSERT_TRUE(history_.Undo(e));
  Run("Find", [&] { e.FindNext({"pear", true, false}); });
  EXPECT_TRUE(history_.CanRedo());  // the redo step survives a command that changed nothing
}

TEST_F(HistoryTest, UndoingAConfirmedColumnMoveRestoresTheGridOnly) {
  TFEditVorlect& e = Open({"A", "one", "eins"});
  const Rows start = Table();
  ports_.queueAnswer(mrOk);
  Run("Move Language", [&] { e.Grid().MoveColumn(2, 1); });
  EXPECT_EQ(Words(), (std::vector<std::string>{"A", "eins", "one"}));  // written at once
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Table(), start);
  EXPECT_EQ(Words(), (std::vector<std::string>{"A", "eins", "one"}));  // until Accept writes again
  ASSERT_TRUE(e.Accept());
  EXPECT_EQ(Words(), (std::vector<std::string>{"A", "one", "eins"}));
}

TEST_F(HistoryTest, AFailingCommandKeepsItsStepAndUnrecordedColumnsClearTheHistory) {
  TFEditVorlect& e = Open({"A", "1", "2"});
  EXPECT_THROW(Run("Broken", [&] {
                 e.Grid().SetCells(1, 2, "half");
                 throw std::runtime_error("stopped");
               }),
               std::runtime_error);
  EXPECT_EQ(history_.UndoLabel(), "Broken");
  ASSERT_TRUE(history_.Undo(e));
  EXPECT_EQ(Row(2)[1], "1");

  history_.SetEditText(e, 1, 2, "x");
  e.InsertLanguage();  // not recorded: the steps no longer fit the columns
  EXPECT_FALSE(history_.Undo(e));
  EXPECT_FALSE(history_.CanUndo());
  EXPECT_EQ(Row(2), (std::vector<std::string>{"A", "x", "", "2"}));
}

TEST_F(HistoryTest, StepsOfABigTableHoldWhatChangedAndStayWithinTheBudget) {
  std::vector<std::string> words;
  for (int i = 0; i < 5000; ++i)
    for (const std::string& s : {"Key" + std::to_string(i), "a rather long text number " + std::to_string(i), std::string()})
      words.push_back(s);
  TFEditVorlect& e = Open(words);
  e.Grid().SetCurrent(1, 2500);
  Run("Insert Row", [&] { e.InsertRow(); });
  Run("Delete Row(s)", [&] { e.DeleteRows(); });
  history_.SetEditText(e, 2, 100, "y");
  EXPECT_LT(history_.StoredBytes(), 4000u);

  Run("Sort", [&] { e.Sort(); });  // a large step
  const size_t large = history_.StoredBytes();
  EXPECT_GT(large, 100000u);
  ASSERT_TRUE(history_.Undo(e));

  TEditorHistory small(large / 2);
  small.SetEditText(e, 2, 2, "a");
  small.SetEditText(e, 2, 3, "b");
  small.Run(e, "Sort", [&] { e.Sort(); });
  EXPECT_EQ(small.UndoSteps(), 1u);  // the newest stays, however large
  EXPECT_EQ(small.UndoLabel(), "Sort");
  ASSERT_TRUE(small.Undo(e));
  EXPECT_EQ(Row(2)[0], "Key0");
  EXPECT_EQ(Row(3)[2], "b");
}

}  // namespace
}  // namespace vorlect::vle::test
