#include "runtime/VLCore.h"

#include "grid/VLStGrid.h"
#include "runtime/VLGrid.h"
#include "runtime/VLStockAccess.h"
#include "runtime/svlcore.h"

#include "host/framework/Controls.h"

#include <algorithm>
#include <functional>
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

  void Hint(TComponent* component, const host::PropInfo* hint) {
    if (!hint) return;
    if (i == start_) (void)v_.NextText(i);  // the placeholder capturing writes
    if (v_.IsHintKeyAt(i))
      if (auto text = v_.NextText(i); text && !text->empty() && hint->kind == host::TypeKind::String)
        host::SetStrProp(*component, hint, *text);
  }

  TVorlect& v_;
  const int start_;
  int i;
};

void TVorlect::ReadComponent(TComponent* component, int& index) {
  if (!component) return;
  ReadComponentPosition(component, index);
  Applier a(*this, index);
  ClassFacts& facts = Facts(component);
  if (HandleThisComponent(component)) {
    auto setter = [component](const char* name) {
      return [component, name](const std::string& text) { SetStr(component, name, text); };
    };
    auto setProp = [component](const host::PropInfo* prop) {
      return [component, prop](const std::string& text) { host::SetStrProp(*component, prop, text); };
    };
    if (facts.row < 0) facts.row = static_cast<int>(ClassRow(component, false));
    switch (static_cast<Row>(facts.row)) {
      case Row::ListBox:
      case Row::DBListBox:
        a.List(ListProp(component, "Items"));
        break;
      case Row::DBRadioGroup:
      case Row::RadioGroup:
        a.Single(setter("Caption"));
        a.List(ListProp(component, "Items"));
        break;
      case Row::DBGrid:
        if (TCollection* columns = CollectionProp(component, "Columns"))
          a.Collection(columns->Count(), [columns](int p, const std::string& t) { SetColumnTitle(columns->Items(p), t); });
        break;
      case Row::DBComboBox:
      case Row::ComboBox: {
        const int selected = stock::ItemIndex(component);
        a.List(ListProp(component, "Items"));
        stock::SetItemIndex(component, selected);
        break;
      }
      case Row::Field:
        a.Single(setter("DisplayLabel"));
        break;
      case Row::DBNavigator:
        a.HintList(ListProp(component, "Hints"));
        break;
      case Row::Form:
      case Row::MenuItem:
        a.Single(setter("Caption"));
        break;
      case Row::Memo:
        a.List(ListProp(component, "Lines"));
        break;
      case Row::Header:
        a.List(ListProp(component, "Sections"));
        break;
      case Row::TabSet:
      case Row::TabControl:
        a.List(ListProp(component, "Tabs"));
        break;
      case Row::TabbedNotebook:
      case Row::Notebook:
        a.List(ListProp(component, "Pages"));
        break;
      case Row::TreeView: {
        SortSuspended unsorted(component);
        a.Collection(stock::TreeNodeCount(component),
                     [component](int p, const std::string& t) { stock::SetTreeNodeText(component, p, t); });
        break;
      }
      case Row::ListView: {
        if (TCollection* columns = CollectionProp(component, "Columns"))
          a.Collection(columns->Count(), [columns](int p, const std::string& t) { SetStr(columns->Items(p), "Caption", t); });
        SortSuspended unsorted(component);
        a.Items(stock::ListItemCount(component), [&a, component](int p, const std::string& t) {
          stock::SetListItemCaption(component, p, t);
          a.List(stock::ListItemSubItems(component, p));
        });
        break;
      }
      case Row::StatusBar:
        a.Single(setter("SimpleText"));
        if (TCollection* panels = CollectionProp(component, "Panels"))
          a.Items(panels->Count(), [panels](int p, const std::string& t) { SetStr(panels->Items(p), "Text", t); });
        break;
      case Row::HeaderControl:
        if (TCollection* sections = CollectionProp(component, "Sections"))
          a.Collection(sections->Count(), [sections](int p, const std::string& t) { SetStr(sections->Items(p), "Text", t); });
        break;
      case Row::FilterComboBox:
        a.Single(setter("Filter"));
        break;
      case Row::FileDialog:
        a.Single(setter("Title"));
        a.Single(setter("Filter"));
        break;
      case Row::Other:
        if (facts.caption) a.Single(setProp(facts.caption));
        if (facts.text && !facts.maskEdit) a.Single(setProp(facts.text));
        break;
    }
  }
  a.Hint(component, facts.hint);
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

  if (HandleThisComponent(component)) {
    switch (ClassRow(component, true)) {
      case Row::ListBox:
      case Row::DBListBox:
      case Row::DBComboBox:
      case Row::ComboBox:
        addList(ListProp(component, "Items"));
        break;
      case Row::DBRadioGroup:
      case Row::RadioGroup:
        addProp("Caption");
        addList(ListProp(component, "Items"));
        break;
      case Row::DBGrid:
        if (TCollection* columns = CollectionProp(component, "Columns"))
          for (int p = 0; p < columns->Count(); ++p) add(ColumnTitle(columns->Items(p)));
        break;
      case Row::Field:
        addProp("DisplayLabel");
        break;
      case Row::DBNavigator:
        addList(ListProp(component, "Hints"));
        break;
      case Row::Form:
      case Row::MenuItem:
        addProp("Caption");
        break;
      case Row::Memo:
        addList(ListProp(component, "Lines"));
        break;
      case Row::Header:
        addList(ListProp(component, "Sections"));
        break;
      case Row::TabSet:
      case Row::TabControl:
        addList(ListProp(component, "Tabs"));
        break;
      case Row::TabbedNotebook:
      case Row::Notebook:
        addList(ListProp(component, "Pages"));
        break;
      case Row::TreeView:
        for (int p = 0, n = stock::TreeNodeCount(component); p < n; ++p) add(stock::TreeNodeText(component, p));
        break;
      case Row::ListView: {
        if (TCollection* columns = CollectionProp(component, "Columns"))
          for (int p = 0; p < columns->Count(); ++p) add(StrProp(columns->Items(p), "Caption"));
        for (int p = 0, n = stock::ListItemCount(component); p < n; ++p) {
          add(stock::ListItemCaption(component, p));
          addList(stock::ListItemSubItems(component, p));
        }
        break;
      }
      case Row::StatusBar:
        addProp("SimpleText");
        if (TCollection* panels = CollectionProp(component, "Panels"))
          for (int p = 0; p < panels->Count(); ++p) add(StrProp(panels->Items(p), "Text"));
        break;
      case Row::HeaderControl:
        if (TCollection* sections = CollectionProp(component, "Sections"))
          for (int p = 0; p < sections->Count(); ++p) add(StrProp(sections->Items(p), "Text"));
        break;
      case Row::FilterComboBox:
        addProp("Filter");
        break;
      case Row::FileDialog:
        addProp("Title");
        addProp("Filter");
        break;
      case Row::Other:
        if (IsStringProp(component, "Caption")) addProp("Caption");
        if (IsStringProp(component, "Text") && !stock::IsMaskEdit(component)) addProp("Text");
        break;
    }
  }
  if (PropertyExists(component, "Hint")) {
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
