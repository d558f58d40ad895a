#include "runtime/VLBase.h"

#include "host/ports/Ports.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/pe/StringModule.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <mutex>
#include <unordered_set>

#include <unicode/uchar.h>

namespace vorlect::runtime {

using host::EConvertError;
using host::GetObjectProp;
using host::GetOrdProp;
using host::SetOrdProp;
using namespace vorlect::ports;

std::uint8_t GlobalLang = 0;
std::string LanguageDLL;

namespace {

std::vector<TBaseVorlect*>& LiveList() {
  static std::vector<TBaseVorlect*> list;
  return list;
}

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsSingleByteCodePage(int cp) { return cp == 874 || (cp >= 1250 && cp <= 1258) || cp == 28591; }

// Byte -> lower-case byte of a single-byte code page, computed once per code page.
const std::array<char, 256>& LowerTable(int codePage) {
  static std::mutex lock;
  static std::unordered_map<int, std::unique_ptr<std::array<char, 256>>> tables;
  std::lock_guard guard(lock);
  auto& slot = tables[codePage];
  if (!slot) {
    slot = std::make_unique<std::array<char, 256>>();
    for (int b = 0; b < 256; ++b) {
      char c = static_cast<char>(b);
      std::u16string u = platform::DecodeCodePage(std::string_view(&c, 1), codePage);
      char result = c;
      if (u.size() == 1) {
        char16_t lower = static_cast<char16_t>(u_tolower(u[0]));
        if (lower != u[0]) {
          bool lossy = false;
          std::string back = platform::EncodeCodePage(std::u16string_view(&lower, 1), codePage, &lossy);
          if (!lossy && back.size() == 1) result = back[0];
        }
      }
      (*slot)[static_cast<std::size_t>(b)] = result;
    }
  }
  return *slot;
}

std::string AsciiLower(std::string_view text) {
  std::string r(text);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

int Message(const char* text, MsgDlgType type, ButtonSet buttons) {
  return ports::MessageDlg(text, type, buttons);
}

// Splits a Positions line the framework's comma-text way.
std::vector<std::string> SplitCommaText(const std::string& line) {
  TStringList parts;
  parts.SetCommaText(line);
  std::vector<std::string> r;
  r.reserve(static_cast<std::size_t>(parts.Count()));
  for (int i = 0; i < parts.Count(); ++i) r.push_back(parts.Strings(i));
  return r;
}

std::string JoinCommaText(const std::vector<std::string>& values) {
  TStringList parts;
  for (const std::string& v : values) parts.Add(v);
  return parts.CommaText();
}

// The text before the first comma of a Positions line: its key.
std::string_view LineKey(std::string_view line) {
  auto comma = line.find(',');
  return comma == std::string_view::npos ? std::string_view{} : line.substr(0, comma);
}

std::string FileNamePart(std::string_view path) {
  auto sep = path.find_last_of("\\/:");
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

}  // namespace

const std::vector<TBaseVorlect*>& GlobalList() { return LiveList(); }

const host::EnumInfo& SwitchPositionsInfo() {
  static const host::EnumInfo info{"TSwitchPositions", {"spNone", "spControlsOnly", "spFormAndControls"}};
  return info;
}

const host::EnumInfo& TranslateEditsInfo() {
  static const host::EnumInfo info{"TTranslateEdits", {"teNever", "teReadOnly", "teAlways"}};
  return info;
}

bool PropertyExists(const TPersistent* object, std::string_view name) {
  return object && object->ClassType().FindProperty(name) != nullptr;
}

std::string AnsiLowerCase(std::string_view text) {
  if (IsAscii(text)) return AsciiLower(text);
  const int cp = platform::AnsiCodePage();
  if (IsSingleByteCodePage(cp)) {
    const auto& table = LowerTable(cp);
    std::string r(text);
    for (char& c : r) c = table[static_cast<unsigned char>(c)];
    return r;
  }
  std::u16string u = platform::DecodeCodePage(text, cp);
  for (char16_t& c : u)
    if (c < 0xD800 || c > 0xDFFF) c = static_cast<char16_t>(u_tolower(c));
  bool lossy = false;
  std::string r = platform::EncodeCodePage(u, cp, &lossy);
  return lossy ? AsciiLower(text) : r;
}

int StrToInt(std::string_view text) {
  auto fail = [&]() -> int {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
  };
  std::size_t p = 0;
  while (p < text.size() && text[p] == ' ') ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '-' || text[p] == '+')) negative = text[p++] == '-';
  int base = 10;
  if (p < text.size() && text[p] == '$') {
    base = 16;
    ++p;
  } else if (p + 1 < text.size() && text[p] == '0' && (text[p + 1] == 'x' || text[p + 1] == 'X')) {
    base = 16;
    p += 2;
  }
  if (p >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[p]))) return fail();
  std::int64_t value = 0;
  const char* first = text.data() + p;
  const char* last = text.data() + text.size();
  auto [end, ec] = std::from_chars(first, last, value, base);
  if (ec != std::errc() || end != last) return fail();
  if (negative) value = -value;
  if (base == 16 && value > INT32_MAX && value <= UINT32_MAX) value = static_cast<std::int32_t>(value);
  if (value < INT32_MIN || value > INT32_MAX) return fail();
  return static_cast<int>(value);
}

// ---- the Words list --------------------------------------------------------------------------

// Tells its component of every change, also inside BeginUpdate/EndUpdate, so that the look-up
// index never serves a stale table.
class TBaseVorlect::WordList : public TStringList {
public:
  explicit WordList(TBaseVorlect* owner) : owner_(owner) {}

protected:
  void Changing() override {
    owner_->WordsChanged();
    TStringList::Changing();
  }
  void Changed() override {
    owner_->WordsChanged();
    TStringList::Changed();
  }

private:
  TBaseVorlect* owner_;
};

// ---- construction ----------------------------------------------------------------------------

TBaseVorlect::TBaseVorlect(TComponent* owner)
    : TComponent(owner),
      words_(std::make_unique<WordList>(this)),
      doNot_(std::make_unique<TStringList>()),
      positions_(std::make_unique<TStringList>()),
      charSets_(std::make_unique<TStringList>()) {
  LiveList().push_back(this);
}

TBaseVorlect::~TBaseVorlect() {
  auto& list = LiveList();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TBaseVorlect::AdoptWords(std::unique_ptr<TStringList> list) {
  if (!list) list = std::make_unique<WordList>(this);
  if (!dynamic_cast<WordList*>(list.get())) {
    // A plain list tells of changes only through its events (and not while updating, which
    // FindEntry checks): chain onto whatever handlers it has.
    auto chain = [this](host::TNotifyEvent& event) {
      auto previous = event.Code;
      event.Code = [this, previous](TObject* sender) {
        WordsChanged();
        if (previous) previous(sender);
      };
    };
    chain(list->OnChanging);
    chain(list->OnChange);
  }
  words_ = std::move(list);
  WordsChanged();
}

void TBaseVorlect::SetWords(std::unique_ptr<TStringList> list) {
  if (list.get() == words_.get()) {
    (void)list.release();  // already ours
    return;
  }
  AdoptWords(std::move(list));
}

namespace {
// The published list setters copy the given lines into the component's own list.
void CopyLines(TStringList& into, TStrings* from) {
  if (from == &into) return;
  if (from) into.Assign(*from);
  else into.Clear();
}
}  // namespace

void TBaseVorlect::AssignWords(TStrings* lines) { CopyLines(*words_, lines); }
void TBaseVorlect::SetDoNot(TStrings* lines) { CopyLines(*doNot_, lines); }
void TBaseVorlect::SetPositions(TStrings* lines) { CopyLines(*positions_, lines); }
void TBaseVorlect::SetCharSets(TStrings* lines) { CopyLines(*charSets_, lines); }

// ---- the store -------------------------------------------------------------------------------

void TBaseVorlect::ReshapeEntries(int newLanguages) {
  const int count = words_->Count();
  const int stride = EntrySize();
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count / stride + 1) * static_cast<std::size_t>(newLanguages + 1));
  for (int start = 0; start < count; start += stride) {
    const int end = std::min(start + stride, count);
    if (newLanguages < languages_) {
      for (int i = start; i < std::min(end, start + 1 + newLanguages); ++i) lines.push_back(words_->Strings(i));
    } else {
      for (int i = start; i < end; ++i) lines.push_back(words_->Strings(i));
      lines.insert(lines.end(), static_cast<std::size_t>(newLanguages - languages_), "?");
    }
  }
  words_->BeginUpdate();
  try {
    words_->Clear();
    for (const std::string& line : lines) words_->Add(line);
  } catch (...) {
    words_->EndUpdate();
    throw;
  }
  words_->EndUpdate();
}

void TBaseVorlect::SetLanguages(std::uint8_t value) {
  if (value == languages_) return;
  const bool loading = InState(host::csLoading);
  if (value == 0) {
    // A component has at least one language; a stored 0 is refused (the file keeps it).
    if (loading) throw host::EPropertyError("Languages must be at least 1");
    Message(kMsgAtLeastOneLanguage, mtInformation, {mbOK});
    return;
  }
  if (value < languages_) {
    if (!loading) {
      if (activeLanguage_ >= value) {
        if (Message(kMsgDecreaseActive, mtConfirmation, {mbYes, mbNo}) != mrYes) return;
        SetActiveLanguage(0);
        if (activeLanguage_ >= value) {
          // A BeforeLanguageChange handler kept the language: shrinking now would leave the
          // active language outside the table.
          Message(kMsgDecreaseRefused, mtInformation, {mbOK});
          return;
        }
      } else if (Message(kMsgDecrease, mtConfirmation, {mbYes, mbNo}) != mrYes) {
        return;
      }
    } else if (activeLanguage_ >= value) {
      activeLanguage_ = 0;  // a hand-ordered file: keep the active language inside the table
    }
  }
  ReshapeEntries(value);
  languages_ = value;
  WordsChanged();
}

void TBaseVorlect::SetDefaultLanguage(std::uint8_t value) {
  if (!InState(host::csLoading) && value >= languages_) {
    Message(kMsgValueTooHigh, mtInformation, {mbCancel});
    return;
  }
  if (value == defaultLanguage_) return;
  defaultLanguage_ = value;
  SetActiveLanguage(activeLanguage_);
}

void TBaseVorlect::SetDefaultEnabled(bool value) {
  if (value == defaultEnabled_) return;
  defaultEnabled_ = value;
  SetActiveLanguage(activeLanguage_);
}

// ---- applying --------------------------------------------------------------------------------

const std::string* TBaseVorlect::TextAt(int entry, int language) const {
  if (language < 0 || language >= languages_) return nullptr;
  const int line = entry + language + 1;
  if (entry < 0 || line >= words_->Count()) return nullptr;
  return &words_->Strings(line);
}

bool TBaseVorlect::HasActiveLine(int i) const { return TextAt(i, activeLanguage_) != nullptr; }

const std::string* TBaseVorlect::NextText(int& i) const {
  const std::string* text = TextAt(i, activeLanguage_);
  if (!text) return nullptr;
  if (text->empty() && defaultEnabled_)
    if (const std::string* fallback = TextAt(i, defaultLanguage_)) text = fallback;
  i += EntrySize();
  return text;
}

bool TBaseVorlect::ContinuationFollows(int i) const {
  return HasLine(i) && words_->Strings(i) == kContinuationKey;
}

bool TBaseVorlect::IsHintKeyAt(int i) const {
  return HasLine(i) && words_->Strings(i).size() == kHintKey.size() &&
         host::SameText(words_->Strings(i), kHintKey);
}

TBaseVorlect::ClassFacts& TBaseVorlect::Facts(const TComponent* component) const {
  const host::ClassInfo& cls = component->ClassType();
  auto [it, added] = facts_.try_emplace(&cls);
  if (added) {
    ClassFacts& f = it->second;
    auto stringProp = [&](const char* name) -> const host::PropInfo* {
      const host::PropInfo* p = cls.FindProperty(name);
      return p && p->kind == host::TypeKind::String ? p : nullptr;
    };
    f.action = cls.FindProperty("Action");
    f.readOnly = cls.FindProperty("ReadOnly");
    f.editText = cls.FindProperty("Text") || cls.FindProperty("Lines");
    f.caption = stringProp("Caption");
    f.text = stringProp("Text");
    f.hint = cls.FindProperty("Hint");
    for (const host::ClassInfo* c = &cls; c; c = c->Parent())
      if (host::SameText(c->Name(), "TMaskEdit")) f.maskEdit = true;
  }
  return it->second;
}

bool TBaseVorlect::HandleThisComponent(TComponent* component) const {
  if (translateEdits_ == teAlways) return true;
  const ClassFacts& f = Facts(component);
  if (f.action && GetObjectProp(*component, f.action) != nullptr) return false;
  if (f.readOnly && f.editText) {
    if (translateEdits_ == teNever) return false;
    return GetOrdProp(*component, f.readOnly) != 0;
  }
  return true;
}

void TBaseVorlect::SetActiveLanguage(std::uint8_t value) {
  if (value >= languages_) {
    Message(kMsgValueTooHigh, mtInformation, {mbCancel});
    return;
  }
  bool allowIt = true;
  BeforeLanguageChange(this, value, allowIt);
  if (!allowIt) return;
  SwitchTo(value);
  AfterLanguageChanged(this, activeLanguage_);
}

void TBaseVorlect::SwitchTo(std::uint8_t value) {
  // Positions are looked up once per component: index the lines for the length of the switch.
  std::unordered_map<std::string, int> positionIndex;
  for (int i = 0; i < positions_->Count(); ++i) {
    std::string_view key = LineKey(positions_->Strings(i));
    if (!key.empty() || positions_->Strings(i).starts_with(',')) positionIndex[std::string(key)] = i;
  }
  struct Scope {
    TBaseVorlect* self;
    ~Scope() { self->positionIndex_ = nullptr; }
  } scope{this};
  positionIndex_ = &positionIndex;

  TComponent* form = Owner();
  // A view of the form redraws once, after the whole switch.
  host::TChangeBatch batch(form);
  CopyForm_to_CharSet();
  if (form) {
    WriteComponentPosition(form, -1);
    for (int c = 0; c < form->ComponentCount(); ++c) WriteComponentPosition(form->Components(c), 0);
  }
  activeLanguage_ = value;
  CopyCharSet_to_Form();
  if (!form) return;
  int formIndex = -1;
  ReadComponentPosition(form, formIndex);

  const int stride = EntrySize();
  std::unordered_set<TComponent*> visited;
  const bool positions = switchPositions_ != spNone;
  if (positions) visited.reserve(static_cast<std::size_t>(form->ComponentCount()));
  // Tables list components mostly in the form's order: try the one after the last found first.
  int guess = 0;
  for (int i = 0; i < words_->Count();) {
    const std::string& key = words_->Strings(i);
    if (key == kFormKey) {
      if (PropertyExists(form, "Caption"))
        if (const std::string* text = TextAt(i, activeLanguage_)) {
          std::string caption = *text;
          if (caption.empty() && defaultEnabled_)
            if (const std::string* fallback = TextAt(i, defaultLanguage_)) caption = *fallback;
          host::SetStrProp(*form, "Caption", caption);
        }
      i += stride;
      continue;
    }
    TComponent* component = nullptr;
    if (guess < form->ComponentCount() && host::SameText(form->Components(guess)->Name(), key) && !key.empty()) {
      component = form->Components(guess++);
    } else {
      component = form->FindComponent(key);
      // Re-synchronise over a few skipped components; a farther jump waits for the next hit.
      for (int k = guess; component && k < std::min(guess + 4, form->ComponentCount()); ++k)
        if (form->Components(k) == component) {
          guess = k + 1;
          break;
        }
    }
    if (!component) {
      i += stride;
      continue;
    }
    if (positions) visited.insert(component);
    int next = i;
    try {
      ReadComponent(component, next);
    } catch (...) {
      // One component's failure must not stop the others.
      next = i;
    }
    // Move on at least one entry, whatever the component did.
    i = std::max(next, i + stride);
  }
  // Every component's position was recorded above; those without texts take theirs back too.
  if (!positions) return;
  for (int c = 0; c < form->ComponentCount(); ++c) {
    TComponent* component = form->Components(c);
    if (visited.contains(component)) continue;
    int index = c;
    try {
      ReadComponentPosition(component, index);
    } catch (...) {
      // As in the walk: one component's bad value does not stop the others.
    }
  }
}

// ---- positions and fonts ---------------------------------------------------------------------

int TBaseVorlect::FindPositionLine(const std::string& key) const {
  const std::string prefix = key + ",";
  if (positionIndex_) {
    auto it = positionIndex_->find(key);
    if (it == positionIndex_->end()) return -1;
    if (it->second < positions_->Count() && positions_->Strings(it->second).starts_with(prefix))
      return it->second;
  }
  for (int i = positions_->Count() - 1; i >= 0; --i)
    if (positions_->Strings(i).starts_with(prefix)) return i;
  return -1;
}

void TBaseVorlect::WriteComponentPosition(TComponent* component, int isForm) {
  if (!component || PositionsLocked || switchPositions_ == spNone) return;
  if (switchPositions_ == spControlsOnly && isForm == -1) return;
  std::string p;
  for (const char* name : {"Left", "Top", "Width", "Height"}) {
    if (name[0] != 'L') p += '.';
    const host::PropInfo* prop = host::GetPropInfo(*component, name);
    if (prop && prop->IsOrdinal()) p += std::to_string(GetOrdProp(*component, prop));
  }
  if (p == "...") return;
  // Unnamed components (a notebook's pages) would all share the one empty key.
  if (isForm != -1 && component->Name().empty()) return;
  const std::string key = isForm == -1 ? std::string(kFormKey) : AnsiLowerCase(component->Name());
  const int line = FindPositionLine(key);
  if (line >= 0) {
    std::vector<std::string> values = SplitCommaText(positions_->Strings(line));
    if (values.size() < static_cast<std::size_t>(languages_) + 1) values.resize(static_cast<std::size_t>(languages_) + 1);
    values[static_cast<std::size_t>(activeLanguage_) + 1] = p;
    positions_->Put(line, JoinCommaText(values));
    return;
  }
  std::string text = key;
  for (int l = 0; l < languages_; ++l) text += "," + p;
  const int added = positions_->Add(text);
  if (positionIndex_) (*positionIndex_)[key] = added;
}

void TBaseVorlect::ReadComponentPosition(TComponent* component, int& index) {
  if (!component || switchPositions_ == spNone) return;
  if (switchPositions_ == spControlsOnly && index == -1) return;
  if (index != -1 && component->Name().empty()) return;
  const std::string key = index == -1 ? std::string(kFormKey) : AnsiLowerCase(component->Name());
  const int line = FindPositionLine(key);
  if (line < 0) return;
  std::vector<std::string> values = SplitCommaText(positions_->Strings(line));
  if (values.size() < static_cast<std::size_t>(activeLanguage_) + 2) return;
  std::string_view s = values[static_cast<std::size_t>(activeLanguage_) + 1];
  std::string rest = std::string(s) + ".";
  for (const char* name : {"Left", "Top", "Width", "Height"}) {
    const auto dot = rest.find('.');
    std::string number = rest.substr(0, dot);
    rest.erase(0, dot + 1);
    const host::PropInfo* prop = host::GetPropInfo(*component, name);
    if (prop && prop->IsOrdinal()) SetOrdProp(*component, prop, StrToInt(number));
  }
}

bool TBaseVorlect::PositionsDiffer(const std::string& line) {
  std::vector<std::string> values = SplitCommaText(line);
  for (std::size_t i = 2; i < values.size(); ++i)
    if (values[i] != values[1]) return true;
  return false;
}

void TBaseVorlect::SetSwitchPositions(TSwitchPositions value) {
  if (value == switchPositions_) return;
  if (value == spNone) {
    for (int i = positions_->Count() - 1; i >= 0; --i) {
      if (!PositionsDiffer(positions_->Strings(i))) continue;
      if (Message(kMsgDropPositions, mtWarning, {mbYes, mbNo}) != mrYes) {
        ports::ShowMessage(kMsgCancelled);
        return;
      }
    }
    positions_->Clear();
  } else if (value == spControlsOnly && switchPositions_ == spFormAndControls) {
    for (int i = 0; i < positions_->Count(); ++i) {
      if (positions_->Strings(i).compare(0, 7, "%Form%,") != 0) continue;
      if (PositionsDiffer(positions_->Strings(i)) &&
          Message(kMsgDropFormPositions, mtWarning, {mbYes, mbNo}) != mrYes) {
        ports::ShowMessage(kMsgCancelled);
        return;
      }
      positions_->Delete(i);
      break;
    }
  }
  switchPositions_ = value;
}

void TBaseVorlect::CopyForm_to_CharSet() {
  TComponent* form = Owner();
  if (!PropertyExists(form, "Font")) return;
  TPersistent* font = GetObjectProp(*form, "Font");
  if (!font || !PropertyExists(font, "Name")) return;
  std::string s = host::GetStrProp(*font, "Name");
  if (PropertyExists(font, "CharSet")) s += "," + std::to_string(GetOrdProp(*font, "CharSet"));
  else s.clear();
  if (s.empty()) return;
  while (charSets_->Count() < languages_) charSets_->Add(s);
  if (activeLanguage_ < charSets_->Count()) charSets_->Put(activeLanguage_, s);
}

void TBaseVorlect::CopyCharSet_to_Form() {
  if (charSets_->Count() <= activeLanguage_) return;
  const std::string& line = charSets_->Strings(activeLanguage_);
  const auto comma = line.find(',');
  const std::string name = line.substr(0, comma);
  const int number = StrToInt(comma == std::string::npos ? std::string_view{} : std::string_view(line).substr(comma + 1));
  TComponent* form = Owner();
  if (!PropertyExists(form, "Font")) return;
  TPersistent* font = GetObjectProp(*form, "Font");
  if (!font) return;
  if (PropertyExists(font, "Name")) host::SetStrProp(*font, "Name", name);
  // The character set is a byte, as the font stores it.
  if (PropertyExists(font, "CharSet")) SetOrdProp(*font, "CharSet", number & 0xFF);
}

// ---- loading ---------------------------------------------------------------------------------

void TBaseVorlect::Loaded() {
  TComponent::Loaded();
  if (InState(host::csDesigning)) return;
  SetActiveLanguage(GlobalLang);
  if (!LanguageDLL.empty()) {
    if (platform::FileExists(LanguageDLL)) ReadFromDLL();
    else LanguageDLL = FileNamePart(LanguageDLL);
  }
}

// ---- look-ups --------------------------------------------------------------------------------

int TBaseVorlect::FindEntry(const std::string& lowerKey) {
  // A plain list does not report changes while it is being updated: do not trust the index then.
  if (!indexValid_ || indexedLanguages_ != languages_ || words_->UpdateCount() > 0) {
    index_.clear();
    const int count = words_->Count();
    const int stride = EntrySize();
    for (int i = 0; i + languages_ < count; i += stride) index_.try_emplace(AnsiLowerCase(words_->Strings(i)), i);
    indexValid_ = words_->UpdateCount() == 0;
    indexedLanguages_ = languages_;
  }
  auto it = index_.find(lowerKey);
  return it == index_.end() ? -1 : it->second;
}

void TBaseVorlect::GetTextEx(std::string_view id, std::uint8_t language, std::string& res) {
  res.clear();
  if (language >= languages_) language = activeLanguage_;
  std::string key = AnsiLowerCase(id);
  const int entry = FindEntry(key);
  if (entry >= 0) {
    const std::string* text = TextAt(entry, language);
    if (text && text->empty() && defaultEnabled_)
      if (const std::string* fallback = TextAt(entry, defaultLanguage_)) text = fallback;
    if (text) res = *text;
    return;
  }
  res = key;
  IdNotFoundError(this, key, res);
}

void TBaseVorlect::ReadFromDLL() {
  std::unique_ptr<platform::StringModule> module;
  try {
    module = platform::StringModule::Load(LanguageDLL);
  } catch (const std::exception&) {
    throw host::Exception("Cannot load string DLL \"" + LanguageDLL + "\".");
  }
  TComponent* form = Owner();
  if (!form) return;
  const std::string className = form->ClassName();
  const std::string formName = form->Name();
  // String identifiers are 16-bit: the header search cannot run past 65535.
  constexpr std::uint32_t kLastId = 0xFFFF;
  std::uint32_t header = 1000;
  for (;; header += 100) {
    if (header > kLastId) return;
    std::optional<std::string> s = module->LoadString(header, 300);
    if (!s) return;
    if (s->size() <= 2) continue;
    const std::string name = FileNamePart(std::string_view(*s).substr(1));
    if (((*s)[0] == '%' && host::SameText(name, className)) || ((*s)[0] == '$' && host::SameText(name, formName)))
      break;
  }
  defaultLanguage_ = 0;
  activeLanguage_ = 0;
  languages_ = 1;
  std::vector<std::string> lines;
  for (std::uint32_t id = header + 1; id <= kLastId; ++id) {
    std::optional<std::string> s = module->LoadString(id, 300);
    if (!s || s->empty()) {
      if (lines.size() % 2 == 0) break;
      lines.emplace_back();
      continue;
    }
    lines.push_back(std::move(*s));
  }
  words_->BeginUpdate();
  try {
    words_->Clear();
    for (const std::string& line : lines) words_->Add(line);
  } catch (...) {
    words_->EndUpdate();
    throw;
  }
  words_->EndUpdate();
  module.reset();
  SetActiveLanguage(0);
}

// ---- TLanguageDLLs ---------------------------------------------------------------------------

std::string TLanguageDLLs::GetDLL() const { return LanguageDLL; }

void TLanguageDLLs::SetDLL(const std::string& value) {
  LanguageDLL = value;
  if (!platform::FileExists(value)) return;
  // A component may go away while another one switches (an event handler closing its form).
  const std::vector<TBaseVorlect*> snapshot = LiveList();
  for (TBaseVorlect* component : snapshot) {
    const auto& live = LiveList();
    if (std::find(live.begin(), live.end(), component) != live.end()) component->ReadFromDLL();
  }
}

// ---- type information ------------------------------------------------------------------------

const host::ClassInfo& TBaseVorlect::StaticClass() {
  static const host::ClassInfo info =
      host::ClassBuilder<TBaseVorlect>("TBaseVorlect")
          .String("About", &TBaseVorlect::GetVLVersion, &TBaseVorlect::SetAbout).NotStored()
          .Event("BeforeLanguageChange", &TBaseVorlect::BeforeLanguageChange)
          .Event("AfterLanguageChanged", &TBaseVorlect::AfterLanguageChanged)
          .Event("IdNotFoundError", &TBaseVorlect::IdNotFoundError)
          .Byte("DefaultLanguage", &TBaseVorlect::DefaultLanguage, &TBaseVorlect::SetDefaultLanguage).Default(0)
          .Boolean("DefaultEnabled", &TBaseVorlect::DefaultEnabled, &TBaseVorlect::SetDefaultEnabled).Default(false)
          .Byte("Languages", &TBaseVorlect::Languages, &TBaseVorlect::SetLanguages).NoDefault()
          .Byte("ActiveLanguage", &TBaseVorlect::ActiveLanguage, &TBaseVorlect::SetActiveLanguage).Default(0)
          .Object("Words", &TBaseVorlect::Words, &TBaseVorlect::AssignWords)
          // Published by TVorlect; TSmallVorlect keeps them out of the inspector and the file.
          .Protected()
          .Object("DoNot", &TBaseVorlect::DoNot, &TBaseVorlect::SetDoNot)
          .Enum("SwitchPositions", &TBaseVorlect::SwitchPositions, &TBaseVorlect::SetSwitchPositions,
                SwitchPositionsInfo()).Default(spNone)
          .Enum("TranslateEdits", &TBaseVorlect::TranslateEdits, &TBaseVorlect::SetTranslateEdits,
                TranslateEditsInfo()).Default(teReadOnly)
          .Object("Positions", &TBaseVorlect::Positions, &TBaseVorlect::SetPositions)
          .Object("CharSets", &TBaseVorlect::CharSets, &TBaseVorlect::SetCharSets)
          .Published()
          .Build();
  return info;
}

const host::ClassInfo& TLanguageDLLs::StaticClass() {
  static const host::ClassInfo info = host::ClassBuilder<TLanguageDLLs>("TLanguageDLLs")
                                          .String("DLL", &TLanguageDLLs::GetDLL, &TLanguageDLLs::SetDLL)
                                          .Build();
  return info;
}

}  // namespace vorlect::runtime
