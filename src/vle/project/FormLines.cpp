#include "vle/project/FormLines.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vorlect::vle::formlines {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameNoCase(s.substr(0, prefix.size()), prefix);
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// "object Name: TClass [n]", "inherited ..." or "inline ...": fills name and class.
bool ParseHeader(std::string_view t, std::string& name, std::string& className) {
  // Most lines are properties or data: reject them on their first letter.
  if (t.empty() || ((t[0] | 0x20) != 'o' && (t[0] | 0x20) != 'i')) return false;
  std::string_view rest;
  for (std::string_view kw : {"object", "inherited", "inline"}) {
    if (StartsWithNoCase(t, kw) && t.size() > kw.size() && IsBlank(t[kw.size()])) {
      rest = Trim(t.substr(kw.size()));
      break;
    }
  }
  if (rest.empty()) return false;
  size_t colon = rest.find(':');
  std::string_view cls = rest;
  name.clear();
  if (colon != std::string_view::npos) {
    name = std::string(Trim(rest.substr(0, colon)));
    cls = Trim(rest.substr(colon + 1));
  }
  size_t stop = 0;
  while (stop < cls.size() && !IsBlank(cls[stop]) && cls[stop] != '[') ++stop;
  className = std::string(cls.substr(0, stop));
  return true;
}

// The value text of "Name = value" when the trimmed line is that property, else npos.
size_t PropertyValue(std::string_view t, std::string_view prop) {
  if (!StartsWithNoCase(t, prop)) return std::string_view::npos;
  size_t i = prop.size();
  while (i < t.size() && t[i] == ' ') ++i;
  if (i >= t.size() || t[i] != '=') return std::string_view::npos;
  ++i;
  while (i < t.size() && t[i] == ' ') ++i;
  return i;
}

// A whole decimal number of at least 0; -1 otherwise.
int ParseNumber(std::string_view v) {
  int n = 0;
  auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || ptr != v.data() + v.size() || n < 0) return -1;
  return n;
}

int ParseCount(std::string_view v) { return std::max(ParseNumber(v), 0); }

// Removes a trailing " +" from a trimmed line; true when there was one.
bool StripContinuation(std::string_view& t) {
  if (t.empty() || t.back() != '+') return false;
  t = Trim(t.substr(0, t.size() - 1));
  return true;
}

struct PropertyName {
  std::string_view name;
  VorlectProperty property;
};
constexpr PropertyName kValueProperties[] = {
    {"DefaultLanguage", VorlectProperty::DefaultLanguage}, {"DefaultEnabled", VorlectProperty::DefaultEnabled},
    {"Languages", VorlectProperty::Languages},             {"ActiveLanguage", VorlectProperty::ActiveLanguage},
    {"SwitchPositions", VorlectProperty::SwitchPositions}, {"TranslateEdits", VorlectProperty::TranslateEdits},
};
constexpr PropertyName kListProperties[] = {
    {"Words.Strings", VorlectProperty::Words},
    {"DoNot.Strings", VorlectProperty::DoNot},
    {"Positions.Strings", VorlectProperty::Positions},
    {"CharSets.Strings", VorlectProperty::CharSets},
};

StringListLines* ListOf(VorlectBlock& b, VorlectProperty p) {
  switch (p) {
    case VorlectProperty::Words: return &b.words;
    case VorlectProperty::DoNot: return &b.doNot;
    case VorlectProperty::Positions: return &b.positions;
    case VorlectProperty::CharSets: return &b.charSets;
    default: return nullptr;
  }
}

}  // namespace

const StringListLines* VorlectBlock::List(VorlectProperty p) const {
  return ListOf(const_cast<VorlectBlock&>(*this), p);
}

int VorlectBlock::LastLine(VorlectProperty p) const {
  const int first = Line(p);
  if (first < 0) return -1;
  const StringListLines* list = List(p);
  return list && list->last >= 0 ? list->last : first;
}

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string_view IndentOf(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return line.substr(0, i);
}

std::vector<TextLine> SplitLines(std::string_view text) {
  std::vector<TextLine> lines;
  lines.reserve(text.size() / 24 + 1);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t lf = text.find('\n', pos);
    TextLine line;
    line.begin = pos;
    if (lf == std::string_view::npos) {
      line.end = line.next = text.size();
    } else {
      line.end = (lf > pos && text[lf - 1] == '\r') ? lf - 1 : lf;
      line.next = lf + 1;
    }
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
}

std::string NotationOfPiece(std::string_view piece) {
  piece = Trim(piece);
  std::string out;
  out.reserve(piece.size() + 2);
  if (!piece.empty() && piece.front() == '\'') piece.remove_prefix(1);
  else out += '\'';
  if (!piece.empty() && piece.back() == '\'') {
    out.append(piece.substr(0, piece.size() - 1));
  } else {
    out.append(piece);
    out += '\'';
  }
  return out;
}

bool QuoteNotation(std::string_view notation, std::string& quoted) {
  std::string s;
  s.reserve(notation.size() + 2);
  s += '\'';
  s.append(notation);
  s += '\'';
  struct Token {
    size_t begin, end;
    bool emptyRun;
  };
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '\'') {
      size_t j = i + 1;
      for (;;) {
        if (j >= s.size() || s[j] == '\r' || s[j] == '\n') return false;
        if (s[j] == '\'') {
          if (j + 1 < s.size() && s[j + 1] == '\'') {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      tokens.push_back({i, j + 1, j == i + 1});
      i = j + 1;
    } else if (s[i] == '#') {
      size_t j = i + 1;
      bool hex = j < s.size() && s[j] == '$';
      if (hex) ++j;
      size_t digits = 0;
      std::uint32_t value = 0;
      while (j < s.size() && (hex ? std::isxdigit(static_cast<unsigned char>(s[j])) != 0
                                  : std::isdigit(static_cast<unsigned char>(s[j])) != 0)) {
        int d = std::isdigit(static_cast<unsigned char>(s[j])) ? s[j] - '0'
                                                               : std::tolower(static_cast<unsigned char>(s[j])) - 'a' + 10;
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
        if (++digits > 8 || value > 0x10FFFF) return false;
        ++j;
      }
      if (digits == 0) return false;
      tokens.push_back({i, j, false});
      i = j;
    } else {
      return false;
    }
  }
  quoted.clear();
  quoted.reserve(s.size());
  for (const Token& t : tokens)
    if (!t.emptyRun || tokens.size() == 1) quoted.append(s, t.begin, t.end - t.begin);
  return true;
}

FormScan ScanLines(std::string_view text, const std::vector<TextLine>& lines) {
  FormScan scan;
  if (lines.empty()) return scan;

  auto lineText = [&](int i) {
    const TextLine& l = lines[static_cast<size_t>(i)];
    return text.substr(l.begin, l.end - l.begin);
  };

  // The form's class: the first line without its keyword and name.
  std::string_view first = lineText(0);
  if (first.substr(0, 3) == "\xEF\xBB\xBF") first.remove_prefix(3);
  {
    std::string name;
    if (!ParseHeader(Trim(first), name, scan.className)) scan.className.clear();
  }

  enum class State { Searching, InComponent, InList } state = State::Searching;
  const int count = static_cast<int>(lines.size());
  std::string_view rootIndent;
  bool rootIndentKnown = false;
  bool inRootProperties = true;
  VorlectBlock* block = nullptr;
  StringListLines* list = nullptr;  // the list being read
  // An item being read: its first line and notation so far.
  int itemFirst = -1;
  std::string itemNotation;
  // Blank lines before an item belong to it: the IDE writes one before a text split over lines.
  int blankFirst = -1;
  // One quoted piece of an item at line i; the item is complete unless the piece continues.
  auto addPiece = [&](int i, std::string_view piece, bool continues) {
    if (itemFirst < 0) itemFirst = blankFirst >= 0 ? blankFirst : i;
    blankFirst = -1;
    if (!piece.empty()) itemNotation += NotationOfPiece(piece);
    if (!continues) {
      list->items.push_back({itemFirst, i, std::move(itemNotation)});
      itemFirst = -1;
      itemNotation.clear();
    }
  };
  auto closeList = [&](int i) {
    list->last = i;
    state = State::InComponent;
    blankFirst = -1;
  };

  auto noteLine = [&](VorlectProperty p, int i) {
    int& line = block->propertyLines[static_cast<int>(p)];
    if (line >= 0) block->repeated |= 1u << static_cast<int>(p);
    line = i;
  };
  // One property line of a translation component.
  auto readProperty = [&](int i, std::string_view raw, std::string_view t) {
    for (const PropertyName& p : kValueProperties) {
      const size_t v = PropertyValue(t, p.name);
      if (v == std::string_view::npos) continue;
      noteLine(p.property, i);
      if (p.property == VorlectProperty::Languages) block->languages = ParseCount(t.substr(v));
      if (p.property == VorlectProperty::ActiveLanguage) block->activeLanguage = ParseNumber(t.substr(v));
      return;
    }
    for (const PropertyName& p : kListProperties) {
      const size_t w = PropertyValue(t, p.name);
      if (w == std::string_view::npos) continue;
      noteLine(p.property, i);
      list = ListOf(*block, p.property);
      *list = {};
      list->first = i;
      std::string_view rest = t.substr(w);
      if (rest == "(") {
        state = State::InList;
        blankFirst = -1;
      } else if (rest == "()") {
        list->last = i;
        list->closeOffset = lines[static_cast<size_t>(i)].begin + static_cast<size_t>(&rest.back() - raw.data());
      } else {
        // Items on the same line: read them, but never rewrite such a list.
        list->unusualLayout = true;
        state = State::InList;
        blankFirst = -1;
        std::string_view inner = rest.substr(rest.empty() ? 0 : 1);
        bool continues = StripContinuation(inner);
        bool closes = !continues && !inner.empty() && inner.back() == ')';
        if (closes) inner = Trim(inner.substr(0, inner.size() - 1));
        if (!inner.empty()) addPiece(i, inner, continues);
        if (closes) closeList(i);
      }
      return;
    }
  };

  for (int i = 1; i < count; ++i) {
    std::string_view raw = lineText(i);
    std::string_view t = Trim(raw);
    if (t == "end") scan.rootEnd = i;

    if (state == State::InList) {
      if (t.empty()) {
        if (itemFirst < 0 && blankFirst < 0) blankFirst = i;
        continue;
      }
      bool closes = false;
      bool continues = StripContinuation(t);
      if (!continues && !t.empty() && t.back() == ')') {
        closes = true;
        list->closeOffset = lines[static_cast<size_t>(i)].begin + static_cast<size_t>(&t.back() - raw.data());
        t = Trim(t.substr(0, t.size() - 1));
      }
      if (!t.empty() || itemFirst >= 0) addPiece(i, t, continues);
      if (closes) closeList(i);
      continue;
    }

    std::string name, cls;
    const bool header = ParseHeader(t, name, cls);
    if (header) inRootProperties = false;

    if (state == State::InComponent) {
      if (t == "end") {
        block->end = i;
        state = State::Searching;
        continue;
      }
      if (!header) {
        readProperty(i, raw, t);
        continue;
      }
      // A component nested in a translation component: the block ends without its "end".
      state = State::Searching;
    }

    if (header) {
      if (Lower(cls).find("vorlect") != std::string::npos) {
        scan.blocks.push_back({});
        block = &scan.blocks.back();
        block->name = name;
        block->className = cls;
        block->header = i;
        state = State::InComponent;
      }
      continue;
    }

    // The form's own Caption: a property at the indentation of the first property.
    if (inRootProperties && !t.empty()) {
      std::string_view indent = IndentOf(raw);
      if (!rootIndentKnown) {
        rootIndent = indent;
        rootIndentKnown = true;
      }
      if (indent == rootIndent && !scan.hasCaption) {
        if (size_t v = PropertyValue(t, "Caption"); v != std::string_view::npos) {
          scan.hasCaption = true;
          std::string_view piece = t.substr(v);
          bool continues = StripContinuation(piece);
          scan.caption = NotationOfPiece(piece);
          while (continues && i + 1 < count) {
            ++i;
            std::string_view next = Trim(lineText(i));
            continues = StripContinuation(next);
            scan.caption += NotationOfPiece(next);
          }
        }
      }
    }
  }
  // A list the file ended in keeps the item it was reading.
  if (state == State::InList && itemFirst >= 0 && list)
    list->items.push_back({itemFirst, count - 1, std::move(itemNotation)});
  return scan;
}

}  // namespace vorlect::vle::formlines
