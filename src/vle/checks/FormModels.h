// The check model of a loaded form: each translation component's table, and for every text the
// control it is shown in (class, size in each language, font) and the parent whose controls
// share accelerator keys with it.
#pragma once

#include "vle/checks/Checks.h"

#include <string>
#include <vector>

namespace vorlect::host {
class TComponent;
}

namespace vorlect::vle::checks {

// One model per translation component of `form` (a form loaded as the designer holds it), in
// component order; none when the form holds no translation component. `name` names the form in
// problems (its own name when empty).
std::vector<FormModel> FormModelsOf(host::TComponent& form, const std::string& name = {});

// Does the key name a numbered string rather than a component ("@", "%" or a double quote)?
bool IsStringKey(std::string_view key);

}  // namespace vorlect::vle::checks
