// The IDE host's main window: a project opened from its .dpr, its forms in designers (one tab
// each), the component palette, the object inspector, and the modules loaded through their entry
// points so that the expert's "&Vorlect" item sits in the Tools menu.
#pragma once

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

#include "host/formfile/FormTree.h"
#include "host/framework/Classes.h"
#include "host/toolservices/ModuleLoader.h"

class QListWidget;
class QTabWidget;

namespace vorlect::ui {

class TComponentPalette;
class TFormDesigner;
class TIdeServices;
class TObjectInspector;

inline constexpr const char* kIdeCaption = "Vorlect IDE";

class TIdeWindow : public QMainWindow {
  Q_OBJECT
public:
  explicit TIdeWindow(QWidget* parent = nullptr);
  ~TIdeWindow() override;

  // Opens a project (its forms are listed, none opened yet). False, after saying why, when the
  // project cannot be read.
  bool OpenProject(const std::string& projectFile);
  // The shared heap, the package and the expert from `folder`, in that order. Each failure is
  // shown (naming the module and entry) and the rest still loads; false when any failed.
  bool LoadModules(const std::string& folder);

  // Opens a form in a designer (by its unit or form file); an open one is brought to the front.
  bool OpenForm(const std::string& path);
  // Writes a form in the format it was read in. An empty path: the current form.
  bool SaveForm(const std::string& path = {});
  // Reads an open form again from its file (after a tool rewrote it).
  bool ReloadForm(const std::string& path);
  bool IsFormOpen(const std::string& path) const;

  TFormDesigner* CurrentDesigner() const;
  TFormDesigner* DesignerOf(const std::string& path) const;
  std::string CurrentFormFile() const;
  TComponentPalette* Palette() const { return palette_; }
  TObjectInspector* Inspector() const { return inspector_; }
  QTabWidget* FormTabs() const { return tabs_; }
  QListWidget* ProjectForms() const { return formList_; }
  TIdeServices* Services() const { return services_.get(); }
  toolservices::TModuleLoader& Loader() { return loader_; }

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  struct TOpenForm {
    std::string unitPath, formPath;
    formfile::FileFormat format = formfile::FileFormat::Text;
    std::string original;  // the file's bytes as last read or saved: a save mends them
    std::unique_ptr<host::TComponent> root;
    TFormDesigner* designer = nullptr;
  };
  void BuildMenus();
  void BuildDocks();
  TOpenForm* Find(const std::string& path) const;
  int IndexOf(const TOpenForm* form) const;
  void ShowDesigner(TOpenForm& form, int tabIndex = -1);
  void UpdateTitles();
  void ShowRepository();

  std::unique_ptr<TIdeServices> services_;
  toolservices::TModuleLoader loader_;
  std::vector<std::unique_ptr<TOpenForm>> forms_;
  TComponentPalette* palette_ = nullptr;
  TObjectInspector* inspector_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QListWidget* formList_ = nullptr;
};

// The stock controls on the palette's "Standard" and "Additional" pages, as the framework's own
// registration puts them there.
void RegisterStockComponents();

}  // namespace vorlect::ui
