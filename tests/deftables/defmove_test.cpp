// Moving a definition up or down: the guards, the swap rules and the renumbering of the
// selection and the undo levels.
#include <gtest/gtest.h>

#include "chartfmt/defcode.h"
#include "deftables/defmove.h"
#include "deftables_fixture.h"
#include "editing/undo.h"

using namespace mk;
using deftest::At;
using deftest::MakeDoc;
using deftest::Put;

namespace {

// Mode x command x first, second, second-to-last and last row of the list.
TEST(DefMove, GuardTable) {
  for (int16_t mode : {1, 2, 3}) {
    const int last = DefNumMax(mode);
    struct Case {
      DefMove move;
      int cur;
      int neighbour;  // -1: refused
    } cases[] = {
        {DefMove::WAVUp, 1, -1},
        {DefMove::WAVUp, 2, 1},
        {DefMove::WAVUp, last - 1, last - 2},
        {DefMove::WAVUp, last, last - 1},
        {DefMove::WAVDown, 1, 2},
        {DefMove::WAVDown, 2, 3},
        {DefMove::WAVDown, last - 1, last},
        {DefMove::WAVDown, last, -1},
        {DefMove::BGAUp, 0, -1},
        {DefMove::BGAUp, 1, -1},
        {DefMove::BGAUp, last - 1, last - 2},
        {DefMove::BGAUp, last, last - 1},
        {DefMove::BGADown, 0, -1},
        {DefMove::BGADown, 1, 2},
        {DefMove::BGADown, last - 1, last},
        {DefMove::BGADown, last, -1},
        // A number without a row in the list is refused.
        {DefMove::WAVUp, 0, -1},
        {DefMove::WAVDown, 0, -1},
        {DefMove::WAVDown, last + 1, -1},
        {DefMove::BGAUp, last + 1, -1},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << " move " << static_cast<int>(c.move) << " cur " << c.cur);
      DocData d = MakeDoc(mode, mode);
      deftest::NameEntries(d, last);
      d.CurDef = static_cast<int16_t>(c.cur);
      const DocData before = d;
      EXPECT_EQ(DefMoveNeighbour(d, c.move), c.neighbour);
      EXPECT_EQ(MoveDefinition(d, c.move), c.neighbour >= 0);
      if (c.neighbour < 0) {
        EXPECT_TRUE(deftest::SameNumbers(d, before));
      } else {
        EXPECT_EQ(d.CurDef, c.neighbour);
        const auto& t = (c.move == DefMove::BGAUp || c.move == DefMove::BGADown) ? d.Bga : d.Wav;
        const auto& o = (c.move == DefMove::BGAUp || c.move == DefMove::BGADown) ? before.Bga : before.Wav;
        EXPECT_EQ(t[c.neighbour], o[c.cur]);
        EXPECT_EQ(t[c.cur], o[c.neighbour]);
      }
    }
  }
}

TEST(DefMove, SwapRulesAcrossLayersLanesAndTicks) {
  DocData d = MakeDoc();
  d.Wav[1] = {"kick.wav", "k"};
  d.Wav[2] = {"snare.wav", ""};
  Put(d, 1, 0, 0, 1);
  Put(d, 1, 0, 48, 2);
  Put(d, 1, 0, 96, 1, true);
  Put(d, 2, 1, 0, 10001);         // open object of 1
  Put(d, 2, 1, 96, 10002);        // open object of 2
  Put(d, 2, 1, 48, 10001, true);  // back layer: an open value is not an object there
  Put(d, 0, 0, 0, 1);             // tempo values are never definition numbers
  Put(d, 0, 0, 48, 2);
  Put(d, 3, 0, 0, 1);  // a BGA lane keeps its numbers on a WAV move
  Put(d, 4, 2, 0, 3);  // other numbers stay
  // An object off the cell's Division grid (a stale Division) is renumbered too.
  Put(d, 4, 3, 0, 2);
  d.Obj[4].Mes.Write(3).Obj[7] = 1;
  d.CurDef = 2;
  const DocData before = d;

  ASSERT_TRUE(MoveDefinition(d, DefMove::WAVUp));
  EXPECT_EQ(d.CurDef, 1);
  EXPECT_EQ(d.Wav[1], (DefEntry{"snare.wav", ""}));
  EXPECT_EQ(d.Wav[2], (DefEntry{"kick.wav", "k"}));
  EXPECT_EQ(At(d, 1, 0, 0), 2);
  EXPECT_EQ(At(d, 1, 0, 48), 1);
  EXPECT_EQ(At(d, 1, 0, 96, true), 2);
  EXPECT_EQ(At(d, 2, 1, 0), 10002);
  EXPECT_EQ(At(d, 2, 1, 96), 10001);
  EXPECT_EQ(At(d, 2, 1, 48, true), 10001);
  EXPECT_EQ(At(d, 0, 0, 0), 1);
  EXPECT_EQ(At(d, 0, 0, 48), 2);
  EXPECT_EQ(At(d, 3, 0, 0), 1);
  EXPECT_EQ(At(d, 4, 2, 0), 3);
  EXPECT_EQ(At(d, 4, 3, 0), 1);
  EXPECT_EQ(At(d, 4, 3, 7), 2);
  for (int l = 1; l <= 4; ++l)  // every object still names the file it named
    for (int m = 0; m <= 3; ++m)
      for (int t = 0; t < 192; ++t)
        for (bool back : {false, true})
          if (l != 3 && At(d, l, m, t, back) < 10000) {
            EXPECT_EQ(deftest::WavFileAt(d, l, m, t, back), deftest::WavFileAt(before, l, m, t, back));
          }

  ASSERT_TRUE(MoveDefinition(d, DefMove::WAVDown));  // and back: everything as it was
  EXPECT_TRUE(deftest::SameNumbers(d, before));
}

TEST(DefMove, BgaMoveTouchesOnlyBgaLanes) {
  DocData d = MakeDoc();
  d.Bga[4] = {"a.bmp", ""};
  Put(d, 3, 0, 0, 4);
  Put(d, 3, 0, 96, 5);
  Put(d, 1, 0, 0, 4);
  d.CurDef = 4;
  ASSERT_TRUE(MoveDefinition(d, DefMove::BGADown));
  EXPECT_EQ(d.CurDef, 5);
  EXPECT_EQ(d.Bga[5].File, "a.bmp");
  EXPECT_TRUE(d.Bga[4].File.empty());
  EXPECT_EQ(At(d, 3, 0, 0), 5);
  EXPECT_EQ(At(d, 3, 0, 96), 4);
  EXPECT_EQ(At(d, 1, 0, 0), 4);
}

// The floating selection and both undo levels trade the numbers too, so Undo after a move
// brings back objects on the files they had.
TEST(DefMove, SelectionAndUndoLevelsKeepTheirFiles) {
  DocData d = MakeDoc();
  deftest::NameEntries(d, 3);
  Put(d, 1, 0, 0, 1);
  Put(d, 1, 0, 96, 2);
  ObjBackup(d);
  Put(d, 1, 1, 0, 2);
  ObjBackup(d);  // level 2 holds the first state, level 1 the second
  Put(d, 2, 2, 0, 1);
  d.Sel.push_back({2, 0, 48, 2, 0});
  d.Sel.push_back({2, 0, 48, 1, -1});
  d.Sel.push_back({3, 0, 0, 2, 0});  // a BGA lane's entry stays
  d.SelCount = 3;
  d.CurDef = 1;
  const DocData before = d;

  ASSERT_TRUE(MoveDefinition(d, DefMove::WAVDown));
  EXPECT_EQ(d.Sel[1].Value, 1);
  EXPECT_EQ(d.Sel[2].Value, 2);
  EXPECT_EQ(d.Sel[3].Value, 2);
  ASSERT_TRUE(Undo(d));
  EXPECT_EQ(deftest::WavFileAt(d, 1, 0, 0), "w1.wav");
  EXPECT_EQ(deftest::WavFileAt(d, 1, 0, 96), "w2.wav");
  EXPECT_EQ(deftest::WavFileAt(d, 1, 1, 0), "w2.wav");
  EXPECT_EQ(deftest::WavFileAt(d, 2, 2, 0), "");  // placed after the snapshot: gone

  DocData e = before;
  ASSERT_TRUE(MoveDefinition(e, DefMove::WAVDown));
  DropLastBackup(e);
  ASSERT_TRUE(Undo(e));  // the older level, renumbered as well
  EXPECT_EQ(deftest::WavFileAt(e, 1, 0, 0), "w1.wav");
  EXPECT_EQ(deftest::WavFileAt(e, 1, 0, 96), "w2.wav");
  EXPECT_EQ(deftest::WavFileAt(e, 1, 1, 0), "");

  DocData f = before;  // a move and its reverse restore every place a number lives
  ASSERT_TRUE(MoveDefinition(f, DefMove::WAVDown));
  ASSERT_TRUE(MoveDefinition(f, DefMove::WAVUp));
  EXPECT_TRUE(deftest::SameNumbers(f, before));
}

}  // namespace

namespace {

// The plain walk: every lane of the kind, every measure, every tick of each grid on its own.
void ReferenceSwap(std::vector<LaneMes>& grid, const DocData& doc, bool bga, int16_t a, int16_t b) {
  for (int l = 1; l <= doc.LaneCount && l < static_cast<int>(grid.size()); ++l) {
    if ((doc.Lane[l].Part == kPartBga) != bga) continue;
    for (size_t m = 0; m < grid[l].Mes.size(); ++m) {
      MesData c = grid[l].Mes[m];
      for (int t = 0; t < 192; ++t) {
        CellLayer::Ref f = c.Obj[t];
        if (f == a || f == b)
          f = f == a ? b : a;
        else if (f == a + 10000 || f == b + 10000)
          f = static_cast<int16_t>((f == a + 10000 ? b : a) + 10000);
        CellLayer::Ref k = c.BackObj[t];
        if (k == a || k == b) k = k == a ? b : a;
      }
      if (!(c == grid[l].Mes[m])) grid[l].Mes.Write(m) = c;
    }
  }
}

// Random charts, snapshots and moves: the shared-cell shortcuts give what the plain walk gives.
TEST(DefMove, RandomMovesMatchThePlainWalk) {
  uint32_t seed = 7;
  auto next = [&seed](int n) { return static_cast<int>((seed = seed * 1103515245u + 12345u) >> 8) % n; };
  for (int round = 0; round < 30; ++round) {
    DocData d = MakeDoc();
    for (int step = 0; step < 3; ++step) {
      for (int i = 0; i < 20; ++i) {
        const int v = 1 + next(6);
        Put(d, 1 + next(4), next(4), next(192), static_cast<int16_t>(next(3) == 0 ? v + 10000 : v), next(2) == 0);
      }
      if (step < 2) ObjBackup(d);
    }
    for (int k = 0; k < 6; ++k) {
      const DefMove m = static_cast<DefMove>(next(4));
      d.CurDef = static_cast<int16_t>(1 + next(5));
      DocData ref = d;
      const int n = DefMoveNeighbour(d, m);
      ASSERT_EQ(MoveDefinition(d, m), n >= 0);
      if (n < 0) continue;
      const bool bga = m == DefMove::BGAUp || m == DefMove::BGADown;
      for (auto* g : {&ref.Obj, &ref.UndoObj, &ref.UndoObj2})
        ReferenceSwap(*g, ref, bga, ref.CurDef, static_cast<int16_t>(n));
      EXPECT_EQ(d.Obj, ref.Obj) << round << "/" << k;
      EXPECT_EQ(d.UndoObj, ref.UndoObj) << round << "/" << k;
      EXPECT_EQ(d.UndoObj2, ref.UndoObj2) << round << "/" << k;
    }
  }
}

}  // namespace
