// The SDL2 backend with SDL's dummy driver (no sound card needed): the play cursor moves.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/audio/dsound.h"

namespace {

using namespace plat::audio;

TEST(SdlBackend, DummyDriverAdvancesThePlayCursor) {
  unsetenv("MIRKAN_AUDIO_BACKEND");
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ClearDsFailures();
  SoundDevice* dev = nullptr;
  ASSERT_EQ(CreateSoundDevice(nullptr, &dev), DS_OK);
  ASSERT_EQ(dev->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
  DSBUFFERDESC pd;
  pd.dwFlags = DSBCAPS_PRIMARYBUFFER;
  SoundBuffer* primary = nullptr;
  ASSERT_EQ(dev->CreateSoundBuffer(&pd, &primary), DS_OK);
  WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  ASSERT_EQ(primary->SetFormat(&f), DS_OK);

  DSBUFFERDESC d;
  d.dwFlags = DSBCAPS_GETCURRENTPOSITION2;
  d.dwBufferBytes = 176400;
  d.lpwfxFormat = &f;
  SoundBuffer* b = nullptr;
  ASSERT_EQ(dev->CreateSoundBuffer(&d, &b), DS_OK);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  uint32_t pos = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (pos == 0 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(b->GetCurrentPosition(&pos, nullptr), DS_OK);
  }
  EXPECT_GT(pos, 0u);
  EXPECT_EQ(pos % 4, 0u);
  b->Release();
  primary->Release();
  dev->Release();
}

}  // namespace
