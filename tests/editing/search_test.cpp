// The object search and the dialogs' field rules, without a window.
#include <gtest/gtest.h>

#include <random>

#include "editing/dropsel.h"
#include "editing/fieldrules.h"
#include "editing/findobj.h"
#include "search_fixture.h"

using namespace searchtest;

namespace {

TEST(FieldRules, IntegerRule) {
  struct Case {
    const char* text;
    int upper;
    const char* shown;
    int value;
  } cases[] = {
      {"5", 10, "5", 5},     {"-3", 10, "0", 0},     {"15", 10, "10", 10},   {"2.5", 10, "2", 2},
      {"3.5", 10, "4", 4},   {"abc", 10, "0", 0},    {" 1 2", 99, "12", 12}, {"1e400", 7, "7", 7},
      {"-1e400", 7, "0", 0}, {"&H1F", 40, "31", 31}, {"", 5, "0", 0},        {"9.7", 9, "9", 9},
  };
  for (const Case& c : cases) {
    std::string t = c.text;
    EXPECT_EQ(mk::IntegerFieldRule(t, c.upper), c.value) << c.text;
    EXPECT_EQ(t, c.shown) << c.text;
  }
}

TEST(FieldRules, CodeRule) {
  struct Case {
    const char* text;
    int16_t mode;
    int lower;
    const char* shown;
    int value;
  } cases[] = {
      // The search's number fields: "0", "00" and anything that reads 0 become "01".
      {"0", 1, 1, "01", 1},
      {"00", 1, 1, "01", 1},
      {"zz", 1, 1, "01", 1},
      {"ff", 1, 1, "FF", 255},
      {"1", 1, 1, "01", 1},
      {"zz", 2, 1, "FZ", 575},
      {"zz", 3, 1, "ZZ", 1295},
      {"a0", 3, 1, "A0", 360},
      // The batch edit's number fields accept "00".
      {"00", 1, 0, "00", 0},
      {"0", 3, 0, "00", 0},
      {"FFFF", 1, 0, "00", 0},
  };
  for (const Case& c : cases) {
    std::string t = c.text;
    const int max = mk::DefNumMax(c.mode);
    EXPECT_EQ(mk::CodeFieldRule(t, c.mode, c.lower, c.lower == 1 ? "01" : "00", max), c.value) << c.text;
    EXPECT_EQ(t, c.shown) << c.text << " mode " << c.mode;
  }
}

TEST(FindMatches, EveryCriterion) {
  mk::FindCriteria c;
  c.lanes = {true, true, false, true};
  c.mesFrom = 1;
  c.mesTo = 3;
  c.numFrom = 5;
  c.numTo = 9;
  struct Case {
    mk::SelEntry e;
    bool front, back, open;
    bool match;
  } cases[] = {
      {{1, 1, 0, 5, 0}, true, true, true, true},
      {{2, 1, 0, 5, 0}, true, true, true, false},  // lane not ticked
      {{4, 1, 0, 5, 0}, true, true, true, false},  // lane without a row
      {{-1, 1, 0, 5, 0}, true, true, true, false},
      {{1, 0, 0, 5, 0}, true, true, true, false},  // before the measure range
      {{1, 4, 0, 5, 0}, true, true, true, false},  // after it
      {{1, 3, 0, 9, 0}, true, true, true, true},
      {{1, 3, 0, 10, 0}, true, true, true, false},      // above the number range
      {{1, 3, 0, 10007, 0}, true, true, true, true},    // an open object compares its number
      {{1, 3, 0, 10007, 0}, false, true, true, false},  // and needs the front kind
      {{1, 3, 0, 10007, 0}, true, true, false, false},  // and the open kind
      {{1, 3, 0, 7, -1}, true, false, true, false},     // back layer needs the back kind
      {{1, 3, 0, 7, -1}, false, true, false, true},
      {{1, 3, 0, 7, 0}, false, true, true, false},
      {{0, 2, 0, 6, 0}, true, false, false, true},  // the tempo lane when its row is ticked
  };
  for (const Case& k : cases) {
    c.front = k.front;
    c.back = k.back;
    c.open = k.open;
    EXPECT_EQ(mk::FindMatches(c, k.e), k.match) << k.e.Lane << "/" << k.e.Mes << "/" << k.e.Value;
  }
}

mk::FindCriteria All(const mk::DocData& d, int numFrom, int numTo) {
  mk::FindCriteria c;
  c.lanes.assign(d.LaneCount + 1, true);
  c.mesFrom = 0;
  c.mesTo = d.MesCount;
  c.numFrom = numFrom;
  c.numTo = numTo;
  return c;
}

TEST(FindObjects, NewSearchLiftsTheMatchesInGridOrder) {
  mk::DocData d = MakeDoc(3, 4);
  Put(d, 2, 1, 96, 5);
  Put(d, 1, 3, 0, 5);
  Put(d, 1, 3, 0, 5, true);
  Put(d, 1, 0, 48, 5, true);
  Put(d, 1, 0, 48, 6);  // another number stays
  Put(d, 3, 2, 0, 5);
  Put(d, 0, 1, 0, 5);  // the tempo lane is never searched anew
  mk::FindCriteria c = All(d, 5, 5);
  c.lanes[3] = false;
  mk::FindObjects(d, c, 499);
  ASSERT_EQ(d.SelCount, 4);
  const std::vector<mk::SelEntry> want = {{}, {1, 0, 48, 5, -1}, {1, 3, 0, 5, 0}, {1, 3, 0, 5, -1}, {2, 1, 96, 5, 0}};
  EXPECT_EQ(d.Sel, want);
  EXPECT_EQ(At(d, 1, 3, 0), 0);
  EXPECT_EQ(At(d, 1, 3, 0, true), 0);
  EXPECT_EQ(At(d, 1, 0, 48), 6);
  EXPECT_EQ(At(d, 3, 2, 0), 5);
  EXPECT_EQ(At(d, 0, 1, 0), 5);
  EXPECT_EQ(d.Obj[2].Mes[1].Division, 0);  // the lifted cell's slots follow what is left
  EXPECT_EQ(d.Obj[1].Mes[0].Division, 4);
}

TEST(FindObjects, NewSearchDropsTheOldSelectionFirst) {
  mk::DocData d = MakeDoc(2, 2);
  Put(d, 1, 0, 0, 7);
  Select(d, {2, 1, 24, 9, 0});  // not a match: back into the grid
  Select(d, {0, 2, 0, 7, 0});   // a tempo entry: back into the grid, not searched again
  mk::FindObjects(d, All(d, 7, 7), 499);
  EXPECT_EQ(d.SelCount, 1);
  EXPECT_EQ(d.Sel[1], (mk::SelEntry{1, 0, 0, 7, 0}));
  EXPECT_EQ(At(d, 2, 1, 24), 9);
  EXPECT_EQ(At(d, 0, 2, 0), 7);
}

TEST(FindObjects, NarrowingKeepsMatchesAndPutsTheRestBackAsADrop) {
  mk::DocData d = MakeDoc(2, 3);
  Select(d, {1, 0, 0, 5, 0});
  Select(d, {0, 1, 0, 300, 0});  // tempo value above 255: goes back as a drop writes it
  Select(d, {2, 6, 12, 9, -1});  // past the last measure: the chart grows once
  Select(d, {0, 2, 0, 120, 0});  // kept: the BPM row is ticked
  Select(d, {9, 1, 0, 5, 0});    // off the lanes: no row, no cell; it floats on after the matches
  mk::FindCriteria c = All(d, 5, 200);
  c.lanes = {true, true, false};
  c.mesTo = 2;
  c.narrow = true;
  const mk::FindResult r = mk::FindObjects(d, c, 499);
  const std::vector<mk::SelEntry> want = {{}, {1, 0, 0, 5, 0}, {0, 2, 0, 120, 0}, {9, 1, 0, 5, 0}};
  EXPECT_EQ(d.Sel, want);
  EXPECT_EQ(d.SelCount, 3);
  EXPECT_TRUE(r.grew);
  EXPECT_EQ(d.MesCount, 6);
  EXPECT_EQ(At(d, 0, 1, 0), 255);
  EXPECT_EQ(At(d, 2, 6, 12, true), 9);
}

TEST(FindObjects, NarrowingToNothingPutsEverythingBack) {
  mk::DocData d = MakeDoc(2, 3);
  Select(d, {1, 0, 0, 5, 0});
  Select(d, {2, 3, 96, 6, -1});
  mk::FindCriteria c = All(d, 100, 200);
  c.narrow = true;
  mk::FindObjects(d, c, 499);
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(At(d, 1, 0, 0), 5);
  EXPECT_EQ(At(d, 2, 3, 96, true), 6);
  EXPECT_EQ(d.Obj[2].Mes[3].Division, 2);
}

TEST(FindObjects, NoLanesChangesNothing) {
  mk::DocData d = MakeDoc(0, 2);
  Put(d, 0, 1, 0, 100);
  Select(d, {0, 2, 0, 90, 0});
  const mk::DocData before = d;
  mk::FindCriteria c = All(d, 1, 255);
  mk::FindObjects(d, c, 499);
  c.narrow = true;
  mk::FindObjects(d, c, 499);
  EXPECT_EQ(d.Sel, before.Sel);
  EXPECT_EQ(d.Obj, before.Obj);
}

// The search as first described: every object of lanes 1..LaneCount lifted into the selection,
// then each entry that does not match written back as a dropped selection is.
void ReferenceSearch(mk::DocData& d, const mk::FindCriteria& c) {
  mk::ObjDeSel(d, 499);
  std::vector<mk::SelEntry> all(1);
  for (int lane = 1; lane <= d.LaneCount; ++lane)
    for (int m = 0; m <= d.MesCount; ++m)
      for (int t = 0; t < 192; ++t)
        for (int back = 0; back < 2; ++back) {
          const int16_t v = At(d, lane, m, t, back != 0);
          if (v <= 0) continue;
          all.push_back({static_cast<int16_t>(lane), static_cast<int16_t>(m), static_cast<int16_t>(t), v,
                         static_cast<int16_t>(-back)});
          mk::MesData& w = d.Obj[lane].Mes.Write(m);
          (back ? w.BackObj : w.Obj)[t] = 0;
        }
  std::vector<mk::SelEntry> kept(1), rest(1);
  for (size_t i = 1; i < all.size(); ++i) (mk::FindMatches(c, all[i]) ? kept : rest).push_back(all[i]);
  d.Sel = rest;
  d.SelCount = static_cast<int32_t>(rest.size() - 1);
  mk::ObjDeSel(d, 499);
  d.Sel = kept;
  d.SelCount = static_cast<int32_t>(kept.size() - 1);
  mk::RecalcLaneResolution(d, 0, d.LaneCount, 0, d.MesCount);
}

TEST(FindObjects, EqualsLiftingEverythingAndPuttingBackWhatDoesNotMatch) {
  std::mt19937 gen(18);
  for (int round = 0; round < 40; ++round) {
    mk::DocData d = MakeDoc(5, 6, true, round % 2 ? 2 : 0);
    for (int k = 0; k < 60; ++k) {
      const int lane = gen() % 6, mes = gen() % 7, tick = (gen() % 16) * 12;
      const bool back = gen() % 3 == 0;
      int v = 1 + gen() % 40;
      if (!back && lane > 0 && gen() % 4 == 0) v += 10000;
      Put(d, lane, mes, tick, v, back);
    }
    mk::FindCriteria c = All(d, 1 + gen() % 10, 20 + gen() % 20);
    for (size_t i = 0; i < c.lanes.size(); ++i) c.lanes[i] = gen() % 4 != 0;
    c.mesFrom = gen() % 3;
    c.mesTo = 3 + gen() % 4;
    c.front = gen() % 2;
    c.back = gen() % 2;
    c.open = gen() % 2;
    mk::DocData ref = d;
    mk::FindObjects(d, c, 499);
    ReferenceSearch(ref, c);
    EXPECT_EQ(d.Sel, ref.Sel) << "round " << round;
    EXPECT_EQ(d.Obj, ref.Obj) << "round " << round;
  }
}

}  // namespace
