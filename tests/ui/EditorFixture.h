// Window tests of the translation editor: a designed form with a translation component, a
// registry folder of its own, scripted ports recording every message, and the editor's window
// shown on the offscreen platform.
#pragma once

#include <QObject>
#include <QString>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "runtime/VLBase.h"
#include "support/FormText.h"
#include "ui/editor/VLEditorWindow.h"
#include "vle/editor/VLEditor.h"

namespace vorlect::ui::test {

using vorlect::test::Lines;
using vorlect::test::Quoted;
using vorlect::test::StringsProp;
QStringList QLines(const host::TStrings& list);
// Types a text into a widget key by key (any letters, not only ASCII).
void TypeText(QWidget* widget, const QString& text);

class EditorFixture {
public:
  EditorFixture();
  ~EditorFixture();

  // A designed form "Form1" (caption 'Order', font Arial/0) holding `objects` and a TVorlect
  // "Vorlect1" with `vorlectProps` (form-file lines), and the editor's window on it, shown.
  TEditVorlectWindow& Open(const std::string& vorlectProps, const std::string& objects = "");
  runtime::TBaseVorlect& Vorlect() const;
  vle::TFEditVorlect& Editor() { return *editor_; }
  TEditVorlectWindow& Window() { return *window_; }
  TVLStrGridWidget& Grid() { return window_->GridWidget(); }
  std::string Cell(int col, int row) const { return editor_->Grid().Cells(col, row); }
  std::vector<std::string> Words() const { return Lines(*Vorlect().Words()); }

  // Clicks a cell's middle (it must be on screen).
  void Click(int col, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Makes a cell current by clicking it, types `text` and presses Enter.
  void Type(int col, int row, const QString& text);
  // Triggers a menu command by its object name.
  void Trigger(const char* action);
  // The messages shown so far, as "type|buttons|text".
  QStringList Messages() const;

  ports::ScriptedPorts ports;

private:
  std::unique_ptr<ports::ScopedPorts> scope_;
  std::unique_ptr<host::TComponent> form_;
  std::unique_ptr<vle::TFEditVorlect> editor_;
  std::unique_ptr<TEditVorlectWindow> window_;
  std::string dir_;
};

}  // namespace vorlect::ui::test
