// The playback library's device object: Init step by step, the silent buffer, Term, slots
// and the diagnostic lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "cdsbuffer.h"
#include "cdsound.h"
#include "platform/audio/debugout.h"
#include "platform/audio/nullout.h"

namespace {

using namespace plat::audio;

class CDSoundTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("MIRKAN_AUDIO_BACKEND", "null", 1);
    ClearDsFailures();
  }
  void TearDown() override {
    ClearDsFailures();
    unsetenv("MIRKAN_AUDIO_BACKEND");
  }
  // The silent buffer's bytes.
  static std::string SilentBytes(CDSound& s) {
    void* p = nullptr;
    uint32_t n = 0;
    EXPECT_EQ(s.lpDSBSilent->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    std::string bytes(static_cast<const char*>(p), n);
    EXPECT_EQ(s.lpDSBSilent->Unlock(p, n, nullptr, 0), DS_OK);
    return bytes;
  }
};

TEST_F(CDSoundTest, InitStepTableByFaultInjection) {
  struct Case {
    const char* what;
    DsCall call;
    HRESULT result;
    unsigned skip;
    int32_t want;
    std::string lines;
    bool device, primary, silent;  // what Init leaves before Term
  };
  const Case cases[] = {
      {"device", DsCall::CreateDevice, DSERR_NODRIVER, 0, 1, "", false, false, false},
      {"cooperative level", DsCall::SetCooperativeLevel, DSERR_INVALIDPARAM, 0, 2, "", true, false, false},
      {"primary buffer", DsCall::CreateSoundBuffer, DSERR_OUTOFMEMORY, 0, 3, "", true, false, false},
      {"primary format", DsCall::SetFormat, DSERR_BADFORMAT, 0, 4, "", true, true, false},
      {"silent buffer creation", DsCall::CreateSoundBuffer, DSERR_OUTOFMEMORY, 1, 5,
       "HRESULT->DSERR_OUTOFMEMORY\nCDSound::CreateSilentBuffer CreateDSBError\n", true, true, false},
      {"silent buffer creation, code outside the table", DsCall::CreateSoundBuffer, DSERR_BUFFERLOST, 1, 5,
       "HRESULT->UnknownError\nCDSound::CreateSilentBuffer CreateDSBError\n", true, true, false},
      {"silent buffer lock", DsCall::Lock, DSERR_INVALIDCALL, 0, 5, "CDSound::CreateSilentBuffer LockError\n", true,
       true, true},
      {"silent buffer unlock", DsCall::Unlock, DSERR_INVALIDPARAM, 0, 5, "CDSound::CreateSilentBuffer UnlockError\n",
       true, true, true},
      {"playing the silent buffer", DsCall::Play, DSERR_INVALIDCALL, 0, 6, "", true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DebugCapture cap;
    CDSound s;
    InjectDsFailure(c.call, c.result, c.skip);
    EXPECT_EQ(s.Init(nullptr, 0, 1), c.want);
    ClearDsFailures();
    EXPECT_EQ(cap.Text(), c.lines);
    EXPECT_EQ(s.lpDS != nullptr, c.device);
    EXPECT_EQ(s.lpDSBPrimary != nullptr, c.primary);
    EXPECT_EQ(s.lpDSBSilent != nullptr, c.silent);
    EXPECT_EQ(s.lpDSBSilent, s.lpDSBSilentNew);
    EXPECT_EQ(s.Term(), 0);
    EXPECT_EQ(s.lpDS, nullptr);
    EXPECT_EQ(s.lpDSBPrimary, nullptr);
    EXPECT_EQ(s.lpDSBSilent, nullptr);
    EXPECT_EQ(s.lpDSBSilentNew, nullptr);
    EXPECT_FALSE(nullout::IsOpen());
  }
}

TEST_F(CDSoundTest, PrimaryFormatsAndSilentBufferForBothQualities) {
  struct Case {
    int32_t quality;
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
    uint32_t avg;
    uint16_t align;
    size_t silentBytes;
    char silence;
  };
  const Case cases[] = {{0, 1, 22050, 8, 22050, 1, 44100, '\x80'},
                        {1, 2, 44100, 16, 176400, 4, 352800, '\0'},
                        {7, 2, 44100, 16, 176400, 4, 352800, '\0'}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quality);
    DebugCapture cap;
    CDSound s;
    ASSERT_EQ(s.Init(reinterpret_cast<void*>(0x1234), 1, c.quality), 0);
    EXPECT_EQ(s.hWnd, reinterpret_cast<void*>(0x1234));
    EXPECT_EQ(s.bHighQuality, c.quality);
    EXPECT_EQ(s.wfxPrimary.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(s.wfxPrimary.nChannels, c.channels);
    EXPECT_EQ(s.wfxPrimary.nSamplesPerSec, c.rate);
    EXPECT_EQ(s.wfxPrimary.wBitsPerSample, c.bits);
    EXPECT_EQ(s.wfxPrimary.nAvgBytesPerSec, c.avg);
    EXPECT_EQ(s.wfxPrimary.nBlockAlign, c.align);
    EXPECT_EQ(s.wfxPrimary.cbSize, 0);
    // The output runs in the primary format.
    const WAVEFORMATEX out = nullout::Format();
    EXPECT_EQ(out.nSamplesPerSec, c.rate);
    EXPECT_EQ(out.wBitsPerSample, c.bits);
    EXPECT_EQ(out.nChannels, c.channels);

    const std::string bytes = SilentBytes(s);
    EXPECT_EQ(bytes.size(), c.silentBytes);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), c.silence), static_cast<long>(c.silentBytes));
    uint32_t st = 0;
    ASSERT_EQ(s.lpDSBSilent->GetStatus(&st), DS_OK);
    EXPECT_EQ(st, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    // What is heard is silence, and the silent buffer goes on playing round and round.
    nullout::AdvanceMs(2500);
    const std::vector<uint8_t> heard = nullout::TakeRecording();
    EXPECT_EQ(heard.size(), c.avg * 5 / 2);
    EXPECT_TRUE(
        std::all_of(heard.begin(), heard.end(), [&](uint8_t b) { return b == static_cast<uint8_t>(c.silence); }));
    ASSERT_EQ(s.lpDSBSilent->GetStatus(&st), DS_OK);
    EXPECT_EQ(st & DSBSTATUS_PLAYING, DSBSTATUS_PLAYING);
    EXPECT_EQ(cap.Text(), "");
  }
}

TEST_F(CDSoundTest, TermTwiceAndInitAgain) {
  CDSound s;
  EXPECT_EQ(s.Term(), 0);  // never initialised
  ASSERT_EQ(s.Init(nullptr, 0, 0), 0);
  EXPECT_EQ(s.Term(), 0);
  EXPECT_EQ(s.Term(), 0);
  EXPECT_FALSE(nullout::IsOpen());
  ASSERT_EQ(s.Init(nullptr, 0, 1), 0);
  EXPECT_TRUE(nullout::IsOpen());
  EXPECT_EQ(nullout::Format().nSamplesPerSec, 44100u);
  EXPECT_EQ(s.StopSilentBuffer(), 0);
  EXPECT_EQ(s.PlaySilentBuffer(), 0);
  // A second silent buffer replaces the first.
  EXPECT_EQ(s.CreateSilentBuffer(1), 0);
  EXPECT_EQ(SilentBytes(s).size(), 176400u);
}

TEST_F(CDSoundTest, InitOnAnOpenObjectReleasesWhatWasOpen) {
  CDSound s;
  ASSERT_EQ(s.Init(nullptr, 0, 1), 0);
  ASSERT_EQ(s.Init(nullptr, 0, 0), 0);  // the first device is released, not leaked
  EXPECT_EQ(nullout::Format().nSamplesPerSec, 22050u);
  EXPECT_EQ(s.Term(), 0);
  EXPECT_FALSE(nullout::IsOpen());
}

TEST_F(CDSoundTest, SilentBufferCallsWithoutDevice) {
  DebugCapture cap;
  CDSound s;
  EXPECT_EQ(s.CreateSilentBuffer(2), 1);
  EXPECT_EQ(s.PlaySilentBuffer(), 1);
  EXPECT_EQ(s.StopSilentBuffer(), 1);
  EXPECT_EQ(cap.Text(), "");
  InjectDsFailure(DsCall::CreateDevice, DSERR_NODRIVER);
  EXPECT_EQ(s.Init(nullptr, 0, 0), 1);
  EXPECT_EQ(s.CreateSilentBuffer(2), 1);
  EXPECT_EQ(cap.Text(), "");
}

TEST_F(CDSoundTest, NoSoundDeviceGivesStepOne) {
  unsetenv("MIRKAN_AUDIO_BACKEND");
  const char* old = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = old ? old : "";
  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  CDSound s;
  EXPECT_EQ(s.Init(nullptr, 0, 0), 1);
  EXPECT_EQ(s.lpDS, nullptr);
  EXPECT_EQ(s.Term(), 0);
  if (old) {
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  } else {
    unsetenv("SDL_AUDIODRIVER");
  }
}

TEST_F(CDSoundTest, SlotNumbersOutsideTheTableFail) {
  CDSound s;
  ASSERT_EQ(s.Init(nullptr, 0, 0), 0);
  EXPECT_EQ(s.Load("whatever.wav", -1, 0, 5), 1);
  EXPECT_EQ(s.Load("whatever.wav", 10, 0, 5), 1);
  for (int i = 0; i < CDSound::kSlots; ++i) EXPECT_EQ(s.lpBuffers[i], nullptr);
  EXPECT_EQ(s.Slot(10), nullptr);
  EXPECT_FALSE(s.ClearSlot(-1));
}

TEST_F(CDSoundTest, LoadKeepsTheNewSoundEvenWhenItFails) {
  CDSound s;
  ASSERT_EQ(s.Init(nullptr, 0, 0), 0);
  DebugCapture cap;
  const std::string missing = std::string(MIRKAN_TEST_DATA) + "/audio/no_such_file.wav";
  EXPECT_EQ(s.Load(missing.c_str(), 3, 0, 5), 1);
  CDSBuffer* first = s.Slot(3);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->dwStreamSec, 5u);
  EXPECT_EQ(first->DSobj, s.lpDS);
  EXPECT_EQ(cap.Text(), "CDSBuffer::LoadWav " + missing + " Open Error\n");
  EXPECT_EQ(s.Load(missing.c_str(), 3, 0, 7), 1);
  ASSERT_NE(s.Slot(3), nullptr);
  EXPECT_EQ(s.Slot(3)->dwStreamSec, 7u);
  EXPECT_EQ(s.Term(), 0);
  EXPECT_EQ(s.Slot(3), nullptr);
}

TEST(DebugLines, HResultNamesAndTruncation) {
  DebugCapture cap;
  DebugPrintHResult(DS_OK);
  DebugPrintHResult(DSERR_DS8_REQUIRED);
  DebugPrintHResult(static_cast<HRESULT>(0x12345678));
  DebugPrint("CDSBuffer::StreamUpdateZQ LockError %d %d ", 44100, 22050);
  DebugPrintHResult(DSERR_INVALIDCALL);
  EXPECT_EQ(cap.Text(),
            "HRESULT->DS_OK\nHRESULT->DSERR_DS8_REQUIRED\nHRESULT->UnknownError\n"
            "CDSBuffer::StreamUpdateZQ LockError 44100 22050 HRESULT->DSERR_INVALIDCALL\n");
  EXPECT_EQ(cap.Lines().size(), 4u);

  // A line cut at 259 characters keeps its line feed, so the next line stays on its own.
  cap.Clear();
  const std::string path(400, 'p');
  EXPECT_EQ(DebugPrint("CDSBuffer::LoadWav %s Open Error\n", path.c_str()), 1);
  DebugPrint("CDSBuffer::LoadWav WAVE not found\n");
  ASSERT_EQ(cap.Calls().size(), 2u);
  const std::string line = cap.Calls()[0];
  EXPECT_EQ(line.size(), 259u);
  EXPECT_EQ(line, ("CDSBuffer::LoadWav " + path).substr(0, 258) + "\n");
  EXPECT_EQ(cap.Lines(), (std::vector<std::string>{line, "CDSBuffer::LoadWav WAVE not found\n"}));
  // A piece without a line feed is cut without one; the sink cuts what it is given alike.
  cap.Clear();
  DebugPrint("%s", path.c_str());
  DebugOutput(path + "\n");
  ASSERT_EQ(cap.Calls().size(), 2u);
  EXPECT_EQ(cap.Calls()[0], path.substr(0, 259));
  EXPECT_EQ(cap.Calls()[1], path.substr(0, 258) + "\n");
}

}  // namespace
