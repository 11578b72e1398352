// Window arrangement geometry: cascade, both tilings and icons for one, two and five windows.
#include "frame/arrange.h"

#include <gtest/gtest.h>

using namespace mk;

namespace {

using Rects = std::vector<PxRect>;

TEST(ArrangeTest, CascadeOffsetsEachWindowByOneStep) {
  EXPECT_EQ(CascadeRects(0, 800, 600, 24), Rects{});
  EXPECT_EQ(CascadeRects(1, 800, 600, 24), (Rects{{0, 0, 800, 600}}));
  EXPECT_EQ(CascadeRects(2, 800, 600, 24), (Rects{{0, 0, 776, 576}, {24, 24, 776, 576}}));
  EXPECT_EQ(CascadeRects(5, 800, 600, 24),
            (Rects{{0, 0, 704, 504}, {24, 24, 704, 504}, {48, 48, 704, 504}, {72, 72, 704, 504}, {96, 96, 704, 504}}));
  // A small area: windows keep half of it and start again at the corner.
  EXPECT_EQ(CascadeRects(5, 200, 100, 24),
            (Rects{{0, 0, 152, 52}, {24, 24, 152, 52}, {48, 48, 152, 52}, {0, 0, 152, 52}, {24, 24, 152, 52}}));
}

TEST(ArrangeTest, HorizontalTilingStacksTheWindowsOneAboveTheOther) {
  EXPECT_EQ(TileRects(1, 800, 600, true), (Rects{{0, 0, 800, 600}}));
  EXPECT_EQ(TileRects(2, 800, 601, true), (Rects{{0, 0, 800, 300}, {0, 300, 800, 301}}));
  // Five: two rows, the lower one taking the third window.
  EXPECT_EQ(
      TileRects(5, 800, 600, true),
      (Rects{{0, 0, 400, 300}, {400, 0, 400, 300}, {0, 300, 266, 300}, {266, 300, 267, 300}, {533, 300, 267, 300}}));
}

TEST(ArrangeTest, VerticalTilingSetsTheWindowsSideBySide) {
  EXPECT_EQ(TileRects(1, 800, 600, false), (Rects{{0, 0, 800, 600}}));
  EXPECT_EQ(TileRects(2, 801, 600, false), (Rects{{0, 0, 400, 600}, {400, 0, 401, 600}}));
  EXPECT_EQ(
      TileRects(5, 800, 600, false),
      (Rects{{0, 0, 400, 300}, {0, 300, 400, 300}, {400, 0, 400, 200}, {400, 200, 400, 200}, {400, 400, 400, 200}}));
}

TEST(ArrangeTest, TilesCoverTheAreaExactly) {
  for (bool horizontal : {true, false})
    for (int n : {1, 2, 3, 4, 5, 7, 30}) {
      long long area = 0;
      for (const PxRect& r : TileRects(n, 797, 611, horizontal)) {
        area += static_cast<long long>(r.w) * r.h;
        EXPECT_GE(r.x, 0);
        EXPECT_GE(r.y, 0);
        EXPECT_LE(r.x + r.w, 797);
        EXPECT_LE(r.y + r.h, 611);
      }
      EXPECT_EQ(area, 797LL * 611) << n << (horizontal ? " rows" : " columns");
      EXPECT_EQ(TileRects(n, 797, 611, horizontal).size(), static_cast<size_t>(n));
    }
}

TEST(ArrangeTest, IconsLineUpAlongTheBottomAndWrapUpwards) {
  EXPECT_EQ(IconRects(1, 160, 30, 800, 600), (Rects{{0, 570, 160, 30}}));
  EXPECT_EQ(IconRects(2, 160, 30, 800, 600), (Rects{{0, 570, 160, 30}, {160, 570, 160, 30}}));
  EXPECT_EQ(IconRects(5, 160, 30, 400, 600),
            (Rects{{0, 570, 160, 30}, {160, 570, 160, 30}, {0, 540, 160, 30}, {160, 540, 160, 30}, {0, 510, 160, 30}}));
  EXPECT_EQ(IconRects(2, 160, 30, 100, 600), (Rects{{0, 570, 160, 30}, {0, 540, 160, 30}}));  // narrower than one
}

}  // namespace
