// vldcc: compiles a generated library source into a resource-only DLL.
#include "rc/Tools.h"

#include <iostream>

int main(int argc, char** argv) {
  return vorlect::rc::RunLibraryCompiler(std::vector<std::string>(argv + 1, argv + argc), std::cout);
}
