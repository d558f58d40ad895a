// The expert's string table for spell checking: fixed identifiers and their texts.
#pragma once

#include <string>
#include <string_view>

namespace vorlect::spell {

enum SpellResId : int {
  SpellErrorNo = 65280,
  SpellDllLoadError = 65281,
  SpellDllUnloadError = 65282,
  SpellStart = 65283,
  SpellSkip = 65296,
  SpellSkipAll = 65297,
  SpellCancel = 65298,
  SpellUndoEdit = 65299,
  SpellUnknownWord = 65300,
  SpellIllegalHyphenations = 65301,
  SpellCapitalizationError = 65302,
  SpellPossibleAbbreviation = 65303,
  SpellSentenceCapitalization = 65304,
  SpellExtraSpaces = 65305,
  SpellMissingSpace = 65306,
  SpellNumeralsInStart = 65307,
  SpellRepeatedWord = 65308,
  SpellCheckComplete = 65309,
  SpellMessage = 65310,
  SpellCaption = 65311,
  SpellVariants = 65324,
  SpellDelete = 65325,
  SpellChange = 65326,
  SpellChangeAll = 65327,
};

struct SpellResEntry {
  int id;
  std::string_view text;
};

// Texts as the expert shows them (UTF-8; the caption's dash is an em dash).
inline constexpr SpellResEntry kSpellRes[] = {
    {SpellErrorNo, "Spelling error No %d"},
    {SpellDllLoadError, "Error loading Spell DLL %s"},
    {SpellDllUnloadError, "Error unloading Spell DLL %s"},
    {SpellStart, "Start"},
    {SpellSkip, "&Skip"},
    {SpellSkipAll, "S&kip All"},
    {SpellCancel, "Ca&ncel"},
    {SpellUndoEdit, "&Undo Edit"},
    {SpellUnknownWord, "Unknown word"},
    {SpellIllegalHyphenations, "Illegal hyphenations"},
    {SpellCapitalizationError, "Capitalization error"},
    {SpellPossibleAbbreviation, "Possible abbreviation"},
    {SpellSentenceCapitalization, "Sentence capitalization error"},
    {SpellExtraSpaces, "Extra spaces"},
    {SpellMissingSpace, "Missing space"},
    {SpellNumeralsInStart, "Numerals in start of word"},
    {SpellRepeatedWord, "Repeated word"},
    {SpellCheckComplete, "Spelling check complete"},
    {SpellMessage, "Message"},
    {SpellCaption, "Spelling \u2014 %s"},
    {SpellVariants, "&Variants"},
    {SpellDelete, "&Delete"},
    {SpellChange, "&Change"},
    {SpellChangeAll, "Change A&ll"},
};

// The text of a string-table entry; empty for an unknown identifier.
inline std::string SpellResString(int id) {
  for (const auto& e : kSpellRes)
    if (e.id == id) return std::string(e.text);
  return {};
}

}  // namespace vorlect::spell
