#include "platform/Modules.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorlect::platform;

TEST(Modules, HandleOnlyForLoadedModules) {
  const std::string path = VORLECT_TEST_MODULE;
  const std::string base = std::filesystem::path(path).filename().string();
  EXPECT_EQ(GetModuleHandle(path), nullptr);  // looking does not load
  EXPECT_EQ(GetModuleHandle(path), nullptr);

  void* module = LoadModule(path);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(GetModuleHandle(path), module);
  EXPECT_EQ(GetModuleHandle(base), module);  // by file name alone, as the original does
  auto* answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "vorlect_test_answer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(GetProcAddress(module, "no_such_symbol"), nullptr);

  // GetModuleHandle took no lasting reference: one FreeModule unloads it.
  EXPECT_TRUE(FreeModule(module));
  EXPECT_EQ(GetModuleHandle(path), nullptr);
}

TEST(Modules, ErrorsAndNulls) {
  try {
    LoadModule("/nonexistent/libnothing.so");
    FAIL();
  } catch (const ModuleError& e) {
    EXPECT_NE(std::string(e.what()).find("libnothing.so"), std::string::npos);
  }
  EXPECT_EQ(GetModuleHandle(""), nullptr);
  EXPECT_EQ(GetModuleHandle("libnothing.so"), nullptr);
  EXPECT_NE(GetModuleHandle("libc.so.6"), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
  EXPECT_FALSE(FreeModule(nullptr));
}
