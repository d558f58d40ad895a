// Our speller engine: the sixteen entry points over Nuspell and plain word files.
#include "spell/engine/SpellEngine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <nuspell/dictionary.hxx>
#include <unicode/uchar.h>
#include <unicode/uloc.h>

#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/pe/LanguageCodePages.h"

namespace {

using namespace vorlect::spell;
namespace platform = vorlect::platform;
using vorlect::spell::engine::kMaxWordChars;

constexpr std::uint32_t kOk = 0;
constexpr char32_t kSoftHyphen = 0x00AD;
constexpr char32_t kNonBreakHyphen = 0x2011;

// ---- characters ------------------------------------------------------------------------------

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n;
    if (b < 0x80) n = 0;
    else if (b >= 0xC2 && b <= 0xDF) n = 1;
    else if (b >= 0xE0 && b <= 0xEF) n = 2;
    else if (b >= 0xF0 && b <= 0xF4) n = 3;
    else return false;
    if (i + n >= s.size() && n > 0) return false;
    for (size_t k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}

bool IsDbcsLeadByte(int codePage, std::uint8_t b) {
  switch (codePage) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    default: return false;
  }
}

// How a speller reads the bytes of one code page: one table for single bytes, with the special
// characters of its initialisation record mapped to what they mean.
struct ByteMap {
  int codePage = 1252;
  bool dbcs = false;
  char32_t single[256] = {};

  void Build(int cp, const TSpellSpecialChars& special) {
    codePage = cp;
    dbcs = cp == 932 || cp == 936 || cp == 949 || cp == 950;
    for (int b = 0; b < 256; ++b) {
      if (b < 0x80 || (!dbcs)) {
        const char byte = static_cast<char>(b);
        const std::u16string u = platform::DecodeCodePage(std::string_view(&byte, 1), cp);
        single[b] = u.size() == 1 ? u[0] : static_cast<char32_t>(b);
      } else {
        single[b] = static_cast<char32_t>(b);
      }
    }
    // Control bytes the caller declares as hyphens are hyphens; printable ones keep their letter.
    if (special.softHyphen && special.softHyphen < 0x20) single[special.softHyphen] = kSoftHyphen;
    if (special.nonBreakHyphen && special.nonBreakHyphen < 0x20) single[special.nonBreakHyphen] = kNonBreakHyphen;
  }
};

struct Char {
  char32_t c;
  std::uint32_t off;  // byte offset in the window
  std::uint32_t len;  // bytes
};

// Decodes a window lazily, so a problem near its start costs nothing for the rest. Single-byte
// code pages need no decoding state at all: character i is byte i, read through the table.
class Window {
public:
  Window(std::string_view bytes, const ByteMap& map) : bytes_(bytes), map_(map), direct_(!map.dbcs) {
    if (!direct_) chars_.reserve(std::min<size_t>(bytes.size(), 1024));
  }

  bool Has(size_t i) {
    if (direct_) return i < bytes_.size();
    while (chars_.size() <= i && pos_ < bytes_.size()) DecodeNext();
    return i < chars_.size();
  }
  Char operator[](size_t i) const {
    if (direct_) return {map_.single[static_cast<std::uint8_t>(bytes_[i])], static_cast<std::uint32_t>(i), 1};
    return chars_[i];
  }
  char32_t At(size_t i) { return Has(i) ? (*this)[i].c : 0; }
  size_t EndOffset(size_t i) const { return direct_ ? i + 1 : chars_[i].off + chars_[i].len; }

private:
  void DecodeNext() {
    const auto b = static_cast<std::uint8_t>(bytes_[pos_]);
    if (IsDbcsLeadByte(map_.codePage, b) && pos_ + 1 < bytes_.size()) {
      const std::u16string u = platform::DecodeCodePage(bytes_.substr(pos_, 2), map_.codePage);
      if (u.size() == 1) {
        chars_.push_back({u[0], static_cast<std::uint32_t>(pos_), 2});
        pos_ += 2;
        return;
      }
    }
    chars_.push_back({map_.single[b], static_cast<std::uint32_t>(pos_), 1});
    ++pos_;
  }

  std::string_view bytes_;
  const ByteMap& map_;
  const bool direct_;
  size_t pos_ = 0;
  std::vector<Char> chars_;
};

bool IsMark(char32_t c) {
  const auto t = u_charType(static_cast<UChar32>(c));
  return t == U_NON_SPACING_MARK || t == U_COMBINING_SPACING_MARK || t == U_ENCLOSING_MARK;
}
bool IsLetter(char32_t c) {
  if (c < 0x80) return (c | 0x20) >= 'a' && (c | 0x20) <= 'z';
  return u_isUAlphabetic(static_cast<UChar32>(c)) && !u_isdigit(static_cast<UChar32>(c));
}
bool IsDigit(char32_t c) { return c < 0x80 ? c >= '0' && c <= '9' : u_isdigit(static_cast<UChar32>(c)); }
bool IsLower(char32_t c) { return c < 0x80 ? c >= 'a' && c <= 'z' : u_islower(static_cast<UChar32>(c)); }
bool IsWordChar(char32_t c) {
  if (c < 0x80) return IsLetter(c) || IsDigit(c);
  return c == kSoftHyphen || IsLetter(c) || IsDigit(c) || IsMark(c);
}
bool IsHyphen(char32_t c) { return c == '-' || c == kNonBreakHyphen || c == 0x2010; }
bool IsApostrophe(char32_t c) { return c == '\'' || c == 0x2019; }
bool IsLineBreak(char32_t c) { return c == '\r' || c == '\n' || c == 0x0B || c == 0x2028 || c == 0x2029; }
bool IsSpace(char32_t c) { return c == ' '; }
bool IsWhite(char32_t c) {
  if (c < 0x80) return c == ' ' || c == '\t' || IsLineBreak(c) || c == 0x0C;
  return IsLineBreak(c) || u_isUWhiteSpace(static_cast<UChar32>(c));
}
bool IsSentenceEnd(char32_t c) { return c == '.' || c == '!' || c == '?'; }
bool IsMissingSpacePunct(char32_t c) {
  return c == '.' || c == ',' || c == ';' || c == ':' || c == '!' || c == '?';
}
bool IsClosingPunct(char32_t c) {
  return c == ',' || c == '.' || c == ';' || c == ':' || c == '!' || c == '?' || c == ')' || c == ']' || c == '}';
}
bool IsOpeningPunct(char32_t c) { return c == '(' || c == '[' || c == '{' || c == 0xBF || c == 0xA1; }
bool IsClosingQuote(char32_t c) {
  return c == '"' || c == '\'' || c == ')' || c == ']' || c == 0x2019 || c == 0x201D || c == 0xBB;
}

std::string Fold(const std::u32string& w) {
  std::string out;
  for (char32_t c : w) AppendUtf8(out, static_cast<char32_t>(u_tolower(static_cast<UChar32>(c))));
  return out;
}

std::string FoldUtf8(std::string_view utf8) {
  std::u16string u = platform::Utf8ToUtf16(utf8);
  for (auto& c : u) c = static_cast<char16_t>(u_tolower(c));
  return platform::Utf16ToUtf8(u);
}

std::string ToUtf8(const std::u32string& w) {
  std::string out;
  for (char32_t c : w) AppendUtf8(out, c);
  return out;
}

bool IsRomanNumeral(const std::u32string& w) {
  static constexpr struct { int value; const char* text; } kParts[] = {
      {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
      {40, "XL"}, {10, "X"}, {9, "IX"}, {5, "V"}, {4, "IV"}, {1, "I"}};
  if (w.empty() || w.size() > 16) return false;
  const bool upper = w[0] < 0x80 && std::isupper(static_cast<int>(w[0]));
  std::string s;
  for (char32_t c : w) {
    if (c >= 0x80) return false;
    const char a = static_cast<char>(c);
    if (upper != static_cast<bool>(std::isupper(static_cast<unsigned char>(a)))) return false;
    s += static_cast<char>(std::toupper(static_cast<unsigned char>(a)));
  }
  auto digit = [](char c) {
    switch (c) {
      case 'I': return 1; case 'V': return 5; case 'X': return 10; case 'L': return 50;
      case 'C': return 100; case 'D': return 500; case 'M': return 1000; default: return 0;
    }
  };
  int value = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const int d = digit(s[i]);
    if (d == 0) return false;
    value += (i + 1 < s.size() && digit(s[i + 1]) > d) ? -d : d;
  }
  if (value <= 0 || value >= 4000) return false;
  std::string canonical;
  for (const auto& part : kParts)
    while (value >= part.value) canonical += part.text, value -= part.value;
  return canonical == s;
}

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diag = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diag = up;
    }
  }
  return row[b.size()];
}

// ---- dictionaries ----------------------------------------------------------------------------

// A loaded dictionary and what it has suggested. A suggestion costs tens of milliseconds and
// depends on nothing but the dictionary, which never changes once loaded: each word is suggested
// once while the dictionary stays loaded, for every speller and thread that shares it. Nuspell's
// dictionary is safe to read from several threads at once.
class Dict {
public:
  bool spell(const std::string& word) const { return nuspell_.spell(word); }
  void Load(const std::string& affPath) { nuspell_.load_aff_dic(std::filesystem::path(affPath)); }

  std::vector<std::string> Suggestions(const std::string& word) const {
    {
      std::lock_guard lock(mutex_);
      if (auto it = suggested_.find(word); it != suggested_.end()) return it->second;
    }
    // Computed outside the lock, so that threads suggest different words in parallel; two that
    // ask for the same word at once both compute it, with the same result.
    std::vector<std::string> found;
    nuspell_.suggest(word, found);
    std::lock_guard lock(mutex_);
    if (suggested_.size() >= kMaxSuggested) suggested_.clear();  // a bound for very long runs
    suggested_.emplace(word, found);
    return found;
  }

private:
  static constexpr std::size_t kMaxSuggested = 100000;
  nuspell::Dictionary nuspell_;
  mutable std::mutex mutex_;
  mutable std::unordered_map<std::string, std::vector<std::string>> suggested_;  // UTF-8
};

using DictPtr = std::shared_ptr<const Dict>;

std::mutex gDictMutex;
std::map<std::string, std::weak_ptr<const Dict>> gDicts;  // by .aff path

// Loaded once per process while any speller uses it.
DictPtr LoadDictionary(const std::string& affPath) {
  {
    std::lock_guard lock(gDictMutex);
    if (auto it = gDicts.find(affPath); it != gDicts.end())
      if (DictPtr d = it->second.lock()) return d;
  }
  auto dict = std::make_shared<Dict>();
  dict->Load(affPath);
  std::lock_guard lock(gDictMutex);
  if (auto it = gDicts.find(affPath); it != gDicts.end())
    if (DictPtr d = it->second.lock()) return d;
  gDicts[affPath] = dict;
  return dict;
}

// A main dictionary path may name the .dic, the .aff or their common stem.
std::string AffPathOf(std::string path) {
  const auto ends = [&](std::string_view ext) {
    return path.size() > ext.size() && path.compare(path.size() - ext.size(), ext.size(), ext) == 0;
  };
  if (ends(".aff")) return path;
  if (ends(".dic")) return path.substr(0, path.size() - 4) + ".aff";
  return path + ".aff";
}

struct MainDict {
  DictPtr dict;
  std::uint16_t language = 0;
};

// A word list: the custom dictionary file or the ignore-always list.
struct WordList {
  std::string path;  // empty: in memory only
  bool readOnly = false;
  bool needsNewline = false;  // file does not end with a line break
  std::vector<std::string> words;  // UTF-8, file order
  std::unordered_set<std::string> set;

  bool Contains(const std::string& w) const { return set.count(w) != 0; }
};

// ---- spellers --------------------------------------------------------------------------------

struct Speller {
  std::mutex mutex;
  TSpellSpecialChars special{};
  std::uint32_t options = 0;
  ByteMap bytes;
  std::map<std::uint32_t, MainDict> mains;
  std::map<std::uint32_t, std::shared_ptr<WordList>> users;
  std::uint32_t nextRef = 1;
  WordList ignoreAll;
  std::unordered_map<std::string, std::string> changeOnce, changeAlways;  // UTF-8
  // Where the previous verify left off, for spell state "continues".
  bool contSentence = false;
  std::string contPrevWord;
  const char* resumeInsideWord = nullptr;  // text pointer that starts in the middle of a word
  // Suggestions not yet handed out (code-page strings).
  std::vector<std::string> pending;
  size_t pendingPos = 0;
  // Suggestions made, by the dictionaries asked and the word (code-page strings). Whatever changes
  // what Suggest finds (options, a dictionary opened or closed, a word added to or removed from
  // the custom dictionary, the ignore-all list or the change lists) clears it.
  std::unordered_map<std::string, std::vector<std::string>> suggested;

  bool Has(std::uint32_t o) const { return (options & OptionBit(static_cast<TSpellOption>(o))) != 0; }
  std::uint32_t NewRef() {
    while (nextRef == 0 || nextRef >= kUdrChangeOnce || mains.count(nextRef) || users.count(nextRef))
      nextRef = nextRef >= kUdrChangeOnce ? 1 : nextRef + 1;
    return nextRef++;
  }
};

std::mutex gSpellersMutex;
std::map<std::uint32_t, std::shared_ptr<Speller>> gSpellers;
std::uint32_t gNextSpellerId = 1;

std::shared_ptr<Speller> FindSpeller(std::uint32_t id) {
  std::lock_guard lock(gSpellersMutex);
  auto it = gSpellers.find(id);
  return it == gSpellers.end() ? nullptr : it->second;
}

std::string DecodeToUtf8(std::string_view bytes, const ByteMap& map) {
  Window w(bytes, map);
  std::string out;
  for (size_t i = 0; w.Has(i); ++i) AppendUtf8(out, w[i].c);
  return out;
}

std::u32string DecodeChars(std::string_view bytes, const ByteMap& map) {
  Window w(bytes, map);
  std::u32string out;
  for (size_t i = 0; w.Has(i); ++i) out += w[i].c;
  return out;
}

// UTF-8 to the speller's code page; false when the code page cannot hold the text.
bool EncodeFromUtf8(std::string_view utf8, int codePage, std::string& out) {
  bool lossy = false;
  out = platform::EncodeCodePage(platform::Utf8ToUtf16(utf8), codePage, &lossy);
  return !lossy;
}

// Strings one after the other, each zero-terminated, then an empty one. Returns how many of
// `list` from `first` were consumed (written or skipped because no buffer could ever hold them).
size_t FillStrings(TSpellReturnRecord* r, const std::vector<std::string>& list, size_t first, bool rate) {
  r->stringCount = 0;
  r->stringUsed = 0;
  const size_t cap = r->strings ? r->stringCapacity : 0;
  if (cap >= 1) r->strings[0] = '\0';
  size_t used = 0, i = first;
  for (; i < list.size(); ++i) {
    const std::string& s = list[i];
    if (s.size() + 2 > cap && r->stringCount == 0) continue;  // too long for this buffer at all
    if (used + s.size() + 2 > cap) break;
    std::memcpy(r->strings + used, s.data(), s.size());
    used += s.size();
    r->strings[used++] = '\0';
    if (rate && r->ratings && r->stringCount < r->ratingCapacity)
      r->ratings[r->stringCount] = static_cast<std::uint8_t>(std::max<int>(1, 255 - 16 * static_cast<int>(i)));
    ++r->stringCount;
  }
  if (cap >= 1) {
    r->strings[used] = '\0';
    r->stringUsed = static_cast<std::uint16_t>(used + 1);
  }
  return i - first;
}

// ---- word lists on disk -----------------------------------------------------------------------

std::uint32_t ReadWordFile(WordList& list, const ByteMap& map) {
  std::string content;
  try {
    content = platform::ReadFile(list.path);
  } catch (const std::exception&) {
    return kSecIOErrorUdr | kSecDetailNotFound;
  }
  std::string_view rest(content);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
  list.needsNewline = !content.empty() && content.back() != '\n';
  while (!rest.empty()) {
    const size_t nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    // Word files from the 8-bit world are in the language's code page.
    std::string word = IsValidUtf8(line) ? std::string(line) : DecodeToUtf8(line, map);
    if (list.set.insert(word).second) list.words.push_back(std::move(word));
  }
  return kOk;
}

bool AppendToFile(const std::string& path, const std::string& data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return false;
  size_t done = 0;
  bool ok = true;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) { ok = false; break; }
    done += static_cast<size_t>(n);
  }
  return ::close(fd) == 0 && ok;
}

std::uint32_t RewriteWordFile(WordList& list) {
  if (list.path.empty()) return kOk;
  std::string content;
  for (const auto& w : list.words) content += w + "\n";
  try {
    platform::WriteFileAtomic(list.path, content, platform::NewFile::kDurable);  // the user's own words
  } catch (const std::exception&) {
    return kSecIOErrorUdr | kSecDetailReadOnly;
  }
  list.needsNewline = false;
  return kOk;
}

std::uint32_t AddWord(WordList& list, std::string word) {
  if (word.empty() || word.find('\n') != std::string::npos || word.find('\r') != std::string::npos)
    return kSecModuleError | kSecDetailInvalidArgument;
  if (list.Contains(word)) return kOk;
  if (!list.path.empty()) {
    if (list.readOnly) return kSecIOErrorUdr | kSecDetailReadOnly;
    if (!AppendToFile(list.path, (list.needsNewline ? "\n" : "") + word + "\n"))
      return kSecIOErrorUdr | kSecDetailReadOnly;
    list.needsNewline = false;
  }
  list.set.insert(word);
  list.words.push_back(std::move(word));
  return kOk;
}

// ---- verify ----------------------------------------------------------------------------------

struct Problem {
  std::uint16_t status = kStatusNoErrors;
  size_t first = 0, last = 0;  // character indices, [first, last)
  std::string replacement;     // UTF-8, statuses 2 and 3

  Problem() = default;
  Problem(std::uint16_t s, size_t f, size_t l, std::string r = {}) : status(s), first(f), last(l), replacement(std::move(r)) {}
};

class Verifier {
public:
  Verifier(Speller& sp, std::vector<const MainDict*> mains, std::vector<const WordList*> users,
           std::string_view text)
      : sp_(sp), mains_(std::move(mains)), users_(std::move(users)), w_(text, sp.bytes) {}

  // Finds the first problem; fills `end` with the character index where scanning stopped.
  Problem Run(std::uint16_t state, const char* textPtr) {
    bool sentence = state == kStateSentence;
    std::string prevWord;        // folded; empty after punctuation
    bool hasPrevNonSpace = false;
    if (state == kStateContinue) {
      sentence = sp_.contSentence;
      prevWord = sp_.contPrevWord;
      hasPrevNonSpace = true;
    }
    size_t i = 0;
    if (state == kStateContinue && textPtr == sp_.resumeInsideWord)
      while (w_.Has(i) && IsWordChar(w_[i].c)) ++i;  // the rest of a word whose head was flagged
    sp_.resumeInsideWord = nullptr;

    size_t lastWordEnd = SIZE_MAX, lastWordLetters = 0;
    std::u32string lastWord;
    size_t runEnd = 0;  // end of the current non-blank run, known once runUrl is computed
    bool runUrl = false;
    bool inRun = false;

    while (w_.Has(i)) {
      const char32_t c = w_[i].c;
      if (IsSpace(c) || IsWhite(c)) {
        inRun = false;
        if (IsSpace(c)) {
          size_t j = i;
          while (w_.Has(j) && IsSpace(w_[j].c)) ++j;
          const bool hasNext = w_.Has(j) && !IsWhite(w_[j].c);
          if (hasPrevNonSpace && hasNext) {
            const bool extra = sp_.Has(spoFindExtraSpaces) && j - i >= 2;
            const bool beforePunct = sp_.Has(spoFindSpacesBeforePunc) && IsClosingPunct(w_[j].c);
            if (extra || beforePunct) {
              // The spaces and the character after them: the dialog keeps one space before it.
              if (IsWordChar(w_[j].c)) sp_.resumeInsideWord = textPtr + w_.EndOffset(j);
              return Finish({kStatusExtraSpaces, i, j + 1}, sentence, prevWord);
            }
          }
          i = j;
          continue;
        }
        if (IsLineBreak(c)) {
          sentence = true;
          hasPrevNonSpace = false;
        }
        ++i;
        continue;
      }
      if (!inRun) {
        inRun = true;
        runUrl = ScanRun(i, runEnd);
      }
      if (!IsWordChar(c)) {
        if (IsSentenceEnd(c) && EndsSentence(i) && !(c == '.' && lastWordEnd == i && IsAbbreviation(lastWord, lastWordLetters)))
          sentence = true;
        if (sp_.Has(spoFindSpacesAfterPunc) && IsOpeningPunct(c) && w_.Has(i + 1) && IsSpace(w_[i + 1].c)) {
          size_t j = i + 1;
          while (w_.Has(j) && IsSpace(w_[j].c)) ++j;
          if (w_.Has(j) && !IsWhite(w_[j].c)) {
            if (IsWordChar(w_[j].c)) sp_.resumeInsideWord = textPtr + w_.EndOffset(j);
            return Finish({kStatusExtraSpaces, i + 1, j + 1}, sentence, prevWord);
          }
        }
        prevWord.clear();
        hasPrevNonSpace = true;
        ++i;
        continue;
      }

      // A word.
      WordInfo& word = ParseWord(i);
      const size_t k = word.end;
      const std::string folded = sp_.Has(spoFindRepeatWord) && !runUrl ? Fold(word.text) : std::string();
      Problem p = CheckWord(word, runUrl, sentence, prevWord, lastWordEnd, lastWordLetters);
      if (p.status != kStatusNoErrors) {
        sentence = false;
        return Finish(p, sentence, folded);
      }
      if (word.abbreviation) {
        // "etc." does not end a sentence; its full stop belongs to the word.
        prevWord.clear();
        i = k + 1;
        lastWordEnd = SIZE_MAX;
      } else {
        prevWord = runUrl ? std::string() : folded;
        i = k;
        lastWordEnd = k;
      }
      lastWordLetters = word.letters;
      if (sp_.Has(spoFindUncappedSentences)) lastWord.assign(word.text);
      sentence = false;
      hasPrevNonSpace = true;
    }
    sp_.contSentence = sentence;
    sp_.contPrevWord = prevWord;
    return {};
  }

  // Byte extent of a problem.
  void Extent(const Problem& p, std::uint16_t& offset, std::uint16_t& length) {
    offset = static_cast<std::uint16_t>(w_[p.first].off);
    length = static_cast<std::uint16_t>(w_.EndOffset(p.last - 1) - w_[p.first].off);
  }

private:
  struct WordInfo {
    size_t begin = 0, end = 0;
    std::u32string text;  // without soft hyphens
    size_t letters = 0, digits = 0;
    bool hasLower = false, hyphenated = false, apostrophe = false, abbreviation = false;
  };

  Problem Finish(Problem p, bool sentence, const std::string& prevWord) {
    sp_.contSentence = sentence && p.status == kStatusExtraSpaces;
    sp_.contPrevWord = p.status == kStatusExtraSpaces ? std::string() : prevWord;
    return p;
  }

  // Whether the blank-free run starting at `i` looks like an address (URL, mail, www.).
  bool ScanRun(size_t i, size_t& end) {
    static constexpr char32_t kWww[] = U"www.";
    bool address = true;
    for (size_t n = 0; n < 4; ++n) address = address && w_.Has(i + n) && (w_[i + n].c | 0x20) == (kWww[n] | 0x20);
    size_t j = i;
    for (; w_.Has(j) && !IsWhite(w_[j].c); ++j) {
      const char32_t c = w_[j].c;
      if (c == '@' || (c == ':' && w_.At(j + 1) == '/' && w_.At(j + 2) == '/')) address = true;
    }
    end = j;
    return address;
  }

  // "e.g.", "U.S." and what the dictionary lists with its full stop do not end a sentence.
  bool IsAbbreviation(const std::u32string& word, size_t letters) const {
    if (letters == 1 && word.size() == 1) return true;
    // The dictionary accepts a full stop after any word it knows, so only a word it knows with
    // the stop but not without ("etc.") is an abbreviation.
    return sp_.Has(spoFindUncappedSentences) && word.size() <= kMaxWordChars && InDictionary(ToUtf8(word + U".")) &&
           !InDictionary(word);
  }

  bool EndsSentence(size_t i) {
    return !w_.Has(i + 1) || IsWhite(w_[i + 1].c) || IsClosingQuote(w_[i + 1].c) || IsSentenceEnd(w_[i + 1].c);
  }

  // Fills the reused word record, so words cost no allocation.
  WordInfo& ParseWord(size_t i) {
    WordInfo& word = word_;
    word.text.clear();
    word.letters = word.digits = 0;
    word.hasLower = word.hyphenated = word.apostrophe = word.abbreviation = false;
    word.begin = i;
    size_t k = i;
    while (w_.Has(k)) {
      const char32_t c = w_[k].c;
      if (IsWordChar(c)) {
        if (c != kSoftHyphen) {
          if (word.text.size() <= kMaxWordChars) word.text += c;
          if (IsDigit(c)) ++word.digits;
          else if (IsLetter(c)) {
            ++word.letters;
            if (IsLower(c)) word.hasLower = true;
          }
        }
        ++k;
      } else if ((IsHyphen(c) || IsApostrophe(c)) && w_.Has(k + 1) && IsWordChar(w_[k + 1].c)) {
        if (IsHyphen(c)) word.hyphenated = true;
        if (IsApostrophe(c)) word.apostrophe = true;
        if (word.text.size() <= kMaxWordChars) word.text += c;
        ++k;
      } else {
        break;
      }
    }
    word.end = k;
    return word;
  }

  bool InLists(const std::string& w) const {
    if (sp_.ignoreAll.Contains(w)) return true;
    for (const WordList* u : users_)
      if (u->Contains(w)) return true;
    return false;
  }

  bool InDictionary(const std::u32string& w) const {
    utf8_.clear();
    for (char32_t c : w) AppendUtf8(utf8_, c);
    return InDictionary(utf8_);
  }

  bool InDictionary(const std::string& w) const {
    for (const MainDict* m : mains_)
      if (m->dict->spell(w)) return true;
    return false;
  }

  // A listed word is accepted as written, and in capitalised or all-capital form.
  bool Known(const std::u32string& text) const {
    if (InDictionary(text)) return true;
    if (!AnyListWords()) return false;
    if (InLists(ToUtf8(text))) return true;
    {
      std::u32string lower, cap;
      for (char32_t c : text) lower += static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
      cap = lower;
      if (!cap.empty()) cap[0] = static_cast<char32_t>(u_toupper(static_cast<UChar32>(cap[0])));
      if (lower != text && InLists(ToUtf8(lower))) return true;
      if (cap != text && InLists(ToUtf8(cap))) return true;
    }
    return false;
  }

  bool AnyListWords() const {
    if (!sp_.ignoreAll.set.empty()) return true;
    for (const WordList* u : users_)
      if (!u->set.empty()) return true;
    return false;
  }

  bool Accepted(WordInfo& word) {
    if (word.text.size() > kMaxWordChars) return false;
    if (Known(word.text)) return true;
    if (w_.At(word.end) == '.') {
      std::u32string withStop = word.text + U".";
      if (InDictionary(ToUtf8(withStop))) {
        word.abbreviation = true;
        return true;
      }
    }
    if (word.apostrophe) {
      std::u32string plain = word.text;
      std::replace(plain.begin(), plain.end(), char32_t(0x2019), char32_t('\''));
      if (plain != word.text && Known(plain)) return true;
    }
    if (word.hyphenated) {
      size_t start = 0;
      bool all = true;
      for (size_t j = 0; j <= word.text.size(); ++j) {
        if (j == word.text.size() || IsHyphen(word.text[j])) {
          const std::u32string part = word.text.substr(start, j - start);
          if (!part.empty() && !Known(part)) {
            all = false;
            break;
          }
          start = j + 1;
        }
      }
      if (all) return true;
    }
    return false;
  }

  Problem CheckWord(WordInfo& word, bool runUrl, bool sentence, const std::string& prevWord,
                    size_t lastWordEnd, size_t lastWordLetters) {
    const size_t i = word.begin, k = word.end;
    if (runUrl) return {};
    if (sp_.Has(spoFindMissingSpaces) && i >= 1 && lastWordEnd == i - 1 && IsMissingSpacePunct(w_[i - 1].c) &&
        lastWordLetters >= 2 && word.letters >= 2)
      return {kStatusMissingSpace, i - 1, k};
    if (!sp_.changeAlways.empty() || !sp_.changeOnce.empty()) {
      const std::string utf8 = ToUtf8(word.text);
      if (auto it = sp_.changeAlways.find(utf8); it != sp_.changeAlways.end())
        return {kStatusReturningChangeAlways, i, k, it->second};
      if (auto it = sp_.changeOnce.find(utf8); it != sp_.changeOnce.end())
        return {kStatusReturningChangeOnce, i, k, it->second};
    }
    if (sp_.Has(spoFindRepeatWord) && word.letters > 0 && !prevWord.empty() && Fold(word.text) == prevWord)
      return {kStatusRepeatWord, i, k};
    const bool startsWithDigit = IsDigit(word.text.empty() ? 0 : word.text[0]);
    if (sp_.Has(spoFindInitialNumerals) && startsWithDigit && word.letters > 0)
      return {kStatusInitialNumeral, i, k};
    bool skip = word.letters == 0 ||
                (word.digits > 0 && sp_.Has(spoIgnoreMixedDigits)) ||
                (!word.hasLower && sp_.Has(spoIgnoreAllCaps)) ||
                (sp_.Has(spoIgnoreRomanNumerals) && IsRomanNumeral(word.text));
    if (!skip && !Accepted(word)) return {kStatusUnknownInputWord, i, k};
    if (sentence && sp_.Has(spoFindUncappedSentences) && !word.text.empty() &&
        IsLower(word.text[0]))
      return {kStatusNoSentenceStartCap, i, k};
    return {};
  }

  Speller& sp_;
  std::vector<const MainDict*> mains_;
  std::vector<const WordList*> users_;
  Window w_;
  WordInfo word_;
  mutable std::string utf8_;
};

// Resolves the dictionary lists of an input record; error code or 0.
std::uint32_t ResolveLists(Speller& sp, const TSpellInputRecord& in, std::vector<const MainDict*>& mains,
                           std::vector<const WordList*>& users) {
  if (in.mainCount == 0 || !in.mainDicts) return kSecModuleError | kSecDetailInvalidDictionary;
  for (std::uint16_t i = 0; i < in.mainCount; ++i) {
    auto it = sp.mains.find(in.mainDicts[i]);
    if (it == sp.mains.end()) return kSecModuleError | kSecDetailInvalidDictionary;
    mains.push_back(&it->second);
  }
  if (in.userCount > 0 && !in.userDicts) return kSecModuleError | kSecDetailInvalidArgument;
  for (std::uint16_t i = 0; i < in.userCount; ++i) {
    const std::uint32_t ref = in.userDicts[i];
    if (ref == kUdrIgnoreAlways) {
      users.push_back(&sp.ignoreAll);
    } else if (ref == kUdrChangeOnce || ref == kUdrChangeAlways) {
      // the change lists always apply
    } else {
      auto it = sp.users.find(ref);
      if (it == sp.users.end()) return kSecModuleError | kSecDetailInvalidDictionary;
      users.push_back(it->second.get());
    }
  }
  return kOk;
}

std::uint32_t Verify(Speller& sp, const TSpellInputRecord& in, TSpellReturnRecord& out) {
  std::vector<const MainDict*> mains;
  std::vector<const WordList*> users;
  if (std::uint32_t e = ResolveLists(sp, in, mains, users)) return e;
  Verifier v(sp, std::move(mains), std::move(users), std::string_view(in.text, in.length));
  const Problem p = v.Run(in.spellState, in.text);
  out.status = p.status;
  out.errorOffset = out.errorLength = 0;
  std::vector<std::string> strings;
  if (p.status != kStatusNoErrors) {
    v.Extent(p, out.errorOffset, out.errorLength);
    std::string encoded;
    if (!p.replacement.empty()) {
      EncodeFromUtf8(p.replacement, sp.bytes.codePage, encoded);
      strings.push_back(encoded);
    }
  }
  FillStrings(&out, strings, 0, false);
  return kOk;
}

// The key of a suggestion in Speller::suggested: the dictionaries the input names and its word.
std::string SuggestionKey(const TSpellInputRecord& in) {
  std::string key;
  const auto add = [&key](std::uint32_t v) { key.append(reinterpret_cast<const char*>(&v), sizeof v); };
  add(in.mainCount);
  for (std::uint16_t i = 0; i < in.mainCount; ++i) add(in.mainDicts[i]);
  add(in.userCount);
  for (std::uint16_t i = 0; i < in.userCount; ++i) add(in.userDicts[i]);
  key.append(in.text, in.length);
  return key;
}

std::uint32_t Suggest(Speller& sp, const TSpellInputRecord& in, TSpellReturnRecord& out) {
  std::vector<const MainDict*> mains;
  std::vector<const WordList*> users;
  if (std::uint32_t e = ResolveLists(sp, in, mains, users)) return e;
  std::string key = SuggestionKey(in);
  if (auto it = sp.suggested.find(key); it != sp.suggested.end()) {
    sp.pending = it->second;
    sp.pendingPos = 0;
    return kOk;
  }
  const std::u32string chars = DecodeChars(std::string_view(in.text, in.length), sp.bytes);
  std::u32string word;
  for (char32_t c : chars)
    if (c != kSoftHyphen) word += c;
  const std::string utf8 = ToUtf8(word);
  std::vector<std::string> found;  // UTF-8
  if (auto it = sp.changeAlways.find(utf8); it != sp.changeAlways.end()) found.push_back(it->second);
  if (auto it = sp.changeOnce.find(utf8); it != sp.changeOnce.end()) found.push_back(it->second);
  if (!word.empty() && word.size() <= kMaxWordChars) {
    for (const MainDict* m : mains) {
      const std::vector<std::string> more = m->dict->Suggestions(utf8);
      found.insert(found.end(), more.begin(), more.end());
    }
    if (sp.Has(spoSuggestFromUserDict)) {
      const std::string folded = Fold(word);
      for (const WordList* u : users)
        for (const std::string& candidate : u->words) {
          const size_t a = candidate.size(), b = folded.size();
          if ((a > b ? a - b : b - a) > 2) continue;
          if (EditDistance(FoldUtf8(candidate), folded) <= 2) found.push_back(candidate);
        }
    }
  }
  sp.pending.clear();
  sp.pendingPos = 0;
  std::unordered_set<std::string> seen;
  for (const std::string& s : found) {
    std::string encoded;
    if (s == utf8 || !seen.insert(s).second) continue;
    if (EncodeFromUtf8(s, sp.bytes.codePage, encoded)) sp.pending.push_back(std::move(encoded));
  }
  if (sp.suggested.size() >= 10000) sp.suggested.clear();
  sp.suggested.emplace(std::move(key), sp.pending);
  return kOk;
}

std::uint32_t HandOutSuggestions(Speller& sp, TSpellReturnRecord& out) {
  out.errorOffset = out.errorLength = 0;
  const size_t used = FillStrings(&out, sp.pending, sp.pendingPos, sp.Has(spoRateSuggestions));
  sp.pendingPos += used;
  out.status = out.stringCount == 0 ? kStatusNoMoreSuggestions : kStatusNoErrors;
  if (out.stringCount == 0) {
    sp.pending.clear();
    sp.pendingPos = 0;
  }
  return kOk;
}

std::uint32_t Guarded(auto&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return kSecOutOfMemory;
  } catch (...) {
    return kSecModuleError | kSecDetailInvalidArgument;
  }
}

int CodePageOfLanguage(std::uint32_t lcid) {
  const int cp = platform::AnsiCodePageOfLangId(static_cast<std::uint16_t>(lcid));
  return cp != 0 ? cp : platform::AnsiCodePage();
}

// Converts a zero-terminated argument word in the speller's code page.
std::string ArgWord(const Speller& sp, const char* word) {
  return DecodeToUtf8(std::string_view(word, ::strnlen(word, 65535)), sp.bytes);
}

WordList* FindUserList(Speller& sp, std::uint32_t udr) {
  if (udr == kUdrIgnoreAlways) return &sp.ignoreAll;
  auto it = sp.users.find(udr);
  return it == sp.users.end() ? nullptr : it->second.get();
}

#define WITH_SPELLER(id)                                   \
  const std::shared_ptr<Speller> spPtr = FindSpeller(id);  \
  if (!spPtr) return kSecModuleError | kSecDetailInvalidId; \
  Speller& sp = *spPtr;                                    \
  std::lock_guard spLock(sp.mutex)

}  // namespace

std::uint32_t SpellVer(std::uint32_t* version, std::uint32_t* engine, std::uint32_t* spellType) {
  if (version) *version = vorlect::spell::engine::kEngineVersion;
  if (engine) *engine = vorlect::spell::engine::kEngineId;
  if (spellType) *spellType = 1;
  return kOk;
}

std::uint32_t SpellInit(std::uint32_t* spellerId, const TSpellSpecialChars* special) {
  if (!spellerId) return kSecModuleError | kSecDetailInvalidArgument;
  return Guarded([&] {
    auto sp = std::make_shared<Speller>();
    if (special) sp->special = *special;
    sp->bytes.Build(platform::AnsiCodePage(), sp->special);
    std::lock_guard lock(gSpellersMutex);
    while (gNextSpellerId == 0 || gSpellers.count(gNextSpellerId)) ++gNextSpellerId;
    *spellerId = gNextSpellerId++;
    gSpellers[*spellerId] = std::move(sp);
    return kOk;
  });
}

std::uint32_t SpellOptions(std::uint32_t spellerId, std::uint32_t options) {
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  sp.options = options;
  return kOk;
}

std::uint32_t SpellCheck(std::uint32_t spellerId, std::uint32_t command, TSpellInputRecord* input,
                         TSpellReturnRecord* result) {
  if (!input || !result || (input->length > 0 && !input->text)) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  return Guarded([&]() -> std::uint32_t {
    switch (command) {
      case kCmdVerify: return Verify(sp, *input, *result);
      case kCmdSuggest:
        if (std::uint32_t e = Suggest(sp, *input, *result)) return e;
        return HandOutSuggestions(sp, *result);
      case kCmdSuggestMore: return HandOutSuggestions(sp, *result);
      default: return kSecModuleError | kSecDetailInvalidArgument;
    }
  });
}

std::uint32_t SpellTerminate(std::uint32_t spellerId, std::uint32_t force) {
  std::shared_ptr<Speller> sp;
  {
    std::lock_guard lock(gSpellersMutex);
    auto it = gSpellers.find(spellerId);
    if (it == gSpellers.end()) return kSecModuleError | kSecDetailInvalidId;
    sp = std::move(it->second);
    gSpellers.erase(it);
  }
  // Dictionaries go with the last reference; a call still running on another thread holds one.
  return kOk;
}

std::uint32_t SpellVerifyMdr(const char* mainPath, std::uint32_t expectedLanguage, std::uint32_t* language) {
  if (!mainPath) return kSecModuleError | kSecDetailInvalidArgument;
  return Guarded([&]() -> std::uint32_t {
    const std::string aff = AffPathOf(mainPath);
    const std::string dic = aff.substr(0, aff.size() - 4) + ".dic";
    if (::access(aff.c_str(), R_OK) != 0 || ::access(dic.c_str(), R_OK) != 0)
      return kSecIOErrorMdr | kSecDetailNotFound;
    std::string stem = std::filesystem::path(aff).stem().string();
    std::replace(stem.begin(), stem.end(), '-', '_');
    const std::uint32_t lcid = uloc_getLCID(stem.c_str());
    if (language) *language = lcid ? lcid : expectedLanguage;
    return kOk;
  });
}

std::uint32_t SpellOpenMdr(std::uint32_t spellerId, const char* mainPath, const char* exceptionPath,
                           std::uint32_t createException, std::uint32_t cache, std::uint32_t expectedLanguage,
                           TSpellMainDictRecord* record) {
  if (!mainPath || !record) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  return Guarded([&]() -> std::uint32_t {
    const std::string aff = AffPathOf(mainPath);
    if (::access(aff.c_str(), R_OK) != 0) return kSecIOErrorMdr | kSecDetailNotFound;
    MainDict main;
    try {
      main.dict = LoadDictionary(aff);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception&) {
      return kSecIOErrorMdr | kSecDetailInvalidDictionary;
    }
    main.language = static_cast<std::uint16_t>(expectedLanguage);
    // Texts come in the code page of the language the caller expects.
    sp.bytes.Build(CodePageOfLanguage(expectedLanguage), sp.special);
    const std::uint32_t ref = sp.NewRef();
    sp.mains[ref] = std::move(main);
    record->reference = ref;
    record->language = static_cast<std::uint16_t>(expectedLanguage);
    record->exceptionReference = 0;
    return kOk;
  });
}

std::uint32_t SpellOpenUdr(std::uint32_t spellerId, const char* userPath, std::uint32_t create,
                           std::uint32_t dictType, std::uint32_t* userDict, std::uint32_t* readOnly) {
  if (!userPath || !*userPath || !userDict) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  return Guarded([&]() -> std::uint32_t {
    const std::string path(userPath);
    for (const auto& [ref, list] : sp.users)
      if (list->path == path) {
        *userDict = ref;
        if (readOnly) *readOnly = list->readOnly;
        return kOk;
      }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
      if (!create) return kSecIOErrorUdr | kSecDetailNotFound;
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd < 0 && errno != EEXIST) return kSecIOErrorUdr | kSecDetailReadOnly;
      if (fd >= 0) ::close(fd);
    } else if (!S_ISREG(st.st_mode)) {
      return kSecIOErrorUdr | kSecDetailInvalidDictionary;
    }
    auto list = std::make_shared<WordList>();
    list->path = path;
    if (std::uint32_t e = ReadWordFile(*list, sp.bytes)) return e;
    list->readOnly = ::access(path.c_str(), W_OK) != 0;
    const std::uint32_t ref = sp.NewRef();
    sp.users[ref] = list;
    *userDict = ref;
    if (readOnly) *readOnly = list->readOnly;
    return kOk;
  });
}

std::uint32_t SpellAddUdr(std::uint32_t spellerId, std::uint32_t userDict, const char* word) {
  if (!word) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  return Guarded([&]() -> std::uint32_t {
    WordList* list = FindUserList(sp, userDict);
    if (!list) return kSecModuleError | kSecDetailInvalidDictionary;
    return AddWord(*list, ArgWord(sp, word));
  });
}

std::uint32_t SpellAddChangeUdr(std::uint32_t spellerId, std::uint32_t userDict, const char* word,
                                const char* change) {
  if (!word || !change || !*word) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  return Guarded([&]() -> std::uint32_t {
    auto& map = userDict == kUdrChangeOnce ? sp.changeOnce : sp.changeAlways;
    if (userDict != kUdrChangeOnce && userDict != kUdrChangeAlways)
      return kSecModuleError | kSecDetailInvalidDictionary;
    map[ArgWord(sp, word)] = ArgWord(sp, change);
    return kOk;
  });
}

std::uint32_t SpellDelUdr(std::uint32_t spellerId, std::uint32_t userDict, const char* word) {
  if (!word) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  return Guarded([&]() -> std::uint32_t {
    const std::string w = ArgWord(sp, word);
    if (userDict == kUdrChangeOnce) return sp.changeOnce.erase(w), kOk;
    if (userDict == kUdrChangeAlways) return sp.changeAlways.erase(w), kOk;
    WordList* list = FindUserList(sp, userDict);
    if (!list) return kSecModuleError | kSecDetailInvalidDictionary;
    if (!list->set.erase(w)) return kOk;
    list->words.erase(std::remove(list->words.begin(), list->words.end(), w), list->words.end());
    if (list->readOnly) return kSecIOErrorUdr | kSecDetailReadOnly;
    return RewriteWordFile(*list);
  });
}

std::uint32_t SpellClearUdr(std::uint32_t spellerId, std::uint32_t userDict) {
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  return Guarded([&]() -> std::uint32_t {
    if (userDict == kUdrChangeOnce) return sp.changeOnce.clear(), kOk;
    if (userDict == kUdrChangeAlways) return sp.changeAlways.clear(), kOk;
    WordList* list = FindUserList(sp, userDict);
    if (!list) return kSecModuleError | kSecDetailInvalidDictionary;
    if (list->readOnly) return kSecIOErrorUdr | kSecDetailReadOnly;
    list->words.clear();
    list->set.clear();
    return RewriteWordFile(*list);
  });
}

std::uint32_t SpellGetSizeUdr(std::uint32_t spellerId, std::uint32_t userDict, std::uint32_t* count) {
  if (!count) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  if (userDict == kUdrChangeOnce) return *count = static_cast<std::uint32_t>(sp.changeOnce.size()), kOk;
  if (userDict == kUdrChangeAlways) return *count = static_cast<std::uint32_t>(sp.changeAlways.size()), kOk;
  WordList* list = FindUserList(sp, userDict);
  if (!list) return kSecModuleError | kSecDetailInvalidDictionary;
  *count = static_cast<std::uint32_t>(list->words.size());
  return kOk;
}

std::uint32_t SpellGetListUdr(std::uint32_t spellerId, std::uint32_t userDict, std::uint32_t first,
                              TSpellReturnRecord* result) {
  if (!result) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  return Guarded([&]() -> std::uint32_t {
    WordList* list = FindUserList(sp, userDict);
    if (!list) return kSecModuleError | kSecDetailInvalidDictionary;
    std::vector<std::string> encoded;
    for (size_t i = first; i < list->words.size(); ++i) {
      std::string e;
      EncodeFromUtf8(list->words[i], sp.bytes.codePage, e);
      encoded.push_back(std::move(e));
    }
    FillStrings(result, encoded, 0, false);
    result->errorOffset = result->errorLength = 0;
    result->status = result->stringCount == 0 ? kStatusNoMoreSuggestions : kStatusNoErrors;
    return kOk;
  });
}

std::uint32_t SpellCloseMdr(std::uint32_t spellerId, TSpellMainDictRecord* record) {
  if (!record) return kSecModuleError | kSecDetailInvalidArgument;
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  return sp.mains.erase(record->reference) ? kOk : (kSecModuleError | kSecDetailInvalidDictionary);
}

std::uint32_t SpellCloseUdr(std::uint32_t spellerId, std::uint32_t userDict, std::uint32_t force) {
  WITH_SPELLER(spellerId);
  sp.suggested.clear();
  return sp.users.erase(userDict) ? kOk : (kSecModuleError | kSecDetailInvalidDictionary);
}
