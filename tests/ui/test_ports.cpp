#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>

#include "UiModal.h"
#include "ui/QtPorts.h"

using namespace vorlect;
using namespace vorlect::ports;
using vorlect::uitest::ButtonWithText;
using vorlect::uitest::WhenModal;

namespace {

// Captions of a box's buttons from left to right.
QStringList CaptionsInOrder(QMessageBox* box) {
  QList<QAbstractButton*> buttons = box->buttons();
  std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
  QStringList captions;
  for (QAbstractButton* b : buttons) captions << b->text();
  return captions;
}

// Asks through the current ports; `answer` sees the box and must close it.
int Ask(const std::string& msg, MsgDlgType type, ButtonSet buttons, std::function<void(QMessageBox*)> answer) {
  auto ran = WhenModal([answer](QWidget* w) { answer(qobject_cast<QMessageBox*>(w)); });
  const int result = ports::MessageDlg(msg, type, buttons);
  return *ran ? result : -1;
}

}  // namespace

class TestPorts : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void cleanupTestCase();
  void messageBoxShowsTypeAndText();
  void messageBoxButtons();
  void inputQuery();
  void fileDialogs();
  void clipboardRoundTrip();
  void synchronizeFromAnotherThread();
  void measureText();

private:
  std::unique_ptr<ui::QtPorts> ports_;
};

void TestPorts::initTestCase() {
  // Texts of the ports are in the ANSI code page; Cyrillic shows the conversion at work.
  qputenv("VORLECT_ANSI_CODEPAGE", "1251");
  QApplication::setApplicationDisplayName(QStringLiteral("Ports Test"));
  ports_ = std::make_unique<ui::QtPorts>();
  SetCurrentPorts(ports_.get());
}

void TestPorts::cleanupTestCase() { SetCurrentPorts(nullptr); }

void TestPorts::messageBoxShowsTypeAndText() {
  const struct {
    MsgDlgType type;
    QMessageBox::Icon icon;
    const char* title;
  } cases[] = {{mtWarning, QMessageBox::Warning, "Warning"},       {mtError, QMessageBox::Critical, "Error"},
               {mtInformation, QMessageBox::Information, "Information"}, {mtConfirmation, QMessageBox::Question, "Confirm"},
               {mtCustom, QMessageBox::NoIcon, "Ports Test"}};
  for (const auto& c : cases) {
    QMessageBox::Icon icon{};
    QString title, text;
    Qt::TextFormat format{};
    const int result = Ask("a\rb\r\n<b>\xC4\xE0</b>", c.type, {mbOK}, [&](QMessageBox* box) {
      icon = box->icon();
      title = box->windowTitle();
      text = box->text();
      format = box->textFormat();
      ButtonWithText(box, QStringLiteral("OK"))->click();
    });
    QCOMPARE(result, mrOk);
    QCOMPARE(icon, c.icon);
    QCOMPARE(title, QString::fromLatin1(c.title));
    QCOMPARE(text, QStringLiteral("a\nb\n<b>Да</b>"));
    QCOMPARE(format, Qt::PlainText);  // quoted names and texts are no markup
  }
  // An empty set still gets a button to close the box with.
  QCOMPARE(Ask("x", mtInformation, {}, [](QMessageBox* box) { box->buttons().front()->click(); }), mrOk);
}

void TestPorts::messageBoxButtons() {
  QStringList captions;
  QString defaultCaption;
  QCOMPARE(Ask("Replace?", mtConfirmation, mbYesAllNoAllCancel,
               [&](QMessageBox* box) {
                 captions = CaptionsInOrder(box);
                 defaultCaption = box->defaultButton()->text();
                 ButtonWithText(box, QStringLiteral("N&o to All"))->click();
               }),
           mrNoToAll);
  QCOMPARE(captions, (QStringList{"&Yes", "&No", "Cancel", "N&o to All", "Yes to &All"}));
  QCOMPARE(defaultCaption, QStringLiteral("&Yes"));
  QCOMPARE(Ask("Disk?", mtError, mbAbortRetryIgnore + ButtonSet{mbAll, mbHelp},
               [&](QMessageBox* box) {
                 captions = CaptionsInOrder(box);
                 ButtonWithText(box, QStringLiteral("&Ignore"))->click();
               }),
           mrIgnore);
  QCOMPARE(captions, (QStringList{"&Abort", "&Retry", "&Ignore", "&All", "&Help"}));

  // Escape: Cancel, else No, else Abort, else OK. Return: OK, else Yes, else Retry.
  auto key = [](Qt::Key k) { return [k](QMessageBox* box) { QTest::keyClick(box, k); }; };
  QCOMPARE(Ask("q", mtConfirmation, mbYesNoCancel, key(Qt::Key_Escape)), mrCancel);
  QCOMPARE(Ask("q", mtConfirmation, {mbYes, mbNo}, key(Qt::Key_Escape)), mrNo);
  QCOMPARE(Ask("q", mtError, mbAbortRetryIgnore, key(Qt::Key_Escape)), mrAbort);
  QCOMPARE(Ask("q", mtConfirmation, mbYesNoCancel, key(Qt::Key_Return)), mrYes);
  QCOMPARE(Ask("q", mtError, mbAbortRetryIgnore, key(Qt::Key_Return)), mrRetry);
}

void TestPorts::inputQuery() {
  QString title, shown, selected;
  auto ran = WhenModal([&](QWidget* w) {
    title = w->windowTitle();
    auto* edit = w->findChild<QLineEdit*>();
    shown = edit->text();
    selected = edit->selectedText();
    edit->setText(QStringLiteral("Мир"));
    ButtonWithText(w, QStringLiteral("OK"))->click();
  });
  std::string value = "\xCF\xF0\xE8";  // "При" in 1251
  QVERIFY(ports::InputQuery("\xC8\xEC\xFF", "Name:", value));
  QVERIFY(*ran);
  QCOMPARE(title, QStringLiteral("Имя"));
  QCOMPARE(shown, QStringLiteral("При"));
  QCOMPARE(selected, shown);
  QCOMPARE(value, std::string("\xCC\xE8\xF0"));

  ran = WhenModal([](QWidget* w) {
    w->findChild<QLineEdit*>()->setText(QStringLiteral("lost"));
    ButtonWithText(w, QStringLiteral("Cancel"))->click();
  });
  QVERIFY(!ports::InputQuery("c", "p", value));
  QVERIFY(*ran);
  QCOMPARE(value, std::string("\xCC\xE8\xF0"));
}

void TestPorts::fileDialogs() {
  QCOMPARE(ui::QtNameFilters("Texts|*.txt; *.text|All files|*.*|Odd"),
           (QStringList{"Texts (*.txt *.text)", "All files (*)", "Odd (*)"}));
  QCOMPARE(ui::WithDefaultExt("/d.x/out", ".csv"), std::string("/d.x/out.csv"));
  QCOMPARE(ui::WithDefaultExt("/d/out.txt", "csv"), std::string("/d/out.txt"));

  QTemporaryDir dir;
  const std::string root = QFile::encodeName(dir.path()).toStdString();
  FileDialogOptions options{"Export", "Export files (*.csv)|*.csv|All files (*.*)|*.*", "csv", root, "table"};
  QString title, directory;
  QStringList filters;
  auto ran = WhenModal([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    title = dialog->windowTitle();
    directory = dialog->directory().absolutePath();
    filters = dialog->nameFilters();
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as its Save button does
  });
  const std::optional<std::string> path = ports::SaveFileDialog(options);
  QVERIFY(*ran);
  QCOMPARE(title, QStringLiteral("Export"));
  QCOMPARE(directory, QDir(dir.path()).absolutePath());
  QCOMPARE(filters, (QStringList{"Export files (*.csv) (*.csv)", "All files (*.*) (*)"}));
  QCOMPARE(path.value_or("cancelled"), root + "/table.csv");

  ran = WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  QVERIFY(!ports::OpenFileDialog(options));
  QVERIFY(*ran);
}

void TestPorts::clipboardRoundTrip() {
  ports::SetClipboardText("\xCF\xF0\xE8\xE2\xE5\xF2\r\n2\t3");
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Привет\r\n2\t3"));
  QGuiApplication::clipboard()->setText(QStringLiteral("Мир\r\nдом"));
  QCOMPARE(ports::GetClipboardText(), std::string("\xCC\xE8\xF0\r\n\xE4\xEE\xEC"));
}

void TestPorts::synchronizeFromAnotherThread() {
  std::atomic<bool> onGui{false}, done{false};
  std::string error;
  int answer = mrNone;
  auto modal = WhenModal([](QWidget* w) { ButtonWithText(w, QStringLiteral("&No"))->click(); });
  std::thread worker([&] {
    ports::Synchronize([&] { onGui = QThread::currentThread() == qApp->thread(); });
    try {
      ports::Synchronize([] { throw std::runtime_error("boom"); });
    } catch (const std::runtime_error& e) {
      error = e.what();
    }
    // A port used from a worker shows its window on the GUI thread.
    answer = ports::MessageDlg("From a worker?", mtConfirmation, {mbYes, mbNo});
    done = true;
  });
  QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
  worker.join();
  QVERIFY(onGui);
  QCOMPARE(error, std::string("boom"));
  QVERIFY(*modal);
  QCOMPARE(answer, mrNo);

  // Without an event loop the GUI thread runs the queue where it calls for it.
  done = false;
  int calls = 0, ran = 0;
  std::thread second([&] {
    ports::Synchronize([&] { ++calls; });
    ports::Synchronize([&] { ++calls; });
    done = true;
  });
  const QDeadlineTimer deadline(10000);
  while (!done && !deadline.hasExpired()) ran += ports::ProcessSynchronizeQueue();
  second.join();
  QCOMPARE(calls, 2);
  QCOMPARE(ran, 2);
}

void TestPorts::measureText() {
  FontSpec font;  // MS Sans Serif, 8 points
  const TextExtent one = ports::MeasureText("Abc", font);
  QVERIFY(one.width > 0 && one.height > 0);
  QCOMPARE(ports::MeasureText("Abc\r\nAbc Abc\rA\n", font),
           (TextExtent{ports::MeasureText("Abc Abc", font).width, 4 * one.height}));
  QCOMPARE(ports::MeasureText("", font), (TextExtent{0, one.height}));
  // The bytes are read in the font's character set: 0xD8 is "Ш" in RUSSIAN_CHARSET.
  font.charset = 204;
  QCOMPARE(ports::MeasureText("\xD8", font).width, QFontMetrics(ui::QtFont(font)).horizontalAdvance(QStringLiteral("Ш")));

  // Windows face names reach installed fonts of the same kind.
  for (const char* name : {"MS Sans Serif", "Arial", "Tahoma", "Courier New", "Times New Roman"}) {
    font.name = name;
    QVERIFY2(QFontDatabase::families().contains(QFontInfo(ui::QtFont(font)).family()), name);
  }
  font.name = "Courier New";
  QVERIFY(QFontInfo(ui::QtFont(font)).fixedPitch());
  font.height = -16;
  QCOMPARE(QFontInfo(ui::QtFont(font)).pixelSize(), 16);
  font.height = 20;  // the whole cell
  QVERIFY(std::abs(QFontMetrics(ui::QtFont(font)).height() - 20) <= 1);
}

QTEST_MAIN(TestPorts)
#include "test_ports.moc"
