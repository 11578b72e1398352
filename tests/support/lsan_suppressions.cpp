// Leak reports a Qt test program cannot act on: the font configuration that Qt's font database
// loads keeps its caches until the process ends. Compiled into the test program itself (the
// sanitizer asks the program for this function), so the tests pass whatever ASAN_OPTIONS or
// LSAN_OPTIONS the caller has; every other leak is still reported.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
