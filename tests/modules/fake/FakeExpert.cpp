// A module under the expert's file name that does not export EditorCall: what a damaged or foreign
// installation leaves in the process. Its entry refuses to start.
#include "host/toolservices/ExptIntf.h"

extern "C" __attribute__((visibility("default"))) bool INITEXPERT0017(
    vorlect::toolservices::HostServices*, vorlect::toolservices::TExpertRegisterProc,
    vorlect::toolservices::TExpertTerminateProc*) {
  return false;
}
