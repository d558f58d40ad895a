// Every corpus form loads into a component tree and writes back the tree it was read from.
#include "FrameworkTestUtil.h"

#include "host/framework/Controls.h"
#include "host/framework/Streaming.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

namespace vorlect::host {
namespace {

TEST(FrameworkCorpus, LoadSaveKeepsEveryForm) {
  auto files = test::CorpusForms();
  if (files.empty()) GTEST_SKIP() << "corpus not found at " << VORLECT_CORPUS_DIR;
  int same = 0, unreadable = 0;
  std::vector<std::string> differing;
  for (const auto& path : files) {
    std::string data = platform::ReadFile(path.string());
    formfile::Object tree;
    try {
      tree = formfile::ReadForm(data, path.string());
    } catch (const formfile::FormFileError&) {
      ++unreadable;  // the codec's concern; the framework test needs a tree
      continue;
    }
    std::string diff;
    try {
      ReadOptions options;
      options.fileName = path.filename().string();
      auto root = ReadComponentTree(tree, options);
      diff = test::ExactDiff(tree, WriteComponentTree(*root));
    } catch (const std::exception& e) {
      diff = std::string("exception: ") + e.what();
    }
    if (diff.empty()) ++same;
    else differing.push_back(path.filename().string() + ": " + diff);
  }
  std::cout << "[ corpus  ] " << files.size() << " forms, " << same << " written back unchanged, "
            << differing.size() << " differ, " << unreadable << " not readable by the codec\n";
  for (const auto& d : differing) ADD_FAILURE() << d;
}

}  // namespace
}  // namespace vorlect::host
