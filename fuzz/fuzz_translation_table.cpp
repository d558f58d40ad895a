// Translation tables: random language counts and random Words, Positions and CharSets lines on a
// small form with a few controls; then switching languages, look-ups and capturing. Nothing may
// read past the table (ASan watches); conversion errors of malformed positions are expected.
#include "host/framework/Controls.h"
#include "host/framework/TypInfo.h"
#include "host/ports/Ports.h"
#include "runtime/VLCore.h"
#include "runtime/VLGrid.h"

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

using namespace vorlect;
using runtime::TVorlect;

namespace {

// Bytes 1..9 at the start of a line stand for the keys that reach the controls.
const char* const kKeys[] = {"%Form%", "Button1", "ListBox1", "\"", "\".Hint", "StatusBar1", "TreeView1",
                             "ComboBox1", "HeaderControl1"};

std::string Line(std::string_view raw) {
  if (!raw.empty() && raw[0] >= 1 && raw[0] <= 9) return std::string(kKeys[raw[0] - 1]) + std::string(raw.substr(1));
  return std::string(raw);
}

host::TComponent* Add(host::TComponent* form, const char* cls, const char* name) {
  const host::ClassInfo* info = host::GetClass(cls);
  if (!info) return nullptr;
  host::TComponent* c = info->CreateComponent(form);
  c->SetName(name);
  if (auto* control = dynamic_cast<host::TControl*>(c)) control->SetParent(dynamic_cast<host::TWinControl*>(form));
  return c;
}

void Fill(host::TComponent* c, const char* listProp, int n) {
  if (!c || !host::IsPublishedProp(*c, listProp)) return;
  if (auto* list = host::GetObjectProp<host::TStrings>(*c, listProp))
    for (int i = 0; i < n; ++i) list->Add("item" + std::to_string(i));
}

void FillCollection(host::TComponent* c, const char* prop, int n) {
  if (!c || !host::IsPublishedProp(*c, prop)) return;
  if (auto* coll = host::GetObjectProp<host::TCollection>(*c, prop))
    for (int i = 0; i < n; ++i) coll->Add();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  static std::ostringstream sink;
  static ports::CliPorts answerYes(ports::mrYes, sink);
  ports::ScopedPorts scope(answerYes);
  sink.str({});
  runtime::RegisterClasses();

  const std::uint8_t languages = data[0];
  const std::uint8_t active = data[1];
  const std::uint8_t defaultLanguage = data[2];
  const std::uint8_t flags = data[3];
  std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);

  host::TForm form(nullptr);
  form.SetName("Form1");
  Add(&form, "TButton", "Button1");
  Fill(Add(&form, "TListBox", "ListBox1"), "Items", flags & 3);
  Fill(Add(&form, "TComboBox", "ComboBox1"), "Items", 2);
  FillCollection(Add(&form, "TStatusBar", "StatusBar1"), "Panels", (flags >> 2) & 3);
  FillCollection(Add(&form, "THeaderControl", "HeaderControl1"), "Sections", 2);
  Add(&form, "TTreeView", "TreeView1");
  auto* v = new TVorlect(&form);
  v->SetName("Vorlect1");

  // Values as a form file would bring them: taken without questions.
  v->SetStateFlag(host::csLoading, true);
  try {
    v->SetDefaultLanguage(defaultLanguage);
    v->SetDefaultEnabled(flags & 0x10);
    v->SetLanguages(languages);
  } catch (const std::exception&) {
  }
  v->SetStateFlag(host::csLoading, false);
  v->SetTranslateEdits(static_cast<runtime::TTranslateEdits>((flags >> 5) % 3));

  // Words, then after a 0x00 line Positions, then CharSets.
  int section = 0;
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('\n', start);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view raw = rest.substr(start, end - start);
    if (raw == std::string_view("\0", 1)) ++section;
    else if (section == 0) v->Words()->Add(Line(raw));
    else if (section == 1) v->Positions()->Add(std::string(raw));
    else v->CharSets()->Add(std::string(raw));
    start = end + 1;
  }
  try {
    v->SetSwitchPositions(static_cast<runtime::TSwitchPositions>((flags >> 6) % 3));
  } catch (const std::exception&) {
  }

  auto attempt = [](auto&& fn) {
    try {
      fn();
    } catch (const std::exception&) {
    }
  };
  attempt([&] { v->SetActiveLanguage(active); });
  for (int lang = 0; lang < v->Languages() && lang < 4; ++lang) attempt([&] { v->SetActiveLanguage(static_cast<std::uint8_t>(lang)); });
  std::string res;
  for (const char* id : {"Button1", "\"", "%form%", "x", ""}) {
    attempt([&] { v->GetText(id, res); });
    attempt([&] { v->GetTextEx(id, active, res); });
  }
  runtime::TMemoryStringGrid grid(v->Languages() + 1, 1);
  for (int c = 0; c < form.ComponentCount(); ++c)
    attempt([&] { v->WriteComponent(form.Components(c), grid.RowCount() - 1, grid); });
  // Shrinking and growing reshape whatever is there.
  attempt([&] { v->SetLanguages(static_cast<std::uint8_t>(1 + active % 3)); });
  attempt([&] { v->SetActiveLanguage(0); });
  attempt([&] { runtime::Global_Set_ActiveLanguage(defaultLanguage % 3); });
  runtime::GlobalLang = 0;
  return 0;
}
