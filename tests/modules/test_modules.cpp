#include "ModuleHost.h"

#include "host/framework/Controls.h"
#include "host/framework/Streaming.h"
#include "platform/Modules.h"
#include "runtime/VLCore.h"
#include "runtime/design/VLDesign.h"
#include "runtime/svlcore.h"
#include "sharemem/MyShareMem.h"
#include "support/FormText.h"
#include "ui/ide/ComponentPalette.h"
#include "ui/ide/FormDesigner.h"
#include "ui/ide/IdeServices.h"
#include "ui/ide/IdeWindow.h"
#include "ui/formview/FormView.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <elf.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

extern "C" void VorlectPackageInitialize();
extern "C" void* SysGetMem(std::int32_t size);
extern "C" std::int32_t SysFreeMem(void* p);
extern "C" void* SysReallocMem(void* p, std::int32_t size);
extern "C" std::int32_t GetAllocMemCount();
extern "C" std::int32_t GetAllocMemSize();

namespace vorlect::modtest {
namespace {

using ports::mtWarning;
using runtime::TBaseVorlect;
using test::Lines;
using test::StringsProp;

const std::string kNotFound =
    "Translation editor not found -\rplease reinstall TVorlect or\remail support@vorlect.org for help.";

// The names of the functions a shared object exports.
std::set<std::string> ExportedFunctions(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::string image(static_cast<size_t>(std::max<std::streamoff>(0, in.tellg())), '\0');
  in.seekg(0);
  in.read(image.data(), static_cast<std::streamsize>(image.size()));
  std::set<std::string> names;
  if (image.size() < sizeof(Elf64_Ehdr)) return names;
  const auto* eh = reinterpret_cast<const Elf64_Ehdr*>(image.data());
  const auto* sections = reinterpret_cast<const Elf64_Shdr*>(image.data() + eh->e_shoff);
  for (int i = 0; i < eh->e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const char* strings = image.data() + sections[sections[i].sh_link].sh_offset;
    const auto* syms = reinterpret_cast<const Elf64_Sym*>(image.data() + sections[i].sh_offset);
    for (size_t k = 0; k < sections[i].sh_size / sizeof(Elf64_Sym); ++k) {
      const Elf64_Sym& s = syms[k];
      if (s.st_shndx == SHN_UNDEF || ELF64_ST_TYPE(s.st_info) != STT_FUNC) continue;
      if (ELF64_ST_BIND(s.st_info) == STB_LOCAL) continue;
      names.insert(strings + s.st_name);
    }
  }
  return names;
}

QApplication& App() {
  static int argc = 1;
  static char name[] = "test_modules";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: Qt's devices must not outlive their application in the exit handlers.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// A designed form holding a TVorlect "Vorlect1" with the given properties.
std::unique_ptr<host::TComponent> DesignedForm(const std::string& vorlectProps, const char* cls = "TVorlect") {
  const std::string text = std::string("object Form1: TForm1\n  Caption = 'Order'\n  object Vorlect1: ") + cls +
                           "\n" + vorlectProps + "  end\nend\n";
  host::ReadOptions options;
  options.fileName = "Unit1.dfm";
  options.designing = true;
  return host::LoadForm(text, options);
}

TBaseVorlect& VorlectOf(host::TComponent& form) {
  return *dynamic_cast<TBaseVorlect*>(form.FindComponent("Vorlect1"));
}

// Runs `act` on the translation editor's window once it is shown.
void WhenEditorShown(std::function<void(QWidget&)> act) {
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "FEditVorlect" && w->isVisible()) {
        poll->stop();
        poll->deleteLater();
        act(*w);
        return;
      }
  });
  poll->start();
}

class ModulesTest : public ::testing::Test {
protected:
  void SetUp() override {
    registryDir_ = ::testing::TempDir() + "vorlect-modules-" + std::to_string(::getpid());
    ::setenv("VORLECT_REGISTRY_DIR", registryDir_.c_str(), 1);
  }
  void TearDown() override { ::unsetenv("VORLECT_REGISTRY_DIR"); }
  std::string registryDir_;
};

// ---- The expert's entry, identity and menu item ---------------------------------------------------

TEST_F(ModulesTest, ExpertExportsExactlyItsTwoEntries) {
  EXPECT_EQ(ExportedFunctions(ModulePath("libvorlect-expert.so")),
            (std::set<std::string>{"EditorCall", "INITEXPERT0017"}));
  const auto shared = ExportedFunctions(ModulePath("libvorlect-sharedmem.so"));
  EXPECT_EQ(shared, (std::set<std::string>{"GetAllocMemCount", "GetAllocMemSize", "GetHeapStatus", "SysFreeMem",
                                           "SysGetMem", "SysReallocMem"}));
  const auto package = ExportedFunctions(ModulePath("libvorlect-package.so"));
  for (const char* name : {"VorlectPackageInitialize", "VorlectPackageRegister", "SysGetMem", "SysFreeMem",
                           "SysReallocMem", "GetHeapStatus", "GetAllocMemCount", "GetAllocMemSize"})
    EXPECT_TRUE(package.count(name)) << name;
}

TEST_F(ModulesTest, EntryRegistersTheExpertAndPutsItsItemAfterTheRepository) {
  TModuleHost host;
  ASSERT_TRUE(host.LoadExpert());
  ASSERT_EQ(host.Registered().size(), 1u);
  toolservices::TIExpert& e = *host.Registered()[0];
  EXPECT_EQ(e.GetName(), "Vorlect");
  EXPECT_EQ(e.GetAuthor(), "Kestrin Vale");
  EXPECT_EQ(e.GetComment(), "Expert for TVorlect");
  EXPECT_EQ(e.GetPage(), "");
  EXPECT_EQ(e.GetGlyph(), nullptr);
  EXPECT_EQ(e.GetStyle(), toolservices::esAddIn);
  EXPECT_EQ(e.GetState(), toolservices::esEnabled);
  EXPECT_EQ(e.GetIDString(), "Kestrin.Vorlect");
  EXPECT_EQ(e.GetMenuText(), "'");
  EXPECT_EQ(e.GetVersion(), 3);
  EXPECT_EQ(toolservices::GetHostServices(), &host.Services());

  auto menu = host.Services().HostMainMenu();
  auto gallery = menu->FindItem("ToolsGalleryItem");
  auto item = menu->FindItem("VLItem");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->Caption(), "&Vorlect");
  EXPECT_EQ(item->Index(), gallery->Index() + 1);
  EXPECT_EQ(item->Parent()->Name(), gallery->Parent()->Name());
  EXPECT_EQ(item->Flags() & (toolservices::mfEnabled | toolservices::mfVisible),
            toolservices::mfEnabled | toolservices::mfVisible);
  item.reset();
  gallery.reset();
  menu.reset();
  // The expert holds only its own item's handle.
  EXPECT_EQ(host.Services().LiveMenuHandles(), 1);

  // Released by the IDE: the item leaves the menu with the expert.
  host.Loader().ReleaseExperts();
  EXPECT_FALSE(host.Services().HostMainMenu()->FindItem("VLItem"));
  EXPECT_EQ(host.Services().LiveMenuHandles(), 0);
}

TEST_F(ModulesTest, EntryWithoutServicesRefusesAndAMenuWithoutTheRepositoryGetsNoItem) {
  void* expert = platform::LoadModule(ModulePath("libvorlect-expert.so"));
  auto init = reinterpret_cast<toolservices::TExpertInitProc>(platform::GetProcAddress(expert, "INITEXPERT0017"));
  ASSERT_TRUE(init);
  int registrations = 0;
  static int* count = &registrations;
  auto reg = [](toolservices::TIExpert* e) {
    ++*count;
    toolservices::TInterface::Free(e);
    return true;
  };
  EXPECT_FALSE(init(nullptr, reg, nullptr));
  EXPECT_EQ(registrations, 0);
  EXPECT_EQ(toolservices::GetHostServices(), nullptr);

  toolservices::HeadlessHost services;
  services.HostMainMenu()->FindItem("ToolsGalleryItem")->DestroyMenuItem();
  const int itemsBefore = services.HostMainMenu()->FindItem("ToolsMenu")->ItemCount();
  toolservices::TExpertTerminateProc terminate = nullptr;
  EXPECT_TRUE(init(&services, reg, &terminate));  // registers, and the IDE frees it at once
  EXPECT_EQ(registrations, 1);
  EXPECT_EQ(services.HostMainMenu()->FindItem("ToolsMenu")->ItemCount(), itemsBefore);
  EXPECT_EQ(services.LiveMenuHandles(), 0);
  toolservices::SetHostServices(nullptr);
}

TEST_F(ModulesTest, ExpertJoinsTheMenuBarOfAQtMainWindow) {
  App();
  QMainWindow window;
  QMenu* tools = window.menuBar()->addMenu("&Tools");
  tools->menuAction()->setObjectName("ToolsMenu");
  tools->addAction("&Repository...")->setObjectName("ToolsGalleryItem");
  tools->addAction("&Configure Tools...")->setObjectName("ToolsToolsItem");
  ui::TIdeServices services(&window, window.menuBar(), {});
  {
    TModuleHost host;
    ASSERT_TRUE(host.LoadExpert(&services));
    ASSERT_EQ(tools->actions().size(), 3);
    EXPECT_EQ(tools->actions().at(1)->objectName(), "VLItem");
    EXPECT_EQ(tools->actions().at(1)->text(), "&Vorlect");
    EXPECT_EQ(services.Menu().LiveHandles(), 1);
  }
  // The expert released with the host: its item left the menu.
  EXPECT_EQ(tools->actions().size(), 2);
  EXPECT_EQ(services.Menu().LiveHandles(), 0);
}

TEST_F(ModulesTest, MenuItemOpensTheProjectManager) {
  App();
  TModuleHost host;
  ASSERT_TRUE(host.LoadExpert());
  bool shown = false;
  QTimer::singleShot(50, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "FPrjList" && w->isVisible()) {
        shown = true;
        w->close();
      }
  });
  host.Ports().queueAnswer(ports::mrOk);  // a project-less manager may say so
  ASSERT_TRUE(host.Services().HostMainMenu()->FindItem("VLItem")->Click());
  EXPECT_TRUE(shown);
}

TEST_F(ModulesTest, LoaderNamesTheModuleOrEntryThatIsMissing) {
  toolservices::TModuleLoader loader;
  toolservices::HeadlessHost services;
  const std::string nowhere = ::testing::TempDir() + "no-such-folder/" + toolservices::kSharedMemFile;
  try {
    loader.LoadSharedMem(nowhere);
    ADD_FAILURE() << "a missing module was loaded";
  } catch (const toolservices::ModuleLoadError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("The module " + nowhere + " could not be loaded:\r", 0), 0u) << e.what();
  }
  // A module without the entry asked for: named with the entry, nothing called.
  try {
    loader.LoadPackage(FakeExpertPath());
    ADD_FAILURE() << "a module without the package's entries was taken";
  } catch (const toolservices::ModuleLoadError& e) {
    EXPECT_EQ(std::string(e.what()), "The module " + FakeExpertPath() + " does not export VorlectPackageInitialize.");
  }
  // An entry that refuses is refused in turn.
  try {
    loader.LoadExpert(FakeExpertPath(), services);
    ADD_FAILURE() << "a refusing expert was taken";
  } catch (const toolservices::ModuleLoadError& e) {
    EXPECT_EQ(std::string(e.what()), "The module " + FakeExpertPath() + " refused to start (INITEXPERT0017).");
  }
  EXPECT_TRUE(loader.Experts().empty());
  EXPECT_EQ(host::DesignRegistry().FindPage(runtime::design::kPalettePage), nullptr);
}

// ---- The component editors and property editors -------------------------------------------------

TEST_F(ModulesTest, PackageRegistersItsPageEditorsAndVerbsFollowTheLanguages) {
  TModuleHost host;
  host.LoadPackage();
  const host::TDesignRegistry& registry = host::DesignRegistry();
  const auto* page = registry.FindPage(runtime::design::kPalettePage);
  ASSERT_TRUE(page);
  std::vector<std::string> classes;
  for (const auto* cls : page->classes) classes.push_back(cls->Name());
  EXPECT_EQ(classes, (std::vector<std::string>{"TLanguageDLLs", "TVorlect", "TSmallVorlect"}));

  TCountingDesigner designer;
  for (const char* cls : {"TVorlect", "TSmallVorlect"})
    for (int languages : {1, 2, 3}) {
      auto form = DesignedForm("    Languages = " + std::to_string(languages) + "\n", cls);
      auto editor = registry.ComponentEditor(VorlectOf(*form), &designer);
      ASSERT_TRUE(editor) << cls;
      ASSERT_EQ(editor->GetVerbCount(), languages + 2);
      std::vector<std::string> verbs;
      for (int i = 0; i < editor->GetVerbCount(); ++i) verbs.push_back(editor->GetVerb(i));
      std::vector<std::string> expected{"T&ranslations"};
      for (int k = 0; k < languages; ++k) expected.push_back("Language &" + std::to_string(k));
      expected.push_back("A&dd language");
      EXPECT_EQ(verbs, expected) << cls;
    }
  EXPECT_EQ(designer.modified, 0);
}

TEST_F(ModulesTest, LanguageVerbsSwitchAndAddLanguageAppendsAQuestionMarkToEveryEntry) {
  TModuleHost host;
  host.LoadPackage();
  TCountingDesigner designer;
  auto form = DesignedForm("    Languages = 2\n" +
                           StringsProp("Words", {"%Form%", "Order", "Bestellung", "Id1", "a", "b"}));
  TBaseVorlect& v = VorlectOf(*form);
  auto editor = host::DesignRegistry().ComponentEditor(v, &designer);
  editor->ExecuteVerb(2);  // Language &1
  EXPECT_EQ(v.ActiveLanguage(), 1);
  EXPECT_EQ(host::GetStrProp(*form, "Caption"), "Bestellung");
  editor->ExecuteVerb(1);
  EXPECT_EQ(host::GetStrProp(*form, "Caption"), "Order");

  editor->ExecuteVerb(3);  // A&dd language
  EXPECT_EQ(v.Languages(), 3);
  EXPECT_EQ(Lines(*v.Words()),
            (std::vector<std::string>{"%Form%", "Order", "Bestellung", "?", "Id1", "a", "b", "?"}));
  EXPECT_EQ(editor->GetVerbCount(), 5);
  EXPECT_TRUE(host.Ports().messages().empty());
}

TEST_F(ModulesTest, SmallComponentHidesItsListsAndSwitchesFromTheInspector) {
  TModuleHost host;
  host.LoadPackage();
  TCountingDesigner designer;
  auto form = DesignedForm("    Languages = 2\n", "TSmallVorlect");
  auto rows = host::DesignRegistry().PropertyEditors(&designer, VorlectOf(*form));
  std::vector<std::string> names;
  for (auto& row : rows) names.push_back(row->GetName());
  for (const char* hidden : {"Positions", "CharSets", "DoNot", "SwitchPositions", "TranslateEdits"})
    EXPECT_EQ(std::count(names.begin(), names.end(), hidden), 0) << hidden;
  for (const char* shown : {"About", "DefaultLanguage", "DefaultEnabled", "Languages", "ActiveLanguage", "Words"})
    EXPECT_EQ(std::count(names.begin(), names.end(), shown), 1) << shown;
  for (auto& row : rows)
    if (row->GetName() == "Words") EXPECT_EQ(row->GetAttributes(), host::paDialog);

  auto full = DesignedForm("    Languages = 2\n");
  for (auto& row : host::DesignRegistry().PropertyEditors(&designer, VorlectOf(*full)))
    if (row->GetName() == "Positions" || row->GetName() == "CharSets" || row->GetName() == "Words")
      EXPECT_TRUE(dynamic_cast<runtime::design::TWordProperty*>(row.get())) << row->GetName();
}

TEST_F(ModulesTest, DllPropertyTakesTypedValuesAndTheFileDialog) {
  TModuleHost host;
  host.LoadPackage();
  TCountingDesigner designer;
  host::TForm form(nullptr);
  auto* dlls = new runtime::TLanguageDLLs(&form);
  dlls->SetName("LanguageDLLs1");
  const host::PropInfo* prop = host::GetPropInfo(*dlls, "DLL");
  auto editor = host::DesignRegistry().PropertyEditor(&designer, *dlls, *prop);
  EXPECT_EQ(editor->GetAttributes(), host::paDialog);
  EXPECT_TRUE(editor->SetValue("/nowhere/German.dll"));
  EXPECT_EQ(dlls->GetDLL(), "/nowhere/German.dll");
  EXPECT_EQ(designer.modified, 1);

  host.Ports().queueFile(std::nullopt);  // declined: nothing changes
  editor->Edit();
  ASSERT_EQ(host.Ports().fileDialogs().size(), 1u);
  const auto& options = host.Ports().fileDialogs()[0].options;
  EXPECT_EQ(options.title, "Select a String DLL");
  EXPECT_EQ(options.fileName, "/nowhere/German.dll");
  EXPECT_EQ(options.filter, "String DLLs|*.dll");
  EXPECT_EQ(options.defaultExt, "dll");
  EXPECT_EQ(designer.modified, 1);

  auto verbs = host::DesignRegistry().ComponentEditor(*dlls, &designer);
  ASSERT_EQ(verbs->GetVerbCount(), 1);
  EXPECT_EQ(verbs->GetVerb(0), "Select DLL");
  host.Ports().queueFile("/elsewhere/Russian.dll");
  verbs->Edit();  // a double-click runs the one verb
  EXPECT_EQ(dlls->GetDLL(), "/elsewhere/Russian.dll");
  EXPECT_EQ(designer.modified, 2);
}

// ---- The bridge to the translation editor --------------------------------------------------------

TEST_F(ModulesTest, BridgeWarnsWhenTheExpertIsNotLoaded) {
  TModuleHost host;
  host.LoadPackage();
  TCountingDesigner designer;
  auto form = DesignedForm("    Languages = 2\n" + StringsProp("Words", {"%Form%", "Order", "Bestellung"}));
  const std::vector<std::string> before = Lines(*VorlectOf(*form).Words());
  host::DesignRegistry().ComponentEditor(VorlectOf(*form), &designer)->Edit();
  for (auto& row : host::DesignRegistry().PropertyEditors(&designer, VorlectOf(*form)))
    if (row->GetName() == "Words") row->Edit();
  ASSERT_EQ(host.Ports().messages().size(), 2u);
  for (const auto& m : host.Ports().messages()) {
    EXPECT_EQ(m.text, kNotFound);
    EXPECT_EQ(m.type, mtWarning);
    EXPECT_EQ(m.buttons, (ports::ButtonSet{ports::mbOK}));
  }
  EXPECT_EQ(designer.modified, 0);
  EXPECT_EQ(Lines(*VorlectOf(*form).Words()), before);
}

TEST_F(ModulesTest, BridgeWarnsWhenTheExpertHasNoEditorCall) {
  TModuleHost host;
  host.LoadPackage();
  platform::LoadModule(FakeExpertPath());
  TCountingDesigner designer;
  auto form = DesignedForm("    Languages = 2\n");
  host::DesignRegistry().ComponentEditor(VorlectOf(*form), &designer)->ExecuteVerb(0);
  ASSERT_EQ(host.Ports().messages().size(), 1u);
  EXPECT_EQ(host.Ports().messages()[0].text, "Editor cannot be invoked");
  EXPECT_EQ(host.Ports().messages()[0].type, mtWarning);
  EXPECT_EQ(designer.modified, 0);
}

TEST_F(ModulesTest, EditorOpensThroughTheExpertAndOnlyAcceptMarksTheFormModified) {
  App();
  TModuleHost host;
  host.LoadPackage();
  ASSERT_TRUE(host.LoadExpert());
  TCountingDesigner designer;
  auto form = DesignedForm("    Languages = 2\n" + StringsProp("Words", {"%Form%", "Order", "Bestellung"}));
  TFrontCounter front;
  form->SetChangeObserver(&front);
  auto editor = host::DesignRegistry().ComponentEditor(VorlectOf(*form), &designer);

  // Accepted: the form is modified, and the editor grew the package's lists (it added a language).
  WhenEditorShown([](QWidget& w) { w.findChild<QAction*>("Accept1")->trigger(); });
  editor->Edit();
  EXPECT_EQ(designer.modified, 1);

  // The close box after an accepted call: not accepted, nothing marked.
  WhenEditorShown([](QWidget& w) { w.close(); });
  editor->ExecuteVerb(0);
  EXPECT_EQ(designer.modified, 1);

  WhenEditorShown([](QWidget& w) { w.findChild<QAction*>("Cancel1")->trigger(); });
  editor->ExecuteVerb(0);
  EXPECT_EQ(designer.modified, 1);
  // However the editor closed, the form came back to the front.
  EXPECT_EQ(front.count, 3);
  form->SetChangeObserver(nullptr);
  // Lists the expert touched are freed by the package with the form (checked by the sanitizers).
  form.reset();

  // A component whose owner is no form is edited alike; nothing is brought to the front.
  host::TComponent owner(nullptr);
  owner.SetChangeObserver(&front);
  auto* loose = new runtime::TVorlect(&owner);
  WhenEditorShown([](QWidget& w) { w.findChild<QAction*>("Accept1")->trigger(); });
  host::DesignRegistry().ComponentEditor(*loose, &designer)->Edit();
  EXPECT_EQ(designer.modified, 2);
  EXPECT_EQ(front.count, 3);
  owner.SetChangeObserver(nullptr);
}

// ---- The IDE host -----------------------------------------------------------------------------------

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// How many bytes of `a` lie between what it shares with `b` at the start and at the end.
size_t DifferingBytes(const std::string& a, const std::string& b) {
  size_t prefix = 0;
  while (prefix < a.size() && prefix < b.size() && a[prefix] == b[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < a.size() - prefix && suffix < b.size() - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix])
    ++suffix;
  return a.size() - prefix - suffix;
}

// A writable copy of the sample project.
std::string SampleCopy() {
  namespace fs = std::filesystem;
  const fs::path to = fs::path(::testing::TempDir()) / ("vorlect-ide-sample-" + std::to_string(::getpid()));
  fs::remove_all(to);
  fs::copy(fs::path(VORLECT_SOURCE_DIR) / "examples/sample-project", to, fs::copy_options::recursive);
  for (const auto& e : fs::recursive_directory_iterator(to))
    fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
  return (to / "Sample.dpr").string();
}

TEST_F(ModulesTest, IdeOpensAProjectLoadsTheModulesAndSavesFormsInTheirOwnFormat) {
  App();
  const std::string project = SampleCopy();
  const std::string folder = std::filesystem::path(project).parent_path().string();
  ports::ScriptedPorts ports;
  ports::ScopedPorts scope(ports);
  ui::TIdeWindow ide;
  ide.show();
  EXPECT_TRUE(ide.LoadModules(VORLECT_MODULES_DIR));
  ASSERT_TRUE(ide.OpenProject(project));
  EXPECT_EQ(ide.windowTitle().toStdString(), std::string("Vorlect IDE - ") + project);
  EXPECT_EQ(ide.ProjectForms()->count(), 3);

  // The expert's item sits right after the repository's in the IDE's own Tools menu.
  auto menu = ide.Services()->HostMainMenu();
  auto gallery = menu->FindItem("ToolsGalleryItem");
  auto item = menu->FindItem("VLItem");
  ASSERT_TRUE(gallery && item);
  EXPECT_EQ(item->Index(), gallery->Index() + 1);
  item.reset();
  gallery.reset();
  menu.reset();
  EXPECT_TRUE(ide.Palette()->Button("TVorlect"));
  EXPECT_TRUE(ide.Palette()->Button("TButton"));

  // Every form opens; each is written back in the format it came in, and unchanged forms keep
  // their bytes.
  for (const char* name : {"Main.dfm", "Options.dfm", "About.dfm"}) {
    const std::string path = folder + "/" + name;
    std::ifstream in(path, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(ide.OpenForm(path)) << name;
    ASSERT_TRUE(ide.SaveForm(path)) << name;
    std::ifstream again(path, std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, before) << name << " changed without an edit";
  }
  EXPECT_TRUE(ide.IsFormOpen(folder + "/About.pas"));
  if (const char* shots = std::getenv("VORLECT_UI_SHOTS")) {
    ide.OpenForm(folder + "/Main.dfm");
    QApplication::processEvents();
    ide.grab().save(QString(shots) + "/ide-designer.png");
  }

  // A form asking to come to the front (as after the translation editor) becomes the current one.
  ASSERT_TRUE(ide.OpenForm(folder + "/Main.dfm"));
  ui::TFormDesigner* designer = ide.DesignerOf(folder + "/Options.dfm");
  ASSERT_TRUE(designer);
  designer->Form().BringToFront();
  EXPECT_EQ(ide.CurrentFormFile(), folder + "/Options.pas");

  // A control moved in the designer of the binary form is where it was moved after the form is
  // read again, and the form is still binary.
  ASSERT_TRUE(designer);
  host::TControl* moved = nullptr;
  for (int i = 0; i < designer->Form().ComponentCount() && !moved; ++i)
    if (auto* c = dynamic_cast<host::TControl*>(designer->Form().Components(i)); c && designer->View().WidgetOf(c))
      moved = c;
  ASSERT_TRUE(moved);
  const std::string name = moved->Name();
  const int left = moved->Left();
  const std::string unmoved = ReadFile(folder + "/Options.dfm");
  designer->Select(moved);
  QTest::keyClick(designer, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_TRUE(designer->IsModified());
  ASSERT_TRUE(ide.SaveForm(folder + "/Options.dfm"));
  // Only the bytes of the moved control's position changed.
  EXPECT_LE(DifferingBytes(unmoved, ReadFile(folder + "/Options.dfm")), 3u);
  ASSERT_TRUE(ide.ReloadForm(folder + "/Options.dfm"));
  designer = ide.DesignerOf(folder + "/Options.dfm");
  auto* again = dynamic_cast<host::TControl*>(designer->Form().FindComponent(name));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->Left(), left + 1);
  EXPECT_FALSE(designer->IsModified());
  std::ifstream binary(folder + "/Options.dfm", std::ios::binary);
  char head[4] = {};
  binary.read(head, 4);
  EXPECT_EQ(std::string(head, 4), std::string("\xff\x0a\x00\x54", 4)) << "the binary form became text";
  EXPECT_TRUE(ports.messages().empty()) << ports.messages()[0].text;

  // What the expert's tools ask of the host: open a unit (a search hit), read a form again after
  // rewriting it on disk.
  EXPECT_TRUE(ide.Services()->HostIsFileOpen(folder + "/Main.pas"));
  ASSERT_TRUE(ide.Services()->HostOpenFile(folder + "/About.pas"));
  EXPECT_EQ(ide.CurrentFormFile(), folder + "/About.pas");
  EXPECT_EQ(ide.Services()->HostCurrentFile(), folder + "/About.pas");
  {
    std::ifstream in(folder + "/About.dfm", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = text.find("'About Orders'");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 14, "'About the Orders'");
    std::ofstream(folder + "/About.dfm", std::ios::binary) << text;
  }
  ASSERT_TRUE(ide.Services()->HostReloadFile(folder + "/About.dfm"));
  EXPECT_EQ(host::GetStrProp(ide.DesignerOf(folder + "/About.dfm")->Form(), "Caption"), "About the Orders");

  // A text form edited in the designer keeps every line but the edited one, however it was
  // written: here with its own indentation and line ends.
  {
    std::string text = ReadFile(folder + "/About.dfm");
    for (size_t at = 0; (at = text.find("\r\n  ", at)) != std::string::npos; at += 3) text.replace(at, 4, "\n   ");
    std::ofstream(folder + "/About.dfm", std::ios::binary) << text;
    ASSERT_TRUE(ide.ReloadForm(folder + "/About.dfm"));
    ui::TFormDesigner* about = ide.DesignerOf(folder + "/About.dfm");
    host::TComponent* form = &about->Form();
    host::SetStrProp(*form, "Caption", "About");
    about->SetModified(true);
    ASSERT_TRUE(ide.SaveForm(folder + "/About.dfm"));
    const std::string saved = ReadFile(folder + "/About.dfm");
    const size_t at = text.find("Caption = 'About the Orders'");
    ASSERT_NE(at, std::string::npos);
    const size_t lineEnd = text.find('\n', at) + 1;
    const size_t lineStart = text.rfind('\n', at) + 1;
    EXPECT_EQ(saved.substr(0, lineStart), text.substr(0, lineStart));
    EXPECT_TRUE(saved.ends_with(text.substr(lineEnd)));
  }
  EXPECT_TRUE(ide.Services()->HostReloadFile(folder + "/Nowhere.dfm"));  // not open: nothing to do
}

// ---- The shared heap --------------------------------------------------------------------------------

TEST_F(ModulesTest, SharedHeapStaysUnboundWithoutTheExpert) {
  TModuleHost host;
  host.LoadPackage();
  EXPECT_TRUE(sharemem::EntryPoints().NoneBound());
  EXPECT_EQ(SysGetMem(16), nullptr);
  EXPECT_NE(SysFreeMem(nullptr), 0);
  EXPECT_EQ(GetAllocMemCount(), 0);
  EXPECT_EQ(platform::GetModuleHandle("libvorlect-sharedmem.so"), nullptr);

  // A second initialization does nothing, even once the expert is there.
  ASSERT_TRUE(host.LoadExpert());
  VorlectPackageInitialize();
  EXPECT_EQ(sharemem::InitCount(), 2);
  EXPECT_TRUE(sharemem::EntryPoints().NoneBound());
}

TEST_F(ModulesTest, SharedHeapIsBoundOnceTheExpertIsThereAndCountsItsBlocks) {
  TModuleHost host;
  ASSERT_TRUE(host.LoadExpert());
  host.LoadPackage();
  ASSERT_TRUE(sharemem::EntryPoints().AllBound());
  void* shared = platform::GetModuleHandle("libvorlect-sharedmem.so");
  ASSERT_TRUE(shared);
  EXPECT_EQ(reinterpret_cast<void*>(sharemem::EntryPoints().SysGetMem), platform::GetProcAddress(shared, "SysGetMem"));

  const int count = GetAllocMemCount(), size = GetAllocMemSize();
  void* a = SysGetMem(100);
  void* b = SysGetMem(28);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(GetAllocMemCount(), count + 2);
  EXPECT_EQ(GetAllocMemSize(), size + 128);
  a = SysReallocMem(a, 1000);
  ASSERT_TRUE(a);
  EXPECT_EQ(GetAllocMemSize(), size + 1028);
  EXPECT_EQ(sharemem::GetHeapStatus().TotalAllocated, static_cast<std::uint32_t>(size + 1028));
  EXPECT_EQ(SysFreeMem(a), 0);
  EXPECT_EQ(SysFreeMem(b), 0);
  EXPECT_EQ(GetAllocMemCount(), count);
  EXPECT_EQ(GetAllocMemSize(), size);
}

}  // namespace
}  // namespace vorlect::modtest
