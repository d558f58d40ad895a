#include "RuntimeTestUtil.h"

#include "host/framework/Streaming.h"
#include "host/framework/TypInfo.h"

namespace vorlect::runtime::test {

std::string Quoted(const std::string& text) {
  std::string r = "'";
  for (char c : text) {
    if (c == '\'') r += "''";
    else r += c;
  }
  return r + "'";
}

std::string StringsProp(const std::string& name, const std::vector<std::string>& lines) {
  std::string r = "    " + name + ".Strings = (";
  for (std::size_t i = 0; i < lines.size(); ++i) r += "\n      " + Quoted(lines[i]);
  return r + ")\n";
}

std::string Obj(const std::string& name, const std::string& cls, const std::vector<std::string>& props) {
  std::string r = "  object " + name + ": " + cls + "\n";
  for (const std::string& p : props) r += "    " + p + "\n";
  return r + "  end\n";
}

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> r;
  for (int i = 0; i < list.Count(); ++i) r.push_back(list.Strings(i));
  return r;
}

void RuntimeTest::SetUp() {
  RegisterClasses();
  GlobalLang = 0;
  LanguageDLL.clear();
  scope_ = std::make_unique<ports::ScopedPorts>(ports_);
}

void RuntimeTest::TearDown() {
  scope_.reset();
  GlobalLang = 0;
  LanguageDLL.clear();
  EXPECT_EQ(ports_.pendingAnswers(), 0u) << "queued answers nobody asked for";
}

std::unique_ptr<TComponent> RuntimeTest::Load(const std::string& text, bool designing) {
  host::ReadOptions options;
  options.fileName = "test.dfm";
  options.designing = designing;
  return host::LoadForm(text, options);
}

TBaseVorlect* RuntimeTest::Vorlect(TComponent& form) {
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* v = dynamic_cast<TBaseVorlect*>(form.Components(i))) return v;
  ADD_FAILURE() << "no translation component";
  return nullptr;
}

bool RuntimeTest::HaveClass(const char* name) { return host::GetClass(name) != nullptr; }

std::vector<std::string> RuntimeTest::MessageTexts() const {
  std::vector<std::string> r;
  for (const auto& m : ports_.messages()) r.push_back(m.text);
  return r;
}

}  // namespace vorlect::runtime::test
