#include "zqencode.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "zqcore.h"

namespace zqenc {
namespace {

constexpr unsigned kSamples = zq::kBlockSamples;
constexpr unsigned kFilters = 5;  // filter 5 and above predict nothing, like filter 0

void PutLe32(uint8_t *p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetLe32(const uint8_t *p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint16_t GetLe16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Packs 32 coded values of bits each (two's complement in the low bits) into a block.
void PackBlock(unsigned bits, unsigned headerByte, const int *codes, uint8_t *block) {
  block[0] = static_cast<uint8_t>(headerByte);
  uint8_t *data = block + 1;
  if (bits == 4) {
    for (unsigned i = 0; i < kSamples / 2; ++i)
      data[i] = static_cast<uint8_t>((codes[2 * i] & 15) << 4 | (codes[2 * i + 1] & 15));
  } else if (bits == 6) {
    for (unsigned g = 0; g < kSamples / 4; ++g) {
      uint32_t w = 0;
      for (unsigned j = 0; j < 4; ++j) w = w << 6 | static_cast<uint32_t>(codes[4 * g + j] & 63);
      data[3 * g] = static_cast<uint8_t>(w >> 16);
      data[3 * g + 1] = static_cast<uint8_t>(w >> 8);
      data[3 * g + 2] = static_cast<uint8_t>(w);
    }
  } else {
    for (unsigned i = 0; i < kSamples; ++i) data[i] = static_cast<uint8_t>(codes[i] & 255);
  }
}

// The step the decoder adds for a code: (code placed in the top bits of 16) >> shift.
int CodeToDelta(int code, unsigned bits, unsigned shift) {
  const int v = static_cast<int16_t>(static_cast<uint16_t>(code << (16 - bits)));
  return v >> shift;
}

// Chooses the code whose delta lands the output nearest to the target without wrapping.
int ChooseCode(int target, int prediction, unsigned bits, unsigned shift) {
  const int lo = -(1 << (bits - 1));
  const int hi = (1 << (bits - 1)) - 1;
  const int top = static_cast<int>(16 - bits);
  const int r = target - prediction;
  int code;
  if (static_cast<int>(shift) <= top) {
    const int step = 1 << (top - static_cast<int>(shift));
    const double q = static_cast<double>(r) / step;
    code = static_cast<int>(q < 0 ? q - 0.5 : q + 0.5);
  } else {
    const int sh = static_cast<int>(shift) - top;  // delta = code >> sh
    code = r * (1 << sh);
  }
  code = std::clamp(code, lo, hi);
  // Step back from a sum that would wrap around the 16-bit range.
  while (code > lo && prediction + CodeToDelta(code, bits, shift) > 32767) --code;
  while (code < hi && prediction + CodeToDelta(code, bits, shift) < -32768) ++code;
  return code;
}

struct Candidate {
  std::array<uint8_t, 33> block{};
  zq::History history{};
  int64_t error = std::numeric_limits<int64_t>::max();
};

// Encodes 32 samples of one channel; history is the decoder's state before the block and is
// advanced as the decoder will advance it.
void EncodeBlock(const int16_t *x, unsigned bits, zq::History &history, uint8_t *out) {
  const unsigned size = zq::zqBlockSize(bits);
  const zq::UnpackFn unpack = bits == 4 ? zq::zqUnpack4 : bits == 6 ? zq::zqUnpack6 : zq::zqUnpack8;
  Candidate best;
  for (unsigned f = 0; f < kFilters; ++f) {
    for (unsigned k = 0; k < 16; ++k) {
      int codes[kSamples];
      int32_t s1 = history.s1, s2 = history.s2;
      for (unsigned i = 0; i < kSamples; ++i) {
        const int32_t p = (zq::zqFilterK0[f] * s1 - zq::zqFilterK1[f] * s2) / 256;
        codes[i] = ChooseCode(x[i], p, bits, k);
        const int16_t o = static_cast<int16_t>(static_cast<uint16_t>(p + CodeToDelta(codes[i], bits, k)));
        s2 = s1;
        s1 = o;
      }
      // Score the block with the decoder's own routines.
      Candidate c;
      PackBlock(bits, f << 4 | k, codes, c.block.data());
      int16_t values[kSamples];
      uint8_t pcm[2 * kSamples];
      c.history = history;
      zq::zqFilterBlock(c.history, unpack(c.block.data(), values), values, pcm, 1, kSamples);
      c.error = 0;
      for (unsigned i = 0; i < kSamples; ++i) {
        const int o = static_cast<int16_t>(static_cast<uint16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8));
        const int64_t e = o - x[i];
        c.error += e * e;
      }
      if (c.error < best.error) best = c;
    }
  }
  std::memcpy(out, best.block.data(), size);
  history = best.history;
}

}  // namespace

std::vector<uint8_t> EncodeZq(const Pcm &pcm, unsigned bitsPerSample) {
  const unsigned size = zq::zqBlockSize(bitsPerSample);
  if (size == 0 || (pcm.channels != 1 && pcm.channels != 2) || pcm.rate == 0 || pcm.rate > 65535) return {};
  const size_t frames = pcm.data.size() / pcm.channels;
  const size_t blocks = (frames + kSamples - 1) / kSamples;
  const uint64_t cbData = uint64_t{blocks} * size * pcm.channels;
  if (cbData > UINT32_MAX || frames > UINT32_MAX) return {};

  std::vector<uint8_t> file(ZQ_FILEHEADER_SIZE + cbData, 0);
  PutLe32(&file[0], ZQ_MAGIC);
  PutLe32(&file[4], static_cast<uint32_t>(cbData));
  PutLe32(&file[8], static_cast<uint32_t>(frames));
  file[12] = static_cast<uint8_t>(pcm.rate);
  file[13] = static_cast<uint8_t>(pcm.rate >> 8);
  file[14] = static_cast<uint8_t>(bitsPerSample);
  file[15] = static_cast<uint8_t>(pcm.channels);

  zq::History history[2] = {};
  uint8_t *out = file.data() + ZQ_FILEHEADER_SIZE;
  for (size_t b = 0; b < blocks; ++b) {
    for (unsigned ch = 0; ch < pcm.channels; ++ch) {
      int16_t x[kSamples] = {};
      for (unsigned i = 0; i < kSamples; ++i) {
        const size_t frame = b * kSamples + i;
        if (frame < frames) x[i] = pcm.data[frame * pcm.channels + ch];
      }
      EncodeBlock(x, bitsPerSample, history[ch], out);
      out += size;
    }
  }
  return file;
}

bool ReadWavPcm(const std::vector<uint8_t> &file, Pcm &out, std::string &error) {
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
    error = "not a RIFF/WAVE file";
    return false;
  }
  unsigned format = 0, channels = 0, rate = 0, bits = 0;
  const uint8_t *data = nullptr;
  size_t dataSize = 0;
  size_t pos = 12;
  while (pos + 8 <= file.size()) {
    const uint8_t *chunk = file.data() + pos;
    const size_t size = std::min<size_t>(GetLe32(chunk + 4), file.size() - pos - 8);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
      format = GetLe16(chunk + 8);
      channels = GetLe16(chunk + 10);
      rate = GetLe32(chunk + 12);
      bits = GetLe16(chunk + 22);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      data = chunk + 8;
      dataSize = size;
    }
    pos += 8 + size + (size & 1);
  }
  if (format != 1 || (bits != 8 && bits != 16) || (channels != 1 && channels != 2)) {
    error = "only 8- or 16-bit PCM, mono or stereo, can be encoded";
    return false;
  }
  if (rate == 0 || rate > 65535) {
    error = "the sample rate must be 1 to 65535 Hz";
    return false;
  }
  if (data == nullptr) {
    error = "no data chunk";
    return false;
  }
  out.rate = rate;
  out.channels = channels;
  out.data.clear();
  if (bits == 8) {
    for (size_t i = 0; i < dataSize; ++i) out.data.push_back(static_cast<int16_t>((data[i] - 128) * 256));
  } else {
    for (size_t i = 0; i + 1 < dataSize; i += 2) out.data.push_back(static_cast<int16_t>(GetLe16(data + i)));
  }
  out.data.resize(out.data.size() / channels * channels);
  return true;
}

}  // namespace zqenc
