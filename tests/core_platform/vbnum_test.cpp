// Leading-number value, half-even rounding, checked stores and the written number form.
#include "platform/core/vbnum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct NumCase {
  const char* text;
  double value;
};

TEST(VbNum, LeadingNumberTable) {
  const NumCase cases[] = {
      {"123", 123},
      {"  42abc", 42},
      {"\t\n7", 7},
      {"1 2 3", 123},  // blanks inside are skipped too
      {"- 5", -5},
      {"+5", 5},
      {"-3.25", -3.25},
      {".5", 0.5},
      {"5.", 5},
      {"1.2.3", 1.2},
      {"1E2", 100},
      {"1e2", 100},
      {"1D2", 100},
      {"1d-2", 0.01},
      {"2.5E+1x", 25},
      {"1E", 1},  // an exponent without digits is not part of the number
      {"1E+", 1},
      {"&H1F", 31},
      {"&h1f", 31},
      {"&HFFZ", 255},
      {"&O17", 15},
      {"&O8", 0},
      {"&H", 0},
      {"&X1", 0},
      {"& H 1 F", 31},
      {"abc", 0},
      {"", 0},
      {"   ", 0},
      {".", 0},
      {"-", 0},
      {"--5", 0},
      {"1,000", 1},  // no grouping
      {"\r5", 0},    // a carriage return is not skipped
      {"0.1", 0.1},
      {"120.5 BPM", 120.5},
      {"\xEF\xBC\x91", 0},  // a full-width digit is no digit
  };
  for (const NumCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(plat::LeadingNumber(c.text), c.value);
  }
}

TEST(VbNum, LeadingNumberExtremes) {
  EXPECT_TRUE(std::isinf(plat::LeadingNumber("1E400")));
  EXPECT_LT(plat::LeadingNumber("-1E400"), 0);
  EXPECT_EQ(plat::LeadingNumber("1E-400"), 0);
  EXPECT_FALSE(std::signbit(plat::LeadingNumber("-0")));
  EXPECT_DOUBLE_EQ(plat::LeadingNumber(std::string(400, '0') + "12"), 12);
  // Beyond a double's range, the number's own size decides, not the sign of its exponent.
  EXPECT_TRUE(std::isinf(plat::LeadingNumber("1" + std::string(400, '0') + "E-10")));
  EXPECT_EQ(plat::LeadingNumber("0." + std::string(400, '0') + "1E10"), 0);
  EXPECT_EQ(plat::LeadingNumber(std::string(400, '0') + ".5E-400"), 0);
  EXPECT_TRUE(std::isinf(plat::LeadingNumber("-2E99999999999999999999")));
  EXPECT_EQ(plat::LeadingNumber("0E99999"), 0);
}

// The panels' number fields: the same reading, and a value that is not finite reads 0.
TEST(VbNum, FieldNumberReadsLikeLeadingNumberAndOverflowAsZero) {
  const NumCase cases[] = {{"1 5 0", 150}, {"150.5", 150.5}, {"1,5", 1},     {"120abc", 120}, {"", 0},       {"abc", 0},
                           {"&H1F", 31},   {"1D2", 100},     {"9E99999", 0}, {"-9E99999", 0}, {"12.9", 12.9}};
  for (const NumCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(plat::FieldNumber(c.text), c.value);
  }
}

TEST(VbNum, ColourPairs) {
  const struct {
    const char* text;
    std::array<int, 3> rgb;
  } cases[] = {
      {"FF8000", {255, 128, 0}},   {"00ff80", {0, 255, 128}}, {"1G2H3I", {1, 2, 3}},
      {"G12345", {0, 0x23, 0x45}}, {"F", {15, 0, 0}},         {"", {0, 0, 0}},
      {"0A0B0C0D", {10, 11, 12}},  {"00 1FF", {0, 0, 255}},  // a blank ends the digits
      {"あ1FFFF", {0, 255, 255}},                            // a double-byte character is one character, no digit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(plat::ColourPairs(c.text), c.rgb);
  }
}

TEST(VbNum, RoundHalfEven) {
  const NumCase cases[] = {
      {"0.5", 0},   {"1.5", 2},    {"2.5", 2},    {"3.5", 4},   {"-0.5", 0}, {"-1.5", -2},
      {"-2.5", -2}, {"2.4999", 2}, {"2.5001", 3}, {"-2.6", -3}, {"7", 7},
  };
  for (const NumCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(plat::RoundHalfEven(std::stod(c.text)), c.value);
  }
  EXPECT_FALSE(std::signbit(plat::RoundHalfEven(-0.4)));
}

TEST(VbNum, CheckedStores) {
  EXPECT_EQ(plat::ToInt16(32767.0), 32767);
  EXPECT_EQ(plat::ToInt16(32767.4), 32767);
  EXPECT_EQ(plat::ToInt16(-32768.5), -32768);  // rounds to the even neighbour, which fits
  EXPECT_EQ(plat::ToInt16(32767.5), std::nullopt);
  EXPECT_EQ(plat::ToInt16(32768.0), std::nullopt);
  EXPECT_EQ(plat::ToInt16(-32769.0), std::nullopt);
  EXPECT_EQ(plat::ToInt16(1e300), std::nullopt);
  EXPECT_EQ(plat::ToInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
  EXPECT_EQ(plat::ToInt16(plat::LeadingNumber("1E400")), std::nullopt);
  EXPECT_EQ(plat::ToInt16(plat::LeadingNumber("70000")), std::nullopt);
  EXPECT_EQ(plat::ToInt16(plat::LeadingNumber("2.5")), 2);
  EXPECT_EQ(plat::ToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(plat::ToInt32(-2147483648.0), INT32_MIN);
  EXPECT_EQ(plat::ToInt32(2147483647.5), std::nullopt);
  EXPECT_EQ(plat::ToInt32(-2147483649.0), std::nullopt);
  EXPECT_EQ(plat::ToInt32(-std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(VbNum, NumberToText) {
  const struct {
    double x;
    const char* text;
  } cases[] = {
      {0, " 0"},
      {-0.0, " 0"},
      {10200, " 10200"},
      {8460, " 8460"},
      {2, " 2"},
      {-5, "-5"},
      {0.5, " .5"},
      {-0.25, "-.25"},
      {12.75, " 12.75"},
      {0.0001, " .0001"},
      {0.00001, " 1E-05"},
      {1e15, " 1E+15"},
      {123456789012345.0, " 123456789012345"},
      {0.1, " .1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(plat::NumberToText(c.x), c.text);
    EXPECT_DOUBLE_EQ(plat::LeadingNumber(plat::NumberToText(c.x)), c.x);  // reads back
  }
}

}  // namespace
