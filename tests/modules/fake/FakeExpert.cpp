// A module under the expert's file name that does not export EditorCall: what a damaged or foreign
// installation leaves in the process.
extern "C" __attribute__((visibility("default"))) bool INITEXPERT0017(void*, void*, void*) { return false; }
