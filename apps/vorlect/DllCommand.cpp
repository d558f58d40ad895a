// vorlect dll strings FILE.dll: every numbered string of a string module.
#include "CliSupport.h"
#include "Commands.h"

#include "platform/Files.h"
#include "platform/pe/Resources.h"
#include "platform/pe/StringModule.h"
#include "rc/StringListing.h"

#include <memory>

namespace vorlect::cli {

void AddDllCommands(CLI::App& app, Action& action) {
  CLI::App* dll = app.add_subcommand("dll", "String modules (Windows string DLLs)");
  dll->require_subcommand(1);

  auto file = std::make_shared<std::string>();
  auto questions = std::make_shared<QuestionOptions>();
  CLI::App* s = dll->add_subcommand("strings", "Print every string id and text, one per line, in id order");
  s->add_option("FILE", *file, "String module")->required();
  AddQuestionOptions(*s, *questions);
  s->footer("Each line: the id, a tab, the text in UTF-8 with \\\\, \\r, \\n, \\t and \\xHH escapes.");
  s->callback([file, questions, &action] {
    action = [file, questions] {
      RunPorts ports(*questions);
      std::string listing;
      try {
        listing = rc::ListModuleStrings(platform::ReadModuleImage(*file), *file);
      } catch (const platform::ResourceError& e) {
        throw Failure(std::string("damaged string module: ") + e.what());
      }
      WriteOutput("-", listing);
      return 0;
    };
  });
}

}  // namespace vorlect::cli
