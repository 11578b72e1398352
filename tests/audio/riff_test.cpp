// Reading RIFF/WAVE files chunk by chunk, with sizes that the file does not back up.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/audio/riff.h"

namespace {

using namespace plat::audio;

std::string Data(const char* name) { return std::string(MIRKAN_TEST_DATA) + "/audio/" + name; }

constexpr uint32_t kWave = MakeFourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFmt = MakeFourCC('f', 'm', 't', ' ');
constexpr uint32_t kData = MakeFourCC('d', 'a', 't', 'a');

// What a WAV loader sees: RIFF/WAVE, then "fmt " and "data" inside it.
struct WavWalk {
  MMRESULT riff = 1, fmt = 1, ascend = 1, data = 1;
  RiffChunk riffCk, fmtCk, dataCk;
  std::string fmtBytes, dataBytes;
};

WavWalk Walk(const std::string& path) {
  WavWalk w;
  RiffFile* f = RiffOpen(path.c_str(), MMIO_ALLOCBUF);
  EXPECT_NE(f, nullptr) << path;
  if (!f) return w;
  w.riff = RiffDescend(f, &w.riffCk, nullptr, 0);
  if (w.riff == MMSYSERR_NOERROR && w.riffCk.ckid == FOURCC_RIFF && w.riffCk.fccType == kWave) {
    w.fmtCk.ckid = kFmt;
    w.fmt = RiffDescend(f, &w.fmtCk, &w.riffCk, MMIO_FINDCHUNK);
    if (w.fmt == MMSYSERR_NOERROR) {
      std::string buf(std::max<uint32_t>(w.fmtCk.cksize, 18), '\0');
      buf.resize(RiffRead(f, buf.data(), static_cast<int32_t>(buf.size())));
      w.fmtBytes = buf;
      w.ascend = RiffAscend(f, &w.fmtCk, 0);
      w.dataCk.ckid = kData;
      w.data = RiffDescend(f, &w.dataCk, &w.riffCk, MMIO_FINDCHUNK);
      if (w.data == MMSYSERR_NOERROR) {
        std::string d(w.dataCk.cksize, '\0');
        d.resize(RiffRead(f, d.data(), static_cast<int32_t>(d.size())));
        w.dataBytes = d;
      }
    }
  }
  EXPECT_EQ(RiffClose(f), MMSYSERR_NOERROR);
  return w;
}

const std::string kPcm = "\x80\x90\xA0\xB0\x70\x60";

TEST(Riff, ListChunkBeforeFmt) {
  WavWalk w = Walk(Data("riff_list_before_fmt.wav"));
  ASSERT_EQ(w.fmt, MMSYSERR_NOERROR);
  EXPECT_EQ(w.fmtCk.cksize, 18u);
  EXPECT_EQ(w.fmtCk.dwDataOffset, 12u + 8 + 16 + 8);  // after the padded 15-byte LIST
  ASSERT_EQ(w.data, MMSYSERR_NOERROR);
  EXPECT_EQ(w.dataBytes, kPcm);
}

TEST(Riff, SixteenByteFmtBringsTheNextTwoBytes) {
  WavWalk w = Walk(Data("riff_fmt16.wav"));
  ASSERT_EQ(w.fmt, MMSYSERR_NOERROR);
  EXPECT_EQ(w.fmtCk.cksize, 16u);
  ASSERT_EQ(w.fmtBytes.size(), 18u);
  EXPECT_EQ(w.fmtBytes.substr(16), "da");
  ASSERT_EQ(w.ascend, MMSYSERR_NOERROR);
  ASSERT_EQ(w.data, MMSYSERR_NOERROR);  // the ascent went back to the end of "fmt "
  EXPECT_EQ(w.dataBytes, kPcm);
}

TEST(Riff, OddChunkIsFollowedByItsPadByte) {
  RiffFile* f = RiffOpen(Data("riff_odd_data.wav").c_str());
  ASSERT_NE(f, nullptr);
  RiffChunk riff, data, list;
  ASSERT_EQ(RiffDescend(f, &riff, nullptr, 0), MMSYSERR_NOERROR);
  data.ckid = kData;
  ASSERT_EQ(RiffDescend(f, &data, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
  EXPECT_EQ(data.cksize, 3u);
  ASSERT_EQ(RiffAscend(f, &data), MMSYSERR_NOERROR);
  EXPECT_EQ(RiffSeek(f, 0, SEEK_CUR), static_cast<int32_t>(data.dwDataOffset + 4));
  ASSERT_EQ(RiffDescend(f, &list, &riff, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(list.ckid, FOURCC_LIST);
  EXPECT_EQ(list.fccType, MakeFourCC('I', 'N', 'F', 'O'));
  // Searching on from the end finds nothing more.
  ASSERT_EQ(RiffAscend(f, &list), MMSYSERR_NOERROR);
  RiffChunk none;
  none.ckid = kData;
  EXPECT_EQ(RiffDescend(f, &none, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
  RiffClose(f);
}

TEST(Riff, SizesBeyondTheFileAreClamped) {
  WavWalk w = Walk(Data("riff_data_beyond_eof.wav"));
  EXPECT_EQ(w.riffCk.cksize, 52u - 8);
  ASSERT_EQ(w.data, MMSYSERR_NOERROR);
  EXPECT_EQ(w.dataCk.cksize, 6u);
  EXPECT_EQ(w.dataBytes, kPcm);
}

TEST(Riff, NonRiffAndShortFiles) {
  RiffFile* f = RiffOpen(Data("not_riff.bin").c_str());
  ASSERT_NE(f, nullptr);
  RiffChunk ck;
  ASSERT_EQ(RiffDescend(f, &ck, nullptr, 0), MMSYSERR_NOERROR);  // a chunk header, but not RIFF
  EXPECT_NE(ck.ckid, FOURCC_RIFF);
  RiffClose(f);

  f = RiffOpen(Data("short.wav").c_str());  // 10 bytes: no room for the form type
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(RiffDescend(f, &ck, nullptr, 0), MMIOERR_CHUNKNOTFOUND);
  EXPECT_EQ(RiffSeek(f, 0, SEEK_CUR), 0);
  RiffClose(f);

  EXPECT_EQ(RiffOpen(Data("no_such_file.wav").c_str()), nullptr);
  EXPECT_EQ(RiffOpen(MIRKAN_TEST_DATA), nullptr);  // a folder
}

TEST(Riff, FindInsideParentOnly) {
  // "fmt " is searched only inside the RIFF chunk: a RIFF size of 4 holds nothing.
  const std::string path = testing::TempDir() + "riff_small_parent.wav";
  std::FILE* fp = std::fopen(path.c_str(), "wb");
  ASSERT_NE(fp, nullptr);
  const char bytes[] = "RIFF\x04\0\0\0WAVEfmt \x02\0\0\0ab";
  std::fwrite(bytes, 1, sizeof bytes - 1, fp);
  std::fclose(fp);
  WavWalk w = Walk(path);
  EXPECT_EQ(w.riff, MMSYSERR_NOERROR);
  EXPECT_EQ(w.fmt, MMIOERR_CHUNKNOTFOUND);
  std::remove(path.c_str());
}

TEST(Riff, ReadsAndSeeks) {
  RiffFile* f = RiffOpen(Data("riff_fmt16.wav").c_str());
  ASSERT_NE(f, nullptr);
  char buf[64];
  EXPECT_EQ(RiffSeek(f, -4, SEEK_END), 46);
  EXPECT_EQ(RiffRead(f, buf, 64), 4);  // short at the end
  EXPECT_EQ(RiffRead(f, buf, 64), 0);
  EXPECT_EQ(RiffRead(f, buf, -1), -1);
  EXPECT_EQ(RiffSeek(f, -1, SEEK_SET), -1);
  EXPECT_EQ(RiffSeek(f, 4, SEEK_SET), 4);
  InjectRiffReadFailure(1);
  EXPECT_EQ(RiffRead(f, buf, 4), 4);
  EXPECT_EQ(RiffRead(f, buf, 4), -1);
  EXPECT_EQ(RiffRead(f, buf, 4), 4);
  ClearRiffFailures();
  RiffClose(f);
  EXPECT_EQ(RiffClose(nullptr), MMSYSERR_INVALHANDLE);
}

}  // namespace
