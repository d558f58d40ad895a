// The expert's settings key: the editor's own values, the expert-wide notice flags and CSV choice
// (current user's hive) and the configured language list (local machine's hive).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlect::host {
class TStrings;
class TStringList;
}  // namespace vorlect::host

namespace vorlect::vle {

inline constexpr std::string_view kSettingsKey = "\\Software\\quillon\\TVorlect";

// ---- The editor's values: read each time an editor opens, written each time it closes ----------

struct TEditorSettings {
  int x = 100, y = 100;  // left and top of the window
  int w = 500, h = 300;  // width and height
  bool Max = false;      // window maximized
  bool FindAllColumns = true;
  std::vector<int> ColWidths;  // table columns 0 (keys) to the number of languages
  int FontSize = 8;
  std::string FontName = "MS Sans Serif";
  int FontStyle = 0;  // 1 bold, 2 italic, 4 underline, 8 strike-out
  bool operator==(const TEditorSettings&) const = default;
};

inline constexpr int kMinWindowExtent = 100;
inline constexpr int kMinColWidth = 20;
inline constexpr int kMinFontSize = 5, kMaxFontSize = 60;
inline constexpr size_t kMaxFontNameLength = 80;

// `languages` is the component's number of languages (columns 0..languages); `clientWidth` is the
// width the table's equal column widths are computed from. Missing values keep their defaults;
// so does a value of the wrong type, which the next close overwrites.
TEditorSettings ReadEditorSettings(int languages, int clientWidth);
// Writes every value; column widths for n = 0 up to `languages`.
void WriteEditorSettings(const TEditorSettings& settings, int languages);

// ---- Expert-wide values: read when the expert starts, written when it ends ----------------------

// Notice flags of TFrmPressKey: show the notice while true.
extern bool InfoEsc;
extern bool InfoSel;
// CSV separator choice: 0 semicolon, 1 comma, 2 the regional list separator.
extern int CSVType;

// The configured languages: display names (UTF-8, as the locale data gives them; they title the
// editor's columns and never enter a component) and, in step, Windows language identifiers in
// decimal, "0" for none.
host::TStringList& LanguageNames();
host::TStringList& LanguageIds();

// The title of language column k (counted from 1) wherever a table shows one: the k-th of `names`
// when there is one, else "language " followed by k - 1 (the language the column holds).
std::string LanguageColumnTitle(int k, const std::vector<std::string>& names);
// The same with the configured LanguageNames().
std::string LanguageColumnTitle(int k);

// InfoEsc, InfoSel and CSVType, then the language list.
void LoadExpertSettings();
void SaveExpertSettings();
// The project manager's "&Warnings": every notice shows again.
void ResetNotices();

// One value "Lang" + n per entry, n from 1: the identifier, or the name when it has none.
void LoadLanguages(host::TStrings& names, host::TStrings& ids);
void SaveLanguages(const host::TStrings& names, const host::TStrings& ids);

// A stored language value: the identifier's name and the identifier, or the text and "0".
struct TStoredLanguage {
  std::string name;
  std::string id;
};
TStoredLanguage DecodeLanguageValue(const std::string& stored);
// The identifier of a decimal text "1".."65535" without sign or spaces; 0 otherwise.
unsigned LanguageIdOf(std::string_view text);

// ---- Notice dialog ------------------------------------------------------------------------------

inline constexpr const char* kNoticeEsc = "Hit ESC to return to the editor.";
inline constexpr const char* kNoticeSelExport = "You have to select the forms which are to be exported.";
inline constexpr const char* kNoticeSelImport = "You have to select the forms which are to be imported.";

// TFrmPressKey without its window: the caller shows it only while `flag` is true.
class TFrmPressKey {
public:
  TFrmPressKey(std::string notice, bool& flag) : notice_(std::move(notice)), flag_(flag), ticked_(!flag) {}

  static constexpr const char* kCheckBoxCaption = "&Don't show this again";
  static constexpr const char* kButtonCaption = "&OK";

  const std::string& Notice() const { return notice_; }
  bool CheckBoxChecked() const { return ticked_; }
  // The flag follows every click at once, not only on OK.
  void CheckBoxClick() {
    ticked_ = !ticked_;
    flag_ = !ticked_;
  }

private:
  std::string notice_;
  bool& flag_;
  bool ticked_;
};

// Shows a notice while its flag is true. A window installs its notice dialog (the flag follows the
// dialog's check box); without one the notice goes to the message port as information.
using TNoticeHandler = std::function<void(const std::string& notice, bool& flag)>;
// Installs `handler` (empty: back to the message port) and returns the previous one.
TNoticeHandler SetNoticeHandler(TNoticeHandler handler);
void ShowNotice(const std::string& notice, bool& flag);

}  // namespace vorlect::vle
