#include "vle/project/FormComponent.h"

#include "host/framework/TypInfo.h"
#include "runtime/VLBase.h"
#include "vle/project/Notation.h"
#include "vle/project/ProjectForms.h"

namespace vorlect::vle {

namespace {

std::vector<std::string> LinesOf(const host::TStrings& list, bool toNotation) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i)
    lines.push_back(toNotation ? notation::OfBytes(list.Strings(i)) : list.Strings(i));
  return lines;
}

}  // namespace

runtime::TBaseVorlect* FindTranslationComponent(host::TComponent& form, std::string_view name) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* v = dynamic_cast<runtime::TBaseVorlect*>(form.Components(i)))
      if (name.empty() || SameFormName(v->Name(), name)) return v;
  return nullptr;
}

TComponentProperties ComponentPropertiesOf(const runtime::TBaseVorlect& component) {
  TComponentProperties p;
  p.languages = component.Languages();
  p.activeLanguage = component.ActiveLanguage();
  p.words = LinesOf(*component.Words(), true);
  // TVorlect publishes the editor's lists; TSmallVorlect keeps them out of the form file.
  if (host::IsPublishedProp(component, "CharSets")) {
    p.doNot = LinesOf(*component.DoNot(), false);
    p.positions = LinesOf(*component.Positions(), false);
    p.charSets = LinesOf(*component.CharSets(), false);
  }
  return p;
}

bool SaveComponent(const std::string& formFile, const runtime::TBaseVorlect& component) {
  return RewriteComponent(formFile, component.Name(), ComponentPropertiesOf(component));
}

}  // namespace vorlect::vle
