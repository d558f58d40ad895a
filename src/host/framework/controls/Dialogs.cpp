#include "host/framework/controls/Dialogs.h"

namespace vorlect::host {

const EnumInfo& OpenOptionInfo() {
  static const EnumInfo info{
      "TOpenOption",
      {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
       "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
       "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate",
       "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks",
       "ofEnableIncludeNotify", "ofEnableSizing", "ofDontAddToRecent", "ofForceShowHidden"}};
  return info;
}

namespace {

const EnumInfo& FontDialogOptionInfo() {
  static const EnumInfo info{"TFontDialogOption",
                             {"fdAnsiOnly", "fdTrueTypeOnly", "fdEffects", "fdFixedPitchOnly",
                              "fdForceFontExist", "fdNoFaceSel", "fdNoOEMFonts", "fdNoSimulations",
                              "fdNoSizeSel", "fdNoStyleSel", "fdNoVectorFonts", "fdShowHelp",
                              "fdWysiwyg", "fdLimitSize", "fdScalableOnly", "fdApplyButton"}};
  return info;
}
const EnumInfo& FontDeviceInfo() {
  static const EnumInfo info{"TFontDialogDevice", {"fdScreen", "fdPrinter", "fdBoth"}};
  return info;
}
const EnumInfo& ColorDialogOptionInfo() {
  static const EnumInfo info{"TColorDialogOption",
                             {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor",
                              "cdAnyColor"}};
  return info;
}
const EnumInfo& PrintDialogOptionInfo() {
  static const EnumInfo info{"TPrintDialogOption",
                             {"poPrintToFile", "poPageNums", "poSelection", "poWarning", "poHelp",
                              "poDisablePrintToFile"}};
  return info;
}
const EnumInfo& PrintRangeInfo() {
  static const EnumInfo info{"TPrintRange", {"prAllPages", "prSelection", "prPageNums"}};
  return info;
}
const EnumInfo& FindOptionInfo() {
  static const EnumInfo info{"TFindOption",
                             {"frDown", "frFindNext", "frHideMatchCase", "frHideWholeWord",
                              "frHideUpDown", "frMatchCase", "frDisableMatchCase", "frDisableUpDown",
                              "frDisableWholeWord", "frReplace", "frReplaceAll", "frWholeWord",
                              "frShowHelp"}};
  return info;
}
const EnumInfo& FileEditStyleInfo() {
  static const EnumInfo info{"TFileEditStyle", {"fsEdit", "fsComboBox"}};
  return info;
}
const EnumInfo& OpenOptionExInfo() {
  static const EnumInfo info{"TOpenOptionEx", {"ofExNoPlacesBar"}};
  return info;
}

}  // namespace

const ClassInfo& TCommonDialog::StaticClass() {
  using C = TCommonDialog;
  static const ClassInfo info = ClassBuilder<C>("TCommonDialog")
      .Boolean("Ctl3D", &C::Ctl3D, &C::Ctl3D).Default(true)
      .Integer("HelpContext", &C::HelpContext, &C::HelpContext).Default(0)
      .Event("OnClose", &C::OnClose)
      .Event("OnShow", &C::OnShow)
      .Build();
  return info;
}

const ClassInfo& TOpenDialog::StaticClass() {
  using C = TOpenDialog;
  static const ClassInfo info = ClassBuilder<C>("TOpenDialog")
      .String("DefaultExt", &C::DefaultExt, &C::DefaultExt)
      .Enum("FileEditStyle", &C::FileEditStyle, &C::FileEditStyle, FileEditStyleInfo()).Default(0)
      .String("FileName", &C::FileName, &C::FileName)
      .String("Filter", &C::Filter, &C::Filter)
      .Integer("FilterIndex", &C::FilterIndex, &C::FilterIndex).Default(1)
      .Object("HistoryList", &C::HistoryList, &C::SetHistoryList)
      .String("InitialDir", &C::InitialDir, &C::InitialDir)
      .Set("Options", &C::Options, &C::Options, OpenOptionInfo()).Default(TOpenOptions{ofHideReadOnly, ofEnableSizing})
      .Set("OptionsEx", &C::OptionsEx, &C::OptionsEx, OpenOptionExInfo())
      .String("Title", &C::Title, &C::Title)
      .Event("OnCanClose", &C::OnCanClose)
      .Event("OnFolderChange", &C::OnFolderChange)
      .Event("OnSelectionChange", &C::OnSelectionChange)
      .Event("OnTypeChange", &C::OnTypeChange)
      .Event("OnIncludeItem", &C::OnIncludeItem)
      .Build();
  return info;
}

const ClassInfo& TSaveDialog::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSaveDialog>("TSaveDialog").Build();
  return info;
}

const ClassInfo& TFontDialog::StaticClass() {
  using C = TFontDialog;
  static const ClassInfo info = ClassBuilder<C>("TFontDialog")
      .Object("Font", &C::Font, &C::SetFont)
      .Enum("Device", &C::Device, &C::Device, FontDeviceInfo()).Default(0)
      .Integer("MinFontSize", &C::MinFontSize, &C::MinFontSize).Default(0)
      .Integer("MaxFontSize", &C::MaxFontSize, &C::MaxFontSize).Default(0)
      .Set("Options", &C::Options, &C::Options, FontDialogOptionInfo()).Default(std::int64_t{1} << 2)
      .Event("OnApply", &C::OnApply)
      .Build();
  return info;
}

const ClassInfo& TColorDialog::StaticClass() {
  using C = TColorDialog;
  static const ClassInfo info = ClassBuilder<C>("TColorDialog")
      .Integer("Color", &C::Color, &C::Color).Idents(ColorIdents()).Default(clBlack)
      .Object("CustomColors", &C::CustomColors, &C::SetCustomColors)
      .Set("Options", &C::Options, &C::Options, ColorDialogOptionInfo())
      .Build();
  return info;
}

const ClassInfo& TPrintDialog::StaticClass() {
  using C = TPrintDialog;
  static const ClassInfo info = ClassBuilder<C>("TPrintDialog")
      .Boolean("Collate", &C::Collate, &C::Collate).Default(false)
      .Integer("Copies", &C::Copies, &C::Copies).Default(0)
      .Integer("FromPage", &C::FromPage, &C::FromPage).Default(0)
      .Integer("MinPage", &C::MinPage, &C::MinPage).Default(0)
      .Integer("MaxPage", &C::MaxPage, &C::MaxPage).Default(0)
      .Set("Options", &C::Options, &C::Options, PrintDialogOptionInfo())
      .Boolean("PrintToFile", &C::PrintToFile, &C::PrintToFile).Default(false)
      .Enum("PrintRange", &C::PrintRange, &C::PrintRange, PrintRangeInfo()).Default(0)
      .Integer("ToPage", &C::ToPage, &C::ToPage).Default(0)
      .Build();
  return info;
}

const ClassInfo& TFindDialog::StaticClass() {
  using C = TFindDialog;
  static const ClassInfo info = ClassBuilder<C>("TFindDialog")
      .String("FindText", &C::FindText, &C::FindText)
      .Set("Options", &C::Options, &C::Options, FindOptionInfo()).Default(1)
      .Event("OnFind", &C::OnFind)
      .Build();
  return info;
}

const ClassInfo& TReplaceDialog::StaticClass() {
  using C = TReplaceDialog;
  static const ClassInfo info = ClassBuilder<C>("TReplaceDialog")
      .String("ReplaceText", &C::ReplaceText, &C::ReplaceText)
      .Event("OnReplace", &C::OnReplace)
      .Build();
  return info;
}

void RegisterDialogs() {
  RegisterClasses({&TOpenDialog::StaticClass(), &TSaveDialog::StaticClass(), &TFontDialog::StaticClass(),
                   &TColorDialog::StaticClass(), &TPrintDialog::StaticClass(), &TFindDialog::StaticClass(),
                   &TReplaceDialog::StaticClass()});
}

}  // namespace vorlect::host
