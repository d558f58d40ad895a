// The language setup dialog: typing, moving and deleting languages, taking dictionaries by click,
// double click and drop, and the stand-alone face that loads and saves the machine-wide list.
#include <stdlib.h>

#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

#include "UiModal.h"
#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "spell/SpellerRegistration.h"
#include "ui/FSetLang.h"
#include "vle/VLSettings.h"

using namespace vorlect;
using vorlect::uitest::WhenModal;

namespace {

QStringList Entries(const QListWidget* list) {
  QStringList r;
  for (int i = 0; i < list->count(); ++i) r << list->item(i)->text();
  return r;
}

QStringList Names(const host::TStrings& list) {
  QStringList r;
  for (int i = 0; i < list.Count(); ++i) r << QString::fromStdString(list.Strings(i));
  return r;
}

void SetLanguages(std::initializer_list<std::pair<const char*, const char*>> entries) {
  vle::LanguageNames().Clear();
  vle::LanguageIds().Clear();
  for (const auto& [name, id] : entries) {
    vle::LanguageNames().Add(name);
    vle::LanguageIds().Add(id);
  }
}

QPoint RowCentre(QListWidget* list, int row) { return list->visualItemRect(list->item(row)).center(); }

void ClickRow(QListWidget* list, int row) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, row)); }

void DoubleClickRow(QListWidget* list, int row) {
  // A real double click starts with a click.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, row));
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, RowCentre(list, row));
}

// The drag of a dictionary entry as the dictionary list itself packs it, entering, moving over
// and dropping on the configured list through the list's own event handlers. True when the list
// accepted the drag while it moved over it.
bool DragDictionary(ui::TFLangDlg& dialog, int row) {
  QListWidget* from = dialog.Dictionaries();
  std::unique_ptr<QMimeData> mime(from->model()->mimeData({from->model()->index(row, 0)}));
  if (!mime) return false;
  QWidget* target = dialog.Languages()->viewport();
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, {});
  QApplication::sendEvent(target, &enter);
  QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, {});
  QApplication::sendEvent(target, &move);
  if (!move.isAccepted()) return false;
  QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, {});
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

}  // namespace

class LanguageSetupTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void typedLanguageIsAddedOnce();
  void moveUpDownDoubleClickAndDelete();
  void dictionaryByClickDoubleClickAndDrop();
  void okSavesAndAFreshLoadReadsItBack();
  void cancelSavesNothing();
  void screenshotWithInstalledDictionaries();

private:
  // Registers dictionaries of these locales (empty files will do: nothing opens them here).
  void RegisterDictionaries(std::initializer_list<const char*> locales);
  int DictionaryRow(const ui::TFLangDlg& dialog, spell::TLanguage id) const;

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ports::ScriptedPorts> ports_;
  std::unique_ptr<ports::ScopedPorts> scope_;
};

void LanguageSetupTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  ::setenv("VORLECT_REGISTRY_DIR", qPrintable(dir_->filePath(QStringLiteral("registry"))), 1);
  // Registration fixes the custom dictionary's place; it must not touch the user's own.
  ::setenv("XDG_DATA_HOME", qPrintable(dir_->filePath(QStringLiteral("data"))), 1);
  SetLanguages({});
  ports_ = std::make_unique<ports::ScriptedPorts>();
  scope_ = std::make_unique<ports::ScopedPorts>(*ports_);
}

void LanguageSetupTest::cleanup() {
  scope_.reset();
  ports_.reset();
  ::unsetenv("VORLECT_REGISTRY_DIR");
  ::unsetenv("XDG_DATA_HOME");
  SetLanguages({});
  dir_.reset();
}

void LanguageSetupTest::RegisterDictionaries(std::initializer_list<const char*> locales) {
  const std::filesystem::path folder = dir_->filePath(QStringLiteral("dicts")).toStdString();
  std::filesystem::create_directories(folder);
  for (const char* locale : locales) {
    std::ofstream(folder / (std::string(locale) + ".aff")) << "SET UTF-8\n";
    std::ofstream(folder / (std::string(locale) + ".dic")) << "0\n";
  }
  std::string report;
  QCOMPARE(spell::RegisterSpellers(report, {folder.string()}, "/nonexistent/engine.so"), static_cast<int>(locales.size()));
}

int LanguageSetupTest::DictionaryRow(const ui::TFLangDlg& dialog, spell::TLanguage id) const {
  const auto& dictionaries = dialog.Model().Dictionaries();
  for (size_t i = 0; i < dictionaries.size(); ++i)
    if (dictionaries[i].id == id) return static_cast<int>(i);
  return -1;
}

void LanguageSetupTest::typedLanguageIsAddedOnce() {
  RegisterDictionaries({"de_DE"});
  SetLanguages({{"English", "1033"}});
  ui::TFLangDlg dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QCOMPARE(QApplication::focusWidget(), dialog.Edit());
  QVERIFY(!dialog.AddBtn()->isEnabled());

  QTest::keyClicks(dialog.Edit(), QStringLiteral("Plattdeutsch"));
  QVERIFY(dialog.AddBtn()->isEnabled());
  QTest::mouseClick(dialog.AddBtn(), Qt::LeftButton);
  QCOMPARE(Entries(dialog.Languages()), (QStringList{"English", "Plattdeutsch"}));
  QCOMPARE(dialog.Model().Languages().back(), (vle::TLangEntry{"Plattdeutsch", 0}));
  QVERIFY(!dialog.AddBtn()->isEnabled());

  // A name already listed, in other letter case, cannot be added again.
  dialog.Edit()->clear();
  QTest::keyClicks(dialog.Edit(), QStringLiteral("ENGLISH"));
  QVERIFY(!dialog.AddBtn()->isEnabled());

  // A typed dictionary name takes that dictionary's identifier.
  const int de = DictionaryRow(dialog, 1031);
  QVERIFY(de >= 0);
  const QString german = dialog.Dictionaries()->item(de)->text();
  dialog.Edit()->clear();
  QTest::keyClicks(dialog.Edit(), german.toLower());
  QTest::mouseClick(dialog.AddBtn(), Qt::LeftButton);
  QCOMPARE(dialog.Model().Languages().back(), (vle::TLangEntry{german.toLower().toStdString(), 1031}));
}

void LanguageSetupTest::moveUpDownDoubleClickAndDelete() {
  SetLanguages({{"English", "1033"}, {"Deutsch", "1031"}, {"Русский", "1049"}});
  ui::TFLangDlg dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QCOMPARE(Entries(dialog.Languages()), (QStringList{"English", "Deutsch", "Русский"}));
  QVERIFY(!dialog.DelBtn()->isEnabled() && !dialog.UpBtn()->isEnabled() && !dialog.DownBtn()->isEnabled());

  ClickRow(dialog.Languages(), 2);
  QVERIFY(dialog.DelBtn()->isEnabled() && dialog.UpBtn()->isEnabled() && !dialog.DownBtn()->isEnabled());
  QTest::mouseClick(dialog.UpBtn(), Qt::LeftButton);
  QTest::mouseClick(dialog.UpBtn(), Qt::LeftButton);
  QCOMPARE(Entries(dialog.Languages()), (QStringList{"Русский", "English", "Deutsch"}));
  QCOMPARE(dialog.Languages()->currentRow(), 0);
  QVERIFY(!dialog.UpBtn()->isEnabled() && dialog.DownBtn()->isEnabled());

  QTest::mouseClick(dialog.DownBtn(), Qt::LeftButton);
  QCOMPARE(Entries(dialog.Languages()), (QStringList{"English", "Русский", "Deutsch"}));
  QCOMPARE(dialog.Languages()->currentRow(), 1);
  // Identifiers move with their names.
  QCOMPARE(dialog.Model().Languages()[1], (vle::TLangEntry{"Русский", 1049}));

  // A double click shows the entry's identifier.
  DoubleClickRow(dialog.Languages(), 1);
  QCOMPARE(ports_->messages().size(), size_t(1));
  QCOMPARE(ports_->messages()[0].text, std::string("1049"));

  QTest::mouseClick(dialog.DelBtn(), Qt::LeftButton);
  QCOMPARE(Entries(dialog.Languages()), (QStringList{"English", "Deutsch"}));
  QVERIFY(dialog.Languages()->selectedItems().isEmpty());
  QVERIFY(!dialog.DelBtn()->isEnabled() && !dialog.UpBtn()->isEnabled() && !dialog.DownBtn()->isEnabled());
}

void LanguageSetupTest::dictionaryByClickDoubleClickAndDrop() {
  RegisterDictionaries({"de_DE", "fr_FR", "ru_RU"});
  SetLanguages({{"English", "1033"}});
  ui::TFLangDlg dialog;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QCOMPARE(dialog.Dictionaries()->count(), 3);
  const int de = DictionaryRow(dialog, 1031), fr = DictionaryRow(dialog, 1036);
  QVERIFY(de >= 0 && fr >= 0);
  const QString german = dialog.Dictionaries()->item(de)->text(), french = dialog.Dictionaries()->item(fr)->text();

  ClickRow(dialog.Dictionaries(), de);
  QCOMPARE(dialog.Edit()->text(), german);
  QVERIFY(dialog.AddBtn()->isEnabled());
  QCOMPARE(Entries(dialog.Languages()), QStringList{"English"});

  DoubleClickRow(dialog.Dictionaries(), de);
  QCOMPARE(Entries(dialog.Languages()), (QStringList{"English", german}));
  QCOMPARE(dialog.Model().Languages().back().id, spell::TLanguage(1031));
  QVERIFY(!dialog.AddBtn()->isEnabled());
  DoubleClickRow(dialog.Dictionaries(), de);
  QCOMPARE(dialog.Languages()->count(), 2);

  QVERIFY(DragDictionary(dialog, fr));
  QCOMPARE(Entries(dialog.Languages()), (QStringList{"English", german, french}));
  QCOMPARE(dialog.Model().Languages().back().id, spell::TLanguage(1036));
  // A name already in the list is refused while the drag moves over it.
  QVERIFY(!DragDictionary(dialog, fr));
  QCOMPARE(dialog.Languages()->count(), 3);
  // The dictionary list keeps its entries.
  QCOMPARE(dialog.Dictionaries()->count(), 3);

  // A drop of anything else is refused too.
  QMimeData text;
  text.setText(QStringLiteral("Klingon"));
  QDragMoveEvent move(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
  QApplication::sendEvent(dialog.Languages()->viewport(), &move);
  QVERIFY(!move.isAccepted());
  QCOMPARE(dialog.Languages()->count(), 3);
}

void LanguageSetupTest::okSavesAndAFreshLoadReadsItBack() {
  RegisterDictionaries({"de_DE", "ru_RU"});
  host::TStringList names, ids;
  names.Add("Plattdeutsch");
  ids.Add("0");
  names.Add("Klingon");
  ids.Add("0");
  names.Add("Esperanto");
  ids.Add("0");
  vle::SaveLanguages(names, ids);

  auto ran = WhenModal([this](QWidget* w) {
    auto* dialog = qobject_cast<ui::TFLangDlg*>(w);
    QVERIFY(dialog);
    QCOMPARE(Entries(dialog->Languages()), (QStringList{"Plattdeutsch", "Klingon", "Esperanto"}));
    ClickRow(dialog->Languages(), 1);
    QTest::mouseClick(dialog->DelBtn(), Qt::LeftButton);
    DoubleClickRow(dialog->Dictionaries(), DictionaryRow(*dialog, 1049));
    QTest::mouseClick(dialog->OKBtn(), Qt::LeftButton);
  });
  QVERIFY(ui::EditLanguageSettings());
  QVERIFY(*ran);
  const QString russian = QString::fromStdString(vle::LanguageNames().Strings(2));
  QCOMPARE(Names(vle::LanguageNames()), (QStringList{"Plattdeutsch", "Esperanto", russian}));
  QCOMPARE(Names(vle::LanguageIds()), (QStringList{"0", "0", "1049"}));

  // Read back as the next start of the program reads it: the shorter list ends where it should.
  host::TStringList loadedNames, loadedIds;
  vle::LoadLanguages(loadedNames, loadedIds);
  QCOMPARE(Names(loadedNames), Names(vle::LanguageNames()));
  QCOMPARE(Names(loadedIds), Names(vle::LanguageIds()));
  QVERIFY(ports_->messages().empty());
}

void LanguageSetupTest::cancelSavesNothing() {
  host::TStringList names, ids;
  names.Add("Plattdeutsch");
  ids.Add("0");
  vle::SaveLanguages(names, ids);
  const std::string before = [] {
    host::TStringList n, i;
    vle::LoadLanguages(n, i);
    return n.Text() + i.Text();
  }();

  auto ran = WhenModal([](QWidget* w) {
    auto* dialog = qobject_cast<ui::TFLangDlg*>(w);
    QVERIFY(dialog);
    QTest::keyClicks(dialog->Edit(), QStringLiteral("Klingon"));
    QTest::mouseClick(dialog->AddBtn(), Qt::LeftButton);
    QCOMPARE(dialog->Languages()->count(), 2);
    QTest::mouseClick(dialog->CancelBtn(), Qt::LeftButton);
  });
  QVERIFY(!ui::EditLanguageSettings());
  QVERIFY(*ran);
  QCOMPARE(Names(vle::LanguageNames()), QStringList{"Plattdeutsch"});
  host::TStringList n, i;
  vle::LoadLanguages(n, i);
  QCOMPARE(n.Text() + i.Text(), before);
}

void LanguageSetupTest::screenshotWithInstalledDictionaries() {
  std::string report;
  if (std::filesystem::is_directory("/usr/share/hunspell"))
    spell::RegisterSpellers(report, {"/usr/share/hunspell"}, spell::DefaultEnginePath());
  SetLanguages({{"English", "1033"}, {"Deutsch", "1031"}, {"Русский", "1049"}});
  qputenv("VORLECT_HELP_DIR", VORLECT_SOURCE_DIR "/docs/help");
  ui::TFLangDlg dialog;
  qunsetenv("VORLECT_HELP_DIR");
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Language Setup"));
  QCOMPARE(dialog.HelpBtn()->toolTip(), QStringLiteral("Explain the language/ dictionary setup"));
  QVERIFY(dialog.HelpBtn()->isEnabled());
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  ClickRow(dialog.Languages(), 1);
  const QImage shot = dialog.grab().toImage();
  QVERIFY(!shot.isNull());
  if (const QByteArray shots = qgetenv("VORLECT_UI_SHOTS"); !shots.isEmpty())
    QVERIFY(shot.save(QString::fromLocal8Bit(shots) + QStringLiteral("/language-setup.png")));
}

QTEST_MAIN(LanguageSetupTest)
#include "test_language_setup.moc"
