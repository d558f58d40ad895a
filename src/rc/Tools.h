// The two compiler programs, callable in-process. Each writes its output file atomically or not
// at all, and reports failures as one line on `out` (the builder captures standard output).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vorlect::rc {

// vlrc [--codepage N] [--language LANGID] F.rc  ->  F.res; returns the exit status.
int RunResourceCompiler(const std::vector<std::string>& args, std::ostream& out);

// vldcc F.dpr  ->  F.dll (resource-only PE32) from the .res files it names; returns the exit status.
int RunLibraryCompiler(const std::vector<std::string>& args, std::ostream& out);

}  // namespace vorlect::rc
