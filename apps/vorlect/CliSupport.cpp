#include "CliSupport.h"

#include "host/ports/Ports.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "vle/VLSettings.h"
#include "vle/project/ProjectForms.h"
#include "vle/project/VLEMain.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace vorlect::cli {

std::unique_ptr<platform::FileLock> LockProject(const std::string& project) {
  return std::make_unique<platform::FileLock>(project + ".lock", [&project] {
    std::cerr << "vorlect: waiting for another run on " << project << " to finish\n" << std::flush;
  });
}

std::string Utf8Of(std::string_view bytes, int codePage) {
  return platform::Utf16ToUtf8(platform::DecodeCodePage(bytes, codePage));
}

int WholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return 0;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

void CheckSettings() {
  for (platform::RegRoot root : {platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE}) {
    try {
      platform::Registry reg(root);
      reg.GetKeyNames();  // reads and parses the whole hive
    } catch (const platform::RegistryError& e) {
      throw Failure(std::string("the settings are damaged: ") + e.what());
    }
  }
}

void LoadSettings() {
  CheckSettings();
  vle::LoadExpertSettings();
}

std::function<void(int, int, const std::string&)> TerminalProgress() {
  return ::isatty(STDERR_FILENO) ? vle::LineProgress(stderr) : vle::TProgress();
}

}  // namespace vorlect::cli

// ---- Questions ----------------------------------------------------------------------------------




namespace vorlect::cli {

void AddQuestionOptions(CLI::App& command, QuestionOptions& options) {
  auto* yes = command.add_flag("--yes,-y", options.yes, "Answer every question with Yes (or OK)");
  auto* no = command.add_flag("--no,-n", options.no, "Answer every question with No (or Cancel)");
  yes->excludes(no);
}

void AddFormsOption(CLI::App& command, std::string& forms) {
  command.add_option("--forms", forms,
                     "Only these forms (comma-separated): the name in the project's braces, the class name or the "
                     "form file's base name, ignoring case");
}

bool SelectNamedForms(vle::TFPrjList& catalogue, const std::string& forms) {
  const auto unknown = vle::SelectForms(catalogue, vle::SplitFormNames(forms));
  for (const auto& name : unknown) std::cerr << "vorlect: no form of the project is named " << name << "\n";
  return unknown.empty();
}

int ReportUnreadableForms(const vle::TFPrjList& catalogue) {
  int count = 0;
  for (int i = 0; i < catalogue.Count(); ++i) {
    const vle::TEntry& e = catalogue.Entry(i);
    if (!catalogue.Selected(i) || e.ReadError.empty()) continue;
    ++count;
    std::cerr << "vorlect: the form file could not be read: " << e.ReadError << "\n";
  }
  return count;
}

namespace {

// Reads one answer from the terminal: the first letter of a button's name, or the whole name.
std::optional<int> AskOnTerminal(const std::string& msg, ports::MsgDlgType type, ports::ButtonSet buttons) {
  std::string choices;
  for (ports::MsgDlgBtn b : buttons.Buttons()) {
    const int r = ports::ResultOfButton(b);
    if (r == ports::mrNone) continue;
    if (!choices.empty()) choices += '/';
    choices += ports::ResultName(r) + 2;  // "mrYes" -> "Yes"
  }
  std::string text = msg;
  for (char& c : text)
    if (c == '\r') c = '\n';
  text = Utf8Of(text, platform::AnsiCodePage());
  for (;;) {
    std::cerr << text << "\n[" << choices << "]? " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    if (line.empty()) continue;
    for (ports::MsgDlgBtn b : buttons.Buttons()) {
      const int r = ports::ResultOfButton(b);
      if (r == ports::mrNone) continue;
      const std::string name = ports::ResultName(r) + 2;
      const bool whole = line.size() == name.size() &&
                         std::equal(line.begin(), line.end(), name.begin(), [](char a, char b) {
                           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                         });
      const bool letter = line.size() == 1 && std::tolower(static_cast<unsigned char>(line[0])) ==
                                                   std::tolower(static_cast<unsigned char>(name[0]));
      if (whole || letter) return r;
    }
  }
}

// Reads the answer to an input box from the terminal: an empty line keeps the value (OK), "-"
// cancels. At the end of input the box takes its default.
std::optional<std::string> AskInputOnTerminal(const std::string& caption, const std::string& prompt,
                                              const std::string& value, bool keepByDefault) {
  auto utf8 = [](const std::string& ansi) { return Utf8Of(ansi, platform::AnsiCodePage()); };
  std::cerr << utf8(caption) << "\n" << utf8(prompt) << " [" << utf8(value) << "] (Enter keeps it, - cancels)? "
            << std::flush;
  std::string line;
  if (!std::getline(std::cin, line)) return keepByDefault ? std::optional<std::string>(value) : std::nullopt;
  while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
  if (line.empty()) return value;
  if (line == "-") return std::nullopt;
  return platform::EncodeCodePage(platform::Utf8ToUtf16(line), platform::AnsiCodePage());
}

}  // namespace

RunPorts::RunPorts(const QuestionOptions& options)
    : ports_(std::make_unique<ports::CliPorts>(options.yes ? ports::mrYes : ports::mrNo)) {
  if (!options.yes && !options.no && isatty(STDIN_FILENO) && isatty(STDERR_FILENO)) {
    ports_->Ask = [](const std::string& msg, ports::MsgDlgType type, ports::ButtonSet buttons) -> std::optional<int> {
      return AskOnTerminal(msg, type, buttons);
    };
    ports::CliPorts* cli = ports_.get();
    ports_->AskInput = [cli](const std::string& caption, const std::string& prompt,
                             const std::string& value) -> std::optional<std::string> {
      return AskInputOnTerminal(caption, prompt, value, cli->KeepInputValue);
    };
  }
  ports_->KeepInputValue = options.yes;
  previous_ = ports::SetCurrentPorts(ports_.get());
}

RunPorts::~RunPorts() { ports::SetCurrentPorts(previous_); }

}  // namespace vorlect::cli
