// Resource scripts and library sources: what they compile to and how bad input is reported.
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/pe/Resources.h"
#include "rc/LibrarySource.h"
#include "rc/ResourceScript.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

using namespace vorlect;
using platform::ReadStringTable;
using rc::CompileResourceScript;
using rc::ScriptOptions;

std::map<std::uint32_t, std::u16string> Strings(std::string_view script, std::uint16_t language = 0x409,
                                                ScriptOptions options = {}) {
  return ReadStringTable(CompileResourceScript(script, options), language);
}

std::string ErrorOf(std::string_view script, ScriptOptions options = {}) {
  options.fileName = "t.rc";
  try {
    CompileResourceScript(script, options);
  } catch (const rc::ScriptError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ResourceScript, ExportedLayoutWithItsEscapes) {
  const auto s = Strings(
      "STRINGTABLE\nBEGIN\n    1000, \"%TForm1\"\n    1001, \"Caption\"\n    1002, \"Hello\\nWorld\"\n"
      "    1003, \"\\042q\\047 \\134\\011x\"\n    1200, \"%TForm2\"\nEND\n");
  EXPECT_EQ(s.at(1000), u"%TForm1");
  EXPECT_EQ(s.at(1002), u"Hello\nWorld");
  EXPECT_EQ(s.at(1003), u"\"q' \\\tx");
  EXPECT_EQ(s.at(1200), u"%TForm2");
  EXPECT_EQ(s.size(), 5u);
}

TEST(ResourceScript, EscapesAsTheGnuCompilerReadsThem) {
  const std::pair<const char*, std::u16string> cases[] = {
      {R"("a""b")", u"a\"b"},
      {R"("\"")", u"\""},
      {R"("\r\t\\\f\v\b\a")", u"\r\t\\\f\v\b\b"},
      {R"("\101\1234\0")", std::u16string(u"AS4") + u'\0'},
      {R"("\x41\X4142\xg")", std::u16string(u"AA42") + u'\0' + u"g"},
      {R"("\q\e\N")", u"\\q\\e\\N"},  // unknown escapes stay as written
      {R"("\777")", u"\u00ff"},
      {R"(L"\x4142\777")", u"\u4142\u01ff"},
      {R"("a" L"b" "c")", u"abc"},
  };
  for (const auto& [literal, expected] : cases)
    EXPECT_EQ(Strings(std::string("STRINGTABLE { 1 ") + literal + " }").at(1), expected) << literal;
}

TEST(ResourceScript, CodePagesFromOptionAndPragma) {
  ScriptOptions cyrillic;
  cyrillic.codePage = 1251;
  // Escaped bytes are in the code page too.
  EXPECT_EQ(Strings("STRINGTABLE { 1 \"\xcf\\200\" }", 0x409, cyrillic).at(1), u"\u041f\u0402");
  EXPECT_EQ(Strings("STRINGTABLE { 1 \"\xcf\" }").at(1), u"\u00cf");
  EXPECT_EQ(Strings("#pragma code_page(65001)\nSTRINGTABLE { 1 \"\xc3\xa4\" }\n"
                    "  #  pragma code_page( DEFAULT ) // back\nSTRINGTABLE { 2 \"\xc3\xa4\" }", 0x409, cyrillic),
            (std::map<std::uint32_t, std::u16string>{{1, u"\u00e4"}, {2, u"\u0413\u00a4"}}));
}

TEST(ResourceScript, LanguagesFlagsAndDirectoryOrder) {
  ScriptOptions german;
  german.language = 0x407;
  const auto res = CompileResourceScript(
      "// comment\nSTRINGTABLE PRELOAD FIXED { 33 \"a\" }\n/* multi\nline */ LANGUAGE 0x19, 1\n"
      "STRINGTABLE\nBEGIN 1 \"b\" END\n"
      "stringtable language 9, 1 version 5 characteristics 6 discardable begin 2, \"c\" end",
      german);
  ASSERT_EQ(res.size(), 3u);
  EXPECT_EQ(res[0].name, platform::ResourceId(1));
  EXPECT_EQ(res[0].language, 0x409);
  EXPECT_EQ(res[0].version, 5u);
  EXPECT_EQ(res[0].characteristics, 6u);
  EXPECT_EQ(res[1].language, 0x419);
  EXPECT_EQ(res[2].name, platform::ResourceId(3));
  EXPECT_EQ(res[2].language, 0x407);
  EXPECT_EQ(res[2].memoryFlags, 0x1060);
  EXPECT_EQ(ReadStringTable(res, 0x419).at(1), u"b");
}

TEST(ResourceScript, ErrorsNameFileAndLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"STRINGTABLE\nBEGIN\n 1, \"a\nb\"\nEND", "t.rc(3): string not closed"},
      {"STRINGTABLE\nBEGIN\n 1, \"a\\\nb\"\nEND", "t.rc(3): backslash at end of line"},
      {"STRINGTABLE\nBEGIN\n 1 \"a\"\n", "t.rc(4): END missing for the STRINGTABLE of line 1"},
      {"STRINGTABLE\nBEGIN\n 1 \"a\"\n\n 1 \"b\"\nEND", "t.rc(5): string id 1 already defined in line 3"},
      {"STRINGTABLE\nBEGIN\n 65536 \"a\"\nEND", "t.rc(3): string id 65536 out of range"},
      {"STRINGTABLE\nBEGIN\n -1 \"a\"\nEND", "t.rc(3): unexpected character '-'"},
      {"STRINGTABLE\nBEGIN\n 08 \"a\"\nEND", "t.rc(3): bad number '08'"},
      {"STRINGTABLE\nBEGIN\n 1,, \"a\"\nEND", "t.rc(3): string expected, found ','"},
      {"STRINGTABLE\nBEGIN\n 1 2\nEND", "t.rc(3): string expected, found '2'"},
      {"\n#include \"x.h\"\n", "t.rc(2): unsupported preprocessor directive '#include'"},
      {"#pragma code_page(1234)\n", "t.rc(1): unsupported code page 1234"},
      {"#pragma code_page(1252) x\n", "t.rc(1): unexpected text after"},
      {"\n\n/* open", "t.rc(3): comment not closed"},
      {"1 DIALOG", "t.rc(1): STRINGTABLE or LANGUAGE expected, found '1'"},
      {"STRINGTABLE\nMENU\n", "t.rc(2): BEGIN expected after STRINGTABLE, found 'MENU'"},
      {"LANGUAGE 7\n", "t.rc(2): ',' expected after the language number"},
      {"LANGUAGE 0x400, 1", "t.rc(1): language or sublanguage out of range"},
      {"STRINGTABLE { 99999999999 \"a\" }", "t.rc(1): number '99999999999' too large"},
  };
  for (const auto& [script, message] : cases) {
    const std::string error = ErrorOf(script);
    EXPECT_EQ(error.rfind(message, 0), 0u) << script << "\n -> " << error;
  }
  // Strings of exactly the limit still compile.
  const std::string limit = "STRINGTABLE { 1 \"" + std::string(65535, 'x') + "\" }";
  EXPECT_EQ(Strings(limit).at(1).size(), 65535u);
  EXPECT_NE(ErrorOf("STRINGTABLE { 1 \"" + std::string(65535, 'x') + "\" \"y\" }").find("longer than 65535"),
            std::string::npos);
}

// --- byte comparison with GNU windres (which leaves comments to the preprocessor) ---

bool HaveWindres() { return std::system("command -v x86_64-w64-mingw32-windres >/dev/null 2>&1") == 0; }

TEST(ResourceScript, SameBytesAsWindres) {
  if (!HaveWindres()) GTEST_SKIP() << "x86_64-w64-mingw32-windres not installed (Debian package binutils-mingw-w64-x86-64)";
  const std::string dir = platform::TempFolder() + "/vorlect_rc_windres_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  struct Case {
    std::string script;
    int codePage;
    const char* language;  // for windres -l
  };
  const Case cases[] = {
      {"STRINGTABLE\nBEGIN\n    1000, \"%TForm1\"\n    1001, \"Label1.Caption\"\n    1002, \"Line\\none\\042\\047\\134\\011\"\n"
       "    1200, \"%TForm2\"\n    1201, \"\"\nEND\n",
       1252, "0x409"},
      {"STRINGTABLE\nBEGIN\n 1 \"\xcf\xf0\xe8\xe2\xe5\xf2\\200\"\n 17, \"a\" \"b\"\" \\x41\\101\\q\"\nEND\n", 1251, "0x419"},
      {"#pragma code_page(65001)\nLANGUAGE 7, 1\nSTRINGTABLE DISCARDABLE PRELOAD\n{\n  5 \"\xc3\xa4\xe2\x82\xac\"\n}\n"
       "LANGUAGE 9, 1\nSTRINGTABLE VERSION 3 CHARACTERISTICS 4\nBEGIN\n  5, \"e\" 700 L\"\\x20AC\"\n  0x10 \"h\" 070 \"o\"\nEND\n",
       1252, "0x409"},
      {"STRINGTABLE { 33 \"c\" }\nLANGUAGE 7,1\nSTRINGTABLE { 1 \"b\" }\nLANGUAGE 9,1\nSTRINGTABLE FIXED IMPURE { 2 \"a\" 65535 \"z\" }\n",
       1252, "0x409"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string rc = dir + "/s" + std::to_string(++n) + ".rc", res = rc + ".windres.res";
    platform::WriteFileAtomic(rc, c.script);
    const std::string cmd = "x86_64-w64-mingw32-windres --preprocessor=cat -c " + std::to_string(c.codePage) + " -l " +
                            c.language + " -J rc -O res -i " + rc + " -o " + res + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << c.script;
    ScriptOptions options;
    options.codePage = c.codePage;
    options.language = static_cast<std::uint16_t>(std::strtol(c.language, nullptr, 16));
    EXPECT_EQ(platform::WriteResFile(CompileResourceScript(c.script, options)), platform::ReadFile(res)) << c.script;
  }
  std::filesystem::remove_all(dir);
}

// --- library source ---

TEST(LibrarySource, GeneratedSourceAndVariants) {
  auto src = rc::ParseLibrarySource("// Generated for TVorlect\nlibrary Strings2;\n{$R Strings2.res}\nbegin\nend.\n", "S.dpr");
  EXPECT_EQ(src.name, "Strings2");
  ASSERT_EQ(src.resourceFiles.size(), 1u);
  EXPECT_EQ(src.resourceFiles[0].name, "Strings2.res");
  EXPECT_EQ(src.resourceFiles[0].line, 3);

  src = rc::ParseLibrarySource("{ a\n comment }(* another *)LIBRARY My.Lib ;{$R+}{$r 'a b.res'}\n{$R *.res}BEGIN End.trailing", "x");
  EXPECT_EQ(src.name, "My.Lib");
  ASSERT_EQ(src.resourceFiles.size(), 2u);
  EXPECT_EQ(src.resourceFiles[0].name, "a b.res");
  EXPECT_EQ(src.resourceFiles[1].line, 3);
}

TEST(LibrarySource, ErrorsNameFileAndLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"program P;\nbegin end.", "F.dpr(1): 'library' expected, found 'program'"},
      {"library\n;", "F.dpr(2): library name expected, found ';'"},
      {"library L\nbegin end.", "F.dpr(2): ';' expected, found 'begin'"},
      {"library L;\n\nuses SysUtils;", "F.dpr(3): 'begin' expected, found 'uses'"},
      {"library L;\n{$I inc.pas}\nbegin end.", "F.dpr(2): unsupported compiler directive '{$I inc.pas}'"},
      {"library L;\n{$R }\nbegin end.", "F.dpr(2): resource file name expected"},
      {"library L;\nbegin\nWriteLn;\nend.", "F.dpr(3): 'end' expected, found 'WriteLn'"},
      {"library L;\nbegin\nend", "F.dpr(3): '.' expected, found end of file"},
      {"library L;\n{ open\n", "F.dpr(2): comment not closed"},
  };
  for (const auto& [text, message] : cases) {
    try {
      rc::ParseLibrarySource(text, "F.dpr");
      ADD_FAILURE() << text;
    } catch (const rc::LibrarySourceError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << text << "\n -> " << e.what();
    }
  }
}

}  // namespace

// --- listing a string module ---
#include "rc/StringListing.h"

namespace {

TEST(StringListing, IdOrderEscapesAndLanguageChoice) {
  using namespace vorlect::platform;
  auto resources = BuildStringTableResources({{1000, u"%TForm1"}, {17, u"a\\b\r\n\t\x01|\u00e4"}, {18, u""}}, 0x409);
  // Block 2 again in the neutral language: that one is read.
  for (auto& r : BuildStringTableResources({{17, u"neutral"}}, 0)) resources.push_back(r);
  const std::string listing = vorlect::rc::ListModuleStrings(WritePeImage(resources), "m.dll");
  EXPECT_EQ(listing, "17\tneutral\n1000\t%TForm1\n");
  EXPECT_EQ(vorlect::rc::ListModuleStrings(BuildStringModule({{17, u"a\\b\r\n\t\x01|\u00e4"}}), "m.dll"),
            "17\ta\\\\b\\r\\n\\t\\x01|\xc3\xa4\n");
  EXPECT_EQ(vorlect::rc::ListModuleStrings(BuildStringModule({}), "m.dll"), "");

  // A block whose length runs past its end, and no PE image at all.
  Resource bad;
  bad.type = ResourceId(kRtString);
  bad.name = ResourceId(1);
  bad.data = std::string("\x05\x00\x41\x00", 4);
  EXPECT_THROW(vorlect::rc::ListModuleStrings(WritePeImage({bad}), "m.dll"), ResourceError);
  try {
    vorlect::rc::ListModuleStrings("MZ not really", "x.dll");
    ADD_FAILURE();
  } catch (const ResourceError& e) {
    EXPECT_NE(std::string(e.what()).find("x.dll"), std::string::npos) << e.what();
  }
}

}  // namespace
