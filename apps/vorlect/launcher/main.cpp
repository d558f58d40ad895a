// vorlect: the command line users run. A script or a build rule converts forms one process per
// file, so `convert` is served here, in a small program linked without shared libraries that
// starts in a fraction of the time the whole tool needs. Every other command is handed, with its
// arguments, standard streams and environment unchanged, to vorlect-main in the same folder.
#include "../CommandLine.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr const char* kMainProgram = "vorlect-main";

// The folder this program was started from, with its final slash ("" when unknown).
std::string OwnFolder(const char* argv0) {
  std::string self;
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf);
  if (n > 0 && static_cast<size_t>(n) < sizeof buf) self.assign(buf, static_cast<size_t>(n));
  else if (argv0 && std::strchr(argv0, '/')) self = argv0;  // without /proc: as started
  const size_t slash = self.rfind('/');
  return slash == std::string::npos ? std::string() : self.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vorlect::cli;
  if (argc > 1 && std::string_view(argv[1]) == "convert") {
    static constexpr Command kConvert[] = {{"convert", AddConvertCommand}};
    return RunCommandLine(argc, argv, kConvert);
  }
  const std::string folder = OwnFolder(argc > 0 ? argv[0] : nullptr);
  if (folder.empty()) {
    std::fprintf(stderr, "vorlect: cannot find the folder of this program to run %s\n", kMainProgram);
    return 1;
  }
  const std::string program = folder + kMainProgram;
  ::execv(program.c_str(), argv);
  std::fprintf(stderr, "vorlect: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
  return 1;
}
