// The form view: stock controls shown as their Qt counterparts with their texts, and a language
// switch seen in the widgets at once, exactly as far as the translation table reaches.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "host/framework/Streaming.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "runtime/VLCore.h"
#include "ui/formview/FormView.h"

#include <filesystem>
#include <memory>

using namespace vorlect;
using vorlect::ui::formview::FormView;

namespace {

std::string Cp(const char* utf8, int codePage) {
  return platform::EncodeCodePage(platform::Utf8ToUtf16(utf8), codePage);
}

std::unique_ptr<host::TComponent> Load(const std::string& text) {
  runtime::RegisterClasses();
  return host::LoadForm(text);
}

host::TControl& AsControl(host::TComponent& c) { return dynamic_cast<host::TControl&>(c); }

template <class W>
W* Widget(const FormView& view, const host::TComponent& form, const char* name) {
  auto* w = qobject_cast<W*>(view.WidgetOf(form.FindComponent(name)));
  if (!w) qWarning("no widget of the expected type for %s", name);
  return w;
}

// One control of each stock kind, a menu, and a class nobody registered.
const char* kStockForm = R"(object Stock: TStock
  Width = 600
  Height = 460
  Caption = 'Stock'
  Menu = MainMenu1
  object Label1: TLabel
    Left = 8
    Top = 8
    Width = 40
    Height = 13
    Caption = 'Label'
  end
  object Button1: TButton
    Left = 8
    Top = 24
    Width = 75
    Height = 25
    Caption = '&OK'
  end
  object Edit1: TEdit
    Left = 90
    Top = 24
    Width = 100
    Height = 21
    Text = 'edit text'
  end
  object Memo1: TMemo
    Left = 200
    Top = 8
    Width = 120
    Height = 60
    Lines.Strings = (
      'first line'
      'second line')
  end
  object CheckBox1: TCheckBox
    Left = 8
    Top = 56
    Width = 97
    Height = 17
    Caption = 'Check'
    Checked = True
    State = cbChecked
  end
  object RadioButton1: TRadioButton
    Left = 8
    Top = 76
    Width = 97
    Height = 17
    Caption = 'Radio'
  end
  object RadioGroup1: TRadioGroup
    Left = 330
    Top = 8
    Width = 120
    Height = 80
    Caption = 'Group of radios'
    ItemIndex = 1
    Items.Strings = (
      'one'
      'two'
      'three')
  end
  object GroupBox1: TGroupBox
    Left = 460
    Top = 8
    Width = 130
    Height = 80
    Caption = 'Group box'
    object InnerLabel: TLabel
      Left = 10
      Top = 20
      Width = 50
      Height = 13
      Caption = 'inside'
    end
  end
  object Panel1: TPanel
    Left = 8
    Top = 100
    Width = 150
    Height = 40
    Caption = 'Panel caption'
  end
  object ListBox1: TListBox
    Left = 170
    Top = 100
    Width = 100
    Height = 60
    Items.Strings = (
      'alpha'
      'beta')
  end
  object ComboBox1: TComboBox
    Left = 280
    Top = 100
    Width = 100
    Height = 21
    Style = csDropDownList
    ItemIndex = 1
    Items.Strings = (
      'red'
      'green')
  end
  object ListView1: TListView
    Left = 390
    Top = 100
    Width = 200
    Height = 60
    Columns = <
      item
        Caption = 'Column A'
      end
      item
        Caption = 'Column B'
      end>
    ViewStyle = vsReport
  end
  object TreeView1: TTreeView
    Left = 8
    Top = 170
    Width = 120
    Height = 80
  end
  object TabControl1: TTabControl
    Left = 140
    Top = 170
    Width = 200
    Height = 80
    Tabs.Strings = (
      'First tab'
      'Second tab')
    TabIndex = 0
  end
  object PageControl1: TPageControl
    Left = 350
    Top = 170
    Width = 240
    Height = 100
    ActivePage = TabSheet2
    object TabSheet1: TTabSheet
      Caption = 'Sheet one'
    end
    object TabSheet2: TTabSheet
      Caption = 'Sheet two'
      object SheetButton: TButton
        Left = 4
        Top = 4
        Width = 75
        Height = 25
        Caption = 'On sheet'
      end
    end
  end
  object ToolBar1: TToolBar
    Left = 8
    Top = 280
    Width = 300
    Height = 29
    ShowCaptions = True
    object ToolButton1: TToolButton
      Left = 0
      Top = 2
      Caption = 'Tool'
    end
  end
  object Fancy1: TFancyGrid
    Left = 320
    Top = 280
    Width = 120
    Height = 60
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 400
    Width = 592
    Height = 19
    Panels = <
      item
        Text = 'Ready'
        Width = 100
      end
      item
        Text = 'Second panel'
        Width = 50
      end>
  end
  object MainMenu1: TMainMenu
    object MnuFile: TMenuItem
      Caption = '&File'
      object MnuOpen: TMenuItem
        Caption = '&Open...'
      end
      object N1: TMenuItem
        Caption = '-'
      end
    end
  end
end
)";

// Two languages; the second needs code page 1251 and another font, and moves and widens the
// button. Edit1 has no entry and Label2 no position line.
std::string SwitchForm() {
  return "object Form1: TForm1\n"
         "  Width = 400\n  Height = 300\n"
         "  Caption = 'Orders'\n  Menu = MainMenu1\n"
         "  Font.Charset = ANSI_CHARSET\n  Font.Height = -11\n  Font.Name = 'Arial'\n"
         "  object Label1: TLabel\n    Left = 8\n    Top = 8\n    Width = 60\n    Height = 13\n"
         "    Caption = 'Name'\n  end\n"
         "  object Button1: TButton\n    Left = 8\n    Top = 30\n    Width = 75\n    Height = 25\n"
         "    Caption = 'OK'\n  end\n"
         "  object Edit1: TEdit\n    Left = 100\n    Top = 8\n    Width = 121\n    Height = 21\n"
         "    Text = 'keep me'\n  end\n"
         "  object StatusBar1: TStatusBar\n    Panels = <\n      item\n        Text = 'Ready'\n      end>\n  end\n"
         "  object MainMenu1: TMainMenu\n    object MnuFile: TMenuItem\n      Caption = '&File'\n    end\n  end\n"
         "  object Vorlect1: TVorlect\n    Languages = 2\n    SwitchPositions = spFormAndControls\n"
         "    Words.Strings = (\n"
         "      '%Form%'\n      'Orders'\n      '" + Cp("Заказы", 1251) + "'\n"
         "      'Label1'\n      'Name'\n      '" + Cp("Имя", 1251) + "'\n"
         "      'Button1'\n      'OK'\n      '" + Cp("Готово", 1251) + "'\n"
         "      'StatusBar1'\n      ''\n      ''\n      '\"'\n      'Ready'\n      '" + Cp("Ждём", 1251) + "'\n"
         "      'MnuFile'\n      '&File'\n      '" + Cp("&Файл", 1251) + "')\n"
         "    Positions.Strings = (\n      'button1,8.30.75.25,16.30.120.25')\n"
         "    CharSets.Strings = (\n      'Arial,0'\n      'Courier New,204')\n"
         "  end\n"
         "end\n";
}

}  // namespace

class TestFormView : public QObject {
  Q_OBJECT

private slots:
  void init() { runtime::GlobalLang = 0; }

  void stockControlsShowTheirTexts() {
    auto form = Load(kStockForm);
    FormView view(AsControl(*form));
    const host::TComponent& f = *form;
    QCOMPARE(view.windowTitle(), QString("Stock"));
    QCOMPARE(Widget<QLabel>(view, f, "Label1")->text(), QString("Label"));
    QCOMPARE(Widget<QPushButton>(view, f, "Button1")->text(), QString("&OK"));
    QCOMPARE(Widget<QLineEdit>(view, f, "Edit1")->text(), QString("edit text"));
    QCOMPARE(Widget<QPlainTextEdit>(view, f, "Memo1")->toPlainText(), QString("first line\nsecond line"));
    QCOMPARE(Widget<QCheckBox>(view, f, "CheckBox1")->text(), QString("Check"));
    QVERIFY(Widget<QCheckBox>(view, f, "CheckBox1")->isChecked());
    QCOMPARE(Widget<QRadioButton>(view, f, "RadioButton1")->text(), QString("Radio"));
    auto* radios = Widget<QGroupBox>(view, f, "RadioGroup1");
    QCOMPARE(radios->title(), QString("Group of radios"));
    const QList<QRadioButton*> buttons = radios->findChildren<QRadioButton*>();
    QCOMPARE(buttons.size(), 3);
    QCOMPARE(buttons[2]->text(), QString("three"));
    QVERIFY(buttons[1]->isChecked());
    auto* group = Widget<QGroupBox>(view, f, "GroupBox1");
    QCOMPARE(group->title(), QString("Group box"));
    QCOMPARE(Widget<QLabel>(view, f, "InnerLabel")->parentWidget(), group);
    QCOMPARE(Widget<QLabel>(view, f, "Panel1")->text(), QString("Panel caption"));
    auto* list = Widget<QListWidget>(view, f, "ListBox1");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(1)->text(), QString("beta"));
    auto* combo = Widget<QComboBox>(view, f, "ComboBox1");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentText(), QString("green"));
    auto* listView = Widget<QTreeWidget>(view, f, "ListView1");
    QVERIFY(!listView->isHeaderHidden());
    QCOMPARE(listView->headerItem()->text(1), QString("Column B"));
    QVERIFY(Widget<QTreeWidget>(view, f, "TreeView1"));
    auto* tabBar = view.WidgetOf(f.FindComponent("TabControl1"))->findChild<QTabBar*>();
    QVERIFY(tabBar);
    QCOMPARE(tabBar->tabText(1), QString("Second tab"));
    auto* pages = Widget<QTabWidget>(view, f, "PageControl1");
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->tabText(0), QString("Sheet one"));
    QCOMPARE(pages->currentIndex(), 1);
    QCOMPARE(pages->widget(1), view.WidgetOf(f.FindComponent("TabSheet2")));
    QVERIFY(pages->widget(1)->isAncestorOf(view.WidgetOf(f.FindComponent("SheetButton"))));
    QCOMPARE(Widget<QToolButton>(view, f, "ToolButton1")->text(), QString("Tool"));
    QCOMPARE(Widget<QLabel>(view, f, "Fancy1")->text(), QString("TFancyGrid"));
    QCOMPARE(Widget<QLabel>(view, f, "Fancy1")->frameShape(), QFrame::Box);
    const QList<QLabel*> panels = view.WidgetOf(f.FindComponent("StatusBar1"))->findChildren<QLabel*>();
    QCOMPARE(panels.size(), 2);
    QCOMPARE(panels[0]->text(), QString("Ready"));
    QCOMPARE(panels[0]->width(), 100);
    QVERIFY(view.MenuBar());
    QCOMPARE(view.ActionOf(f.FindComponent("MnuFile"))->text(), QString("&File"));
    QVERIFY(view.ActionOf(f.FindComponent("N1"))->isSeparator());
    QCOMPARE(view.ActionOf(f.FindComponent("MnuFile"))->menu()->actions().first(),
             view.ActionOf(f.FindComponent("MnuOpen")));
    // Non-visual components have no widget; the client area is the form's size less its frame.
    QVERIFY(!view.WidgetOf(f.FindComponent("MainMenu1")) || qobject_cast<QMenuBar*>(view.WidgetOf(f.FindComponent("MainMenu1"))));
    QCOMPARE(view.ClientArea()->size(), QSize(592, 414));
    QCOMPARE(view.WidgetOf(f.FindComponent("Edit1"))->geometry(), QRect(90, 24, 100, 21));
    const QStringList shown = view.ShownTexts();
    for (const char* text : {"Stock", "&File", "&Open...", "Label", "second line", "three", "beta", "Column B",
                             "Second tab", "Sheet two", "On sheet", "Tool", "Second panel"})
      QVERIFY2(shown.contains(text), text);
    QVERIFY(!shown.contains("-"));
  }

  // The sample's main form in German, read from its own table: tree nodes, list-view columns,
  // status panels, menu and caption.
  void sampleFormInTheLanguageItTakes() {
    runtime::GlobalLang = 1;
    auto form = Load(platform::ReadFile(std::string(VORLECT_SOURCE_DIR) + "/examples/sample-project/Main.dfm"));
    FormView view(AsControl(*form));
    const host::TComponent& f = *form;
    QCOMPARE(view.windowTitle(), QString::fromUtf8("Bestellungen - Café-Beispiel"));
    auto* tree = Widget<QTreeWidget>(view, f, "TreeView1");
    QCOMPARE(tree->topLevelItem(0)->text(0), QString("Kunden"));
    QCOMPARE(tree->topLevelItem(0)->child(1)->text(0), QString("Amerika"));
    QCOMPARE(tree->topLevelItem(1)->child(1)->text(0), QString("Erledigt"));
    QCOMPARE(Widget<QTreeWidget>(view, f, "ListView1")->headerItem()->text(2), QString::fromUtf8("Betrag (€)"));
    QCOMPARE(Widget<QTreeWidget>(view, f, "ListView1")->toolTip(), QString::fromUtf8("Bestellungen des gewählten Kunden"));
    QVERIFY(view.ShownTexts().contains("Bereit"));
    QVERIFY(view.ShownTexts().contains(QString::fromUtf8("Ö&ffnen...")));
    QCOMPARE(Widget<QPushButton>(view, f, "BtnSearch")->text(), QString("&Finden"));
  }

  // 0 -> 1 -> 0: texts, the button's place and size, and the form's font (which the label takes
  // from it) follow the table; what the table does not hold stays.
  void switchChangesExactlyWhatTheTableHolds() {
    auto form = Load(SwitchForm());
    FormView view(AsControl(*form));
    const host::TComponent& f = *form;
    auto* label = Widget<QLabel>(view, f, "Label1");
    auto* button = Widget<QPushButton>(view, f, "Button1");
    auto* edit = Widget<QLineEdit>(view, f, "Edit1");
    const QRect labelPlace = label->geometry(), editPlace = edit->geometry();
    QLabel* status = view.WidgetOf(f.FindComponent("StatusBar1"))->findChild<QLabel*>();
    auto check = [&](const QString& title, const QString& name, const QString& ok, const QRect& place,
                     const QString& family, const QString& panel, const QString& menu) {
      QCOMPARE(view.windowTitle(), title);
      QCOMPARE(label->text(), name);
      QCOMPARE(button->text(), ok);
      QCOMPARE(button->geometry(), place);
      QCOMPARE(label->font().family(), family);
      QCOMPARE(button->font().family(), family);
      QCOMPARE(label->font().pixelSize(), 11);
      QCOMPARE(edit->text(), QString("keep me"));
      // Own fonts that leave the character set to the system, and the menu, read the form's.
      QCOMPARE(status->text(), panel);
      QCOMPARE(view.ActionOf(f.FindComponent("MnuFile"))->text(), menu);
      QCOMPARE(edit->geometry(), editPlace);
      QCOMPARE(label->pos(), labelPlace.topLeft());
      QVERIFY2(label->width() == label->sizeHint().width(), "an auto-sized label fits its text");
    };
    check("Orders", "Name", "OK", QRect(8, 30, 75, 25), "Arial", "Ready", "&File");
    runtime::Global_Set_ActiveLanguage(1);
    check(QString::fromUtf8("Заказы"), QString::fromUtf8("Имя"), QString::fromUtf8("Готово"), QRect(16, 30, 120, 25),
          "Courier New", QString::fromUtf8("Ждём"), QString::fromUtf8("&Файл"));
    runtime::Global_Set_ActiveLanguage(0);
    check("Orders", "Name", "OK", QRect(8, 30, 75, 25), "Arial", "Ready", "&File");
  }

  // What a designer needs: widget and component each way, changes outside a switch shown at
  // once, controls and forms that go.
  void followsChangesAndComponentsThatGo() {
    auto form = Load(kStockForm);
    auto view = std::make_unique<FormView>(AsControl(*form));
    for (int i = 0; i < form->ComponentCount(); ++i) {
      host::TComponent* c = form->Components(i);
      if (QWidget* w = view->WidgetOf(c)) QCOMPARE(view->ComponentOf(w), c);
    }
    auto& edit = AsControl(*form->FindComponent("Edit1"));
    edit.SetBounds(50, 60, 70, 21);
    QCOMPARE(view->WidgetOf(&edit)->geometry(), QRect(50, 60, 70, 21));
    host::SetStrProp(*form->FindComponent("ListBox1"), "Hint", "a hint");
    QCOMPARE(view->WidgetOf(form->FindComponent("ListBox1"))->toolTip(), QString("a hint"));
    dynamic_cast<host::TStrings*>(host::GetObjectProp(*form->FindComponent("ListBox1"), "Items"))->Add("gamma");
    QCOMPARE(qobject_cast<QListWidget*>(view->WidgetOf(form->FindComponent("ListBox1")))->count(), 3);
    // A control brought to the front is above its siblings; the form tells whoever shows it.
    QWidget* label = view->WidgetOf(form->FindComponent("Label1"));
    QVERIFY(label->parentWidget()->children().last() != label);
    AsControl(*form->FindComponent("Label1")).BringToFront();
    QCOMPARE(label->parentWidget()->children().last(), label);
    QSignalSpy front(view.get(), &FormView::FormBroughtToFront);
    AsControl(*form).BringToFront();
    QCOMPARE(front.count(), 1);

    // A group box goes with the label inside it.
    host::TComponent* inner = form->FindComponent("InnerLabel");
    delete form->FindComponent("GroupBox1");
    QVERIFY(!view->WidgetOf(inner));
    QVERIFY(!view->ShownTexts().contains("Group box"));
    // Menu items and the menu itself: their actions go, and the bar with the menu.
    delete form->FindComponent("MnuOpen");
    QCOMPARE(view->ActionOf(form->FindComponent("MnuFile"))->menu()->actions().size(), 1);
    delete form->FindComponent("MainMenu1");
    QVERIFY(!view->MenuBar());
    QVERIFY(!view->ActionOf(form->FindComponent("MnuFile")));
    QVERIFY(!view->ShownTexts().contains("&File"));
    // The form first, then the view: nothing left to show, nothing touched.
    form.reset();
    QVERIFY(!view->Form());
    QVERIFY(view->ShownTexts().isEmpty() || view->ShownTexts() == QStringList{"Stock"});
    view.reset();
    // The view first: the form is no longer observed.
    form = Load(kStockForm);
    view = std::make_unique<FormView>(AsControl(*form));
    view.reset();
    QVERIFY(!form->ChangeObserver());
    AsControl(*form->FindComponent("Label1")).SetCaption("after the view");
  }
};

QTEST_MAIN(TestFormView)
#include "test_form_view.moc"
