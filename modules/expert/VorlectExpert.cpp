#include "VorlectExpert.h"

#include "host/framework/Controls.h"
#include "sharemem/MyShareMem.h"
#include "ui/editor/VLEditorWindow.h"
#include "ui/project/ProjectManager.h"

#include <QWidget>

namespace vorlect::expert {

namespace {

toolservices::HostServices* HostServices = nullptr;
TVorlectExpert* Expert = nullptr;
// The IDE's main window: the owner of every window the expert shows.
QWidget* ApplicationHandle = nullptr;

// The unit initializations that run when the module is loaded, before the IDE calls the entry.
[[gnu::constructor]] void InitializeUnits() { sharemem::Initialize(); }
[[gnu::destructor]] void FinalizeUnits() { sharemem::Finalize(); }

}  // namespace

std::uint16_t EditorOutcome = 0;

TVorlectExpert::TVorlectExpert() {
  // Every handle obtained here is given back when the constructor ends (unique_ptr), in the order
  // parent, found item, main menu, whatever step fails.
  std::unique_ptr<toolservices::MenuItem> mainMenu = HostServices ? HostServices->HostMainMenu() : nullptr;
  if (!mainMenu) return;
  std::unique_ptr<toolservices::MenuItem> found = mainMenu->FindItem("ToolsGalleryItem");
  if (!found) return;
  std::unique_ptr<toolservices::MenuItem> parent = found->Parent();
  if (!parent) return;
  const int index = found->Index();
  menuItem_ = parent->InsertItem(index + 1, "&Vorlect", "VLItem", "", 0, 0, 0,
                                 toolservices::mfEnabled | toolservices::mfVisible,
                                 [this](toolservices::MenuItem& item) { MenuClick(item); });
  parent.reset();
  found.reset();
  mainMenu.reset();
}

TVorlectExpert::~TVorlectExpert() {
  // The inserted item leaves the IDE's menu with the expert.
  if (menuItem_) {
    menuItem_->DestroyMenuItem();
    menuItem_.reset();
  }
  if (Expert == this) Expert = nullptr;
}

void TVorlectExpert::MenuClick(toolservices::MenuItem&) {
  if (!HostServices) return;
  ui::ShowProjectManager(ApplicationHandle);
}

}  // namespace vorlect::expert

using namespace vorlect;

extern "C" __attribute__((visibility("default"))) bool INITEXPERT0017(
    toolservices::HostServices* toolServices, toolservices::TExpertRegisterProc registerProc,
    toolservices::TExpertTerminateProc* terminate) {
  if (!toolServices) return false;
  expert::HostServices = toolServices;
  // The project manager and the exchange work through the process's services.
  toolservices::SetHostServices(toolServices);
  expert::ApplicationHandle = static_cast<QWidget*>(toolServices->HostParentWindow());
  if (terminate) *terminate = nullptr;
  expert::Expert = new expert::TVorlectExpert();
  if (registerProc) registerProc(expert::Expert);
  return true;
}

extern "C" __attribute__((visibility("default"))) bool EditorCall(runtime::TBaseVorlect* component) {
  expert::EditorOutcome = 0;
  if (!component) return false;
  const bool accepted = ui::TEditVorlectWindow::Open(*component, expert::ApplicationHandle);
  // Accept leaves 1; Cancel and the close box leave the editor unaccepted, and the result false.
  if (accepted) expert::EditorOutcome = 1;
  // The form being designed comes back to the top once the editor is gone.
  if (auto* form = dynamic_cast<host::TCustomForm*>(component->Owner())) form->BringToFront();
  return expert::EditorOutcome == 1;
}
