// CDSBuffer: construction, release, the buffer, the streaming decision and the play controls.
#include "cdsbuffer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "cdsound.h"

using namespace plat::audio;

CDSBuffer::CDSBuffer(SoundDevice* device) {
  Clear();
  DSobj = device;
}

CDSBuffer::~CDSBuffer() { Term(); }

void CDSBuffer::Clear() {
  // Only called on an object that holds nothing (construction).
  szFileName.clear();
  lpDSB = lpDSBNew = nullptr;
  DSobj = nullptr;
  dwStreamSec = 20;
  dwPlaySec = 0;
  bStream = bLoop = 0;
  lpSrcBuf = lpDstBuf = lpSrcFormat = nullptr;
  dwSrcBufSize = dwSrcRead = dwSrcUsed = dwDstBufSize = dwDstDone = dwSrcFormatSize = 0;
  nHalf = nStreamState = nEndHalf = 0;
  dwWritePos = dwBufSize = 0;
  hFileWav = nullptr;
  hFileZQ = nullptr;
  hAcmWav = nullptr;
  hAcmZQ = nullptr;
  DstFormat = WAVEFORMATEX{};
  dwDataSize = dwDataOffset = dwDstSize = 0;
  nFileType = kNone;
  dwZQUnit = 0;
}

void CDSBuffer::FreeWork() {
  delete[] lpSrcBuf;
  lpSrcBuf = nullptr;
  delete[] lpSrcFormat;
  lpSrcFormat = nullptr;
  delete[] lpDstBuf;
  lpDstBuf = nullptr;
}

int32_t CDSBuffer::Term() {
  if (lpDSB) {
    lpDSB->Stop();
    lpDSB->Release();
  }
  lpDSB = lpDSBNew = nullptr;
  FreeWork();
  CloseFile();
  CloseDecoder();
  return 0;
}

int32_t CDSBuffer::CloseFile() {
  if (!HasFile()) return 0;
  int32_t result = 0;
  if (nFileType == kWav && hFileWav) {
    RiffClose(hFileWav);
  } else if (nFileType == kZQ && hFileZQ) {
    std::fclose(hFileZQ);
  } else {
    DebugPrint("CDSBuffer::Term hFile Error?\n");
    // Never leave a file open, whatever the type says.
    if (hFileWav) RiffClose(hFileWav);
    if (hFileZQ) std::fclose(hFileZQ);
    result = 1;
  }
  hFileWav = nullptr;
  hFileZQ = nullptr;
  return result;
}

int32_t CDSBuffer::CloseDecoder() {
  if (!HasDecoder()) return 0;
  int32_t result = 0;
  if (nFileType == kWav && hAcmWav) {
    AcmStreamClose(hAcmWav);
  } else if (nFileType == kZQ && hAcmZQ) {
    zqDecodeClose(hAcmZQ);
  } else {
    DebugPrint("CDSBuffer::Term hAcm Error?\n");
    if (hAcmWav) AcmStreamClose(hAcmWav);
    if (hAcmZQ) zqDecodeClose(hAcmZQ);
    result = 1;
  }
  hAcmWav = nullptr;
  hAcmZQ = nullptr;
  return result;
}

void CDSBuffer::SetFileName(const char* path) {
  szFileName.assign(path ? path : "");
  if (szFileName.size() > kMaxPath) szFileName.resize(kMaxPath);
}

void CDSBuffer::SetStreamSec(uint32_t seconds) { dwStreamSec = seconds; }

int32_t CDSBuffer::Load(int32_t bAllowStream) {
  if (LoadZQ(bAllowStream) == 0) return 0;
  if (LoadWav(bAllowStream) == 0) return 0;
  // A failed load keeps nothing: no half-filled buffer that would play as if it had loaded.
  Term();
  bStream = 0;
  return 1;
}

uint8_t CDSBuffer::SilenceByte() const { return DstFormat.wBitsPerSample == 8 ? 0x80 : 0; }

bool CDSBuffer::DecideStream(int32_t bAllowStream) {
  // The caller has made sure that the byte rate is not 0.
  dwPlaySec = dwDstSize / DstFormat.nAvgBytesPerSec;
  bStream = (bAllowStream != 0 && dwPlaySec >= dwStreamSec) ? 1 : 0;
  return bStream != 0;
}

int32_t CDSBuffer::OpenStream(const char* loader) {
  // The decoded count grows by at most a ring per refill: an end this close to the 32-bit
  // limit would let it wrap past the end, and the sound would never stop.
  dwDstSize = static_cast<uint32_t>(std::min<uint64_t>(dwDstSize, 0xFFFFFFFFu - 2 * uint64_t{dwBufSize}));
  lpSrcBuf = new (std::nothrow) uint8_t[dwSrcBufSize ? dwSrcBufSize : 1];
  dwSrcRead = dwSrcUsed = 0;
  nHalf = 0;
  dwWritePos = 0;
  nStreamState = kReading;
  nEndHalf = 0;
  if (!lpSrcBuf || CreateDSB(dwBufSize) != 0) {
    DebugPrint("%s DSBCreateError(Stream)\n", loader);
    CloseFile();
    FreeWork();
    return 1;
  }
  dwDstBufSize = dwBufSize;
  lpDstBuf = new (std::nothrow) uint8_t[dwDstBufSize];
  dwDstDone = 0;
  if (!lpDstBuf || PrimeRing() != 0) {
    DebugPrint("%s StreamUpdateError\n", loader);
    return 1;
  }
  nHalf = 0;
  return 0;
}

int32_t CDSBuffer::PrimeRing() {
  const uint32_t R = dwBufSize;
  return nFileType == kWav ? StreamUpdateWav(R - 1, 3 * R / 4) : StreamUpdateZQ(R - 1, 3 * R / 4);
}

int32_t CDSBuffer::CreateDSB(uint32_t bytes) {
  if (!DSobj) {
    DebugPrint("CDSBuffer::CreateDSB DSobj==NULL\n");
    return 1;
  }
  const uint64_t avg = DstFormat.nAvgBytesPerSec;
  uint64_t size = bytes;
  if (uint64_t{bytes} * 1000 < 150 * avg) size = 150 * avg / 1000;
  const uint32_t align = DstFormat.nBlockAlign ? DstFormat.nBlockAlign : 1;
  if (size % align) size += align - size % align;
  if (size > 0xFFFFFFFFu) size = 0xFFFFFFFFu / align * align;

  DSBUFFERDESC desc;
  desc.dwFlags = DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN;
  desc.dwBufferBytes = static_cast<uint32_t>(size);
  desc.lpwfxFormat = &DstFormat;
  HRESULT hr = DSobj->CreateSoundBuffer(&desc, &lpDSBNew);
  if (DsFailed(hr)) {
    lpDSBNew = nullptr;
    DebugPrintHResult(hr);
    DebugPrint("CDSBuffer::CreateDSB 1stCreateFailed\n");
    desc.dwFlags = DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_CTRLVOLUME;
    hr = DSobj->CreateSoundBuffer(&desc, &lpDSBNew);
    if (DsFailed(hr)) {
      lpDSBNew = nullptr;
      DebugPrintHResult(hr);
      DebugPrint("CDSBuffer::CreateDSB CreateDSBError\n");
      return 1;
    }
  }
  lpDSB = lpDSBNew;
  DSBCAPS caps;
  if (DsFailed(lpDSB->GetCaps(&caps))) {
    DebugPrint("CDSBuffer::CreateDSB GetCapsError\n");
    return 1;
  }
  dwBufSize = caps.dwBufferBytes;
  return 0;
}

HRESULT CDSBuffer::LockWhole(void** ptr, uint32_t* bytes) {
  HRESULT hr = lpDSB->Lock(0, dwBufSize, ptr, bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
  if (hr == DSERR_BUFFERLOST) {
    lpDSB->Restore();
    hr = lpDSB->Lock(0, dwBufSize, ptr, bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
  }
  return hr;
}

int32_t CDSBuffer::Play(int32_t loop) {
  if (!lpDSB) return 1;
  // A stream that has lost its file or converter (a failed reset) cannot play on: its ring
  // would only loop what it last held.
  if (bStream && !SourceOpen()) return 1;
  bLoop = loop;
  const uint32_t flags = (bStream || loop == 1) ? DSBPLAY_LOOPING : 0;
  return DsFailed(lpDSB->Play(0, 0, flags)) ? 1 : 0;
}

int32_t CDSBuffer::Stop() {
  if (!lpDSB) return 1;
  return DsFailed(lpDSB->Stop()) ? 1 : 0;
}

int32_t CDSBuffer::Reset() {
  if (!lpDSB) return 1;
  if (!bStream) {
    if (DsFailed(lpDSB->Stop())) return 1;
    if (DsFailed(lpDSB->SetCurrentPosition(0))) return 1;
    return 0;
  }
  if (nFileType == kZQ) return StreamUpdateResetZQ();
  if (nFileType == kWav) return StreamUpdateResetWav();
  return 0;
}
