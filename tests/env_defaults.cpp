// What every test program starts with, whatever the caller's environment: no display and no
// sound card unless the caller says otherwise, and no leak reports for the font configuration
// that Qt's font database loads (it keeps its caches until the process ends). Every other leak
// is still reported.
#include <cstdlib>

namespace {
struct EnvDefaults {
  EnvDefaults() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
  }
} const g_envDefaults;
}  // namespace

extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
