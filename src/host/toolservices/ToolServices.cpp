#include "host/toolservices/ToolServices.h"

#include "platform/CodePages.h"
#include "platform/Files.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <optional>

namespace vorlect::toolservices {

namespace fs = std::filesystem;

namespace {

std::atomic<HostServices*> g_host{nullptr};

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || static_cast<unsigned char>(c) >= 0x80; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(" \t\r\n");
  return std::string(s.substr(b, e - b + 1));
}

// Just enough of a Pascal lexer for the uses clause of a project file.
class UsesParser {
public:
  UsesParser(std::string_view text, std::string_view file) : text_(text), file_(file) {}

  std::vector<ProjectUnit> Parse() {
    // Find the `uses` keyword outside comments and strings.
    while (true) {
      SkipTrivia();
      if (AtEnd()) Fail("no uses clause found");
      if (IsIdentStart(Peek())) {
        if (SameText(Ident(), "uses")) break;
      } else if (Peek() == '\'') {
        String();
      } else {
        ++pos_;
      }
    }
    std::vector<ProjectUnit> units;
    while (true) {
      SkipTrivia();
      if (AtEnd()) Fail("uses clause not terminated by ';'");
      if (!IsIdentStart(Peek())) Fail("expected a unit name");
      ProjectUnit unit;
      unit.line = line_;
      unit.name = Ident();
      while (true) {  // dotted unit names
        SkipTrivia();
        if (AtEnd() || Peek() != '.') break;
        ++pos_;
        SkipTrivia();
        if (AtEnd() || !IsIdentStart(Peek())) Fail("expected a name after '.'");
        unit.name += "." + Ident();
      }
      SkipTrivia();
      if (!AtEnd() && IsIdentStart(Peek())) {
        const size_t save = pos_;
        if (!SameText(Ident(), "in")) {
          pos_ = save;
          Fail("expected ',', ';' or 'in'");
        }
        SkipTrivia();
        if (AtEnd() || Peek() != '\'') Fail("expected a quoted file name after 'in'");
        unit.path = String();
        if (auto form = FormComment()) unit.formName = *form;
        SkipTrivia();
      }
      units.push_back(std::move(unit));
      if (AtEnd()) Fail("uses clause not terminated by ';'");
      if (Peek() == ';') break;
      if (Peek() != ',') Fail("expected ',' or ';'");
      ++pos_;
    }
    return units;
  }

private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }

  [[noreturn]] void Fail(const std::string& what, int line = 0) const {
    throw ProjectFileError(std::string(file_) + ":" + std::to_string(line ? line : line_) + ": " + what);
  }

  void Advance() {
    if (text_[pos_] == '\n') ++line_;
    ++pos_;
  }

  void SkipTrivia() {
    while (!AtEnd()) {
      const char c = Peek();
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0') {
        Advance();
      } else if (c == '{') {
        const int start = line_;
        while (!AtEnd() && Peek() != '}') Advance();
        if (AtEnd()) Fail("comment '{' not closed", start);
        ++pos_;
      } else if (c == '(' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
        const int start = line_;
        pos_ += 2;
        while (!AtEnd() && !(Peek() == '*' && pos_ + 1 < text_.size() && text_[pos_ + 1] == ')')) Advance();
        if (AtEnd()) Fail("comment '(*' not closed", start);
        pos_ += 2;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (!AtEnd() && Peek() != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  std::string Ident() {
    const size_t start = pos_;
    while (!AtEnd() && IsIdentChar(Peek())) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  // A Pascal string: '' inside stands for one apostrophe; strings end on their line.
  std::string String() {
    std::string out;
    ++pos_;
    while (true) {
      if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("string not closed on its line");
      const char c = text_[pos_++];
      if (c != '\'') {
        out.push_back(c);
      } else if (!AtEnd() && Peek() == '\'') {
        out.push_back('\'');
        ++pos_;
      } else {
        return out;
      }
    }
  }

  // The `{FormName}` or `{FormName: TFrame}` comment right after a unit's file name.
  std::optional<std::string> FormComment() {
    size_t p = pos_;
    while (p < text_.size() && (text_[p] == ' ' || text_[p] == '\t')) ++p;
    if (p >= text_.size() || text_[p] != '{' || (p + 1 < text_.size() && text_[p + 1] == '$')) return std::nullopt;
    const size_t close = text_.find('}', p);
    if (close == std::string_view::npos) return std::nullopt;  // SkipTrivia reports it
    std::string_view body = text_.substr(p + 1, close - p - 1);
    if (body.find('\n') != std::string_view::npos) return std::nullopt;
    pos_ = close + 1;
    const std::string name = Trim(body.substr(0, body.find(':')));
    if (name.empty()) return std::nullopt;
    return name;
  }

  std::string_view text_;
  std::string_view file_;
  size_t pos_ = 0;
  int line_ = 1;
};

// The directory entry of `folder` named `name`, exactly or else ignoring ASCII case.
std::optional<std::string> FindEntry(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  if (fs::exists(folder / name, ec)) return name;
  std::vector<std::string> matches;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (SameText(entry, name)) matches.push_back(entry);
  }
  if (matches.empty()) return std::nullopt;
  std::sort(matches.begin(), matches.end());  // deterministic when several differ only in case
  return matches.front();
}

std::optional<std::string> Resolve(const std::string& folder, const std::string& written) {
  fs::path result = written.empty() || written.front() != '/' ? fs::path(folder) : fs::path("/");
  size_t start = 0;
  while (start <= written.size()) {
    const size_t slash = std::min(written.find('/', start), written.size());
    const std::string part = written.substr(start, slash - start);
    start = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      result = result.parent_path();
      continue;
    }
    const auto entry = FindEntry(result, part);
    if (!entry) return std::nullopt;
    result /= *entry;
  }
  return result.lexically_normal().string();
}

}  // namespace

HostServices* GetHostServices() { return g_host.load(); }
HostServices* SetHostServices(HostServices* host) { return g_host.exchange(host); }

std::vector<ProjectUnit> ParseProjectUses(std::string_view content, std::string_view fileName) {
  return UsesParser(content, fileName).Parse();
}

std::string ResolveProjectPath(const std::string& folder, std::string_view written) {
  std::string path(written);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (auto found = Resolve(folder, path)) return *found;
  // Names written by an 8-bit IDE are in the ANSI code page; file systems here use UTF-8.
  const bool ascii = std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) {
    const std::string utf8 =
        platform::Utf16ToUtf8(platform::DecodeCodePage(path, platform::AnsiCodePage()));
    if (auto found = Resolve(folder, utf8)) return *found;
  }
  const fs::path guess = !path.empty() && path.front() == '/' ? fs::path(path) : fs::path(folder) / path;
  return guess.lexically_normal().string();
}

// --- Headless menu -------------------------------------------------------------------------------

struct MenuNode {
  std::string name, caption, hint;
  int shortCut = 0, helpContext = 0, groupIndex = 0;
  uint32_t flags = mfEnabled | mfVisible;
  MenuItem::ClickHandler onClick;
  MenuNode* parent = nullptr;
  std::vector<std::shared_ptr<MenuNode>> children;
};

class HeadlessMenu {
public:
  HeadlessMenu() : root(std::make_shared<MenuNode>()) {
    root->name = "MainMenu";
    const char* const items[][2] = {{"FileMenu", "&File"},       {"EditMenu", "&Edit"},   {"SearchMenu", "&Search"},
                                    {"ViewsMenu", "&View"},      {"ProjectMenu", "&Project"}, {"RunMenu", "&Run"},
                                    {"ComponentMenu", "&Component"}, {"ToolsMenu", "&Tools"}, {"HelpMenu", "&Help"}};
    for (const auto& item : items) {
      auto node = std::make_shared<MenuNode>();
      node->name = item[0];
      node->caption = item[1];
      node->parent = root.get();
      root->children.push_back(std::move(node));
    }
    // The Tools menu's own items; experts insert theirs after the repository's.
    MenuNode* tools = root->children[7].get();
    const char* const toolItems[][2] = {{"ToolsOptionsItem", "&Environment Options..."},
                                        {"ToolsGalleryItem", "&Repository..."},
                                        {"ToolsToolsItem", "&Configure Tools..."}};
    for (const auto& item : toolItems) {
      auto node = std::make_shared<MenuNode>();
      node->name = item[0];
      node->caption = item[1];
      node->parent = tools;
      tools->children.push_back(std::move(node));
    }
  }
  std::shared_ptr<MenuNode> root;
  std::atomic<int> liveHandles{0};
};

namespace {

class HeadlessMenuItem : public MenuItem {
public:
  HeadlessMenuItem(std::shared_ptr<HeadlessMenu> menu, std::shared_ptr<MenuNode> node)
      : menu_(std::move(menu)), node_(std::move(node)) {
    ++menu_->liveHandles;
  }
  ~HeadlessMenuItem() override { --menu_->liveHandles; }

  std::string Name() const override { return node_->name; }
  std::string Caption() const override { return node_->caption; }
  int Index() const override {
    if (!node_->parent) return -1;
    const auto& siblings = node_->parent->children;
    for (size_t i = 0; i < siblings.size(); ++i)
      if (siblings[i] == node_) return static_cast<int>(i);
    return -1;
  }
  int ItemCount() const override { return static_cast<int>(node_->children.size()); }
  std::unique_ptr<MenuItem> Item(int index) override {
    if (index < 0 || index >= ItemCount()) return nullptr;
    return Handle(node_->children[static_cast<size_t>(index)]);
  }
  std::unique_ptr<MenuItem> FindItem(std::string_view name) override {
    if (auto found = Find(node_, name)) return Handle(found);
    return nullptr;
  }
  std::unique_ptr<MenuItem> Parent() override {
    if (!node_->parent) return nullptr;
    MenuNode* parent = node_->parent;
    if (parent == menu_->root.get()) return Handle(menu_->root);
    auto& siblings = parent->parent ? parent->parent->children : menu_->root->children;
    for (auto& s : siblings)
      if (s.get() == parent) return Handle(s);
    return nullptr;
  }
  std::unique_ptr<MenuItem> InsertItem(int index, const std::string& caption, const std::string& name,
                                       const std::string& hint, int shortCut, int helpContext, int groupIndex,
                                       uint32_t flags, ClickHandler onClick) override {
    auto node = std::make_shared<MenuNode>();
    node->name = name;
    node->caption = caption;
    node->hint = hint;
    node->shortCut = shortCut;
    node->helpContext = helpContext;
    node->groupIndex = groupIndex;
    node->flags = flags;
    node->onClick = std::move(onClick);
    node->parent = node_.get();
    auto& children = node_->children;
    const size_t at = index < 0 || static_cast<size_t>(index) > children.size() ? children.size() : static_cast<size_t>(index);
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(at), node);
    return Handle(node);
  }
  bool DestroyMenuItem() override {
    MenuNode* parent = node_->parent;
    if (!parent) return false;
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), node_), siblings.end());
    node_->parent = nullptr;
    return true;
  }
  uint32_t Flags() const override { return node_->flags; }
  void SetFlags(uint32_t mask, uint32_t flags) override { node_->flags = (node_->flags & ~mask) | (flags & mask); }
  bool Click() override {
    if (!node_->onClick || !(node_->flags & mfEnabled)) return false;
    node_->onClick(*this);
    return true;
  }

private:
  std::unique_ptr<MenuItem> Handle(std::shared_ptr<MenuNode> node) const {
    return std::make_unique<HeadlessMenuItem>(menu_, std::move(node));
  }
  static std::shared_ptr<MenuNode> Find(const std::shared_ptr<MenuNode>& from, std::string_view name) {
    // Breadth-first without recursion: menus may be deep in principle.
    std::vector<std::shared_ptr<MenuNode>> pending(from->children.begin(), from->children.end());
    for (size_t i = 0; i < pending.size(); ++i) {
      if (SameText(pending[i]->name, name)) return pending[i];
      pending.insert(pending.end(), pending[i]->children.begin(), pending[i]->children.end());
    }
    return nullptr;
  }

  std::shared_ptr<HeadlessMenu> menu_;
  std::shared_ptr<MenuNode> node_;
};

}  // namespace

// --- HeadlessHost --------------------------------------------------------------------------------

HeadlessHost::HeadlessHost() : menu_(std::make_shared<HeadlessMenu>()) {}

HeadlessHost::HeadlessHost(const std::string& projectFile) : HeadlessHost() {
  const fs::path project = fs::absolute(projectFile).lexically_normal();
  projectFile_ = project.string();
  units_ = ParseProjectUses(platform::ReadFile(projectFile_), projectFile_);
  const std::string folder = project.parent_path().string();
  for (const ProjectUnit& unit : units_) {
    if (unit.formName.empty()) continue;
    const std::string written = unit.path.empty() ? unit.name + ".pas" : unit.path;
    forms_.push_back({ResolveProjectPath(folder, written), unit.formName});
  }
}

HeadlessHost::~HeadlessHost() = default;

std::string HeadlessHost::HostFormFile(int index) {
  if (index < 0 || index >= HostFormCount()) throw std::out_of_range("form index " + std::to_string(index));
  return forms_[static_cast<size_t>(index)].unitPath;
}

std::string HeadlessHost::HostFormName(int index) {
  if (index < 0 || index >= HostFormCount()) throw std::out_of_range("form index " + std::to_string(index));
  return forms_[static_cast<size_t>(index)].name;
}

std::unique_ptr<MenuItem> HeadlessHost::HostMainMenu() { return std::make_unique<HeadlessMenuItem>(menu_, menu_->root); }

int HeadlessHost::LiveMenuHandles() const { return menu_->liveHandles.load(); }

}  // namespace vorlect::toolservices
