// The object inspector and the component palette over the design registry, driven as a user would.
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "host/framework/Streaming.h"
#include "host/ports/Ports.h"
#include "runtime/VLCore.h"
#include "runtime/design/VLDesign.h"
#include "ui/ide/ComponentPalette.h"
#include "ui/ide/ObjectInspector.h"

using namespace vorlect;

class IdeInspectorTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void paletteOffersTheRegisteredPages();
  void typedValuesGoThroughThePropertyEditors();
  void ellipsisRunsTheEditorsDialog();
  void smallComponentShowsNoHiddenLists();
};

namespace {

struct TCounting : host::TDesigner {
  void Modified() override { ++modified; }
  int modified = 0;
};

std::unique_ptr<host::TComponent> Designed(const char* cls, const std::string& props = "    Languages = 2\n") {
  host::ReadOptions options;
  options.fileName = "Unit1.dfm";
  options.designing = true;
  return host::LoadForm(std::string("object Form1: TForm1\n  Caption = 'Order'\n  object C1: ") + cls + "\n" + props +
                            "  end\n  object Button1: TButton\n    Caption = 'OK'\n  end\nend\n",
                        options);
}

// Edits a row's value as a user does: open the editor, type, press Enter.
void TypeValue(ui::TObjectInspector& inspector, const QString& path, const QString& text) {
  QTreeWidgetItem* row = inspector.Row(path);
  QVERIFY(row);
  inspector.setCurrentItem(row, 1);
  inspector.editItem(row, 1);
  QVERIFY2(row->flags() & Qt::ItemIsEditable, qPrintable(path + " cannot be typed"));
  QLineEdit* editor = nullptr;  // the open one: earlier editors may wait for their deletion
  for (QLineEdit* e : inspector.viewport()->findChildren<QLineEdit*>())
    if (e->isVisible()) editor = e;
  QVERIFY2(editor, qPrintable("no editor on " + path));
  editor->selectAll();
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();  // the view commits the typed value from its event loop
}

}  // namespace

void IdeInspectorTest::init() {
  runtime::RegisterClasses();
  if (!host::DesignRegistry().FindPage(runtime::design::kPalettePage)) runtime::design::RegisterPackage();
}

void IdeInspectorTest::paletteOffersTheRegisteredPages() {
  ui::TComponentPalette palette;
  palette.show();
  QCOMPARE(palette.tabText(0), QString("sw quillon"));
  for (const char* cls : {"TLanguageDLLs", "TVorlect", "TSmallVorlect"}) QVERIFY(palette.Button(cls));
  std::vector<const host::ClassInfo*> chosen;
  connect(&palette, &ui::TComponentPalette::ComponentChosen, this, [&](const host::ClassInfo* cls) { chosen.push_back(cls); });
  QTest::mouseClick(palette.Button("TVorlect"), Qt::LeftButton);
  QCOMPARE(chosen, std::vector<const host::ClassInfo*>{&runtime::TVorlect::StaticClass()});
}

void IdeInspectorTest::typedValuesGoThroughThePropertyEditors() {
  ports::ScriptedPorts ports;
  ports::ScopedPorts scope(ports);
  TCounting designer;
  auto form = Designed("TVorlect");
  ui::TObjectInspector inspector(&designer);
  inspector.resize(400, 600);
  inspector.show();
  QApplication::setActiveWindow(&inspector);
  QVERIFY(QTest::qWaitForWindowActive(&inspector));
  inspector.Inspect(form->FindComponent("C1"));
  QSignalSpy changed(&inspector, &ui::TObjectInspector::PropertyChanged);

  QCOMPARE(inspector.Row("Languages")->text(1), QString("2"));
  TypeValue(inspector, "Languages", "3");
  auto& v = dynamic_cast<runtime::TBaseVorlect&>(*form->FindComponent("C1"));
  QCOMPARE(int(v.Languages()), 3);
  QCOMPARE(designer.modified, 1);
  QCOMPARE(changed.size(), 1);
  QCOMPARE(changed[0][0].toString(), QString("Languages"));

  // A value the property cannot take: the framework's message, the old value shown again.
  TypeValue(inspector, "Languages", "many");
  QCOMPARE(ports.messages().size(), size_t(1));
  QCOMPARE(QString::fromStdString(ports.messages()[0].text), QString("'many' is not a valid integer value"));
  QCOMPARE(inspector.Row("Languages")->text(1), QString("3"));
  QCOMPARE(designer.modified, 1);

  // The table lists open the translation editor only: no typing.
  QVERIFY(!(inspector.Row("Words")->flags() & Qt::ItemIsEditable));
  QVERIFY(inspector.EllipsisOf("Words"));
  QVERIFY(!inspector.EllipsisOf("Languages"));

  // A stock control's font unfolds into its own properties.
  inspector.Inspect(form->FindComponent("Button1"));
  QVERIFY(inspector.Row("Font.Name"));
  TypeValue(inspector, "Caption", "Cancel");
  QCOMPARE(QString::fromStdString(host::GetStrProp(*form->FindComponent("Button1"), "Caption")), QString("Cancel"));
}

void IdeInspectorTest::ellipsisRunsTheEditorsDialog() {
  ports::ScriptedPorts ports;
  ports::ScopedPorts scope(ports);
  TCounting designer;
  auto form = Designed("TLanguageDLLs", "");
  ui::TObjectInspector inspector(&designer);
  inspector.show();
  inspector.Inspect(form->FindComponent("C1"));
  auto* ellipsis = qobject_cast<QToolButton*>(inspector.EllipsisOf("DLL"));
  QVERIFY(ellipsis);
  ports.queueFile(std::string("/strings/German.dll"));
  QTest::mouseClick(ellipsis, Qt::LeftButton);
  QCOMPARE(ports.fileDialogs().size(), size_t(1));
  QCOMPARE(QString::fromStdString(ports.fileDialogs()[0].options.title), QString("Select a String DLL"));
  QCOMPARE(inspector.Row("DLL")->text(1), QString("/strings/German.dll"));
  QCOMPARE(designer.modified, 1);

  // Without the expert the table's ellipsis warns and changes nothing.
  auto vorlectForm = Designed("TVorlect");
  inspector.Inspect(vorlectForm->FindComponent("C1"));
  QTest::mouseClick(qobject_cast<QToolButton*>(inspector.EllipsisOf("Words")), Qt::LeftButton);
  QCOMPARE(ports.messages().size(), size_t(1));
  QVERIFY(QString::fromStdString(ports.messages()[0].text).startsWith("Translation editor not found -"));
  QCOMPARE(designer.modified, 1);
}

void IdeInspectorTest::smallComponentShowsNoHiddenLists() {
  TCounting designer;
  auto form = Designed("TSmallVorlect");
  ui::TObjectInspector inspector(&designer);
  inspector.Inspect(form->FindComponent("C1"));
  for (const char* hidden : {"Positions", "CharSets", "DoNot", "SwitchPositions", "TranslateEdits"})
    QVERIFY2(!inspector.Row(hidden), hidden);
  QVERIFY(inspector.Row("Words"));
  QVERIFY(inspector.EllipsisOf("Words"));
}

QTEST_MAIN(IdeInspectorTest)
#include "test_ide_inspector.moc"
