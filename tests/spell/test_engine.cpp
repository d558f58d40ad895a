// The engine module through the binding, with real dictionaries.
#include <cstring>
#include <filesystem>
#include <set>
#include <fstream>
#include <sstream>
#include <thread>

#include <gmock/gmock.h>

#include "SpellTestUtil.h"
#include "platform/CodePages.h"

namespace vorlect::spell::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class EngineTest : public SpellTest {
protected:
  // Opens a speller for `lcid` with `options`; false when `locale` is not installed.
  bool OpenFor(const std::string& locale, TLanguage lcid, std::uint16_t options = 0) {
    if (!RegisterSystem(locale)) return false;
    speller_.Open(lcid, options);
    EXPECT_TRUE(speller_.IsOpen());
    return true;
  }
  TSpeller speller_;
};

#define OPEN_OR_SKIP(locale, lcid, options) \
  if (!OpenFor(locale, lcid, options)) GTEST_SKIP() << locale " dictionary is not installed"

TEST_F(EngineTest, FindsUnknownWordsInOrderWithPositions) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  EXPECT_THAT(VerifyAll(speller_, "This sentense has two mistaks, nothing else."),
              ElementsAre(Found{1, "sentense", 5, ""}, Found{1, "mistaks", 22, ""}));
  EXPECT_THAT(VerifyAll(speller_, "Correct text, don't flag it: well-known e.g. etc. 42 3.14"), IsEmpty());
  EXPECT_THAT(VerifyAll(speller_, ""), IsEmpty());
  // Hyphenated words are fine when every part is; addresses are not words.
  EXPECT_THAT(VerifyAll(speller_, "a cheese-house see http://exmple.org/xyzzq or mail qwzx@exmple.org"), IsEmpty());
}

TEST_F(EngineTest, SuggestsThroughBatchesWithoutDuplicates) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  const auto list = SuggestAll(speller_, "sentense");
  EXPECT_THAT(list, Contains("sentence"));
  EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), list.size());

  // A buffer too small for all suggestions hands them out over several command 4 calls.
  std::string word = "mistaks";
  std::vector<char> small(24);
  TSpellInputRecord in = speller_.InputRecord(word.data(), static_cast<std::uint16_t>(word.size()), kStateNone);
  TSpellReturnRecord out{};
  out.strings = small.data();
  out.stringCapacity = 24;
  speller_.Check(kCmdSuggest, in, out);
  std::vector<std::string> batched;
  int calls = 0;
  while (out.status != kStatusNoMoreSuggestions && ++calls < 50) {
    ASSERT_GE(out.stringCount, 1);
    ASSERT_LE(out.stringUsed, 24);
    for (const char* s = small.data(); *s; s += std::strlen(s) + 1) batched.emplace_back(s);
    speller_.Check(kCmdSuggestMore, in, out);
  }
  EXPECT_GT(calls, 1);
  EXPECT_EQ(batched, SuggestAll(speller_, word));
  EXPECT_THAT(batched, Contains("mistakes"));
}

TEST_F(EngineTest, ReportsRepeatedWordsOnlyWhenAsked) {
  OPEN_OR_SKIP("en_US", 1033, OptionBit(spoFindRepeatWord));
  EXPECT_THAT(VerifyAll(speller_, "the the cat"), ElementsAre(Found{11, "the", 4, ""}));
  EXPECT_THAT(VerifyAll(speller_, "The the cat; cat, cat\r\ncat"),
              ElementsAre(Found{11, "the", 4, ""}, Found{11, "cat", 23, ""}));
  speller_.SetOptions(0);
  EXPECT_THAT(VerifyAll(speller_, "the the cat"), IsEmpty());
}

TEST_F(EngineTest, ReturnsChangeAlwaysAndChangeOnceReplacements) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  speller_.AddChangeUdr(kUdrChangeAlways, "teh", "the");
  speller_.AddChangeUdr(kUdrChangeOnce, "recieve", "receive");
  EXPECT_THAT(VerifyAll(speller_, "teh cat will recieve teh mail"),
              ElementsAre(Found{2, "teh", 0, "the"}, Found{3, "recieve", 13, "receive"},
                          Found{2, "teh", 21, "the"}));
  // The replacement also leads the suggestions.
  EXPECT_EQ(SuggestAll(speller_, "teh").front(), "the");
}

TEST_F(EngineTest, CustomDictionaryIsAWordFileKeptAcrossRuns) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  const std::string custom = speller_.CustomDictionaryPath();
  EXPECT_EQ(custom, dir_ + "/data/vorlect/CUSTOM.DIC");
  EXPECT_EQ(ReadAll(custom), "");
  EXPECT_THAT(VerifyAll(speller_, "Qwertyish and Zzyzxian"), ::testing::SizeIs(2));
  speller_.AddUdr(speller_.UserDictionary(), "Qwertyish");
  speller_.AddUdr(speller_.UserDictionary(), "Qwertyish");
  speller_.AddUdr(kUdrIgnoreAlways, "Zzyzxian");
  EXPECT_THAT(VerifyAll(speller_, "Qwertyish and Zzyzxian, QWERTYISH"), IsEmpty());
  EXPECT_EQ(ReadAll(custom), "Qwertyish\n");  // ignore-all lives only in the engine
  speller_.Close();

  TSpeller again;
  again.Open(1033, 0);
  EXPECT_THAT(VerifyAll(again, "Qwertyish and Zzyzxian"), ElementsAre(Found{1, "Zzyzxian", 14, ""}));
  // Lines written by other tools: CR LF, no final line break, a byte-order mark.
  again.Close();
  { std::ofstream(custom, std::ios::binary) << "\xEF\xBB\xBFHolzwurmix\r\nBlorptastic"; }
  again.Open(1033, 0);
  EXPECT_THAT(VerifyAll(again, "Holzwurmix Blorptastic Flimzor"), ElementsAre(Found{1, "Flimzor", 23, ""}));
  again.AddUdr(again.UserDictionary(), "Flimzor");
  EXPECT_EQ(ReadAll(custom), "\xEF\xBB\xBFHolzwurmix\r\nBlorptastic\nFlimzor\n");
}

TEST_F(EngineTest, GermanTextInCodePage1252) {
  OPEN_OR_SKIP("de_DE", 1031, 0);
  const std::string text = ToCp("Grüße aus München, die Übersetzng fehlt.", 1252);
  ASSERT_EQ(text.size(), 40u);  // one byte per character
  const auto found = VerifyAll(speller_, text);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(FromCp(found[0].text, 1252), "Übersetzng");
  EXPECT_EQ(found[0].offset, 23u);
  EXPECT_THAT(SuggestAll(speller_, found[0].text), Contains(ToCp("Übersetzung", 1252)));
}

TEST_F(EngineTest, RussianTextInCodePage1251) {
  OPEN_OR_SKIP("ru_RU", 1049, 0);
  const std::string text = ToCp("Привет, мир! Превет.", 1251);
  const auto found = VerifyAll(speller_, text);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(FromCp(found[0].text, 1251), "Превет");
  EXPECT_EQ(found[0].offset, 13u);
  EXPECT_THAT(SuggestAll(speller_, found[0].text), Contains(ToCp("Привет", 1251)));
  speller_.AddUdr(speller_.UserDictionary(), ToCp("Превет", 1251));
  EXPECT_THAT(VerifyAll(speller_, text), IsEmpty());
  // The word file is UTF-8 whatever the language's code page.
  EXPECT_EQ(ReadAll(speller_.CustomDictionaryPath()), "Превет\n");
}

TEST_F(EngineTest, IgnoreOptionsSkipWordsTheDictionaryLacks) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  const std::string text = "QWZX abc123 mcmxcix";
  EXPECT_THAT(VerifyAll(speller_, text), ::testing::SizeIs(3));
  speller_.SetOptions(OptionBit(spoIgnoreAllCaps));
  EXPECT_THAT(VerifyAll(speller_, text), ::testing::SizeIs(2));
  speller_.SetOptions(OptionBit(spoIgnoreMixedDigits) | OptionBit(spoIgnoreRomanNumerals));
  EXPECT_THAT(VerifyAll(speller_, text), ElementsAre(Found{1, "QWZX", 0, ""}));
  // Not every string of Roman letters is a numeral.
  EXPECT_THAT(VerifyAll(speller_, "IIII MDCLXVI XM"), ElementsAre(Found{1, "IIII", 0, ""}, Found{1, "XM", 13, ""}));
}

TEST_F(EngineTest, FormatChecksFollowTheirOptionBits) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  const std::string text = "Hello.World is  here. then go 2day.\r\nnew line";
  EXPECT_THAT(VerifyAll(speller_, text), ElementsAre(Found{1, "2day", 30, ""}));
  speller_.SetOptions(OptionBit(spoFindMissingSpaces) | OptionBit(spoFindExtraSpaces) |
                      OptionBit(spoFindUncappedSentences) | OptionBit(spoFindInitialNumerals));
  // Extra spaces take the character after them, so that the dialog keeps one space; the rest
  // of that word is not reported again when the check continues behind it.
  EXPECT_THAT(VerifyAll(speller_, text),
              ElementsAre(Found{13, ".World", 5, ""}, Found{12, "  h", 14, ""}, Found{10, "then", 22, ""},
                          Found{14, "2day", 30, ""}, Found{10, "new", 37, ""}));
  // Abbreviations and single letters do not end a sentence; a known word before a full stop does,
  // although the dictionary accepts it with the stop as well.
  EXPECT_THAT(VerifyAll(speller_, "Cats, e.g. lions, are fine. U.S. law too"), IsEmpty());
  EXPECT_THAT(VerifyAll(speller_, "It is here. then go"), ElementsAre(Found{10, "then", 12, ""}));
}

TEST_F(EngineTest, VerifyStartsAtTheTextPointerAndStaysInsideTheLength) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  const std::string text = "xqzt good wrds";
  TSpellInputRecord in = speller_.InputRecord(text.data() + 5, 4, kStateNone);  // "good"
  TSpellReturnRecord out{};
  speller_.Check(kCmdVerify, in, out);  // no string buffer at all is fine
  EXPECT_EQ(out.status, kStatusNoErrors);
  in = speller_.InputRecord(text.data() + 5, 8, kStateNone);  // "good wrd"
  speller_.Check(kCmdVerify, in, out);
  EXPECT_EQ(out.status, kStatusUnknownInputWord);
  EXPECT_EQ(out.errorOffset, 5);
  EXPECT_EQ(out.errorLength, 3);
}

TEST_F(EngineTest, RejectsBadArgumentsWithErrorCodes) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  const TSpellEntryPoints& e = speller_.EntryPoints();
  const std::uint32_t id = speller_.SpellerId();
  TSpellReturnRecord out{};
  TSpellInputRecord in = speller_.InputRecord(nullptr, 3, kStateNone);
  EXPECT_NE(e.SpellCheck(id, kCmdVerify, &in, &out) & 0xFFFF, 0u);
  in = speller_.InputRecord("abc", 3, kStateNone);
  EXPECT_NE(e.SpellCheck(id, 99, &in, &out) & 0xFFFF, 0u);
  EXPECT_NE(e.SpellCheck(id + 1000, kCmdVerify, &in, &out) & 0xFFFF, 0u);
  std::uint32_t bogus = 12345;
  in.mainDicts = &bogus;
  EXPECT_NE(e.SpellCheck(id, kCmdVerify, &in, &out) & 0xFFFF, 0u);
  EXPECT_NE(e.SpellAddUdr(id, 4711, "word") & 0xFFFF, 0u);
  EXPECT_NE(e.SpellAddUdr(id, speller_.UserDictionary(), "two\nlines") & 0xFFFF, 0u);
  EXPECT_NE(e.SpellAddChangeUdr(id, speller_.UserDictionary(), "a", "b") & 0xFFFF, 0u);
  std::uint32_t udr = 0;
  EXPECT_NE(e.SpellOpenUdr(id, (dir_ + "/missing.dic").c_str(), 0, kUdrIgnoreAlways, &udr, nullptr) & 0xFFFF, 0u);
  TSpellMainDictRecord mdr{};
  EXPECT_EQ(e.SpellOpenMdr(id, (dir_ + "/none.dic").c_str(), nullptr, 0, 1, 1033, &mdr) & 0xFFFF, kSecIOErrorMdr);
}

TEST_F(EngineTest, UserListEntryPointsAgreeWithTheFile) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  const TSpellEntryPoints& e = speller_.EntryPoints();
  const std::uint32_t id = speller_.SpellerId(), udr = speller_.UserDictionary();
  for (const char* w : {"Alphaq", "Betaq", "Gammaq"}) speller_.AddUdr(udr, w);
  std::uint32_t count = 0;
  ASSERT_EQ(e.SpellGetSizeUdr(id, udr, &count), 0u);
  EXPECT_EQ(count, 3u);
  ASSERT_EQ(e.SpellDelUdr(id, udr, "Betaq"), 0u);
  EXPECT_EQ(ReadAll(speller_.CustomDictionaryPath()), "Alphaq\nGammaq\n");
  std::vector<char> buffer(64);
  TSpellReturnRecord out{};
  out.strings = buffer.data();
  out.stringCapacity = 64;
  ASSERT_EQ(e.SpellGetListUdr(id, udr, 1, &out), 0u);
  EXPECT_EQ(out.stringCount, 1);
  EXPECT_STREQ(buffer.data(), "Gammaq");
  ASSERT_EQ(e.SpellClearUdr(id, udr), 0u);
  EXPECT_EQ(ReadAll(speller_.CustomDictionaryPath()), "");
  EXPECT_THAT(VerifyAll(speller_, "Alphaq"), ::testing::SizeIs(1));
}


// Suggestions are kept per word: what changes the answer must show in the next one.
TEST_F(EngineTest, KeptSuggestionsFollowCustomDictionaryChangesAndOptions) {
  OPEN_OR_SKIP("en_US", 1033, OptionBit(spoSuggestFromUserDict));
  using ::testing::Not;
  const std::string word = "Qwertyisj";
  EXPECT_THAT(SuggestAll(speller_, word), Not(Contains("Qwertyish")));
  speller_.AddUdr(speller_.UserDictionary(), "Qwertyish");
  EXPECT_THAT(SuggestAll(speller_, word), Contains("Qwertyish"));
  // Asked again: the same list.
  EXPECT_EQ(SuggestAll(speller_, word), SuggestAll(speller_, word));

  speller_.AddChangeUdr(kUdrChangeAlways, word, "Querty");
  EXPECT_EQ(SuggestAll(speller_, word).front(), "Querty");
  const TSpellEntryPoints& e = speller_.EntryPoints();
  const std::uint32_t id = speller_.SpellerId();
  ASSERT_EQ(e.SpellDelUdr(id, kUdrChangeAlways, word.c_str()), 0u);
  EXPECT_THAT(SuggestAll(speller_, word), Not(Contains("Querty")));

  ASSERT_EQ(e.SpellDelUdr(id, speller_.UserDictionary(), "Qwertyish"), 0u);
  EXPECT_THAT(SuggestAll(speller_, word), Not(Contains("Qwertyish")));
  speller_.AddUdr(speller_.UserDictionary(), "Qwertyish");
  speller_.SetOptions(0);  // no suggestions from the custom dictionary
  EXPECT_THAT(SuggestAll(speller_, word), Not(Contains("Qwertyish")));
  speller_.SetOptions(OptionBit(spoSuggestFromUserDict));
  EXPECT_THAT(SuggestAll(speller_, word), Contains("Qwertyish"));

  // The ignore-all list, for a caller that names it among the lists to suggest from.
  std::vector<char> buffer(1024);
  auto suggestWithIgnoreAll = [&](const std::string& w) {
    std::uint32_t users[] = {speller_.UserDictionary(), kUdrIgnoreAlways};
    TSpellInputRecord in{static_cast<std::uint16_t>(w.size()), 1, 2, kStateNone, w.data(),
                         &speller_.MainDictionary(), users};
    TSpellReturnRecord out{};
    out.strings = buffer.data();
    out.stringCapacity = 1023;
    std::vector<std::string> list;
    EXPECT_EQ(e.SpellCheck(id, kCmdSuggest, &in, &out), 0u);
    for (int calls = 0; out.status != kStatusNoMoreSuggestions && calls < 100; ++calls) {
      for (const char* s = buffer.data(); *s; s += std::strlen(s) + 1) list.emplace_back(s);
      EXPECT_EQ(e.SpellCheck(id, kCmdSuggestMore, &in, &out), 0u);
    }
    return list;
  };
  EXPECT_THAT(suggestWithIgnoreAll("Zzyzxiam"), Not(Contains("Zzyzxian")));
  speller_.AddUdr(kUdrIgnoreAlways, "Zzyzxian");
  EXPECT_THAT(suggestWithIgnoreAll("Zzyzxiam"), Contains("Zzyzxian"));
  ASSERT_EQ(e.SpellClearUdr(id, kUdrIgnoreAlways), 0u);
  EXPECT_THAT(suggestWithIgnoreAll("Zzyzxiam"), Not(Contains("Zzyzxian")));
}

// Two spellers on one dictionary, suggesting at once from two threads (run under ThreadSanitizer).
TEST_F(EngineTest, SpellersSuggestInParallelFromOneDictionary) {
  OPEN_OR_SKIP("en_US", 1033, 0);
  TSpeller other;
  other.Open(1033, 0);
  ASSERT_TRUE(other.IsOpen());
  const std::vector<std::string> words = {"sentense", "mistaks", "recieve", "wierd", "acommodate", "untill"};
  std::vector<std::vector<std::string>> mine(words.size()), theirs(words.size());
  std::thread t([&] {
    for (size_t i = 0; i < words.size(); ++i) theirs[i] = SuggestAll(other, words[i]);
  });
  for (size_t i = words.size(); i-- > 0;) mine[i] = SuggestAll(speller_, words[i]);
  t.join();
  EXPECT_EQ(mine, theirs);
  EXPECT_THAT(mine[0], Contains("sentence"));
  EXPECT_THAT(mine[2], Contains("receive"));
}

}  // namespace
}  // namespace vorlect::spell::test
