#include "EditorTestUtil.h"

#include <stdlib.h>

#include <filesystem>
#include <ostream>

#include "host/framework/Streaming.h"
#include "vle/VLSettings.h"

namespace vorlect::vle::test {

void EditorTest::SetUp() {
  runtime::RegisterClasses();
  std::string tmpl = (std::filesystem::temp_directory_path() / "vorlect_editor_XXXXXX").string();
  ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
  dir_ = tmpl;
  ::setenv("VORLECT_REGISTRY_DIR", dir_.c_str(), 1);
  InfoEsc = InfoSel = true;
  CSVType = 0;
  LanguageNames().Clear();
  LanguageIds().Clear();
  runtime::GlobalLang = 0;
  scope_ = std::make_unique<ports::ScopedPorts>(ports_);
}

void EditorTest::TearDown() {
  editor_.reset();
  form_.reset();
  scope_.reset();
  ::unsetenv("VORLECT_REGISTRY_DIR");
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
  EXPECT_EQ(ports_.pendingAnswers(), 0u) << "queued answers nobody asked for";
}

std::unique_ptr<host::TComponent> EditorTest::Load(const std::string& vorlectProps, const std::string& objects) {
  const std::string text = "object Form1: TForm1\n  Caption = 'Order'\n  Font.Name = 'Arial'\n  Font.Charset = ANSI_CHARSET\n" +
                           objects + "  object Vorlect1: TVorlect\n" + vorlectProps + "  end\nend\n";
  host::ReadOptions options;
  options.fileName = "Main.dfm";
  options.designing = true;
  return host::LoadForm(text, options);
}

runtime::TBaseVorlect& EditorTest::Vorlect() const {
  auto* v = dynamic_cast<runtime::TBaseVorlect*>(form_->FindComponent("Vorlect1"));
  if (!v) throw std::logic_error("no Vorlect1 on the form");
  return *v;
}

TFEditVorlect& EditorTest::Edit() {
  editor_ = std::make_unique<TFEditVorlect>(Vorlect());
  return *editor_;
}

std::vector<std::string> EditorTest::Row(int row) const {
  std::vector<std::string> r;
  const grid::TVLStrGrid& g = editor_->Grid();
  for (int k = 0; k < g.ColCount(); ++k) r.push_back(g.Cells(k, row));
  return r;
}

std::vector<std::vector<std::string>> EditorTest::Data() const {
  std::vector<std::vector<std::string>> rows;
  for (int r = 2; r < editor_->Grid().RowCount(); ++r) rows.push_back(Row(r));
  return rows;
}

std::vector<EditorTest::Shown> EditorTest::Messages() const {
  std::vector<Shown> r;
  for (const auto& m : ports_.messages()) r.push_back({m.text, m.type, m.buttons});
  return r;
}

void PrintTo(const EditorTest::Shown& s, std::ostream* os) {
  *os << "{\"" << s.text << "\", type " << static_cast<int>(s.type) << ", " << s.buttons.ToString() << "}";
}

}  // namespace vorlect::vle::test
