#include "mixer.h"

#include <algorithm>

namespace plat::audio::detail {

bool Voice::IsLocked(uint32_t begin, uint32_t end) const {
  auto hit = [&](const Range& r) { return r.begin < end && begin < r.end; };
  for (const LockRecord& l : locks)
    if (hit(l.first) || hit(l.second)) return true;
  return false;
}

void MixerCore::Attach(Voice* v) { voices_.push_back(v); }

void MixerCore::Detach(Voice* v) { voices_.erase(std::remove(voices_.begin(), voices_.end(), v), voices_.end()); }

namespace {

// One frame of a voice as 16-bit scaled left/right values; a locked frame is silence.
void ReadFrame(const Voice& v, uint32_t frame, int32_t& l, int32_t& r) {
  const uint32_t align = v.format.nBlockAlign;
  const uint32_t off = frame * align;
  if (!v.locks.empty() && v.IsLocked(off, off + align)) {
    l = r = 0;
    return;
  }
  const uint8_t* p = v.data.data() + off;
  auto sample = [&](int i) -> int32_t {
    if (v.format.wBitsPerSample == 8) return (static_cast<int32_t>(p[i]) - 128) * 256;
    return static_cast<int16_t>(static_cast<uint16_t>(p[2 * i] | (p[2 * i + 1] << 8)));
  };
  l = sample(0);
  r = v.format.nChannels == 2 ? sample(1) : l;
}

}  // namespace

void MixerCore::MixVoice(Voice& v, uint32_t frames) {
  if (v.frames == 0 || out_.nSamplesPerSec == 0) {
    v.playing = false;
    return;
  }
  const uint64_t step = (static_cast<uint64_t>(v.format.nSamplesPerSec) << 32) / out_.nSamplesPerSec;
  const bool stereoOut = out_.nChannels == 2;
  for (uint32_t i = 0; i < frames && v.playing; ++i) {
    int32_t l, r;
    ReadFrame(v, v.pos, l, r);
    if (v.frac != 0) {
      uint32_t next = v.pos + 1 < v.frames ? v.pos + 1 : (v.looping ? 0 : v.pos);
      int32_t l2, r2;
      ReadFrame(v, next, l2, r2);
      l += static_cast<int32_t>((static_cast<int64_t>(l2 - l) * v.frac) >> 32);
      r += static_cast<int32_t>((static_cast<int64_t>(r2 - r) * v.frac) >> 32);
    }
    if (stereoOut) {
      acc_[2 * i] += l;
      acc_[2 * i + 1] += r;
    } else {
      acc_[i] += (l + r) >> 1;
    }
    const uint64_t f = static_cast<uint64_t>(v.frac) + step;
    const uint64_t pos = static_cast<uint64_t>(v.pos) + (f >> 32);
    v.frac = static_cast<uint32_t>(f);
    if (pos >= v.frames) {
      if (v.looping) {
        v.pos = static_cast<uint32_t>(pos % v.frames);
      } else {
        v.playing = false;
        v.pos = 0;
        v.frac = 0;
      }
    } else {
      v.pos = static_cast<uint32_t>(pos);
    }
  }
}

void MixerCore::Mix(uint8_t* out, uint32_t frames) {
  std::lock_guard<std::mutex> g(mu);
  const uint32_t ch = out_.nChannels == 2 ? 2 : 1;
  const size_t n = static_cast<size_t>(frames) * ch;
  if (acc_.size() < n) acc_.resize(n);
  std::fill(acc_.begin(), acc_.begin() + n, 0);
  for (Voice* v : voices_)
    if (v->playing) MixVoice(*v, frames);
  for (size_t i = 0; i < n; ++i) {
    const int32_t s = std::clamp(acc_[i], -32768, 32767);
    if (out_.wBitsPerSample == 8) {
      out[i] = static_cast<uint8_t>((s >> 8) + 128);
    } else {
      const uint16_t u = static_cast<uint16_t>(static_cast<int16_t>(s));
      out[2 * i] = static_cast<uint8_t>(u & 0xFF);
      out[2 * i + 1] = static_cast<uint8_t>(u >> 8);
    }
  }
}

}  // namespace plat::audio::detail
