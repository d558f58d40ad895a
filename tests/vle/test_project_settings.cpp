#include "vle/settings/ProjectSettings.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace fs = std::filesystem;
using vorlect::vle::ProjectSettings;
using vorlect::vle::ProjectSettingsError;

namespace {

class ProjectSettingsTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vorlect-settings-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ProjectSettingsTest, PathSitsBesideTheProject) {
  EXPECT_EQ(vorlect::vle::ProjectSettingsPath("/a/b/Game.dpr"), "/a/b/Game.vorlect.json");
}

TEST_F(ProjectSettingsTest, MissingFileIsEmptyAndOtherSectionsSurviveARewrite) {
  const std::string path = (dir_ / "P.vorlect.json").string();
  auto s = ProjectSettings::Load(path);
  EXPECT_FALSE(s.Has("translate"));
  EXPECT_TRUE(s.Section("translate").is_null());

  vorlect::test::WriteAll(path, R"({"zeta": {"x": [1, 2]}, "translate": {"TKingLabel": ["Caption"]}})");
  s = ProjectSettings::Load(path);
  s.SetSection("accepted", nlohmann::ordered_json::array({"a"}));
  s.Save();
  auto again = ProjectSettings::Load(path);
  EXPECT_EQ(again.Section("zeta")["x"][1], 2);
  EXPECT_EQ(again.Section("translate")["TKingLabel"][0], "Caption");
  EXPECT_EQ(again.Section("accepted")[0], "a");
  // Sections keep the order they had in the file.
  EXPECT_EQ(again.Document().begin().key(), "zeta");
}

TEST_F(ProjectSettingsTest, DamagedFilesNameTheFileAndPlace) {
  const std::string path = (dir_ / "P.vorlect.json").string();
  vorlect::test::WriteAll(path, "{\n  \"translate\": {\n    \"A\": [\"Caption\",]\n}\n");
  try {
    ProjectSettings::Load(path);
    FAIL() << "a damaged file was accepted";
  } catch (const ProjectSettingsError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(path + ":3:", 0), 0u) << e.what();
  }
  vorlect::test::WriteAll(path, "[1, 2]");
  EXPECT_THROW(ProjectSettings::Load(path), ProjectSettingsError);
}

}  // namespace
