// vorlect-main: every command of the Vorlect command line. Users run `vorlect`, which converts
// forms itself and hands every other command to this program beside it.
#include "CommandLine.h"

int main(int argc, char** argv) {
  using namespace vorlect::cli;
  static constexpr Command kCommands[] = {
      {"convert", AddConvertCommand},   {"project", AddProjectCommands},   {"form", AddFormCommands},
      {"spellers", AddSpellersCommands}, {"dll", AddDllCommands},          {"languages", AddLanguagesCommands},
      {"spell", AddSpellCommands},
  };
  return RunCommandLine(argc, argv, kCommands);
}
