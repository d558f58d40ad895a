// Form-file conversion throughput against the Free Pascal converter, on the same files in one run.
//
// Our converter is a library that the project manager calls in-process for every form of a
// project, so it is measured in-process (bytes in memory -> converted bytes). The Free Pascal
// converter exists only as a program; it is measured per process, and its start-up (measured on
// the smallest form) is subtracted so that only its conversion work counts. Then whole-process
// loops over the corpus (one process per form, each writing a new file), as scripts and make
// rules run them: their time per file and their ratio. The machine's file system weighs on the
// loops (see TimeLoop): TMPDIR=/dev/shm runs them in memory.
//
// Usage: bench_convert CORPUS_DIR DFMCONV_EXE VORLECT_EXE [rounds]
#include "host/formfile/FormFile.h"
#include "platform/Files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using vorlect::formfile::ReadBinary;
using vorlect::formfile::ReadText;
using vorlect::formfile::TextToBinary;
using vorlect::formfile::WriteBinary;
using vorlect::formfile::WriteText;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

bool Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Seconds per round for running `command(file)` over every file, as separate processes.
template <class Command>
double TimeProcesses(const std::vector<std::string>& files, int rounds, Command command) {
  auto t0 = Clock::now();
  for (int r = 0; r < rounds; ++r)
    for (const auto& f : files) command(f);
  return Seconds(t0, Clock::now()) / rounds;
}

// A loop as a script or a make rule runs it: one process per file, each writing its own new
// output file into a new folder under `outFolder`. The median round, in seconds.
//
// Each round gets a folder of its own, nothing is deleted or replaced until the end: on a file
// system without a journal (as on the machine these figures come from), ext4 passes over every
// inode freed in the last seconds when it allocates one, so emptying the folder before each
// round made every file the next round created cost up to a millisecond and more, whichever
// converter made it: a measure of what ran before rather than of either converter.
int loopFolders = 0;  // one count for every instantiation below

template <class Command>
double TimeLoop(const std::vector<std::string>& files, int rounds, const fs::path& outFolder, Command command) {
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    const fs::path folder = outFolder / std::to_string(++loopFolders);
    fs::create_directories(folder);
    auto t0 = Clock::now();
    for (const auto& f : files) command(f, (folder / fs::path(f).filename()).string());
    times.push_back(Seconds(t0, Clock::now()));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR DFMCONV_EXE VORLECT_EXE [rounds]\n", argv[0]);
    return 2;
  }
  const fs::path corpus = argv[1];
  const std::string dfmconv = argv[2], vorlect = argv[3];
  const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
  if (!fs::is_directory(corpus / "dfm" / "binary")) {
    std::printf("bench_convert: corpus not found at %s; skipped\n", corpus.c_str());
    return 0;
  }

  const fs::path work = fs::temp_directory_path() / ("vorlect-bench-" + std::to_string(getpid()));
  fs::create_directories(work);
  std::vector<std::string> binFiles, txtFiles;
  std::vector<std::string> binaries, texts;
  for (const auto& e : fs::directory_iterator(corpus / "dfm" / "binary")) binFiles.push_back(e.path().string());
  std::sort(binFiles.begin(), binFiles.end());
  std::size_t binBytes = 0, txtBytes = 0;
  for (const auto& f : binFiles) {
    binaries.push_back(vorlect::platform::ReadFile(f));
    texts.push_back(WriteText(ReadBinary(binaries.back(), f)));
    binBytes += binaries.back().size();
    txtBytes += texts.back().size();
    const std::string t = (work / (fs::path(f).stem().string() + ".txt")).string();
    vorlect::platform::WriteFileAtomic(t, texts.back());
    txtFiles.push_back(t);
  }

  // In-process: our library.
  std::size_t sink = 0;
  auto t0 = Clock::now();
  for (int r = 0; r < rounds; ++r)
    for (std::size_t i = 0; i < binaries.size(); ++i) sink += WriteText(ReadBinary(binaries[i], binFiles[i])).size();
  const double oursToText = Seconds(t0, Clock::now()) / rounds;
  t0 = Clock::now();
  for (int r = 0; r < rounds; ++r)
    for (std::size_t i = 0; i < texts.size(); ++i) sink += WriteBinary(ReadText(texts[i], txtFiles[i]), true).size();
  const double oursToBinary = Seconds(t0, Clock::now()) / rounds;
  // What `vorlect convert` does with a text form: straight to binary, without the tree.
  t0 = Clock::now();
  for (int r = 0; r < rounds; ++r)
    for (std::size_t i = 0; i < texts.size(); ++i) sink += TextToBinary(texts[i], txtFiles[i], true).size();
  const double oursStreamed = Seconds(t0, Clock::now()) / rounds;

  // The Free Pascal converter, per process, with its start-up subtracted.
  const std::string out = (work / "out").string();
  const std::string tiny = (work / "tiny.txt").string(), tinyBin = (work / "tiny.dfm").string();
  vorlect::platform::WriteFileAtomic(tiny, "object A: TA\r\nend\r\n");
  vorlect::platform::WriteFileAtomic(tinyBin, WriteBinary(ReadText("object A: TA\r\nend\r\n"), true));
  if (!Spawn({dfmconv, "totext", tinyBin, out})) {
    std::fprintf(stderr, "bench_convert: cannot run %s\n", dfmconv.c_str());
    return 1;
  }
  const std::vector<std::string> tinyList(binFiles.size(), tinyBin), tinyTextList(binFiles.size(), tiny);
  const double fpcStartToText = TimeProcesses(tinyList, rounds, [&](const std::string& f) { Spawn({dfmconv, "totext", f, out}); });
  const double fpcStartToBin = TimeProcesses(tinyTextList, rounds, [&](const std::string& f) { Spawn({dfmconv, "tores", f, out}); });
  const double fpcToText = TimeProcesses(binFiles, rounds, [&](const std::string& f) { Spawn({dfmconv, "totext", f, out}); });
  const double fpcToBin = TimeProcesses(txtFiles, rounds, [&](const std::string& f) { Spawn({dfmconv, "tores", f, out}); });

  // Whole-process loops over the corpus's binary forms and over its text forms, alternating the
  // two converters round by round so that a busy machine weighs on both alike.
  std::vector<std::string> corpusTexts;
  for (const auto& e : fs::directory_iterator(corpus / "dfm" / "text"))
    if (e.path().extension() == ".dfm") corpusTexts.push_back(e.path().string());
  std::sort(corpusTexts.begin(), corpusTexts.end());
  const fs::path loopOut = work / "loop";
  std::vector<double> fpcLoopBin, cliLoopBin, fpcLoopTxt, cliLoopTxt;
  for (int r = 0; r < std::max(rounds, 3); ++r) {
    fpcLoopBin.push_back(TimeLoop(binFiles, 1, loopOut, [&](const std::string& f, const std::string& o) { Spawn({dfmconv, "totext", f, o}); }));
    cliLoopBin.push_back(TimeLoop(binFiles, 1, loopOut, [&](const std::string& f, const std::string& o) { Spawn({vorlect, "convert", f, o, "--to", "text"}); }));
    fpcLoopTxt.push_back(TimeLoop(corpusTexts, 1, loopOut, [&](const std::string& f, const std::string& o) { Spawn({dfmconv, "tores", f, o}); }));
    cliLoopTxt.push_back(TimeLoop(corpusTexts, 1, loopOut, [&](const std::string& f, const std::string& o) { Spawn({vorlect, "convert", f, o, "--to", "binary"}); }));
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };

  auto mbps = [](std::size_t bytes, double s) { return bytes / 1048576.0 / std::max(s, 1e-9); };
  const double fpcWorkToText = std::max(fpcToText - fpcStartToText, 1e-6), fpcWorkToBin = std::max(fpcToBin - fpcStartToBin, 1e-6);
  std::printf("files: %zu binary forms (%zu bytes) and their text (%zu bytes), %d rounds\n", binFiles.size(), binBytes,
              txtBytes, rounds);
  std::printf("binary -> text: vorlect %.1f MB/s, fpc-dfmconv %.1f MB/s (start-up subtracted), ratio %.2fx\n",
              mbps(binBytes, oursToText), mbps(binBytes, fpcWorkToText), fpcWorkToText / oursToText);
  std::printf("text -> binary: vorlect %.1f MB/s (%.1f MB/s without the tree), fpc-dfmconv %.1f MB/s (start-up "
              "subtracted), ratio %.2fx\n",
              mbps(txtBytes, oursToBinary), mbps(txtBytes, oursStreamed), mbps(txtBytes, fpcWorkToBin),
              fpcWorkToBin / oursToBinary);
  std::printf("per process, end to end: binary -> text vorlect %.2f ms, fpc %.2f ms; text -> binary vorlect %.2f ms, "
              "fpc %.2f ms per file\n",
              median(cliLoopBin) * 1000 / binFiles.size(), median(fpcLoopBin) * 1000 / binFiles.size(),
              median(cliLoopTxt) * 1000 / corpusTexts.size(), median(fpcLoopTxt) * 1000 / corpusTexts.size());
  std::printf("whole-process loop over %zu binary forms (-> text): vorlect %.3f s, fpc-dfmconv %.3f s, ratio %.2fx "
              "(median of %d rounds)\n",
              binFiles.size(), median(cliLoopBin), median(fpcLoopBin), median(fpcLoopBin) / median(cliLoopBin),
              static_cast<int>(cliLoopBin.size()));
  std::printf("whole-process loop over %zu text forms (-> binary): vorlect %.3f s, fpc-dfmconv %.3f s, ratio %.2fx\n",
              corpusTexts.size(), median(cliLoopTxt), median(fpcLoopTxt), median(fpcLoopTxt) / median(cliLoopTxt));
  fs::remove_all(work);
  return sink == 0 ? 1 : 0;
}
