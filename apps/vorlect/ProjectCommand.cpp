// vorlect project list|convert PROJECT.dpr: the forms of a whole project.
#include "CliSupport.h"
#include "Commands.h"

#include "host/formfile/FormFile.h"
#include "host/toolservices/ToolServices.h"
#include "platform/Files.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace vorlect::cli {

namespace {

namespace fs = std::filesystem;

// The form file beside a unit: the unit's name with the extension ".dfm", found without regard
// to case as on the original platform.
std::string FormFileOfUnit(const std::string& unitPath) {
  const fs::path unit(unitPath);
  const std::string written = (unit.parent_path().filename() / unit.stem()).string() + ".dfm";
  return toolservices::ResolveProjectPath(unit.parent_path().parent_path().string(), written);
}

const char* FormatName(formfile::FileFormat f) {
  switch (f) {
    case formfile::FileFormat::Text: return "text";
    case formfile::FileFormat::Binary: return "binary";
    case formfile::FileFormat::BinaryWithHeader: return "binary";
    default: return "unknown";
  }
}

std::size_t CountObjects(const formfile::Object& o) {
  std::size_t n = 1;
  for (const auto& c : o.children) n += CountObjects(c);
  return n;
}

std::string Relative(const std::string& path, const std::string& base) {
  std::error_code ec;
  fs::path rel = fs::relative(path, base, ec);
  return ec || rel.empty() ? path : rel.string();
}

int RunList(const std::string& project) {
  toolservices::HeadlessHost host(project);
  const std::string base = fs::path(project).parent_path().string();
  int failures = 0;
  std::printf("%-20s %-28s %-8s %-20s %s\n", "FORM", "FORM FILE", "FORMAT", "CLASS", "OBJECTS");
  for (int i = 0; i < host.HostFormCount(); ++i) {
    const std::string dfm = FormFileOfUnit(host.HostFormFile(i));
    try {
      formfile::FileFormat format = formfile::FileFormat::Unknown;
      const std::string data = platform::ReadFile(dfm);
      const formfile::Object root = formfile::ReadForm(data, dfm, &format);
      std::printf("%-20s %-28s %-8s %-20s %zu\n", host.HostFormName(i).c_str(),
                  Relative(dfm, base.empty() ? "." : base).c_str(), FormatName(format),
                  root.className.c_str(), CountObjects(root));
    } catch (const std::exception& e) {
      ++failures;
      std::printf("%-20s %-28s %s\n", host.HostFormName(i).c_str(),
                  Relative(dfm, base.empty() ? "." : base).c_str(), "unreadable");
      std::cerr << "vorlect: " << e.what() << "\n";
    }
  }
  std::printf("%d form(s)\n", host.HostFormCount());
  return failures == 0 ? 0 : 1;
}

// Converts every form to the other format in `outDir` and back again, and says whether the round
// trip gave the original bytes.
int RunConvert(const std::string& project, const std::string& outDir) {
  toolservices::HeadlessHost host(project);
  fs::create_directories(outDir);
  int failures = 0;
  for (int i = 0; i < host.HostFormCount(); ++i) {
    const std::string dfm = FormFileOfUnit(host.HostFormFile(i));
    const std::string stem = fs::path(dfm).stem().string();
    try {
      const std::string data = platform::ReadFile(dfm);
      formfile::FileFormat format = formfile::FileFormat::Unknown;
      const formfile::Object root = formfile::ReadForm(data, dfm, &format);
      std::string other, back;
      std::string otherPath;
      if (format == formfile::FileFormat::Text) {
        formfile::TextInfo info;
        formfile::ReadText(data, dfm, &info);
        other = formfile::WriteBinary(root, true);
        otherPath = (fs::path(outDir) / (stem + ".dfm")).string();
        formfile::TextOptions options;
        options.lineEnd = info.lineEnd;
        options.byteOrderMark = info.byteOrderMark;
        back = formfile::WriteText(formfile::ReadBinary(other, otherPath), options);
      } else {
        other = formfile::WriteText(root);
        otherPath = (fs::path(outDir) / (stem + ".txt")).string();
        back = formfile::WriteBinary(formfile::ReadText(other, otherPath),
                                     format == formfile::FileFormat::BinaryWithHeader);
      }
      platform::WriteFileAtomic(otherPath, other);
      const bool same = back == data;
      if (!same) ++failures;
      std::printf("%-28s %-6s -> %-6s %-32s and back: %s\n", fs::path(dfm).filename().c_str(),
                  FormatName(format), format == formfile::FileFormat::Text ? "binary" : "text",
                  otherPath.c_str(), same ? "identical" : "DIFFERENT");
    } catch (const std::exception& e) {
      ++failures;
      std::cerr << "vorlect: " << e.what() << "\n";
    }
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

void AddProjectCommands(CLI::App& app, Action& action) {
  CLI::App* project = app.add_subcommand("project", "Work on all forms of a project (.dpr)");
  project->require_subcommand(1);

  auto listProject = std::make_shared<std::string>();
  CLI::App* list = project->add_subcommand("list", "List the project's forms: form file, format, class");
  list->add_option("PROJECT", *listProject, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
  list->callback([listProject, &action] { action = [listProject] { return RunList(*listProject); }; });

  struct ConvertArgs {
    std::string project, out;
  };
  auto conv = std::make_shared<ConvertArgs>();
  CLI::App* convert = project->add_subcommand(
      "convert", "Convert every form to the other format into a folder, and check the way back");
  convert->add_option("PROJECT", conv->project, "Project file (.dpr)")->required()->check(CLI::ExistingFile);
  convert->add_option("--out", conv->out, "Folder for the converted forms")->required();
  convert->callback([conv, &action] { action = [conv] { return RunConvert(conv->project, conv->out); }; });

  AddProjectExchangeCommands(*project, action);
  AddProjectDllCommands(*project, action);
}

}  // namespace vorlect::cli
