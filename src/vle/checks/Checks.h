// Checks of a form's translations for mistakes a translator cannot see in the grid: format
// arguments, accelerator markers and their clashes, ending punctuation, blanks, empty and
// untranslated texts, texts wider than their control, and keys that name nothing.
//
// A form is given as a FormModel: its table rows with, for each, the layout of the control the
// text is shown in. The Checker keeps every problem of every cell (a cell is one row in one
// language) and can recheck a single cell after it changed: that touches the cell itself, and the
// cells of the same menu or parent in that language whose accelerators may now clash. A change
// of language 0, which every translation is compared with, rechecks the row.
#pragma once

#include "host/ports/Ports.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlect::vle::checks {

enum class Level : std::uint8_t { Error, Warning, Information };
const char* LevelName(Level level);  // "error", "warning", "information"

enum class CheckId : std::uint8_t {
  Placeholder,
  AcceleratorMissing,
  AcceleratorExtra,
  AcceleratorDouble,
  AcceleratorClash,
  Punctuation,
  Whitespace,
  Empty,
  SameAsSource,
  TooWide,
  UnknownKey,
};
inline constexpr int kCheckCount = 11;

struct CheckInfo {
  CheckId id;
  const char* name;         // the stable identifier, e.g. "accelerator-clash"
  Level level;
  const char* description;  // one sentence
};
const CheckInfo& Info(CheckId id);
const std::vector<CheckInfo>& AllChecks();
std::optional<CheckId> CheckByName(std::string_view name);

// --- The model of a form ---------------------------------------------------------------------------

// How a text has to fit its control: on one line within the width, or wrapped within the width
// and then within the height.
enum class Fit : std::uint8_t { None, Line, Wrapped };

struct Box {
  int width = 0;
  int height = 0;
};

struct Row {
  std::string key;                 // the key of the block the row belongs to, as the table holds it
  int row = 0;                     // entry within the key's block, from 0
  std::vector<std::string> texts;  // one per language, bytes in that language's code page
  bool unknownKey = false;         // first row of a block whose key names no component
  bool hint = false;               // a hint, where "&" is text and marks nothing
  Fit fit = Fit::None;
  int padding = 0;                 // pixels of the control the text cannot use (frame, check mark)
  // Per language the control's size in that language; a single box serves every language.
  std::vector<Box> boxes;
  // The control's own font, when it does not take the form's; its character set follows the
  // language's all the same, since the texts are in the language's code page.
  std::optional<ports::FontSpec> font;
  int clashGroup = -1;             // rows of one menu or parent; -1 takes no part
};

struct FormModel {
  std::string name;                     // the form's name, as problems name it
  int languages = 0;
  std::vector<ports::FontSpec> fonts;   // per language: the form's font in that language
  std::vector<Row> rows;

  int CodePage(int language) const;
  ports::FontSpec FontOf(const Row& row, int language) const;
};

// --- Problems ----------------------------------------------------------------------------------------

struct Finding {
  CheckId check;
  std::string message;  // UTF-8
  bool operator==(const Finding&) const = default;
};

struct Problem {
  std::string form;
  std::string key;  // as the table holds it (the ANSI code page)
  int row = 0;
  int language = 0;
  CheckId check = CheckId::Placeholder;
  Level level = Level::Error;
  std::string message;
  int formIndex = 0;  // the Checker's form
};

struct CheckOptions {
  bool enabled[kCheckCount] = {true, true, true, true, true, true, true, true, true, true, true};
  // Languages to report; empty reports all. Language 0 is compared with in any case.
  std::vector<int> languages;

  void Disable(CheckId id) { enabled[static_cast<int>(id)] = false; }
  bool Enabled(CheckId id) const { return enabled[static_cast<int>(id)]; }
  bool Reports(int language) const;
};

class Checker {
public:
  // Without a measure port the text widths are not checked.
  explicit Checker(ports::TextMeasurePort* measure = nullptr, CheckOptions options = {});

  // Adds a form and checks all of its cells; returns its index.
  int AddForm(FormModel form);
  int FormCount() const { return static_cast<int>(forms_.size()); }
  const FormModel& Form(int form) const { return forms_[static_cast<size_t>(form)].model; }

  // The row of `key` (ASCII case ignored) and `row` in the form; -1 when there is none.
  int FindRow(int form, std::string_view key, int row) const;

  // Changes one cell's text and rechecks what depends on it.
  void SetText(int form, int row, int language, std::string text);

  // The problems of one cell, in check order.
  const std::vector<Finding>& Findings(int form, int row, int language) const;
  // Every problem, by form, row and language.
  std::vector<Problem> Problems() const;
  int Count() const;

private:
  struct FormState {
    FormModel model;
    std::vector<std::vector<Finding>> cells;            // row * languages + language
    std::vector<std::vector<int>> groups;                // clash group -> rows
    std::unordered_map<std::string, int> keys;           // lower-case key -> first row of its block
  };

  std::vector<Finding>& Cell(FormState& f, int row, int language) {
    return f.cells[static_cast<size_t>(row) * static_cast<size_t>(f.model.languages) + static_cast<size_t>(language)];
  }
  void CheckCell(FormState& f, int row, int language);
  void CheckGroup(FormState& f, int group, int language);
  void Add(std::vector<Finding>& cell, CheckId id, std::string message);
  std::optional<std::string> TooWide(const FormModel& form, const Row& row, int language);

  ports::TextMeasurePort* measure_;
  CheckOptions options_;
  std::vector<FormState> forms_;
};

}  // namespace vorlect::vle::checks
