// The project manager's form scan: any text must scan without a crash or a hang, and the
// notation of any 8-bit text must quote and read back to the same text.
#include "vle/project/DFM_TXT.h"
#include "vle/project/FormLines.h"
#include "vle/project/Notation.h"
#include "vle/project/VLEMain.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace vorlect::vle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TEntry entry;
  const int instances = ScanFormText(input, entry);
  if (instances < 0 || entry.InstanceCount != instances) abort();

  const auto lines = formlines::SplitLines(input);
  const formlines::FormScan scan = formlines::ScanLines(input, lines);
  for (const auto& block : scan.blocks) {
    if (block.header < 0 || block.header >= static_cast<int>(lines.size())) abort();
    for (const auto* list : {&block.words, &block.doNot, &block.positions, &block.charSets}) {
      for (const auto& item : list->items)
        if (item.first > item.last || item.last >= static_cast<int>(lines.size())) abort();
      if (list->last >= 0 && (list->last < list->first || list->closeOffset >= input.size())) abort();
    }
    for (int line : block.propertyLines)
      if (line >= static_cast<int>(lines.size()) || (line >= 0 && line <= block.header)) abort();
  }

  const std::string line = notation::OfBytes(input);
  std::string quoted;
  if (!formlines::QuoteNotation(line, quoted)) abort();
  if (!notation::IsValid(line) || notation::Decode(line).bytes != input) abort();
  notation::Decode(input);  // arbitrary notation: no crash
  return 0;
}
