#include "host/framework/controls/StockCommon.h"

namespace vorlect::host {

const EnumInfo& AlignmentInfo() {
  static const EnumInfo info{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
  return info;
}
const EnumInfo& VerticalAlignmentInfo() {
  static const EnumInfo info{"TVerticalAlignment", {"taAlignTop", "taAlignBottom", "taVerticalCenter"}};
  return info;
}
const EnumInfo& BorderStyleInfo() {
  static const EnumInfo info{"TBorderStyle", {"bsNone", "bsSingle"}};
  return info;
}
const EnumInfo& ScrollStyleInfo() {
  static const EnumInfo info{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
  return info;
}
const EnumInfo& TextLayoutInfo() {
  static const EnumInfo info{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
  return info;
}
const EnumInfo& EditCharCaseInfo() {
  static const EnumInfo info{"TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}};
  return info;
}
const EnumInfo& ScrollBarKindInfo() {
  static const EnumInfo info{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};
  return info;
}

}  // namespace vorlect::host
