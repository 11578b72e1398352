// The playback library's device object: the sound device, the primary buffer with the output
// format, a looping buffer of silence and ten slots for loaded sounds; and the library's
// diagnostic lines.
#pragma once
#include <cstdint>

#include "platform/audio/dsound.h"

// A loaded sound (cdsbuffer.h). The device uses of it: CDSBuffer(plat::audio::SoundDevice*),
// ~CDSBuffer(), SetFileName(const char*), SetStreamSec(uint32_t), int32_t Load(int32_t).
class CDSBuffer;

using plat::audio::HRESULT;

// Formats one diagnostic line printf-style into 260 bytes (longer text is cut at 259
// characters, the last of them the line feed when the format ends in one) and writes it to
// the debug output. Returns 1.
int DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Prints "HRESULT->" and the result code's name ("UnknownError" for codes outside the
// table) and a line feed.
void DebugPrintHResult(HRESULT result);

class CDSound {
 public:
  static constexpr int kSlots = 10;

  CDSound();
  ~CDSound();
  CDSound(const CDSound&) = delete;
  CDSound& operator=(const CDSound&) = delete;

  // Opens the device; 0, or the failing step: 1 device, 2 cooperative level, 3 primary
  // buffer, 4 primary format, 5 silent buffer, 6 playing it.
  int32_t Init(void* hWnd, int32_t bPriority, int32_t bHighQuality);
  // Releases everything (the sounds in the slots too); always 0; Init may follow.
  int32_t Term();
  int32_t CreateSilentBuffer(uint32_t seconds);  // 0 or 1
  int32_t PlaySilentBuffer();                    // 0 or 1
  int32_t StopSilentBuffer();                    // 0 or 1
  // Replaces the sound in the slot (0 to 9; another slot number fails with 1) by a new one
  // loaded from path; the result of CDSBuffer::Load. The slot keeps the new sound object.
  int32_t Load(const char* path, int32_t slot, int32_t bAllowStream, uint32_t dwStreamSec);

  // The sound in a slot, or null (also for a slot number outside 0 to 9).
  CDSBuffer* Slot(int32_t slot) const;
  // Empties a slot, destroying its sound; false for a slot number outside 0 to 9.
  bool ClearSlot(int32_t slot);

  void* hWnd = nullptr;
  plat::audio::SoundDevice* lpDS = nullptr;
  plat::audio::SoundBuffer* lpDSBPrimary = nullptr;
  plat::audio::SoundBuffer* lpDSBSilent = nullptr;
  plat::audio::SoundBuffer* lpDSBSilentNew = nullptr;
  WAVEFORMATEX wfxPrimary{};
  int32_t bHighQuality = 0;
  CDSBuffer* lpBuffers[kSlots] = {};
};
