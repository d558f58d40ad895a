#include "FrameworkTestUtil.h"

#include <algorithm>

namespace vorlect::host::test {

using formfile::Object;
using formfile::Property;
using formfile::Value;

namespace {

std::string ValueDiff(const Value& a, const Value& b, const std::string& path);

std::string PropsDiff(const std::vector<Property>& a, const std::vector<Property>& b,
                      const std::string& path) {
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    if (i >= a.size()) return path + ": extra property " + b[i].name;
    if (i >= b.size()) return path + ": missing property " + a[i].name;
    if (a[i].name != b[i].name)
      return path + ": property #" + std::to_string(i) + " is " + b[i].name + ", expected " + a[i].name;
    std::string d = ValueDiff(a[i].value, b[i].value, path + "." + a[i].name);
    if (!d.empty()) return d;
  }
  return {};
}

std::string ValueDiff(const Value& a, const Value& b, const std::string& path) {
  if (a.type != b.type)
    return path + ": value type " + std::to_string(int(b.type)) + ", expected " + std::to_string(int(a.type));
  if (a.integer != b.integer || a.floatBytes != b.floatBytes || a.bytes != b.bytes || a.wide != b.wide ||
      a.set != b.set)
    return path + ": value differs";
  if (a.list.size() != b.list.size()) return path + ": list length differs";
  for (std::size_t i = 0; i < a.list.size(); ++i) {
    std::string d = ValueDiff(a.list[i], b.list[i], path + "[" + std::to_string(i) + "]");
    if (!d.empty()) return d;
  }
  if (a.items.size() != b.items.size()) return path + ": collection size differs";
  for (std::size_t i = 0; i < a.items.size(); ++i) {
    std::string p = path + "<" + std::to_string(i) + ">";
    if (a.items[i].hasIndex != b.items[i].hasIndex || a.items[i].index != b.items[i].index)
      return p + ": item index differs";
    std::string d = PropsDiff(a.items[i].properties, b.items[i].properties, p);
    if (!d.empty()) return d;
  }
  return {};
}

std::string ObjectDiff(const Object& a, const Object& b, const std::string& parent) {
  std::string path = parent.empty() ? a.name : parent + "." + (a.name.empty() ? a.className : a.name);
  if (a.className != b.className) return path + ": class " + b.className + ", expected " + a.className;
  if (a.name != b.name) return path + ": name " + b.name;
  if (a.flags != b.flags || a.position != b.position) return path + ": flags differ";
  std::string d = PropsDiff(a.properties, b.properties, path);
  if (!d.empty()) return d;
  for (std::size_t i = 0; i < std::max(a.children.size(), b.children.size()); ++i) {
    if (i >= a.children.size()) return path + ": extra child " + b.children[i].name;
    if (i >= b.children.size()) return path + ": missing child " + a.children[i].name;
    d = ObjectDiff(a.children[i], b.children[i], path);
    if (!d.empty()) return d;
  }
  return {};
}

}  // namespace

std::string ExactDiff(const Object& a, const Object& b) { return ObjectDiff(a, b, ""); }

Object Tree(const std::string& text) { return formfile::ReadText(text, "test.dfm"); }

std::vector<std::filesystem::path> CorpusForms() {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  fs::path root = VORLECT_CORPUS_DIR;
  for (const char* sub : {"dfm/text", "dfm/binary", "dfm/pairs", "projects"}) {
    fs::path dir = root / sub;
    if (!fs::is_directory(dir)) continue;
    for (auto& e : fs::recursive_directory_iterator(dir)) {
      std::string ext = e.path().extension().string();
      std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
      if (e.is_regular_file() && ext == ".dfm") files.push_back(e.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace vorlect::host::test
