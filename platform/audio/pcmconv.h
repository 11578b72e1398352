// Parsing of source wave formats and block decoders to PCM (internal to acm.cpp).
#pragma once
#include <cstdint>
#include <vector>

#include "waveformat.h"

namespace plat::audio::detail {

enum class SrcKind { Pcm8, Pcm16, Pcm24, Pcm32, Float32, Float64, MsAdpcm, ImaAdpcm, MuLaw, ALaw };

struct SrcFormat {
  SrcKind kind = SrcKind::Pcm16;
  uint32_t channels = 0;
  uint32_t rate = 0;
  uint32_t srcBlock = 0;              // source bytes per block
  uint32_t dstBlock = 0;              // PCM bytes per block
  uint32_t samplesPerBlock = 1;       // per channel
  uint32_t outBits = 16;              // 8 only for 8-bit PCM
  std::vector<int16_t> coef1, coef2;  // MS ADPCM predictor pairs
};

// Reads a format of which `available` bytes are really there. False for a format that
// cannot be converted to PCM or is inconsistent.
bool ParseSrcFormat(const WAVEFORMATEX* fmt, uint32_t available, SrcFormat* out);

// The PCM format that the source converts to.
WAVEFORMATEX PcmFormatFor(const SrcFormat& src);

// Decodes one block (src.srcBlock bytes) into src.dstBlock bytes of PCM.
void DecodeBlock(const SrcFormat& src, const uint8_t* in, uint8_t* out);

}  // namespace plat::audio::detail
