#include "runtime/VLCore.h"

#include "grid/VLStGrid.h"
#include "runtime/VLGrid.h"
#include "runtime/VLStockAccess.h"
#include "runtime/svlcore.h"
#include "runtime/VLTranslatable.h"

#include "host/framework/Controls.h"

#include <algorithm>
#include <functional>
#include <span>
#include <string_view>
#include <unordered_map>

namespace vorlect::runtime {

using host::ClassInfo;
using host::GetObjectProp;
using host::TCollection;
using host::TCollectionItem;

namespace {

// The stock classes whose texts are known, in the order their tests run: the first row that a
// component's class (or an ancestor) matches decides.
enum class Row {
  ListBox, DBListBox, DBRadioGroup, DBGrid, DBComboBox, Field, DBNavigator, Form, RadioGroup, Memo,
  Header, TabSet, TabbedNotebook, Notebook, TabControl, TreeView, ListView, StatusBar, HeaderControl,
  ComboBox, FilterComboBox, FileDialog, MenuItem, Other
};

Row ClassRow(const TComponent* component, bool capturing) {
  static const std::unordered_map<std::string, Row> rows = {
      {"tlistbox", Row::ListBox},         {"tdblistbox", Row::DBListBox},
      {"tdbradiogroup", Row::DBRadioGroup}, {"tdbgrid", Row::DBGrid},
      {"tdbcombobox", Row::DBComboBox},   {"tfield", Row::Field},
      {"tdbnavigator", Row::DBNavigator}, {"tform", Row::Form},
      {"tcustomform", Row::Form},         {"tradiogroup", Row::RadioGroup},
      {"tmemo", Row::Memo},               {"theader", Row::Header},
      {"ttabset", Row::TabSet},           {"ttabbednotebook", Row::TabbedNotebook},
      {"tnotebook", Row::Notebook},       {"ttabcontrol", Row::TabControl},
      {"ttreeview", Row::TreeView},       {"tlistview", Row::ListView},
      {"tstatusbar", Row::StatusBar},     {"theadercontrol", Row::HeaderControl},
      {"tcombobox", Row::ComboBox},       {"tfiltercombobox", Row::FilterComboBox},
      {"topendialog", Row::FileDialog},   {"tsavedialog", Row::FileDialog},
      {"tmenuitem", Row::MenuItem},
  };
  Row best = Row::Other;
  for (const ClassInfo* cls = &component->ClassType(); cls; cls = cls->Parent()) {
    auto it = rows.find(host::LowerCase(cls->Name()));
    if (it == rows.end()) continue;
    // Capturing takes the caption of TForm descendants only; applying any form class's.
    if (capturing && it->second == Row::Form && !host::SameText(cls->Name(), "TForm")) continue;
    best = std::min(best, it->second);
  }
  return best;
}

TStrings* ListProp(TComponent* component, const char* name) {
  if (!PropertyExists(component, name)) return nullptr;
  return dynamic_cast<TStrings*>(GetObjectProp(*component, name));
}

TCollection* CollectionProp(TComponent* component, const char* name) {
  if (!PropertyExists(component, name)) return nullptr;
  return dynamic_cast<TCollection*>(GetObjectProp(*component, name));
}

bool IsStringProp(const TPersistent* object, const char* name) {
  const host::PropInfo* prop = object ? object->ClassType().FindProperty(name) : nullptr;
  return prop && prop->kind == host::TypeKind::String;
}

std::string StrProp(const TPersistent* object, const char* name) {
  return IsStringProp(object, name) ? host::GetStrProp(*object, name) : std::string();
}

void SetStr(TPersistent* object, const char* name, const std::string& text) {
  if (IsStringProp(object, name)) host::SetStrProp(*object, name, text);
}

// A grid column's text is its title's caption.
std::string ColumnTitle(TCollectionItem* column) {
  return StrProp(PropertyExists(column, "Title") ? GetObjectProp(*column, "Title") : nullptr, "Caption");
}
void SetColumnTitle(TCollectionItem* column, const std::string& text) {
  SetStr(PropertyExists(column, "Title") ? GetObjectProp(*column, "Title") : nullptr, "Caption", text);
}

// Sets the sort type to none for the length of a walk, so items keep their places.
class SortSuspended {
public:
  explicit SortSuspended(TComponent* component) : component_(component), saved_(stock::SortType(component)) {
    if (saved_ > 0) stock::SetSortType(component_, 0);
  }
  ~SortSuspended() {
    if (saved_ > 0) stock::SetSortType(component_, saved_);
  }
  SortSuspended(const SortSuspended&) = delete;
  SortSuspended& operator=(const SortSuspended&) = delete;

private:
  TComponent* component_;
  int saved_;
};

}  // namespace

// ---- registered paths ------------------------------------------------------------------------

namespace {

// The property path each step of a row takes, for the never list and so that a registered path
// the row already takes is not taken twice.
std::vector<std::string_view> RowPaths(Row row) {
  switch (row) {
    case Row::ListBox:
    case Row::DBListBox:
    case Row::DBComboBox:
    case Row::ComboBox:
    case Row::TreeView: return {"Items"};
    case Row::DBRadioGroup:
    case Row::RadioGroup: return {"Caption", "Items"};
    case Row::DBGrid: return {"Columns.Title.Caption"};
    case Row::Field: return {"DisplayLabel"};
    case Row::DBNavigator: return {"Hints"};
    case Row::Form:
    case Row::MenuItem: return {"Caption"};
    case Row::Memo: return {"Lines"};
    case Row::Header: return {"Sections"};
    case Row::TabSet:
    case Row::TabControl: return {"Tabs"};
    case Row::TabbedNotebook:
    case Row::Notebook: return {"Pages"};
    case Row::ListView: return {"Columns.Caption", "Items"};
    case Row::StatusBar: return {"SimpleText", "Panels.Text"};
    case Row::HeaderControl: return {"Sections.Text"};
    case Row::FilterComboBox: return {"Filter"};
    case Row::FileDialog: return {"Title", "Filter"};
    case Row::Other: return {"Caption", "Text"};
  }
  return {};
}

bool Takes(const std::vector<std::string>& never, std::string_view path) {
  return std::none_of(never.begin(), never.end(), [&](const std::string& n) { return PathCovers(n, path); });
}

// The registered paths a component of this row takes after the row's own texts.
std::vector<std::string_view> ExtraPaths(Row row, const std::vector<std::string>& translate,
                                         const std::vector<std::string>& never) {
  std::vector<std::string_view> paths;
  const std::vector<std::string_view> own = RowPaths(row);
  for (const std::string& p : translate) {
    if (host::SameText(p, "Hint") || !Takes(never, p)) continue;
    if (std::any_of(own.begin(), own.end(), [&](std::string_view o) { return host::SameText(o, p); })) continue;
    paths.push_back(p);
  }
  return paths;
}

using Segments = std::span<const std::string_view>;

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  for (size_t from = 0;;) {
    const size_t dot = path.find('.', from);
    parts.push_back(path.substr(from, dot == std::string_view::npos ? std::string_view::npos : dot - from));
    if (dot == std::string_view::npos) return parts;
    from = dot + 1;
  }
}

// The published property `name` of `object` and, for a sub-object, the object it holds.
struct Step {
  const host::PropInfo* prop = nullptr;
  TPersistent* object = nullptr;
};
Step StepInto(const TPersistent* object, std::string_view name) {
  Step s;
  s.prop = object ? object->ClassType().FindProperty(name) : nullptr;
  if (s.prop && (s.prop->kind == host::TypeKind::Class || s.prop->kind == host::TypeKind::StringList ||
                 s.prop->kind == host::TypeKind::Collection))
    s.object = GetObjectProp(*object, s.prop);
  return s;
}

// What a path ends in, seen from one object: a string, a string list, or nothing published.
enum class Leaf { None, String, List };

Leaf LeafOf(const TPersistent* object, Segments path) {
  const Step s = StepInto(object, path.front());
  if (!s.prop) return Leaf::None;
  if (path.size() == 1) {
    if (s.prop->kind == host::TypeKind::String) return Leaf::String;
    return dynamic_cast<TStrings*>(s.object) ? Leaf::List : Leaf::None;
  }
  if (auto* items = dynamic_cast<TCollection*>(s.object)) {
    Leaf found = Leaf::None;
    for (int p = 0; p < items->Count() && found == Leaf::None; ++p) found = LeafOf(items->Items(p), path.subspan(1));
    return found;
  }
  return s.object ? LeafOf(s.object, path.subspan(1)) : Leaf::None;
}

// Capturing a path: a string gives one text, a list one per item; a collection gives its items'
// texts in item order, an empty text for an item without the string so that entries stay in step
// with items (items without a list give nothing, as an empty list does).
void CapturePath(const TPersistent* object, Segments path, const std::function<void(const std::string&)>& add) {
  const Step s = StepInto(object, path.front());
  if (!s.prop) return;
  if (path.size() == 1) {
    if (s.prop->kind == host::TypeKind::String) add(host::GetStrProp(*object, s.prop));
    else if (auto* list = dynamic_cast<TStrings*>(s.object))
      for (int k = 0; k < list->Count(); ++k) add(list->Strings(k));
    return;
  }
  const Segments rest = path.subspan(1);
  if (auto* items = dynamic_cast<TCollection*>(s.object)) {
    bool strings = false;
    for (int p = 0; p < items->Count() && !strings; ++p) strings = LeafOf(items->Items(p), rest) == Leaf::String;
    for (int p = 0; p < items->Count(); ++p) {
      if (strings && LeafOf(items->Items(p), rest) != Leaf::String) add(std::string());
      else CapturePath(items->Items(p), rest, add);
    }
    return;
  }
  if (s.object) CapturePath(s.object, rest, add);
}

// Sets the string at the end of `path` (no collection on the way); false when there is none.
void SetPathString(TPersistent* object, Segments path, const std::string& text) {
  const Step s = StepInto(object, path.front());
  if (!s.prop) return;
  if (path.size() == 1) {
    if (s.prop->kind == host::TypeKind::String) host::SetStrProp(*object, s.prop, text);
    return;
  }
  if (s.object) SetPathString(s.object, path.subspan(1), text);
}

}  // namespace

// ---- applying --------------------------------------------------------------------------------

class TVorlect::Applier {
public:
  Applier(TVorlect& owner, int start) : v_(owner), start_(start), i(start) {}

  // After the component's first text, only continuation entries belong to it: a list that was
  // empty when captured must not swallow the hint entry or the next component's.
  bool Owns() const { return i == start_ || v_.ContinuationFollows(i); }

  void Single(const std::function<void(const std::string&)>& set) {
    if (!Owns()) return;
    if (auto text = v_.NextText(i)) set(*text);
  }

  void List(TStrings* list) {
    if (!list || !v_.HasActiveLine(i) || list->Count() == 0 || !Owns()) return;
    int p = 0;
    for (;;) {
      auto text = v_.NextText(i);
      if (!text) break;
      list->Put(p, *text);
      if (!v_.ContinuationFollows(i) || p + 1 >= list->Count()) break;
      ++p;
    }
    for (int q = p + 1; q < list->Count(); ++q) list->Put(q, std::string());
  }

  void Collection(int count, const std::function<void(int, const std::string&)>& set) {
    if (!Owns()) return;
    for (int p = 0; v_.HasActiveLine(i) && p < count; ++p) {
      if (auto text = v_.NextText(i)) set(p, *text);
      if (!v_.ContinuationFollows(i)) break;
    }
  }

  void Items(int count, const std::function<void(int, const std::string&)>& set) {
    for (int p = 0; p < count && v_.HasActiveLine(i) && v_.ContinuationFollows(i); ++p)
      if (auto text = v_.NextText(i)) set(p, *text);
  }

  void HintList(TStrings* hints) {
    if (!hints || !v_.HasActiveLine(i) || !Owns()) return;
    TStringList lines;
    for (;;) {
      auto text = v_.NextText(i);
      // An incomplete last entry yields nothing and would be met again and again: stop there.
      lines.Add(text ? *text : std::string());
      if (!text || !v_.ContinuationFollows(i)) break;
    }
    hints->Assign(lines);
  }

  void Hint(TComponent* component, const host::PropInfo* hint, bool set) {
    if (!hint) return;
    if (i == start_) (void)v_.NextText(i);  // the placeholder capturing writes
    if (v_.IsHintKeyAt(i))
      if (auto text = v_.NextText(i); set && text && !text->empty() && hint->kind == host::TypeKind::String)
        host::SetStrProp(*component, hint, *text);
  }

  // A registered property path (VLTranslatable.h), as CapturePath takes it.
  void Path(TPersistent* object, std::span<const std::string_view> path);

  TVorlect& v_;
  const int start_;
  int i;
};

// Applying a path mirrors CapturePath.
void TVorlect::Applier::Path(TPersistent* object, std::span<const std::string_view> path) {
  const Step s = StepInto(object, path.front());
  if (!s.prop) return;
  if (path.size() == 1) {
    if (s.prop->kind == host::TypeKind::String)
      Single([object, prop = s.prop](const std::string& t) { host::SetStrProp(*object, prop, t); });
    else if (auto* list = dynamic_cast<TStrings*>(s.object))
      List(list);
    return;
  }
  const Segments rest = path.subspan(1);
  if (auto* items = dynamic_cast<TCollection*>(s.object)) {
    bool strings = false;
    for (int p = 0; p < items->Count() && !strings; ++p) strings = LeafOf(items->Items(p), rest) == Leaf::String;
    if (strings) {
      Collection(items->Count(), [items, rest](int p, const std::string& t) { SetPathString(items->Items(p), rest, t); });
      return;
    }
    for (int p = 0; p < items->Count(); ++p) Path(items->Items(p), rest);
    return;
  }
  if (s.object) Path(s.object, rest);
}


void TVorlect::ReadComponent(TComponent* component, int& index) {
  if (!component) return;
  ReadComponentPosition(component, index);
  Applier a(*this, index);
  ClassFacts& facts = Facts(component);
  auto takes = [&facts](std::string_view path) { return Takes(facts.never, path); };
  if (HandleThisComponent(component)) {
    auto setter = [component](const char* name) {
      return [component, name](const std::string& text) { SetStr(component, name, text); };
    };
    auto setProp = [component](const host::PropInfo* prop) {
      return [component, prop](const std::string& text) { host::SetStrProp(*component, prop, text); };
    };
    if (facts.row < 0) facts.row = static_cast<int>(ClassRow(component, false));
    const Row row = static_cast<Row>(facts.row);
    switch (row) {
      case Row::ListBox:
      case Row::DBListBox:
        if (takes("Items")) a.List(ListProp(component, "Items"));
        break;
      case Row::DBRadioGroup:
      case Row::RadioGroup:
        if (takes("Caption")) a.Single(setter("Caption"));
        if (takes("Items")) a.List(ListProp(component, "Items"));
        break;
      case Row::DBGrid:
        if (TCollection* columns = CollectionProp(component, "Columns"); columns && takes("Columns.Title.Caption"))
          a.Collection(columns->Count(), [columns](int p, const std::string& t) { SetColumnTitle(columns->Items(p), t); });
        break;
      case Row::DBComboBox:
      case Row::ComboBox: {
        if (!takes("Items")) break;
        const int selected = stock::ItemIndex(component);
        a.List(ListProp(component, "Items"));
        stock::SetItemIndex(component, selected);
        break;
      }
      case Row::Field:
        if (takes("DisplayLabel")) a.Single(setter("DisplayLabel"));
        break;
      case Row::DBNavigator:
        if (takes("Hints")) a.HintList(ListProp(component, "Hints"));
        break;
      case Row::Form:
      case Row::MenuItem:
        if (takes("Caption")) a.Single(setter("Caption"));
        break;
      case Row::Memo:
        if (takes("Lines")) a.List(ListProp(component, "Lines"));
        break;
      case Row::Header:
        if (takes("Sections")) a.List(ListProp(component, "Sections"));
        break;
      case Row::TabSet:
      case Row::TabControl:
        if (takes("Tabs")) a.List(ListProp(component, "Tabs"));
        break;
      case Row::TabbedNotebook:
      case Row::Notebook:
        if (takes("Pages")) a.List(ListProp(component, "Pages"));
        break;
      case Row::TreeView: {
        if (!takes("Items")) break;
        SortSuspended unsorted(component);
        a.Collection(stock::TreeNodeCount(component),
                     [component](int p, const std::string& t) { stock::SetTreeNodeText(component, p, t); });
        break;
      }
      case Row::ListView: {
        if (TCollection* columns = CollectionProp(component, "Columns"); columns && takes("Columns.Caption"))
          a.Collection(columns->Count(), [columns](int p, const std::string& t) { SetStr(columns->Items(p), "Caption", t); });
        if (!takes("Items")) break;
        SortSuspended unsorted(component);
        a.Items(stock::ListItemCount(component), [&a, component](int p, const std::string& t) {
          stock::SetListItemCaption(component, p, t);
          a.List(stock::ListItemSubItems(component, p));
        });
        break;
      }
      case Row::StatusBar:
        if (takes("SimpleText")) a.Single(setter("SimpleText"));
        if (TCollection* panels = CollectionProp(component, "Panels"); panels && takes("Panels.Text"))
          a.Items(panels->Count(), [panels](int p, const std::string& t) { SetStr(panels->Items(p), "Text", t); });
        break;
      case Row::HeaderControl:
        if (TCollection* sections = CollectionProp(component, "Sections"); sections && takes("Sections.Text"))
          a.Collection(sections->Count(), [sections](int p, const std::string& t) { SetStr(sections->Items(p), "Text", t); });
        break;
      case Row::FilterComboBox:
        if (takes("Filter")) a.Single(setter("Filter"));
        break;
      case Row::FileDialog:
        if (takes("Title")) a.Single(setter("Title"));
        if (takes("Filter")) a.Single(setter("Filter"));
        break;
      case Row::Other:
        if (facts.caption && takes("Caption")) a.Single(setProp(facts.caption));
        if (facts.text && !facts.maskEdit && takes("Text")) a.Single(setProp(facts.text));
        break;
    }
    if (!facts.translate.empty())
      for (std::string_view path : ExtraPaths(row, facts.translate, facts.never)) a.Path(component, SplitPath(path));
  }
  // A hint that is never translated is passed over, so that a table captured before keeps its
  // entries where they belong.
  a.Hint(component, facts.hint, takes("Hint"));
  index = a.i;
}

// ---- capturing -------------------------------------------------------------------------------

void TVorlect::WriteComponent(TComponent* component, int row, TStringGridAccess& grid) {
  // Rows of an unnamed component (a notebook's pages) could never be applied: no key finds it.
  if (!component || component->Name().empty()) return;
  WriteComponentPosition(component, row);
  const int start = row;
  const int column = ActiveLanguage() + 1;
  auto add = [&](const std::string& text) {
    grid.SetCells(0, row, std::string(kContinuationKey));
    if (column < grid.ColCount()) grid.SetCells(column, row, text);
    ++row;
    grid.SetRowCount(grid.RowCount() + 1);
    const int last = grid.RowCount() - 1;
    for (int c = 0; c < grid.ColCount(); ++c) grid.SetCells(c, last, std::string());
  };
  auto addList = [&](const TStrings* list) {
    if (list)
      for (int k = 0; k < list->Count(); ++k) add(list->Strings(k));
  };
  auto addProp = [&](const char* name) { add(StrProp(component, name)); };

  const ClassFacts& facts = Facts(component);
  auto takes = [&facts](std::string_view path) { return Takes(facts.never, path); };
  if (HandleThisComponent(component)) {
    const Row classRow = ClassRow(component, true);
    switch (classRow) {
      case Row::ListBox:
      case Row::DBListBox:
      case Row::DBComboBox:
      case Row::ComboBox:
        if (takes("Items")) addList(ListProp(component, "Items"));
        break;
      case Row::DBRadioGroup:
      case Row::RadioGroup:
        if (takes("Caption")) addProp("Caption");
        if (takes("Items")) addList(ListProp(component, "Items"));
        break;
      case Row::DBGrid:
        if (TCollection* columns = CollectionProp(component, "Columns"); columns && takes("Columns.Title.Caption"))
          for (int p = 0; p < columns->Count(); ++p) add(ColumnTitle(columns->Items(p)));
        break;
      case Row::Field:
        if (takes("DisplayLabel")) addProp("DisplayLabel");
        break;
      case Row::DBNavigator:
        if (takes("Hints")) addList(ListProp(component, "Hints"));
        break;
      case Row::Form:
      case Row::MenuItem:
        if (takes("Caption")) addProp("Caption");
        break;
      case Row::Memo:
        if (takes("Lines")) addList(ListProp(component, "Lines"));
        break;
      case Row::Header:
        if (takes("Sections")) addList(ListProp(component, "Sections"));
        break;
      case Row::TabSet:
      case Row::TabControl:
        if (takes("Tabs")) addList(ListProp(component, "Tabs"));
        break;
      case Row::TabbedNotebook:
      case Row::Notebook:
        if (takes("Pages")) addList(ListProp(component, "Pages"));
        break;
      case Row::TreeView:
        if (takes("Items"))
          for (int p = 0, n = stock::TreeNodeCount(component); p < n; ++p) add(stock::TreeNodeText(component, p));
        break;
      case Row::ListView: {
        if (TCollection* columns = CollectionProp(component, "Columns"); columns && takes("Columns.Caption"))
          for (int p = 0; p < columns->Count(); ++p) add(StrProp(columns->Items(p), "Caption"));
        if (takes("Items"))
          for (int p = 0, n = stock::ListItemCount(component); p < n; ++p) {
            add(stock::ListItemCaption(component, p));
            addList(stock::ListItemSubItems(component, p));
          }
        break;
      }
      case Row::StatusBar:
        if (takes("SimpleText")) addProp("SimpleText");
        if (TCollection* panels = CollectionProp(component, "Panels"); panels && takes("Panels.Text"))
          for (int p = 0; p < panels->Count(); ++p) add(StrProp(panels->Items(p), "Text"));
        break;
      case Row::HeaderControl:
        if (TCollection* sections = CollectionProp(component, "Sections"); sections && takes("Sections.Text"))
          for (int p = 0; p < sections->Count(); ++p) add(StrProp(sections->Items(p), "Text"));
        break;
      case Row::FilterComboBox:
        if (takes("Filter")) addProp("Filter");
        break;
      case Row::FileDialog:
        if (takes("Title")) addProp("Title");
        if (takes("Filter")) addProp("Filter");
        break;
      case Row::Other:
        if (IsStringProp(component, "Caption") && takes("Caption")) addProp("Caption");
        if (IsStringProp(component, "Text") && !stock::IsMaskEdit(component) && takes("Text")) addProp("Text");
        break;
    }
    if (!facts.translate.empty())
      for (std::string_view path : ExtraPaths(classRow, facts.translate, facts.never))
        CapturePath(component, SplitPath(path), add);
  }
  if (PropertyExists(component, "Hint") && takes("Hint")) {
    const std::string hint = StrProp(component, "Hint");
    if (!hint.empty()) {
      if (row == start) add(std::string());
      add(hint);
      grid.SetCells(0, row - 1, std::string(kHintKey));
    }
  }
  if (row > start) grid.SetCells(0, start, component->Name());
}

// ---- unit level ------------------------------------------------------------------------------

void Global_Set_ActiveLanguage(std::uint8_t value) {
  // A handler may free a form (and its component) while another one switches.
  const std::vector<TBaseVorlect*> snapshot = GlobalList();
  for (TBaseVorlect* component : snapshot) {
    const auto& live = GlobalList();
    if (std::find(live.begin(), live.end(), component) == live.end()) continue;
    if (value < component->Languages()) component->SetActiveLanguage(value);
  }
  GlobalLang = value;
}

void RegisterClasses() {
  host::RegisterClasses({&TBaseVorlect::StaticClass(), &TVorlect::StaticClass(), &TSmallVorlect::StaticClass(),
                         &TLanguageDLLs::StaticClass()});
  // The package also offers the translation grid, so forms holding one load too.
  grid::RegisterVLStrGrid();
}

const host::ClassInfo& TVorlect::StaticClass() {
  static const host::ClassInfo info = host::ClassBuilder<TVorlect>("TVorlect")
                                          .Publish("DoNot")
                                          .Publish("SwitchPositions")
                                          .Publish("TranslateEdits")
                                          .Publish("Positions")
                                          .Publish("CharSets")
                                          .Build();
  return info;
}

}  // namespace vorlect::runtime
