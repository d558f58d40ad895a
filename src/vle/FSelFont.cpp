#include "vle/FSelFont.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include "platform/CodePages.h"
#include "vle/editor/FontCells.h"

namespace vorlect::vle {

namespace {

// Font names are ANSI text; letter case is compared beyond ASCII, as a list box does.
bool SameName(std::string_view a, std::string_view b) {
  const int cp = platform::AnsiCodePage();
  const std::u16string ua = platform::DecodeCodePage(a, cp), ub = platform::DecodeCodePage(b, cp);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t cmp = u_strCaseCompare(ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                                       static_cast<int32_t>(ub.size()), U_FOLD_CASE_DEFAULT, &status);
  return U_SUCCESS(status) ? cmp == 0 : a == b;
}

}  // namespace

TFrmSelFont::TFrmSelFont(std::vector<std::string> fonts) : fonts_(std::move(fonts)) {
  for (const TCharsetName& c : CharsetTable()) charsets_.emplace_back(c.name);
}

int TFrmSelFont::IndexOf(const std::vector<std::string>& list, std::string_view name) {
  for (size_t i = 0; i < list.size(); ++i)
    if (SameName(list[i], name)) return static_cast<int>(i);
  return -1;
}

void TFrmSelFont::SetFonts(std::vector<std::string> fonts) {
  fonts_ = std::move(fonts);
  font_ = -1;
}

void TFrmSelFont::Preselect(std::string_view fontName, std::string_view charsetName) {
  font_ = IndexOf(fonts_, fontName);
  charset_ = IndexOf(charsets_, charsetName);
}

void TFrmSelFont::FontListClick(int index) {
  font_ = index >= 0 && index < static_cast<int>(fonts_.size()) ? index : -1;
  if (font_ >= 0) sampleFont_ = fonts_[static_cast<size_t>(font_)];
}

void TFrmSelFont::CharsetListClick(int index) {
  charset_ = index >= 0 && index < static_cast<int>(charsets_.size()) ? index : -1;
  if (charset_ >= 0) sampleCharset_ = CharsetTable()[static_cast<size_t>(charset_)].code;
}

std::optional<TSelFontChoice> TFrmSelFont::Choice() const {
  if (!OKEnabled()) return std::nullopt;
  return TSelFontChoice{fonts_[static_cast<size_t>(font_)], charsets_[static_cast<size_t>(charset_)]};
}

}  // namespace vorlect::vle
