// CDSBuffer::LoadWav: a RIFF/WAVE file, converted to PCM whole into a static buffer or primed
// as a stream.
#include <algorithm>
#include <cstring>
#include <new>

#include "cdsbuffer.h"
#include "cdsound.h"

using namespace plat::audio;

namespace {

constexpr uint32_t kWave = MakeFourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFmt = MakeFourCC('f', 'm', 't', ' ');
constexpr uint32_t kData = MakeFourCC('d', 'a', 't', 'a');

}  // namespace

int32_t CDSBuffer::LoadWav(int32_t bAllowStream) {
  Term();
  nFileType = kNone;
  hFileWav = RiffOpen(szFileName.c_str(), MMIO_ALLOCBUF);
  if (!hFileWav) {
    DebugPrint("CDSBuffer::LoadWav %s Open Error\n", szFileName.c_str());
    return 1;
  }
  nFileType = kWav;
  auto fail = [this](const char* line) {
    DebugPrint("%s", line);
    CloseFile();
    delete[] lpSrcFormat;
    lpSrcFormat = nullptr;
    return 1;
  };

  RiffChunk riff;
  if (RiffDescend(hFileWav, &riff, nullptr, 0) != MMSYSERR_NOERROR) return fail("CDSBuffer::LoadWav RIFF DecError\n");
  if (riff.ckid != FOURCC_RIFF || riff.fccType != kWave) return fail("CDSBuffer::LoadWav WAVE not found\n");
  RiffChunk fmt;
  fmt.ckid = kFmt;
  if (RiffDescend(hFileWav, &fmt, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
    return fail("CDSBuffer::LoadWav fmt DecError\n");
  // At least a whole record, zero beyond what the chunk holds.
  dwSrcFormatSize = fmt.cksize;
  lpSrcFormat = new (std::nothrow) uint8_t[std::max<uint32_t>(fmt.cksize, sizeof(WAVEFORMATEX))]();
  if (!lpSrcFormat || fmt.cksize > 0x7FFFFFFFu ||
      RiffRead(hFileWav, lpSrcFormat, static_cast<int32_t>(fmt.cksize)) != static_cast<int32_t>(fmt.cksize))
    return fail("CDSBuffer::LoadWav fmt read Error\n");
  if (RiffAscend(hFileWav, &fmt, 0) != MMSYSERR_NOERROR) return fail("CDSBuffer::LoadWav fmtAscError\n");
  RiffChunk data;
  data.ckid = kData;
  if (RiffDescend(hFileWav, &data, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
    return fail("CDSBuffer::LoadWav data DecError\n");
  dwDataSize = std::min<uint32_t>(data.cksize, 0x7FFFFFFFu);
  dwDataOffset = static_cast<uint32_t>(RiffSeek(hFileWav, 0, SEEK_CUR));

  const auto* src = reinterpret_cast<const WAVEFORMATEX*>(lpSrcFormat);
  DstFormat = WAVEFORMATEX{};
  DstFormat.wFormatTag = WAVE_FORMAT_PCM;
  // A byte rate of 0 (a rate of 0) cannot be played: refused like a format without PCM.
  if (AcmFormatSuggest(nullptr, src, dwSrcFormatSize, &DstFormat, sizeof(WAVEFORMATEX),
                       ACM_FORMATSUGGESTF_WFORMATTAG) != MMSYSERR_NOERROR ||
      DstFormat.nAvgBytesPerSec == 0)
    return fail("CDSBuffer::LoadWav ACM SUGGEST ERROR\n");
  if (AcmStreamOpen(&hAcmWav, nullptr, src, dwSrcFormatSize, &DstFormat, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) !=
      MMSYSERR_NOERROR) {
    hAcmWav = nullptr;
    return fail("CDSBuffer::LoadWav ACM OPEN ERROR\n");
  }
  if (AcmStreamSize(hAcmWav, dwDataSize, &dwDstSize, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR)
    return fail("CDSBuffer::LoadWav Size(s2d)Get Error\n");

  if (DecideStream(bAllowStream)) {
    dwBufSize = DstFormat.wBitsPerSample / 8u * DstFormat.nChannels * DstFormat.nSamplesPerSec * 2u;
    if (AcmStreamSize(hAcmWav, dwBufSize, &dwSrcBufSize, ACM_STREAMSIZEF_DESTINATION) != MMSYSERR_NOERROR)
      return fail("CDSBuffer::LoadWav Size(d2s)Get Error\n");
    if (AcmStreamSize(hAcmWav, dwSrcBufSize, &dwBufSize, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR)
      return fail("CDSBuffer::LoadWav Size(s2d)Get Error\n");
    return OpenStream("CDSBuffer::LoadWav");
  }

  if (CreateDSB(dwDstSize) != 0) return fail("CDSBuffer::LoadWav DSBCreateError\n");
  lpSrcBuf = new (std::nothrow) uint8_t[dwDataSize ? dwDataSize : 1];
  dwSrcBufSize = dwDataSize;
  // Only what the file really delivers is converted; the rest of the buffer stays silent.
  const int32_t got = lpSrcBuf ? RiffRead(hFileWav, lpSrcBuf, static_cast<int32_t>(dwDataSize)) : 0;
  CloseFile();
  delete[] lpSrcFormat;
  lpSrcFormat = nullptr;
  void* p = nullptr;
  uint32_t n = 0;
  if (!lpSrcBuf || DsFailed(LockWhole(&p, &n))) {
    FreeWork();
    DebugPrint("CDSBuffer::LoadWav LockError\n");
    return 1;
  }
  std::memset(p, SilenceByte(), n);
  AcmStreamHeader h;
  h.pbSrc = lpSrcBuf;
  h.cbSrcLength = got > 0 ? static_cast<uint32_t>(got) : 0;
  h.pbDst = static_cast<uint8_t*>(p);
  h.cbDstLength = n;
  const char* error = nullptr;
  if (AcmStreamPrepareHeader(hAcmWav, &h, 0) != MMSYSERR_NOERROR) {
    error = "CDSBuffer::LoadWav PrepareError\n";
  } else {
    if (AcmStreamConvert(hAcmWav, &h, 0) != MMSYSERR_NOERROR) error = "CDSBuffer::LoadWav ConvertError\n";
    if (AcmStreamUnprepareHeader(hAcmWav, &h, 0) != MMSYSERR_NOERROR && !error)
      error = "CDSBuffer::LoadWav UnprepareError\n";
  }
  if (error) {
    FreeWork();
    lpDSB->Unlock(p, n, nullptr, 0);
    DebugPrint("%s", error);
    return 1;
  }
  if (DsFailed(lpDSB->Unlock(p, n, nullptr, 0))) {
    FreeWork();
    DebugPrint("CDSBuffer::LoadWav UnlockError\n");
    return 1;
  }
  CloseDecoder();
  FreeWork();
  return 0;
}
