// Update Table: bringing the table in line with the form being designed.
#include "EditorTestUtil.h"

namespace vorlect::vle::test {
namespace {

using namespace vorlect::ports;
using Rows = std::vector<std::vector<std::string>>;

const std::string kButtons =
    "  object Button1: TButton\n    Caption = 'OK'\n    Hint = 'Press me'\n  end\n"
    "  object Label1: TLabel\n    Caption = 'Name'\n  end\n";

std::string Changed(const std::string& word, const std::string& from, const std::string& to) {
  return word + " has changed from\r\"" + from + "\"\rto\"\r" + to + "\"\rUpdate the table?";
}

class UpdateTest : public EditorTest {};

TEST_F(UpdateTest, NewComponentsAreAddedWithoutAsking) {
  form_ = Load("    Languages = 2\n" + StringsProp("Words", {"%Form%", "Order", "Bestellung", "Label1", "Name", "Name2"}), kButtons);
  TFEditVorlect& e = Edit();
  e.UpdateTable();
  EXPECT_TRUE(ports_.messages().empty());
  EXPECT_EQ(Data(), (Rows{{"%Form%", "Order", "Bestellung"},
                          {"Label1", "Name", "Name2"},
                          {"Button1", "OK", ""},
                          {"\".Hint", "Press me", ""}}));
  EXPECT_EQ(e.EmptyFields(), 2);
}

TEST_F(UpdateTest, AnEmptyTableGetsTheFormCaptionAndEveryComponent) {
  form_ = Load("    Languages = 2\n", kButtons);
  Edit().UpdateTable();
  EXPECT_EQ(Data(), (Rows{{"%Form%", "Order", ""}, {"Button1", "OK", ""}, {"\".Hint", "Press me", ""}, {"Label1", "Name", ""}}));
}

TEST_F(UpdateTest, RemovedComponentsAreRenamedOrTheirBlocksRemoved) {
  form_ = Load("    Languages = 2\n" + StringsProp("Words", {"%Form%", "Order", "Bestellung", "Button9", "a", "b", "Button9.Items", "c",
                                                            "d", "Gone", "e", "f", "\"", "g", "h", "@Id1", "i", "j",
                                                            "Label1", "Name", "Name"}),
               "  object Label1: TLabel\n    Caption = 'Name'\n  end\n");
  TFEditVorlect& e = Edit();
  Vorlect().DoNot()->Add("Nobody");
  Vorlect().DoNot()->Add("%Form%");
  ports_.queueInput("BtnOk");
  ports_.queueInput("BtnOk");
  ports_.queueInput(std::nullopt);
  e.UpdateTable();
  ASSERT_EQ(ports_.inputs().size(), 3u);
  EXPECT_EQ(ports_.inputs()[0].caption, "Component \"Button9\" removed");
  EXPECT_EQ(ports_.inputs()[0].prompt, "Enter new name or Cancel to remove entry:");
  EXPECT_EQ(ports_.inputs()[0].proposed, "Button9");
  EXPECT_EQ(ports_.inputs()[2].caption, "Component \"Gone\" removed");
  EXPECT_EQ(Data(), (Rows{{"%Form%", "Order", "Bestellung"},
                          {"BtnOk", "a", "b"},
                          {"BtnOk.Items", "c", "d"},
                          {"@Id1", "i", "j"},
                          {"Label1", "Name", "Name"}}));
  EXPECT_EQ(Lines(*Vorlect().DoNot()), (std::vector<std::string>{"%Form%"}));
}

TEST_F(UpdateTest, ChangedTextsAreOfferedAndMissingHintRowsInserted) {
  const std::string objects = kButtons + "  object Label2: TLabel\n    Caption = 'Street'\n    Hint = 'Where'\n  end\n";
  const std::vector<std::string> words = {"%Form%", "Old", "Alt", "Button1", "Cancel", "Abbruch", "\".hint", "Old hint", "Alt",
                                          "Label2", "Road", "Strasse", "\"", "x", "y", "Label1", "Name", "Name"};
  form_ = Load("    Languages = 2\n" + StringsProp("Words", words), objects);
  TFEditVorlect& e = Edit();
  ports_.queueAnswer(mrYes);
  ports_.queueAnswer(mrNo);
  ports_.queueAnswer(mrNo);
  e.UpdateTable();
  const ButtonSet four{mbYes, mbNo, mbIgnore, mbAll};
  EXPECT_EQ(Messages(), (std::vector<Shown>{{Changed("String", "Cancel", "OK"), mtConfirmation, four},
                                            {Changed("Hint", "Old hint", "Press me"), mtConfirmation, four},
                                            {Changed("String", "Road", "Street"), mtConfirmation, four}}));
  // The form's caption is written without asking; Label2's hint row goes after its block.
  EXPECT_EQ(Data(), (Rows{{"%Form%", "Order", "Alt"},
                          {"Button1", "OK", "Abbruch"},
                          {"\".hint", "Old hint", "Alt"},
                          {"Label2", "Road", "Strasse"},
                          {"\"", "x", "y"},
                          {"\".Hint", "Where", ""},
                          {"Label1", "Name", "Name"}}));
}

TEST_F(UpdateTest, IgnoreStopsComparingAndAllUpdatesTheRest) {
  const std::string objects = kButtons + "  object Label2: TLabel\n    Caption = 'Street'\n  end\n";
  const std::vector<std::string> words = {"Button1", "Cancel", "-", "\".Hint", "Old", "-", "Label1", "Nom", "-", "Label2", "Road", "-"};
  form_ = Load("    Languages = 2\n" + StringsProp("Words", words), objects);
  TFEditVorlect& e = Edit();
  ports_.queueAnswer(mrIgnore);
  e.UpdateTable();
  EXPECT_EQ(ports_.messages().size(), 1u);
  EXPECT_EQ(Data()[0], (std::vector<std::string>{"Button1", "Cancel", "-"}));
  EXPECT_EQ(Data().back(), (std::vector<std::string>{"%Form%", "Order", ""}));  // new rows still come

  ports_.clear();
  ports_.queueAnswer(mrAll);
  e.UpdateTable();
  EXPECT_EQ(ports_.messages().size(), 1u);
  EXPECT_EQ(Data(), (Rows{{"Button1", "OK", "-"},
                          {"\".Hint", "Press me", "-"},
                          {"Label1", "Name", "-"},
                          {"Label2", "Street", "-"},
                          {"%Form%", "Order", ""}}));
}


// Each text is compared with the row its capture wrote: a combo box's rows are its items, never
// its Text; a radio group's first row is its caption, the rows after it its items.
TEST_F(UpdateTest, TextsAreComparedWithTheRowsTheirCaptureWrote) {
  const std::string objects =
      "  object Combo: TComboBox\n    Text = 'Deutsch'\n    Items.Strings = (\n      'English'\n      'Deutsch')\n  end\n"
      "  object Group: TRadioGroup\n    Caption = 'Size'\n    Items.Strings = (\n      'Small'\n      'Large')\n  end\n"
      "  object Edit1: TEdit\n    Text = 'typed'\n  end\n";
  const std::vector<std::string> words = {"%Form%", "Order", "-", "Combo", "English", "Englisch", "\"", "Deutsch", "Deutsch",
                                          "Group", "Size", "Gr\xf6\xdf" "e", "\"", "Small", "Klein", "\"", "Big", "Gro\xdf",
                                          "Edit1", "typed", "getippt"};
  form_ = Load("    Languages = 2\n" + StringsProp("Words", words), objects);
  TFEditVorlect& e = Edit();
  ports_.queueAnswer(mrYes);
  e.UpdateTable();
  const ButtonSet four{mbYes, mbNo, mbIgnore, mbAll};
  EXPECT_EQ(Messages(), (std::vector<Shown>{{Changed("String", "Big", "Large"), mtConfirmation, four}}));
  EXPECT_EQ(Data()[1], (std::vector<std::string>{"Combo", "English", "Englisch"}));
  EXPECT_EQ(Data()[5], (std::vector<std::string>{"\"", "Large", "Gro\xdf"}));

  // Unchanged now: a second update asks nothing and changes nothing.
  const Rows before = Data();
  ports_.clear();
  e.UpdateTable();
  EXPECT_TRUE(ports_.messages().empty());
  EXPECT_EQ(Data(), before);
}

}  // namespace
}  // namespace vorlect::vle::test
