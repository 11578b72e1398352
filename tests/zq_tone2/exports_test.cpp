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
    EXPECT_EQ(capture.Text(), "HRESULT->DSERR_INVALIDCALL\nCDSBuffer::LoadZQ UnlockError\n"
                              "CDSBuffer::LoadWav WAVE not found\n");
    EXPECT_EQ(DSLib_Play(), 1);
    EXPECT_EQ(DSLib_Stop(), 1);
    EXPECT_EQ(DSLib_Reset(), 1);
    EXPECT_EQ(DSLib_Term(), 0);
}

TEST(Exports, DiskDriverRecordsThePlayedSound) {
    TempDir tmp;
    const std::string out = (tmp.path() / "out.raw").string();
    setenv("MIRKAN_AUDIO_BACKEND", "sdl", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    const std::vector<int16_t> source = Signal(44100 * 2 / 4, 12);  // 0.25 s stereo
    const int32_t init = DSLib_Init(nullptr, 0, 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("MIRKAN_AUDIO_BACKEND");
    if (init == 1) GTEST_SKIP() << "SDL's disk driver is not available here";
    ASSERT_EQ(init, 0);
    ASSERT_EQ(DSLib_Load(tmp.Write("d.wav", MakeWav({}, Bytes(source))).c_str(), 1), 0);
    ASSERT_EQ(DSLib_Play(), 0);
    for (int i = 0; i < 8; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(DSLib_Stream(), 0);
    }
    EXPECT_EQ(DSLib_Term(), 0);
    std::ifstream f(out, std::ios::binary);
    const std::vector<uint8_t> raw((std::istreambuf_iterator<char>(f)), {});
    const std::vector<int16_t> written = Samples(raw);
    // Silence, then the sound sample for sample, then silence.
    size_t start = 0;
    while (start < written.size() && written[start] == 0) ++start;
    start &= ~size_t{1};
    ASSERT_GE(written.size(), start + source.size()) << "the disk file holds " << written.size() << " samples";
    EXPECT_TRUE(std::equal(source.begin(), source.end(), written.begin() + static_cast<long>(start)));
}

}  // namespace
}  // namespace zqtest
