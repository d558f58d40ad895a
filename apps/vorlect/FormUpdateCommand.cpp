// vorlect form update FORM and vorlect project update PROJECT: the translation editor's
// "Update Table" without a window. Every component's caption (or text, or title) and hint enters
// the table in the active language's column; a text that changed in the form since is asked
// about ("String has changed from ... Update the table?"), answered by --yes/--no or on the
// terminal. The editor asks for the new name of a component the form no longer has and drops
// its rows on Cancel; here the rows stay (the name is kept) unless the terminal says otherwise or
// --drop-removed is given, since numbered strings are rows of that kind too. A form whose table
// does not change is not written.
#include "CliSupport.h"
#include "Commands.h"
#include "FormEditorSession.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "host/ports/Ports.h"
#include "vle/project/ProjectForms.h"

namespace vorlect::cli {

namespace {

std::vector<std::string> Items(const host::TStrings& list) {
  std::vector<std::string> items;
  items.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.Strings(i));
  return items;
}

// Updates the table of the translation component `component` of `form` (empty: the first one);
// true when the form file changed.
bool UpdateForm(const std::string& form, const std::string& component = {}) {
  FormEditorSession f = OpenFormEditor(form, false, component);
  const std::vector<std::string> before = Items(*f.vorlect->Words());
  const int languages = f.vorlect->Languages();
  f.editor->UpdateTable();
  if (!f.editor->Accept()) throw Failure("the table was not written; " + DisplayName(form) + " is unchanged");
  if (Items(*f.vorlect->Words()) == before && f.vorlect->Languages() == languages) return false;
  return SaveFormTable(form, f);
}

// The answer to "Component ... removed": keep the name, unless rows are to be dropped; a terminal
// still asks.
void AnswerRemovedComponents(RunPorts& ports, bool drop) {
  ports::CliPorts& p = ports.Ports();
  if (drop) p.AskInput = nullptr;
  p.KeepInputValue = !drop;
}

struct FormArgs {
  std::string form, component;
  bool dropRemoved = false;
  QuestionOptions questions;
};

int RunFormUpdate(const FormArgs& a) {
  RunPorts ports(a.questions);
  AnswerRemovedComponents(ports, a.dropRemoved);
  std::printf("%s\t%s\n", UpdateForm(a.form, a.component) ? "updated" : "unchanged", a.form.c_str());
  return 0;
}

struct ProjectArgs {
  std::string project, forms;
  bool dropRemoved = false;
  QuestionOptions questions;
};

// One line per selected form: updated, unchanged, FAILED, or "none" without a translation
// component; status 1 when a form failed.
int RunProjectUpdate(const ProjectArgs& a) {
  const auto lock = LockProject(a.project);
  RunPorts ports(a.questions);
  AnswerRemovedComponents(ports, a.dropRemoved);
  const vle::TProgress progress = TerminalProgress();
  vle::ProjectSession session(a.project, progress);
  vle::TFPrjList& catalogue = session.Catalogue();
  if (!SelectNamedForms(catalogue, a.forms)) return 2;
  const int total = catalogue.SelectedCount();
  int done = 0, failed = 0;
  for (int i = 0; i < catalogue.Count(); ++i) {
    if (!catalogue.Selected(i)) continue;
    const vle::TEntry& e = catalogue.Entry(i);
    if (progress) progress(++done, total, e.FormFile);
    if (!e.ReadError.empty() || e.FormClassName.empty()) {
      ++failed;
      std::printf("FAILED\t%s\n", e.FormFile.c_str());
      std::cerr << "vorlect: the form file could not be read: " << (e.ReadError.empty() ? e.FormFile : e.ReadError)
                << "\n";
      continue;
    }
    if (e.InstanceCount <= 0) {
      std::printf("none\t%s\n", e.FormFile.c_str());
      continue;
    }
    try {
      std::printf("%s\t%s\n", UpdateForm(e.FormFile) ? "updated" : "unchanged", e.FormFile.c_str());
    } catch (const std::exception& ex) {
      ++failed;
      std::printf("FAILED\t%s\n", e.FormFile.c_str());
      std::cerr << "vorlect: " << ex.what() << "\n";
    }
    std::fflush(stdout);
  }
  return failed == 0 ? 0 : 1;
}

constexpr const char* kUpdateFooter =
    "Questions (a text that changed in the form) are answered by --yes/--no, else on the terminal, else No. "
    "Rows whose key names no component of the form (a removed component, or a numbered string without the "
    "\"@\" mark) are kept unless --drop-removed is given or the terminal answer is \"-\"; a new name typed on "
    "the terminal renames them. Only one translation component of a form is updated (form update: the one "
    "--component names, else the first); a form whose table does not change is not written.";

void AddDropOption(CLI::App& cmd, bool& drop) {
  cmd.add_flag("--drop-removed", drop,
               "Drop the rows whose key names no component of the form, as Cancel in the editor does");
}

}  // namespace

void AddFormUpdateCommand(CLI::App& form, Action& action) {
  auto args = std::make_shared<FormArgs>();
  CLI::App* cmd = form.add_subcommand(
      "update", "Bring the form's translation table up to date with its components (the editor's Update Table)");
  cmd->add_option("FORM", args->form, "Form file (binary or text) holding a translation component")->required();
  AddDropOption(*cmd, args->dropRemoved);
  AddComponentOption(*cmd, args->component);
  AddQuestionOptions(*cmd, args->questions);
  cmd->footer(kUpdateFooter);
  cmd->callback([args, &action] { action = [args] { return RunFormUpdate(*args); }; });
}

void AddProjectUpdateCommand(CLI::App& project, Action& action) {
  auto args = std::make_shared<ProjectArgs>();
  CLI::App* cmd = project.add_subcommand(
      "update", "Bring every form's translation table up to date with its components (the editor's Update Table)");
  cmd->add_option("PROJECT", args->project, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
  AddFormsOption(*cmd, args->forms);
  AddDropOption(*cmd, args->dropRemoved);
  AddQuestionOptions(*cmd, args->questions);
  cmd->footer(kUpdateFooter);
  cmd->callback([args, &action] { action = [args] { return RunProjectUpdate(*args); }; });
}

}  // namespace vorlect::cli
