// Canvas pixels to the pointer fields, the status texts, and the hit test of a select press.
#include <gtest/gtest.h>

#include "editing/cursorpos.h"
#include "sel_fixture.h"

namespace {

using mk::Hit;
using seltest::MakeDoc;
using seltest::Put;

struct PosCase {
  const char* name;
  bool up;
  double zoom;
  int scroll, grid, hscroll;
  double x, y;
  int lane, mes, step, tick, curX, curY;
};

TEST(UpdateCursorPos, ConvertsCanvasPixelsBothDirections) {
  const PosCase cases[] = {
      // Bottom edge of a bottom-up chart: the first grid line of measure 0, no +1 on step 0.
      {"bottom-up origin", true, 1, 0, 16, 0, 45, 400, 1, 0, 0, 0, 31, 390},
      // Step 1 of a bottom-up chart: the cursor box moves up to the grid line, then one pixel.
      {"bottom-up step 1", true, 1, 0, 16, 0, 45, 387, 1, 0, 1, 13, 31, 379},
      {"top-down zoom 2 scrolled", false, 2, 300, 16, 0, 60, 200, 2, 2, 1, 16, 61, 192},
      // Grid 13 at zoom 1: 14 pixels a step bottom-up (192 \ 13), 15 top-down (nearest).
      {"grid 13 bottom-up", true, 1, 0, 13, 0, 0, 400 - 28, 0, 0, 2, 28, 1, 400 - 28 + 0 - 10 + 1},
      {"grid 13 top-down", false, 1, 0, 13, 0, 0, 28, 0, 0, 1, 28, 1, 28 - 13},
      // Horizontal scroll 12 (60 pixels): x 10 lies in lane 2.
      {"scrolled lanes", false, 1, 0, 16, 12, 10, 0, 2, 0, 0, 0, 1, 0},
      {"past the measure count", false, 1, 192 * 12, 4, 0, 5, 100, 0, 12, 2, 100, 1, 96},
  };
  for (const PosCase& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = MakeDoc(6);
    d.ScrlUp = c.up ? -1 : 0;
    d.Zoom = c.zoom;
    d.ScrollPos = c.scroll;
    d.GridDiv = static_cast<int16_t>(c.grid);
    mk::UpdateCursorPos(d, {521, 400, c.hscroll}, c.x, c.y);
    EXPECT_EQ(d.CurLane, c.lane);
    EXPECT_EQ(d.CurMes, c.mes);
    EXPECT_EQ(d.CurStep, c.step);
    EXPECT_EQ(d.CurTick, c.tick);
    EXPECT_EQ(d.CurX, c.curX);
    EXPECT_EQ(d.CurY, c.curY);
  }
}

TEST(UpdateCursorPos, EdgesAreInsideAndBeyondLeavesTickAndBox) {
  mk::DocData d = MakeDoc(30);
  d.ScrlUp = -1;
  const mk::CanvasGeom g{300, 400, 0};
  mk::UpdateCursorPos(d, g, 300, 400);
  EXPECT_EQ(d.CurLane, 10);
  EXPECT_EQ(d.CurMes, 0);
  const int16_t tick = d.CurTick, x = d.CurX, y = d.CurY;
  for (auto [px, py] : {std::pair{301.0, 10.0}, {10.0, 401.0}, {-1.0, 10.0}, {10.0, -0.5}}) {
    d.CurTick = tick, d.CurX = x, d.CurY = y;
    mk::UpdateCursorPos(d, g, px, py);
    EXPECT_EQ(d.CurLane, -1);
    EXPECT_EQ(d.CurMes, -1);
    EXPECT_EQ(d.CurStep, -1);
    EXPECT_EQ(d.CurTick, tick);
    EXPECT_EQ(d.CurX, x);
    EXPECT_EQ(d.CurY, y);
    EXPECT_EQ(mk::CursorLaneText(d), "レーン-- (Part--)");
    EXPECT_EQ(mk::CursorPosText(d), "--小節目   --拍");
  }
}

TEST(UpdateCursorPos, RightOfTheLastLaneKeepsThePosition) {
  mk::DocData d = MakeDoc(4);
  d.ScrlUp = 0;
  mk::UpdateCursorPos(d, {521, 400, 0}, 200, 30);  // lane 6 would be there
  EXPECT_EQ(d.CurLane, -1);
  EXPECT_EQ(d.CurMes, 0);
  EXPECT_EQ(d.CurStep, 2);
  EXPECT_EQ(mk::CursorLaneText(d), "レーン-- (Part--)");
  EXPECT_EQ(mk::CursorPosText(d), "0小節目   2拍");
  mk::UpdateCursorPos(d, {521, 400, 0}, 100, 30);
  EXPECT_EQ(mk::CursorLaneText(d), "レーン3 (Part1)");
  d.Lane[3].Part = 88;
  EXPECT_EQ(mk::CursorLaneText(d), "レーン3 (Part88)");
}

struct HitCase {
  const char* name;
  double zoom;
  int mes, tick;        // pointer
  int putMes, putTick;  // where the object lies (putMes -1: none)
  int front, back;      // its values
  bool selected;        // a selected entry lies there instead
  Hit code;
  int hitMes, hitTick;
};

TEST(HitTestObject, ScansBackwardFromThePointer) {
  const HitCase cases[] = {
      {"zoom 10: the pointer's tick only", 10, 3, 10, 3, 10, 5, 0, false, Hit::Front, 3, 10},
      {"zoom 10: one tick before is missed", 10, 3, 10, 3, 9, 5, 0, false, Hit::None, 3, 10},
      {"zoom 1: nine ticks back", 1, 3, 10, 3, 1, 5, 0, false, Hit::Front, 3, 1},
      {"zoom 1: ten ticks back is missed", 1, 3, 10, 3, 0, 5, 0, false, Hit::None, 3, 1},
      {"start of the chart", 1, 0, 2, -1, 0, 0, 0, false, Hit::None, -1, 192},
      // The previous measure is entered at its spare tick 192.
      {"across the measure: 192 then 191", 8, 5, 0, 4, 191, 5, 0, false, Hit::Front, 4, 191},
      {"across the measure: 192 uses a position", 9, 5, 0, 4, 191, 5, 0, false, Hit::None, 4, 192},
      {"back layer", 5, 2, 40, 2, 38, 0, 7, false, Hit::Back, 2, 38},
      {"front before back", 5, 2, 40, 2, 38, 4, 7, false, Hit::Front, 2, 38},
      {"an open object is no hit", 5, 2, 40, 2, 38, 10004, 0, false, Hit::None, 2, 35},
      {"an open object over a back object", 5, 2, 40, 2, 38, 10004, 7, false, Hit::Back, 2, 38},
      {"a selected entry", 5, 2, 40, 2, 38, 0, 0, true, Hit::Selected, 2, 38},
      {"a selected entry over a grid object", 5, 2, 40, 2, 38, 4, 0, true, Hit::Selected, 2, 38},
  };
  for (const HitCase& c : cases) {
    SCOPED_TRACE(c.name);
    mk::DocData d = MakeDoc(4);
    d.Zoom = c.zoom;
    if (c.putMes >= 0) {
      if (c.front) Put(d, 2, c.putMes, c.putTick, c.front);
      if (c.back) Put(d, 2, c.putMes, c.putTick, c.back, true);
      if (c.selected) {
        d.Sel.push_back(seltest::E(2, c.putMes, c.putTick, 9, -1));
        d.SelCount = 1;
      }
    }
    const mk::HitResult r = mk::HitTestObject(d, 2, c.mes, c.tick);
    EXPECT_EQ(r.Code, c.code);
    EXPECT_EQ(r.Mes, c.hitMes);
    EXPECT_EQ(r.Tick, c.hitTick);
  }
}

TEST(HitTestObject, OtherLanesAndSelectedEntriesElsewhereAreNoHit) {
  mk::DocData d = MakeDoc(4);
  Put(d, 3, 1, 20, 5);
  d.Sel.push_back(seltest::E(1, 1, 20, 5));
  d.SelCount = 1;
  EXPECT_EQ(mk::HitTestObject(d, 2, 1, 20).Code, Hit::None);
}

}  // namespace
