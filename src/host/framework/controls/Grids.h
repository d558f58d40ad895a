// Draw and string grids. A string grid's cells live only in code (form files do not store them).
#pragma once

#include "host/framework/controls/StockCommon.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vorlect::host {

enum TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
  goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
  goAlwaysShowEditor, goThumbTracking, goFixedColClick, goFixedRowClick, goFixedHotTrack
};
using TGridOptions = TSet<TGridOption>;
enum TGridDrawingStyle { gdsClassic, gdsThemed, gdsGradient };
const EnumInfo& GridOptionInfo();
const EnumInfo& GridDrawingStyleInfo();

class EInvalidGridOperation : public Exception {
  using Exception::Exception;
};

class TCustomGrid : public TCustomControl {
  VORLECT_CLASS(TCustomGrid, TCustomControl)
public:
  explicit TCustomGrid(TComponent* owner);
  int ColCount() const { return colCount_; }
  virtual void SetColCount(int v);
  int RowCount() const { return rowCount_; }
  virtual void SetRowCount(int v);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int v);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int v);
  TBorderStyle BorderStyle = bsSingle_;
  int DefaultColWidth = 64, DefaultRowHeight = 24, GridLineWidth = 1;
  bool DefaultDrawing = true;
  TGridDrawingStyle DrawingStyle = gdsThemed;
  TColor FixedColor = clBtnFace, GradientEndColor = clBtnFace, GradientStartColor = clWhite;
  TGridOptions Options{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TScrollStyle ScrollBars = ssBoth;
  TNotifyEvent OnColumnMoved, OnDrawCell, OnFixedCellClick, OnGetEditMask, OnGetEditText,
      OnRowMoved, OnSelectCell, OnSetEditText, OnTopLeftChanged;

private:
  int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
};

class TDrawGrid : public TCustomGrid {
  VORLECT_CLASS(TDrawGrid, TCustomGrid)
public:
  explicit TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}
};

class TStringGrid : public TDrawGrid {
  VORLECT_CLASS(TStringGrid, TDrawGrid)
public:
  explicit TStringGrid(TComponent* owner) : TDrawGrid(owner) {}
  // Throws EInvalidGridOperation outside the grid.
  const std::string& Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);
  // Shrinking the grid drops the cells outside it.
  void SetColCount(int v) override;
  void SetRowCount(int v) override;

private:
  void CheckCell(int col, int row) const;
  // Row by row; a row holds cells up to its last non-empty one written.
  std::vector<std::vector<std::string>> rows_;
};

enum TDisplayOption { doColumnTitles, doAutoColResize, doKeyColFixed };
using TDisplayOptions = TSet<TDisplayOption>;
enum TKeyOption { keyEdit, keyAdd, keyDelete, keyUnique };
using TKeyOptions = TSet<TKeyOption>;
const EnumInfo& DisplayOptionInfo();
const EnumInfo& KeyOptionInfo();

// A two-column grid of `Key=Value` lines (Strings) under two titles (TitleCaptions).
class TValueListEditor : public TCustomGrid {
  VORLECT_CLASS(TValueListEditor, TCustomGrid)
public:
  explicit TValueListEditor(TComponent* owner);
  TStrings* Strings() const { return strings_.get(); }
  void SetStrings(TStrings* v) { if (v) strings_->Assign(*v); }
  TStrings* TitleCaptions() const { return titleCaptions_.get(); }
  void SetTitleCaptions(TStrings* v) { if (v) titleCaptions_->Assign(*v); }
  TDisplayOptions DisplayOptions{doColumnTitles, doAutoColResize, doKeyColFixed};
  TKeyOptions KeyOptions;
  TNotifyEvent OnEditButtonClick, OnGetPickList, OnStringsChange, OnStringsChanging, OnValidate;

private:
  std::unique_ptr<TStringList> strings_ = std::make_unique<TStringList>();
  std::unique_ptr<TStringList> titleCaptions_ = std::make_unique<TStringList>();
};

void RegisterGrids();

}  // namespace vorlect::host
