// Our sound output device: a small DirectSound-like interface over a software mixer.
//
// A SoundDevice owns the output (SDL2 audio, or the null backend with a manual clock, see
// nullout.h; chosen by the environment variable MIRKAN_AUDIO_BACKEND = "sdl" (default) or
// "null"). The primary buffer carries the output format; secondary buffers hold PCM
// (8/16-bit, mono/stereo, 100..200000 Hz) and are mixed into the output format with rate
// conversion and clipping. Buffers play once or looping; a range that is locked plays as
// silence. The mixer runs on the backend's thread; the calls below are meant for one caller
// thread; both sides meet under one short lock per device, never held from Lock to Unlock.
//
// Every call returns an HRESULT: DS_OK (0) or a negative error code (DSERR_*).
// Objects are released with Release() (single owner; the object is deleted).
#pragma once
#include <cstdint>

#include "waveformat.h"

namespace plat::audio {

using HRESULT = int32_t;
inline bool DsFailed(HRESULT hr) { return hr < 0; }

// Result codes.
constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096u);
constexpr HRESULT DSERR_UNINITIALIZED = static_cast<HRESULT>(0x887800AAu);
constexpr HRESULT DSERR_BUFFERTOOSMALL = static_cast<HRESULT>(0x887800B4u);
constexpr HRESULT DSERR_DS8_REQUIRED = static_cast<HRESULT>(0x887800BEu);

// Name of a result code as the playback library prints it: "DS_OK", "DSERR_UNSUPPORTED",
// "DSERR_NOAGGREGATION", "DSERR_OUTOFMEMORY", "DSERR_INVALIDPARAM", "DSERR_ALLOCATED",
// "DSERR_CONTROLUNAVAIL", "DSERR_INVALIDCALL", "DSERR_BADFORMAT", "DSERR_UNINITIALIZED",
// "DSERR_BUFFERTOOSMALL", "DSERR_DS8_REQUIRED"; every other code gives "UnknownError".
const char* DsResultName(HRESULT hr);

// Cooperative levels.
constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_PRIORITY = 2;
constexpr uint32_t DSSCL_EXCLUSIVE = 3;
constexpr uint32_t DSSCL_WRITEPRIMARY = 4;

// Buffer description and capability flags.
constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr uint32_t DSBCAPS_STATIC = 0x00000002;
constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x00000008;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x00000040;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

// Lock flags.
constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x1;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x2;

// Play flags and status bits.
constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr uint32_t DSBSTATUS_BUFFERLOST = 0x2;
constexpr uint32_t DSBSTATUS_LOOPING = 0x4;

// Size limits of a secondary buffer in bytes, and its rate limits.
constexpr uint32_t DSBSIZE_MIN = 4;
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;
constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 200000;

struct DSBUFFERDESC {
  uint32_t dwSize = sizeof(DSBUFFERDESC);  // not checked
  uint32_t dwFlags = 0;                    // DSBCAPS_*
  uint32_t dwBufferBytes = 0;              // 0 for the primary buffer
  uint32_t dwReserved = 0;
  const WAVEFORMATEX* lpwfxFormat = nullptr;  // null for the primary buffer
};

struct DSBCAPS {
  uint32_t dwSize = sizeof(DSBCAPS);  // must be at least sizeof(DSBCAPS)
  uint32_t dwFlags = 0;
  uint32_t dwBufferBytes = 0;
  uint32_t dwUnlockTransferRate = 0;
  uint32_t dwPlayCpuOverhead = 0;
};

class SoundBuffer {
 public:
  // Capabilities: the creation flags plus DSBCAPS_LOCSOFTWARE, and the size in bytes.
  virtual HRESULT GetCaps(DSBCAPS* caps) = 0;

  // Locks bytes starting at offset (or at the write cursor with DSBLOCK_FROMWRITECURSOR;
  // the whole buffer from 0 with DSBLOCK_ENTIREBUFFER, offset and bytes then ignored).
  // The first region runs from offset to at most the buffer end; the rest, when the range
  // wraps, is the second region from 0 (null / 0 when it does not wrap). With ptr2 null only
  // the first region is locked. Errors: DSERR_INVALIDPARAM (offset >= size, bytes 0 or
  // > size, null ptr1/bytes1), DSERR_INVALIDCALL (primary buffer, or the range overlaps a
  // range that is still locked).
  virtual HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2, uint32_t* bytes2,
                       uint32_t flags) = 0;
  // Ends the lock whose first region starts at ptr1 (ptr2 must be that lock's second region
  // or null); byte counts may be smaller than locked. DSERR_INVALIDPARAM when no such lock.
  virtual HRESULT Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2) = 0;

  // Starts (or continues) playing from the current position; DSBPLAY_LOOPING loops,
  // otherwise the buffer stops at its end and its position returns to 0. The primary
  // buffer accepts Play and Stop and does nothing.
  virtual HRESULT Play(uint32_t reserved1, uint32_t priority, uint32_t flags) = 0;
  // Stops; the position stays where it is.
  virtual HRESULT Stop() = 0;
  // Position in bytes (rounded down to a whole frame); DSERR_INVALIDPARAM when >= size.
  virtual HRESULT SetCurrentPosition(uint32_t pos) = 0;
  // Play cursor (the next byte the mixer takes) and write cursor (a little ahead of it
  // while playing); either pointer may be null.
  virtual HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) = 0;
  virtual HRESULT GetStatus(uint32_t* status) = 0;  // DSBSTATUS_*
  // Primary buffer only: sets the output format (PCM, 1 or 2 channels, 8 or 16 bits,
  // DSBFREQUENCY_MIN..MAX; else DSERR_BADFORMAT). Secondary buffers: DSERR_INVALIDCALL.
  virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
  virtual HRESULT GetFormat(WAVEFORMATEX* format) = 0;
  // Buffers of this device are never lost; Restore succeeds.
  virtual HRESULT Restore() = 0;
  // Stops, frees the buffer and deletes this object; returns 0.
  virtual uint32_t Release() = 0;

 protected:
  virtual ~SoundBuffer() = default;
};

class SoundDevice {
 public:
  virtual HRESULT SetCooperativeLevel(void* window, uint32_t level) = 0;  // DSSCL_*
  // Primary buffer: dwFlags has DSBCAPS_PRIMARYBUFFER, no size, no format. Secondary:
  // a PCM format (as for SetFormat, with nBlockAlign = channels x bits / 8 and
  // nAvgBytesPerSec = rate x nBlockAlign; else DSERR_BADFORMAT) and a size from
  // DSBSIZE_MIN to DSBSIZE_MAX that is a multiple of nBlockAlign (else
  // DSERR_INVALIDPARAM). The new buffer holds zero bytes, is stopped, at position 0.
  virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, SoundBuffer** buffer, void* outer = nullptr) = 0;
  // Closes the output and deletes this object; buffers still alive stay usable but are
  // no longer heard. Returns 0.
  virtual uint32_t Release() = 0;

 protected:
  virtual ~SoundDevice() = default;
};

// Opens the default output (deviceId must be null, else DSERR_INVALIDPARAM) with the
// format 22050 Hz, 8-bit, stereo until the primary buffer's format is set.
// DSERR_NODRIVER when no output can be opened.
HRESULT CreateSoundDevice(const void* deviceId, SoundDevice** device, void* outer = nullptr);

// ---- Fault injection (tests) -------------------------------------------------------------
enum class DsCall {
  CreateDevice,
  SetCooperativeLevel,
  CreateSoundBuffer,
  GetCaps,
  Lock,
  Unlock,
  Play,
  Stop,
  SetCurrentPosition,
  GetCurrentPosition,
  GetStatus,
  SetFormat,
  Restore,
};
// The call of that kind `skip` calls from now (0: the very next one) and the count - 1
// calls after it fail with `result` without doing anything. Process-wide.
void InjectDsFailure(DsCall call, HRESULT result, unsigned skip = 0, unsigned count = 1);
void ClearDsFailures();

}  // namespace plat::audio
