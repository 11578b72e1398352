// Copy-on-write cells of a lane: empty cells share one record, copies share until written.
#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <random>
#include <unordered_set>
#include <vector>

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

  b.Write(64).Obj[0] = 99;     // a block both share
  a.Write(65).BackObj[1] = 7;  // an empty cell in a shared block
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
      if (w % 3 == 0)
        layer[t] = layer[(t + 1) % mk::kCellSlots] = v;  // chained through the proxy
      else
        layer[t] = v;
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
      const int16_t want =
          t == mk::kTicksPerMeasure ? plain[t] : static_cast<int16_t>(plain[t] == 1 ? 0 : plain[t] * 2);
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

// Merge writes a run of entries as Set would one by one, whether it lands after the held ticks,
// among them or over them, and whether the layer stays within its own room or grows past it.
TEST(CellLayer, MergeWritesARunAsSetWouldOneByOne) {
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    mk::CellLayer merged, reference;
    const int held = static_cast<int>(rng() % 40);
    for (int i = 0; i < held; ++i) {
      const size_t t = rng() % mk::kCellSlots;
      const auto v = static_cast<int16_t>(1 + rng() % 1000);
      merged[t] = v;
      reference[t] = v;
    }
    // Rising ticks from a random start, spaced 1..8 apart.
    std::vector<mk::CellLayer::Entry> run;
    for (size_t t = rng() % mk::kCellSlots; t < mk::kCellSlots && run.size() < rng() % 50; t += 1 + rng() % 8)
      run.push_back({static_cast<uint8_t>(t), static_cast<int16_t>((-500 + static_cast<int>(rng() % 1000)) | 1)});
    merged.Merge(run.data(), run.size());
    for (const mk::CellLayer::Entry& e : run) reference[e.Tick] = e.Value;
    ASSERT_EQ(merged, reference) << "round " << round;
    for (size_t t = 0; t < mk::kCellSlots; ++t) ASSERT_EQ(merged[t], reference[t]) << round << " " << t;
  }
  mk::CellLayer full;  // every slot at once, then once more over itself
  std::vector<mk::CellLayer::Entry> all;
  for (size_t t = 0; t < mk::kCellSlots; ++t) all.push_back({static_cast<uint8_t>(t), static_cast<int16_t>(t + 1)});
  full.Merge(all.data(), all.size());
  full.Merge(all.data(), all.size());
  EXPECT_EQ(full.Entries().size(), mk::kCellSlots);
  EXPECT_EQ(full[192], 193);
}

// Copies and moves of layers held inline and of layers past their own room are independent of
// their source, and a layer moved from is empty and usable again.
TEST(CellLayer, CopiesAndMovesAreIndependentOnBothSidesOfTheInlineRoom) {
  for (const size_t n :
       {size_t{0}, size_t{1}, mk::CellLayer::kInline, mk::CellLayer::kInline + 1, size_t{64}, size_t{193}}) {
    SCOPED_TRACE(n);
    mk::CellLayer src;
    for (size_t t = 0; t < n; ++t) src[t] = static_cast<int16_t>(t + 1);
    EXPECT_EQ(src.HeapBytes() != 0, n > mk::CellLayer::kInline);
    mk::CellLayer copy = src;
    mk::CellLayer assigned;
    assigned[5] = 9;
    for (size_t t = 100; t < 120; ++t) assigned[t] = 4;  // a room of its own to reuse or give back
    assigned = src;
    ASSERT_EQ(copy, src);
    ASSERT_EQ(assigned, src);
    if (n > 0) src[0] = 77;
    EXPECT_EQ(copy[0], n > 0 ? 1 : 0);
    EXPECT_EQ(assigned[0], n > 0 ? 1 : 0);
    mk::CellLayer moved = std::move(copy);
    EXPECT_EQ(moved, assigned);
    EXPECT_FALSE(copy.Any());  // NOLINT(bugprone-use-after-move): a moved-from layer is empty
    copy[3] = 2;
    EXPECT_EQ(copy.Entries().size(), 1u);
    assigned = std::move(moved);
    EXPECT_EQ(assigned.Entries().size(), n);
    assigned = assigned;  // NOLINT: self-assignment keeps the layer
    EXPECT_EQ(assigned.Entries().size(), n);
  }
}

// A copied list shares every cell record, and the entries' records with them; a write takes a
// record of its own for that cell alone. Records given back are taken again by later cells.
TEST(MesList, SharedRecordsAreCountedOnceAndReused) {
  MesList a(200);
  for (size_t m = 0; m < 200; m += 2)
    for (size_t t = 0; t < 40; ++t) a.Write(m).Obj[t] = static_cast<int16_t>(m + 1);  // past the inline room
  std::unordered_set<const void*> seen;
  const size_t alone = a.HeldBytes(seen);
  EXPECT_GE(alone, 100 * (sizeof(MesData) + 40 * sizeof(mk::CellLayer::Entry)));
  MesList b = a;
  EXPECT_EQ(b.HeldBytes(seen), 0u);  // all of it counted with a already
  b.Write(10).BackObj[3] = 1;
  EXPECT_FALSE(b.SharesCell(a, 10));
  EXPECT_TRUE(b.SharesCell(a, 12));
  EXPECT_EQ(a[10].BackObj[3], 0);
  EXPECT_EQ(b[10].Obj[39], 11);
  std::unordered_set<const void*> seenB;
  b.HeldBytes(seenB);
  seen.clear();
  const size_t both = a.HeldBytes(seen) + b.HeldBytes(seen);
  EXPECT_LT(both, alone + alone / 4);  // one cell, one block and the block list more

  // A record given back is the next one taken: clearing and writing again costs no new memory.
  const MesData* before = &a[4];
  b = MesList();
  a.Clear(4);
  a.Write(6 + 1).Obj[0] = 1;
  EXPECT_EQ(&a[7], before);
}
