#include "PlainTable.h"

#include <algorithm>

namespace vorlect::vle::test {

namespace {
const std::string& Key(const TRows& rows, int r) { return rows[static_cast<size_t>(r)][0]; }
int BlockLength(const TRows& rows, int r) {
  int e = r + 1;
  while (e < static_cast<int>(rows.size()) && IsContinuationKey(Key(rows, e))) ++e;
  return e - r;
}
}  // namespace

void PlainSort(TRows& rows) {
  const int n = static_cast<int>(rows.size());
  bool swapped = true;
  while (swapped) {
    swapped = false;
    int r = 2;
    while (r < n) {
      const int a = BlockLength(rows, r), next = r + a;
      if (next >= n) break;
      const int b = BlockLength(rows, next);
      if (!Key(rows, next).empty() && AsciiUpper(Key(rows, r)) > AsciiUpper(Key(rows, next))) {
        std::rotate(rows.begin() + r, rows.begin() + next, rows.begin() + next + b);
        swapped = true;
      }
      r = next;
    }
  }
}

std::optional<TDuplicate> PlainDuplicate(const TRows& rows) {
  for (int r = static_cast<int>(rows.size()) - 1; r >= 3; --r) {
    const std::string& key = Key(rows, r);
    if (key.empty() || IsContinuationKey(key)) continue;
    const std::string lower = KeyLower(key);
    for (int q = r - 1; q >= 1; --q)
      if (KeyLower(Key(rows, q)) == lower) return TDuplicate{r, r - q};
  }
  return std::nullopt;
}

namespace {

bool PlainTry(TRows& rows, int k, int r, const std::vector<std::vector<std::string>>& others, int entrySize) {
  const int n = static_cast<int>(rows.size()), cols = static_cast<int>(rows[0].size());
  auto cell = [&](int c, int q) -> std::string& { return rows[static_cast<size_t>(q)][static_cast<size_t>(c)]; };
  if (!IsBlank(cell(k, r))) return false;
  for (int q = 2; q < n; ++q) {
    if (q == r || cell(k, q).empty()) continue;
    for (int j = 1; j < cols; ++j)
      if (j != k && cell(j, r) == cell(j, q)) {
        cell(k, r) = cell(k, q);
        return true;
      }
  }
  for (const auto& words : others)
    for (int e = 0; e + entrySize <= static_cast<int>(words.size()); e += entrySize) {
      if (k >= entrySize || IsBlank(words[static_cast<size_t>(e + k)])) continue;
      for (int j = 1; j < cols && j < entrySize; ++j)
        if (cell(j, r) == words[static_cast<size_t>(e + j)]) {
          cell(k, r) = words[static_cast<size_t>(e + k)];
          return true;
        }
    }
  return false;
}

}  // namespace

std::optional<std::pair<int, int>> PlainFillOne(TRows& rows, const std::vector<std::vector<std::string>>& others, int entrySize) {
  for (int r = 2; r < static_cast<int>(rows.size()); ++r) {
    if (Key(rows, r).empty()) continue;
    for (int k = 0; k < static_cast<int>(rows[0].size()); ++k)
      if (PlainTry(rows, k, r, others, entrySize)) return std::make_pair(k, r);
  }
  return std::nullopt;
}

int PlainFillAll(TRows& rows, const std::vector<std::vector<std::string>>& others, int entrySize) {
  int filled = 0;
  for (int r = 2; r < static_cast<int>(rows.size()); ++r) {
    if (Key(rows, r).empty()) continue;
    for (int k = 0; k < static_cast<int>(rows[0].size()); ++k)
      if (PlainTry(rows, k, r, others, entrySize)) ++filled;
  }
  return filled;
}

}  // namespace vorlect::vle::test
