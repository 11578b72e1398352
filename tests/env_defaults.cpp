// Every test program runs without a display or a sound card unless the caller says otherwise.
#include <cstdlib>

namespace {
struct EnvDefaults {
  EnvDefaults() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
  }
} const g_envDefaults;
}  // namespace
