// Project search and replace on catalogue rows, and saving the replacements into form files.
#include "vle/exchange/FSearchDlg.h"

#include "../VleTestUtil.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "vle/project/DFM_TXT.h"

#include <filesystem>
#include <set>

namespace vorlect::vle {
namespace {

namespace fs = std::filesystem;
using namespace ports;

class SearchTest : public test::VleTest {
protected:
  void SetUp() override {
    VleTest::SetUp();
    AddForm("Main", {"%Form%", "Orders", "Bestellungen", "Button1", "Open open", "Offen", "\"", "Opened", "open",
                     "\".Hint", "it''s open", "'#1054'pen", "Label1", "x", "OPEN"});
    AddForm("About", {"%Form%", "About open", "Info"});
    AddForm("Hidden", {"Label1", "open", "open"}, false);
  }
  void AddForm(const std::string& name, std::initializer_list<const char*> lines, bool selected = true) {
    auto e = std::make_unique<TEntry>();
    e->InstanceCount = 1;
    e->LanguageCount = 2;
    e->FormClassName = "T" + name;
    e->FormFile = (fs::path(dir_) / (name + ".dfm")).string();
    for (const char* l : lines) e->Lines.Add(l);
    cat_.AddRow(std::move(e), selected);
  }
  std::vector<std::string> Column(const TSearchDlg& d, int which) const {
    std::vector<std::string> v;
    for (const auto& r : d.Results()) v.push_back(which == 0 ? r.Form : which == 1 ? r.Component : r.TextFound);
    return v;
  }

  TFPrjList cat_{std::string("P"), {}};
  ScriptedPorts ports_;
  ScopedPorts scope_{ports_};
};

TEST_F(SearchTest, FindsInEveryLanguageOfSelectedFormsWithComponentNames) {
  TSearchDlg d(cat_);
  EXPECT_FALSE(d.FindEnabled());
  d.SearchText = "open";
  d.IgnoreCase = false;
  ASSERT_TRUE(d.FindEnabled());
  d.FindClick();
  // "Open open" gives one row; continuation keys keep the component named before them.
  EXPECT_THAT(Column(d, 2), testing::ElementsAre("Open open", "open", "it's open", "About open"));
  EXPECT_THAT(Column(d, 1), testing::ElementsAre("Button1", "Button1", "Button1", "%Form%"));
  EXPECT_THAT(Column(d, 0), testing::ElementsAre("TMain", "TMain", "TMain", "TAbout"));
  EXPECT_EQ(d.FindCaption(), "&Find");
  EXPECT_EQ(d.GroupCaption(), "&Search Results");
  EXPECT_FALSE(d.Running());

  d.IgnoreCase = true;  // also "Opened" and "OPEN", but not a Cyrillic "О" that merely looks like one
  d.FindClick();
  EXPECT_THAT(Column(d, 2), testing::ElementsAre("Open open", "Opened", "open", "it's open", "OPEN", "About open"));
}

TEST_F(SearchTest, SelectedLanguagesOnly) {
  TSearchDlg d(cat_);
  ASSERT_EQ(d.LanguageItems(), (std::vector<std::string>{"language 1", "language 2"}));
  d.SearchText = "open";
  d.AllLanguages = false;
  EXPECT_FALSE(d.FindEnabled());  // nothing selected
  EXPECT_TRUE(d.LanguageListEnabled());
  d.SetLanguageSelected(1, true);
  d.FindClick();
  EXPECT_THAT(Column(d, 2), testing::ElementsAre("open", "OPEN"));
}

TEST_F(SearchTest, ReplacesTheFirstOccurrenceInValidNotationAndAsksToSave) {
  TSearchDlg d(cat_);
  d.SearchText = "open";
  d.ReplaceText = "l'ouvert";
  d.IgnoreCase = false;
  // The end of the search is announced before the question, with the rows it asks about.
  std::vector<size_t> ended;
  d.SearchEnded = [&] {
    EXPECT_TRUE(ports_.messages().empty());
    EXPECT_FALSE(d.Running());
    ended.push_back(d.Results().size());
  };
  ports_.queueAnswer(mrNo);
  EXPECT_TRUE(d.ReplaceClick());
  EXPECT_EQ(ended, std::vector<size_t>{4});
  EXPECT_EQ(ports_.messages().at(0).text, TSearchDlg::kSaveQuestion);
  EXPECT_EQ(ports_.messages().at(0).type, mtConfirmation);
  const TEntry& main = cat_.Entry(0);
  EXPECT_EQ(main.Lines.Strings(4), "Open l''ouvert");
  EXPECT_EQ(main.Lines.Strings(8), "l''ouvert");
  EXPECT_EQ(main.Lines.Strings(10), "it''s l''ouvert");
  EXPECT_EQ(cat_.Entry(2).Lines.Strings(1), "open");  // not selected
  EXPECT_EQ(d.SavedCount(), 0);
  EXPECT_FALSE(fs::exists(main.FormFile));  // No: nothing written
}

TEST_F(SearchTest, StopKeepsTheRowsFoundSoFar) {
  TSearchDlg d(cat_);
  d.SearchText = "open";
  int polls = 0;
  d.ProcessMessages = [&] {
    EXPECT_FALSE(d.ControlsEnabled());
    EXPECT_EQ(d.FindCaption(), "St&op");
    if (++polls == 3) d.FindClick();  // the user clicks "St&op" after the second entry
  };
  d.FindClick();
  EXPECT_EQ(d.Results().size(), 1u);
  EXPECT_EQ(d.FindCaption(), "&Find");
  EXPECT_TRUE(d.ControlsEnabled());
  d.ResultDblClick(-1);  // no row: nothing happens
  d.ResultDblClick(5);
}

TEST_F(SearchTest, SavedReplacementsReachTheFormFile) {
  const fs::path copy = fs::path(dir_) / "sample";
  fs::copy(fs::path(VORLECT_SOURCE_DIR) / "examples" / "sample-project", copy, fs::copy_options::recursive);
  toolservices::HeadlessHost host((copy / "Sample.dpr").string());
  toolservices::SetHostServices(&host);
  {
    TFPrjList cat(false);
    cat.SelectAll();
    TSearchDlg d(cat);
    d.SearchText = "kunden";
    d.ReplaceText = "Kund'innen";
    ports_.queueAnswer(mrYes);
    EXPECT_TRUE(d.ReplaceClick());
    EXPECT_GT(d.Results().size(), 1u);
    std::set<const TEntry*> forms;
    for (const auto& r : d.Results()) forms.insert(r.Entry);
    EXPECT_LT(forms.size(), d.Results().size());
    EXPECT_EQ(d.SavedCount(), static_cast<int>(forms.size()));  // several hits in one form: one rewrite
    EXPECT_EQ(d.FailedCount(), 0);
    TEntry now;
    ScanFormFile((copy / "Main.dfm").string(), now);
    bool seen = false;
    for (int i = 0; i < now.Lines.Count(); ++i) {
      EXPECT_EQ(now.Lines.Strings(i).find("Kunden"), std::string::npos);
      seen = seen || now.Lines.Strings(i) == "Kund'#39'innen";  // as the IDE writes an apostrophe
    }
    EXPECT_TRUE(seen);
  }
  toolservices::SetHostServices(nullptr);
}

TEST_F(SearchTest, UnsavedReplacementsStayInACountsOnlyCatalogue) {
  // The window keeps counts only between steps: a replacement answered No must still be there after
  // a later search that does not hit its form, until it is saved.
  const fs::path copy = fs::path(dir_) / "sample";
  fs::copy(fs::path(VORLECT_SOURCE_DIR) / "examples" / "sample-project", copy, fs::copy_options::recursive);
  const std::string before = platform::ReadFile((copy / "Main.dfm").string());
  toolservices::HeadlessHost host((copy / "Sample.dpr").string());
  toolservices::SetHostServices(&host);
  {
    TFPrjList cat(false, {}, /*keepLines=*/false);
    cat.SelectAll();
    TSearchDlg d(cat);
    d.SearchText = "Kunden";
    d.ReplaceText = "Klienten";
    ports_.queueAnswer(mrNo);
    d.ReplaceClick();
    ASSERT_FALSE(d.Results().empty());
    TEntry* main = d.Results().front().Entry;
    d.SearchText = "no such text anywhere";
    d.FindClick();
    EXPECT_TRUE(d.Results().empty());
    EXPECT_TRUE(main->LinesChanged);
    EXPECT_FALSE(main->LinesReleased());
    d.SearchText = "Klienten";
    d.FindClick();
    EXPECT_FALSE(d.Results().empty());
    EXPECT_EQ(platform::ReadFile((copy / "Main.dfm").string()), before);
    // Saved, the lines may go again.
    d.SearchText = "Klienten";
    d.ReplaceText = "Kunden";
    ports_.queueAnswer(mrYes);
    EXPECT_TRUE(d.ReplaceClick());
    EXPECT_FALSE(main->LinesChanged);
    EXPECT_EQ(platform::ReadFile((copy / "Main.dfm").string()), before);
  }
  toolservices::SetHostServices(nullptr);
}

}  // namespace
}  // namespace vorlect::vle
