#include "platform/CodePages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include <iconv.h>

namespace vorlect::platform {
namespace {

constexpr int kUtf8 = 65001;
constexpr int kLatin1 = 28591;

const char* const kUtf16Native = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

bool IsSingleByte(int cp) { return cp == 874 || (cp >= 1250 && cp <= 1258); }
bool IsDoubleByte(int cp) { return cp == 932 || cp == 936 || cp == 949 || cp == 950; }

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
bool IsAscii(std::u16string_view s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
}

// iconv descriptors are not safe for concurrent use, so each one carries its own lock.
struct Converter {
  std::mutex lock;
  iconv_t cd = reinterpret_cast<iconv_t>(-1);
  ~Converter() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
  void reset() { iconv(cd, nullptr, nullptr, nullptr, nullptr); }
};

// One converter per code page and direction, created on first use and kept for the process.
Converter* GetConverter(int codePage, bool toUnicode) {
  static std::mutex mapLock;
  static std::map<std::pair<int, bool>, std::unique_ptr<Converter>> converters;
  std::lock_guard guard(mapLock);
  auto& slot = converters[{codePage, toUnicode}];
  if (!slot) {
    auto conv = std::make_unique<Converter>();
    const std::string name = "CP" + std::to_string(codePage);
    conv->cd = toUnicode ? iconv_open(kUtf16Native, name.c_str()) : iconv_open(name.c_str(), kUtf16Native);
    if (conv->cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    slot = std::move(conv);
  }
  return slot.get();
}

// Converts one complete piece of input from scratch (state reset and flushed); false on any error.
bool ConvertWhole(Converter& conv, const char* in, size_t inLen, std::string& out) {
  conv.reset();
  char buf[64];
  char* inPtr = const_cast<char*>(in);
  char* outPtr = buf;
  size_t outLeft = sizeof buf;
  if (iconv(conv.cd, &inPtr, &inLen, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
  if (iconv(conv.cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return false;
  out.assign(buf, outPtr);
  return true;
}

// Single-byte code pages are decoded through a table built byte by byte: this keeps glibc from
// composing CP1255/CP1258 base letters with following marks (Windows does not), and makes every
// byte string survive decode -> encode.
struct SingleByteTable {
  std::array<char16_t, 256> decode{};
  std::vector<std::pair<char16_t, unsigned char>> encode;  // sorted by character, for c >= 0x80
};

#include "SingleByteCodePages.inc"

const BuiltInSingleByte* FindBuiltIn(int codePage) {
  for (const auto& page : kBuiltInSingleByte)
    if (page.codePage == codePage) return &page;
  return nullptr;
}

std::unique_ptr<SingleByteTable> BuildTable(int codePage) {
  auto table = std::make_unique<SingleByteTable>();
  const BuiltInSingleByte* builtIn = FindBuiltIn(codePage);
  Converter* conv = codePage == kLatin1 || builtIn ? nullptr : GetConverter(codePage, true);
  for (int b = 0; b < 256; ++b) {
    char16_t ch = static_cast<char16_t>(b);
    if (builtIn && b >= 0x80) {
      ch = builtIn->high[b - 0x80];
    } else if (conv && b >= 0x80) {
      std::lock_guard guard(conv->lock);
      const char byte = static_cast<char>(b);
      std::string out;
      if (ConvertWhole(*conv, &byte, 1, out) && out.size() == 2) {
        char16_t decoded;
        std::memcpy(&decoded, out.data(), 2);
        ch = decoded;
      }
    }
    table->decode[b] = ch;
  }
  for (int b = 0x80; b < 256; ++b) table->encode.emplace_back(table->decode[b], static_cast<unsigned char>(b));
  // A byte left undefined maps to U+00xx; should that collide with a defined character, the
  // defined mapping wins (stable sort keeps the lower byte first, which is good enough).
  std::stable_sort(table->encode.begin(), table->encode.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return table;
}

const SingleByteTable& GetTable(int codePage) {
  static std::mutex lock;
  static std::map<int, std::unique_ptr<SingleByteTable>> tables;
  std::lock_guard guard(lock);
  auto& slot = tables[codePage];
  if (!slot) slot = BuildTable(codePage);
  return *slot;
}

std::u16string DecodeSingleByte(std::string_view bytes, int codePage) {
  const SingleByteTable& table = GetTable(codePage);
  std::u16string out(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = table.decode[static_cast<unsigned char>(bytes[i])];
  return out;
}

// Code point starting at text[i] and its length in code units (1 for a lone surrogate).
std::pair<char32_t, size_t> CodePointAt(std::u16string_view text, size_t i) {
  const char16_t c = text[i];
  if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
    return {0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00), 2};
  return {c, 1};
}

std::string EncodeSingleByte(std::u16string_view text, int codePage, bool& lossy) {
  const SingleByteTable& table = GetTable(codePage);
  Converter* fallback = nullptr;
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    auto it = std::lower_bound(table.encode.begin(), table.encode.end(), c,
                               [](const auto& e, char16_t v) { return e.first < v; });
    if (it != table.encode.end() && it->first == c) {
      out.push_back(static_cast<char>(it->second));
      ++i;
      continue;
    }
    // Not in the table: glibc can still decompose (CP1258, CP1255) a precomposed letter into
    // base letter + combining mark, as Windows does.
    const size_t len = CodePointAt(text, i).second;
    std::string piece;
    bool ok = false;
    if (codePage != kLatin1) {
      if (!fallback) fallback = GetConverter(codePage, false);
      if (fallback) {
        std::lock_guard guard(fallback->lock);
        ok = ConvertWhole(*fallback, reinterpret_cast<const char*>(text.data() + i), len * 2, piece) &&
             !piece.empty();
      }
    }
    if (ok) {
      out += piece;
    } else {
      out.push_back('?');
      lossy = true;
    }
    i += len;
  }
  return out;
}

std::u16string DecodeDoubleByte(std::string_view bytes, int codePage) {
  Converter* conv = GetConverter(codePage, true);
  if (!conv) return DecodeSingleByte(bytes, kLatin1);
  std::u16string out(bytes.size() + 8, u'\0');
  size_t outUsed = 0;
  std::lock_guard guard(conv->lock);
  conv->reset();
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  while (true) {
    char* outPtr = reinterpret_cast<char*>(out.data() + outUsed);
    size_t outLeft = (out.size() - outUsed) * 2;
    const size_t rc = inLeft ? iconv(conv->cd, &in, &inLeft, &outPtr, &outLeft)
                             : iconv(conv->cd, nullptr, nullptr, &outPtr, &outLeft);
    const int err = errno;
    outUsed = out.size() - outLeft / 2;
    if (rc != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (err == E2BIG) {
      out.resize(out.size() * 2 + 16);
    } else {
      // Undecodable (EILSEQ) or cut-off (EINVAL) byte: keep it as the code point of its value.
      if (outUsed == out.size()) out.resize(out.size() * 2 + 16);
      out[outUsed++] = static_cast<unsigned char>(*in);
      ++in;
      --inLeft;
      conv->reset();
    }
  }
  out.resize(outUsed);
  return out;
}

// Bytes of a double-byte code page that decode neither alone nor as the lead of any pair: the
// decoder turns them into U+00xx whatever follows, so the encoder may write them back unchanged.
std::array<bool, 256> FindStrayBytes(int codePage) {
  std::array<bool, 256> stray{};
  Converter* conv = GetConverter(codePage, true);
  if (!conv) return stray;
  std::lock_guard guard(conv->lock);
  std::string out;
  for (int b = 0x80; b < 256; ++b) {
    char pair[2] = {static_cast<char>(b), 0};
    if (ConvertWhole(*conv, pair, 1, out)) continue;
    bool lead = false;
    for (int t = 0; t < 256 && !lead; ++t) {
      pair[1] = static_cast<char>(t);
      lead = ConvertWhole(*conv, pair, 2, out) && out.size() == 2;
    }
    stray[b] = !lead;
  }
  return stray;
}

bool IsStrayByte(int codePage, unsigned char byte) {
  static std::mutex lock;
  static std::map<int, std::array<bool, 256>> tables;
  std::lock_guard guard(lock);
  auto it = tables.find(codePage);
  if (it == tables.end()) it = tables.emplace(codePage, FindStrayBytes(codePage)).first;
  return it->second[byte];
}

std::string EncodeDoubleByte(std::u16string_view text, int codePage, bool& lossy) {
  Converter* conv = GetConverter(codePage, false);
  if (!conv) return EncodeSingleByte(text, kLatin1, lossy);
  std::string out(text.size() * 2 + 8, '\0');
  size_t outUsed = 0;
  std::lock_guard guard(conv->lock);
  conv->reset();
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  size_t inLeft = text.size() * 2;
  while (true) {
    char* outPtr = out.data() + outUsed;
    size_t outLeft = out.size() - outUsed;
    const size_t rc = inLeft ? iconv(conv->cd, &in, &inLeft, &outPtr, &outLeft)
                             : iconv(conv->cd, nullptr, nullptr, &outPtr, &outLeft);
    const int err = errno;
    outUsed = out.size() - outLeft;
    if (rc != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (err == E2BIG) {
      out.resize(out.size() * 2 + 16);
      continue;
    }
    const size_t index = (text.size() * 2 - inLeft) / 2;
    const auto [cp, len] = CodePointAt(text, index);
    if (outUsed + 1 > out.size()) out.resize(out.size() * 2 + 16);
    if (cp >= 0x80 && cp <= 0xFF && (cp < 0xA0 || IsStrayByte(codePage, static_cast<unsigned char>(cp)))) {
      // Written back as the byte it was decoded from.
      out[outUsed++] = static_cast<char>(cp);
    } else {
      out[outUsed++] = '?';
      lossy = true;
    }
    in += len * 2;
    inLeft -= len * 2;
    conv->reset();
  }
  out.resize(outUsed);
  return out;
}

int ReadAnsiCodePage() {
  const char* env = std::getenv("VORLECT_ANSI_CODEPAGE");
  if (!env || !*env) return 1252;
  char* end = nullptr;
  const long value = std::strtol(env, &end, 10);
  if (*end != '\0' || value <= 0 || value > 65535 || !IsSupportedCodePage(static_cast<int>(value))) return 1252;
  return static_cast<int>(value);
}

}  // namespace

int AnsiCodePage() {
  static const int codePage = ReadAnsiCodePage();
  return codePage;
}

bool IsSupportedCodePage(int codePage) {
  return IsSingleByte(codePage) || IsDoubleByte(codePage) || codePage == kUtf8 || codePage == kLatin1;
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case 0: return 1252;
    case 238: return 1250;
    case 204: return 1251;
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 163: return 1258;
    case 222: return 874;
    case 128: return 932;
    case 134: return 936;
    case 129: return 949;
    case 136: return 950;
    default: return AnsiCodePage();
  }
}

std::u16string DecodeCodePage(std::string_view bytes, int codePage) {
  if (IsAscii(bytes)) return std::u16string(bytes.begin(), bytes.end());
  if (codePage == kUtf8) return Utf8ToUtf16(bytes);
  if (IsDoubleByte(codePage)) return DecodeDoubleByte(bytes, codePage);
  return DecodeSingleByte(bytes, IsSingleByte(codePage) ? codePage : kLatin1);
}

std::string EncodeCodePage(std::u16string_view text, int codePage, bool* lossy) {
  bool lost = false;
  std::string out;
  if (IsAscii(text))
    out.assign(text.begin(), text.end());
  else if (codePage == kUtf8)
    out = Utf16ToUtf8(text);
  else if (IsDoubleByte(codePage))
    out = EncodeDoubleByte(text, codePage, lost);
  else
    out = EncodeSingleByte(text, IsSingleByte(codePage) ? codePage : kLatin1, lost);
  if (lossy) *lossy = lost;
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const size_t n = utf8.size();
  auto cont = [&](size_t i) { return i < n && (s[i] & 0xC0) == 0x80; };
  for (size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    char32_t cp = 0;
    size_t len = 0;
    if (b < 0x80) {
      cp = b;
      len = 1;
    } else if (b >= 0xC2 && b <= 0xDF && cont(i + 1)) {
      cp = ((b & 0x1F) << 6) | (s[i + 1] & 0x3F);
      len = 2;
    } else if (b >= 0xE0 && b <= 0xEF && cont(i + 1) && cont(i + 2)) {
      cp = ((b & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
      // Surrogates are accepted (generalised UTF-8) so lone ones we wrote come back.
      if (cp >= 0x800) len = 3;
    } else if (b >= 0xF0 && b <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
      cp = ((b & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
      if (cp >= 0x10000 && cp <= 0x10FFFF) len = 4;
    }
    if (len == 0) {
      out.push_back(b);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() + utf16.size() / 2);
  for (size_t i = 0; i < utf16.size();) {
    const auto [cp, len] = CodePointAt(utf16, i);
    i += len;
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::size_t FirstInvalidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    char32_t min = 0, c = 0;
    if ((b & 0xE0) == 0xC0) length = 2, min = 0x80, c = b & 0x1F;
    else if ((b & 0xF0) == 0xE0) length = 3, min = 0x800, c = b & 0x0F;
    else if ((b & 0xF8) == 0xF0) length = 4, min = 0x10000, c = b & 0x07;
    else return i;
    if (i + length > bytes.size()) return i;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return i;
      c = c << 6 | (next & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return i;
    i += length;
  }
  return std::string_view::npos;
}

}  // namespace vorlect::platform
