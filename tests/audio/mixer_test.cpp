// The software mixer on the null backend: what each playing buffer adds to the output.
#include <algorithm>
#include <random>

#include "audio_test_util.h"

namespace {

using namespace audiotest;

std::vector<int16_t> Noise(size_t n, int amplitude, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> d(-amplitude, amplitude);
  std::vector<int16_t> v(n);
  for (int16_t& s : v) s = static_cast<int16_t>(d(rng));
  return v;
}

class MixerTest : public NullDeviceTest {};

TEST_F(MixerTest, SameFormatPlaysOnceExactlyThenStopsAtZero) {
  OpenDevice(Pcm(44100, 2, 16));
  const std::vector<int16_t> src = Noise(2 * 1000, 32767, 1);
  SoundBuffer* b = MakeBuffer(Pcm(44100, 2, 16), FromS16(src));
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  ASSERT_EQ(nullout::Advance(999), 999u);
  EXPECT_TRUE(Playing(b));
  EXPECT_EQ(PlayPos(b), 999u * 4);
  ASSERT_EQ(nullout::Advance(201), 201u);
  EXPECT_FALSE(Playing(b));
  EXPECT_EQ(PlayPos(b), 0u);  // a buffer that played to its end starts again from 0
  const std::vector<int16_t> out = AsS16(nullout::TakeRecording());
  ASSERT_EQ(out.size(), 2u * 1200);
  EXPECT_TRUE(std::equal(src.begin(), src.end(), out.begin()));
  EXPECT_TRUE(std::all_of(out.begin() + 2000, out.end(), [](int16_t s) { return s == 0; }));
}

TEST_F(MixerTest, LoopingWrapsAndStopKeepsPosition) {
  OpenDevice(Pcm(22050, 1, 16));
  const std::vector<int16_t> src = Noise(300, 20000, 2);
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 16), FromS16(src));
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  nullout::Advance(750);  // two and a half times round
  EXPECT_TRUE(Playing(b));
  EXPECT_EQ(PlayPos(b), 150u * 2);
  ASSERT_EQ(b->Stop(), DS_OK);
  EXPECT_EQ(PlayPos(b), 150u * 2);
  nullout::Advance(50);  // stopped: silence, position kept
  EXPECT_EQ(PlayPos(b), 150u * 2);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  nullout::Advance(10);
  const std::vector<int16_t> out = AsS16(nullout::TakeRecording());
  ASSERT_EQ(out.size(), 810u);
  for (size_t i = 0; i < 750; ++i) ASSERT_EQ(out[i], src[i % 300]) << i;
  for (size_t i = 750; i < 800; ++i) ASSERT_EQ(out[i], 0) << i;
  for (size_t i = 0; i < 10; ++i) ASSERT_EQ(out[800 + i], src[150 + i]) << i;
}

TEST_F(MixerTest, EightBitMonoIntoSixteenBitStereo) {
  OpenDevice(Pcm(22050, 2, 16));
  const std::vector<uint8_t> src = {0x00, 0x80, 0xFF, 0x7F, 0x81, 0x40};
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 8), src);
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  nullout::Advance(6);
  const std::vector<int16_t> out = AsS16(nullout::TakeRecording());
  const int16_t want[] = {-32768, 0, 32512, -256, 256, -16384};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(out[2 * i], want[i]) << i;
    EXPECT_EQ(out[2 * i + 1], want[i]) << i;
  }
}

TEST_F(MixerTest, SixteenBitStereoIntoEightBitMono) {
  OpenDevice(Pcm(22050, 1, 8));
  const std::vector<int16_t> src = {-32768, -32768, 32767, 32767, 1000, 3000, -256, 0, 255, 255};
  SoundBuffer* b = MakeBuffer(Pcm(22050, 2, 16), FromS16(src));
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  nullout::Advance(5);
  const std::vector<uint8_t> out = nullout::TakeRecording();
  // The two channels are averaged, then the high byte is taken.
  const std::vector<uint8_t> want = {0x00, 0xFF, 0x80 + (2000 >> 8), 0x80 - 1, 0x80};
  EXPECT_EQ(out, want);
}

TEST_F(MixerTest, EightBitIdentityWhenFormatsMatch) {
  OpenDevice(Pcm(22050, 1, 8));
  std::vector<uint8_t> src(256);
  for (int i = 0; i < 256; ++i) src[i] = static_cast<uint8_t>(i);
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 8), src);
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  nullout::Advance(256);
  EXPECT_EQ(nullout::TakeRecording(), src);
}

TEST_F(MixerTest, RateConversionLength) {
  struct Case {
    uint32_t srcRate, outRate, frames, wantFrames;
  };
  const Case cases[] = {
      {22050, 44100, 1000, 2000}, {44100, 22050, 1001, 501},  {11025, 44100, 300, 1200},
      {32000, 44100, 3200, 4410}, {48000, 44100, 4800, 4410},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.srcRate << " -> " << c.outRate);
    OpenDevice(Pcm(c.outRate, 1, 16));
    // A constant level: interpolation keeps it, so the length is what is heard.
    SoundBuffer* b = MakeBuffer(Pcm(c.srcRate, 1, 16), FromS16(std::vector<int16_t>(c.frames, 1234)));
    ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
    nullout::Advance(c.wantFrames * 2);
    EXPECT_FALSE(Playing(b));
    const std::vector<int16_t> out = AsS16(nullout::TakeRecording());
    const auto heard = std::count(out.begin(), out.end(), 1234);
    EXPECT_NEAR(static_cast<double>(heard), c.wantFrames, 1.0);
    EXPECT_TRUE(std::all_of(out.begin(), out.begin() + heard, [](int16_t s) { return s == 1234; }));
    TearDown();
    buffers_.clear();
    primary_ = nullptr;
    dev_ = nullptr;
  }
}

TEST_F(MixerTest, UpsamplingInterpolatesBetweenFrames) {
  OpenDevice(Pcm(44100, 1, 16));
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 16), FromS16({0, 1000, 3000, 3000}));
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  nullout::Advance(8);
  const std::vector<int16_t> want = {0, 500, 1000, 2000, 3000, 3000, 3000, 3000};
  EXPECT_EQ(AsS16(nullout::TakeRecording()), want);
}

TEST_F(MixerTest, SumsAreClipped) {
  OpenDevice(Pcm(22050, 1, 16));
  const std::vector<int16_t> a = {30000, -30000, 20000, -100, 32767};
  const std::vector<int16_t> c = {30000, -30000, 12767, 100, 1};
  SoundBuffer* b1 = MakeBuffer(Pcm(22050, 1, 16), FromS16(a));
  SoundBuffer* b2 = MakeBuffer(Pcm(22050, 1, 16), FromS16(c));
  ASSERT_EQ(b1->Play(0, 0, 0), DS_OK);
  ASSERT_EQ(b2->Play(0, 0, 0), DS_OK);
  nullout::Advance(5);
  const std::vector<int16_t> want = {32767, -32768, 32767, 0, 32767};
  EXPECT_EQ(AsS16(nullout::TakeRecording()), want);
}

TEST_F(MixerTest, LockedRangePlaysAsSilenceUntilUnlocked) {
  OpenDevice(Pcm(22050, 1, 16));
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 16), FromS16(std::vector<int16_t>(100, 700)));
  void *p1, *p2;
  uint32_t n1, n2;
  ASSERT_EQ(b->Lock(180, 40, &p1, &n1, &p2, &n2, 0), DS_OK);  // frames 90..99 and 0..9
  std::fill_n(static_cast<uint8_t*>(p1), n1, 0x11);           // being written: not heard
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  nullout::Advance(120);
  ASSERT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
  nullout::Advance(100);
  const std::vector<int16_t> out = AsS16(nullout::TakeRecording());
  for (size_t i = 0; i < 120; ++i) {
    const size_t f = i % 100;
    EXPECT_EQ(out[i], (f < 10 || f >= 90) ? 0 : 700) << i;
  }
  for (size_t i = 120; i < 220; ++i) {
    const size_t f = i % 100;
    EXPECT_EQ(out[i], f >= 90 ? 0x1111 : 700) << i;
  }
}

TEST_F(MixerTest, LockInsideAFrameSilencesTheWholeFrame) {
  OpenDevice(Pcm(22050, 1, 16));
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 16), FromS16(std::vector<int16_t>(100, 700)));
  void* p;
  uint32_t n;
  ASSERT_EQ(b->Lock(101, 2, &p, &n, nullptr, nullptr, 0), DS_OK);  // bytes of frames 50 and 51
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  nullout::Advance(100);
  ASSERT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);
  const std::vector<int16_t> out = AsS16(nullout::TakeRecording());
  for (size_t i = 0; i < 100; ++i) EXPECT_EQ(out[i], (i == 50 || i == 51) ? 0 : 700) << i;
}

TEST_F(MixerTest, ReleasedBufferIsNoLongerMixed) {
  OpenDevice(Pcm(22050, 1, 16));
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 16), FromS16(std::vector<int16_t>(100, 500)));
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  nullout::Advance(10);
  buffers_.clear();
  b->Release();
  nullout::Advance(10);
  const std::vector<int16_t> out = AsS16(nullout::TakeRecording());
  ASSERT_EQ(out.size(), 20u);
  EXPECT_EQ(std::count(out.begin(), out.end(), 500), 10);
  EXPECT_EQ(std::count(out.begin() + 10, out.end(), 0), 10);
}

}  // namespace
