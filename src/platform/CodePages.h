// Windows ANSI code pages and UTF conversions.
//
// Texts in the core are byte strings in a Windows code page; this is the one place that turns
// them into Unicode and back. Conversions never lose a byte: a byte the code page leaves undefined
// maps to the code point of the same value (as Windows passes it through), and back.
#pragma once

#include <string>
#include <string_view>

namespace vorlect::platform {

// The configured ANSI code page for keys, form-level texts and DEFAULT_CHARSET languages:
// the environment variable VORLECT_ANSI_CODEPAGE when set to a supported code page, else 1252.
int AnsiCodePage();

// True for 1250..1258, 874, 932, 936, 949, 950, 65001 (UTF-8) and 28591 (Latin-1).
bool IsSupportedCodePage(int codePage);

// Code page of a font character set: 0->1252, 238->1250, 204->1251, 161->1253, 162->1254,
// 177->1255, 178->1256, 186->1257, 163->1258, 222->874, 128->932, 134->936, 129->949, 136->950;
// 1 (DEFAULT_CHARSET) and any other value -> AnsiCodePage().
int CodePageOfCharset(int charset);

// Bytes in `codePage` to UTF-16. Never fails (see above); an unsupported code page is treated as
// Latin-1.
std::u16string DecodeCodePage(std::string_view bytes, int codePage);

// UTF-16 to bytes in `codePage`. A character the code page lacks becomes '?' and sets *lossy.
std::string EncodeCodePage(std::u16string_view text, int codePage, bool* lossy = nullptr);

// UTF-8 <-> UTF-16. Decoding maps each invalid UTF-8 byte to the code point of its value;
// encoding writes lone surrogates in the generalised form (3 bytes), so nothing is dropped.
std::u16string Utf8ToUtf16(std::string_view utf8);
// The offset of the first byte that does not start a well-formed UTF-8 sequence (overlong forms,
// surrogates and code points beyond U+10FFFF included); npos when all of `bytes` is UTF-8.
std::size_t FirstInvalidUtf8(std::string_view bytes);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace vorlect::platform
