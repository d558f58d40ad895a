// vorlect languages list|set: the configured language list (column titles of the translation
// editor, the speller language of each column), as the language setup dialog edits it.
#include "CliSupport.h"
#include "Commands.h"

#include "host/framework/Classes.h"
#include "spell/Langs.h"
#include "vle/FSetLang.h"
#include "vle/VLSettings.h"

#include <memory>
#include <string>
#include <vector>

namespace vorlect::cli {

namespace {

struct LanguagesArgs {
  std::string languages;
  QuestionOptions questions;
};

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(" \t") - b + 1));
}

bool AllDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string ListText(const host::TStrings& names, const host::TStrings& ids) {
  std::string out;
  for (int i = 0; i < names.Count(); ++i)
    out += (i < ids.Count() ? ids.Strings(i) : std::string("0")) + "\t" + names.Strings(i) + "\n";
  return out;
}

int RunList(const LanguagesArgs& a) {
  RunPorts ports(a.questions);
  CheckSettings();
  host::TStringList names, ids;
  vle::LoadLanguages(names, ids);
  WriteOutput("-", ListText(names, ids));
  return 0;
}

// One entry of NAME|LCID[,...]: an identifier takes its locale's name; a name is looked up among
// the installed dictionaries first (as the dialog's Add does), then as a locale name ("de_DE",
// "pt-BR"); any other name has no identifier.
vle::TLangEntry EntryOf(const std::string& item, const std::vector<vle::TLangEntry>& dictionaries) {
  if (AllDigits(item)) {
    const unsigned id = vle::LanguageIdOf(item);
    if (id == 0) throw Failure("\"" + item + "\" is not a language identifier (1-65535)");
    std::string name = spell::LanguageName(static_cast<spell::TLanguage>(id));
    return {name.empty() ? item : name, static_cast<spell::TLanguage>(id)};
  }
  for (const vle::TLangEntry& d : dictionaries)
    if (vle::SameLanguageName(d.name, item)) return {item, d.id};
  if (const spell::TLanguage id = spell::LanguageOfLocale(item); id != 0) {
    std::string name = spell::LanguageName(id);
    return {name.empty() ? item : name, id};
  }
  return {item, 0};
}

int RunSet(const LanguagesArgs& a) {
  RunPorts ports(a.questions);
  CheckSettings();
  const host::TStringList none;
  const vle::TFLangDlg dialog(none, none);  // for the installed dictionaries

  std::vector<vle::TLangEntry> entries;
  size_t start = 0;
  while (start <= a.languages.size()) {
    size_t comma = a.languages.find(',', start);
    if (comma == std::string::npos) comma = a.languages.size();
    const std::string item = Trim(std::string_view(a.languages).substr(start, comma - start));
    start = comma + 1;
    if (item.empty()) throw Failure("empty language name in \"" + a.languages + "\"");
    vle::TLangEntry entry = EntryOf(item, dialog.Dictionaries());
    bool duplicate = false;
    for (const vle::TLangEntry& e : entries) duplicate = duplicate || vle::SameLanguageName(e.name, entry.name);
    // The dialog never holds one name twice.
    if (duplicate) throw Failure("\"" + entry.name + "\" is named twice");
    entries.push_back(std::move(entry));
  }

  host::TStringList names, ids;
  for (const vle::TLangEntry& e : entries) {
    names.Add(e.name);
    ids.Add(std::to_string(e.id));
  }
  vle::SaveLanguages(names, ids);
  WriteOutput("-", ListText(names, ids));
  return 0;
}

}  // namespace

void AddLanguagesCommands(CLI::App& app, Action& action) {
  CLI::App* languages = app.add_subcommand("languages", "The configured languages (editor column titles, speller languages)");
  languages->require_subcommand(1);

  auto list = std::make_shared<LanguagesArgs>();
  CLI::App* l = languages->add_subcommand("list", "List the configured languages: identifier, tab, name");
  AddQuestionOptions(*l, list->questions);
  l->callback([list, &action] { action = [list] { return RunList(*list); }; });

  auto set = std::make_shared<LanguagesArgs>();
  CLI::App* s = languages->add_subcommand("set", "Replace the configured languages");
  s->add_option("LANGUAGES", set->languages,
                "NAME|LCID[,NAME|LCID...]: a Windows language identifier (1031), a dictionary or locale "
                "name (de_DE), or any other name (no identifier)")
      ->required();
  AddQuestionOptions(*s, set->questions);
  s->footer("Prints the new list as `list` does. Names are UTF-8.");
  s->callback([set, &action] { action = [set] { return RunSet(*set); }; });
}

}  // namespace vorlect::cli
