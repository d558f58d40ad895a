// The IDE's tool services over a Qt main window: its menu bar as the main menu experts extend.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "ui/ide/IdeServices.h"

using namespace vorlect;
using toolservices::mfEnabled;
using toolservices::mfVisible;

class IdeServicesTest : public QObject {
  Q_OBJECT
private slots:
  void menuBarServesAsTheMainMenu();
  void shortCutsBecomeKeySequences();
};

namespace {

struct TIde {
  QMainWindow window;
  QMenu* tools = nullptr;
  std::unique_ptr<ui::TIdeServices> services;
  TIde() {
    window.menuBar()->setObjectName("MainMenu");
    window.menuBar()->addMenu("&File")->menuAction()->setObjectName("FileMenu");
    tools = window.menuBar()->addMenu("&Tools");
    tools->menuAction()->setObjectName("ToolsMenu");
    tools->addAction("&Environment Options...")->setObjectName("ToolsOptionsItem");
    tools->addAction("&Repository...")->setObjectName("ToolsGalleryItem");
    tools->addAction("&Configure Tools...")->setObjectName("ToolsToolsItem");
    services = std::make_unique<ui::TIdeServices>(&window, window.menuBar(), ui::TIdeDocuments{});
  }
};

}  // namespace

void IdeServicesTest::menuBarServesAsTheMainMenu() {
  TIde ide;
  QCOMPARE(ide.services->HostParentWindow(), static_cast<void*>(&ide.window));
  {
    auto main = ide.services->HostMainMenu();
    QVERIFY(main);
    QCOMPARE(main->ItemCount(), 2);
    auto gallery = main->FindItem("toolsgalleryitem");  // names compare without case
    QVERIFY(gallery);
    QCOMPARE(gallery->Caption(), std::string("&Repository..."));
    QCOMPARE(gallery->Index(), 1);
    auto parent = gallery->Parent();
    QVERIFY(parent);
    QCOMPARE(parent->Name(), std::string("ToolsMenu"));
    QCOMPARE(parent->Index(), 1);
    QCOMPARE(parent->Parent()->Name(), std::string("MainMenu"));

    int clicks = 0;
    auto item = parent->InsertItem(gallery->Index() + 1, "&Vorlect", "VLItem", "Translations", 0x4000 | 'L', 0, 0,
                                   mfEnabled | mfVisible,
                                   [&](toolservices::MenuItem& clicked) { clicks += clicked.Name() == "VLItem"; });
    QCOMPARE(ide.tools->actions().at(2)->objectName(), QString("VLItem"));
    QCOMPARE(ide.tools->actions().at(2)->text(), QString("&Vorlect"));
    QCOMPARE(ide.tools->actions().at(2)->shortcut(), QKeySequence("Ctrl+L"));
    QCOMPARE(ide.tools->actions().at(2)->statusTip(), QString("Translations"));
    QCOMPARE(item->Index(), 2);

    // A click from the menu reaches the handler; a disabled item is not clicked.
    ide.tools->actions().at(2)->trigger();
    QVERIFY(item->Click());
    QCOMPARE(clicks, 2);
    item->SetFlags(mfEnabled, 0);
    QCOMPARE(item->Flags() & mfEnabled, 0u);
    QVERIFY(!item->Click());
    QCOMPARE(clicks, 2);

    QVERIFY(item->DestroyMenuItem());
    QCOMPARE(ide.tools->actions().size(), 3);
    QVERIFY(!main->FindItem("VLItem"));
    QCOMPARE(item->Flags(), 0u);  // a handle on a deleted item acts on nothing
    QVERIFY(!item->Click());
    QVERIFY(ide.services->Menu().LiveHandles() > 0);
  }
  QCOMPARE(ide.services->Menu().LiveHandles(), 0);
}

void IdeServicesTest::shortCutsBecomeKeySequences() {
  QCOMPARE(ui::ShortCutToKeySequence(0), QKeySequence());
  QCOMPARE(ui::ShortCutToKeySequence(0x71), QKeySequence("F2"));
  QCOMPARE(ui::ShortCutToKeySequence(0x2000 | 0x4000 | 'S'), QKeySequence("Ctrl+Shift+S"));
  QCOMPARE(ui::ShortCutToKeySequence(0x8000 | 0x2E), QKeySequence("Alt+Del"));
}

QTEST_MAIN(IdeServicesTest)
#include "test_ide_services.moc"
