// A loaded form's translation component as the translation editor saves it: found by name, its
// properties collected as the form file stores them, and written into the form file through the
// shared component rewrite. The command line and the window editor open and save through these.
#pragma once

#include "vle/project/DFM_TXT.h"

#include <string>
#include <string_view>

namespace vorlect::host {
class TComponent;
}
namespace vorlect::runtime {
class TBaseVorlect;
}

namespace vorlect::vle {

// The translation component of `form` named `name` (ASCII case ignored), or its first one when
// `name` is empty; null when there is none.
runtime::TBaseVorlect* FindTranslationComponent(host::TComponent& form, std::string_view name = {});

// What the editor writes into a component: Languages, ActiveLanguage, Words (in form-file
// notation), and DoNot, Positions and CharSets when the component's class stores them
// (TSmallVorlect does not: they are nullopt then).
TComponentProperties ComponentPropertiesOf(const runtime::TBaseVorlect& component);

// Writes the component's properties into `formFile` under the component's name (RewriteComponent):
// nothing else of the form, and nothing at all when they are as the file holds them. Throws
// std::runtime_error naming the file; the file is then unchanged. True when the file was written.
bool SaveComponent(const std::string& formFile, const runtime::TBaseVorlect& component);

}  // namespace vorlect::vle
