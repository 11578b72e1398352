// The measure count and the undo levels: counts, scroll ranges, snapshots that share cells.
#include <gtest/gtest.h>

#include <string>

#include "chartview/form1_calc.h"
#include "edit_fixture.h"
#include "editing/dropsel.h"
#include "editing/mescount.h"
#include "editing/undo.h"
#include "frame/settings.h"

using mk::DocData;
using namespace edittest;

namespace {

struct SettingsGuard {
  int32_t speed = mk::g_ScrollSpeed;
  int16_t max = mk::g_MaxMeasure;
  ~SettingsGuard() {
    mk::g_ScrollSpeed = speed;
    mk::g_MaxMeasure = max;
  }
};

}  // namespace

TEST(MeasureCount, Cases) {
  SettingsGuard keep;
  const struct Case {
    const char* what;
    int speed, maxMeasure, count, delta;
    int16_t scrlUp;
    int oldMax, oldValue;
    bool ok;
    int newCount, newMax, newValue;
  } cases[] = {
      {"delta 0 sets the range again", 4, 499, 10, 0, -1, 0, 0, true, 10, 480, 480},
      {"exactly the maximum", 4, 12, 10, 2, 0, 480, 100, true, 12, 576, 100},
      {"one past the maximum", 4, 12, 10, 3, 0, 480, 100, false, 10, 0, 0},
      {"below 0", 4, 499, 2, -3, 0, 96, 0, false, 2, 0, 0},
      {"bottom-up growth keeps measure 0 at the bottom", 4, 499, 10, 1, -1, 480, 480, true, 11, 528, 528},
      {"bottom-up shrink below the old distance", 4, 499, 10, -8, -1, 480, 0, true, 2, 96, 0},
      {"top-down value above the new maximum", 4, 499, 10, -5, 0, 480, 400, true, 5, 240, 240},
      {"speed 5", 5, 499, 10, 0, 0, 0, 0, true, 10, 384, 0},
      {"a chart read past the limit keeps its count", 4, 499, 600, 0, 0, 0, 0, true, 600, 28800, 0},
      {"and cannot grow", 4, 499, 600, 1, 0, 28800, 0, false, 600, 0, 0},
      {"but can shrink", 4, 499, 600, -1, 0, 28800, 0, true, 599, 28752, 0},
      {"32-bit range at speed 1", 1, 32767, 1000, 0, 0, 0, 0, true, 1000, 192000, 0},
  };
  for (const Case& c : cases) {
    mk::g_ScrollSpeed = c.speed;
    mk::g_MaxMeasure = static_cast<int16_t>(c.maxMeasure);
    DocData d = SmallChart(2, c.count);
    d.ScrlUp = c.scrlUp;
    mk::MesChangeScroll s;
    EXPECT_EQ(mk::ApplyMesChange(d, c.delta, c.oldMax, c.oldValue, s), c.ok) << c.what;
    EXPECT_EQ(d.MesCount, c.newCount) << c.what;
    for (const mk::LaneMes& lane : d.Obj) EXPECT_EQ(lane.Mes.size(), static_cast<size_t>(d.MesCount) + 1) << c.what;
    if (!c.ok) continue;
    EXPECT_EQ(s.maximum, c.newMax) << c.what;
    EXPECT_EQ(s.value, c.newValue) << c.what;
  }
  EXPECT_EQ(mk::MesLabelText(10), "最大小節数： 10");
}

TEST(MeasureCount, ShrinkingRemovesObjectsOfEveryLaneForGood) {
  DocData d = SmallChart(2, 10);
  Put(d, 0, 9, 0, 120);  // tempo
  Put(d, 2, 10, 96, 5);
  Put(d, 1, 7, 0, 3);
  ASSERT_TRUE(mk::Mes_Change(d, -3, 499));
  ASSERT_TRUE(mk::Mes_Change(d, 3, 499));
  EXPECT_EQ(d.Obj[0].Mes[9].Obj[0], 0);
  EXPECT_EQ(d.Obj[2].Mes[10].Obj[96], 0);
  EXPECT_EQ(d.Obj[1].Mes[7].Obj[0], 3);
}

// The undo cases, each as a sequence on a chart with nothing unsaved.
TEST(UndoLevels, Cases) {
  {  // Place, then Undo: the object goes, the modified flag and UndoOn are cleared.
    DocData d = SmallChart(2, 4);
    mk::ObjBackup(d);
    EXPECT_EQ(d.Dirty, -1);
    EXPECT_EQ(d.UndoOn, -1);
    Put(d, 1, 1, 0, 7);
    ASSERT_TRUE(mk::Undo(d));
    EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 0);
    EXPECT_EQ(d.Dirty, 0);
    EXPECT_EQ(d.UndoOn, 0);
    EXPECT_FALSE(mk::Undo(d));  // nothing more to undo: nothing happens
    EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 0);
  }
  {  // Two edits: only the second is undone.
    DocData d = SmallChart(2, 4);
    mk::ObjBackup(d);
    Put(d, 1, 1, 0, 7);
    mk::ObjBackup(d);
    Put(d, 2, 2, 0, 8);
    ASSERT_TRUE(mk::Undo(d));
    EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 7);
    EXPECT_EQ(d.Obj[2].Mes[2].Obj[0], 0);
    EXPECT_EQ(d.Dirty, -1);
    EXPECT_FALSE(mk::Undo(d));
  }
  {  // Undo of a delete gives the objects back as the floating selection.
    DocData d = SmallChart(2, 4);
    d.Sel = {{}, {1, 2, 0, 9, 0}, {2, 3, 96, 4, -1}};
    d.SelCount = 2;
    mk::ObjBackup(d);
    d.Sel.assign(1, {});
    d.SelCount = 0;
    ASSERT_TRUE(mk::Undo(d));
    ASSERT_EQ(d.SelCount, 2);
    EXPECT_EQ(d.Sel[2], (mk::SelEntry{2, 3, 96, 4, -1}));
  }
  {  // A dropped snapshot: Undo still reverts the edit before it, and "*" stays.
    DocData d = SmallChart(2, 4);
    mk::ObjBackup(d);
    Put(d, 1, 1, 0, 7);
    mk::ObjBackup(d);  // a gesture that then changes nothing
    mk::DropLastBackup(d);
    EXPECT_EQ(d.Dirty, -1);
    EXPECT_EQ(d.UndoOn, -1);
    ASSERT_TRUE(mk::Undo(d));
    EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 0);
    EXPECT_EQ(d.Dirty, 0);
  }
  {  // The first snapshot dropped: nothing is left to undo.
    DocData d = SmallChart(2, 4);
    mk::ObjBackup(d);
    mk::DropLastBackup(d);
    EXPECT_EQ(d.UndoOn, 0);
    EXPECT_EQ(d.Dirty, -1);
    EXPECT_FALSE(mk::Undo(d));
    EXPECT_EQ(d.Obj.size(), 3u);  // the grid keeps its lanes
  }
  {  // Undo after the count changed restores the count with the grid.
    DocData d = SmallChart(2, 4);
    mk::ObjBackup(d);
    d.Sel = {{}, {1, 9, 0, 5, 0}};
    d.SelCount = 1;
    const mk::DropResult r = mk::ObjDeSel(d, 499);  // grows the chart to measure 9
    EXPECT_TRUE(r.grew);
    ASSERT_EQ(d.MesCount, 9);
    ASSERT_TRUE(mk::Undo(d));
    EXPECT_EQ(d.MesCount, 4);
    for (const mk::LaneMes& lane : d.Obj) EXPECT_EQ(lane.Mes.size(), 5u);
    ASSERT_TRUE(mk::Mes_Change(d, 0, 499));
  }
}

TEST(UndoLevels, ASnapshotIsIndependentOfLaterWrites) {
  for (const ShippedPair& p : ShippedPairs()) {
    DocData d = LoadShipped(p);
    const std::string before = Text(d);
    mk::ObjBackup(d);
    const DocData level1 = d;
    // Writes of every kind to the live grid.
    for (int l = 0; l <= d.LaneCount; ++l)
      for (int m = 0; m <= d.MesCount; m += 2) {
        mk::MesData& c = d.Obj[l].Mes.Write(m);
        c.Obj[0] = static_cast<int16_t>(l == 0 ? 200 : 3);
        c.BackObj[96] = 2;
        c.Length = 0.5;
      }
    ASSERT_TRUE(mk::Mes_Change(d, -1, 499));
    for (int l = 0; l <= d.LaneCount; ++l) d.Obj[l].Mes.Clear(1);
    EXPECT_TRUE(d.UndoObj == level1.UndoObj) << p.sample;
    EXPECT_TRUE(d.UndoObj2 == level1.UndoObj2) << p.sample;
    ASSERT_TRUE(mk::Undo(d));
    EXPECT_EQ(Text(d), before) << p.sample;
  }
}

TEST(UndoLevels, SnapshotsShareTheGrid) {
  DocData d = LoadShipped(ShippedPairs()[0]);
  mk::ObjBackup(d);
  mk::ObjBackup(d);
  for (size_t l = 0; l < d.Obj.size(); ++l)
    for (size_t m = 0; m < d.Obj[l].Mes.size(); ++m) {
      ASSERT_TRUE(d.Obj[l].Mes.SharesCell(d.UndoObj[l].Mes, m));
      ASSERT_TRUE(d.Obj[l].Mes.SharesCell(d.UndoObj2[l].Mes, m));
    }
  Put(d, 1, 1, 0, 7);
  EXPECT_FALSE(d.Obj[1].Mes.SharesCell(d.UndoObj[1].Mes, 1));
  EXPECT_TRUE(d.UndoObj[1].Mes.SharesCell(d.UndoObj2[1].Mes, 1));
}
