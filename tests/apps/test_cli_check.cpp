// vorlect project check / form check: the sample project, a project with errors, accepted
// problems in the settings file, forms that cannot be checked, and every corpus project.
#include "CliProjectUtil.h"
#include "platform/Files.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::testing::Result;
using vorlect::testing::RunVorlect;

namespace {

class CliCheck : public vorlect::testing::WithSampleProject {
protected:
  // A project of one form whose table holds the given entries (key, English, German).
  std::string SmallProject(const std::vector<std::array<std::string, 3>>& entries) {
    std::string words;
    for (const auto& e : entries)
      for (const auto& line : e) words += "\r\n      '" + line + "'";
    return vorlect::testing::WriteOneFormProject(
        dir_.Path("small"), "Small", "Unit1", "TForm1",
        "object Form1: TForm1\r\n  Caption = 'Small'\r\n"
        "  object Button1: TButton\r\n    Width = 75\r\n    Height = 25\r\n    Caption = '&Go'\r\n  end\r\n"
        "  object Vorlect1: TVorlect\r\n    Languages = 2\r\n    Words.Strings = (" + words + ")\r\n  end\r\nend\r\n");
  }
};

TEST_F(CliCheck, SampleProjectInTextJsonAndSarif) {
  Result text = RunVorlect({"project", "check", Sample("Sample.dpr")});
  ASSERT_EQ(text.status, 0) << text.err;  // warnings and information only
  EXPECT_NE(text.out.find("Main.dfm: MainForm.BtnOptions row 0, language 2: warning: the accelerator key "
                          "\"\xD0\x9F\" is also marked by Label1 [accelerator-clash]\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("MainForm.ErrNoFile row 0, language 0: information: the key names no component of the form "
                          "[unknown-key]"),
            std::string::npos);
  EXPECT_NE(text.err.find("Options.dfm: the form holds no translation component; skipped"), std::string::npos);

  Result json = RunVorlect({"project", "check", Sample("Sample.dpr"), "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const auto list = nlohmann::json::parse(json.out);
  ASSERT_TRUE(list.is_array());
  ASSERT_FALSE(list.empty());
  for (const auto& p : list)
    for (const char* field : {"form", "key", "row", "language", "check", "level", "message"})
      EXPECT_TRUE(p.contains(field)) << field;

  Result sarif = RunVorlect({"project", "check", Sample("Sample.dpr"), "--format", "sarif"});
  ASSERT_EQ(sarif.status, 0) << sarif.err;
  const auto doc = nlohmann::json::parse(sarif.out);
  EXPECT_EQ(doc["version"], "2.1.0");
  EXPECT_EQ(doc["runs"][0]["results"].size(), list.size());
  EXPECT_EQ(doc["runs"][0]["results"][0]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "Main.dfm");

  // Languages numbered from 0; checks left out by name.
  Result german = RunVorlect({"project", "check", Sample("Sample.dpr"), "--languages", "1", "--format", "json"});
  for (const auto& p : nlohmann::json::parse(german.out)) EXPECT_EQ(p["language"], 1);
  Result fewer = RunVorlect({"project", "check", Sample("Sample.dpr"), "--disable", "accelerator-clash,unknown-key"});
  EXPECT_EQ(fewer.out.find("[accelerator-clash]"), std::string::npos);
  EXPECT_EQ(fewer.out.find("[unknown-key]"), std::string::npos);
  EXPECT_NE(fewer.out.find("[too-wide]"), std::string::npos);
}

TEST_F(CliCheck, ErrorsGiveOneAndAcceptedProblemsAreNoLongerReported) {
  const std::string project = SmallProject({{"Button1", "&Go", "&Los"},
                                            {"@Copied", "%d files copied to %s.", "%s Dateien nach %d kopiert."},
                                            {"@Done", "Done.", "Fertig"}});
  // Sections of other features stay as they are.
  const std::string settings = dir_.Path("small/Small.vorlect.json");
  vorlect::platform::WriteFileAtomic(settings, R"({"translate": {"TMyLabel": ["Caption"]}, "never": {"TMyLabel": ["Hint"]}})");
  Result first = RunVorlect({"form", "check", dir_.Path("small/Unit1.dfm")});
  EXPECT_EQ(first.status, 1) << first.out << first.err;
  EXPECT_NE(first.out.find("Form1.@Copied row 0, language 1: error: "), std::string::npos) << first.out;
  EXPECT_NE(first.out.find("Form1.@Done row 0, language 1: warning: ends in no punctuation"), std::string::npos);

  Result accept = RunVorlect({"project", "check", project, "--accept-all"});
  ASSERT_EQ(accept.status, 0) << accept.err;
  const auto doc = nlohmann::json::parse(ReadFile(settings));
  EXPECT_EQ(doc["translate"], nlohmann::json::parse(R"({"TMyLabel": ["Caption"]})"));
  EXPECT_EQ(doc["never"], nlohmann::json::parse(R"({"TMyLabel": ["Hint"]})"));
  EXPECT_EQ(doc["accepted"].size(), 2u);
  EXPECT_EQ(doc["accepted"][0]["check"], "placeholder");

  Result after = RunVorlect({"project", "check", project});
  EXPECT_EQ(after.status, 0) << after.out << after.err;
  EXPECT_EQ(after.out, "");
  EXPECT_NE(after.err.find("2 accepted problem(s) not shown"), std::string::npos) << after.err;
  // Accepting again adds nothing.
  ASSERT_EQ(RunVorlect({"project", "check", project, "--accept-all"}).status, 0);
  EXPECT_EQ(nlohmann::json::parse(ReadFile(settings))["accepted"].size(), 2u);
}

TEST_F(CliCheck, WhatCannotBeCheckedGivesThreeAndMistakesTwo) {
  vorlect::platform::WriteFileAtomic(Sample("About.dfm"), "object AboutForm: TAboutForm\r\n  Caption = 'broken\r\n");
  Result damaged = RunVorlect({"project", "check", Sample("Sample.dpr")});
  EXPECT_EQ(damaged.status, 3) << damaged.err;
  EXPECT_NE(damaged.err.find("About.dfm"), std::string::npos) << damaged.err;
  EXPECT_NE(damaged.out.find("[accelerator-clash]"), std::string::npos) << "the other forms are still checked";

  EXPECT_EQ(RunVorlect({"project", "check", Sample("Sample.dpr"), "--forms", "Nothing"}).status, 3);
  EXPECT_EQ(RunVorlect({"form", "check", Sample("About.dfm")}).status, 3);
  vorlect::platform::WriteFileAtomic(Sample("Sample.vorlect.json"), "{\"accepted\": [");
  Result badSettings = RunVorlect({"project", "check", Sample("Sample.dpr")});
  EXPECT_EQ(badSettings.status, 3);
  EXPECT_NE(badSettings.err.find("Sample.vorlect.json:1:"), std::string::npos) << badSettings.err;

  Result unknown = RunVorlect({"form", "check", Sample("Main.dfm"), "--disable", "spelling"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("there is no check \"spelling\""), std::string::npos) << unknown.err;
  EXPECT_EQ(RunVorlect({"form", "check", Sample("Main.dfm"), "--languages", "one"}).status, 2);

  Result none = RunVorlect({"form", "check", Sample("Options.dfm")});
  EXPECT_EQ(none.status, 0) << "a form without a table is skipped, not a failure";
  EXPECT_NE(none.err.find("holds no translation component"), std::string::npos);
}

// Every corpus project: as it is, and after each form got a table of two languages filled with
// its texts.
TEST_F(CliCheck, EveryCorpusProject) {
  const fs::path corpus = fs::path(VORLECT_CORPUS_DIR) / "projects";
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "corpus not found at " << corpus;
  int projects = 0;
  for (const auto& folder : fs::directory_iterator(corpus)) {
    const fs::path copy = dir_.Path("corpus-" + folder.path().filename().string());
    fs::copy(folder.path(), copy, fs::copy_options::recursive);
    std::string dpr;
    for (const auto& e : fs::recursive_directory_iterator(copy)) {
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
      if (e.path().extension() == ".dpr") dpr = e.path().string();
    }
    if (dpr.empty()) continue;
    ++projects;
    Result plain = RunVorlect({"project", "check", dpr});
    EXPECT_EQ(plain.signal, 0) << dpr;
    EXPECT_EQ(plain.status, 0) << dpr << "\n" << plain.err;
    ASSERT_EQ(RunVorlect({"project", "add-component", dpr, "--languages", "2", "--yes"}).signal, 0);
    ASSERT_EQ(RunVorlect({"project", "update", dpr, "--yes"}).signal, 0);
    Result filled = RunVorlect({"project", "check", dpr, "--format", "json"});
    EXPECT_EQ(filled.signal, 0) << dpr;
    EXPECT_TRUE(filled.status == 0 || filled.status == 1) << dpr << "\n" << filled.err;
    const auto list = nlohmann::json::parse(filled.out);
    EXPECT_FALSE(list.empty()) << dpr << ": the new tables have untranslated texts";
  }
  EXPECT_GT(projects, 0);
}

}  // namespace
