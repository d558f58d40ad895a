#include "vle/project/Notation.h"

#include "platform/CodePages.h"

#include <cstdint>

namespace vorlect::vle::notation {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One piece of a line: raw bytes of a quoted run, or a character code.
struct Piece {
  bool code = false;
  std::string_view raw;
  std::uint32_t value = 0;
};

// Walks the pieces of a line. The line starts inside a quoted run (its outer apostrophe is not
// part of it); a doubled apostrophe inside a run is one apostrophe.
template <class Fn>
bool Walk(std::string_view s, Fn&& fn) {
  bool valid = true;
  bool inRun = true;
  size_t i = 0;
  while (i < s.size()) {
    if (inRun) {
      size_t e = s.find('\'', i);
      if (e == std::string_view::npos) e = s.size();
      if (e > i) fn(Piece{false, s.substr(i, e - i), 0});
      if (e >= s.size()) {
        i = e;
        break;
      }
      if (e + 1 < s.size() && s[e + 1] == '\'') {
        fn(Piece{false, s.substr(e, 1), 0});
        i = e + 2;
        continue;
      }
      inRun = false;
      i = e + 1;
      continue;
    }
    const char c = s[i];
    if (c == '\'') {
      inRun = true;
      ++i;
      continue;
    }
    if (c == '#') {
      size_t j = i + 1;
      std::uint32_t value = 0;
      size_t digits = 0;
      bool overflow = false;
      if (j < s.size() && s[j] == '$') {
        ++j;
        while (j < s.size() && HexValue(s[j]) >= 0) {
          value = value * 16 + HexValue(s[j++]);
          if (++digits > 8 || value > 0x10FFFF) overflow = true;
        }
      } else {
        while (j < s.size() && IsDigit(s[j])) {
          value = value * 10 + (s[j++] - '0');
          if (++digits > 8 || value > 0x10FFFF) overflow = true;
        }
      }
      if (digits > 0 && !overflow) {
        fn(Piece{true, {}, value});
        i = j;
        continue;
      }
    }
    // Anything else outside a run cannot stand in a form file; keep it as text.
    valid = false;
    fn(Piece{false, s.substr(i, 1), 0});
    ++i;
  }
  // The closing outer apostrophe follows the line, so it must end inside a run.
  return valid && inRun;
}

void AppendCodePoint(std::u16string& out, std::uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

void AppendCode(std::string& out, bool& inRun, std::uint32_t value) {
  if (inRun) {
    out += '\'';
    inRun = false;
  }
  out += '#';
  out += std::to_string(value);
}

void AppendRunChar(std::string& out, bool& inRun, char c) {
  if (!inRun) {
    out += '\'';
    inRun = true;
  }
  if (c == '\'') out += '\'';
  out += c;
}

void Finish(std::string& out, bool inRun) {
  if (!inRun) out += '\'';
}

}  // namespace

TDecoded Decode(std::string_view line) {
  TDecoded d;
  Walk(line, [&](const Piece& p) {
    if (p.code && p.value >= 128) d.unicode = true;
  });
  d.valid = Walk(line, [&](const Piece& p) {
    if (d.unicode) {
      if (p.code)
        AppendCodePoint(d.units, p.value);
      else
        for (unsigned char ch : p.raw) d.units += static_cast<char16_t>(ch);
    } else {
      if (p.code)
        d.bytes += static_cast<char>(p.value);
      else
        d.bytes += p.raw;
    }
  });
  return d;
}

bool IsValid(std::string_view line) {
  return Walk(line, [](const Piece&) {});
}

std::u16string ToUtf16(std::string_view line, int codePage) {
  TDecoded d = Decode(line);
  return d.unicode ? std::move(d.units) : platform::DecodeCodePage(d.bytes, codePage);
}

std::string ToBytes(std::string_view line, int codePage) {
  TDecoded d = Decode(line);
  return d.unicode ? platform::EncodeCodePage(d.units, codePage) : std::move(d.bytes);
}

std::string OfBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 2);
  bool inRun = true;
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32)
      AppendCode(out, inRun, u);
    else
      AppendRunChar(out, inRun, c);
  }
  Finish(out, inRun);
  return out;
}

std::string OfUtf16(std::u16string_view text, int codePage, bool unicodeStyle) {
  if (!unicodeStyle) {
    bool lossy = false;
    std::string bytes = platform::EncodeCodePage(text, codePage, &lossy);
    if (!lossy && platform::DecodeCodePage(bytes, codePage) == text) return OfBytes(bytes);
  }
  std::string out;
  out.reserve(text.size() + 2);
  bool inRun = true;
  // One code per UTF-16 unit, a surrogate pair as two, as the form-file writer codes them.
  for (const char16_t unit : text) {
    if (unit >= 32 && unit <= 127)
      AppendRunChar(out, inRun, static_cast<char>(unit));
    else
      AppendCode(out, inRun, unit);
  }
  Finish(out, inRun);
  return out;
}

}  // namespace vorlect::vle::notation
