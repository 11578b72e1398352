// CDSBuffer::LoadZQ: a ZQ file, decoded whole into a static buffer or primed as a stream.
#include <algorithm>
#include <cstring>
#include <new>

#include "cdsbuffer.h"
#include "cdsound.h"

using namespace plat::audio;

namespace {

// Bytes from the current position to the end of the file (0 when it cannot be told).
uint32_t BytesLeft(std::FILE* f) {
  const long here = std::ftell(f);
  if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return 0;
  const long end = std::ftell(f);
  std::fseek(f, here, SEEK_SET);
  if (end < here) return 0;
  return static_cast<uint32_t>(std::min<long>(end - here, 0xFFFFFFFFL));
}

void ToPcmFormat(const ZQWAVEFORMATEX& z, WAVEFORMATEX& w) {
  w.wFormatTag = z.wFormatTag;
  w.nChannels = z.nChannels;
  w.nSamplesPerSec = z.nSamplesPerSec;
  w.nAvgBytesPerSec = z.nAvgBytesPerSec;
  w.nBlockAlign = z.nBlockAlign;
  w.wBitsPerSample = z.wBitsPerSample;
  w.cbSize = z.cbSize;
}

}  // namespace

int32_t CDSBuffer::LoadZQ(int32_t bAllowStream) {
  Term();
  nFileType = kNone;
  hFileZQ = std::fopen(szFileName.c_str(), "rb");
  if (!hFileZQ) return 1;
  nFileType = kZQ;
  uint8_t raw[ZQ_FILEHEADER_SIZE];
  ZQFILEHEADER hdr;
  if (std::fread(raw, 1, sizeof raw, hFileZQ) != sizeof raw || (zqReadFileHeader(raw, &hdr), hdr.dwMagic != ZQ_MAGIC)) {
    CloseFile();
    return 1;
  }
  // The header's data size is trusted no further than the file reaches.
  dwDataSize = std::min(hdr.cbData, BytesLeft(hFileZQ));
  dwDataOffset = static_cast<uint32_t>(std::ftell(hFileZQ));

  ZQWAVEFORMATEX zfmt{};
  hAcmZQ = zqDecodeOpen(raw, &zfmt);
  // A rate of 0 gives a byte rate of 0, which no buffer can play: refused like a bad header.
  if (hAcmZQ && zfmt.nAvgBytesPerSec == 0) CloseDecoder();
  if (!hAcmZQ) {
    CloseFile();
    DebugPrint("CDSBuffer::LoadZQ DecodeOpenError\n");
    return 1;
  }
  ToPcmFormat(zfmt, DstFormat);
  dwZQUnit = (hdr.bBitsPerSample * 4u + 1u) * hdr.bChannels;  // 17, 25 or 33 bytes a block
  if (!zqDecodeSize(hAcmZQ, dwDataSize, &dwDstSize)) {
    CloseFile();
    DebugPrint("CDSBuffer::LoadZQ DecodeSizeError\n");
    return 1;
  }
  // Samples the header promises, in PCM bytes, without wrapping.
  const uint64_t headerBytes = uint64_t{hdr.bChannels} * hdr.dwSamples * 2;

  if (DecideStream(bAllowStream)) {
    dwBufSize = DstFormat.wBitsPerSample / 8u * DstFormat.nChannels * DstFormat.nSamplesPerSec * 2u;
    dwSrcBufSize = 10000;
    // The stream ends after the header's sample count (cut to 32 bits; see OpenStream).
    dwDstSize = static_cast<uint32_t>(std::min<uint64_t>(headerBytes, 0xFFFFFFFFu));
    return OpenStream("CDSBuffer::LoadZQ");
  }

  if (CreateDSB(dwDstSize) != 0) {
    DebugPrint("CDSBuffer::LoadZQ DSBCreateError\n");
    CloseFile();
    return 1;
  }
  lpSrcBuf = new (std::nothrow) uint8_t[dwDataSize ? dwDataSize : 1];
  dwSrcBufSize = dwDataSize;
  // Only what the file really delivers is decoded; the rest of the buffer stays silent.
  const uint32_t got = lpSrcBuf ? static_cast<uint32_t>(std::fread(lpSrcBuf, 1, dwDataSize, hFileZQ)) : 0;
  CloseFile();
  void* p = nullptr;
  uint32_t n = 0;
  if (!lpSrcBuf || DsFailed(LockWhole(&p, &n))) {
    FreeWork();
    DebugPrint("CDSBuffer::LoadZQ LockError\n");
    return 1;
  }
  std::memset(p, SilenceByte(), n);
  ZQSTREAMHEADER s{lpSrcBuf, got, 0, static_cast<uint8_t*>(p), n, 0};
  if (!zqDecodeConvert(hAcmZQ, &s)) {
    FreeWork();
    lpDSB->Unlock(p, n, nullptr, 0);
    DebugPrint("CDSBuffer::LoadZQ Convert\n");
    return 1;
  }
  // Samples of the last block beyond the header's count are not heard.
  if (headerBytes < n) std::memset(static_cast<uint8_t*>(p) + headerBytes, SilenceByte(), n - headerBytes);
  const HRESULT hr = lpDSB->Unlock(p, n, nullptr, 0);
  if (DsFailed(hr)) {
    FreeWork();
    DebugPrintHResult(hr);
    DebugPrint("CDSBuffer::LoadZQ UnlockError\n");
    return 1;
  }
  CloseDecoder();
  FreeWork();
  return 0;
}
