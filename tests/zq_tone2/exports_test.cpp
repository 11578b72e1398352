// The exported functions on the null backend, where what is heard can be checked, and once on
// SDL's disk driver, which writes what it plays into a file.
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "sound_fixtures.h"
#include "zq_tone2.h"

namespace zqtest {
namespace {

namespace na = plat::audio::nullout;

TEST(Exports, PlayWhilePlayingRestartsAndInitTwiceDropsTheSound) {
  setenv("MIRKAN_AUDIO_BACKEND", "null", 1);
  TempDir tmp;
  const std::vector<int16_t> source = Signal(44100 * 2, 3);  // 1 s stereo
  ASSERT_EQ(DSLib_Init(nullptr, 0, 1), 0);
  ASSERT_EQ(DSLib_Load(tmp.Write("a.wav", MakeWav({}, Bytes(source))).c_str(), 1), 0);
  na::TakeRecording();
  ASSERT_EQ(DSLib_Play(), 0);
  na::AdvanceMs(300);
  ASSERT_EQ(DSLib_Play(), 0);
  na::AdvanceMs(300);
  const std::vector<int16_t> rec = Samples(na::TakeRecording());
  const size_t cut = 44100 * 3 / 10 * 2;
  ASSERT_EQ(rec.size(), 2 * cut);
  EXPECT_TRUE(std::equal(rec.begin(), rec.begin() + cut, source.begin()));
  EXPECT_TRUE(std::equal(rec.begin() + cut, rec.end(), source.begin()));
  ASSERT_EQ(DSLib_Init(nullptr, 0, 1), 0);
  EXPECT_EQ(DSLib_Play(), 1);
  EXPECT_EQ(DSLib_Term(), 0);
}

TEST(Exports, FailedLoadLeavesNothingToPlay) {
  setenv("MIRKAN_AUDIO_BACKEND", "null", 1);
  TempDir tmp;
  ASSERT_EQ(DSLib_Init(nullptr, 0, 1), 0);
  ASSERT_EQ(DSLib_Load(tmp.Write("a.wav", MakeWav({}, Bytes(Signal(4000, 3)))).c_str(), 0), 0);
  EXPECT_EQ(DSLib_Load(tmp.path().c_str(), 0), 1);  // a folder: cannot be opened
  EXPECT_EQ(DSLib_Play(), 1);
  ZqSpec z;
  z.blocks = 20;
  const std::string zq = tmp.Write("z.zq", MakeZq(z, 1));
  plat::audio::InjectDsFailure(plat::audio::DsCall::Unlock, plat::audio::DSERR_INVALIDCALL);
  plat::audio::DebugCapture capture;
  EXPECT_EQ(DSLib_Load(zq.c_str(), 0), 1);
  EXPECT_EQ(capture.Text(),
            "HRESULT->DSERR_INVALIDCALL\nCDSBuffer::LoadZQ UnlockError\n"
            "CDSBuffer::LoadWav WAVE not found\n");
  EXPECT_EQ(DSLib_Play(), 1);
  EXPECT_EQ(DSLib_Stop(), 1);
  EXPECT_EQ(DSLib_Reset(), 1);
  EXPECT_EQ(DSLib_Term(), 0);
}

// Loads and plays a sound through SDL's disk driver, which mixes on its own thread, pumping
// every 20 ms for pumpMs; fills `written` with what the driver wrote. False when the driver is
// not available here.
bool PlayOnDiskDriver(const std::vector<uint8_t>& sound, int32_t allowStream, int pumpMs,
                      std::vector<int16_t>* written) {
  TempDir tmp;
  const std::string out = (tmp.path() / "out.raw").string();
  setenv("MIRKAN_AUDIO_BACKEND", "sdl", 1);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  const int32_t init = DSLib_Init(nullptr, 0, 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  unsetenv("MIRKAN_AUDIO_BACKEND");
  if (init == 1) return false;
  EXPECT_EQ(init, 0);
  EXPECT_EQ(DSLib_Load(tmp.Write("d.wav", sound).c_str(), allowStream), 0);
  EXPECT_EQ(DSLib_Play(), 0);
  for (int t = 0; t < pumpMs; t += 20) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(DSLib_Stream(), 0);
  }
  EXPECT_EQ(DSLib_Term(), 0);
  std::ifstream f(out, std::ios::binary);
  *written = Samples(std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), {}));
  return true;
}

// Silence, then the sound sample for sample, then silence only.
void ExpectSoundBetweenSilence(const std::vector<int16_t>& written, const std::vector<int16_t>& source) {
  size_t start = 0;
  while (start < written.size() && written[start] == 0) ++start;
  start &= ~size_t{1};
  ASSERT_GE(written.size(), start + source.size()) << "the disk file holds " << written.size() << " samples";
  EXPECT_TRUE(std::equal(source.begin(), source.end(), written.begin() + static_cast<long>(start)));
  for (size_t i = start + source.size(); i < written.size(); ++i)
    ASSERT_EQ(written[i], 0) << "sample " << i << " after the sound";
}

TEST(Exports, DiskDriverRecordsThePlayedSound) {
  const std::vector<int16_t> source = Signal(44100 * 2 / 4, 12);  // 0.25 s stereo
  std::vector<int16_t> written;
  if (!PlayOnDiskDriver(MakeWav({}, Bytes(source)), 1, 800, &written))
    GTEST_SKIP() << "SDL's disk driver is not available here";
  ExpectSoundBetweenSilence(written, source);
}

TEST(Exports, DiskDriverRecordsAStreamRefilledWhileItPlays) {
  // 2.5 s streamed: the ring is refilled by the pump on this thread while the driver's thread
  // mixes it; the stream then stops by itself (one ring turn later nothing repeats).
  const std::vector<int16_t> source = Signal(44100 * 2 * 5 / 2, 13);
  const uint32_t threshold = static_cast<uint32_t>(DSLib_ChangeStreamSec(1));
  std::vector<int16_t> written;
  const bool ran = PlayOnDiskDriver(MakeWav({}, Bytes(source)), 1, 4200, &written);
  DSLib_ChangeStreamSec(threshold);
  if (!ran) GTEST_SKIP() << "SDL's disk driver is not available here";
  ExpectSoundBetweenSilence(written, source);
}

}  // namespace
}  // namespace zqtest
