#include "pcmconv.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plat::audio::detail {
namespace {

constexpr uint32_t kMaxRate = 1000000;
constexpr uint32_t kMaxMsAdpcmCoefs = 256;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
void Put16(uint8_t* p, int32_t v) {
  const uint16_t u = static_cast<uint16_t>(static_cast<int16_t>(v));
  p[0] = static_cast<uint8_t>(u & 0xFF);
  p[1] = static_cast<uint8_t>(u >> 8);
}
int32_t Clamp16(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, -32768, 32767)); }

// The sub-format GUID of WAVE_FORMAT_EXTENSIBLE after its first four bytes.
constexpr uint8_t kGuidTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool SetPcmLike(SrcFormat* s, uint32_t tag, uint32_t bits, uint32_t blockAlign) {
  const uint32_t bytes = bits / 8;
  if (bits % 8 != 0 || blockAlign != s->channels * bytes) return false;
  if (tag == WAVE_FORMAT_PCM) {
    switch (bits) {
      case 8:
        s->kind = SrcKind::Pcm8;
        s->outBits = 8;
        break;
      case 16: s->kind = SrcKind::Pcm16; break;
      case 24: s->kind = SrcKind::Pcm24; break;
      case 32: s->kind = SrcKind::Pcm32; break;
      default: return false;
    }
  } else if (tag == WAVE_FORMAT_IEEE_FLOAT) {
    if (bits == 32)
      s->kind = SrcKind::Float32;
    else if (bits == 64)
      s->kind = SrcKind::Float64;
    else
      return false;
  } else {
    return false;
  }
  s->srcBlock = blockAlign;
  s->dstBlock = s->channels * s->outBits / 8;
  return true;
}

}  // namespace

bool ParseSrcFormat(const WAVEFORMATEX* fmt, uint32_t available, SrcFormat* out) {
  if (!fmt || available < 16) return false;
  SrcFormat s;
  s.channels = fmt->nChannels;
  s.rate = fmt->nSamplesPerSec;
  if (s.channels < 1 || s.channels > 2 || s.rate < 1 || s.rate > kMaxRate) return false;
  const uint32_t blockAlign = fmt->nBlockAlign;
  const uint32_t bits = fmt->wBitsPerSample;
  // Extra bytes after the 18-byte record that the format declares and the chunk holds.
  const uint32_t extra = available >= 18 ? fmt->cbSize : 0;
  const bool extraFits = available >= 18 && 18u + extra <= available;
  const uint8_t* ext = reinterpret_cast<const uint8_t*>(fmt) + 18;

  switch (fmt->wFormatTag) {
    case WAVE_FORMAT_PCM:
    case WAVE_FORMAT_IEEE_FLOAT:
      if (!SetPcmLike(&s, fmt->wFormatTag, bits, blockAlign)) return false;
      break;
    case WAVE_FORMAT_EXTENSIBLE: {
      if (!extraFits || extra < 22) return false;
      const uint32_t valid = Le16(ext);
      const uint32_t tag = Le32(ext + 6);
      if (std::memcmp(ext + 10, kGuidTail, sizeof kGuidTail) != 0) return false;
      if (valid > bits) return false;
      if (!SetPcmLike(&s, tag, bits, blockAlign)) return false;
      break;
    }
    case WAVE_FORMAT_MULAW:
    case WAVE_FORMAT_ALAW:
      if (bits != 8 || blockAlign != s.channels) return false;
      s.kind = fmt->wFormatTag == WAVE_FORMAT_MULAW ? SrcKind::MuLaw : SrcKind::ALaw;
      s.srcBlock = blockAlign;
      s.dstBlock = 2 * s.channels;
      break;
    case WAVE_FORMAT_IMA_ADPCM: {
      if (bits != 4 || !extraFits || extra < 2) return false;
      const uint32_t header = 4 * s.channels;
      if (blockAlign <= header || blockAlign % header != 0) return false;
      const uint32_t capacity = (blockAlign - header) * 2 / s.channels + 1;
      const uint32_t spb = Le16(ext);
      if (spb < 1 || spb > capacity) return false;
      s.kind = SrcKind::ImaAdpcm;
      s.samplesPerBlock = spb;
      s.srcBlock = blockAlign;
      s.dstBlock = spb * 2 * s.channels;
      break;
    }
    case WAVE_FORMAT_ADPCM: {
      if (bits != 4 || !extraFits || extra < 4) return false;
      const uint32_t header = 7 * s.channels;
      if (blockAlign < header) return false;
      const uint32_t capacity = (blockAlign - header) * 2 / s.channels + 2;
      const uint32_t spb = Le16(ext);
      const uint32_t ncoef = Le16(ext + 2);
      if (spb < 2 || spb > capacity) return false;
      if (ncoef < 1 || ncoef > kMaxMsAdpcmCoefs || 4 + 4 * ncoef > extra) return false;
      s.kind = SrcKind::MsAdpcm;
      s.samplesPerBlock = spb;
      s.srcBlock = blockAlign;
      s.dstBlock = spb * 2 * s.channels;
      for (uint32_t i = 0; i < ncoef; ++i) {
        s.coef1.push_back(static_cast<int16_t>(Le16(ext + 4 + 4 * i)));
        s.coef2.push_back(static_cast<int16_t>(Le16(ext + 6 + 4 * i)));
      }
      break;
    }
    default: return false;
  }
  *out = std::move(s);
  return true;
}

WAVEFORMATEX PcmFormatFor(const SrcFormat& src) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = static_cast<uint16_t>(src.channels);
  f.nSamplesPerSec = src.rate;
  f.wBitsPerSample = static_cast<uint16_t>(src.outBits);
  f.nBlockAlign = static_cast<uint16_t>(src.channels * src.outBits / 8);
  f.nAvgBytesPerSec = src.rate * f.nBlockAlign;
  f.cbSize = 0;
  return f;
}

namespace {

int16_t MuLawToLinear(uint8_t b) {
  const uint8_t u = static_cast<uint8_t>(~b);
  int32_t t = ((u & 0x0F) << 3) + 0x84;
  t <<= (u & 0x70) >> 4;
  return static_cast<int16_t>((u & 0x80) ? (0x84 - t) : (t - 0x84));
}

int16_t ALawToLinear(uint8_t b) {
  const uint8_t a = static_cast<uint8_t>(b ^ 0x55);
  int32_t t = (a & 0x0F) << 4;
  const int seg = (a & 0x70) >> 4;
  if (seg == 0) {
    t += 8;
  } else {
    t += 0x108;
    if (seg > 1) t <<= seg - 1;
  }
  return static_cast<int16_t>((a & 0x80) ? t : -t);
}

int32_t FloatTo16(double v) {
  if (std::isnan(v)) return 0;
  return Clamp16(std::llrint(std::clamp(v * 32767.0, -40000.0, 40000.0)));
}

constexpr int kImaIndex[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};
constexpr int kImaStep[89] = {7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
                              25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
                              88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
                              307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
                              1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
                              3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
                              12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

void DecodeIma(const SrcFormat& s, const uint8_t* in, uint8_t* out) {
  const uint32_t ch = s.channels;
  for (uint32_t c = 0; c < ch; ++c) {
    const uint8_t* h = in + 4 * c;
    int32_t pred = static_cast<int16_t>(Le16(h));
    int index = std::min<int>(h[2], 88);
    Put16(out + 2 * c, pred);
    // Data: groups of 4 bytes (8 samples) per channel, channels alternating.
    for (uint32_t k = 1; k < s.samplesPerBlock; ++k) {
      const uint32_t n = k - 1;  // nibble number in this channel
      const uint32_t group = n / 8, inGroup = n % 8;
      const uint8_t byte = in[4 * ch + (group * ch + c) * 4 + inGroup / 2];
      const int nib = (inGroup & 1) ? (byte >> 4) : (byte & 0x0F);
      const int step = kImaStep[index];
      int32_t diff = step >> 3;
      if (nib & 1) diff += step >> 2;
      if (nib & 2) diff += step >> 1;
      if (nib & 4) diff += step;
      if (nib & 8) diff = -diff;
      pred = Clamp16(static_cast<int64_t>(pred) + diff);
      index = std::clamp(index + kImaIndex[nib], 0, 88);
      Put16(out + 2 * (k * ch + c), pred);
    }
  }
}

constexpr int kMsAdapt[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};
constexpr int32_t kMsDeltaMax = 1 << 24;

void DecodeMs(const SrcFormat& s, const uint8_t* in, uint8_t* out) {
  const uint32_t ch = s.channels;
  int32_t pred[2], delta[2], s1[2], s2[2];
  bool bad = false;
  for (uint32_t c = 0; c < ch; ++c) {
    pred[c] = in[c];
    delta[c] = static_cast<int16_t>(Le16(in + ch + 2 * c));
    s1[c] = static_cast<int16_t>(Le16(in + 3 * ch + 2 * c));
    s2[c] = static_cast<int16_t>(Le16(in + 5 * ch + 2 * c));
    if (static_cast<uint32_t>(pred[c]) >= s.coef1.size()) bad = true;
  }
  if (bad) {  // a block that names no predictor decodes as silence
    std::memset(out, 0, s.dstBlock);
    return;
  }
  for (uint32_t c = 0; c < ch; ++c) {
    Put16(out + 2 * c, s2[c]);
    Put16(out + 2 * (ch + c), s1[c]);
  }
  const uint8_t* data = in + 7 * ch;
  const uint32_t total = (s.samplesPerBlock - 2) * ch;  // nibbles
  for (uint32_t n = 0; n < total; ++n) {
    const uint32_t c = n % ch;
    const uint8_t byte = data[n / 2];
    const int code = (n & 1) ? (byte & 0x0F) : (byte >> 4);
    const int snib = code >= 8 ? code - 16 : code;
    const int p = pred[c];
    const int64_t predict = (static_cast<int64_t>(s1[c]) * s.coef1[p] + static_cast<int64_t>(s2[c]) * s.coef2[p]) >> 8;
    const int32_t cur = Clamp16(predict + static_cast<int64_t>(snib) * delta[c]);
    delta[c] =
        static_cast<int32_t>(std::min<int64_t>((static_cast<int64_t>(kMsAdapt[code]) * delta[c]) >> 8, kMsDeltaMax));
    if (delta[c] < 16) delta[c] = 16;
    s2[c] = s1[c];
    s1[c] = cur;
    Put16(out + 2 * (2 * ch + n), cur);
  }
}

}  // namespace

void DecodeBlock(const SrcFormat& s, const uint8_t* in, uint8_t* out) {
  const uint32_t ch = s.channels;
  switch (s.kind) {
    case SrcKind::Pcm8:
    case SrcKind::Pcm16: std::memcpy(out, in, s.dstBlock); break;
    case SrcKind::Pcm24:
      for (uint32_t c = 0; c < ch; ++c) {
        out[2 * c] = in[3 * c + 1];
        out[2 * c + 1] = in[3 * c + 2];
      }
      break;
    case SrcKind::Pcm32:
      for (uint32_t c = 0; c < ch; ++c) {
        out[2 * c] = in[4 * c + 2];
        out[2 * c + 1] = in[4 * c + 3];
      }
      break;
    case SrcKind::Float32:
      for (uint32_t c = 0; c < ch; ++c) {
        float f;
        const uint32_t u = Le32(in + 4 * c);
        std::memcpy(&f, &u, 4);
        Put16(out + 2 * c, FloatTo16(f));
      }
      break;
    case SrcKind::Float64:
      for (uint32_t c = 0; c < ch; ++c) {
        const uint64_t u = Le32(in + 8 * c) | (static_cast<uint64_t>(Le32(in + 8 * c + 4)) << 32);
        double d;
        std::memcpy(&d, &u, 8);
        Put16(out + 2 * c, FloatTo16(d));
      }
      break;
    case SrcKind::MuLaw:
      for (uint32_t c = 0; c < ch; ++c) Put16(out + 2 * c, MuLawToLinear(in[c]));
      break;
    case SrcKind::ALaw:
      for (uint32_t c = 0; c < ch; ++c) Put16(out + 2 * c, ALawToLinear(in[c]));
      break;
    case SrcKind::ImaAdpcm: DecodeIma(s, in, out); break;
    case SrcKind::MsAdpcm: DecodeMs(s, in, out); break;
  }
}

}  // namespace plat::audio::detail
