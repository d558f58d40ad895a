// Form texts with translation components, files in the test's folder, ports that record.
#pragma once

#include "VleTestUtil.h"

#include "host/ports/Ports.h"
#include "platform/Files.h"

#include <sys/resource.h>
#include <csignal>
#include <string>
#include <vector>

namespace vorlect::vle::test {

// "  object Name: TVorlect" with Languages and a table.
inline std::string VorlectBlock(const std::string& name, int languages, const std::vector<std::string>& items,
                                const std::string& eol = "\r\n") {
  std::string s = "  object " + name + ": TVorlect" + eol + "    Languages = " + std::to_string(languages) + eol +
                  "    ActiveLanguage = 0" + eol;
  if (!items.empty()) {
    s += "    Words.Strings = (";
    for (const auto& i : items) s += eol + "      " + i;
    s += ")" + eol;
  }
  return s + "  end" + eol;
}

inline std::string FormText(const std::string& children, const std::string& eol = "\r\n") {
  return "object Form1: TForm1" + eol + "  Left = 10" + eol + "  Caption = 'Main window'" + eol + children + "end" + eol;
}

class ProjectTest : public VleTest {
protected:
  void SetUp() override {
    VleTest::SetUp();
    scope_ = std::make_unique<ports::ScopedPorts>(ports_);
  }
  void TearDown() override {
    scope_.reset();
    EXPECT_EQ(ports_.pendingAnswers(), 0u);
    VleTest::TearDown();
  }
  std::string Write(const std::string& name, const std::string& data) {
    const std::string path = dir_ + "/" + name;
    platform::WriteFileAtomic(path, data);
    return path;
  }
  static std::string Read(const std::string& path) { return platform::ReadFile(path); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> v;
    for (const auto& m : ports_.messages()) v.push_back(m.text);
    return v;
  }
  ports::ScriptedPorts ports_;
  std::unique_ptr<ports::ScopedPorts> scope_;
};

// Files grow no larger than `bytes` while this lives: writes beyond fail as on a full disk.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};

}  // namespace vorlect::vle::test
