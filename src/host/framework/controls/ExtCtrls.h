// Panels, radio groups, notebooks, tab sets, the old header, images, paint boxes, bevels, shapes,
// splitters, timers, image lists, bitmap and speed buttons, labeled edits, scroll boxes, check list
// boxes, filter and colour combo boxes, application events.
#pragma once

#include "host/framework/controls/StdCtrls.h"

#include <memory>
#include <string>
#include <vector>

namespace vorlect::host {

class TCustomPanel : public TCustomControl {
  VORLECT_CLASS(TCustomPanel, TCustomControl)
public:
  explicit TCustomPanel(TComponent* owner);
  TAlignment Alignment = taCenter;
  TBorderStyle BorderStyle = bsNone_;
  bool FullRepaint = true;
  bool Locked = false;
  bool ShowCaption = true;
  TVerticalAlignment VerticalAlignment = taVerticalCenter;
};

class TPanel : public TCustomPanel {
  VORLECT_CLASS(TPanel, TCustomPanel)
public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// ItemIndex is kept as read while loading (the items may come later in the file).
class TCustomRadioGroup : public TCustomGroupBox {
  VORLECT_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
  explicit TCustomRadioGroup(TComponent* owner);
  TStrings* Items() const { return items_.get(); }
  void SetItems(TStrings* v) { if (v) items_->Assign(*v); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int v);
  int Columns() const { return columns_; }
  void SetColumns(int v) { columns_ = v < 1 ? 1 : (v > 16 ? 16 : v); }
  bool WordWrap = false;

private:
  std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
  int itemIndex_ = -1;
  int columns_ = 1;
};

class TRadioGroup : public TCustomRadioGroup {
  VORLECT_CLASS(TRadioGroup, TCustomRadioGroup)
public:
  explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

// ---- notebooks -------------------------------------------------------------------------------

// A page of a TNotebook or TTabbedNotebook: files hold it unnamed (`object TPage`); its Caption
// is the notebook's Pages entry.
class TPage : public TCustomControl {
  VORLECT_CLASS(TPage, TCustomControl)
public:
  explicit TPage(TComponent* owner);
};

class TTabPage : public TPage {
  VORLECT_CLASS(TTabPage, TPage)
public:
  explicit TTabPage(TComponent* owner) : TPage(owner) {}
};

// The page captions of a notebook as a string list: reading lists the pages' captions, writing
// renames, adds or deletes pages.
class TPageAccess : public TStrings {
  VORLECT_CLASS(TPageAccess, TStrings)
public:
  using PageFactory = TPage* (*)(TComponent* owner);
  TPageAccess(TWinControl& notebook, PageFactory create) : notebook_(notebook), create_(create) {}
  int Count() const override;
  const std::string& Strings(int index) const override;
  void Put(int index, const std::string& s) override;
  void* Objects(int index) const override;
  void PutObject(int index, void* object) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Renames the pages in place and adds or deletes only the difference, so that the controls on
  // the remaining pages stay where they are.
  void Assign(const TPersistent& source) override;
  TPage* Page(int index) const;

private:
  TWinControl& notebook_;
  PageFactory create_;
};

// What TNotebook and TTabbedNotebook share: the pages (their children) and the page index.
class TNotebookBase : public TCustomControl {
  VORLECT_CLASS(TNotebookBase, TCustomControl)
public:
  TStrings* Pages() const { return pages_.get(); }
  void SetPages(TStrings* v) { if (v) pages_->Assign(*v); }
  int PageIndex() const { return pageIndex_; }
  void SetPageIndex(int v);
  // The caption of the page shown, and showing a page by caption.
  std::string ActivePage() const;
  void SetActivePage(const std::string& caption);
  TNotifyEvent OnPageChanged;

protected:
  TNotebookBase(TComponent* owner, TPageAccess::PageFactory create);

private:
  std::unique_ptr<TPageAccess> pages_;
  int pageIndex_ = 0;
};

class TNotebook : public TNotebookBase {
  VORLECT_CLASS(TNotebook, TNotebookBase)
public:
  explicit TNotebook(TComponent* owner);
};

class TTabbedNotebook : public TNotebookBase {
  VORLECT_CLASS(TTabbedNotebook, TNotebookBase)
public:
  explicit TTabbedNotebook(TComponent* owner);
  TFont* TabFont() const { return tabFont_.get(); }
  void SetTabFont(TFont* v) { if (v) tabFont_->Assign(*v); }
  int TabsPerRow = 3;
  TNotifyEvent OnChange;

private:
  std::unique_ptr<TFont> tabFont_ = std::make_unique<TFont>();
};

// The old header control: sections as a string list, their widths by index.
class THeader : public TCustomControl {
  VORLECT_CLASS(THeader, TCustomControl)
public:
  explicit THeader(TComponent* owner);
  TStrings* Sections() const { return sections_.get(); }
  void SetSections(TStrings* v) { if (v) sections_->Assign(*v); }
  int SectionWidth(int index) const;
  void SetSectionWidth(int index, int width);
  bool AllowResize = true;
  TBorderStyle BorderStyle = bsSingle_;
  TNotifyEvent OnSized, OnSizing;

private:
  std::unique_ptr<TStringList> sections_ = std::make_unique<TStringList>();
  std::vector<int> widths_;
};

enum TTabSetStyle { tsStandard, tsOwnerDraw, tsSoftTabs, tsModernTabs, tsModernPopout };
const EnumInfo& TabSetStyleInfo();

class TTabSet : public TCustomControl {
  VORLECT_CLASS(TTabSet, TCustomControl)
public:
  explicit TTabSet(TComponent* owner);
  TStrings* Tabs() const { return tabs_.get(); }
  void SetTabs(TStrings* v) { if (v) tabs_->Assign(*v); }
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int v);
  bool AutoScroll = true;
  TColor BackgroundColor = clBtnFace;
  bool DitherBackground = true;
  int EndMargin = 5, StartMargin = 5;
  TColor SelectedColor = clBtnFace, UnselectedColor = clWindow;
  bool SoftTop = false;
  TTabSetStyle Style = tsStandard;
  int TabHeight = 20, TabWidth = 0;
  TNotifyEvent OnChange, OnDrawTab, OnMeasureTab;

private:
  std::unique_ptr<TStringList> tabs_ = std::make_unique<TStringList>();
  int tabIndex_ = -1;
};

// ---- graphics --------------------------------------------------------------------------------

class TImage : public TGraphicControl {
  VORLECT_CLASS(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* owner);
  bool Center = false, IncrementalDisplay = false, Proportional = false, Stretch = false,
       Transparent = false;
  TNotifyEvent OnProgress;
};

class TPaintBox : public TGraphicControl {
  VORLECT_CLASS(TPaintBox, TGraphicControl)
public:
  explicit TPaintBox(TComponent* owner);
  TNotifyEvent OnPaint;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };
const EnumInfo& BevelShapeInfo();
const EnumInfo& BevelStyleInfo();

class TBevel : public TGraphicControl {
  VORLECT_CLASS(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape = bsBox;
  TBevelStyle Style = bsLowered;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
const EnumInfo& ShapeTypeInfo();

class TShape : public TGraphicControl {
  VORLECT_CLASS(TShape, TGraphicControl)
public:
  explicit TShape(TComponent* owner);
  TShapeType Shape = stRectangle;
};

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
const EnumInfo& ResizeStyleInfo();

class TSplitter : public TGraphicControl {
  VORLECT_CLASS(TSplitter, TGraphicControl)
public:
  explicit TSplitter(TComponent* owner);
  bool Beveled = false;
  int MinSize = 30;
  TResizeStyle ResizeStyle = rsPattern;
  TNotifyEvent OnMoved, OnPaint;
};

class TTimer : public TComponent {
  VORLECT_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* owner) : TComponent(owner) {}
  bool Enabled = true;
  int Interval = 1000;
  TNotifyEvent OnTimer;
};

enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };
const EnumInfo& ColorDepthInfo();
const EnumInfo& DrawingStyleInfo();
const EnumInfo& ImageTypeInfo();

// The bitmap data (`Bitmap`) stays as read.
class TCustomImageList : public TComponent {
  VORLECT_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* owner) : TComponent(owner) {}
  int AllocBy = 4;
  TColor BlendColor = clNone, BkColor = clNone;
  TColorDepth ColorDepth = cdDeviceDependent;
  TDrawingStyle DrawingStyle = dsNormal;
  int Height = 16, Width = 16;
  TImageType ImageType = itImage;
  bool Masked = true, ShareImages = false;
  TNotifyEvent OnChange;
};

class TImageList : public TCustomImageList {
  VORLECT_CLASS(TImageList, TCustomImageList)
public:
  explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

// ---- buttons ---------------------------------------------------------------------------------

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry,
                   bkIgnore, bkAll };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnStyle { bsAutoDetect, bsWin31, bsNew };
const EnumInfo& BitBtnKindInfo();
const EnumInfo& ButtonLayoutInfo();
const EnumInfo& BitBtnStyleInfo();

// The glyph (`Glyph.Data`) stays as read.
// A sibling of TButton here (the original derives it from TButton) so that it can publish the
// button's properties in its own order, as the original's files show.
class TBitBtn : public TCustomButton {
  VORLECT_CLASS(TBitBtn, TCustomButton)
public:
  explicit TBitBtn(TComponent* owner) : TCustomButton(owner) {}
  TBitBtnKind Kind = bkCustom;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1, NumGlyphs = 1, Spacing = 4;
  TBitBtnStyle BitBtnStyle = bsAutoDetect;
};

class TSpeedButton : public TGraphicControl {
  VORLECT_CLASS(TSpeedButton, TGraphicControl)
public:
  explicit TSpeedButton(TComponent* owner);
  bool AllowAllUp = false, Down = false, Flat = false, Transparent = true;
  int GroupIndex = 0;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1, NumGlyphs = 1, Spacing = 4;
  int ImageIndex = -1, DisabledImageIndex = -1, HotImageIndex = -1, PressedImageIndex = -1,
      SelectedImageIndex = -1;
  TComponent* Images() const { return images_; }
  void SetImages(TComponent* v);
  void Notification(TComponent* component, TOperation operation) override;

private:
  TComponent* images_ = nullptr;
};

// ---- edits, boxes ----------------------------------------------------------------------------

// The label of a TLabeledEdit: a sub-object (`EditLabel.Caption`), placed by its edit.
class TBoundLabel : public TCustomLabel {
  VORLECT_CLASS(TBoundLabel, TCustomLabel)
public:
  explicit TBoundLabel(TComponent* owner) : TCustomLabel(owner) {}
};

enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
const EnumInfo& LabelPositionInfo();

class TCustomLabeledEdit : public TCustomEdit {
  VORLECT_CLASS(TCustomLabeledEdit, TCustomEdit)
public:
  explicit TCustomLabeledEdit(TComponent* owner);
  TBoundLabel* EditLabel() const { return editLabel_.get(); }
  TLabelPosition LabelPosition = lpAbove;
  int LabelSpacing = 3;

private:
  std::unique_ptr<TBoundLabel> editLabel_ = std::make_unique<TBoundLabel>(nullptr);
};

class TLabeledEdit : public TCustomLabeledEdit {
  VORLECT_CLASS(TLabeledEdit, TCustomLabeledEdit)
public:
  explicit TLabeledEdit(TComponent* owner) : TCustomLabeledEdit(owner) {}
};

class TScrollBox : public TScrollingWinControl {
  VORLECT_CLASS(TScrollBox, TScrollingWinControl)
public:
  explicit TScrollBox(TComponent* owner);
  TBorderStyle BorderStyle = bsSingle_;
};

class TCheckListBox : public TCustomListBox {
  VORLECT_CLASS(TCheckListBox, TCustomListBox)
public:
  explicit TCheckListBox(TComponent* owner) : TCustomListBox(owner) {}
  bool AllowGrayed = false, Flat = true;
  TColor HeaderColor = clInfoText, HeaderBackgroundColor = clInfoBk;
  // Check states by item (not stored in form files).
  TCheckBoxState State(int index) const;
  void SetState(int index, TCheckBoxState state);
  bool Checked(int index) const { return State(index) == cbChecked; }
  void SetChecked(int index, bool v) { SetState(index, v ? cbChecked : cbUnchecked); }
  TNotifyEvent OnClickCheck;

private:
  std::vector<TCheckBoxState> states_;
};

// Its items are the descriptions of Filter's `description|mask` pairs.
class TFilterComboBox : public TCustomComboBox {
  VORLECT_CLASS(TFilterComboBox, TCustomComboBox)
public:
  explicit TFilterComboBox(TComponent* owner);
  static constexpr const char* kDefaultFilter = "All files (*.*)|*.*";
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& v);
  // The mask of the item `index`, or of the selected one.
  std::string Mask(int index) const;
  bool IsFilterStored() const { return filter_ != kDefaultFilter; }
  TComponent* FileList() const { return fileList_; }
  void SetFileList(TComponent* v);
  void Notification(TComponent* component, TOperation operation) override;

private:
  std::string filter_;
  std::vector<std::string> masks_;
  TComponent* fileList_ = nullptr;
};

enum TColorBoxStyles {
  cbStandardColors, cbExtendedColors, cbSystemColors, cbIncludeNone, cbIncludeDefault,
  cbCustomColor, cbPrettyNames, cbCustomColors
};
using TColorBoxStyle = TSet<TColorBoxStyles>;
const EnumInfo& ColorBoxStylesInfo();

class TColorBox : public TCustomComboBox {
  VORLECT_CLASS(TColorBox, TCustomComboBox)
public:
  explicit TColorBox(TComponent* owner);
  TColor DefaultColorColor = clBlack, NoneColorColor = clBlack, Selected = clBlack;
  TColorBoxStyle ColorStyle{cbStandardColors, cbExtendedColors, cbSystemColors};
  TNotifyEvent OnGetColors;
};

class TApplicationEvents : public TComponent {
  VORLECT_CLASS(TApplicationEvents, TComponent)
public:
  explicit TApplicationEvents(TComponent* owner) : TComponent(owner) {}
  TNotifyEvent OnActionExecute, OnActionUpdate, OnActivate, OnDeactivate, OnException, OnHelp,
      OnHint, OnIdle, OnMessage, OnMinimize, OnModalBegin, OnModalEnd, OnRestore, OnSettingChange,
      OnShortCut, OnShowHint;
};

void RegisterExtCtrls();

}  // namespace vorlect::host
