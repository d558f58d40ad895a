// The flagged string grid on the screen. The cells, sizes, flags and the current cell live in the
// logic's TVLStrGrid; this widget paints them through the grid's own DrawCell onto a QPainter,
// scrolls, edits a cell in place and turns keys and mouse clicks into the calls the owner (the
// translation editor) reacts to. Only the rows on screen are ever painted or looked at, so a
// table of 50,000 rows scrolls as lightly as one of 50.
#pragma once

#include <QAbstractScrollArea>
#include <QPlainTextEdit>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "grid/VLStGrid.h"

namespace vorlect::ui {

class TVLStrGridWidget;

// The in-place editor: Enter stores, Escape drops, Shift+Enter starts a new line within the cell.
class TInplaceEdit : public QPlainTextEdit {
  Q_OBJECT
public:
  explicit TInplaceEdit(TVLStrGridWidget& owner);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  TVLStrGridWidget& owner_;
};

class TVLStrGridWidget : public QAbstractScrollArea {
  Q_OBJECT
public:
  explicit TVLStrGridWidget(grid::TVLStrGrid& grid, QWidget* parent = nullptr);

  grid::TVLStrGrid& Grid() { return grid_; }

  // ---- What the owner hears (all optional) ------------------------------------------------------
  // A cell is about to become current; false refuses it.
  std::function<bool(int col, int row)> OnSelectCell;
  // Key down / up of a key, with the framework's virtual key code and shift state; KeyUp returns
  // true when it swallowed the key.
  std::function<void(int vk, unsigned shift)> OnKeyDown;
  std::function<bool(int vk, unsigned shift)> OnKeyUp;
  // Left button down, mouse moves and button up, in viewport coordinates.
  std::function<void(int x, int y, unsigned shift)> OnMouseDown, OnMouseMove, OnMouseUp;
  // A double click on a key cell (the owner toggles the block).
  std::function<void()> OnKeyDblClick;
  // An in-place edit was stored through the grid's SetEditText; `before` is the old text.
  std::function<void(int col, int row, const std::string& before)> OnCellEdited;
  // The user dragged column `from`'s title to column `to`: the owner moves it (through the grid's
  // MoveColumn); without an owner the grid moves it alone.
  std::function<void(int from, int to)> OnMoveColumn;
  // A text typed into a cell could not be kept in the column's code page.
  std::function<void(const QString& message)> OnNotice;
  // Lets the owner draw over a fixed cell after the grid drew it (the active-language marker).
  std::function<void(QPainter& painter, int col, int row, const QRect& rect)> OnPaintFixedCell;

  // ---- The table changed ----------------------------------------------------------------------------
  // After any change of rows, columns, sizes or cells: scroll ranges, the in-place editor, repaint.
  void TableChanged();
  // Only some data rows shown (ascending grid rows), or all of them again.
  void SetRowFilter(std::vector<int> rows);
  void ClearRowFilter();
  bool Filtered() const { return filtered_; }
  int VisibleDataRows() const;

  // ---- Geometry, in viewport coordinates ---------------------------------------------------------------
  // The cell under a point: {-1, -1} outside every cell.
  std::pair<int, int> CellAt(int x, int y) const;
  // The cell's rectangle; empty when it is not on screen.
  QRect CellRect(int col, int row) const;
  int TopRow() const;  // the first data row on screen
  void ScrollToCell(int col, int row);

  // ---- In-place editing --------------------------------------------------------------------------------
  bool Editing() const { return editor_ != nullptr && editor_->isVisible(); }
  // Opens the editor on the current cell: with its text, or replaced by `typed`.
  bool StartEditing(std::optional<QString> typed = std::nullopt);
  void CommitEdit();
  void CancelEdit();
  TInplaceEdit* InplaceEditor() const { return editor_; }

  // Moves the current cell as a click or a key would (asking OnSelectCell first).
  bool MoveTo(int col, int row);

  // The text of a cell as it is shown: the bytes decoded in the column's code page.
  QString DisplayText(int col, int row) const;
  std::string StoredText(int col, const QString& text, bool* lossy) const;
  QFont CellFont(int col) const;

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool focusNextPrevChild(bool next) override;

private:
  friend class TInplaceEdit;
  int FixedHeight() const;
  int ColLeft(int col) const;   // in content coordinates (before horizontal scrolling)
  int TotalWidth() const;
  int DataRowAt(int index) const;        // grid row of the index-th shown data row
  int IndexOfRow(int row) const;         // the shown index of a grid row; -1 when hidden
  int LowerBoundIndex(int row) const;    // the first shown index at or after a grid row
  void UpdateScrollBars();
  void PlaceEditor();
  void ExtendSelection(int col, int row);
  int ColumnBorderAt(int x, int y) const;  // a column whose right border is under a title point
  void Navigate(int key, Qt::KeyboardModifiers modifiers);

  grid::TVLStrGrid& grid_;
  TInplaceEdit* editor_ = nullptr;
  int editCol_ = -1, editRow_ = -1;
  std::string editBefore_;
  bool filtered_ = false;
  std::vector<int> shown_;  // the data rows shown while filtered
  // Range selection: the fixed end and the moving end.
  int anchorCol_ = 0, anchorRow_ = 0, endCol_ = 0, endRow_ = 0;
  bool selecting_ = false;
  // Title drags.
  int pressCol_ = -1, pressX_ = 0;
  bool movingColumn_ = false;
  int sizingCol_ = -1;
};

}  // namespace vorlect::ui
