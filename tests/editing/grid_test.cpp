// Copy-on-write cells of a lane: empty cells share one record, copies share until written.
#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <random>

#include "chartfmt/grid.h"

using mk::MesData;
using mk::MesList;

TEST(MesList, EmptyCellsShareOneRecordAndCostNothing) {
  MesList l(1000);
  EXPECT_EQ(l.size(), 1000u);
  EXPECT_EQ(l.StoredCells(), 0u);
  EXPECT_EQ(&l[0], &MesList::Empty());
  EXPECT_EQ(&l[999], &MesList::Empty());
  l.Write(700).Obj[5] = 3;
  EXPECT_EQ(l.StoredCells(), 1u);
  EXPECT_EQ(l[700].Obj[5], 3);
  EXPECT_EQ(&l[699], &MesList::Empty());
  EXPECT_EQ(MesList::Empty().Obj[5], 0);  // the shared record never changes
  l.Clear(700);
  EXPECT_EQ(l.StoredCells(), 0u);
  EXPECT_EQ(l[700].Obj[5], 0);
}

TEST(MesList, ACopySharesUntilOneSideWrites) {
  MesList a(130);
  for (size_t m : {0u, 63u, 64u, 129u}) a.Write(m).Obj[0] = static_cast<int16_t>(m + 1);
  MesList b = a;
  for (size_t m = 0; m < 130; ++m) EXPECT_TRUE(a.SharesCell(b, m)) << m;

  b.Write(64).Obj[0] = 99;    // a block both share
  a.Write(65).BackObj[1] = 7; // an empty cell in a shared block
  EXPECT_EQ(a[64].Obj[0], 65);
  EXPECT_EQ(b[64].Obj[0], 99);
  EXPECT_EQ(b[65].BackObj[1], 0);
  EXPECT_EQ(a[65].BackObj[1], 7);
  EXPECT_TRUE(a.SharesCell(b, 63));  // untouched cells stay shared
  EXPECT_TRUE(a.SharesCell(b, 129));
  EXPECT_FALSE(a.SharesCell(b, 64));

  b.Clear(0);
  EXPECT_EQ(a[0].Obj[0], 1);
  b.resize(10);
  EXPECT_EQ(a.size(), 130u);
  EXPECT_EQ(a[129].Obj[0], 130);
}

TEST(MesList, ShrinkingDropsCellsSoGrowingAgainGivesEmptyMeasures) {
  for (size_t cut : {0u, 1u, 63u, 64u, 65u, 100u}) {
    MesList l(200);
    for (size_t m = 0; m < 200; ++m) l.Write(m).Obj[0] = 1;
    const MesList kept = l;
    l.resize(cut);
    l.resize(200);
    for (size_t m = 0; m < 200; ++m) EXPECT_EQ(l[m].Obj[0], m < cut ? 1 : 0) << cut << " " << m;
    EXPECT_EQ(l.StoredCells(), cut);
    EXPECT_EQ(kept.StoredCells(), 200u);  // a copy taken before keeps all
  }
}

TEST(MesList, EqualityComparesContentsNotSharing) {
  MesList a(5), b(5);
  a.Write(2).Obj[1] = 4;
  EXPECT_FALSE(a == b);
  b.Write(2).Obj[1] = 4;
  EXPECT_TRUE(a == b);
  b.Write(3);  // a stored record equal to the empty one
  EXPECT_TRUE(a == b);
  EXPECT_FALSE(a == MesList(6));
  EXPECT_THROW((void)a.at(5), std::out_of_range);
}

// A layer reads and writes like an array of 193 values whatever the order of the writes, and
// holds only the ticks that are not 0.
TEST(CellLayer, BehavesAsAnArrayOfTicksUnderRandomWrites) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    mk::CellLayer layer;
    std::array<int16_t, mk::kCellSlots> plain{};
    const int writes = static_cast<int>(rng() % 60);
    for (int w = 0; w < writes; ++w) {
      const size_t t = rng() % mk::kCellSlots;
      // Zeros, negatives and the open-object range as well as plain numbers.
      const int16_t values[] = {0, 0, 1, -3, 1295, 10001, static_cast<int16_t>(rng() % 32767)};
      const int16_t v = values[rng() % std::size(values)];
      if (w % 3 == 0) layer[t] = layer[(t + 1) % mk::kCellSlots] = v;  // chained through the proxy
      else layer[t] = v;
      plain[t] = v;
      if (w % 3 == 0) plain[(t + 1) % mk::kCellSlots] = v;
    }
    int nonzero = 0;
    for (size_t t = 0; t < mk::kCellSlots; ++t) {
      ASSERT_EQ(layer[t], plain[t]) << "round " << round << " tick " << t;
      nonzero += plain[t] != 0;
    }
    const mk::CellLayer::EntryList& es = layer.Entries();
    ASSERT_EQ(static_cast<int>(es.size()), nonzero);
    for (size_t i = 1; i < es.size(); ++i) ASSERT_LT(es[i - 1].Tick, es[i].Tick);
    EXPECT_EQ(layer.Any(), nonzero > 0);

    // Transform maps ticks 0..191 only and drops what it maps to 0.
    mk::CellLayer mapped = layer;
    const bool erased = mapped.Transform([](int16_t v) { return static_cast<int16_t>(v == 1 ? 0 : v * 2); });
    bool expectErased = false;
    for (size_t t = 0; t < mk::kCellSlots; ++t) {
      const int16_t want = t == mk::kTicksPerMeasure ? plain[t] : static_cast<int16_t>(plain[t] == 1 ? 0 : plain[t] * 2);
      expectErased = expectErased || (plain[t] != 0 && want == 0);
      ASSERT_EQ(mapped[t], want) << t;
    }
    EXPECT_EQ(erased, expectErased);
  }
}

TEST(CellLayer, EqualLayersCompareEqualWhateverTheWriteOrder) {
  mk::CellLayer a, b;
  a[96] = 2;
  a[0] = 1;
  a[48] = 7;
  a[48] = 0;
  b[0] = 1;
  b[96] = 2;
  EXPECT_EQ(a, b);
  b[192] = 5;  // the spare slot counts too
  EXPECT_NE(a, b);
  EXPECT_EQ(b.Entries().back(), (mk::CellLayer::Entry{192, 5}));
}
