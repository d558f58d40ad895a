// Form-file text for tests: quoted strings and string-list properties written in place.
#pragma once

#include <string>
#include <vector>

#include "host/framework/Classes.h"

namespace vorlect::test {

// A Pascal string literal.
inline std::string Quoted(const std::string& text) {
  std::string r = "'";
  for (char c : text) r += c == '\'' ? std::string("''") : std::string(1, c);
  return r + "'";
}

// `Name.Strings = (...)` lines of a form file, indented as a component's property.
inline std::string StringsProp(const std::string& name, const std::vector<std::string>& lines) {
  std::string r = "    " + name + ".Strings = (";
  for (const std::string& l : lines) r += "\n      " + Quoted(l);
  return r + ")\n";
}

inline std::vector<std::string> Lines(const host::TStrings& list) {
  std::vector<std::string> r;
  for (int i = 0; i < list.Count(); ++i) r.push_back(list.Strings(i));
  return r;
}

}  // namespace vorlect::test
