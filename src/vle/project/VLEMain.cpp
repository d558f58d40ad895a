#include "vle/project/VLEMain.h"

#include "host/formfile/FormFile.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "vle/VLCsv.h"
#include "vle/VLSettings.h"
#include "vle/project/FormLines.h"
#include "vle/project/ProjectForms.h"

#include <algorithm>
#include <cctype>

namespace vorlect::vle {

namespace {

constexpr int kDefaultLanguages = 2;  // a component that does not store Languages has two

std::string FileNamePart(std::string_view path) {
  size_t cut = path.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = formlines::AsciiLower(c);
  return out;
}

std::string ExtensionOf(const std::string& fileName) {
  const std::string name = FileNamePart(fileName);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : LowerAscii(name.substr(dot));
}

std::vector<std::string_view> TextLines(std::string_view contents) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos < contents.size()) {
    size_t lf = contents.find('\n', pos);
    size_t end = lf == std::string_view::npos ? contents.size() : lf;
    std::string_view line = contents.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    pos = lf == std::string_view::npos ? contents.size() : lf + 1;
  }
  return lines;
}


}  // namespace

// ---- TEntry ---------------------------------------------------------------------------------------

std::string TEntry::LanguagesCell() const { return std::to_string(LanguageCount); }

namespace {
int FilledLines(const host::TStrings& lines) {
  int filled = 0;
  for (int i = 0; i < lines.Count(); ++i)
    if (!lines.Strings(i).empty()) ++filled;
  return filled;
}
}  // namespace

int TEntry::LineCount() const { return released_ ? releasedLines_ : Lines.Count(); }

int TEntry::FilledLineCount() const { return released_ ? releasedFilled_ : FilledLines(Lines); }

std::string TEntry::DoneCell() const {
  const int count = LineCount();
  if (count == 0) return "-";
  return std::to_string(FilledLineCount() * 100 / count) + "%";
}

void TEntry::ReleaseLines() {
  if (released_ || LinesChanged) return;
  releasedLines_ = Lines.Count();
  releasedFilled_ = FilledLines(Lines);
  Lines.Clear();
  Components.clear();
  Components.shrink_to_fit();
  released_ = true;
}

void TEntry::LoadLines() {
  if (released_) ScanFormFile(FormFile, *this);
}

// ---- Scan -----------------------------------------------------------------------------------------

namespace {

// "object Name: TClass", "inherited Name: TClass [2]", "inline Name: TClass": name and class.
std::optional<std::pair<std::string, std::string>> ObjectLine(std::string_view line) {
  line = formlines::Trim(line);
  for (std::string_view word : {"object ", "inherited ", "inline "}) {
    if (line.size() <= word.size() || !formlines::SameNoCase(line.substr(0, word.size()), word)) continue;
    std::string_view rest = formlines::Trim(line.substr(word.size()));
    const size_t colon = rest.find(':');
    std::string_view name = colon == std::string_view::npos ? std::string_view() : formlines::Trim(rest.substr(0, colon));
    std::string_view cls = formlines::Trim(colon == std::string_view::npos ? rest : rest.substr(colon + 1));
    const size_t end = cls.find_first_of(" [");
    if (end != std::string_view::npos) cls = cls.substr(0, end);
    if (cls.empty()) return std::nullopt;
    return std::make_pair(std::string(name), std::string(cls));
  }
  return std::nullopt;
}

// Whether the objects and collection items opened in a text form are all closed by the last line
// that is not blank: a text form cut short is not read as a form without a table. Fed the form's
// lines one by one, each without the blanks around it.
class CompletenessCheck {
public:
  void Line(std::string_view t) {
    if (t.empty() || broken_) return;
    if (closed_) {
      broken_ = true;  // more after the form's own "end"
      return;
    }
    const auto same = [](std::string_view a, std::string_view b) { return formlines::SameNoCase(a, b); };
    // "object Name: TClass", not a property of that name ("Object = ...").
    auto opens = [&](std::string_view word) {
      if (t.size() <= word.size() + 1 || !same(t.substr(0, word.size()), word) || t[word.size()] != ' ') return false;
      return formlines::Trim(t.substr(word.size()))[0] != '=';
    };
    if (opens("object") || opens("inherited") || opens("inline") || same(t, "item")) {
      ++depth_;
    } else if (same(t, "end") || same(t, "end>")) {  // "end>" closes the last item of a collection
      if (--depth_ == 0) closed_ = true;
    }
  }
  bool Complete() const { return closed_ && !broken_; }

private:
  int depth_ = 0;
  bool closed_ = false, broken_ = false;
};

int ScanFormText(std::string_view text, TEntry& entry, bool* complete, bool written = false) {
  entry.LinesLoaded();
  entry.LinesChanged = false;
  entry.InstanceCount = 0;
  entry.LanguageCount = 0;
  entry.FormClassName.clear();
  entry.Lines.Clear();
  entry.Components.clear();
  const auto lines = formlines::SplitLines(text);
  const formlines::FormScan scan = formlines::ScanLines(text, lines);
  CompletenessCheck check;
  const bool checked = complete && !written;
  for (const auto& l : lines) {
    std::string_view line = text.substr(l.begin, l.end - l.begin);
    const std::string_view t = formlines::Trim(line);
    if (auto c = ObjectLine(t)) entry.Components.push_back(std::move(*c));
    if (!checked) continue;
    if (l.begin == 0 && line.substr(0, 3) == "\xEF\xBB\xBF") check.Line(formlines::Trim(line.substr(3)));  // byte-order mark
    else check.Line(t);
  }
  if (complete) *complete = !scan.className.empty() && (written || check.Complete());
  entry.FormClassName = scan.className;
  entry.InstanceCount = static_cast<int>(scan.blocks.size());
  for (const auto& b : scan.blocks) {
    entry.LanguageCount = b.LanguagesLine() >= 0 ? b.languages : kDefaultLanguages;
    for (const auto& item : b.words.items) entry.Lines.Add(item.notation);
  }
  return entry.InstanceCount;
}

}  // namespace

int ScanFormText(std::string_view text, TEntry& entry) { return ScanFormText(text, entry, nullptr); }

int ScanFormFile(const std::string& formFile, TEntry& entry) {
  entry.FormFile = formFile;
  entry.ReadError.clear();
  std::string text;
  bool written = false;
  try {
    std::string data = formfile::ReadFormFile(formFile);
    const formfile::FileFormat format = formfile::DetectFormat(data);
    if (format == formfile::FileFormat::Text) {
      // Read as it stands: the scan needs lines only, and every rewrite parses what it writes.
      text = std::move(data);
    } else {
      formfile::TextOptions options;
      options.codePage = platform::AnsiCodePage();
      options.placeholders = true;  // the scan reads lines only; rewrites mend the binary
      text = formfile::WriteText(formfile::ReadBinary(data, formFile), options);
      written = true;
    }
  } catch (const std::exception& e) {
    entry.ReadError = e.what();
    text.clear();
  }
  if (!text.empty()) {
    bool complete = false;
    const int count = ScanFormText(text, entry, &complete, written);
    if (complete) return count;
    // A text form cut short would list as a form without a table.
    entry.ReadError = formFile + ": the form file ends before its last \"end\" (is it truncated?)";
  }
  if (entry.ReadError.empty()) entry.ReadError = formFile + ": the form file is empty";
  entry.LinesLoaded();
  entry.LinesChanged = false;
  entry.InstanceCount = entry.LanguageCount = 0;
  entry.FormClassName.clear();
  entry.Lines.Clear();
  entry.Components.clear();
  return 0;
}

// ---- TFPrjList ------------------------------------------------------------------------------------

TFPrjList::TFPrjList(bool askLanguageNames, TProgress progress, bool keepLines)
    : Progress(std::move(progress)), keepLines_(keepLines) {
  toolservices::HostServices* host = toolservices::GetHostServices();
  caption_ = host ? host->HostProjectFile() : std::string();
  if (caption_.empty()) {
    ports::MessageDlg("You did not save your project file yet or no project is open.", ports::mtInformation,
                      {ports::mbOK});
    return;
  }
  const int total = host->HostFormCount();
  rows_.reserve(static_cast<size_t>(std::max(total, 0)));
  TSiblingFiles siblings;  // folders listed once, not once per form
  for (int i = 0; i < total; ++i) {
    const std::string unit = host->HostFormFile(i);
    const std::string pas = siblings.Resolve(unit, ".pas");
    if (host->HostIsFileOpen(unit) || host->HostIsFileOpen(pas)) host->HostSaveFile(unit);
    auto entry = std::make_unique<TEntry>();
    ScanFormFile(siblings.Resolve(unit, ".dfm"), *entry);
    entry->FormName = host->HostFormName(i);
    if (!keepLines_) entry->ReleaseLines();
    rows_.push_back({std::move(entry), false});
    if (Progress) Progress(i + 1, total, rows_.back().entry->FormFile);
  }

  int first = -1;
  for (const Row& row : rows_) {
    if (row.entry->InstanceCount <= 0) continue;
    if (first < 0) {
      first = row.entry->LanguageCount;
    } else if (row.entry->LanguageCount != first) {
      ports::MessageDlg("There are instances of TVorlect with \rdifferent amount of languages.",
                        ports::mtInformation, {ports::mbOK});
      break;
    }
  }

  DllBaseName.clear();
  CompileDllsEnabled = false;
  EmptyStringListsEnabled = false;

  if (askLanguageNames && LanguageNames().Count() == 0 &&
      ports::MessageDlg("You should assign language names to be able to use the spell checker.\r"
                        "Do you want to do this now?",
                        ports::mtConfirmation, {ports::mbYes, ports::mbNo}) == ports::mrYes) {
    if (OpenLanguageSetup) OpenLanguageSetup();
    else LanguageSetupRequested = true;
  }
}

TFPrjList::TFPrjList(std::string caption, std::vector<std::unique_ptr<TEntry>> entries) : caption_(std::move(caption)) {
  for (auto& e : entries) AddRow(std::move(e));
}

int TFPrjList::AddRow(std::unique_ptr<TEntry> entry, bool selected) {
  rows_.push_back({std::move(entry), selected});
  return Count() - 1;
}

void TFPrjList::SetSelected(int index, bool selected) { rows_.at(static_cast<size_t>(index)).selected = selected; }

void TFPrjList::SelectAll() {
  const bool all = SelectedCount() == Count();
  for (Row& row : rows_) row.selected = !all;
}

int TFPrjList::SelectedCount() const {
  return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.selected; }));
}

int TFPrjList::FindByFileName(const std::string& formFile) const {
  const std::string wanted = LowerAscii(FileNamePart(formFile));
  // Import looks up every block of its file: a scan of all rows each time made it quadratic.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (indexed_ > rows_.size()) {  // rows went away: start again
      byFileName_.clear();
      indexed_ = 0;
    }
    for (; indexed_ < rows_.size(); ++indexed_)
      byFileName_.try_emplace(LowerAscii(FileNamePart(rows_[indexed_].entry->FormFile)), static_cast<int>(indexed_));
    const auto it = byFileName_.find(wanted);
    if (it == byFileName_.end()) return -1;
    if (LowerAscii(FileNamePart(rows_[static_cast<size_t>(it->second)].entry->FormFile)) == wanted) return it->second;
    byFileName_.clear();  // a row was given another file since it was indexed
    indexed_ = 0;
  }
  return -1;
}

TRowLines::TRowLines(TFPrjList& catalogue, int row) : entry_(catalogue.Entry(row)), release_(!catalogue.KeepLines()) {
  entry_.LoadLines();
}

TRowLines::~TRowLines() {
  if (release_) entry_.ReleaseLines();
}

// ---- Exchange page --------------------------------------------------------------------------------

bool IsValidExchangeFileName(const std::string& name) {
  if (name.find_first_of("?*") != std::string::npos) return false;
  if (name.empty()) return false;
  const char last = name.back();
  if (last == ':' || last == '\\' || last == '/') return false;
  if (name.size() >= 2 && name.compare(name.size() - 2, 2, ".\\") == 0) return false;
  size_t b = 0;
  while (b < name.size() && static_cast<unsigned char>(name[b]) <= ' ') ++b;
  if (b == name.size()) return false;
  return name[b] != '.';
}

std::optional<std::vector<std::string>> ListExchangeFileForms(const std::string& fileName, std::string_view contents) {
  const std::string ext = ExtensionOf(fileName);
  std::vector<std::string> forms;
  if (ext == ".csv") {
    // The headers import reads: as the exports write them, and as a spreadsheet saves them.
    for (std::string_view line : TextLines(contents)) {
      const std::optional<TCsvHeader> header = CsvHeaderOf(line);
      if (!header) continue;
      std::string file = header->formFile;
      if (file.size() >= 2 && file.front() == '"' && file.back() == '"') {
        std::string inner;
        for (size_t i = 1; i + 1 < file.size(); ++i) {
          inner += file[i];
          if (file[i] == '"' && file[i + 1] == '"') ++i;
        }
        file = std::move(inner);
      }
      forms.push_back(FileNamePart(file));
    }
    return forms;
  }
  if (ext == ".rc") {
    for (std::string_view line : TextLines(contents)) {
      if (line.substr(0, 4) != "    ") continue;
      size_t at = line.find("00, \"%");
      if (at == std::string_view::npos) at = line.find("00, \"$");
      if (at == std::string_view::npos) continue;
      std::string_view rest = line.substr(at + 6);
      if (!rest.empty() && rest.back() == '"') rest.remove_suffix(1);
      std::string name;
      for (size_t i = 0; i < rest.size(); ++i) {
        name += rest[i];
        if (rest[i] == '\\' && i + 1 < rest.size() && rest[i + 1] == '\\') ++i;
      }
      forms.push_back(FileNamePart(name));
    }
    return forms;
  }
  return std::nullopt;
}

}  // namespace vorlect::vle
