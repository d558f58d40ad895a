// Look-ups of numbered strings and string modules.
#include "RuntimeTestUtil.h"

#include "host/framework/TypInfo.h"
#include "platform/Files.h"
#include "platform/pe/Resources.h"
#include "runtime/svlcore.h"

#include <map>
#include <random>

namespace vorlect::runtime::test {
namespace {

using host::GetStrProp;
using Table = std::vector<std::string>;

std::string FormText(const Table& words, int languages = 2, const std::string& name = "MainForm",
                     const std::string& cls = "TMainForm", const std::string& extra = "") {
  return "object " + name + ": " + cls + "\n  Caption = 'Main'\n" +
         "  object Button1: TButton\n    Caption = 'Cancel'\n  end\n" + extra +
         "  object Vorlect1: TVorlect\n    Languages = " + std::to_string(languages) + "\n" +
         StringsProp("Words", words) + "  end\nend\n";
}

// The look-up rule written out as a plain scan: first whole entry whose key matches.
std::string ScanLookup(const TBaseVorlect& v, const std::string& id, int language) {
  const int stride = v.Languages() + 1;
  const TStrings& w = *v.Words();
  if (language >= v.Languages()) language = v.ActiveLanguage();
  const std::string key = AnsiLowerCase(id);
  for (int i = 0; i + v.Languages() < w.Count(); i += stride)
    if (AnsiLowerCase(w.Strings(i)) == key) {
      std::string r = w.Strings(i + language + 1);
      if (r.empty() && v.DefaultEnabled()) r = w.Strings(i + v.DefaultLanguage() + 1);
      return r;
    }
  return key;
}

class LookupTest : public RuntimeTest {};

TEST_F(LookupTest, IdentifiersIgnoreCaseAndFallBackToTheActiveLanguage) {
  auto form = Load(FormText({"hello", "Hallo", "Bonjour", "Empty", "E0", ""}));
  TBaseVorlect* v = Vorlect(*form);
  v->SetActiveLanguage(1);
  std::string res = "stale";
  v->GetText("Hello", res);
  EXPECT_EQ(res, "Bonjour");
  v->GetTextEx("HELLO", 0, res);
  EXPECT_EQ(res, "Hallo");
  v->GetTextEx("hello", 7, res);
  EXPECT_EQ(res, "Bonjour");
  EXPECT_EQ(v->GetText("empty"), "");
  v->SetDefaultEnabled(true);
  EXPECT_EQ(v->GetText("empty"), "E0");
}

TEST_F(LookupTest, UnknownIdentifiersYieldTheLowerCasedIdOrWhatTheHandlerSays) {
  auto form = Load(FormText({"hello", "Hallo", "Bonjour", "partial", "p0"}));
  TBaseVorlect* v = Vorlect(*form);
  EXPECT_EQ(v->GetText("Xyz"), "xyz");
  EXPECT_EQ(v->GetText("Partial"), "partial");  // an incomplete entry is not an entry
  std::string seen;
  v->IdNotFoundError = [&](TObject* sender, const std::string& id, std::string& res) {
    EXPECT_EQ(sender, v);
    seen = id;
    res = "<" + res + ">";
  };
  EXPECT_EQ(v->GetText("Xyz"), "<xyz>");
  EXPECT_EQ(seen, "xyz");
  // Non-ASCII letters lower-case in the ANSI code page (1252 here).
  v->Words()->Clear();
  v->Words()->Add("\xC4rger");
  v->Words()->Add("a");
  v->Words()->Add("b");
  v->GetTextEx("\xE4RGER", 0, seen);
  EXPECT_EQ(seen, "a");
}

TEST_F(LookupTest, TheIndexFollowsEveryChangeOfWordsAndMatchesTheScanRule) {
  auto form = Load(FormText({}));
  TBaseVorlect* v = Vorlect(*form);
  std::mt19937 rng(7);
  const Table keys = {"a", "B", "c", "\"", "%Form%", "Button1", "A", "dup"};
  auto pick = [&](const Table& t) { return t[rng() % t.size()]; };
  for (int step = 0; step < 400; ++step) {
    TStringList* w = v->Words();
    switch (rng() % 7) {
      case 0: w->Add(pick(keys)); break;
      case 1: if (w->Count()) w->Put(static_cast<int>(rng() % w->Count()), pick(keys)); break;
      case 2: w->Insert(w->Count() ? static_cast<int>(rng() % w->Count()) : 0, pick(keys)); break;
      case 3: if (w->Count()) w->Delete(static_cast<int>(rng() % w->Count())); break;
      case 4:
        w->BeginUpdate();
        w->Add(pick(keys));
        EXPECT_EQ(v->GetText("a"), ScanLookup(*v, "a", v->ActiveLanguage()));
        w->Add(std::to_string(step));
        w->EndUpdate();
        break;
      case 5: if (rng() % 20 == 0) w->Clear(); break;
      case 6: if (w->Count()) w->Exchange(0, w->Count() - 1); break;
    }
    for (const std::string& id : keys)
      for (int lang : {0, 1, 5}) {
        std::string res;
        v->GetTextEx(id, static_cast<std::uint8_t>(lang), res);
        ASSERT_EQ(res, ScanLookup(*v, id, lang)) << "step " << step << " id " << id;
      }
  }
  // A list handed over as a whole is followed as well.
  auto list = std::make_unique<TStringList>();
  list->Add("k");
  list->Add("k0");
  list->Add("k1");
  TStringList* raw = list.get();
  v->SetWords(std::move(list));
  EXPECT_EQ(v->Words(), raw);
  EXPECT_EQ(v->GetText("K"), "k0");
  raw->Put(1, "changed");
  EXPECT_EQ(v->GetText("K"), "changed");
  raw->BeginUpdate();
  raw->Put(0, "other");
  EXPECT_EQ(v->GetText("K"), "k");
  raw->EndUpdate();
  EXPECT_EQ(v->GetText("other"), "changed");
}

// ---- string modules --------------------------------------------------------------------------

class StringModuleTest : public RuntimeTest {
protected:
  std::string WriteModule(const std::map<std::uint32_t, std::u16string>& strings, std::uint16_t language = 0) {
    std::string path = platform::CreateTempFile("TVLtest");
    platform::WriteFileAtomic(path, platform::BuildStringModule(strings, language));
    files_.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const std::string& f : files_) platform::DeleteFile(f);
    RuntimeTest::TearDown();
  }
  std::vector<std::string> files_;
};

TEST_F(StringModuleTest, AFormNamedInABlockHeaderTakesItsOneLanguageTable) {
  REQUIRE_CLASS("TButton");
  const std::string path = WriteModule({{1000, u"$Other"}, {1001, u"Button1"}, {1002, u"Nein"},
                                        {1100, u"$MainForm"}, {1101, u"Button1"}, {1102, u"Abbrechen"},
                                        {1103, u"%Form%"}, {1104, u"Hauptfenster"}, {1105, u"Id"}, {1107, u"after gap"}});
  LanguageDLL = path;
  GlobalLang = 1;
  auto form = Load(FormText({"%Form%", "Main", "Principal", "Button1", "Cancel", "Annuler"}));
  TBaseVorlect* v = Vorlect(*form);
  EXPECT_EQ(v->Languages(), 1);
  EXPECT_EQ(v->ActiveLanguage(), 0);
  // A missing text is empty; the block ends at the first missing key.
  EXPECT_EQ(Lines(*v->Words()), (Table{"Button1", "Abbrechen", "%Form%", "Hauptfenster", "Id", "", "after gap", ""}));
  EXPECT_EQ(GetStrProp(*form, "Caption"), "Hauptfenster");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "Abbrechen");
  EXPECT_EQ(LanguageDLL, path);
}

TEST_F(StringModuleTest, ClassHeadersMatchTheFileNamePartAndOtherFormsStayAsTheyWere) {
  const std::string path = WriteModule({{1000, u"%"}, {1100, u"%Forms\\TMAINFORM"}, {1101, u"Id"}, {1102, u"Wert"}});
  auto form = Load(FormText({"Id", "v0", "v1"}));
  auto other = Load(FormText({"Id", "o0", "o1"}, 2, "OtherForm", "TOtherForm"));
  auto* dlls = new TLanguageDLLs(form.get());
  dlls->SetDLL(path);
  EXPECT_EQ(host::GetStrProp(*dlls, "DLL"), path);
  EXPECT_EQ(Lines(*Vorlect(*form)->Words()), (Table{"Id", "Wert"}));
  EXPECT_EQ(Vorlect(*form)->GetText("id"), "Wert");
  EXPECT_EQ(Lines(*Vorlect(*other)->Words()), (Table{"Id", "o0", "o1"}));
  EXPECT_EQ(Vorlect(*other)->Languages(), 2);
}

TEST_F(StringModuleTest, TextsConvertWithTheTableLanguagesCodePageAndAreCutToTheBuffer) {
  const std::u16string longText(400, u'x');
  const std::string path = WriteModule({{1000, u"$MainForm"}, {1001, u"Ru"}, {1002, u"\u041F\u0440\u0438"},
                                        {1003, u"Long"}, {1004, longText}}, 0x0419);
  LanguageDLL = path;
  auto form = Load(FormText({}));
  TBaseVorlect* v = Vorlect(*form);
  EXPECT_EQ(v->GetText("ru"), "\xCF\xF0\xE8");
  EXPECT_EQ(v->GetText("long"), std::string(299, 'x'));
}

TEST_F(StringModuleTest, AModuleThatCannotBeLoadedGivesTheExactError) {
  auto form = Load(FormText({"Id", "a", "b"}));
  TBaseVorlect* v = Vorlect(*form);
  LanguageDLL = "/nonexistent/strings.dll";
  try {
    v->ReadFromDLL();
    ADD_FAILURE() << "no error";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Cannot load string DLL \"/nonexistent/strings.dll\".");
  }
  std::string junk = platform::CreateTempFile("TVLtest");
  files_.push_back(junk);
  platform::WriteFileAtomic(junk, "MZ not really");
  LanguageDLL = junk;
  EXPECT_THROW(v->ReadFromDLL(), host::Exception);
  EXPECT_EQ(Lines(*v->Words()), (Table{"Id", "a", "b"}));

  // Loading with a module that is not there keeps only its file name and reads nothing.
  LanguageDLL = "/nonexistent/dir/strings.dll";
  auto later = Load(FormText({"Id", "a", "b"}));
  EXPECT_EQ(LanguageDLL, "strings.dll");
  EXPECT_EQ(Vorlect(*later)->Languages(), 2);
}

TEST_F(StringModuleTest, SmallVorlectServesLookUpsFromModulesButTranslatesNoControls) {
  REQUIRE_CLASS("TButton");
  const std::string path = WriteModule({{1000, u"$MainForm"}, {1001, u"Button1"}, {1002, u"Abbrechen"}});
  auto form = Load("object MainForm: TMainForm\n  object Button1: TButton\n    Caption = 'Cancel'\n  end\n"
                   "  object Vorlect1: TSmallVorlect\n    Languages = 2\n" +
                   StringsProp("Words", {"Button1", "Cancel", "Annuler"}) +
                   "  end\n  object LanguageDLLs1: TLanguageDLLs\n    DLL = " + Quoted(path) + "\n  end\nend\n");
  TBaseVorlect* v = Vorlect(*form);
  EXPECT_EQ(LanguageDLL, path);
  EXPECT_EQ(v->Languages(), 1);
  EXPECT_EQ(v->GetText("button1"), "Abbrechen");
  EXPECT_EQ(GetStrProp(*form->FindComponent("Button1"), "Caption"), "Cancel");
}

}  // namespace
}  // namespace vorlect::runtime::test
