#include "runtime/svlcore.h"

namespace vorlect::runtime {

const host::ClassInfo& TSmallVorlect::StaticClass() {
  static const host::ClassInfo info = host::ClassBuilder<TSmallVorlect>("TSmallVorlect").Build();
  return info;
}

}  // namespace vorlect::runtime
