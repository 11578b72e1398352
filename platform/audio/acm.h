// Conversion of wave formats to PCM (in place of the audio compression manager).
//
// Sources: PCM 8/16-bit (kept as they are), MS ADPCM, IMA ADPCM (4-bit), u-law, A-law,
// PCM 24/32-bit integer, IEEE float 32/64-bit and WAVE_FORMAT_EXTENSIBLE with a PCM or float
// sub-format (all of these to 16-bit PCM); 1 or 2 channels. The destination has the
// source's rate and channel count. Conversion works on whole source blocks only and keeps
// no state between calls (every block of these formats decodes on its own).
#pragma once
#include <cstdint>

#include "riff.h"  // MMRESULT, MMSYSERR_*
#include "waveformat.h"

namespace plat::audio {

constexpr MMRESULT ACMERR_NOTPOSSIBLE = 512;
constexpr MMRESULT ACMERR_BUSY = 513;
constexpr MMRESULT ACMERR_UNPREPARED = 514;

constexpr uint32_t ACM_FORMATSUGGESTF_WFORMATTAG = 0x00010000;
constexpr uint32_t ACM_STREAMOPENF_NONREALTIME = 0x00000004;
constexpr uint32_t ACM_STREAMSIZEF_SOURCE = 0x0;
constexpr uint32_t ACM_STREAMSIZEF_DESTINATION = 0x1;
constexpr uint32_t ACM_STREAMCONVERTF_BLOCKALIGN = 0x4;
constexpr uint32_t ACM_STREAMCONVERTF_START = 0x10;
constexpr uint32_t ACM_STREAMCONVERTF_END = 0x20;
constexpr uint32_t ACMSTREAMHEADER_STATUSF_DONE = 0x00010000;
constexpr uint32_t ACMSTREAMHEADER_STATUSF_PREPARED = 0x00020000;

struct AcmStreamHeader {
  uint32_t cbStruct = sizeof(AcmStreamHeader);  // must be sizeof(AcmStreamHeader)
  uint32_t fdwStatus = 0;
  uintptr_t dwUser = 0;
  uint8_t* pbSrc = nullptr;
  uint32_t cbSrcLength = 0;
  uint32_t cbSrcLengthUsed = 0;  // set by AcmStreamConvert
  uintptr_t dwSrcUser = 0;
  uint8_t* pbDst = nullptr;
  uint32_t cbDstLength = 0;
  uint32_t cbDstLengthUsed = 0;  // set by AcmStreamConvert
  uintptr_t dwDstUser = 0;
  uint32_t dwReservedDriver[10] = {};
};

class AcmStream;  // opaque converter

// Fills dst with the PCM format that src converts to (wFormatTag, channels, rate, bits,
// block align, byte rate; cbSize 0). cbSrc is the number of bytes of src that are really
// there (the "fmt " chunk's size; below 18 the cbSize field counts as 0); the format's
// extra data must lie within it. cbDst must be at least 16 (18 writes cbSize too). With
// ACM_FORMATSUGGESTF_WFORMATTAG, dst->wFormatTag must be WAVE_FORMAT_PCM on entry.
// ACMERR_NOTPOSSIBLE for a format that cannot be converted or is inconsistent (a hostile
// cbSize, coefficient count, block size, channel count...), MMSYSERR_INVALPARAM for
// null pointers or a short cbDst.
MMRESULT AcmFormatSuggest(void* driver, const WAVEFORMATEX* src, uint32_t cbSrc, WAVEFORMATEX* dst, uint32_t cbDst,
                          uint32_t flags);

// Opens a converter from src (cbSrc as above) to dst, which must be the suggested format.
// driver, filter, callback and instance must be null/0. ACMERR_NOTPOSSIBLE otherwise.
MMRESULT AcmStreamOpen(AcmStream** stream, void* driver, const WAVEFORMATEX* src, uint32_t cbSrc,
                       const WAVEFORMATEX* dst, void* filter, uintptr_t callback, uintptr_t instance, uint32_t flags);
MMRESULT AcmStreamClose(AcmStream* stream, uint32_t flags = 0);

// Exact sizes: ACM_STREAMSIZEF_SOURCE gives the destination bytes that `input` source
// bytes convert to (whole blocks only); ACM_STREAMSIZEF_DESTINATION gives the source bytes
// (whole blocks) whose output fits in `input` destination bytes. An input of 0 gives 0;
// ACMERR_NOTPOSSIBLE when a non-zero input gives 0 or the result passes 0xFFFFFFFF.
MMRESULT AcmStreamSize(AcmStream* stream, uint32_t input, uint32_t* output, uint32_t flags);

// A header must be prepared before converting and unprepared afterwards
// (ACMERR_UNPREPARED / ACMERR_BUSY for calls out of order).
MMRESULT AcmStreamPrepareHeader(AcmStream* stream, AcmStreamHeader* header, uint32_t flags = 0);
MMRESULT AcmStreamUnprepareHeader(AcmStream* stream, AcmStreamHeader* header, uint32_t flags = 0);
// Converts as many whole source blocks as fit in the destination; sets cbSrcLengthUsed and
// cbDstLengthUsed (both 0 when not even one block is there or fits). Flags as listed above;
// every call behaves as with ACM_STREAMCONVERTF_BLOCKALIGN.
MMRESULT AcmStreamConvert(AcmStream* stream, AcmStreamHeader* header, uint32_t flags);

// ---- Fault injection (tests) -------------------------------------------------------------
enum class AcmCall { Suggest, Open, Size, Prepare, Convert, Unprepare };
void InjectAcmFailure(AcmCall call, MMRESULT result, unsigned skip = 0, unsigned count = 1);
void ClearAcmFailures();

}  // namespace plat::audio
