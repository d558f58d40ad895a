// vorlect spell check: every spelling problem of a text, one per line, as the blocking pass of the
// spell checker finds them.
#include "CliSupport.h"
#include "Commands.h"
#include "SpellReport.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/CodePages.h"
#include "spell/Langs.h"
#include "spell/SpellRes.h"
#include "spell/SpellerDialog.h"
#include "spell/Spellers.h"

namespace vorlect::cli {

namespace {

constexpr int kExitClean = 0, kExitProblems = 1, kExitUsage = 2, kExitCannotCheck = 3;

struct SpellCheckOptions {
  unsigned language = 0;
  unsigned options = 0xFFFF'FFFF;  // unset: the checker's default
  bool utf8 = false;
  unsigned suggestions = 3;
  std::string input;
};

struct Problem {
  unsigned status;
  size_t pos, length;
};

// Code-page text of a UTF-8 text, with the UTF-8 offset of every code-page byte (and of the end),
// so problems are reported at the places of the file as given.
std::string FromUtf8(const std::string& utf8, int codePage, std::vector<size_t>& offsets, bool& lossy) {
  const std::u16string u = platform::Utf8ToUtf16(utf8);
  std::string out;
  size_t at = 0;  // UTF-8 offset
  for (size_t i = 0; i < u.size();) {
    const size_t units = (u[i] >= 0xD800 && u[i] < 0xDC00 && i + 1 < u.size()) ? 2 : 1;
    const std::u16string_view one(u.data() + i, units);
    bool oneLossy = false;
    const std::string bytes = platform::EncodeCodePage(one, codePage, &oneLossy);
    lossy = lossy || oneLossy;
    for (size_t b = 0; b < bytes.size(); ++b) offsets.push_back(at);
    out += bytes;
    at += platform::Utf16ToUtf8(one).size();
    i += units;
  }
  offsets.push_back(at);
  return out;
}

// The distinct words of the problems that take the speller's suggestions, in order of first
// appearance.
std::vector<std::string> SuggestedWords(const std::string& text, const std::vector<Problem>& problems) {
  std::vector<std::string> words;
  std::unordered_set<std::string> seen;
  for (const Problem& p : problems) {
    if (p.status != spell::kStatusUnknownInputWord && p.status != spell::kStatusInvalidHyphenation &&
        p.status != spell::kStatusErrorCapitalization)
      continue;
    std::string word = text.substr(p.pos, p.length);
    if (seen.insert(word).second) words.push_back(std::move(word));
  }
  return words;
}

int RunSpellCheck(const SpellCheckOptions& o) {
  using namespace vorlect::spell;
  CheckSettings();
  const TLanguage language = static_cast<TLanguage>(o.language);
  if (o.language == 0 || o.language > 0xFFFF || !IsInstalledLanguage(language)) {
    std::cerr << "vorlect spell check: " << o.language << " is not a known language identifier (LCID)\n";
    return kExitUsage;
  }
  if (o.options != 0xFFFF'FFFF && o.options > 0xFFFF) {
    std::cerr << "vorlect spell check: --options takes a 16-bit option word\n";
    return kExitUsage;
  }
  try {
    const int codePage = LanguageCodePage(language);
    const std::string raw = ReadInput(o.input);
    std::string text = raw;
    std::vector<size_t> offsets;
    if (o.utf8) {
      bool lossy = false;
      text = FromUtf8(raw, codePage, offsets, lossy);
      if (lossy)
        std::cerr << "vorlect spell check: " << DisplayName(o.input) << ": characters code page " << codePage
                  << " cannot hold were checked as '?'\n";
    }
    const auto place = [&](size_t cpOffset) { return o.utf8 ? offsets[std::min(cpOffset, offsets.size() - 1)] : cpOffset; };
    const auto toUtf8 = [&](const std::string& bytes) { return Utf8Of(bytes, codePage); };

    TSpellChecker checker;
    checker.SetLanguage(language);
    if (o.options != 0xFFFF'FFFF) checker.SetOptions(static_cast<std::uint16_t>(o.options));
    checker.SpellMode = smBackground;
    std::vector<Problem> problems;
    checker.OnMisspelling = [&](TSpellChecker&, TSpellReturnCode src, std::int32_t pos, std::int32_t len) {
      problems.push_back({src, static_cast<size_t>(pos), static_cast<size_t>(len)});
    };
    checker.Open();
    if (!checker.IsOpen()) {
      std::cerr << "vorlect spell check: no speller is registered for language " << language
                << " (run `vorlect spellers register`)\n";
      return kExitCannotCheck;
    }
    checker.CheckText(text);
    if (o.suggestions > 0) PrepareSuggestions(checker, SuggestedWords(text, problems));

    std::string out;
    for (const Problem& p : problems) {
      const std::string word = text.substr(p.pos, p.length);
      const std::vector<std::string> suggestions = ProblemSuggestions(checker, p.status, word, language, o.suggestions);
      const size_t begin = place(p.pos), end = place(p.pos + p.length);
      out += std::to_string(begin) + '\t' + std::to_string(end - begin) + '\t' + std::to_string(p.status) + '\t' +
             toUtf8(word) + '\t';
      for (size_t i = 0; i < suggestions.size(); ++i) {
        if (i) out += ", ";
        out += toUtf8(suggestions[i]);
      }
      out += '\n';
    }
    checker.Close();
    WriteOutput("-", out);
    return problems.empty() ? kExitClean : kExitProblems;
  } catch (const std::exception& e) {
    std::cerr << "vorlect spell check: " << e.what() << "\n";
    return kExitCannotCheck;
  }
}

}  // namespace

std::vector<std::string> ProblemSuggestions(spell::TSpellChecker& checker, unsigned status, const std::string& word,
                                            spell::TLanguage language, unsigned count) {
  using namespace vorlect::spell;
  std::vector<std::string> suggestions;
  if (count == 0) return suggestions;
  switch (status) {
    case kStatusUnknownInputWord:
    case kStatusInvalidHyphenation:
    case kStatusErrorCapitalization:
      checker.Suggest(word, suggestions);
      break;
    case kStatusNoSentenceStartCap: suggestions.push_back(UpperFirst(word, language)); break;
    case kStatusExtraSpaces: suggestions.push_back(WithoutExtraSpaces(word)); break;
    default: break;
  }
  if (suggestions.size() > count) suggestions.resize(count);
  return suggestions;
}

void AddSpellCommands(CLI::App& app, Action& action) {
  CLI::App* spell = app.add_subcommand("spell", "Spell checking with the registered speller languages");
  spell->require_subcommand(1);

  auto options = std::make_shared<SpellCheckOptions>();
  CLI::App* check = spell->add_subcommand("check", "Print every spelling problem of a text, one per line");
  check->add_option("--language", options->language, "Language identifier (LCID), e.g. 1033, 1031, 1049")->required();
  check->add_option("--options", options->options,
                    "Option word (default 15): 1 suggest from the custom dictionary, 2 ignore all-caps words,\n"
                    "4 ignore words with digits, 8 ignore Roman numerals, 16 uncapitalised sentences,\n"
                    "32 missing spaces, 64 repeated words, 128 extra spaces, 256 spaces before punctuation,\n"
                    "512 spaces after opening punctuation, 2048 words starting with numerals");
  check->add_flag("--utf8", options->utf8, "The text is UTF-8 (default: the language's ANSI code page)");
  check->add_option("--suggestions", options->suggestions, "Suggestions per problem (default 3; 0 is fastest)");
  check->add_option("file", options->input, "Text file, or - for standard input")->required();
  check->footer(
      "Output (UTF-8), one line per problem: position, length, status, the flagged text and the first\n"
      "suggestions separated by \", \" -- fields separated by tabs. Position and length are byte counts in\n"
      "the input as given. Status: 1 unknown word, 2/3 change-always/change-once replacement, 10 sentence\n"
      "not capitalised, 11 repeated word, 12 extra spaces, 13 missing space, 14 initial numerals.\n"
      "Exit status: 0 no problem, 1 problems found, 2 usage error, 3 the text could not be checked\n"
      "(no speller registered for the language, unreadable file, engine error).");
  check->callback([&action, options] {
    action = [options] { return RunSpellCheck(*options); };
  });
}

}  // namespace vorlect::cli
