#include "dsound.h"

#include <algorithm>
#include <new>

#include "backend.h"
#include "faults.h"
#include "mixer.h"

namespace plat::audio {

const char* DsResultName(HRESULT hr) {
  switch (static_cast<uint32_t>(hr)) {
    case 0: return "DS_OK";
    case 0x80004001u: return "DSERR_UNSUPPORTED";
    case 0x80040110u: return "DSERR_NOAGGREGATION";
    case 0x8007000Eu: return "DSERR_OUTOFMEMORY";
    case 0x80070057u: return "DSERR_INVALIDPARAM";
    case 0x8878000Au: return "DSERR_ALLOCATED";
    case 0x8878001Eu: return "DSERR_CONTROLUNAVAIL";
    case 0x88780032u: return "DSERR_INVALIDCALL";
    case 0x88780064u: return "DSERR_BADFORMAT";
    case 0x887800AAu: return "DSERR_UNINITIALIZED";
    case 0x887800B4u: return "DSERR_BUFFERTOOSMALL";
    case 0x887800BEu: return "DSERR_DS8_REQUIRED";
    default: return "UnknownError";
  }
}

void InjectDsFailure(DsCall call, HRESULT result, unsigned skip, unsigned count) {
  detail::DsFaults().Arm(static_cast<int>(call), result, skip, count);
}

void ClearDsFailures() { detail::DsFaults().Clear(); }

namespace {

using detail::MixerCore;
using detail::Voice;

// An injected failure for this call, or DS_OK.
HRESULT Injected(DsCall call) {
  int64_t r = 0;
  if (detail::DsFaults().Take(static_cast<int>(call), &r)) return static_cast<HRESULT>(r);
  return DS_OK;
}

// A PCM format the mixer can play or output.
bool PlayablePcm(const WAVEFORMATEX& f) {
  if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
  if (f.nChannels != 1 && f.nChannels != 2) return false;
  if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
  if (f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) return false;
  const uint32_t align = f.nChannels * f.wBitsPerSample / 8u;
  return f.nBlockAlign == align && f.nAvgBytesPerSec == f.nSamplesPerSec * align;
}

constexpr uint32_t kWriteLeadMs = 15;

// The output of a device, shared by the device and its primary buffer.
struct Output {
  std::shared_ptr<MixerCore> core;
  std::unique_ptr<detail::Backend> backend;
  bool released = false;  // the device was released; the output is closed for good

  HRESULT SetFormat(const WAVEFORMATEX& f) {
    if (released) return DSERR_UNINITIALIZED;
    backend->Close();
    {
      std::lock_guard<std::mutex> g(core->mu);
      core->SetOutFormat(f);
    }
    return backend->Open() ? DS_OK : DSERR_GENERIC;
  }
};

class BufferImpl final : public SoundBuffer {
 public:
  // Primary buffer.
  explicit BufferImpl(std::shared_ptr<Output> output)
      : core_(output->core), output_(std::move(output)), primary_(true) {}
  // Secondary buffer; `voice` is already filled and not yet attached.
  BufferImpl(std::shared_ptr<MixerCore> core, std::unique_ptr<Voice> voice, uint32_t flags)
      : core_(std::move(core)), voice_(std::move(voice)), flags_(flags) {
    std::lock_guard<std::mutex> g(core_->mu);
    core_->Attach(voice_.get());
  }

  ~BufferImpl() override {
    if (voice_) {
      std::lock_guard<std::mutex> g(core_->mu);
      core_->Detach(voice_.get());
    }
  }

  HRESULT GetCaps(DSBCAPS* caps) override {
    if (HRESULT hr = Injected(DsCall::GetCaps)) return hr;
    if (!caps || caps->dwSize < sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    caps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE | (primary_ ? DSBCAPS_PRIMARYBUFFER : 0);
    caps->dwBufferBytes = voice_ ? static_cast<uint32_t>(voice_->data.size()) : 0;
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
  }

  HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* bytes1, void** ptr2, uint32_t* bytes2,
               uint32_t flags) override {
    if (HRESULT hr = Injected(DsCall::Lock)) return hr;
    if (!voice_) return DSERR_INVALIDCALL;
    if (!ptr1 || !bytes1) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> g(core_->mu);
    const uint32_t size = static_cast<uint32_t>(voice_->data.size());
    if (flags & DSBLOCK_ENTIREBUFFER) {
      offset = 0;
      bytes = size;
    } else if (flags & DSBLOCK_FROMWRITECURSOR) {
      offset = WriteCursorLocked();
    }
    if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
    Voice::LockRecord rec;
    const uint32_t firstLen = std::min(bytes, size - offset);
    rec.first = {offset, offset + firstLen};
    if (ptr2 && bytes > firstLen) rec.second = {0, bytes - firstLen};
    if (voice_->IsLocked(rec.first.begin, rec.first.end) || voice_->IsLocked(rec.second.begin, rec.second.end))
      return DSERR_INVALIDCALL;
    voice_->locks.push_back(rec);
    *ptr1 = voice_->data.data() + rec.first.begin;
    *bytes1 = firstLen;
    if (ptr2) *ptr2 = rec.second.end > 0 ? voice_->data.data() : nullptr;
    if (bytes2) *bytes2 = rec.second.end;
    return DS_OK;
  }

  HRESULT Unlock(void* ptr1, uint32_t bytes1, void* ptr2, uint32_t bytes2) override {
    if (HRESULT hr = Injected(DsCall::Unlock)) return hr;
    if (!voice_) return DSERR_INVALIDCALL;
    std::lock_guard<std::mutex> g(core_->mu);
    uint8_t* base = voice_->data.data();
    for (auto it = voice_->locks.begin(); it != voice_->locks.end(); ++it) {
      if (ptr1 != base + it->first.begin) continue;
      const bool hasSecond = it->second.end > 0;
      if (bytes1 > it->first.end - it->first.begin) return DSERR_INVALIDPARAM;
      if (ptr2 && (!hasSecond || ptr2 != base || bytes2 > it->second.end)) return DSERR_INVALIDPARAM;
      voice_->locks.erase(it);
      return DS_OK;
    }
    return DSERR_INVALIDPARAM;
  }

  HRESULT Play(uint32_t, uint32_t, uint32_t flags) override {
    if (HRESULT hr = Injected(DsCall::Play)) return hr;
    if (!voice_) return DS_OK;
    std::lock_guard<std::mutex> g(core_->mu);
    voice_->playing = true;
    voice_->looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
  }

  HRESULT Stop() override {
    if (HRESULT hr = Injected(DsCall::Stop)) return hr;
    if (!voice_) return DS_OK;
    std::lock_guard<std::mutex> g(core_->mu);
    voice_->playing = false;
    return DS_OK;
  }

  HRESULT SetCurrentPosition(uint32_t pos) override {
    if (HRESULT hr = Injected(DsCall::SetCurrentPosition)) return hr;
    if (!voice_) return DSERR_INVALIDCALL;
    std::lock_guard<std::mutex> g(core_->mu);
    if (pos >= voice_->data.size()) return DSERR_INVALIDPARAM;
    voice_->pos = pos / voice_->format.nBlockAlign;
    voice_->frac = 0;
    return DS_OK;
  }

  HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) override {
    if (HRESULT hr = Injected(DsCall::GetCurrentPosition)) return hr;
    if (!voice_) {
      if (play) *play = 0;
      if (write) *write = 0;
      return DS_OK;
    }
    std::lock_guard<std::mutex> g(core_->mu);
    if (play) *play = voice_->pos * voice_->format.nBlockAlign;
    if (write) *write = WriteCursorLocked();
    return DS_OK;
  }

  HRESULT GetStatus(uint32_t* status) override {
    if (HRESULT hr = Injected(DsCall::GetStatus)) return hr;
    if (!status) return DSERR_INVALIDPARAM;
    *status = 0;
    if (!voice_) return DS_OK;
    std::lock_guard<std::mutex> g(core_->mu);
    if (voice_->playing) *status = DSBSTATUS_PLAYING | (voice_->looping ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
  }

  HRESULT SetFormat(const WAVEFORMATEX* format) override;

  HRESULT GetFormat(WAVEFORMATEX* format) override {
    if (!format) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> g(core_->mu);
    *format = voice_ ? voice_->format : core_->OutFormat();
    return DS_OK;
  }

  HRESULT Restore() override { return Injected(DsCall::Restore); }

  uint32_t Release() override {
    delete this;
    return 0;
  }

 private:
  uint32_t WriteCursorLocked() const {
    const uint32_t size = static_cast<uint32_t>(voice_->data.size());
    const uint32_t play = voice_->pos * voice_->format.nBlockAlign;
    if (!voice_->playing) return play;
    uint32_t lead = static_cast<uint32_t>(static_cast<uint64_t>(voice_->format.nAvgBytesPerSec) * kWriteLeadMs / 1000);
    lead -= lead % voice_->format.nBlockAlign;
    return static_cast<uint32_t>((static_cast<uint64_t>(play) + lead) % size);
  }

  std::shared_ptr<MixerCore> core_;
  std::unique_ptr<Voice> voice_;    // null for the primary buffer
  std::shared_ptr<Output> output_;  // primary buffer only
  uint32_t flags_ = 0;
  bool primary_ = false;
};

class DeviceImpl final : public SoundDevice {
 public:
  DeviceImpl() {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 2;
    f.nSamplesPerSec = 22050;
    f.wBitsPerSample = 8;
    f.nBlockAlign = 2;
    f.nAvgBytesPerSec = 44100;
    output_ = std::make_shared<Output>();
    output_->core = std::make_shared<MixerCore>(f);
    output_->backend = detail::MakeBackend(output_->core);
  }
  ~DeviceImpl() override {
    output_->backend->Close();
    output_->released = true;
  }

  bool OpenOutput() { return output_->backend->Open(); }

  HRESULT SetCooperativeLevel(void*, uint32_t level) override {
    if (HRESULT hr = Injected(DsCall::SetCooperativeLevel)) return hr;
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    level_ = level;
    return DS_OK;
  }

  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, SoundBuffer** buffer, void* outer) override {
    if (HRESULT hr = Injected(DsCall::CreateSoundBuffer)) return hr;
    if (outer) return DSERR_NOAGGREGATION;
    if (!desc || !buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
      if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
      *buffer = new (std::nothrow) BufferImpl(output_);
      return *buffer ? DS_OK : DSERR_OUTOFMEMORY;
    }
    if (!desc->lpwfxFormat) return DSERR_INVALIDPARAM;
    const WAVEFORMATEX& f = *desc->lpwfxFormat;
    if (!PlayablePcm(f)) return DSERR_BADFORMAT;
    const uint32_t size = desc->dwBufferBytes;
    if (size < DSBSIZE_MIN || size > DSBSIZE_MAX || size % f.nBlockAlign != 0) return DSERR_INVALIDPARAM;
    try {
      auto voice = std::make_unique<Voice>();
      voice->format = f;
      voice->format.cbSize = 0;
      voice->data.assign(size, 0);
      voice->frames = size / f.nBlockAlign;
      *buffer = new BufferImpl(output_->core, std::move(voice), desc->dwFlags);
    } catch (const std::bad_alloc&) {
      return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
  }

  uint32_t Release() override {
    delete this;
    return 0;
  }

 private:
  std::shared_ptr<Output> output_;
  uint32_t level_ = 0;
};

HRESULT BufferImpl::SetFormat(const WAVEFORMATEX* format) {
  if (HRESULT hr = Injected(DsCall::SetFormat)) return hr;
  if (!primary_) return DSERR_INVALIDCALL;
  if (!format) return DSERR_INVALIDPARAM;
  if (!PlayablePcm(*format)) return DSERR_BADFORMAT;
  WAVEFORMATEX f = *format;
  f.cbSize = 0;
  return output_->SetFormat(f);
}

}  // namespace

HRESULT CreateSoundDevice(const void* deviceId, SoundDevice** device, void* outer) {
  if (HRESULT hr = Injected(DsCall::CreateDevice)) {
    if (device) *device = nullptr;
    return hr;
  }
  if (!device) return DSERR_INVALIDPARAM;
  *device = nullptr;
  if (outer) return DSERR_NOAGGREGATION;
  if (deviceId) return DSERR_INVALIDPARAM;
  DeviceImpl* d = new (std::nothrow) DeviceImpl();
  if (!d) return DSERR_OUTOFMEMORY;
  if (!d->OpenOutput()) {
    d->Release();
    return DSERR_NODRIVER;
  }
  *device = d;
  return DS_OK;
}

}  // namespace plat::audio
