// The formats translators' tools read: gettext PO files and XLIFF, one file per language, for the
// forms of a project or for one form.
//
// Every text of a table (a language's cell of a table row) is one message. It is named by its form
// file (relative to the project), the key of the first row of its block (a component's rows: its
// name, the rows keyed with a double quote after it and its hint), the row's index in the block and,
// when a key starts more than one block in the form, "|N" for its N-th block:
// "forms/Main.dfm|RadioGroup1|2". The texts are converted from each language's code page to UTF-8
// and back; an import writes a form only when every text it takes fits its language's code page
// (or the cell already held Unicode codes), and leaves every form whose table does not change as
// it was, byte for byte.
#pragma once

#include "host/framework/Classes.h"
#include "vle/project/VLEMain.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::vle {

enum class TTranslatorFormat { Po, Xliff12, Xliff20 };

struct TTranslatorOptions {
  TTranslatorFormat format = TTranslatorFormat::Po;
  // Languages numbered from 0; empty takes every language but 0.
  std::vector<int> languages;
};

// What an export wrote or an import did, with every problem found (one line each, naming the form,
// the key and the language).
struct TTranslatorReport {
  std::vector<std::string> files;  // written by an export
  int forms = 0;                   // forms exported, or forms rewritten by an import
  int unchanged = 0;               // import: forms whose tables stayed as they were
  int failed = 0;                  // import: forms not written (a text their code page cannot hold)
  int taken = 0;                   // import: texts that changed
  int fuzzy = 0, missing = 0, stale = 0, unknown = 0, plural = 0;
  std::vector<std::string> problems;
};

// The language's identifier as a BCP-47 tag ("de-DE"), empty without a configured identifier.
std::string LanguageTag(int language);
// The file of a language in an export folder: "de-DE.po", "language-3.xlf"; language 0 of a PO
// export is also written as "messages.pot".
std::string TranslatorFileName(int language, TTranslatorFormat format);

// One message of a form's table.
struct TFormMessage {
  std::string context;  // "forms/Main.dfm|Button1|0"
  std::string unitId;   // the XLIFF unit id (key, index and block in name characters)
  std::string component;
  std::string note;     // the component's class and the property the text belongs to
  int entry = 0;        // index of the table entry (its key's line is entry * (languages + 1))
};
// The messages of a form's table (`name`: the form file as the messages name it).
std::vector<TFormMessage> FormMessages(const TEntry& entry, std::string_view name);

// Object Pascal Format arguments of a text: (index, type letter) in order; false when the text
// holds a "%" that does not start a valid directive.
bool PascalFormatArgs(std::string_view text, std::vector<std::pair<int, char>>& args);

// The forms an exchange works on: a project's selected forms, or one form file.
class TFormSet {
public:
  virtual ~TFormSet() = default;
  virtual int Count() const = 0;
  // The form's languages as scanned, without reading its table again.
  virtual int Languages(int i) const = 0;
  // Calls `fn` with the form's table loaded; false when the form has no translation component.
  virtual bool Visit(int i, const std::function<void(TEntry&)>& fn) = 0;
  // The form file as the messages name it.
  virtual std::string Name(int i) const = 0;
  // What the files' headers name: the project, or the form.
  virtual std::string Title() const = 0;
  // Writes new table lines; false (with the reason shown) when it could not.
  virtual bool Write(int i, TEntry& entry, const host::TStrings& lines) = 0;
};

// The selected forms of a catalogue, named relative to `projectFolder`.
std::unique_ptr<TFormSet> ProjectForms(TFPrjList& catalogue, const std::string& projectFolder);
// One form file, named by its file name.
std::unique_ptr<TFormSet> SingleForm(const std::string& formFile);

// Writes one file per language into `folder` (created when missing); every file is written whole
// or not at all. Throws platform::FileError and std::runtime_error (a language out of range).
void ExportTranslations(TFormSet& forms, const std::string& folder, const TTranslatorOptions& options,
                        TTranslatorReport& report);

// Reads the languages' files from `folder` and writes the forms whose tables change. A file that
// cannot be read stops the import before any form is written; a language without a file is
// reported and skipped. Throws std::runtime_error naming the file and the place.
void ImportTranslations(TFormSet& forms, const std::string& folder, const TTranslatorOptions& options,
                        TTranslatorReport& report);

}  // namespace vorlect::vle
