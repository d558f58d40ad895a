// The common dialogs. They are non-visual: their design position is not a published property
// (TComponent streams it as Left/Top).
#pragma once

#include "host/framework/controls/StockCommon.h"

#include <memory>
#include <string>

namespace vorlect::host {

class TCommonDialog : public TComponent {
  VORLECT_CLASS(TCommonDialog, TComponent)
public:
  explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
  bool Ctl3D = true;
  int HelpContext = 0;
  TNotifyEvent OnClose, OnShow;
};

enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent,
  ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;
const EnumInfo& OpenOptionInfo();

class TOpenDialog : public TCommonDialog {
  VORLECT_CLASS(TOpenDialog, TCommonDialog)
public:
  explicit TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}
  std::string DefaultExt, FileName, Filter, InitialDir, Title;
  int FileEditStyle = 0;  // fsEdit
  int FilterIndex = 1;
  TOpenOptions Options{ofHideReadOnly, ofEnableSizing};
  int OptionsEx = 0;
  TStrings* HistoryList() const { return historyList_.get(); }
  void SetHistoryList(TStrings* v) { if (v) historyList_->Assign(*v); }
  TNotifyEvent OnCanClose, OnFolderChange, OnIncludeItem, OnSelectionChange, OnTypeChange;

private:
  std::unique_ptr<TStringList> historyList_ = std::make_unique<TStringList>();
};

class TSaveDialog : public TOpenDialog {
  VORLECT_CLASS(TSaveDialog, TOpenDialog)
public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
};

class TFontDialog : public TCommonDialog {
  VORLECT_CLASS(TFontDialog, TCommonDialog)
public:
  explicit TFontDialog(TComponent* owner) : TCommonDialog(owner) {}
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v) { if (v) font_->Assign(*v); }
  int Device = 0;  // fdScreen
  int MinFontSize = 0, MaxFontSize = 0;
  std::uint64_t Options = 1u << 3;  // [fdEffects]
  TNotifyEvent OnApply;

private:
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
};

class TColorDialog : public TCommonDialog {
  VORLECT_CLASS(TColorDialog, TCommonDialog)
public:
  explicit TColorDialog(TComponent* owner) : TCommonDialog(owner) {}
  TColor Color = clBlack;
  TStrings* CustomColors() const { return customColors_.get(); }
  void SetCustomColors(TStrings* v) { if (v) customColors_->Assign(*v); }
  std::uint64_t Options = 0;

private:
  std::unique_ptr<TStringList> customColors_ = std::make_unique<TStringList>();
};

class TPrintDialog : public TCommonDialog {
  VORLECT_CLASS(TPrintDialog, TCommonDialog)
public:
  explicit TPrintDialog(TComponent* owner) : TCommonDialog(owner) {}
  bool Collate = false, PrintToFile = false;
  int Copies = 0, FromPage = 0, MinPage = 0, MaxPage = 0, PrintRange = 0, ToPage = 0;
  std::uint64_t Options = 0;
};

class TFindDialog : public TCommonDialog {
  VORLECT_CLASS(TFindDialog, TCommonDialog)
public:
  explicit TFindDialog(TComponent* owner) : TCommonDialog(owner) {}
  std::string FindText;
  std::uint64_t Options = 1u;  // [frDown]
  TNotifyEvent OnFind;
};

class TReplaceDialog : public TFindDialog {
  VORLECT_CLASS(TReplaceDialog, TFindDialog)
public:
  explicit TReplaceDialog(TComponent* owner) : TFindDialog(owner) {}
  std::string ReplaceText;
  TNotifyEvent OnReplace;
};

void RegisterDialogs();

}  // namespace vorlect::host
