#include "host/toolservices/ToolServices.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorlect::toolservices;
namespace fs = std::filesystem;

namespace {

class ProjectTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vlprojXXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& rel, const std::string& content = "") {
    const fs::path p = dir_ / rel;
    fs::create_directories(p.parent_path());
    vorlect::platform::WriteFileAtomic(p.string(), content);
    return p.string();
  }
  fs::path dir_;
};

}  // namespace

TEST(ProjectUses, UnitsFormsCommentsAndStrings) {
  const auto units = ParseProjectUses(
      "program P; { uses Fake in 'x.pas' {NoForm} }\n"
      "(* uses Other; *) // uses Third;\n"
      "uses\n"
      "  Vcl.Forms, System . SysUtils,\n"
      "  Main in 'MAIN.PAS' {FrmMain},\n"
      "  Frame1 in 'sub\\Frame1.pas' {DemoFrame: TFrame},\n"
      "  Odd in 'it''s.pas', // no form\n"
      "  Data in 'Data.pas' { DataModule1 : TDataModule } ,\n"
      "  Last in 'Last.pas' {$R *.res};\n"
      "begin end.\n",
      "p.dpr");
  ASSERT_EQ(units.size(), 7u);
  EXPECT_EQ(units[0].name, "Vcl.Forms");
  EXPECT_EQ(units[1].name, "System.SysUtils");
  EXPECT_EQ(units[2].path, "MAIN.PAS");
  EXPECT_EQ(units[2].formName, "FrmMain");
  EXPECT_EQ(units[2].line, 5);
  EXPECT_EQ(units[3].formName, "DemoFrame");
  EXPECT_EQ(units[4].path, "it's.pas");
  EXPECT_EQ(units[4].formName, "");
  EXPECT_EQ(units[5].formName, "DataModule1");
  EXPECT_EQ(units[6].formName, "");  // a directive is not a form
}

TEST(ProjectUses, ErrorsNameFileAndLine) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"program P;\n\nbegin end.\n", "p.dpr:4: no uses clause found"},
      {"program P;\nuses\n  A in 'a.pas\n", "p.dpr:3: string not closed on its line"},
      {"program P;\nuses A,\n  B\n", "p.dpr:4: uses clause not terminated by ';'"},
      {"program P;\n{ open\nuses A;\n", "p.dpr:2: comment '{' not closed"},
      {"uses A B;", "p.dpr:1: expected ',', ';' or 'in'"},
      {"uses A in B;", "p.dpr:1: expected a quoted file name after 'in'"},
      {"uses ;", "p.dpr:1: expected a unit name"},
  };
  for (const Case& c : cases) {
    try {
      ParseProjectUses(c.text, "p.dpr");
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const ProjectFileError& e) {
      EXPECT_EQ(std::string(e.what()), c.expected);
    }
  }
}

TEST_F(ProjectTest, HeadlessHostListsFormsWithCaseInsensitivePaths) {
  Write("Main.pas");
  Write("Forms/Sub/Child.pas");
  const std::string dpr = Write("App.dpr",
                                "program App;\r\nuses\r\n  Forms,\r\n  Main in 'MAIN.PAS' {FrmMain},\r\n"
                                "  Child in 'forms\\SUB\\child.pas' {FrmChild},\r\n"
                                "  Missing in 'Gone.pas' {FrmGone},\r\n  Helpers in 'Main.pas';\r\nbegin end.\r\n");
  HeadlessHost host(dpr);
  EXPECT_EQ(host.HostProjectFile(), dpr);
  ASSERT_EQ(host.HostFormCount(), 3);
  EXPECT_EQ(host.HostFormFile(0), (dir_ / "Main.pas").string());
  EXPECT_EQ(host.HostFormFile(1), (dir_ / "Forms/Sub/Child.pas").string());
  EXPECT_EQ(host.HostFormFile(2), (dir_ / "Gone.pas").string());  // missing: as written
  EXPECT_EQ(host.HostFormName(1), "FrmChild");
  EXPECT_THROW(host.HostFormFile(3), std::out_of_range);
  EXPECT_FALSE(host.HostIsFileOpen(host.HostFormFile(0)));
  EXPECT_TRUE(host.HostSaveFile(host.HostFormFile(0)));
  EXPECT_TRUE(host.HostReloadFile(host.HostFormFile(0)));
  EXPECT_EQ(host.HostCurrentFile(), "");
  EXPECT_EQ(host.HostParentWindow(), nullptr);
}

TEST_F(ProjectTest, MissingProjectOrUsesClause) {
  EXPECT_THROW(HeadlessHost((dir_ / "none.dpr").string()), vorlect::platform::FileError);
  const std::string dpr = Write("Bad.dpr", "program Bad;\nbegin\nend.\n");
  try {
    HeadlessHost host(dpr);
    FAIL();
  } catch (const ProjectFileError& e) {
    EXPECT_EQ(std::string(e.what()), dpr + ":4: no uses clause found");
  }
}

TEST(HeadlessMenu, InsertFindClickAndHandlesGivenBack) {
  HeadlessHost host;
  EXPECT_EQ(host.HostFormCount(), 0);
  {
    auto main = host.HostMainMenu();
    ASSERT_TRUE(main);
    EXPECT_FALSE(main->Parent());
    auto tools = main->FindItem("toolsmenu");
    ASSERT_TRUE(tools);
    const int toolsIndex = tools->Index();
    const int stockItems = tools->ItemCount();  // the IDE's own, "ToolsGalleryItem" among them
    EXPECT_TRUE(tools->FindItem("ToolsGalleryItem"));
    int clicks = 0;
    auto first = tools->InsertItem(-1, "&Translate", "VLTranslateItem", "hint", 0, 0, 0, mfEnabled | mfVisible,
                                   [&](MenuItem& item) { clicks += item.Name() == "VLTranslateItem"; });
    auto before = tools->InsertItem(0, "-", "VLSeparator", "", 0, 0, 0, mfVisible, nullptr);
    EXPECT_EQ(before->Index(), 0);
    EXPECT_EQ(first->Index(), stockItems + 1);
    auto found = main->FindItem("VLTranslateItem");
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->Click());
    EXPECT_EQ(clicks, 1);
    found->SetFlags(mfEnabled, 0);
    EXPECT_FALSE(first->Click());  // both handles see the same item
    auto parent = first->Parent();
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->Name(), "ToolsMenu");
    EXPECT_EQ(parent->Index(), toolsIndex);
    EXPECT_TRUE(first->DestroyMenuItem());
    EXPECT_FALSE(main->FindItem("VLTranslateItem"));
    EXPECT_EQ(tools->ItemCount(), stockItems + 1);
    EXPECT_GT(host.LiveMenuHandles(), 0);
  }
  EXPECT_EQ(host.LiveMenuHandles(), 0);
}

TEST(HostServicesAccessor, NullMeansNoIde) {
  EXPECT_EQ(GetHostServices(), nullptr);
  HeadlessHost host;
  EXPECT_EQ(SetHostServices(&host), nullptr);
  EXPECT_EQ(GetHostServices(), &host);
  EXPECT_EQ(SetHostServices(nullptr), &host);
}

TEST(CorpusProjects, EveryFormUnitAndFormFileIsFound) {
  const fs::path projects = fs::path(VORLECT_CORPUS_DIR) / "projects";
  if (!fs::is_directory(projects)) GTEST_SKIP() << "corpus not found at " << projects;
  int checked = 0;
  for (const auto& dir : fs::directory_iterator(projects)) {
    for (const auto& file : fs::directory_iterator(dir.path())) {
      if (file.path().extension() != ".dpr") continue;
      SCOPED_TRACE(file.path().string());
      HeadlessHost host(file.path().string());
      ASSERT_GT(host.HostFormCount(), 0);
      for (int i = 0; i < host.HostFormCount(); ++i) {
        const fs::path unit = host.HostFormFile(i);
        EXPECT_TRUE(fs::exists(unit)) << unit;
        EXPECT_TRUE(fs::exists(fs::path(unit).replace_extension(".dfm"))) << unit;
        ++checked;
      }
    }
  }
  EXPECT_GE(checked, 19);
}
