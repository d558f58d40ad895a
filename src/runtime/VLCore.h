// TVorlect: the translation component that knows the stock controls' translatable texts.
#pragma once

#include "runtime/VLBase.h"

namespace vorlect::runtime {

class TVorlect : public TBaseVorlect {
  VORLECT_CLASS(TVorlect, TBaseVorlect)
public:
  explicit TVorlect(TComponent* owner) : TBaseVorlect(owner) {}

  void ReadComponent(TComponent* component, int& index) override;
  void WriteComponent(TComponent* component, int row, TStringGridAccess& grid) override;

private:
  class Applier;
};

// Switches every live translation component that has the language, and makes it the language
// of forms loaded later.
void Global_Set_ActiveLanguage(std::uint8_t value);

// Registers TBaseVorlect, TVorlect, TSmallVorlect and TLanguageDLLs for form loading. Idempotent.
void RegisterClasses();

}  // namespace vorlect::runtime
