// Editor tests: a form designed from form-file text with a translation component, a registry
// folder of its own, scripted ports, and the table as plain rows.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "support/FormText.h"
#include "runtime/VLCore.h"
#include "vle/editor/VLEditor.h"

namespace vorlect::vle::test {

using vorlect::test::Lines;
using vorlect::test::Quoted;
using vorlect::test::StringsProp;

class EditorTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A designed form "Form1" (caption 'Order', font Arial/0) holding `objects` and a TVorlect
  // "Vorlect1" with `vorlectProps` (form-file lines).
  std::unique_ptr<host::TComponent> Load(const std::string& vorlectProps, const std::string& objects = "");
  runtime::TBaseVorlect& Vorlect() const;
  // Opens an editor on the loaded form's component.
  TFEditVorlect& Edit();

  // Rows from row 2 on, each as its cells.
  std::vector<std::vector<std::string>> Data() const;
  std::vector<std::string> Row(int row) const;
  std::vector<std::string> Words() const { return Lines(*Vorlect().Words()); }

  struct Shown {
    std::string text;
    ports::MsgDlgType type;
    ports::ButtonSet buttons;
    bool operator==(const Shown&) const = default;
  };
  std::vector<Shown> Messages() const;
  friend void PrintTo(const Shown& s, std::ostream* os);

  ports::ScriptedPorts ports_;
  std::unique_ptr<ports::ScopedPorts> scope_;
  std::unique_ptr<host::TComponent> form_;
  std::unique_ptr<TFEditVorlect> editor_;
  std::string dir_;
};

}  // namespace vorlect::vle::test
