// TFrmSpellSetup: the speller options of one checker as twelve check boxes. The window shows the
// boxes and forwards the user's clicks; the options change only through OK.
#pragma once

#include <array>
#include <string>

#include "spell/Spellers.h"

namespace vorlect::vle {

class TFrmSpellSetup;

// The window of the setup dialog (the user interface implements it; tests script it).
class TSpellSetupView {
public:
  virtual ~TSpellSetupView() = default;
  // Runs the dialog modally: the window calls FormShow when it appears, and BtnOkClick or
  // BtnCancelClick to close. Returns the modal result.
  virtual int ShowModal(TFrmSpellSetup& dialog) = 0;
};

class TFrmSpellSetup {
public:
  static constexpr int kClientWidth = 308, kClientHeight = 260;
  static constexpr int kBoxCount = 12;

  struct TCheckBox {
    const char* name;
    const char* caption;
    bool checked = false;
  };

  TFrmSpellSetup();

  std::string Caption = "Spell-Checker Setup";
  std::string GroupCaption = "Options";
  std::string OkCaption = "&OK";         // default button
  std::string CancelCaption = "Cancel";  // cancel button
  // Box n stands for option bit n - 1.
  std::array<TCheckBox, kBoxCount> Boxes;

  // The checker whose options are edited.
  spell::TSpellChecker* SpellChecker = nullptr;
  int ModalResult = 0;

  // Checks the boxes of the checker's options.
  void FormShow();
  // The checker takes exactly the options of the checked boxes; closes with OK.
  void BtnOkClick();
  // Closes with Cancel; nothing changes.
  void BtnCancelClick();

  std::uint16_t CheckedOptions() const;
};

// Creates the dialog for `checker`, shows it modally through `view` and frees it. Without a view
// nothing is shown and the result is Cancel.
int ShowSpellSetup(spell::TSpellChecker& checker, TSpellSetupView* view);

}  // namespace vorlect::vle
