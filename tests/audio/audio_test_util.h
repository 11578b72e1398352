// Helpers of the sound layer's tests: a device on the null backend and PCM formats.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/audio/dsound.h"
#include "platform/audio/nullout.h"

namespace audiotest {

using namespace plat::audio;

inline WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = channels;
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = bits;
  f.nBlockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

inline std::vector<int16_t> AsS16(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> out(bytes.size() / 2);
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

inline std::vector<uint8_t> FromS16(const std::vector<int16_t>& s) {
  std::vector<uint8_t> out(s.size() * 2);
  std::memcpy(out.data(), s.data(), out.size());
  return out;
}

// A device on the null backend whose output has the given format.
class NullDeviceTest : public ::testing::Test {
 protected:
  void OpenDevice(const WAVEFORMATEX& out) {
    setenv("MIRKAN_AUDIO_BACKEND", "null", 1);
    ClearDsFailures();
    ASSERT_EQ(CreateSoundDevice(nullptr, &dev_), DS_OK);
    ASSERT_EQ(dev_->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    DSBUFFERDESC d;
    d.dwFlags = DSBCAPS_PRIMARYBUFFER;
    ASSERT_EQ(dev_->CreateSoundBuffer(&d, &primary_), DS_OK);
    ASSERT_EQ(primary_->SetFormat(&out), DS_OK);
    nullout::TakeRecording();
  }

  void TearDown() override {
    for (SoundBuffer* b : buffers_) b->Release();
    if (primary_) primary_->Release();
    if (dev_) dev_->Release();
    ClearDsFailures();
    unsetenv("MIRKAN_AUDIO_BACKEND");
  }

  // A secondary buffer holding `bytes` (its size is bytes.size()).
  SoundBuffer* MakeBuffer(const WAVEFORMATEX& f, const std::vector<uint8_t>& bytes) {
    DSBUFFERDESC d;
    d.dwFlags = DSBCAPS_GETCURRENTPOSITION2;
    d.dwBufferBytes = static_cast<uint32_t>(bytes.size());
    d.lpwfxFormat = &f;
    SoundBuffer* b = nullptr;
    EXPECT_EQ(dev_->CreateSoundBuffer(&d, &b), DS_OK);
    if (!b) return nullptr;
    buffers_.push_back(b);
    void* p = nullptr;
    uint32_t n = 0;
    EXPECT_EQ(b->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::memcpy(p, bytes.data(), n);
    EXPECT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);
    return b;
  }

  static uint32_t PlayPos(SoundBuffer* b) {
    uint32_t play = 0xFFFFFFFF;
    EXPECT_EQ(b->GetCurrentPosition(&play, nullptr), DS_OK);
    return play;
  }
  static bool Playing(SoundBuffer* b) {
    uint32_t st = 0;
    EXPECT_EQ(b->GetStatus(&st), DS_OK);
    return (st & DSBSTATUS_PLAYING) != 0;
  }

  SoundDevice* dev_ = nullptr;
  SoundBuffer* primary_ = nullptr;
  std::vector<SoundBuffer*> buffers_;
};

}  // namespace audiotest
