// The translation store: TBaseVorlect holds one text per language for every translatable text of
// its owner form (Words), per-language positions and fonts, and answers look-ups of numbered
// strings. TLanguageDLLs names the string module all translation components read from.
//
// Words is a flat list of entries of Languages + 1 lines: a key (%Form%, a component name, a
// single double quote for a further entry of the same component, ".Hint for its hint, or a string
// identifier), then one text per language. Every read of it is bounds-checked: a malformed table
// (an incomplete last entry, a line count that is not a multiple of the entry size) is passed
// over, never read past.
#pragma once

#include "host/framework/Classes.h"
#include "host/framework/TypInfo.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlect::runtime {

using host::TComponent;
using host::TObject;
using host::TPersistent;
using host::TStringList;
using host::TStrings;

class TStringGridAccess;

enum TSwitchPositions { spNone, spControlsOnly, spFormAndControls };
enum TTranslateEdits { teNever, teReadOnly, teAlways };
const host::EnumInfo& SwitchPositionsInfo();
const host::EnumInfo& TranslateEditsInfo();

using TBeforeLanguageChange = host::TEvent<TObject*, std::uint8_t, bool&>;
using TAfterLanguageChanged = host::TEvent<TObject*, std::uint8_t>;
using TIdNotFoundError = host::TEvent<TObject*, const std::string&, std::string&>;

// The system's own message texts.
inline constexpr const char* kMsgAtLeastOneLanguage = "You have to provide at least 1 language.";
inline constexpr const char* kMsgDecreaseActive =
    "You are decreasing the number of languages.\rEntries for the removed language will be lost.\r"
    "The currently displayed language will be deleted, too.\r\rDo you really want to continue?";
inline constexpr const char* kMsgDecrease =
    "You are decreasing the number of languages.\rEntries for the removed language will be lost.\r\r"
    "Continue?";
inline constexpr const char* kMsgDecreaseRefused =
    "The currently displayed language could not be left.\r"
    "The number of languages stays unchanged.";
inline constexpr const char* kMsgValueTooHigh =
    "Value must not be higher than\rnumber of available languages.";
inline constexpr const char* kMsgDropPositions =
    "You are going to drop the positions.\rCurrently different values are stored for each "
    "language,\rDo you want to drop these values?";
inline constexpr const char* kMsgDropFormPositions =
    "You are going to drop the positions for the form.\rCurrently different values are stored "
    "for each language.\rDo you want to drop these values?";
inline constexpr const char* kMsgCancelled = "Cancelled.";

inline constexpr const char* kVLVersion = "3.76";
inline constexpr std::string_view kFormKey = "%Form%";
inline constexpr std::string_view kContinuationKey = "\"";
inline constexpr std::string_view kHintKey = "\".Hint";

// Does the object's class publish a property of that name (any type, ASCII case ignored).
bool PropertyExists(const TPersistent* object, std::string_view name);

// The locale's lower-casing of an 8-bit text in the configured ANSI code page: each character is
// decoded, lower-cased by the Unicode simple case mapping and encoded again (ASCII directly). A
// character whose lower case the code page lacks stays as it was.
std::string AnsiLowerCase(std::string_view text);

// Pascal's StrToInt: optional blanks and sign, decimal digits or $hex, 32-bit range. Throws
// host::EConvertError "'text' is not a valid integer value".
int StrToInt(std::string_view text);

class TBaseVorlect : public host::TComponent {
  VORLECT_CLASS(TBaseVorlect, host::TComponent)
public:
  explicit TBaseVorlect(TComponent* owner);
  ~TBaseVorlect() override;

  // About: always the version; a written value is kept (cut to 5 characters) and never read.
  std::string GetVLVersion() const { return kVLVersion; }
  void SetAbout(const std::string& value) { about_ = value.substr(0, 5); }

  TBeforeLanguageChange BeforeLanguageChange;
  TAfterLanguageChanged AfterLanguageChanged;
  TIdNotFoundError IdNotFoundError;

  std::uint8_t DefaultLanguage() const { return defaultLanguage_; }
  void SetDefaultLanguage(std::uint8_t value);
  bool DefaultEnabled() const { return defaultEnabled_; }
  void SetDefaultEnabled(bool value);
  std::uint8_t Languages() const { return languages_; }
  void SetLanguages(std::uint8_t value);
  std::uint8_t ActiveLanguage() const { return activeLanguage_; }
  void SetActiveLanguage(std::uint8_t value);

  // The editor changes Words in place; the component keeps its look-up index in step.
  TStringList* Words() const { return words_.get(); }
  // Takes the list itself (null: a new empty one).
  void SetWords(std::unique_ptr<TStringList> list);
  // Copies the lines (the published property's setter: generic callers keep their object).
  void AssignWords(TStrings* lines);
  TStringList* DoNot() const { return doNot_.get(); }
  void SetDoNot(TStrings* lines);
  TSwitchPositions SwitchPositions() const { return switchPositions_; }
  void SetSwitchPositions(TSwitchPositions value);
  TTranslateEdits TranslateEdits() const { return translateEdits_; }
  void SetTranslateEdits(TTranslateEdits value) { translateEdits_ = value; }
  TStringList* Positions() const { return positions_.get(); }
  void SetPositions(TStrings* lines);
  TStringList* CharSets() const { return charSets_.get(); }
  void SetCharSets(TStrings* lines);

  // While true no position is recorded (the editor's compress-positions command sets it).
  bool PositionsLocked = false;

  // Applies the active language's texts of `component` from the entry at `index` and moves
  // `index` past the entries it used; on an error `index` is left unchanged.
  virtual void ReadComponent(TComponent* component, int& index) = 0;
  // Captures the component's texts as new rows of `grid` from `row` (its last, empty row).
  virtual void WriteComponent(TComponent* component, int row, TStringGridAccess& grid) = 0;
  bool HandleThisComponent(TComponent* component) const;

  void GetTextEx(std::string_view id, std::uint8_t language, std::string& res);
  void GetText(std::string_view id, std::string& res) { GetTextEx(id, activeLanguage_, res); }
  std::string GetText(std::string_view id) {
    std::string res;
    GetText(id, res);
    return res;
  }
  // Replaces the table with the owner form's block of the string module LanguageDLL.
  void ReadFromDLL();

  void WriteComponentPosition(TComponent* component, int isForm);
  void ReadComponentPosition(TComponent* component, int& index);
  void CopyForm_to_CharSet();
  void CopyCharSet_to_Form();
  static bool PositionsDiffer(const std::string& line);

  void Loaded() override;

protected:
  // What a class publishes that applying and capturing ask about, looked up once per class.
  struct ClassFacts {
    const host::PropInfo* action = nullptr;
    const host::PropInfo* readOnly = nullptr;
    bool editText = false;                     // publishes Text or Lines
    const host::PropInfo* caption = nullptr;   // string properties only
    const host::PropInfo* text = nullptr;
    const host::PropInfo* hint = nullptr;      // any published Hint
    int row = -1;                              // the class-table row a descendant caches
    bool maskEdit = false;
    // Registered paths (VLTranslatable.h): more texts to take, texts never to take.
    std::vector<std::string> translate, never;
    unsigned rulesGeneration = 0;
  };
  ClassFacts& Facts(const TComponent* component) const;

  // The working-index steps of applying (bounds-checked). NextText's text lives in Words: use it
  // before Words changes.
  const std::string* NextText(int& i) const;
  bool HasActiveLine(int i) const;
  bool HasLine(int i) const { return i >= 0 && i < words_->Count(); }
  bool ContinuationFollows(int i) const;
  bool IsHintKeyAt(int i) const;
  int EntrySize() const { return languages_ + 1; }

private:
  class WordList;
  void AdoptWords(std::unique_ptr<TStringList> list);
  void WordsChanged() { indexValid_ = false; }
  void ReshapeEntries(int newLanguages);
  const std::string* TextAt(int entry, int language) const;
  int FindEntry(const std::string& lowerKey);
  int FindPositionLine(const std::string& key) const;
  void SwitchTo(std::uint8_t value);

  std::string about_;
  std::uint8_t defaultLanguage_ = 0;
  bool defaultEnabled_ = false;
  std::uint8_t languages_ = 2;
  std::uint8_t activeLanguage_ = 0;
  std::unique_ptr<TStringList> words_;
  std::unique_ptr<TStringList> doNot_;
  TSwitchPositions switchPositions_ = spNone;
  TTranslateEdits translateEdits_ = teReadOnly;
  std::unique_ptr<TStringList> positions_;
  std::unique_ptr<TStringList> charSets_;

  // Look-up index: lower-cased key -> first whole entry with it. Rebuilt when Words changed.
  std::unordered_map<std::string, int> index_;
  bool indexValid_ = false;
  int indexedLanguages_ = -1;
  mutable std::unordered_map<const host::ClassInfo*, ClassFacts> facts_;
  // Positions' last line per key, kept only during a language switch.
  std::unordered_map<std::string, int>* positionIndex_ = nullptr;
};

class TLanguageDLLs : public host::TComponent {
  VORLECT_CLASS(TLanguageDLLs, host::TComponent)
public:
  explicit TLanguageDLLs(TComponent* owner) : TComponent(owner) {}
  std::string GetDLL() const;
  // Sets LanguageDLL; when the file exists every live translation component reads its block.
  void SetDLL(const std::string& value);
};

// Unit-level state. GlobalList holds every live translation component (not owned), in creation
// order; GlobalLang is the language forms take when they finish loading; LanguageDLL the path of
// the string module.
const std::vector<TBaseVorlect*>& GlobalList();
extern std::uint8_t GlobalLang;
extern std::string LanguageDLL;

}  // namespace vorlect::runtime
