// The PO and XLIFF syntax on their own, the format arguments of a text, and the messages a table
// is split into.
#include "vle/exchange/PoFile.h"
#include "vle/exchange/TranslatorExchange.h"
#include "vle/exchange/XliffFile.h"

#include "../VleTestUtil.h"

#include <gtest/gtest.h>

namespace vorlect::vle {
namespace {

using po::ReadPo;
using po::TPoError;

// What a translator's editor may hand back: CR LF, a byte-order mark, strings split over lines,
// escapes, flags, previous strings, an obsolete entry and a plural one.
TEST(PoFile, ReadsWhatTheToolsWrite) {
  const std::string file =
      "\xEF\xBB\xBF# comment\r\n"
      "msgid \"\"\r\n"
      "msgstr \"\"\r\n"
      "\"Content-Type: text/plain; charset=UTF-8\\n\"\r\n"
      "\r\n"
      "#. TButton.Caption\r\n"
      "#: Main.dfm:Button1\r\n"
      "#, fuzzy, object-pascal-format\r\n"
      "#| msgid \"old\"\r\n"
      "msgctxt \"Main.dfm|Button1|0\"\r\n"
      "msgid \"\"\r\n"
      "\"line one\\r\\n\"\r\n"
      "\"line two\"\r\n"
      "msgstr \"a\\tb \\\"q\\\" \\\\ \\001\\x41\"\r\n"
      "\"\xC3\xBC\"\r\n"
      "\r\n"
      "#~ msgctxt \"gone\"\r\n"
      "#~ msgid \"old text\"\r\n"
      "#~ msgstr \"alter Text\"\r\n"
      "\r\n"
      "msgctxt \"p\"\n"
      "msgid \"one file\"\n"
      "msgid_plural \"%d files\"\n"
      "msgstr[0] \"eine Datei\"\n"
      "msgstr[1] \"%d Dateien\"\n"
      "msgid \"no context\"\n"
      "msgstr \"\"";
  const auto entries = ReadPo(file);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_TRUE(entries[0].IsHeader());
  const po::TPoEntry& e = entries[1];
  EXPECT_EQ(e.context, "Main.dfm|Button1|0");
  EXPECT_EQ(e.msgid, "line one\r\nline two");
  EXPECT_EQ(e.Translation(), "a\tb \"q\" \\ \001A\xC3\xBC");
  EXPECT_TRUE(e.Fuzzy());
  EXPECT_TRUE(e.HasFlag("object-pascal-format"));
  EXPECT_EQ(e.line, 10u);
  EXPECT_TRUE(entries[2].plural);
  EXPECT_EQ(entries[2].msgstr.size(), 2u);
  EXPECT_FALSE(entries[3].hasContext);
  EXPECT_FALSE(entries[3].Fuzzy());
}

TEST(PoFile, RefusesBrokenFilesNamingTheLine) {
  auto lineOf = [](const std::string& text) -> std::size_t {
    try {
      ReadPo(text);
    } catch (const TPoError& e) {
      return e.line();
    }
    return 0;
  };
  EXPECT_EQ(lineOf("msgid \"a\"\nmsgstr \"b"), 2u);                              // not closed
  EXPECT_EQ(lineOf("msgid \"a\"\nmsgstr \"b\" x"), 2u);                          // text after it
  EXPECT_EQ(lineOf("\n\nmsgstr \"b\""), 3u);                                     // no msgid
  EXPECT_EQ(lineOf("msgid \"a\"\nmsgid \"b\"\nmsgstr \"\""), 2u);                // no msgstr
  EXPECT_EQ(lineOf("msgid \"a\"\nmsgstr \"\\q\""), 2u);                          // bad escape
  EXPECT_EQ(lineOf("msgid \"a\"\nmsgstr[1] \"b\""), 2u);                         // index out of order
  EXPECT_EQ(lineOf("msgid \"a\"\nmsgstr \"\xFF\""), 1u);                          // not UTF-8
  EXPECT_EQ(lineOf("\"x\""), 1u);                                                 // a string alone
  EXPECT_EQ(lineOf("msgid \"a\""), 1u);                                           // ends early
  EXPECT_EQ(lineOf("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\""), 1u);
  EXPECT_EQ(lineOf("msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=CHARSET\\n\""), 0u);
}

TEST(PoFile, WrittenStringsReadBackAsTheyWere) {
  for (const std::string& text : {std::string(""), std::string("plain"), std::string("a\r\nb\r\n"),
                                 std::string("\n\nx"), std::string("\x01\x1f\x7f\"\\\t\v\f\a\b"),
                                 std::string("caf\xC3\xA9 \xE2\x82\xAC")}) {
    const std::string file = po::PoLine("msgctxt", "c|" + text) + po::PoLine("msgid", text) + po::PoLine("msgstr", text);
    const auto entries = ReadPo(file);
    ASSERT_EQ(entries.size(), 1u) << file;
    EXPECT_EQ(entries[0].context, "c|" + text);
    EXPECT_EQ(entries[0].msgid, text);
    EXPECT_EQ(entries[0].Translation(), text);
  }
  // A text with an inner line break is written as gettext writes it: one line per line.
  EXPECT_EQ(po::PoLine("msgid", "a\nb"), "msgid \"\"\n\"a\\n\"\n\"b\"\n");
  EXPECT_EQ(po::PoLine("msgid", "a\n"), "msgid \"a\\n\"\n");
}

TEST(XliffFile, ContentReadsBackInBothVersions) {
  const std::string text = "<b> & \"q\" \r\n\ttab \x07 \xC3\xBC \xF0\x9F\x98\x80 ]]>";
  for (const auto version : {xliff::TVersion::V12, xliff::TVersion::V20}) {
    int placeholders = 0;
    std::string doc;
    if (version == xliff::TVersion::V12) {
      doc = std::string("<xliff version=\"1.2\" xmlns=\"") + xliff::kNamespace12 +
            "\"><file original=\"a&amp;b.dfm\" source-language=\"en\" target-language=\"de\" datatype=\"plaintext\">"
            "<body><group id=\"g\"><trans-unit id=\"u1\"><source>" +
            xliff::Content(text, version, &placeholders) + "</source><target state=\"translated\">" +
            xliff::Content("x" + text, version, &placeholders) + "</target></trans-unit></group></body></file></xliff>";
    } else {
      doc = std::string("<xliff version=\"2.0\" xmlns=\"") + xliff::kNamespace20 +
            "\" srcLang=\"en\" trgLang=\"de\"><file id=\"f\" original=\"a&amp;b.dfm\"><unit id=\"u1\">"
            "<segment state=\"translated\"><source>" +
            xliff::Content(text, version, &placeholders) + "</source><target>" +
            xliff::Content("x" + text, version, &placeholders) + "</target></segment></unit></file></xliff>";
    }
    const xliff::TDocument d = xliff::ReadXliff(doc);
    ASSERT_EQ(d.units.size(), 1u);
    EXPECT_EQ(d.units[0].file, "a&b.dfm");
    EXPECT_EQ(d.units[0].id, "u1");
    EXPECT_EQ(d.units[0].source, text);
    EXPECT_EQ(d.units[0].target, "x" + text);
    EXPECT_TRUE(d.units[0].hasTarget);
    EXPECT_EQ(d.units[0].state, "translated");
    EXPECT_EQ(d.targetLanguage, "de");
  }
}

TEST(XliffFile, TwoSegmentsAreOneTextAsFarAsItsLeastAdvancedSegment) {
  const std::string doc = std::string("<xliff version=\"2.0\" xmlns=\"") + xliff::kNamespace20 +
                          "\" srcLang=\"en\"><file id=\"f\"><unit id=\"u\">"
                          "<segment state=\"translated\"><source>One.</source><target>Eins.</target></segment>"
                          "<ignorable><source> </source></ignorable>"
                          "<segment><source>Two.</source><target>Zwei.</target></segment></unit></file></xliff>";
  const xliff::TDocument d = xliff::ReadXliff(doc);
  ASSERT_EQ(d.units.size(), 1u);
  EXPECT_EQ(d.units[0].file, "f");  // no original: the file's id
  EXPECT_EQ(d.units[0].source, "One. Two.");
  EXPECT_EQ(d.units[0].target, "Eins. Zwei.");
  EXPECT_EQ(d.units[0].state, "initial");
}

TEST(XliffFile, RefusesWhatIsNotPlainXliff) {
  auto message = [](const std::string& doc) -> std::string {
    try {
      xliff::ReadXliff(doc);
    } catch (const xliff::TXliffError& e) {
      return e.what();
    }
    return {};
  };
  // Entities are never expanded: a document type declaration is refused outright.
  EXPECT_NE(message("<?xml version=\"1.0\"?>\n<!DOCTYPE x [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;\">]>\n"
                    "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.2\">&b;</xliff>"),
            "");
  EXPECT_EQ(message("<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n<file>\n</xliff>")
                .rfind("line 3: ", 0),
            0u);
  EXPECT_EQ(message("<xliff version=\"1.2\"/>"), "not an XLIFF 1.2 or 2.0 document");
  EXPECT_NE(message(""), "");
}

TEST(XliffFile, IdsAreNameCharacters) {
  EXPECT_EQ(xliff::IdOf("Button1"), "Button1");
  EXPECT_EQ(xliff::IdOf("%Form%"), "_25Form_25");
  EXPECT_EQ(xliff::IdOf("\".Hint"), "_22.Hint");
  EXPECT_EQ(xliff::IdOf("a_b"), "a_5Fb");  // "_" itself is escaped, so no two keys meet
  EXPECT_EQ(xliff::IdOf(""), "_");
}

TEST(PascalFormat, ArgumentsAndTheirTypes) {
  std::vector<std::pair<int, char>> args;
  ASSERT_TRUE(PascalFormatArgs("%d files in %s, 100%%", args));
  EXPECT_EQ(args, (std::vector<std::pair<int, char>>{{0, 'd'}, {1, 's'}}));
  ASSERT_TRUE(PascalFormatArgs("%1:s before %0:-8.2f", args));
  EXPECT_EQ(args, (std::vector<std::pair<int, char>>{{1, 's'}, {0, 'f'}}));
  ASSERT_TRUE(PascalFormatArgs("%*.*f", args));
  EXPECT_EQ(args, (std::vector<std::pair<int, char>>{{0, 'd'}, {1, 'd'}, {2, 'f'}}));
  EXPECT_TRUE(PascalFormatArgs("no arguments", args));
  EXPECT_TRUE(args.empty());
  EXPECT_FALSE(PascalFormatArgs("50% done", args));
  EXPECT_FALSE(PascalFormatArgs("100%", args));
  EXPECT_FALSE(PascalFormatArgs("%0:s and %0:d", args));  // one argument, two types
}

class FormMessagesTest : public test::VleTest {};

TEST_F(FormMessagesTest, NamesEveryTextByItsBlock) {
  TEntry e;
  e.LanguageCount = 1;
  e.FormClassName = "TMainForm";
  e.Components = {{"MainForm", "TMainForm"}, {"RadioGroup1", "TRadioGroup"}, {"Edit1", "TEdit"}};
  for (const char* l : {"%Form%", "Main", "RadioGroup1", "Size", "\"", "Small", "\".Hint", "Pick",  //
                        "Edit1", "", "\".HINT", "Type", "RadioGroup1", "Again", "Str1", "Hello"})
    e.Lines.Add(l);
  const auto m = FormMessages(e, "forms/Main.dfm");
  ASSERT_EQ(m.size(), 8u);
  std::vector<std::string> contexts, notes;
  for (const auto& x : m) contexts.push_back(x.context), notes.push_back(x.note);
  EXPECT_EQ(contexts, (std::vector<std::string>{"forms/Main.dfm|%Form%|0", "forms/Main.dfm|RadioGroup1|0",
                                                "forms/Main.dfm|RadioGroup1|1", "forms/Main.dfm|RadioGroup1|2",
                                                "forms/Main.dfm|Edit1|0", "forms/Main.dfm|Edit1|1",
                                                "forms/Main.dfm|RadioGroup1|0|2", "forms/Main.dfm|Str1|0"}));
  EXPECT_EQ(notes, (std::vector<std::string>{"TMainForm.Caption", "TRadioGroup.Caption", "TRadioGroup.Items[0]",
                                             "TRadioGroup.Hint", "TEdit.Text", "TEdit.Hint", "TRadioGroup.Caption",
                                             "Numbered string Str1"}));
  EXPECT_EQ(m[6].unitId, "RadioGroup1:0:2");
  EXPECT_EQ(m[6].entry, 6);
}

TEST_F(FormMessagesTest, LanguageFilesAreNamedByTheirTags) {
  LanguageIds().Add("1031");
  LanguageIds().Add("0");
  LanguageIds().Add("2052");
  EXPECT_EQ(LanguageTag(0), "de-DE");
  EXPECT_EQ(LanguageTag(1), "");
  EXPECT_EQ(TranslatorFileName(0, TTranslatorFormat::Po), "de-DE.po");
  EXPECT_EQ(TranslatorFileName(1, TTranslatorFormat::Xliff20), "language-1.xlf");
  EXPECT_EQ(TranslatorFileName(2, TTranslatorFormat::Po), "zh-CN.po");
  EXPECT_EQ(TranslatorFileName(7, TTranslatorFormat::Xliff12), "language-7.xlf");
}

}  // namespace
}  // namespace vorlect::vle
