// A tiny loadable module for the module tests.
extern "C" __attribute__((visibility("default"))) int vorlect_test_answer() { return 42; }
