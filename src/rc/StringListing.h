// The numbered strings of a string module as text, one "id<TAB>text" line each.
#pragma once

#include <string>
#include <string_view>

namespace vorlect::rc {

// Every non-empty string of the PE image's string tables in id order, in UTF-8. Backslashes and
// control characters are escaped (\\, \r, \n, \t, else \xHH) so each string stays on its line.
// Where a block exists in several languages, the one a string module reads serves (neutral, user
// default, system default, else the lowest). Throws platform::ResourceError naming `name`.
std::string ListModuleStrings(std::string_view image, std::string_view name);

}  // namespace vorlect::rc
