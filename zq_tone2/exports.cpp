// The nine exported functions: one device object for the process, one sound in slot 0.
#include "zq_tone2.h"

#include <new>

#include "cdsbuffer.h"
#include "cdsound.h"

namespace {

CDSound* g_pDSound = nullptr;
uint32_t g_dwStreamSec = 20;

CDSBuffer* Sound() { return g_pDSound ? g_pDSound->Slot(0) : nullptr; }

}  // namespace

extern "C" {

ZQ_TONE2_API int32_t DSLib_Init(void* hWnd, int32_t bPriority, int32_t bHighQuality) {
  delete g_pDSound;
  g_pDSound = new (std::nothrow) CDSound();
  if (!g_pDSound) return 1;
  return g_pDSound->Init(hWnd, bPriority, bHighQuality);
}

ZQ_TONE2_API int32_t DSLib_Term(void) {
  delete g_pDSound;
  g_pDSound = nullptr;
  return 0;
}

ZQ_TONE2_API int32_t DSLib_Load(const char* path, int32_t bAllowStream) {
  if (!g_pDSound) return 1;
  return g_pDSound->Load(path, 0, bAllowStream, g_dwStreamSec);
}

ZQ_TONE2_API int32_t DSLib_Play(void) {
  CDSBuffer* s = Sound();
  if (!s) return 1;
  s->Stop();
  s->Reset();
  return s->Play(0);
}

ZQ_TONE2_API int32_t DSLib_Stop(void) {
  CDSBuffer* s = Sound();
  return s ? s->Stop() : 1;
}

ZQ_TONE2_API int32_t DSLib_Close(void) {
  CDSBuffer* s = Sound();
  if (!s) return 1;
  s->Stop();
  g_pDSound->ClearSlot(0);
  return 0;
}

ZQ_TONE2_API int32_t DSLib_Reset(void) {
  CDSBuffer* s = Sound();
  return s ? s->Reset() : 1;
}

ZQ_TONE2_API int32_t DSLib_Stream(void) {
  CDSBuffer* s = Sound();
  return s ? s->StreamPlay() : 1;
}

ZQ_TONE2_API int32_t DSLib_ChangeStreamSec(uint32_t seconds) {
  const uint32_t previous = g_dwStreamSec;
  g_dwStreamSec = seconds;
  return static_cast<int32_t>(previous);
}

}  // extern "C"
