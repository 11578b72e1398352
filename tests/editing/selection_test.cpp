// The rectangle selection: what it lifts out of the grid, in which order, and what it skips.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "editing/dropsel.h"
#include "editing/movesel.h"
#include "editing/selection.h"
#include "sel_fixture.h"

namespace {

using mk::SelEntry;
using seltest::Back;
using seltest::E;
using seltest::Entries;
using seltest::Front;
using seltest::GridObjects;
using seltest::MakeDoc;
using seltest::Put;

// An object on every tick of every lane and measure, so each rectangle shows its exact ticks.
mk::DocData Filled(int lanes = 4, int mesCount = 6) {
  mk::DocData d = MakeDoc(lanes, mesCount);
  for (int l = 0; l <= lanes; ++l)
    for (int m = 0; m <= mesCount; ++m) {
      mk::MesData& c = d.Obj[l].Mes.Write(m);
      for (int t = 0; t < 192; t += 1) c.Obj[t] = static_cast<int16_t>(1 + (t % 200));
    }
  mk::RecalcLaneResolution(d, 0, lanes, 0, mesCount);
  return d;
}

// The (lane, mes, tick) ranges a selection took, checked against what the grid kept.
void ExpectTaken(const mk::DocData& d, int laneLo, int laneHi, int startMes, int startTick, int endMes, int endTick) {
  for (const SelEntry& e : Entries(d)) {
    EXPECT_TRUE(e.Lane >= laneLo && e.Lane <= laneHi) << e.Lane;
    const int pos = e.Mes * 192 + e.Tick;
    EXPECT_GE(pos, startMes * 192 + startTick);
    EXPECT_LE(pos, endMes * 192 + endTick);
  }
  int64_t expected = 0;
  for (int l = laneLo; l <= laneHi; ++l)
    for (int m = startMes; m <= endMes; ++m)
      for (int t = 0; t < 192; ++t) {
        const bool in = (m > startMes || t >= startTick) && (m < endMes || t <= endTick);
        EXPECT_EQ(Front(d, l, m, t) == 0, in) << "lane " << l << " mes " << m << " tick " << t;
        expected += in;
      }
  EXPECT_EQ(d.SelCount, expected);
}

struct RectCase {
  const char* name;
  int x1, m1, s1, x2, m2, s2;
  bool noGrid;
  int grid;
  int laneLo, laneHi, startMes, startTick, endMes, endTick;
};

TEST(ObjSelect, TakesTheRectangleBetweenTheCorners) {
  const RectCase cases[] = {
      {"ticks across measures", 2, 2, 10, 3, 4, 3, true, 16, 2, 3, 2, 10, 4, 3},
      {"ticks across measures, corners swapped", 3, 4, 3, 2, 2, 10, true, 16, 2, 3, 2, 10, 4, 3},
      {"ticks in one measure, steps swapped", 1, 3, 40, 1, 3, 8, true, 16, 1, 1, 3, 8, 3, 40},
      {"tick corner past the last measure", 1, 5, 100, 2, 60, 0, true, 16, 1, 2, 5, 100, 6, 191},
      {"grid corner past the last measure", 1, 5, 1, 2, 60, 0, false, 16, 1, 2, 5, 12, 6, 191},
      {"one grid cell over two lanes", 1, 2, 2, 2, 2, 2, false, 16, 1, 2, 2, 24, 2, 35},
      {"one grid cell in one lane: its line only", 1, 2, 2, 1, 2, 2, false, 16, 1, 1, 2, 24, 2, 24},
      {"grid 5 ends at tick 189", 1, 1, 0, 1, 1, 4, false, 5, 1, 1, 1, 0, 1, 189},
      {"whole measures on grid 1", 2, 0, 0, 2, 6, 191, false, 1, 2, 2, 0, 0, 6, 191},
      {"whole measures on grid 192", 2, 0, 0, 2, 6, 191, false, 192, 2, 2, 0, 0, 6, 191},
      {"the tempo lane", 0, 1, 0, 0, 1, 191, false, 192, 0, 0, 1, 0, 1, 191},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = Filled();
    d.GridDiv = static_cast<int16_t>(c.grid);
    const mk::SelectResult r = mk::ObjSelect(d, c.x1, c.m1, c.s1, c.x2, c.m2, c.s2, c.noGrid);
    EXPECT_EQ(r.Added, d.SelCount);
    ExpectTaken(d, c.laneLo, c.laneHi, c.startMes, c.startTick, c.endMes, c.endTick);
  }
}

TEST(ObjSelect, EntriesFollowByLaneMeasureTickFrontFirst) {
  mk::DocData d = MakeDoc(4);
  Put(d, 2, 1, 96, 7, true);
  Put(d, 2, 1, 96, 3);
  Put(d, 1, 3, 0, 10005);
  Put(d, 2, 0, 48, 9);
  Put(d, 0, 2, 0, 150);
  d.Sel.push_back(E(4, 0, 0, 1));  // an earlier entry stays first
  d.SelCount = 1;
  const mk::SelectResult r = mk::ObjSelect(d, 0, 0, 0, 3, 9, 191);
  EXPECT_EQ(r.Added, 5);
  EXPECT_EQ(r.LastValue, 7);
  const std::vector<SelEntry> want = {E(4, 0, 0, 1),  E(0, 2, 0, 150), E(1, 3, 0, 10005),
                                      E(2, 0, 48, 9), E(2, 1, 96, 3),  E(2, 1, 96, 7, -1)};
  EXPECT_EQ(Entries(d), want);
  EXPECT_TRUE(GridObjects(d).empty());
  // Emptied cells share the empty record again.
  EXPECT_EQ(mk::StoredCells(d), 0);
}

TEST(ObjSelect, APositionAnEntryHoldsIsSkippedInBothLayers) {
  mk::DocData d = MakeDoc(4);
  Put(d, 2, 1, 24, 3);
  Put(d, 2, 1, 24, 4, true);
  Put(d, 2, 1, 36, 5);
  d.Sel.push_back(E(2, 1, 24, 8, -1));  // a copy dragged onto the position, other layer
  d.SelCount = 1;
  const mk::SelectResult r = mk::ObjSelect(d, 2, 1, 0, 2, 1, 191);
  EXPECT_EQ(r.Added, 1);
  EXPECT_EQ(Front(d, 2, 1, 24), 3);
  EXPECT_EQ(Back(d, 2, 1, 24), 4);
  EXPECT_EQ(Entries(d), (std::vector<SelEntry>{E(2, 1, 24, 8, -1), E(2, 1, 36, 5)}));
  // A second call adds nothing more and leaves the list as it is.
  EXPECT_EQ(mk::ObjSelect(d, 2, 1, 0, 2, 1, 191).Added, 0);
  EXPECT_EQ(d.SelCount, 2);
}

TEST(ObjSelect, RangePastTheChartTakesNothing) {
  mk::DocData d = MakeDoc(4);
  Put(d, 1, 9, 0, 3);
  EXPECT_EQ(mk::ObjSelect(d, 1, 10, 0, 1, 12, 5).Added, 0);
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(Front(d, 1, 9, 0), 3);
}

struct PreviewCase {
  const char* name;
  int value;         // the object taken (0: two objects)
  const char* file;  // WAV definition 5's file
  const char* expect;
};

TEST(SelectPreviewFile, OneObjectNamesItsWavFile) {
  const PreviewCase cases[] = {
      {"plain", 5, "kick.wav", "/charts/kick.wav"},
      {"open object", 10005, "kick.wav", "/charts/kick.wav"},
      {"no file name", 5, "", ""},
      {"number past the table", 300, "kick.wav", ""},
      {"two objects", 0, "kick.wav", ""},
  };
  for (const PreviewCase& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = MakeDoc(4);
    d.Folder = "/charts/";
    d.Wav[5].File = c.file;
    if (c.value) {
      Put(d, 2, 0, 0, c.value);
    } else {
      Put(d, 2, 0, 0, 5);
      Put(d, 2, 0, 0, 5, true);
    }
    EXPECT_EQ(mk::SelectPreviewFile(d, mk::ObjSelect(d, 2, 0, 0, 2, 0, 0, true)), c.expect);
  }
  // One object taken while the list already held others still previews.
  mk::DocData d = MakeDoc(4);
  d.Folder = "/charts/";
  d.Wav[5].File = "kick.wav";
  Put(d, 2, 0, 0, 5);
  Put(d, 3, 0, 0, 6);
  mk::ObjSelect(d, 3, 0, 0, 3, 0, 0, true);
  EXPECT_EQ(mk::SelectPreviewFile(d, mk::ObjSelect(d, 2, 0, 0, 2, 0, 0, true)), "/charts/kick.wav");
}

// The selection as the procedure describes it, kept literal: a pass over every earlier entry
// for each object, and every tick of every cell examined.
void ReferenceSelect(mk::DocData& d, int x1, int m1, int s1, int x2, int m2, int s2) {
  const int lo = std::min(x1, x2), hi = std::max(x1, x2);
  int sm = m1, ss = s1, em = m2, es = s2;
  if (m1 > m2) sm = m2, ss = s2, em = m1, es = s1;
  if (m1 == m2) ss = std::min(s1, s2), es = std::max(s1, s2);
  if (em > d.MesCount) em = d.MesCount, es = 192;
  const int w = 192 / d.GridDiv;
  const int st = w * ss;
  const int et = (x1 == x2 && m1 == m2 && s1 == s2) ? st : w * es + w - 1;
  const int old = d.SelCount;
  for (int l = lo; l <= hi; ++l)
    for (int m = sm; m <= em; ++m)
      for (int t = 0; t < 192; ++t) {
        const mk::MesData& c = d.Obj[l].Mes[m];
        if (c.Obj[t] == 0 && c.BackObj[t] == 0) continue;
        bool held = false;
        for (int i = 1; i <= old; ++i) held = held || (d.Sel[i].Lane == l && d.Sel[i].Mes == m && d.Sel[i].Tick == t);
        if (held || (m == sm && t < st) || (m == em && t > et)) continue;
        const int16_t f = c.Obj[t], b = c.BackObj[t];
        if (f > 0) d.Sel.push_back(E(l, m, t, f)), d.Obj[l].Mes.Write(m).Obj[t] = 0;
        if (b > 0) d.Sel.push_back(E(l, m, t, b, -1)), d.Obj[l].Mes.Write(m).BackObj[t] = 0;
      }
  d.SelCount = static_cast<int32_t>(d.Sel.size()) - 1;
  mk::RecalcLaneResolution(d, lo, hi, sm, em);
}

TEST(ObjSelect, MatchesTheLiteralProcedureOverRandomEdits) {
  std::mt19937 rng(15);
  for (int round = 0; round < 40; ++round) {
    mk::DocData fast = MakeDoc(6, 5);
    seltest::AddGroup(fast, 1);
    for (int i = 0; i < 120; ++i) {
      const int tick = static_cast<int>(rng() % 16) * 12 + (rng() % 4 == 0 ? 6 : 0);
      Put(fast, static_cast<int>(rng() % 7), static_cast<int>(rng() % 6), tick, 1 + static_cast<int>(rng() % 300),
          rng() % 3 == 0);
    }
    mk::DocData ref = fast;
    for (int op = 0; op < 12; ++op) {
      SCOPED_TRACE("round " + std::to_string(round) + " op " + std::to_string(op));
      const int kind = static_cast<int>(rng() % 4);
      if (kind <= 1) {
        const int grid = std::array{1, 4, 5, 16, 48, 192}[rng() % 6];
        fast.GridDiv = ref.GridDiv = static_cast<int16_t>(grid);
        const int a[6] = {static_cast<int>(rng() % 7), static_cast<int>(rng() % 8), static_cast<int>(rng() % grid),
                          static_cast<int>(rng() % 7), static_cast<int>(rng() % 8), static_cast<int>(rng() % grid)};
        mk::ObjSelect(fast, a[0], a[1], a[2], a[3], a[4], a[5]);
        ReferenceSelect(ref, a[0], a[1], a[2], a[3], a[4], a[5]);
      } else if (kind == 2) {
        fast.GridDiv = ref.GridDiv = 16;
        const int from = static_cast<int>(rng() % 16), to = static_cast<int>(rng() % 16);
        const int dl = static_cast<int>(rng() % 3) - 1;
        mk::MoveSelection(fast, 3, 2, from, 3 + dl, 2, to);
        mk::MoveSelection(ref, 3, 2, from, 3 + dl, 2, to);
      } else {
        mk::ObjDeSel(fast, 20);
        mk::ObjDeSel(ref, 20);
      }
      ASSERT_EQ(Entries(fast), Entries(ref));
      ASSERT_EQ(fast.Obj, ref.Obj);
      ASSERT_EQ(fast.MesCount, ref.MesCount);
    }
  }
}

}  // namespace
