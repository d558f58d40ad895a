#include "runtime/VLGrid.h"

#include <algorithm>
#include <stdexcept>

namespace vorlect::runtime {

TMemoryStringGrid::TMemoryStringGrid(int cols, int rows) : cols_(std::max(cols, 0)) {
  SetRowCount(rows);
}

std::string TMemoryStringGrid::Cells(int col, int row) const {
  if (col < 0 || col >= cols_ || row < 0 || row >= RowCount()) return {};
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TMemoryStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || col >= cols_ || row < 0 || row >= RowCount())
    throw std::out_of_range("grid cell (" + std::to_string(col) + ", " + std::to_string(row) +
                            ") is outside the grid");
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = text;
}

void TMemoryStringGrid::SetRowCount(int rows) {
  rows_.resize(static_cast<std::size_t>(std::max(rows, 0)),
               std::vector<std::string>(static_cast<std::size_t>(cols_)));
}

}  // namespace vorlect::runtime
