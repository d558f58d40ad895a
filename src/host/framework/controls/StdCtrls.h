// The standard controls: labels, buttons, check boxes, edits, memos, group boxes, list and combo
// boxes, scroll bars, static texts, masked edits.
#pragma once

#include "host/framework/controls/StockCommon.h"

#include <memory>
#include <string>

namespace vorlect::host {

class TCustomLabel : public TGraphicControl {
  VORLECT_CLASS(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* owner);
  TAlignment Alignment = taLeftJustify;
  TTextLayout Layout = tlTop;
  bool ShowAccelChar = true;
  bool Transparent = false;
  bool WordWrap = false;
  int EllipsisPosition = 0;
  int GlowSize = 0;
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* c);
  void Notification(TComponent* component, TOperation operation) override;

private:
  TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
  VORLECT_CLASS(TLabel, TCustomLabel)
public:
  explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

class TButtonControl : public TWinControl {
  VORLECT_CLASS(TButtonControl, TWinControl)
public:
  explicit TButtonControl(TComponent* owner) : TWinControl(owner) {}
  bool WordWrap = false;
};

enum TButtonStyle { bsPushButton, bsCommandLink, bsSplitButton };
enum TImageAlignment { iaLeft, iaRight, iaTop, iaBottom, iaCenter };
const EnumInfo& ButtonStyleInfo();
const EnumInfo& ImageAlignmentInfo();

// TButton's data and declarations; TButton and TBitBtn publish them each in their own order.
class TCustomButton : public TButtonControl {
  VORLECT_CLASS(TCustomButton, TButtonControl)
public:
  explicit TCustomButton(TComponent* owner);
  bool Cancel = false;
  bool Default = false;
  int ModalResult = 0;
  std::string CommandLinkHint;
  bool ElevationRequired = false;
  TImageAlignment ImageAlignment = iaLeft;
  int ImageIndex = -1;
  int DisabledImageIndex = -1, HotImageIndex = -1, PressedImageIndex = -1, SelectedImageIndex = -1;
  TButtonStyle Style = bsPushButton;
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v) { images_ = v; }
  TComponent* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(TComponent* v) { dropDownMenu_ = v; }
  TNotifyEvent OnDropDownClick;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TComponent* images_ = nullptr;
  TComponent* dropDownMenu_ = nullptr;
};

class TButton : public TCustomButton {
  VORLECT_CLASS(TButton, TCustomButton)
public:
  explicit TButton(TComponent* owner) : TCustomButton(owner) {}
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
const EnumInfo& CheckBoxStateInfo();
const EnumInfo& LeftRightInfo();

class TCustomCheckBox : public TButtonControl {
  VORLECT_CLASS(TCustomCheckBox, TButtonControl)
public:
  explicit TCustomCheckBox(TComponent* owner);
  int Alignment = 1;  // taRightJustify
  bool AllowGrayed = false;
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState s) { state_ = s; }
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool v) { state_ = v ? cbChecked : cbUnchecked; }
  bool IsCheckedStored() const { return state_ != cbGrayed; }

private:
  TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  VORLECT_CLASS(TCheckBox, TCustomCheckBox)
public:
  explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

class TRadioButton : public TButtonControl {
  VORLECT_CLASS(TRadioButton, TButtonControl)
public:
  explicit TRadioButton(TComponent* owner);
  int Alignment = 1;  // taRightJustify
  bool Checked = false;
};

class TCustomEdit : public TWinControl {
  VORLECT_CLASS(TCustomEdit, TWinControl)
public:
  explicit TCustomEdit(TComponent* owner);
  TAlignment Alignment = taLeftJustify;
  bool AutoSelect = true;
  TBorderStyle BorderStyle = bsSingle_;
  TEditCharCase CharCase = ecNormal;
  bool HideSelection = true;
  int MaxLength = 0;
  bool NumbersOnly = false;
  bool OEMConvert = false;
  char PasswordChar = '\0';
  bool ReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool v) { readOnly_ = v; }
  std::string TextHint;
  TNotifyEvent OnChange;

private:
  bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
  VORLECT_CLASS(TEdit, TCustomEdit)
public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// A memo's Text is its Lines joined with line breaks.
class TCustomMemo : public TCustomEdit {
  VORLECT_CLASS(TCustomMemo, TCustomEdit)
public:
  explicit TCustomMemo(TComponent* owner);
  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* v) { if (v) lines_->Assign(*v); }
  TScrollStyle ScrollBars = ssNone;
  bool WantReturns = true;
  bool WantTabs = false;
  bool WordWrap = true;
  void SetText(const std::string& v) override;

private:
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
};

class TMemo : public TCustomMemo {
  VORLECT_CLASS(TMemo, TCustomMemo)
public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

class TCustomGroupBox : public TCustomControl {
  VORLECT_CLASS(TCustomGroupBox, TCustomControl)
public:
  explicit TCustomGroupBox(TComponent* owner);
  bool ShowFrame = true;
};

class TGroupBox : public TCustomGroupBox {
  VORLECT_CLASS(TGroupBox, TCustomGroupBox)
public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
const EnumInfo& ListBoxStyleInfo();

// ItemIndex is kept as set while loading (the items may come later in the file) and checked
// against the items afterwards.
class TCustomListBox : public TWinControl {
  VORLECT_CLASS(TCustomListBox, TWinControl)
public:
  explicit TCustomListBox(TComponent* owner);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v) { if (v) items_->Assign(*v); }
  int ItemIndex() const;
  void SetItemIndex(int v);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v) { items_->SetSorted(v); }
  bool AutoComplete = true;
  TBorderStyle BorderStyle = bsSingle_;
  int Columns = 0;
  bool ExtendedSelect = true;
  bool IntegralHeight = false;
  int ItemHeight = 16;
  bool MultiSelect = false;
  int ScrollWidth = 0;
  TListBoxStyle Style = lbStandard;
  int TabWidth = 0;
  TNotifyEvent OnDrawItem;
  TNotifyEvent OnMeasureItem;
  TNotifyEvent OnData;
  void Loaded() override;

private:
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
  int itemIndex_ = -1;
};

class TListBox : public TCustomListBox {
  VORLECT_CLASS(TListBox, TCustomListBox)
public:
  explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
const EnumInfo& ComboBoxStyleInfo();

class TCustomComboBox : public TWinControl {
  VORLECT_CLASS(TCustomComboBox, TWinControl)
public:
  explicit TCustomComboBox(TComponent* owner);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v) { if (v) items_->Assign(*v); }
  int ItemIndex() const;
  void SetItemIndex(int v);
  bool Sorted() const { return items_->Sorted(); }
  void SetSorted(bool v) { items_->SetSorted(v); }
  bool AutoComplete = true;
  bool AutoCloseUp = false;
  bool AutoDropDown = false;
  TEditCharCase CharCase = ecNormal;
  int DropDownCount = 8;
  int ItemHeight = 16;
  int MaxLength = 0;
  TComboBoxStyle Style = csDropDown;
  std::string TextHint;
  TNotifyEvent OnChange;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDrawItem;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnMeasureItem;
  TNotifyEvent OnSelect;
  void Loaded() override;

private:
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
  int itemIndex_ = -1;
};

class TComboBox : public TCustomComboBox {
  VORLECT_CLASS(TComboBox, TCustomComboBox)
public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

class TScrollBar : public TWinControl {
  VORLECT_CLASS(TScrollBar, TWinControl)
public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind = sbHorizontal;
  int LargeChange = 1, Max = 100, Min = 0, PageSize = 0, Position = 0, SmallChange = 1;
  TNotifyEvent OnChange;
  TNotifyEvent OnScroll;
};

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
const EnumInfo& StaticBorderStyleInfo();

class TCustomStaticText : public TWinControl {
  VORLECT_CLASS(TCustomStaticText, TWinControl)
public:
  explicit TCustomStaticText(TComponent* owner);
  TAlignment Alignment = taLeftJustify;
  TStaticBorderStyle BorderStyle = sbsNone;
  bool ShowAccelChar = true;
  bool Transparent = true;
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* c);
  void Notification(TComponent* component, TOperation operation) override;

private:
  TWinControl* focusControl_ = nullptr;
};

class TStaticText : public TCustomStaticText {
  VORLECT_CLASS(TStaticText, TCustomStaticText)
public:
  explicit TStaticText(TComponent* owner) : TCustomStaticText(owner) {}
};

class TCustomMaskEdit : public TCustomEdit {
  VORLECT_CLASS(TCustomMaskEdit, TCustomEdit)
public:
  explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
  std::string EditMask;
};

class TMaskEdit : public TCustomMaskEdit {
  VORLECT_CLASS(TMaskEdit, TCustomMaskEdit)
public:
  explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
};

void RegisterStdCtrls();

}  // namespace vorlect::host
