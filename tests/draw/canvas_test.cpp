// The canvas repaint: geometry read at positions computed from the layout, publishing, and the
// fast repaint held pixel for pixel to the piecewise one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas_reference.h"
#include "chartview/canvasdraw.h"
#include "chartview/labels.h"
#include "chartview/sprites.h"
#include "drawfixture.h"

using namespace drawtest;
using plat::Picture;

namespace {

struct Recorder : mk::SelectionPublisher {
  std::vector<std::pair<std::string, bool>> calls;
  void PublishSelection(const std::string& info, bool enabled) override { calls.emplace_back(info, enabled); }
};

mk::ViewState View(int w, int h, int hscroll = 0) {
  mk::ViewState v;
  v.CanvasWidth = w;
  v.CanvasHeight = h;
  v.HScrollValue = hscroll;
  return v;
}

Picture Render(const mk::DocData& d, const mk::ViewState& v, Recorder* rec = nullptr, bool current = true) {
  const mk::SpriteSheets s = MakeSheets(d);
  Picture c;
  EXPECT_TRUE(mk::ObjDraw(d, v, s, c, rec, current));
  return c;
}

void AddSel(mk::DocData& d, int lane, int mes, int tick, int value, int back) {
  d.Sel.push_back(mk::SelEntry{static_cast<int16_t>(lane), static_cast<int16_t>(mes), static_cast<int16_t>(tick),
                               static_cast<int16_t>(value), static_cast<int16_t>(back)});
  d.SelCount = static_cast<int16_t>(d.Sel.size() - 1);
}

plat::Color Tile(const mk::DocData& d, int lane) { return mk::ScaleColor(d.Lane[lane].Color1, d.Fmt.Bright); }
plat::Color Light(const mk::Rgb& c) { return mk::ScaleColor(c, 255); }
plat::Color Dark(const mk::Rgb& c) { return mk::ScaleColor(c, 64); }

// True when the w x h block at (x, y) of the canvas equals the block at (sx, sy) of the sheet.
bool SameBlock(const Picture& c, int x, int y, const Picture& s, int sx, int sy, int w, int h) {
  for (int yy = 0; yy < h; ++yy)
    for (int xx = 0; xx < w; ++xx)
      if (c.Pixel(x + xx, y + yy) != s.Pixel(sx + xx, sy + yy)) return false;
  return true;
}

int CountColor(const Picture& p, plat::Color c, int x1, int y1, int x2, int y2) {
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) n += p.Pixel(x, y) == c;
  return n;
}

}  // namespace

TEST(CanvasGeometry, LinesTilesAndLaneEdgesBottomUp) {
  mk::DocData d = MakeDoc(6);  // parts 1 1 1 2 2 2
  const Picture c = Render(d, View(300, 400));
  // Row 1 is measure 0 from y 208 to 400; row 2 measure 1 from 16 to 208.
  EXPECT_EQ(c.Pixel(45, 207), kWhite);
  EXPECT_EQ(c.Pixel(45, 208), kWhite);
  EXPECT_EQ(c.Pixel(45, 15), kWhite);
  EXPECT_EQ(c.Pixel(45, 220), plat::Rgb(64, 64, 64));  // grid 16: every 12 pixels
  EXPECT_EQ(c.Pixel(45, 232), plat::Rgb(64, 64, 64));
  EXPECT_EQ(c.Pixel(45, 256), kGrey);  // beats over the grid
  EXPECT_EQ(c.Pixel(45, 352), kGrey);
  EXPECT_EQ(c.Pixel(45, 221), Tile(d, 1));
  const int y = 101;                  // no horizontal line on this row
  EXPECT_EQ(c.Pixel(0, y), kWhite);   // left edge of lane 0
  EXPECT_EQ(c.Pixel(15, y), kBlack);  // lane 0 has no tile
  EXPECT_EQ(c.Pixel(29, y), kWhite);  // lanes 0 and 1 differ in part
  EXPECT_EQ(c.Pixel(30, y), kWhite);
  EXPECT_EQ(c.Pixel(59, y), Tile(d, 1) | kGrey);  // same part: thin line ORed
  EXPECT_EQ(c.Pixel(60, y), Tile(d, 2) | kGrey);
  EXPECT_EQ(c.Pixel(119, y), kWhite);  // part boundary
  EXPECT_EQ(c.Pixel(209, y), kWhite);  // right edge of the last lane
  EXPECT_EQ(c.Pixel(210, y), kWhite);
  EXPECT_EQ(CountColor(c, kBlack, 211, y, 299, y), 89);  // nothing right of it
}

// Measure, grid (16) and beat lines in both scroll directions, with the first row scrolled.
TEST(CanvasGeometry, HorizontalLinesInBothDirections) {
  mk::DocData d = MakeDoc(6);
  const plat::Color gridC = plat::Rgb(64, 64, 64);
  const struct {
    int up, scroll;
    std::vector<int> measure, grid, beat;
  } cases[] = {
      // Top-down: row k's upper edge at 192 (k - 1) - OFF, tick 0 at the top.
      {0, 0, {0, 191, 192, 383, 384}, {12, 24, 60, 204}, {48, 96, 144, 240}},
      {0, 50, {141, 142, 333, 334}, {10, 22, 154}, {46, 94, 190, 238}},
      // Bottom-up: row 1's lower edge at H + OFF, the next measure above.
      {-1, 50, {65, 66, 257, 258}, {6, 78, 270}, {18, 114, 162, 306, 354}},
  };
  for (const auto& c : cases) {
    d.ScrlUp = static_cast<int16_t>(c.up);
    d.ScrollPos = c.scroll;
    const Picture p = Render(d, View(300, 400));
    for (int y : c.measure) EXPECT_EQ(p.Pixel(45, y), kWhite) << c.up << "/" << c.scroll << " y " << y;
    for (int y : c.grid) EXPECT_EQ(p.Pixel(45, y), gridC) << c.up << "/" << c.scroll << " y " << y;
    for (int y : c.beat) EXPECT_EQ(p.Pixel(45, y), kGrey) << c.up << "/" << c.scroll << " y " << y;
    for (int y : c.grid) EXPECT_EQ(p.Pixel(45, y + 1), Tile(d, 1)) << c.up << "/" << c.scroll << " y " << y;
  }
}

TEST(CanvasGeometry, LanesBeyond58KeepTheirTiles) {
  mk::DocData d = MakeDoc(130);
  // Row 161 has no line and lies between the measure numbers of rows 1 and 2.
  const Picture c = Render(d, View(300, 400, 360));  // lanes 60 to 69 in view
  for (int l : {60, 65, 69}) EXPECT_EQ(c.Pixel(30 * l - 1800 + 15, 161), Tile(d, l)) << l;
  const Picture far = Render(d, View(300, 400, 720));  // lanes 120 to 129
  EXPECT_EQ(far.Pixel(30 * 125 - 3600 + 15, 161), Tile(d, 125));
}

TEST(CanvasGeometry, GridFiveAndBlackLanesAndSwitches) {
  mk::DocData d = MakeDoc(3);
  d.GridDiv = 5;
  d.Lane[2].Color1 = {0, 0, 0};
  const Picture c = Render(d, View(200, 400));
  for (int g : {246, 284, 322, 360}) EXPECT_EQ(c.Pixel(45, g), plat::Rgb(64, 64, 64)) << g;  // 38 apart
  EXPECT_EQ(c.Pixel(45, 247), Tile(d, 1));
  EXPECT_EQ(c.Pixel(75, 247), kBlack);  // lane 2's colour is black: no tile

  mk::ViewState noGrid = View(200, 400);
  noGrid.Parts.Grid = false;
  const Picture g = Render(d, noGrid);
  EXPECT_EQ(g.Pixel(45, 246), Tile(d, 1));
  EXPECT_EQ(g.Pixel(45, 256), kGrey);
  d.GridDiv = 192;  // "無制限": no grid lines either
  EXPECT_EQ(FirstDifference(Render(d, View(200, 400)), g), "");

  mk::ViewState bare = View(200, 400);
  bare.Parts.Line = false;
  bare.Parts.Back = false;
  const Picture b = Render(d, bare);
  EXPECT_EQ(b.Pixel(45, 207), kBlack);
  EXPECT_EQ(b.Pixel(0, 101), kBlack);
  EXPECT_EQ(b.Pixel(45, 101), kBlack);
}

TEST(CanvasGeometry, FrontBackAndOpenObjectsInBothDirections) {
  mk::DocData d = MakeDoc(6);
  Put(d, 1, 0, 0, 0x21);
  Put(d, 2, 0, 96, 0x33, true);
  Put(d, 3, 1, 48, 10005);
  Put(d, 0, 0, 0, 120);
  for (int up : {-1, 0}) {
    d.ScrlUp = static_cast<int16_t>(up);
    const Picture c = Render(d, View(300, 400));
    const int y1 = up ? 390 : 0;                   // tick 0 of measure 0
    const int y2 = up ? 400 - 96 - 10 : 96;        // tick 96 of measure 0
    const int y3 = up ? 208 - 48 - 10 : 192 + 48;  // tick 48 of measure 1
    EXPECT_EQ(c.Pixel(31, y1), Light(d.Lane[1].Color2)) << up;
    EXPECT_EQ(c.Pixel(58, y1 + 9), Dark(d.Lane[1].Color2)) << up;
    EXPECT_EQ(c.Pixel(1, y1), plat::Rgb(192, 192, 192)) << up;  // tempo box
    EXPECT_EQ(c.Pixel(64, y2), Light(d.Lane[2].Color3)) << up;  // back box 3 pixels in
    EXPECT_EQ(c.Pixel(85, y2 + 9), Dark(d.Lane[2].Color3)) << up;
    EXPECT_EQ(c.Pixel(91, y3), plat::Rgb(255, 0, 255)) << up;  // open box over three lanes
    EXPECT_EQ(c.Pixel(178, y3 + 9), plat::Rgb(64, 0, 64)) << up;
    EXPECT_EQ(c.Pixel(100, y3 + 5), plat::Rgb(128, 0, 128)) << up;
    // Its label, for definition 5, sits one lane to the right.
    Picture label(300, 400, plat::Rgb(128, 0, 128));
    mk::PartsSwitches parts;
    mk::DrawObjectLabel(d, parts, MakeSheets(d).Obj, label, 121, y3, 3, 5, 0);
    EXPECT_TRUE(SameBlock(c, 121, y3 + 1, label, 121, y3 + 1, 26, 8)) << up;
  }
}

TEST(CanvasGeometry, OneMeasureChartShowsItsObjectsAndLength) {
  mk::DocData d = MakeDoc(2, 0);
  Put(d, 1, 0, 0, 7);
  d.Obj[0].Mes.Write(0).Length = 0.5;
  mk::ViewState v = View(200, 400);
  v.Parts.Back = false;
  v.Parts.Line = false;
  const Picture c = Render(d, v);
  EXPECT_EQ(c.Pixel(31, 390), Light(d.Lane[1].Color2));
  EXPECT_GT(CountColor(c, plat::Rgb(192, 192, 192), 35, 213, 100, 240), 5);
}

TEST(CanvasGeometry, MeasureNumbersAndLengths) {
  mk::DocData d = MakeDoc(2, 3);
  d.Obj[0].Mes.Write(1).Length = 0.75;
  mk::ViewState v = View(300, 400);
  v.Parts.Back = false;
  v.Parts.Line = false;
  const mk::SpriteSheets s = MakeSheets(d);
  Picture c;
  mk::ObjDraw(d, v, s, c, nullptr, true);
  auto digitAt = [&](const Picture& p, int x, int y, int digit) {
    return SameBlock(p, x, y, s.Obj, 56 + 35 * digit, 41, 35, 67);
  };
  // Row 1 (measure 0) has its middle at 304, row 2 (measure 1) at 112; centred on the width.
  EXPECT_TRUE(digitAt(c, 98, 400 - 96 - 33, 0));
  EXPECT_TRUE(digitAt(c, 168, 400 - 96 - 33, 0));
  EXPECT_TRUE(digitAt(c, 168, 208 - 96 - 33, 1));
  // Length 0.75 on measure 1: grey text near the row's upper edge (16), none on measure 0.
  EXPECT_GT(CountColor(c, plat::Rgb(192, 192, 192), 35, 21, 100, 45), 5);
  EXPECT_EQ(CountColor(c, plat::Rgb(192, 192, 192), 0, 213, 299, 260), 0);

  d.ScrollPos = 12 * 192;  // rows past the last measure are numbered too
  mk::ObjDraw(d, v, s, c, nullptr, true);
  EXPECT_TRUE(digitAt(c, 98, 271, 0));
  EXPECT_TRUE(digitAt(c, 133, 271, 1));
  EXPECT_TRUE(digitAt(c, 168, 271, 2));
  d.ScrollPos = 1000 * 192;  // only the last three digits
  mk::ObjDraw(d, v, s, c, nullptr, true);
  EXPECT_TRUE(digitAt(c, 98, 271, 0));
  EXPECT_TRUE(digitAt(c, 168, 271, 0));
  EXPECT_TRUE(digitAt(c, 168, 79, 1));
}

TEST(CanvasGeometry, WallpaperCentredTiledAndStretched) {
  mk::DocData d = MakeDoc(2);
  d.CanvasWallOn = -1;
  Picture wall(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) wall.FillRect(x, y, x, y, plat::Rgb(10 + x, 20 + y, 200));
  Picture stretched(300, 400, plat::Rgb(3, 4, 5));
  mk::ViewState v = View(300, 400);
  v.Parts.Line = false;
  v.Wall = &wall;
  v.WallStretched = &stretched;

  d.CanvasWallMode = 1;  // (293 / 2, 395 / 2) = (146.5, 197.5) round to (146, 198)
  Picture c = Render(d, v);
  EXPECT_TRUE(SameBlock(c, 146, 198, wall, 0, 0, 7, 5));
  EXPECT_EQ(c.Pixel(145, 198), kBlack);
  EXPECT_EQ(c.Pixel(45, 101), kBlack);  // no lane tiles under a wallpaper

  d.CanvasWallMode = 2;
  c = Render(d, v);
  for (int y : {0, 5, 395})
    for (int x : {0, 7, 294}) EXPECT_TRUE(SameBlock(c, x, y, wall, 0, 0, std::min(7, 300 - x), 5)) << x << "," << y;

  d.CanvasWallMode = 3;
  c = Render(d, v);
  EXPECT_EQ(c.Pixel(10, 10), plat::Rgb(3, 4, 5));
  EXPECT_EQ(c.Pixel(290, 390), plat::Rgb(3, 4, 5));

  d.CanvasWallMode = 4;  // any other mode draws nothing
  c = Render(d, v);
  EXPECT_EQ(c.Pixel(10, 10), kBlack);
  v.Wall = nullptr;  // a flag without a picture draws nothing either
  d.CanvasWallMode = 1;
  c = Render(d, v);
  EXPECT_EQ(c.Pixel(146, 198), kBlack);
}

TEST(CanvasSelection, HighlightedBoxesAndPublishingForTheCurrentWindowOnly) {
  mk::DocData d = MakeDoc(4);
  AddSel(d, 2, 0, 48, 0x1F, 0);
  AddSel(d, 3, 0, 0, 0x22, -1);
  AddSel(d, 2, 50, 0, 1, 0);  // outside the view: counted, not drawn
  for (int up : {-1, 0}) {
    d.ScrlUp = static_cast<int16_t>(up);
    Recorder rec;
    const Picture c = Render(d, View(300, 400), &rec);
    const int y = up ? 400 - 48 - 9 : 48 + 1 - 2;
    EXPECT_EQ(c.Pixel(61, y), kWhite) << up;  // highlight ORed over the front box
    EXPECT_EQ(c.Pixel(88, y + 9), kWhite) << up;
    EXPECT_EQ(c.Pixel(62, y + 1), mk::ScaleColor(d.Lane[2].Color2, 128)) << up;
    const int y3 = up ? 400 - 9 : -1;  // a back-layer entry shows as a front box
    EXPECT_EQ(c.Pixel(92, y3 + 1), mk::ScaleColor(d.Lane[3].Color2, 128)) << up;
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].first, "3個のオブジェを選択");
    EXPECT_TRUE(rec.calls[0].second);
  }

  Recorder other;
  Render(d, View(300, 400), &other, false);
  EXPECT_TRUE(other.calls.empty());

  d.Sel.resize(1);
  d.SelCount = 0;
  Recorder none;
  Render(d, View(300, 400), &none);
  ASSERT_EQ(none.calls.size(), 1u);
  EXPECT_EQ(none.calls[0].first, "");
  EXPECT_FALSE(none.calls[0].second);
}

TEST(CanvasDraw, NoLanesLeavesPictureOverlayAndFrameAlone) {
  mk::DocData d = MakeDoc(0);
  const mk::SpriteSheets s = MakeSheets(d);
  plat::Canvas canvas(50, 40);
  canvas.Image().FillRect(0, 0, 49, 39, plat::Rgb(255, 0, 0));
  canvas.Overlay().FillRect(0, 0, 3, 3, kWhite);
  Recorder rec;
  EXPECT_FALSE(mk::ObjDraw(d, View(300, 400), s, canvas, &rec, true));
  EXPECT_EQ(canvas.Width(), 50);
  EXPECT_EQ(canvas.Image().Pixel(20, 20), plat::Rgb(255, 0, 0));
  EXPECT_TRUE(canvas.OverlayShown());
  EXPECT_TRUE(rec.calls.empty());

  mk::DocData one = MakeDoc(1);
  EXPECT_TRUE(mk::ObjDraw(one, View(300, 400), MakeSheets(one), canvas, &rec, true));
  EXPECT_FALSE(canvas.OverlayShown());  // a repaint replaces the overlay
  EXPECT_EQ(canvas.Width(), 300);
  EXPECT_EQ(canvas.Height(), 400);
}

TEST(CanvasDraw, ZoomTenOnATallCanvas) {
  mk::DocData d = MakeDoc(3, 30);
  d.Zoom = 10;
  Put(d, 1, 1, 96, 9);
  Put(d, 2, 20, 0, 9);
  for (int up : {-1, 0}) {
    d.ScrlUp = static_cast<int16_t>(up);
    const Picture c = Render(d, View(200, 4000));
    const int y = up ? 4000 - 1920 - 960 - 10 : 1920 + 960;
    EXPECT_EQ(c.Pixel(31, y), Light(d.Lane[1].Color2)) << up;
    EXPECT_EQ(c.Pixel(58, y + 9), Dark(d.Lane[1].Color2)) << up;
    EXPECT_EQ(FirstDifference(c, ReferenceObjDraw(d, View(200, 4000), MakeSheets(d))), "") << up;
  }
}

namespace {

// A chart with something of everything: tempo values, front, back and open objects at several
// resolutions, lengths, and a selection.
mk::DocData BusyDoc(int lanes, int measures) {
  mk::DocData d = MakeDoc(lanes, measures);
  d.Fmt.WNum = 3;
  d.Lane[5].Part = mk::kPartBga;
  d.Lane[7].Color1 = {0, 0, 0};
  for (int m = 0; m <= measures; ++m) {
    Put(d, 0, m, 0, 100 + m);
    for (int l = 1; l <= lanes; ++l) {
      const int step = (l + m) % 4 == 0 ? 12 : (l % 3 == 0 ? 16 : 48);
      for (int t = (l * 4) % step; t < 192; t += step) Put(d, l, m, t, (l * 37 + t + m) % 1295 + 1);
      if (l % 4 == 1) Put(d, l, m, 24, 10000 + l, false);
      if (l % 2 == 0) Put(d, l, m, 72, l + m, true);
    }
    if (m % 3 == 1) d.Obj[0].Mes.Write(m).Length = 0.25 * m;
  }
  AddSel(d, 2, 1, 40, 33, 0);
  AddSel(d, 4, 2, 100, 34, -1);
  AddSel(d, 0, 0, 10, 150, 0);
  return d;
}

}  // namespace

TEST(CanvasDraw, FastRepaintEqualsThePiecewiseOne) {
  mk::DocData d = BusyDoc(14, 12);
  const mk::SpriteSheets s = MakeSheets(d);
  struct Case {
    int up, grid, scroll, hscroll, w, h;
    double zoom;
  };
  std::vector<Case> cases;
  for (int up : {-1, 0})
    for (double zoom : {1.0, 3.0, 10.0})
      for (int grid : {16, 5, 192})
        for (auto [scroll, hscroll] : {std::pair{0, 0}, {300, 7}, {192 * 3 + 50, 13}})
          cases.push_back({up, grid, scroll, hscroll, 521, 337, zoom});
  cases.push_back({-1, 16, 0, 0, 1600, 1000, 1.0});
  cases.push_back({0, 12, 777, 3, 97, 1234, 2.0});
  cases.push_back({-1, 500, 100, 0, 300, 400, 1.0});  // grid finer than a pixel
  cases.push_back({0, 250, 100, 0, 300, 400, 3.0});
  for (const Case& c : cases) {
    d.ScrlUp = static_cast<int16_t>(c.up);
    d.GridDiv = static_cast<int16_t>(c.grid);
    d.ScrollPos = c.scroll;
    d.Zoom = c.zoom;
    const mk::ViewState v = View(c.w, c.h, c.hscroll);
    Picture fast;
    mk::ObjDraw(d, v, s, fast, nullptr, true);
    EXPECT_EQ(FirstDifference(fast, ReferenceObjDraw(d, v, s)), "")
        << "up " << c.up << " zoom " << c.zoom << " grid " << c.grid << " scroll " << c.scroll << " h " << c.hscroll
        << " size " << c.w << "x" << c.h;
  }

  // The View > Parts switches and the wallpaper modes.
  d.ScrollPos = 250;
  d.Zoom = 2;
  Picture wall(33, 21);
  wall.FillRect(3, 3, 20, 10, plat::Rgb(9, 90, 180));
  Picture stretched(521, 337, plat::Rgb(40, 50, 60));
  for (int variant = 0; variant < 8; ++variant) {
    mk::ViewState v = View(521, 337, 2);
    v.Wall = &wall;
    v.WallStretched = &stretched;
    d.CanvasWallOn = variant >= 5 ? -1 : 0;
    d.CanvasWallMode = static_cast<int16_t>(variant - 4);
    if (variant == 0) v.Parts.Back = false;
    if (variant == 1) v.Parts.Line = false;
    if (variant == 2) v.Parts.Grid = false;
    if (variant == 3) v.Parts.Spell = false;
    if (variant == 4) v.Parts.Lower = true;
    Picture fast;
    mk::ObjDraw(d, v, s, fast, nullptr, true);
    EXPECT_EQ(FirstDifference(fast, ReferenceObjDraw(d, v, s)), "") << "variant " << variant;
  }
}

TEST(CanvasDraw, OddRecordsDrawWithoutReadingOutsideTheirTables) {
  mk::DocData d = MakeDoc(3, 2);
  d.Obj[1].Mes.Write(0).Division = 500;  // not a resolution
  d.Obj[1].Mes.Write(0).Obj[0] = 5;
  d.Obj[2].Mes.Write(1).Division = -3;
  d.Obj[3].Mes.resize(1);  // fewer cells than measures
  d.Obj[3].Mes.Write(0).Obj[0] = 1;
  d.Obj[3].Mes.Write(0).Division = 1;
  AddSel(d, 9, 0, 0, 1, 0);  // lane beyond the table
  d.SelCount = 5;            // more than the list holds
  d.GridDiv = 0;
  d.ScrlUp = 0;
  const Picture c = Render(d, View(200, 400));
  EXPECT_EQ(c.Pixel(31, 0), Light(d.Lane[1].Color2));
  EXPECT_EQ(c.Pixel(91, 0), Light(d.Lane[3].Color2));
}
