// The four exported functions: opening, sizes, conversion in pieces and the exported symbol set.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "exports.h"
#include "zqdec.h"

namespace {

std::array<uint8_t, 32> Header(unsigned bits, unsigned channels, unsigned rate = 22050, const char *magic = "ZQS1") {
  std::array<uint8_t, 32> h{};
  std::memcpy(h.data(), magic, 4);
  h[12] = static_cast<uint8_t>(rate);
  h[13] = static_cast<uint8_t>(rate >> 8);
  h[14] = static_cast<uint8_t>(bits);
  h[15] = static_cast<uint8_t>(channels);
  return h;
}

struct Closer {
  void operator()(ZQDECODER *d) const { zqDecodeClose(d); }
};
using Decoder = std::unique_ptr<ZQDECODER, Closer>;

Decoder Open(unsigned bits, unsigned channels) {
  ZQWAVEFORMATEX fmt{};
  const auto h = Header(bits, channels);
  return Decoder(zqDecodeOpen(h.data(), &fmt));
}

unsigned BlockSize(unsigned bits) { return bits == 4 ? 17 : bits == 6 ? 25 : 33; }

std::vector<uint8_t> RandomBlocks(unsigned bits, size_t blocks, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> data(blocks * BlockSize(bits));
  for (auto &b : data) b = static_cast<uint8_t>(rng());
  return data;
}

// Converts src in one call into exactly the room needed; returns the PCM.
std::vector<uint8_t> DecodeAll(ZQDECODER *d, const std::vector<uint8_t> &src, size_t pcmBytes) {
  std::vector<uint8_t> dst(pcmBytes);
  ZQSTREAMHEADER s{src.data(), static_cast<uint32_t>(src.size()), 0, dst.data(), static_cast<uint32_t>(dst.size()), 0};
  EXPECT_EQ(zqDecodeConvert(d, &s), 1);
  EXPECT_EQ(s.cbSrcLengthUsed, src.size());
  EXPECT_EQ(s.cbDstLengthUsed, dst.size());
  return dst;
}

TEST(ZqDecodeOpen, FillsThePcmFormat) {
  for (unsigned ch : {1u, 2u}) {
    ZQWAVEFORMATEX fmt{};
    const auto h = Header(6, ch, 44100);
    Decoder d(zqDecodeOpen(h.data(), &fmt));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(fmt.wFormatTag, 1);
    EXPECT_EQ(fmt.nChannels, ch);
    EXPECT_EQ(fmt.nSamplesPerSec, 44100u);
    EXPECT_EQ(fmt.nBlockAlign, 2 * ch);
    EXPECT_EQ(fmt.nAvgBytesPerSec, 2 * ch * 44100u);
    EXPECT_EQ(fmt.wBitsPerSample, 16);
    EXPECT_EQ(fmt.cbSize, 0);
  }
}

TEST(ZqDecodeOpen, FailuresLeaveTheFormatUntouched) {
  const struct {
    const char *what;
    std::array<uint8_t, 32> header;
  } cases[] = {
      {"wrong magic", Header(4, 1, 22050, "ZQS2")},
      {"lower-case magic", Header(4, 1, 22050, "zqs1")},
      {"5 bits", Header(5, 1)},
      {"0 bits", Header(0, 1)},
      {"16 bits", Header(16, 1)},
      {"0 channels", Header(4, 0)},
      {"3 channels", Header(8, 3)},
  };
  for (const auto &c : cases) {
    ZQWAVEFORMATEX fmt;
    std::memset(&fmt, 0xA5, sizeof fmt);
    ZQWAVEFORMATEX before = fmt;
    EXPECT_EQ(zqDecodeOpen(c.header.data(), &fmt), nullptr) << c.what;
    EXPECT_EQ(std::memcmp(&fmt, &before, sizeof fmt), 0) << c.what;
  }
  ZQWAVEFORMATEX fmt{};
  EXPECT_EQ(zqDecodeOpen(nullptr, &fmt), nullptr);
}

TEST(ZqDecodeSize, FormulaAndOverflow) {
  const struct {
    unsigned bits, channels;
    uint32_t source;
    int result;
    uint32_t size;
  } cases[] = {
      {4, 1, 100, 1, 384},
      {4, 1, 0, 1, 64},
      {4, 1, 16, 1, 64},
      {4, 2, 34, 1, 192},
      {6, 1, 25, 1, 128},
      {8, 1, 65, 1, 128},
      // The largest quotient whose size still fits in 32 bits, and the first that does not.
      {4, 1, 67108862u * 17u, 1, 4294967232u},
      {4, 1, 67108863u * 17u, 0, 0},
      {8, 2, 0xFFFFFFFFu, 0, 0},
  };
  for (const auto &c : cases) {
    Decoder d = Open(c.bits, c.channels);
    uint32_t size = 12345;
    EXPECT_EQ(zqDecodeSize(d.get(), c.source, &size), c.result) << c.source;
    EXPECT_EQ(size, c.result ? c.size : 12345u) << c.source;
  }
  uint32_t size = 7;
  EXPECT_EQ(zqDecodeSize(nullptr, 100, &size), 0);
  EXPECT_EQ(size, 7u);
}

TEST(ZqDecodeConvert, NullHandleOrRecord) {
  ZQSTREAMHEADER s{nullptr, 5, 9, nullptr, 5, 9};
  EXPECT_EQ(zqDecodeConvert(nullptr, &s), 0);
  EXPECT_EQ(s.cbSrcLengthUsed, 9u);
  EXPECT_EQ(s.cbDstLengthUsed, 9u);
  Decoder d = Open(4, 1);
  EXPECT_EQ(zqDecodeConvert(d.get(), nullptr), 0);
  EXPECT_EQ(zqDecodeClose(nullptr), 0);
}

TEST(ZqDecodeConvert, TakesOnlyWholeBlocksThatFit) {
  const struct {
    const char *what;
    unsigned bits, channels;
    uint32_t srcLength, dstRoom;
    uint32_t used, produced;
  } cases[] = {
      {"stereo with one block, no pair", 4, 2, 17, 1000, 0, 0},
      {"mono, room for 100 bytes", 4, 1, 170, 100, 17, 64},
      {"stereo, room for 100 bytes", 4, 2, 170, 100, 0, 0},
      {"mono, partial block left", 6, 1, 25 * 3 + 24, 1000, 75, 192},
      {"stereo, pair and a half", 8, 2, 33 * 3, 1000, 66, 128},
      {"mono, room one byte short", 8, 1, 33 * 2, 127, 33, 64},
      {"mono, no source", 4, 1, 0, 1000, 0, 0},
  };
  for (const auto &c : cases) {
    Decoder d = Open(c.bits, c.channels);
    // Buffers of exactly the given lengths: any read or write past them is caught by ASan.
    std::unique_ptr<uint8_t[]> src(new uint8_t[c.srcLength + 1]);
    std::memset(src.get(), 0x11, c.srcLength + 1);
    std::unique_ptr<uint8_t[]> dst(new uint8_t[c.dstRoom + 1]);
    std::memset(dst.get(), 0xEE, c.dstRoom + 1);
    ZQSTREAMHEADER s{src.get(), c.srcLength, 77, dst.get(), c.dstRoom, 77};
    EXPECT_EQ(zqDecodeConvert(d.get(), &s), 1) << c.what;
    EXPECT_EQ(s.cbSrcLengthUsed, c.used) << c.what;
    EXPECT_EQ(s.cbDstLengthUsed, c.produced) << c.what;
    for (uint32_t i = c.produced; i <= c.dstRoom; ++i) ASSERT_EQ(dst[i], 0xEE) << c.what << " byte " << i;
  }
}

TEST(ZqDecodeConvert, HeaderLengthsDoNotMatter) {
  // cbData and dwSamples claim far more than is given: only the record's lengths count.
  auto h = Header(4, 1);
  std::fill(h.begin() + 4, h.begin() + 12, 0xFF);
  ZQWAVEFORMATEX fmt{};
  Decoder d(zqDecodeOpen(h.data(), &fmt));
  ASSERT_NE(d, nullptr);
  const std::vector<uint8_t> src = RandomBlocks(4, 2, 3);
  std::vector<uint8_t> dst(64 * 2);
  ZQSTREAMHEADER s{src.data(), 17 * 2, 0, dst.data(), 128, 0};
  EXPECT_EQ(zqDecodeConvert(d.get(), &s), 1);
  EXPECT_EQ(s.cbDstLengthUsed, 128u);
}

// Feeds src in random pieces with random destination room, carrying unconsumed bytes over as
// a caller does; returns all the PCM produced.
std::vector<uint8_t> DecodeInPieces(ZQDECODER *d, const std::vector<uint8_t> &src, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> out;
  std::vector<uint8_t> pending;
  size_t next = 0;
  for (int guard = 0; guard < 100000; ++guard) {
    const size_t take = std::min<size_t>(rng() % 90, src.size() - next);
    pending.insert(pending.end(), src.begin() + next, src.begin() + next + take);
    next += take;
    std::vector<uint8_t> dst(rng() % 300);
    ZQSTREAMHEADER s{pending.data(), static_cast<uint32_t>(pending.size()), 0,
                     dst.data(),     static_cast<uint32_t>(dst.size()),     0};
    EXPECT_EQ(zqDecodeConvert(d, &s), 1);
    out.insert(out.end(), dst.begin(), dst.begin() + s.cbDstLengthUsed);
    pending.erase(pending.begin(), pending.begin() + s.cbSrcLengthUsed);
    if (next == src.size() && pending.empty()) break;
  }
  return out;
}

TEST(ZqDecodeConvert, AnySplitGivesTheSamePcm) {
  for (unsigned bits : {4u, 6u, 8u}) {
    for (unsigned ch : {1u, 2u}) {
      const size_t blocks = 40 * ch;
      const std::vector<uint8_t> src = RandomBlocks(bits, blocks, bits * 10 + ch);
      Decoder whole = Open(bits, ch);
      const std::vector<uint8_t> expect = DecodeAll(whole.get(), src, blocks * 64);
      for (unsigned seed = 1; seed <= 3; ++seed) {
        Decoder pieces = Open(bits, ch);
        EXPECT_EQ(DecodeInPieces(pieces.get(), src, seed), expect)
            << bits << " bits, " << ch << " channels, seed " << seed;
      }
      // Two conversions over the two halves of a block-aligned source.
      Decoder halves = Open(bits, ch);
      const size_t half = blocks / 2 * BlockSize(bits);
      std::vector<uint8_t> a(src.begin(), src.begin() + half), b(src.begin() + half, src.end());
      std::vector<uint8_t> pcm = DecodeAll(halves.get(), a, blocks / 2 * 64);
      const std::vector<uint8_t> rest = DecodeAll(halves.get(), b, blocks / 2 * 64);
      pcm.insert(pcm.end(), rest.begin(), rest.end());
      EXPECT_EQ(pcm, expect) << bits << " bits, " << ch << " channels, halves";
    }
  }
}

TEST(ZqDecodeConvert, StereoIsTwoMonoStreamsInterleaved) {
  for (unsigned bits : {4u, 6u, 8u}) {
    const unsigned size = BlockSize(bits);
    const size_t pairs = 25;
    const std::vector<uint8_t> src = RandomBlocks(bits, 2 * pairs, 100 + bits);
    std::vector<uint8_t> left, right;
    for (size_t p = 0; p < pairs; ++p) {
      left.insert(left.end(), src.begin() + 2 * p * size, src.begin() + (2 * p + 1) * size);
      right.insert(right.end(), src.begin() + (2 * p + 1) * size, src.begin() + (2 * p + 2) * size);
    }
    Decoder st = Open(bits, 2), l = Open(bits, 1), r = Open(bits, 1);
    const std::vector<uint8_t> stereo = DecodeAll(st.get(), src, pairs * 128);
    const std::vector<uint8_t> lp = DecodeAll(l.get(), left, pairs * 64);
    const std::vector<uint8_t> rp = DecodeAll(r.get(), right, pairs * 64);
    std::vector<uint8_t> mixed;
    for (size_t i = 0; i < pairs * 32; ++i) {
      mixed.insert(mixed.end(), lp.begin() + 2 * i, lp.begin() + 2 * i + 2);
      mixed.insert(mixed.end(), rp.begin() + 2 * i, rp.begin() + 2 * i + 2);
    }
    EXPECT_EQ(stereo, mixed) << bits << " bits";
  }
}

TEST(ZqDecodeConvert, ReopeningRestartsTheHistory) {
  std::vector<uint8_t> src = RandomBlocks(4, 6, 42);
  for (size_t b = 0; b < 6; ++b) src[b * 17] = 0x21;  // filter 2 leans on the history
  Decoder first = Open(4, 1);
  const std::vector<uint8_t> a = DecodeAll(first.get(), src, 6 * 64);
  const std::vector<uint8_t> again = DecodeAll(first.get(), src, 6 * 64);
  Decoder fresh = Open(4, 1);
  EXPECT_EQ(DecodeAll(fresh.get(), src, 6 * 64), a);
  EXPECT_NE(again, a);  // the same decoder carries its history on
}

TEST(ZqDecLibrary, ExportsExactlyTheFourFunctions) {
  const auto names = testsupport::DefinedDynamicSymbols(MIRKAN_BIN_DIR "/libzqdec.so");
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(*names, (std::set<std::string>{"zqDecodeClose", "zqDecodeConvert", "zqDecodeOpen", "zqDecodeSize"}));
}

}  // namespace
