// Ring refills of a streamed sound: StreamUpdateWav and StreamUpdateZQ, and what they share
// (the counts of a refill, the cycle bookkeeping with the end test, writing into the ring).
#include <algorithm>
#include <cstring>

#include "cdsbuffer.h"
#include "cdsound.h"

using namespace plat::audio;

CDSBuffer::Refill CDSBuffer::BeginRefill(uint32_t target, uint32_t minimum) {
  const uint64_t R = dwBufSize;
  const uint64_t P = dwWritePos;
  Refill r;
  r.amount = static_cast<uint32_t>((target + R - P) % R + 1);
  r.need = static_cast<uint32_t>((minimum + R - P) % R + 1);
  r.produced = 0;
  r.room = r.amount;
  if (nStreamState == kEnded) {
    std::memset(lpDstBuf, SilenceByte(), r.amount);
    r.produced = r.amount;
    r.room = 0;
    nStreamState = kClosing;
    nEndHalf = nHalf;
  }
  return r;
}

uint32_t CDSBuffer::NextChunk() {
  if (dwSrcRead >= dwDataSize) {
    nStreamState = kExhausted;
    return 0;
  }
  return std::min(dwSrcBufSize, dwDataSize - dwSrcRead);
}

void CDSBuffer::SeekSource(uint32_t offset) {
  if (nFileType == kWav && hFileWav) RiffSeek(hFileWav, static_cast<int32_t>(offset), SEEK_SET);
  if (nFileType == kZQ && hFileZQ) std::fseek(hFileZQ, static_cast<long>(offset), SEEK_SET);
}

void CDSBuffer::EndCycle(const char* prefix, Refill& r, uint32_t n, uint32_t used, uint32_t out) {
  dwSrcUsed += used;
  if (n > used) {
    // Give back what the converter left, to be read again.
    dwSrcRead -= n - used;
    SeekSource(dwDataOffset + dwSrcRead);
  }
  r.produced += out;
  r.room -= out;
  dwDstDone += out;
  const bool zq = nFileType == kZQ;
  if (!bLoop && dwDstDone >= dwDstSize) {
    uint32_t over = dwDstDone - dwDstSize;
    if (over > r.produced) {
      // The end was passed before this refill began: none of what it produced belongs
      // to the sound.
      if (zq)
        DebugPrint("%s EndOvershoot %u %u %u\n", prefix, over, r.room, r.produced);
      else
        DebugPrint("%s EndOvershoot %u %u\n", prefix, over, r.room);
      over = r.produced;
    }
    std::memset(lpDstBuf + (r.produced - over), SilenceByte(), over + r.room);
    r.room = 0;
    r.produced = r.amount;
    nStreamState = kEnded;
  }
  // The whole data consumed: back to its start (WAV always, ZQ when looping). Once the end
  // has been passed (not looping) nothing more is read, so that a sound shorter than one
  // refill still ends.
  const bool rewind = zq ? bLoop != 0 : (bLoop || dwDstDone <= dwDstSize);
  if (rewind && dwSrcUsed >= dwDataSize) {
    SeekSource(dwDataOffset);
    dwSrcRead = 0;
    dwSrcUsed = 0;
    if (bLoop) dwDstDone = 0;
    nStreamState = kReading;
  }
}

int32_t CDSBuffer::WriteRing(const char* prefix, uint32_t amount, uint32_t produced) {
  const uint32_t P = dwWritePos;
  void *p1 = nullptr, *p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  HRESULT hr = lpDSB->Lock(P, amount, &p1, &n1, &p2, &n2, 0);
  if (hr == DSERR_BUFFERLOST) {
    if (DsFailed(lpDSB->Restore())) {
      DebugPrint("%s BufferLost(Lock)\n", prefix);
      return 1;
    }
    hr = lpDSB->Lock(P, amount, &p1, &n1, &p2, &n2, 0);
  }
  if (DsFailed(hr)) {
    DebugPrint("%s LockError %u %u ", prefix, P, amount);
    DebugPrintHResult(hr);
    return 1;
  }
  std::memset(p1, SilenceByte(), n1);
  if (p2) std::memset(p2, SilenceByte(), n2);
  if (produced <= n1) {
    std::memcpy(p1, lpDstBuf, produced);
  } else if (p2 && produced - n1 <= n2) {
    std::memcpy(p1, lpDstBuf, n1);
    std::memcpy(p2, lpDstBuf + n1, produced - n1);
  } else {
    DebugPrint("%s BufSizeCalcError\n", prefix);
    if (DsFailed(lpDSB->Unlock(p1, n1, p2, n2))) DebugPrint("%s UnlockError\n", prefix);
    return 1;
  }
  dwWritePos = P + produced;
  if (dwWritePos >= dwBufSize) dwWritePos -= dwBufSize;
  if (DsFailed(lpDSB->Unlock(p1, n1, p2, n2))) {
    DebugPrint("%s UnlockError\n", prefix);
    return 1;
  }
  return 0;
}

int32_t CDSBuffer::StreamUpdateWav(uint32_t target, uint32_t minimum) {
  static const char kPrefix[] = "CDSBuffer::StreamUpdateWav";
  if (nStreamState == kFinished) return 0;
  // After a failed reset the file or the converter is gone: nothing can be read.
  if (!SourceOpen() || !lpSrcBuf || !lpDstBuf || !lpDSB || dwBufSize == 0) {
    DebugPrint("%s ReadError\n", kPrefix);
    return 1;
  }
  Refill r = BeginRefill(target, minimum);
  while (r.produced < r.need) {
    const uint32_t chunk = NextChunk();
    uint32_t used = 0, out = 0, n = 0;
    if (nStreamState == kReading) {
      const int32_t got = RiffRead(hFileWav, lpSrcBuf, static_cast<int32_t>(chunk));
      if (got < 0) {
        DebugPrint("%s ReadError\n", kPrefix);
        return 1;
      }
      n = static_cast<uint32_t>(got);
      if (n == 0 || n < chunk) nStreamState = kExhausted;
      dwSrcRead += n;
      AcmStreamHeader h;
      h.pbSrc = lpSrcBuf;
      h.cbSrcLength = n;
      h.pbDst = lpDstBuf + r.produced;
      h.cbDstLength = r.room;
      MMRESULT mr = AcmStreamPrepareHeader(hAcmWav, &h, 0);
      if (mr != MMSYSERR_NOERROR) {
        DebugPrint("%s PrepareError %X\n", kPrefix, mr);
        return 1;
      }
      mr = AcmStreamConvert(hAcmWav, &h, ACM_STREAMCONVERTF_BLOCKALIGN);
      if (mr != MMSYSERR_NOERROR) {
        DebugPrint("%s ConvertError %X\n", kPrefix, mr);
        AcmStreamUnprepareHeader(hAcmWav, &h, 0);
        return 1;
      }
      if (AcmStreamUnprepareHeader(hAcmWav, &h, 0) != MMSYSERR_NOERROR) {
        DebugPrint("%s UnprepareError\n", kPrefix);
        return 1;
      }
      used = h.cbSrcLengthUsed;
      out = h.cbDstLengthUsed;
      if (used == 0 && out == 0) {
        // Nothing converts (a partial block at the end of the data, or less room than
        // one block gives): the source ends here and silence pads up to the length.
        // A tail at the end of the data counts as consumed.
        nStreamState = kExhausted;
        if (dwSrcRead >= dwDataSize) used = n;
      }
    } else {
      // No more data in this pass: silence in the played format fills the room.
      std::memset(lpDstBuf + r.produced, SilenceByte(), r.room);
      out = r.room;
    }
    EndCycle(kPrefix, r, n, used, out);
  }
  return WriteRing(kPrefix, r.amount, r.produced);
}

int32_t CDSBuffer::StreamUpdateZQ(uint32_t target, uint32_t minimum) {
  static const char kPrefix[] = "CDSBuffer::StreamUpdateZQ";
  if (nStreamState == kFinished) return 0;
  if (!SourceOpen() || !lpSrcBuf || !lpDstBuf || !lpDSB || dwBufSize == 0) {
    DebugPrint("%s ConvertError\n", kPrefix);
    return 1;
  }
  Refill r = BeginRefill(target, minimum);
  while (r.produced < r.need) {
    const uint32_t chunk = NextChunk();
    uint32_t n = 0;
    if (nStreamState == kReading) {
      n = static_cast<uint32_t>(std::fread(lpSrcBuf, 1, chunk, hFileZQ));
      if (n == 0 || n < chunk) nStreamState = kExhausted;
      dwSrcRead += n;
    }
    ZQSTREAMHEADER s{lpSrcBuf, n, 0, lpDstBuf + r.produced, r.room, 0};
    if (!zqDecodeConvert(hAcmZQ, &s)) {
      DebugPrint("%s ConvertError\n", kPrefix);
      return 1;
    }
    uint32_t used = s.cbSrcLengthUsed;
    uint32_t out = s.cbDstLengthUsed;
    if (out == 0 && n < dwZQUnit) {
      // No whole block (or pair) left: silence fills the room, and a partial tail is
      // dropped as consumed.
      std::memset(lpDstBuf + r.produced, SilenceByte(), r.room);
      out = r.room;
      used = n;
    } else if (used == 0 && out == 0) {
      // Less room than one block gives: the source ends here; silence pads up to the
      // length.
      nStreamState = kExhausted;
    }
    EndCycle(kPrefix, r, n, used, out);
  }
  return WriteRing(kPrefix, r.amount, r.produced);
}
