// Shared set-up of the spelling tests: a private registry and data folder, the real engine module
// registered for the installed dictionaries, and a verify loop as a background pass makes it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell/Speller.h"

namespace vorlect::spell::test {

constexpr const char* kSystemDictionaries = "/usr/share/hunspell";

bool HasDictionary(const std::string& locale);

// Every test gets its own registry, $XDG_DATA_HOME and scratch folder.
class SpellTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Registers the system dictionaries; false (after GTEST_SKIP) when `locale` is not installed.
  bool RegisterSystem(const std::string& locale);
  std::string dir_;
};

struct Found {
  unsigned status;
  std::string text;  // the flagged bytes
  unsigned offset;   // from the start of the whole text
  std::string firstString;
  bool operator==(const Found&) const = default;
};
void PrintTo(const Found& f, std::ostream* os);

// Every problem of `text`, walking on as a background check does (state 2, then 1).
std::vector<Found> VerifyAll(TSpeller& speller, const std::string& text);
// Suggestions through commands 3 and 4 until "no more suggestions".
std::vector<std::string> SuggestAll(TSpeller& speller, const std::string& word);
// Code-page bytes of a UTF-8 text, and back.
std::string ToCp(const std::string& utf8, int codePage);
std::string FromCp(const std::string& bytes, int codePage);

}  // namespace vorlect::spell::test
