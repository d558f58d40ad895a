#include "ProjectTestUtil.h"

#include "host/formfile/FormFile.h"
#include "host/framework/Streaming.h"
#include "runtime/VLBase.h"
#include "runtime/VLCore.h"
#include "vle/PasParser.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/ProjectForms.h"
#include "vle/project/VLEMain.h"

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace vorlect::vle::test {
namespace {

namespace fs = std::filesystem;

std::string CorpusDir() { return VORLECT_CORPUS_DIR; }

// Every file below `folder`, by path relative to it.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) files[fs::relative(e.path(), folder).string()] = platform::ReadFile(e.path().string());
  return files;
}

// True when `longer` is `shorter` with bytes inserted and nothing else changed.
bool OnlyInsertions(const std::string& shorter, const std::string& longer) {
  size_t j = 0;
  for (char c : longer)
    if (j < shorter.size() && shorter[j] == c) ++j;
  return j == shorter.size();
}

// A text form's lines, for comparing binary forms through their text.
std::string TextOf(const std::string& bytes) {
  return formfile::WriteText(formfile::ReadForm(bytes));
}

size_t CountDifferentLines(const std::string& a, const std::string& b) {
  std::istringstream sa(a), sb(b);
  std::string la, lb;
  size_t n = 0;
  while (std::getline(sa, la)) {
    if (!std::getline(sb, lb) || la != lb) ++n;
  }
  while (std::getline(sb, lb)) ++n;
  return n;
}

class Projects : public ProjectTest {
protected:
  void SetUp() override {
    ProjectTest::SetUp();
    runtime::RegisterClasses();
  }
  std::string CopyProject(const std::string& from) {
    const std::string to = dir_ + "/" + fs::path(from).filename().string();
    fs::copy(from, to, fs::copy_options::recursive);
    // The corpus may be read-only; its copies are the user's files, which the user may write.
    for (const auto& e : fs::recursive_directory_iterator(to))
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    return to;
  }
  static std::string ProjectFile(const std::string& folder) {
    for (const auto& e : fs::directory_iterator(folder))
      if (e.path().extension() == ".dpr") return e.path().string();
    return {};
  }
  std::vector<std::string> ProjectFolders() {
    std::vector<std::string> folders{std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project"};
    if (fs::exists(CorpusDir() + "/projects"))
      for (const auto& e : fs::directory_iterator(CorpusDir() + "/projects")) folders.push_back(e.path().string());
    return folders;
  }
};

// A translation component added to a corpus form, then rewritten with the same and with a changed table.
TEST_F(Projects, CorpusFormsRewriteInPlace) {
  if (!fs::exists(CorpusDir() + "/dfm")) GTEST_SKIP() << "corpus not found at " << CorpusDir();
  const formfile::Object vorlect =
      formfile::ReadText(FormText(VorlectBlock("Vorlect1", 2, {"'%Form%'", "'One'", "'Eins'", "'Btn'", "'it''s'", "#13'x'"})))
          .children.at(0);
  int tried = 0;
  for (const char* kind : {"text", "binary"}) {
    for (const auto& e : fs::directory_iterator(CorpusDir() + "/dfm/" + kind)) {
      const std::string original = platform::ReadFile(e.path().string());
      std::string withComponent;
      try {
        formfile::BinaryInfo info;
        formfile::FileFormat format;
        formfile::Object root = formfile::ReadForm(original, e.path().string(), &format);
        if (format == formfile::FileFormat::Text) {
          formfile::TextInfo text;
          formfile::ReadText(original, {}, &text);
          const std::string eol = text.lineEnd == formfile::LineEnd::LF ? "\n" : "\r\n";
          const size_t last = original.rfind("end");
          withComponent = original.substr(0, last) + VorlectBlock("Vorlect1", 2, {"'%Form%'", "'One'", "'Eins'"}, eol) +
                          original.substr(last);
        } else {
          formfile::ReadBinary(original, {}, &info);
          root.children.push_back(vorlect);
          withComponent = formfile::WriteBinary(root, info);
        }
      } catch (const formfile::FormFileError&) {
        continue;
      }
      ++tried;
      const std::string path = Write("form.dfm", withComponent);
      TEntry entry;
      ASSERT_EQ(ScanFormFile(path, entry), 1) << e.path();
      EXPECT_TRUE(RewriteTables(path, 2, nullptr, entry.Lines)) << e.path();
      EXPECT_EQ(Read(path), withComponent) << e.path();

      entry.Lines.Put(2, "Zwei'#13#10'");
      ASSERT_TRUE(RewriteTables(path, 2, nullptr, entry.Lines)) << e.path();
      const std::string now = Read(path);
      EXPECT_EQ(formfile::DetectFormat(now), formfile::DetectFormat(withComponent));
      EXPECT_EQ(CountDifferentLines(TextOf(withComponent), TextOf(now)), 1u) << e.path();
      if (std::string(kind) == "text") {
        EXPECT_EQ(CountDifferentLines(withComponent, now), 1u) << e.path();
      }
    }
  }
  EXPECT_GT(tried, 200);
  EXPECT_TRUE(ports_.messages().empty()) << ports_.messages().front().text;
}

TEST_F(Projects, AddComponentToEveryFormOfEveryProject) {
  for (const std::string& source : ProjectFolders()) {
    SCOPED_TRACE(source);
    const std::string folder = CopyProject(source);
    const auto before = Snapshot(folder);
    ProjectSession session(ProjectFile(folder));
    TFPrjList& list = session.Catalogue();
    ASSERT_GT(list.Count(), 0);
    std::vector<int> added;
    for (int i = 0; i < list.Count(); ++i)
      if (list.Entry(i).InstanceCount == 0) added.push_back(i);
    ports_.queueAnswer(ports::mrYes);
    AddVorlectToAllForms(list, 2);
    EXPECT_EQ(Texts().size(), 1u) << Texts().back();

    const auto after = Snapshot(folder);
    std::set<std::string> changed;
    for (int i : added) {
      const TEntry& e = list.Entry(i);
      EXPECT_EQ(e.InstanceCount, 1);
      const std::string form = fs::relative(e.FormFile, folder).string();
      const std::string unit = fs::relative(ResolveSiblingFile(e.FormFile, ".pas"), folder).string();
      changed.insert({form, unit});
      // The form loads with its new component, whose table starts with the form's caption.
      auto root = host::LoadFormFile(e.FormFile);
      auto* v = dynamic_cast<runtime::TBaseVorlect*>(root->FindComponent("Vorlect1"));
      ASSERT_NE(v, nullptr) << form;
      EXPECT_EQ(v->Languages(), 2);
      ASSERT_EQ(v->Words()->Count(), 3);
      EXPECT_EQ(v->Words()->Strings(0), "%Form%");
      // The %Form% entry holds the form's own caption.
      const formfile::Object tree = formfile::ReadForm(before.at(form));
      const formfile::Property* caption = tree.find("Caption");
      if (caption && caption->value.isAnsiString()) {
        EXPECT_EQ(v->Words()->Strings(1), caption->value.bytes) << form;
      } else if (!caption) {
        EXPECT_EQ(v->Words()->Strings(1), "") << form;
      }
      // Nothing else in the form changed.
      if (formfile::DetectFormat(before.at(form)) == formfile::FileFormat::Text) EXPECT_TRUE(OnlyInsertions(before.at(form), after.at(form)));
      else EXPECT_TRUE(OnlyInsertions(TextOf(before.at(form)), TextOf(after.at(form))));
      // The unit: exactly the two insertions.
      EXPECT_TRUE(OnlyInsertions(before.at(unit), after.at(unit))) << unit;
      const std::string& u = after.at(unit);
      EXPECT_NE(u.find("VLBase, VLCore,"), std::string::npos) << unit;
      EXPECT_NE(u.find("    Vorlect1: TVorlect;"), std::string::npos) << unit;
      EXPECT_EQ(u.size() - before.at(unit).size(), EditPascalText(before.at(unit), {unit, "VLBase, VLCore", e.FormClassName, "Vorlect1: TVorlect;"}).Text.size() - before.at(unit).size());
    }
    for (const auto& [name, bytes] : before)
      if (!changed.count(name)) {
        EXPECT_EQ(after.at(name), bytes) << name;
      }
    ports_.clear();
  }
}

TEST_F(Projects, FailingFormOrUnitLeavesBothAsTheyWere) {
  const std::string folder = CopyProject(std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project");
  fs::remove(folder + "/About.pas");                                                   // unreadable unit
  Write("sample-project/Options.pas", "unit Options;\r\ninterface\r\nuses Forms;\r\nimplementation\r\nend.\r\n");  // no form class
  const auto before = Snapshot(folder);
  ProjectSession session(ProjectFile(folder));
  for (int answer : {ports::mrYes, ports::mrIgnore, ports::mrIgnore}) ports_.queueAnswer(answer);
  AddVorlectToAllForms(session.Catalogue(), 1);
  EXPECT_EQ(Snapshot(folder), before);
  ASSERT_EQ(ports_.messages().size(), 3u);
  EXPECT_NE(ports_.messages()[1].text.find("does not declare the form class TOptionsForm"), std::string::npos);
  EXPECT_NE(ports_.messages()[2].text.find("About.pas\rcould not be edited"), std::string::npos);
  EXPECT_NE(ports_.messages()[2].text.find("\rThe form file " + folder + "/About.dfm was not changed."), std::string::npos);
  for (int i = 0; i < session.Catalogue().Count(); ++i)
    if (session.Catalogue().Entry(i).FormName != "MainForm") {
      EXPECT_EQ(session.Catalogue().Entry(i).InstanceCount, 0);
    }
}

TEST_F(Projects, InterruptedWritesLeaveEveryFileAsItWas) {
  const std::string folder = CopyProject(std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project");
  Write("sample-project/Options.dfm", std::string(64, '\0'));  // cannot be converted: passed over
  // A unit larger than the limit below: its form is written, then the unit fails, and the form
  // must be put back.
  Write("sample-project/About.pas", Read(folder + "/About.pas") + "{" + std::string(12000, 'x') + "}\r\n");
  const auto before = Snapshot(folder);
  ProjectSession session(ProjectFile(folder));
  ports_.queueAnswer(ports::mrYes);
  ports_.queueAnswer(ports::mrIgnore);
  {
    FileSizeLimit limit(8000);
    AddVorlectToAllForms(session.Catalogue(), 2);
  }
  EXPECT_EQ(Snapshot(folder), before);
  ASSERT_EQ(ports_.messages().size(), 2u);
  EXPECT_NE(ports_.messages()[1].text.find("The form file " + folder + "/About.dfm was not changed."), std::string::npos);
}

// A form whose names "Vorlect1" and "Vorlect2" are taken, by a component and by a field of its
// class: the added component takes the next free name in form and unit, and the form loads.
TEST_F(Projects, AddedComponentTakesAFreeName) {
  Write("p.dpr", "program p;\r\nuses\r\n  A in 'A.pas' {FA};\r\nbegin end.\r\n");
  Write("A.dfm", "object FA: TFA\r\n  Caption = 'A'\r\n  object vorlect1: TLabel\r\n    Caption = 'x'\r\n  end\r\nend\r\n");
  Write("A.pas", "unit A;\r\ninterface\r\nuses Forms, StdCtrls;\r\ntype\r\n  TFA = class(TForm)\r\n"
                 "    vorlect1: TLabel;\r\n  private\r\n    Vorlect2: Integer;\r\n  end;\r\nimplementation\r\nend.\r\n");
  ProjectSession session(dir_ + "/p.dpr");
  ports_.queueAnswer(ports::mrYes);
  EXPECT_EQ(AddVorlectToAllForms(session.Catalogue(), 2), 1);
  EXPECT_EQ(Texts().size(), 1u) << Texts().back();
  const std::string form = Read(dir_ + "/A.dfm"), unit = Read(dir_ + "/A.pas");
  EXPECT_NE(form.find("  object Vorlect3: TVorlect\r\n"), std::string::npos) << form;
  EXPECT_NE(unit.find("    Vorlect3: TVorlect;\r\n"), std::string::npos) << unit;
  auto root = host::LoadFormFile(dir_ + "/A.dfm");
  EXPECT_NE(dynamic_cast<runtime::TBaseVorlect*>(root->FindComponent("Vorlect3")), nullptr);
  EXPECT_EQ(dynamic_cast<runtime::TBaseVorlect*>(root->FindComponent("Vorlect1")), nullptr);
}

// A run stopped between the form's write and the unit's leaves the form ahead; the next run
// declares the component in the unit and says so. A component the designer placed (it stores
// Left and Top) without a declaration is the user's and stays so.
TEST_F(Projects, AddComponentDeclaresAComponentAStoppedRunLeftUndeclared) {
  Write("p.dpr", "program p;\r\nuses\r\n  A in 'A.pas' {FA},\r\n  B in 'B.pas' {FB};\r\nbegin end.\r\n");
  const std::string unitA = "unit A;\r\ninterface\r\nuses Forms;\r\ntype\r\n  TFA = class(TForm)\r\n  end;\r\nimplementation\r\nend.\r\n";
  Write("A.dfm", "object FA: TFA\r\n  Caption = 'A'\r\nend\r\n");
  Write("A.pas", unitA);
  Write("B.dfm", "object FB: TFB\r\n  object Vorlect1: TVorlect\r\n    Languages = 2\r\n    Left = 8\r\n    Top = 8\r\n  end\r\nend\r\n");
  const std::string unitB = "unit B;\r\ninterface\r\nuses Forms;\r\ntype\r\n  TFB = class(TForm)\r\n  end;\r\nimplementation\r\nend.\r\n";
  Write("B.pas", unitB);
  {
    ProjectSession session(dir_ + "/p.dpr");
    ports_.queueAnswer(ports::mrYes);
    EXPECT_EQ(AddVorlectToAllForms(session.Catalogue(), 2), 1);
  }
  const std::string declared = Read(dir_ + "/A.pas");
  ASSERT_NE(declared, unitA);
  Write("A.pas", unitA);  // as a run stopped between the two renames leaves it
  ports_.clear();
  ProjectSession session(dir_ + "/p.dpr");
  ports_.queueAnswer(ports::mrYes);
  EXPECT_EQ(AddVorlectToAllForms(session.Catalogue(), 2), 0);
  EXPECT_EQ(Read(dir_ + "/A.pas"), declared);
  EXPECT_EQ(Read(dir_ + "/B.pas"), unitB);
  ASSERT_EQ(Texts().size(), 2u);
  EXPECT_EQ(Texts()[1], "Unit " + dir_ + "/A.pas did not declare Vorlect1 of form file " + dir_ +
                            "/A.dfm;\rthe declaration was added.");
  EXPECT_EQ(ports_.messages()[1].type, ports::mtInformation);
}

// A read-only form or unit stops the pair before either changes, naming the file.
TEST_F(Projects, ReadOnlyFormOrUnitLeavesBoth) {
  const std::string folder = CopyProject(std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project");
  fs::permissions(folder + "/About.pas", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  fs::permissions(folder + "/Options.dfm", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const auto before = Snapshot(folder);
  ProjectSession session(ProjectFile(folder));
  for (int answer : {ports::mrYes, ports::mrIgnore, ports::mrIgnore}) ports_.queueAnswer(answer);
  EXPECT_EQ(AddVorlectToAllForms(session.Catalogue(), 2), 0);
  EXPECT_EQ(Snapshot(folder), before);
  ASSERT_EQ(Texts().size(), 3u);
  EXPECT_EQ(Texts()[1], "Internal error writing the DFM file.\r" + folder + "/Options.dfm: read-only file");
  EXPECT_NE(Texts()[2].find(folder + "/About.pas: read-only file\rThe form file " + folder + "/About.dfm was not changed."),
            std::string::npos)
      << Texts()[2];
}

TEST_F(Projects, OpeningWarnsOnceAndAsksForLanguageNames) {
  Write("p.dpr", "program p;\nuses\n  A in 'A.pas' {FA},\n  B in 'B.pas' {FB},\n  C in 'c.pas' {FC},\n  D in 'D.pas' {FD};\nbegin end.\n");
  Write("A.dfm", "object FA: TFA\n" + VorlectBlock("V", 1, {}, "\n") + "end\n");
  Write("B.dfm", "object FB: TFB\n" + VorlectBlock("V", 2, {}, "\n") + "end\n");
  Write("C.DFM", "object FC: TFC\n" + VorlectBlock("V", 3, {}, "\n") + "end\n");
  toolservices::HeadlessHost host(dir_ + "/p.dpr");
  auto* previous = toolservices::SetHostServices(&host);
  ports_.queueAnswer(ports::mrYes);
  TFPrjList list(true);
  toolservices::SetHostServices(previous);
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "There are instances of TVorlect with \rdifferent amount of languages.",
                         "You should assign language names to be able to use the spell checker.\rDo you want to do this now?"}));
  EXPECT_TRUE(list.LanguageSetupRequested);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Entry(2).FormFile, dir_ + "/C.DFM");
  EXPECT_EQ(list.Entry(3).FormClassName, "");  // no form file: listed without figures

  ports_.clear();
  ports_.queueAnswer(ports::mrYes);
  AddVorlectToAllForms(list);  // no language names configured, no dialog to configure them
  EXPECT_EQ(Texts(), (std::vector<std::string>{
                         "Do you want to add an instance of TVorlect to all forms\rthat do not have one yet?\r"
                         "Open files will be saved first automatically.",
                         "You need to assign language names first..", "Languages are not configured, cancelling."}));
}

TEST_F(Projects, NoProjectListsNothing) {
  auto* previous = toolservices::SetHostServices(nullptr);
  TFPrjList list(false);
  toolservices::SetHostServices(previous);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"You did not save your project file yet or no project is open."}));
}


// The catalogue's look-up by file name: folder and case do not count, the first row of a name
// wins, rows added later are found, and a row whose file changes is found under its new name.
TEST(CatalogueLookup, FindsRowsByFileNameAsRowsComeAndChange) {
  std::vector<std::unique_ptr<TEntry>> entries;
  for (const char* file : {"/p/Main.dfm", "/p/sub/About.DFM", "/q/main.dfm", "C:\\old\\Setup.dfm"}) {
    entries.push_back(std::make_unique<TEntry>());
    entries.back()->FormFile = file;
  }
  TFPrjList list("P.dpr", std::move(entries));
  EXPECT_EQ(list.FindByFileName("MAIN.DFM"), 0);
  EXPECT_EQ(list.FindByFileName("/elsewhere/about.dfm"), 1);
  EXPECT_EQ(list.FindByFileName("setup.dfm"), 3);
  EXPECT_EQ(list.FindByFileName("Main"), -1);
  EXPECT_EQ(list.FindByFileName(""), -1);

  auto added = std::make_unique<TEntry>();
  added->FormFile = "/p/Later.dfm";
  const int row = list.AddRow(std::move(added));
  EXPECT_EQ(list.FindByFileName("later.dfm"), row);

  list.Entry(0).FormFile = "/p/Renamed.dfm";
  EXPECT_EQ(list.FindByFileName("Main.dfm"), 2);  // the other form of that name
  EXPECT_EQ(list.FindByFileName("renamed.DFM"), 0);
}

TEST_F(Projects, SiblingFilesAreFoundIgnoringCaseWithOneListingPerFolder) {
  Write("Unit1.pas", "unit Unit1;");
  Write("UNIT1.DFM", "object A: TA\r\nend\r\n");
  Write("Other.Dfm", "object B: TB\r\nend\r\n");
  TSiblingFiles siblings;
  EXPECT_EQ(siblings.Resolve(dir_ + "/Unit1.pas", ".dfm"), dir_ + "/UNIT1.DFM");
  EXPECT_EQ(siblings.Resolve(dir_ + "/unit1.xyz", ".pas"), dir_ + "/Unit1.pas");
  EXPECT_EQ(siblings.Resolve(dir_ + "/other.pas", ".dfm"), dir_ + "/Other.Dfm");
  EXPECT_EQ(siblings.Resolve(dir_ + "/Missing.pas", ".dfm"), dir_ + "/Missing.dfm");
  // The same answers as the one-off look-up.
  for (const char* name : {"Unit1.pas", "other.pas", "Missing.pas"})
    EXPECT_EQ(siblings.Resolve(dir_ + "/" + name, ".dfm"), ResolveSiblingFile(dir_ + "/" + name, ".dfm")) << name;
  // A file made after its folder was listed is still found when its name is exact.
  Write("Fresh.dfm", "object C: TC\r\nend\r\n");
  EXPECT_EQ(siblings.Resolve(dir_ + "/Fresh.pas", ".dfm"), dir_ + "/Fresh.dfm");
}

}  // namespace
}  // namespace vorlect::vle::test
