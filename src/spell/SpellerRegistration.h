// Registration of our engine for every installed Hunspell dictionary, and the list of the
// registered speller languages.
#pragma once

#include <string>
#include <vector>

#include "spell/CSAPI.h"
#include "spell/Langs.h"

namespace vorlect::host {
class TStrings;
}

namespace vorlect::spell {

struct TInstalledDictionary {
  TLanguage language = 0;
  std::string locale;      // as the file is named: "de_DE"
  std::string dictionary;  // the .dic file; its .aff lies beside it
};

// Folders searched, in order: each entry of $DICPATH, then /usr/share/hunspell,
// /usr/share/myspell/dicts, /usr/share/myspell.
std::vector<std::string> DictionaryFolders();

// The .aff + .dic pairs in `folders`, one per language: the first folder wins, and a name without
// a region ("fr") only serves its primary language when no regional dictionary does.
std::vector<TInstalledDictionary> FindInstalledDictionaries(const std::vector<std::string>& folders);

// Our engine module: $VORLECT_SPELL_ENGINE, else beside the program (../lib/vorlect/), else the
// one in the build tree.
std::string DefaultEnginePath();

// The custom dictionary used when the registered one is empty or not writable:
// $XDG_DATA_HOME/vorlect/CUSTOM.DIC (XDG_DATA_HOME defaulting to ~/.local/share).
std::string DefaultCustomDictionary();

// Writes "Engine" and "Dictionary" under one speller key per dictionary found and fixes the custom
// dictionary value; keys our engine registered earlier whose dictionary is gone are removed.
// Appends one line per action to `report`; returns the number of languages registered.
int RegisterSpellers(std::string& report);
int RegisterSpellers(std::string& report, const std::vector<std::string>& folders, const std::string& enginePath);

struct TSpellerLanguage {
  TLanguage language;
  std::string name;
};
// The registered speller languages in key order; subkeys that are not decimal numbers are left out.
std::vector<TSpellerLanguage> SpellerLanguages(TLanguageNameKind kind = lnkLocalized);
// Fills `list` with the names, each with its LCID as the associated object.
void GetSpellerLanguages(host::TStrings& list, int nameKind);
// One line per registered language: LCID, tab, name.
std::string ListSpellers();

}  // namespace vorlect::spell
