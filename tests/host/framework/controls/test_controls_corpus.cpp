// The stock classes against real form files: declaration order, typed loading, unchanged
// write-back.
#include "FrameworkTestUtil.h"

#include "host/framework/Streaming.h"
#include "host/framework/controls/StockControls.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>

namespace vorlect::host {
namespace {

struct CorpusTree {
  std::string name;
  formfile::Object tree;
};

const std::vector<CorpusTree>& CorpusTrees() {
  static const std::vector<CorpusTree> trees = [] {
    std::vector<CorpusTree> out;
    for (const auto& path : test::CorpusForms()) {
      try {
        out.push_back({path.filename().string(),
                       formfile::ReadForm(platform::ReadFile(path.string()), path.string())});
      } catch (const formfile::FormFileError&) {
        // damaged files are the codec's concern
      }
    }
    return out;
  }();
  return trees;
}

int DeclarationIndex(const ClassInfo& cls, std::string_view name) {
  auto props = cls.Properties();
  for (std::size_t i = 0; i < props.size(); ++i)
    if (SameText(props[i]->name, name)) return static_cast<int>(i);
  return -1;
}

// Properties that files of the 8-bit era or of older IDE versions write elsewhere than today's
// declarations put them ("Class:Property"; "*" for every class).
const std::set<std::string> kOtherEraOrders = {
    // Older IDEs wrote TabStop right after the position.
    "TMemo:TabStop", "TEdit:TabStop", "TCheckBox:TabStop",
    // Older list boxes declared Style after the common properties.
    "TListBox:Style",
    // Older masked edits declared EditMask after Enabled.
    "TMaskEdit:EditMask",
    // The first list views published OnDblClick before their own properties.
    "TListView:OnDblClick",
    // Older status bars declared OnDrawPanel last.
    "TStatusBar:OnDrawPanel",
    // The first bit buttons declared their own properties after all of TButton's.
    "TBitBtn:Kind", "TBitBtn:Layout", "TBitBtn:Margin", "TBitBtn:NumGlyphs", "TBitBtn:Spacing",
    // Older actions declared SecondaryShortCuts after ShortCut.
    "TAction:SecondaryShortCuts",
};

bool OtherEra(const std::string& cls, const std::string& a, const std::string& b) {
  for (const std::string& c : {cls, std::string("*")})
    if (kOtherEraOrders.count(c + ":" + a) || kOtherEraOrders.count(c + ":" + b)) return true;
  return false;
}

std::string Names(const std::vector<formfile::Property>& props) {
  std::string s;
  for (const auto& p : props) s += (s.empty() ? "" : " ") + p.name;
  return s;
}

// The item class of a component class's collection property (from an instance: collections
// name their item class only once created).
const ClassInfo* ItemClassOf(const ClassInfo& cls, const PropInfo& prop) {
  static std::map<const PropInfo*, const ClassInfo*> known;
  auto it = known.find(&prop);
  if (it != known.end()) return it->second;
  const ClassInfo* item = nullptr;
  if (cls.IsComponentClass() && cls.CanCreate()) {
    std::unique_ptr<TComponent> sample(cls.CreateComponent(nullptr));
    if (auto* coll = dynamic_cast<TCollection*>(GetObjectProp(*sample, &prop))) item = &coll->ItemClass();
  }
  known.emplace(&prop, item);
  return item;
}

// The file's properties of a class we declare, checked against the declaration order.
void CheckOrder(const ClassInfo& cls, const std::string& where,
                const std::vector<formfile::Property>& props, std::vector<std::string>& out) {
  int last = -1;
  std::string lastName;
  for (const formfile::Property& p : props) {
    std::string_view first = std::string_view(p.name).substr(0, p.name.find('.'));
    int index = DeclarationIndex(cls, first);
    if (index < 0) continue;
    if (index < last) {
      std::string key = cls.Name() + ":" + lastName + ">" + std::string(first);
      if (!OtherEra(cls.Name(), lastName, std::string(first)))
        out.push_back(where + ": " + key + " in " + Names(props));
      continue;
    }
    last = index;
    lastName = std::string(first);
  }
  // Collections: their items against the item class.
  for (const formfile::Property& p : props) {
    if (p.value.type != formfile::ValueType::Collection) continue;
    const PropInfo* prop = cls.FindProperty(p.name);
    if (!prop || prop->kind != TypeKind::Collection) continue;
    const ClassInfo* item = ItemClassOf(cls, *prop);
    if (!item) continue;
    for (std::size_t i = 0; i < p.value.items.size(); ++i)
      CheckOrder(*item, where + "." + p.name + "[" + std::to_string(i) + "]", p.value.items[i].properties, out);
  }
}

void CheckObjects(const formfile::Object& obj, const std::string& file, std::vector<std::string>& out,
                  std::map<std::string, int>& checked) {
  if (const ClassInfo* cls = GetClass(obj.className)) {
    const ClassInfo& c = *cls;
    // Forms and the core's classes are not ours to check.
    if (c.Name() != "TForm" && c.Name() != "TFrame" && c.Name() != "TDataModule") {
      ++checked[c.Name()];
      CheckOrder(c, file + ": " + obj.name, obj.properties, out);
    }
  }
  for (const formfile::Object& child : obj.children) CheckObjects(child, file, out, checked);
}

TEST(StockControlsCorpus, PropertiesComeInDeclarationOrder) {
  const auto& trees = CorpusTrees();
  if (trees.empty()) GTEST_SKIP() << "corpus not found at " << VORLECT_CORPUS_DIR;
  std::vector<std::string> violations;
  std::map<std::string, int> checked;
  for (const CorpusTree& t : trees) CheckObjects(t.tree, t.name, violations, checked);
  int objects = 0;
  for (auto& [name, n] : checked) objects += n;
  std::cout << "[ order   ] " << objects << " objects of " << checked.size() << " stock classes checked, "
            << violations.size() << " out of order\n";
  for (const auto& v : violations) ADD_FAILURE() << v;
}

void FindByName(TComponent& c, const std::string& name, std::vector<TComponent*>& out) {
  for (int i = 0; i < c.ComponentCount(); ++i) {
    TComponent* sub = c.Components(i);
    if (SameText(sub->Name(), name)) out.push_back(sub);
    FindByName(*sub, name, out);
  }
}

// The string value a dotted property path ("Title.Caption") has in `obj`, if it is a typed string.
bool TypedString(const TPersistent& obj, std::string_view path, std::string& value) {
  const TPersistent* at = &obj;
  for (;;) {
    auto dot = path.find('.');
    const PropInfo* p = at->ClassType().FindProperty(path.substr(0, dot));
    if (!p) return false;
    if (dot == std::string_view::npos) {
      if (p->kind != TypeKind::String) return false;
      value = GetStrProp(*at, p);
      return true;
    }
    if (!p->IsSubObject() || !(at = GetObjectProp(*at, p))) return false;
    path = path.substr(dot + 1);
  }
}

// Collection items (list-view columns, DB grid columns, status panels...) hold the file's texts.
bool SameCollections(const formfile::Object& obj, const TComponent& c, int& items) {
  for (const formfile::Property& p : obj.properties) {
    if (p.value.type != formfile::ValueType::Collection) continue;
    const PropInfo* cp = c.ClassType().FindProperty(p.name);
    if (!cp || cp->kind != TypeKind::Collection) continue;
    auto* coll = dynamic_cast<TCollection*>(GetObjectProp(c, cp));
    if (!coll || coll->Count() != static_cast<int>(p.value.items.size())) return false;
    for (int i = 0; i < coll->Count(); ++i) {
      ++items;
      for (const formfile::Property& ip : p.value.items[static_cast<std::size_t>(i)].properties) {
        std::string want, have;
        if (ValueToAnsi(ip.value, 1252, want) && TypedString(*coll->Items(i), ip.name, have) && have != want)
          return false;
      }
    }
  }
  return true;
}

struct TypedCounts {
  int objects = 0, pagedBooks = 0, items = 0;
};

void CheckTyped(const formfile::Object& obj, TComponent& root, const std::string& file, TypedCounts& typed,
                std::vector<std::string>& out) {
  const ClassInfo* cls = GetClass(obj.className);
  if (cls && !obj.name.empty() && !(obj.flags & formfile::ffInherited) && cls->Name() != "TForm") {
    std::vector<TComponent*> found;
    FindByName(root, obj.name, found);
    // Names repeat under different owners (frames): one of them must be this object.
    bool ok = false;
    for (TComponent* c : found) {
      if (&c->ClassType() != cls) continue;
      // A text the file holds is the control's text.
      bool same = true;
      for (const char* prop : {"Caption", "Text", "Hint", "Title", "Filter"}) {
        const formfile::Property* p = obj.find(prop);
        std::string want;
        if (p && cls->FindProperty(prop) && ValueToAnsi(p->value, 1252, want) && GetStrProp(*c, prop) != want)
          same = false;
      }
      // So are its string lists (Items, Tabs, Hints, Lines...).
      for (const formfile::Property& p : obj.properties) {
        if (p.name.size() < 9 || p.name.compare(p.name.size() - 8, 8, ".Strings") != 0) continue;
        std::string listName = p.name.substr(0, p.name.size() - 8);
        const PropInfo* lp = cls->FindProperty(listName);
        if (!lp || lp->kind != TypeKind::StringList || listName.find('.') != std::string::npos) continue;
        auto* list = dynamic_cast<TStrings*>(GetObjectProp(*c, lp));
        if (!list || list->Count() != static_cast<int>(p.value.list.size())) {
          same = false;
          continue;
        }
        for (int i = 0; i < list->Count(); ++i) {
          std::string want;
          if (ValueToAnsi(p.value.list[static_cast<std::size_t>(i)], 1252, want) && list->Strings(i) != want)
            same = false;
        }
      }
      // Notebook pages are the file's page objects with their captions.
      if (auto* book = dynamic_cast<TNotebookBase*>(c)) {
        std::vector<std::string> captions;
        for (const formfile::Object& child : obj.children) {
          if (!SameText(child.className, "TPage") && !SameText(child.className, "TTabPage")) continue;
          std::string caption;
          if (const formfile::Property* cp = child.find("Caption")) ValueToAnsi(cp->value, 1252, caption);
          captions.push_back(caption);
        }
        if (book->Pages()->Count() != static_cast<int>(captions.size())) same = false;
        for (int i = 0; same && i < book->Pages()->Count(); ++i)
          if (book->Pages()->Strings(i) != captions[static_cast<std::size_t>(i)]) same = false;
        ++typed.pagedBooks;
      }
      if (!SameCollections(obj, *c, typed.items)) same = false;
      ok = ok || same;
    }
    if (ok) ++typed.objects;
    else out.push_back(file + ": " + obj.name + " is not a " + cls->Name() + " with the file's texts and lists");
  }
  for (const formfile::Object& child : obj.children) CheckTyped(child, root, file, typed, out);
}

TEST(StockControlsCorpus, EveryStockObjectLoadsAsItsClassWithItsTexts) {
  const auto& trees = CorpusTrees();
  if (trees.empty()) GTEST_SKIP() << "corpus not found at " << VORLECT_CORPUS_DIR;
  TypedCounts typed;
  std::vector<std::string> problems;
  for (const CorpusTree& t : trees) {
    ReadOptions options;
    options.fileName = t.name;
    options.codePage = 1252;
    std::unique_ptr<TComponent> root;
    try {
      root = ReadComponentTree(t.tree, options);
    } catch (const std::exception& e) {
      problems.push_back(t.name + ": " + e.what());
      continue;
    }
    CheckTyped(t.tree, *root, t.name, typed, problems);
  }
  std::cout << "[ typed   ] " << typed.objects << " stock objects loaded as their classes ("
            << typed.pagedBooks << " notebooks with their pages, " << typed.items << " collection items)\n";
  EXPECT_GT(typed.objects, 7000);
  EXPECT_GT(typed.pagedBooks, 5);
  for (const auto& p : problems) ADD_FAILURE() << p;
}

}  // namespace
}  // namespace vorlect::host
