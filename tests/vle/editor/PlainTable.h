// The table commands written as plain row-by-row walks, exactly as the editor has always run
// them. The fast versions must give the same results; these serve only to compare.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vle/editor/TableAlgorithms.h"

namespace vorlect::vle::test {

// Passes of neighbour swaps until a pass swaps nothing.
void PlainSort(TRows& rows);
std::optional<TDuplicate> PlainDuplicate(const TRows& rows);
// `others`: the other components' Words lines, each a flat list of entries of `entrySize` lines.
std::optional<std::pair<int, int>> PlainFillOne(TRows& rows, const std::vector<std::vector<std::string>>& others, int entrySize);
int PlainFillAll(TRows& rows, const std::vector<std::vector<std::string>>& others, int entrySize);

}  // namespace vorlect::vle::test
