#include "dialogs/MyDialogs.h"

#include <array>
#include <utility>

#include "host/framework/TypInfo.h"

namespace vorlect::dialogs {

namespace {

// Option and record flag, both directions.
constexpr std::array<std::pair<TFindOption, std::uint32_t>, 13> kFlags{{
    {frDown, FR_DOWN},
    {frFindNext, FR_FINDNEXT},
    {frHideMatchCase, FR_HIDEMATCHCASE},
    {frHideWholeWord, FR_HIDEWHOLEWORD},
    {frHideUpDown, FR_HIDEUPDOWN},
    {frMatchCase, FR_MATCHCASE},
    {frDisableMatchCase, FR_NOMATCHCASE},
    {frDisableUpDown, FR_NOUPDOWN},
    {frDisableWholeWord, FR_NOWHOLEWORD},
    {frReplace, FR_REPLACE},
    {frReplaceAll, FR_REPLACEALL},
    {frWholeWord, FR_WHOLEWORD},
    {frShowHelp, FR_SHOWHELP},
}};

const host::EnumInfo& FindOptionInfo() {
  static const host::EnumInfo info{"TFindOption",
                                   {"frDown", "frFindNext", "frHideMatchCase", "frHideWholeWord",
                                    "frHideUpDown", "frMatchCase", "frDisableMatchCase", "frDisableUpDown",
                                    "frDisableWholeWord", "frReplace", "frReplaceAll", "frWholeWord",
                                    "frShowHelp"}};
  return info;
}

std::string Truncated(std::string_view text, size_t max) { return std::string(text.substr(0, max)); }

}  // namespace

std::uint32_t FlagsOf(TFindOptions options) {
  std::uint32_t flags = 0;
  for (const auto& [option, flag] : kFlags)
    if (options.Contains(option)) flags |= flag;
  return flags;
}

TFindOptions OptionsOf(std::uint32_t flags) {
  TFindOptions options;
  for (const auto& [option, flag] : kFlags)
    if (flags & flag) options.Include(option);
  return options;
}

const TDialogTemplate* FindDialogTemplate(int id) {
  static const std::vector<TDialogTemplate> templates{
      {kColumnRangeTemplate,
       {{idColumnRange,
         "Column range",
         {{idRadioAll, TControlKind::RadioButton, "&All"}, {idRadioCurrent, TControlKind::RadioButton, "Cu&rrent"}}}}},
  };
  for (const TDialogTemplate& t : templates)
    if (t.id == id) return &t;
  return nullptr;
}

// ---- TVLCommonDialog --------------------------------------------------------------------------

TVLCommonDialog::TVLCommonDialog(host::TComponent* owner) : host::TComponent(owner) {}

TVLCommonDialog::~TVLCommonDialog() {
  if (TDialogWindow* w = std::exchange(window_, nullptr)) w->Destroy();
}

std::function<void(int)>& TVLCommonDialog::ShowHelpTopic() {
  static std::function<void(int)> show;
  return show;
}

void TVLCommonDialog::SetDlgItemText(std::uint16_t id, const std::string& text) {
  if (window_) window_->SetControlText(id, text);
}

bool TVLCommonDialog::IsDlgButtonChecked(std::uint16_t id) const { return window_ && window_->IsChecked(id); }

void TVLCommonDialog::CheckDlgButton(std::uint16_t id, bool checked) {
  if (window_) window_->SetChecked(id, checked);
}

void TVLCommonDialog::Clicked(std::uint16_t id) { OnClickEvent(this, id); }

bool TVLCommonDialog::HelpRequested() {
  if (HelpContext == 0) return false;
  if (ShowHelpTopic()) ShowHelpTopic()(HelpContext);
  return true;
}

void TVLCommonDialog::WindowDestroyed() {
  if (!window_) return;
  // The handlers may still read the controls; the window is forgotten after them.
  NotifyClose();
  window_ = nullptr;
}

void TVLCommonDialog::SetCaption(std::uint16_t id, const std::string& caption) {
  if (!caption.empty()) SetDlgItemText(id, caption);
}

void TVLCommonDialog::NotifyShow() {
  SetCaption(idOk, cOpen);
  SetCaption(idCancel, cCancel);
  SetCaption(idHelp, cHelp);
  OnShow(this);
}

void TVLCommonDialog::NotifyClose() { OnClose(this); }

// ---- TVLFindDialog ----------------------------------------------------------------------------

TVLFindDialog::TVLFindDialog(host::TComponent* owner) : TVLCommonDialog(owner) {}

TVLFindDialog::~TVLFindDialog() {
  // The window must not report to a dialog that is half gone.
  if (TDialogWindow* w = std::exchange(window_, nullptr)) w->Destroy();
}

TVLFindDialog::TWindowFactory& TVLFindDialog::DefaultWindowFactory() {
  static TWindowFactory factory;
  return factory;
}

void TVLFindDialog::SetFindText(std::string_view text) { findText_ = Truncated(text, kMaxText); }

TPoint TVLFindDialog::Placement(TSize screen, TSize frame) const {
  if (Left != -1 || Top != -1) return {Left, Top};
  return {(screen.width - frame.width) / 2, (screen.height - frame.height) / 3};
}

bool TVLFindDialog::ShowDialog() {
  if (window_) {
    window_->BringToTop();
    return true;
  }
  if (Template != 0 && !FindDialogTemplate(Template)) return false;
  const TWindowFactory& make = CreateWindow ? CreateWindow : DefaultWindowFactory();
  if (!make) return false;
  TDialogWindow* w = make(*this);
  if (!w) return false;
  window_ = w;
  w->MoveTo(Placement(w->ScreenSize(), w->FrameSize()));
  NotifyShow();
  w->ShowModeless();
  return true;
}

void TVLFindDialog::NotifyShow() {
  TVLCommonDialog::NotifyShow();
  SetCaption(idWholeWord, cWholeWord);
  SetCaption(idFindWhat, cFindWhat);
  SetCaption(idMatchCase, cMatchCase);
  SetCaption(idDirection, cDirection);
  SetCaption(idUp, cUp);
  SetCaption(idDown, cDown);
}

void TVLFindDialog::Notify(std::uint32_t flags, std::string_view findText, std::string_view replaceText) {
  Options = OptionsOf(flags);
  SetFindText(findText);
  TakeReplaceText(replaceText);
  Act(flags);
}

void TVLFindDialog::Act(std::uint32_t flags) {
  if (flags & FR_FINDNEXT) OnFind(this);
  if ((flags & FR_DIALOGTERM) && window_) {
    const TPoint at = window_->Position();
    Left = at.x;
    Top = at.y;
    WindowDestroyed();
  }
}

// ---- TVLReplaceDialog -------------------------------------------------------------------------

TVLReplaceDialog::TVLReplaceDialog(host::TComponent* owner) : TVLFindDialog(owner) {}

void TVLReplaceDialog::SetReplaceText(std::string_view text) { replaceText_ = Truncated(text, kMaxText); }

void TVLReplaceDialog::NotifyShow() {
  TVLFindDialog::NotifyShow();
  SetCaption(idReplaceWith, cReplaceWith);
  SetCaption(idReplace, cReplace);
  SetCaption(idReplaceAll, cReplaceAll);
}

void TVLReplaceDialog::Act(std::uint32_t flags) {
  if (flags & (FR_REPLACE | FR_REPLACEALL)) OnReplace(this);
  TVLFindDialog::Act(flags);
}

// ---- type information -------------------------------------------------------------------------

const host::ClassInfo& TVLCommonDialog::StaticClass() {
  using C = TVLCommonDialog;
  static const host::ClassInfo info = host::ClassBuilder<C>("TVLCommonDialog")
      .Boolean("Ctl3D", &C::Ctl3D, &C::Ctl3D).Default(true)
      .Integer("HelpContext", &C::HelpContext, &C::HelpContext).Default(0)
      .Event("OnClose", &C::OnClose)
      .Event("OnShow", &C::OnShow)
      .Event("OnClickEvent", &C::OnClickEvent)
      .String("cOpen", &C::cOpen, &C::cOpen)
      .String("cCancel", &C::cCancel, &C::cCancel)
      .String("cHelp", &C::cHelp, &C::cHelp)
      .Build();
  return info;
}

const host::ClassInfo& TVLFindDialog::StaticClass() {
  using C = TVLFindDialog;
  static const host::ClassInfo info = host::ClassBuilder<C>("TVLFindDialog")
      .String("FindText", &C::FindText, &C::SetFindText)
      .Set("Options", &C::Options, &C::Options, FindOptionInfo()).Default(TFindOptions{frDown})
      .Event("OnFind", &C::OnFind)
      .String("cWholeWord", &C::cWholeWord, &C::cWholeWord)
      .String("cFindWhat", &C::cFindWhat, &C::cFindWhat)
      .String("cMatchCase", &C::cMatchCase, &C::cMatchCase)
      .String("cDirection", &C::cDirection, &C::cDirection)
      .String("cUp", &C::cUp, &C::cUp)
      .String("cDown", &C::cDown, &C::cDown)
      .Build();
  return info;
}

const host::ClassInfo& TVLReplaceDialog::StaticClass() {
  using C = TVLReplaceDialog;
  static const host::ClassInfo info = host::ClassBuilder<C>("TVLReplaceDialog")
      .String("ReplaceText", &C::ReplaceText, &C::SetReplaceText)
      .Event("OnReplace", &C::OnReplace)
      .String("cReplaceWith", &C::cReplaceWith, &C::cReplaceWith)
      .String("cReplace", &C::cReplace, &C::cReplace)
      .String("cReplaceAll", &C::cReplaceAll, &C::cReplaceAll)
      .Build();
  return info;
}

void RegisterMyDialogs() {
  host::RegisterClasses(
      {&TVLCommonDialog::StaticClass(), &TVLFindDialog::StaticClass(), &TVLReplaceDialog::StaticClass()});
}

}  // namespace vorlect::dialogs
