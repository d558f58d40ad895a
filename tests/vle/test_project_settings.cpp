#include "vle/settings/ProjectSettings.h"
#include "vle/settings/TranslatableSettings.h"
#include "runtime/VLTranslatable.h"

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

// The sections "translate" and "never": read in file order, refused with the place of the value
// at fault, and registered for capture and apply.
namespace {

using vorlect::vle::ReadTranslatableProperties;
using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST_F(ProjectSettingsTest, TranslateAndNeverAreReadInFileOrderBesideOtherSections) {
  const std::string path = (dir_ / "P.vorlect.json").string();
  vorlect::test::WriteAll(path, R"({"accepted": {"x": 1},
    "translate": {"TKingLabel": ["Caption", "Hint"], "TKingGrid": ["Columns.Title.Caption"]},
    "never": {"*": ["SQL"], "TKingDBLabel": ["Caption"]}})");
  const auto p = ReadTranslatableProperties(ProjectSettings::Load(path));
  EXPECT_EQ(p.translate, (Pairs{{"TKingLabel", "Caption"}, {"TKingLabel", "Hint"}, {"TKingGrid", "Columns.Title.Caption"}}));
  EXPECT_EQ(p.never, (Pairs{{"*", "SQL"}, {"TKingDBLabel", "Caption"}}));
  EXPECT_TRUE(ReadTranslatableProperties(ProjectSettings()).translate.empty());
}

TEST_F(ProjectSettingsTest, SectionsOfTheWrongShapeNameTheValueAtFault) {
  const std::string path = (dir_ / "P.vorlect.json").string();
  const std::pair<const char*, const char*> cases[] = {
      {"{\"translate\": 5}", ":1:15: the section \"translate\""},
      {"{\"never\": {\"TA\": \"Caption\"}}", ":1:18: the property paths of \"TA\" must be a list"},
      {"{\"never\": {\"TA\": [\"Caption\"],\n \"T-B\": []}}", ":2:9: \"T-B\" is not a class name"},
      {"{\"translate\": {\"TA\": [\"Title\",\n    \"Columns..Caption\"]}}", ":2:5: \"Columns..Caption\" is not a property path"},
      {"{\"translate\": {\"TA\": [\"Title\", null]}}", ":1:32: a property path must be a string"},
      {"{\"tr\\u0061nslate\": {\"TA\": [\"1Title\"]}}", ":1:28: \"1Title\" is not a property path"},
  };
  for (const auto& [text, expected] : cases) {
    vorlect::test::WriteAll(path, text);
    try {
      ReadTranslatableProperties(ProjectSettings::Load(path));
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ProjectSettingsError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(path + expected, 0), 0u) << e.what();
    }
  }
}

TEST_F(ProjectSettingsTest, ADamagedFileChangesNothingThatWasRegistered) {
  const std::string path = (dir_ / "P.vorlect.json").string();
  vorlect::test::WriteAll(path, R"({"translate": {"TKingReport": ["Title"]}})");
  vorlect::vle::UseSettingsFile(path);
  const unsigned generation = vorlect::runtime::RegisteredPropertiesGeneration();
  vorlect::test::WriteAll(path, R"({"translate": {"TKingReport": [3]}})");
  EXPECT_THROW(vorlect::vle::UseSettingsFile(path), ProjectSettingsError);
  EXPECT_EQ(vorlect::runtime::RegisteredPropertiesGeneration(), generation);
  vorlect::vle::UseSettingsFile((dir_ / "missing.vorlect.json").string());
  EXPECT_NE(vorlect::runtime::RegisteredPropertiesGeneration(), generation);  // nothing registered now
}

}  // namespace
