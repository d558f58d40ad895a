#include "vle/FSetLang.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <cstdint>
#include <utility>

#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "platform/CodePages.h"
#include "spell/SpellerRegistration.h"
#include "vle/VLSettings.h"

namespace vorlect::vle {

bool SameLanguageName(std::string_view a, std::string_view b) {
  const std::u16string ua = platform::Utf8ToUtf16(a), ub = platform::Utf8ToUtf16(b);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t cmp = u_strCaseCompare(ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                                       static_cast<int32_t>(ub.size()), U_FOLD_CASE_DEFAULT, &status);
  return U_SUCCESS(status) ? cmp == 0 : a == b;
}

namespace {

std::vector<TLangEntry> EntriesOf(const host::TStrings& names, const host::TStrings& ids) {
  std::vector<TLangEntry> entries;
  entries.reserve(static_cast<size_t>(names.Count()));
  for (int i = 0; i < names.Count(); ++i) {
    const unsigned id = i < ids.Count() ? LanguageIdOf(ids.Strings(i)) : 0;
    entries.push_back({names.Strings(i), static_cast<spell::TLanguage>(id)});
  }
  return entries;
}

}  // namespace

TFLangDlg::TFLangDlg(const host::TStrings& names, const host::TStrings& ids) : languages_(EntriesOf(names, ids)) {
  host::TStringList installed;
  spell::GetSpellerLanguages(installed, spell::lnkLocalized);
  SetDictionaries(installed);
}

TFLangDlg::TFLangDlg(const host::TStrings& names, const host::TStrings& ids, const host::TStrings& dictionaries)
    : languages_(EntriesOf(names, ids)) {
  SetDictionaries(dictionaries);
}

void TFLangDlg::SetDictionaries(const host::TStrings& dictionaries) {
  for (int i = 0; i < dictionaries.Count(); ++i) {
    const auto id = reinterpret_cast<std::uintptr_t>(dictionaries.Objects(i));
    dictionaries_.push_back({dictionaries.Strings(i), static_cast<spell::TLanguage>(id <= 0xFFFF ? id : 0)});
  }
}

int TFLangDlg::IndexOfLanguage(std::string_view name) const {
  for (size_t i = 0; i < languages_.size(); ++i)
    if (SameLanguageName(languages_[i].name, name)) return static_cast<int>(i);
  return -1;
}

bool TFLangDlg::AddEnabled() const { return !edit_.empty() && IndexOfLanguage(edit_) < 0; }

void TFLangDlg::BtnAddClick() {
  // The window disables the button, but a stale click must not add a duplicate.
  if (!AddEnabled()) return;
  TLangEntry entry{edit_, 0};
  for (const TLangEntry& d : dictionaries_)
    if (SameLanguageName(d.name, edit_)) {
      entry.id = d.id;
      break;
    }
  languages_.push_back(std::move(entry));
}

void TFLangDlg::SelectLanguage(int index) {
  selected_ = index >= 0 && index < static_cast<int>(languages_.size()) ? index : -1;
}

void TFLangDlg::BtnDelClick() {
  if (!DelEnabled()) return;
  languages_.erase(languages_.begin() + selected_);
  selected_ = -1;
}

void TFLangDlg::BtnUpClick() {
  if (!UpEnabled()) return;
  std::swap(languages_[selected_], languages_[selected_ - 1]);
  --selected_;
}

void TFLangDlg::BtnDownClick() {
  if (!DownEnabled()) return;
  std::swap(languages_[selected_], languages_[selected_ + 1]);
  ++selected_;
}

void TFLangDlg::LanguagesDblClick() {
  if (selected_ < 0) return;
  ports::ShowMessage(std::to_string(languages_[selected_].id));
}

void TFLangDlg::DictionaryClick(int index) {
  if (index >= 0 && index < static_cast<int>(dictionaries_.size())) edit_ = dictionaries_[index].name;
}

bool TFLangDlg::AppendDictionary(int index) {
  if (!DictionaryDragOver(index)) return false;
  languages_.push_back(dictionaries_[index]);
  return true;
}

void TFLangDlg::DictionaryDblClick(int index) { AppendDictionary(index); }

bool TFLangDlg::DictionaryDragOver(int index) const {
  return index >= 0 && index < static_cast<int>(dictionaries_.size()) && IndexOfLanguage(dictionaries_[index].name) < 0;
}

void TFLangDlg::DictionaryDragDrop(int index) { AppendDictionary(index); }

void TFLangDlg::BtnOKClick(host::TStrings& names, host::TStrings& ids) const {
  names.Clear();
  ids.Clear();
  for (const TLangEntry& e : languages_) {
    names.Add(e.name);
    ids.Add(std::to_string(e.id));
  }
}

void ApplyLanguageSetup(const TFLangDlg& dialog) { dialog.BtnOKClick(LanguageNames(), LanguageIds()); }

}  // namespace vorlect::vle
