// Fuzz target: the PO reader. Whatever it accepts, written again as the exports write it, reads
// back to the same contexts, message ids and translations.
#include "vle/exchange/PoFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorlect::vle::po;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<TPoEntry> entries;
  try {
    entries = ReadPo(input);
  } catch (const TPoError& e) {
    if (e.line() == 0) __builtin_trap();
    return 0;
  }
  std::string again;
  std::vector<const TPoEntry*> written;
  for (const TPoEntry& e : entries) {
    if (!e.hasContext && e.msgid.empty()) continue;  // would read back as a header
    if (e.hasContext) again += PoLine("msgctxt", e.context);
    again += PoLine("msgid", e.msgid);
    again += PoLine("msgstr", e.Translation());
    again += "\n";
    written.push_back(&e);
  }
  const std::vector<TPoEntry> back = ReadPo(again);
  if (back.size() != written.size()) __builtin_trap();
  for (std::size_t i = 0; i < back.size(); ++i)
    if (back[i].hasContext != written[i]->hasContext || back[i].context != written[i]->context ||
        back[i].msgid != written[i]->msgid || back[i].Translation() != written[i]->Translation())
      __builtin_trap();
  return 0;
}
