// Text measured as a window would draw it, without a window system: fontconfig picks the
// installed face for a font (its own when installed, else the substitute fontconfig names, such
// as DejaVu Sans or Liberation Sans), FreeType gives the glyphs' advances at the font's pixel size.
// A character the face lacks is measured in another installed face that has it; when none has it,
// as half the font's height (a whole one for East Asian wide characters).
#pragma once

#include "host/ports/Ports.h"

#include <memory>
#include <string>

namespace vorlect::ports {

class FreeTypeTextMeasure : public TextMeasurePort {
public:
  // Throws std::runtime_error when FreeType or fontconfig cannot start.
  FreeTypeTextMeasure();
  ~FreeTypeTextMeasure() override;
  FreeTypeTextMeasure(const FreeTypeTextMeasure&) = delete;
  FreeTypeTextMeasure& operator=(const FreeTypeTextMeasure&) = delete;

  // Width of the widest line and the height of all lines; the text is in the code page of the
  // font's character set.
  TextExtent MeasureText(std::string_view text, const FontSpec& font) override;

  // The face a font is drawn in: "DejaVu Sans Book", or empty when no face is installed.
  std::string FaceName(const FontSpec& font);

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vorlect::ports
