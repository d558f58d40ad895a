#include "host/ports/Ports.h"

#include "platform/CodePages.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <iostream>

#include <unistd.h>

namespace vorlect::ports {
namespace {

constexpr MsgDlgBtn kAllButtons[] = {mbYes, mbNo,     mbOK,      mbCancel,   mbAbort, mbRetry,
                                     mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp};
constexpr const char* kButtonNames[] = {"mbYes",   "mbNo",  "mbOK",      "mbCancel",   "mbAbort", "mbRetry",
                                        "mbIgnore", "mbAll", "mbNoToAll", "mbYesToAll", "mbHelp"};

const char* TypeCaption(MsgDlgType type) {
  switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
  }
  return "Message";
}

// '\r' and "\r\n" become line feeds.
std::string LineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

bool OnlyOk(ButtonSet buttons) { return buttons.Empty() || buttons == ButtonSet{mbOK} || buttons == ButtonSet{mbOK, mbHelp}; }

CliPorts& DefaultPorts() {
  static CliPorts ports(mrCancel);
  return ports;
}

std::atomic<Ports*> g_current{nullptr};

}  // namespace

// --- Buttons ---------------------------------------------------------------------------------------

std::vector<MsgDlgBtn> ButtonSet::Buttons() const {
  std::vector<MsgDlgBtn> result;
  for (MsgDlgBtn b : kAllButtons)
    if (Contains(b)) result.push_back(b);
  return result;
}

std::string ButtonSet::ToString() const {
  std::string s = "[";
  for (MsgDlgBtn b : Buttons()) {
    if (s.size() > 1) s.push_back(',');
    s += kButtonNames[b];
  }
  return s + "]";
}

int ResultOfButton(MsgDlgBtn button) {
  switch (button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    case mbHelp: break;
  }
  return mrNone;
}

std::optional<MsgDlgBtn> ButtonOfResult(int result) {
  for (MsgDlgBtn b : kAllButtons)
    if (b != mbHelp && ResultOfButton(b) == result) return b;
  return std::nullopt;
}

const char* ResultName(int result) {
  static const char* const names[] = {"mrNone", "mrOk", "mrCancel", "mrAbort",   "mrRetry",   "mrIgnore",
                                      "mrYes",  "mrNo", "mrAll",    "mrNoToAll", "mrYesToAll"};
  return result >= 0 && result <= mrYesToAll ? names[result] : "mr?";
}

// --- Metrics -------------------------------------------------------------------------------------

int FontSpec::PixelHeight() const {
  if (height != 0) return std::abs(height);
  return std::max(1, static_cast<int>(std::lround(std::abs(size) * 96.0 / 72.0)));
}

TextExtent FixedTextExtent(std::string_view text, const FontSpec& font) {
  const int pixels = font.PixelHeight();
  const int charWidth = std::max(1, (pixels + 1) / 2) + (font.bold ? 1 : 0);
  const int lineHeight = pixels + pixels / 5;
  size_t longest = 0, current = 0;
  int lines = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      longest = std::max(longest, current);
      current = 0;
      ++lines;
    } else {
      ++current;
    }
  }
  longest = std::max(longest, current);
  return {static_cast<int>(longest) * charWidth, lines * lineHeight};
}

// --- Synchronize ---------------------------------------------------------------------------------

struct SyncQueue::Call {
  const std::function<void()>* fn;
  std::exception_ptr error;
  bool finished = false;
};

bool SyncQueue::OnMainThread() const {
  if (mainThread_) return std::this_thread::get_id() == *mainThread_;
  return ::gettid() == ::getpid();
}

void SyncQueue::Synchronize(const std::function<void()>& fn) {
  if (OnMainThread()) {
    fn();
    return;
  }
  Call call{&fn, nullptr, false};
  std::unique_lock guard(lock_);
  queue_.push_back(&call);
  done_.wait(guard, [&] { return call.finished; });
  if (call.error) std::rethrow_exception(call.error);
}

int SyncQueue::Process() {
  int count = 0;
  while (true) {
    Call* call;
    {
      std::lock_guard guard(lock_);
      if (queue_.empty()) break;
      call = queue_.front();
      queue_.pop_front();
    }
    try {
      (*call->fn)();
    } catch (...) {
      call->error = std::current_exception();
    }
    {
      std::lock_guard guard(lock_);
      call->finished = true;
    }
    done_.notify_all();
    ++count;
  }
  return count;
}

// --- CliPorts ------------------------------------------------------------------------------------

CliPorts::CliPorts(int defaultAnswer) : CliPorts(defaultAnswer, std::cerr) {}
CliPorts::CliPorts(int defaultAnswer, std::ostream& out) : defaultAnswer_(defaultAnswer), out_(&out) {}

void CliPorts::Print(const std::string& ansiText) {
  // The terminal speaks UTF-8; our texts are in the ANSI code page.
  const int cp = platform::AnsiCodePage();
  const std::string text = platform::Utf16ToUtf8(platform::DecodeCodePage(LineFeeds(ansiText), cp));
  std::lock_guard guard(lock_);
  *out_ << text << '\n';
  out_->flush();
}

int CliPorts::MessageDlg(const std::string& msg, MsgDlgType type, ButtonSet buttons, int helpCtx) {
  int result = mrOk;
  if (!OnlyOk(buttons)) {
    const auto preferred = ButtonOfResult(defaultAnswer_);
    std::optional<int> asked;
    if (Ask) asked = Ask(msg, type, buttons);
    if (asked) {
      result = *asked;
    } else if (preferred && buttons.Contains(*preferred)) {
      result = defaultAnswer_;
    } else if (defaultAnswer_ == mrYes && (buttons.Contains(mbOK) || buttons.Contains(mbAll))) {
      // Answering yes to every question also accepts an OK/Cancel one.
      result = buttons.Contains(mbOK) ? mrOk : mrAll;
    } else {
      result = mrNone;
      for (MsgDlgBtn b : {mbCancel, mbNo, mbAbort, mbIgnore, mbOK})
        if (buttons.Contains(b)) {
          result = ResultOfButton(b);
          break;
        }
      if (result == mrNone)
        for (MsgDlgBtn b : buttons.Buttons())
          if ((result = ResultOfButton(b)) != mrNone) break;
    }
  }
  std::string line = std::string(TypeCaption(type)) + ": " + msg;
  if (!OnlyOk(buttons)) {
    const auto button = ButtonOfResult(result);
    line += std::string(" ") + buttons.ToString() + " -> " + (button ? kButtonNames[*button] + 2 : "none");
  }
  Print(line);
  return result;
}

bool CliPorts::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  const std::string asked = caption + ": " + prompt + " [" + value + "] -> ";
  if (AskInput) {
    std::optional<std::string> answer = AskInput(caption, prompt, value);
    Print(asked + (answer ? "\"" + *answer + "\"" : std::string("cancelled")));
    if (!answer) return false;
    value = std::move(*answer);
    return true;
  }
  if (KeepInputValue) {
    Print(asked + "OK");
    return true;
  }
  Print(asked + "cancelled (no terminal input)");
  return false;
}

std::optional<std::string> CliPorts::OpenFileDialog(const FileDialogOptions& options) {
  Print((options.title.empty() ? std::string("Open") : options.title) + " -> cancelled (no file dialog)");
  return std::nullopt;
}

std::optional<std::string> CliPorts::SaveFileDialog(const FileDialogOptions& options) {
  Print((options.title.empty() ? std::string("Save as") : options.title) + " -> cancelled (no file dialog)");
  return std::nullopt;
}

// The command line has no desktop clipboard; copy and paste work within the process.
std::string CliPorts::GetClipboardText() {
  std::lock_guard guard(lock_);
  return clipboard_;
}

void CliPorts::SetClipboardText(const std::string& text) {
  std::lock_guard guard(lock_);
  clipboard_ = text;
}

// --- ScriptedPorts -------------------------------------------------------------------------------

void ScriptedPorts::queueAnswer(int modalResult) {
  std::lock_guard guard(lock_);
  answers_.push_back(modalResult);
}

void ScriptedPorts::queueInput(std::optional<std::string> value) {
  std::lock_guard guard(lock_);
  inputAnswers_.push_back(std::move(value));
}

void ScriptedPorts::queueFile(std::optional<std::string> path) {
  std::lock_guard guard(lock_);
  fileAnswers_.push_back(std::move(path));
}

void ScriptedPorts::clear() {
  std::lock_guard guard(lock_);
  answers_.clear();
  inputAnswers_.clear();
  fileAnswers_.clear();
  messages_.clear();
  inputs_.clear();
  fileDialogs_.clear();
}

int ScriptedPorts::MessageDlg(const std::string& msg, MsgDlgType type, ButtonSet buttons, int helpCtx) {
  std::lock_guard guard(lock_);
  Message message{msg, type, buttons, helpCtx, mrOk};
  if (!OnlyOk(buttons)) {
    if (answers_.empty()) {
      messages_.push_back(message);
      throw ScriptError("unexpected question (no answer queued): \"" + msg + "\" " + buttons.ToString());
    }
    const int answer = answers_.front();
    const auto button = ButtonOfResult(answer);
    if (!button || !buttons.Contains(*button)) {
      messages_.push_back(message);
      throw ScriptError(std::string("queued answer ") + ResultName(answer) + " is not offered by \"" + msg + "\" " +
                        buttons.ToString());
    }
    answers_.pop_front();
    message.result = answer;
  }
  messages_.push_back(message);
  return message.result;
}

bool ScriptedPorts::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  std::lock_guard guard(lock_);
  inputs_.push_back({caption, prompt, value});
  if (inputAnswers_.empty()) throw ScriptError("unexpected input query (no input queued): \"" + prompt + "\"");
  std::optional<std::string> answer = std::move(inputAnswers_.front());
  inputAnswers_.pop_front();
  if (!answer) return false;
  value = std::move(*answer);
  return true;
}

std::optional<std::string> ScriptedPorts::FileAnswer(bool save, const FileDialogOptions& options) {
  std::lock_guard guard(lock_);
  fileDialogs_.push_back({save, options});
  if (fileAnswers_.empty())
    throw ScriptError(std::string("unexpected ") + (save ? "save" : "open") + " dialog (no file queued): \"" +
                      options.title + "\"");
  std::optional<std::string> answer = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedPorts::OpenFileDialog(const FileDialogOptions& options) {
  return FileAnswer(false, options);
}

std::optional<std::string> ScriptedPorts::SaveFileDialog(const FileDialogOptions& options) {
  return FileAnswer(true, options);
}

std::string ScriptedPorts::GetClipboardText() {
  std::lock_guard guard(lock_);
  return clipboard_;
}

void ScriptedPorts::SetClipboardText(const std::string& text) {
  std::lock_guard guard(lock_);
  clipboard_ = text;
}

// --- Current ports and free functions -----------------------------------------------------------

Ports& CurrentPorts() {
  Ports* p = g_current.load();
  return p ? *p : DefaultPorts();
}

Ports* SetCurrentPorts(Ports* ports) {
  Ports* previous = g_current.exchange(ports);
  return previous;
}

int MessageDlg(const std::string& msg, MsgDlgType type, ButtonSet buttons, int helpCtx) {
  return CurrentPorts().MessageDlg(msg, type, buttons, helpCtx);
}

void ShowMessage(const std::string& msg) { CurrentPorts().MessageDlg(msg, mtCustom, ButtonSet{mbOK}, 0); }

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  return CurrentPorts().InputQuery(caption, prompt, value);
}

std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) {
  return CurrentPorts().OpenFileDialog(options);
}

std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) {
  return CurrentPorts().SaveFileDialog(options);
}

std::string GetClipboardText() { return CurrentPorts().GetClipboardText(); }
void SetClipboardText(const std::string& text) { CurrentPorts().SetClipboardText(text); }
void Synchronize(const std::function<void()>& fn) { CurrentPorts().Synchronize(fn); }
int ProcessSynchronizeQueue() { return CurrentPorts().ProcessSynchronizeQueue(); }
TextExtent MeasureText(std::string_view text, const FontSpec& font) { return CurrentPorts().MeasureText(text, font); }
int TextWidth(std::string_view text, const FontSpec& font) { return MeasureText(text, font).width; }
int TextHeight(std::string_view text, const FontSpec& font) { return CurrentPorts().MeasureTextHeight(text, font); }

}  // namespace vorlect::ports
