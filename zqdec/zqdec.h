/* zqdec: decoder of the ZQ block-coded ADPCM sound format into 16-bit PCM.
 *
 * A ZQ file is a 32-byte header (ZQFILEHEADER, little-endian on disk) followed by cbData bytes of
 * blocks. One block holds 32 samples of one channel: a header byte (filter index in the high four
 * bits, shift in the low four) and 16, 24 or 32 data bytes for 4, 6 or 8 bits per sample. Stereo
 * data alternates a left and a right block.
 *
 * The library exports four functions and keeps no global state. It reads no files and prints
 * nothing: failures are reported only through the results (a null handle, or 0).
 */
#ifndef ZQDEC_ZQDEC_H
#define ZQDEC_ZQDEC_H

#include <stdint.h>

#if defined(ZQDEC_BUILDING)
#define ZQDEC_API __attribute__((visibility("default")))
#else
#define ZQDEC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* "ZQS1" read as one little-endian 32-bit value. */
#define ZQ_MAGIC 0x3153515Au
#define ZQ_FILEHEADER_SIZE 32u
#define ZQ_SAMPLES_PER_BLOCK 32u

/* The file header as a record in memory. The decoder never lays this record over file bytes:
 * zqDecodeOpen takes the 32 bytes as they are on disk and reads each field little-endian;
 * zqReadFileHeader below does the same for callers that want the fields. */
typedef struct ZQFILEHEADER {
  uint32_t dwMagic;        /* ZQ_MAGIC */
  uint32_t cbData;         /* bytes of block data after the header */
  uint32_t dwSamples;      /* samples per channel */
  uint16_t wSamplesPerSec; /* sample rate in Hz */
  uint8_t bBitsPerSample;  /* 4, 6 or 8 */
  uint8_t bChannels;       /* 1 or 2 */
  uint8_t abReserved[16];  /* not interpreted */
} ZQFILEHEADER;

/* One conversion request. The original 32-bit layout held the two buffer addresses as 32-bit
 * fields; on a 64-bit system pbSrc and pbDst are real pointers, so the record is larger than
 * six 32-bit values. Only the *Used fields are written by the decoder. */
typedef struct ZQSTREAMHEADER {
  const uint8_t *pbSrc;     /* in: source blocks; whole blocks are taken from its start */
  uint32_t cbSrcLength;     /* in: source bytes available */
  uint32_t cbSrcLengthUsed; /* out: source bytes consumed (whole blocks, whole pairs in stereo) */
  uint8_t *pbDst;           /* in: destination of the PCM */
  uint32_t cbDstLength;     /* in: room at the destination in bytes */
  uint32_t cbDstLengthUsed; /* out: PCM bytes written */
} ZQSTREAMHEADER;

/* The output format, laid out field for field like the classic WAVEFORMATEX (no packing is
 * implied: copy the fields, do not cast between the two records). */
typedef struct ZQWAVEFORMATEX {
  uint16_t wFormatTag; /* 1: PCM */
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample; /* 16 */
  uint16_t cbSize;         /* 0 */
} ZQWAVEFORMATEX;

typedef struct ZQDECODER *HZQDECODER;

/* Opens a decoder from the 32 header bytes as read from the file. Returns null when the magic,
 * the bit count (4, 6, 8) or the channel count (1, 2) is wrong, or memory is short; the format
 * is then left untouched. On success fills the 16-bit PCM output format. */
ZQDEC_API HZQDECODER zqDecodeOpen(const void *header, ZQWAVEFORMATEX *format);

/* Writes (sourceBytes / block size + 1) * 64 to *destBytes and returns 1: enough room for the
 * PCM of the whole blocks in sourceBytes, plus one block. Returns 0 and writes nothing for a null
 * handle or when the result does not fit in 32 bits. */
ZQDEC_API int zqDecodeSize(HZQDECODER handle, uint32_t sourceBytes, uint32_t *destBytes);

/* Decodes as many whole blocks (pairs in stereo) as both the source and the destination room
 * allow, never reading or writing past the given lengths. The predictor history carries over to
 * the next call, so any split of a stream gives the same PCM. Unconsumed source bytes are offered
 * again by the caller. Returns 1, or 0 for a null handle or record. */
ZQDEC_API int zqDecodeConvert(HZQDECODER handle, ZQSTREAMHEADER *stream);

/* Releases the decoder; returns 1, or 0 for a null handle. */
ZQDEC_API int zqDecodeClose(HZQDECODER handle);

/* Reads the 32 on-disk header bytes into the record (little-endian, field by field). */
static inline void zqReadFileHeader(const uint8_t bytes[32], ZQFILEHEADER *out) {
  int i;
  out->dwMagic = (uint32_t)bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 | (uint32_t)bytes[3] << 24;
  out->cbData = (uint32_t)bytes[4] | (uint32_t)bytes[5] << 8 | (uint32_t)bytes[6] << 16 | (uint32_t)bytes[7] << 24;
  out->dwSamples = (uint32_t)bytes[8] | (uint32_t)bytes[9] << 8 | (uint32_t)bytes[10] << 16 | (uint32_t)bytes[11] << 24;
  out->wSamplesPerSec = (uint16_t)(bytes[12] | bytes[13] << 8);
  out->bBitsPerSample = bytes[14];
  out->bChannels = bytes[15];
  for (i = 0; i < 16; ++i) out->abReserved[i] = bytes[16 + i];
}

#ifdef __cplusplus
}
#endif

#endif
