#include "vle/dllmaker/FDllMaker.h"

#include "platform/Files.h"
#include "platform/pe/LanguageCodePages.h"
#include "process/DosLib2.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vorlect::vle {

namespace fs = std::filesystem;

// ---- output capture -----------------------------------------------------------------------------

void TOutputCollector::Clear() {
  lines_.clear();
  partial_.clear();
  afterCr_ = false;
}

void TOutputCollector::Add(char ch) {
  if (ch == '\r') {
    EndLine();
    afterCr_ = true;
    return;
  }
  if (ch == '\n') {
    if (!afterCr_) EndLine();
  } else {
    partial_ += ch;
  }
  afterCr_ = false;
}

void TOutputCollector::Finish() {
  if (!partial_.empty()) EndLine();
  partial_.clear();
  afterCr_ = false;
}

void TOutputCollector::EndLine() {
  lines_.push_back(std::move(partial_));
  partial_.clear();
  if (OnLine) OnLine(lines_.back());
}

TToolRunner::TToolRunner() : Process(nullptr) {
  Process.SetUseShow(process::kCaptureOutput);
  Process.OnRedirectChar = [this](host::TObject*, char ch) { Output.Add(ch); };
}

void TToolRunner::Run(const std::string& command) {
  Output.Clear();
  Process.SetUseWait(true);
  Process.SetUseComSpec(false);
  Process.SetUseShow(process::kCaptureOutput);  // a captured run leaves it at 0
  Process.SetCommand(command);
  try {
    Process.Execute();
  } catch (const std::exception&) {
    // Whether the tool did its work shows in its output file alone.
  }
  Output.Finish();
}

// ---- the build ----------------------------------------------------------------------------------

std::string GeneratedLibrarySource(const std::string& fileBase) {
  return "// Generated for TVorlect\n"
         "library " + fileBase + ";\n"
         "{$R " + fileBase + ".res}\n"
         "begin\n"
         "end.\n";
}

std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote itself escaped.
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');  // before the closing quote
  out += '"';
  return out;
}

namespace {

using AddLine = std::function<void(const std::string&)>;

class Build {
public:
  Build(const TDllBuildSettings& s, TToolRunner& runner, const AddLine& add)
      : s_(s), runner_(runner), add_(add) {}

  std::string Path(const std::string& name) const {
    if (s_.Folder.empty()) return name;
    return s_.Folder.back() == '/' ? s_.Folder + name : s_.Folder + "/" + name;
  }

  bool Exists(const std::string& name) const {
    std::error_code ec;
    return fs::exists(fs::symlink_status(Path(name), ec));
  }

  // Makes the file writable and deletes it; false (with its line) when it is still there.
  bool DeleteExisting(const std::string& name) {
    if (!Exists(name)) return true;
    const std::string path = Path(name);
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
    std::error_code ec;
    fs::remove(path, ec);
    if (!Exists(name)) return true;
    add_(kMsgCannotDelete + name);
    return false;
  }

  void RunTool(const std::string& tool, const std::string& options, const std::string& name) {
    // The tool path is quoted: tools are often installed below folders with blanks.
    runner_.Run(process::QuoteProgram(tool) + options + " " + QuoteArgument(Path(name)));
  }

  void AddOutput() {
    for (const std::string& line : runner_.Output.Lines()) add_(line);
  }

  std::string ResourceOptions(int index) const {
    const std::uint16_t id = s_.LanguageId ? s_.LanguageId(index) : 0;
    if (id == 0) return {};
    std::string options;
    if (const int cp = platform::AnsiCodePageOfLangId(id)) options += " --codepage " + std::to_string(cp);
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", id);
    return options + " --language " + hex;
  }

  const TDllBuildSettings& s_;
  TToolRunner& runner_;
  const AddLine& add_;
};

}  // namespace

TDllBuildResult BuildStringDlls(const TDllBuildSettings& settings, TToolRunner& runner, const AddLine& addLine,
                                const std::function<bool()>& stopRequested) {
  TDllBuildResult result;
  Build b(settings, runner, addLine);
  auto stop = [&] { return stopRequested && stopRequested(); };
  for (int i = 1;; ++i) {
    const std::string f = settings.BaseName + std::to_string(i);
    if (!b.Exists(f + ".rc")) break;

    if (!b.DeleteExisting(f + ".res") || stop()) return result;
    b.RunTool(settings.Tools.ResourceCompiler, b.ResourceOptions(i - 1), f + ".rc");
    if (stop()) return result;
    if (!b.Exists(f + ".res")) {
      addLine(kMsgCouldNotCompileScript + f + ".rc");
      b.AddOutput();
      return result;
    }
    addLine(kMsgCompiledScript + f + ".rc to " + f + ".res");

    if (!b.DeleteExisting(f + ".dpr")) return result;
    try {
      platform::WriteFileAtomic(b.Path(f + ".dpr"), GeneratedLibrarySource(f));
      addLine(kMsgGenerateSource + f + ".dpr");
    } catch (const std::exception&) {
      addLine(kMsgCouldNotGenerate + f + ".dpr");
    }

    if (!b.DeleteExisting(f + ".dll") || stop()) return result;
    b.RunTool(settings.Tools.Compiler, {}, f + ".dpr");
    if (stop()) return result;
    if (!b.Exists(f + ".dll")) {
      addLine(kMsgCouldNotCompileDll + f + ".dpr");
      b.AddOutput();
      return result;
    }
    addLine(kMsgCompiledDll + f + ".dpr to " + f + ".dll");
    ++result.Built;
  }
  result.Completed = true;
  return result;
}

// ---- progress dialog ----------------------------------------------------------------------------

const std::vector<std::string>& TFrmDLLProgress::Explanation() {
  static const std::vector<std::string> lines = {
      "To generate String-DLLs with your translations, the following has to be ",
      "done:",
      "",
      "* translate your RC (text) files into RES (binary) files",
      "* create a DPR file for each language",
      "* translate each DPR into a DLL",
  };
  return lines;
}

TFrmDLLProgress::TFrmDLLProgress(TToolRunner& runner, TDllBuildSettings settings, std::function<void()> onBuilt)
    : runner_(runner), settings_(std::move(settings)), onBuilt_(std::move(onBuilt)) {}

std::string TFrmDLLProgress::Caption() const { return "Create " + settings_.BaseName + "*.dll"; }

void TFrmDLLProgress::FormShow() {
  Progress.clear();
  GoEnabled = true;
  OkInFront = false;
  OkEnabled = false;
  StopRequested = false;
}

bool TFrmDLLProgress::BtnGoClick() {
  if (!GoEnabled) return false;
  GoEnabled = false;
  process::TRunProcess& p = runner_.Process;
  if (OnWait) {
    p.SetKillOnAbort(true);  // a tool stopped half-way must not write its file afterwards
    p.OnTaskSwitch = [this](host::TObject*, bool& goOn) {
      OnWait();
      goOn = !StopRequested;
    };
  }
  // Restored also when a progress handler throws.
  struct Restore {
    TFrmDLLProgress& dlg;
    bool waitHook;
    ~Restore() {
      dlg.building_ = false;
      if (waitHook) {
        dlg.runner_.Process.OnTaskSwitch.ClearCode();
        dlg.runner_.Process.SetKillOnAbort(false);
      }
    }
  } restore{*this, static_cast<bool>(OnWait)};
  building_ = true;
  runner_.Output.OnLine = OnToolOutput;
  struct TOutputHook {
    TToolRunner& runner;
    ~TOutputHook() { runner.Output.OnLine = nullptr; }
  } outputHook{runner_};
  const TDllBuildResult r = BuildStringDlls(
      settings_, runner_,
      [this](const std::string& line) {
        Progress.push_back(line);
        if (OnProgress) OnProgress(line);
      },
      [this] { return StopRequested; });
  if (!r.Completed) return false;  // the dialog stays with "&Go!" and OK disabled
  if (onBuilt_) onBuilt_();
  OkInFront = true;
  OkEnabled = true;
  return true;
}

bool TFrmDLLProgress::BtnCancelClick() {
  if (building_) {
    StopRequested = true;
    return false;
  }
  return true;
}

}  // namespace vorlect::vle
