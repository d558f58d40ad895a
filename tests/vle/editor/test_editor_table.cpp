// Opening the editor on a component, writing the table back, leaving, and the settings.
#include "EditorTestUtil.h"

#include "host/framework/TypInfo.h"
#include "platform/Registry.h"
#include "runtime/VLBase.h"

namespace vorlect::vle::test {
namespace {

using namespace vorlect::ports;
using ::testing::ElementsAre;
using Rows = std::vector<std::vector<std::string>>;

const std::string kThree = "    Languages = 3\n";

class TableTest : public EditorTest {};

TEST_F(TableTest, FontCellsComeFromTheFormFontAndUnknownCodesShowAsNumbers) {
  form_ = Load(kThree);
  TFEditVorlect& e = Edit();
  EXPECT_EQ(Row(1), (std::vector<std::string>{"Font/Charset", "Arial, ANSI_CHARSET", "Arial, ANSI_CHARSET", "Arial, ANSI_CHARSET"}));
  EXPECT_EQ(Lines(*Vorlect().CharSets()), (std::vector<std::string>{"Arial,0", "Arial,0", "Arial,0"}));
  EXPECT_EQ(Row(0), (std::vector<std::string>{"index", "language 0", "language 1", "language 2"}));
  EXPECT_EQ(e.Grid().RowCount(), 3);  // one empty data row
  EXPECT_EQ(e.EmptyFields(), 3);
  EXPECT_EQ(e.StatusEmptyText(), "3 empty fields");
  EXPECT_EQ(e.StatusModeText(), "Edit mode");

  form_ = Load(kThree + StringsProp("CharSets", {"Arial,0", "Arial,7", "Courier,204"}));
  TFEditVorlect& f = Edit();
  EXPECT_EQ(Row(1)[2], "Arial, 7");
  EXPECT_EQ(Row(1)[3], "Courier, RUSSIAN_CHARSET");
  EXPECT_EQ(f.Grid().CharsetCode(2), 7);
  EXPECT_EQ(f.Grid().CharsetCode(3), 204);
}

TEST_F(TableTest, TitlesUseConfiguredNamesThenNumbers) {
  LanguageNames().Add("English");
  LanguageNames().Add("Deutsch");
  form_ = Load("    Languages = 4\n");
  Edit();
  EXPECT_EQ(Row(0), (std::vector<std::string>{"index", "English", "Deutsch", "language 2", "language 3"}));
}

TEST_F(TableTest, MalformedCharSetsKeepTheEditorShut) {
  for (const char* entry : {"Arial", "Arial,x", "Arial,", "Arial,300"}) {
    ports_.clear();
    form_ = Load("    Languages = 2\n    ActiveLanguage = 0\n" + StringsProp("CharSets", {"Arial,0", entry}));
    bool ran = false;
    EXPECT_FALSE(TFEditVorlect::Open(Vorlect(), [&](TFEditVorlect&) { ran = true; })) << entry;
    EXPECT_FALSE(ran);
    ASSERT_EQ(ports_.messages().size(), 1u) << entry;
    EXPECT_EQ(ports_.messages()[0].type, mtError);
    EXPECT_THAT(ports_.messages()[0].text, ::testing::HasSubstr(std::string("\"") + entry + "\"")) << entry;
  }
}

TEST_F(TableTest, HiddenBlocksAreNotShownAndAcceptDropsThem) {
  form_ = Load("    Languages = 2\n" +
                   StringsProp("Words", {"%Form%", "Order", "Bestellung", "Button1", "OK", "Ja", "\"", "x", "y", "\".Hint",
                                         "h", "H", "Label1", "Name", "Name"}) +
                   StringsProp("DoNot", {"BUTTON1"}),
               "  object Button1: TButton\n  end\n  object Label1: TLabel\n  end\n");
  TFEditVorlect& e = Edit();
  EXPECT_EQ(Data(), (Rows{{"%Form%", "Order", "Bestellung"}, {"Label1", "Name", "Name"}, {"", "", ""}}));
  EXPECT_EQ(e.Grid().HideThese, Vorlect().DoNot());
  ASSERT_TRUE(e.Accept());
  EXPECT_EQ(Words(), (std::vector<std::string>{"%Form%", "Order", "Bestellung", "Label1", "Name", "Name"}));
  EXPECT_TRUE(e.Closed());
  EXPECT_TRUE(e.Accepted());
}

TEST_F(TableTest, EmptyStoreAndBlankKeysWriteNothing) {
  form_ = Load("    Languages = 2\n" + StringsProp("Words", {"  ", "a", "b"}));
  TFEditVorlect& e = Edit();
  EXPECT_EQ(Data(), (Rows{{"  ", "a", "b"}, {"", "", ""}}));
  ASSERT_TRUE(e.Accept());
  EXPECT_TRUE(Words().empty());
}

TEST_F(TableTest, AnIncompleteLastEntryIsShownNotLost) {
  form_ = Load("    Languages = 2\n" + StringsProp("Words", {"Id1", "a", "b", "Id2", "c"}));
  Edit();
  EXPECT_EQ(Data(), (Rows{{"Id1", "a", "b"}, {"Id2", "c", ""}, {"", "", ""}}));
}

TEST_F(TableTest, RefusedLanguageCountLeavesTheComponentAsItWas) {
  const std::vector<std::string> words = {"Id1", "a", "b", "c"};
  form_ = Load(kThree + StringsProp("Words", words));
  TFEditVorlect& e = Edit();
  const auto charSets = Lines(*Vorlect().CharSets());
  e.Grid().SetCurrent(3, 2);
  ports_.queueAnswer(mrYes);
  e.DeleteLanguage();
  EXPECT_EQ(Data()[0], (std::vector<std::string>{"Id1", "a", "b"}));
  ports_.queueAnswer(mrNo);  // the component asks before dropping a language
  EXPECT_FALSE(e.Accept());
  EXPECT_FALSE(e.Closed());
  EXPECT_EQ(Vorlect().Languages(), 3);
  EXPECT_EQ(Words(), words);
  EXPECT_EQ(Lines(*Vorlect().CharSets()), charSets);
  ASSERT_EQ(Messages().size(), 3u);
  EXPECT_EQ(Messages()[0].text, "Do you really want to delete\rlanguage \"language 2\"?");
  EXPECT_EQ(Messages()[1].text, runtime::kMsgDecrease);
  EXPECT_EQ(Messages()[2], (Shown{"The table was not written:\rthe component keeps 3 languages.", mtWarning, {mbOK}}));

  // Answering Yes writes entries of the new length.
  ports_.queueAnswer(mrYes);
  EXPECT_TRUE(e.Accept());
  EXPECT_EQ(Vorlect().Languages(), 2);
  EXPECT_EQ(Words(), (std::vector<std::string>{"Id1", "a", "b"}));
}

TEST_F(TableTest, WithoutLanguageColumnsNothingIsWritten) {
  form_ = Load("    Languages = 1\n" + StringsProp("Words", {"Id1", "a"}));
  TFEditVorlect& e = Edit();
  e.Grid().SetCurrent(1, 2);
  ports_.queueAnswer(mrYes);
  e.DeleteLanguage();
  EXPECT_EQ(e.Grid().ColCount(), 1);
  EXPECT_FALSE(e.Accept());
  EXPECT_EQ(Vorlect().Languages(), 1);
  EXPECT_EQ(Words(), (std::vector<std::string>{"Id1", "a"}));
  EXPECT_EQ(Messages().back().type, mtError);
}

TEST_F(TableTest, FontCellThatLostItsCommaOrCharsetIsRefusedWhole) {
  form_ = Load("    Languages = 2\n" + StringsProp("Words", {"Id1", "a", "b"}));
  TFEditVorlect& e = Edit();
  const auto charSets = Lines(*Vorlect().CharSets());
  e.Grid().SetCells(1, 2, "changed");
  for (const char* bad : {"Arial ANSI_CHARSET", "Arial, NO_SUCH_CHARSET"}) {
    ports_.clear();
    e.Grid().SetCells(2, 1, bad);
    EXPECT_FALSE(e.Accept());
    EXPECT_EQ(Words(), (std::vector<std::string>{"Id1", "a", "b"}));
    EXPECT_EQ(Lines(*Vorlect().CharSets()), charSets);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].type, mtError);
    EXPECT_THAT(Messages()[0].text, ::testing::HasSubstr(bad));
  }
  // Names are matched without regard to case and written back as codes; a code stays a code.
  e.Grid().SetCells(1, 1, "Tahoma, greek_charset");
  e.Grid().SetCells(2, 1, "Arial, 7");
  EXPECT_TRUE(e.Accept());
  EXPECT_EQ(Lines(*Vorlect().CharSets()), (std::vector<std::string>{"Tahoma,161", "Arial,7"}));
}

TEST_F(TableTest, ChangeLanguageWritesAndWrapsToTheFirst) {
  form_ = Load("    Languages = 2\n    ActiveLanguage = 1\n" + StringsProp("Words", {"%Form%", "Order", "Bestellung"}));
  TFEditVorlect& e = Edit();
  e.Grid().SetCells(1, 2, "Orders");
  ASSERT_TRUE(e.ChangeLanguage());
  EXPECT_EQ(Vorlect().ActiveLanguage(), 0);
  EXPECT_EQ(Words(), (std::vector<std::string>{"%Form%", "Orders", "Bestellung"}));
  EXPECT_EQ(host::GetStrProp(*form_, "Caption"), "Orders");
  EXPECT_FALSE(e.Closed());
  ASSERT_TRUE(e.ChangeLanguage());
  EXPECT_EQ(Vorlect().ActiveLanguage(), 1);
  ASSERT_TRUE(e.ActiveMarker(2, {10, 0, 90, 20}, 30).has_value());
  EXPECT_FALSE(e.ActiveMarker(1, {10, 0, 90, 20}, 30).has_value());
  const TActiveMarker m = *e.ActiveMarker(2, {10, 0, 90, 20}, 30);
  EXPECT_EQ(m.triangle[0], (TPoint{45, 4}));
  EXPECT_EQ(m.triangle[1], (TPoint{53, 4}));
  EXPECT_EQ(m.triangle[2], (TPoint{49, 16}));
}

TEST_F(TableTest, OnlyAcceptReturnsTrueAndCancelLeavesTheComponent) {
  form_ = Load("    Languages = 2\n" + StringsProp("Words", {"Id1", "a", "b"}));
  EXPECT_TRUE(TFEditVorlect::Open(Vorlect(), [](TFEditVorlect& e) {
    e.Grid().SetCells(1, 2, "A");
    e.Accept();
  }));
  EXPECT_EQ(Words(), (std::vector<std::string>{"Id1", "A", "b"}));
  // The close box, right after an accepted editor.
  EXPECT_FALSE(TFEditVorlect::Open(Vorlect(), [](TFEditVorlect& e) { e.Grid().SetCells(1, 2, "gone"); }));
  EXPECT_FALSE(TFEditVorlect::Open(Vorlect(), [](TFEditVorlect& e) {
    e.Grid().SetCells(1, 2, "gone");
    e.Cancel();
  }));
  EXPECT_EQ(Words(), (std::vector<std::string>{"Id1", "A", "b"}));
}

TEST_F(TableTest, SettingsAreClampedOnOpeningAndWrittenOnClosing) {
  {
    platform::Registry reg(platform::HKEY_CURRENT_USER);
    reg.OpenKey(kSettingsKey, true);
    reg.WriteInteger("x", -40);
    reg.WriteInteger("w", 50);
    reg.WriteInteger("FontSize", 99);
    reg.WriteInteger("Col0", 5);
    reg.WriteInteger("Col1", 150);
    reg.WriteBool("FindAllColumns", false);
  }
  form_ = Load(kThree);
  TFEditVorlect& e = Edit();
  EXPECT_EQ(e.Settings().x, 40);
  EXPECT_EQ(e.Settings().w, 100);
  EXPECT_FALSE(e.FindAllColumns());
  EXPECT_EQ(e.Grid().GridFont.size, 60);
  EXPECT_EQ(e.Grid().DefaultRowHeight, 80 * 3 / 2);
  EXPECT_EQ(e.Grid().ColWidths(0), 20);
  EXPECT_EQ(e.Grid().ColWidths(1), 50);  // wider than the window: half of it
  const int equal = e.Grid().ClientWidth / 4 - 1;
  EXPECT_EQ(e.Grid().ColWidths(2), equal);
  EXPECT_EQ(e.Grid().ColWidths(3), equal);

  e.WindowMovedOrResized(-10, 5, 5000, 300, 1280);  // maximized: bounds stay
  EXPECT_TRUE(e.Maximized());
  e.WindowMovedOrResized(30, 20, 640, 480, 1280);
  EXPECT_FALSE(e.Maximized());
  e.FindColumnRangeClick(true);
  ports::FontSpec font;
  font.name = "Tahoma";
  font.size = 10;
  font.bold = true;
  e.SetTableFont(font);
  e.Cancel();
  platform::Registry reg(platform::HKEY_CURRENT_USER);
  reg.OpenKey(kSettingsKey, false);
  EXPECT_EQ(reg.ReadInteger("x"), 30);
  EXPECT_EQ(reg.ReadInteger("w"), 640);
  EXPECT_EQ(reg.ReadInteger("FindAllColumns"), 1);
  EXPECT_EQ(reg.ReadString("FontName"), "Tahoma");
  EXPECT_EQ(reg.ReadInteger("FontStyle"), 1);
  EXPECT_EQ(reg.ReadInteger("Col3"), equal);
  EXPECT_FALSE(reg.ValueExists("Col4"));
}

}  // namespace
}  // namespace vorlect::vle::test
