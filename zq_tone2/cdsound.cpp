#include "cdsound.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#include "cdsbuffer.h"
#include "platform/audio/debugout.h"

using namespace plat::audio;

int DebugPrint(const char* format, ...) {
  char line[260];
  va_list ap;
  va_start(ap, format);
  int n = std::vsnprintf(line, sizeof line, format, ap);
  va_end(ap);
  if (n < 0) n = 0;
  if (n > static_cast<int>(sizeof line) - 1) {
    n = sizeof line - 1;
    // A cut line still ends its line, so that the next one starts on its own.
    const size_t f = std::strlen(format);
    if (f > 0 && format[f - 1] == '\n') line[n - 1] = '\n';
  }
  DebugOutput(std::string_view(line, static_cast<size_t>(n)));
  return 1;
}

void DebugPrintHResult(HRESULT result) { DebugPrint("HRESULT->%s\n", DsResultName(result)); }

namespace {

WAVEFORMATEX PrimaryFormat(int32_t bHighQuality) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  if (bHighQuality) {
    f.nChannels = 2;
    f.nSamplesPerSec = 44100;
    f.wBitsPerSample = 16;
  } else {
    f.nChannels = 1;
    f.nSamplesPerSec = 22050;
    f.wBitsPerSample = 8;
  }
  f.nBlockAlign = static_cast<uint16_t>(f.nChannels * f.wBitsPerSample / 8);
  f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
  f.cbSize = 0;
  return f;
}

bool ValidSlot(int32_t slot) { return slot >= 0 && slot < CDSound::kSlots; }

}  // namespace

CDSound::CDSound() = default;

CDSound::~CDSound() { Term(); }

int32_t CDSound::Init(void* window, int32_t bPriority, int32_t highQuality) {
  Term();  // a second Init releases what the first one opened instead of leaking it
  hWnd = window;
  bHighQuality = highQuality;
  if (DsFailed(CreateSoundDevice(nullptr, &lpDS))) {
    lpDS = nullptr;
    return 1;
  }
  if (DsFailed(lpDS->SetCooperativeLevel(hWnd, bPriority ? DSSCL_PRIORITY : DSSCL_NORMAL))) return 2;
  wfxPrimary = PrimaryFormat(bHighQuality);
  DSBUFFERDESC desc;
  desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
  if (DsFailed(lpDS->CreateSoundBuffer(&desc, &lpDSBPrimary))) {
    lpDSBPrimary = nullptr;
    return 3;
  }
  if (DsFailed(lpDSBPrimary->SetFormat(&wfxPrimary))) return 4;
  if (CreateSilentBuffer(2) != 0) return 5;
  if (PlaySilentBuffer() != 0) return 6;
  return 0;
}

int32_t CDSound::CreateSilentBuffer(uint32_t seconds) {
  if (!lpDS || !lpDSBPrimary) return 1;
  if (lpDSBSilent) lpDSBSilent->Release();
  lpDSBSilent = nullptr;
  lpDSBSilentNew = nullptr;

  DSBUFFERDESC desc;
  desc.dwFlags = DSBCAPS_GETCURRENTPOSITION2;
  const uint64_t bytes = static_cast<uint64_t>(wfxPrimary.nAvgBytesPerSec) * seconds;
  desc.dwBufferBytes = bytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(bytes);
  desc.lpwfxFormat = &wfxPrimary;
  HRESULT hr = lpDS->CreateSoundBuffer(&desc, &lpDSBSilentNew);
  if (DsFailed(hr)) {
    lpDSBSilentNew = nullptr;
    DebugPrintHResult(hr);
    DebugPrint("CDSound::CreateSilentBuffer CreateDSBError\n");
    return 1;
  }
  lpDSBSilent = lpDSBSilentNew;

  void* p = nullptr;
  uint32_t n = 0;
  if (DsFailed(lpDSBSilent->Lock(0, desc.dwBufferBytes, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
    DebugPrint("CDSound::CreateSilentBuffer LockError\n");
    return 1;
  }
  std::memset(p, wfxPrimary.wBitsPerSample == 8 ? 0x80 : 0, n);
  if (DsFailed(lpDSBSilent->Unlock(p, n, nullptr, 0))) {
    DebugPrint("CDSound::CreateSilentBuffer UnlockError\n");
    return 1;
  }
  return 0;
}

int32_t CDSound::PlaySilentBuffer() {
  if (!lpDSBSilent) return 1;
  return DsFailed(lpDSBSilent->Play(0, 0, DSBPLAY_LOOPING)) ? 1 : 0;
}

int32_t CDSound::StopSilentBuffer() {
  if (!lpDSBSilent) return 1;
  return DsFailed(lpDSBSilent->Stop()) ? 1 : 0;
}

int32_t CDSound::Term() {
  StopSilentBuffer();
  if (lpDSBSilent) lpDSBSilent->Release();
  lpDSBSilent = nullptr;
  lpDSBSilentNew = nullptr;
  for (int i = 0; i < kSlots; ++i) ClearSlot(i);
  if (lpDSBPrimary) lpDSBPrimary->Release();
  lpDSBPrimary = nullptr;
  if (lpDS) lpDS->Release();
  lpDS = nullptr;
  return 0;
}

int32_t CDSound::Load(const char* path, int32_t slot, int32_t bAllowStream, uint32_t dwStreamSec) {
  if (!ValidSlot(slot)) return 1;
  ClearSlot(slot);
  CDSBuffer* sound = new (std::nothrow) CDSBuffer(lpDS);
  if (!sound) return 1;
  lpBuffers[slot] = sound;
  sound->SetFileName(path);
  sound->SetStreamSec(dwStreamSec);
  return sound->Load(bAllowStream);
}

CDSBuffer* CDSound::Slot(int32_t slot) const { return ValidSlot(slot) ? lpBuffers[slot] : nullptr; }

bool CDSound::ClearSlot(int32_t slot) {
  if (!ValidSlot(slot)) return false;
  delete lpBuffers[slot];
  lpBuffers[slot] = nullptr;
  return true;
}
