#include "rc/LibrarySource.h"

namespace vorlect::rc {

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

std::string Shown(std::string_view text) {
  std::string out;
  for (char c : text.substr(0, 40)) out += (static_cast<unsigned char>(c) < 32 || c == 127) ? '?' : c;
  return out;
}

class Parser {
public:
  Parser(std::string_view src, std::string_view file) : src_(src), file_(file) {}

  LibrarySource Run() {
    LibrarySource out;
    Expect("library", out);
    out.name = Identifier(out);
    Punct(';', out);
    Expect("begin", out);
    Expect("end", out);
    Punct('.', out);
    // The compiler reads nothing after the final "end.".
    return out;
  }

private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw LibrarySourceError(std::string(file_) + "(" + std::to_string(line_) + "): " + message);
  }

  // Skips blanks and comments; `{$R file}` directives met on the way are collected.
  void Skip(LibrarySource& out) {
    while (pos_ < src_.size()) {
      const char c = src_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f') {
        ++pos_;
      } else if (src_.compare(pos_, 2, "//") == 0) {
        while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
      } else if (c == '{' || src_.compare(pos_, 2, "(*") == 0) {
        const bool brace = c == '{';
        const std::size_t end = src_.find(brace ? "}" : "*)", pos_);
        if (end == std::string_view::npos) Fail("comment not closed");
        const std::string_view body = src_.substr(pos_ + (brace ? 1 : 2), end - pos_ - (brace ? 1 : 2));
        if (brace && !body.empty() && body.front() == '$') Directive(body.substr(1), out);
        for (char b : body) line_ += b == '\n';
        pos_ = end + (brace ? 1 : 2);
      } else {
        return;
      }
    }
  }

  void Directive(std::string_view body, LibrarySource& out) {
    if (body.empty() || (body[0] != 'R' && body[0] != 'r')) Fail("unsupported compiler directive '{$" + Shown(body) + "}'");
    std::string_view arg = body.substr(1);
    if (arg == "+" || arg == "-") return;  // range checking switch
    if (arg.empty() || (arg.front() != ' ' && arg.front() != '\t')) Fail("unsupported compiler directive '{$" + Shown(body) + "}'");
    while (!arg.empty() && (arg.front() == ' ' || arg.front() == '\t')) arg.remove_prefix(1);
    while (!arg.empty() && (arg.back() == ' ' || arg.back() == '\t' || arg.back() == '\r')) arg.remove_suffix(1);
    if (arg.size() >= 2 && arg.front() == '\'' && arg.back() == '\'') arg = arg.substr(1, arg.size() - 2);
    if (arg.empty() || arg.find_first_of("\n'") != std::string_view::npos) Fail("resource file name expected in {$R}");
    out.resourceFiles.push_back({std::string(arg), line_});
  }

  std::string_view Word(LibrarySource& out, bool dotted = false) {
    Skip(out);
    const std::size_t start = pos_;
    if (pos_ < src_.size() && IsIdentStart(src_[pos_]))
      while (pos_ < src_.size() && (IsIdentChar(src_[pos_]) || (dotted && src_[pos_] == '.')) &&
             !(src_[pos_] == '.' && (pos_ + 1 >= src_.size() || !IsIdentStart(src_[pos_ + 1]))))
        ++pos_;
    return src_.substr(start, pos_ - start);
  }

  std::string Found() const {
    if (pos_ >= src_.size()) return "end of file";
    std::size_t n = 1;
    while (pos_ + n < src_.size() && IsIdentChar(src_[pos_ + n]) && IsIdentChar(src_[pos_])) ++n;
    return "'" + Shown(src_.substr(pos_, n)) + "'";
  }

  void Expect(std::string_view keyword, LibrarySource& out) {
    Skip(out);
    const std::size_t start = pos_;
    const std::string_view w = Word(out);
    if (Lower(w) != keyword) {
      pos_ = start;
      Fail("'" + std::string(keyword) + "' expected, found " + Found());
    }
  }

  std::string Identifier(LibrarySource& out) {
    const std::string_view w = Word(out, true);
    if (w.empty()) Fail("library name expected, found " + Found());
    return std::string(w);
  }

  void Punct(char p, LibrarySource& out) {
    Skip(out);
    if (pos_ >= src_.size() || src_[pos_] != p) Fail("'" + std::string(1, p) + "' expected, found " + Found());
    ++pos_;
  }

  std::string_view src_;
  std::string_view file_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

LibrarySource ParseLibrarySource(std::string_view text, std::string_view fileName) {
  return Parser(text, fileName).Run();
}

}  // namespace vorlect::rc
