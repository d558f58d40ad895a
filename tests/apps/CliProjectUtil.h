// Projects for command-line tests: a copy of the bundled sample project, and projects of one form
// written on the spot.
#pragma once

#include "CliTestUtil.h"

#include "platform/CodePages.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vorlect::testing {

// The sample project of the sources; tests work on copies of it.
inline const std::filesystem::path kSampleProject =
    std::filesystem::path(VORLECT_SOURCE_DIR) / "examples" / "sample-project";

inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A text given in UTF-8 as the bytes of a Windows code page, as form files hold it.
inline std::string Cp(const char* utf8, int codePage) {
  return platform::EncodeCodePage(platform::Utf8ToUtf16(utf8), codePage);
}

// A project `name`.dpr in `folder` of one form: the unit `unit`.pas declaring `formClass` and the
// form file `unit`.dfm holding `dfm`. Returns the project file's path.
inline std::string WriteOneFormProject(const std::string& folder, const std::string& name, const std::string& unit,
                                       const std::string& formClass, const std::string& dfm) {
  const std::filesystem::path dir(folder);
  std::filesystem::create_directories(dir);
  const std::string formName = formClass.substr(1);  // TForm1 -> Form1
  platform::WriteFileAtomic((dir / (name + ".dpr")).string(),
                            "program " + name + ";\r\n\r\nuses\r\n  Forms,\r\n  " + unit + " in '" + unit + ".pas' {" +
                                formName + "};\r\n\r\nbegin\r\nend.\r\n");
  platform::WriteFileAtomic((dir / (unit + ".pas")).string(),
                            "unit " + unit + ";\r\n\r\ninterface\r\n\r\nuses\r\n  Forms;\r\n\r\ntype\r\n  " + formClass +
                                " = class(TForm)\r\n  end;\r\n\r\nimplementation\r\n\r\nend.\r\n");
  platform::WriteFileAtomic((dir / (unit + ".dfm")).string(), dfm);
  return (dir / (name + ".dpr")).string();
}

// A test with settings of its own and its own copy of the sample project.
class WithSampleProject : public WithOwnRegistry {
protected:
  void SetUp() override {
    WithOwnRegistry::SetUp();
    std::filesystem::copy(kSampleProject, dir_.Path("sample"), std::filesystem::copy_options::recursive);
  }
  // A file of the copy.
  std::string Sample(const std::string& name) const { return dir_.Path("sample/" + name); }
  // The configured languages in the order of the sample's table: English, German, Russian.
  static void ConfigureSampleLanguages() { ASSERT_EQ(RunVorlect({"languages", "set", "1033,1031,1049"}).status, 0); }
};

}  // namespace vorlect::testing
