#include "vle/exchange/FSearchDlg.h"

#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/CodePages.h"
#include "vle/VLSettings.h"
#include "vle/project/Notation.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/project/DFM_TXT.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <set>

namespace vorlect::vle {

namespace {

// Simple case folding, unit for unit, so that a position in the folded text is one in the text.
std::u16string Fold(std::u16string_view s) {
  std::u16string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < out.size() && out[i + 1] >= 0xDC00 && out[i + 1] < 0xE000) {
      const UChar32 cp = 0x10000 + ((c - 0xD800) << 10) + (out[i + 1] - 0xDC00);
      const UChar32 f = u_foldCase(cp, U_FOLD_CASE_DEFAULT);
      if (f >= 0x10000) {
        out[i] = static_cast<char16_t>(0xD800 + ((f - 0x10000) >> 10));
        out[i + 1] = static_cast<char16_t>(0xDC00 + ((f - 0x10000) & 0x3FF));
      }
      ++i;
      continue;
    }
    const UChar32 f = u_foldCase(c, U_FOLD_CASE_DEFAULT);
    if (f < 0x10000) out[i] = static_cast<char16_t>(f);
  }
  return out;
}

}  // namespace

TSearchDlg::TSearchDlg(TFPrjList& catalogue) : catalogue_(catalogue) {
  const host::TStrings& names = LanguageNames();
  for (int i = 0; i < names.Count(); ++i) languageItems_.push_back(names.Strings(i));
  int most = 0;
  for (int r = 0; r < catalogue_.Count(); ++r) most = std::max(most, catalogue_.Entry(r).LanguageCount);
  for (int b = static_cast<int>(languageItems_.size()) + 1; b <= most; ++b)
    languageItems_.push_back("language " + std::to_string(b));
  languageSelected_.assign(languageItems_.size(), false);
}

bool TSearchDlg::LanguageSelected(int item) const {
  return item >= 0 && item < static_cast<int>(languageSelected_.size()) && languageSelected_[item];
}

void TSearchDlg::SetLanguageSelected(int item, bool selected) {
  if (item >= 0 && item < static_cast<int>(languageSelected_.size())) languageSelected_[item] = selected;
}

bool TSearchDlg::FindEnabled() const {
  return !SearchText.empty() &&
         (AllLanguages || std::find(languageSelected_.begin(), languageSelected_.end(), true) != languageSelected_.end());
}

void TSearchDlg::FindClick() {
  if (running_) {
    findCaption_ = kFindCaption;  // the running search sees this and stops
    return;
  }
  if (!FindEnabled()) return;
  findCaption_ = kStopCaption;
  Search(false);
}

bool TSearchDlg::ReplaceClick() {
  if (running_) {
    findCaption_ = kFindCaption;
    return true;
  }
  if (!FindEnabled()) return true;
  findCaption_ = kStopCaption;
  Search(true);
  saved_ = failed_ = 0;
  failedForms_.clear();
  if (results_.empty() || DryRun) return true;
  if (ports::MessageDlg(kSaveQuestion, ports::mtConfirmation, {ports::mbYes, ports::mbNo}) != ports::mrYes) return true;
  // A form with several hits is written once, in the order of its first hit.
  std::set<const TEntry*> done;
  for (const TResultRow& row : results_) {
    if (!done.insert(row.Entry).second) continue;
    if (RewriteTables(row.Entry->FormFile, row.Entry->LanguageCount, nullptr, row.Entry->Lines)) {
      row.Entry->LinesChanged = false;
      ++saved_;
    } else {
      ++failed_;
      failedForms_.push_back(row.Entry->FormFile);
    }
  }
  return failed_ == 0;
}

void TSearchDlg::ResultDblClick(int row) {
  if (row < 0 || row >= static_cast<int>(results_.size())) return;
  auto* host = toolservices::GetHostServices();
  if (!host) return;
  const std::string& file = results_[row].Entry->FormFile;
  if (!host->HostIsFileOpen(file)) host->HostOpenFile(file);
}

void TSearchDlg::Search(bool replace) {
  running_ = true;
  results_.clear();
  int total = 0, done = 0;
  for (int r = 0; r < catalogue_.Count(); ++r)
    if (catalogue_.Selected(r)) ++total;
  for (int r = 0; r < catalogue_.Count(); ++r) {
    if (!catalogue_.Selected(r)) continue;
    if (ProcessMessages) ProcessMessages();
    if (StopRequested()) break;
    TRowLines use(catalogue_, r);
    TEntry& entry = use.Entry();
    if (catalogue_.Progress) catalogue_.Progress(++done, total, entry.FormFile);
    const size_t before = results_.size();
    const bool go_on = SearchEntry(entry, replace);
    if (results_.size() != before) use.Keep();  // results point into the lines, replacements wait there
    if (!go_on) break;
  }
  findCaption_ = kFindCaption;
  groupCaption_ = "&Search Results";
  running_ = false;
  if (SearchEnded) SearchEnded();
}

bool TSearchDlg::SearchEntry(TEntry& entry, bool replace) {
  groupCaption_ = "scanning " + entry.FormFile;
  const std::u16string search = platform::Utf8ToUtf16(SearchText);
  const std::u16string folded = IgnoreCase ? Fold(search) : search;
  const std::u16string replacement = platform::Utf8ToUtf16(ReplaceText);
  const int n = std::max(0, entry.LanguageCount);
  std::string component;
  for (int i = 0; i + n < entry.Lines.Count(); i += n + 1) {
    // A continuation key (a double quote, or one with a property as ".Hint") belongs to the
    // component named before it.
    const std::string& key = entry.Lines.Strings(i);
    if (key.empty() || key[0] != '"')
      component = platform::Utf16ToUtf8(notation::ToUtf16(key, ColumnCodePage(0)));
    for (int b = 1; b <= n; ++b) {
      if (!AllLanguages && !LanguageSelected(b - 1)) continue;
      const std::string& line = entry.Lines.Strings(i + b);
      const int cp = ColumnCodePage(b);
      const std::u16string text = notation::ToUtf16(line, cp);
      const size_t pos = (IgnoreCase ? Fold(text) : text).find(folded);
      if (pos == std::u16string::npos) continue;
      results_.push_back({entry.FormClassName, component, platform::Utf16ToUtf8(text), &entry, i + b});
      if (replace) {
        std::u16string changed = text.substr(0, pos) + replacement + text.substr(pos + search.size());
        entry.Lines.Put(i + b, notation::OfUtf16(changed, cp, notation::Decode(line).unicode));
        entry.LinesChanged = true;
      }
    }
    if (ProcessMessages) ProcessMessages();
    if (StopRequested()) return false;
  }
  return true;
}

}  // namespace vorlect::vle
