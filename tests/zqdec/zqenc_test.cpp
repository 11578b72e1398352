// The encoder of the tools: what it writes decodes, through the library, close to its input; and
// the shipped samples decode to the length their headers claim.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "zqdec.h"
#include "zqencode.h"

namespace {

std::vector<int16_t> DecodeFile(const std::vector<uint8_t> &file, ZQFILEHEADER &hdr) {
  EXPECT_GE(file.size(), 32u);
  zqReadFileHeader(file.data(), &hdr);
  ZQWAVEFORMATEX fmt{};
  HZQDECODER d = zqDecodeOpen(file.data(), &fmt);
  EXPECT_NE(d, nullptr);
  if (d == nullptr) return {};
  uint32_t room = 0;
  EXPECT_EQ(zqDecodeSize(d, hdr.cbData, &room), 1);
  std::vector<uint8_t> pcm(room);
  ZQSTREAMHEADER s{file.data() + 32, static_cast<uint32_t>(file.size() - 32), 0, pcm.data(), room, 0};
  EXPECT_EQ(zqDecodeConvert(d, &s), 1);
  EXPECT_EQ(s.cbSrcLengthUsed, hdr.cbData);
  zqDecodeClose(d);
  std::vector<int16_t> out(s.cbDstLengthUsed / 2);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<int16_t>(static_cast<uint16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8));
  return out;
}

double SnrDb(const std::vector<int16_t> &ref, const std::vector<int16_t> &got) {
  double sig = 0, err = 0;
  for (size_t i = 0; i < ref.size(); ++i) {
    sig += double(ref[i]) * ref[i];
    err += (double(got[i]) - ref[i]) * (double(got[i]) - ref[i]);
  }
  return 10 * std::log10(sig / std::max(err, 1.0));
}

zqenc::Pcm Tone(unsigned channels, size_t frames) {
  zqenc::Pcm pcm{22050, channels, {}};
  for (size_t i = 0; i < frames; ++i)
    for (unsigned ch = 0; ch < channels; ++ch) {
      const double t = double(i) / 22050;
      const double env = std::exp(-3 * t);
      pcm.data.push_back(static_cast<int16_t>(
          20000 * env * std::sin(2 * M_PI * (ch ? 330 : 440) * t + 0.3 * std::sin(2 * M_PI * 5 * t))));
    }
  return pcm;
}

TEST(ZqEncoder, RoundTripIsCloseForEveryDepth) {
  // Better depths must give clearly better fidelity; the thresholds are far below what a
  // working encoder reaches and far above what a broken predictor or packing gives.
  const struct {
    unsigned bits;
    double minSnr;
  } cases[] = {{4, 40}, {6, 50}, {8, 60}};
  for (unsigned ch : {1u, 2u}) {
    const zqenc::Pcm pcm = Tone(ch, 5000);  // not a whole number of blocks
    for (const auto &c : cases) {
      const std::vector<uint8_t> file = zqenc::EncodeZq(pcm, c.bits);
      ZQFILEHEADER hdr;
      std::vector<int16_t> out = DecodeFile(file, hdr);
      EXPECT_EQ(hdr.dwSamples, 5000u);
      EXPECT_EQ(hdr.wSamplesPerSec, 22050);
      EXPECT_EQ(hdr.bBitsPerSample, c.bits);
      EXPECT_EQ(hdr.bChannels, ch);
      EXPECT_EQ(hdr.cbData, 157u * ch * (c.bits == 4 ? 17 : c.bits == 6 ? 25 : 33));
      EXPECT_EQ(file.size(), 32 + hdr.cbData);
      ASSERT_EQ(out.size(), 157u * 32 * ch);
      out.resize(pcm.data.size());
      EXPECT_GT(SnrDb(pcm.data, out), c.minSnr) << c.bits << " bits, " << ch << " channels";
    }
  }
}

TEST(ZqEncoder, FullScaleStepsDoNotWrap) {
  zqenc::Pcm pcm{8000, 1, {}};
  for (int i = 0; i < 640; ++i) pcm.data.push_back((i / 7) % 2 ? 32767 : -32768);
  ZQFILEHEADER hdr;
  const std::vector<int16_t> out = DecodeFile(zqenc::EncodeZq(pcm, 4), hdr);
  ASSERT_EQ(out.size(), 640u);
  for (size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i] > 0, pcm.data[i] > 0) << "sample " << i;
}

TEST(ZqEncoder, RejectsWhatItCannotEncode) {
  EXPECT_TRUE(zqenc::EncodeZq(zqenc::Pcm{44100, 3, {0, 0, 0}}, 4).empty());
  EXPECT_TRUE(zqenc::EncodeZq(zqenc::Pcm{70000, 1, {0}}, 4).empty());
  EXPECT_TRUE(zqenc::EncodeZq(zqenc::Pcm{44100, 1, {0}}, 5).empty());
  zqenc::Pcm pcm;
  std::string error;
  EXPECT_FALSE(zqenc::ReadWavPcm({'R', 'I', 'F', 'F'}, pcm, error));
  EXPECT_FALSE(error.empty());
}

TEST(ZqSamples, DecodeToTheirClaimedLength) {
  for (const char *name : {"pluck_m4.zq", "pluck_s6.zq", "drum_m8.zq"}) {
    const std::string path = std::string(MIRKAN_TEST_DATA) + "/zqdec/" + name;
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
    ZQFILEHEADER hdr;
    const std::vector<int16_t> out = DecodeFile(file, hdr);
    EXPECT_EQ(file.size(), 32 + hdr.cbData) << name;
    const size_t blocks = (hdr.dwSamples + 31) / 32;
    EXPECT_EQ(out.size(), blocks * 32 * hdr.bChannels) << name;
  }
}

}  // namespace
