// Fuzz target: the XLIFF reader (both versions). Whatever it accepts, each unit's texts written
// again as the exports write them read back the same.
#include "platform/CodePages.h"
#include "vle/exchange/XliffFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorlect::vle::xliff;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TDocument doc;
  try {
    doc = ReadXliff(input);
  } catch (const TXliffError&) {
    return 0;
  }
  for (const TUnit& u : doc.units) {
    // Code points a file names as <cp> may be surrogates, which UTF-8 cannot carry.
    if (vorlect::platform::FirstInvalidUtf8(u.source) != std::string::npos) continue;
    for (const TVersion v : {TVersion::V12, TVersion::V20}) {
      int n = 0;
      const std::string text = Content(u.source, v, &n);
      const std::string again =
          v == TVersion::V12
              ? std::string("<xliff version=\"1.2\" xmlns=\"") + kNamespace12 +
                    "\"><file original=\"" + Attribute(u.file) +
                    "\" source-language=\"en\" datatype=\"plaintext\"><body><trans-unit id=\"" + Attribute(u.id) +
                    "\"><source>" + text + "</source></trans-unit></body></file></xliff>"
              : std::string("<xliff version=\"2.0\" xmlns=\"") + kNamespace20 + "\" srcLang=\"en\"><file id=\"f\" original=\"" +
                    Attribute(u.file) + "\"><unit id=\"" + IdOf(u.id) + "\"><segment><source>" + text +
                    "</source></segment></unit></file></xliff>";
      const TDocument back = ReadXliff(again);
      if (back.units.size() != 1 || back.units[0].source != u.source) __builtin_trap();
    }
  }
  return 0;
}
