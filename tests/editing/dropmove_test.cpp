// Moving the floating selection and landing it in the grid.
#include <gtest/gtest.h>

#include "chartfmt/chartread.h"
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
using seltest::MakeDoc;
using seltest::Put;

void Select(mk::DocData& d, std::vector<SelEntry> entries) {
  d.Sel.assign(1, SelEntry{});
  d.Sel.insert(d.Sel.end(), entries.begin(), entries.end());
  d.SelCount = static_cast<int32_t>(entries.size());
}

struct MoveCase {
  const char* name;
  std::vector<SelEntry> before;
  int fromLane, fromMes, fromStep, toLane, toMes, toStep;
  std::vector<SelEntry> after;
};

TEST(MoveSelection, MovesByLanesAndGridSteps) {
  const MoveCase cases[] = {
      {"180 + 24 crosses into the next measure", {E(1, 3, 180, 5)}, 1, 3, 0, 1, 3, 2, {E(1, 4, 12, 5)}},
      {"an object off the grid keeps its offset", {E(1, 0, 5, 5)}, 1, 0, 0, 1, 0, 1, {E(1, 0, 17, 5)}},
      {"-96 takes the first before measure 0",
       {E(1, 0, 48, 5), E(1, 0, 96, 6)},
       1,
       0,
       8,
       1,
       0,
       0,
       {E(1, -1, 144, 5), E(1, 0, 0, 6)}},
      {"lane -1 and back",
       {E(1, 2, 0, 5), E(2, 2, 0, 6, -1)},
       2,
       2,
       0,
       0,
       2,
       0,
       {E(-1, 2, 0, 5, 0, mk::kSelTableWav), E(0, 2, 0, 6, -1, mk::kSelTableWav)}},
      {"measures", {E(3, 2, 12, 5)}, 3, 4, 1, 3, 1, 0, {E(3, -1, 0, 5)}},
      {"empty selection", {}, 1, 0, 0, 3, 5, 2, {}},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = MakeDoc(4);
    Select(d, c.before);
    mk::MoveSelection(d, c.fromLane, c.fromMes, c.fromStep, c.toLane, c.toMes, c.toStep);
    EXPECT_EQ(Entries(d), c.after);
    // Dragging back restores every entry, also those that left the chart.
    mk::MoveSelection(d, c.toLane, c.toMes, c.toStep, c.fromLane, c.fromMes, c.fromStep);
    EXPECT_EQ(Entries(d), c.before);
  }
}

TEST(ObjDeSel, LandsEntriesAsTheTargetLaneHoldsThem) {
  mk::DocData d = MakeDoc(6);
  seltest::AddGroup(d, 4);
  Select(d, {E(4, 0, 0, 10005), E(5, 0, 0, 10005), E(0, 0, 12, 300), E(0, 0, 24, 300, -1), E(0, 0, 36, 10300),
             E(2, 1, 0, 7), E(2, 1, 0, 8), E(-1, 1, 0, 9), E(7, 1, 0, 9), E(1, -1, 0, 9)});
  const mk::DropResult r = mk::ObjDeSel(d, 499);
  EXPECT_EQ(Front(d, 4, 0, 0), 10005);  // the group's first lane keeps the open object
  EXPECT_EQ(Front(d, 5, 0, 0), 5);      // elsewhere it becomes an ordinary one
  EXPECT_EQ(Front(d, 0, 0, 12), 255);   // tempo values are limited on the front layer
  EXPECT_EQ(Back(d, 0, 0, 24), 0);      // the tempo lane has no back line: the entry floats on
  EXPECT_EQ(Front(d, 0, 0, 36), 255);   // an open value loses its 10000 and is a tempo value
  EXPECT_EQ(Front(d, 2, 1, 0), 8);      // the later entry for a cell wins
  // Off the lanes, before measure 0 or where the layer has no line: nothing is lost, the entries
  // float on in their order, and the note gives the first one's reason.
  EXPECT_EQ(r.kept, 4);
  EXPECT_EQ(r.keptFault, mk::StoreFault::NoChannel);
  EXPECT_EQ(Entries(d), (std::vector<SelEntry>{E(0, 0, 24, 300, -1), E(-1, 1, 0, 9), E(7, 1, 0, 9), E(1, -1, 0, 9)}));
  EXPECT_EQ(d.Obj[2].Mes[1].Division, 1);
  EXPECT_EQ(seltest::GridObjects(d).size(), 5u);
}

TEST(ObjDeSel, WithoutGroupsEveryOpenObjectLandsOrdinary) {
  mk::DocData d = MakeDoc(6);
  Select(d, {E(1, 0, 0, 10005), E(4, 0, 0, 10017)});
  mk::ObjDeSel(d, 499);
  EXPECT_EQ(Front(d, 1, 0, 0), 5);
  EXPECT_EQ(Front(d, 4, 0, 0), 17);
}

TEST(ObjDeSel, GrowsOnceToTheFurthestEntry) {
  mk::DocData d = MakeDoc(3, 9);
  Select(d, {E(1, 12, 0, 5), E(2, 10, 96, 6)});
  const mk::DropResult r = mk::ObjDeSel(d, 499);
  EXPECT_TRUE(r.grew);
  EXPECT_EQ(d.MesCount, 12);
  for (const mk::LaneMes& lane : d.Obj) EXPECT_EQ(lane.Mes.size(), 13u);
  EXPECT_EQ(Front(d, 1, 12, 0), 5);
  EXPECT_EQ(Front(d, 2, 10, 96), 6);
  // Past the measure limit: the chart grows to the limit and the entry beyond it floats on.
  Select(d, {E(1, 20, 0, 5), E(1, 14, 0, 6)});
  const mk::DropResult r2 = mk::ObjDeSel(d, 15);
  EXPECT_EQ(d.MesCount, 15);
  EXPECT_EQ(r2.kept, 1);
  EXPECT_EQ(r2.keptFault, mk::StoreFault::Measure);
  EXPECT_EQ(Entries(d), (std::vector<SelEntry>{E(1, 20, 0, 5)}));
  EXPECT_EQ(Front(d, 1, 14, 0), 6);
}

TEST(ObjDeSel, KeepLeavesTheListAndACopyInTheGrid) {
  mk::DocData d = MakeDoc(3);
  Put(d, 1, 0, 0, 5);
  Put(d, 2, 1, 48, 6, true);
  mk::ObjSelect(d, 1, 0, 0, 2, 1, 191);
  const std::vector<SelEntry> lifted = Entries(d);
  mk::ObjDeSel(d, 499, true);
  EXPECT_EQ(Entries(d), lifted);
  EXPECT_EQ(Front(d, 1, 0, 0), 5);
  EXPECT_EQ(Back(d, 2, 1, 48), 6);
  // The copy drag: the kept list moves away and lands beside the copy.
  mk::MoveSelection(d, 1, 0, 0, 1, 0, 1);
  mk::ObjDeSel(d, 499);
  EXPECT_EQ(Front(d, 1, 0, 0), 5);
  EXPECT_EQ(Front(d, 1, 0, 12), 5);
  EXPECT_EQ(Back(d, 2, 1, 60), 6);
  EXPECT_EQ(d.SelCount, 0);
}

// A chart that holds as many cells as it may takes no entry into a new cell: such entries float
// on and are counted apart, for the window's message, from those kept for other reasons.
TEST(ObjDeSel, AFullChartKeepsEntriesForNewCellsAndCountsThem) {
  const int lanes = 64;
  const int measures = mk::kMaxChartCells / (lanes + 1);  // lane 0 has cells too
  mk::DocData d = MakeDoc(lanes, measures);
  for (int l = 0; l <= lanes; ++l)
    for (int m = 0; m < measures; ++m) d.Obj[l].Mes.Write(m);
  for (int l = 0; mk::StoredCells(d) < mk::kMaxChartCells; ++l) d.Obj[l].Mes.Write(measures);
  ASSERT_EQ(mk::StoredCells(d), mk::kMaxChartCells);
  ASSERT_FALSE(d.Obj[lanes].Mes.Stored(measures));
  Select(d, {E(lanes, measures, 0, 5), E(1, 0, 0, 6), E(lanes + 1, 0, 0, 7), E(lanes, measures, 96, 8)});
  const mk::DropResult r = mk::ObjDeSel(d, 9999);
  EXPECT_EQ(Front(d, 1, 0, 0), 6);  // a cell the chart holds takes its entry
  EXPECT_EQ(r.kept, 3);
  EXPECT_EQ(r.full, 2);
  EXPECT_EQ(Entries(d),
            (std::vector<SelEntry>{E(lanes, measures, 0, 5), E(lanes + 1, 0, 0, 7), E(lanes, measures, 96, 8)}));
  EXPECT_EQ(mk::KeptFloatingText(r),
            "3個のオブジェを選択のまま残しました（保存できない位置です：オブジェのある小節が多すぎます）");
}

TEST(ObjDeSel, EmptySelectionDoesNothing) {
  mk::DocData d = MakeDoc(3);
  const mk::DropResult r = mk::ObjDeSel(d, 499, true);
  EXPECT_FALSE(r.grew);
  EXPECT_EQ(r.kept, 0);
  EXPECT_EQ(d.MesCount, 9);
}

struct AutoCase {
  const char* name;
  double x, y;
  bool xRun;
  int xInterval;
  bool yRun;
  int yInterval;
};

TEST(UpdateAutoScroll, RunsATimerPerAxisBeyondTheCanvas) {
  const AutoCase cases[] = {
      {"25 px left", -25, 100, true, 48, false, 0},        {"170 px below", 100, 400 + 170, false, 0, true, 26},
      {"500 px right", 500 + 500, 100, true, 5, false, 0}, {"315 px above: the floor", 100, -315, false, 0, true, 5},
      {"on the edges", 500, 400, false, 0, false, 0},      {"at x 0", 0, 0, false, 0, false, 0},
      {"both axes", -100, -70, true, 40, true, 40},
  };
  for (const AutoCase& c : cases) {
    SCOPED_TRACE(c.name);
    mk::AutoScroll a;
    a.X = a.Y = mk::TimerState{true, 17};  // running from an earlier call
    mk::UpdateAutoScroll(a, c.x, c.y, 500, 400);
    EXPECT_EQ(a.X.Running, c.xRun);
    EXPECT_EQ(a.Y.Running, c.yRun);
    if (c.xRun) {
      EXPECT_EQ(a.X.Interval, c.xInterval);
    }
    if (c.yRun) {
      EXPECT_EQ(a.Y.Interval, c.yInterval);
    }
    EXPECT_EQ(a.PointerX, static_cast<int>(c.x));
    EXPECT_EQ(a.PointerY, static_cast<int>(c.y));
  }
}

struct StepCase {
  const char* name;
  int pointer, extent, value, minimum, maximum, divisor, after;
};

TEST(AutoScrollValue, StepGrowsWithTheSquareOfTheDistance) {
  const StepCase cases[] = {
      {"25 px left", -25, 500, 10, 0, 100, 80, 8},     {"170 px below", 570, 400, 10, 0, 100, 80, 16},
      {"500 px right", 1000, 500, 10, 0, 100, 80, 48}, {"240 px: 11 units", 740, 500, 10, 0, 100, 80, 21},
      {"inside", 250, 500, 10, 0, 100, 80, 10},        {"at the maximum", 1000, 500, 100, 0, 100, 80, 100},
      {"at the minimum", -300, 500, 0, 0, 100, 80, 0}, {"divisor 0 counts as 1", -3, 500, 50, 0, 100, 0, 39},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(mk::AutoScrollValue(c.pointer, c.extent, c.value, c.minimum, c.maximum, c.divisor), c.after);
  }
}

}  // namespace
