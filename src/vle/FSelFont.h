// The font and character set dialog TFrmSelFont without its window: the font list, the
// character-set list, the sample the two lists drive, and the choice OK gives.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::vle {

// What OK gives: the two names a font cell is made of.
struct TSelFontChoice {
  std::string fontName;
  std::string charsetName;
  bool operator==(const TSelFontChoice&) const = default;
};

class TFrmSelFont {
public:
  static constexpr const char* kCaption = "Select a Font and Character Set";
  static constexpr const char* kFontLabel = "&Font";
  static constexpr const char* kCharsetLabel = "&Character Set";
  static constexpr const char* kHelpCaption = "&Help";
  static constexpr const char* kHelpKeyword = "Select a Font and Character Set";
  static constexpr const char* kSampleText = "Abc Example";
  static constexpr const char* kSampleFontName = "MS Sans Serif";
  static constexpr int kSampleFontHeight = -16;  // 16 pixels of character height
  static constexpr int kDefaultCharset = 1;

  // `fonts`: the font list's entries in its order, as ANSI text.
  explicit TFrmSelFont(std::vector<std::string> fonts = {});

  const std::vector<std::string>& Fonts() const { return fonts_; }
  // The font list was filled again; nothing is selected in it.
  void SetFonts(std::vector<std::string> fonts);
  // The names of CharsetTable in table order.
  const std::vector<std::string>& Charsets() const { return charsets_; }

  // Selects the entries equal to the names, letter case ignored; a name a list does not hold
  // leaves that list without a selection. The sample is not touched.
  void Preselect(std::string_view fontName, std::string_view charsetName);
  int FontIndex() const { return font_; }
  int CharsetIndex() const { return charset_; }

  // A click or key release in a list that leaves `index` selected (-1: none). The sample takes
  // the selected font, or the selected character set's code.
  void FontListClick(int index);
  void CharsetListClick(int index);

  const std::string& SampleFontName() const { return sampleFont_; }
  int SampleCharset() const { return sampleCharset_; }

  // A font cell needs both names: OK waits for a selection in each list.
  bool OKEnabled() const { return font_ >= 0 && charset_ >= 0; }
  // The selected names; nullopt while OK is disabled.
  std::optional<TSelFontChoice> Choice() const;

private:
  static int IndexOf(const std::vector<std::string>& list, std::string_view name);

  std::vector<std::string> fonts_;
  std::vector<std::string> charsets_;
  int font_ = -1;
  int charset_ = -1;
  std::string sampleFont_ = kSampleFontName;
  int sampleCharset_ = kDefaultCharset;
};

}  // namespace vorlect::vle
