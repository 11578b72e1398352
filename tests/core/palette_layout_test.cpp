// The edit palette's layout, splitter, title drag, tool window width and re-docking decisions.
#include "frame/palette_layout.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

TEST(PaletteLayoutTest, ChildrenFollowTheTitleTheInputAreaAndTheSide) {
  struct Case {
    const char* name;
    PaletteLayoutInput in;
    PxRect title;
    std::optional<int> splitterX;
    std::optional<PxRect> defFrame, tab, lists, toolbar;
  };
  const Case cases[] = {
      {"docked right, input area shown",
       {.W = 240, .H = 600},
       {0, 0, 240, 17},
       std::nullopt,
       PxRect{4, 18, 234, 232},
       PxRect{4, 251, 234, 25},
       PxRect{4, 276, 234, 301},
       PxRect{0, 578, 240, 22}},
      {"docked left: the splitter at the right edge",
       {.W = 200, .H = 600, .side = PaletteSide::Left},
       {0, 0, 200, 17},
       198,
       PxRect{4, 18, 194, 232},
       PxRect{4, 251, 194, 25},
       PxRect{4, 276, 194, 301},
       PxRect{0, 578, 200, 22}},
      {"input area hidden: the tabs right under the title",
       {.W = 240, .H = 600, .defFrameShown = false},
       {0, 0, 240, 17},
       std::nullopt,
       PxRect{4, 18, 234, 232},
       PxRect{4, 19, 234, 25},
       PxRect{4, 44, 234, 533},
       PxRect{0, 578, 240, 22}},
      {"floating, input area hidden: a one-pixel title",
       {.W = 240, .H = 600, .floating = true, .defFrameShown = false},
       {0, 0, 240, 1},
       std::nullopt,
       PxRect{4, 2, 234, 232},
       PxRect{4, 3, 234, 25},
       PxRect{4, 28, 234, 549},
       PxRect{0, 578, 240, 22}},
      // T + L + D + 2 + B = 25 + 17 + 232 + 2 + 22 = 298.
      {"too short by nothing: the rest stays",
       {.W = 240, .H = 298},
       {0, 0, 240, 17},
       std::nullopt,
       PxRect{4, 18, 234, 232},
       std::nullopt,
       std::nullopt,
       std::nullopt},
      {"one pixel taller: an empty list",
       {.W = 240, .H = 299},
       {0, 0, 240, 17},
       std::nullopt,
       PxRect{4, 18, 234, 232},
       PxRect{4, 251, 234, 25},
       PxRect{4, 276, 234, 0},
       PxRect{0, 277, 240, 22}},
      // B + L + 1 = 40: not even the input area moves.
      {"shorter than the title and the toolbar",
       {.W = 240, .H = 40},
       {0, 0, 240, 17},
       std::nullopt,
       std::nullopt,
       std::nullopt,
       std::nullopt,
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PaletteLayout l = LayoutPalette(c.in);
    EXPECT_EQ(l.title, c.title);
    EXPECT_EQ(l.sideButtonX, c.in.W - 31);
    EXPECT_EQ(l.closeButtonX, c.in.W - 16);
    EXPECT_EQ(l.splitterX, c.splitterX);
    EXPECT_EQ(l.defFrame, c.defFrame);
    EXPECT_EQ(l.tab, c.tab);
    EXPECT_EQ(l.lists, c.lists);
    EXPECT_EQ(l.toolbar, c.toolbar);
    if (l.toolbar) {
      EXPECT_EQ(l.toolbar->y + l.toolbar->h, c.in.H);
    }
  }
}

TEST(PaletteLayoutTest, TheSplitterMovesByWholePixelsWithinItsLimits) {
  struct Case {
    const char* name;
    int width;
    double x;
    PaletteSide side;
    int frame;
    std::optional<int> result;
  };
  const Case cases[] = {
      {"1 pixel: nothing", 240, -1, PaletteSide::Right, 1000, std::nullopt},
      {"half a pixel rounds to 0", 240, -0.5, PaletteSide::Right, 1000, std::nullopt},
      {"1.5 rounds to 2", 240, -1.5, PaletteSide::Right, 1000, 242},
      {"2.5 rounds to 2", 240, -2.5, PaletteSide::Right, 1000, 242},
      {"2 away from the right edge widens", 240, -2, PaletteSide::Right, 1000, 242},
      {"2 toward the right edge narrows", 240, 2, PaletteSide::Right, 1000, 238},
      {"2 away from the left edge widens", 240, 2, PaletteSide::Left, 1000, 242},
      {"2 toward the left edge narrows", 240, -2, PaletteSide::Left, 1000, 238},
      {"narrowing stops at 140", 150, 20, PaletteSide::Right, 1000, 140},
      {"exactly 140", 150, 10, PaletteSide::Right, 1000, 140},
      {"widening stops at half the frame", 300, -900, PaletteSide::Right, 1000, 500},
      {"exactly half the frame", 490, -10, PaletteSide::Right, 1000, 500},
      {"odd frame: half rounded down", 490, -20, PaletteSide::Right, 1001, 500},
      {"a pointer far off the screen", 240, -1e300, PaletteSide::Right, 1000, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitterWidth(c.width, c.x, c.side, c.frame), c.result);
  }
}

TEST(PaletteLayoutTest, ATitleDragUndocksOnlyBeyond24PixelsAwayFromTheEdge) {
  struct Case {
    PaletteSide side;
    double x;
    bool undocks;
  };
  // Pressed at x = 100.
  const Case cases[] = {
      {PaletteSide::Right, 76, false},  {PaletteSide::Right, 76.5, false}, {PaletteSide::Right, 75, true},
      {PaletteSide::Right, 75.9, true}, {PaletteSide::Right, 400, false},  {PaletteSide::Right, -5000, true},
      {PaletteSide::Left, 124, false},  {PaletteSide::Left, 125, true},    {PaletteSide::Left, -400, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TitleDragUndocks(100, c.x, c.side), c.undocks) << static_cast<int>(c.side) << " " << c.x;
}

TEST(PaletteLayoutTest, TheToolWindowStaysBetween140PixelsAndHalfTheFrame) {
  EXPECT_EQ(ToolWindowInnerWidth(100, 1000), 140);
  EXPECT_EQ(ToolWindowInnerWidth(140, 1000), 140);
  EXPECT_EQ(ToolWindowInnerWidth(300, 1000), 300);
  EXPECT_EQ(ToolWindowInnerWidth(500, 1000), 500);
  EXPECT_EQ(ToolWindowInnerWidth(501, 1000), 500);
  EXPECT_EQ(ToolWindowInnerWidth(200, 200), 140);                             // a frame too small: the lower limit wins
  EXPECT_EQ(ToolWindowInnerWidth(ToolWindowInnerWidth(200, 200), 200), 140);  // and stays
}

TEST(PaletteLayoutTest, AFloatingPaletteDocksWhereItsToolWindowWasLeft) {
  // A tool window 300 wide, a frame 1000 wide inside.
  EXPECT_EQ(RedockSide(-150, 300, 1000), std::nullopt);
  EXPECT_EQ(RedockSide(-151, 300, 1000), PaletteSide::Left);
  EXPECT_EQ(RedockSide(850, 300, 1000), std::nullopt);
  EXPECT_EQ(RedockSide(851, 300, 1000), PaletteSide::Right);
  EXPECT_EQ(RedockSide(-75, 151, 1000), std::nullopt);  // half of an odd width: 75.5
  EXPECT_EQ(RedockSide(-76, 151, 1000), PaletteSide::Left);

  // Undocked from the right, docked again at the left: the side button points right.
  PaletteDock dock;
  EXPECT_FALSE(dock.Tick(-1000, 300, 1000)) << "docked: a tick changes nothing";
  ASSERT_TRUE(dock.Float());
  EXPECT_FALSE(dock.Float());
  dock.SwitchSide();  // not reachable while floating
  EXPECT_EQ(dock.Side(), PaletteSide::Right);
  EXPECT_FALSE(dock.Tick(400, 300, 1000));
  EXPECT_TRUE(dock.Floating());
  EXPECT_TRUE(dock.Tick(-200, 300, 1000));
  EXPECT_FALSE(dock.Floating());
  EXPECT_EQ(dock.Side(), PaletteSide::Left);
  EXPECT_STREQ(SideButtonFor(dock.Side()).glyph, "▶");
  EXPECT_STREQ(SideButtonFor(dock.Side()).tip, "右へ移動");
  EXPECT_EQ(LayoutPalette({.W = 240, .H = 600, .side = dock.Side()}).splitterX, 238);
  dock.SwitchSide();
  EXPECT_EQ(dock.Side(), PaletteSide::Right);
  EXPECT_STREQ(SideButtonFor(dock.Side()).glyph, "◀");
  EXPECT_STREQ(SideButtonFor(dock.Side()).tip, "左へ移動");
}

}  // namespace
