// Any bytes as a WAV file: walk its chunks, then convert its data to PCM in one call and in
// block-aligned pieces. Nothing may read or write out of bounds, whatever the sizes say.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/audio/acm.h"
#include "wav_parts.h"

using namespace plat::audio;

namespace {

void Convert(AcmStream* s, const uint8_t* src, uint32_t srcLen, uint32_t dstLen) {
  std::vector<uint8_t> dst(dstLen);
  AcmStreamHeader h;
  h.pbSrc = const_cast<uint8_t*>(src);
  h.cbSrcLength = srcLen;
  h.pbDst = dst.data();
  h.cbDstLength = dstLen;
  if (AcmStreamPrepareHeader(s, &h) != MMSYSERR_NOERROR) return;
  AcmStreamConvert(s, &h, ACM_STREAMCONVERTF_BLOCKALIGN);
  if (h.cbSrcLengthUsed > srcLen || h.cbDstLengthUsed > dstLen) __builtin_trap();
  AcmStreamUnprepareHeader(s, &h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz_wavread_" + std::to_string(getpid()) + ".wav";
  std::FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) return 0;
  std::fwrite(data, 1, size, fp);
  std::fclose(fp);

  audiotest::WavParts w;
  if (!audiotest::ReadWav(path, &w)) return 0;
  WAVEFORMATEX dst{};
  dst.wFormatTag = WAVE_FORMAT_PCM;
  if (AcmFormatSuggest(nullptr, w.Format(), w.fmtSize, &dst, sizeof dst, ACM_FORMATSUGGESTF_WFORMATTAG) !=
      MMSYSERR_NOERROR)
    return 0;
  AcmStream* s = nullptr;
  if (AcmStreamOpen(&s, nullptr, w.Format(), w.fmtSize, &dst, nullptr, 0, 0, 0) != MMSYSERR_NOERROR) return 0;
  const uint32_t srcLen = static_cast<uint32_t>(w.data.size());
  uint32_t whole = 0, piece = 0;
  if (AcmStreamSize(s, srcLen, &whole, ACM_STREAMSIZEF_SOURCE) == MMSYSERR_NOERROR && whole <= (64u << 20))
    Convert(s, w.data.data(), srcLen, whole);
  if (AcmStreamSize(s, 4096, &piece, ACM_STREAMSIZEF_DESTINATION) == MMSYSERR_NOERROR) {
    for (uint32_t at = 0; at < srcLen; at += piece ? piece : srcLen)
      Convert(s, w.data.data() + at, std::min(piece, srcLen - at), 4096);
  }
  AcmStreamClose(s);
  return 0;
}
