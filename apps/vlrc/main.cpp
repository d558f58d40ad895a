// vlrc: compiles a resource script of string tables into a `.res` file; errors go to standard error.
#include "platform/Files.h"
#include "rc/Tools.h"

#include <iostream>

int main(int argc, char** argv) {
  vorlect::platform::InstallSignalCleanup();  // a stopped run leaves no half-written output
  return vorlect::rc::RunResourceCompiler(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
