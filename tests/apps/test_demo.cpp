// vorlect-demo as a script runs it: the sample's texts in a language of its table, the Russian
// texts of a string module built by `vorlect project build-dlls`, and a picture of the form.
#include "CliProjectUtil.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using vorlect::testing::Result;
using vorlect::testing::RunProgram;
using vorlect::testing::RunVorlect;

namespace {

class Demo : public vorlect::testing::WithSampleProject {
protected:
  void SetUp() override {
    WithSampleProject::SetUp();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  static Result RunDemo(const std::vector<std::string>& args) { return RunProgram(VORLECT_DEMO_EXE, args); }
  static bool Shows(const Result& r, const std::string& line) {
    return ("\n" + r.out).find("\n" + line + "\n") != std::string::npos;
  }
};

TEST_F(Demo, ShowsTheBundledSampleInTheLanguageAsked) {
  Result en = RunDemo({"--print-texts"});
  ASSERT_EQ(en.status, 0) << en.err;
  EXPECT_TRUE(Shows(en, "Orders - Café Sample")) << en.out;
  EXPECT_TRUE(Shows(en, "&Find")) << en.out;
  EXPECT_TRUE(Shows(en, "The order file Orders.ord does not exist.")) << "the message from the table, formatted\n" << en.out;
  Result de = RunDemo({Sample("Sample.dpr"), "--language", "1", "--print-texts"});
  ASSERT_EQ(de.status, 0) << de.err;
  EXPECT_TRUE(Shows(de, "Bestellungen - Café-Beispiel")) << de.out;
  EXPECT_TRUE(Shows(de, "Kunden")) << de.out;
  EXPECT_TRUE(Shows(de, "Die Bestelldatei Orders.ord gibt es nicht.")) << de.out;
  EXPECT_FALSE(Shows(de, "&Find")) << de.out;
}

TEST_F(Demo, StringModuleGivesItsRussianTexts) {
  ASSERT_NO_FATAL_FAILURE(ConfigureSampleLanguages());
  Result build = RunVorlect({"project", "build-dlls", Sample("Sample.dpr"), "Strings", "--yes"});
  ASSERT_EQ(build.status, 0) << build.out << build.err;
  Result ru = RunDemo({Sample("Sample.dpr"), "--dll", Sample("Strings3.dll"), "--print-texts"});
  ASSERT_EQ(ru.status, 0) << ru.err;
  EXPECT_TRUE(Shows(ru, "Заказы - пример «Кафе»")) << ru.out;
  EXPECT_TRUE(Shows(ru, "Сумма (€)")) << ru.out;
  EXPECT_TRUE(Shows(ru, "Файл заказов Orders.ord не существует.")) << ru.out;
  EXPECT_FALSE(Shows(ru, "Orders - Café Sample")) << ru.out;
}

TEST_F(Demo, ScreenshotAndFailures) {
  const std::string png = dir_.Path("shot.png");
  Result shot = RunDemo({Sample("Sample.dpr"), "--screenshot", png});
  ASSERT_EQ(shot.status, 0) << shot.err;
  EXPECT_EQ(vorlect::platform::ReadFile(png).substr(0, 4), "\x89PNG");

  Result missing = RunDemo({Sample("Sample.dpr"), "--dll", dir_.Path("none.dll"), "--print-texts"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Cannot load string DLL"), std::string::npos) << missing.err;
  Result noProject = RunDemo({dir_.Path("Nothing.dpr"), "--print-texts"});
  EXPECT_EQ(noProject.status, 1);
  EXPECT_NE(noProject.err.find("Nothing.dpr"), std::string::npos) << noProject.err;
  EXPECT_EQ(RunDemo({"--language", "300"}).status, 2);
}

}  // namespace
