#include "spell/Spellers.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "host/framework/Classes.h"
#include "host/ports/Ports.h"
#include "spell/Langs.h"
#include "spell/SpellRes.h"
#include "spell/SpellerDialog.h"

namespace vorlect::spell {

namespace {

constexpr size_t kMaxWindow = 0xFFFF;
constexpr size_t kInteractiveStrings = 1024;
constexpr size_t kInteractiveRatings = 255;
constexpr size_t kBackgroundStrings = 255;

bool IsBreak(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::uint16_t CheckWindowLength(const std::string& text, size_t start, bool* clamped) {
  const size_t rest = start < text.size() ? text.size() - start : 0;
  if (clamped) *clamped = rest > kMaxWindow;
  if (rest <= kMaxWindow) return static_cast<std::uint16_t>(rest);
  size_t end = start + kMaxWindow;
  while (end > start && !IsBreak(text[end - 1])) --end;
  return static_cast<std::uint16_t>(end > start ? end - start : kMaxWindow);
}

namespace {
std::atomic<size_t> gLiveWorkers{0};
}

// --- background worker -------------------------------------------------------------------------

// A worker checks its own copy of the text; every engine call, every report and the removal from
// the checker's list run on the main thread through the synchronize port. A step that finds its
// link terminated (or the checker gone) does nothing, so no engine call follows Close even
// though Close does not wait for the workers.
struct TSpellWorker {
  static void Run(std::shared_ptr<TSpellThreadLink> link, ports::SyncPort& sync, std::string text,
                  TSpellTextControl* control) {
    try {
      Execute(*link, sync, text, control);
    } catch (...) {
      // An engine error ends the worker; it was raised on the main thread inside the step.
    }
    try {
      sync.Synchronize([&] {
        if (link->checker) link->checker->RemoveThread(link.get());
      });
    } catch (...) {
    }
    --gLiveWorkers;  // the port is not touched after this
  }

  static void Execute(TSpellThreadLink& link, ports::SyncPort& sync, const std::string& text,
                      TSpellTextControl* control) {
    if (link.terminated) return;
    std::vector<char> strings(kBackgroundStrings + 1);
    TSpellReturnRecord out{};
    out.strings = strings.data();
    out.stringCapacity = kBackgroundStrings;
    size_t pos = 0, where = 0, length = 0;
    std::uint16_t state = kStateSentence;
    std::uint16_t status = kStatusNoErrors;
    auto verify = [&] {
      bool ran = false;
      sync.Synchronize([&] {
        TSpellChecker* checker = link.checker;
        if (link.terminated || !checker || !checker->IsOpen()) return;
        status = checker->VerifyFrom(text, pos, state, out, where, length);
        ran = true;
      });
      return ran;
    };
    if (!verify()) return;
    while (status != kStatusNoErrors) {
      sync.Synchronize([&] {
        TSpellChecker* checker = link.checker;
        if (link.terminated || !checker) return;
        checker->MarkAndReport(control, status, where, length);
      });
      pos = where + std::max<size_t>(length, 1);
      if (link.terminated) return;
      state = kStateContinue;
      if (pos >= text.size() || !verify()) return;
      if (link.terminated) return;
    }
  }
};

// --- TSpellChecker -------------------------------------------------------------------------------

TSpellChecker::TSpellChecker()
    : FinishMessage(SpellResString(SpellCheckComplete)),
      Caption(SpellResString(SpellCaption)),
      options_(OptionBit(spoSuggestFromUserDict) | OptionBit(spoIgnoreAllCaps) | OptionBit(spoIgnoreMixedDigits) |
               OptionBit(spoIgnoreRomanNumerals)),
      language_(SystemDefaultLanguage()) {}

TSpellChecker::~TSpellChecker() {
  try {
    Close();
  } catch (...) {
  }
  // Workers still running find their checker gone and only end.
  for (auto& link : threads_) {
    link->terminated = true;
    link->checker = nullptr;
  }
  dialog_.reset();
}

void TSpellChecker::SetOptions(std::uint16_t options) {
  options_ = options;
  if (IsOpen() && !Designing) speller_.SetOptions(options);
}

void TSpellChecker::SetLanguage(TLanguage language) {
  if (IsOpen() || !IsInstalledLanguage(language)) return;
  language_ = language;
  if (dialog_) dialog_->LanguageChanged();
}

void TSpellChecker::Open() {
  if (IsOpen() || Designing) return;
  Aborted = false;
  speller_.Open(language_, options_, [this] {
    if (OnOpen) OnOpen(*this);
  });
}

void TSpellChecker::Close() {
  if (!IsOpen()) return;
  pending_.reset();
  Aborted = false;
  if (!Designing)
    for (auto it = threads_.rbegin(); it != threads_.rend(); ++it) (*it)->terminated = true;
  speller_.Close();
  if (OnClose) OnClose(*this);
}

// --- checks --------------------------------------------------------------------------------------

void TSpellChecker::Check(const host::TStrings& list) { CheckCore(list.Text(), &list); }

void TSpellChecker::CheckText(const std::string& text) { CheckCore(text, nullptr); }

void TSpellChecker::CheckCore(const std::string& text, const host::TStrings* list) {
  if (!IsOpen()) return;
  Aborted = false;
  std::unique_ptr<host::TStringList> copy;
  if (SpellMode == smInteractive) {
    copy = std::make_unique<host::TStringList>();
    if (list) copy->Assign(*list);
    else copy->SetText(text);
  }
  pending_ = std::move(copy);
  switch (SpellMode) {
    case smInteractive: {
      size_t start = 0;
      std::string work = text;
      if (Control) {
        work = Control->Text();
        const int sel = std::clamp(Control->SelStart(), 0, static_cast<int>(work.size()));
        start = static_cast<size_t>(std::clamp(Control->WordBreakLeft(sel), 0, sel));
      }
      StartInteractive(work, start);
      break;
    }
    case smBackground: BlockingPass(text, Control); break;
    case smParallel: StartThread(text, Control); break;
  }
}

void TSpellChecker::CheckControl(TSpellTextControl& control) {
  Aborted = false;
  Control = &control;
  CheckCore(control.Text(), nullptr);
}

void TSpellChecker::StartInteractive(const std::string& text, size_t start) {
  if (dialog_ && !dialog_->Visible()) dialog_.reset();
  work_ = text;
  SetWindow(start);
  strings_.assign(kInteractiveStrings, 0);
  ratings_.assign(kInteractiveRatings, 0);
  result_ = {};
  result_.strings = strings_.data();
  result_.stringCapacity = kInteractiveStrings;
  result_.ratings = ratings_.data();
  result_.ratingCapacity = kInteractiveRatings;
  if (!dialog_) dialog_ = std::make_unique<TSpellerDialog>(*this);
  dialog_->NextStep();
}

void TSpellChecker::FreeResultBuffers() {
  strings_.clear();
  strings_.shrink_to_fit();
  ratings_.clear();
  ratings_.shrink_to_fit();
  result_.strings = nullptr;
  result_.ratings = nullptr;
  result_.stringCapacity = result_.ratingCapacity = 0;
}

void TSpellChecker::SetWindow(size_t start) {
  start_ = std::min(start, work_.size());
  length_ = CheckWindowLength(work_, start_, &clamped_);
}

void TSpellChecker::MoveWindow(size_t distance) {
  distance = std::min<size_t>(distance, length_);
  start_ += distance;
  length_ = static_cast<std::uint16_t>(length_ - distance);
}

std::uint16_t TSpellChecker::VerifyFrom(const std::string& text, size_t pos, std::uint16_t state,
                                        TSpellReturnRecord& out, size_t& where, size_t& length) {
  while (true) {
    bool clamped = false;
    const std::uint16_t window = CheckWindowLength(text, pos, &clamped);
    TSpellInputRecord in = speller_.InputRecord(text.data() + pos, window, state);
    speller_.Check(kCmdVerify, in, out);
    if (out.status != kStatusNoErrors || !clamped) {
      where = pos + out.errorOffset;
      length = out.errorLength;
      return out.status;
    }
    pos += window;
    state = kStateContinue;
  }
}

void TSpellChecker::BlockingPass(const std::string& text, TSpellTextControl* control) {
  std::vector<char> strings(kBackgroundStrings + 1);
  TSpellReturnRecord out{};
  out.strings = strings.data();
  out.stringCapacity = kBackgroundStrings;
  size_t where = 0, length = 0;
  std::uint16_t status = VerifyFrom(text, 0, kStateSentence, out, where, length);
  while (status != kStatusNoErrors) {
    MarkAndReport(control, status, where, length);
    // At least one byte on, so a zero-length report cannot hold the pass in one place.
    const size_t next = where + std::max<size_t>(length, 1);
    if (next >= text.size()) break;
    status = VerifyFrom(text, next, kStateContinue, out, where, length);
  }
}

void TSpellChecker::MarkAndReport(TSpellTextControl* control, std::uint16_t status, size_t pos, size_t length) {
  if (control && control->IsRichEdit()) {
    control->SetSelStart(static_cast<int>(pos));
    control->SetSelLength(static_cast<int>(length));
    for (const TMisspellFontOption o : {mfoName, mfoSize, mfoHeight, mfoColor, mfoPitch, mfoStyle})
      if (MisspellFont.misspellOptions & MisspellBit(o)) control->SetSelAttribute(o, MisspellFont);
  }
  if (OnMisspelling)
    OnMisspelling(*this, static_cast<TSpellReturnCode>(status & 0xFF), static_cast<std::int32_t>(pos),
                  static_cast<std::int32_t>(length));
}

void TSpellChecker::StartThread(std::string text, TSpellTextControl* control) {
  auto link = std::make_shared<TSpellThreadLink>();
  link->checker = this;
  threads_.push_back(link);
  ports::SyncPort& sync = ports::CurrentPorts();
  ++gLiveWorkers;
  try {
    std::thread(&TSpellWorker::Run, link, std::ref(sync), std::move(text), control).detach();
  } catch (...) {
    --gLiveWorkers;
    threads_.pop_back();
    throw;
  }
}

size_t TSpellChecker::LiveWorkers() { return gLiveWorkers; }

void TSpellChecker::RemoveThread(const TSpellThreadLink* link) {
  std::erase_if(threads_, [&](const auto& l) { return l.get() == link; });
}

// --- interactive steps ---------------------------------------------------------------------------

TSpellReturnCode TSpellChecker::CheckNext() {
  if (!IsOpen() || !InCheck()) return kStatusNoErrors;
  while (true) {
    TSpellInputRecord in = speller_.InputRecord(work_.data() + start_, length_, kStateNone);
    speller_.Check(kCmdVerify, in, result_);
    if (result_.status != kStatusNoErrors || !clamped_) break;
    SetWindow(start_ + length_);  // the rest of a text longer than one window
  }
  if (Control && result_.status != kStatusNoErrors) {
    Control->SetSelStart(static_cast<int>(FlaggedPos()));
    Control->SetSelLength(static_cast<int>(FlaggedLength()));
  }
  return static_cast<TSpellReturnCode>(result_.status & 0xFF);
}

int TSpellChecker::NextHtmlRun() {
  const std::string& t = work_;
  size_t p = start_;
  while (p < t.size() && t[p] == '<') {
    size_t end;
    if (p + 1 < t.size() && t[p + 1] == '%') {
      end = t.find("%>", p + 2);
      if (end != std::string::npos) end += 2;
    } else if (t.compare(p, 4, "<!--") == 0) {
      end = t.find("-->", p + 4);
      if (end != std::string::npos) end += 3;
    } else {
      end = t.find('>', p + 1);
      if (end != std::string::npos) end += 1;
    }
    p = end == std::string::npos ? t.size() : end;
    while (p < t.size() && static_cast<unsigned char>(t[p]) < 32) ++p;
  }
  start_ = p;
  const size_t next = t.find('<', p);
  const size_t run = (next == std::string::npos ? t.size() : next) - p;
  // A run longer than the length field is checked in pieces: the dialog moves on by the length.
  length_ = static_cast<std::uint16_t>(std::min(run, kMaxWindow));
  clamped_ = false;
  return length_;
}

void TSpellChecker::Suggest(const std::string& word, std::vector<std::string>& list) {
  list.clear();
  if (!IsOpen()) return;
  std::vector<char> strings(2048);
  std::vector<std::uint8_t> ratings(256);
  TSpellReturnRecord out{};
  out.strings = strings.data();
  out.stringCapacity = 2047;
  out.ratings = ratings.data();
  out.ratingCapacity = 255;
  TSpellInputRecord in = speller_.InputRecord(word.data(), static_cast<std::uint16_t>(std::min(word.size(), kMaxWindow)),
                                             kStateNone);
  const int codePage = LanguageCodePage(language_);
  speller_.Check(kCmdSuggest, in, out);
  // An engine that never says "no more" must not hold the dialog forever.
  for (int rounds = 0; out.status != kStatusNoMoreSuggestions && rounds < 1000; ++rounds) {
    strings[2047] = 0;
    for (const char* s = strings.data(); *s; s += std::strlen(s) + 1) {
      const std::string candidate(s);
      const bool known = std::any_of(list.begin(), list.end(),
                                     [&](const std::string& w) { return SameTextIgnoreCase(w, candidate, codePage); });
      if (!known) list.push_back(candidate);
    }
    speller_.Check(kCmdSuggestMore, in, out);
  }
}

void PrepareSuggestions(TSpellChecker& checker, const std::vector<std::string>& words, unsigned workers) {
  if (!checker.IsOpen() || words.empty()) return;
  if (workers == 0) workers = std::max(1u, std::thread::hardware_concurrency());
  workers = static_cast<unsigned>(std::min<size_t>(workers, words.size()));
  // The helpers are opened and closed here, on the calling thread, as every checker is; in
  // between, each makes engine calls on its own speller only.
  std::vector<std::unique_ptr<TSpellChecker>> helpers;
  for (unsigned i = 0; i < workers; ++i) {
    auto helper = std::make_unique<TSpellChecker>();
    helper->SetLanguage(checker.Language());
    helper->SetOptions(checker.Options());
    try {
      helper->Open();
    } catch (const ESpellError&) {
      continue;
    }
    if (helper->IsOpen()) helpers.push_back(std::move(helper));
  }
  std::atomic<size_t> next{0};
  auto work = [&](TSpellChecker* helper) {
    std::vector<std::string> list;
    try {
      for (size_t i = next++; i < words.size(); i = next++) helper->Suggest(words[i], list);
    } catch (const std::exception&) {
      // what is left goes to the other helpers, or to `checker` itself later
    }
  };
  std::vector<std::thread> threads;
  for (size_t i = 1; i < helpers.size(); ++i) threads.emplace_back(work, helpers[i].get());
  if (!helpers.empty()) work(helpers[0].get());
  for (std::thread& t : threads) t.join();
  for (auto& helper : helpers) {
    try {
      helper->Close();
    } catch (const std::exception&) {
    }
  }
}

std::string TSpellChecker::FlaggedText() const {
  const size_t a = std::min(FlaggedPos(), work_.size());
  return work_.substr(a, std::min(FlaggedLength(), work_.size() - a));
}

std::string TSpellChecker::ReturnedString() const {
  if (!result_.strings || result_.stringCapacity == 0) return {};
  return std::string(result_.strings, ::strnlen(result_.strings, result_.stringCapacity));
}

void TSpellChecker::ReplaceFlagged(const std::string& newWord, size_t newStart) {
  const size_t a = std::min(FlaggedPos(), work_.size());
  const size_t len = std::min(FlaggedLength(), work_.size() - a);
  work_.replace(a, len, newWord);
  if (Control) Control->SetSelText(newWord);
  if (OnChangeText)
    OnChangeText(*this, static_cast<std::int32_t>(a), static_cast<std::int32_t>(len), newWord);
  SetWindow(newStart);
}

void TSpellChecker::ChangeOnce(const std::string& newWord) {
  if (!InCheck()) return;
  if (IsOpen()) speller_.AddChangeUdr(kUdrChangeOnce, FlaggedText(), newWord);
  ReplaceFlagged(newWord, FlaggedPos());
}

void TSpellChecker::ReplaceWord(const std::string& newWord) {
  if (!InCheck()) return;
  ReplaceFlagged(newWord, FlaggedPos());
}

void TSpellChecker::ChangeAlways(const std::string& newWord) {
  if (!InCheck()) return;
  if (IsOpen()) speller_.AddChangeUdr(kUdrChangeAlways, FlaggedText(), newWord);
  ReplaceFlagged(newWord, FlaggedPos() + newWord.size());
}

void TSpellChecker::DeleteWord() {
  if (!InCheck()) return;
  const size_t a = std::min(FlaggedPos(), work_.size());
  const size_t len = std::min(FlaggedLength(), work_.size() - a);
  // The word goes with the character before it (the space between the repeated words); a word
  // at the very start has none.
  const size_t from = a > 0 ? a - 1 : 0;
  const size_t count = len + (a - from);
  work_.erase(from, count);
  if (Control) {
    Control->SetSelStart(static_cast<int>(from));
    Control->SetSelLength(static_cast<int>(count));
    Control->SetSelText("");
  }
  if (OnChangeText) OnChangeText(*this, static_cast<std::int32_t>(from), static_cast<std::int32_t>(count), "");
  SetWindow(a);
}

void TSpellChecker::AddWord() {
  if (!InCheck()) return;
  if (IsOpen()) speller_.AddUdr(speller_.UserDictionary(), FlaggedText());
  MoveWindow(result_.errorOffset);
}

void TSpellChecker::SkipWord() {
  if (!InCheck()) return;
  MoveWindow(size_t(result_.errorOffset) + result_.errorLength);
}

void TSpellChecker::IgnoreAll() {
  if (!InCheck()) return;
  if (IsOpen()) speller_.AddUdr(kUdrIgnoreAlways, FlaggedText());
  MoveWindow(size_t(result_.errorOffset) + result_.errorLength);
}

}  // namespace vorlect::spell
