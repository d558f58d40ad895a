// The objects an expert module exchanges with the IDE: reference-counted interfaces and the
// expert with its identity, and the entry point an expert exports.
#pragma once

#include "host/toolservices/ToolServices.h"

#include <cstdint>
#include <string>

namespace vorlect::toolservices {

// Base of every object exchanged with the IDE: one reference count, 1 after construction.
class TInterface {
public:
  TInterface() = default;
  TInterface(const TInterface&) = delete;
  TInterface& operator=(const TInterface&) = delete;

  virtual std::int32_t AddRef() { return ++refCount_; }
  // Destroys the object when the count reaches 0.
  virtual std::int32_t Release() {
    const std::int32_t count = --refCount_;
    if (count == 0) delete this;
    return count;
  }
  virtual std::int32_t GetVersion() { return 3; }
  // Releases once when there is an object.
  static void Free(TInterface* object) {
    if (object) object->Release();
  }
  std::int32_t RefCount() const { return refCount_; }

protected:
  virtual ~TInterface() = default;

private:
  std::int32_t refCount_ = 1;
};

enum TExpertStyle : std::int32_t { esStandard = 0, esForm = 1, esProject = 2, esAddIn = 3 };
enum TExpertStateFlag : std::uint32_t { esEnabled = 1, esChecked = 2 };
using TExpertState = std::uint32_t;

class TIExpert : public TInterface {
public:
  virtual std::string GetName() = 0;
  virtual std::string GetAuthor() = 0;
  virtual std::string GetComment() = 0;
  virtual std::string GetPage() = 0;
  virtual void* GetGlyph() = 0;  // icon handle; null for none
  virtual TExpertStyle GetStyle() = 0;
  virtual TExpertState GetState() = 0;
  virtual std::string GetIDString() = 0;
  virtual std::string GetMenuText() = 0;
  virtual void Execute() = 0;
};

// The IDE's registration procedure, handed to the entry point.
using TExpertRegisterProc = bool (*)(TIExpert* expert);
// A procedure the IDE calls before unloading the expert.
using TExpertTerminateProc = void (*)();
// The entry point an expert exports as INITEXPERT0017.
using TExpertInitProc = bool (*)(HostServices* toolServices, TExpertRegisterProc registerProc,
                                 TExpertTerminateProc* terminate);

inline constexpr const char* kExpertEntryPoint = "INITEXPERT0017";

}  // namespace vorlect::toolservices
