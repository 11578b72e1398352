// The block unpacking and the predictor, case by case, against hand-worked values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "zqcore.h"

namespace {

int16_t Sample(const uint8_t *pcm, unsigned i) {
  return static_cast<int16_t>(static_cast<uint16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8));
}

struct BlockCase {
  const char *what;
  unsigned bits;
  uint8_t headerByte;
  std::vector<uint8_t> data;    // leading data bytes; the rest of the block is zero
  int16_t s1, s2;               // history before the block
  std::vector<int16_t> expect;  // leading output samples
};

// Decodes one block with the given history through the unpacking routine and the predictor.
std::vector<int16_t> DecodeBlock(const BlockCase &c) {
  uint8_t block[33] = {};
  block[0] = c.headerByte;
  std::copy(c.data.begin(), c.data.end(), block + 1);
  int16_t values[32];
  const zq::UnpackFn unpack = c.bits == 4 ? zq::zqUnpack4 : c.bits == 6 ? zq::zqUnpack6 : zq::zqUnpack8;
  const unsigned hb = unpack(block, values);
  EXPECT_EQ(hb, c.headerByte);
  uint8_t pcm[64];
  zq::History h{c.s1, c.s2};
  zq::zqFilterBlock(h, hb, values, pcm, 1, 32);
  std::vector<int16_t> out;
  for (unsigned i = 0; i < 32; ++i) out.push_back(Sample(pcm, i));
  EXPECT_EQ(h.s1, out[31]) << c.what;
  EXPECT_EQ(h.s2, out[30]) << c.what;
  return out;
}

TEST(ZqCore, WorkedBlocks) {
  const std::vector<uint8_t> ones(32, 0x01);
  const BlockCase cases[] = {
      {"8-bit 0x01 filter 0 gives 256", 8, 0x00, ones, 0, 0, std::vector<int16_t>(32, 256)},
      {"4-bit 0x7F unshifted", 4, 0x00, {0x7F}, 0, 0, {28672, -4096, 0}},
      {"4-bit 0x7F shift 12", 4, 0x0C, {0x7F}, 0, 0, {7, -1, 0}},
      {"4-bit nibble 8 shift 0", 4, 0x00, {0x80}, 0, 0, {-32768, 0}},
      {"4-bit nibble 8 shift 15", 4, 0x0F, {0x80}, 0, 0, {-1, 0}},
      {"6-bit group FC 00 3F", 6, 0x00, {0xFC, 0x00, 0x3F}, 0, 0, {-1024, 0, 0, -1024, 0}},
      {"6-bit fields in order", 6, 0x00, {0x04, 0x20, 0xC4}, 0, 0, {1024, 2048, 3072, 4096}},
      {"8-bit 0xFF is -256", 8, 0x00, {0xFF, 0x80, 0x7F}, 0, 0, {-256, -32768, 32512}},
      {"8-bit 0x83 shift 5", 8, 0x05, {0x83}, 0, 0, {-1000}},
      // Largest shift: only negative values keep a trace (-1).
      {"8-bit shift 15", 8, 0x0F, {0x80, 0x7F, 0x01, 0xFF}, 0, 0, {-1, 0, 0, -1}},
      {"6-bit shift 15", 6, 0x0F, {0x7F, 0xF0, 0x00}, 0, 0, {0, -1, 0, 0}},
      // Filter 1: truncation toward zero, not toward minus infinity.
      {"filter 1 s1 -1000", 8, 0x10, {}, -1000, 0, {-937}},
      {"filter 1 s1 1000", 8, 0x10, {}, 1000, 0, {937}},
      {"filter 4 wraps without clamping", 8, 0x40, {}, 32767, 0, {-3074}},
      // The second coefficient of filters 2 to 4 (s2 alone, then both).
      {"filter 2 s2 1000", 8, 0x20, {}, 0, 1000, {-812}},
      {"filter 3 s2 1000", 8, 0x30, {}, 0, 1000, {-859}},
      {"filter 4 s2 1000", 8, 0x40, {}, 0, 1000, {-937}},
      {"filter 2 s2 -1000", 8, 0x20, {}, 0, -1000, {812}},
      {"filter 3 s2 -1000", 8, 0x30, {}, 0, -1000, {859}},
      {"filter 2 both", 8, 0x20, {}, 1000, 500, {1390}},
      // Output feeds the history within the block: 1390, then (460*1390 - 208*1000)/256.
      {"filter 2 second sample", 8, 0x20, {}, 1000, 500, {1390, 1685}},
      {"filter 3 both and shift", 8, 0x31, {0x02}, 1000, 500, {256 + 1101}},
      {"filter 5 predicts nothing", 8, 0x50, {0x01}, 1000, 500, {256, 0}},
  };
  for (const BlockCase &c : cases) {
    const std::vector<int16_t> out = DecodeBlock(c);
    for (size_t i = 0; i < c.expect.size(); ++i) EXPECT_EQ(out[i], c.expect[i]) << c.what << " sample " << i;
  }
}

TEST(ZqCore, FiltersSixToFifteenDecodeAsFilterZero) {
  for (unsigned f = 6; f < 16; ++f) {
    const BlockCase c{"", 8, static_cast<uint8_t>(f << 4 | 2), {0x04, 0xFC}, 12000, -9000, {}};
    const std::vector<int16_t> out = DecodeBlock(c);
    EXPECT_EQ(out[0], 256) << "filter " << f;
    EXPECT_EQ(out[1], -256) << "filter " << f;
    EXPECT_EQ(out[2], 0) << "filter " << f;
  }
}

TEST(ZqCore, StepPlacesSamplesInEveryOtherSlot) {
  int16_t values[32];
  for (int i = 0; i < 32; ++i) values[i] = static_cast<int16_t>(i * 256);
  uint8_t pcm[128];
  std::memset(pcm, 0xEE, sizeof pcm);
  zq::History h{};
  zq::zqFilterBlock(h, 0x00, values, pcm + 2, 2, 32);
  for (unsigned i = 0; i < 32; ++i) {
    EXPECT_EQ(Sample(pcm, 2 * i + 1), i * 256);
    EXPECT_EQ(pcm[4 * i], 0xEE);  // the other channel's slots are untouched
  }
}

}  // namespace
