// A library with the first conversion entry point only.
extern "C" __attribute__((visibility("default"))) long GBtoBIG5(const char*, long length, char*,
                                                                long) {
  return length;
}
