// The device's buffers: lock regions, validation codes, cursors and result names.
#include "audio_test_util.h"

namespace {

using namespace audiotest;

class DeviceTest : public NullDeviceTest {
 protected:
  void SetUp() override { OpenDevice(Pcm(22050, 1, 8)); }
};

TEST_F(DeviceTest, LockRegionTable) {
  struct Case {
    uint32_t pos;  // play position before the lock (for DSBLOCK_FROMWRITECURSOR)
    uint32_t offset, bytes, flags;
    bool wantSecond;  // a second region pointer is passed
    uint32_t off1, n1, n2;
  };
  const Case cases[] = {
      {0, 10, 20, 0, true, 10, 20, 0},                    // inside
      {0, 90, 20, 0, true, 90, 10, 10},                   // wraps around the end
      {0, 90, 20, 0, false, 90, 10, 0},                   // wraps, first region only
      {0, 0, 100, 0, true, 0, 100, 0},                    // whole buffer from 0
      {0, 50, 100, 0, true, 50, 50, 50},                  // full size at a non-zero position
      {0, 37, 5, DSBLOCK_ENTIREBUFFER, true, 0, 100, 0},  // whole-buffer flag
      {0, 37, 5, DSBLOCK_ENTIREBUFFER, false, 0, 100, 0},
      {40, 0, 10, DSBLOCK_FROMWRITECURSOR, true, 40, 10, 0},  // stopped: write = play
  };
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 8), std::vector<uint8_t>(100, 0x80));
  uint8_t* base = nullptr;
  {
    void* p;
    uint32_t n;
    ASSERT_EQ(b->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    base = static_cast<uint8_t*>(p);
    ASSERT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "offset " << c.offset << " bytes " << c.bytes << " flags " << c.flags
                                    << " second " << c.wantSecond);
    ASSERT_EQ(b->SetCurrentPosition(c.pos), DS_OK);
    void *p1 = nullptr, *p2 = reinterpret_cast<void*>(1);
    uint32_t n1 = 0, n2 = 77;
    ASSERT_EQ(b->Lock(c.offset, c.bytes, &p1, &n1, c.wantSecond ? &p2 : nullptr, c.wantSecond ? &n2 : nullptr, c.flags),
              DS_OK);
    EXPECT_EQ(static_cast<uint8_t*>(p1), base + c.off1);
    EXPECT_EQ(n1, c.n1);
    if (c.wantSecond) {
      EXPECT_EQ(n2, c.n2);
      EXPECT_EQ(p2, c.n2 ? static_cast<void*>(base) : nullptr);
    }
    EXPECT_EQ(b->Unlock(p1, n1, c.wantSecond ? p2 : nullptr, c.wantSecond ? n2 : 0), DS_OK);
  }
}

TEST_F(DeviceTest, LockAndUnlockErrors) {
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 8), std::vector<uint8_t>(100, 0x80));
  void *p1, *p2;
  uint32_t n1, n2;
  EXPECT_EQ(b->Lock(100, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);  // offset at the end
  EXPECT_EQ(b->Lock(0, 0, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);    // no bytes
  EXPECT_EQ(b->Lock(0, 101, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);  // more than the size
  EXPECT_EQ(b->Lock(0, 1, nullptr, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(primary_->Lock(0, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDCALL);

  ASSERT_EQ(b->Lock(90, 20, &p1, &n1, &p2, &n2, 0), DS_OK);
  void *q1, *q2;
  uint32_t m1, m2;
  EXPECT_EQ(b->Lock(5, 10, &q1, &m1, &q2, &m2, 0), DSERR_INVALIDCALL);  // overlaps the wrap part
  ASSERT_EQ(b->Lock(20, 10, &q1, &m1, &q2, &m2, 0), DS_OK);             // disjoint
  EXPECT_EQ(b->Unlock(static_cast<uint8_t*>(p1) + 1, n1, p2, n2), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->Unlock(p1, n1 + 1, p2, n2), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
  EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DSERR_INVALIDPARAM);  // already unlocked
  EXPECT_EQ(b->Unlock(q1, m1, nullptr, 0), DS_OK);
}

TEST_F(DeviceTest, CreateBufferValidation) {
  struct Case {
    const char* what;
    WAVEFORMATEX f;
    uint32_t bytes;
    uint32_t flags;
    bool noFormat;
    HRESULT want;
  };
  WAVEFORMATEX good = Pcm(22050, 2, 16);
  auto with = [&](auto change) {
    WAVEFORMATEX f = good;
    change(f);
    return f;
  };
  const Case cases[] = {
      {"good", good, 400, 0, false, DS_OK},
      {"cbSize ignored", with([](WAVEFORMATEX& f) { f.cbSize = 1000; }), 400, 0, false, DS_OK},
      {"smallest size", Pcm(22050, 1, 8), DSBSIZE_MIN, 0, false, DS_OK},
      {"lowest rate", Pcm(DSBFREQUENCY_MIN, 1, 8), 100, 0, false, DS_OK},
      {"highest rate", Pcm(DSBFREQUENCY_MAX, 1, 8), 100, 0, false, DS_OK},
      {"not PCM", with([](WAVEFORMATEX& f) { f.wFormatTag = WAVE_FORMAT_ADPCM; }), 400, 0, false, DSERR_BADFORMAT},
      {"3 channels", Pcm(22050, 3, 16), 600, 0, false, DSERR_BADFORMAT},
      {"0 channels", with([](WAVEFORMATEX& f) { f.nChannels = 0; }), 400, 0, false, DSERR_BADFORMAT},
      {"24 bits", Pcm(22050, 2, 24), 600, 0, false, DSERR_BADFORMAT},
      {"rate too low", Pcm(DSBFREQUENCY_MIN - 1, 1, 8), 100, 0, false, DSERR_BADFORMAT},
      {"rate too high", Pcm(DSBFREQUENCY_MAX + 1, 1, 8), 100, 0, false, DSERR_BADFORMAT},
      {"block align", with([](WAVEFORMATEX& f) { f.nBlockAlign = 2; }), 400, 0, false, DSERR_BADFORMAT},
      {"byte rate", with([](WAVEFORMATEX& f) { f.nAvgBytesPerSec = 1; }), 400, 0, false, DSERR_BADFORMAT},
      {"size 0", good, 0, 0, false, DSERR_INVALIDPARAM},
      {"size below minimum", Pcm(22050, 1, 8), DSBSIZE_MIN - 1, 0, false, DSERR_INVALIDPARAM},
      {"size not whole frames", good, 402, 0, false, DSERR_INVALIDPARAM},
      {"size above maximum", Pcm(22050, 1, 8), DSBSIZE_MAX + 1, 0, false, DSERR_INVALIDPARAM},
      {"no format", good, 400, 0, true, DSERR_INVALIDPARAM},
      {"primary with size", good, 400, DSBCAPS_PRIMARYBUFFER, true, DSERR_INVALIDPARAM},
      {"primary with format", good, 0, DSBCAPS_PRIMARYBUFFER, false, DSERR_INVALIDPARAM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DSBUFFERDESC d;
    d.dwFlags = c.flags;
    d.dwBufferBytes = c.bytes;
    d.lpwfxFormat = c.noFormat ? nullptr : &c.f;
    SoundBuffer* b = nullptr;
    EXPECT_EQ(dev_->CreateSoundBuffer(&d, &b), c.want);
    EXPECT_EQ(b != nullptr, c.want == DS_OK);
    if (b) {
      DSBCAPS caps;
      EXPECT_EQ(b->GetCaps(&caps), DS_OK);
      EXPECT_EQ(caps.dwBufferBytes, c.bytes);
      b->Release();
    }
  }
  EXPECT_EQ(dev_->CreateSoundBuffer(nullptr, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(DeviceTest, FormatsCapsAndPositions) {
  WAVEFORMATEX bad = Pcm(22050, 2, 16);
  bad.nBlockAlign = 3;
  EXPECT_EQ(primary_->SetFormat(&bad), DSERR_BADFORMAT);
  WAVEFORMATEX out{};
  ASSERT_EQ(primary_->GetFormat(&out), DS_OK);
  EXPECT_EQ(out.nSamplesPerSec, 22050u);  // unchanged
  EXPECT_EQ(out.wBitsPerSample, 8);

  SoundBuffer* b = MakeBuffer(Pcm(22050, 2, 16), std::vector<uint8_t>(400, 0));
  EXPECT_EQ(b->SetFormat(&out), DSERR_INVALIDCALL);
  DSBCAPS caps;
  caps.dwSize = 8;
  EXPECT_EQ(b->GetCaps(&caps), DSERR_INVALIDPARAM);
  caps.dwSize = sizeof caps;
  ASSERT_EQ(b->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwBufferBytes, 400u);
  EXPECT_TRUE(caps.dwFlags & DSBCAPS_GETCURRENTPOSITION2);

  EXPECT_EQ(b->SetCurrentPosition(400), DSERR_INVALIDPARAM);
  ASSERT_EQ(b->SetCurrentPosition(103), DS_OK);  // rounded down to a whole frame
  uint32_t play = 0, write = 0;
  ASSERT_EQ(b->GetCurrentPosition(&play, &write), DS_OK);
  EXPECT_EQ(play, 100u);
  EXPECT_EQ(write, 100u);  // stopped: nothing ahead of the play cursor
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  ASSERT_EQ(b->GetCurrentPosition(nullptr, &write), DS_OK);
  EXPECT_GT(write, 100u);
  EXPECT_EQ(write % 4, 0u);
  uint32_t st = 0;
  ASSERT_EQ(b->GetStatus(&st), DS_OK);
  EXPECT_EQ(st, DSBSTATUS_PLAYING);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_EQ(b->GetStatus(&st), DS_OK);
  EXPECT_EQ(st, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(b->Restore(), DS_OK);
}

TEST(DsResultNames, TableAndUnknown) {
  const std::pair<uint32_t, const char*> table[] = {
      {0, "DS_OK"},
      {0x80004001u, "DSERR_UNSUPPORTED"},
      {0x80040110u, "DSERR_NOAGGREGATION"},
      {0x8007000Eu, "DSERR_OUTOFMEMORY"},
      {0x80070057u, "DSERR_INVALIDPARAM"},
      {0x8878000Au, "DSERR_ALLOCATED"},
      {0x8878001Eu, "DSERR_CONTROLUNAVAIL"},
      {0x88780032u, "DSERR_INVALIDCALL"},
      {0x88780064u, "DSERR_BADFORMAT"},
      {0x887800AAu, "DSERR_UNINITIALIZED"},
      {0x887800B4u, "DSERR_BUFFERTOOSMALL"},
      {0x887800BEu, "DSERR_DS8_REQUIRED"},
      {0x88780096u, "UnknownError"},  // DSERR_BUFFERLOST is not in the printed table
      {0x80004005u, "UnknownError"},
      {1, "UnknownError"},
  };
  for (const auto& [code, name] : table)
    EXPECT_STREQ(DsResultName(static_cast<HRESULT>(code)), name) << std::hex << code;
}

TEST_F(DeviceTest, InjectedFailuresHitTheChosenCall) {
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 8), std::vector<uint8_t>(100, 0x80));
  InjectDsFailure(DsCall::Lock, DSERR_BUFFERLOST, 1);  // the second Lock from now
  void* p;
  uint32_t n;
  ASSERT_EQ(b->Lock(0, 10, &p, &n, nullptr, nullptr, 0), DS_OK);
  ASSERT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);
  EXPECT_EQ(b->Lock(0, 10, &p, &n, nullptr, nullptr, 0), DSERR_BUFFERLOST);
  ASSERT_EQ(b->Lock(0, 10, &p, &n, nullptr, nullptr, 0), DS_OK);  // only once
  ASSERT_EQ(b->Unlock(p, n, nullptr, 0), DS_OK);

  InjectDsFailure(DsCall::GetCurrentPosition, DSERR_GENERIC, 0, 2);
  uint32_t play;
  EXPECT_EQ(b->GetCurrentPosition(&play, nullptr), DSERR_GENERIC);
  EXPECT_EQ(b->GetCurrentPosition(&play, nullptr), DSERR_GENERIC);
  EXPECT_EQ(b->GetCurrentPosition(&play, nullptr), DS_OK);

  InjectDsFailure(DsCall::CreateDevice, DSERR_NODRIVER);
  SoundDevice* d = reinterpret_cast<SoundDevice*>(1);
  EXPECT_EQ(CreateSoundDevice(nullptr, &d), DSERR_NODRIVER);
  EXPECT_EQ(d, nullptr);
}

TEST_F(DeviceTest, BufferOutlivesItsDevice) {
  SoundBuffer* b = MakeBuffer(Pcm(22050, 1, 8), std::vector<uint8_t>(100, 0x80));
  dev_->Release();
  dev_ = nullptr;
  EXPECT_FALSE(nullout::IsOpen());
  EXPECT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(nullout::Advance(100), 0u);
  WAVEFORMATEX f = Pcm(44100, 2, 16);
  EXPECT_EQ(primary_->SetFormat(&f), DSERR_UNINITIALIZED);
}

}  // namespace
