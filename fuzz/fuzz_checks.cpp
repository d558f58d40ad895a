// The translation checks on random texts: the input is split at zero bytes into a source text and
// translations, checked in turn in a Western, a Cyrillic, a Japanese and a Chinese column, with
// a clash group, a measured caption and a recheck of every cell.
#include "vle/checks/Checks.h"
#include "vle/checks/TextRules.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Fixed metrics, so that the widths check runs without fonts.
class Measure : public vorlect::ports::TextMeasurePort {
public:
  vorlect::ports::TextExtent MeasureText(std::string_view text, const vorlect::ports::FontSpec& font) override {
    return vorlect::ports::FixedTextExtent(text, font);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace vorlect::vle::checks;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> texts;
  size_t start = 0;
  for (size_t i = 0; i <= input.size(); ++i)
    if (i == input.size() || input[i] == '\0') {
      texts.push_back(input.substr(start, i - start));
      start = i + 1;
    }
  texts.resize(5);
  FormModel m;
  m.name = "Fuzz";
  m.languages = 5;
  m.fonts.resize(5);
  const std::uint8_t charsets[] = {0, 0, 204, 128, 134};
  for (int l = 0; l < 5; ++l) m.fonts[static_cast<size_t>(l)].charset = charsets[l];
  for (int r = 0; r < 3; ++r) {
    Row row;
    row.key = "Row" + std::to_string(r);
    row.texts = texts;
    if (r == 1) std::rotate(row.texts.begin() + 1, row.texts.begin() + 2, row.texts.end());
    row.clashGroup = 0;
    row.fit = r == 2 ? Fit::Wrapped : Fit::Line;
    row.boxes = {Box{40, 30}};
    m.rows.push_back(row);
  }
  Measure measure;
  Checker checker(&measure);
  checker.AddForm(m);
  for (int l = 0; l < 5; ++l) checker.SetText(0, 0, l, texts[static_cast<size_t>(4 - l)]);
  (void)checker.Problems();
  for (const std::string& t : texts) {
    (void)Placeholders(t);
    (void)WithoutAccelerator(t);
    for (int marker : AcceleratorMarkers(t)) (void)MarkedCharacter(t, marker, 932);
  }
  return 0;
}
