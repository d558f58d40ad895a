#include "vle/project/ProjectForms.h"

#include "vle/settings/TranslatableSettings.h"

#include <cctype>
#include <filesystem>

namespace vorlect::vle {

namespace fs = std::filesystem;

bool SameFormName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

namespace {
std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}
}  // namespace

std::string ResolveSiblingFile(const std::string& path, std::string_view ext) {
  fs::path p(path);
  p.replace_extension(std::string(ext));
  std::error_code ec;
  if (fs::exists(p, ec)) return p.string();
  const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
  const std::string wanted = p.filename().string();
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (SameFormName(name, wanted)) return (p.parent_path() / name).string();
  }
  return p.string();
}

std::string TSiblingFiles::Resolve(const std::string& path, std::string_view ext) {
  fs::path p(path);
  p.replace_extension(std::string(ext));
  std::error_code ec;
  if (fs::exists(p, ec)) return p.string();
  const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
  auto [listing, fresh] = folders_.try_emplace(folder.string());
  if (fresh) {
    // In directory order, as ResolveSiblingFile takes the first match.
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      listing->second.try_emplace(Lower(name), name);
    }
  }
  const auto hit = listing->second.find(Lower(p.filename().string()));
  return hit == listing->second.end() ? p.string() : (p.parent_path() / hit->second).string();
}

std::vector<std::string> SplitFormNames(std::string_view list) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t comma = list.find(',', pos);
    if (comma == std::string_view::npos) comma = list.size();
    std::string_view part = list.substr(pos, comma - pos);
    while (!part.empty() && std::isspace(static_cast<unsigned char>(part.front()))) part.remove_prefix(1);
    while (!part.empty() && std::isspace(static_cast<unsigned char>(part.back()))) part.remove_suffix(1);
    if (!part.empty()) names.emplace_back(part);
    pos = comma + 1;
  }
  return names;
}

bool FormMatches(const TEntry& entry, std::string_view name) {
  if (name.empty()) return false;
  if (SameFormName(entry.FormName, name) || SameFormName(entry.FormClassName, name)) return true;
  return SameFormName(fs::path(entry.FormFile).stem().string(), name);
}

std::vector<std::string> SelectForms(TFPrjList& catalogue, const std::vector<std::string>& names) {
  std::vector<bool> used(names.size(), false);
  for (int row = 0; row < catalogue.Count(); ++row) {
    bool selected = names.empty();
    for (size_t i = 0; i < names.size(); ++i)
      if (FormMatches(catalogue.Entry(row), names[i])) {
        selected = true;
        used[i] = true;
      }
    catalogue.SetSelected(row, selected);
  }
  std::vector<std::string> unknown;
  for (size_t i = 0; i < names.size(); ++i)
    if (!used[i]) unknown.push_back(names[i]);
  return unknown;
}

TProgress LineProgress(std::FILE* out) {
  return [out, lastPercent = -1](int done, int total, const std::string& formFile) mutable {
    if (total <= 0) return;
    const int percent = static_cast<int>(static_cast<long long>(done) * 100 / total);
    // Small runs report every form; large ones every percent, so the report stays readable.
    if (total > 100 && percent == lastPercent && done != total) return;
    lastPercent = percent;
    if (formFile.empty()) std::fprintf(out, "%d/%d\n", done, total);
    else std::fprintf(out, "%d/%d %s\n", done, total, formFile.c_str());
    std::fflush(out);
  };
}

ProjectSession::ProjectSession(const std::string& projectFile, TProgress progress)
    : host_((UseProjectSettings(projectFile), std::make_unique<toolservices::HeadlessHost>(projectFile))),
      previous_(toolservices::SetHostServices(host_.get())) {
  try {
    catalogue_ = std::make_unique<TFPrjList>(false, std::move(progress), /*keepLines=*/false);
  } catch (...) {
    toolservices::SetHostServices(previous_);
    throw;
  }
}

ProjectSession::~ProjectSession() { toolservices::SetHostServices(previous_); }

}  // namespace vorlect::vle
