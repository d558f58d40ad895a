// The language setup dialog TFLangDlg without its window: the configured list with identifiers,
// the edit field with Add, and the installed dictionaries. The window forwards its events here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "spell/CSAPI.h"

namespace vorlect::host {
class TStrings;
}

namespace vorlect::vle {

struct TLangEntry {
  std::string name;
  spell::TLanguage id = 0;  // 0: none
  bool operator==(const TLangEntry&) const = default;
};

// Names compare without regard to case over all of Unicode (names are UTF-8).
bool SameLanguageName(std::string_view a, std::string_view b);

class TFLangDlg {
public:
  static constexpr const char* kCaption = "Language Setup";
  static constexpr const char* kHelpFile = "VLCore.hlp";
  static constexpr const char* kHelpKeyword = "Language Setup";
  static constexpr const char* kHelpHint = "Explain the language/ dictionary setup";

  // Fills the configured list from `names` with `ids` (0 when missing or not a number) and the
  // dictionary list from the registered speller languages.
  TFLangDlg(const host::TStrings& names, const host::TStrings& ids);
  // The same with a given dictionary list (name, identifier as the object).
  TFLangDlg(const host::TStrings& names, const host::TStrings& ids, const host::TStrings& dictionaries);

  // Edit field and "&Add".
  const std::string& EditText() const { return edit_; }
  void SetEditText(std::string text) { edit_ = std::move(text); }
  bool AddEnabled() const;
  void BtnAddClick();

  // Configured list: selection, "&Del", up and down, double click.
  const std::vector<TLangEntry>& Languages() const { return languages_; }
  int ItemIndex() const { return selected_; }
  void SelectLanguage(int index);  // -1 or out of range: no selection
  bool DelEnabled() const { return selected_ >= 0; }
  bool UpEnabled() const { return selected_ > 0; }
  bool DownEnabled() const { return selected_ >= 0 && selected_ + 1 < static_cast<int>(languages_.size()); }
  void BtnDelClick();
  void BtnUpClick();
  void BtnDownClick();
  // Shows the selected entry's identifier in a message box.
  void LanguagesDblClick();

  // Dictionary list: click, double click, drag onto the configured list.
  const std::vector<TLangEntry>& Dictionaries() const { return dictionaries_; }
  void DictionaryClick(int index);
  void DictionaryDblClick(int index);
  bool DictionaryDragOver(int index) const;
  void DictionaryDragDrop(int index);

  // "&OK": the configured list into `names` and `ids` (decimal, "0" for none).
  void BtnOKClick(host::TStrings& names, host::TStrings& ids) const;

private:
  void SetDictionaries(const host::TStrings& dictionaries);
  int IndexOfLanguage(std::string_view name) const;
  bool AppendDictionary(int index);

  std::string edit_;
  std::vector<TLangEntry> languages_;
  std::vector<TLangEntry> dictionaries_;
  int selected_ = -1;
};

// Runs the dialog's OK on the expert-wide LanguageNames and LanguageIds.
void ApplyLanguageSetup(const TFLangDlg& dialog);

}  // namespace vorlect::vle
