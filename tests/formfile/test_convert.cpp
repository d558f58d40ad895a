// Converting files on disk: targets, temporary files, and failures that leave nothing behind.
#include "host/formfile/ConvertFormFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vorlect::formfile {
namespace {

class ConvertTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vorlect-convert-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& data) { std::ofstream(Path(name), std::ios::binary) << data; }
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir_;
};

const char kText[] = "object Form1: TForm1\r\n  Caption = 'Hi'\r\nend\r\n";

TEST_F(ConvertTest, TextAndBinaryBothWays) {
  Write("a.dfm", kText);
  std::string bin = Path("a.bin");
  ASSERT_TRUE(ConvertFormFile(Path("a.dfm"), bin, ConvertDirection::ToBinary));
  EXPECT_EQ(Read(bin).substr(0, 10), std::string("\xff\x0a\x00TFORM1\x00", 10));

  std::string text = Path("b.dfm");
  ASSERT_TRUE(ConvertFormFile(bin, text, ConvertDirection::ToText));
  EXPECT_EQ(Read(text), kText);

  // Header choices for a binary source: kept, dropped, added back.
  ConvertOptions without;
  without.header = ConvertOptions::Header::Without;
  std::string raw = Path("raw.bin");
  ASSERT_TRUE(ConvertFormFile(bin, raw, ConvertDirection::ToBinary, without));
  EXPECT_EQ(Read(raw).substr(0, 4), "TPF0");
  std::string kept = Path("kept.bin");
  ASSERT_TRUE(ConvertFormFile(raw, kept, ConvertDirection::ToBinary));
  EXPECT_EQ(Read(kept), Read(raw));
  ConvertOptions with;
  with.header = ConvertOptions::Header::With;
  ASSERT_TRUE(ConvertFormFile(raw, kept, ConvertDirection::ToBinary, with));
  EXPECT_EQ(Read(kept), Read(bin));

  // Options reach the text writer.
  ConvertOptions lf;
  lf.text.lineEnd = LineEnd::LF;
  ASSERT_TRUE(ConvertFormFile(bin, text, ConvertDirection::ToText, lf));
  EXPECT_EQ(Read(text), "object Form1: TForm1\n  Caption = 'Hi'\nend\n");
}

TEST_F(ConvertTest, TextToTextCopiesTheBytesAsTheyAre) {
  std::string odd = "\xEF\xBB\xBF  object Form1: TForm1\n     Caption='Hi'  \nEND\n\n";
  Write("odd.dfm", odd);
  std::string target = Path("copy.dfm");
  ASSERT_TRUE(ConvertFormFile(Path("odd.dfm"), target, ConvertDirection::ToText));
  EXPECT_EQ(Read(target), odd);
}

TEST_F(ConvertTest, EmptyTargetBecomesATemporaryFile) {
  Write("a.dfm", kText);
  std::string target;
  ASSERT_TRUE(ConvertFormFile(Path("a.dfm"), target, ConvertDirection::ToBinary));
  EXPECT_EQ(fs::path(target).filename().string().substr(0, 3), "TVL");
  EXPECT_EQ(Read(target).substr(0, 1), "\xff");
  fs::remove(target);
}

TEST_F(ConvertTest, FailuresLeaveTheTargetAsItWas) {
  Write("target.dfm", "previous");
  std::string target = Path("target.dfm");

  EXPECT_FALSE(ConvertFormFile(Path("missing.dfm"), target, ConvertDirection::ToText));
  std::string fresh = Path("fresh.dfm");
  EXPECT_FALSE(ConvertFormFile(Path("missing.dfm"), fresh, ConvertDirection::ToBinary));
  EXPECT_FALSE(fs::exists(fresh));

  Write("broken.dfm", "object Form1: TForm1\r\n  Caption = 'Hi\r\nend\r\n");
  try {
    ConvertFormFile(Path("broken.dfm"), target, ConvertDirection::ToBinary);
    ADD_FAILURE() << "no error";
  } catch (const FormFileError& e) {
    EXPECT_EQ(e.file(), Path("broken.dfm"));
    EXPECT_EQ(e.where(), "line 2");
  }
  EXPECT_THROW(ConvertFormFile(Path("broken.dfm"), target, ConvertDirection::ToText), FormFileError);

  Write("damaged.bin", std::string("TPF0\x06TForm1\x05" "Form1\x00", 18));
  EXPECT_FALSE(ConvertFormFile(Path("damaged.bin"), target, ConvertDirection::ToText));
  Write("zeros.dfm", std::string(414, '\0'));
  EXPECT_FALSE(ConvertFormFile(Path("zeros.dfm"), target, ConvertDirection::ToBinary));
  EXPECT_EQ(Read(target), "previous");

  // A temporary target stays empty.
  std::string temp;
  EXPECT_FALSE(ConvertFormFile(Path("damaged.bin"), temp, ConvertDirection::ToText));
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(fs::file_size(temp), 0u);
  fs::remove(temp);
}

}  // namespace
}  // namespace vorlect::formfile
