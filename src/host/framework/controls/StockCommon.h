// Pieces every stock control shares: the enumerations several units use and the helper that
// publishes inherited properties in order.
#pragma once

#include "host/framework/Classes.h"
#include "host/framework/Controls.h"
#include "host/framework/Graphics.h"
#include "host/framework/TypInfo.h"

#include <memory>
#include <string>

namespace vorlect::host {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
enum TBorderStyle { bsNone_, bsSingle_ };  // identifiers bsNone, bsSingle (TFormBorderStyle owns the C++ names)
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollBarKind { sbHorizontal, sbVertical };

const EnumInfo& AlignmentInfo();
const EnumInfo& VerticalAlignmentInfo();
const EnumInfo& BorderStyleInfo();
const EnumInfo& ScrollStyleInfo();
const EnumInfo& TextLayoutInfo();
const EnumInfo& EditCharCaseInfo();
const EnumInfo& ScrollBarKindInfo();

// A list a control shows: its changes are the control's (see TChangeObserver).
inline void ReportChanges(TStringList& list, TComponent& control) {
  list.OnChange = [&control](TObject*) { control.NotifyChanged(); };
}

// Publishes inherited properties in the order given.
template <class C>
ClassBuilder<C>& Pub(ClassBuilder<C>& b, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) b.Publish(n);
  return b;
}

}  // namespace vorlect::host
