// What `spell check` and `project spell` print for a spelling problem: its suggestions.
#pragma once

#include <string>
#include <vector>

#include "spell/Spellers.h"

namespace vorlect::cli {

// Up to `count` suggestions for a problem of kind `status` found on `word` (code-page text):
// the speller's for unknown words, the corrected form for the sentence-start and extra-space
// checks, none for the others.
std::vector<std::string> ProblemSuggestions(spell::TSpellChecker& checker, unsigned status, const std::string& word,
                                            spell::TLanguage language, unsigned count);

}  // namespace vorlect::cli
