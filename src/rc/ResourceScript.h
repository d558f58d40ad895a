// Resource scripts holding string tables, compiled to the resources of a `.res` file.
//
// The accepted language is the part of the Windows resource-script language that string tables
// need: STRINGTABLE blocks (memory-flag words, LANGUAGE, VERSION and CHARACTERISTICS before the
// body), LANGUAGE statements, `#pragma code_page(N)`, `//` and `/* */` comments. Strings and their
// escapes follow the GNU resource compiler, so the same script gives the same bytes.
#pragma once

#include "platform/pe/Resources.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::rc {

// A script that cannot be compiled; what() reads "F.rc(LINE): message".
class ScriptError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct ScriptOptions {
  std::string fileName = "<script>";  // for messages
  int codePage = 1252;                // of the script's bytes until a code_page pragma
  std::uint16_t language = 0x0409;    // until a LANGUAGE statement
};

// The RT_STRING resources of the script, ordered as in a resource directory (block, then
// language). Throws ScriptError.
std::vector<platform::Resource> CompileResourceScript(std::string_view script, const ScriptOptions& options);

}  // namespace vorlect::rc
