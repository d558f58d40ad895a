#include "host/framework/Graphics.h"

#include <cstdio>
#include <cstdlib>

namespace vorlect::host {

const IdentMap& ColorIdents() {
  static const IdentMap map{
      "TColor",
      {{clBlack, "clBlack"},
       {clMaroon, "clMaroon"},
       {clGreen, "clGreen"},
       {clOlive, "clOlive"},
       {clNavy, "clNavy"},
       {clPurple, "clPurple"},
       {clTeal, "clTeal"},
       {clGray, "clGray"},
       {clSilver, "clSilver"},
       {clRed, "clRed"},
       {clLime, "clLime"},
       {clYellow, "clYellow"},
       {clBlue, "clBlue"},
       {clFuchsia, "clFuchsia"},
       {clAqua, "clAqua"},
       {clWhite, "clWhite"},
       {clMoneyGreen, "clMoneyGreen"},
       {clSkyBlue, "clSkyBlue"},
       {clCream, "clCream"},
       {clMedGray, "clMedGray"},
       {clActiveBorder, "clActiveBorder"},
       {clActiveCaption, "clActiveCaption"},
       {clAppWorkSpace, "clAppWorkSpace"},
       {clBackground, "clBackground"},
       {clBtnFace, "clBtnFace"},
       {clBtnHighlight, "clBtnHighlight"},
       {clBtnShadow, "clBtnShadow"},
       {clBtnText, "clBtnText"},
       {clCaptionText, "clCaptionText"},
       {clDefault, "clDefault"},
       {clGradientActiveCaption, "clGradientActiveCaption"},
       {clGradientInactiveCaption, "clGradientInactiveCaption"},
       {clGrayText, "clGrayText"},
       {clHighlight, "clHighlight"},
       {clHighlightText, "clHighlightText"},
       {clHotLight, "clHotLight"},
       {clInactiveBorder, "clInactiveBorder"},
       {clInactiveCaption, "clInactiveCaption"},
       {clInactiveCaptionText, "clInactiveCaptionText"},
       {clInfoBk, "clInfoBk"},
       {clInfoText, "clInfoText"},
       {clMenu, "clMenu"},
       {clMenuBar, "clMenuBar"},
       {clMenuHighlight, "clMenuHighlight"},
       {clMenuText, "clMenuText"},
       {clNone, "clNone"},
       {clScrollBar, "clScrollBar"},
       {cl3DDkShadow, "cl3DDkShadow"},
       {cl3DLight, "cl3DLight"},
       {clWindow, "clWindow"},
       {clWindowFrame, "clWindowFrame"},
       {clWindowText, "clWindowText"},
       // Aliases: read, never written (the first name of a value wins).
       {clLtGray, "clLtGray"},
       {clDkGray, "clDkGray"}}};
  return map;
}

bool ColorToIdent(TColor color, std::string& ident) { return ColorIdents().ToIdent(color, ident); }

bool IdentToColor(std::string_view ident, TColor& color) {
  std::int64_t v;
  if (!ColorIdents().ToInt(ident, v)) return false;
  color = static_cast<TColor>(v);
  return true;
}

std::string ColorToString(TColor color) {
  std::string ident;
  if (ColorToIdent(color, ident)) return ident;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(color));
  return buf;
}

TColor StringToColor(std::string_view text) {
  TColor color;
  if (IdentToColor(text, color)) return color;
  std::string s(text);
  const char* begin = s.c_str();
  char* end = nullptr;
  long long v;
  if (!s.empty() && s[0] == '$') v = std::strtoll(begin + 1, &end, 16);
  else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) v = std::strtoll(begin + 2, &end, 16);
  else v = std::strtoll(begin, &end, 10);
  if (s.empty() || (s[0] == '$' && s.size() == 1) || !end || *end != '\0' || v < INT32_MIN ||
      v > UINT32_MAX)
    throw EConvertError("'" + s + "' is not a valid colour");
  return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

const IdentMap& CharsetIdents() {
  static const IdentMap map{"TFontCharset",
                            {{ANSI_CHARSET, "ANSI_CHARSET"},
                             {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
                             {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
                             {MAC_CHARSET, "MAC_CHARSET"},
                             {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
                             {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
                             {JOHAB_CHARSET, "JOHAB_CHARSET"},
                             {GB2312_CHARSET, "GB2312_CHARSET"},
                             {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
                             {GREEK_CHARSET, "GREEK_CHARSET"},
                             {TURKISH_CHARSET, "TURKISH_CHARSET"},
                             {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
                             {HEBREW_CHARSET, "HEBREW_CHARSET"},
                             {ARABIC_CHARSET, "ARABIC_CHARSET"},
                             {BALTIC_CHARSET, "BALTIC_CHARSET"},
                             {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
                             {THAI_CHARSET, "THAI_CHARSET"},
                             {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
                             {OEM_CHARSET, "OEM_CHARSET"}}};
  return map;
}

bool CharsetToIdent(int charset, std::string& ident) {
  return CharsetIdents().ToIdent(charset, ident);
}

bool IdentToCharset(std::string_view ident, int& charset) {
  std::int64_t v;
  if (!CharsetIdents().ToInt(ident, v)) return false;
  charset = static_cast<int>(v);
  return true;
}

const EnumInfo& FontStyleInfo() {
  static const EnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return info;
}

const EnumInfo& FontPitchInfo() {
  static const EnumInfo info{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
  return info;
}

const EnumInfo& FontQualityInfo() {
  static const EnumInfo info{"TFontQuality",
                             {"fqDefault", "fqDraft", "fqProof", "fqNonAntialiased",
                              "fqAntialiased", "fqClearType", "fqClearTypeNatural"}};
  return info;
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return 0;
  long long p = static_cast<long long>(a) * b;
  long long ap = p < 0 ? -p : p, ac = c < 0 ? -static_cast<long long>(c) : c;
  long long q = (2 * ap + ac) / (2 * ac);
  return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}

const ClassInfo& TFont::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TFont>("TFont")
          .Byte("Charset", &TFont::Charset, &TFont::SetCharset).Idents(CharsetIdents())
          .Integer("Color", &TFont::Color, &TFont::SetColor).Idents(ColorIdents())
          .Integer("Height", &TFont::Height, &TFont::SetHeight)
          .String("Name", &TFont::Name, &TFont::SetName)
          .Integer("Orientation", &TFont::Orientation, &TFont::SetOrientation).Default(0)
          .Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, FontPitchInfo()).Default(fpDefault)
          .Integer("Size", &TFont::Size, &TFont::SetSize).NotStored()
          .Set("Style", &TFont::Style, &TFont::SetStyle, FontStyleInfo()).NoDefault()
          .Enum("Quality", &TFont::Quality, &TFont::SetQuality, FontQualityInfo()).Default(fqDefault)
          .Build();
  return info;
}

void TFont::Changed() { OnChange(this); }

void TFont::SetCharset(TFontCharset charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

void TFont::SetName(const std::string& name) {
  if (name.empty() || name == name_) return;  // the original ignores an empty name
  name_ = name;
  Changed();
}

void TFont::SetOrientation(int orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
  if (pitch == pitch_) return;
  pitch_ = pitch;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch); }

void TFont::SetSize(int size) { SetHeight(-MulDiv(size, PixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetQuality(TFontQuality quality) {
  if (quality == quality_) return;
  quality_ = quality;
  Changed();
}

bool TFont::Equals(const TFont& o) const {
  return charset_ == o.charset_ && color_ == o.color_ && height_ == o.height_ &&
         name_ == o.name_ && orientation_ == o.orientation_ && pitch_ == o.pitch_ &&
         style_ == o.style_ && quality_ == o.quality_;
}

void TFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TFont*>(&source)) {
    if (f == this || Equals(*f)) return;
    charset_ = f->charset_;
    color_ = f->color_;
    // Height scales with the two fonts' resolutions, as in the original.
    height_ = PixelsPerInch == f->PixelsPerInch ? f->height_
                                                : MulDiv(f->height_, PixelsPerInch, f->PixelsPerInch);
    name_ = f->name_;
    orientation_ = f->orientation_;
    pitch_ = f->pitch_;
    style_ = f->style_;
    quality_ = f->quality_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace vorlect::host
