// A form designer in miniature for the module tests: the IDE's services over the file system with a
// headless menu, the shared heap, the package and the expert loaded through their entry points,
// and a designer that counts the modifications editors report.
#pragma once

#include "host/framework/DesignIntf.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ExptIntf.h"
#include "host/toolservices/ModuleLoader.h"

#include <string>
#include <vector>

namespace vorlect::modtest {

// Where the build put the modules and the stand-in expert.
std::string ModulePath(const char* fileName);
std::string FakeExpertPath();

class TCountingDesigner : public host::TDesigner {
public:
  void Modified() override { ++modified; }
  int modified = 0;
};

// Counts the requests of a tree's components to come to the front.
class TFrontCounter : public host::TChangeObserver {
public:
  void ComponentChanged(host::TComponent&) override {}
  void ComponentDestroying(host::TComponent&) override {}
  void ComponentBroughtToFront(host::TComponent&) override { ++count; }
  int count = 0;
};

class TModuleHost {
public:
  TModuleHost();
  ~TModuleHost();

  // The package's initialization and registration, as a designer runs them after loading it.
  void LoadPackage();
  // Loads the expert and calls its entry with `services` (the headless ones by default); false
  // when the entry refused.
  bool LoadExpert(toolservices::HostServices* services = nullptr);

  toolservices::HeadlessHost& Services() { return services_; }
  ports::ScriptedPorts& Ports() { return ports_; }
  // The experts the entry registered.
  const std::vector<toolservices::TIExpert*>& Registered() const { return loader_.Experts(); }
  toolservices::TModuleLoader& Loader() { return loader_; }

private:
  toolservices::HeadlessHost services_;
  ports::ScriptedPorts ports_;
  ports::ScopedPorts scope_{ports_};
  toolservices::TModuleLoader loader_;  // released first: experts hold handles on the menus
};

}  // namespace vorlect::modtest
