// Internal routines of the ZQ decoder: block unpacking, the predictor and the channel routines.
// Hidden in the library; the tests link them directly through the static core.
#pragma once

#include <cstdint>

#include "zqdec.h"

namespace zq {

constexpr unsigned kBlockSamples = ZQ_SAMPLES_PER_BLOCK;
constexpr unsigned kMonoBlockPcmBytes = kBlockSamples * 2;  // 64 bytes of PCM per block

struct History {
  int16_t s1;  // last output sample
  int16_t s2;  // the one before it
};

// Unpacks the 32 samples of one block into values; returns the block's header byte.
using UnpackFn = unsigned (*)(const uint8_t *block, int16_t *values);
using ChannelFn = int (*)(ZQDECODER *state, ZQSTREAMHEADER *stream);

unsigned zqUnpack4(const uint8_t *block, int16_t *values);
unsigned zqUnpack6(const uint8_t *block, int16_t *values);
unsigned zqUnpack8(const uint8_t *block, int16_t *values);

// Predictor coefficients by filter index; indices 6 to 15 have none and predict 0, like filter 0.
extern const int32_t zqFilterK0[16];
extern const int32_t zqFilterK1[16];

// Runs the predictor over count values and writes output i as 16-bit little-endian PCM at
// dst + 2 * i * step; reads and updates the channel's history.
void zqFilterBlock(History &history, unsigned headerByte, const int16_t *values, uint8_t *dst, unsigned step,
                   unsigned count);

int zqDecodeMono(ZQDECODER *state, ZQSTREAMHEADER *stream);
int zqDecodeStereo(ZQDECODER *state, ZQSTREAMHEADER *stream);

// Block size in bytes for a bit count (17, 25, 33), 0 when the bit count is not 4, 6 or 8.
unsigned zqBlockSize(unsigned bitsPerSample);

}  // namespace zq

// The decoder state behind a handle.
struct ZQDECODER {
  ZQFILEHEADER hdr;
  zq::History sHistory[2];
  uint32_t cbBlock;
  zq::UnpackFn pfnUnpack;
  zq::ChannelFn pfnChannel;
};
