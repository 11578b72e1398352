#include "sound_fixtures.h"

#include "platform/audio/acm.h"
#include "platform/audio/dsound.h"
#include "zqdec.h"

namespace zqtest {

std::vector<int16_t> DecodeZq(const std::vector<uint8_t>& file) {
  ZQWAVEFORMATEX fmt{};
  HZQDECODER d = zqDecodeOpen(file.data(), &fmt);
  EXPECT_NE(d, nullptr);
  if (!d) return {};
  std::vector<uint8_t> pcm((file.size() / 17 + 1) * 128);
  ZQSTREAMHEADER h{file.data() + 32, static_cast<uint32_t>(file.size() - 32), 0,
                   pcm.data(),       static_cast<uint32_t>(pcm.size()),       0};
  zqDecodeConvert(d, &h);
  zqDecodeClose(d);
  pcm.resize(h.cbDstLengthUsed);
  return Samples(pcm);
}

void DeviceTest::SetUp() {
  setenv("MIRKAN_AUDIO_BACKEND", "null", 1);
  plat::audio::ClearDsFailures();
  plat::audio::ClearAcmFailures();
  ASSERT_EQ(dev.Init(nullptr, 0, 1), 0);
  plat::audio::nullout::TakeRecording();
  capture.Clear();
}

void DeviceTest::TearDown() {
  plat::audio::ClearDsFailures();
  plat::audio::ClearAcmFailures();
  dev.Term();
}

int32_t DeviceTest::Load(const std::string& path, int32_t allowStream, uint32_t streamSec) {
  return dev.Load(path.c_str(), 0, allowStream, streamSec);
}

void DeviceTest::PlayFromStart() {
  CDSBuffer* s = Sound();
  ASSERT_NE(s, nullptr);
  s->Stop();
  s->Reset();
  plat::audio::nullout::TakeRecording();
  ASSERT_EQ(s->Play(0), 0);
}

std::vector<int16_t> DeviceTest::PumpUntilStopped(uint32_t maxMs) {
  CDSBuffer* s = Sound();
  for (uint32_t t = 0; t < maxMs && s->nStreamState != CDSBuffer::kFinished; t += 100) {
    plat::audio::nullout::AdvanceMs(100);
    EXPECT_EQ(s->StreamPlay(), 0);
  }
  return Samples(plat::audio::nullout::TakeRecording());
}

}  // namespace zqtest
