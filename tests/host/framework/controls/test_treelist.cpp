// Tree-view nodes and list-view items stored as binary data.
#include "FrameworkTestUtil.h"

#include "host/framework/Streaming.h"
#include "host/framework/controls/StockControls.h"
#include "host/framework/controls/TreeListData.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace vorlect::host {
namespace {

using formfile::Object;

void ForEachBlob(const Object& obj, const std::function<void(const Object&, const formfile::Property&)>& f) {
  for (const auto& p : obj.properties)
    if (p.value.type == formfile::ValueType::Binary) f(obj, p);
  for (const auto& c : obj.children) ForEachBlob(c, f);
}

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

TEST(TreeListData, EveryCorpusBlobDecodesAndEncodesToTheSameBytes) {
  auto files = test::CorpusForms();
  if (files.empty()) GTEST_SKIP() << "corpus not found at " << VORLECT_CORPUS_DIR;
  int trees = 0, lists = 0;
  for (const auto& path : files) {
    Object root;
    try {
      root = formfile::ReadForm(platform::ReadFile(path.string()), path.string());
    } catch (const formfile::FormFileError&) {
      continue;
    }
    ForEachBlob(root, [&](const Object& obj, const formfile::Property& p) {
      std::string where = path.filename().string() + ": " + obj.name + "." + p.name;
      std::string error;
      if (Contains(obj.className, "TreeView") && (p.name == "Items.Data" || p.name == "Items.NodeData")) {
        TreeData data;
        ASSERT_TRUE(DecodeTreeData(p.value.bytes, p.name == "Items.NodeData", data, error)) << where << ": " << error;
        EXPECT_EQ(EncodeTreeData(data), p.value.bytes) << where;
        ++trees;
      } else if (Contains(obj.className, "ListView") && (p.name == "Items.Data" || p.name == "Items.ItemData")) {
        ListData data;
        ASSERT_TRUE(DecodeListData(p.value.bytes, p.name == "Items.ItemData", data, error)) << where << ": " << error;
        EXPECT_EQ(EncodeListData(data), p.value.bytes) << where;
        ++lists;
      }
    });
  }
  EXPECT_GE(trees, 13);  // every tree blob of the corpus (8 text files with NodeData among them)
  EXPECT_GE(lists, 4);
}

// Cut at every length and with absurd counts: refused with an offset, never a crash.
TEST(TreeListData, DamagedBlobsAreRefusedWithTheirOffset) {
  TreeData tree;
  tree.version = 3;
  tree.nodes.resize(2);
  tree.nodes[0].wideText = u"Root";
  tree.nodes[0].children.resize(1);
  tree.nodes[0].children[0].wideText = u"Child";
  std::string good = EncodeTreeData(tree);
  for (std::size_t n = 0; n < good.size(); ++n) {
    TreeData out;
    std::string error;
    EXPECT_FALSE(DecodeTreeData(std::string_view(good).substr(0, n), true, out, error)) << n;
    EXPECT_NE(error.find("offset "), std::string::npos) << error;
  }
  std::string huge = "\x03\xff\xff\xff\x7f";
  TreeData out;
  std::string error;
  EXPECT_FALSE(DecodeTreeData(huge, true, out, error));
  EXPECT_NE(error.find("exceeds"), std::string::npos);

  // Nesting deeper than the limit is refused rather than recursed into.
  TreeData deep;
  TreeNodeRecord* at = &deep.nodes.emplace_back();
  for (int i = 0; i < kMaxTreeDepth + 5; ++i) at = &at->children.emplace_back();
  EXPECT_FALSE(DecodeTreeData(EncodeTreeData(deep), false, out, error));

  ListData list;
  list.items.resize(1);
  list.items[0].ansiCaption = "x";
  list.items[0].ansiSubItems = {"a", "b"};
  std::string lgood = EncodeListData(list);
  for (std::size_t n = 0; n < lgood.size(); ++n) {
    ListData lout;
    EXPECT_FALSE(DecodeListData(std::string_view(lgood).substr(0, n), false, lout, error)) << n;
  }
}

TEST(TreeListData, TextsLongerThanTheLengthByteAreNotCut) {
  TreeData tree;
  tree.nodes.resize(1);
  tree.nodes[0].ansiText = std::string(256, 'x');
  EXPECT_THROW(EncodeTreeData(tree), std::length_error);
}

std::unique_ptr<TComponent> LoadSample() {
  std::string path = std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project/Main.dfm";
  ReadOptions options;
  options.codePage = 1252;
  return LoadFormFile(path, options);
}

TEST(TreeViewData, SampleProjectNodesWithAbsoluteIndexes) {
  auto form = LoadSample();
  auto* tree = dynamic_cast<TTreeView*>(form->FindComponent("TreeView1"));
  ASSERT_NE(tree, nullptr);
  TTreeNodes& nodes = *tree->Items();
  EXPECT_EQ(nodes.StoredVersion(), 0);
  ASSERT_EQ(nodes.Count(), 6);
  ASSERT_EQ(nodes.TopLevelCount(), 2);
  const char* texts[] = {"Customers", "Europe", "Am\xe9rique", "Orders", "Open", "Closed"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(nodes.Item(i)->Text(), texts[i]);
    EXPECT_EQ(nodes.Item(i)->AbsoluteIndex(), i);
  }
  EXPECT_EQ(nodes.Item(2)->Parent(), nodes.Item(0));
  EXPECT_EQ(nodes.Item(2)->Index(), 1);
  EXPECT_EQ(nodes.Item(2)->Level(), 1);
  EXPECT_EQ(nodes.Item(3)->Index(), 1);
  EXPECT_EQ(nodes.Item(1)->ImageIndex, 1);

  // Unchanged: the same bytes; changed: the new text in the same layout.
  std::string before = SaveForm(*form, formfile::FileFormat::Text);
  std::string original = platform::ReadFile(std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project/Main.dfm");
  Object a = formfile::ReadText(original), b = formfile::ReadText(before);
  EXPECT_EQ(test::ExactDiff(a, b), "");
  nodes.Item(4)->SetText("Pending");
  nodes.AddChild(nodes.Item(3), "Archived");
  auto reloaded = LoadForm(SaveForm(*form, formfile::FileFormat::BinaryWithHeader));
  auto* tree2 = dynamic_cast<TTreeView*>(reloaded->FindComponent("TreeView1"));
  ASSERT_NE(tree2, nullptr);
  ASSERT_EQ(tree2->Items()->Count(), 7);
  EXPECT_EQ(tree2->Items()->Item(4)->Text(), "Pending");
  EXPECT_EQ(tree2->Items()->Item(6)->Text(), "Archived");
  EXPECT_EQ(tree2->Items()->Item(6)->AbsoluteIndex(), 6);
}

TEST(TreeViewData, UnicodeNodeTextsSurviveUnlessChanged) {
  // One NodeData v3 node whose text cp1252 cannot hold, and one it can.
  TreeData data;
  data.version = 3;
  data.nodes.resize(2);
  data.nodes[0].wideText = u"\u0416\u0443\u043a";  // Cyrillic
  data.nodes[1].wideText = u"Caf\u00e9";
  std::string blob = EncodeTreeData(data);
  std::string hex;
  for (unsigned char c : blob) {
    static const char* digits = "0123456789ABCDEF";
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  std::string text = "object F: TForm\n  object T: TTreeView\n    Left = 0\n    Items.NodeData = {" + hex + "}\n  end\nend\n";
  ReadOptions options;
  options.codePage = 1252;
  auto form = LoadForm(text, options);
  auto* tree = dynamic_cast<TTreeView*>(form->FindComponent("T"));
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->Items()->Item(1)->Text(), "Caf\xe9");
  WriteOptions wo;
  wo.codePage = 1252;
  Object out = WriteComponentTree(*form, wo);
  const formfile::Property* p = out.children[0].find("Items.NodeData");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->value.bytes, blob);  // the Cyrillic text came back although cp1252 lacks it

  tree->Items()->Item(1)->SetText("Th\xe9");
  out = WriteComponentTree(*form, wo);
  TreeData back;
  std::string error;
  ASSERT_TRUE(DecodeTreeData(out.children[0].find("Items.NodeData")->value.bytes, true, back, error)) << error;
  EXPECT_EQ(back.nodes[0].wideText, data.nodes[0].wideText);
  EXPECT_EQ(back.nodes[1].wideText, u"Th\u00e9");
}

TEST(TreeViewData, UndecodableDataIsKeptAndFlagged) {
  std::string text = "object F: TForm\n  object T: TTreeView\n    Left = 0\n    Items.Data = {0500000001}\n  end\nend\n";
  auto form = LoadForm(text);
  auto* tree = dynamic_cast<TTreeView*>(form->FindComponent("T"));
  ASSERT_NE(tree, nullptr);
  EXPECT_NE(tree->Items()->DataError(), "");
  EXPECT_EQ(tree->Items()->Count(), 0);
  EXPECT_EQ(test::ExactDiff(formfile::ReadText(text), WriteComponentTree(*form)), "");
}

TEST(ListViewData, ItemsWithSubItemsRoundTrip) {
  ListData data;
  data.items.resize(2);
  data.items[0].ansiCaption = "one";
  data.items[0].ansiSubItems = {"a", "b"};
  data.items[0].imageIndex = 3;
  data.items[1].ansiCaption = "two";
  std::string blob = EncodeListData(data);
  ListData back;
  std::string error;
  ASSERT_TRUE(DecodeListData(blob, false, back, error)) << error;
  EXPECT_EQ(back.items[0].ansiSubItems, data.items[0].ansiSubItems);
  EXPECT_EQ(back.sizeAdjust, 0);  // the 8-bit header counts every byte

  TListView view(nullptr);
  formfile::Value v;
  v.type = formfile::ValueType::Binary;
  v.bytes = blob;
  ASSERT_TRUE(view.Items()->ReadData(v, false, FilerContext{}));
  ASSERT_EQ(view.Items()->Count(), 2);
  EXPECT_EQ(view.Items()->Item(0)->Caption(), "one");
  EXPECT_EQ(view.Items()->Item(0)->SubItems()->Strings(1), "b");
  EXPECT_EQ(view.Items()->Item(0)->ImageIndex, 3);
  view.Items()->Item(0)->SubItems()->Put(0, "changed");
  auto written = view.Items()->WriteData(false, FilerContext{});
  ASSERT_TRUE(written.has_value());
  ASSERT_TRUE(DecodeListData(written->bytes, false, back, error)) << error;
  EXPECT_EQ(back.items[0].ansiSubItems[0], "changed");
}

}  // namespace
}  // namespace vorlect::host
