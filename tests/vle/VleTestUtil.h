// Every test gets its own registry folder and fresh expert-wide values.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "host/framework/Classes.h"
#include "platform/Registry.h"
#include "vle/VLSettings.h"

namespace vorlect::vle::test {

// A string list written in place: List{"a", "b"}.
struct List : host::TStringList {
  List(std::initializer_list<const char*> items) {
    for (const char* s : items) Add(s);
  }
};

class VleTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vorlect_vle_XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    ::setenv("VORLECT_REGISTRY_DIR", dir_.c_str(), 1);
    InfoEsc = InfoSel = true;
    CSVType = 2;
    LanguageNames().Clear();
    LanguageIds().Clear();
  }
  void TearDown() override {
    ::unsetenv("VORLECT_REGISTRY_DIR");
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  static platform::Registry Settings(platform::RegRoot root) {
    platform::Registry reg(root);
    reg.OpenKey(kSettingsKey, true);
    return reg;
  }
  static std::vector<std::string> Items(const host::TStrings& l) {
    std::vector<std::string> v;
    for (int i = 0; i < l.Count(); ++i) v.push_back(l.Strings(i));
    return v;
  }
  std::string dir_;
};

}  // namespace vorlect::vle::test
