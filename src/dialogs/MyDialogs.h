// mydialogs: the common find and replace dialogs as components. Beyond the framework's own
// dialogs they re-title every standard control from published caption properties (so a form's
// translation covers them), report every button click inside the dialog, can add the controls of a
// dialog template, and reopen where the user left them.
//
// The components are the logic; a window (TDialogWindow, the Qt one in ui/MyDialogs.h) shows one
// while it is open and reports back what the user did, as the platform dialog reports to its
// owner.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/framework/Classes.h"

namespace vorlect::dialogs {

// Control identifiers of the standard find and replace dialogs. Templates add controls of their own.
inline constexpr std::uint16_t idOk = 1;  // "Find Next"
inline constexpr std::uint16_t idCancel = 2;
inline constexpr std::uint16_t idHelp = 1038;
inline constexpr std::uint16_t idWholeWord = 1040;
inline constexpr std::uint16_t idMatchCase = 1041;
inline constexpr std::uint16_t idUp = 1056;
inline constexpr std::uint16_t idDown = 1057;
inline constexpr std::uint16_t idDirection = 1072;
inline constexpr std::uint16_t idFindText = 1152;
inline constexpr std::uint16_t idReplaceText = 1153;
inline constexpr std::uint16_t idReplace = 1024;
inline constexpr std::uint16_t idReplaceAll = 1025;
inline constexpr std::uint16_t idFindWhat = 65535;  // the find box's label, a static without its own id
// The replace box's label is a static without an id as well; it gets one here so that it can be
// re-titled on its own.
inline constexpr std::uint16_t idReplaceWith = 65534;

// The translation editor's find template: the standard controls plus the column range.
inline constexpr int kColumnRangeTemplate = 15401;
inline constexpr std::uint16_t idColumnRange = 1073;
inline constexpr std::uint16_t idRadioAll = 1066;
inline constexpr std::uint16_t idRadioCurrent = 1067;

enum TFindOption {
  frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase, frDisableMatchCase,
  frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp
};
using TFindOptions = host::TSet<TFindOption>;

// The flags of the platform's find record.
inline constexpr std::uint32_t FR_DOWN = 0x1, FR_WHOLEWORD = 0x2, FR_MATCHCASE = 0x4, FR_FINDNEXT = 0x8,
                               FR_REPLACE = 0x10, FR_REPLACEALL = 0x20, FR_DIALOGTERM = 0x40, FR_SHOWHELP = 0x80,
                               FR_ENABLEHOOK = 0x100, FR_ENABLETEMPLATE = 0x200, FR_NOUPDOWN = 0x400,
                               FR_NOMATCHCASE = 0x800, FR_NOWHOLEWORD = 0x1000, FR_HIDEUPDOWN = 0x4000,
                               FR_HIDEMATCHCASE = 0x8000, FR_HIDEWHOLEWORD = 0x10000;
std::uint32_t FlagsOf(TFindOptions options);
TFindOptions OptionsOf(std::uint32_t flags);

// ---- dialog templates -------------------------------------------------------------------------

enum class TControlKind { RadioButton, CheckBox, PushButton };
struct TTemplateControl {
  std::uint16_t id;
  TControlKind kind;
  std::string caption;
};
// A framed group of controls added below the standard ones.
struct TTemplateGroup {
  std::uint16_t id;
  std::string caption;
  std::vector<TTemplateControl> controls;
};
struct TDialogTemplate {
  int id;
  std::vector<TTemplateGroup> groups;
};
// The module's dialog templates; nullptr for an identifier it has none for.
const TDialogTemplate* FindDialogTemplate(int id);

// ---- the window -------------------------------------------------------------------------------

struct TPoint {
  int x = 0, y = 0;
  bool operator==(const TPoint&) const = default;
};
struct TSize {
  int width = 0, height = 0;
};

// What a component needs of the window that shows it. The window reports the user's actions to
// the component (Clicked, Notify, WindowDestroyed).
class TDialogWindow {
public:
  virtual ~TDialogWindow() = default;
  virtual void SetControlText(std::uint16_t id, const std::string& text) = 0;  // 8-bit text
  virtual bool IsChecked(std::uint16_t id) const = 0;
  virtual void SetChecked(std::uint16_t id, bool checked) = 0;
  virtual TSize ScreenSize() const = 0;
  virtual TSize FrameSize() const = 0;
  virtual TPoint Position() const = 0;  // of the frame, on the screen
  virtual void MoveTo(TPoint position) = 0;
  virtual void ShowModeless() = 0;
  virtual void BringToTop() = 0;
  // The component is going: close without reporting back.
  virtual void Destroy() = 0;
};

// ---- components -------------------------------------------------------------------------------

using TClickEvent = host::TEvent<host::TObject*, std::uint16_t>;

class TVLCommonDialog : public host::TComponent {
  VORLECT_CLASS(TVLCommonDialog, host::TComponent)
public:
  explicit TVLCommonDialog(host::TComponent* owner);
  ~TVLCommonDialog() override;

  bool Ctl3D = true;
  int HelpContext = 0;
  host::TNotifyEvent OnClose, OnShow;
  TClickEvent OnClickEvent;
  // Captions for the controls 1, 2 and 1038; empty ones leave the platform's texts.
  std::string cOpen, cCancel, cHelp;
  // A dialog template adding controls (0: the platform's dialog as it is).
  int Template = 0;

  // The window while the dialog is shown.
  TDialogWindow* Handle() const { return window_; }
  // The controls of the shown dialog; no effect (false) while it is not shown.
  void SetDlgItemText(std::uint16_t id, const std::string& text);
  bool IsDlgButtonChecked(std::uint16_t id) const;
  void CheckDlgButton(std::uint16_t id, bool checked);

  // Reported by the window.
  void Clicked(std::uint16_t id);  // a button, check box or radio button went down and up
  bool HelpRequested();            // the Help button: true when HelpContext named a topic
  void WindowDestroyed();          // the window went without a dialog-term report

  // Opens a help topic; the window layer installs it. Shared by all dialogs.
  static std::function<void(int helpContext)>& ShowHelpTopic();

protected:
  virtual void NotifyShow();
  virtual void NotifyClose();
  void SetCaption(std::uint16_t id, const std::string& caption);

  TDialogWindow* window_ = nullptr;
};

class TVLFindDialog : public TVLCommonDialog {
  VORLECT_CLASS(TVLFindDialog, TVLCommonDialog)
public:
  static constexpr size_t kMaxText = 255;  // the find record's buffers hold 256 characters with the zero

  explicit TVLFindDialog(host::TComponent* owner);
  ~TVLFindDialog() override;

  const std::string& FindText() const { return findText_; }
  void SetFindText(std::string_view text);  // keeps the first 255 characters
  TFindOptions Options{frDown};
  host::TNotifyEvent OnFind;
  std::string cWholeWord, cFindWhat, cMatchCase, cDirection, cUp, cDown;
  // Where the window was when the user closed it; -1 until then.
  int Left = -1, Top = -1;

  // Shows the modeless dialog, or raises it when it is open already. False when no window could be
  // made for it (no window layer, or a template the module does not have).
  bool ShowDialog();

  // Makes the window for a dialog; when a dialog has none of its own, the one the window layer
  // installed. The window belongs to the window layer; it tells the dialog when it goes.
  using TWindowFactory = std::function<TDialogWindow*(TVLFindDialog&)>;
  TWindowFactory CreateWindow;
  static TWindowFactory& DefaultWindowFactory();

  // The window's report of a button press, as the platform's find record carries it: the state of
  // the options, the action (FR_FINDNEXT, FR_REPLACE, FR_REPLACEALL, FR_DIALOGTERM) and the texts.
  void Notify(std::uint32_t flags, std::string_view findText, std::string_view replaceText = {});

  // Where a new window of this size goes on a screen of that size: the remembered position, else
  // centred across and a third of the way down.
  TPoint Placement(TSize screen, TSize frame) const;

protected:
  void NotifyShow() override;
  // What a report asks for, after Options and the texts have been taken over.
  virtual void Act(std::uint32_t flags);
  virtual void TakeReplaceText(std::string_view) {}

private:
  std::string findText_;
};

class TVLReplaceDialog : public TVLFindDialog {
  VORLECT_CLASS(TVLReplaceDialog, TVLFindDialog)
public:
  explicit TVLReplaceDialog(host::TComponent* owner);

  const std::string& ReplaceText() const { return replaceText_; }
  void SetReplaceText(std::string_view text);  // keeps the first 255 characters
  // Replace or Replace All (Options holds frReplace or frReplaceAll).
  host::TNotifyEvent OnReplace;
  std::string cReplaceWith, cReplace, cReplaceAll;

protected:
  void NotifyShow() override;
  void Act(std::uint32_t flags) override;
  void TakeReplaceText(std::string_view text) override { SetReplaceText(text); }

private:
  std::string replaceText_;
};

// Makes the three classes known to form files.
void RegisterMyDialogs();

}  // namespace vorlect::dialogs
