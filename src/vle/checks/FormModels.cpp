#include "vle/checks/FormModels.h"

#include "host/framework/Controls.h"
#include "host/framework/Graphics.h"
#include "host/framework/controls/ComCtrls.h"
#include "host/framework/controls/ExtCtrls.h"
#include "host/framework/controls/Menus.h"
#include "host/framework/controls/StdCtrls.h"
#include "runtime/VLBase.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace vorlect::vle::checks {

namespace {

using host::TComponent;

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

ports::FontSpec SpecOf(const host::TFont& font) {
  ports::FontSpec wanted;
  wanted.name = font.Name();
  wanted.height = font.Height();
  wanted.size = font.Size();
  wanted.charset = static_cast<std::uint8_t>(font.Charset());
  wanted.bold = font.Style().Contains(host::fsBold);
  wanted.italic = font.Style().Contains(host::fsItalic);
  wanted.underline = font.Style().Contains(host::fsUnderline);
  wanted.strikeOut = font.Style().Contains(host::fsStrikeOut);
  return wanted;
}

// The form's font in each language: the stored font, with the name and character set that the
// language's line of CharSets records.
std::vector<ports::FontSpec> LanguageFonts(TComponent& form, const runtime::TBaseVorlect& vorlect) {
  ports::FontSpec stored;
  if (auto* control = dynamic_cast<host::TControl*>(&form); control && control->Font()) stored = SpecOf(*control->Font());
  std::vector<ports::FontSpec> fonts(vorlect.Languages(), stored);
  const host::TStringList& lines = *vorlect.CharSets();
  for (int k = 0; k < lines.Count() && k < vorlect.Languages(); ++k) {
    const std::string& line = lines.Strings(k);
    const size_t comma = line.find(',');
    if (comma == std::string::npos) continue;
    char* end = nullptr;
    const std::string number = line.substr(comma + 1);
    const long charset = std::strtol(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0' || charset < 0 || charset > 255) continue;  // the switch would refuse it too
    fonts[static_cast<size_t>(k)].name = line.substr(0, comma);
    fonts[static_cast<size_t>(k)].charset = static_cast<std::uint8_t>(charset);
  }
  return fonts;
}

// Per language the size that Positions records for the control (its stored size where a
// language has none), or just the stored size when positions are not switched.
std::vector<Box> BoxesOf(const host::TControl& control, const runtime::TBaseVorlect& vorlect) {
  const Box stored{control.Width(), control.Height()};
  if (vorlect.SwitchPositions() == runtime::spNone) return {stored};
  const std::string prefix = runtime::AnsiLowerCase(control.Name()) + ",";
  const host::TStringList& lines = *vorlect.Positions();
  for (int i = lines.Count() - 1; i >= 0; --i) {
    const std::string& line = lines.Strings(i);
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    std::vector<Box> boxes(vorlect.Languages(), stored);
    size_t pos = prefix.size();
    for (int k = 0; k < vorlect.Languages() && pos <= line.size(); ++k) {
      size_t comma = line.find(',', pos);
      if (comma == std::string::npos) comma = line.size();
      const std::string value = line.substr(pos, comma - pos);
      pos = comma + 1;
      // Left.Top.Width.Height; a language never recorded keeps the stored size.
      std::vector<std::string> parts;
      size_t from = 0;
      for (size_t dot; (dot = value.find('.', from)) != std::string::npos; from = dot + 1) parts.push_back(value.substr(from, dot - from));
      parts.push_back(value.substr(from));
      if (parts.size() != 4) continue;
      auto number = [](const std::string& s, int fallback) {
        char* end = nullptr;
        const long v = std::strtol(s.c_str(), &end, 10);
        return s.empty() || *end != '\0' ? fallback : static_cast<int>(v);
      };
      boxes[static_cast<size_t>(k)] = {number(parts[2], stored.width), number(parts[3], stored.height)};
    }
    return boxes;
  }
  return {stored};
}

// The part of a control that a caption cannot use.
int CaptionPadding(const TComponent& c) {
  if (c.Is<host::TCustomCheckBox>() || c.Is<host::TRadioButton>()) return 17;  // the mark and its gap
  if (c.Is<host::TCustomGroupBox>()) return 16;                                // inset on both sides
  if (c.Is<host::TCustomButton>()) return 8;                                   // frame and margin
  if (c.Is<host::TSpeedButton>()) return 4;
  return 0;
}

// Is the caption of `c` measured against its control: buttons, labels that do not size
// themselves, check boxes, radio buttons, group boxes, tab sheets.
bool MeasuresCaption(const TComponent& c) {
  if (c.Is<host::TCustomLabel>()) return !static_cast<const host::TControl&>(c).AutoSize();
  return c.Is<host::TCustomButton>() || c.Is<host::TSpeedButton>() || c.Is<host::TCustomCheckBox>() ||
         c.Is<host::TRadioButton>() || c.Is<host::TCustomGroupBox>() || c.Is<host::TTabSheet>();
}

bool WrapsCaption(const TComponent& c) {
  if (auto* label = dynamic_cast<const host::TCustomLabel*>(&c)) return label->WordWrap;
  if (auto* button = dynamic_cast<const host::TButtonControl*>(&c)) return button->WordWrap;
  return false;
}

// Tab titles fit the fixed tab width when the control has one, else the control itself.
Box TabBox(const host::TCustomTabControl& tabs) {
  return {tabs.TabWidth > 0 ? tabs.TabWidth : tabs.Width(), tabs.Height()};
}

// The parent whose controls share accelerator keys with `c`'s caption; null for none.
const TComponent* ClashParent(const TComponent& c) {
  if (auto* item = dynamic_cast<const host::TMenuItem*>(&c)) return item->GetParentComponent();
  if (auto* label = dynamic_cast<const host::TCustomLabel*>(&c); label && !label->ShowAccelChar) return nullptr;
  if (auto* control = dynamic_cast<const host::TControl*>(&c)) return control->Parent();
  return nullptr;
}

class Builder {
public:
  Builder(TComponent& form, runtime::TBaseVorlect& vorlect, FormModel& model)
      : form_(form), vorlect_(vorlect), model_(model) {}

  void Build() {
    const host::TStringList& words = *vorlect_.Words();
    const int n = vorlect_.Languages();
    const int entry = n + 1;
    // Keys the editor hides (DoNot) are texts the developer keeps out of translation.
    std::vector<std::string> hidden;
    for (int k = 0; k < vorlect_.DoNot()->Count(); ++k) hidden.push_back(vorlect_.DoNot()->Strings(k));
    TComponent* component = nullptr;
    std::string blockKey;
    int row = 0;
    bool skipping = false;
    for (int i = 0; i < words.Count(); i += entry) {
      const std::string& key = words.Strings(i);
      const bool hint = SameAscii(key, runtime::kHintKey);
      Row r;
      if ((key == runtime::kContinuationKey || hint) && !blockKey.empty()) {
        r.row = ++row;
      } else {
        blockKey = key;
        row = 0;
        skipping = std::any_of(hidden.begin(), hidden.end(), [&](const std::string& h) { return SameAscii(h, key); });
        component = key == runtime::kFormKey ? &form_ : form_.FindComponent(key);
        r.unknownKey = !component && !IsStringKey(key);
      }
      if (skipping) continue;
      r.key = blockKey;
      r.hint = hint;
      r.texts.reserve(static_cast<size_t>(n));
      for (int k = 1; k <= n; ++k) r.texts.push_back(i + k < words.Count() ? words.Strings(i + k) : std::string());
      if (component && component != &form_ && !hint) Describe(*component, r);
      model_.rows.push_back(std::move(r));
    }
  }

private:
  // The control, size, font and clash group of a component's text.
  void Describe(TComponent& c, Row& r) {
    if (!vorlect_.HandleThisComponent(&c)) return;  // its first row only holds the hint's place
    if (auto* tabs = dynamic_cast<host::TTabControl*>(&c)) {
      if (r.row < tabs->Tabs()->Count()) Fits(r, Fit::Line, 12, {TabBox(*tabs)}, *tabs);
      return;
    }
    if (auto* list = dynamic_cast<host::TCustomListView*>(&c)) {
      if (!c.Is<host::TListView>() || r.row >= list->Columns()->Count()) return;
      const host::TListColumn* column = list->Columns()->Items(r.row);
      // Columns sized by their contents (negative widths) cannot be too narrow.
      if (column && !column->AutoSize && column->Width > 0) Fits(r, Fit::Line, 12, {Box{column->Width, 0}}, *list);
      return;
    }
    if (r.row != 0 || !runtime::PropertyExists(&c, "Caption")) return;
    if (const TComponent* parent = ClashParent(c)) r.clashGroup = GroupOf(parent);
    if (!MeasuresCaption(c)) return;
    auto& control = static_cast<host::TControl&>(c);
    if (auto* sheet = dynamic_cast<host::TTabSheet*>(&c)) {
      if (host::TPageControl* pages = sheet->PageControl()) Fits(r, Fit::Line, 12, {TabBox(*pages)}, *pages);
      return;
    }
    Fits(r, WrapsCaption(c) ? Fit::Wrapped : Fit::Line, CaptionPadding(c), BoxesOf(control, vorlect_), control);
  }

  void Fits(Row& r, Fit fit, int padding, std::vector<Box> boxes, const host::TControl& control) {
    r.fit = fit;
    r.padding = padding;
    r.boxes = std::move(boxes);
    if (!control.ParentFont() && control.Font()) r.font = SpecOf(*control.Font());
  }

  int GroupOf(const TComponent* parent) {
    auto [it, added] = groups_.emplace(parent, static_cast<int>(groups_.size()));
    return it->second;
  }

  TComponent& form_;
  runtime::TBaseVorlect& vorlect_;
  FormModel& model_;
  std::map<const TComponent*, int> groups_;
};

}  // namespace

bool IsStringKey(std::string_view key) {
  return !key.empty() && (key[0] == '@' || key[0] == '%' || key[0] == '"');
}

std::vector<FormModel> FormModelsOf(TComponent& form, const std::string& name) {
  std::vector<FormModel> models;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    auto* vorlect = dynamic_cast<runtime::TBaseVorlect*>(form.Components(i));
    if (!vorlect) continue;
    FormModel m;
    m.name = name.empty() ? form.Name() : name;
    m.languages = vorlect->Languages();
    m.fonts = LanguageFonts(form, *vorlect);
    Builder(form, *vorlect, m).Build();
    models.push_back(std::move(m));
  }
  return models;
}

}  // namespace vorlect::vle::checks
