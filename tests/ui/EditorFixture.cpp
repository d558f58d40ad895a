#include "EditorFixture.h"

#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>

#include <filesystem>

#include "host/framework/Streaming.h"
#include "runtime/VLCore.h"
#include "vle/VLSettings.h"

namespace vorlect::ui::test {

QStringList QLines(const host::TStrings& list) {
  QStringList r;
  for (int i = 0; i < list.Count(); ++i) r << QString::fromStdString(list.Strings(i));
  return r;
}

EditorFixture::EditorFixture() {
  runtime::RegisterClasses();
  std::string tmpl = (std::filesystem::temp_directory_path() / "vorlect_ui_XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("no temporary folder");
  dir_ = tmpl;
  ::setenv("VORLECT_REGISTRY_DIR", dir_.c_str(), 1);
  vle::InfoEsc = vle::InfoSel = true;
  vle::CSVType = 0;
  vle::LanguageNames().Clear();
  vle::LanguageIds().Clear();
  runtime::GlobalLang = 0;
  scope_ = std::make_unique<ports::ScopedPorts>(ports);
}

EditorFixture::~EditorFixture() {
  window_.reset();
  editor_.reset();
  form_.reset();
  scope_.reset();
  ::unsetenv("VORLECT_REGISTRY_DIR");
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

TEditVorlectWindow& EditorFixture::Open(const std::string& vorlectProps, const std::string& objects) {
  const std::string text = "object Form1: TForm1\n  Caption = 'Order'\n  Font.Name = 'Arial'\n  Font.Charset = ANSI_CHARSET\n" +
                           objects + "  object Vorlect1: TVorlect\n" + vorlectProps + "  end\nend\n";
  host::ReadOptions options;
  options.fileName = "Main.dfm";
  options.designing = true;
  form_ = host::LoadForm(text, options);
  editor_ = std::make_unique<vle::TFEditVorlect>(Vorlect());
  window_ = std::make_unique<TEditVorlectWindow>(*editor_);
  window_->resize(800, 500);
  window_->show();
  if (!QTest::qWaitForWindowExposed(window_.get())) throw std::runtime_error("the window was not shown");
  window_->GridWidget().setFocus();
  window_->Refresh();
  return *window_;
}

runtime::TBaseVorlect& EditorFixture::Vorlect() const {
  auto* v = dynamic_cast<runtime::TBaseVorlect*>(form_->FindComponent("Vorlect1"));
  if (!v) throw std::logic_error("no Vorlect1 on the form");
  return *v;
}

void EditorFixture::Click(int col, int row, Qt::KeyboardModifiers modifiers) {
  TVLStrGridWidget& g = Grid();
  g.ScrollToCell(col, row);
  const QRect r = g.CellRect(col, row);
  if (r.isEmpty()) throw std::logic_error("cell not on screen");
  QTest::mouseClick(g.viewport(), Qt::LeftButton, modifiers, r.center());
}

void TypeText(QWidget* widget, const QString& text) {
  // Key by key with the text each key gives, so that letters beyond ASCII can be typed too.
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

void EditorFixture::Type(int col, int row, const QString& text) {
  Click(col, row);
  TypeText(&Grid(), text.left(1));
  if (text.size() > 1) TypeText(Grid().InplaceEditor(), text.mid(1));
  QTest::keyClick(Grid().InplaceEditor(), Qt::Key_Return);
}

void EditorFixture::Trigger(const char* action) {
  QAction* a = window_->Action(QString::fromLatin1(action));
  if (!a) throw std::logic_error(std::string("no action ") + action);
  a->trigger();
}

QStringList EditorFixture::Messages() const {
  static const char* kTypes[] = {"mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom"};
  QStringList r;
  for (const auto& m : ports.messages())
    r << QString::fromLatin1("%1|%2|%3")
             .arg(QString::fromLatin1(kTypes[static_cast<int>(m.type)]),
                  QString::fromStdString(m.buttons.ToString()), QString::fromStdString(m.text));
  return r;
}

}  // namespace vorlect::ui::test
