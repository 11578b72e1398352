// Streaming: the ring refills, the pump, the end of a stream, pausing and rewinding.
#include "sound_fixtures.h"

namespace zqtest {
namespace {

namespace na = plat::audio::nullout;

class StreamTest : public DeviceTest {
 protected:
  // Checks that the recording is the source, then silence; that the pump stopped the buffer
  // inside the half that holds the closing silence; and that it did so no later than
  // `halves` halves of the ring after the end of the sound, plus one pump interval.
  void ExpectSourceThenSilence(const std::vector<int16_t>& rec, const std::vector<int16_t>& source, uint32_t halves) {
    const size_t pumpSamples = Sound()->DstFormat.nAvgBytesPerSec / 10 / 2;
    EXPECT_LE(rec.size(), source.size() + halves * Sound()->dwBufSize / 4 + pumpSamples);
    ASSERT_EQ(Sound()->nStreamState, CDSBuffer::kFinished);
    ASSERT_GE(rec.size(), source.size());
    EXPECT_TRUE(std::equal(source.begin(), source.end(), rec.begin()));
    size_t firstDiff = 0;
    while (firstDiff < source.size() && rec[firstDiff] == source[firstDiff]) ++firstDiff;
    EXPECT_EQ(firstDiff, source.size()) << "first difference at sample " << firstDiff;
    for (size_t i = source.size(); i < rec.size(); ++i) ASSERT_EQ(rec[i], 0) << "sample " << i;
    uint32_t status = 1, pos = 0;
    Sound()->lpDSB->GetStatus(&status);
    Sound()->lpDSB->GetCurrentPosition(&pos, nullptr);
    EXPECT_EQ(status & plat::audio::DSBSTATUS_PLAYING, 0u);
    const uint32_t R = Sound()->dwBufSize;
    if (Sound()->nEndHalf == 0) {
      EXPECT_TRUE(pos > 0 && pos < R / 2) << pos;
    } else {
      EXPECT_TRUE(pos > R / 2 && pos < R - 1) << pos;
    }
  }
};

TEST_F(StreamTest, StreamedZqPlaysItsSamplesThenStops) {
  ZqSpec z;
  z.blocks = 4200;             // 3.05 s of stereo
  z.samples = 4200 * 32 - 77;  // the header ends inside the last pair
  const std::vector<uint8_t> file = MakeZq(z, 21);
  ASSERT_EQ(Load(tmp.Write("s.zq", file), 1, 3), 0);
  ASSERT_EQ(Sound()->bStream, 1);
  ASSERT_EQ(Sound()->dwBufSize, 352800u);
  std::vector<int16_t> source = DecodeZq(file);
  source.resize(static_cast<size_t>(z.samples) * 2);
  PlayFromStart();
  // ZQ stops once playback enters the half after the one where the sound ended.
  ExpectSourceThenSilence(PumpUntilStopped(10000), source, 1);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(StreamTest, StreamedPcmWavPlaysItsSamplesThenStops) {
  for (size_t frames : {size_t{44100 * 3 + 1234}, size_t{44100 * 3}}) {
    const std::vector<int16_t> source = Signal(frames * 2, 8);
    ASSERT_EQ(Load(tmp.Write("s.wav", MakeWav({}, Bytes(source))), 1, 3), 0);
    ASSERT_EQ(Sound()->bStream, 1);
    PlayFromStart();
    // A WAV stream rewinds when its data is consumed: one half more than ZQ.
    ExpectSourceThenSilence(PumpUntilStopped(10000), source, 2);
  }
  EXPECT_TRUE(Lines().empty());
}

TEST_F(StreamTest, DataEndingWithTheRefillsGivesOneMoreHalfOfSilence) {
  // 3 s of PCM: the prime takes 2 s, [A] and [B] one each. The refill that ends the data
  // leaves the state at 0; the next is all silence (3), and the one after it as well (4).
  const std::vector<int16_t> source = Signal(44100 * 3 * 2, 3);
  ASSERT_EQ(Load(tmp.Write("e.wav", MakeWav({}, Bytes(source))), 1, 3), 0);
  CDSBuffer* s = Sound();
  const uint32_t R = s->dwBufSize;
  EXPECT_EQ(s->nStreamState, CDSBuffer::kReading);
  ASSERT_EQ(s->StreamUpdateWav(R / 2 - 1, R / 4), 0);  // [A]: the third second
  EXPECT_EQ(s->nStreamState, CDSBuffer::kReading);
  ASSERT_EQ(s->StreamUpdateWav(R - 1, 3 * R / 4), 0);  // [B]: silence
  EXPECT_EQ(s->nStreamState, CDSBuffer::kEnded);
  ASSERT_EQ(s->StreamUpdateWav(R / 2 - 1, R / 4), 0);  // [A]: silence, the closing half
  EXPECT_EQ(s->nStreamState, CDSBuffer::kClosing);
  EXPECT_EQ(s->nEndHalf, s->nHalf);
}

TEST_F(StreamTest, RingTraceOfAMono4BitZq) {
  ZqSpec z;
  z.channels = 1;
  z.rate = 22050;
  z.blocks = 3000;  // 4.35 s
  ASSERT_EQ(Load(tmp.Write("t.zq", MakeZq(z, 2)), 1, 1), 0);
  CDSBuffer* s = Sound();
  const uint32_t R = s->dwBufSize;
  ASSERT_EQ(R, 88200u);
  // Prime: two chunks of 10000 bytes, 588 blocks each.
  EXPECT_EQ(s->dwWritePos, 75264u);
  EXPECT_EQ(s->dwDstDone, 75264u);
  EXPECT_EQ(s->dwSrcRead, 2u * 588 * 17);
  EXPECT_EQ(s->dwSrcUsed, 2u * 588 * 17);
  // [A]: 57036 bytes from 75264 around the end, at least 34987: one chunk.
  ASSERT_EQ(s->StreamUpdateZQ(R / 2 - 1, R / 4), 0);
  EXPECT_EQ(s->dwWritePos, 24696u);
  EXPECT_EQ(s->dwDstDone, 75264u + 37632);
  // [B]: 63504 bytes, at least 41455: 992 blocks from two chunks.
  ASSERT_EQ(s->StreamUpdateZQ(R - 1, 3 * R / 4), 0);
  EXPECT_EQ(s->dwDstDone, 75264u + 37632 + 63488);
  EXPECT_EQ(s->dwWritePos, 24696u + 63488);
  EXPECT_EQ(s->dwSrcUsed, (588u * 3 + 992) * 17);
}

TEST_F(StreamTest, PumpWindowsAreStrict) {
  const std::vector<int16_t> source = Signal(44100 * 4 * 2, 5);
  ASSERT_EQ(Load(tmp.Write("w.wav", MakeWav({}, Bytes(source))), 1, 3), 0);
  CDSBuffer* s = Sound();
  const uint32_t R = s->dwBufSize;
  const uint32_t done = s->dwDstDone;
  // The buffer is stopped: its position is set directly.
  ASSERT_EQ(s->lpDSB->SetCurrentPosition(R / 2), 0);
  EXPECT_EQ(s->StreamPlay(), 0);
  EXPECT_EQ(s->nHalf, 0);
  EXPECT_EQ(s->dwDstDone, done);
  ASSERT_EQ(s->lpDSB->SetCurrentPosition(R / 2 + 4), 0);
  EXPECT_EQ(s->StreamPlay(), 0);
  EXPECT_EQ(s->nHalf, 1);
  EXPECT_EQ(s->dwWritePos, R / 2);
  ASSERT_EQ(s->lpDSB->SetCurrentPosition(0), 0);
  EXPECT_EQ(s->StreamPlay(), 0);
  EXPECT_EQ(s->nHalf, 1);
  ASSERT_EQ(s->lpDSB->SetCurrentPosition(4), 0);
  EXPECT_EQ(s->StreamPlay(), 0);
  EXPECT_EQ(s->nHalf, 0);
  EXPECT_EQ(s->dwWritePos, 0u);
}

TEST_F(StreamTest, ALatePumpRepeatsTheOldContent) {
  const std::vector<int16_t> source = Signal(44100 * 6 * 2, 6);
  ASSERT_EQ(Load(tmp.Write("l.wav", MakeWav({}, Bytes(source))), 1, 3), 0);
  PlayFromStart();
  // The first window of [A] (1.0 s to 1.5 s of play) is missed: the first pump comes at
  // 1.6 s, so [A] waits for the next turn of the ring, and [B] cannot run before it.
  na::AdvanceMs(1600);
  EXPECT_EQ(Sound()->StreamPlay(), 0);
  EXPECT_EQ(Sound()->nHalf, 0);
  for (int t = 1700; t <= 4000; t += 100) {
    na::AdvanceMs(100);
    EXPECT_EQ(Sound()->StreamPlay(), 0);
  }
  const std::vector<int16_t> rec = Samples(na::TakeRecording());
  const size_t sec = 44100 * 2;
  ASSERT_GE(rec.size(), 4 * sec);
  // Seconds 0-1 as they should be; at 2 s the ring plays its first half again.
  EXPECT_TRUE(std::equal(rec.begin(), rec.begin() + 2 * sec, source.begin()));
  EXPECT_TRUE(std::equal(rec.begin() + 2 * sec, rec.begin() + 3 * sec, source.begin()));
  // [A] ran at 3.1 s (second 2 of the sound into the first half), [B] after 4.0 s.
  EXPECT_TRUE(std::equal(rec.begin() + 3 * sec, rec.begin() + 4 * sec, source.begin() + sec));
}

TEST_F(StreamTest, StopAndPlayResumeWhereItWas) {
  const std::vector<int16_t> source = Signal(44100 * 3 * 2, 7);
  ASSERT_EQ(Load(tmp.Write("p.wav", MakeWav({}, Bytes(source))), 1, 2), 0);
  PlayFromStart();
  std::vector<int16_t> heard;
  for (int t = 0; t < 1200; t += 100) {
    na::AdvanceMs(100);
    Sound()->StreamPlay();
  }
  ASSERT_EQ(Sound()->Stop(), 0);
  std::vector<int16_t> part = Samples(na::TakeRecording());
  heard.insert(heard.end(), part.begin(), part.end());
  na::AdvanceMs(700);  // paused: silence
  part = Samples(na::TakeRecording());
  EXPECT_EQ(part, std::vector<int16_t>(part.size(), 0));
  ASSERT_EQ(Sound()->Play(0), 0);
  part = PumpUntilStopped(10000);
  heard.insert(heard.end(), part.begin(), part.end());
  ASSERT_GE(heard.size(), source.size());
  EXPECT_TRUE(std::equal(source.begin(), source.end(), heard.begin()));
}

TEST_F(StreamTest, ResetAndPlayStartOver) {
  ZqSpec z;
  z.blocks = 4200;
  const std::vector<uint8_t> file = MakeZq(z, 31);
  ASSERT_EQ(Load(tmp.Write("r.zq", file), 1, 3), 0);
  const std::vector<int16_t> source = DecodeZq(file);
  PlayFromStart();
  PumpUntilStopped(10000);
  ASSERT_EQ(Sound()->nStreamState, CDSBuffer::kFinished);
  EXPECT_EQ(Sound()->StreamPlay(), 0);  // finished: the pump does nothing
  // Again from the start, with a fresh decoder history.
  PlayFromStart();
  const std::vector<int16_t> rec = PumpUntilStopped(10000);
  ASSERT_GE(rec.size(), source.size());
  EXPECT_TRUE(std::equal(source.begin(), source.end(), rec.begin()));
  // A reset in the middle of playback restarts the sound while it keeps playing.
  PlayFromStart();
  na::AdvanceMs(700);
  Sound()->StreamPlay();
  na::TakeRecording();
  ASSERT_EQ(Sound()->Reset(), 0);
  na::AdvanceMs(500);
  const std::vector<int16_t> again = Samples(na::TakeRecording());
  EXPECT_TRUE(std::equal(again.begin(), again.end(), source.begin()));
}

TEST_F(StreamTest, FailedRingLockPrintsPositionAmountAndResult) {
  const std::vector<int16_t> source = Signal(44100 * 4 * 2, 5);
  ASSERT_EQ(Load(tmp.Write("k.wav", MakeWav({}, Bytes(source))), 1, 3), 0);
  CDSBuffer* s = Sound();
  const uint32_t R = s->dwBufSize;
  ASSERT_EQ(s->lpDSB->SetCurrentPosition(R / 2 + 4), 0);
  capture.Clear();
  plat::audio::InjectDsFailure(plat::audio::DsCall::Lock, plat::audio::DSERR_INVALIDPARAM);
  EXPECT_EQ(s->StreamPlay(), 1);
  EXPECT_EQ(capture.Text(),
            "CDSBuffer::StreamUpdateWav LockError 0 176400 HRESULT->DSERR_INVALIDPARAM\n"
            "CDSBuffer::StreamPlayWav [A]StreamUpdateError\n");
  EXPECT_EQ(s->nHalf, 0);
  EXPECT_EQ(s->StreamPlay(), 0);  // the next call in the window refills
  EXPECT_EQ(s->nHalf, 1);
}

}  // namespace
}  // namespace zqtest
