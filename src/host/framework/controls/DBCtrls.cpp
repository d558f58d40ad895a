#include "host/framework/controls/DBCtrls.h"

namespace vorlect::host {

const EnumInfo& FieldKindInfo() {
  static const EnumInfo info{"TFieldKind", {"fkData", "fkCalculated", "fkLookup", "fkInternalCalc",
                                            "fkAggregate"}};
  return info;
}
const EnumInfo& AutoRefreshFlagInfo() {
  static const EnumInfo info{"TAutoRefreshFlag", {"arNone", "arAutoInc", "arDefault"}};
  return info;
}
const EnumInfo& ProviderFlagInfo() {
  static const EnumInfo info{"TProviderFlag", {"pfInUpdate", "pfInWhere", "pfInKey", "pfHidden",
                                               "pfRefreshOnInsert", "pfRefreshOnUpdate"}};
  return info;
}
const EnumInfo& FieldTypeInfo() {
  static const EnumInfo info{
      "TFieldType",
      {"ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord", "ftBoolean", "ftFloat",
       "ftCurrency", "ftBCD", "ftDate", "ftTime", "ftDateTime", "ftBytes", "ftVarBytes", "ftAutoInc",
       "ftBlob", "ftMemo", "ftGraphic", "ftFmtMemo", "ftParadoxOle", "ftDBaseOle", "ftTypedBinary",
       "ftCursor", "ftFixedChar", "ftWideString", "ftLargeint", "ftADT", "ftArray", "ftReference",
       "ftDataSet", "ftOraBlob", "ftOraClob", "ftVariant", "ftInterface", "ftIDispatch", "ftGuid",
       "ftTimeStamp", "ftFMTBcd", "ftFixedWideChar", "ftWideMemo", "ftOraTimeStamp", "ftOraInterval",
       "ftLongWord", "ftShortint", "ftByte", "ftExtended", "ftConnection", "ftParams", "ftStream",
       "ftTimeStampOffset", "ftObject", "ftSingle"}};
  return info;
}
const EnumInfo& ColumnButtonStyleInfo() {
  static const EnumInfo info{"TColumnButtonStyle", {"cbsAuto", "cbsEllipsis", "cbsNone"}};
  return info;
}
const EnumInfo& DBGridOptionInfo() {
  static const EnumInfo info{
      "TDBGridOption",
      {"dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize", "dgColLines",
       "dgRowLines", "dgTabs", "dgRowSelect", "dgAlwaysShowSelection", "dgConfirmDelete",
       "dgCancelOnExit", "dgMultiSelect", "dgTitleClick", "dgTitleHotTrack"}};
  return info;
}
const EnumInfo& NavigateBtnInfo() {
  static const EnumInfo info{"TNavigateBtn", {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert",
                                              "nbDelete", "nbEdit", "nbPost", "nbCancel", "nbRefresh",
                                              "nbApplyUpdates", "nbCancelUpdates"}};
  return info;
}

// ---- fields ----------------------------------------------------------------------------------

void TField::SetLookupDataSet(TComponent* v) {
  lookupDataSet_ = v;
  if (v) FreeNotification(v);
}

void TField::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == lookupDataSet_) lookupDataSet_ = nullptr;
}

const ClassInfo& TField::StaticClass() {
  using C = TField;
  static const ClassInfo info = ClassBuilder<C>("TField")
      .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
      .Enum("AutoGenerateValue", &C::AutoGenerateValue, &C::AutoGenerateValue, AutoRefreshFlagInfo())
      .Default(arNone)
      .String("CustomConstraint", &C::CustomConstraint, &C::CustomConstraint)
      .String("ConstraintErrorMessage", &C::ConstraintErrorMessage, &C::ConstraintErrorMessage)
      .String("DefaultExpression", &C::DefaultExpression, &C::DefaultExpression)
      .String("DisplayLabel", &C::DisplayLabel, &C::SetDisplayLabel).Stored(&C::IsDisplayLabelStored)
      .Integer("DisplayWidth", &C::DisplayWidth, &C::SetDisplayWidth).Stored(&C::IsDisplayWidthStored)
      .Enum("FieldKind", &C::FieldKind, &C::FieldKind, FieldKindInfo()).Default(fkData)
      .String("FieldName", &C::FieldName, &C::SetFieldName)
      .String("ImportedConstraint", &C::ImportedConstraint, &C::ImportedConstraint)
      .Reference("LookupDataSet", &C::LookupDataSet, &C::SetLookupDataSet, "TDataSet")
      .String("LookupKeyFields", &C::LookupKeyFields, &C::LookupKeyFields)
      .String("LookupResultField", &C::LookupResultField, &C::LookupResultField)
      .String("KeyFields", &C::KeyFields, &C::KeyFields)
      .Boolean("LookupCache", &C::LookupCache, &C::LookupCache).Default(false)
      .String("Origin", &C::Origin, &C::Origin)
      .Set("ProviderFlags", &C::ProviderFlags, &C::ProviderFlags, ProviderFlagInfo())
      .Default(TProviderFlags{pfInUpdate, pfInWhere})
      .Boolean("ReadOnly", &C::ReadOnly, &C::ReadOnly).Default(false)
      .Boolean("Required", &C::Required, &C::Required).Default(false)
      .Boolean("Visible", &C::Visible, &C::Visible).Default(true)
      .Event("OnChange", &C::OnChange)
      .Event("OnGetText", &C::OnGetText)
      .Event("OnSetText", &C::OnSetText)
      .Event("OnValidate", &C::OnValidate)
      .Protected()
      .String("EditMask", &C::EditMask, &C::EditMask)
      .Integer("Size", &C::Size, &C::SetSize).Default(0)
      .Build();
  return info;
}

const ClassInfo& TStringField::StaticClass() {
  using C = TStringField;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TStringField");
    b.Publish("EditMask");
    b.Boolean("FixedChar", &C::FixedChar, &C::FixedChar).Default(false);
    b.Publish("Size").Default(20);
    b.Boolean("Transliterate", &C::Transliterate, &C::Transliterate).Default(true);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TNumericField::StaticClass() {
  using C = TNumericField;
  static const ClassInfo info = ClassBuilder<C>("TNumericField")
      .Publish("Alignment").Default(taRightJustify)
      .String("DisplayFormat", &C::DisplayFormat, &C::DisplayFormat)
      .String("EditFormat", &C::EditFormat, &C::EditFormat)
      .Build();
  return info;
}

const ClassInfo& TIntegerField::StaticClass() {
  using C = TIntegerField;
  static const ClassInfo info = ClassBuilder<C>("TIntegerField")
      .Integer("MaxValue", &C::MaxValue, &C::MaxValue).Default(0)
      .Integer("MinValue", &C::MinValue, &C::MinValue).Default(0)
      .Build();
  return info;
}

const ClassInfo& TSmallintField::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSmallintField>("TSmallintField").Build();
  return info;
}
const ClassInfo& TWordField::StaticClass() {
  static const ClassInfo info = ClassBuilder<TWordField>("TWordField").Build();
  return info;
}
const ClassInfo& TAutoIncField::StaticClass() {
  static const ClassInfo info = ClassBuilder<TAutoIncField>("TAutoIncField").Build();
  return info;
}

const ClassInfo& TFloatField::StaticClass() {
  using C = TFloatField;
  static const ClassInfo info = ClassBuilder<C>("TFloatField")
      .Boolean("Currency", &C::Currency, &C::Currency).Default(false)
      .Float("MaxValue", &C::MaxValue, &C::MaxValue)
      .Float("MinValue", &C::MinValue, &C::MinValue)
      .Integer("Precision", &C::Precision, &C::Precision).Default(15)
      .Build();
  return info;
}

const ClassInfo& TCurrencyField::StaticClass() {
  static const ClassInfo info = ClassBuilder<TCurrencyField>("TCurrencyField")
      .Publish("Currency").Default(true)
      .Build();
  return info;
}

const ClassInfo& TBCDField::StaticClass() {
  using C = TBCDField;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TBCDField");
    b.Boolean("Currency", &C::Currency, &C::Currency).Default(false)
        .Float("MaxValue", &C::MaxValue, &C::MaxValue)
        .Float("MinValue", &C::MinValue, &C::MinValue)
        .Integer("Precision", &C::Precision, &C::Precision).Default(0);
    b.Publish("Size").Default(4);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TBooleanField::StaticClass() {
  using C = TBooleanField;
  static const ClassInfo info = ClassBuilder<C>("TBooleanField")
      .String("DisplayValues", &C::DisplayValues, &C::DisplayValues)
      .Build();
  return info;
}

const ClassInfo& TDateTimeField::StaticClass() {
  using C = TDateTimeField;
  static const ClassInfo info = ClassBuilder<C>("TDateTimeField")
      .String("DisplayFormat", &C::DisplayFormat, &C::DisplayFormat)
      .Publish("EditMask")
      .Build();
  return info;
}

const ClassInfo& TDateField::StaticClass() {
  static const ClassInfo info = ClassBuilder<TDateField>("TDateField").Build();
  return info;
}
const ClassInfo& TTimeField::StaticClass() {
  static const ClassInfo info = ClassBuilder<TTimeField>("TTimeField").Build();
  return info;
}

const ClassInfo& TBlobField::StaticClass() {
  using C = TBlobField;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TBlobField");
    b.Enum("BlobType", &C::BlobType, &C::BlobType, FieldTypeInfo()).Default(ftBlob);
    b.Publish("Size").Default(0);
    return b.Build();
  }();
  return info;
}

const ClassInfo& TMemoField::StaticClass() {
  using C = TMemoField;
  static const ClassInfo info = ClassBuilder<C>("TMemoField")
      .Publish("BlobType").Default(ftMemo)
      .Boolean("Transliterate", &C::Transliterate, &C::Transliterate).Default(true)
      .Build();
  return info;
}

// ---- data sources ----------------------------------------------------------------------------

void TDataSource::SetDataSet(TComponent* v) {
  dataSet_ = v;
  if (v) FreeNotification(v);
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == dataSet_) dataSet_ = nullptr;
}

const ClassInfo& TDataSource::StaticClass() {
  using C = TDataSource;
  static const ClassInfo info = ClassBuilder<C>("TDataSource")
      .Boolean("AutoEdit", &C::AutoEdit, &C::AutoEdit).Default(true)
      .Reference("DataSet", &C::DataSet, &C::SetDataSet, "TDataSet")
      .Boolean("Enabled", &C::Enabled, &C::Enabled).Default(true)
      .Event("OnStateChange", &C::OnStateChange)
      .Event("OnDataChange", &C::OnDataChange)
      .Event("OnUpdateData", &C::OnUpdateData)
      .Build();
  return info;
}

namespace {

template <class C>
void LinkDataSource(C& control, TDataSource*& slot, TDataSource* v) {
  slot = v;
  if (v) control.FreeNotification(v);
}

}  // namespace

// ---- the DB grid -----------------------------------------------------------------------------

std::string TColumnTitle::Caption() const { return captionSet_ ? caption_ : column_.FieldName(); }

void TColumnTitle::Assign(const TPersistent& source) {
  if (auto* t = dynamic_cast<const TColumnTitle*>(&source)) {
    caption_ = t->caption_;
    captionSet_ = t->captionSet_;
    Alignment = t->Alignment;
    Color = t->Color;
    font_->Assign(*t->font_);
    fontSet_ = t->fontSet_;
    return;
  }
  TPersistent::Assign(source);
}

const ClassInfo& TColumnTitle::StaticClass() {
  using C = TColumnTitle;
  static const ClassInfo info = ClassBuilder<C>("TColumnTitle")
      .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
      .String("Caption", &C::Caption, &C::SetCaption).Stored(&C::IsCaptionStored)
      .Integer("Color", &C::Color, &C::Color).Idents(ColorIdents()).Default(clBtnFace)
      .Object("Font", &C::Font, &C::SetFont).Stored(&C::IsFontStored)
      .Build();
  return info;
}

TColumn::TColumn(TCollection* collection)
    : TCollectionItem(collection), title_(std::make_unique<TColumnTitle>(*this)) {}

// The grid hears of the menu's destruction and clears the column's link.
void TColumn::SetPopupMenu(TComponent* v) {
  popupMenu_ = v;
  if (auto* grid = Collection() ? dynamic_cast<TCustomDBGrid*>(Collection()->Owner()) : nullptr)
    if (v) grid->FreeNotification(v);
}

std::string TColumn::DisplayName() const {
  return fieldName_.empty() ? TCollectionItem::DisplayName() : fieldName_;
}

const ClassInfo& TColumn::StaticClass() {
  using C = TColumn;
  static const ClassInfo info = ClassBuilder<C>("TColumn")
      .Enum("Alignment", &C::Alignment, &C::Alignment, AlignmentInfo()).Default(taLeftJustify)
      .Enum("ButtonStyle", &C::ButtonStyle, &C::ButtonStyle, ColumnButtonStyleInfo()).Default(cbsAuto)
      .Integer("Color", &C::Color, &C::Color).Idents(ColorIdents()).Default(clWindow)
      .Integer("DropDownRows", &C::DropDownRows, &C::DropDownRows).Default(7)
      .Boolean("Expanded", &C::Expanded, &C::Expanded).Default(true)
      .String("FieldName", &C::FieldName, &C::SetFieldName)
      .Object("Font", &C::Font, &C::SetFont).Stored(&C::IsFontStored)
      .Object("PickList", &C::PickList, &C::SetPickList)
      .Reference("PopupMenu", &C::PopupMenu, &C::SetPopupMenu, "TPopupMenu")
      .Boolean("ReadOnly", &C::ReadOnly, &C::ReadOnly).Default(false)
      .Object("Title", &C::Title, &C::SetTitle)
      .Integer("Width", &C::Width, &C::SetWidth).Stored(&C::IsWidthStored)
      // Newer grids write Visible always.
      .Boolean("Visible", &C::Visible, &C::Visible)
      .Build();
  return info;
}

const ClassInfo& TDBGridColumns::StaticClass() {
  static const ClassInfo info = ClassBuilder<TDBGridColumns>("TDBGridColumns").Build();
  return info;
}

TCustomDBGrid::TCustomDBGrid(TComponent* owner)
    : TCustomGrid(owner), columns_(std::make_unique<TDBGridColumns>(this)) {
  columns_->PropName = "Columns";
  SetBounds(0, 0, 320, 120);
}

void TCustomDBGrid::SetDataSource(TDataSource* v) { LinkDataSource(*this, dataSource_, v); }

void TCustomDBGrid::Notification(TComponent* component, TOperation operation) {
  TCustomGrid::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == dataSource_) dataSource_ = nullptr;
  for (int i = 0; i < columns_->Count(); ++i)
    if (columns_->Items(i)->PopupMenu() == component) columns_->Items(i)->SetPopupMenu(nullptr);
}

const ClassInfo& TCustomDBGrid::StaticClass() {
  using C = TCustomDBGrid;
  static const ClassInfo info = ClassBuilder<C>("TCustomDBGrid")
      .Protected()
      .Object("Columns", &C::Columns, &C::SetColumns)
      .Reference("DataSource", &C::DataSource, &C::SetDataSource)
      .Set("Options", &C::DBOptions, &C::DBOptions, DBGridOptionInfo())
      .Default(TDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
                              dgTabs, dgConfirmDelete, dgCancelOnExit, dgTitleClick, dgTitleHotTrack})
      .Boolean("ReadOnly", &C::ReadOnly, &C::ReadOnly).Default(false)
      .Object("TitleFont", &C::TitleFont, &C::SetTitleFont)
      .Event("OnCellClick", &C::OnCellClick)
      .Event("OnColEnter", &C::OnColEnter)
      .Event("OnColExit", &C::OnColExit)
      .Event("OnDrawDataCell", &C::OnDrawDataCell)
      .Event("OnDrawColumnCell", &C::OnDrawColumnCell)
      .Event("OnEditButtonClick", &C::OnEditButtonClick)
      .Event("OnTitleClick", &C::OnTitleClick)
      .Build();
  return info;
}

const ClassInfo& TDBGrid::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TDBGrid> b("TDBGrid");
    Pub(b, {"Align", "Anchors", "BiDiMode", "BorderStyle"});
    b.Publish("Color").Default(clWindow);
    Pub(b, {"Constraints", "Ctl3D", "DataSource", "DefaultDrawing", "DragCursor", "DragKind",
            "DragMode", "DrawingStyle", "Enabled", "FixedColor", "GradientEndColor",
            "GradientStartColor", "Font", "Options", "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ReadOnly", "ShowHint",
            "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"TitleFont", "Visible", "StyleElements", "OnCellClick", "OnColEnter", "OnColExit",
            "OnColumnMoved", "OnDrawDataCell", "OnDrawColumnCell", "OnDblClick", "OnDragDrop",
            "OnDragOver", "OnEditButtonClick", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit",
            "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown", "OnMouseEnter", "OnMouseLeave",
            "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag", "OnTitleClick",
            // The original streams the columns itself, after the published properties.
            "Columns"});
    return b.Build();
  }();
  return info;
}

// ---- the navigator ---------------------------------------------------------------------------

TDBNavigator::TDBNavigator(TComponent* owner) : TCustomPanel(owner) {
  SetBounds(0, 0, 240, 25);
  SetBevelOuter(bvNone);
  ShowCaption = false;
}

void TDBNavigator::SetDataSource(TDataSource* v) { LinkDataSource(*this, dataSource_, v); }

void TDBNavigator::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation == opRemove && component == dataSource_) dataSource_ = nullptr;
}

const ClassInfo& TDBNavigator::StaticClass() {
  using C = TDBNavigator;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TDBNavigator");
    b.Reference("DataSource", &C::DataSource, &C::SetDataSource)
        .Set("VisibleButtons", &C::VisibleButtons, &C::VisibleButtons, NavigateBtnInfo())
        .Default(TNavButtonSet{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost,
                               nbCancel, nbRefresh});
    Pub(b, {"Align", "Anchors", "Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
    b.Boolean("Flat", &C::Flat, &C::Flat).Default(false);
    b.Publish("Ctl3D");
    b.Object("Hints", &C::Hints, &C::SetHints);
    Pub(b, {"ParentCtl3D", "ParentShowHint", "PopupMenu"});
    b.Boolean("ConfirmDelete", &C::ConfirmDelete, &C::ConfirmDelete).Default(true);
    Pub(b, {"ShowHint", "TabOrder", "TabStop", "Visible", "StyleElements"});
    b.Event("BeforeAction", &C::BeforeAction);
    Pub(b, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
            "OnEndDrag", "OnEnter", "OnExit", "OnMouseDown", "OnMouseEnter", "OnMouseLeave",
            "OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

// ---- data-aware boxes ------------------------------------------------------------------------

void TDBListBox::SetDataSource(TDataSource* v) { LinkDataSource(*this, dataSource_, v); }
void TDBListBox::Notification(TComponent* component, TOperation operation) {
  TCustomListBox::Notification(component, operation);
  if (operation == opRemove && component == dataSource_) dataSource_ = nullptr;
}

const ClassInfo& TDBListBox::StaticClass() {
  using C = TDBListBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TDBListBox");
    Pub(b, {"Align", "Anchors", "AutoComplete", "BevelEdges", "BevelInner", "BevelKind"});
    b.Publish("BevelOuter").Default(bvLowered);
    Pub(b, {"BevelWidth", "BiDiMode", "BorderStyle", "Color", "Constraints", "Ctl3D"});
    b.String("DataField", &C::DataField, &C::DataField)
        .Reference("DataSource", &C::DataSource, &C::SetDataSource);
    Pub(b, {"DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled", "Font",
            "IntegralHeight", "ItemHeight", "Items", "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu"});
    b.Boolean("ReadOnly", &C::ReadOnly, &C::ReadOnly).Default(false);
    Pub(b, {"ShowHint", "Style", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"Visible", "StyleElements", "OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop",
            "OnDragOver", "OnDrawItem", "OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown",
            "OnKeyPress", "OnKeyUp", "OnMeasureItem", "OnMouseDown", "OnMouseEnter", "OnMouseLeave",
            "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

void TDBComboBox::SetDataSource(TDataSource* v) { LinkDataSource(*this, dataSource_, v); }
void TDBComboBox::Notification(TComponent* component, TOperation operation) {
  TCustomComboBox::Notification(component, operation);
  if (operation == opRemove && component == dataSource_) dataSource_ = nullptr;
}

const ClassInfo& TDBComboBox::StaticClass() {
  using C = TDBComboBox;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TDBComboBox");
    Pub(b, {"Style", "Align", "Anchors", "AutoComplete", "AutoDropDown", "BevelEdges", "BevelInner",
            "BevelKind"});
    b.Publish("BevelOuter").Default(bvLowered);
    Pub(b, {"BiDiMode", "CharCase", "Color", "Constraints", "Ctl3D"});
    b.String("DataField", &C::DataField, &C::DataField)
        .Reference("DataSource", &C::DataSource, &C::SetDataSource);
    Pub(b, {"DoubleBuffered", "DragCursor", "DragKind", "DragMode", "DropDownCount", "Enabled",
            "Font", "ItemHeight", "Items", "ParentBiDiMode"});
    b.Publish("ParentColor").Default(false);
    Pub(b, {"ParentCtl3D", "ParentDoubleBuffered", "ParentFont", "ParentShowHint", "PopupMenu"});
    b.Boolean("ReadOnly", &C::ReadOnly, &C::ReadOnly).Default(false);
    Pub(b, {"ShowHint", "Sorted", "TabOrder"});
    b.Publish("TabStop").Default(true);
    Pub(b, {"Visible", "StyleElements", "OnChange", "OnClick", "OnCloseUp", "OnContextPopup",
            "OnDblClick", "OnDragDrop", "OnDragOver", "OnDrawItem", "OnDropDown", "OnEndDock",
            "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMeasureItem",
            "OnMouseEnter", "OnMouseLeave", "OnSelect", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

void TDBRadioGroup::SetDataSource(TDataSource* v) { LinkDataSource(*this, dataSource_, v); }
void TDBRadioGroup::Notification(TComponent* component, TOperation operation) {
  TCustomRadioGroup::Notification(component, operation);
  if (operation == opRemove && component == dataSource_) dataSource_ = nullptr;
}

const ClassInfo& TDBRadioGroup::StaticClass() {
  using C = TDBRadioGroup;
  static const ClassInfo info = [] {
    ClassBuilder<C> b("TDBRadioGroup");
    Pub(b, {"Align", "Anchors", "BiDiMode", "Caption", "Color", "Columns", "Constraints", "Ctl3D"});
    b.String("DataField", &C::DataField, &C::DataField)
        .Reference("DataSource", &C::DataSource, &C::SetDataSource);
    Pub(b, {"DoubleBuffered", "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "Items",
            "ParentBackground", "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentDoubleBuffered",
            "ParentFont", "ParentShowHint", "PopupMenu"});
    b.Boolean("ReadOnly", &C::ReadOnly, &C::ReadOnly).Default(false);
    Pub(b, {"ShowHint", "TabOrder", "TabStop"});
    b.Object("Values", &C::Values, &C::SetValues);
    Pub(b, {"Visible", "WordWrap", "StyleElements"});
    b.Event("OnChange", &C::OnChange);
    Pub(b, {"OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
            "OnEnter", "OnExit", "OnStartDock", "OnStartDrag"});
    return b.Build();
  }();
  return info;
}

void RegisterDBCtrls() {
  RegisterClasses({&TField::StaticClass(), &TStringField::StaticClass(), &TIntegerField::StaticClass(),
                   &TSmallintField::StaticClass(), &TWordField::StaticClass(),
                   &TAutoIncField::StaticClass(), &TFloatField::StaticClass(),
                   &TCurrencyField::StaticClass(), &TBCDField::StaticClass(),
                   &TBooleanField::StaticClass(), &TDateTimeField::StaticClass(),
                   &TDateField::StaticClass(), &TTimeField::StaticClass(), &TBlobField::StaticClass(),
                   &TMemoField::StaticClass(), &TDataSource::StaticClass(), &TDBGrid::StaticClass(),
                   &TDBNavigator::StaticClass(), &TDBListBox::StaticClass(),
                   &TDBComboBox::StaticClass(), &TDBRadioGroup::StaticClass()});
}

}  // namespace vorlect::host
