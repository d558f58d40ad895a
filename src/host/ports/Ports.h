// Ports: everything logic needs from a screen, behind small interfaces.
//
// Logic calls the free functions (MessageDlg, InputQuery, ...), which go to the process-wide
// current ports. Three implementations: ScriptedPorts for tests (answers queued in advance, every
// message recorded), CliPorts for the command line (messages to a stream, questions answered with
// a default), and a Qt one in the user interface.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vorlect::ports {

// --- Message dialogs, as the original framework has them ---------------------------------------

enum class MsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum MsgDlgType;

enum MsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };

class ButtonSet {
public:
  constexpr ButtonSet() = default;
  constexpr ButtonSet(std::initializer_list<MsgDlgBtn> buttons) {
    for (MsgDlgBtn b : buttons) bits_ |= Bit(b);
  }
  constexpr bool Contains(MsgDlgBtn b) const { return (bits_ & Bit(b)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr ButtonSet operator+(ButtonSet other) const { return FromBits(bits_ | other.bits_); }
  constexpr bool operator==(const ButtonSet&) const = default;
  // In the framework's order (mbYes first).
  std::vector<MsgDlgBtn> Buttons() const;
  // e.g. "[mbYes,mbNo]", for recorded messages and test output.
  std::string ToString() const;

private:
  static constexpr uint32_t Bit(MsgDlgBtn b) { return uint32_t{1} << static_cast<int>(b); }
  static constexpr ButtonSet FromBits(uint32_t bits) {
    ButtonSet s;
    s.bits_ = bits;
    return s;
  }
  uint32_t bits_ = 0;
};

inline constexpr ButtonSet mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr ButtonSet mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline constexpr ButtonSet mbOKCancel{mbOK, mbCancel};
inline constexpr ButtonSet mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline constexpr ButtonSet mbAbortIgnore{mbAbort, mbIgnore};

inline constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                     mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// The result a button gives (mrNone for mbHelp) and the button of a result (nullopt for mrNone).
int ResultOfButton(MsgDlgBtn button);
std::optional<MsgDlgBtn> ButtonOfResult(int result);
const char* ResultName(int result);  // "mrYes", ...

// --- Other value types ---------------------------------------------------------------------------

struct FileDialogOptions {
  std::string title;
  std::string filter;       // "Text files|*.txt|All files|*.*"
  std::string defaultExt;   // without dot, e.g. "csv"
  std::string initialDir;
  std::string fileName;     // proposed name
};

struct FontSpec {
  std::string name = "MS Sans Serif";
  int size = 8;      // points; used when height is 0
  int height = 0;    // pixels, the framework's sign convention (negative = character height)
  bool bold = false, italic = false, underline = false, strikeOut = false;
  // The Windows character set the texts are in (DEFAULT_CHARSET: the ANSI code page).
  std::uint8_t charset = 1;
  // Character height in pixels at 96 dpi.
  int PixelHeight() const;
};

struct TextExtent {
  int width = 0;
  int height = 0;
  bool operator==(const TextExtent&) const = default;
};

// --- The port interfaces -------------------------------------------------------------------------

class DialogPort {
public:
  virtual ~DialogPort() = default;
  // Texts are in the ANSI code page; '\r' (or "\r\n") inside a message is a line break.
  virtual int MessageDlg(const std::string& msg, MsgDlgType type, ButtonSet buttons, int helpCtx) = 0;
  // False when cancelled; `value` holds the proposal on entry and the answer on success.
  virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
};

class FileDialogPort {
public:
  virtual ~FileDialogPort() = default;
  virtual std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) = 0;
};

class ClipboardPort {
public:
  virtual ~ClipboardPort() = default;
  virtual std::string GetClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
};

class SyncPort {
public:
  virtual ~SyncPort() = default;
  // Runs `fn` on the main thread and waits; an exception it throws reaches the caller.
  virtual void Synchronize(const std::function<void()>& fn) = 0;
  // Runs calls queued by other threads; the main thread calls it where it can wait. Returns how
  // many ran. An implementation with its own event loop has nothing to do here.
  virtual int ProcessSynchronizeQueue() { return 0; }
};

class TextMeasurePort {
public:
  virtual ~TextMeasurePort() = default;
  virtual TextExtent MeasureText(std::string_view text, const FontSpec& font) = 0;
  // The height alone: row heights of long tables ask for nothing else, and a port can answer it
  // without laying out the text.
  virtual int MeasureTextHeight(std::string_view text, const FontSpec& font) { return MeasureText(text, font).height; }
};

class Ports : public DialogPort, public FileDialogPort, public ClipboardPort, public SyncPort, public TextMeasurePort {};

// --- Shared pieces of the non-graphical ports ---------------------------------------------------

// Main-thread queue for Synchronize when no event loop exists: the main thread runs calls at
// once; other threads queue them and wait until the main thread calls Process().
class SyncQueue {
public:
  // The process's initial thread is the main thread unless another one is named.
  void SetMainThread(std::thread::id id) { mainThread_ = id; }
  bool OnMainThread() const;
  void Synchronize(const std::function<void()>& fn);
  // Runs the queued calls (main thread only); returns how many ran.
  int Process();

private:
  struct Call;
  std::optional<std::thread::id> mainThread_;
  std::mutex lock_;
  std::condition_variable done_;
  std::deque<Call*> queue_;
};

// Deterministic metrics: a fixed average character width of half the character height, and a
// line height of the character height plus a fifth. Each byte counts one character, so a
// double-byte character counts two, as wide glyphs roughly do.
TextExtent FixedTextExtent(std::string_view text, const FontSpec& font);

// --- Command line --------------------------------------------------------------------------------

class CliPorts : public Ports {
public:
  // `defaultAnswer` answers every question that offers it (mrNo, mrCancel, ...); otherwise the
  // safest offered answer is taken: Cancel, No, Abort, Ignore, OK, then the first button.
  explicit CliPorts(int defaultAnswer = mrCancel);
  CliPorts(int defaultAnswer, std::ostream& out);

  int MessageDlg(const std::string& msg, MsgDlgType type, ButtonSet buttons, int helpCtx) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override;
  std::string GetClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  void Synchronize(const std::function<void()>& fn) override { sync_.Synchronize(fn); }
  int ProcessSynchronizeQueue() override { return sync_.Process(); }
  TextExtent MeasureText(std::string_view text, const FontSpec& font) override { return FixedTextExtent(text, font); }

  SyncQueue& Sync() { return sync_; }
  int DefaultAnswer() const { return defaultAnswer_; }

  // Asks the user (e.g. on a terminal); nullopt falls back to the default answer. The message
  // is printed afterwards with the answer taken.
  std::function<std::optional<int>(const std::string& msg, MsgDlgType type, ButtonSet buttons)> Ask;
  // Answers an input box (e.g. on a terminal): the text entered, or nullopt for Cancel.
  std::function<std::optional<std::string>(const std::string& caption, const std::string& prompt,
                                           const std::string& value)>
      AskInput;
  // Without AskInput, an input box is answered OK with its initial value when this is true, and
  // Cancel otherwise.
  bool KeepInputValue = false;

private:
  void Print(const std::string& ansiText);

  int defaultAnswer_;
  std::ostream* out_;
  std::mutex lock_;
  std::string clipboard_;
  SyncQueue sync_;
};

// --- Tests ---------------------------------------------------------------------------------------

// Thrown when a script has no answer for a question, or a queued answer does not fit it.
class ScriptError : public std::logic_error {
public:
  using std::logic_error::logic_error;
};

class ScriptedPorts : public Ports {
public:
  struct Message {
    std::string text;
    MsgDlgType type;
    ButtonSet buttons;
    int helpCtx = 0;
    int result = mrNone;
  };
  struct Input {
    std::string caption, prompt, proposed;
  };
  struct FileDialog {
    bool save;
    FileDialogOptions options;
  };

  // Answers are consumed in order. A message offering only OK (ShowMessage) needs no answer.
  void queueAnswer(int modalResult);
  // nullopt answers "Cancel".
  void queueInput(std::optional<std::string> value);
  void queueFile(std::optional<std::string> path);

  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<Input>& inputs() const { return inputs_; }
  const std::vector<FileDialog>& fileDialogs() const { return fileDialogs_; }
  // Queued answers nobody asked for; a finished test expects none.
  size_t pendingAnswers() const { return answers_.size() + inputAnswers_.size() + fileAnswers_.size(); }
  void clear();

  int MessageDlg(const std::string& msg, MsgDlgType type, ButtonSet buttons, int helpCtx) override;
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override;
  std::string GetClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  void Synchronize(const std::function<void()>& fn) override { sync_.Synchronize(fn); }
  int ProcessSynchronizeQueue() override { return sync_.Process(); }
  TextExtent MeasureText(std::string_view text, const FontSpec& font) override { return FixedTextExtent(text, font); }

  SyncQueue& Sync() { return sync_; }

private:
  std::optional<std::string> FileAnswer(bool save, const FileDialogOptions& options);

  mutable std::mutex lock_;
  std::deque<int> answers_;
  std::deque<std::optional<std::string>> inputAnswers_;
  std::deque<std::optional<std::string>> fileAnswers_;
  std::vector<Message> messages_;
  std::vector<Input> inputs_;
  std::vector<FileDialog> fileDialogs_;
  std::string clipboard_;
  SyncQueue sync_;
};

// --- The process-wide current ports ---------------------------------------------------------------

// The current ports; a CliPorts answering mrCancel until something else is set.
Ports& CurrentPorts();
// Sets the current ports (null restores the default) and returns the previous ones. The caller
// keeps ownership and must keep them alive while they are current.
Ports* SetCurrentPorts(Ports* ports);

// Makes `ports` current for a scope, e.g. a test.
class ScopedPorts {
public:
  explicit ScopedPorts(Ports& ports) : previous_(SetCurrentPorts(&ports)) {}
  ~ScopedPorts() { SetCurrentPorts(previous_); }
  ScopedPorts(const ScopedPorts&) = delete;
  ScopedPorts& operator=(const ScopedPorts&) = delete;

private:
  Ports* previous_;
};

int MessageDlg(const std::string& msg, MsgDlgType type, ButtonSet buttons, int helpCtx = 0);
void ShowMessage(const std::string& msg);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
std::optional<std::string> OpenFileDialog(const FileDialogOptions& options);
std::optional<std::string> SaveFileDialog(const FileDialogOptions& options);
std::string GetClipboardText();
void SetClipboardText(const std::string& text);
void Synchronize(const std::function<void()>& fn);
int ProcessSynchronizeQueue();
TextExtent MeasureText(std::string_view text, const FontSpec& font);
int TextWidth(std::string_view text, const FontSpec& font);
int TextHeight(std::string_view text, const FontSpec& font);

}  // namespace vorlect::ports
