// The speller dialog and the spell setup dialog as the translation editor's user meets them:
// F7 over columns with real dictionaries, the red word edited in place, every button's answer,
// and the setup dialog's options reaching the editor's checker.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

#include "EditorFixture.h"
#include "UiModal.h"
#include "spell/SpellerRegistration.h"
#include "ui/QtText.h"
#include "ui/SpellDialogs.h"
#include "vle/VLSettings.h"
#include "vle/spellcheck/SpellTranslations.h"

using namespace vorlect;
using namespace vorlect::ui;
using namespace vorlect::ui::test;

#define NEED_DICTIONARY(file, package)             \
  if (!QFile::exists("/usr/share/hunspell/" file)) \
    QSKIP("the " file " dictionary (" package ") is not installed")

namespace {

bool RegisterDictionaries() {
  std::string report;
  return spell::RegisterSpellers(report, {"/usr/share/hunspell"}, spell::DefaultEnginePath()) > 0;
}

// One text per row of a one-language table.
std::string Table(const std::vector<std::string>& texts, const char* charset = "Arial,0") {
  std::vector<std::string> words;
  for (size_t i = 0; i < texts.size(); ++i) {
    words.push_back("Label" + std::to_string(i + 1));
    words.push_back(texts[i]);
  }
  return "    Languages = 1\n" + StringsProp("CharSets", {charset}) + StringsProp("Words", words);
}

// The buttons as the user sees them: hidden ones left out, disabled ones in brackets.
QString Buttons(TSpellerWindow& w) {
  QStringList r;
  for (const char* name : {"ChangeButton", "DelButton", "StartButton", "ChangeAllButton", "SkipButton",
                           "SkipAllButton", "AddButton", "CancelButton", "CancelEdit"}) {
    QPushButton* b = w.Button(name);
    if (b->isHidden()) continue;
    const QString n = QString::fromLatin1(name).remove("Button");
    r << (b->isEnabled() ? n : "(" + n + ")");
  }
  return r.join(' ');
}

QStringList Items(QListWidget* list) {
  QStringList r;
  for (int i = 0; i < list->count(); ++i) r << list->item(i)->text();
  return r;
}

// Where the red run starts in the box.
int RedStart(TSpellerWindow& w) { return static_cast<int>(w.Misspelling()->toPlainText().indexOf(w.RedText())); }

void PutCaret(TSpellerWindow& w, int position, int anchor = -1) {
  QTextCursor c = w.Misspelling()->textCursor();
  c.setPosition(anchor < 0 ? position : anchor);
  if (anchor >= 0) c.setPosition(position, QTextCursor::KeepAnchor);
  w.Misspelling()->setTextCursor(c);
}

void SelectVariant(TSpellerWindow& w, const QString& text) {
  const auto items = w.Variants()->findItems(text, Qt::MatchExactly);
  if (!items.isEmpty()) w.Variants()->setCurrentItem(items.first());
}

using vorlect::uitest::Shot;

// Answers the speller dialog step by step: each step runs once the dialog is up (again) and
// must answer it. A dialog beyond the script is cancelled and counted.
class SpellerScript {
public:
  using Step = std::function<void(TSpellerWindow&)>;
  explicit SpellerScript(std::vector<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(20);
  }
  size_t Ran() const { return next_; }
  int unexpected = 0;

private:
  void Tick() {
    auto* w = qobject_cast<TSpellerWindow*>(QApplication::activeModalWidget());
    if (busy_ || !w || !w->isVisible()) return;
    busy_ = true;
    if (next_ < steps_.size()) {
      steps_[next_++](*w);
    } else {
      ++unexpected;
      w->Button("CancelButton")->click();
    }
    busy_ = false;
  }
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool busy_ = false;
  QTimer timer_;
};

const QString kDone = "mtInformation|[mbOK]|Spell checking completed.";

}  // namespace

class EditorSpellerTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void germanWordIsEditedInPlaceOnly();
  void russianContextIsDecodedAndEditedInItsCodePage();
  void buttonsAnswerAndCancelEndsTheCellOnly();
  void deactivationWaitsForStart();
  void setupDialogChangesTheOptionsOnlyOnOk();

private:
  std::unique_ptr<QTemporaryDir> data_;
};

void EditorSpellerTest::init() {
  // Words added with Add go to a custom dictionary of this test, not the user's.
  data_ = std::make_unique<QTemporaryDir>();
  qputenv("XDG_DATA_HOME", data_->path().toLocal8Bit());
}

void EditorSpellerTest::germanWordIsEditedInPlaceOnly() {
  NEED_DICTIONARY("de_DE.dic", "hunspell-de-de");
  EditorFixture f;  // first: the dictionaries go into its registry
  QVERIFY2(RegisterDictionaries(), "no installed dictionary could be registered");
  vle::LanguageIds().Add("1031");
  f.Open(Table({"Das ist ein Fehlr im Text"}));
  QString title, info, context, red, shown, caretInRun, colours, refused, edited, undone;
  QStringList variants;
  SpellerScript script({[&](TSpellerWindow& w) {
    title = w.windowTitle();
    info = w.InfoMsg()->text();
    context = w.Misspelling()->toPlainText();
    red = w.RedText();
    variants = Items(w.Variants());
    shown = Buttons(w);
    const int at = RedStart(w);
    const int caret = w.Misspelling()->textCursor().position();
    caretInRun = caret >= at && caret <= at + red.size() ? "yes" : "no";
    auto colour = [&](int pos) {
      QTextCursor c(w.Misspelling()->document());
      c.setPosition(pos + 1);
      return c.charFormat().foreground().color() == QColor(255, 0, 0) ? 'R' : '-';
    };
    colours = QString(colour(at - 1)) + colour(at) + colour(at + red.size() - 1) + colour(at + red.size());
    Shot(w, "speller.png");

    // Typing in the protected text, a Backspace into it and a selection reaching into it.
    PutCaret(w, 0);
    QTest::keyClicks(w.Misspelling(), "X");
    PutCaret(w, at);
    QTest::keyClick(w.Misspelling(), Qt::Key_Backspace);
    PutCaret(w, at + 2, at - 3);
    QTest::keyClicks(w.Misspelling(), "y");
    refused = w.Misspelling()->toPlainText() + "|" + w.RedText() + "|" + Buttons(w);

    // "Fehlr" -> "Fehler" in place; Undo Edit puts the word back.
    PutCaret(w, at + 4);
    QTest::keyClicks(w.Misspelling(), "e");
    edited = w.RedText() + "|" + Buttons(w) + "|" + (w.Variants()->isEnabled() ? "list" : "(list)");
    w.Button("CancelEdit")->click();
    undone = w.Misspelling()->toPlainText() + "|" + w.RedText() + "|" + Buttons(w);

    // Again, and Return (in the box) is the default button, Change.
    PutCaret(w, RedStart(w) + 4);
    QTest::keyClicks(w.Misspelling(), "e");
    QTest::keyClick(w.Misspelling(), Qt::Key_Return);
  }});
  f.Trigger("SpellChecker1");
  QCOMPARE(script.Ran(), size_t{1});
  QCOMPARE(script.unexpected, 0);
  QCOMPARE(title, QString("Spelling - German (Germany)"));
  QCOMPARE(info, QString("Unknown word"));
  QCOMPARE(context, QString("Das ist ein Fehlr im Text"));
  QCOMPARE(red, QString("Fehlr"));
  QVERIFY(variants.contains("Fehler"));
  QCOMPARE(shown, QString("Change ChangeAll Skip SkipAll Add Cancel"));
  QCOMPARE(caretInRun, QString("yes"));
  QCOMPARE(colours, QString("-RR-"));
  QCOMPARE(refused, QString("Das ist ein Fehlr im Text|Fehlr|Change ChangeAll Skip SkipAll Add Cancel"));
  QCOMPARE(edited, QString("Fehler|Change (ChangeAll) Skip (SkipAll) (Add) Cancel CancelEdit|(list)"));
  QCOMPARE(undone, QString("Das ist ein Fehlr im Text|Fehlr|Change ChangeAll Skip SkipAll Add Cancel"));
  QCOMPARE(f.Cell(1, 2), std::string("Das ist ein Fehler im Text"));
  QCOMPARE(f.Messages(), QStringList{kDone});
}

void EditorSpellerTest::russianContextIsDecodedAndEditedInItsCodePage() {
  NEED_DICTIONARY("ru_RU.dic", "hunspell-ru");
  EditorFixture f;  // first: the dictionaries go into its registry
  QVERIFY2(RegisterDictionaries(), "no installed dictionary could be registered");
  vle::LanguageIds().Add("1049");
  const std::string text = ToCharset(QString::fromUtf8("Красная машинна едет"), 204);
  f.Open(Table({text}, "Arial,204"));
  QString context, red, refused;
  QStringList variants;
  SpellerScript script({[&](TSpellerWindow& w) {
    context = w.Misspelling()->toPlainText();
    red = w.RedText();
    variants = Items(w.Variants());
    // A letter cp1251 lacks would reach the text as "?": refused like an edit outside the run.
    const int at = RedStart(w);
    PutCaret(w, at + 1);
    TypeText(w.Misspelling(), QString::fromUtf8("Ω"));
    refused = w.RedText() + "|" + Buttons(w);
    // Replace the whole run by typing.
    PutCaret(w, at + red.size(), at);
    TypeText(w.Misspelling(), QString::fromUtf8("машина"));
    w.Button("ChangeButton")->click();
  }});
  f.Trigger("SpellChecker1");
  QCOMPARE(script.Ran(), size_t{1});
  QCOMPARE(context, QString::fromUtf8("Красная машинна едет"));
  QCOMPARE(red, QString::fromUtf8("машинна"));
  QVERIFY(variants.contains(QString::fromUtf8("машина")));
  QCOMPARE(refused, QString::fromUtf8("машинна|Change ChangeAll Skip SkipAll Add Cancel"));
  QCOMPARE(f.Cell(1, 2), ToCharset(QString::fromUtf8("Красная машина едет"), 204));
  QCOMPARE(f.Messages(), QStringList{kDone});
}

void EditorSpellerTest::buttonsAnswerAndCancelEndsTheCellOnly() {
  NEED_DICTIONARY("de_DE.dic", "hunspell-de-de");
  EditorFixture f;  // first: the dictionaries go into its registry
  QVERIFY2(RegisterDictionaries(), "no installed dictionary could be registered");
  vle::LanguageIds().Add("1031");
  f.Open(Table({"Fehlr und Fehlr", "Noch ein Fehlr", "Qwertzu", "Qwertzu Fehlerr", "Zweiter Fehlerr",
                "Dritter Fehlerr", "Vierter Fehlerr", "Letzter Fehlerr"}));
  QStringList seen;
  auto note = [&](TSpellerWindow& w) {
    seen << QString("%1@%2 %3").arg(w.RedText()).arg(w.Misspelling()->textCursor().position()).arg(Buttons(w));
  };
  SpellerScript script({
      [&](TSpellerWindow& w) { note(w), w.Button("SkipButton")->click(); },
      [&](TSpellerWindow& w) { note(w), w.Button("SkipAllButton")->click(); },  // the same cell, second word
      [&](TSpellerWindow& w) { note(w), w.Button("AddButton")->click(); },
      [&](TSpellerWindow& w) { note(w), w.Button("CancelButton")->click(); },
      [&](TSpellerWindow& w) { note(w), QTest::keyClick(&w, Qt::Key_Escape); },
      [&](TSpellerWindow& w) { note(w), w.close(); },  // the close box
      [&](TSpellerWindow& w) {
        SelectVariant(w, "Fehler");
        note(w), w.Button("ChangeAllButton")->click();
      },
  });
  f.Trigger("SpellChecker1");
  QCOMPARE(script.Ran(), size_t{7});
  QCOMPARE(script.unexpected, 0);
  const QString all = "Change ChangeAll Skip SkipAll Add Cancel";
  QCOMPARE(seen, (QStringList{"Fehlr@0 " + all, "Fehlr@10 " + all, "Qwertzu@0 " + all, "Fehlerr@8 " + all,
                              "Fehlerr@8 " + all, "Fehlerr@8 " + all, "Fehlerr@8 " + all}));
  // Skip All and Add held for the rest of the run; Cancel, Escape and the close box each gave up
  // one cell only; Change All reached the last cell without asking.
  for (int row = 2; row <= 7; ++row) QCOMPARE(f.Cell(1, row), f.Vorlect().Words()->Strings(2 * row - 3));
  QCOMPARE(f.Cell(1, 8), std::string("Vierter Fehler"));
  QCOMPARE(f.Cell(1, 9), std::string("Letzter Fehler"));
  QCOMPARE(f.Messages(), QStringList{kDone});
  QFile custom(data_->path() + "/vorlect/CUSTOM.DIC");
  QVERIFY(custom.open(QIODevice::ReadOnly));
  QVERIFY(custom.readAll().contains("Qwertzu"));
}

void EditorSpellerTest::deactivationWaitsForStart() {
  NEED_DICTIONARY("de_DE.dic", "hunspell-de-de");
  EditorFixture f;  // first: the dictionaries go into its registry
  QVERIFY2(RegisterDictionaries(), "no installed dictionary could be registered");
  vle::LanguageIds().Add("1031");
  f.Open(Table({"Ein Fehlr"}));
  QString waiting, restarted;
  SpellerScript script({[&](TSpellerWindow& w) {
    QEvent away(QEvent::WindowDeactivate);
    QApplication::sendEvent(&w, &away);
    waiting = QString("%1|%2|%3|%4").arg(Buttons(w), w.Misspelling()->toPlainText(),
                                         w.Misspelling()->isEnabled() ? "box" : "(box)")
                  .arg(w.Variants()->count());
    w.Button("StartButton")->click();
    restarted = w.RedText() + "|" + Buttons(w);
    // A double click on a suggestion is Change.
    const auto items = w.Variants()->findItems("Fehler", Qt::MatchExactly);
    if (items.isEmpty()) return w.Button("CancelButton")->click();
    const QRect r = w.Variants()->visualItemRect(items.first());
    // Qt Test's double click alone reaches no item view's doubleClicked: a click comes first,
    // as the first half of a user's double click does.
    QTest::mouseClick(w.Variants()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::mouseDClick(w.Variants()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  }});
  f.Trigger("SpellChecker1");
  QCOMPARE(script.Ran(), size_t{1});
  QCOMPARE(script.unexpected, 0);
  QCOMPARE(waiting, QString("Start (ChangeAll) (Skip) (SkipAll) (Add) Cancel||(box)|0"));
  QCOMPARE(restarted, QString("Fehlr|Change ChangeAll Skip SkipAll Add Cancel"));
  QCOMPARE(f.Cell(1, 2), std::string("Ein Fehler"));
}

void EditorSpellerTest::setupDialogChangesTheOptionsOnlyOnOk() {
  EditorFixture f;
  f.Open(Table({"Text"}));
  using spell::OptionBit;
  const auto stored = OptionBit(spell::spoSuggestFromUserDict) | OptionBit(spell::spoIgnoreAllCaps) |
                      OptionBit(spell::spoIgnoreMixedDigits) | OptionBit(spell::spoIgnoreRomanNumerals);
  QString title, group, ticked;
  QStringList captions;
  auto ok = uitest::WhenModal([&](QWidget* w) {
    title = w->windowTitle();
    group = w->findChild<QGroupBox*>()->title();
    for (int n = 1; n <= 12; ++n) {
      auto* box = w->findChild<QCheckBox*>(QString("CheckBox%1").arg(n));
      captions << box->text();
      ticked += box->isChecked() ? 'x' : '-';
    }
    w->findChild<QCheckBox*>("CheckBox7")->click();
    w->findChild<QCheckBox*>("CheckBox2")->click();
    Shot(*w, "speller-setup.png");
    uitest::ButtonWithText(w, "&OK")->click();
  });
  f.Trigger("SpellChecker2");
  QVERIFY(*ok);
  QCOMPARE(title, QString("Spell-Checker Setup"));
  QCOMPARE(group, QString("Options"));
  QCOMPARE(captions.size(), 12);
  QCOMPARE(captions.first(), QString("Suggest from user dictionary"));
  QCOMPARE(captions.last(), QString("Find initial numerals"));
  QCOMPARE(ticked, QString("xxxx--------"));
  const auto chosen = (stored | OptionBit(spell::spoFindRepeatWord)) & ~OptionBit(spell::spoIgnoreAllCaps);
  QCOMPARE(std::uint32_t{f.Window().Spelling()->SpellChecker3.Options()}, chosen);

  // Cancel and Escape keep the options; the dialog shows them as they are now.
  for (const bool escape : {false, true}) {
    QString shown;
    auto cancelled = uitest::WhenModal([&](QWidget* w) {
      for (int n = 1; n <= 12; ++n) shown += w->findChild<QCheckBox*>(QString("CheckBox%1").arg(n))->isChecked() ? 'x' : '-';
      w->findChild<QCheckBox*>("CheckBox12")->click();
      if (escape) QTest::keyClick(w, Qt::Key_Escape);
      else uitest::ButtonWithText(w, "Cancel")->click();
    });
    f.Trigger("SpellChecker2");
    QVERIFY(*cancelled);
    QCOMPARE(shown, QString("x-xx--x-----"));
    QCOMPARE(std::uint32_t{f.Window().Spelling()->SpellChecker3.Options()}, chosen);
  }
  QVERIFY(f.Messages().isEmpty());
}

QTEST_MAIN(EditorSpellerTest)
#include "test_editor_speller.moc"
