// TFEditVorlect: the translation editor without its window. It edits a working copy of one
// translation component's table in a TVLStrGrid: row 0 titles, row 1 one font cell per language,
// then one row per entry (key in column 0, one column per language). The component's Words,
// CharSets and Languages change only through Accept, Change Language and a confirmed column move;
// Toggle Component and Compress Positions change DoNot and Positions at once.
//
// The window forwards keys, mouse events and menu commands to the operations below and paints the
// grid; every question and message goes through the dialog port.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "grid/VLStGrid.h"
#include "host/ports/Ports.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/editor/FontCells.h"
#include "vle/editor/TableAlgorithms.h"

namespace vorlect::runtime {
class TBaseVorlect;
}
namespace vorlect::host {
class TComponent;
}

namespace vorlect::vle {

// ---- Texts --------------------------------------------------------------------------------------

inline constexpr const char* kEditorCaption = "Edit translations";
inline constexpr const char* kKeyColumnTitle = "index";
inline constexpr const char* kFontRowKey = "Font/Charset";
inline constexpr const char* kEditModeText = "Edit mode";
inline constexpr const char* kSelectRangeModeText = "Select range mode";
inline constexpr const char* kEmptyFieldsFormat = "%d empty fields";
inline constexpr const char* kHelpFile = "VLCore.Hlp";
inline constexpr const char* kHelpKeyword = "reference";

inline constexpr const char* kMsgNoPasteHere = "You must not paste into this column.";
inline constexpr const char* kMsgNoMoveToIndex = "You must not move a language to this column.";
inline constexpr const char* kMsgNoMoveIndex = "You must not move the index column.";
inline constexpr const char* kMsgColumnMoved =
    "You just moved column %d to %d. You should\rdo so in all other forms in your project also.\r\r"
    "Is this intended or do you want to cancel?";
inline constexpr const char* kMsgNotFoundTop = "The string could not be found.\rContinue searching from top?";
inline constexpr const char* kMsgNotFoundTopBottom = "The string could not be found.\rContinue searching from top/bottom?";
inline constexpr const char* kMsgDuplicate = "A duplicate was found %d lines above.";
inline constexpr const char* kMsgNoDuplicate = "No duplicate entries could be found.";
inline constexpr const char* kMsgNoEmpty = "There are no empty entries in this table.";
inline constexpr const char* kMsgPositionsRemoved = "%d positions removed,\r%d positions remain";
inline constexpr const char* kPromptNewName = "Enter new name or Cancel to remove entry:";
// Refusals of writing the table back: nothing of the component is changed.
inline constexpr const char* kMsgNotWrittenLanguages = "The table was not written:\rthe component keeps %d languages.";
inline constexpr const char* kMsgNotWritten = "The table was not written.";
inline constexpr const char* kMsgTooManyLanguages = "A component has at most 255 languages.";


// Opening fails (no editor) on a malformed CharSets entry.
class EEditorError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// ---- Input -----------------------------------------------------------------------------------------

// The framework's shift state bits.
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
// Virtual key codes of the navigation keys.
enum TNavKey : int { VK_PRIOR = 0x21, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum class TEditMode { Edit, SelectRange };
enum class TLastInput { None, Keyboard, Mouse };

struct TPoint {
  int x = 0, y = 0;
  bool operator==(const TPoint&) const = default;
};
struct TCell {
  int col = -1, row = -1;
  bool operator==(const TCell&) const = default;
};

struct TFontChoice {
  std::string fontName;
  std::string charsetName;
};

// Where the window draws the active language's marker in its title cell.
struct TActiveMarker {
  grid::TRect frame;
  int textX = 0, textY = 0;  // the title, in bold
  std::array<TPoint, 3> triangle;
};

struct TFindOptions {
  std::string text;
  bool down = true;
  bool matchCase = false;
};

class TFEditVorlect {
public:
  // The opening steps, settings read from the registry substitute. Throws EEditorError when the
  // component's CharSets cannot be shown.
  explicit TFEditVorlect(runtime::TBaseVorlect& component);
  ~TFEditVorlect();
  TFEditVorlect(const TFEditVorlect&) = delete;
  TFEditVorlect& operator=(const TFEditVorlect&) = delete;

  // Creates the editor, runs it (the window's modal loop: `runModal` returns when the window is
  // closed) and frees it. True only when the user left through Accept. A failed opening shows its
  // error and returns false.
  static bool Open(runtime::TBaseVorlect& component, const std::function<void(TFEditVorlect&)>& runModal);

  grid::TVLStrGrid& Grid() { return *grid_; }
  const grid::TVLStrGrid& Grid() const { return *grid_; }
  runtime::TBaseVorlect& Component() { return component_; }
  host::TComponent* Form() const { return form_; }

  // ---- The table -------------------------------------------------------------------------------
  int LanguageColumns() const;
  // Title of language column k (from 1): the configured name, else "language " + (k - 1).
  static std::string ColumnTitle(int k);
  void TitleColumns();
  // Builds the grid from Words and CharSets (throws EFontCell on a malformed entry).
  void BuildTable();
  // Writes the grid into Languages, CharSets and Words. Checks everything first: on a font cell
  // that cannot be converted, or when the number of languages cannot be set, the component stays
  // as it was, the user is told, and the result is false.
  bool WriteTable();

  int EmptyFields() const { return emptyFields_; }
  void Recount();

  // ---- Leaving -----------------------------------------------------------------------------------
  bool Accept();  // false when the table could not be written (the editor stays open)
  void Cancel();
  // Closing writes the settings (unless switched off, as the command line does); the window's
  // close box comes here too.
  void Close();
  bool WriteSettingsOnClose = true;
  bool Closed() const { return closed_; }
  bool Accepted() const { return accepted_; }

  bool ChangeLanguage();  // F6
  void UpdateTable();     // Ctrl+U

  // ---- Status bar, titles, geometry, fonts ---------------------------------------------------------
  std::string StatusModeText() const;
  std::string StatusEmptyText() const;
  // The application's current hint (menu or toolbar); while non-empty the status bar shows it alone.
  std::string ApplicationHint;
  std::optional<TActiveMarker> ActiveMarker(int col, const grid::TRect& cell, int titleWidth) const;

  const TEditorSettings& Settings() const { return settings_; }
  bool Maximized() const { return settings_.Max; }
  void WindowMovedOrResized(int left, int top, int width, int height, int screenWidth);
  void SizeColumns();
  // Apply and OK of the table font dialog; Cancel passes the font as it was before.
  void SetTableFont(const ports::FontSpec& font);

  // ---- Selection modes, keys and mouse -----------------------------------------------------------
  TEditMode Mode() const { return mode_; }
  void SetMode(TEditMode mode);
  TLastInput LastInput() const { return lastInput_; }
  void KeyDown(int key, TShiftState shift);
  // True when the key is swallowed.
  bool KeyUp(int key, TShiftState shift);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // A cell is about to become current; false refuses it (a Shift+click starting a range: the
  // window then posts a Shift+left-button-down at PendingShiftClick()).
  bool SelectCell(int col, int row);
  std::optional<TPoint> TakePendingShiftClick();
  bool DeleteLanguageEnabled() const { return deleteLanguageEnabled_; }
  void DblClick();

  // The cell under a window position; the default assumes an unscrolled grid with 1-pixel lines.
  std::function<TCell(int x, int y)> CellAt;
  // The font and character set dialog; nullopt when cancelled.
  std::function<std::optional<TFontChoice>(const std::string& fontName, const std::string& charsetName)> SelectFont;

  // ---- Commands ----------------------------------------------------------------------------------
  enum class TClipAction { Cut, Copy, Delete };
  void ClipboardCommand(TClipAction action);
  void Cut() { ClipboardCommand(TClipAction::Cut); }
  void Copy() { ClipboardCommand(TClipAction::Copy); }
  void Delete() { ClipboardCommand(TClipAction::Delete); }
  void Paste();

  void InsertRow();
  void DeleteRows();
  void InsertLanguage();
  void DeleteLanguage();
  // After the grid moved column `from` to position `to` by a title drag.
  void ColumnMoved(int from, int to);

  void TranslateOne();
  void TranslateAll();

  bool FindAllColumns() const { return settings_.FindAllColumns; }
  void FindDialogShown();                     // "&All" is selected
  void FindColumnRangeClick(bool all);        // "&All" or "Cu&rrent" clicked
  void FindDialogClosed(bool allSelected);
  bool FindNext(const TFindOptions& options);  // one search step; false when the user stopped
  bool Replace(const TFindOptions& options, const std::string& replaceText);
  void ReplaceAll(const TFindOptions& options, const std::string& replaceText);

  void Duplicates();
  void EmptyField();
  void Sort();
  void Toggle();
  void ReFilter();
  void CompressPositions();
  // The font dialog's OK for the font cell of column `col`. A choice without a font name or with
  // no character set of the table is ignored.
  bool ChangeFontCell(int col, const std::string& fontName, const std::string& charsetName);
  // F9: shows the notice while InfoEsc is set; hiding and the message loop are the window's.
  void Disappear(const std::function<void(TFrmPressKey&)>& showNotice);

  // ---- CSV ----------------------------------------------------------------------------------------
  // The file name Export and Import propose: the one last used by either.
  std::string CsvFileName;
  TCsvEncoding CsvEncoding;
  // The form field of the header; without it, the IDE's current file (as .dfm) or "(undefined)".
  std::optional<std::string> CsvFormFile;
  TCsvContext CsvContext() const;
  bool ExportCsv();
  bool ImportCsv();
  bool AddCsvFile();
  // The same without the file dialogs.
  bool ExportCsvTo(const std::string& path);
  bool ImportCsvFrom(const std::string& path);
  bool AddCsvFrom(const std::string& path);

private:
  // The rows WriteComponent writes for the component now, in block order (no trailing empty row).
  TRows CaptureBlock(host::TComponent& component, int cols);
  TCell DefaultCellAt(int x, int y) const;
  void AfterRowsChanged();
  void AfterCellsChanged(const std::vector<int>& rows);
  void MoveColumnBack(int from, int to);
  bool ReplaceStep(const TFindOptions& options, const std::string& replaceText);
  // The file dialog of a CSV command, proposing the file last used by any of them.
  std::optional<std::string> AskCsvFile(bool save, const char* title, const char* filter);

  runtime::TBaseVorlect& component_;
  host::TComponent* form_;
  std::unique_ptr<grid::TVLStrGrid> grid_;
  TEditorSettings settings_;
  TEditMode mode_ = TEditMode::Edit;
  TLastInput lastInput_ = TLastInput::None;
  std::optional<TPoint> mousePos_, downPos_;
  TShiftState lastShift_ = 0;
  std::optional<TPoint> pendingShiftClick_;
  bool deleteLanguageEnabled_ = true;
  int emptyFields_ = 0;
  bool accepted_ = false;
  bool closed_ = false;
};

// Rows of the grid as a plain table, and back: only cells that differ are stored; returns the
// rows that changed, ascending.
TRows ReadRows(const grid::TVLStrGrid& grid);
std::vector<int> WriteRows(grid::TVLStrGrid& grid, const TRows& rows);
// The height CalcAllRowHeights gives one row, for commands that changed a few rows only.
void CalcRowHeight(grid::TVLStrGrid& grid, int row);

}  // namespace vorlect::vle
