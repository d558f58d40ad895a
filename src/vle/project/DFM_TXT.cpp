#include "vle/project/DFM_TXT.h"

#include "host/formfile/FormFile.h"
#include "host/formfile/FormMend.h"
#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "vle/PasParser.h"
#include "vle/VLSettings.h"
#include "vle/project/FormLines.h"
#include "vle/project/Notation.h"
#include "vle/project/ProjectForms.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <span>
#include <stdexcept>

namespace vorlect::vle {

namespace {

using namespace formlines;
using ports::MsgDlgType;

constexpr int kDefaultLanguages = 2;  // the component's stored default

struct Problem {
  std::string text;
  MsgDlgType type = ports::mtError;
  ports::ButtonSet buttons{ports::mbAbort};
};

Problem ErrorIgnore(std::string text) { return {std::move(text), ports::mtError, {ports::mbIgnore}}; }
Problem WriteProblem() { return ErrorIgnore("Internal error writing the DFM file."); }

void Show(const Problem& p) { ports::MessageDlg(p.text, p.type, p.buttons); }

// A form file and its text notation: the file's own text, or the text converted from binary.
struct FormDocument {
  std::string path;
  std::string original;  // the file's bytes
  formfile::FileFormat format = formfile::FileFormat::Unknown;
  formfile::BinaryInfo binary;
  formfile::ObjectSpan layout;  // of a binary file, so that a rewrite changes only what it changes
  std::string text;
  std::string eol = "\r\n";
  std::vector<TextLine> lines;
  FormScan scan;

  std::string_view Line(int i) const {
    const TextLine& l = lines.at(static_cast<size_t>(i));
    return std::string_view(text).substr(l.begin, l.end - l.begin);
  }
  std::string_view LineEnd(int i) const {
    const TextLine& l = lines.at(static_cast<size_t>(i));
    return std::string_view(text).substr(l.end, l.next - l.end);
  }
};

std::optional<Problem> LoadDocument(const std::string& path, FormDocument& doc) {
  const Problem unreadable{"File " + path + "\rcould not be read, is it damaged?"};
  doc.path = path;
  try {
    doc.original = formfile::ReadFormFile(path);
  } catch (const std::exception&) {
    return unreadable;
  }
  doc.format = formfile::DetectFormat(doc.original);
  if (doc.format == formfile::FileFormat::Text) {
    // Parsed only when it is written back (StoreDocument): an unchanged table costs no parse.
    doc.text = doc.original;
    const size_t lf = doc.text.find('\n');
    doc.eol = (lf != std::string::npos && (lf == 0 || doc.text[lf - 1] != '\r')) ? "\n" : "\r\n";
  } else if (doc.format == formfile::FileFormat::Binary || doc.format == formfile::FileFormat::BinaryWithHeader) {
    try {
      formfile::Object root = formfile::ReadBinary(doc.original, path, &doc.binary, &doc.layout);
      formfile::TextOptions options;
      options.codePage = platform::AnsiCodePage();
      // Values the notation cannot carry stay in the file: the rewrite mends the binary.
      options.placeholders = true;
      doc.text = formfile::WriteText(root, options);
    } catch (const std::exception&) {
      return unreadable;
    }
  } else {
    return unreadable;
  }
  doc.lines = SplitLines(doc.text);
  doc.scan = ScanLines(doc.text, doc.lines);
  return std::nullopt;
}

// The bytes of the form file for the edited text, in the file's own format. A binary file keeps
// the bytes of everything the edit left alone (MendBinary).
std::optional<Problem> PrepareBytes(const FormDocument& doc, const std::string& text, std::string& bytes) {
  try {
    formfile::Object root = formfile::ReadText(text, doc.path);
    if (doc.format == formfile::FileFormat::Text) {
      bytes = text;
    } else {
      const formfile::Object before = formfile::ReadText(doc.text, doc.path);
      bytes = formfile::MendBinary(doc.original, doc.binary, doc.layout, before, root, doc.path);
    }
  } catch (const std::exception& e) {
    // A text form that was broken before our edit cannot be opened; anything else is ours.
    if (doc.format == formfile::FileFormat::Text) {
      try {
        formfile::ReadText(doc.original, doc.path);
      } catch (const std::exception&) {
        return Problem{"File " + doc.path + "\rcould not be opened."};
      }
    }
    // The edited form and the reason its conversion failed.
    Problem p = WriteProblem();
    const std::string what = e.what();
    p.text += "\r" + (what.find(doc.path) == std::string::npos ? doc.path + ": " : std::string()) + what;
    return p;
  }
  return std::nullopt;
}

std::optional<Problem> WriteBytes(const std::string& path, const std::string& bytes) {
  try {
    platform::WriteFileAtomic(path, bytes);
  } catch (const std::exception& e) {
    // The cause (a read-only file, a full disk) with the file it concerns.
    Problem p = WriteProblem();
    p.text += "\r";
    p.text += e.what();
    return p;
  }
  return std::nullopt;
}

// Replaces the form file with the edited text; an unchanged result is not written at all.
std::optional<Problem> StoreDocument(const FormDocument& doc, const std::string& text, bool* written = nullptr) {
  std::string bytes;
  if (auto p = PrepareBytes(doc, text, bytes)) return p;
  if (bytes == doc.original) return std::nullopt;
  if (auto p = WriteBytes(doc.path, bytes)) return p;
  if (written) *written = true;
  return std::nullopt;
}

// Edits of the text as replacements of byte ranges, applied in one pass.
class Splicer {
public:
  explicit Splicer(const std::string& text) : text_(text) {}
  void Replace(size_t from, size_t to, std::string with) { edits_.push_back({from, to, std::move(with)}); }
  void Insert(size_t at, std::string with) { Replace(at, at, std::move(with)); }
  bool Empty() const { return edits_.empty(); }
  size_t Count() const { return edits_.size(); }
  std::string Apply() {
    // An insertion goes before a replacement that starts where it is; insertions at one place stay
    // in the order they were made.
    std::stable_sort(edits_.begin(), edits_.end(),
                     [](const Edit& a, const Edit& b) { return a.from != b.from ? a.from < b.from : a.to < b.to; });
    std::string out;
    out.reserve(text_.size() + 256);
    size_t cursor = 0;
    for (const Edit& e : edits_) {
      if (e.from < cursor) throw std::logic_error("overlapping form-file edits");
      out.append(text_, cursor, e.from - cursor);
      out += e.with;
      cursor = e.to;
    }
    out.append(text_, cursor, std::string::npos);
    return out;
  }

private:
  struct Edit {
    size_t from, to;
    std::string with;
  };
  const std::string& text_;
  std::vector<Edit> edits_;
};

std::string PropertyIndent(const FormDocument& doc, const VorlectBlock& b) {
  for (int line : b.propertyLines)
    if (line >= 0) return std::string(IndentOf(doc.Line(line)));
  if (b.header + 1 < static_cast<int>(doc.lines.size()) && b.header + 1 != b.end)
    return std::string(IndentOf(doc.Line(b.header + 1)));
  return std::string(IndentOf(doc.Line(b.header))) + "  ";
}

std::string Quoted(std::string_view notation) {
  std::string q;
  QuoteNotation(notation, q);  // validated by the caller
  return q;
}

// The string style the file was written in: raw 8-bit characters inside its texts, or codes for
// every character above 127 (a file written by a Unicode IDE). 8-bit when nothing tells.
formfile::StringStyle StringStyleOf(const FormDocument& doc) {
  bool highCode = false;
  for (size_t i = 0; i < doc.text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(doc.text[i]);
    if (c >= 0x80) return formfile::StringStyle::Ansi8Bit;
    if (c == '#' && !highCode) {
      unsigned v = 0;
      size_t j = i + 1;
      while (j < doc.text.size() && j < i + 7 && doc.text[j] >= '0' && doc.text[j] <= '9')
        v = v * 10 + static_cast<unsigned>(doc.text[j++] - '0');
      highCode = j > i + 1 && v >= 128;
    }
  }
  return highCode ? formfile::StringStyle::Unicode : formfile::StringStyle::Ansi8Bit;
}

// One table item as the IDE writes it, indented as the file's items are: apostrophes and control
// characters as codes, a long text split into pieces of 64 characters on lines of their own.
// Written so, a changed table reads as if the IDE had saved it.
std::string CanonicalItem(std::string_view notation, const std::string& itemIndent, const std::string& eol,
                          formfile::StringStyle style) {
  const std::string quoted = Quoted(notation);
  std::string lines;
  try {
    const formfile::Object item = formfile::ReadText("object A: T\n  P = (\n    " + quoted + ")\nend\n");
    formfile::TextOptions options;
    options.style = style;
    options.lineEnd = formfile::LineEnd::LF;
    options.codePage = platform::AnsiCodePage();
    const std::string text = formfile::WriteText(item, options);
    constexpr std::string_view kOpen = "P = (\n";
    const size_t open = text.find(kOpen);
    const size_t close = text.rfind(")\nend");
    if (open == std::string::npos || close == std::string::npos || close < open + kOpen.size()) return itemIndent + quoted;
    const size_t from = open + kOpen.size();
    std::string_view body = std::string_view(text).substr(from, close - from);
    bool first = true;
    while (!body.empty()) {
      const size_t nl = body.find('\n');
      std::string_view line = body.substr(0, nl);
      body = nl == std::string_view::npos ? std::string_view{} : body.substr(nl + 1);
      line.remove_prefix(std::min<size_t>(4, line.size()));  // the items' own indentation
      if (!first) lines += eol;
      lines += itemIndent;
      lines += line;
      first = false;
    }
    return lines;
  } catch (const formfile::FormFileError&) {
    return itemIndent + quoted;
  }
}

// Whether the file's item already holds the value `notation` stands for: the same notation, the
// same value written otherwise, or a Unicode text that loads as that 8-bit value. The form loader
// reads Unicode texts into 8-bit ones in the ANSI code page, so an untouched one comes back here as
// its 8-bit form; writing that would lose every character the code page lacks.
bool SameValue(std::string_view inFile, std::string_view notation) {
  if (inFile == notation) return true;
  if (!notation::IsValid(inFile)) return false;
  const notation::TDecoded now = notation::Decode(notation);
  if (!now.valid) return false;
  const int codePage = platform::AnsiCodePage();
  if (now.unicode) return notation::ToUtf16(inFile, codePage) == now.units;
  return notation::ToBytes(inFile, codePage) == now.bytes;
}

bool SameItems(const StringListLines& list, std::span<const std::string> items) {
  if (list.items.size() != items.size()) return false;
  for (size_t i = 0; i < items.size(); ++i)
    if (!SameValue(list.items[i].notation, items[i])) return false;
  return true;
}

std::string BlockLabel(const FormDocument& doc, const VorlectBlock& b) {
  return (b.name.empty() ? b.className : b.name) + " in file " + doc.path;
}

Problem LayoutProblem(const FormDocument& doc, const VorlectBlock& b, std::string_view what) {
  return ErrorIgnore("The " + std::string(what) + " of " + BlockLabel(doc, b) + "\rhas a layout that cannot be rewritten.");
}

// Whether the component's class stores DoNot, Positions and CharSets: TVorlect does, TSmallVorlect
// keeps them out of the form file. Another class is asked when it is registered (the two own ones
// are known without waking the class registry), else it counts as a TVorlect.
bool StoresEditorLists(const std::string& className) {
  if (SameFormName(className, "TVorlect")) return true;
  if (SameFormName(className, "TSmallVorlect")) return false;
  if (const host::ClassInfo* cls = host::GetClass(className)) return cls->FindProperty("CharSets") != nullptr;
  return true;
}

// What to write into one component; the rest stays as the file has it.
struct ComponentEdit {
  int languages = kDefaultLanguages;
  std::optional<int> activeLanguage;
  std::span<const std::string> words;
  // In form-file notation; null: as the file has it.
  const std::vector<std::string>* doNot = nullptr;
  const std::vector<std::string>* positions = nullptr;
  const std::vector<std::string>* charSets = nullptr;
};

// The edits of one component's properties. Lines of unchanged values keep their bytes; a new
// line or list item is written as the IDE writes it.
class BlockEditor {
public:
  BlockEditor(const FormDocument& doc, const VorlectBlock& b, Splicer& edits)
      : doc_(doc), b_(b), edits_(edits), propIndent_(PropertyIndent(doc, b)) {}

  std::optional<Problem> Edit(const ComponentEdit& e) {
    // Languages has no stored default: a missing line reads as the component's 2.
    const int storedLanguages = b_.LanguagesLine() >= 0 ? b_.languages : kDefaultLanguages;
    if (storedLanguages != e.languages)
      if (auto p = SetValue(VorlectProperty::Languages, "Languages", std::to_string(e.languages))) return p;
    if (e.activeLanguage) {
      const int stored = b_.ActiveLine() >= 0 ? b_.activeLanguage : 0;
      if (stored != *e.activeLanguage) {
        auto p = *e.activeLanguage == 0
                     ? Remove(VorlectProperty::ActiveLanguage, "ActiveLanguage")
                     : SetValue(VorlectProperty::ActiveLanguage, "ActiveLanguage", std::to_string(*e.activeLanguage));
        if (p) return p;
      }
    }
    if (auto p = SetList(VorlectProperty::Words, "Words", "table", e.words)) return p;
    if (!StoresEditorLists(b_.className)) return std::nullopt;
    if (e.doNot)
      if (auto p = SetList(VorlectProperty::DoNot, "DoNot", "DoNot list", *e.doNot)) return p;
    if (e.positions)
      if (auto p = SetList(VorlectProperty::Positions, "Positions", "Positions list", *e.positions)) return p;
    if (e.charSets)
      if (auto p = SetList(VorlectProperty::CharSets, "CharSets", "CharSets list", *e.charSets)) return p;
    return std::nullopt;
  }

private:
  const TextLine& LineAt(int i) const { return doc_.lines[static_cast<size_t>(i)]; }

  // Where a missing property goes: after the last one the component streams before it, else
  // before the first one it streams after it, else before the component's "end".
  std::optional<size_t> InsertionPoint(VorlectProperty p) const {
    const int k = static_cast<int>(p);
    for (int q = k - 1; q >= 0; --q)
      if (const int last = b_.LastLine(static_cast<VorlectProperty>(q)); last >= 0) return LineAt(last).next;
    for (int q = k + 1; q < kVorlectPropertyCount; ++q)
      if (const int first = b_.Line(static_cast<VorlectProperty>(q)); first >= 0) return LineAt(first).begin;
    if (b_.end >= 0) return LineAt(b_.end).begin;
    return std::nullopt;
  }

  std::optional<Problem> Insert(VorlectProperty p, std::string_view what, std::string text) {
    const std::optional<size_t> at = InsertionPoint(p);
    if (!at) return LayoutProblem(doc_, b_, what);
    edits_.Insert(*at, std::move(text));
    return std::nullopt;
  }

  std::optional<Problem> SetValue(VorlectProperty p, std::string_view name, const std::string& value) {
    const int line = b_.Line(p);
    if (line < 0) return Insert(p, name, propIndent_ + std::string(name) + " = " + value + doc_.eol);
    if (b_.Repeated(p)) return LayoutProblem(doc_, b_, name);
    edits_.Replace(LineAt(line).begin, LineAt(line).end,
                   std::string(IndentOf(doc_.Line(line))) + std::string(name) + " = " + value);
    return std::nullopt;
  }

  // A property written twice is refused: changing one of them would load as the other.
  std::optional<Problem> Remove(VorlectProperty p, std::string_view what) {
    const int first = b_.Line(p);
    if (first < 0) return std::nullopt;
    if (b_.Repeated(p)) return LayoutProblem(doc_, b_, what);
    edits_.Replace(LineAt(first).begin, LineAt(b_.LastLine(p)).next, {});
    return std::nullopt;
  }

  // The file's string style, found once per component.
  formfile::StringStyle Style() {
    if (!style_) style_ = StringStyleOf(doc_);
    return *style_;
  }

  // Writes `items` (notation) as the list `name`.Strings. Items whose value did not change keep
  // their bytes; new ones are written as the IDE writes them.
  std::optional<Problem> SetList(VorlectProperty p, std::string_view name, std::string_view what,
                                 std::span<const std::string> items) {
    const StringListLines& list = *b_.List(p);
    if (SameItems(list, items)) return std::nullopt;
    if (list.unusualLayout || (list.first >= 0 && list.last < 0) || b_.Repeated(p))
      return LayoutProblem(doc_, b_, what);
    // The designer does not store an empty list.
    if (items.empty()) return Remove(p, what);

    const std::string& eol = doc_.eol;
    const std::string itemIndent = list.items.empty() || list.first == list.items.front().first
                                       ? propIndent_ + "  "
                                       : std::string(IndentOf(doc_.Line(list.items.front().first)));
    std::string body;
    for (size_t i = 0; i < items.size(); ++i) {
      const bool last = i + 1 == items.size();
      const bool keep = i < list.items.size() && SameValue(list.items[i].notation, items[i]);
      const bool oldLast = i + 1 == list.items.size();
      if (keep) {
        const TableItem& item = list.items[i];
        const size_t from = LineAt(item.first).begin;
        const size_t to = oldLast ? list.closeOffset : LineAt(item.last).end;
        body.append(doc_.text, from, to - from);
        if (!last) body += oldLast ? std::string_view(eol) : doc_.LineEnd(item.last);
      } else {
        body += CanonicalItem(items[i], itemIndent, eol, Style());
        if (!last) body += eol;
      }
    }

    if (list.first < 0) return Insert(p, what, propIndent_ + std::string(name) + ".Strings = (" + eol + body + ")" + eol);
    if (list.last == list.first) edits_.Insert(list.closeOffset, eol + body);  // "()" becomes "(", the items, ")"
    else edits_.Replace(LineAt(list.first).next, list.closeOffset, std::move(body));
    return std::nullopt;
  }

  const FormDocument& doc_;
  const VorlectBlock& b_;
  Splicer& edits_;
  const std::string propIndent_;
  std::optional<formfile::StringStyle> style_;
};

std::optional<Problem> CheckNotation(std::string_view what, const std::string& formFile,
                                     std::span<const std::string> lines) {
  std::string q;
  for (size_t i = 0; i < lines.size(); ++i)
    if (!QuoteNotation(lines[i], q))
      return ErrorIgnore("Line " + std::to_string(i + 1) + " of the " + std::string(what) + " for " + formFile +
                         "\ris not in form-file notation: " + lines[i]);
  return std::nullopt;
}

std::optional<Problem> CheckTable(const std::string& formFile, int languages, std::span<const std::string> lines) {
  if (languages < 1 || languages > 255)
    return ErrorIgnore("File " + formFile + "\rcannot take " + std::to_string(languages) + " languages.");
  if (lines.size() % static_cast<size_t>(languages + 1) != 0)
    return ErrorIgnore("The table for " + formFile + "\rdoes not hold " + std::to_string(languages + 1) +
                       " lines per text.");
  return CheckNotation("table", formFile, lines);
}

std::optional<Problem> CheckEdit(const std::string& formFile, const ComponentEdit& e) {
  if (auto p = CheckTable(formFile, e.languages, e.words)) return p;
  if (e.activeLanguage && (*e.activeLanguage < 0 || *e.activeLanguage >= e.languages))
    return ErrorIgnore("File " + formFile + "\rcannot take language " + std::to_string(*e.activeLanguage) +
                       " as the active language: its languages are 0 to " + std::to_string(e.languages - 1) + ".");
  const std::pair<const char*, const std::vector<std::string>*> lists[] = {
      {"DoNot list", e.doNot}, {"Positions list", e.positions}, {"CharSets list", e.charSets}};
  for (const auto& [what, lines] : lists)
    if (lines)
      if (auto p = CheckNotation(what, formFile, *lines)) return p;
  return std::nullopt;
}

std::vector<std::string> LinesOf(const host::TStrings& lines) {
  std::vector<std::string> v;
  v.reserve(static_cast<size_t>(lines.Count()));
  for (int i = 0; i < lines.Count(); ++i) v.push_back(lines.Strings(i));
  return v;
}

// Which lines go to which component. One component takes them all. With several, each keeps its
// own part when the new lines have the layout the file has (same number of lines per component);
// a form whose other components have empty tables gives the lines to the one that has a table
// (or to the first). Anything else cannot be split safely and is refused.
std::optional<Problem> SplitTables(const FormDocument& doc, int languages, std::span<const std::string> lines,
                                   std::vector<std::span<const std::string>>& parts) {
  const auto& blocks = doc.scan.blocks;
  parts.assign(blocks.size(), {});
  if (blocks.empty()) return ErrorIgnore("File " + doc.path + "\rholds no instance of TVorlect.");
  if (blocks.size() == 1) {
    parts[0] = lines;
    return std::nullopt;
  }
  size_t total = 0;
  int withTable = -1, tables = 0;
  for (size_t i = 0; i < blocks.size(); ++i) {
    total += blocks[i].words.items.size();
    if (!blocks[i].words.items.empty()) {
      ++tables;
      withTable = static_cast<int>(i);
    }
  }
  if (tables <= 1) {
    parts[static_cast<size_t>(withTable < 0 ? 0 : withTable)] = lines;
    return std::nullopt;
  }
  bool fits = total == lines.size();
  for (const auto& b : blocks)
    if (b.words.items.size() % static_cast<size_t>(languages + 1) != 0) fits = false;
  if (!fits)
    return ErrorIgnore("File " + doc.path + "\rholds " + std::to_string(blocks.size()) +
                       " instances of TVorlect;\rthe new table does not show which lines belong to which.");
  size_t at = 0;
  for (size_t i = 0; i < blocks.size(); ++i) {
    parts[i] = lines.subspan(at, blocks[i].words.items.size());
    at += blocks[i].words.items.size();
  }
  return std::nullopt;
}

// The catalogue's rewrite: the table and the language count of every component of the form.
std::optional<Problem> RewriteDocumentTables(FormDocument& doc, int languages, std::span<const std::string> lines) {
  if (auto p = CheckTable(doc.path, languages, lines)) return p;
  Splicer edits(doc.text);
  std::vector<std::span<const std::string>> parts;
  if (auto p = SplitTables(doc, languages, lines, parts)) return p;
  for (size_t i = 0; i < parts.size(); ++i) {
    const VorlectBlock& b = doc.scan.blocks[i];
    // A component that keeps an empty table is left alone altogether.
    if (parts[i].empty() && b.words.items.empty() && doc.scan.blocks.size() > 1) continue;
    ComponentEdit e;
    e.languages = languages;
    e.words = parts[i];
    if (auto p = BlockEditor(doc, b, edits).Edit(e)) return p;
  }
  if (edits.Empty()) return std::nullopt;
  return StoreDocument(doc, edits.Apply());
}

// One named component (empty name: the first); throws with the problem's text. True when the
// file was written.
bool RewriteNamedComponent(const std::string& formFile, const std::string& componentName, const ComponentEdit& e) {
  bool written = false;
  FormDocument doc;
  std::optional<Problem> p = LoadDocument(formFile, doc);
  const VorlectBlock* target = nullptr;
  if (!p) {
    for (const auto& b : doc.scan.blocks)
      if (componentName.empty() || SameFormName(b.name, componentName)) {
        target = &b;
        break;
      }
    if (!target)
      p = ErrorIgnore("File " + doc.path + "\rholds no instance of TVorlect" +
                      (componentName.empty() ? std::string() : " named " + componentName) + ".");
  }
  if (!p) p = CheckEdit(formFile, e);
  if (!p) {
    Splicer edits(doc.text);
    p = BlockEditor(doc, *target, edits).Edit(e);
    if (!p && !edits.Empty()) p = StoreDocument(doc, edits.Apply(), &written);
  }
  if (!p) return written;
  std::string text = p->text;
  std::replace(text.begin(), text.end(), '\r', '\n');
  throw std::runtime_error(text);
}

bool IsOpen(toolservices::HostServices* host, const std::string& path) { return host && host->HostIsFileOpen(path); }

bool StartsWithWord(std::string_view line, std::string_view word) {
  if (line.size() <= word.size() || line[word.size()] != ' ') return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(line[i])) != word[i]) return false;
  return true;
}

// The names of every component of the form (object, inherited and inline headers).
std::vector<std::string> ComponentNames(const FormDocument& doc) {
  std::vector<std::string> names;
  for (int i = 0; i < static_cast<int>(doc.lines.size()); ++i) {
    std::string_view line = doc.Line(i);
    line.remove_prefix(IndentOf(line).size());
    std::string_view rest;
    for (std::string_view word : {"object", "inherited", "inline"})
      if (StartsWithWord(line, word)) rest = line.substr(word.size() + 1);
    const size_t colon = rest.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view name = rest.substr(0, colon);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    if (!name.empty()) names.emplace_back(name);
  }
  return names;
}

constexpr const char* kUsesUnits = "VLBase, VLCore";

std::string FieldDeclaration(const std::string& name) { return name + ": TVorlect;"; }

// The name of an added component: "Vorlect1", or the next "VorlectN" that neither another
// component of the form nor a declaration of the form class in the unit already takes, so that
// the form still loads.
std::string FreeComponentName(const FormDocument& doc, std::string_view unitText, const std::string& formClass) {
  const std::vector<std::string> taken = ComponentNames(doc);
  for (int n = 1;; ++n) {
    const std::string name = "Vorlect" + std::to_string(n);
    bool used = std::any_of(taken.begin(), taken.end(), [&](const std::string& t) { return SameFormName(t, name); });
    if (!used) {
      // Unchanged: the class already declares this identifier (for something else).
      const TEditPascalText probe = EditPascalText(unitText, {{}, {}, formClass, FieldDeclaration(name)});
      used = probe.Status == TEditPascalStatus::Unchanged;
    }
    if (!used) return name;
  }
}

// Whether the designer placed the component: it stores the place of every non-visual component
// (Left and Top). A component added by AddVorlectToAllForms has neither.
bool PlacedByDesigner(const FormDocument& doc, const VorlectBlock& b) {
  const int end = b.end < 0 ? static_cast<int>(doc.lines.size()) : b.end;
  const size_t indent = IndentOf(doc.Line(b.header)).size() + 2;
  for (int i = b.header + 1; i < end; ++i) {
    const std::string_view line = doc.Line(i);
    if (IndentOf(line).size() != indent) continue;
    const std::string_view rest = line.substr(indent);
    if (rest.rfind("Left = ", 0) == 0 || rest.rfind("Top = ", 0) == 0) return true;
  }
  return false;
}

// A form that holds a translation component this command added while its unit does not declare
// it: a run that stopped between writing the form and writing the unit. The unit gets the
// declaration (and the units it needs) now. Components placed in the designer are the user's
// business and are left alone.
void DeclareInUnit(const FormDocument& doc, const TEntry& entry, toolservices::HostServices* host) {
  if (entry.FormClassName.empty()) return;
  const std::string unit = ResolveSiblingFile(entry.FormFile, ".pas");
  for (const VorlectBlock& b : doc.scan.blocks) {
    if (!SameFormName(b.className, "TVorlect") || b.name.empty() || PlacedByDesigner(doc, b)) continue;
    std::string unitText;
    try {
      unitText = platform::ReadFile(unit);
    } catch (const std::exception&) {
      return;  // no unit to keep in step
    }
    const std::string field = FieldDeclaration(b.name);
    if (EditPascalText(unitText, {{}, {}, entry.FormClassName, field}).Status != TEditPascalStatus::Edited) continue;
    const TEditPascalText edited = EditPascalText(unitText, {unit, kUsesUnits, entry.FormClassName, field});
    if (edited.Status != TEditPascalStatus::Edited) continue;
    const bool open = IsOpen(host, unit);
    if (open) host->HostSaveFile(unit);
    TEditPascalResult result;
    result.FileName = unit;
    try {
      platform::WriteFileAtomic(unit, edited.Text);
    } catch (const std::exception& e) {
      result.Status = TEditPascalStatus::IOError;
      result.Detail = e.what();
      Show(ErrorIgnore(EditPascalMessage(result)));
      return;
    }
    ports::MessageDlg("Unit " + unit + " did not declare " + b.name + " of form file " + entry.FormFile +
                          ";\rthe declaration was added.",
                      ports::mtInformation, {ports::mbOK});
    if (open) host->HostReloadFile(unit);
  }
}

}  // namespace

bool RewriteTables(const std::string& formFile, int languages, TFPrjList* catalogue, const host::TStrings& lines) {
  TEntry* entry = nullptr;
  std::string target = formFile;
  if (catalogue) {
    const int row = catalogue->FindByFileName(formFile);
    if (row < 0) {
      Show(ErrorIgnore("Unit " + formFile + "\rnot found in project."));
      return false;
    }
    if (!catalogue->Selected(row)) {
      Show(ErrorIgnore("Skipping unit " + formFile));
      return false;
    }
    entry = &catalogue->Entry(row);
    target = entry->FormFile;
  }
  // Copied first: `lines` may be the row's own list.
  const std::vector<std::string> table = LinesOf(lines);
  FormDocument doc;
  if (auto p = LoadDocument(target, doc)) {
    Show(*p);
    return false;
  }
  if (auto p = RewriteDocumentTables(doc, languages, table)) {
    Show(*p);
    return false;
  }
  // The row shows what the file now holds, and only once it holds it.
  if (entry) {
    if (&entry->Lines != &lines) {
      entry->Lines.Clear();
      for (const auto& l : table) entry->Lines.Add(l);
      entry->LinesLoaded();
    }
    entry->LinesChanged = false;  // the file holds them now
    entry->LanguageCount = languages;
  }
  return true;
}

bool RewriteComponent(const std::string& formFile, const std::string& componentName, const TComponentProperties& p) {
  // The lists as the component holds them, in notation.
  auto notationOf = [](const std::optional<std::vector<std::string>>& lines) {
    std::optional<std::vector<std::string>> out;
    if (!lines) return out;
    out.emplace();
    out->reserve(lines->size());
    for (const auto& l : *lines) out->push_back(notation::OfBytes(l));
    return out;
  };
  const auto doNot = notationOf(p.doNot), positions = notationOf(p.positions), charSets = notationOf(p.charSets);
  ComponentEdit e;
  e.languages = p.languages;
  e.activeLanguage = p.activeLanguage;
  e.words = p.words;
  e.doNot = doNot ? &*doNot : nullptr;
  e.positions = positions ? &*positions : nullptr;
  e.charSets = charSets ? &*charSets : nullptr;
  return RewriteNamedComponent(formFile, componentName, e);
}

void RewriteComponentTable(const std::string& formFile, const std::string& componentName, int languages,
                           const host::TStrings& lines) {
  const std::vector<std::string> table = LinesOf(lines);
  ComponentEdit e;
  e.languages = languages;
  e.words = table;
  RewriteNamedComponent(formFile, componentName, e);
}

int AddVorlectToAllForms(TFPrjList& catalogue, int languages, bool selectedOnly) {
  if (ports::MessageDlg("Do you want to add an instance of TVorlect to all forms\rthat do not have one yet?\r"
                        "Open files will be saved first automatically.",
                        ports::mtConfirmation, {ports::mbYes, ports::mbNo}) != ports::mrYes)
    return -1;
  if (languages <= 0) {
    if (LanguageNames().Count() == 0) {
      ports::MessageDlg("You need to assign language names first..", ports::mtInformation, {ports::mbOK});
      if (catalogue.OpenLanguageSetup) catalogue.OpenLanguageSetup();
      if (LanguageNames().Count() == 0) {
        ports::ShowMessage("Languages are not configured, cancelling.");
        return -1;
      }
    }
    languages = LanguageNames().Count();
  }
  languages = std::min(languages, 255);

  toolservices::HostServices* host = toolservices::GetHostServices();
  const int total = catalogue.Count();
  int added = 0;
  for (int row = 0; row < total; ++row) {
    TEntry& entry = catalogue.Entry(row);
    if (catalogue.Progress) catalogue.Progress(row, total, entry.FormFile);
    if (selectedOnly && !catalogue.Selected(row)) continue;
    if (entry.InstanceCount > 0) {
      FormDocument doc;
      if (!LoadDocument(entry.FormFile, doc)) DeclareInUnit(doc, entry, host);
      continue;
    }
    const std::string unit = ResolveSiblingFile(entry.FormFile, ".pas");
    const bool open = IsOpen(host, entry.FormFile) || IsOpen(host, unit);
    if (open) host->HostSaveFile(entry.FormFile);

    FormDocument doc;
    if (LoadDocument(entry.FormFile, doc)) continue;  // unreadable forms are passed over silently
    if (!doc.scan.blocks.empty()) {  // the row was out of date: it has one already
      ScanFormFile(entry.FormFile, entry);
      DeclareInUnit(doc, entry, host);
      continue;
    }
    if (doc.scan.rootEnd < 0) continue;

    // The new table: the form's own caption under %Form%, the other languages empty.
    std::vector<std::string> table{"%Form%", doc.scan.caption};
    table.resize(static_cast<size_t>(languages) + 1);
    std::string check;
    if (!QuoteNotation(table[1], check)) table[1].clear();

    // The unit is read before anything is written: the component's name must be free in both,
    // and a unit that cannot take the declaration leaves the form file as it was too.
    if (open) host->HostSaveFile(unit);
    TEditPascalResult unitResult;
    unitResult.FileName = unit;
    std::string unitText;
    try {
      unitText = platform::ReadFile(unit);
    } catch (const std::exception& e) {
      unitResult.Status = TEditPascalStatus::IOError;
      unitResult.Detail = e.what();
    }
    const std::string name = FreeComponentName(doc, unitText, entry.FormClassName);

    const std::string& eol = doc.eol;
    std::string block = "  object " + name + ": TVorlect" + eol + "    Languages = " + std::to_string(languages) + eol +
                        "    ActiveLanguage = 0" + eol + "    Words.Strings = (";
    for (const auto& l : table) block += eol + "      " + Quoted(l);
    block += ")" + eol + "  end" + eol;
    Splicer edits(doc.text);
    edits.Insert(doc.lines[static_cast<size_t>(doc.scan.rootEnd)].begin, block);
    std::string formBytes;
    if (auto p = PrepareBytes(doc, edits.Apply(), formBytes)) {
      Show(*p);
      continue;
    }

    TEditPascalFile edit{unit, kUsesUnits, entry.FormClassName, FieldDeclaration(name)};
    TEditPascalText edited;
    if (unitResult.Status != TEditPascalStatus::IOError) {
      edited = EditPascalText(unitText, edit);
      unitResult.Status = edited.Status;
      if (edited.Status == TEditPascalStatus::NoUsesClause) unitResult.Detail = edit.UsesUnits;
      if (edited.Status == TEditPascalStatus::NoFormClass) unitResult.Detail = edit.FormClass;
    }
    if (!unitResult.Ok()) {
      Show(ErrorIgnore(EditPascalMessage(unitResult) + "\rThe form file " + entry.FormFile + " was not changed."));
      continue;
    }

    // Both new files are complete before either replaces its original, so a unit or form that
    // cannot be written (read-only, say) stops the pair before anything changed. A run stopped
    // between the two renames leaves the form ahead of its unit; the next run declares it.
    std::optional<platform::AtomicFile> unitFile, formFile;
    try {
      if (edited.Status == TEditPascalStatus::Edited) {
        unitFile.emplace(unit);
        unitFile->Write(edited.Text);
      }
    } catch (const std::exception& e) {
      unitResult.Status = TEditPascalStatus::IOError;
      unitResult.Detail = e.what();
      Show(ErrorIgnore(EditPascalMessage(unitResult) + "\rThe form file " + entry.FormFile + " was not changed."));
      continue;
    }
    try {
      formFile.emplace(entry.FormFile);
      formFile->Write(formBytes);
      formFile->Commit();
    } catch (const std::exception& e) {
      Problem p = WriteProblem();
      p.text += "\r";
      p.text += e.what();
      Show(p);
      continue;
    }
    if (unitFile) {
      try {
        unitFile->Commit();
      } catch (const std::exception& e) {
        // Put the form back so form and unit stay in step.
        const bool restored = !WriteBytes(entry.FormFile, doc.original);
        unitResult.Status = TEditPascalStatus::IOError;
        unitResult.Detail = e.what();
        Show(ErrorIgnore(EditPascalMessage(unitResult) +
                         (restored ? "\rThe form file " + entry.FormFile + " was not changed."
                                   : "\rThe form file " + entry.FormFile + " could not be restored.")));
        if (!restored) {
          entry.InstanceCount = 1;
          entry.LanguageCount = languages;
        }
        continue;
      }
    }

    ++added;
    entry.InstanceCount = 1;
    entry.LanguageCount = languages;
    entry.Lines.Clear();
    for (const auto& l : table) entry.Lines.Add(l);
    entry.LinesLoaded();
    if (!catalogue.KeepLines()) entry.ReleaseLines();
    if (open) {
      host->HostReloadFile(entry.FormFile);
      host->HostReloadFile(unit);
    }
  }
  if (catalogue.Progress) catalogue.Progress(total, total, {});
  return added;
}

bool EmptyAllTables(TFPrjList& catalogue, bool selectedOnly) {
  if (ports::MessageDlg("Are you sure that you want to clear all TVorlect contents?\r"
                        "You should make a backup by exporting into a CSV file.",
                        ports::mtConfirmation, {ports::mbYes, ports::mbNo}) != ports::mrYes) {
    ports::ShowMessage("Cancelled.");
    return false;
  }
  toolservices::HostServices* host = toolservices::GetHostServices();
  const int total = catalogue.Count();
  int failed = 0;
  for (int row = 0; row < total; ++row) {
    TEntry& entry = catalogue.Entry(row);
    if (catalogue.Progress) catalogue.Progress(row, total, entry.FormFile);
    if (entry.InstanceCount <= 0 || (selectedOnly && !catalogue.Selected(row))) continue;
    FormDocument doc;
    std::optional<Problem> problem = LoadDocument(entry.FormFile, doc);
    if (!problem) {
      Splicer edits(doc.text);
      for (const auto& b : doc.scan.blocks) {
        const int languagesLine = b.LanguagesLine(), activeLine = b.ActiveLine();
        if (languagesLine >= 0 && b.languages != 1) {
          const TextLine& l = doc.lines[static_cast<size_t>(languagesLine)];
          edits.Replace(l.begin, l.end, std::string(IndentOf(doc.Line(languagesLine))) + "Languages = 1");
        }
        if (activeLine >= 0) {
          const std::string line = std::string(IndentOf(doc.Line(activeLine))) + "ActiveLanguage = 0";
          const TextLine& l = doc.lines[static_cast<size_t>(activeLine)];
          if (doc.Line(activeLine) != line) edits.Replace(l.begin, l.end, line);
        }
        if (b.words.first >= 0) {
          if (b.words.last < 0 || b.Repeated(VorlectProperty::Words)) {
            problem = LayoutProblem(doc, b, "table");
            break;
          }
          edits.Replace(doc.lines[static_cast<size_t>(b.words.first)].begin,
                        doc.lines[static_cast<size_t>(b.words.last)].next, {});
        }
      }
      if (!problem && !edits.Empty()) problem = StoreDocument(doc, edits.Apply());
    }
    if (problem) {
      ++failed;
      Show(*problem);
      continue;
    }
    entry.Lines.Clear();
    entry.LinesLoaded();
    entry.LanguageCount = 1;
    const std::string unit = ResolveSiblingFile(entry.FormFile, ".pas");
    if (IsOpen(host, unit)) host->HostReloadFile(unit);
  }
  if (catalogue.Progress) catalogue.Progress(total, total, {});
  if (failed == 0) ports::ShowMessage("All TVorlect instances are cleared.");
  else
    ports::MessageDlg(std::to_string(failed) + " form file(s) could not be cleared.", ports::mtError, {ports::mbOK});
  return failed == 0;
}

}  // namespace vorlect::vle
