// TVLStrGrid: the string grid of translation tables. Column 0 holds keys, row 1 one font cell per
// language column ("Arial, ANSI_CHARSET"); the first row of every component block carries a flag
// saying whether the component is translated or listed in the hide list.
//
// The grid knows nothing of translation components: it reads its own cells and a hide list that
// somebody else owns. Drawing goes through a canvas interface so that the logic runs without a
// display; sizes are measured through the text-measuring port.
#pragma once

#include "host/framework/controls/Grids.h"
#include "host/ports/Ports.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vorlect::grid {

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TRect&) const = default;
};

// The selected range, inclusive (the host grid's TGridRect).
struct TGridRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

enum class TFlag { Ok, No };

// What a cell is drawn with; a window implements it, tests record the calls. As with the host
// grid, the window sets the canvas to the grid font before each cell; DrawCell changes it only
// for language columns whose font cell names a font.
class TGridCanvas {
public:
  virtual ~TGridCanvas() = default;
  // Font name and character set for the texts drawn next.
  virtual void SetFont(const std::string& name, std::uint8_t charset) = 0;
  // Mask with SRCAND, then image with SRCPAINT, at (x, y).
  virtual void DrawFlag(TFlag flag, int x, int y) = 0;
  // Left-aligned from the top, CR LF starts a new line, no wrapping, no clipping.
  virtual void DrawText(const std::string& text, const TRect& rect) = 0;
  // A fixed cell as the base string grid draws it.
  virtual void DrawFixedCell(int col, int row, const std::string& text, const TRect& rect) = 0;
};

class TVLStrGrid : public host::TStringGrid {
  VORLECT_CLASS(TVLStrGrid, host::TStringGrid)
public:
  explicit TVLStrGrid(host::TComponent* owner);

  // Keys whose blocks carry the "no" flag. Not owned: the editor points it at the translation
  // component's DoNot list. Null: no flags, Toggle does nothing.
  host::TStrings* HideThese = nullptr;

  // The character set each column's texts are drawn in (all 0 at creation).
  std::uint8_t CharsetCode(int col) const;
  void SetCharsetCode(int col, std::uint8_t code);

  // Flag size, the same for both flags.
  static constexpr int kFlagWidth = 16, kFlagHeight = 11;

  // --- The host grid's state that the editor drives ---------------------------------------------
  int Col() const { return col_; }
  int Row() const { return row_; }
  // Moves the current cell (clamped into the grid); collapses the selection onto it.
  void SetCol(int col);
  void SetRow(int row);
  void SetCurrent(int col, int row);
  const TGridRect& Selection() const { return selection_; }
  // As the host grid does: the range is normalised and clamped into the grid, its top-left
  // becomes the anchor and its bottom-right the current cell.
  void SetSelection(const TGridRect& r);

  // Rows and columns never sized explicitly follow DefaultRowHeight / DefaultColWidth.
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int ClientWidth = 492;

  // The grid font (the editor's table font); row heights are measured with it.
  ports::FontSpec GridFont;

  // Set by an in-place edit being stored (the editor recounts empty fields on it).
  std::function<void(int col, int row, const std::string& value)> OnSetEditTextEvent;
  // After the host grid moved column `from` to position `to` (a title drag).
  std::function<void(int from, int to)> OnColumnMovedEvent;
  // Drawing hook for the fixed rows, after the base drawing (the editor marks the active language).
  std::function<void(TGridCanvas&, int col, int row, const TRect&)> OnDrawFixedCell;

  // Moves a column's cells (and width and character-set code) as the host grid does when the user
  // drags a title: the column at `from` ends up at `to`, the columns in between shift by one. The
  // current cell and the selection move with their columns; OnColumnMovedEvent is raised last.
  void MoveColumn(int from, int to);
  // Row helpers: insert an empty row before `row` / delete `row`, shifting the rows below.
  void InsertRow(int row);
  void DeleteRow(int row);

  // --- Flagged grid operations -------------------------------------------------------------------
  void Toggle();
  void CalcAllRowHeights();
  void DblClick();
  // An in-place edit being stored.
  void SetEditText(int col, int row, const std::string& value);
  void DrawCell(TGridCanvas& canvas, int col, int row, const TRect& rect);
  // Height of a text as the system's text-drawing call reports it in a 999 x 999 rectangle.
  int TextHeight(const std::string& text) const;

  // The row whose key starts the block `row` belongs to; -1 when there is none (the search reached
  // the fixed rows, or the key is a string entry beginning with the at sign).
  int BlockKeyRow(int row) const;
  // Set when a key cell needs its flag redrawn; the window clears it after painting.
  std::vector<std::pair<int, int>> InvalidatedCells;

  void SetColCount(int v) override;
  void SetRowCount(int v) override;

private:
  void ClampCurrent();

  std::array<std::uint8_t, 256> charsetCodes_{};
  int col_ = 0, row_ = 0;
  TGridRect selection_{};
  std::vector<int> rowHeights_, colWidths_;
};

// The flag pictures, kFlagHeight rows of kFlagWidth characters: '.' is transparent (mask white,
// image black), any other character a colour: 'K' black, 'W' white, 'G' green, 'R' red. The window
// builds the image/mask bitmap pairs from them once.
const char* const* FlagPixels(TFlag flag);

// Registers TVLStrGrid with the class registry (the palette page "Vorlect").
void RegisterVLStrGrid();
inline constexpr const char* kPalettePage = "Vorlect";

}  // namespace vorlect::grid
