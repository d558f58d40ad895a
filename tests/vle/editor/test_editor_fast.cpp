// The indexed table commands give the results of the plain row-by-row walks, on many small
// random tables full of ties, empty cells and continuation rows.
#include "EditorTestUtil.h"
#include "PlainTable.h"

#include <random>

#include "host/framework/Classes.h"

namespace vorlect::vle::test {
namespace {

struct Random {
  std::mt19937 gen;
  explicit Random(unsigned seed) : gen(seed) {}
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); }
  template <class T>
  const T& Pick(const std::vector<T>& v) { return v[static_cast<size_t>(Int(0, static_cast<int>(v.size()) - 1))]; }
};

TRows RandomTable(Random& rnd, const std::vector<std::string>& keys, const std::vector<std::string>& texts, int cols) {
  const int n = rnd.Int(0, 30);
  TRows rows;
  rows.push_back(TRow(static_cast<size_t>(cols), "title"));
  rows.push_back(TRow(static_cast<size_t>(cols), "Arial, ANSI_CHARSET"));
  rows[1][0] = "Font/Charset";
  for (int r = 0; r < n; ++r) {
    TRow row{rnd.Pick(keys)};
    for (int k = 1; k < cols; ++k) row.push_back(rnd.Pick(texts));
    rows.push_back(std::move(row));
  }
  if (rnd.Int(0, 1)) rows.emplace_back(static_cast<size_t>(cols));  // the trailing row
  return rows;
}

TEST(FastTable, SortEqualsTheRepeatedNeighbourSwaps) {
  Random rnd(7);
  const std::vector<std::string> keys = {"%Form%", "\"", "\"", "\".Hint", "Button1", "button1", "BUTTON2", "Abc", "abc",
                                         "Zed", "@1", "", "lbl", "Lbl", "\xE4pfel", "_x"};
  for (int i = 0; i < 800; ++i) {
    TRows rows = RandomTable(rnd, keys, {"a", "", "b"}, rnd.Int(1, 3));
    TRows plain = rows;
    SortBlocks(rows);
    PlainSort(plain);
    ASSERT_EQ(rows, plain) << "table " << i;
  }
}

TEST(FastTable, DuplicateEqualsTheNestedWalk) {
  Random rnd(11);
  const std::vector<std::string> keys = {"\"", "\".Hint", "Button1", "button1", "BUTTON1", "Label1", "", "font/charset",
                                         "@1", "@1", "x", "\xC4pfel", "\xE4pfel"};
  for (int i = 0; i < 800; ++i) {
    const TRows rows = RandomTable(rnd, keys, {"a"}, 2);
    const auto fast = FindDuplicate(rows);
    const auto plain = PlainDuplicate(rows);
    ASSERT_EQ(fast.has_value(), plain.has_value()) << "table " << i;
    if (fast) {
      EXPECT_EQ(fast->row, plain->row) << "table " << i;
      EXPECT_EQ(fast->distance, plain->distance) << "table " << i;
    }
  }
}

TEST(FastTable, SmartFillEqualsTheCellByCellSearch) {
  Random rnd(13);
  const std::vector<std::string> keys = {"A", "B", "\"", "", "  ", "@1"};
  const std::vector<std::string> texts = {"", "", "", " ", "yes", "ja", "oui", "no", "nein", "Yes"};
  for (int i = 0; i < 1500; ++i) {
    const int languages = rnd.Int(1, 4);
    const int cols = languages + rnd.Int(0, 1) * (rnd.Int(-1, 1));  // tables wider or narrower than the store
    const int tableCols = std::max(cols + 1, 2);
    TRows rows = RandomTable(rnd, keys, texts, tableCols);
    // Texts no other cell holds, in half the tables: a row alone with its text finds nothing
    // through it until a filled cell joins it.
    if (i % 2)
      for (size_t r = 2; r < rows.size(); ++r)
        for (size_t k = 1; k < rows[r].size(); ++k)
          if (rnd.Int(0, 3) == 0) rows[r][k] = "only " + std::to_string(r) + "/" + std::to_string(k);
    // Other components' tables, the last one possibly ending in an incomplete entry.
    std::vector<std::vector<std::string>> others(static_cast<size_t>(rnd.Int(0, 2)));
    for (auto& words : others) {
      const int lines = rnd.Int(0, 6) * (languages + 1) + (rnd.Int(0, 3) == 0 ? rnd.Int(1, languages) : 0);
      for (int l = 0; l < lines; ++l) words.push_back(rnd.Pick(texts));
    }
    std::vector<std::unique_ptr<host::TStringList>> lists;
    std::vector<const host::TStrings*> views;
    for (const auto& words : others) {
      lists.push_back(std::make_unique<host::TStringList>());
      for (const std::string& w : words) lists.back()->Add(w);
      views.push_back(lists.back().get());
    }

    TRows one = rows, plainOne = rows;
    TSmartFill fillOne(one, views, languages + 1);
    EXPECT_EQ(fillOne.FillOne(), PlainFillOne(plainOne, others, languages + 1)) << "table " << i;
    ASSERT_EQ(one, plainOne) << "table " << i;

    TRows all = rows, plainAll = rows;
    TSmartFill fillAll(all, views, languages + 1);
    EXPECT_EQ(fillAll.FillAll(), PlainFillAll(plainAll, others, languages + 1)) << "table " << i;
    ASSERT_EQ(all, plainAll) << "table " << i;
  }
}

}  // namespace
}  // namespace vorlect::vle::test
