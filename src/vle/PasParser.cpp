#include "vle/PasParser.h"

#include "platform/Files.h"

#include <optional>
#include <vector>

namespace vorlect::vle {
namespace {

bool IsIdentChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string UpperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Upper(c);
  return r;
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// A word of code: an identifier, or one other character. Comments and string literals never
// produce tokens, so a "uses" or a class name inside them is not taken.
struct Token {
  size_t begin = 0;
  size_t end = 0;
  bool ident = false;
  std::string upper;  // identifiers
  char ch = 0;        // other characters
  bool Is(char c) const { return !ident && ch == c; }
};

class Lexer {
public:
  explicit Lexer(std::string_view s) : s_(s) {}

  std::optional<Token> Next() {
    const size_t n = s_.size();
    while (pos_ < n) {
      const char c = s_[pos_];
      if (c == '{') {
        const size_t close = s_.find('}', pos_ + 1);
        pos_ = close == std::string_view::npos ? n : close + 1;
      } else if (c == '(' && At(pos_ + 1) == '*') {
        // "(*)" opens a comment and does not close it: the search starts after the "*".
        const size_t close = s_.find("*)", pos_ + 2);
        pos_ = close == std::string_view::npos ? n : close + 2;
      } else if (c == '/' && At(pos_ + 1) == '/') {
        while (pos_ < n && !IsLineEnd(s_[pos_])) ++pos_;
      } else if (c == '\'') {
        // A literal cannot span lines; a doubled apostrophe reads as close and reopen.
        ++pos_;
        while (pos_ < n && s_[pos_] != '\'' && !IsLineEnd(s_[pos_])) ++pos_;
        if (pos_ < n && s_[pos_] == '\'') ++pos_;
      } else if (IsIdentChar(c)) {
        Token t;
        t.begin = pos_;
        while (pos_ < n && IsIdentChar(s_[pos_])) ++pos_;
        t.end = pos_;
        t.ident = true;
        t.upper = UpperAscii(s_.substr(t.begin, t.end - t.begin));
        return t;
      } else if (static_cast<unsigned char>(c) <= ' ') {
        ++pos_;  // blanks and line ends end a word and are no word themselves
      } else {
        Token t;
        t.begin = pos_;
        t.end = ++pos_;
        t.ch = c;
        return t;
      }
    }
    return std::nullopt;
  }

private:
  char At(size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

  std::string_view s_;
  size_t pos_ = 0;
};

bool OpensCommentOrString(std::string_view s, size_t i) {
  const char c = s[i];
  const char d = i + 1 < s.size() ? s[i + 1] : '\0';
  return c == '{' || c == '\'' || (c == '(' && d == '*') || (c == '/' && d == '/');
}

// Where an insertion goes for a word ending at `end`: after the character that ends the word
// (so "uses Forms" becomes "uses " + break + units + "Forms"), but before a line end, and before
// a comment or literal so the inserted text never lands inside one.
size_t InsertionPoint(std::string_view s, size_t end) {
  if (end >= s.size() || IsLineEnd(s[end]) || OpensCommentOrString(s, end)) return end;
  return end + 1;
}

bool AtLineEnd(std::string_view s, size_t pos) { return pos >= s.size() || IsLineEnd(s[pos]); }

// The line end to use for an inserted line: the one of the line the insertion is on, else the
// file's first, else CRLF.
std::string_view LineEndFor(std::string_view s, size_t pos) {
  auto at = [&](size_t i) -> std::string_view {
    if (s[i] == '\r') return (i + 1 < s.size() && s[i + 1] == '\n') ? "\r\n" : "\r";
    return "\n";
  };
  for (size_t i = pos; i < s.size(); ++i)
    if (IsLineEnd(s[i])) return at(i);
  for (size_t i = 0; i < s.size(); ++i)
    if (IsLineEnd(s[i])) return at(i);
  return "\r\n";
}

std::vector<std::string> SplitUnits(std::string_view list) {
  std::vector<std::string> units;
  while (true) {
    const size_t comma = list.find(',');
    const std::string_view name = Trim(list.substr(0, comma));
    if (!name.empty()) units.emplace_back(name);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return units;
}

struct Insertion {
  size_t pos = 0;
  std::string text;
};

Insertion MakeInsertion(std::string_view s, size_t wordEnd, std::string_view indent,
                        std::string_view body) {
  Insertion ins;
  ins.pos = InsertionPoint(s, wordEnd);
  ins.text.append(LineEndFor(s, ins.pos)).append(indent).append(body);
  // Nothing of ours may leave a trailing blank.
  if (AtLineEnd(s, ins.pos))
    while (!ins.text.empty() && ins.text.back() == ' ') ins.text.pop_back();
  return ins;
}

std::string FieldName(std::string_view decl) {
  return UpperAscii(Trim(decl.substr(0, decl.find_first_of(":,"))));
}

// Whether the class body (up to its first "end") already declares `field`, so a second run or a
// unit that kept a stale field does not get a duplicate identifier. Only declarations at the top
// level of the body count, not parameters of methods.
bool ClassDeclares(Lexer& lex, const std::string& field) {
  if (field.empty()) return false;
  int depth = 0;
  bool declStart = true;
  bool candidate = false;
  for (std::optional<Token> t = lex.Next(); t; t = lex.Next()) {
    if (t->ident && t->upper == "END" && depth == 0) return false;
    if (candidate && (t->Is(':') || t->Is(','))) return true;
    candidate = depth == 0 && declStart && t->ident && t->upper == field;
    if (t->Is('(') || t->Is('[')) ++depth;
    if ((t->Is(')') || t->Is(']')) && depth > 0) --depth;
    declStart = t->Is(';') || t->Is(',') ||
                (t->ident && (t->upper == "PUBLISHED" || t->upper == "PRIVATE" ||
                              t->upper == "PROTECTED" || t->upper == "PUBLIC"));
  }
  return false;
}

}  // namespace

TEditPascalText EditPascalText(std::string_view unit, const TEditPascalFile& edit) {
  const std::vector<std::string> wanted = SplitUnits(edit.UsesUnits);
  const std::string formClass = UpperAscii(Trim(edit.FormClass));
  const std::string_view fieldDecl = Trim(edit.FieldDecl);

  bool usesPending = !wanted.empty();
  bool fieldPending = !formClass.empty() && !fieldDecl.empty();
  bool classSeen = false;
  std::vector<Insertion> insertions;

  Lexer lex(unit);
  bool afterEnd = false;
  while (usesPending || fieldPending) {
    std::optional<Token> t = lex.Next();
    if (!t) break;
    // The compiler reads nothing after the final "end.".
    if (afterEnd && t->Is('.')) break;
    afterEnd = t->ident && t->upper == "END";

    if (usesPending && t->ident && t->upper == "USES") {
      usesPending = false;
      const size_t wordEnd = t->end;
      // The units the clause already names (dotted names joined), up to its ";".
      std::vector<std::string> present;
      bool dot = false;
      for (std::optional<Token> u = lex.Next(); u && !u->Is(';'); u = lex.Next()) {
        if (u->ident) {
          if (dot && !present.empty())
            present.back().append(".").append(u->upper);
          else
            present.push_back(u->upper);
        }
        dot = u->Is('.');
      }
      std::string missing;
      for (const std::string& w : wanted) {
        bool found = false;
        for (const std::string& p : present) found = found || p == UpperAscii(w);
        if (!found) missing.append(w).append(", ");
      }
      if (!missing.empty()) insertions.push_back(MakeInsertion(unit, wordEnd, "  ", missing));
      continue;
    }
    if (fieldPending) {
      if (!classSeen) {
        classSeen = t->ident && t->upper == formClass;
      } else if (t->Is(')')) {
        fieldPending = false;
        if (!ClassDeclares(lex, FieldName(fieldDecl)))
          insertions.push_back(MakeInsertion(unit, t->end, "    ", fieldDecl));
      }
    }
  }

  TEditPascalText result;
  if (usesPending || fieldPending) {
    result.Status = usesPending ? TEditPascalStatus::NoUsesClause : TEditPascalStatus::NoFormClass;
    result.Text = std::string(unit);
    return result;
  }
  if (insertions.empty()) {
    result.Status = TEditPascalStatus::Unchanged;
    result.Text = std::string(unit);
    return result;
  }
  // Both places may share a line; keep them in file order and the uses text first.
  if (insertions.size() == 2 && insertions[1].pos < insertions[0].pos)
    std::swap(insertions[0], insertions[1]);
  size_t extra = 0;
  for (const Insertion& i : insertions) extra += i.text.size();
  result.Text.reserve(unit.size() + extra);
  size_t from = 0;
  for (const Insertion& i : insertions) {
    result.Text.append(unit.substr(from, i.pos - from)).append(i.text);
    from = i.pos;
  }
  result.Text.append(unit.substr(from));
  result.Status = TEditPascalStatus::Edited;
  return result;
}

TEditPascalResult EditPascalFile(const TEditPascalFile& edit) {
  TEditPascalResult result;
  result.FileName = edit.FileName;
  try {
    const std::string unit = platform::ReadFile(edit.FileName);
    TEditPascalText edited = EditPascalText(unit, edit);
    result.Status = edited.Status;
    if (edited.Status == TEditPascalStatus::NoUsesClause)
      result.Detail = std::string(Trim(edit.UsesUnits));
    else if (edited.Status == TEditPascalStatus::NoFormClass)
      result.Detail = std::string(Trim(edit.FormClass));
    else if (edited.Status == TEditPascalStatus::Edited)
      platform::WriteFileAtomic(edit.FileName, edited.Text);
  } catch (const platform::FileError& e) {
    result.Status = TEditPascalStatus::IOError;
    result.Detail = e.what();
  }
  return result;
}

std::string EditPascalMessage(const TEditPascalResult& r) {
  const std::string& f = r.FileName;
  switch (r.Status) {
    case TEditPascalStatus::Edited:
      return "Unit " + f + " was updated.";
    case TEditPascalStatus::Unchanged:
      return "Unit " + f + " already holds the declarations and was not changed.";
    case TEditPascalStatus::NoUsesClause:
      return "Unit " + f + "\rhas no uses clause and was left unchanged.\rAdd " + r.Detail +
             " to it by hand.";
    case TEditPascalStatus::NoFormClass:
      return "Unit " + f + "\rdoes not declare the form class " + r.Detail +
             " and was left unchanged.\rDeclare the component in it by hand.";
    case TEditPascalStatus::IOError:
      return "Unit " + f + "\rcould not be edited: " + r.Detail;
  }
  return {};
}

}  // namespace vorlect::vle
