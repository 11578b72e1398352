// The lane header strip: cells composed from the header sheet, header values, lane lines.
#include <gtest/gtest.h>

#include "chartview/laneheader.h"
#include "chartview/sprites.h"
#include "drawfixture.h"

using namespace drawtest;
using plat::Picture;

namespace {

struct Strip {
  mk::DocData doc;
  mk::SpriteSheets sheets;
  mk::ViewState view;
  Picture pic{300, 25};

  explicit Strip(mk::DocData d) : doc(std::move(d)) {
    view.CanvasWidth = 300;
    view.Parts.Line = false;
  }
  void Draw() {
    sheets = MakeSheets(doc);
    EXPECT_TRUE(mk::HeadDraw2(doc, view, sheets, pic));
  }
  // Background by part, ANDed with the lane's mask cell, ORed with its text cell.
  plat::Color CellPixel(int lane, int dx, int dy) const {
    const int part = lane == 0 ? 0 : doc.Lane[lane].Part;
    const int bg = part == 88 ? 60 : part == 99 ? 30 : 0;
    const int cx = 30 * (lane % 24), r = lane / 24;
    return (sheets.Head.Pixel(bg + dx, dy) & sheets.Head.Pixel(cx + dx, 50 * (r + 1) + dy)) |
           sheets.Head.Pixel(cx + dx, 50 * r + 25 + dy);
  }
  // The glyph g (upper or lower row) over what lies at (x, y) in the cell picture.
  plat::Color GlyphOver(plat::Color under, int g, int gx, int gy, bool lower) const {
    const int row = lower ? 10 : 0;
    return (under & sheets.Obj.Pixel(56 + 7 * g + gx, row + 20 + gy)) | sheets.Obj.Pixel(56 + 7 * g + gx, row + gy);
  }
};

}  // namespace

TEST(LaneHeaderStrip, CellsFollowTheHorizontalScroll) {
  Strip s(MakeDoc(14));
  s.doc.Lane[4].Part = 99;
  s.doc.Lane[5].Part = 88;
  for (int hscroll : {0, 1}) {
    s.view.HScrollValue = hscroll;
    s.Draw();
    const int x0 = 5 * hscroll;
    for (int l = 0; l <= 10; ++l)
      for (int dy = 0; dy < 25; ++dy)
        for (int dx = 0; dx < 30; ++dx) {
          const int x = 30 * l - x0 + dx;
          if (x < 0 || x >= 300) continue;
          ASSERT_EQ(s.pic.Pixel(x, dy), s.CellPixel(l, dx, dy)) << "lane " << l << " at " << x << "," << dy;
        }
  }
  // Backgrounds by part: blue-grey, red for part 99, green for part 88.
  EXPECT_EQ(s.pic.Pixel(30 * 3 - 5 + 29, 0), plat::Rgb(126, 126, 189));
  EXPECT_EQ(s.pic.Pixel(30 * 4 - 5 + 29, 0), plat::Rgb(189, 126, 126));
  EXPECT_EQ(s.pic.Pixel(30 * 5 - 5 + 29, 0), plat::Rgb(126, 189, 126));
}

TEST(LaneHeaderStrip, LaneLinesHeavyAtPartEdgesAndNothingRightOfTheLastLane) {
  Strip s(MakeDoc(6));  // parts 1 1 1 2 2 2
  s.view.Parts.Line = true;
  s.Draw();
  for (int y : {0, 12, 24}) {
    EXPECT_EQ(s.pic.Pixel(0, y), kWhite);   // left edge of lane 0
    EXPECT_EQ(s.pic.Pixel(29, y), kWhite);  // part 0 to part 1
    EXPECT_EQ(s.pic.Pixel(30, y), kWhite);
    EXPECT_EQ(s.pic.Pixel(59, y), kGrey);  // same part: plain grey, copied
    EXPECT_EQ(s.pic.Pixel(60, y), kGrey);
    EXPECT_EQ(s.pic.Pixel(119, y), kWhite);  // part 1 to part 2
    EXPECT_EQ(s.pic.Pixel(209, y), kWhite);  // right edge of lane 6
    EXPECT_EQ(s.pic.Pixel(210, y), kWhite);
    for (int x = 211; x < 300; ++x) ASSERT_EQ(s.pic.Pixel(x, y), kBlack) << x;
  }
}

TEST(LaneHeaderStrip, HeaderValuesInBothModesAndLowerCase) {
  mk::DocData d = MakeDoc(4);
  d.Fmt.WNum = 3;
  d.Fmt.BNum = 1;
  d.Lane[1].Part = 88;
  d.Lane[1].Hdr = 10;    // BGA mode 1: 0A
  d.Lane[2].Hdr = 1295;  // WAV mode 3: ZZ
  d.Lane[2].Hdr2 = 37;   // 11
  d.Lane[3].Hdr2 = 46;   // 1A, alone in the second half
  d.Lane[4].Hdr = -4;    // not above 0: nothing
  for (bool lower : {false, true}) {
    Strip s(d);
    s.view.Parts.Lower = lower;
    s.Draw();
    const struct {
      int lane, dx, g;
    } glyphs[] = {{1, 1, 0}, {1, 8, 10}, {2, 1, 35}, {2, 8, 35}, {2, 15, 1}, {2, 22, 1}, {3, 15, 1}, {3, 22, 10}};
    for (const auto& gl : glyphs)
      for (int gy = 0; gy < 8; ++gy)  // rows 17 to 24: the strip cuts the last two
        for (int gx = 0; gx < 7; ++gx) {
          const int x = 30 * gl.lane + gl.dx + gx;
          const plat::Color under = s.CellPixel(gl.lane, gl.dx + gx, 17 + gy);
          ASSERT_EQ(s.pic.Pixel(x, 17 + gy), s.GlyphOver(under, gl.g, gx, gy, lower))
              << "lane " << gl.lane << " glyph " << gl.g << " lower " << lower;
        }
    for (int dx = 0; dx < 15; ++dx)  // lane 3's first half and lane 4 keep the plain cell
      for (int dy = 0; dy < 25; ++dy) {
        ASSERT_EQ(s.pic.Pixel(90 + dx, dy), s.CellPixel(3, dx, dy));
        ASSERT_EQ(s.pic.Pixel(120 + dx * 2, dy), s.CellPixel(4, dx * 2, dy));
      }
  }
}

TEST(LaneHeaderStrip, NoLanesLeavesTheStripAsItWas) {
  mk::DocData d = MakeDoc(0);
  const mk::SpriteSheets sheets = MakeSheets(d);
  mk::ViewState v;
  Picture strip(100, 25, plat::Rgb(1, 2, 3));
  EXPECT_FALSE(mk::HeadObj(d, v, sheets, strip));
  EXPECT_EQ(strip.Pixel(50, 10), plat::Rgb(1, 2, 3));
}
