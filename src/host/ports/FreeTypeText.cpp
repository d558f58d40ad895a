#include "host/ports/FreeTypeText.h"

#include "platform/CodePages.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <cmath>
#include <map>
#include <stdexcept>
#include <tuple>

namespace vorlect::ports {

namespace {

struct FaceKey {
  std::string file;
  int index = 0;
  bool operator<(const FaceKey& o) const { return std::tie(file, index) < std::tie(o.file, o.index); }
};

}  // namespace

struct FreeTypeTextMeasure::Impl {
  FT_Library library = nullptr;
  FcConfig* config = nullptr;
  std::map<FaceKey, FT_Face> faces;
  // Font (family, bold, italic) -> the face fontconfig matched; null when none.
  std::map<std::tuple<std::string, bool, bool>, FT_Face> matched;
  // (face of the font, character) -> the face that draws it (null: none has it).
  std::map<std::pair<FT_Face, char32_t>, FT_Face> fallbacks;
  // (face, pixel size, glyph) -> advance in 1/64 pixels.
  std::map<std::tuple<FT_Face, int, FT_UInt>, long> advances;
  std::map<FT_Face, std::pair<int, int>> sized;  // face -> pixel size set, line height

  ~Impl() {
    for (auto& [key, face] : faces) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
    if (config) FcConfigDestroy(config);
  }

  FT_Face Open(const FcChar8* file, int index) {
    FaceKey key{reinterpret_cast<const char*>(file), index};
    if (auto it = faces.find(key); it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(library, key.file.c_str(), index, &face) != 0) face = nullptr;
    faces.emplace(key, face);
    return face;
  }

  // The face fontconfig picks for a pattern, when it has `c` (0: any).
  FT_Face Match(FcPattern* pattern, char32_t c) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(config, pattern, &result);
    FT_Face face = nullptr;
    if (font) {
      FcChar8* file = nullptr;
      int index = 0;
      FcCharSet* charset = nullptr;
      const bool covers = c == 0 || (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch &&
                                     FcCharSetHasChar(charset, static_cast<FcChar32>(c)));
      if (covers && FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        face = Open(file, index);
      }
      FcPatternDestroy(font);
    }
    return face;
  }

  FcPattern* Pattern(const FontSpec& font) {
    FcPattern* p = FcPatternCreate();
    FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.name.c_str()));
    FcPatternAddInteger(p, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(p, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    return p;
  }

  FT_Face FaceOf(const FontSpec& font) {
    const auto key = std::make_tuple(font.name, font.bold, font.italic);
    if (auto it = matched.find(key); it != matched.end()) return it->second;
    FcPattern* p = Pattern(font);
    FT_Face face = Match(p, 0);
    FcPatternDestroy(p);
    matched.emplace(key, face);
    return face;
  }

  FT_Face FallbackFor(const FontSpec& font, FT_Face primary, char32_t c) {
    const auto key = std::make_pair(primary, c);
    if (auto it = fallbacks.find(key); it != fallbacks.end()) return it->second;
    FcPattern* p = Pattern(font);
    FcCharSet* set = FcCharSetCreate();
    FcCharSetAddChar(set, static_cast<FcChar32>(c));
    FcPatternAddCharSet(p, FC_CHARSET, set);
    FcCharSetDestroy(set);
    FT_Face face = Match(p, c);
    FcPatternDestroy(p);
    if (face && FT_Get_Char_Index(face, c) == 0) face = nullptr;
    fallbacks.emplace(key, face);
    return face;
  }

  // Sets the face to the font's character height in pixels; returns the line height.
  int SetSize(FT_Face face, const FontSpec& font) {
    int pixels = font.PixelHeight();
    if (font.height > 0 && face->units_per_EM > 0 && face->ascender - face->descender > 0) {
      // A positive height is the cell height: the character height is the part of it the em takes.
      pixels = std::max(1, static_cast<int>(std::lround(static_cast<double>(font.height) * face->units_per_EM /
                                                        (face->ascender - face->descender))));
    }
    auto& state = sized[face];
    if (state.first != pixels) {
      FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
      state = {pixels, static_cast<int>((face->size->metrics.height + 63) >> 6)};
    }
    return state.second;
  }

  long Advance(FT_Face face, int pixels, FT_UInt glyph) {
    const auto key = std::make_tuple(face, pixels, glyph);
    if (auto it = advances.find(key); it != advances.end()) return it->second;
    long advance = 0;
    if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0) advance = face->glyph->advance.x;
    advances.emplace(key, advance);
    return advance;
  }
};

FreeTypeTextMeasure::FreeTypeTextMeasure() : impl_(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&impl_->library) != 0) throw std::runtime_error("FreeType could not start");
  impl_->config = FcInitLoadConfigAndFonts();
  if (!impl_->config) throw std::runtime_error("fontconfig could not read its configuration");
}

FreeTypeTextMeasure::~FreeTypeTextMeasure() = default;

TextExtent FreeTypeTextMeasure::MeasureText(std::string_view text, const FontSpec& font) {
  Impl& m = *impl_;
  FT_Face face = m.FaceOf(font);
  const int em = font.PixelHeight();
  int lineHeight = em + em / 5;
  int pixels = em;
  if (face) {
    lineHeight = m.SetSize(face, font);
    pixels = m.sized[face].first;
  }
  const std::u16string units = platform::DecodeCodePage(text, platform::CodePageOfCharset(font.charset));
  long widest = 0, current = 0;
  int lines = 1;
  for (int32_t k = 0; k < static_cast<int32_t>(units.size());) {
    UChar32 c;
    U16_NEXT(units.data(), k, static_cast<int32_t>(units.size()), c);
    if (c == '\r' || c == '\n') {
      if (c == '\r' && k < static_cast<int32_t>(units.size()) && units[static_cast<size_t>(k)] == '\n') ++k;
      widest = std::max(widest, current);
      current = 0;
      ++lines;
      continue;
    }
    if (c < 0x20) continue;
    FT_Face drawing = face;
    FT_UInt glyph = face ? FT_Get_Char_Index(face, static_cast<FT_ULong>(c)) : 0;
    if (glyph == 0 && face) {
      drawing = m.FallbackFor(font, face, static_cast<char32_t>(c));
      if (drawing) {
        m.SetSize(drawing, font);
        glyph = FT_Get_Char_Index(drawing, static_cast<FT_ULong>(c));
      }
    }
    if (drawing && glyph) {
      current += m.Advance(drawing, m.sized[drawing].first, glyph);
      continue;
    }
    const int wide = u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
    const bool full = wide == U_EA_WIDE || wide == U_EA_FULLWIDTH;
    current += static_cast<long>(full ? pixels : (pixels + 1) / 2) * 64;
  }
  widest = std::max(widest, current);
  return {static_cast<int>((widest + 63) >> 6), lines * lineHeight};
}

std::string FreeTypeTextMeasure::FaceName(const FontSpec& font) {
  FT_Face face = impl_->FaceOf(font);
  if (!face) return {};
  std::string name = face->family_name ? face->family_name : "";
  if (face->style_name) name += std::string(" ") + face->style_name;
  return name;
}

}  // namespace vorlect::ports
