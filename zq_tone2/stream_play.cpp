// The pump of a streamed sound (StreamPlay) and the two rewinding resets.
#include <cstring>

#include "cdsbuffer.h"
#include "cdsound.h"

using namespace plat::audio;

int32_t CDSBuffer::StreamPlay() {
  if (!bStream || !lpDSB || nStreamState == kFinished) return 0;
  uint32_t p = 0;
  if (DsFailed(lpDSB->GetCurrentPosition(&p, nullptr))) {
    DebugPrint("CDSBuffer::StreamPlay GetCurrentPosError\n");
    return 1;
  }
  const uint32_t R = dwBufSize;
  if (!bLoop && nStreamState >= kClosing) {
    if ((nEndHalf == 0 && 0 < p && p < R / 2) || (nEndHalf == 1 && R / 2 < p && p < R - 1)) {
      lpDSB->Stop();
      nStreamState = kFinished;
    }
    return 0;
  }
  if (nFileType != kWav && nFileType != kZQ) return 0;
  const bool wav = nFileType == kWav;
  if (nHalf == 0 && R / 2 < p && p < 3 * R / 4) {
    if ((wav ? StreamUpdateWav(R / 2 - 1, R / 4) : StreamUpdateZQ(R / 2 - 1, R / 4)) != 0) {
      DebugPrint(wav ? "CDSBuffer::StreamPlayWav [A]StreamUpdateError\n"
                     : "CDSBuffer::StreamPlayZQ [A]StreamUpdateError\n");
      return RefillFailed();
    }
    nHalf = 1;
  } else if (nHalf == 1 && 0 < p && p < R / 2) {
    if ((wav ? StreamUpdateWav(R - 1, 3 * R / 4) : StreamUpdateZQ(R - 1, 3 * R / 4)) != 0) {
      DebugPrint(wav ? "CDSBuffer::StreamPlayWav [B]StreamUpdateError\n"
                     : "CDSBuffer::StreamPlayZQ [B]StreamUpdateError\n");
      return RefillFailed();
    }
    nHalf = 0;
  }
  return 0;
}

int32_t CDSBuffer::RefillFailed() {
  // A refill that failed for want of its file or converter can never succeed: the sound stops
  // rather than loop what its ring last held. Other failures are retried by the next pump.
  if (!SourceOpen()) {
    lpDSB->Stop();
    nStreamState = kFinished;
  }
  return 1;
}

bool CDSBuffer::RewindBuffer() {
  dwSrcRead = dwSrcUsed = dwDstDone = 0;
  nStreamState = kReading;
  dwWritePos = 0;
  nHalf = nEndHalf = 0;
  uint32_t status = 0;
  const bool playing = !DsFailed(lpDSB->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
  if (playing) lpDSB->Stop();
  lpDSB->SetCurrentPosition(0);
  return playing;
}

int32_t CDSBuffer::FinishReset(const char* reset, bool wasPlaying) {
  if (PrimeRing() != 0) {
    DebugPrint("%s StreamUpdateError\n", reset);
    return 1;
  }
  nHalf = 0;
  if (wasPlaying && DsFailed(lpDSB->Play(0, 0, DSBPLAY_LOOPING))) return 1;
  return 0;
}

int32_t CDSBuffer::StreamUpdateResetWav() {
  if (!bStream || !lpDSB) return 0;
  // A reset that failed before closed the file and the converter: nothing to rewind.
  if (!hFileWav || !lpSrcFormat) {
    DebugPrint("CDSBuffer::StreamUpdateResetWav StreamUpdateError\n");
    return 1;
  }
  RiffSeek(hFileWav, static_cast<int32_t>(dwDataOffset), SEEK_SET);
  const bool wasPlaying = RewindBuffer();
  if (hAcmWav) AcmStreamClose(hAcmWav);
  hAcmWav = nullptr;
  const auto* src = reinterpret_cast<const WAVEFORMATEX*>(lpSrcFormat);
  if (AcmStreamOpen(&hAcmWav, nullptr, src, dwSrcFormatSize, &DstFormat, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) !=
      MMSYSERR_NOERROR) {
    hAcmWav = nullptr;
    CloseFile();
    delete[] lpSrcFormat;
    lpSrcFormat = nullptr;
    DebugPrint("CDSBuffer::StreamUpdateResetWav ACM OPEN ERROR\n");
    return 1;
  }
  return FinishReset("CDSBuffer::StreamUpdateResetWav", wasPlaying);
}

int32_t CDSBuffer::StreamUpdateResetZQ() {
  if (!bStream || !lpDSB) return 0;
  uint8_t raw[ZQ_FILEHEADER_SIZE];
  if (!hFileZQ || std::fseek(hFileZQ, 0, SEEK_SET) != 0 || std::fread(raw, 1, sizeof raw, hFileZQ) != sizeof raw) {
    CloseFile();
    DebugPrint("CDSBuffer::LoadZQ HeaderReadError\n");
    return 1;
  }
  std::fseek(hFileZQ, static_cast<long>(dwDataOffset), SEEK_SET);
  const bool wasPlaying = RewindBuffer();
  if (hAcmZQ) zqDecodeClose(hAcmZQ);
  ZQWAVEFORMATEX fmt{};
  hAcmZQ = zqDecodeOpen(raw, &fmt);
  // A header rewritten since the load with another block layout cannot feed this ring.
  ZQFILEHEADER hdr;
  zqReadFileHeader(raw, &hdr);
  if (hAcmZQ && (hdr.bBitsPerSample * 4u + 1u) * hdr.bChannels != dwZQUnit) {
    zqDecodeClose(hAcmZQ);
    hAcmZQ = nullptr;
  }
  if (!hAcmZQ) {
    CloseFile();
    DebugPrint("CDSBuffer::StreamUpdateResetZQ DecodeOpenError\n");
    return 1;
  }
  return FinishReset("CDSBuffer::StreamUpdateResetZQ", wasPlaying);
}
