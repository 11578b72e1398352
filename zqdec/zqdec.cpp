// The four exported functions of the decoder library.
#include <cstdlib>

#include "zqcore.h"

extern "C" {

ZQDEC_API HZQDECODER zqDecodeOpen(const void *header, ZQWAVEFORMATEX *format) {
  if (header == nullptr || format == nullptr) return nullptr;
  ZQFILEHEADER hdr;
  zqReadFileHeader(static_cast<const uint8_t *>(header), &hdr);
  if (hdr.dwMagic != ZQ_MAGIC) return nullptr;

  zq::UnpackFn unpack = nullptr;
  switch (hdr.bBitsPerSample) {
    case 4: unpack = zq::zqUnpack4; break;
    case 6: unpack = zq::zqUnpack6; break;
    case 8: unpack = zq::zqUnpack8; break;
    default: break;
  }
  zq::ChannelFn channel = nullptr;
  switch (hdr.bChannels) {
    case 1: channel = zq::zqDecodeMono; break;
    case 2: channel = zq::zqDecodeStereo; break;
    default: break;
  }
  if (unpack == nullptr || channel == nullptr) return nullptr;

  auto *state = static_cast<ZQDECODER *>(std::calloc(1, sizeof(ZQDECODER)));
  if (state == nullptr) return nullptr;
  state->hdr = hdr;
  state->cbBlock = zq::zqBlockSize(hdr.bBitsPerSample);
  state->pfnUnpack = unpack;
  state->pfnChannel = channel;

  format->wFormatTag = 1;
  format->nChannels = hdr.bChannels;
  format->nSamplesPerSec = hdr.wSamplesPerSec;
  format->nBlockAlign = static_cast<uint16_t>(2u * hdr.bChannels);
  format->nAvgBytesPerSec = 2u * hdr.bChannels * hdr.wSamplesPerSec;
  format->wBitsPerSample = 16;
  format->cbSize = 0;
  return state;
}

ZQDEC_API int zqDecodeSize(HZQDECODER handle, uint32_t sourceBytes, uint32_t *destBytes) {
  if (handle == nullptr || destBytes == nullptr) return 0;
  const uint64_t size = (uint64_t{sourceBytes} / handle->cbBlock + 1) * zq::kMonoBlockPcmBytes;
  if (size > UINT32_MAX) return 0;
  *destBytes = static_cast<uint32_t>(size);
  return 1;
}

ZQDEC_API int zqDecodeConvert(HZQDECODER handle, ZQSTREAMHEADER *stream) {
  if (handle == nullptr || stream == nullptr) return 0;
  stream->cbSrcLengthUsed = 0;
  stream->cbDstLengthUsed = 0;
  if (stream->pbSrc == nullptr || stream->pbDst == nullptr)
    return 1;  // nothing to read from or write to: no block fits
  return handle->pfnChannel(handle, stream);
}

ZQDEC_API int zqDecodeClose(HZQDECODER handle) {
  if (handle == nullptr) return 0;
  std::free(handle);
  return 1;
}

}  // extern "C"
