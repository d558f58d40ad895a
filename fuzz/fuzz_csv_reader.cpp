// The per-form CSV reader: random bytes as one field line and as a whole file imported into and
// added to an editor table. The first byte picks the separator, the escaping, the encoding and
// the answers to the questions. Nothing may crash, hang or read past its input (ASan watches).
#include "grid/VLStGrid.h"
#include "host/ports/Ports.h"
#include "vle/VLCsv.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

using namespace vorlect;

namespace {

void MakeTable(grid::TVLStrGrid& g) {
  g.SetColCount(3);
  g.SetRowCount(5);
  g.SetFixedRows(2);
  const char* rows[][3] = {{"index", "English", "Deutsch"},
                           {"Font/Charset", "Arial, ANSI_CHARSET", "Arial, RUSSIAN_CHARSET"},
                           {"Button1", "OK", "Ja"},
                           {"\"", "Cancel", ""},
                           {"", "", ""}};
  for (int r = 0; r < 5; ++r)
    for (int k = 0; k < 3; ++k) g.SetCells(k, r, rows[r][k]);
  g.SetCharsetCode(2, 204);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::uint8_t flags = data[0];
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  static const char kSeparators[] = {';', ',', '"', '\\', 'n'};
  const char sep = kSeparators[(flags >> 5) % 5];
  const auto escape = (flags & 2) ? vle::TCsvEscape::Exact : vle::TCsvEscape::Classic;

  for (const std::string& line : vle::CsvSplitLines(input)) vle::CsvReadLine(line, sep, flags & 1, escape);

  std::ostringstream sink;
  ports::CliPorts cli((flags & 4) ? ports::mrYes : ports::mrNo, sink);
  ports::ScopedPorts scoped(cli);
  vle::CsvSeparator = sep;

  grid::TVLStrGrid table(nullptr);
  MakeTable(table);
  vle::TCsvContext context;
  context.formFile = "D:\\App\\Main.dfm";
  context.haveToolServices = flags & 8;
  context.encoding = vle::CsvEncodingOf(table, flags & 16);
  if (vle::ImportTableCsv(table, input, context)) {
    if (const auto exported = vle::ExportTableCsv(table, context)) {
      grid::TVLStrGrid again(nullptr);
      MakeTable(again);
      vle::ImportTableCsv(again, *exported, context);
    }
  }
  grid::TVLStrGrid added(nullptr);
  MakeTable(added);
  vle::AddCsv(added, input, context);
  return 0;
}
