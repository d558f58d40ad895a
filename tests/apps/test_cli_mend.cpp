// Binary forms rewritten by the project commands keep every byte outside the translation
// component's block: checked on every binary form of the corpus and of the corpus projects after
// add-component, update and the import of an edited CSV.
#include "CliProjectUtil.h"

#include "host/formfile/FormFile.h"
#include "platform/Files.h"
#include "support/BinaryBlocks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>

namespace fs = std::filesystem;
using vorlect::platform::ReadFile;
using vorlect::platform::WriteFileAtomic;
using vorlect::testing::Result;
using vorlect::testing::RunVorlect;

namespace {

namespace formfile = vorlect::formfile;

class CliMend : public vorlect::testing::WithOwnRegistry {
protected:
  // The binary forms under `folder` with their bytes before the run.
  static std::map<std::string, std::string> BinaryForms(const fs::path& folder) {
    std::map<std::string, std::string> forms;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
      std::string ext = e.path().extension().string();
      for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (ext != ".dfm") continue;
      std::string bytes = ReadFile(e.path().string());
      const auto format = formfile::DetectFormat(bytes);
      if (format == formfile::FileFormat::Binary || format == formfile::FileFormat::BinaryWithHeader)
        forms.emplace(e.path().string(), std::move(bytes));
    }
    return forms;
  }

  // add-component, update, export, every language-1 cell filled, import.
  static void Run(const std::string& dpr, const std::string& csv) {
    Result add = RunVorlect({"project", "add-component", dpr, "--languages", "2", "--yes"});
    EXPECT_EQ(add.status, 0) << add.err;
    Result update = RunVorlect({"project", "update", dpr, "--yes"});
    EXPECT_EQ(update.status, 0) << update.err;
    Result exported = RunVorlect({"project", "export", dpr, csv, "--no"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string rows = ReadFile(csv);
    const std::string edited = std::regex_replace(rows, std::regex(";\"\"\r\n"), ";\"\xfc" "bersetzt\"\r\n");
    ASSERT_NE(edited, rows);
    WriteFileAtomic(csv, edited);
    Result imported = RunVorlect({"project", "import", dpr, csv, "--yes"});
    EXPECT_EQ(imported.status, 0) << imported.err;
  }

  // Each form got a component and still holds every other byte it held.
  static void ExpectOnlyTheBlocksChanged(const std::map<std::string, std::string>& before, int* withComponent) {
    for (const auto& [path, original] : before) {
      SCOPED_TRACE(path);
      const std::string now = ReadFile(path);
      if (now != original) ++*withComponent;
      std::string cut;
      try {
        cut = vorlect::test::WithoutTranslationBlocks(now);
      } catch (const std::exception& e) {
        ADD_FAILURE() << "the rewritten form cannot be read: " << e.what();
        continue;
      }
      EXPECT_TRUE(cut == original) << "bytes outside the translation component changed";
    }
  }

  static void MakeWritable(const fs::path& folder) {
    for (const auto& e : fs::recursive_directory_iterator(folder))
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
  }
};

TEST_F(CliMend, EveryBinaryFormOfTheCorpusKeepsItsBytesOutsideTheComponent) {
  const fs::path corpus = fs::path(VORLECT_CORPUS_DIR) / "dfm";
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "form-file corpus not found at " << corpus;
  // One project holding every binary form, each in a unit of its own that declares its class.
  const fs::path dir = dir_.Path("all");
  fs::create_directories(dir);
  std::string uses;
  int n = 0;
  for (const char* kind : {"binary", "pairs"}) {
    for (const auto& e : fs::directory_iterator(corpus / kind)) {
      const std::string bytes = ReadFile(e.path().string());
      formfile::Object root;
      try {
        root = formfile::ReadBinary(bytes, e.path().string());
      } catch (const formfile::FormFileError&) {
        continue;  // text halves of pairs, damaged files
      }
      const std::string unit = "U" + std::to_string(++n);
      WriteFileAtomic((dir / (unit + ".dfm")).string(), bytes);
      WriteFileAtomic((dir / (unit + ".pas")).string(),
                      "unit " + unit + ";\r\n\r\ninterface\r\n\r\nuses\r\n  Forms;\r\n\r\ntype\r\n  " + root.className +
                          " = class(TForm)\r\n  end;\r\n\r\nimplementation\r\n\r\nend.\r\n");
      uses += ",\r\n  " + unit + " in '" + unit + ".pas' {" + (root.name.empty() ? root.className : root.name) + "}";
    }
  }
  ASSERT_GE(n, 80);
  const std::string dpr = (dir / "All.dpr").string();
  WriteFileAtomic(dpr, "program All;\r\n\r\nuses\r\n  Forms" + uses + ";\r\n\r\nbegin\r\nend.\r\n");
  const auto before = BinaryForms(dir);
  Run(dpr, dir_.Path("all.csv"));
  int changed = 0;
  ExpectOnlyTheBlocksChanged(before, &changed);
  EXPECT_GE(changed, n * 9 / 10) << "most forms take a component";
}

TEST_F(CliMend, EveryBinaryFormOfTheCorpusProjectsKeepsItsBytesOutsideTheComponent) {
  const fs::path projects = fs::path(VORLECT_CORPUS_DIR) / "projects";
  if (!fs::is_directory(projects)) GTEST_SKIP() << "corpus projects not found at " << projects;
  int forms = 0, changed = 0;
  for (const auto& p : fs::directory_iterator(projects)) {
    const fs::path copy = dir_.Path(p.path().filename().string());
    fs::copy(p.path(), copy, fs::copy_options::recursive);
    MakeWritable(copy);
    const auto before = BinaryForms(copy);
    if (before.empty()) continue;
    for (const auto& e : fs::directory_iterator(copy)) {
      if (e.path().extension() != ".dpr") continue;
      SCOPED_TRACE(e.path().string());
      Run(e.path().string(), copy.string() + ".csv");
    }
    forms += static_cast<int>(before.size());
    ExpectOnlyTheBlocksChanged(before, &changed);
  }
  EXPECT_GT(forms, 0);
  EXPECT_GT(changed, 0);
}

// A form holding an empty identifier (stored by some components) takes its component and table
// in place; converting it to text is refused with the property and the reason.
TEST_F(CliMend, AFormWithAValueWithoutTextNotationIsMendedAndConvertNamesTheProperty) {
  formfile::Object form;
  form.className = "TWildForm";
  form.name = "WildForm";
  form.properties.push_back({"Caption", formfile::Value::Ansi("Calendar")});
  formfile::Object label;
  label.className = "TKingLabel";
  label.name = "KingLabel1";
  label.properties.push_back({"Caption", formfile::Value::Ansi("May")});
  label.properties.push_back({"DataField", formfile::Value::Identifier("")});
  form.children.push_back(label);
  const std::string original = formfile::WriteBinary(form, true);
  const std::string dpr = vorlect::testing::WriteOneFormProject(dir_.Path(""), "Wild", "WildMain", "TWildForm", original);
  const std::string dfm = dir_.Path("WildMain.dfm");

  Result convert = RunVorlect({"convert", dfm, dir_.Path("out.txt"), "--to", "text"});
  EXPECT_EQ(convert.status, 1);
  EXPECT_NE(convert.err.find(dfm + ": property WildForm.KingLabel1.DataField: an empty identifier"), std::string::npos)
      << convert.err;
  EXPECT_FALSE(fs::exists(dir_.Path("out.txt")));

  Run(dpr, dir_.Path("wild.csv"));
  const std::string now = ReadFile(dfm);
  EXPECT_NE(now, original);
  EXPECT_EQ(vorlect::test::WithoutTranslationBlocks(now), original);
  EXPECT_NE(now.find("KingLabel1"), std::string::npos);
  EXPECT_NE(now.find("\xfc" "bersetzt"), std::string::npos) << "the imported text is in the table";
}

}  // namespace
