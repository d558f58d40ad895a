// Locating corpus form files for the tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vorlect::formfile::test {

inline std::filesystem::path CorpusDir() { return VORLECT_CORPUS_DIR; }
inline bool HaveCorpus() { return std::filesystem::is_directory(CorpusDir() / "dfm"); }

std::string ReadAll(const std::filesystem::path& path);

// Binary forms: dfm/binary, binary halves of pairs, binary project forms.
std::vector<std::filesystem::path> CorpusBinaries();
// Text forms: dfm/text, text halves of pairs, text project forms.
std::vector<std::filesystem::path> CorpusTexts();
// Pairs as (binary, text).
std::vector<std::pair<std::filesystem::path, std::filesystem::path>> CorpusPairs();
std::vector<std::filesystem::path> CorpusMalformed();

}  // namespace vorlect::formfile::test
