// Helpers shared by the framework tests.
#pragma once

#include "host/formfile/FormFile.h"
#include "host/formfile/FormTree.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vorlect::host::test {

// Empty when both trees hold the same objects, properties (in order) and values (with their
// value types); else the path of the first difference.
std::string ExactDiff(const formfile::Object& a, const formfile::Object& b);

// Parses a text form (throws on syntax errors).
formfile::Object Tree(const std::string& text);

// Every readable corpus form: dfm/text, dfm/binary, dfm/pairs, projects/*.
std::vector<std::filesystem::path> CorpusForms();

}  // namespace vorlect::host::test
