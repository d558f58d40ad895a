#include <climits>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "VleTestUtil.h"
#include "host/ports/Ports.h"
#include "platform/Files.h"
#include "platform/Registry.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorlect;
using namespace vorlect::vle;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;
using ::testing::ElementsAre;

namespace {

using SettingsTest = vle::test::VleTest;

TEST_F(SettingsTest, EditorDefaultsWithoutStoredValues) {
  const TEditorSettings s = ReadEditorSettings(3, 400);
  EXPECT_EQ(std::tie(s.x, s.y, s.w, s.h, s.Max, s.FindAllColumns), std::make_tuple(100, 100, 500, 300, false, true));
  EXPECT_EQ(std::tie(s.FontSize, s.FontName, s.FontStyle), std::make_tuple(8, std::string("MS Sans Serif"), 0));
  EXPECT_THAT(s.ColWidths, ElementsAre(99, 99, 99, 99));  // four columns sharing 400 pixels
  // The key is created in the user's hive only.
  EXPECT_TRUE(platform::Registry(HKEY_CURRENT_USER).KeyExists(kSettingsKey));
  EXPECT_FALSE(platform::Registry(HKEY_LOCAL_MACHINE).KeyExists(kSettingsKey));
}

TEST_F(SettingsTest, EditorValuesAreClamped) {
  {
    auto reg = Settings(HKEY_CURRENT_USER);
    reg.WriteInteger("x", -40);
    reg.WriteInteger("y", INT_MIN);
    reg.WriteInteger("w", 50);
    reg.WriteInteger("h", 99);
    reg.WriteInteger("Max", 7);
    reg.WriteInteger("FindAllColumns", 0);
    reg.WriteInteger("FontSize", 2);
    reg.WriteString("FontName", std::string(100, 'A'));
    reg.WriteInteger("FontStyle", 0x1F);
  }
  TEditorSettings s = ReadEditorSettings(1, 400);
  EXPECT_EQ(s.x, 40);
  EXPECT_EQ(s.y, INT_MAX);
  EXPECT_EQ(s.w, 100);
  EXPECT_EQ(s.h, 100);
  EXPECT_TRUE(s.Max);
  EXPECT_FALSE(s.FindAllColumns);
  EXPECT_EQ(s.FontSize, 5);
  EXPECT_EQ(s.FontName, std::string(80, 'A'));
  EXPECT_EQ(s.FontStyle, 0xF);

  Settings(HKEY_CURRENT_USER).WriteInteger("FontSize", 99);
  EXPECT_EQ(ReadEditorSettings(1, 400).FontSize, 60);
  Settings(HKEY_CURRENT_USER).WriteInteger("FontSize", 60);
  EXPECT_EQ(ReadEditorSettings(1, 400).FontSize, 60);
}

TEST_F(SettingsTest, ValueOfWrongTypeKeepsDefault) {
  {
    auto reg = Settings(HKEY_CURRENT_USER);
    reg.WriteString("w", "wide");
    reg.WriteInteger("FontName", 12);
    reg.WriteString("Col0", "30");
  }
  const TEditorSettings s = ReadEditorSettings(1, 300);
  EXPECT_EQ(s.w, 500);
  EXPECT_EQ(s.FontName, "MS Sans Serif");
  // A present but unreadable width keeps the equal width, clamped like any stored one.
  EXPECT_THAT(s.ColWidths, ElementsAre(149, 149));
}

TEST_F(SettingsTest, ColumnWidthsStopAtFirstMissingValue) {
  {
    auto reg = Settings(HKEY_CURRENT_USER);
    reg.WriteInteger("w", 600);
    reg.WriteInteger("Col0", 5);     // at least 20
    reg.WriteInteger("Col1", 601);   // wider than the window: half of it
    reg.WriteInteger("Col3", 77);    // after the gap: never read
    reg.WriteInteger("Col5", 77);    // beyond the languages
  }
  EXPECT_THAT(ReadEditorSettings(4, 500).ColWidths, ElementsAre(20, 300, 99, 99, 99));
  Settings(HKEY_CURRENT_USER).WriteInteger("Col2", 600);  // exactly the window width stays
  EXPECT_THAT(ReadEditorSettings(4, 500).ColWidths, ElementsAre(20, 300, 600, 77, 99));
}

TEST_F(SettingsTest, EditorValuesRoundTrip) {
  TEditorSettings s;
  s.x = 12;
  s.y = 34;
  s.w = 640;
  s.h = 480;
  s.Max = true;
  s.FindAllColumns = false;
  s.ColWidths = {50, 60, 70};
  s.FontSize = 11;
  s.FontName = "Arial";
  s.FontStyle = 5;
  WriteEditorSettings(s, 2);
  EXPECT_EQ(ReadEditorSettings(2, 1000), s);
  // Only columns 0 to the number of languages are written; booleans as 0 or 1.
  auto reg = Settings(HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.ValueExists("Col3"));
  EXPECT_EQ(reg.ReadInteger("Max"), 1);
  EXPECT_EQ(reg.ReadInteger("FindAllColumns"), 0);
  EXPECT_FALSE(platform::Registry(HKEY_LOCAL_MACHINE).KeyExists(kSettingsKey));
}

TEST_F(SettingsTest, ExpertValuesDefaultsStoredAndClamped) {
  LoadExpertSettings();
  EXPECT_TRUE(InfoEsc);
  EXPECT_TRUE(InfoSel);
  EXPECT_EQ(CSVType, 2);
  // Both hives get the key.
  EXPECT_TRUE(platform::Registry(HKEY_CURRENT_USER).KeyExists(kSettingsKey));
  EXPECT_TRUE(platform::Registry(HKEY_LOCAL_MACHINE).KeyExists(kSettingsKey));

  {
    auto reg = Settings(HKEY_CURRENT_USER);
    reg.WriteInteger("InfoEsc", 0);
    reg.WriteInteger("InfoSel", -3);
    reg.WriteInteger("CSVType", 1);
  }
  LoadExpertSettings();
  EXPECT_FALSE(InfoEsc);
  EXPECT_TRUE(InfoSel);
  EXPECT_EQ(CSVType, 1);

  Settings(HKEY_CURRENT_USER).WriteInteger("CSVType", 7);
  LoadExpertSettings();
  EXPECT_EQ(CSVType, 2);

  CSVType = 0;
  InfoSel = false;
  SaveExpertSettings();
  auto reg = Settings(HKEY_CURRENT_USER);
  EXPECT_EQ(reg.ReadInteger("CSVType"), 0);
  EXPECT_EQ(reg.ReadInteger("InfoSel"), 0);
  EXPECT_EQ(reg.ReadInteger("InfoEsc"), 0);
  EXPECT_FALSE(Settings(HKEY_LOCAL_MACHINE).ValueExists("InfoSel"));
}

TEST_F(SettingsTest, NoticeFlagFollowsCheckBoxAndSurvivesRestart) {
  ASSERT_TRUE(InfoEsc);
  {
    TFrmPressKey notice(kNoticeEsc, InfoEsc);
    EXPECT_EQ(notice.Notice(), "Hit ESC to return to the editor.");
    EXPECT_FALSE(notice.CheckBoxChecked());
    notice.CheckBoxClick();
    EXPECT_TRUE(notice.CheckBoxChecked());
    EXPECT_FALSE(InfoEsc);
    notice.CheckBoxClick();
    EXPECT_TRUE(InfoEsc);
    notice.CheckBoxClick();
  }
  EXPECT_FALSE(InfoEsc);
  SaveExpertSettings();
  InfoEsc = true;
  LoadExpertSettings();
  EXPECT_FALSE(InfoEsc);

  TFrmPressKey again(kNoticeSelExport, InfoSel);
  EXPECT_FALSE(again.CheckBoxChecked());
  bool off = false;
  EXPECT_TRUE(TFrmPressKey(kNoticeSelImport, off).CheckBoxChecked());

  InfoSel = false;
  ResetNotices();
  EXPECT_TRUE(InfoEsc);
  EXPECT_TRUE(InfoSel);
}

TEST_F(SettingsTest, NoticesGoToTheInstalledDialogOrTheMessagePort) {
  ports::ScriptedPorts scripted;
  ports::ScopedPorts scope(scripted);
  ShowNotice(kNoticeSelExport, InfoSel);
  ASSERT_EQ(scripted.messages().size(), 1u);
  EXPECT_EQ(scripted.messages()[0].text, kNoticeSelExport);
  EXPECT_EQ(scripted.messages()[0].type, ports::mtInformation);

  // A dialog whose box the user ticks: the flag is off, and the notice does not come again.
  std::vector<std::string> shown;
  SetNoticeHandler([&](const std::string& notice, bool& flag) {
    shown.push_back(notice);
    flag = false;
  });
  ShowNotice(kNoticeSelImport, InfoSel);
  ShowNotice(kNoticeSelImport, InfoSel);
  EXPECT_EQ(shown, std::vector<std::string>{kNoticeSelImport});
  EXPECT_FALSE(InfoSel);
  EXPECT_EQ(scripted.messages().size(), 1u);
  SetNoticeHandler({});
}

}  // namespace

// Two processes saving different language lists at once: the stored list is one of the two,
// never a mix, and a read-only hive is refused naming the file.
TEST_F(SettingsTest, LanguageListsSavedAtOnceDoNotMix) {
  host::TStringList longNames, longIds, shortNames, shortIds;
  for (const char* id : {"1031", "1036", "1040", "1049", "1053", "1044"}) {
    longNames.Add(std::string("L") + id);
    longIds.Add(id);
  }
  for (const char* id : {"1033", "2057", "3081"}) {
    shortNames.Add(std::string("S") + id);
    shortIds.Add(id);
  }
  std::fflush(nullptr);
  std::vector<pid_t> children;
  for (int k = 0; k < 2; ++k) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      for (int i = 0; i < 15; ++i) SaveLanguages(k ? longNames : shortNames, k ? longIds : shortIds);
      ::_exit(0);
    }
    children.push_back(pid);
  }
  // Meanwhile each list read is one of the two.
  host::TStringList names, ids;
  const std::vector<std::string> longList = {"1031", "1036", "1040", "1049", "1053", "1044"};
  const std::vector<std::string> shortList = {"1033", "2057", "3081"};
  auto idsOf = [](const host::TStringList& l) {
    std::vector<std::string> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
    return v;
  };
  for (int i = 0; i < 30; ++i) {
    LoadLanguages(names, ids);
    if (ids.Count() == 0) continue;  // not saved yet
    const auto got = idsOf(ids);
    // A short list saved over a long one leaves the long one's tail behind the deleted value.
    EXPECT_TRUE(got == longList || got == shortList) << ::testing::PrintToString(got);
  }
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  LoadLanguages(names, ids);
  const auto final = idsOf(ids);
  EXPECT_TRUE(final == longList || final == shortList) << ::testing::PrintToString(final);

  const std::string hive = platform::HiveFileName(HKEY_LOCAL_MACHINE);
  ASSERT_EQ(::chmod(hive.c_str(), 0444), 0);
  const std::string before = platform::ReadFile(hive);
  try {
    if (final == longList) SaveLanguages(shortNames, shortIds);
    else SaveLanguages(longNames, longIds);
    ADD_FAILURE() << "a read-only hive was written";
  } catch (const platform::RegistryError& e) {
    EXPECT_EQ(std::string(e.what()), hive + ": read-only file");
  }
  EXPECT_EQ(platform::ReadFile(hive), before);
}
