// Streams that used to hang, play the wrong thing or use a closed file. The hangs are guarded by
// the test time-out; each case also checks what is heard.
#include <algorithm>
#include <filesystem>

#include "sound_fixtures.h"

namespace zqtest {
namespace {

namespace na = plat::audio::nullout;
using Lines_ = std::vector<std::string>;

// IMA ADPCM, mono, 256-byte blocks of 505 samples (1010 bytes of PCM each).
std::vector<uint8_t> ImaWav(uint32_t rate, uint32_t blocks, uint32_t tail) {
  std::vector<uint8_t> data(blocks * 256 + tail, 0x00);
  for (size_t i = 0; i < data.size(); ++i)
    if (i % 256 >= 4) data[i] = static_cast<uint8_t>(i * 7);
  return MakeWav(Spec(0x11, 1, rate, 4, 256, {2, 0, 0xF9, 0x01}), data);
}

class MendsTest : public DeviceTest {};

TEST_F(MendsTest, StreamsThatCannotConvertFurtherStillEnd) {
  ZqSpec zqTail;  // a partial pair at the end, and a header count beyond the blocks
  zqTail.blocks = 3000;
  zqTail.extraBytes = 20;
  zqTail.samples = 3000 * 32 + 30000;
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    uint32_t threshold;
  } cases[] = {
      // A quarter of the ring (300 Hz: 150 bytes) is less than one block's 1010 bytes.
      {"IMA ADPCM at 300 Hz", ImaWav(300, 4, 0), 1},
      {"IMA ADPCM ending in a partial block", ImaWav(8000, 40, 100), 1},
      {"ZQ ending in a partial pair", MakeZq(zqTail, 4), 1},
      // Shorter than one refill: used to rewind and play on for ever.
      {"PCM WAV of 0.3 s with threshold 0", MakeWav({}, Bytes(Signal(44100 * 3 / 10 * 2, 1))), 0},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Load(tmp.Write("m.bin", c.file), 1, c.threshold), 0) << c.what;
    ASSERT_EQ(Sound()->bStream, 1) << c.what;
    PlayFromStart();
    const std::vector<int16_t> rec = PumpUntilStopped(40000);
    EXPECT_EQ(Sound()->nStreamState, CDSBuffer::kFinished) << c.what;
    EXPECT_LT(rec.size(), 40000u * 88) << c.what;
    EXPECT_TRUE(Lines().empty()) << c.what;
  }
}

TEST_F(MendsTest, ZqPartialPairIsFollowedBySilenceUpToTheHeaderCount) {
  ZqSpec z;
  z.blocks = 3000;
  z.extraBytes = 20;
  z.samples = 3000 * 32 + 30000;
  const std::vector<uint8_t> file = MakeZq(z, 4);
  ASSERT_EQ(Load(tmp.Write("p.zq", file), 1, 1), 0);
  PlayFromStart();
  const std::vector<int16_t> rec = PumpUntilStopped(20000);
  std::vector<int16_t> expect = DecodeZq(file);
  ASSERT_EQ(expect.size(), 3000u * 64);
  expect.resize(static_cast<size_t>(z.samples) * 2, 0);
  ASSERT_GE(rec.size(), expect.size());
  EXPECT_TRUE(std::equal(expect.begin(), expect.end(), rec.begin()));
  for (size_t i = expect.size(); i < rec.size(); ++i) ASSERT_EQ(rec[i], 0) << i;
}

TEST_F(MendsTest, SilenceOfAConvertedSourceIsPcmSilence) {
  // A mu-law stream whose file loses its end while it plays: what is missing must be
  // silent in the output, not mu-law byte 0 (full scale) converted.
  std::vector<uint8_t> data(44100 * 4);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(0x80 + i % 50);
  const std::string path = tmp.Write("u.wav", MakeWav(Spec(7, 1, 44100, 8), data));
  ASSERT_EQ(Load(path, 1, 2), 0);
  ASSERT_EQ(Sound()->bStream, 1);
  const size_t header = std::filesystem::file_size(path) - data.size();
  std::filesystem::resize_file(path, header + 44100 * 5 / 2);  // 2.5 s remain
  PlayFromStart();
  const std::vector<int16_t> rec = PumpUntilStopped(20000);
  ASSERT_EQ(Sound()->nStreamState, CDSBuffer::kFinished);
  ASSERT_GT(rec.size(), 44100u * 2 * 4);
  size_t loud = 0;
  for (size_t i = 0; i < 44100u * 2 * 5 / 2; ++i) loud += rec[i] != 0;
  EXPECT_GT(loud, 44100u);
  for (size_t i = 44100u * 2 * 5 / 2; i < rec.size(); ++i) ASSERT_EQ(rec[i], 0) << "sample " << i;
}

TEST_F(MendsTest, AfterAFailedWavResetNothingUsesTheClosedFile) {
  ASSERT_EQ(Load(tmp.Write("r.wav", MakeWav({}, Bytes(Signal(44100 * 6, 2)))), 1, 2), 0);
  CDSBuffer* s = Sound();
  const uint32_t R = s->dwBufSize;
  plat::audio::InjectAcmFailure(plat::audio::AcmCall::Open, plat::audio::ACMERR_NOTPOSSIBLE);
  EXPECT_EQ(s->Reset(), 1);
  EXPECT_EQ(Lines(), Lines_{"CDSBuffer::StreamUpdateResetWav ACM OPEN ERROR\n"});
  capture.Clear();
  ASSERT_EQ(s->lpDSB->SetCurrentPosition(R / 2 + 4), 0);
  EXPECT_EQ(s->StreamPlay(), 1);
  EXPECT_EQ(s->Reset(), 1);
  EXPECT_EQ(Lines(),
            (Lines_{"CDSBuffer::StreamUpdateWav ReadError\n", "CDSBuffer::StreamPlayWav [A]StreamUpdateError\n",
                    "CDSBuffer::StreamUpdateResetWav StreamUpdateError\n"}));
}

TEST_F(MendsTest, AfterAFailedZqResetNothingUsesTheClosedFile) {
  ZqSpec z;
  z.blocks = 4000;
  const std::string path = tmp.Write("r.zq", MakeZq(z, 3));
  ASSERT_EQ(Load(path, 1, 2), 0);
  CDSBuffer* s = Sound();
  std::filesystem::resize_file(path, 10);
  EXPECT_EQ(s->Reset(), 1);
  EXPECT_EQ(s->StreamUpdateZQ(s->dwBufSize / 2 - 1, s->dwBufSize / 4), 1);
  EXPECT_EQ(s->Reset(), 1);
  EXPECT_EQ(Lines(), (Lines_{"CDSBuffer::LoadZQ HeaderReadError\n", "CDSBuffer::StreamUpdateZQ ConvertError\n",
                             "CDSBuffer::LoadZQ HeaderReadError\n"}));
}

TEST_F(MendsTest, AStreamThatLostItsFileStopsInsteadOfLoopingItsRing) {
  ZqSpec z;
  z.blocks = 4000;  // 2.9 s of stereo
  const std::string path = tmp.Write("l.zq", MakeZq(z, 8));
  ASSERT_EQ(Load(path, 1, 2), 0);
  CDSBuffer* s = Sound();
  PlayFromStart();
  na::AdvanceMs(300);
  EXPECT_EQ(s->StreamPlay(), 0);
  // The file is cut while the sound plays: the reset fails before it could rewind.
  std::filesystem::resize_file(path, 10);
  EXPECT_EQ(s->Reset(), 1);
  uint32_t status = 0;
  ASSERT_EQ(s->lpDSB->GetStatus(&status), 0);
  ASSERT_NE(status & plat::audio::DSBSTATUS_PLAYING, 0u);
  // The next refill cannot read: the pump stops the sound instead of letting the ring loop.
  int failures = 0;
  for (int t = 0; t < 2000; t += 100) {
    na::AdvanceMs(100);
    failures += s->StreamPlay();
  }
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(s->nStreamState, CDSBuffer::kFinished);
  ASSERT_EQ(s->lpDSB->GetStatus(&status), 0);
  EXPECT_EQ(status & plat::audio::DSBSTATUS_PLAYING, 0u);
  na::TakeRecording();
  na::AdvanceMs(2500);
  const std::vector<int16_t> after = Samples(na::TakeRecording());
  EXPECT_EQ(after, std::vector<int16_t>(after.size(), 0));
  // Nor can it be played again until a new load: the host hears of it.
  EXPECT_EQ(s->Play(0), 1);
  EXPECT_EQ(s->Reset(), 1);
  EXPECT_EQ(Lines(), (Lines_{"CDSBuffer::LoadZQ HeaderReadError\n", "CDSBuffer::StreamUpdateZQ ConvertError\n",
                             "CDSBuffer::StreamPlayZQ [A]StreamUpdateError\n", "CDSBuffer::LoadZQ HeaderReadError\n"}));

  // A WAV stream whose reset could not reopen its converter.
  ASSERT_EQ(Load(tmp.Write("r.wav", MakeWav({}, Bytes(Signal(44100 * 6, 2)))), 1, 2), 0);
  plat::audio::InjectAcmFailure(plat::audio::AcmCall::Open, plat::audio::ACMERR_NOTPOSSIBLE);
  EXPECT_EQ(Sound()->Reset(), 1);
  EXPECT_EQ(Sound()->Play(0), 1);
}

TEST_F(MendsTest, AStreamWhoseEndIsNearThe32BitLimitStillEnds) {
  // A mu-law file of almost 2 GB (sparse) converts to almost 4 GB of PCM: the decoded count
  // must reach the end before it could wrap past it.
  WavSpec spec = Spec(7, 1, 8000, 8);
  spec.dataSizeField = 0x7FFFFF00;
  std::vector<uint8_t> head = MakeWav(spec, {});
  std::fill(head.begin() + 4, head.begin() + 8, 0xFF);  // the RIFF chunk claims the most
  const std::string path = tmp.Write("big.wav", head);
  std::error_code ec;
  std::filesystem::resize_file(path, head.size() + 0x7FFFFF00ull, ec);
  if (ec) GTEST_SKIP() << "no room for a sparse 2 GB file here";
  ASSERT_EQ(Load(path, 1, 2), 0);
  CDSBuffer* s = Sound();
  ASSERT_EQ(s->bStream, 1);
  const uint32_t R = s->dwBufSize;
  s->dwDstDone = s->dwDstSize - 100;  // as if it had played to just before its end
  ASSERT_EQ(s->StreamUpdateWav(R / 2 - 1, R / 4), 0);
  EXPECT_EQ(s->nStreamState, CDSBuffer::kEnded);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(MendsTest, ARefillPastTheEndSilencesAllItProduced) {
  ASSERT_EQ(Load(tmp.Write("o.wav", MakeWav({}, Bytes(Signal(44100 * 8, 2)))), 1, 2), 0);
  CDSBuffer* s = Sound();
  const uint32_t R = s->dwBufSize;
  s->dwDstDone = s->dwDstSize + 1000;  // the end lies behind this refill's start
  ASSERT_EQ(s->StreamUpdateWav(R / 2 - 1, R / 4), 0);
  EXPECT_EQ(Lines(), Lines_{"CDSBuffer::StreamUpdateWav EndOvershoot " + std::to_string(1000 + R / 2) + " 0\n"});
  EXPECT_EQ(s->nStreamState, CDSBuffer::kEnded);
  void* p = nullptr;
  uint32_t n = 0;
  ASSERT_EQ(s->lpDSB->Lock(0, R / 2, &p, &n, nullptr, nullptr, 0), 0);
  const std::vector<uint8_t> half(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
  s->lpDSB->Unlock(p, n, nullptr, 0);
  EXPECT_EQ(half, std::vector<uint8_t>(R / 2, 0));

  ZqSpec z;
  z.blocks = 4000;
  ASSERT_EQ(Load(tmp.Write("o.zq", MakeZq(z, 3)), 1, 2), 0);
  s = Sound();
  capture.Clear();
  s->dwDstDone = s->dwDstSize + 1000;
  ASSERT_EQ(s->StreamUpdateZQ(R / 2 - 1, R / 4), 0);
  ASSERT_EQ(Lines().size(), 1u);
  const std::string prefix = "CDSBuffer::StreamUpdateZQ EndOvershoot ";
  const std::string numbers = Lines()[0].substr(std::min(prefix.size(), Lines()[0].size()));
  EXPECT_EQ(Lines()[0].rfind(prefix, 0), 0u) << Lines()[0];
  EXPECT_EQ(std::count(numbers.begin(), numbers.end(), ' '), 2) << Lines()[0];
  EXPECT_EQ(numbers.find_first_not_of("0123456789 \n"), std::string::npos) << Lines()[0];
  EXPECT_EQ(s->nStreamState, CDSBuffer::kEnded);
}

}  // namespace
}  // namespace zqtest
