#include "runtime/VLTranslatable.h"

#include "host/framework/Classes.h"
#include "host/framework/TypInfo.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace vorlect::runtime {

namespace {

struct Pair {
  std::string className, path;
};

// The registry is written at start-up (or when a project is opened) and read on every capture
// and switch; the lock only keeps a late registration from a worker thread safe.
struct Registry {
  std::mutex lock;
  std::vector<Pair> translate, never;
  std::atomic<unsigned> generation{1};
};

Registry& TheRegistry() {
  static Registry r;
  return r;
}

// "  Columns . Title " -> "Columns.Title"; empty for a path with an empty part.
std::string NormalPath(std::string_view path) {
  std::string out;
  std::string part;
  auto flush = [&]() -> bool {
    while (!part.empty() && part.back() == ' ') part.pop_back();
    if (part.empty()) return false;
    if (!out.empty()) out += '.';
    out += part;
    part.clear();
    return true;
  };
  for (char c : path) {
    if (c == '.') {
      if (!flush()) return {};
    } else if (c != ' ' || !part.empty()) {
      part += c;
    }
  }
  if (!flush()) return {};
  return out;
}

void Add(std::vector<Pair>& list, std::string_view className, std::string_view propertyPath) {
  std::string path = NormalPath(propertyPath);
  if (className.empty() || path.empty()) return;
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  const bool known = std::any_of(list.begin(), list.end(), [&](const Pair& p) {
    return host::SameText(p.className, className) && host::SameText(p.path, path);
  });
  if (known) return;
  list.push_back({std::string(className), std::move(path)});
  ++r.generation;
}

bool ClassMatches(const host::ClassInfo& cls, const std::string& name) {
  if (name == "*") return true;
  for (const host::ClassInfo* c = &cls; c; c = c->Parent())
    if (host::SameText(c->Name(), name)) return true;
  return false;
}

}  // namespace

void RegisterTranslatableProperty(std::string_view className, std::string_view propertyPath) {
  Add(TheRegistry().translate, className, propertyPath);
}

void RegisterUntranslatedProperty(std::string_view className, std::string_view propertyPath) {
  Add(TheRegistry().never, className, propertyPath);
}

void ClearRegisteredProperties() {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  if (r.translate.empty() && r.never.empty()) return;
  r.translate.clear();
  r.never.clear();
  ++r.generation;
}

TranslatableRules RegisteredRulesFor(const host::ClassInfo& cls) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  TranslatableRules rules;
  for (const Pair& p : r.translate)
    if (ClassMatches(cls, p.className) &&
        std::none_of(rules.translate.begin(), rules.translate.end(),
                     [&](const std::string& q) { return host::SameText(q, p.path); }))
      rules.translate.push_back(p.path);
  for (const Pair& p : r.never)
    if (ClassMatches(cls, p.className)) rules.never.push_back(p.path);
  return rules;
}

unsigned RegisteredPropertiesGeneration() { return TheRegistry().generation.load(); }

bool PathCovers(std::string_view never, std::string_view path) {
  if (path.size() < never.size()) return false;
  if (!host::SameText(path.substr(0, never.size()), never)) return false;
  return path.size() == never.size() || path[never.size()] == '.';
}

}  // namespace vorlect::runtime
