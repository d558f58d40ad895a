// vorlect project spell PROJECT.dpr: every spelling problem of the translations, one line per
// problem, without the interactive dialog of the project manager's spell check - for scripts and
// CI. Each language column is checked in the speller language configured for it (vorlect
// languages set), with the stored spell-check settings; accelerator markers are taken out first.
#include "CliSupport.h"
#include "Commands.h"
#include "SpellReport.h"

#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/CodePages.h"
#include "spell/Langs.h"
#include "spell/Spellers.h"
#include "vle/VLSettings.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/project/Notation.h"
#include "vle/project/ProjectForms.h"
#include "vle/spellcheck/SpellTranslations.h"

namespace vorlect::cli {

namespace {

constexpr int kExitClean = 0, kExitProblems = 1, kExitUsage = 2, kExitCannotCheck = 3;
constexpr int kFormsPerBatch = 64;

struct ProjectSpellArgs {
  std::string project, forms, languages;
  unsigned suggestions = 3;
  QuestionOptions questions;
};

// The checkers of the run, one per language column, opened when first needed; a column without a
// usable speller is reported once and left out.
class Checkers {
public:
  spell::TSpellChecker* For(int column) {
    auto [it, added] = checkers_.try_emplace(column);
    if (!added) return it->second.get();
    const spell::TLanguage id = vle::SpellerLanguageOf(column);
    if (id == vle::kNoSpeller || !spell::IsInstalledLanguage(id)) {
      std::cerr << "vorlect: language " << column - 1
                << " has no speller language (set the languages' identifiers with `vorlect languages set`)\n";
      unchecked_ = true;
      return nullptr;
    }
    auto checker = std::make_unique<spell::TSpellChecker>();
    vle::ApplyStoredSpellSettings(*checker);
    checker->SetLanguage(id);
    checker->SpellMode = spell::smBackground;
    checker->OnMisspelling = [this](spell::TSpellChecker&, spell::TSpellReturnCode status, std::int32_t pos,
                                    std::int32_t length) {
      found_.push_back({status, static_cast<size_t>(pos), static_cast<size_t>(length)});
    };
    checker->Open();
    if (!checker->IsOpen()) {
      std::cerr << "vorlect: no speller is registered for language " << column << " (" << id
                << "; run `vorlect spellers register`)\n";
      unchecked_ = true;
      return nullptr;
    }
    it->second = std::move(checker);
    return it->second.get();
  }
  ~Checkers() {
    for (auto& [column, checker] : checkers_)
      if (checker) checker->Close();
  }

  struct Found {
    unsigned status;
    size_t pos, length;
  };
  std::vector<Found> found_;
  bool unchecked_ = false;

private:
  std::map<int, std::unique_ptr<spell::TSpellChecker>> checkers_;
};

int RunProjectSpell(const ProjectSpellArgs& a) {
  LoadSettings();
  RunPorts ports(a.questions);
  std::set<int> wanted;
  for (const std::string& item : vle::SplitFormNames(a.languages)) {
    // Table languages count from 0, as the component does; column b holds language b - 1.
    const int language = item == "0" ? 0 : WholeNumber(item);
    if ((language == 0 && item != "0") || language > 254) {
      std::cerr << "vorlect: --languages takes table language numbers from 0, not " << item << "\n";
      return kExitUsage;
    }
    wanted.insert(language + 1);
  }
  vle::ProjectSession session(a.project, TerminalProgress());
  vle::TFPrjList& catalogue = session.Catalogue();
  if (!SelectNamedForms(catalogue, a.forms)) return kExitUsage;

  Checkers checkers;
  const int keyCodePage = platform::AnsiCodePage();
  int problems = 0;
  // Forms are checked a batch at a time: the problems of a batch first, then the suggestions for
  // its distinct words of each language, made on every core at once, then its lines in order.
  struct Pending {
    std::string head;  // form file, key, language, status and the flagged text, each with its tab
    int column;
    unsigned status;
    std::string word;  // code-page bytes
  };
  std::vector<Pending> batch;
  int formsInBatch = 0;
  const auto flush = [&] {
    if (a.suggestions > 0) {
      std::map<int, std::vector<std::string>> words;
      std::set<std::pair<int, std::string>> seen;
      for (const Pending& p : batch)
        if (p.status == spell::kStatusUnknownInputWord || p.status == spell::kStatusInvalidHyphenation ||
            p.status == spell::kStatusErrorCapitalization)
          if (seen.emplace(p.column, p.word).second) words[p.column].push_back(p.word);
      for (const auto& [column, list] : words)
        if (spell::TSpellChecker* checker = checkers.For(column)) spell::PrepareSuggestions(*checker, list);
    }
    std::string out;
    for (const Pending& p : batch) {
      out += p.head;
      if (spell::TSpellChecker* checker = checkers.For(p.column)) {
        const int codePage = vle::ColumnCodePage(p.column);
        const auto suggestions =
            ProblemSuggestions(*checker, p.status, p.word, vle::SpellerLanguageOf(p.column), a.suggestions);
        for (size_t s = 0; s < suggestions.size(); ++s) out += (s ? ", " : "") + Utf8Of(suggestions[s], codePage);
      }
      out += '\n';
    }
    std::fputs(out.c_str(), stdout);
    std::fflush(stdout);
    batch.clear();
    formsInBatch = 0;
  };
  for (int r = 0; r < catalogue.Count(); ++r) {
    if (!catalogue.Selected(r) || catalogue.Entry(r).InstanceCount <= 0) continue;
    vle::TRowLines use(catalogue, r);
    const vle::TEntry& e = use.Entry();
    const int n = std::max(0, e.LanguageCount);
    std::string component;
    for (int i = 0; i + n < e.Lines.Count(); i += n + 1) {
      // A continuation row ('"', '".Hint') is shown after the component named above it.
      const std::string key = platform::Utf16ToUtf8(vle::notation::ToUtf16(e.Lines.Strings(i), keyCodePage));
      const bool continuation = !key.empty() && key[0] == '"';
      if (!continuation) component = key;
      const std::string shownKey = continuation ? component + " " + key : key;
      for (int b = 1; b <= n; ++b) {
        if (!wanted.empty() && !wanted.count(b)) continue;
        const int codePage = vle::ColumnCodePage(b);
        const std::string text = vle::notation::ToBytes(e.Lines.Strings(i + b), codePage);
        if (text.empty()) continue;
        spell::TSpellChecker* checker = checkers.For(b);
        if (!checker) continue;
        int marker = -1;
        const std::string plain = vle::StripAccelerator(text, marker);
        checkers.found_.clear();
        checker->CheckText(plain);
        for (const auto& f : checkers.found_) {
          std::string word = plain.substr(f.pos, f.length);
          batch.push_back({e.FormFile + '\t' + shownKey + '\t' + std::to_string(b - 1) + '\t' + std::to_string(f.status) +
                               '\t' + Utf8Of(word, codePage) + '\t',
                           b, f.status, std::move(word)});
          ++problems;
        }
      }
    }
    if (++formsInBatch == kFormsPerBatch) flush();
  }
  flush();
  if (ReportUnreadableForms(catalogue) > 0) return kExitProblems;
  if (checkers.unchecked_) return kExitCannotCheck;
  return problems == 0 ? kExitClean : kExitProblems;
}

}  // namespace

void AddProjectSpellCommand(CLI::App& project, Action& action) {
  auto args = std::make_shared<ProjectSpellArgs>();
  CLI::App* cmd = project.add_subcommand("spell", "Print every spelling problem of the translations, one per line");
  cmd->add_option("PROJECT", args->project, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
  AddFormsOption(*cmd, args->forms);
  cmd->add_option("--languages", args->languages, "Only these table languages (comma-separated numbers from 0, as in the table: 0 is the first)");
  cmd->add_option("--suggestions", args->suggestions, "Suggestions per problem (default 3; 0 is fastest)");
  AddQuestionOptions(*cmd, args->questions);
  cmd->footer(
      "Output (UTF-8), one line per problem, fields separated by tabs: form file, key (a continuation\n"
      "row's after its component's: `BtnFind \".Hint`), table language number (from 0),\n"
      "status (as `vorlect spell check`), the flagged text and the first suggestions separated by \", \".\n"
      "Table language n is checked in the speller language of configured identifier n (from 0; vorlect\n"
      "languages set), with the stored spell-check options; accelerator markers (&) are left out.\n"
      "Exit status: 0 no problem, 1 problems found or a form file could not be read (named on standard\n"
      "error), 2 usage error, 3 a language could not be checked\n"
      "(no identifier configured or no speller registered for it; the other languages are still reported).");
  cmd->callback([args, &action] { action = [args] { return RunProjectSpell(*args); }; });
}

}  // namespace vorlect::cli
