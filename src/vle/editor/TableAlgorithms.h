// The table-wide commands of the translation editor on a plain row model: sorting blocks, the
// duplicate search and smart fill. They run on tables of tens of thousands of rows, so each works
// with hash indexes where the obvious walk would compare every row with every other one; the
// results are those of the row-by-row walks the editor has always made.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlect::host {
class TStrings;
}

namespace vorlect::vle {

// All rows of the table, the two fixed rows included; every row has one cell per column.
using TRow = std::vector<std::string>;
using TRows = std::vector<TRow>;

inline constexpr int kFirstDataRow = 2;

bool IsBlank(std::string_view s);      // empty after trimming blanks and control characters
std::string AsciiLower(std::string_view s);
std::string AsciiUpper(std::string_view s);
// Lower case as keys are compared in the table (the ANSI code page's letters included).
std::string KeyLower(std::string_view s);
inline bool IsContinuationKey(std::string_view key) { return !key.empty() && key.front() == '"'; }

// Orders the blocks (a row whose key does not begin with a double quote, with the rows below it
// whose keys do) by the upper-cased key of their first row, byte values ascending. Equal keys keep
// their order; a row with an empty key never moves and divides the table into stretches sorted
// on their own. Blocks of any length move whole.
void SortBlocks(TRows& rows);
// The same order as a list: element i is the row that the sort puts at row i.
std::vector<int> SortOrder(const TRows& rows);

struct TDuplicate {
  int row;       // the lower row of the pair
  int distance;  // rows between it and the nearest row above with the same key
};
// Walking from the last row up to row 3, the first row with a key (not a continuation key) whose
// lower-cased key equals that of a row above it (rows 1 and on).
std::optional<TDuplicate> FindDuplicate(const TRows& rows);

// Smart fill: an empty cell takes the text of the first row that agrees with its row in some
// other language column, or else of the first entry of another translation component's table
// that does.
class TSmartFill {
public:
  // `others`: the Words lists of the other translation components with this component's number
  // of languages, in GlobalList order; `entrySize` = languages + 1.
  TSmartFill(TRows& rows, std::vector<const host::TStrings*> others, int entrySize);
  ~TSmartFill();

  // Fills the next cell it can, in table order from the first data row; its place, or nullopt.
  std::optional<std::pair<int, int>> FillOne();
  // Fills every cell it can; returns how many were filled.
  int FillAll();
  // How many of the filled cells were empty language cells of data rows (the editor's count).
  int FilledEmptyFields() const { return filledEmpty_; }
  // Every cell filled, as (column, row), in the order filled.
  const std::vector<std::pair<int, int>>& FilledCells() const { return filled_; }

private:
  // The rows with one value in one column: those that had it at the start, chained through
  // chain_, and those that took it later. Rows that left since are passed over when read.
  struct Group {
    int col;
    int head = -1;
    std::string_view value;
    int size = 0;         // rows that had the value at the start
    bool joined = false;  // some row took the value later (see joined_)
  };
  // For one other component, one language column j and one target column k: the value of line j
  // -> the first entry whose line k is not blank.
  struct OtherIndex {
    int other = 0, j = 0, k = 0;
    std::unordered_map<std::string, int> first;
  };

  bool TryFill(int col, int row);
  std::optional<std::string> FindInTable(int col, int row);
  std::optional<std::string> FindInOthers(int col, int row);
  void SetCell(int col, int row, std::string text);
  int GroupOf(int col, std::string_view value, bool own) { return GroupOf(col, value, own, Hash(value)); }
  int GroupOf(int col, std::string_view value, bool own, std::uint32_t hash);
  static std::uint32_t Hash(std::string_view value) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>()(value));
  }
  std::vector<int>& Heap(int group, int col);
  std::vector<int>* ExistingHeap(int group, int col);
  long long HeapKey(int group, int col) const { return static_cast<long long>(group) * cols_ + col; }

  TRows& rows_;
  int filledEmpty_ = 0;
  std::vector<std::pair<int, int>> filled_;
  std::vector<const host::TStrings*> others_;
  int entrySize_;
  int cols_;
  // Per language column: value -> group id; per group its rows (members at some time) and the
  // min-heaps of those rows whose cell in column k is not empty, built when first asked.
  // Keys view the table's cells, which stay as they are while the engine lives, except blank
  // ones (they may be filled): those keys, and the texts filled in, are kept in keyStore_.
  // Per language column, value -> group id, open addressing over 8-byte slots (hash, group; the
  // value is the group's): a table of tens of thousands of rows makes hundreds of thousands of
  // keys, and one column's index stays small enough for the caches while it is built.
  struct Slot {
    std::uint32_t hash = 0;
    int group = -1;
  };
  struct GroupIndex {
    std::vector<Slot> table;
    std::size_t count = 0;
  };
  std::vector<GroupIndex> groupIds_;
  static void Grow(GroupIndex& index);
  std::deque<std::string> keyStore_;
  std::vector<Group> groups_;
  std::unordered_map<int, std::vector<int>> joined_;  // group -> rows that took its value later
  std::vector<std::vector<int>> chain_;        // [col][row]: the next row of the same start group
  std::vector<std::vector<int>> groupOfCell_;  // [col][row], -1 for column 0
  std::unordered_map<long long, std::vector<int>> heaps_;
  std::unordered_map<long long, OtherIndex> otherIndexes_;
};

}  // namespace vorlect::vle
