#include "zqcore.h"

namespace zq {

const int32_t zqFilterK0[16] = {0, 240, 460, 392, 488, 0};
const int32_t zqFilterK1[16] = {0, 0, 208, 220, 240, 0};

unsigned zqUnpack4(const uint8_t *block, int16_t *values) {
  const uint8_t *data = block + 1;
  for (unsigned i = 0; i < kBlockSamples / 2; ++i) {
    const unsigned b = data[i];
    values[2 * i] = static_cast<int16_t>(static_cast<uint16_t>((b & 0xF0u) << 8));
    values[2 * i + 1] = static_cast<int16_t>(static_cast<uint16_t>(b << 12));
  }
  return block[0];
}

unsigned zqUnpack6(const uint8_t *block, int16_t *values) {
  const uint8_t *data = block + 1;
  for (unsigned g = 0; g < kBlockSamples / 4; ++g) {
    const uint32_t w =
        static_cast<uint32_t>(data[3 * g]) << 16 | static_cast<uint32_t>(data[3 * g + 1]) << 8 | data[3 * g + 2];
    // Each six-bit field goes to the top of a 16-bit value: bits 23-18 shift left by 8 and
    // so on; the low ten bits stay zero.
    values[4 * g] = static_cast<int16_t>(static_cast<uint16_t>((w >> 8) & 0xFC00u));
    values[4 * g + 1] = static_cast<int16_t>(static_cast<uint16_t>((w >> 2) & 0xFC00u));
    values[4 * g + 2] = static_cast<int16_t>(static_cast<uint16_t>((w << 4) & 0xFC00u));
    values[4 * g + 3] = static_cast<int16_t>(static_cast<uint16_t>((w << 10) & 0xFC00u));
  }
  return block[0];
}

unsigned zqUnpack8(const uint8_t *block, int16_t *values) {
  const uint8_t *data = block + 1;
  for (unsigned i = 0; i < kBlockSamples; ++i) values[i] = static_cast<int16_t>(static_cast<uint16_t>(data[i] << 8));
  return block[0];
}

void zqFilterBlock(History &history, unsigned headerByte, const int16_t *values, uint8_t *dst, unsigned step,
                   unsigned count) {
  const unsigned f = (headerByte >> 4) & 15u;
  const unsigned k = headerByte & 15u;
  const int32_t k0 = zqFilterK0[f];
  const int32_t k1 = zqFilterK1[f];
  int32_t s1 = history.s1;
  int32_t s2 = history.s2;
  const unsigned stride = 2 * step;
  for (unsigned i = 0; i < count; ++i) {
    const int32_t d = values[i] >> k;                   // arithmetic: the sign is kept
    const int32_t p = (k0 * s1 - k1 * s2) / 256;        // truncates toward zero
    const uint16_t out = static_cast<uint16_t>(d + p);  // wraps to 16 bits
    dst[i * stride] = static_cast<uint8_t>(out);
    dst[i * stride + 1] = static_cast<uint8_t>(out >> 8);
    s2 = s1;
    s1 = static_cast<int16_t>(out);
  }
  history.s1 = static_cast<int16_t>(s1);
  history.s2 = static_cast<int16_t>(s2);
}

// The lengths and counts are 32-bit; sums are formed in 64 bits so that no test wraps.
int zqDecodeMono(ZQDECODER *state, ZQSTREAMHEADER *stream) {
  const uint64_t block = state->cbBlock;
  int16_t values[kBlockSamples];
  while (uint64_t{stream->cbSrcLength} >= stream->cbSrcLengthUsed + block &&
         uint64_t{stream->cbDstLength} >= uint64_t{stream->cbDstLengthUsed} + kMonoBlockPcmBytes) {
    const unsigned hb = state->pfnUnpack(stream->pbSrc + stream->cbSrcLengthUsed, values);
    zqFilterBlock(state->sHistory[0], hb, values, stream->pbDst + stream->cbDstLengthUsed, 1, kBlockSamples);
    stream->cbSrcLengthUsed += state->cbBlock;
    stream->cbDstLengthUsed += kMonoBlockPcmBytes;
  }
  return 1;
}

int zqDecodeStereo(ZQDECODER *state, ZQSTREAMHEADER *stream) {
  const uint64_t pair = 2 * uint64_t{state->cbBlock};
  int16_t values[kBlockSamples];
  while (uint64_t{stream->cbSrcLength} >= stream->cbSrcLengthUsed + pair &&
         uint64_t{stream->cbDstLength} >= uint64_t{stream->cbDstLengthUsed} + 2 * kMonoBlockPcmBytes) {
    const uint8_t *src = stream->pbSrc + stream->cbSrcLengthUsed;
    uint8_t *dst = stream->pbDst + stream->cbDstLengthUsed;
    unsigned hb = state->pfnUnpack(src, values);
    zqFilterBlock(state->sHistory[0], hb, values, dst, 2, kBlockSamples);
    hb = state->pfnUnpack(src + state->cbBlock, values);
    zqFilterBlock(state->sHistory[1], hb, values, dst + 2, 2, kBlockSamples);
    stream->cbSrcLengthUsed += 2 * state->cbBlock;
    stream->cbDstLengthUsed += 2 * kMonoBlockPcmBytes;
  }
  return 1;
}

unsigned zqBlockSize(unsigned bitsPerSample) {
  switch (bitsPerSample) {
    case 4: return 17;
    case 6: return 25;
    case 8: return 33;
    default: return 0;
  }
}

}  // namespace zq
