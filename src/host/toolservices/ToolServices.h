// The IDE operations the expert calls, behind one interface.
//
// The IDE host application implements it; HeadlessHost serves the command line and tests from a
// project file alone. With no host set, callers skip every IDE step.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::toolservices {

enum MenuFlag : uint32_t { mfEnabled = 1, mfVisible = 2, mfChecked = 4, mfBreak = 8 };

// A handle to one menu item. Handles are owned by whoever obtained them and given back by
// destroying them; the item itself belongs to the host.
class MenuItem {
public:
  using ClickHandler = std::function<void(MenuItem&)>;
  virtual ~MenuItem() = default;

  virtual std::string Name() const = 0;
  virtual std::string Caption() const = 0;
  virtual int Index() const = 0;           // position among its siblings
  virtual int ItemCount() const = 0;
  virtual std::unique_ptr<MenuItem> Item(int index) = 0;
  // Searches the whole subtree (case-insensitive name); null when absent.
  virtual std::unique_ptr<MenuItem> FindItem(std::string_view name) = 0;
  virtual std::unique_ptr<MenuItem> Parent() = 0;  // null for the main menu
  // Inserts before `index` (-1 or past the end appends) and returns a handle to the new item.
  virtual std::unique_ptr<MenuItem> InsertItem(int index, const std::string& caption, const std::string& name,
                                               const std::string& hint, int shortCut, int helpContext,
                                               int groupIndex, uint32_t flags, ClickHandler onClick) = 0;
  // Removes the item (and its children) from the menu; this handle stays valid but detached.
  virtual bool DestroyMenuItem() = 0;
  virtual uint32_t Flags() const = 0;
  virtual void SetFlags(uint32_t mask, uint32_t flags) = 0;
  // Runs the click handler as a menu selection would.
  virtual bool Click() = 0;
};

class HostServices {
public:
  virtual ~HostServices() = default;

  virtual void* HostParentWindow() = 0;           // opaque; null without a window
  virtual std::string HostProjectFile() = 0;      // empty without a project
  virtual int HostFormCount() = 0;
  // Full path of the unit of form `index`; the form file is beside it with extension .dfm.
  virtual std::string HostFormFile(int index) = 0;
  virtual std::string HostFormName(int index) = 0;
  virtual std::string HostCurrentFile() = 0;
  virtual bool HostIsFileOpen(const std::string& path) = 0;
  virtual bool HostSaveFile(const std::string& path) = 0;
  virtual bool HostOpenFile(const std::string& unitPath) = 0;
  virtual bool HostReloadFile(const std::string& path) = 0;
  virtual std::unique_ptr<MenuItem> HostMainMenu() = 0;  // null without a menu
};

// The process-wide host; null means "no IDE".
HostServices* GetHostServices();
// Sets the host (caller keeps ownership) and returns the previous one.
HostServices* SetHostServices(HostServices* host);

// --- Project files -------------------------------------------------------------------------------

class ProjectFileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// One entry of a project's uses clause.
struct ProjectUnit {
  std::string name;      // unit name, e.g. "Main" or "Vcl.Forms"
  std::string path;      // as written after `in`, empty when absent
  std::string formName;  // from the `{Form}` / `{Form: TFrame}` comment, empty when none
  int line = 0;
};

// Reads the uses clause of a project (.dpr) text. Throws ProjectFileError "<file>:<line>: ...".
std::vector<ProjectUnit> ParseProjectUses(std::string_view content, std::string_view fileName);

// Resolves a path written in a project ('\' or '/', relative to `folder`) on this file system,
// matching each name case-insensitively when the exact case is missing. Returns the best guess
// (the path as written, joined to the folder) when nothing matches.
std::string ResolveProjectPath(const std::string& folder, std::string_view written);

// --- Headless implementation ---------------------------------------------------------------------

class HeadlessMenu;

class HeadlessHost : public HostServices {
public:
  HeadlessHost();  // no project
  // Reads the project's uses clause; throws ProjectFileError or platform::FileError.
  explicit HeadlessHost(const std::string& projectFile);
  ~HeadlessHost() override;

  void* HostParentWindow() override { return nullptr; }
  std::string HostProjectFile() override { return projectFile_; }
  int HostFormCount() override { return static_cast<int>(forms_.size()); }
  std::string HostFormFile(int index) override;
  std::string HostFormName(int index) override;
  std::string HostCurrentFile() override { return {}; }
  bool HostIsFileOpen(const std::string&) override { return false; }
  bool HostSaveFile(const std::string&) override { return true; }
  bool HostOpenFile(const std::string&) override { return true; }
  bool HostReloadFile(const std::string&) override { return true; }
  std::unique_ptr<MenuItem> HostMainMenu() override;

  const std::vector<ProjectUnit>& Units() const { return units_; }
  // Menu handles currently held by callers; a caller that gave all back leaves 0.
  int LiveMenuHandles() const;

private:
  struct Form {
    std::string unitPath;
    std::string name;
  };
  std::string projectFile_;
  std::vector<ProjectUnit> units_;
  std::vector<Form> forms_;
  std::shared_ptr<HeadlessMenu> menu_;
};

}  // namespace vorlect::toolservices
