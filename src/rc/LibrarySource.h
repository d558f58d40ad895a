// The minimal library source the DLL builder generates: `library F;`, `{$R F.res}` lines,
// `begin`, `end.`; keywords in any case, Pascal comments allowed.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::rc {

// What a library source names; what() of the error reads "F.dpr(LINE): message".
struct ResourceFileRef {
  std::string name;  // as written, quotes removed
  int line = 0;
};

struct LibrarySource {
  std::string name;
  std::vector<ResourceFileRef> resourceFiles;  // in order
};

class LibrarySourceError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Throws LibrarySourceError.
LibrarySource ParseLibrarySource(std::string_view text, std::string_view fileName);

}  // namespace vorlect::rc
