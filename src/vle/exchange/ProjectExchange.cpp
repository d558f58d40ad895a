#include "vle/exchange/ProjectExchange.h"

#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/FolderSync.h"
#include "spell/Langs.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/project/Notation.h"
#include "vle/project/DFM_TXT.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>

namespace vorlect::vle {

namespace {

namespace fs = std::filesystem;
using namespace ports;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr int kMaxStringId = 65535;  // string ids are 16 bits in a resource

std::string Format(std::string_view pattern, const std::string& a) {
  std::string out;
  size_t p = pattern.find("%s");
  if (p == std::string_view::npos) return std::string(pattern);
  out.append(pattern.substr(0, p)).append(a).append(pattern.substr(p + 2));
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The name the exchange page shows, split from its folder; a name without an extension takes the
// one of the chosen filter.
struct TExchangeName {
  fs::path folder;
  std::string name;  // with extension
  std::string base;  // up to the first "."
  std::string ext;   // as written, with its dot
  std::string lowerExt;
};

TExchangeName SplitName(const std::string& fileName) {
  TExchangeName n;
  const fs::path p(fileName);
  n.folder = p.parent_path();
  n.name = p.filename().string();
  if (n.name.find('.') == std::string::npos && !n.name.empty()) n.name += ".csv";
  const size_t first = n.name.find('.');
  const size_t last = n.name.rfind('.');
  n.base = first == std::string::npos ? n.name : n.name.substr(0, first);
  n.ext = last == std::string::npos ? std::string() : n.name.substr(last);
  n.lowerExt = Lower(n.ext);
  return n;
}

std::string Numbered(const TExchangeName& n, int i) {
  return (n.folder / (n.base + std::to_string(i) + n.ext)).string();
}

void ShowSelectionNotice(const char* notice) { ShowNotice(notice, InfoSel); }

// Step 2 of the resource escaping over the decoded bytes.
std::string ResourceBody(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 8);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '\r') {
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      out += "\\n";
    } else if (c >= 32 && c != '"' && c != '\'' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      const char oct[] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
                          static_cast<char>('0' + (c & 7))};
      out.append(oct, 4);
    }
  }
  return out;
}

// A key field: keys starting with "%" or "$" are always quoted so that no reader takes them for a
// form's header.
std::string KeyField(const std::string& key, char sep, TCsvEscape escape) {
  std::string f = CsvWriteField(key, sep, escape);
  if (!key.empty() && (key[0] == '%' || key[0] == '$') && f[0] != '"') f = '"' + f + '"';
  return f;
}

// One CSV field of a table line for `column`.
std::string FieldText(const std::string& line, int column, bool utf8) {
  if (!utf8) return line;
  return platform::Utf16ToUtf8(notation::ToUtf16(line, ColumnCodePage(column)));
}

std::string KeyText(const std::string& key, bool utf8) { return FieldText(key, 0, utf8); }

void Progress(TFPrjList& catalogue, int done, int total, const std::string& file) {
  if (catalogue.Progress) catalogue.Progress(done, total, file);
}

}  // namespace

// ---- Resource escaping ----------------------------------------------------------------------

std::string ResourceEscape(std::string_view line) { return ResourceEscape(line, platform::AnsiCodePage()); }

std::string ResourceEscape(std::string_view line, int codePage) {
  return ResourceBody(notation::ToBytes(line, codePage));
}

int ColumnCodePage(int column) {
  if (column >= 1 && column <= LanguageIds().Count()) {
    const unsigned id = LanguageIdOf(LanguageIds().Strings(column - 1));
    if (id != 0) return spell::LanguageCodePage(static_cast<spell::TLanguage>(id));
  }
  return platform::AnsiCodePage();
}

// ---- Export -------------------------------------------------------------------------------------

int ExportProject(TFPrjList& catalogue, const std::string& fileName, TExportOptions options, bool askPerLanguage) {
  const TExchangeName n = SplitName(fileName);
  if (!IsValidExchangeFileName(n.name)) {
    MessageDlg("Please select an existing .RC/.CSV file or enter a valid file name.\rYou cannot use jokers (*, ?) "
               "in the file name.",
               mtError, {mbOK});
    return -1;
  }
  const bool csv = n.lowerExt == ".csv";
  const bool rc = n.lowerExt == ".rc";
  TExchangeName files = n;
  char sep = CsvSeparator;
  if (csv) {
    if (askPerLanguage) {
      const int answer = MessageDlg(
          "Do you want additional separate files for each language?\rTheir names would be " + n.base + "1.csv, " +
              n.base + "2.csv etc..",
          mtInformation, mbYesNoCancel);
      if (answer == mrCancel) return -1;
      options.perLanguage = answer == mrYes;
    }
    RecomputeCsvSeparator();
    sep = CsvSeparator;
  } else if (rc) {
    options.perLanguage = true;
    options.utf8 = false;  // a resource script holds the code page's bytes
    std::string b = options.scriptBase.empty() ? n.base : options.scriptBase;
    if (options.scriptBase.empty() && b.size() > 2 && std::isdigit(static_cast<unsigned char>(b.back()))) {
      b.pop_back();
      if (std::isdigit(static_cast<unsigned char>(b.back()))) b.pop_back();
    }
    files.base = b;
    catalogue.DllBaseName = b;
  } else {
    ShowMessage("file format not yet implemented");
    return -1;
  }

  const TCsvEscape escape = options.utf8 ? TCsvEscape::Exact : TCsvEscape::Classic;
  int count = 0;
  int nextBase = 1000;
  int total = 0;
  for (int r = 0; r < catalogue.Count(); ++r)
    if (catalogue.Selected(r) && catalogue.Entry(r).InstanceCount > 0) ++total;

  // Every file goes to a temporary beside it, form by form, and all are put in place at the end:
  // memory stays flat in the number of forms, and a failure leaves every file as it was.
  std::unique_ptr<platform::AtomicFile> projectFile;
  std::vector<std::unique_ptr<platform::AtomicFile>> perLanguage;  // file i + 1
  int written = 0;
  try {
    if (csv) {
      projectFile = std::make_unique<platform::AtomicFile>((n.folder / n.name).string());
      if (options.utf8) projectFile->Write(kBom);
    }
    auto languageFile = [&](int b) -> platform::AtomicFile& {
      if (static_cast<int>(perLanguage.size()) < b) perLanguage.resize(static_cast<size_t>(b));
      std::unique_ptr<platform::AtomicFile>& f = perLanguage[static_cast<size_t>(b - 1)];
      if (!f) {
        f = std::make_unique<platform::AtomicFile>(Numbered(files, b));
        if (rc) f->Write("STRINGTABLE\r\nBEGIN\r\n");
        else if (options.utf8) f->Write(kBom);
      }
      return *f;
    };
    std::string piece;
    for (int r = 0; r < catalogue.Count(); ++r) {
      if (!catalogue.Selected(r) || catalogue.Entry(r).InstanceCount <= 0) continue;
      TRowLines use(catalogue, r);
      const TEntry& e = use.Entry();
      if (e.InstanceCount <= 0) continue;  // the form file changed since the catalogue was read
      ++count;
      Progress(catalogue, count, total, e.FormFile);
      const int langs = std::max(0, e.LanguageCount);
      const int lines = e.Lines.Count();

      if (csv) {
        for (int i = 0; i + langs < lines; i += langs + 1) {
          const std::string& key = e.Lines.Strings(i);
          if (key != "%" && key != "$") continue;
          MessageDlg("The key \"" + key + "\" of form " + e.FormFile +
                         " cannot be exported:\ra key that is only \"%\" or \"$\" would be read as a form's "
                         "header.\rPlease rename it first.",
                     mtError, {mbAbort});
          return -1;
        }
        const std::string header = std::string("%") + sep + CsvWriteField(e.FormFile, sep) + "\r\n";
        piece = header;
        for (int i = 0; i + langs < lines; i += langs + 1) {
          piece += KeyField(KeyText(e.Lines.Strings(i), options.utf8), sep, escape);
          for (int b = 1; b <= langs; ++b) {
            piece += sep;
            piece += CsvWriteField(FieldText(e.Lines.Strings(i + b), b, options.utf8), sep, escape);
          }
          piece += "\r\n";
        }
        projectFile->Write(piece);
        if (options.perLanguage) {
          for (int b = 1; b <= langs; ++b) {
            piece = header;
            for (int i = 0; i + langs < lines; i += langs + 1) {
              piece += KeyField(KeyText(e.Lines.Strings(i), options.utf8), sep, escape);
              piece += sep;
              piece += CsvWriteField(FieldText(e.Lines.Strings(i + b), b, options.utf8), sep, escape);
              piece += "\r\n";
            }
            languageFile(b).Write(piece);
          }
        }
      } else {
        // Every language file uses the same ids for the same entries.
        const int base = nextBase;
        const int entries = lines >= langs + 1 ? (lines - langs - 1) / (langs + 1) + 1 : 0;
        const long long last = static_cast<long long>(base) + 2LL * entries;
        if (last > kMaxStringId) {
          MessageDlg("The string ids of " + e.FormFile + "\rwould exceed " + std::to_string(kMaxStringId) +
                         ".\rNo resource script was written.",
                     mtError, {mbAbort});
          return -1;
        }
        for (int b = 1; b <= langs; ++b) {
          const int cp = ColumnCodePage(b);
          int id = base;
          piece = "    " + std::to_string(id) + ", \"" + ResourceBody("%" + e.FormClassName) + "\"\r\n";
          for (int i = 0; i + langs < lines; i += langs + 1) {
            piece += "    " + std::to_string(++id) + ", \"" +
                     ResourceEscape(e.Lines.Strings(i), platform::AnsiCodePage()) + "\"\r\n";
            piece += "    " + std::to_string(++id) + ", \"" + ResourceEscape(e.Lines.Strings(i + b), cp) + "\"\r\n";
          }
          languageFile(b).Write(piece);
        }
        nextBase = static_cast<int>((last + 101) / 100 * 100);
      }
    }
    if (rc)
      for (auto& f : perLanguage)
        if (f) f->Write("END\r\n");
    if (projectFile) projectFile->Commit();
    for (size_t i = 0; i < perLanguage.size(); ++i)
      if (perLanguage[i]) {
        perLanguage[i]->Commit();
        written = static_cast<int>(i) + 1;
      }
  } catch (const platform::FileError& e) {
    MessageDlg(Format("File %s\rcould not be created.", fs::path(e.path()).filename().string()), mtError, {mbAbort});
    return -1;
  }
  // Numbered files a previous export with more languages left go.
  if (options.perLanguage)
    for (int i = written + 1; i <= 99; ++i) platform::DeleteFile(Numbered(files, i));

  MessageDlg(std::to_string(count) + " Instances of TVorlect have been exported\rin file " + n.name + ".",
             mtInformation, {mbOK});
  if (count == 0) ShowSelectionNotice(kNoticeSelExport);
  catalogue.CompileDllsEnabled = !catalogue.DllBaseName.empty();
  return count;
}

// ---- Reading a project CSV file ------------------------------------------------------------

int TCsvBlock::Languages(int current) const {
  if (rows.empty()) return -1;
  std::size_t widest = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::size_t width = rowWidths[r];
    if (current >= 0) width = std::max(width, std::min(rows[r].size(), static_cast<std::size_t>(current) + 1));
    widest = std::max(widest, width);
  }
  return static_cast<int>(widest) - 1;
}

bool IsCsvHeaderLine(std::string_view line) { return CsvHeaderOf(line, "%$").has_value(); }

namespace {

// Calls `fn` for every line (CR LF, LF or CR end one; a final break gives no empty last line).
template <class Fn>
void ForEachLine(std::string_view contents, Fn&& fn) {
  size_t p = 0;
  while (p < contents.size()) {
    size_t e = contents.find_first_of("\r\n", p);
    if (e == std::string_view::npos) e = contents.size();
    fn(contents.substr(p, e - p));
    p = e;
    if (p < contents.size() && contents[p++] == '\r' && p < contents.size() && contents[p] == '\n') ++p;
  }
}

}  // namespace

namespace {

// The blocks of the lines `forLines` hands over one by one; one block at a time is held, so that
// memory does not grow with the number of forms in the file.
template <class ForLines>
void BlocksOfLines(ForLines&& forLines, bool utf8, const std::function<void(TCsvBlock&)>& onBlock) {
  std::optional<TCsvBlock> b;
  bool firstLine = true;  // of the file
  bool firstRow = true;   // after a "sep=" line
  char named = CsvSeparator;
  TCsvRowJoiner joiner(named, IsCsvHeaderLine);
  const auto onRow = [&](std::string_view line, std::size_t number) {
    // The first row is a header whatever it holds; then a header starts every further block.
    if (firstRow || IsCsvHeaderLine(line)) {
      firstRow = false;
      const char previous = b ? b->separator : named;
      if (b) onBlock(*b);
      b.emplace();
      b->perForm = !line.empty() && line[0] == '$';
      if (const auto header = CsvHeaderOf(line)) {
        b->separator = header->separator;
        b->perForm = header->mark == '$';
        b->formFile = header->formFile;
      } else {
        b->separator = line.size() >= 2 ? line[1] : previous;
        std::string rest(line.size() > 2 ? line.substr(2) : std::string_view());
        b->formFile = rest.empty() ? std::string() : CsvReadField(rest, b->separator, false);
      }
      b->kind = utf8 ? TBlockKind::Utf8 : (b->perForm ? TBlockKind::Text : TBlockKind::Notation);
      joiner.SetSeparator(b->separator);
      return;
    }
    if (line.empty()) return;  // no row is ever written empty: an empty key is ""
    // Notation is read as it stands; real texts are unescaped: the per-form layout's \n and
    // '#39' in 8-bit files, the exact escaping in UTF-8 files.
    TCsvRow row = b->kind == TBlockKind::Utf8 ? CsvReadRow(line, b->separator, true, TCsvEscape::Exact)
                                              : CsvReadRow(line, b->separator, b->perForm);
    // A component has at most 255 languages; wider rows would only blow up the padding.
    const std::size_t max = kMaxCsvColumns;
    if (row.fields.size() > max) row.fields.resize(max);
    b->rowWidths.push_back(std::min(row.Width(), max));
    b->rowLines.push_back(number);
    b->rows.push_back(std::move(row.fields));
  };
  forLines([&](std::string_view line) {
    if (firstLine) {
      firstLine = false;
      if (line.substr(0, kBom.size()) == kBom) {
        line.remove_prefix(kBom.size());
        utf8 = true;
      }
      // Some spreadsheets name the separator in a first line of its own.
      if (const auto sep = CsvSeparatorLine(line)) {
        named = *sep;
        joiner.SetSeparator(named);
        joiner.SkipLine();
        return;
      }
    }
    joiner.Line(line, onRow);
  });
  joiner.Finish(onRow);
  if (b) onBlock(*b);
}

template <class Fn>
void ForEachFileLine(const std::string& path, Fn&& fn) {
  platform::LineReader reader(path);
  std::string_view line;
  while (reader.Next(line)) fn(line);
}

}  // namespace

void ForEachProjectCsvBlock(std::string_view contents, bool utf8, const std::function<void(TCsvBlock&)>& onBlock) {
  BlocksOfLines([&](auto&& fn) { ForEachLine(contents, fn); }, utf8, onBlock);
}

void ForEachProjectCsvFileBlock(const std::string& path, bool utf8, const std::function<void(TCsvBlock&)>& onBlock) {
  BlocksOfLines([&](auto&& fn) { ForEachFileLine(path, fn); }, utf8, onBlock);
}

std::vector<TCsvBlock> ReadProjectCsv(std::string_view contents, bool utf8) {
  std::vector<TCsvBlock> blocks;
  ForEachProjectCsvBlock(contents, utf8, [&](TCsvBlock& b) { blocks.push_back(std::move(b)); });
  return blocks;
}

std::vector<std::string> BlockLines(const TCsvBlock& block, int languages, const host::TStrings* current) {
  const int width = languages + 1;
  std::vector<std::string> out;
  out.reserve(block.rows.size() * width);
  const bool aligned = current && current->Count() == static_cast<int>(block.rows.size()) * width;
  for (size_t r = 0; r < block.rows.size(); ++r) {
    for (int c = 0; c < width; ++c) {
      const std::string field = c < static_cast<int>(block.rows[r].size()) ? block.rows[r][c] : std::string();
      const int index = static_cast<int>(r) * width + c;
      switch (block.kind) {
        case TBlockKind::Notation: {
          // A line break typed into a cell (a spreadsheet keeps it raw inside quotes) stands in
          // notation as the IDE writes it.
          if (field.find_first_of("\r\n") != std::string::npos) {
            std::string coded;
            for (std::size_t p = 0; p < field.size(); ++p) {
              if (field.compare(p, 2, "\r\n") == 0) {
                coded += "'#13#10'";
                ++p;
              } else if (field[p] == '\r' || field[p] == '\n') {
                coded += field[p] == '\r' ? "'#13'" : "'#10'";
              } else {
                coded += field[p];
              }
            }
            out.push_back(notation::IsValid(coded) ? coded : notation::OfBytes(field));
            break;
          }
          out.push_back(notation::IsValid(field) ? field : notation::OfBytes(field));
          break;
        }
        case TBlockKind::Text:
          out.push_back(notation::OfBytes(field));
          break;
        case TBlockKind::Utf8: {
          const int cp = ColumnCodePage(c);
          const std::u16string text = platform::Utf8ToUtf16(field);
          if (aligned) {
            const std::string& now = current->Strings(index);
            if (notation::ToUtf16(now, cp) == text) {
              out.push_back(now);
              break;
            }
            out.push_back(notation::OfUtf16(text, cp, notation::Decode(now).unicode));
            break;
          }
          out.push_back(notation::OfUtf16(text, cp));
          break;
        }
      }
    }
  }
  return out;
}

// ---- Import -------------------------------------------------------------------------------------

int ImportProject(TFPrjList& catalogue, const std::string& fileName, bool utf8, TImportReport* report) {
  TImportReport local;
  TImportReport& rep = report ? *report : local;
  rep = {};
  const TExchangeName n = SplitName(fileName);
  if (!IsValidExchangeFileName(n.name)) return -1;
  if (n.lowerExt != ".csv") {
    ShowMessage("file format not yet implemented");
    MessageDlg("0 Instances of TVorlect have been imported.", mtInformation, {mbOK});
    ShowSelectionNotice(kNoticeSelImport);
    return -1;
  }
  // The file is read twice, a block at a time: once to count the forms for the progress report
  // and to learn how its bytes are to be read, so that a refusal leaves every form as it was.
  int total = 0;
  TCsvUtf8Check check(utf8);
  try {
    bool first = true;
    ForEachFileLine(fileName, [&](std::string_view raw) {
      const std::string_view line = check.Line(raw);
      if (check.LineCount() == 1 && CsvSeparatorLine(line)) return;
      total += first || IsCsvHeaderLine(line);
      first = false;
    });
  } catch (const platform::FileError&) {
    MessageDlg(Format("File %s\rcould not be opened.", fileName), mtError, {mbAbort});
    return -1;
  }
  const std::optional<bool> asUtf8 = check.Decide(fileName);
  if (!asUtf8) return -1;
  utf8 = *asUtf8;
  auto* host = toolservices::GetHostServices();
  int done = 0;
  std::vector<std::string> wider;  // forms that got languages from texts beyond their own
  auto importBlock = [&](TCsvBlock& b) {
    CsvSeparator = b.separator;
    Progress(catalogue, ++done, total, b.formFile);
    if (b.formFile.empty() && b.rows.empty()) return;
    ++rep.blocks;
    const int row = catalogue.FindByFileName(b.formFile);
    std::optional<TRowLines> use;
    if (row >= 0) use.emplace(catalogue, row);
    const TEntry* entry = use ? &use->Entry() : nullptr;
    // A block without rows keeps the form's language count rather than changing it. Empty
    // fields up to the form's languages are its empty texts, beyond them a spreadsheet's padding.
    const int current = entry ? entry->LanguageCount : -1;
    int languages = b.Languages(current);
    if (languages < 0) languages = entry && entry->LanguageCount > 0 ? entry->LanguageCount : 2;
    std::size_t widerFrom = 0;  // the first line with texts beyond the form's languages
    if (entry && current >= 0 && languages > current)
      for (std::size_t r = 0; r < b.rows.size() && widerFrom == 0; ++r)
        if (b.rowWidths[r] > static_cast<std::size_t>(current) + 1) widerFrom = b.rowLines[r];
    host::TStringList lines;
    for (std::string& l : BlockLines(b, languages, entry ? &entry->Lines : nullptr)) lines.Add(l);
    b.rows.clear();
    if (row < 0) {
      ++rep.notFound;
      rep.notFoundForms.push_back(b.formFile);
    } else if (!catalogue.Selected(row))
      ++rep.skipped;
    if (RewriteTables(b.formFile, languages, &catalogue, lines)) {
      ++rep.imported;
      if (widerFrom > 0)
        wider.push_back(b.formFile + ": from line " + std::to_string(widerFrom) + " on, " + std::to_string(languages) +
                        " languages instead of " + std::to_string(current));
      if (host && row >= 0) {
        const std::string unit = fs::path(catalogue.Entry(row).FormFile).replace_extension(".pas").string();
        if (host->HostIsFileOpen(unit)) host->HostReloadFile(unit);
      }
    } else if (row >= 0 && catalogue.Selected(row)) {
      ++rep.failed;
      rep.failedForms.push_back(catalogue.Entry(row).FormFile);
    }
  };
  try {
    // Thousands of forms in a folder: its entries are synced once at the end, not per form.
    platform::FolderSyncBatch syncOnce;
    ForEachProjectCsvFileBlock(fileName, utf8, importBlock);
  } catch (const platform::FileError&) {
    // The file went away or became unreadable half way; the forms done so far stay done.
    MessageDlg(Format("File %s\rcould not be opened.", fileName), mtError, {mbAbort});
  }
  if (!wider.empty()) {
    std::string text = "Texts beyond a form's languages gave it more languages:";
    for (const std::string& w : wider) text += "\r" + w;
    MessageDlg(text, mtWarning, {mbOK});
  }
  MessageDlg(std::to_string(rep.imported) + " Instances of TVorlect have been imported.", mtInformation, {mbOK});
  if (rep.imported == 0) ShowSelectionNotice(kNoticeSelImport);
  return rep.imported;
}

}  // namespace vorlect::vle
