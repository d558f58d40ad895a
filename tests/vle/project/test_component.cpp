// Saving what the translation editor writes into one translation component: Languages,
// ActiveLanguage, Words, DoNot, Positions and CharSets, and nothing else of the form.
#include "ProjectTestUtil.h"

#include "host/formfile/FormFile.h"
#include "host/framework/Streaming.h"
#include "runtime/VLBase.h"
#include "runtime/VLCore.h"
#include "vle/project/DFM_TXT.h"
#include "vle/project/FormComponent.h"

#include <sys/stat.h>

#include <filesystem>
#include <regex>

namespace vorlect::vle::test {
namespace {

namespace fs = std::filesystem;

std::string Lf(const std::string& crlf) { return std::regex_replace(crlf, std::regex("\r\n"), "\n"); }

// A component holding every property the editor writes, and its designer position.
const std::string kFullBlock =
    "  object Vorlect1: TVorlect\r\n"
    "    Languages = 2\r\n"
    "    ActiveLanguage = 1\r\n"
    "    Words.Strings = (\r\n"
    "      '%Form%'\r\n"
    "      'Main window'\r\n"
    "      'Hauptfenster')\r\n"
    "    DoNot.Strings = (\r\n"
    "      'Label1')\r\n"
    "    SwitchPositions = spControlsOnly\r\n"
    "    Positions.Strings = (\r\n"
    "      'button1,8.8.75.25,8.8.90.25')\r\n"
    "    CharSets.Strings = (\r\n"
    "      'MS Sans Serif,1'\r\n"
    "      'Arial,0')\r\n"
    "    Left = 16\r\n"
    "    Top = 8\r\n"
    "  end\r\n";

// What kFullBlock holds.
TComponentProperties FullProperties() {
  TComponentProperties p;
  p.languages = 2;
  p.activeLanguage = 1;
  p.words = {"%Form%", "Main window", "Hauptfenster"};
  p.doNot = std::vector<std::string>{"Label1"};
  p.positions = std::vector<std::string>{"button1,8.8.75.25,8.8.90.25"};
  p.charSets = std::vector<std::string>{"MS Sans Serif,1", "Arial,0"};
  return p;
}

ino_t Inode(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_ino;
}

std::vector<std::string> Lines(const host::TStrings& l) {
  std::vector<std::string> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
  return v;
}

class ComponentRewrite : public ProjectTest {
protected:
  void SetUp() override {
    ProjectTest::SetUp();
    runtime::RegisterClasses();
  }
  // The form loaded as the designer loads it; the component named `name` must be on it.
  struct Loaded {
    std::unique_ptr<host::TComponent> form;
    runtime::TBaseVorlect* component = nullptr;
  };
  static Loaded Load(const std::string& path, const std::string& name = {}) {
    Loaded l;
    host::ReadOptions options;
    options.designing = true;
    l.form = host::LoadFormFile(path, options);
    l.component = FindTranslationComponent(*l.form, name);
    return l;
  }
  // The component as it loads has exactly the properties `p` (its words read as their bytes).
  static void ExpectLoads(const std::string& path, const TComponentProperties& p, const std::string& name = {}) {
    Loaded l = Load(path, name);
    ASSERT_NE(l.component, nullptr) << path;
    const TComponentProperties now = ComponentPropertiesOf(*l.component);
    EXPECT_EQ(now.languages, p.languages);
    EXPECT_EQ(now.activeLanguage, p.activeLanguage);
    EXPECT_EQ(now.words, p.words);
    if (p.doNot) EXPECT_EQ(now.doNot, p.doNot);
    if (p.positions) EXPECT_EQ(now.positions, p.positions);
    if (p.charSets) EXPECT_EQ(now.charSets, p.charSets);
  }
};

TEST_F(ComponentRewrite, UnchangedComponentIsNotWritten) {
  const std::string text = FormText(kFullBlock);
  const formfile::Object root = formfile::ReadText(text);
  for (const std::string& bytes : {text, Lf(text), formfile::WriteBinary(root, true), formfile::WriteBinary(root, false)}) {
    const std::string path = Write("Main.dfm", bytes);
    const ino_t inode = Inode(path);
    EXPECT_FALSE(RewriteComponent(path, "", FullProperties()));
    TComponentProperties asIs = FullProperties();
    asIs.doNot = asIs.positions = asIs.charSets = std::nullopt;
    EXPECT_FALSE(RewriteComponent(path, "VORLECT1", asIs));
    // What the loaded component holds is what the file holds.
    EXPECT_FALSE(SaveComponent(path, *Load(path).component));
    EXPECT_EQ(Read(path), bytes);
    EXPECT_EQ(Inode(path), inode) << "the file was replaced";
  }
  // The same value written otherwise is no change either.
  const std::string codes = std::regex_replace(FormText(kFullBlock), std::regex("'Arial,0'"), "'Aria'#108',0'");
  const std::string path = Write("Codes.dfm", codes);
  EXPECT_FALSE(RewriteComponent(path, "", FullProperties()));
  EXPECT_EQ(Read(path), codes);
}

TEST_F(ComponentRewrite, ChangedPropertiesChangeOnlyTheirLines) {
  const std::string path = Write("Main.dfm", FormText(kFullBlock));
  TComponentProperties p = FullProperties();
  p.activeLanguage = 0;  // the default: not stored
  (*p.charSets)[1] = "Arial,204";
  p.doNot->clear();  // an empty list is not stored
  p.positions->push_back("%Form%,1.2.3.4,5.6.7.8");
  p.words[2] = "Haupt'#13#10'fenster";
  EXPECT_TRUE(RewriteComponent(path, "", p));
  EXPECT_EQ(Read(path), FormText("  object Vorlect1: TVorlect\r\n"
                                 "    Languages = 2\r\n"
                                 "    Words.Strings = (\r\n"
                                 "      '%Form%'\r\n"
                                 "      'Main window'\r\n"
                                 "      'Haupt'#13#10'fenster')\r\n"
                                 "    SwitchPositions = spControlsOnly\r\n"
                                 "    Positions.Strings = (\r\n"
                                 "      'button1,8.8.75.25,8.8.90.25'\r\n"
                                 "      '%Form%,1.2.3.4,5.6.7.8')\r\n"
                                 "    CharSets.Strings = (\r\n"
                                 "      'MS Sans Serif,1'\r\n"
                                 "      'Arial,204')\r\n"
                                 "    Left = 16\r\n"
                                 "    Top = 8\r\n"
                                 "  end\r\n"));
  ExpectLoads(path, p);

  // Back to what it was: the original bytes again.
  EXPECT_TRUE(RewriteComponent(path, "", FullProperties()));
  EXPECT_EQ(Read(path), FormText(kFullBlock));

  // More languages and an active one among them.
  p = FullProperties();
  p.languages = 3;
  p.activeLanguage = 2;
  p.words.push_back("Fen\xEAtre");
  p.charSets->push_back("MS Sans Serif,1");
  EXPECT_TRUE(RewriteComponent(path, "", p));
  const std::string text = Read(path);
  EXPECT_NE(text.find("    Languages = 3\r\n    ActiveLanguage = 2\r\n"), std::string::npos) << text;
  ExpectLoads(path, p);
}

TEST_F(ComponentRewrite, MissingPropertiesGoWhereTheComponentStreamsThem) {
  // Lines that are not the component's own (designer position, events) stay where they are.
  const std::string bare = FormText(
      "  object Vorlect1: TVorlect\n"
      "    BeforeLanguageChange = Vorlect1BeforeLanguageChange\n"
      "    TranslateEdits = teAlways\n"
      "    Left = 16\n"
      "  end\n", "\n");
  const std::string path = Write("Bare.dfm", Lf(bare));
  TComponentProperties p = FullProperties();
  p.languages = 1;
  p.words = {"%Form%", "it''s"};
  p.activeLanguage = 0;
  p.charSets = std::vector<std::string>{"Arial,0"};
  EXPECT_TRUE(RewriteComponent(path, "", p));
  EXPECT_EQ(Read(path), Lf(FormText(
                            "  object Vorlect1: TVorlect\n"
                            "    BeforeLanguageChange = Vorlect1BeforeLanguageChange\n"
                            "    Languages = 1\n"
                            "    Words.Strings = (\n"
                            "      '%Form%'\n"
                            "      'it'#39's')\n"  // as the IDE writes an apostrophe
                            "    DoNot.Strings = (\n"
                            "      'Label1')\n"
                            "    TranslateEdits = teAlways\n"
                            "    Positions.Strings = (\n"
                            "      'button1,8.8.75.25,8.8.90.25')\n"
                            "    CharSets.Strings = (\n"
                            "      'Arial,0')\n"
                            "    Left = 16\n"
                            "  end\n", "\n")));

  // A non-zero active language takes its place after Languages; an empty component gets every
  // property before its "end".
  p.languages = 2;
  p.activeLanguage = 1;
  p.words = {"%Form%", "a", "b"};
  const std::string empty = Write("Empty.dfm", FormText("  object V: TVorlect\r\n  end\r\n"));
  EXPECT_TRUE(RewriteComponent(empty, "", p));
  const std::string text = Read(empty);
  size_t at = 0;
  for (const char* line : {"    ActiveLanguage = 1\r\n", "    Words.Strings = (\r\n", "    DoNot.Strings = (\r\n",
                           "    Positions.Strings = (\r\n", "    CharSets.Strings = (\r\n", "  end\r\n"}) {
    const size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << " in order in\n" << text;
    at = found;
  }
  EXPECT_EQ(text.find("Languages = 2"), std::string::npos) << "2 is what a missing line reads as";
  ExpectLoads(empty, p);
}

TEST_F(ComponentRewrite, NewItemsAreWrittenInTheFilesStringStyle) {
  // A file written by a Unicode IDE codes every character above 127; one written by an 8-bit IDE
  // keeps them as bytes.
  const std::string unicodeStyle = FormText(
      "  object Vorlect1: TVorlect\r\n    Languages = 1\r\n    Words.Strings = (\r\n      '%Form%'\r\n"
      "      'Caf'#233)\r\n  end\r\n");
  const std::string eightBit = std::regex_replace(unicodeStyle, std::regex("'Caf'#233"), "'Caf\xE9'");
  TComponentProperties p;
  p.languages = 1;
  p.words = {"%Form%", "Caf\xE9"};
  p.doNot = std::vector<std::string>{"L\xE4nge"};
  p.charSets = std::vector<std::string>{"Stra\xDF" "e,0"};
  const std::string a = Write("Unicode.dfm", unicodeStyle), b = Write("Ansi.dfm", eightBit);
  EXPECT_TRUE(RewriteComponent(a, "", p));
  EXPECT_TRUE(RewriteComponent(b, "", p));
  EXPECT_NE(Read(a).find("    DoNot.Strings = (\r\n      'L'#228'nge')\r\n"), std::string::npos) << Read(a);
  EXPECT_NE(Read(a).find("      'Stra'#223'e,0')\r\n"), std::string::npos) << Read(a);
  EXPECT_NE(Read(b).find("      'L\xE4nge')\r\n"), std::string::npos) << Read(b);
  EXPECT_NE(Read(a).find("'Caf'#233)"), std::string::npos) << "an unchanged item keeps its bytes";
  ExpectLoads(a, p);
  ExpectLoads(b, p);
}

// A Unicode text that the ANSI code page cannot hold loads as question marks; saving the component
// untouched must not turn the file's text into them.
TEST_F(ComponentRewrite, UntouchedUnicodeTextsSurviveASave) {
  const std::string text = FormText(
      "  object Vorlect1: TVorlect\r\n    Languages = 2\r\n    Words.Strings = (\r\n      '%Form%'\r\n"
      "      'Main'\r\n      #1043#1083#1072#1074#1085#1072#1103)\r\n  end\r\n");
  const std::string path = Write("Ru.dfm", text);
  Loaded l = Load(path);
  ASSERT_NE(l.component, nullptr);
  EXPECT_EQ(l.component->Words()->Strings(2), "???????");
  EXPECT_FALSE(SaveComponent(path, *l.component));
  EXPECT_EQ(Read(path), text);

  l.component->Words()->Put(1, "Main window");
  EXPECT_TRUE(SaveComponent(path, *l.component));
  EXPECT_NE(Read(path).find("      'Main window'\r\n      #1043#1083#1072#1074#1085#1072#1103)"), std::string::npos)
      << Read(path);
}

TEST_F(ComponentRewrite, SmallVorlectNeverGetsTheEditorsLists) {
  const std::string text = FormText("  object Small1: TSmallVorlect\r\n    Languages = 1\r\n  end\r\n");
  const std::string path = Write("Small.dfm", text);
  TComponentProperties p = FullProperties();
  p.languages = 1;
  p.activeLanguage = 0;
  p.words = {"ErrNoFile", "No file"};
  EXPECT_TRUE(RewriteComponent(path, "Small1", p));
  EXPECT_EQ(Read(path), FormText("  object Small1: TSmallVorlect\r\n    Languages = 1\r\n    Words.Strings = (\r\n"
                                 "      'ErrNoFile'\r\n      'No file')\r\n  end\r\n"));
  Loaded l = Load(path);
  ASSERT_NE(l.component, nullptr);
  const TComponentProperties now = ComponentPropertiesOf(*l.component);
  EXPECT_EQ(now.words, p.words);
  EXPECT_FALSE(now.doNot || now.positions || now.charSets) << "a TSmallVorlect does not store them";
  EXPECT_FALSE(SaveComponent(path, *l.component));
}

TEST_F(ComponentRewrite, ASecondComponentIsChosenByName) {
  const std::string first = VorlectBlock("First", 1, {"'a'", "'A'"});
  const std::string text = FormText(first + VorlectBlock("Second", 1, {"'b'", "'B'"}));
  const std::string path = Write("Two.dfm", text);
  TComponentProperties p;
  p.languages = 2;
  p.words = {"b", "B", "Bee"};
  p.charSets = std::vector<std::string>{"Arial,0", "Arial,0"};
  EXPECT_TRUE(RewriteComponent(path, "second", p));
  const std::string now = Read(path);
  EXPECT_EQ(now.substr(0, now.find("  object Second")), FormText(first).substr(0, FormText(first).rfind("end")));
  ExpectLoads(path, p, "Second");
  EXPECT_EQ(Lines(*Load(path, "First").component->Words()), (std::vector<std::string>{"a", "A"}));

  try {
    RewriteComponent(path, "Third", p);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "File " + path + "\nholds no instance of TVorlect named Third.");
  }
  EXPECT_EQ(Read(path), now);
}

TEST_F(ComponentRewrite, RefusalsLeaveTheFileAsItWas) {
  const std::string text = FormText(kFullBlock);
  const std::string path = Write("Main.dfm", text);
  auto refused = [&](const TComponentProperties& p) -> std::string {
    try {
      RewriteComponent(path, "", p);
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(Read(path), text);
      return e.what();
    }
    ADD_FAILURE() << "not refused";
    return {};
  };
  TComponentProperties p = FullProperties();
  p.activeLanguage = 2;
  EXPECT_EQ(refused(p), "File " + path + "\ncannot take language 2 as the active language: its languages are 0 to 1.");
  p.activeLanguage = -1;
  EXPECT_NE(refused(p).find("cannot take language -1"), std::string::npos);
  p = FullProperties();
  p.words.pop_back();
  EXPECT_EQ(refused(p), "The table for " + path + "\ndoes not hold 3 lines per text.");
  p = FullProperties();
  p.words[1] = "broken'quote";
  EXPECT_EQ(refused(p), "Line 2 of the table for " + path + "\nis not in form-file notation: broken'quote");
  p = FullProperties();
  p.languages = 0;
  p.words.clear();
  EXPECT_EQ(refused(p), "File " + path + "\ncannot take 0 languages.");

  // A list written on one line is read, never rewritten.
  const std::string oneLine = std::regex_replace(text, std::regex("DoNot.Strings = \\(\r\n      'Label1'\\)"),
                                                 "DoNot.Strings = ('Label1')");
  Write("Main.dfm", oneLine);
  EXPECT_FALSE(RewriteComponent(path, "", FullProperties()));
  p = FullProperties();
  p.doNot->push_back("Label2");
  try {
    RewriteComponent(path, "", p);
    ADD_FAILURE() << "not refused";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "The DoNot list of Vorlect1 in file " + path + "\nhas a layout that cannot be rewritten.");
  }
  EXPECT_EQ(Read(path), oneLine);

  // A property written twice loads as its last value; changing only that one would load as the
  // other, so it is refused.
  const std::string twice = std::regex_replace(text, std::regex("    SwitchPositions"),
                                               "    Words.Strings = (\r\n      'x')\r\n    SwitchPositions");
  Write("Main.dfm", twice);
  p = FullProperties();
  p.words.clear();
  try {
    RewriteComponent(path, "", p);
    ADD_FAILURE() << "not refused";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "The table of Vorlect1 in file " + path + "\nhas a layout that cannot be rewritten.");
  }
  EXPECT_EQ(Read(path), twice);
}

TEST_F(ComponentRewrite, BinaryFormsStayBinary) {
  const formfile::Object root = formfile::ReadText(FormText(kFullBlock));
  for (bool header : {true, false}) {
    const std::string path = Write("Bin.dfm", formfile::WriteBinary(root, header));
    TComponentProperties p = FullProperties();
    p.activeLanguage = 0;
    p.positions->clear();
    p.doNot->push_back("%Form%");
    (*p.charSets)[0] = "Tahoma,238";
    EXPECT_TRUE(RewriteComponent(path, "", p));
    EXPECT_EQ(formfile::DetectFormat(Read(path)),
              header ? formfile::FileFormat::BinaryWithHeader : formfile::FileFormat::Binary);
    ExpectLoads(path, p);
    const formfile::Object now = formfile::ReadForm(Read(path));
    const formfile::Object& v = now.children.at(0);
    EXPECT_EQ(v.find("ActiveLanguage"), nullptr);
    EXPECT_EQ(v.find("Positions.Strings"), nullptr);
    EXPECT_NE(v.find("Left"), nullptr);
  }
}

// The sample project's main form: written with what it holds, it does not change; changed
// properties load back, and the old ones give the old bytes again, but for ActiveLanguage 0, which
// is not stored.
TEST_F(ComponentRewrite, SampleMainFormRoundTrip) {
  const std::string original = platform::ReadFile(std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project/Main.dfm");
  const std::string path = Write("Main.dfm", original);
  Loaded l = Load(path);
  ASSERT_NE(l.component, nullptr);
  // Loading records the form's font as CharSets when the file has none: the file's lists are
  // those it stores.
  TComponentProperties before = ComponentPropertiesOf(*l.component);
  for (auto [name, list] : {std::pair{"DoNot", &before.doNot}, {"Positions", &before.positions}, {"CharSets", &before.charSets}})
    if (original.find(std::string(name) + ".Strings") == std::string::npos) *list = std::vector<std::string>{};
  EXPECT_FALSE(RewriteComponent(path, "Vorlect1", before));

  TComponentProperties p = before;
  p.activeLanguage = 2;
  p.charSets = std::vector<std::string>{"MS Sans Serif,0", "MS Sans Serif,0", "MS Sans Serif,204"};
  p.doNot = std::vector<std::string>{"StatusBar1"};
  p.positions = std::vector<std::string>{"%Form%,0.0.640.480,0.0.640.480,0.0.700.480"};
  p.words[5] = "Find it";
  EXPECT_TRUE(RewriteComponent(path, "Vorlect1", p));
  ExpectLoads(path, p);
  EXPECT_TRUE(RewriteComponent(path, "Vorlect1", before));
  EXPECT_EQ(Read(path), std::regex_replace(original, std::regex("    ActiveLanguage = 0\r\n"), ""));
}

// Every corpus form, given a translation component, takes changed lists and loads back with them;
// a text form changes only inside the component.
TEST_F(ComponentRewrite, CorpusFormsTakeTheEditorsLists) {
  const std::string corpus = std::string(VORLECT_CORPUS_DIR) + "/dfm";
  if (!fs::exists(corpus)) GTEST_SKIP() << "form-file corpus not found at " << corpus;
  const std::vector<std::string> table{"'%Form%'", "'One'", "'Eins'"};
  const formfile::Object vorlect = formfile::ReadText(FormText(VorlectBlock("Vorlect1", 2, table))).children.at(0);
  TComponentProperties p;
  p.words = {"%Form%", "One", "Eins"};
  p.activeLanguage = 1;
  p.doNot = std::vector<std::string>{"%Form%"};
  p.positions = std::vector<std::string>{"%form%,1.2.3.4,5.6.7.8"};
  p.charSets = std::vector<std::string>{"Tahoma,0", "Tahoma,238"};
  int tried = 0;
  for (const char* kind : {"text", "binary"}) {
    for (const auto& e : fs::directory_iterator(corpus + "/" + kind)) {
      const std::string original = platform::ReadFile(e.path().string());
      std::string withComponent;
      try {
        formfile::FileFormat format;
        formfile::Object root = formfile::ReadForm(original, e.path().string(), &format);
        if (format == formfile::FileFormat::Text) {
          formfile::TextInfo info;
          formfile::ReadText(original, {}, &info);
          const std::string eol = info.lineEnd == formfile::LineEnd::LF ? "\n" : "\r\n";
          const size_t last = original.rfind("end");
          withComponent = original.substr(0, last) + VorlectBlock("Vorlect1", 2, table, eol) + original.substr(last);
        } else {
          formfile::BinaryInfo info;
          formfile::ReadBinary(original, {}, &info);
          root.children.push_back(vorlect);
          withComponent = formfile::WriteBinary(root, info);
        }
        const std::string path = Write("form.dfm", withComponent);
        Load(path);  // forms this framework does not load are no test of the rewrite
      } catch (const std::exception&) {
        continue;
      }
      SCOPED_TRACE(e.path().string());
      ++tried;
      const std::string path = dir_ + "/form.dfm";
      ASSERT_TRUE(RewriteComponent(path, "Vorlect1", p));
      ExpectLoads(path, p);
      const std::string now = Read(path);
      EXPECT_EQ(formfile::DetectFormat(now), formfile::DetectFormat(withComponent));
      if (std::string(kind) == "text") {
        const size_t block = withComponent.rfind("  object Vorlect1: TVorlect");
        EXPECT_EQ(now.substr(0, block), withComponent.substr(0, block));
        EXPECT_TRUE(now.ends_with(withComponent.substr(withComponent.rfind("  end"))));
      }
    }
  }
  EXPECT_GT(tried, 150);
}

}  // namespace
}  // namespace vorlect::vle::test
