// The null backend: a manual clock that mixes on demand and records every frame.
#include <mutex>

#include "backend.h"
#include "nullout.h"

namespace plat::audio {
namespace detail {
namespace {

struct NullState {
  std::mutex mu;  // guards current and recording; held while a test advances the clock
  std::shared_ptr<MixerCore> current;
  const void* owner = nullptr;
  std::vector<uint8_t> recording;
};

NullState& State() {
  static NullState s;
  return s;
}

class NullBackend : public Backend {
 public:
  explicit NullBackend(std::shared_ptr<MixerCore> core) : core_(std::move(core)) {}
  ~NullBackend() override { Close(); }

  bool Open() override {
    NullState& s = State();
    std::lock_guard<std::mutex> g(s.mu);
    if (s.owner != this) s.recording.clear();
    s.current = core_;
    s.owner = this;
    return true;
  }

  void Close() override {
    NullState& s = State();
    std::lock_guard<std::mutex> g(s.mu);
    if (s.owner == this) {
      s.current.reset();
      s.owner = nullptr;
    }
  }

 private:
  std::shared_ptr<MixerCore> core_;
};

}  // namespace

std::unique_ptr<Backend> MakeNullBackend(std::shared_ptr<MixerCore> core) {
  return std::make_unique<NullBackend>(std::move(core));
}

}  // namespace detail

namespace nullout {

bool IsOpen() {
  auto& s = detail::State();
  std::lock_guard<std::mutex> g(s.mu);
  return s.current != nullptr;
}

WAVEFORMATEX Format() {
  auto& s = detail::State();
  std::lock_guard<std::mutex> g(s.mu);
  if (!s.current) return WAVEFORMATEX{};
  std::lock_guard<std::mutex> g2(s.current->mu);
  return s.current->OutFormat();
}

uint32_t Advance(uint32_t frames) {
  auto& s = detail::State();
  std::lock_guard<std::mutex> g(s.mu);
  if (!s.current || frames == 0) return 0;
  uint32_t align;
  {
    std::lock_guard<std::mutex> g2(s.current->mu);
    align = s.current->OutFormat().nBlockAlign;
  }
  const size_t old = s.recording.size();
  s.recording.resize(old + static_cast<size_t>(frames) * align);
  s.current->Mix(s.recording.data() + old, frames);
  return frames;
}

uint32_t AdvanceMs(uint32_t ms) {
  const uint32_t rate = Format().nSamplesPerSec;
  return Advance(static_cast<uint32_t>(static_cast<uint64_t>(rate) * ms / 1000));
}

std::vector<uint8_t> TakeRecording() {
  auto& s = detail::State();
  std::lock_guard<std::mutex> g(s.mu);
  std::vector<uint8_t> out;
  out.swap(s.recording);
  return out;
}

}  // namespace nullout
}  // namespace plat::audio
