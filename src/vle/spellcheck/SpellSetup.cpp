#include "vle/spellcheck/SpellSetup.h"

#include "host/ports/Ports.h"

namespace vorlect::vle {

TFrmSpellSetup::TFrmSpellSetup()
    : Boxes{{{"CheckBox1", "Suggest from user dictionary"},
             {"CheckBox2", "Ignore all-capitalized"},
             {"CheckBox3", "Ignore mixed digits"},
             {"CheckBox4", "Ignore Roman numerals"},
             {"CheckBox5", "Find uncapped Sentences"},
             {"CheckBox6", "Find missing spaces"},
             {"CheckBox7", "Find repeated word"},
             {"CheckBox8", "Find extra spaces"},
             {"CheckBox9", "Find spaces before punctuation"},
             {"CheckBox10", "Find spaces after punctuation"},
             {"CheckBox11", "Rate suggestions"},
             {"CheckBox12", "Find initial numerals"}}} {}

void TFrmSpellSetup::FormShow() {
  if (!SpellChecker) return;
  const std::uint16_t options = SpellChecker->Options();
  for (int n = 0; n < kBoxCount; ++n) Boxes[static_cast<size_t>(n)].checked = (options >> n) & 1u;
}

std::uint16_t TFrmSpellSetup::CheckedOptions() const {
  std::uint16_t options = 0;
  for (int n = 0; n < kBoxCount; ++n)
    if (Boxes[static_cast<size_t>(n)].checked) options = static_cast<std::uint16_t>(options | (1u << n));
  return options;
}

void TFrmSpellSetup::BtnOkClick() {
  ModalResult = ports::mrOk;
  if (!SpellChecker) return;
  try {
    SpellChecker->SetOptions(CheckedOptions());
  } catch (const spell::ESpellError& e) {
    // An open engine refused the options; the checker keeps them for its next opening.
    ports::MessageDlg(e.what(), ports::mtError, ports::ButtonSet{ports::mbOK});
  }
}

void TFrmSpellSetup::BtnCancelClick() { ModalResult = ports::mrCancel; }

int ShowSpellSetup(spell::TSpellChecker& checker, TSpellSetupView* view) {
  if (!view) return ports::mrCancel;
  TFrmSpellSetup dialog;
  dialog.SpellChecker = &checker;
  return view->ShowModal(dialog);
}

}  // namespace vorlect::vle
