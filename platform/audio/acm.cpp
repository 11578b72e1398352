#include "acm.h"

#include <new>

#include "faults.h"
#include "pcmconv.h"

namespace plat::audio {

class AcmStream {
 public:
  detail::SrcFormat src;
};

void InjectAcmFailure(AcmCall call, MMRESULT result, unsigned skip, unsigned count) {
  detail::AcmFaults().Arm(static_cast<int>(call), result, skip, count);
}
void ClearAcmFailures() { detail::AcmFaults().Clear(); }

namespace {

bool Injected(AcmCall call, MMRESULT* result) {
  int64_t r = 0;
  if (!detail::AcmFaults().Take(static_cast<int>(call), &r)) return false;
  *result = static_cast<MMRESULT>(r);
  return true;
}

bool SamePcm(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
  return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec &&
         a.nAvgBytesPerSec == b.nAvgBytesPerSec && a.nBlockAlign == b.nBlockAlign &&
         a.wBitsPerSample == b.wBitsPerSample;
}

// Checks shared by the header calls: a stream, a header of our size with its buffers and,
// when asked, prepared.
MMRESULT CheckHeader(AcmStream* stream, const AcmStreamHeader* h, bool mustBePrepared) {
  if (!stream) return MMSYSERR_INVALHANDLE;
  if (!h || h->cbStruct != sizeof(AcmStreamHeader)) return MMSYSERR_INVALPARAM;
  if ((!h->pbSrc && h->cbSrcLength) || (!h->pbDst && h->cbDstLength)) return MMSYSERR_INVALPARAM;
  if (mustBePrepared && !(h->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)) return ACMERR_UNPREPARED;
  return MMSYSERR_NOERROR;
}

}  // namespace

MMRESULT AcmFormatSuggest(void* driver, const WAVEFORMATEX* src, uint32_t cbSrc, WAVEFORMATEX* dst, uint32_t cbDst,
                          uint32_t flags) {
  MMRESULT r;
  if (Injected(AcmCall::Suggest, &r)) return r;
  if (driver) return MMSYSERR_INVALHANDLE;
  if (!src || !dst || cbDst < 16) return MMSYSERR_INVALPARAM;
  if ((flags & ACM_FORMATSUGGESTF_WFORMATTAG) && dst->wFormatTag != WAVE_FORMAT_PCM) return ACMERR_NOTPOSSIBLE;
  detail::SrcFormat s;
  if (!detail::ParseSrcFormat(src, cbSrc, &s)) return ACMERR_NOTPOSSIBLE;
  const WAVEFORMATEX pcm = detail::PcmFormatFor(s);
  // Write field by field so that a 16-byte destination keeps its cbSize untouched.
  dst->wFormatTag = pcm.wFormatTag;
  dst->nChannels = pcm.nChannels;
  dst->nSamplesPerSec = pcm.nSamplesPerSec;
  dst->nAvgBytesPerSec = pcm.nAvgBytesPerSec;
  dst->nBlockAlign = pcm.nBlockAlign;
  dst->wBitsPerSample = pcm.wBitsPerSample;
  if (cbDst >= 18) dst->cbSize = 0;
  return MMSYSERR_NOERROR;
}

MMRESULT AcmStreamOpen(AcmStream** stream, void* driver, const WAVEFORMATEX* src, uint32_t cbSrc,
                       const WAVEFORMATEX* dst, void* filter, uintptr_t callback, uintptr_t instance, uint32_t) {
  MMRESULT r;
  if (Injected(AcmCall::Open, &r)) return r;
  if (!stream) return MMSYSERR_INVALPARAM;
  *stream = nullptr;
  if (driver || filter || callback || instance) return MMSYSERR_INVALPARAM;
  if (!src || !dst) return MMSYSERR_INVALPARAM;
  detail::SrcFormat s;
  if (!detail::ParseSrcFormat(src, cbSrc, &s)) return ACMERR_NOTPOSSIBLE;
  if (!SamePcm(*dst, detail::PcmFormatFor(s))) return ACMERR_NOTPOSSIBLE;
  AcmStream* a = new (std::nothrow) AcmStream;
  if (!a) return MMSYSERR_NOMEM;
  a->src = std::move(s);
  *stream = a;
  return MMSYSERR_NOERROR;
}

MMRESULT AcmStreamClose(AcmStream* stream, uint32_t) {
  if (!stream) return MMSYSERR_INVALHANDLE;
  delete stream;
  return MMSYSERR_NOERROR;
}

MMRESULT AcmStreamSize(AcmStream* stream, uint32_t input, uint32_t* output, uint32_t flags) {
  MMRESULT r;
  if (Injected(AcmCall::Size, &r)) return r;
  if (!stream) return MMSYSERR_INVALHANDLE;
  if (!output) return MMSYSERR_INVALPARAM;
  const detail::SrcFormat& s = stream->src;
  uint64_t result;
  if ((flags & 0xF) == ACM_STREAMSIZEF_SOURCE) {
    result = static_cast<uint64_t>(input / s.srcBlock) * s.dstBlock;
  } else if ((flags & 0xF) == ACM_STREAMSIZEF_DESTINATION) {
    result = static_cast<uint64_t>(input / s.dstBlock) * s.srcBlock;
  } else {
    return MMSYSERR_INVALFLAG;
  }
  if ((input != 0 && result == 0) || result > 0xFFFFFFFFu) return ACMERR_NOTPOSSIBLE;
  *output = static_cast<uint32_t>(result);
  return MMSYSERR_NOERROR;
}

MMRESULT AcmStreamPrepareHeader(AcmStream* stream, AcmStreamHeader* h, uint32_t) {
  MMRESULT r;
  if (Injected(AcmCall::Prepare, &r)) return r;
  if ((r = CheckHeader(stream, h, false)) != MMSYSERR_NOERROR) return r;
  if (h->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) return ACMERR_BUSY;
  h->fdwStatus = ACMSTREAMHEADER_STATUSF_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT AcmStreamUnprepareHeader(AcmStream* stream, AcmStreamHeader* h, uint32_t) {
  MMRESULT r;
  if (Injected(AcmCall::Unprepare, &r)) return r;
  if ((r = CheckHeader(stream, h, true)) != MMSYSERR_NOERROR) return r;
  h->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT AcmStreamConvert(AcmStream* stream, AcmStreamHeader* h, uint32_t) {
  MMRESULT r;
  if (Injected(AcmCall::Convert, &r)) return r;
  if ((r = CheckHeader(stream, h, true)) != MMSYSERR_NOERROR) return r;
  const detail::SrcFormat& s = stream->src;
  uint32_t blocks = h->cbSrcLength / s.srcBlock;
  if (h->cbDstLength / s.dstBlock < blocks) blocks = h->cbDstLength / s.dstBlock;
  for (uint32_t b = 0; b < blocks; ++b)
    detail::DecodeBlock(s, h->pbSrc + static_cast<size_t>(b) * s.srcBlock,
                        h->pbDst + static_cast<size_t>(b) * s.dstBlock);
  h->cbSrcLengthUsed = blocks * s.srcBlock;
  h->cbDstLengthUsed = blocks * s.dstBlock;
  h->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
  return MMSYSERR_NOERROR;
}

}  // namespace plat::audio
