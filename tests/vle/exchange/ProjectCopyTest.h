// Exchange tests on real projects: a copy in the test's folder opened through the headless IDE
// services with every form selected, the project's files before and after a round trip, and the
// tables the corpus forms are given so that the exchange has something to carry.
#pragma once

#include "../VleTestUtil.h"
#include "host/ports/Ports.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"
#include "vle/exchange/ProjectExchange.h"
#include "vle/project/DFM_TXT.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace vorlect::vle::test {

// The files of a project by path, with their bytes.
using Snapshot = std::map<std::string, std::string>;

inline const std::filesystem::path kSampleProject =
    std::filesystem::path(VORLECT_SOURCE_DIR) / "examples" / "sample-project";

// The project folders of the corpus; none when the corpus is absent (the caller skips).
inline std::vector<std::filesystem::path> CorpusProjects() {
  std::vector<std::filesystem::path> projects;
  const std::filesystem::path corpus = std::filesystem::path(VORLECT_CORPUS_DIR) / "projects";
  if (!std::filesystem::is_directory(corpus)) return projects;
  for (const auto& p : std::filesystem::directory_iterator(corpus))
    if (p.is_directory()) projects.push_back(p.path());
  return projects;
}

// Every regular file below the project's folder that `keep` accepts.
inline Snapshot ProjectFiles(const std::string& dpr, const std::function<bool(const std::filesystem::path&)>& keep) {
  Snapshot s;
  for (const auto& f : std::filesystem::recursive_directory_iterator(std::filesystem::path(dpr).parent_path()))
    if (f.is_regular_file() && keep(f.path())) s[f.path().string()] = platform::ReadFile(f.path());
  return s;
}

// Each file of `before` holds the same bytes in `after`.
inline void ExpectSameFiles(const Snapshot& before, const Snapshot& after, const std::string& note = {}) {
  for (const auto& [name, bytes] : before) {
    const auto now = after.find(name);
    EXPECT_TRUE(now != after.end() && now->second == bytes) << name << note;
  }
}

// Gives every form of the catalogue a translation component with three languages holding the
// table `lines` (form-file notation); the questions on the way are answered Yes, quietly.
inline void GiveEveryFormATable(TFPrjList& cat, std::initializer_list<const char*> lines) {
  std::ostringstream sink;
  ports::CliPorts quiet(ports::mrYes, sink);
  ports::ScopedPorts scope(quiet);
  AddVorlectToAllForms(cat, 3);
  for (int r = 0; r < cat.Count(); ++r) {
    TEntry& e = cat.Entry(r);
    if (e.InstanceCount <= 0) continue;
    host::TStringList table;
    for (const char* l : lines) table.Add(l);
    RewriteTables(e.FormFile, 3, &cat, table);
  }
}

class ProjectCopyTest : public VleTest {
protected:
  void TearDown() override {
    catalogue_.reset();
    toolservices::SetHostServices(nullptr);
    host_.reset();
    VleTest::TearDown();
  }

  // Copies a project folder into the test's folder; returns the copy's .dpr.
  std::string Copy(const std::filesystem::path& from) {
    namespace fs = std::filesystem;
    const fs::path to = fs::path(dir_) / from.filename();
    fs::copy(from, to, fs::copy_options::recursive);
    // The corpus may be read-only; its copies are the user's files, which the user may write.
    for (const auto& e : fs::recursive_directory_iterator(to))
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    for (const auto& f : fs::directory_iterator(to))
      if (f.path().extension() == ".dpr") return f.path().string();
    return {};
  }

  // Opens the project through the headless IDE services with every form selected.
  TFPrjList& Open(const std::string& dpr, bool keepLines) {
    catalogue_.reset();
    toolservices::SetHostServices(nullptr);
    host_ = std::make_unique<toolservices::HeadlessHost>(dpr);
    toolservices::SetHostServices(host_.get());
    catalogue_ = std::make_unique<TFPrjList>(false, TProgress{}, keepLines);
    for (int r = 0; r < catalogue_->Count(); ++r) catalogue_->SetSelected(r, true);
    return *catalogue_;
  }

  std::unique_ptr<toolservices::HeadlessHost> host_;
  std::unique_ptr<TFPrjList> catalogue_;
  ports::ScriptedPorts ports_;
  ports::ScopedPorts scope_{ports_};
};

}  // namespace vorlect::vle::test
