// TEditorHistory: undo and redo for the translation editor. The window runs every command that may
// change the table through Run and reports every in-place edit through CellEdited; Undo and Redo
// then step the editor's working state back and forth:
//
//   history.Run(editor, "Sort", [&] { editor.Sort(); });
//   history.SetEditText(editor, col, row, text);   // the in-place editor's commit
//   if (history.CanUndo()) history.Undo(editor);   // then repaint the whole grid
//
// Commands that only look (Find, Copy, Duplicates, Empty Field) need no Run; run through it they
// leave no step. The empty row the arrow keys add or remove at the end of the table is no step
// either, and does not upset the steps around it.
//
// What a step covers: every cell of the grid (titles and font cells included), the number of rows
// and columns, each column's character-set code, the current cell, and the two component lists
// the editor changes at once, DoNot (Toggle Component, Re-Filter, Update Table) and Positions
// (Compress Positions). Column widths and the component's PositionsLocked go with a step that
// changed them, but never make a step on their own; neither does moving the cursor.
//
// Undo is about the working table. Change Language and a confirmed column move write the grid into
// the component's Words, CharSets and Languages at once; undoing a column move restores the grid,
// and the component's table is written again only by the next Accept (or Change Language), as it
// always was. Change Language itself changes no cell, so it is not a step: it need not be run
// through Run.
//
// A step keeps only what differs: the changed cells when the table kept its shape, else the run of
// rows between the rows that stayed the same at the top and at the bottom. It holds the other
// side of the change only, and undoing or redoing swaps it with the grid, so a step costs one copy
// of what changed. The history drops its oldest steps beyond a memory budget.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "vle/editor/VLEditor.h"

namespace vorlect::vle {

inline constexpr const char* kCellEditLabel = "Typing";

class TEditorHistory {
public:
  // About the texts of a 50,000 x 9 table stored four times over.
  static constexpr std::size_t kDefaultMaxBytes = std::size_t{256} << 20;

  // `maxBytes`: the memory the steps may hold; the newest step is kept whatever its size.
  explicit TEditorHistory(std::size_t maxBytes = kDefaultMaxBytes);
  ~TEditorHistory();
  TEditorHistory(const TEditorHistory&) = delete;
  TEditorHistory& operator=(const TEditorHistory&) = delete;

  // Runs a command of `editor` and records what it changed as one step named `label`; a command
  // that changed nothing leaves no step (and keeps the redo steps). Costs one copy of the table
  // and one comparison with it. A command that throws still gets the step for what it changed
  // before, then the exception goes on. Runs nested in a command belong to the outer step.
  void Run(TFEditVorlect& editor, std::string label, const std::function<void()>& command);

  // An in-place edit of cell (col, row) already stored in the grid; `before` is the cell's text
  // before it. Consecutive edits of the same cell make one step, so typing a word is one undo;
  // edits that bring the cell back to where it started remove that step.
  void CellEdited(TFEditVorlect& editor, int col, int row, const std::string& before);
  // The grid's in-place edit, recorded: the window can call this instead of the grid's SetEditText.
  void SetEditText(TFEditVorlect& editor, int col, int row, const std::string& value);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The label of the step Undo (Redo) would take back (do again); empty when there is none.
  std::string UndoLabel() const;
  std::string RedoLabel() const;

  // Steps back (forward): the grid, the lists and the current cell as they were, then row heights
  // and the empty-field count recomputed. False when there is nothing to do, or when the table's
  // columns changed without the history knowing: the steps no longer fit, and the history is
  // cleared rather than applied to the wrong cells.
  bool Undo(TFEditVorlect& editor);
  bool Redo(TFEditVorlect& editor);
  void Clear();

  // Memory the steps hold (texts and bookkeeping, estimated), and the number of steps.
  std::size_t StoredBytes() const { return bytes_; }
  std::size_t UndoSteps() const { return undo_.size(); }
  std::size_t RedoSteps() const { return redo_.size(); }

  // Whenever CanUndo, CanRedo or a label may have changed (the window updates its menu items).
  std::function<void()> OnChange;

private:
  struct TStep;
  struct TSnapshot;

  void Record(TFEditVorlect& editor, std::string label, TSnapshot& before);
  void Push(std::unique_ptr<TStep> step);
  bool Step(TFEditVorlect& editor, bool undo);
  void Trim();
  void Changed();

  std::deque<std::unique_ptr<TStep>> undo_;  // the next to undo at the back
  std::deque<std::unique_ptr<TStep>> redo_;  // the next to redo at the back
  std::size_t bytes_ = 0;
  std::size_t maxBytes_;
  bool running_ = false;
  bool typing_ = false;  // the last step recorded was an in-place edit that may take the next one
};

}  // namespace vorlect::vle
