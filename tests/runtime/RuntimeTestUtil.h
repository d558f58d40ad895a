// Helpers shared by the runtime tests: forms loaded from form-file text, scripted message ports.
#pragma once

#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "runtime/VLCore.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace vorlect::runtime::test {

// A Pascal string literal for form-file text.
std::string Quoted(const std::string& text);

// `Name.Strings = ( ... )` of a form file, for the given lines.
std::string StringsProp(const std::string& name, const std::vector<std::string>& lines);

// `object Name: Class ... end` with one property per line (each already in form-file notation).
std::string Obj(const std::string& name, const std::string& cls, const std::vector<std::string>& props = {});

// Lines of a string list.
std::vector<std::string> Lines(const TStrings& list);

class RuntimeTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Loads a form as a finished application does (not designing): Loaded applies GlobalLang.
  std::unique_ptr<TComponent> Load(const std::string& text, bool designing = false);
  // The form's translation component (the first one).
  static TBaseVorlect* Vorlect(TComponent& form);
  template <class T>
  static T* Find(TComponent& form, const std::string& name) {
    auto* c = dynamic_cast<T*>(form.FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  // Skips the test when a stock class is not registered in this build.
  static bool HaveClass(const char* name);

  // Texts of the messages shown so far.
  std::vector<std::string> MessageTexts() const;

  ports::ScriptedPorts ports_;
  std::unique_ptr<ports::ScopedPorts> scope_;
};

#define REQUIRE_CLASS(name) \
  if (!HaveClass(name)) GTEST_SKIP() << name << " is not registered in this build"

}  // namespace vorlect::runtime::test
