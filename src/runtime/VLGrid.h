// The string grid that capturing writes into: column 0 holds keys, column k + 1 language k.
// The translation editor supplies its own grid; TMemoryStringGrid serves tests and tools.
#pragma once

#include <string>
#include <vector>

namespace vorlect::runtime {

class TStringGridAccess {
public:
  virtual ~TStringGridAccess() = default;
  virtual std::string Cells(int col, int row) const = 0;
  virtual void SetCells(int col, int row, const std::string& text) = 0;
  virtual int RowCount() const = 0;
  // Growing adds empty rows; shrinking drops the last ones.
  virtual void SetRowCount(int rows) = 0;
  virtual int ColCount() const = 0;
};

// A plain in-memory grid. Cells outside the grid read as empty; writing one throws
// std::out_of_range, as that is always a caller's mistake.
class TMemoryStringGrid : public TStringGridAccess {
public:
  TMemoryStringGrid(int cols, int rows);

  std::string Cells(int col, int row) const override;
  void SetCells(int col, int row, const std::string& text) override;
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  void SetRowCount(int rows) override;
  int ColCount() const override { return cols_; }

private:
  int cols_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace vorlect::runtime
