/* Wave format record shared by the sound layer, the playback library and the ZQ decoder.
 *
 * Plain C so that C and C++ code (and the decoder's public header) can use the same record.
 * The layout is byte-packed, 18 bytes, exactly as it is stored in a RIFF/WAVE "fmt " chunk
 * (little-endian fields, optional extra bytes counted by cbSize follow it). */
#ifndef MIRKAN_AUDIO_WAVEFORMAT_H
#define MIRKAN_AUDIO_WAVEFORMAT_H

#include <stdint.h>

#ifndef MIRKAN_WAVEFORMATEX_DEFINED
#define MIRKAN_WAVEFORMATEX_DEFINED
#pragma pack(push, 1)
typedef struct WAVEFORMATEX {
  uint16_t wFormatTag; /* WAVE_FORMAT_* */
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize; /* bytes of format-specific data that follow */
} WAVEFORMATEX;
#pragma pack(pop)
#endif

#define WAVE_FORMAT_PCM 0x0001
#define WAVE_FORMAT_ADPCM 0x0002 /* MS ADPCM */
#define WAVE_FORMAT_IEEE_FLOAT 0x0003
#define WAVE_FORMAT_ALAW 0x0006
#define WAVE_FORMAT_MULAW 0x0007
#define WAVE_FORMAT_IMA_ADPCM 0x0011
#define WAVE_FORMAT_EXTENSIBLE 0xFFFE

#ifdef __cplusplus
static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX must be 18 bytes");
#else
_Static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX must be 18 bytes");
#endif

#endif /* MIRKAN_AUDIO_WAVEFORMAT_H */
