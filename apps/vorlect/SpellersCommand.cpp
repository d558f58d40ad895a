// vorlect spellers register|list: the speller languages the spell checker can use.
#include "CliSupport.h"
#include "Commands.h"

#include "spell/SpellerRegistration.h"

#include <cstdio>

namespace vorlect::cli {

void AddSpellersCommands(CLI::App& app, Action& action) {
  CLI::App* spellers = app.add_subcommand("spellers", "Speller languages (installed Hunspell dictionaries)");
  spellers->require_subcommand(1);

  CLI::App* reg = spellers->add_subcommand(
      "register", "Register every installed Hunspell dictionary as a speller language");
  reg->footer("Writes one key per language (Engine, Dictionary) under the proofing-tools keys of the\n"
              "registry substitute, and sets the custom dictionary when it is unset or not writable.");
  reg->callback([&action] {
    action = [] {
      CheckSettings();
      std::string report;
      const int count = spell::RegisterSpellers(report);
      WriteOutput("-", report);
      std::printf("%d speller language(s) registered\n", count);
      return 0;
    };
  });

  CLI::App* list = spellers->add_subcommand("list", "List the registered speller languages: LCID, tab, name");
  list->callback([&action] {
    action = [] {
      CheckSettings();
      WriteOutput("-", spell::ListSpellers());
      return 0;
    };
  });
}

}  // namespace vorlect::cli
