#include "chartfmt/defcode.h"

#include <gtest/gtest.h>

#include "chartfmt/globals.h"

namespace mk {
namespace {

TEST(DefNumToText, Table) {
  struct Case {
    int16_t n, mode;
    const char* text;
  } cases[] = {
      {0, 1, "00"},   {0, 3, "00"},    {10, 1, "0A"},  {255, 1, "FF"}, {35, 3, "0Z"}, {36, 3, "10"},
      {576, 3, "G0"}, {1295, 3, "ZZ"}, {575, 2, "FZ"}, {255, 2, "73"}, {5, 4, ""},    {5, 0, ""},
      {256, 1, "00"}, {4095, 1, "FF"}, {-1, 1, "FF"},  {1296, 3, ""},  {-1, 3, ""},   {32767, 2, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DefNumToText(c.n, c.mode), c.text) << c.n << " mode " << c.mode;
}

TEST(DefTextToNum, NormalisesAndConverts) {
  struct Case {
    const char* in;
    int16_t mode;
    const char* normalised;
    int16_t value;
  } cases[] = {
      {"z", 3, "0Z", 35},        {"zz", 3, "ZZ", 1295},  {"1", 1, "01", 1},    {"ff", 1, "FF", 255},
      {"#1", 3, "#1", 1},        {"a1b", 3, "A1B", 371}, {"12", 4, "12", 0},   {"", 3, "00", 0},
      {"", 1, "00", 0},          {"5", 2, "05", 5},      {"FZ", 2, "FZ", 575}, {"G0", 3, "G0", 576},
      {"F F", 1, "F F", 255},    {"ZZ", 1, "ZZ", 0},     {"1Z", 1, "1Z", 1},   {"FFFF", 1, "FFFF", -1},
      {"12345", 1, "12345", -1},  // does not fit 16 bits: outside every table
      {"[0", 3, "[0", 36 * 36},   // characters after "Z" go on counting
      {"あ1", 3, "あ1", 1},       // a double-byte character counts 0
  };
  for (const Case& c : cases) {
    std::string text = c.in;
    EXPECT_EQ(DefTextToNum(text, c.mode), c.value) << c.in << " mode " << c.mode;
    EXPECT_EQ(text, c.normalised) << c.in;
  }
}

TEST(DefCodes, RoundTripEveryNumberOfEachMode) {
  for (int16_t mode = 1; mode <= 3; ++mode) {
    for (int n = 0; n <= DefNumMax(mode); ++n) {
      std::string text = DefNumToText(static_cast<int16_t>(n), mode);
      ASSERT_EQ(DefTextToNum(text, mode), n) << "mode " << mode;
    }
  }
  EXPECT_EQ(DefNumMax(4), 0);
}

TEST(GcdLcm, Table) {
  EXPECT_EQ(Lcm(4, 6), 12);
  EXPECT_EQ(Lcm(3, 64), 192);
  EXPECT_EQ(Gcd(192, 96), 96);
  EXPECT_EQ(Gcd(96, 192), 96);
  EXPECT_EQ(Gcd(7, 5), 1);
  EXPECT_EQ(Gcd(192, 3), 3);
  // Beyond the contract: no division by zero, no wrapped 16-bit product.
  EXPECT_EQ(Gcd(0, 5), 0);
  EXPECT_EQ(Gcd(-4, 6), 0);
  EXPECT_EQ(Lcm(0, 5), 0);
  EXPECT_EQ(Lcm(32767, 32766), 0);
  EXPECT_EQ(Lcm(181, 181), 181);
  EXPECT_EQ(Lcm(16384, 2), 16384);
}

MesData CellWith(std::initializer_list<int> frontTicks, std::initializer_list<int> backTicks = {}, int16_t value = 1) {
  MesData c;
  for (int t : frontTicks) c.Obj[t] = value;
  for (int t : backTicks) c.BackObj[t] = value;
  return c;
}

TEST(CellDivision, Table) {
  struct Case {
    MesData cell;
    int16_t division;
  } cases[] = {
      {CellWith({}), 0},
      {CellWith({0}), 1},
      {CellWith({0, 96}), 2},
      {CellWith({0, 64, 128}), 3},
      {CellWith({48}), 4},
      {CellWith({24, 72}), 8},
      {CellWith({3}), 64},
      {CellWith({1}), 192},
      {CellWith({191}), 192},
      {CellWith({}, {96}), 2},  // the back layer counts too
      {CellWith({0}, {64}), 3},
      {CellWith({192}), 0},         // the spare slot is not part of the measure
      {CellWith({96}, {}, -5), 0},  // negative values count as empty
      {CellWith({96}, {}, 10005), 2},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(CellDivision(cases[i].cell), cases[i].division) << "case " << i;
}

// Every cell with one or two occupied ticks (either layer) against the rule by Gcd.
TEST(CellDivision, AgreesWithGcdRuleForAllTickPairs) {
  auto byGcd = [](std::initializer_list<int> ticks) {
    int16_t g = 0;
    for (int t : ticks)
      g = t == 0 ? (g == 0 ? int16_t{192} : g) : Gcd(g == 0 ? int16_t{192} : g, static_cast<int16_t>(t));
    return static_cast<int16_t>(192 / g);
  };
  int mismatches = 0;
  for (int a = 0; a < 192; ++a) {
    if (CellDivision(CellWith({a})) != byGcd({a})) ++mismatches;
    for (int b = a + 1; b < 192; ++b) {
      MesData c = CellWith({a});
      c.BackObj[b] = 7;
      if (CellDivision(c) != byGcd({a, b})) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

DocData DocWith(int lanes, int16_t mesCount) {
  DocData d;
  d.Obj.resize(lanes + 1);
  d.LaneCount = static_cast<int16_t>(lanes);
  ResizeMeasures(d, mesCount);
  d.MesCount = mesCount;
  return d;
}

TEST(RecalcLaneResolution, SetsOnlyTheRangeAndClampsIt) {
  DocData d = DocWith(3, 4);
  for (auto& lane : d.Obj)
    for (size_t i = 0; i < lane.Mes.size(); ++i) {
      mk::MesData& m = lane.Mes.Write(i);
      m.Obj[48] = 1;
      m.Division = -7;  // marker: untouched
    }
  RecalcLaneResolution(d, 1, 2, 1, 3);
  for (int l = 0; l <= 3; ++l)
    for (int m = 0; m <= 4; ++m) {
      const bool inside = l >= 1 && l <= 2 && m >= 1 && m <= 3;
      EXPECT_EQ(d.Obj[l].Mes[m].Division, inside ? 4 : -7) << l << "," << m;
    }
  // A range beyond the chart is cut to what exists; an empty range does nothing.
  RecalcLaneResolution(d, -5, 99, -5, 99);
  for (auto& lane : d.Obj)
    for (auto& m : lane.Mes) EXPECT_EQ(m.Division, 4);
  d.Obj[0].Mes.Write(0).Division = -7;
  RecalcLaneResolution(d, 2, 1, 0, 4);
  RecalcLaneResolution(d, 0, 3, 3, 2);
  EXPECT_EQ(d.Obj[0].Mes[0].Division, -7);
}

TEST(RecalcLaneResolution, ByWindowNumber) {
  ResetWindowTable();
  SizeWindowTable(2);
  g_Docs[2] = DocWith(1, 0);
  g_Docs[2].Obj[1].Mes.Write(0).Obj[3] = 7;
  RecalcLaneResolution(0, 1, 0, 0, 2);
  EXPECT_EQ(g_Docs[2].Obj[1].Mes[0].Division, 64);
  EXPECT_EQ(g_Docs[2].Obj[0].Mes[0].Division, 0);
  RecalcLaneResolution(0, 1, 0, 0, 9);  // no such window: nothing happens
  RecalcLaneResolution(0, 1, 0, 0, -1);
  ResetWindowTable();
}

}  // namespace
}  // namespace mk
