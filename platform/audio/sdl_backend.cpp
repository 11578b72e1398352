// Output through SDL2 audio (its "dummy" and "disk" drivers work without a sound card).
#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

#include "backend.h"

namespace plat::audio::detail {
namespace {

bool DebugWanted() {
  const char* v = std::getenv("MIRKAN_AUDIO_DEBUG");
  return v && *v && std::strcmp(v, "0") != 0;
}

// ALSA's own error printer takes a format and its arguments; this one drops them.
extern "C" void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card ALSA prints pages of configuration errors to standard error while SDL
// probes it. Its error printer is replaced by a silent one before SDL loads it (the library is
// loaded here first, and stays loaded, so that SDL gets this very copy), unless the sound
// diagnostics are asked for.
void QuietAlsa() {
  static const bool done = [] {
    if (DebugWanted()) return true;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!alsa) return true;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&SilentAlsaError);
    return true;
  }();
  (void)done;
}

class SdlBackend : public Backend {
 public:
  explicit SdlBackend(std::shared_ptr<MixerCore> core) : core_(std::move(core)) {}
  ~SdlBackend() override { Close(); }

  bool Open() override {
    Close();
    QuietAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_ = true;
    WAVEFORMATEX f;
    {
      std::lock_guard<std::mutex> g(core_->mu);
      f = core_->OutFormat();
    }
    SDL_AudioSpec want;
    std::memset(&want, 0, sizeof want);
    want.freq = static_cast<int>(f.nSamplesPerSec);
    want.format = f.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = static_cast<Uint8>(f.nChannels);
    want.samples = 1024;
    want.callback = &SdlBackend::Callback;
    want.userdata = this;
    SDL_AudioSpec have;
    dev_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (dev_ == 0) {
      Close();
      return false;
    }
    blockAlign_ = f.nBlockAlign ? f.nBlockAlign : 1;
    SDL_PauseAudioDevice(dev_, 0);
    return true;
  }

  void Close() override {
    if (dev_ != 0) {
      SDL_CloseAudioDevice(dev_);  // waits for the callback to return
      dev_ = 0;
    }
    if (subsystem_) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      subsystem_ = false;
    }
  }

 private:
  static void SDLCALL Callback(void* user, Uint8* stream, int len) {
    auto* self = static_cast<SdlBackend*>(user);
    const uint32_t frames = static_cast<uint32_t>(len) / self->blockAlign_;
    self->core_->Mix(stream, frames);
    const uint32_t done = frames * self->blockAlign_;
    if (done < static_cast<uint32_t>(len)) std::memset(stream + done, 0, len - done);
  }

  std::shared_ptr<MixerCore> core_;
  SDL_AudioDeviceID dev_ = 0;
  bool subsystem_ = false;
  uint32_t blockAlign_ = 1;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend(std::shared_ptr<MixerCore> core) {
  return std::make_unique<SdlBackend>(std::move(core));
}

std::unique_ptr<Backend> MakeBackend(std::shared_ptr<MixerCore> core) {
  const char* v = std::getenv("MIRKAN_AUDIO_BACKEND");
  if (v && std::strcmp(v, "null") == 0) return MakeNullBackend(std::move(core));
  return MakeSdlBackend(std::move(core));
}

}  // namespace plat::audio::detail
