// The batch edit of the selection and the note count, without a window.
#include <gtest/gtest.h>

#include <deque>

#include "editing/batchedit.h"
#include "editing/dropsel.h"
#include "editing/notecount.h"
#include "editing/undo.h"
#include "search_fixture.h"

using namespace searchtest;

namespace {

// Hands out a fixed sequence and records every range asked for.
class FixedRandom : public mk::RandomSource {
 public:
  explicit FixedRandom(std::deque<int> values) : values_(std::move(values)) {}
  int Draw(int lo, int hi) override {
    asked.push_back({lo, hi});
    const int v = values_.empty() ? lo : values_.front();
    if (!values_.empty()) values_.pop_front();
    return v;
  }
  std::vector<std::pair<int, int>> asked;
 private:
  std::deque<int> values_;
};

TEST(BatchEdit, Refusals) {
  struct Case {
    mk::BatchParams p;
    mk::BatchRefusal want;
  } cases[] = {
      {{}, mk::BatchRefusal::None},
      {{.numOp = mk::kOpConstant, .numLo = 0}, mk::BatchRefusal::Number},
      {{.numOp = mk::kOpConstant, .numLo = 1}, mk::BatchRefusal::None},
      {{.numOp = mk::kOpSubtract, .numLo = 0}, mk::BatchRefusal::None},
      {{.numOp = mk::kOpRandom, .numLo = 0, .numHi = 5}, mk::BatchRefusal::Number},
      {{.numOp = mk::kOpRandom, .numLo = 6, .numHi = 5}, mk::BatchRefusal::Number},
      {{.laneOp = mk::kOpRandom, .laneLo = 3, .laneHi = 2}, mk::BatchRefusal::Lane},
      // The number check comes first.
      {{.numOp = mk::kOpRandom, .numLo = 6, .numHi = 5, .laneOp = mk::kOpRandom, .laneLo = 3, .laneHi = 2},
       mk::BatchRefusal::Number},
      {{.numOp = mk::kOpConstant, .numLo = 0, .laneOp = mk::kOpRandom, .laneLo = 3, .laneHi = 2},
       mk::BatchRefusal::Lane},
  };
  for (const Case& c : cases) EXPECT_EQ(mk::CheckBatch(c.p), c.want);
}

TEST(BatchEdit, NumberAndLaneOperations) {
  // Lane 6 numbered from the BGA list (mode 3), the rest from the WAV list (mode 1); lanes 1 to 4
  // form a group (its lines code in the WAV mode, so a BGA lane of mode 3 cannot be one of them).
  mk::DocData d = MakeDoc(6, 2, true, 1, 1, 3);
  d.Lane[6].Part = mk::kPartBga;
  struct Case {
    mk::BatchParams p;
    mk::SelEntry in;
    std::deque<int> draws;
    mk::SelEntry out;
  } cases[] = {
      {{}, {1, 0, 0, 300, 0}, {}, {1, 0, 0, 255, 0}},  // defaults bound a WAV lane
      {{}, {6, 0, 0, 300, 0}, {}, {6, 0, 0, 300, 0}},  // a BGA lane by its own mode
      {{}, {6, 0, 0, 1295, 0}, {}, {6, 0, 0, 1295, 0}},
      {{.numOp = mk::kOpAdd, .numLo = 250}, {1, 0, 0, 10, 0}, {}, {1, 0, 0, 255, 0}},
      {{.numOp = mk::kOpAdd, .numLo = 250}, {1, 0, 0, 10010, 0}, {}, {1, 0, 0, 10255, 0}},
      {{.numOp = mk::kOpAdd, .numLo = 250}, {6, 0, 0, 10, 0}, {}, {6, 0, 0, 260, 0}},
      {{.numOp = mk::kOpSubtract, .numLo = 20}, {1, 0, 0, 10, -1}, {}, {1, 0, 0, 1, -1}},
      {{.numOp = mk::kOpSubtract, .numLo = 20}, {1, 0, 0, 10010, 0}, {}, {1, 0, 0, 10001, 0}},
      {{.numOp = mk::kOpSubtract, .numLo = 0}, {1, 0, 0, 10, 0}, {}, {1, 0, 0, 10, 0}},
      {{.numOp = mk::kOpConstant, .numLo = 5}, {2, 0, 0, 10010, 0}, {}, {2, 0, 0, 10005, 0}},
      {{.numOp = mk::kOpConstant, .numLo = 5}, {0, 0, 0, 120, 0}, {}, {0, 0, 0, 5, 0}},
      {{.numOp = mk::kOpRandom, .numLo = 3, .numHi = 9}, {1, 0, 0, 10010, 0}, {7}, {1, 0, 0, 10007, 0}},
      {{.laneOp = mk::kOpConstant, .laneLo = 0}, {2, 1, 5, 10, 0}, {}, {0, 1, 5, 10, 0, mk::kSelTableWav}},
      {{.laneOp = mk::kOpAdd, .laneLo = 3}, {2, 1, 5, 10, 0}, {}, {5, 1, 5, 10, 0}},
      {{.laneOp = mk::kOpAdd, .laneLo = 5}, {2, 1, 5, 10, 0}, {}, {7, 1, 5, 10, 0, mk::kSelTableWav}},
      {{.laneOp = mk::kOpSubtract, .laneLo = 2}, {1, 1, 5, 10, 0}, {}, {-1, 1, 5, 10, 0, mk::kSelTableWav}},
      {{.laneOp = mk::kOpRandom, .laneLo = 1, .laneHi = 4}, {1, 1, 5, 10, 0}, {3}, {3, 1, 5, 10, 0}},
      // One draw per entry for the number, then one for the lane.
      {{.numOp = mk::kOpRandom, .numLo = 1, .numHi = 9, .laneOp = mk::kOpRandom, .laneLo = 0, .laneHi = 4},
       {1, 1, 5, 10, 0},
       {8, 2},
       {2, 1, 5, 8, 0}},
  };
  for (const Case& c : cases) {
    mk::DocData e = d;
    Select(e, c.in);
    FixedRandom r(c.draws);
    mk::BatchEdit(e, c.p, r);
    EXPECT_EQ(e.Sel[1], c.out) << "value " << c.in.Value << " lane " << c.in.Lane;
    EXPECT_EQ(r.asked.size(), c.draws.size());
  }
}

TEST(BatchEdit, RandomDrawsInListOrderNumberBeforeLane) {
  mk::DocData d = MakeDoc(4, 2);
  Select(d, {1, 0, 0, 10, 0});
  Select(d, {2, 0, 0, 11, -1});
  FixedRandom r({4, 1, 9, 3});
  mk::BatchEdit(d, {.numOp = mk::kOpRandom, .numLo = 2, .numHi = 9, .laneOp = mk::kOpRandom, .laneLo = 1, .laneHi = 4},
                r);
  const std::vector<std::pair<int, int>> asked = {{2, 9}, {1, 4}, {2, 9}, {1, 4}};
  EXPECT_EQ(r.asked, asked);
  EXPECT_EQ(d.Sel[1], (mk::SelEntry{1, 0, 0, 4, 0}));
  EXPECT_EQ(d.Sel[2], (mk::SelEntry{3, 0, 0, 9, -1}));
}

TEST(BatchEdit, KindTable) {
  mk::DocData d = MakeDoc(2, 0, true, 1);
  const mk::SelEntry front{1, 0, 0, 5, 0}, open{1, 0, 0, 10005, 0}, back{1, 0, 0, 5, -1};
  const mk::SelEntry asFront{1, 0, 0, 5, 0}, asBack{1, 0, 0, 5, -1}, asOpen{1, 0, 0, 10005, 0};
  const mk::SelEntry* want[3][3] = {
      // front entry, back entry, open entry by target 1, 2, 3
      {&asFront, &asFront, &asFront},
      {&asBack, &asBack, &asBack},
      {&asOpen, &asOpen, &asOpen},
  };
  for (int to = 1; to <= 3; ++to) {
    mk::DocData e = d;
    Select(e, front);
    Select(e, back);
    Select(e, open);
    mk::BatchParams p;
    p.frontTo = p.backTo = p.openTo = to;
    FixedRandom r({});
    mk::BatchEdit(e, p, r);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(e.Sel[k + 1], *want[to - 1][k]) << "target " << to << " entry " << k;
  }
  // The defaults keep every kind.
  mk::DocData e = d;
  Select(e, front);
  Select(e, back);
  Select(e, open);
  FixedRandom r({});
  mk::BatchEdit(e, {}, r);
  EXPECT_EQ(e.Sel[1], front);
  EXPECT_EQ(e.Sel[2], back);
  EXPECT_EQ(e.Sel[3], open);
  // Constant 5 on an open object, then to the front kind: the plain object 5.
  mk::DocData f = d;
  Select(f, {1, 0, 0, 10300, 0});
  mk::BatchEdit(f, {.numOp = mk::kOpConstant, .numLo = 5, .openTo = mk::kKindFront}, r);
  EXPECT_EQ(f.Sel[1], asFront);
}

TEST(BatchEdit, LanesOffTheChartFloatOnWhenDroppedAndUndoRestores) {
  mk::DocData d = MakeDoc(3, 2);
  Put(d, 1, 0, 0, 7);
  Put(d, 2, 1, 0, 8);
  Select(d, {1, 0, 96, 9, 0});
  Select(d, {3, 1, 48, 12, 0});
  const std::vector<mk::SelEntry> before = d.Sel;
  mk::ObjBackup(d);
  FixedRandom r({});
  mk::BatchEdit(d, {.laneOp = mk::kOpSubtract, .laneLo = 2}, r);
  EXPECT_EQ(d.Sel[1].Lane, -1);
  EXPECT_EQ(d.Sel[2].Lane, 1);
  EXPECT_EQ(d.Dirty, -1);
  ASSERT_TRUE(mk::Undo(d));
  EXPECT_EQ(d.Sel, before);
  EXPECT_EQ(d.SelCount, 2);
  mk::BatchEdit(d, {.laneOp = mk::kOpSubtract, .laneLo = 2}, r);
  // The entry pushed off the lanes floats on; adding the lanes back lands it where it was.
  const mk::DropResult dr = mk::ObjDeSel(d, 499);
  EXPECT_EQ(dr.kept, 1);
  EXPECT_EQ(dr.keptFault, mk::StoreFault::NoLane);
  EXPECT_EQ(At(d, 1, 1, 48), 12);
  ASSERT_EQ(d.SelCount, 1);
  EXPECT_EQ(d.Sel[1], (mk::SelEntry{-1, 0, 96, 9, 0, mk::kSelTableWav}));
  mk::BatchEdit(d, {.laneOp = mk::kOpAdd, .laneLo = 2}, r);
  EXPECT_EQ(mk::ObjDeSel(d, 499).kept, 0);
  EXPECT_EQ(At(d, 1, 0, 96), 9);
}

TEST(BatchEdit, NoLanesChangesNothing) {
  mk::DocData d = MakeDoc(0, 1);
  Select(d, {0, 0, 0, 100, 0});
  FixedRandom r({});
  mk::BatchEdit(d, {.numOp = mk::kOpConstant, .numLo = 3, .laneOp = mk::kOpAdd, .laneLo = 1}, r);
  EXPECT_EQ(d.Sel[1], (mk::SelEntry{0, 0, 0, 100, 0}));
}

TEST(NoteCount, ByLaneAndLayerWithTheFloatingSelection) {
  mk::DocData d = MakeDoc(3, 2, true, 1);
  for (int t : {0, 48, 96, 144}) Put(d, 1, 0, t, 5);
  for (int t : {0, 24, 100}) Put(d, 2, 1, t, 3);
  for (int t : {12, 36}) Put(d, 2, 2, t, 4, true);
  Put(d, 3, 0, 0, 10007);       // an open object counts
  Put(d, 0, 1, 0, 150);         // a tempo value counts on lane 0
  Put(d, 3, 1, 192, 9);         // the spare slot holds no object
  Select(d, {2, 0, 0, 6, -1});  // floating: counted where it is
  Select(d, {3, 2, 0, 6, 0});
  Select(d, {7, 2, 0, 6, 0});  // off the lanes: not counted
  const mk::NoteCounts c = mk::CountNotes(d);
  EXPECT_EQ(c.front, (std::vector<int32_t>{1, 4, 3, 2}));
  EXPECT_EQ(c.back, (std::vector<int32_t>{0, 0, 3, 0}));
  EXPECT_EQ(d.Obj[1].Mes[0].Division, 4);
}

}  // namespace
