// Comparing form trees in tests: exact or "as values" (strings by their text, numbers by value).
#pragma once

#include "host/formfile/FormTree.h"

#include <string>

namespace vorlect::formfile::test {

struct CompareOptions {
  // Strings compare by text: an 8-bit string equals a Unicode one when it decodes to it through
  // `codePage`; String/LString and WString/UTF8String are not told apart.
  bool stringsAsText = false;
  int codePage = 1252;
  // Integers compare by value whatever their width; Double equals Extended of the same value,
  // and an integer equals a float of the same value (an IDE that re-streams a form from its
  // components writes a property's current type, not the one stored before).
  bool numbersByValue = false;
  // Floats equal when they differ by at most this relative amount (0: bit-exact value).
  long double floatTolerance = 0;
};

// Empty when equal, else a description of the first difference with its path.
std::string DiffTrees(const Object& a, const Object& b, const CompareOptions& options = {});

std::string Describe(const Value& v);

}  // namespace vorlect::formfile::test
