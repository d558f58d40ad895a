// Windows ANSI code page of a resource language.
#pragma once

#include <cstdint>

namespace vorlect::platform {

// The ANSI code page Windows uses for a language id (primary language in the low 10 bits, sub
// language above): 0x0419 -> 1251, 0x0411 -> 932, 0x0409 -> 1252 ... Serbian and Bosnian depend on
// the script (Latin 1250, Cyrillic 1251), Chinese on the region (936 for PRC and Singapore, 950
// elsewhere). 0 for neutral (primary language 0, which includes the user and system default forms
// 0x0400 and 0x0800), for languages Windows gives no ANSI code page (Unicode-only ones such as
// Hindi or Georgian) and for unknown ids: callers then use the configured ANSI code page.
int AnsiCodePageOfLangId(std::uint16_t langId);

}  // namespace vorlect::platform
