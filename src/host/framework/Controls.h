// The visual base classes: TControl, TWinControl, forms, frames, data modules, actions, and the
// generic stand-ins for classes the registry does not know.
//
// TControl declares most of its properties protected, as the original does; stock controls
// publish the ones they show with `.Publish("Caption")` etc. TControl itself publishes
// AlignWithMargins, Left, Top, Width, Height, Cursor, Hint, HelpType, HelpKeyword, HelpContext,
// Margins, CustomHint and ParentCustomHint.
#pragma once

#include "host/framework/Classes.h"
#include "host/framework/Graphics.h"
#include "host/framework/TypInfo.h"
#include "host/framework/UnknownClasses.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorlect::host {

class TWinControl;
class TBasicAction;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum THelpType { htKeyword, htContext };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TDragKind { dkDrag, dkDock };
enum TDragMode { dmManual, dmAutomatic };
enum TStyleElement { seFont, seClient, seBorder };
using TStyleElements = TSet<TStyleElement>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateElement { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateElement>;
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCursor = int;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                         crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                         crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                         crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17,
                         crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                         crSizeAll = -22, crSize = -22;

const EnumInfo& AlignInfo();
const EnumInfo& AnchorKindInfo();
const EnumInfo& HelpTypeInfo();
const EnumInfo& BiDiModeInfo();
const EnumInfo& DragKindInfo();
const EnumInfo& DragModeInfo();
const EnumInfo& StyleElementInfo();
const IdentMap& CursorIdents();

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum TBevelEdge { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TSet<TBevelEdge>;
const EnumInfo& BevelCutInfo();
const EnumInfo& BevelKindInfo();
const EnumInfo& BevelEdgeInfo();

// Space around a control for AlignWithMargins (3 pixels each by default).
class TMargins : public TPersistent {
  VORLECT_CLASS(TMargins, TPersistent)
public:
  TMargins() = default;
  explicit TMargins(int defaultValue) : left_(defaultValue), top_(defaultValue), right_(defaultValue),
                                        bottom_(defaultValue) {}
  int Left() const { return left_; }
  void SetLeft(int v) { left_ = v; }
  int Top() const { return top_; }
  void SetTop(int v) { top_ = v; }
  int Right() const { return right_; }
  void SetRight(int v) { right_ = v; }
  int Bottom() const { return bottom_; }
  void SetBottom(int v) { bottom_ = v; }
  void Assign(const TPersistent& source) override;

private:
  int left_ = 3, top_ = 3, right_ = 3, bottom_ = 3;
};

// Inner space of a container (0 by default).
class TPadding : public TMargins {
  VORLECT_CLASS(TPadding, TMargins)
public:
  TPadding() : TMargins(0) {}
};

class TSizeConstraints : public TPersistent {
  VORLECT_CLASS(TSizeConstraints, TPersistent)
public:
  int MaxHeight = 0, MaxWidth = 0, MinHeight = 0, MinWidth = 0;
  void Assign(const TPersistent& source) override;
};

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, std::uint16_t&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

class TControl : public TComponent {
  VORLECT_CLASS(TControl, TComponent)
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return left_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  int Top() const { return top_; }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  int Width() const { return width_; }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  int Height() const { return height_; }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  // Above its siblings; a form: its window above the other windows, as the view showing it can.
  void BringToFront() { NotifyBroughtToFront(*this); }
  virtual int ClientWidth() const { return width_; }
  virtual void SetClientWidth(int v) { SetWidth(v); }
  virtual int ClientHeight() const { return height_; }
  virtual void SetClientHeight(int v) { SetHeight(v); }

  // Caption and Text are one text, as in the original.
  const std::string& Caption() const { return text_; }
  void SetCaption(const std::string& v) { SetText(v); }
  const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& v);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v) { visible_ = v; NotifyChanged(); }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v) { enabled_ = v; NotifyChanged(); }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; NotifyChanged(); }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; parentShowHint_ = false; }
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v) { parentShowHint_ = v; }

  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; parentColor_ = false; }
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v) { parentColor_ = v; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign v) { align_ = v; }
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors v) { anchors_ = v; }
  bool AlignWithMargins() const { return alignWithMargins_; }
  void SetAlignWithMargins(bool v) { alignWithMargins_ = v; }
  bool AutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool v) { autoSize_ = v; }

  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);
  // Takes the action's Caption, Hint, Enabled, Visible, HelpContext (those it publishes); with
  // checkDefaults only where the control still holds its default.
  virtual void ActionChange(TBasicAction* sender, bool checkDefaults);
  // A TPopupMenu (any component until that class is registered).
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* menu);

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor v) { cursor_ = v; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor v) { dragCursor_ = v; }
  TDragKind DragKind() const { return dragKind_; }
  void SetDragKind(TDragKind v) { dragKind_ = v; }
  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode v) { dragMode_ = v; }
  THelpType HelpType() const { return helpType_; }
  void SetHelpType(THelpType v) { helpType_ = v; }
  const std::string& HelpKeyword() const { return helpKeyword_; }
  void SetHelpKeyword(const std::string& v) { helpKeyword_ = v; helpType_ = htKeyword; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; helpType_ = htContext; }
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode v) { biDiMode_ = v; parentBiDiMode_ = false; }
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool v) { parentBiDiMode_ = v; }
  TStyleElements StyleElements() const { return styleElements_; }
  void SetStyleElements(TStyleElements v) { styleElements_ = v; }
  TMargins* Margins() const { return margins_.get(); }
  void SetMargins(TMargins* v) { if (v) margins_->Assign(*v); }
  TSizeConstraints* Constraints() const { return constraints_.get(); }
  void SetConstraints(TSizeConstraints* v) { if (v) constraints_->Assign(*v); }
  // A TCustomHint (any component until that class is registered).
  TComponent* CustomHint() const { return customHint_; }
  void SetCustomHint(TComponent* hint);
  bool ParentCustomHint() const { return parentCustomHint_; }
  void SetParentCustomHint(bool v) { parentCustomHint_ = v; }

  // Stored predicates of the original.
  bool IsCaptionStored() const;
  bool IsHintStored() const;
  bool IsEnabledStored() const;
  bool IsVisibleStored() const;
  bool IsHelpContextStored() const;
  bool IsFontStored() const { return !parentFont_; }
  bool IsColorStored() const { return !parentColor_; }
  bool IsShowHintStored() const { return !parentShowHint_; }
  bool IsBiDiModeStored() const { return !parentBiDiMode_; }

  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TNotifyEvent OnContextPopup;
  TNotifyEvent OnDragDrop;
  TNotifyEvent OnDragOver;
  TNotifyEvent OnEndDrag;
  TNotifyEvent OnStartDrag;
  TNotifyEvent OnEndDock;
  TNotifyEvent OnStartDock;
  TNotifyEvent OnCanResize;
  TNotifyEvent OnConstrainedResize;

protected:
  // The Font changed: a font set by hand stops following the parent, and the children that
  // follow this control's font take the new one.
  virtual void FontChanged();

private:
  friend class TWinControl;
  friend class TBasicAction;
  void TakeParentFont();

  bool takingParentFont_ = false;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string text_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  TColor color_ = clWindow;
  bool parentColor_ = true;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  bool alignWithMargins_ = false;
  bool autoSize_ = false;
  TBasicAction* action_ = nullptr;
  TComponent* popupMenu_ = nullptr;
  TCursor cursor_ = crDefault;
  TCursor dragCursor_ = crDrag;
  TDragKind dragKind_ = dkDrag;
  TDragMode dragMode_ = dmManual;
  THelpType helpType_ = htContext;
  std::string helpKeyword_;
  int helpContext_ = 0;
  TBiDiMode biDiMode_ = bdLeftToRight;
  bool parentBiDiMode_ = true;
  TStyleElements styleElements_{seFont, seClient, seBorder};
  std::unique_ptr<TMargins> margins_ = std::make_unique<TMargins>();
  std::unique_ptr<TSizeConstraints> constraints_ = std::make_unique<TSizeConstraints>();
  TComponent* customHint_ = nullptr;
  bool parentCustomHint_ = true;
};

// A control that can hold other controls.
class TWinControl : public TControl {
  VORLECT_CLASS(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;  // child controls are detached (their owner deletes them)

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  bool ContainsControl(const TControl* control) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int v) { tabOrder_ = v; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool v) { ctl3D_ = v; parentCtl3D_ = false; }
  bool ParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool v) { parentCtl3D_ = v; }
  bool ParentBackground() const { return parentBackground_; }
  void SetParentBackground(bool v) { parentBackground_ = v; }
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool v) { doubleBuffered_ = v; parentDoubleBuffered_ = false; }
  bool ParentDoubleBuffered() const { return parentDoubleBuffered_; }
  void SetParentDoubleBuffered(bool v) { parentDoubleBuffered_ = v; }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v) { borderWidth_ = v; }
  bool UseDockManager() const { return useDockManager_; }
  void SetUseDockManager(bool v) { useDockManager_ = v; }
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool v) { dockSite_ = v; }
  TPadding* Padding() const { return padding_.get(); }
  void SetPadding(TPadding* v) { if (v) padding_->Assign(*v); }
  TBevelEdges BevelEdges() const { return bevelEdges_; }
  void SetBevelEdges(TBevelEdges v) { bevelEdges_ = v; }
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v) { bevelInner_ = v; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v) { bevelOuter_ = v; }
  TBevelKind BevelKind() const { return bevelKind_; }
  void SetBevelKind(TBevelKind v) { bevelKind_ = v; }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v) { bevelWidth_ = v; }
  bool IsCtl3DStored() const { return !parentCtl3D_; }
  bool IsDoubleBufferedStored() const { return !parentDoubleBuffered_; }

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnDockDrop;
  TNotifyEvent OnDockOver;
  TNotifyEvent OnGetSiteInfo;
  TNotifyEvent OnUnDock;

private:
  std::vector<TControl*> controls_;
  int tabOrder_ = -1;
  bool tabStop_ = false;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  bool parentBackground_ = true;
  bool doubleBuffered_ = false;
  bool parentDoubleBuffered_ = true;
  int borderWidth_ = 0;
  bool useDockManager_ = false;
  bool dockSite_ = false;
  std::unique_ptr<TPadding> padding_ = std::make_unique<TPadding>();
  TBevelEdges bevelEdges_{beLeft, beTop, beRight, beBottom};
  TBevelCut bevelInner_ = bvRaised;
  TBevelCut bevelOuter_ = bvLowered;
  TBevelKind bevelKind_ = bkNone;
  int bevelWidth_ = 1;
};

// A control without a window of its own (labels, images, bevels...).
class TGraphicControl : public TControl {
  VORLECT_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
  VORLECT_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
};

class TScrollingWinControl : public TWinControl {
  VORLECT_CLASS(TScrollingWinControl, TWinControl)
public:
  explicit TScrollingWinControl(TComponent* owner) : TWinControl(owner) {}
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v) { autoScroll_ = v; }

private:
  bool autoScroll_ = true;
};

// ---- forms, frames, data modules -------------------------------------------------------------

enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

const EnumInfo& PositionInfo();
const EnumInfo& FormBorderStyleInfo();
const EnumInfo& BorderIconInfo();
const EnumInfo& FormStyleInfo();
const EnumInfo& WindowStateInfo();

class TCustomForm : public TScrollingWinControl {
  VORLECT_CLASS(TCustomForm, TScrollingWinControl)
public:
  explicit TCustomForm(TComponent* owner);

  int ClientWidth() const override { return clientWidth_; }
  void SetClientWidth(int v) override { clientWidth_ = v; NotifyChanged(); }
  int ClientHeight() const override { return clientHeight_; }
  void SetClientHeight(int v) override { clientHeight_ = v; NotifyChanged(); }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v);
  int TextHeight() const { return textHeight_; }
  void SetTextHeight(int v) { textHeight_ = v; }
  bool OldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v) { borderStyle_ = v; }
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v) { borderIcons_ = v; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v) { formStyle_ = v; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState v) { windowState_ = v; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& v) { helpFile_ = v; }
  // A TMainMenu (any component until that class is registered).
  TComponent* Menu() const { return menu_; }
  void SetMenu(TComponent* menu);
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);

  bool IsForm() const { return true; }
  // Forms store either their outer or their client size.
  bool IsFormSizeStored() const { return AutoScroll(); }
  bool IsClientSizeStored() const { return !IsFormSizeStored(); }

  void Notification(TComponent* component, TOperation operation) override;

  TNotifyEvent OnActivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TNotifyEvent OnShow;
  TNotifyEvent OnShortCut;
  TNotifyEvent OnHelp;

private:
  int clientWidth_ = 0, clientHeight_ = 0;
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  bool oldCreateOrder_ = false;
  TPosition position_ = poDefaultPosOnly;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TFormStyle formStyle_ = fsNormal;
  TWindowState windowState_ = wsNormal;
  bool scaled_ = true;
  bool keyPreview_ = false;
  std::string helpFile_;
  TComponent* menu_ = nullptr;
  TWinControl* activeControl_ = nullptr;
};

// A form. Forms read from files keep the class name the file declares (TForm1, TMainForm...):
// ClassName() reports it, ClassType() is TForm's.
class TForm : public TCustomForm {
  VORLECT_CLASS(TForm, TCustomForm)
public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TCustomFrame : public TScrollingWinControl {
  VORLECT_CLASS(TCustomFrame, TScrollingWinControl)
public:
  explicit TCustomFrame(TComponent* owner);
  TComponent* GetChildOwner() const override { return const_cast<TCustomFrame*>(this); }
};

class TFrame : public TCustomFrame {
  VORLECT_CLASS(TFrame, TCustomFrame)
public:
  explicit TFrame(TComponent* owner) : TCustomFrame(owner) {}
};

class TDataModule : public TComponent {
  VORLECT_CLASS(TDataModule, TComponent)
public:
  explicit TDataModule(TComponent* owner) : TComponent(owner) {}
  bool OldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

private:
  bool oldCreateOrder_ = false;
};

// ---- actions ---------------------------------------------------------------------------------

class TBasicAction : public TComponent {
  VORLECT_CLASS(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
  ~TBasicAction() override;

  // Runs OnExecute; false when there is none.
  virtual bool Execute();
  virtual bool Update();
  // Tells the controls using this action that its properties changed.
  void Change();
  void RegisterChanges(TControl* client);
  void UnRegisterChanges(TControl* client);
  int ClientCount() const { return static_cast<int>(clients_.size()); }
  TControl* Clients(int index) const { return clients_.at(static_cast<std::size_t>(index)); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  TNotifyEvent OnChange;

private:
  std::vector<TControl*> clients_;
};

// ---- classes the registry does not know ------------------------------------------------------

// A non-visual component of an unregistered class: it keeps its class name. It publishes Name
// and Tag, and once read from a file what the file stores of the kinds UnknownClasses.h lists;
// every other property it was read with stays raw (see Streaming.h).
class TUnknownComponent : public TComponent, public TStoredProperties {
public:
  using inherited = TComponent;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return ClassOr(StaticClass()); }
  explicit TUnknownComponent(TComponent* owner) : TComponent(owner) {}
};

// A control of an unregistered class (its object has a size or holds other objects). It
// publishes what every control inherits published from TControl (AlignWithMargins, Left,
// Top, Width, Height, Cursor, Hint, HelpType, HelpKeyword, HelpContext, Margins, CustomHint,
// ParentCustomHint) besides Name and Tag, and once read from a file what the file stores of the
// kinds UnknownClasses.h lists; the rest stays raw.
// Controls nested in it in the file take it as their Parent.
class TUnknownControl : public TWinControl, public TStoredProperties {
public:
  using inherited = TWinControl;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return ClassOr(StaticClass()); }
  explicit TUnknownControl(TComponent* owner) : TWinControl(owner) {}
};

// The core's classes (forms, frames, data modules, TFont, string lists...). Registered on the
// registry's first use; exposed for tests that unregister classes.
void RegisterCoreClasses();

}  // namespace vorlect::host
