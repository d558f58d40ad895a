// Fuzz target: import of a project CSV file into a project of one text form (rewritten in a
// temporary folder), plus the reading of its blocks and lines in both encodings, from memory and
// from the file alike, and each block's header read back as a spreadsheet saves it.
#include "host/ports/Ports.h"
#include "platform/Files.h"
#include "vle/VLCsv.h"
#include "vle/project/Notation.h"
#include "vle/exchange/ProjectExchange.h"

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace vorlect;

constexpr std::string_view kForm =
    "object Main: TMain\r\n"
    "  Caption = 'Main'\r\n"
    "  object Vorlect1: TVorlect\r\n"
    "    Languages = 2\r\n"
    "    ActiveLanguage = 0\r\n"
    "    Words.Strings = (\r\n"
    "      '%Form%'\r\n"
    "      'Main'\r\n"
    "      'Haupt')\r\n"
    "  end\r\n"
    "end\r\n";

struct Project {
  Project() {
    const std::string marker = platform::CreateTempFile("TVLfuzz");
    folder = marker + ".d";
    platform::DeleteFile(marker);
    ::mkdir(folder.c_str(), 0700);
    form = folder + "/Main.dfm";
    csv = folder + "/In.csv";
  }
  std::string folder, form, csv;
  std::ostringstream sink;
  ports::CliPorts ports{ports::mrCancel, sink};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Project project;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  for (bool utf8 : {false, true}) {
    for (const vle::TCsvBlock& block : vle::ReadProjectCsv(input, utf8)) {
      // The header as a spreadsheet saves it (every field quoted, padded with empty fields) names
      // the same form and separator.
      if (!block.formFile.empty() && vle::IsCsvSeparatorChar(block.separator)) {
        std::string quoted = std::string("\"%\"") + block.separator + '"';
        for (char c : block.formFile) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        quoted += std::string("\"") + block.separator + block.separator;
        const auto header = vle::CsvHeaderOf(quoted);
        if (!header || header->formFile != block.formFile || header->separator != block.separator) __builtin_trap();
      }
      if (block.rowLines.size() != block.rows.size() || block.rowWidths.size() != block.rows.size()) __builtin_trap();
      for (size_t r = 0; r < block.rows.size(); ++r)
        if (block.rowWidths[r] > block.rows[r].size()) __builtin_trap();
      const int languages = block.Languages() < 0 ? 2 : block.Languages();
      for (const std::string& line : vle::BlockLines(block, languages, nullptr)) {
        // Every line given to a form file must be valid notation.
        if (!vle::notation::IsValid(line)) __builtin_trap();
        (void)vle::ResourceEscape(line, 1251);
      }
    }
  }

  ports::ScopedPorts scope(project.ports);
  platform::WriteFileAtomic(project.form, kForm);
  platform::WriteFileAtomic(project.csv, input);
  // The file, read a block at a time, gives the blocks of the text in memory.
  for (bool utf8 : {false, true}) {
    std::vector<vle::TCsvBlock> fromFile;
    vle::ForEachProjectCsvFileBlock(project.csv, utf8, [&](vle::TCsvBlock& b) { fromFile.push_back(std::move(b)); });
    const std::vector<vle::TCsvBlock> inMemory = vle::ReadProjectCsv(input, utf8);
    if (fromFile.size() != inMemory.size()) __builtin_trap();
    for (size_t i = 0; i < fromFile.size(); ++i)
      if (fromFile[i].formFile != inMemory[i].formFile || fromFile[i].separator != inMemory[i].separator ||
          fromFile[i].kind != inMemory[i].kind || fromFile[i].rows != inMemory[i].rows ||
          fromFile[i].rowLines != inMemory[i].rowLines || fromFile[i].rowWidths != inMemory[i].rowWidths)
        __builtin_trap();
  }
  vle::TFPrjList catalogue(std::string("fuzz"), {});
  auto entry = std::make_unique<vle::TEntry>();
  entry->InstanceCount = 1;
  entry->LanguageCount = 2;
  entry->FormClassName = "TMain";
  entry->FormFile = project.form;
  for (const char* l : {"%Form%", "Main", "Haupt"}) entry->Lines.Add(l);
  catalogue.AddRow(std::move(entry), true);
  try {
    vle::ImportProject(catalogue, project.csv, size > 0 && (data[0] & 1));
  } catch (const std::exception&) {
    // Failures of the form-file layer arrive as messages or exceptions; neither may crash.
  }
  project.sink.str({});
  return 0;
}
