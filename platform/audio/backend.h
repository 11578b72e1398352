// Output backends that pull mixed frames from a MixerCore (internal).
#pragma once
#include <memory>

#include "mixer.h"

namespace plat::audio::detail {

class Backend {
 public:
  virtual ~Backend() = default;
  // Starts pulling frames in the core's current output format; false when no output.
  virtual bool Open() = 0;
  // Stops pulling; after it returns the core is no longer touched.
  virtual void Close() = 0;
};

// By MIRKAN_AUDIO_BACKEND: "null" gives the null backend, anything else SDL2.
std::unique_ptr<Backend> MakeBackend(std::shared_ptr<MixerCore> core);
std::unique_ptr<Backend> MakeSdlBackend(std::shared_ptr<MixerCore> core);
std::unique_ptr<Backend> MakeNullBackend(std::shared_ptr<MixerCore> core);

}  // namespace plat::audio::detail
