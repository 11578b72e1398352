// The software mixer shared by the device, its buffers and the output backends (internal).
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "waveformat.h"

namespace plat::audio::detail {

// One secondary buffer as the mixer sees it. Fields other than `data`'s bytes are guarded by
// the core's mutex; the bytes of a locked range belong to the caller until it unlocks them,
// and the mixer never reads them.
struct Voice {
  WAVEFORMATEX format{};
  std::vector<uint8_t> data;  // fixed size for the buffer's whole life
  uint32_t frames = 0;        // data.size() / nBlockAlign
  bool playing = false;
  bool looping = false;
  uint32_t pos = 0;   // current frame
  uint32_t frac = 0;  // fraction of a frame, in 1/2^32
  struct Range {
    uint32_t begin, end;  // bytes [begin, end)
  };
  struct LockRecord {
    Range first{0, 0};
    Range second{0, 0};  // empty when the lock did not wrap
  };
  std::vector<LockRecord> locks;

  // Whether any byte of [begin, end) is locked.
  bool IsLocked(uint32_t begin, uint32_t end) const;
};

class MixerCore {
 public:
  explicit MixerCore(const WAVEFORMATEX& out) : out_(out) {}

  std::mutex mu;

  // Under mu.
  const WAVEFORMATEX& OutFormat() const { return out_; }
  void SetOutFormat(const WAVEFORMATEX& f) { out_ = f; }
  void Attach(Voice* v);
  void Detach(Voice* v);

  // Takes mu and mixes `frames` output frames into out (frames x out block align bytes).
  void Mix(uint8_t* out, uint32_t frames);

 private:
  void MixVoice(Voice& v, uint32_t frames);

  WAVEFORMATEX out_;
  std::vector<Voice*> voices_;
  std::vector<int32_t> acc_;
};

// Silence byte of a PCM format: 0x80 for 8 bits per sample, 0 otherwise.
inline uint8_t SilenceByte(const WAVEFORMATEX& f) { return f.wBitsPerSample == 8 ? 0x80 : 0; }

}  // namespace plat::audio::detail
