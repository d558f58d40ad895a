// The expert module: the entry point the IDE calls at load, the expert object with its identity
// and menu item, and EditorCall, through which the package opens the translation editor.
#pragma once

#include "host/toolservices/ExptIntf.h"
#include "runtime/VLBase.h"

#include <cstdint>
#include <memory>

extern "C" {
// The IDE's entry point: stores the services, creates the expert and registers it.
bool INITEXPERT0017(vorlect::toolservices::HostServices* toolServices,
                    vorlect::toolservices::TExpertRegisterProc registerProc,
                    vorlect::toolservices::TExpertTerminateProc* terminate);
// Opens the translation editor on `component` modally; true when the user accepted.
bool EditorCall(vorlect::runtime::TBaseVorlect* component);
}

namespace vorlect::expert {

// The editor's outcome, shared with the editor window: 1 accepted, 2 cancelled, 0 none.
extern std::uint16_t EditorOutcome;

class TVorlectExpert : public toolservices::TIExpert {
public:
  TVorlectExpert();

  std::string GetName() override { return "Vorlect"; }
  std::string GetAuthor() override { return "Kestrin Vale"; }
  std::string GetComment() override { return "Expert for TVorlect"; }
  std::string GetPage() override { return {}; }
  void* GetGlyph() override { return nullptr; }
  toolservices::TExpertStyle GetStyle() override { return toolservices::esAddIn; }
  toolservices::TExpertState GetState() override { return toolservices::esEnabled; }
  std::string GetIDString() override { return "Kestrin.Vorlect"; }
  std::string GetMenuText() override { return "'"; }
  void Execute() override {}

  void MenuClick(toolservices::MenuItem& item);

private:
  ~TVorlectExpert() override;
  std::unique_ptr<toolservices::MenuItem> menuItem_;  // the item this expert inserted, if any
};

}  // namespace vorlect::expert
