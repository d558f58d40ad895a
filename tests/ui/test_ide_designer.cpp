// The form designer driven with the mouse and the keyboard: selecting, moving and sizing controls,
// the non-visual components' icons and verbs, and dropping components from the palette.
#include <QAction>
#include <QMenu>
#include <QTest>

#include "host/framework/Streaming.h"
#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "runtime/VLCore.h"
#include "runtime/design/VLDesign.h"
#include "support/FormText.h"
#include "ui/formview/FormView.h"
#include "ui/ide/FormDesigner.h"

using namespace vorlect;
using host::TComponent;
using host::TControl;

class IdeDesignerTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void clickSelectsAndDraggingMovesAndSizes();
  void keyboardMovesAndSizesByOnePixel();
  void iconsOfNonVisualComponentsCarryTheirVerbs();
  void paletteDropsAComponentIntoTheContainerUnderTheMouse();
};

namespace {

std::unique_ptr<TComponent> Designed() {
  const std::string text = std::string(
      "object Form1: TForm1\n  Left = 0\n  Top = 0\n  Width = 400\n  Height = 300\n  Caption = 'Order'\n"
      "  object Button1: TButton\n    Left = 20\n    Top = 20\n    Width = 75\n    Height = 25\n    Caption = 'OK'\n  end\n"
      "  object Panel1: TPanel\n    Left = 150\n    Top = 100\n    Width = 200\n    Height = 120\n  end\n"
      "  object Vorlect1: TVorlect\n    Left = 300\n    Top = 10\n    Languages = 2\n") +
      test::StringsProp("Words", {"%Form%", "Order", "Bestellung", "Button1", "OK", "Gut"}) + "  end\nend\n";
  host::ReadOptions options;
  options.fileName = "Unit1.dfm";
  options.designing = true;
  return host::LoadForm(text, options);
}

QPoint CentreOf(ui::TFormDesigner& d, const TComponent& c) { return d.RectOf(c).center(); }

struct TFixture {
  ports::ScriptedPorts ports;
  ports::ScopedPorts scope{ports};
  std::unique_ptr<TComponent> form = Designed();
  ui::TFormDesigner designer{dynamic_cast<TControl&>(*form)};
  TFixture() {
    designer.show();
    if (!QTest::qWaitForWindowExposed(&designer)) qWarning("the designer was not shown");
  }
  TControl& Control(const char* name) { return dynamic_cast<TControl&>(*form->FindComponent(name)); }
  // Mouse events go to the widget under the point, as the window system delivers them.
  QWidget* At(const QPoint& p) {
    QWidget* w = designer.childAt(p);
    return w ? w : &designer;
  }
  void Press(const QPoint& p, Qt::MouseButton b = Qt::LeftButton) {
    QWidget* w = At(p);
    QTest::mousePress(w, b, {}, w->mapFrom(&designer, p));
  }
  void Move(const QPoint& p) {
    QWidget* w = At(p);
    QMouseEvent e(QEvent::MouseMove, w->mapFrom(&designer, p), w->mapToGlobal(w->mapFrom(&designer, p)), Qt::NoButton,
                  Qt::LeftButton, {});
    QApplication::sendEvent(w, &e);
  }
  void Release(const QPoint& p) {
    QWidget* w = At(p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, w->mapFrom(&designer, p));
  }
};

}  // namespace

void IdeDesignerTest::init() {
  runtime::RegisterClasses();
  if (!host::DesignRegistry().FindPage(runtime::design::kPalettePage)) runtime::design::RegisterPackage();
}

void IdeDesignerTest::clickSelectsAndDraggingMovesAndSizes() {
  TFixture f;
  TControl& button = f.Control("Button1");
  const QPoint start = CentreOf(f.designer, button);
  f.Press(start);
  QCOMPARE(f.designer.Selected(), static_cast<TComponent*>(&button));
  f.Move(start + QPoint(5, 3));
  f.Move(start + QPoint(10, 6));
  f.Release(start + QPoint(10, 6));
  QCOMPARE(button.Left(), 30);
  QCOMPARE(button.Top(), 26);
  QVERIFY(f.designer.IsModified());
  // The view follows the tree: the button's widget is where the tree says.
  QCOMPARE(f.designer.View().WidgetOf(&button)->geometry().topLeft(), QPoint(30, 26));

  // The grip at the bottom-right corner sizes.
  const QPoint corner = f.designer.RectOf(button).bottomRight();
  f.Press(corner);
  f.Move(corner + QPoint(20, 10));
  f.Release(corner + QPoint(20, 10));
  QCOMPARE(button.Width(), 95);
  QCOMPARE(button.Height(), 35);
  QCOMPARE(button.Left(), 30);

  // A click on the form's free space selects the form; pressing it does not move it.
  f.Press(QPoint(5, f.designer.height() - 5));
  QCOMPARE(f.designer.Selected(), f.form.get());
}

void IdeDesignerTest::keyboardMovesAndSizesByOnePixel() {
  TFixture f;
  TControl& panel = f.Control("Panel1");
  f.Press(f.designer.RectOf(panel).topLeft() + QPoint(8, 8));
  QCOMPARE(f.designer.Selected(), static_cast<TComponent*>(&panel));
  for (int i = 0; i < 3; ++i) QTest::keyClick(&f.designer, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&f.designer, Qt::Key_Down, Qt::ControlModifier);
  QTest::keyClick(&f.designer, Qt::Key_Left, Qt::ControlModifier);
  QCOMPARE(panel.Width(), 203);
  QCOMPARE(panel.Top(), 101);
  QCOMPARE(panel.Left(), 149);
  QTest::keyClick(&f.designer, Qt::Key_Escape);
  QCOMPARE(f.designer.Selected(), f.form.get());
}

void IdeDesignerTest::iconsOfNonVisualComponentsCarryTheirVerbs() {
  TFixture f;
  TComponent* vorlect = f.form->FindComponent("Vorlect1");
  QWidget* icon = f.designer.IconOf(vorlect);
  QVERIFY(icon);
  QCOMPARE(icon->pos(), QPoint(300, 10));

  auto menu = f.designer.VerbMenu(*vorlect);
  QVERIFY(menu);
  QStringList verbs;
  for (QAction* a : menu->actions()) verbs << a->text();
  QCOMPARE(verbs, (QStringList{"T&ranslations", "Language &0", "Language &1", "A&dd language"}));
  menu->actions().at(2)->trigger();
  QCOMPARE(QString::fromStdString(host::GetStrProp(*f.form, "Caption")), QString("Bestellung"));
  QCOMPARE(f.designer.View().WidgetOf(&f.Control("Button1"))->property("text").toString(), QString("Gut"));

  // A double-click runs verb 0: without the expert loaded, the bridge's warning.
  const QPoint at = f.designer.RectOf(*vorlect).center();
  QWidget* w = f.At(at);
  QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(&f.designer, at));
  QCOMPARE(f.ports.messages().size(), size_t(1));
  QVERIFY(QString::fromStdString(f.ports.messages()[0].text).startsWith("Translation editor not found -"));

  // Icons move with the mouse too, and keep their place in the component.
  f.Press(at);
  f.Move(at + QPoint(-40, 20));
  f.Release(at + QPoint(-40, 20));
  QCOMPARE(vorlect->DesignLeft(), 260);
  QCOMPARE(vorlect->DesignTop(), 30);
}

void IdeDesignerTest::paletteDropsAComponentIntoTheContainerUnderTheMouse() {
  TFixture f;
  TControl& panel = f.Control("Panel1");
  f.designer.SetPendingClass(host::GetClass("TButton"));
  const QPoint inside = f.designer.RectOf(panel).topLeft() + QPoint(30, 40);
  f.Press(inside);
  QVERIFY(!f.form->FindComponent("Button2"));  // dropped when the button goes up
  f.Release(inside);
  TComponent* added = f.form->FindComponent("Button2");
  QVERIFY(added);
  auto* button = dynamic_cast<TControl*>(added);
  QCOMPARE(button->Parent(), dynamic_cast<host::TWinControl*>(&panel));
  QCOMPARE(button->Left(), 30);
  QCOMPARE(button->Top(), 40);
  QCOMPARE(QString::fromStdString(host::GetStrProp(*button, "Caption")), QString("Button2"));
  QVERIFY(button->InState(host::csDesigning));
  QCOMPARE(f.designer.Selected(), added);
  QVERIFY(f.designer.View().WidgetOf(added));
  QVERIFY(f.designer.IsModified());
  QVERIFY(!f.designer.PendingClass());

  // A non-visual component lands as an icon where it was dropped.
  f.designer.SetPendingClass(&runtime::TLanguageDLLs::StaticClass());
  f.Press(QPoint(20, 200));
  f.Release(QPoint(20, 200));
  TComponent* dlls = f.form->FindComponent("LanguageDLLs1");
  QVERIFY(dlls);
  QVERIFY(f.designer.IconOf(dlls));
}

QTEST_MAIN(IdeDesignerTest)
#include "test_ide_designer.moc"
