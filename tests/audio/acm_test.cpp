// Conversion to PCM, checked sample for sample against libsndfile's own decoding of files
// that libsndfile wrote; sizes, block alignment and hostile formats.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/audio/acm.h"
#include "platform/audio/riff.h"
#include "wav_parts.h"

namespace {

using namespace plat::audio;
using audiotest::ReadWav;
using audiotest::WavParts;

// Writes a test signal (a sweep plus noise, stereo channels differing) with libsndfile.
bool WriteFixture(const std::string& path, int format, int channels, sf_count_t frames) {
  SF_INFO info{};
  info.samplerate = 22050;
  info.channels = channels;
  info.format = format;
  SNDFILE* sf = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!sf) return false;
  std::vector<double> v(static_cast<size_t>(frames) * channels);
  uint32_t seed = 12345;
  for (sf_count_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      seed = seed * 1103515245u + 12345u;
      const double noise = ((seed >> 16) & 0x7FFF) / 32768.0 - 0.5;
      const double t = static_cast<double>(i) / 22050.0;
      v[i * channels + c] = 0.7 * std::sin(2 * M_PI * (200 + 3000 * t) * t * (c + 1)) + 0.2 * noise;
    }
  }
  const bool ok = sf_write_double(sf, v.data(), frames * channels) == frames * channels;
  sf_close(sf);
  return ok;
}

// libsndfile's decoding as 16-bit values. Its short reads of float data are not scaled to
// full range, so float files are read as doubles and scaled by 32767 with rounding.
std::vector<int16_t> ReadWithSndfile(const std::string& path, bool isFloat) {
  SF_INFO info{};
  SNDFILE* sf = sf_open(path.c_str(), SFM_READ, &info);
  if (!sf) return {};
  const size_t n = static_cast<size_t>(info.frames) * info.channels;
  std::vector<int16_t> s(n);
  if (isFloat) {
    std::vector<double> d(n);
    d.resize(static_cast<size_t>(sf_read_double(sf, d.data(), static_cast<sf_count_t>(n))));
    s.resize(d.size());
    for (size_t i = 0; i < d.size(); ++i)
      s[i] = static_cast<int16_t>(std::clamp<long long>(std::llrint(d[i] * 32767.0), -32768, 32767));
  } else {
    s.resize(static_cast<size_t>(sf_read_short(sf, s.data(), static_cast<sf_count_t>(n))));
  }
  sf_close(sf);
  return s;
}

// The converter's output as 16-bit values (8-bit PCM scaled the way libsndfile does).
std::vector<int16_t> As16(const std::vector<uint8_t>& pcm, int bits) {
  std::vector<int16_t> out;
  if (bits == 8) {
    for (uint8_t b : pcm) out.push_back(static_cast<int16_t>((b - 128) * 256));
  } else {
    out.resize(pcm.size() / 2);
    std::memcpy(out.data(), pcm.data(), out.size() * 2);
  }
  return out;
}

struct FormatCase {
  const char* name;
  int sfFormat;
  uint16_t tag;
  uint16_t outBits;
};

const FormatCase kFormats[] = {
    {"pcm_u8", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, WAVE_FORMAT_PCM, 8},
    {"pcm_16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, WAVE_FORMAT_PCM, 16},
    {"pcm_24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, WAVE_FORMAT_PCM, 16},
    {"pcm_32", SF_FORMAT_WAV | SF_FORMAT_PCM_32, WAVE_FORMAT_PCM, 16},
    {"float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, WAVE_FORMAT_IEEE_FLOAT, 16},
    {"double", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, WAVE_FORMAT_IEEE_FLOAT, 16},
    {"ms_adpcm", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, WAVE_FORMAT_ADPCM, 16},
    {"ima_adpcm", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, WAVE_FORMAT_IMA_ADPCM, 16},
    {"ulaw", SF_FORMAT_WAV | SF_FORMAT_ULAW, WAVE_FORMAT_MULAW, 16},
    {"alaw", SF_FORMAT_WAV | SF_FORMAT_ALAW, WAVE_FORMAT_ALAW, 16},
    {"wavex_16", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, WAVE_FORMAT_EXTENSIBLE, 16},
    {"wavex_24", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, WAVE_FORMAT_EXTENSIBLE, 16},
    {"wavex_float", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, WAVE_FORMAT_EXTENSIBLE, 16},
};

class AcmAgainstSndfile : public testing::TestWithParam<std::tuple<FormatCase, int>> {};

TEST_P(AcmAgainstSndfile, SameSamples) {
  const auto& [fc, channels] = GetParam();
  const std::string path = testing::TempDir() + "acm_" + fc.name + "_" + std::to_string(channels) + ".wav";
  const sf_count_t frames = 5003;
  ASSERT_TRUE(WriteFixture(path, fc.sfFormat, channels, frames));
  const bool isFloat = std::string(fc.name).find("float") != std::string::npos || std::string(fc.name) == "double";
  const std::vector<int16_t> want = ReadWithSndfile(path, isFloat);
  const size_t samples = static_cast<size_t>(frames * channels);
  ASSERT_GE(want.size(), samples);  // ADPCM: libsndfile counts whole blocks

  WavParts w;
  ASSERT_TRUE(ReadWav(path, &w));
  ASSERT_EQ(w.Format()->wFormatTag, fc.tag);
  WAVEFORMATEX dst{};
  dst.wFormatTag = WAVE_FORMAT_PCM;
  const uint32_t cbFmt = w.fmtSize;
  ASSERT_EQ(AcmFormatSuggest(nullptr, w.Format(), cbFmt, &dst, sizeof dst, ACM_FORMATSUGGESTF_WFORMATTAG),
            MMSYSERR_NOERROR);
  EXPECT_EQ(dst.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(dst.nChannels, channels);
  EXPECT_EQ(dst.nSamplesPerSec, 22050u);
  EXPECT_EQ(dst.wBitsPerSample, fc.outBits);
  EXPECT_EQ(dst.nBlockAlign, channels * fc.outBits / 8);
  EXPECT_EQ(dst.nAvgBytesPerSec, 22050u * dst.nBlockAlign);
  EXPECT_EQ(dst.cbSize, 0);

  AcmStream* s = nullptr;
  ASSERT_EQ(AcmStreamOpen(&s, nullptr, w.Format(), cbFmt, &dst, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME),
            MMSYSERR_NOERROR);
  uint32_t dstSize = 0;
  ASSERT_EQ(AcmStreamSize(s, static_cast<uint32_t>(w.data.size()), &dstSize, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);

  // One call over everything, as a static load does.
  std::vector<uint8_t> whole(dstSize + 64, 0xEE);
  AcmStreamHeader h;
  h.pbSrc = w.data.data();
  h.cbSrcLength = static_cast<uint32_t>(w.data.size());
  h.pbDst = whole.data();
  h.cbDstLength = static_cast<uint32_t>(whole.size());
  ASSERT_EQ(AcmStreamPrepareHeader(s, &h), MMSYSERR_NOERROR);
  ASSERT_EQ(AcmStreamConvert(s, &h, 0), MMSYSERR_NOERROR);
  ASSERT_EQ(AcmStreamUnprepareHeader(s, &h), MMSYSERR_NOERROR);
  EXPECT_EQ(h.cbDstLengthUsed, dstSize);  // the size query is exact
  whole.resize(h.cbDstLengthUsed);
  const std::vector<int16_t> got = As16(whole, fc.outBits);
  ASSERT_GE(got.size(), samples);
  const size_t common = std::min(got.size(), want.size());
  for (size_t i = 0; i < common; ++i) ASSERT_EQ(got[i], want[i]) << "sample " << i;

  // In pieces of at most ~one tenth of a second of output, as a stream refill does.
  uint32_t chunk = 0;
  ASSERT_EQ(AcmStreamSize(s, dst.nAvgBytesPerSec / 10, &chunk, ACM_STREAMSIZEF_DESTINATION), MMSYSERR_NOERROR);
  uint32_t chunkOut = 0;
  ASSERT_EQ(AcmStreamSize(s, chunk, &chunkOut, ACM_STREAMSIZEF_SOURCE), MMSYSERR_NOERROR);
  EXPECT_LE(chunkOut, dst.nAvgBytesPerSec / 10);
  std::vector<uint8_t> pieces;
  std::vector<uint8_t> room(chunkOut);
  size_t at = 0;
  while (at < w.data.size()) {
    AcmStreamHeader p;
    p.pbSrc = w.data.data() + at;
    p.cbSrcLength = static_cast<uint32_t>(std::min<size_t>(chunk, w.data.size() - at));
    p.pbDst = room.data();
    p.cbDstLength = chunkOut;
    ASSERT_EQ(AcmStreamPrepareHeader(s, &p), MMSYSERR_NOERROR);
    ASSERT_EQ(AcmStreamConvert(s, &p, ACM_STREAMCONVERTF_BLOCKALIGN), MMSYSERR_NOERROR);
    ASSERT_EQ(AcmStreamUnprepareHeader(s, &p), MMSYSERR_NOERROR);
    if (p.cbSrcLengthUsed == 0) break;  // a partial block is left
    pieces.insert(pieces.end(), room.begin(), room.begin() + p.cbDstLengthUsed);
    at += p.cbSrcLengthUsed;
  }
  EXPECT_EQ(pieces, whole);
  EXPECT_EQ(AcmStreamClose(s), MMSYSERR_NOERROR);
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Formats, AcmAgainstSndfile,
                         testing::Combine(testing::ValuesIn(kFormats), testing::Values(1, 2)), [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) == 1 ? "_mono" : "_stereo");
                         });

// A format record followed by extra bytes, of which `available` are really there.
struct RawFormat {
  std::vector<uint8_t> bytes;
  WAVEFORMATEX* f() { return reinterpret_cast<WAVEFORMATEX*>(bytes.data()); }
};

RawFormat Make(uint16_t tag, uint16_t ch, uint32_t rate, uint16_t align, uint16_t bits, std::vector<uint8_t> extra) {
  RawFormat r;
  r.bytes.resize(18 + extra.size());
  WAVEFORMATEX f{tag, ch, rate, rate * align, align, bits, static_cast<uint16_t>(extra.size())};
  std::memcpy(r.bytes.data(), &f, 18);
  if (!extra.empty()) std::memcpy(r.bytes.data() + 18, extra.data(), extra.size());
  return r;
}

std::vector<uint8_t> Le16s(std::initializer_list<int> v) {
  std::vector<uint8_t> out;
  for (int x : v) {
    out.push_back(static_cast<uint8_t>(x & 0xFF));
    out.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
  }
  return out;
}

std::vector<uint8_t> MsAdpcmExtra(int spb, int ncoef) {
  std::vector<uint8_t> e = Le16s({spb, ncoef});
  const int coefs[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
  for (int i = 0; i < 7; ++i) {
    auto c = Le16s({coefs[i][0], coefs[i][1]});
    e.insert(e.end(), c.begin(), c.end());
  }
  return e;
}

TEST(AcmSuggest, HostileAndUnsupportedFormatsAreRefused) {
  struct Case {
    const char* what;
    RawFormat fmt;
    int32_t available;  // -1: all bytes
    MMRESULT want;
  };
  std::vector<uint8_t> guidPcm = {0x10, 0,    0x04, 0,    0,    0,    0x01, 0,    0,    0,    0x00,
                                  0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  std::vector<uint8_t> guidBad = guidPcm;
  guidBad[21] = 0x72;
  RawFormat hugeCb = Make(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, MsAdpcmExtra(500, 7));
  hugeCb.f()->cbSize = 0xFFFF;
  RawFormat hugeCoef = Make(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, MsAdpcmExtra(500, 0xFFFF));
  RawFormat pcm16Garbage = Make(WAVE_FORMAT_PCM, 2, 44100, 4, 16, {});
  pcm16Garbage.f()->cbSize = 0x6164;  // "da" of the chunk after a 16-byte "fmt "
  std::vector<Case> cases = {
      {"ms adpcm", Make(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, MsAdpcmExtra(500, 7)), -1, MMSYSERR_NOERROR},
      {"ms adpcm huge cbSize", hugeCb, -1, ACMERR_NOTPOSSIBLE},
      {"ms adpcm huge coefficient count", hugeCoef, -1, ACMERR_NOTPOSSIBLE},
      {"ms adpcm no coefficients", Make(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, MsAdpcmExtra(500, 0)), -1,
       ACMERR_NOTPOSSIBLE},
      {"ms adpcm extra cut off", Make(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, MsAdpcmExtra(500, 7)), 40,
       ACMERR_NOTPOSSIBLE},
      {"ms adpcm more samples than the block holds", Make(WAVE_FORMAT_ADPCM, 1, 22050, 256, 4, MsAdpcmExtra(501, 7)),
       -1, ACMERR_NOTPOSSIBLE},
      {"ms adpcm block smaller than its header", Make(WAVE_FORMAT_ADPCM, 2, 22050, 13, 4, MsAdpcmExtra(2, 7)), -1,
       ACMERR_NOTPOSSIBLE},
      {"ima adpcm", Make(WAVE_FORMAT_IMA_ADPCM, 2, 22050, 512, 4, Le16s({505})), -1, MMSYSERR_NOERROR},
      {"ima adpcm too many samples", Make(WAVE_FORMAT_IMA_ADPCM, 2, 22050, 512, 4, Le16s({506})), -1,
       ACMERR_NOTPOSSIBLE},
      {"ima adpcm zero samples", Make(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 256, 4, Le16s({0})), -1, ACMERR_NOTPOSSIBLE},
      {"ima adpcm block align 0", Make(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 0, 4, Le16s({505})), -1, ACMERR_NOTPOSSIBLE},
      {"ima adpcm 3-bit", Make(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 256, 3, Le16s({505})), -1, ACMERR_NOTPOSSIBLE},
      {"pcm 16-byte fmt with garbage cbSize", pcm16Garbage, 18, MMSYSERR_NOERROR},
      {"pcm from 16 bytes", Make(WAVE_FORMAT_PCM, 1, 8000, 1, 8, {}), 16, MMSYSERR_NOERROR},
      {"pcm 0 channels", Make(WAVE_FORMAT_PCM, 0, 22050, 0, 16, {}), -1, ACMERR_NOTPOSSIBLE},
      {"pcm 3 channels", Make(WAVE_FORMAT_PCM, 3, 22050, 6, 16, {}), -1, ACMERR_NOTPOSSIBLE},
      {"pcm rate 0", Make(WAVE_FORMAT_PCM, 1, 0, 2, 16, {}), -1, ACMERR_NOTPOSSIBLE},
      {"pcm block align 0", Make(WAVE_FORMAT_PCM, 1, 22050, 0, 16, {}), -1, ACMERR_NOTPOSSIBLE},
      {"pcm 12 bits", Make(WAVE_FORMAT_PCM, 1, 22050, 2, 12, {}), -1, ACMERR_NOTPOSSIBLE},
      {"float 16 bits", Make(WAVE_FORMAT_IEEE_FLOAT, 1, 22050, 2, 16, {}), -1, ACMERR_NOTPOSSIBLE},
      {"mu-law 16 bits", Make(WAVE_FORMAT_MULAW, 1, 22050, 2, 16, {}), -1, ACMERR_NOTPOSSIBLE},
      {"extensible pcm", Make(WAVE_FORMAT_EXTENSIBLE, 2, 22050, 4, 16, guidPcm), -1, MMSYSERR_NOERROR},
      {"extensible cut off", Make(WAVE_FORMAT_EXTENSIBLE, 2, 22050, 4, 16, guidPcm), 30, ACMERR_NOTPOSSIBLE},
      {"extensible unknown sub-format", Make(WAVE_FORMAT_EXTENSIBLE, 2, 22050, 4, 16, guidBad), -1, ACMERR_NOTPOSSIBLE},
      {"mp3", Make(0x55, 2, 44100, 1, 0, {}), -1, ACMERR_NOTPOSSIBLE},
      {"too short", Make(WAVE_FORMAT_PCM, 1, 8000, 1, 8, {}), 14, ACMERR_NOTPOSSIBLE},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    const uint32_t avail = c.available < 0 ? static_cast<uint32_t>(c.fmt.bytes.size()) : c.available;
    WAVEFORMATEX dst{};
    dst.wFormatTag = WAVE_FORMAT_PCM;
    EXPECT_EQ(AcmFormatSuggest(nullptr, c.fmt.f(), avail, &dst, sizeof dst, ACM_FORMATSUGGESTF_WFORMATTAG), c.want);
    AcmStream* s = nullptr;
    EXPECT_EQ(AcmStreamOpen(&s, nullptr, c.fmt.f(), avail, &dst, nullptr, 0, 0, 0), c.want);
    EXPECT_EQ(s != nullptr, c.want == MMSYSERR_NOERROR);
    if (s) AcmStreamClose(s);
  }
}

TEST(AcmSuggest, CallerErrors) {
  RawFormat f = Make(WAVE_FORMAT_PCM, 1, 8000, 1, 8, {});
  WAVEFORMATEX dst{};
  EXPECT_EQ(AcmFormatSuggest(nullptr, nullptr, 18, &dst, 18, 0), MMSYSERR_INVALPARAM);
  EXPECT_EQ(AcmFormatSuggest(nullptr, f.f(), 18, nullptr, 18, 0), MMSYSERR_INVALPARAM);
  EXPECT_EQ(AcmFormatSuggest(nullptr, f.f(), 18, &dst, 14, 0), MMSYSERR_INVALPARAM);
  dst.wFormatTag = WAVE_FORMAT_ADPCM;
  EXPECT_EQ(AcmFormatSuggest(nullptr, f.f(), 18, &dst, 18, ACM_FORMATSUGGESTF_WFORMATTAG), ACMERR_NOTPOSSIBLE);
  EXPECT_EQ(AcmFormatSuggest(nullptr, f.f(), 18, &dst, 18, 0), MMSYSERR_NOERROR);
  // The destination must be the suggested format.
  WAVEFORMATEX other = dst;
  other.wBitsPerSample = 16;
  AcmStream* s = nullptr;
  EXPECT_EQ(AcmStreamOpen(&s, nullptr, f.f(), 18, &other, nullptr, 0, 0, 0), ACMERR_NOTPOSSIBLE);
  EXPECT_EQ(s, nullptr);
}

TEST(AcmStreamCalls, SizesOrderAndPartialBlocks) {
  RawFormat ima = Make(WAVE_FORMAT_IMA_ADPCM, 1, 22050, 256, 4, Le16s({505}));
  WAVEFORMATEX dst{};
  dst.wFormatTag = WAVE_FORMAT_PCM;
  ASSERT_EQ(AcmFormatSuggest(nullptr, ima.f(), 20, &dst, 18, ACM_FORMATSUGGESTF_WFORMATTAG), MMSYSERR_NOERROR);
  AcmStream* s = nullptr;
  ASSERT_EQ(AcmStreamOpen(&s, nullptr, ima.f(), 20, &dst, nullptr, 0, 0, 0), MMSYSERR_NOERROR);
  struct SizeCase {
    uint32_t in, flags;
    MMRESULT want;
    uint32_t out;
  };
  const SizeCase sizes[] = {
      {0, ACM_STREAMSIZEF_SOURCE, MMSYSERR_NOERROR, 0},
      {255, ACM_STREAMSIZEF_SOURCE, ACMERR_NOTPOSSIBLE, 0},
      {256, ACM_STREAMSIZEF_SOURCE, MMSYSERR_NOERROR, 1010},
      {700, ACM_STREAMSIZEF_SOURCE, MMSYSERR_NOERROR, 2020},
      {1009, ACM_STREAMSIZEF_DESTINATION, ACMERR_NOTPOSSIBLE, 0},
      {1010, ACM_STREAMSIZEF_DESTINATION, MMSYSERR_NOERROR, 256},
      {88200, ACM_STREAMSIZEF_DESTINATION, MMSYSERR_NOERROR, 87 * 256},
      {0xFFFFFFFF, ACM_STREAMSIZEF_SOURCE, ACMERR_NOTPOSSIBLE, 0},  // would pass 32 bits
      {256, 7, MMSYSERR_INVALFLAG, 0},
  };
  for (const SizeCase& c : sizes) {
    uint32_t out = 0;
    EXPECT_EQ(AcmStreamSize(s, c.in, &out, c.flags), c.want) << c.in;
    if (c.want == MMSYSERR_NOERROR) {
      EXPECT_EQ(out, c.out) << c.in;
    }
  }

  std::vector<uint8_t> src(300, 0x11), out(2000, 0);
  AcmStreamHeader h;
  h.pbSrc = src.data();
  h.cbSrcLength = 300;
  h.pbDst = out.data();
  h.cbDstLength = 1009;  // not even one block of output fits
  EXPECT_EQ(AcmStreamConvert(s, &h, 0), ACMERR_UNPREPARED);
  ASSERT_EQ(AcmStreamPrepareHeader(s, &h), MMSYSERR_NOERROR);
  EXPECT_EQ(AcmStreamPrepareHeader(s, &h), ACMERR_BUSY);
  ASSERT_EQ(AcmStreamConvert(s, &h, ACM_STREAMCONVERTF_BLOCKALIGN), MMSYSERR_NOERROR);
  EXPECT_EQ(h.cbSrcLengthUsed, 0u);
  EXPECT_EQ(h.cbDstLengthUsed, 0u);
  h.cbDstLength = 2000;  // one whole source block of the 300 bytes
  ASSERT_EQ(AcmStreamConvert(s, &h, ACM_STREAMCONVERTF_BLOCKALIGN), MMSYSERR_NOERROR);
  EXPECT_EQ(h.cbSrcLengthUsed, 256u);
  EXPECT_EQ(h.cbDstLengthUsed, 1010u);
  ASSERT_EQ(AcmStreamUnprepareHeader(s, &h), MMSYSERR_NOERROR);
  EXPECT_EQ(AcmStreamUnprepareHeader(s, &h), ACMERR_UNPREPARED);
  AcmStreamHeader bad;
  bad.cbStruct = 84;
  EXPECT_EQ(AcmStreamPrepareHeader(s, &bad), MMSYSERR_INVALPARAM);

  InjectAcmFailure(AcmCall::Convert, 0x20B);
  ASSERT_EQ(AcmStreamPrepareHeader(s, &h), MMSYSERR_NOERROR);
  EXPECT_EQ(AcmStreamConvert(s, &h, 0), 0x20Bu);
  EXPECT_EQ(AcmStreamConvert(s, &h, 0), MMSYSERR_NOERROR);
  ClearAcmFailures();
  EXPECT_EQ(AcmStreamClose(s), MMSYSERR_NOERROR);
  EXPECT_EQ(AcmStreamClose(nullptr), MMSYSERR_INVALHANDLE);
}

TEST(AcmDecode, MsAdpcmBlockWithUnknownPredictorIsSilent) {
  RawFormat ms = Make(WAVE_FORMAT_ADPCM, 1, 22050, 16, 4, MsAdpcmExtra(20, 7));
  WAVEFORMATEX dst{};
  dst.wFormatTag = WAVE_FORMAT_PCM;
  ASSERT_EQ(AcmFormatSuggest(nullptr, ms.f(), 50, &dst, 18, 0), MMSYSERR_NOERROR);
  AcmStream* s = nullptr;
  ASSERT_EQ(AcmStreamOpen(&s, nullptr, ms.f(), 50, &dst, nullptr, 0, 0, 0), MMSYSERR_NOERROR);
  std::vector<uint8_t> src(16, 0x77);
  src[0] = 9;  // predictor 9 of 7
  std::vector<uint8_t> out(40, 0xEE);
  AcmStreamHeader h;
  h.pbSrc = src.data();
  h.cbSrcLength = 16;
  h.pbDst = out.data();
  h.cbDstLength = 40;
  ASSERT_EQ(AcmStreamPrepareHeader(s, &h), MMSYSERR_NOERROR);
  ASSERT_EQ(AcmStreamConvert(s, &h, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(h.cbDstLengthUsed, 40u);
  EXPECT_EQ(out, std::vector<uint8_t>(40, 0));
  AcmStreamUnprepareHeader(s, &h);
  AcmStreamClose(s);
}

}  // namespace
