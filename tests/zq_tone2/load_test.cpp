// Loading a sound: which loader takes a file, the lines a failure prints, buffer sizes and the
// static/streamed decision.
#include <cstring>
#include <fstream>
#include <iterator>

#include "sound_fixtures.h"

namespace zqtest {
namespace {

using Lines_ = std::vector<std::string>;

std::vector<uint8_t> Pcm8Mono(uint32_t rate, double seconds) {
  return std::vector<uint8_t>(static_cast<size_t>(rate * seconds), 0x90);
}

class LoadTest : public DeviceTest {};

TEST_F(LoadTest, FailuresPrintTheirLines) {
  ZqSpec badBits;
  badBits.bits = 5;
  ZqSpec rate0;
  rate0.rate = 0;
  rate0.blocks = 4;
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    Lines_ lines;
  } cases[] = {
      {"shorter than a chunk header", {'a', 'b', 'c'}, {"CDSBuffer::LoadWav RIFF DecError\n"}},
      {"garbage", std::vector<uint8_t>(100, 'x'), {"CDSBuffer::LoadWav WAVE not found\n"}},
      {"RIFF of another form",
       {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '},
       {"CDSBuffer::LoadWav WAVE not found\n"}},
      {"ZQ failing after its magic",
       MakeZq(badBits, 1),
       {"CDSBuffer::LoadZQ DecodeOpenError\n", "CDSBuffer::LoadWav WAVE not found\n"}},
      {"ZQ with rate 0",
       MakeZq(rate0, 1),
       {"CDSBuffer::LoadZQ DecodeOpenError\n", "CDSBuffer::LoadWav WAVE not found\n"}},
      {"WAV without data",
       {'R', 'I', 'F', 'F', 28, 0, 0,    0,    'W', 'A', 'V',  'E',  'f', 'm', 't', ' ', 16, 0,
        0,   0,   1,   0,   1,  0, 0x22, 0x56, 0,   0,   0x22, 0x56, 0,   0,   1,   0,   8,  0},
       {"CDSBuffer::LoadWav data DecError\n"}},
      {"WAV of an unknown format",
       MakeWav(Spec(0x55, 1, 22050, 0, 1), {1, 2}),
       {"CDSBuffer::LoadWav ACM SUGGEST ERROR\n"}},
  };
  for (const auto& c : cases) {
    capture.Clear();
    EXPECT_EQ(Load(tmp.Write("f.bin", c.file), 1, 5), 1) << c.what;
    EXPECT_EQ(Lines(), c.lines) << c.what;
    // A failed load keeps nothing that would play.
    EXPECT_EQ(Sound()->lpDSB, nullptr) << c.what;
    EXPECT_EQ(Sound()->Play(0), 1) << c.what;
  }
}

TEST_F(LoadTest, MissingFilePrintsOnlyItsOpenLine) {
  const std::string path = (tmp.path() / "none.wav").string();
  EXPECT_EQ(Load(path, 1, 5), 1);
  EXPECT_EQ(Lines(), Lines_{"CDSBuffer::LoadWav " + path + " Open Error\n"});
}

TEST_F(LoadTest, ShortSoundsGetA150MsBuffer) {
  const struct {
    WavSpec spec;
    uint32_t dataBytes, bufSize;
  } cases[] = {
      {Spec(1, 1, 22050, 8), 2205, 3307},
      {Spec(1, 2, 44100, 16), 17640, 26460},
      {Spec(1, 2, 44100, 16), 44100, 44100},
      // 24 s: the size times 1000 passes 32 bits, and the sound is still not short.
      {Spec(1, 2, 44100, 16), 4294968, 4294968},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Load(tmp.Write("s.wav", MakeWav(c.spec, std::vector<uint8_t>(c.dataBytes, 0x80))), 1, 30), 0);
    EXPECT_EQ(Sound()->bStream, 0);
    EXPECT_EQ(Sound()->dwBufSize, c.bufSize);
  }
}

TEST_F(LoadTest, StreamingDecision) {
  const WavSpec mono8 = Spec(1, 1, 22050, 8);
  const std::string long67 = tmp.Write("l.wav", MakeWav(mono8, Pcm8Mono(22050, 6.7)));
  const std::string just5 = tmp.Write("5.wav", MakeWav(mono8, Pcm8Mono(22050, 5.0)));
  const std::string under5 = tmp.Write("u.wav", MakeWav(mono8, Pcm8Mono(22050, 4.99)));
  const std::string tiny = tmp.Write("t.wav", MakeWav(mono8, Pcm8Mono(22050, 0.1)));
  ZqSpec z;
  z.bits = 4;
  z.channels = 1;
  z.rate = 8000;
  z.blocks = 8000 * 6 / 32;  // 6 seconds
  const std::string zq6 = tmp.Write("z.zq", MakeZq(z, 3));
  const struct {
    std::string path;
    int32_t allow;
    uint32_t threshold;
    int32_t streamed;
  } cases[] = {
      {long67, 1, 5, 1}, {long67, 0, 5, 0}, {long67, 1, 20, 0}, {just5, 1, 5, 1}, {under5, 1, 5, 0},
      {tiny, 1, 0, 1},   {tiny, 0, 0, 0},   {zq6, 1, 5, 1},     {zq6, 1, 7, 0},   {zq6, 7, 6, 1},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Load(c.path, c.allow, c.threshold), 0) << c.path;
    EXPECT_EQ(Sound()->bStream, c.streamed) << c.path << " allow " << c.allow << " threshold " << c.threshold;
    if (c.streamed) {
      EXPECT_EQ(Sound()->dwBufSize, Sound()->DstFormat.nAvgBytesPerSec * 2);
    }
  }
  EXPECT_TRUE(Lines().empty());
}

TEST_F(LoadTest, FmtChunkOf16BytesAndOddDataLoad) {
  const std::vector<int16_t> pcm = Signal(2 * 441, 2);
  std::vector<uint8_t> data = Bytes(pcm);
  data.push_back(0x7F);  // a partial frame at the end
  ASSERT_EQ(Load(tmp.Write("o.wav", MakeWav({}, data)), 1, 5), 0);
  void* p = nullptr;
  uint32_t n = 0;
  ASSERT_EQ(Sound()->lpDSB->Lock(0, 0, &p, &n, nullptr, nullptr, plat::audio::DSBLOCK_ENTIREBUFFER), 0);
  std::vector<uint8_t> held(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
  Sound()->lpDSB->Unlock(p, n, nullptr, 0);
  ASSERT_EQ(n, 26460u);  // 150 ms
  EXPECT_EQ(std::vector<uint8_t>(held.begin(), held.begin() + 1764), Bytes(pcm));
  EXPECT_EQ(std::vector<uint8_t>(held.begin() + 1764, held.end()), std::vector<uint8_t>(n - 1764, 0));
}

// The bytes a static sound's buffer holds.
std::vector<int16_t> Held(CDSBuffer* s) {
  void* p = nullptr;
  uint32_t n = 0;
  EXPECT_EQ(s->lpDSB->Lock(0, 0, &p, &n, nullptr, nullptr, plat::audio::DSBLOCK_ENTIREBUFFER), 0);
  std::vector<uint8_t> held(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + n);
  s->lpDSB->Unlock(p, n, nullptr, 0);
  return Samples(held);
}

TEST_F(LoadTest, StaticZqPlaysTheHeaderCountOrAllBlocks) {
  // 150 pairs of stereo blocks: 4800 frames; header counts below and above that.
  for (int64_t count : {int64_t{1000}, int64_t{4800}, int64_t{90000},
                        // 0x40000001 x 2 channels x 2 bytes wraps to 4 in 32 bits
                        int64_t{0x40000001}}) {
    ZqSpec z;
    z.blocks = 150;
    z.samples = count;
    const std::vector<uint8_t> file = MakeZq(z, 11);
    ASSERT_EQ(Load(tmp.Write("s.zq", file), 1, 5), 0) << count;
    ASSERT_EQ(Sound()->bStream, 0);
    const std::vector<int16_t> decoded = DecodeZq(file);
    const std::vector<int16_t> held = Held(Sound());
    ASSERT_GE(held.size(), decoded.size());
    const size_t heard = std::min<size_t>(decoded.size(), static_cast<size_t>(std::min<int64_t>(count, 1 << 30)) * 2);
    for (size_t i = 0; i < held.size(); ++i)
      ASSERT_EQ(held[i], i < heard ? decoded[i] : 0) << "count " << count << " sample " << i;
    EXPECT_EQ(Sound()->hFileZQ, nullptr);
    EXPECT_EQ(Sound()->hAcmZQ, nullptr);
  }
}

TEST_F(LoadTest, ShippedZqSamplesHoldTheirSound) {
  // The samples made by the encoder from real sounds: mono and stereo, 4, 6 and 8 bits.
  for (const char* name : {"pluck_m4.zq", "pluck_s6.zq", "drum_m8.zq"}) {
    const std::string path = std::string(MIRKAN_TEST_DATA) + "/zqdec/" + name;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(file.size(), 32u) << name;
    ASSERT_EQ(Load(path, 1, 5), 0) << name;
    ASSERT_EQ(Sound()->bStream, 0) << name;
    ZQFILEHEADER hdr;
    zqReadFileHeader(file.data(), &hdr);
    std::vector<int16_t> expect = DecodeZq(file);
    ASSERT_GE(expect.size(), size_t{hdr.dwSamples} * hdr.bChannels) << name;
    expect.resize(size_t{hdr.dwSamples} * hdr.bChannels);
    const std::vector<int16_t> held = Held(Sound());
    ASSERT_GE(held.size(), expect.size()) << name;
    EXPECT_TRUE(std::equal(expect.begin(), expect.end(), held.begin())) << name;
    for (size_t i = expect.size(); i < held.size(); ++i) ASSERT_EQ(held[i], 0) << name << " " << i;
  }
  EXPECT_TRUE(Lines().empty());
}

TEST_F(LoadTest, ZqSizesBeyondTheFileAreNotTrusted) {
  // cbData claims 4 GB; 40 whole blocks and a partial one are there.
  ZqSpec z;
  z.channels = 1;
  z.blocks = 40;
  z.extraBytes = 9;
  z.cbDataField = 0xFFFFFFF0;
  const std::vector<uint8_t> file = MakeZq(z, 5);
  ASSERT_EQ(Load(tmp.Write("h.zq", file), 1, 5), 0);
  EXPECT_EQ(Sound()->dwDataSize, 40u * 17 + 9);
  const std::vector<int16_t> held = Held(Sound());
  const std::vector<int16_t> decoded = DecodeZq(file);
  ASSERT_EQ(decoded.size(), 40u * 32);
  EXPECT_EQ(std::vector<int16_t>(held.begin(), held.begin() + 1280), decoded);
  for (size_t i = 1280; i < held.size(); ++i) ASSERT_EQ(held[i], 0) << i;
}

TEST_F(LoadTest, WavDataShorterThanItsChunkPlaysWhatIsThere) {
  const std::vector<int16_t> pcm = Signal(2 * 4410, 9);
  WavSpec spec;
  spec.dataSizeField = 10 * 17640;  // claims a second
  ASSERT_EQ(Load(tmp.Write("c.wav", MakeWav(spec, Bytes(pcm))), 1, 5), 0);
  const std::vector<int16_t> held = Held(Sound());
  ASSERT_GE(held.size(), pcm.size());
  EXPECT_EQ(std::vector<int16_t>(held.begin(), held.begin() + static_cast<long>(pcm.size())), pcm);
  for (size_t i = pcm.size(); i < held.size(); ++i) ASSERT_EQ(held[i], 0) << i;
}

TEST_F(LoadTest, LongPathsAreKeptWhole) {
  std::string name;
  for (int i = 0; i < 6; ++i) name += std::string(60, static_cast<char>('a' + i)) + "/";
  name += "sound.wav";
  const std::string path = tmp.Write(name, MakeWav({}, Bytes(Signal(400, 1))));
  ASSERT_GT(path.size(), 300u);
  EXPECT_EQ(Load(path, 1, 5), 0);
  EXPECT_EQ(Sound()->szFileName, path);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(LoadTest, FailureAfterTheBufferWasMadeLeavesNoBuffer) {
  const std::string wav = tmp.Write("w.wav", MakeWav({}, Bytes(Signal(2000, 4))));
  plat::audio::InjectDsFailure(plat::audio::DsCall::Lock, plat::audio::DSERR_INVALIDCALL);
  EXPECT_EQ(Load(wav, 1, 5), 1);
  EXPECT_EQ(Lines(), Lines_{"CDSBuffer::LoadWav LockError\n"});
  EXPECT_EQ(Sound()->lpDSB, nullptr);
  EXPECT_EQ(Sound()->Play(0), 1);
  EXPECT_EQ(Sound()->Reset(), 1);
  EXPECT_EQ(Sound()->Stop(), 1);
}

TEST_F(LoadTest, WithoutADeviceEveryLoadFailsAtTheBuffer) {
  CDSound none;
  const std::string wav = tmp.Write("w.wav", MakeWav({}, Bytes(Signal(2000, 4))));
  EXPECT_EQ(none.Load(wav.c_str(), 0, 1, 5), 1);
  EXPECT_EQ(Lines(), (Lines_{"CDSBuffer::CreateDSB DSobj==NULL\n", "CDSBuffer::LoadWav DSBCreateError\n"}));
}

}  // namespace
}  // namespace zqtest
