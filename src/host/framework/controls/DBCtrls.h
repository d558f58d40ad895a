// Data-aware pieces: fields, data sources, the DB grid with its columns, the navigator and the
// data-aware list, combo and radio boxes. No data access happens here: they hold what form files
// say about them.
#pragma once

#include "host/framework/controls/ExtCtrls.h"
#include "host/framework/controls/Grids.h"
#include "host/framework/controls/StdCtrls.h"

#include <memory>
#include <string>

namespace vorlect::host {

// ---- fields ----------------------------------------------------------------------------------

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
enum TAutoRefreshFlag { arNone, arAutoInc, arDefault };
enum TProviderFlag { pfInUpdate, pfInWhere, pfInKey, pfHidden, pfRefreshOnInsert, pfRefreshOnUpdate };
using TProviderFlags = TSet<TProviderFlag>;
enum TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate,
  ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo,
  ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT,
  ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface, ftIDispatch, ftGuid,
  ftTimeStamp, ftFMTBcd, ftFixedWideChar, ftWideMemo, ftOraTimeStamp, ftOraInterval, ftLongWord,
  ftShortint, ftByte, ftExtended, ftConnection, ftParams, ftStream, ftTimeStampOffset, ftObject,
  ftSingle
};
const EnumInfo& FieldKindInfo();
const EnumInfo& AutoRefreshFlagInfo();
const EnumInfo& ProviderFlagInfo();
const EnumInfo& FieldTypeInfo();

// A field of a dataset (nested in its dataset in form files).
class TField : public TComponent {
  VORLECT_CLASS(TField, TComponent)
public:
  explicit TField(TComponent* owner) : TComponent(owner) {}
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& v) { fieldName_ = v; }
  // The field name while no label of its own is set; setting the field name clears it.
  const std::string& DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const std::string& v) { displayLabel_ = v == fieldName_ ? std::string() : v; }
  bool IsDisplayLabelStored() const { return !displayLabel_.empty(); }
  int DisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultDisplayWidth(); }
  void SetDisplayWidth(int v) { displayWidth_ = v; }
  bool IsDisplayWidthStored() const { return displayWidth_ > 0; }
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }
  TAlignment Alignment = taLeftJustify;
  TAutoRefreshFlag AutoGenerateValue = arNone;
  std::string ConstraintErrorMessage, CustomConstraint, DefaultExpression, EditMask,
      ImportedConstraint, KeyFields, LookupKeyFields, LookupResultField, Origin;
  TFieldKind FieldKind = fkData;
  bool LookupCache = false, ReadOnly = false, Required = false, Visible = true;
  TProviderFlags ProviderFlags{pfInUpdate, pfInWhere};
  TComponent* LookupDataSet() const { return lookupDataSet_; }
  void SetLookupDataSet(TComponent* v);
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnChange, OnGetText, OnSetText, OnValidate;

protected:
  virtual int DefaultDisplayWidth() const { return 10; }
  int size_ = 0;

private:
  std::string fieldName_, displayLabel_;
  int displayWidth_ = 0;
  TComponent* lookupDataSet_ = nullptr;
};

class TStringField : public TField {
  VORLECT_CLASS(TStringField, TField)
public:
  explicit TStringField(TComponent* owner) : TField(owner) { size_ = 20; }
  bool FixedChar = false, Transliterate = true;

protected:
  int DefaultDisplayWidth() const override { return size_; }
};

class TNumericField : public TField {
  VORLECT_CLASS(TNumericField, TField)
public:
  explicit TNumericField(TComponent* owner) : TField(owner) { Alignment = taRightJustify; }
  std::string DisplayFormat, EditFormat;
};

class TIntegerField : public TNumericField {
  VORLECT_CLASS(TIntegerField, TNumericField)
public:
  explicit TIntegerField(TComponent* owner) : TNumericField(owner) {}
  int MaxValue = 0, MinValue = 0;
};

class TSmallintField : public TIntegerField {
  VORLECT_CLASS(TSmallintField, TIntegerField)
public:
  explicit TSmallintField(TComponent* owner) : TIntegerField(owner) {}
};

class TWordField : public TIntegerField {
  VORLECT_CLASS(TWordField, TIntegerField)
public:
  explicit TWordField(TComponent* owner) : TIntegerField(owner) {}
};

class TAutoIncField : public TIntegerField {
  VORLECT_CLASS(TAutoIncField, TIntegerField)
public:
  explicit TAutoIncField(TComponent* owner) : TIntegerField(owner) {}
};

class TFloatField : public TNumericField {
  VORLECT_CLASS(TFloatField, TNumericField)
public:
  explicit TFloatField(TComponent* owner) : TNumericField(owner) {}
  bool Currency = false;
  double MaxValue = 0, MinValue = 0;
  int Precision = 15;
};

class TCurrencyField : public TFloatField {
  VORLECT_CLASS(TCurrencyField, TFloatField)
public:
  explicit TCurrencyField(TComponent* owner) : TFloatField(owner) { Currency = true; }
};

class TBCDField : public TNumericField {
  VORLECT_CLASS(TBCDField, TNumericField)
public:
  explicit TBCDField(TComponent* owner) : TNumericField(owner) { size_ = 4; }
  bool Currency = false;
  double MaxValue = 0, MinValue = 0;
  int Precision = 0;
};

class TBooleanField : public TField {
  VORLECT_CLASS(TBooleanField, TField)
public:
  explicit TBooleanField(TComponent* owner) : TField(owner) {}
  std::string DisplayValues;
};

class TDateTimeField : public TField {
  VORLECT_CLASS(TDateTimeField, TField)
public:
  explicit TDateTimeField(TComponent* owner) : TField(owner) {}
  std::string DisplayFormat;
};

class TDateField : public TDateTimeField {
  VORLECT_CLASS(TDateField, TDateTimeField)
public:
  explicit TDateField(TComponent* owner) : TDateTimeField(owner) {}
};

class TTimeField : public TDateTimeField {
  VORLECT_CLASS(TTimeField, TDateTimeField)
public:
  explicit TTimeField(TComponent* owner) : TDateTimeField(owner) {}
};

class TBlobField : public TField {
  VORLECT_CLASS(TBlobField, TField)
public:
  explicit TBlobField(TComponent* owner) : TField(owner) {}
  TFieldType BlobType = ftBlob;
  bool Transliterate = false;
};

class TMemoField : public TBlobField {
  VORLECT_CLASS(TMemoField, TBlobField)
public:
  explicit TMemoField(TComponent* owner) : TBlobField(owner) {
    BlobType = ftMemo;
    Transliterate = true;
  }
};

// ---- data sources ----------------------------------------------------------------------------

class TDataSource : public TComponent {
  VORLECT_CLASS(TDataSource, TComponent)
public:
  explicit TDataSource(TComponent* owner) : TComponent(owner) {}
  bool AutoEdit = true, Enabled = true;
  // A TDataSet (any component: datasets are not among the stock classes).
  TComponent* DataSet() const { return dataSet_; }
  void SetDataSet(TComponent* v);
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnStateChange, OnDataChange, OnUpdateData;

private:
  TComponent* dataSet_ = nullptr;
};

// What data-aware controls share: the field they show and where its data comes from.
class TDataLinkRef {
public:
  TDataSource* DataSource() const { return dataSource_; }
  std::string DataField;

protected:
  TDataSource* dataSource_ = nullptr;
};

// ---- the DB grid -----------------------------------------------------------------------------

class TColumn;
class TCustomDBGrid;

class TColumnTitle : public TPersistent {
  VORLECT_CLASS(TColumnTitle, TPersistent)
public:
  explicit TColumnTitle(TColumn& column) : column_(column) {}
  // The field name while no caption of its own is set.
  std::string Caption() const;
  void SetCaption(const std::string& v) { caption_ = v; captionSet_ = true; }
  void RestoreDefaultCaption() { caption_.clear(); captionSet_ = false; }
  bool IsCaptionStored() const { return captionSet_; }
  TAlignment Alignment = taLeftJustify;
  TColor Color = clBtnFace;
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v) { if (v) font_->Assign(*v); fontSet_ = true; }
  bool IsFontStored() const { return fontSet_; }
  void Assign(const TPersistent& source) override;

private:
  TColumn& column_;
  std::string caption_;
  bool captionSet_ = false, fontSet_ = false;
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
};

enum TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };
const EnumInfo& ColumnButtonStyleInfo();

class TColumn : public TCollectionItem {
  VORLECT_CLASS(TColumn, TCollectionItem)
public:
  explicit TColumn(TCollection* collection);
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& v) { fieldName_ = v; }
  TColumnTitle* Title() const { return title_.get(); }
  void SetTitle(TColumnTitle* v) { if (v) title_->Assign(*v); }
  TStrings* PickList() const { return pickList_.get(); }
  void SetPickList(TStrings* v) { if (v) pickList_->Assign(*v); }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; widthSet_ = true; }
  bool IsWidthStored() const { return widthSet_; }
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v) { if (v) font_->Assign(*v); fontSet_ = true; }
  bool IsFontStored() const { return fontSet_; }
  TComponent* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TComponent* v);
  TAlignment Alignment = taLeftJustify;
  TColumnButtonStyle ButtonStyle = cbsAuto;
  TColor Color = clWindow;
  int DropDownRows = 7;
  bool Expanded = true, ReadOnly = false, Visible = true;
  std::string DisplayName() const override;

private:
  std::string fieldName_;
  std::unique_ptr<TColumnTitle> title_;
  std::unique_ptr<TStringList> pickList_ = std::make_unique<TStringList>();
  std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
  int width_ = 64;
  bool widthSet_ = false, fontSet_ = false;
  TComponent* popupMenu_ = nullptr;
};

class TDBGridColumns : public TCollection {
  VORLECT_CLASS(TDBGridColumns, TCollection)
public:
  explicit TDBGridColumns(TPersistent* grid) : TCollection(TColumn::StaticClass(), grid) {}
  TColumn* Items(int index) const { return ItemAs<TColumn>(index); }
  TColumn* Add() { return static_cast<TColumn*>(TCollection::Add()); }
};

enum TDBGridOption {
  dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
  dgTabs, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect,
  dgTitleClick, dgTitleHotTrack
};
using TDBGridOptions = TSet<TDBGridOption>;
const EnumInfo& DBGridOptionInfo();

class TCustomDBGrid : public TCustomGrid, public TDataLinkRef {
  VORLECT_CLASS(TCustomDBGrid, TCustomGrid)
public:
  explicit TCustomDBGrid(TComponent* owner);
  TDBGridColumns* Columns() const { return columns_.get(); }
  void SetColumns(TDBGridColumns* v) { if (v) columns_->Assign(*v); }
  void SetDataSource(TDataSource* v);
  TFont* TitleFont() const { return titleFont_.get(); }
  void SetTitleFont(TFont* v) { if (v) titleFont_->Assign(*v); }
  TDBGridOptions DBOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
                           dgTabs, dgConfirmDelete, dgCancelOnExit, dgTitleClick, dgTitleHotTrack};
  bool ReadOnly = false;
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnCellClick, OnColEnter, OnColExit, OnColumnMoved, OnDrawDataCell, OnDrawColumnCell,
      OnEditButtonClick, OnTitleClick;

private:
  std::unique_ptr<TDBGridColumns> columns_;
  std::unique_ptr<TFont> titleFont_ = std::make_unique<TFont>();
};

class TDBGrid : public TCustomDBGrid {
  VORLECT_CLASS(TDBGrid, TCustomDBGrid)
public:
  explicit TDBGrid(TComponent* owner) : TCustomDBGrid(owner) {}
};

// ---- the navigator ---------------------------------------------------------------------------

enum TNavigateBtn {
  nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh,
  nbApplyUpdates, nbCancelUpdates
};
using TNavButtonSet = TSet<TNavigateBtn>;
const EnumInfo& NavigateBtnInfo();

// Hints holds one hint per button; empty entries mean the button's own hint.
class TDBNavigator : public TCustomPanel, public TDataLinkRef {
  VORLECT_CLASS(TDBNavigator, TCustomPanel)
public:
  explicit TDBNavigator(TComponent* owner);
  void SetDataSource(TDataSource* v);
  TStrings* Hints() const { return hints_.get(); }
  void SetHints(TStrings* v) { if (v) hints_->Assign(*v); }
  TNavButtonSet VisibleButtons{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit,
                               nbPost, nbCancel, nbRefresh};
  bool ConfirmDelete = true, Flat = false;
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent BeforeAction, OnClick;

private:
  std::unique_ptr<TStringList> hints_ = std::make_unique<TStringList>();
};

// ---- data-aware boxes ------------------------------------------------------------------------

class TDBListBox : public TCustomListBox, public TDataLinkRef {
  VORLECT_CLASS(TDBListBox, TCustomListBox)
public:
  explicit TDBListBox(TComponent* owner) : TCustomListBox(owner) {}
  void SetDataSource(TDataSource* v);
  bool ReadOnly = false;
  void Notification(TComponent* component, TOperation operation) override;
};

class TDBComboBox : public TCustomComboBox, public TDataLinkRef {
  VORLECT_CLASS(TDBComboBox, TCustomComboBox)
public:
  explicit TDBComboBox(TComponent* owner) : TCustomComboBox(owner) {}
  void SetDataSource(TDataSource* v);
  bool ReadOnly = false;
  void Notification(TComponent* component, TOperation operation) override;
};

// Values holds the field value of each item (the item's text when empty).
class TDBRadioGroup : public TCustomRadioGroup, public TDataLinkRef {
  VORLECT_CLASS(TDBRadioGroup, TCustomRadioGroup)
public:
  explicit TDBRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
  void SetDataSource(TDataSource* v);
  TStrings* Values() const { return values_.get(); }
  void SetValues(TStrings* v) { if (v) values_->Assign(*v); }
  bool ReadOnly = false;
  void Notification(TComponent* component, TOperation operation) override;
  TNotifyEvent OnChange;

private:
  std::unique_ptr<TStringList> values_ = std::make_unique<TStringList>();
};

void RegisterDBCtrls();

}  // namespace vorlect::host
