// A loaded sound of the playback library: one sound file (ZQ or RIFF/WAVE), one device buffer
// made for it, and what is needed to play it either whole from a static buffer or streamed
// through a two-second ring that the pump StreamPlay refills from the file.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/audio/acm.h"
#include "platform/audio/dsound.h"
#include "platform/audio/riff.h"
#include "zqdec.h"

class CDSBuffer {
 public:
  // Stream states (nStreamState).
  enum : int32_t {
    kReading = 0,    // the source is read and decoded
    kExhausted = 1,  // no more file data in this pass
    kEnded = 3,      // the expected end was reached; the next refill writes silence only
    kClosing = 4,    // closing silence written into half nEndHalf; no more refills
    kFinished = 5,   // stopped by the pump; nothing happens until a reset
  };
  // Source types (nFileType).
  enum : int32_t { kNone = 0, kWav = 1, kZQ = 2 };
  // Longest path kept (the system's path limit, less the terminator).
  static constexpr size_t kMaxPath = 4095;

  explicit CDSBuffer(plat::audio::SoundDevice* device);
  ~CDSBuffer();
  CDSBuffer(const CDSBuffer&) = delete;
  CDSBuffer& operator=(const CDSBuffer&) = delete;

  void Clear();
  int32_t Term();
  int32_t CloseFile();
  int32_t CloseDecoder();
  void SetFileName(const char* path);
  void SetStreamSec(uint32_t seconds);

  // Tries the file as ZQ, then as RIFF/WAVE; 0 loaded, 1 failed (then nothing is kept:
  // no buffer, no file, no decoder).
  int32_t Load(int32_t bAllowStream);
  int32_t LoadZQ(int32_t bAllowStream);
  int32_t LoadWav(int32_t bAllowStream);
  int32_t CreateDSB(uint32_t bytes);

  // Ring refills from dwWritePos up to and including byte target, producing at least up to
  // byte minimum; 0 or 1.
  int32_t StreamUpdateWav(uint32_t target, uint32_t minimum);
  int32_t StreamUpdateZQ(uint32_t target, uint32_t minimum);
  int32_t StreamUpdateResetWav();
  int32_t StreamUpdateResetZQ();
  int32_t StreamPlay();
  int32_t Play(int32_t loop);
  int32_t Stop();
  int32_t Reset();

  // Fields (public for the exported functions and the tests).
  std::string szFileName;
  plat::audio::SoundBuffer* lpDSB = nullptr;
  plat::audio::SoundBuffer* lpDSBNew = nullptr;
  plat::audio::SoundDevice* DSobj = nullptr;
  uint32_t dwStreamSec = 20;
  uint32_t dwPlaySec = 0;
  int32_t bStream = 0;
  int32_t bLoop = 0;
  uint8_t* lpSrcBuf = nullptr;
  uint32_t dwSrcBufSize = 0;
  uint32_t dwSrcRead = 0;
  uint32_t dwSrcUsed = 0;
  uint8_t* lpDstBuf = nullptr;
  uint32_t dwDstBufSize = 0;
  uint32_t dwDstDone = 0;
  int32_t nHalf = 0;
  uint32_t dwWritePos = 0;
  uint32_t dwBufSize = 0;
  int32_t nStreamState = 0;
  int32_t nEndHalf = 0;
  // The open source file: a RIFF reader (WAV) or a C stream (ZQ); nFileType says which.
  plat::audio::RiffFile* hFileWav = nullptr;
  std::FILE* hFileZQ = nullptr;
  // The converter: an ACM-like stream (WAV) or a ZQ decoder; nFileType says which.
  plat::audio::AcmStream* hAcmWav = nullptr;
  HZQDECODER hAcmZQ = nullptr;
  uint8_t* lpSrcFormat = nullptr;  // WAV: the "fmt " chunk as read, at least 18 bytes
  uint32_t dwSrcFormatSize = 0;
  WAVEFORMATEX DstFormat{};
  uint32_t dwDataSize = 0;
  uint32_t dwDataOffset = 0;
  uint32_t dwDstSize = 0;
  int32_t nFileType = kNone;
  uint32_t dwZQUnit = 0;  // ZQ: source bytes of one decoding step (a block, a pair in stereo)

 private:
  bool HasFile() const { return hFileWav != nullptr || hFileZQ != nullptr; }
  bool HasDecoder() const { return hAcmWav != nullptr || hAcmZQ != nullptr; }
  // Whether the file and the converter of this sound's type are both open (a stream needs
  // them for every refill; a failed reset closes them).
  bool SourceOpen() const { return nFileType == kWav ? hFileWav && hAcmWav : nFileType == kZQ && hFileZQ && hAcmZQ; }
  uint8_t SilenceByte() const;
  // Shared by the loaders once dwDstSize and DstFormat are known.
  bool DecideStream(int32_t bAllowStream);
  // Locks the whole buffer, restoring it once if it was lost.
  plat::audio::HRESULT LockWhole(void** ptr, uint32_t* bytes);
  // The part of a refill shared by both sources: lock amount bytes at P, silence them, copy
  // the produced bytes in, advance the write position, unlock. prefix names the refill.
  int32_t WriteRing(const char* prefix, uint32_t amount, uint32_t produced);
  // One refill in progress: the bytes it covers, must produce, has produced, has room for.
  struct Refill {
    uint32_t amount, need, produced, room;
  };
  // Steps shared by the two refills: the counts of a refill (and the silence of state 3), the
  // size of the next chunk to read, and the bookkeeping after each cycle (give back what was
  // not consumed, count the output, the end test, the rewind at the end of the data).
  Refill BeginRefill(uint32_t target, uint32_t minimum);
  uint32_t NextChunk();
  void EndCycle(const char* prefix, Refill& r, uint32_t n, uint32_t used, uint32_t out);
  void SeekSource(uint32_t offset);
  // After a load or reset has set up the ring: prime it with the refill of the file type;
  // the caller prints its own line on failure.
  int32_t PrimeRing();
  // Rewind shared by the two resets: counters, buffer stopped and at position 0. Returns
  // whether the buffer was playing.
  bool RewindBuffer();
  // The stream part of both loaders once dwBufSize and dwSrcBufSize are known: work buffers,
  // the ring buffer and its prime. loader names the loader in the lines.
  int32_t OpenStream(const char* loader);
  // After a pump's refill failed: stops a stream whose source is gone; returns 1.
  int32_t RefillFailed();
  // The end of both resets: prime again and resume playing if it was playing.
  int32_t FinishReset(const char* reset, bool wasPlaying);
  void FreeWork();
};
