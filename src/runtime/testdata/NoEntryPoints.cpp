// A library that loads but has neither conversion entry point.
extern "C" __attribute__((visibility("default"))) int VklanguageVersion() { return 1; }
