#include "host/framework/controls/Grids.h"

namespace vorlect::host {

const EnumInfo& GridOptionInfo() {
  static const EnumInfo info{
      "TGridOption",
      {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
       "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing",
       "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking", "goFixedColClick",
       "goFixedRowClick", "goFixedHotTrack"}};
  return info;
}
const EnumInfo& GridDrawingStyleInfo() {
  static const EnumInfo info{"TGridDrawingStyle", {"gdsClassic", "gdsThemed", "gdsGradient"}};
  return info;
}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 320, 120);
  SetTabStop(true);
  SetParentColor(false);
}

// A grid keeps at least one row and column; the fixed ones stay inside it.
void TCustomGrid::SetColCount(int v) {
  colCount_ = v < 1 ? 1 : v;
  if (fixedCols_ >= colCount_ && !InState(csLoading)) fixedCols_ = colCount_ - 1;
}

void TCustomGrid::SetRowCount(int v) {
  rowCount_ = v < 1 ? 1 : v;
  if (fixedRows_ >= rowCount_ && !InState(csLoading)) fixedRows_ = rowCount_ - 1;
}

void TCustomGrid::SetFixedCols(int v) {
  if (v < 0 || (!InState(csLoading) && v >= colCount_))
    throw EInvalidGridOperation("Fixed column count must be less than column count");
  fixedCols_ = v;
}

void TCustomGrid::SetFixedRows(int v) {
  if (v < 0 || (!InState(csLoading) && v >= rowCount_))
    throw EInvalidGridOperation("Fixed row count must be less than row count");
  fixedRows_ = v;
}

const ClassInfo& TCustomGrid::StaticClass() {
  using C = TCustomGrid;
  static const ClassInfo info = ClassBuilder<C>("TCustomGrid")
      .Protected()
      .Enum("BorderStyle", &C::BorderStyle, &C::BorderStyle, BorderStyleInfo()).Default(bsSingle_)
      .Integer("ColCount", &C::ColCount, &C::SetColCount).Default(5)
      .Integer("DefaultColWidth", &C::DefaultColWidth, &C::DefaultColWidth).Default(64)
      .Integer("DefaultRowHeight", &C::DefaultRowHeight, &C::DefaultRowHeight).Default(24)
      .Boolean("DefaultDrawing", &C::DefaultDrawing, &C::DefaultDrawing).Default(true)
      .Enum("DrawingStyle", &C::DrawingStyle, &C::DrawingStyle, GridDrawingStyleInfo()).Default(gdsThemed)
      .Integer("FixedColor", &C::FixedColor, &C::FixedColor).Idents(ColorIdents()).Default(clBtnFace)
      .Integer("FixedCols", &C::FixedCols, &C::SetFixedCols).Default(1)
      .Integer("FixedRows", &C::FixedRows, &C::SetFixedRows).Default(1)
      .Integer("GradientEndColor", &C::GradientEndColor, &C::GradientEndColor).Idents(ColorIdents())
      .Default(clBtnFace)
      .Integer("GradientStartColor", &C::GradientStartColor, &C::GradientStartColor).Idents(ColorIdents())
      .Default(clWhite)
      .Integer("GridLineWidth", &C::GridLineWidth, &C::GridLineWidth).Default(1)
      .Set("Options", &C::Options, &C::Options, GridOptionInfo())
      .Default(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect})
      .Integer("RowCount", &C::RowCount, &C::SetRowCount).Default(5)
      .Enum("ScrollBars", &C::ScrollBars, &C::ScrollBars, ScrollStyleInfo()).Default(ssBoth)
      .Event("OnColumnMoved", &C::OnColumnMoved)
      .Event("OnDrawCell", &C::OnDrawCell)
      .Event("OnFixedCellClick", &C::OnFixedCellClick)
      .Event("OnGetEditMask", &C::OnGetEditMask)
      .Event("OnGetEditText", &C::OnGetEditText)
      .Event("OnRowMoved", &C::OnRowMoved)
      .Event("OnSelectCell", &C::OnSelectCell)
      .Event("OnSetEditText", &C::OnSetEditText)
      .Event("OnTopLeftChanged", &C::OnTopLeftChanged)
      .Build();
  return info;
}

namespace {

// TDrawGrid's and TStringGrid's published list.
template <class C>
void PublishGrid(ClassBuilder<C>& b) {
  Pub(b, {"Align", "Anchors", "BevelEdges", "BevelInner", "BevelKind", "BevelOuter", "BevelWidth",
          "BiDiMode", "BorderStyle"});
  b.Publish("Color").Default(clWindow);
  Pub(b, {"ColCount", "Constraints", "Ctl3D", "DefaultColWidth", "DefaultRowHeight", "DefaultDrawing",
          "DoubleBuffered", "DragCursor", "DragKind", "DragMode", "DrawingStyle", "Enabled",
          "FixedColor", "FixedCols", "RowCount", "FixedRows", "Font", "GradientEndColor",
          "GradientStartColor", "GridLineWidth", "Options", "ParentBiDiMode"});
  b.Publish("ParentColor").Default(false);
  Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
          "ScrollBars", "ShowHint", "TabOrder"});
  b.Publish("TabStop").Default(true);
  Pub(b, {"Visible", "StyleElements", "OnClick", "OnColumnMoved", "OnContextPopup", "OnDblClick",
          "OnDragDrop", "OnDragOver", "OnDrawCell", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
          "OnFixedCellClick", "OnGetEditMask", "OnGetEditText", "OnKeyDown", "OnKeyPress",
          "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave", "OnMouseMove", "OnMouseUp",
          "OnRowMoved", "OnSelectCell", "OnSetEditText", "OnStartDock", "OnStartDrag",
          "OnTopLeftChanged"});
}

}  // namespace

const ClassInfo& TDrawGrid::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TDrawGrid> b("TDrawGrid");
    PublishGrid(b);
    return b.Build();
  }();
  return info;
}

void TStringGrid::CheckCell(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
    throw EInvalidGridOperation("Grid index out of range (" + std::to_string(col) + ", " +
                                std::to_string(row) + ")");
}

const std::string& TStringGrid::Cells(int col, int row) const {
  static const std::string empty;
  CheckCell(col, row);
  const auto r = static_cast<size_t>(row), c = static_cast<size_t>(col);
  return r < rows_.size() && c < rows_[r].size() ? rows_[r][c] : empty;
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  CheckCell(col, row);
  const auto r = static_cast<size_t>(row), c = static_cast<size_t>(col);
  if (r >= rows_.size()) {
    if (text.empty()) return;
    rows_.resize(r + 1);
  }
  auto& cells = rows_[r];
  if (c >= cells.size()) {
    if (text.empty()) return;
    // `text` may be another cell of this row (a column moved left): copy it before the row grows.
    std::string copy = text;
    cells.resize(c + 1);
    cells[c] = std::move(copy);
    return;
  }
  cells[c] = text;
}

void TStringGrid::SetColCount(int v) {
  const int old = ColCount();
  TDrawGrid::SetColCount(v);
  if (ColCount() < old)
    for (auto& cells : rows_)
      if (cells.size() > static_cast<size_t>(ColCount())) cells.resize(static_cast<size_t>(ColCount()));
}

void TStringGrid::SetRowCount(int v) {
  TDrawGrid::SetRowCount(v);
  if (rows_.size() > static_cast<size_t>(RowCount())) rows_.resize(static_cast<size_t>(RowCount()));
}

const ClassInfo& TStringGrid::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TStringGrid> b("TStringGrid");
    PublishGrid(b);
    return b.Build();
  }();
  return info;
}

const EnumInfo& DisplayOptionInfo() {
  static const EnumInfo info{"TDisplayOption", {"doColumnTitles", "doAutoColResize", "doKeyColFixed"}};
  return info;
}
const EnumInfo& KeyOptionInfo() {
  static const EnumInfo info{"TKeyOption", {"keyEdit", "keyAdd", "keyDelete", "keyUnique"}};
  return info;
}

namespace {

constexpr TGridOptions kValueListOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                         goColSizing, goEditing, goAlwaysShowEditor, goThumbTracking};

}  // namespace

TValueListEditor::TValueListEditor(TComponent* owner) : TCustomGrid(owner) {
  SetColCount(2);
  SetRowCount(2);
  SetFixedCols(0);
  Options = kValueListOptions;
  titleCaptions_->Add("Key");
  titleCaptions_->Add("Value");
}

const ClassInfo& TValueListEditor::StaticClass() {
  using C = TValueListEditor;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TValueListEditor");
    Pub(b, {"Align", "Anchors", "BiDiMode", "BorderStyle"});
    b.Publish("Color").Default(clWindow);
    Pub(b, {"Constraints", "Ctl3D", "DefaultColWidth", "DefaultDrawing", "DefaultRowHeight"});
    b.Set("DisplayOptions", &C::DisplayOptions, &C::DisplayOptions, DisplayOptionInfo())
        .Default(TDisplayOptions{doColumnTitles, doAutoColResize, doKeyColFixed});
    Pub(b, {"DoubleBuffered", "DragCursor", "DragKind", "DragMode", "DrawingStyle", "Enabled",
            "FixedColor"});
    b.Publish("FixedCols").Default(0);
    Pub(b, {"Font", "GradientEndColor", "GradientStartColor", "GridLineWidth"});
    b.Set("KeyOptions", &C::KeyOptions, &C::KeyOptions, KeyOptionInfo());
    b.Publish("Options").Default(kValueListOptions);
    b.Publish("ParentBiDiMode");
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu",
            "ScrollBars", "ShowHint"});
    b.Object("Strings", &C::Strings, &C::SetStrings);
    b.Publish("TabOrder");
    b.Publish("TabStop").Default(true);
    b.Object("TitleCaptions", &C::TitleCaptions, &C::SetTitleCaptions);
    Pub(b, {"Visible", "StyleElements", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop",
            "OnDragOver", "OnDrawCell"});
    b.Event("OnEditButtonClick", &C::OnEditButtonClick);
    Pub(b, {"OnEndDrag", "OnEnter", "OnExit", "OnGetEditMask", "OnGetEditText"});
    b.Event("OnGetPickList", &C::OnGetPickList);
    Pub(b, {"OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave",
            "OnMouseMove", "OnMouseUp", "OnRowMoved", "OnSelectCell", "OnSetEditText", "OnStartDrag"});
    b.Event("OnStringsChange", &C::OnStringsChange).Event("OnStringsChanging", &C::OnStringsChanging);
    b.Publish("OnTopLeftChanged");
    b.Event("OnValidate", &C::OnValidate);
    return b.Build();
  }();
  return info;
}

void RegisterGrids() {
  RegisterClasses({&TDrawGrid::StaticClass(), &TStringGrid::StaticClass(), &TValueListEditor::StaticClass()});
}

}  // namespace vorlect::host
