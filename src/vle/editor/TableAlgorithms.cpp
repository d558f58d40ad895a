#include "vle/editor/TableAlgorithms.h"

#include <algorithm>
#include <climits>
#include <functional>

#include "host/framework/Classes.h"
#include "runtime/VLBase.h"

namespace vorlect::vle {

bool IsBlank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string AsciiLower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::string AsciiUpper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

std::string KeyLower(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return runtime::AnsiLowerCase(s);
  return AsciiLower(s);
}

// ---- Sort ---------------------------------------------------------------------------------------

std::vector<int> SortOrder(const TRows& rows) {
  const int n = static_cast<int>(rows.size());
  std::vector<int> order(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(i)] = i;
  auto blockEnd = [&](int start) {
    int e = start + 1;
    while (e < n && IsContinuationKey(rows[e][0])) ++e;
    return e;
  };
  struct Block {
    std::string key;
    int start, end;
  };
  std::vector<Block> blocks;
  int r = kFirstDataRow;
  while (r < n) {
    if (rows[r][0].empty()) {  // an empty key stays where it is, with its continuation rows
      r = blockEnd(r);
      continue;
    }
    blocks.clear();
    int s = r;
    while (s < n && !rows[s][0].empty()) {
      const int e = blockEnd(s);
      blocks.push_back({AsciiUpper(rows[s][0]), s, e});
      s = e;
    }
    std::stable_sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) {
      return std::lexicographical_compare(a.key.begin(), a.key.end(), b.key.begin(), b.key.end(),
                                          [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    });
    int to = r;
    for (const Block& b : blocks)
      for (int i = b.start; i < b.end; ++i) order[static_cast<std::size_t>(to++)] = i;
    r = s;
  }
  return order;
}

void SortBlocks(TRows& rows) {
  const std::vector<int> order = SortOrder(rows);
  TRows sorted;
  sorted.reserve(rows.size());
  for (int from : order) sorted.push_back(std::move(rows[static_cast<std::size_t>(from)]));
  rows.swap(sorted);
}

// ---- Duplicates -----------------------------------------------------------------------------------

std::optional<TDuplicate> FindDuplicate(const TRows& rows) {
  const int n = static_cast<int>(rows.size());
  // The nearest row above with the same lower-cased key, for every row.
  std::vector<int> previous(static_cast<std::size_t>(std::max(n, 0)), -1);
  std::unordered_map<std::string, int> last;
  for (int r = 1; r < n; ++r) {
    std::string key = KeyLower(rows[r][0]);
    auto [it, added] = last.try_emplace(std::move(key), r);
    if (!added) {
      previous[r] = it->second;
      it->second = r;
    }
  }
  for (int r = n - 1; r >= 3; --r) {
    const std::string& key = rows[r][0];
    if (key.empty() || IsContinuationKey(key)) continue;
    if (previous[r] >= 1) return TDuplicate{r, r - previous[r]};
  }
  return std::nullopt;
}

// ---- Smart fill -------------------------------------------------------------------------------

namespace {
using MinHeap = std::vector<int>;
void HeapPush(MinHeap& h, int v) {
  h.push_back(v);
  std::push_heap(h.begin(), h.end(), std::greater<int>());
}
void HeapPop(MinHeap& h) {
  std::pop_heap(h.begin(), h.end(), std::greater<int>());
  h.pop_back();
}
}  // namespace

TSmartFill::TSmartFill(TRows& rows, std::vector<const host::TStrings*> others, int entrySize)
    : rows_(rows),
      others_(std::move(others)),
      entrySize_(entrySize),
      cols_(rows.empty() ? 0 : static_cast<int>(rows[0].size())) {
  const int n = static_cast<int>(rows_.size());
  groupIds_.resize(static_cast<std::size_t>(std::max(cols_, 0)));
  std::size_t slotCount = 16;
  while (3 * slotCount < 4 * static_cast<std::size_t>(n)) slotCount *= 2;  // under three quarters full
  groupOfCell_.assign(static_cast<std::size_t>(cols_), std::vector<int>());
  chain_.assign(static_cast<std::size_t>(cols_), std::vector<int>());
  for (int j = 1; j < cols_; ++j) {
    groupIds_[j].table.assign(slotCount, Slot{});
    groupOfCell_[j].assign(static_cast<std::size_t>(n), -1);
    chain_[j].assign(static_cast<std::size_t>(n), -1);
  }
  groups_.reserve(static_cast<std::size_t>(std::max(n - kFirstDataRow, 0)) * static_cast<std::size_t>(std::max(cols_ - 1, 0)));
  // From the bottom up, so that every chain runs in table order; row by row, as the cells lie.
  // A row's slots are asked for before they are probed: the look-ups of its columns then wait
  // for memory together rather than one after the other.
  std::vector<std::uint32_t> hashes(static_cast<std::size_t>(std::max(cols_, 0)));
  for (int q = n - 1; q >= kFirstDataRow; --q) {
    const TRow& row = rows_[q];
    for (int j = 1; j < cols_; ++j) {
      hashes[j] = Hash(row[j]);
      const GroupIndex& index = groupIds_[j];
      __builtin_prefetch(&index.table[hashes[j] & (index.table.size() - 1)]);
    }
    for (int j = 1; j < cols_; ++j) {
      const std::string& value = row[j];
      const int g = GroupOf(j, value, IsBlank(value), hashes[j]);
      groupOfCell_[j][q] = g;
      chain_[j][q] = groups_[g].head;
      groups_[g].head = q;
      ++groups_[g].size;
    }
  }
}

TSmartFill::~TSmartFill() = default;

int TSmartFill::GroupOf(int col, std::string_view value, bool own, std::uint32_t hash) {
  GroupIndex& index = groupIds_[col];
  const std::size_t mask = index.table.size() - 1;
  std::size_t i = hash & mask;
  for (; index.table[i].group >= 0; i = (i + 1) & mask) {
    const Slot& slot = index.table[i];
    if (slot.hash == hash && groups_[slot.group].value == value) return slot.group;
  }
  const std::string_view key = own ? std::string_view(keyStore_.emplace_back(value)) : value;
  const int g = static_cast<int>(groups_.size());
  groups_.push_back(Group{col, -1, key, 0, false});
  index.table[i] = Slot{hash, g};
  if (4 * ++index.count > 3 * index.table.size()) Grow(index);
  return g;
}

void TSmartFill::Grow(GroupIndex& index) {
  std::vector<Slot> old(index.table.size() * 2);
  old.swap(index.table);
  const std::size_t mask = index.table.size() - 1;
  for (const Slot& slot : old) {
    if (slot.group < 0) continue;
    std::size_t i = slot.hash & mask;
    while (index.table[i].group >= 0) i = (i + 1) & mask;
    index.table[i] = slot;
  }
}

std::vector<int>* TSmartFill::ExistingHeap(int group, int col) {
  auto it = heaps_.find(HeapKey(group, col));
  return it == heaps_.end() ? nullptr : &it->second;
}

std::vector<int>& TSmartFill::Heap(int group, int col) {
  auto [it, added] = heaps_.try_emplace(HeapKey(group, col));
  if (added) {
    const Group& g = groups_[group];
    std::vector<int>& heap = it->second;
    auto take = [&](int q) {
      if (groupOfCell_[g.col][q] == group && !rows_[q][col].empty()) heap.push_back(q);
    };
    for (int q = g.head; q >= 0; q = chain_[g.col][q]) take(q);
    if (auto j = joined_.find(group); j != joined_.end())
      for (int q : j->second) take(q);
    std::make_heap(it->second.begin(), it->second.end(), std::greater<int>());
  }
  return it->second;
}

namespace {
constexpr int kFewRows = 16;
}

std::optional<std::string> TSmartFill::FindInTable(int k, int r) {
  int best = INT_MAX;
  for (int j = 1; j < cols_; ++j) {
    if (j == k) continue;
    const int g = groupOfCell_[j][r];
    // Most texts are held by one row or a few: alone in its group, the row has nothing to take
    // from it; the few are read in table order, which costs less than keeping a heap for them.
    const Group& group = groups_[g];
    if (!group.joined && group.size <= kFewRows) {
      for (int q = group.head; q >= 0 && q < best; q = chain_[j][q])
        if (q != r && groupOfCell_[j][q] == g && !rows_[q][k].empty()) {
          best = q;
          break;
        }
      continue;
    }
    MinHeap& h = Heap(g, k);
    auto clean = [&] {
      while (!h.empty() && groupOfCell_[j][h.front()] != g) HeapPop(h);
    };
    clean();
    int own = 0;  // the row itself may be in the heap (a cell of blanks is not empty)
    while (!h.empty() && h.front() == r) {
      HeapPop(h);
      ++own;
      clean();
    }
    if (!h.empty()) best = std::min(best, h.front());
    for (; own > 0; --own) HeapPush(h, r);
  }
  if (best == INT_MAX) return std::nullopt;
  return rows_[best][k];
}

std::optional<std::string> TSmartFill::FindInOthers(int k, int r) {
  if (k >= entrySize_) return std::nullopt;
  const int lastJ = std::min(cols_ - 1, entrySize_ - 1);
  for (int o = 0; o < static_cast<int>(others_.size()); ++o) {
    const host::TStrings& words = *others_[o];
    const int entries = words.Count() / entrySize_;
    int best = INT_MAX;
    for (int j = 1; j <= lastJ; ++j) {
      const long long key = (static_cast<long long>(o) * 256 + j) * 256 + k;
      auto [it, added] = otherIndexes_.try_emplace(key);
      if (added) {
        it->second.other = o;
        it->second.j = j;
        it->second.k = k;
        for (int e = 0; e < entries; ++e) {
          const int base = e * entrySize_;
          if (IsBlank(words.Strings(base + k))) continue;
          it->second.first.try_emplace(words.Strings(base + j), e);
        }
      }
      auto hit = it->second.first.find(rows_[r][j]);
      if (hit != it->second.first.end()) best = std::min(best, hit->second);
    }
    if (best != INT_MAX) return words.Strings(best * entrySize_ + k);
  }
  return std::nullopt;
}

void TSmartFill::SetCell(int k, int r, std::string text) {
  filled_.emplace_back(k, r);
  const bool wasEmpty = rows_[r][k].empty();
  rows_[r][k] = std::move(text);
  const bool nowEmpty = rows_[r][k].empty();
  if (wasEmpty && !nowEmpty && k >= 1) ++filledEmpty_;
  if (k >= 1) {
    const int g = GroupOf(k, rows_[r][k], true);
    groupOfCell_[k][r] = g;
    joined_[g].push_back(r);
    groups_[g].joined = true;
    for (int m = 0; m < cols_; ++m)
      if (!rows_[r][m].empty())
        if (MinHeap* h = ExistingHeap(g, m)) HeapPush(*h, r);
  }
  if (wasEmpty && !nowEmpty)
    for (int j = 1; j < cols_; ++j) {
      if (j == k) continue;
      if (MinHeap* h = ExistingHeap(groupOfCell_[j][r], k)) HeapPush(*h, r);
    }
}

bool TSmartFill::TryFill(int k, int r) {
  if (!IsBlank(rows_[r][k])) return false;
  std::optional<std::string> text = FindInTable(k, r);
  if (!text) text = FindInOthers(k, r);
  if (!text) return false;
  SetCell(k, r, std::move(*text));
  return true;
}

std::optional<std::pair<int, int>> TSmartFill::FillOne() {
  const int n = static_cast<int>(rows_.size());
  for (int r = kFirstDataRow; r < n; ++r) {
    if (rows_[r][0].empty()) continue;
    for (int k = 0; k < cols_; ++k)
      if (TryFill(k, r)) return std::make_pair(k, r);
  }
  return std::nullopt;
}

int TSmartFill::FillAll() {
  const int n = static_cast<int>(rows_.size());
  int filled = 0;
  for (int r = kFirstDataRow; r < n; ++r) {
    if (rows_[r][0].empty()) continue;
    for (int k = 0; k < cols_; ++k)
      if (TryFill(k, r)) ++filled;
  }
  return filled;
}

}  // namespace vorlect::vle
