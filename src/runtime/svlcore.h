// TSmallVorlect: look-ups and string modules only. It translates no controls, and keeps DoNot,
// SwitchPositions, TranslateEdits, Positions and CharSets out of the inspector and the form file.
#pragma once

#include "runtime/VLBase.h"

namespace vorlect::runtime {

class TSmallVorlect : public TBaseVorlect {
  VORLECT_CLASS(TSmallVorlect, TBaseVorlect)
public:
  explicit TSmallVorlect(TComponent* owner) : TBaseVorlect(owner) {}

  void ReadComponent(TComponent*, int&) override {}
  void WriteComponent(TComponent*, int, TStringGridAccess&) override {}
};

}  // namespace vorlect::runtime
