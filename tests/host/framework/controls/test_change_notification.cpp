// What a view of a component tree is told: the component whose shown state changed, however it
// was changed, gathered in batches, and the components that go.
#include "host/framework/Controls.h"
#include "host/framework/Streaming.h"
#include "host/framework/controls/ComCtrls.h"
#include "host/framework/controls/ExtCtrls.h"
#include "host/framework/controls/Menus.h"
#include "host/framework/controls/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vorlect::host {
namespace {

struct Recorder : TChangeObserver {
  std::vector<std::string> changed, destroyed, batches;
  void ComponentChanged(TComponent& c) override { changed.push_back(c.Name()); }
  void ComponentDestroying(TComponent& c) override { destroyed.push_back(c.Name()); }
  void BeginBatch() override { batches.push_back("begin"); }
  void EndBatch() override { batches.push_back("end"); }
};

const char* kForm =
    "object Form1: TForm1\n"
    "  Font.Name = 'Arial'\n"
    "  object Panel1: TPanel\n"
    "    object Label1: TLabel\n"
    "      Caption = 'Name'\n"
    "    end\n"
    "    object Own: TLabel\n"
    "      ParentFont = False\n"
    "      Font.Name = 'Courier New'\n"
    "    end\n"
    "  end\n"
    "  object ListBox1: TListBox\n"
    "    Items.Strings = (\n"
    "      'a'\n"
    "      'b')\n"
    "  end\n"
    "  object StatusBar1: TStatusBar\n"
    "    Panels = <\n"
    "      item\n"
    "        Text = 'Ready'\n"
    "      end>\n"
    "  end\n"
    "  object TreeView1: TTreeView\n"
    "  end\n"
    "  object ListView1: TListView\n"
    "  end\n"
    "  object MainMenu1: TMainMenu\n"
    "    object MnuFile: TMenuItem\n"
    "      Caption = '&File'\n"
    "    end\n"
    "  end\n"
    "end\n";

class ChangeNotification : public ::testing::Test {
protected:
  void SetUp() override {
    form_ = LoadForm(kForm);
    form_->SetChangeObserver(&recorder_);
  }
  void TearDown() override {
    if (form_) form_->SetChangeObserver(nullptr);
  }
  template <class T>
  T& Get(const char* name) {
    return *dynamic_cast<T*>(form_->FindComponent(name));
  }

  std::unique_ptr<TComponent> form_;
  Recorder recorder_;
};

// Direct setters, the generic property setters, owned lists, collection items, tree nodes and
// list items all name the control that shows them.
TEST_F(ChangeNotification, EveryWayOfChangingReportsTheControl) {
  auto reported = [this](auto&& change) {
    recorder_.changed.clear();
    change();
    return recorder_.changed.empty() ? std::string("(none)") : recorder_.changed.back();
  };
  EXPECT_EQ(reported([&] { Get<TLabel>("Label1").SetCaption("Surname"); }), "Label1");
  EXPECT_EQ(reported([&] { SetOrdProp(Get<TLabel>("Label1"), "Left", 20); }), "Label1");
  EXPECT_EQ(reported([&] { Get<TListBox>("ListBox1").Items()->Put(1, "c"); }), "ListBox1");
  EXPECT_EQ(reported([&] { SetStrProp(*Get<TStatusBar>("StatusBar1").Panels()->Items(0), "Text", "Busy"); }),
            "StatusBar1");
  TTreeNode* node = Get<TTreeView>("TreeView1").Items()->AddChild(nullptr, "x");
  EXPECT_EQ(reported([&] { node->SetText("y"); }), "TreeView1");
  TListItem* item = Get<TListView>("ListView1").Items()->Add();
  EXPECT_EQ(reported([&] { item->SetCaption("row"); }), "ListView1");
  EXPECT_EQ(reported([&] { item->SubItems()->Add("cell"); }), "ListView1");
  EXPECT_EQ(reported([&] { SetStrProp(Get<TMenuItem>("MnuFile"), "Caption", "&Datei"); }), "MnuFile");
  EXPECT_EQ(Get<TListBox>("ListBox1").Items()->Strings(1), "c");
}

TEST_F(ChangeNotification, AFormFontReachesTheChildrenThatFollowIt) {
  auto& form = dynamic_cast<TControl&>(*form_);
  form.Font()->SetCharset(RUSSIAN_CHARSET);
  form.Font()->SetName("Courier New");
  EXPECT_EQ(Get<TLabel>("Label1").Font()->Charset(), RUSSIAN_CHARSET);
  EXPECT_EQ(Get<TLabel>("Label1").Font()->Name(), "Courier New");
  EXPECT_TRUE(Get<TLabel>("Label1").ParentFont());
  EXPECT_EQ(Get<TLabel>("Own").Font()->Charset(), DEFAULT_CHARSET) << "a font of its own stays";
  const auto& changed = recorder_.changed;
  EXPECT_NE(std::find(changed.begin(), changed.end(), "Label1"), changed.end());
  EXPECT_EQ(std::find(changed.begin(), changed.end(), "Own"), changed.end());
}

TEST_F(ChangeNotification, BatchesNestAndDestructionIsReported) {
  {
    TChangeBatch outer(&Get<TLabel>("Label1"));
    TChangeBatch inner(form_.get());
  }
  EXPECT_EQ(recorder_.batches, (std::vector<std::string>{"begin", "begin", "end", "end"}));
  delete &Get<TLabel>("Own");
  EXPECT_EQ(recorder_.destroyed, (std::vector<std::string>{"Own"}));
  // The root is reported alone, after which the observer is no longer set.
  form_.reset();
  EXPECT_EQ(recorder_.destroyed, (std::vector<std::string>{"Own", "Form1"}));
}

TEST_F(ChangeNotification, WithoutAnObserverNothingIsAskedAndLoadingReportsNothing) {
  form_->SetChangeObserver(nullptr);
  Get<TLabel>("Label1").SetCaption("x");
  { TChangeBatch batch(form_.get()); }
  EXPECT_TRUE(recorder_.changed.empty());
  EXPECT_TRUE(recorder_.batches.empty());
  // A second tree read while the first is observed tells the first nothing.
  form_->SetChangeObserver(&recorder_);
  auto other = LoadForm(kForm);
  dynamic_cast<TControl&>(*other->FindComponent("Label1")).SetCaption("y");
  EXPECT_TRUE(recorder_.changed.empty());
}

}  // namespace
}  // namespace vorlect::host
