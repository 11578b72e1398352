// Reads the "fmt " and "data" chunks of a RIFF/WAVE file through the RIFF reader, the way a
// WAV loader walks it (shared by the conversion tests and the WAV fuzzer).
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio/riff.h"
#include "platform/audio/waveformat.h"

namespace audiotest {

struct WavParts {
  std::vector<uint8_t> fmt;  // the "fmt " chunk as stored, at least 18 bytes
  uint32_t fmtSize = 0;      // the chunk's own size
  std::vector<uint8_t> data;

  const WAVEFORMATEX* Format() const { return reinterpret_cast<const WAVEFORMATEX*>(fmt.data()); }
};

inline bool ReadWav(const std::string& path, WavParts* out) {
  using namespace plat::audio;
  RiffFile* f = RiffOpen(path.c_str());
  if (!f) return false;
  RiffChunk riff, fmt, data;
  bool ok = RiffDescend(f, &riff, nullptr, 0) == MMSYSERR_NOERROR && riff.ckid == FOURCC_RIFF &&
            riff.fccType == MakeFourCC('W', 'A', 'V', 'E');
  fmt.ckid = MakeFourCC('f', 'm', 't', ' ');
  ok = ok && RiffDescend(f, &fmt, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR;
  if (ok) {
    out->fmtSize = fmt.cksize;
    out->fmt.assign(std::max<uint32_t>(fmt.cksize, 18), 0);
    ok = RiffRead(f, out->fmt.data(), static_cast<int32_t>(fmt.cksize)) == static_cast<int32_t>(fmt.cksize) &&
         RiffAscend(f, &fmt) == MMSYSERR_NOERROR;
  }
  data.ckid = MakeFourCC('d', 'a', 't', 'a');
  ok = ok && RiffDescend(f, &data, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR;
  if (ok) {
    out->data.resize(data.cksize);
    ok = RiffRead(f, out->data.data(), static_cast<int32_t>(data.cksize)) == static_cast<int32_t>(data.cksize);
  }
  RiffClose(f);
  return ok;
}

}  // namespace audiotest
