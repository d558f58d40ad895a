// vlrc: compiles a resource script of string tables into a `.res` file.
#include "rc/Tools.h"

#include <iostream>

int main(int argc, char** argv) {
  return vorlect::rc::RunResourceCompiler(std::vector<std::string>(argv + 1, argv + argc), std::cout);
}
