// The sprite sheets: sizes, boxes, tiles, pieces, glyphs, digits, header backgrounds, label cells
// and group bars, read at the places the readers copy from.
#include <gtest/gtest.h>

#include <set>

#include "chartfmt/utils.h"
#include "chartview/sprites.h"
#include "drawfixture.h"

using namespace drawtest;
using plat::Picture;

namespace {

// Leftmost column in (x1..x2, y1..y2) holding a pixel of colour c, or -1.
int FirstColumnWith(const Picture& p, plat::Color c, int x1, int y1, int x2, int y2) {
  for (int x = x1; x <= x2; ++x)
    for (int y = y1; y <= y2; ++y)
      if (p.Pixel(x, y) == c) return x;
  return -1;
}

bool AllOf(const Picture& p, plat::Color c, int x1, int y1, int x2, int y2) {
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x)
      if (p.Pixel(x, y) != c) return false;
  return true;
}

void ExpectBevel(const Picture& p, int a, int t, int w, plat::Color dark, plat::Color light, plat::Color face) {
  EXPECT_EQ(p.Pixel(a, t), light);
  EXPECT_EQ(p.Pixel(a + w - 2, t), light);
  EXPECT_EQ(p.Pixel(a, t + 8), light);
  EXPECT_EQ(p.Pixel(a + w - 1, t), dark);
  EXPECT_EQ(p.Pixel(a, t + 9), dark);
  EXPECT_EQ(p.Pixel(a + w - 1, t + 9), dark);
  EXPECT_TRUE(AllOf(p, face, a + 1, t + 1, a + w - 2, t + 8));
}

}  // namespace

TEST(ObjectSheet, SizesFollowTheLaneCount) {
  const struct {
    int lanes, objW, objH, headW, headH;
  } cases[] = {{0, 410, 220, 94, 75},      {2, 410, 220, 94, 75},     {3, 410, 220, 720, 75},
               {21, 410, 220, 720, 75},    {22, 410, 230, 720, 75},   {23, 410, 240, 720, 75},
               {24, 410, 250, 720, 125},   {58, 410, 590, 720, 175},  {60, 422, 610, 720, 175},
               {116, 758, 1170, 720, 275}, {300, 758, 3010, 720, 675}};
  for (const auto& c : cases) {
    const mk::SpriteSheets s = MakeSheets(MakeDoc(c.lanes));
    EXPECT_EQ(s.Obj.Width(), c.objW) << c.lanes;
    EXPECT_EQ(s.Obj.Height(), c.objH) << c.lanes;
    EXPECT_EQ(s.Head.Width(), c.headW) << c.lanes;
    EXPECT_EQ(s.Head.Height(), c.headH) << c.lanes;
  }
}

TEST(ObjectSheet, BoxesTilesFramesAndPieces) {
  mk::DocData d = MakeDoc(3);
  d.Lane[2].Color1 = {128, 128, 128};
  d.Lane[2].Color2 = {128, 128, 128};
  d.Lane[2].Color3 = {255, 0, 100};
  const Picture s = MakeSheets(d).Obj;

  ExpectBevel(s, 0, 0, 28, plat::Rgb(64, 64, 64), plat::Rgb(192, 192, 192), plat::Rgb(128, 128, 128));
  ExpectBevel(s, 0, 20, 28, plat::Rgb(32, 32, 32), plat::Rgb(128, 128, 128), plat::Rgb(64, 64, 64));
  ExpectBevel(s, 31, 20, 22, plat::Rgb(64, 0, 25), plat::Rgb(255, 0, 100), plat::Rgb(128, 0, 50));
  ExpectBevel(s, 310, 10, 88, plat::Rgb(64, 0, 64), plat::Rgb(255, 0, 255), plat::Rgb(128, 0, 128));
  EXPECT_TRUE(AllOf(s, plat::Rgb(12, 12, 12), 66, 120, 71, 219));  // tile of lane 2
  EXPECT_EQ(s.Pixel(65, 150), plat::Rgb(1, 9, 18));
  EXPECT_EQ(s.Pixel(72, 150), plat::Rgb(5, 9, 18));
  EXPECT_TRUE(AllOf(s, kBlack, 31, 0, 52, 9));    // lane 0 has no back box
  EXPECT_TRUE(AllOf(s, kBlack, 0, 40, 30, 219));  // nothing below the last lane's box

  EXPECT_EQ(s.Pixel(310, 0), kWhite);
  EXPECT_EQ(s.Pixel(337, 9), kWhite);
  EXPECT_TRUE(AllOf(s, kBlack, 311, 1, 336, 8));
  EXPECT_EQ(s.Pixel(340, 0), plat::Rgb(255, 255, 0));
  EXPECT_EQ(s.Pixel(367, 9), plat::Rgb(255, 255, 0));
  EXPECT_TRUE(AllOf(s, kBlack, 341, 1, 366, 8));

  EXPECT_TRUE(AllOf(s, plat::Rgb(64, 64, 64), 56, 110, 155, 110));
  EXPECT_EQ(s.Pixel(156, 110), kBlack);
  EXPECT_TRUE(AllOf(s, kGrey, 56, 111, 155, 111));
  EXPECT_TRUE(AllOf(s, kWhite, 56, 112, 156, 113));
  EXPECT_TRUE(AllOf(s, kWhite, 56, 120, 57, 219));
  EXPECT_TRUE(AllOf(s, kGrey, 58, 120, 59, 219));
}

TEST(ObjectSheet, ShadingRoundsDownAndBrightnessOnlyActsOnTiles) {
  EXPECT_EQ(mk::ScaleComponent(155, 51), 30);  // (155 / 255) * 51 is just below 31
  EXPECT_EQ(mk::ScaleComponent(128, 64), 32);
  EXPECT_EQ(mk::ScaleComponent(255, 24), 24);
  EXPECT_EQ(mk::ScaleComponent(400, 24), 24);  // above 255 counts as 255
  EXPECT_EQ(mk::ScaleComponent(255, -30), 0);
  EXPECT_EQ(mk::ScaleComponent(255, 400), 255);

  for (int bright : {-30, 0, 51, 300}) {
    mk::DocData d = MakeDoc(1);
    d.Fmt.Bright = static_cast<int16_t>(bright);
    d.Lane[1].Color1 = {255, 155, 0};
    const Picture s = MakeSheets(d).Obj;
    const plat::Color want = bright == 51 ? plat::Rgb(51, 30, 0) : bright == 300 ? plat::Rgb(255, 182, 0) : kBlack;
    EXPECT_TRUE(AllOf(s, want, 60, 120, 65, 219)) << bright;
    ExpectBevel(s, 0, 10, 28, plat::Rgb(50, 2, 12), plat::Rgb(200, 10, 50), plat::Rgb(100, 5, 25));
  }
}

TEST(ObjectSheet, TilesOfLanesBeyond58FitTheWiderSheet) {
  const mk::DocData d = MakeDoc(180);
  const Picture s = MakeSheets(d).Obj;
  auto tile = [&](int l) { return plat::Rgb(mk::ScaleComponent((20 * l) % 256, 24), 9, 18); };
  EXPECT_TRUE(AllOf(s, tile(58), 402, 120, 407, 219));  // the last tile of the first row
  EXPECT_TRUE(AllOf(s, tile(59), 410, 120, 415, 219));  // then right of x 410
  EXPECT_TRUE(AllOf(s, tile(116), 752, 120, 757, 219));
  EXPECT_TRUE(AllOf(s, tile(117), 410, 220, 415, 319));  // in bands of 100 rows
  EXPECT_TRUE(AllOf(s, tile(180), 410 + 6 * 5, 320, 415 + 6 * 5, 419));
  EXPECT_TRUE(AllOf(s, kBlack, 410, 0, 757, 119));
  EXPECT_TRUE(AllOf(s, kBlack, 410 + 6 * 6, 320, 757, 419));
  ExpectBevel(s, 0, 600, 28, plat::Rgb(50, 22, 12), plat::Rgb(200, 88, 50), plat::Rgb(100, 44, 25));
}

TEST(ObjectSheet, GlyphCellsPaintAndMaskMakeAShadowedCharacterInsideTheirCell) {
  const Picture s = MakeSheets(MakeDoc(0)).Obj;
  for (int i = 0; i < 36; ++i) {
    const int x = 56 + 7 * i;
    for (int row : {0, 10}) {
      int white = 0, shadow = 0;
      for (int y = 0; y < 10; ++y)
        for (int dx = 0; dx < 7; ++dx) {
          const plat::Color paint = s.Pixel(x + dx, row + y), mask = s.Pixel(x + dx, row + 20 + y);
          ASSERT_TRUE(paint == kWhite || paint == kBlack) << i;
          ASSERT_TRUE(mask == kWhite || mask == kBlack) << i;
          if (paint == kWhite) {
            ++white;
            EXPECT_EQ(mask, kBlack) << "cell " << i << " row " << row;  // the mask covers the glyph
            if (dx + 2 < 7) {
              EXPECT_EQ(s.Pixel(x + dx + 2, row + 20 + y), kBlack);  // and its shadow
            }
          } else if (mask == kBlack) {
            ++shadow;
          }
        }
      EXPECT_GT(white, 3) << "cell " << i;
      EXPECT_GT(shadow, 0) << "cell " << i;
    }
  }
  // Digits look the same in both cases, letters do not.
  for (int y = 0; y < 10; ++y)
    for (int dx = 0; dx < 7; ++dx) EXPECT_EQ(s.Pixel(56 + dx, y), s.Pixel(56 + dx, 10 + y));
  bool differs = false;
  for (int y = 0; y < 10; ++y)
    for (int dx = 0; dx < 7; ++dx) differs |= s.Pixel(56 + 70 + dx, y) != s.Pixel(56 + 70 + dx, 10 + y);
  EXPECT_TRUE(differs);                            // A and a
  EXPECT_TRUE(AllOf(s, kBlack, 308, 0, 309, 39));  // nothing right of the Z cell (301-307)
}

TEST(ObjectSheet, MeasureDigitsAreDarkGreyWithAFaintShadow) {
  const Picture s = MakeSheets(MakeDoc(0)).Obj;
  for (int d = 0; d < 10; ++d) {
    std::set<plat::Color> colours;
    for (int y = 41; y < 41 + 67; ++y)
      for (int x = 56 + 35 * d; x < 91 + 35 * d; ++x) colours.insert(s.Pixel(x, y));
    EXPECT_TRUE(colours.count(plat::Rgb(64, 64, 64))) << d;
    for (plat::Color c : colours)
      EXPECT_TRUE(c == kBlack || c == plat::Rgb(8, 8, 8) || c == plat::Rgb(64, 64, 64)) << d;
  }
  EXPECT_TRUE(AllOf(s, kBlack, 56, 108, 409, 109));
}

TEST(HeaderSheet, BackgroundsColumnsAndTheTempoLabel) {
  const Picture h = MakeSheets(MakeDoc(2)).Head;
  EXPECT_TRUE(AllOf(h, plat::Rgb(126, 126, 189), 0, 0, 29, 0));
  EXPECT_TRUE(AllOf(h, plat::Rgb(189, 126, 126), 30, 0, 59, 0));
  EXPECT_TRUE(AllOf(h, plat::Rgb(126, 189, 126), 60, 0, 89, 0));
  EXPECT_EQ(h.Pixel(5, 24), plat::Rgb(39, 39, 58));  // 58.5 rounds to even
  EXPECT_EQ(h.Pixel(35, 24), plat::Rgb(58, 39, 39));
  EXPECT_EQ(h.Pixel(29, 25), plat::Rgb(37, 37, 56));  // band 90 lies on row 25
  EXPECT_TRUE(AllOf(h, kWhite, 90, 0, 91, 25));
  EXPECT_TRUE(AllOf(h, kGrey, 92, 0, 93, 25));

  EXPECT_GT(FirstColumnWith(h, kWhite, 0, 27, 29, 49), -1);  // "BPM" in the text cell
  EXPECT_GT(FirstColumnWith(h, kBlack, 0, 50, 29, 74), -1);  // and in black in its mask cell
  EXPECT_EQ(h.Pixel(0, 50), kWhite);
  EXPECT_EQ(h.Pixel(29, 74), kWhite);
}

// Three-character labels with the widest glyphs, "BPM" (the widest label of the shipped scripts)
// among them, stay inside their 30-pixel lane together with their shadow: the lane lines cover
// each cell's first and last column.
TEST(HeaderSheet, ThreeCharacterLabelsFitBetweenTheLaneLines) {
  const char* labels[] = {"BPM", "WWW", "MMM", "@@@", "M%W", "___", "www", "mmm"};
  mk::DocData d = MakeDoc(8);
  for (int l = 1; l <= 8; ++l) d.Lane[l].Label = labels[l - 1];
  const Picture h = MakeSheets(d).Head;
  for (int l = 0; l <= 8; ++l) {
    SCOPED_TRACE(l == 0 ? "BPM (tempo lane)" : labels[l - 1]);
    const int cx = 30 * l;
    // The mask cell: white ground, the label and its shadow in black, some of it in the cell.
    EXPECT_TRUE(AllOf(h, kWhite, cx, 50, cx, 74));
    EXPECT_TRUE(AllOf(h, kWhite, cx + 29, 50, cx + 29, 74));
    EXPECT_GT(FirstColumnWith(h, kBlack, cx, 50, cx + 29, 74), -1);
    // The text cell (below its first row, which the gradient's last band covers): nothing of
    // the label in the edge columns.
    for (int y = 26; y <= 49; ++y) {
      EXPECT_EQ(h.Pixel(cx, y), kBlack) << y;
      EXPECT_EQ(h.Pixel(cx + 29, y), kBlack) << y;
    }
  }
}

TEST(HeaderSheet, LabelsCentredByByteLengthInTheirColour) {
  mk::DocData d = MakeDoc(30);
  d.Lane[4].Label = "";       // nothing printed
  d.Lane[5].Label = "ABC";    // 3 bytes: from 30c + 3
  d.Lane[6].Label = "AB";     // 2 bytes: from 30c + 7
  d.Lane[8].Label = "ABCDE";  // 5 bytes: from 30c - 5, reaching into lane 7's cell
  d.Lane[7].Label = "";
  d.Lane[25].Label = "AB";  // band 1
  const Picture h = MakeSheets(d).Head;
  const plat::Color blue = plat::Rgb(128, 192, 255);

  EXPECT_TRUE(AllOf(h, kBlack, 120, 26, 149, 49));  // lane 4 text cell
  EXPECT_TRUE(AllOf(h, kWhite, 120, 100 - 50, 149, 74));
  const int x5 = FirstColumnWith(h, kWhite, 150, 26, 179, 49);  // odd lane: white
  EXPECT_GE(x5, 153);
  EXPECT_LE(x5, 155);
  const int x6 = FirstColumnWith(h, blue, 180, 26, 209, 49);  // even lane: light blue
  EXPECT_GE(x6, 187);
  EXPECT_LE(x6, 189);
  EXPECT_EQ(FirstColumnWith(h, kWhite, 180, 26, 209, 49), -1);
  const int x8 = FirstColumnWith(h, blue, 210, 26, 269, 49);
  EXPECT_GE(x8, 235);
  EXPECT_LE(x8, 237);
  // The mask of lane 6 is its label in black, 2 to 4 pixels lower than in the text cell.
  const int m6 = FirstColumnWith(h, kBlack, 180, 50, 209, 74);
  EXPECT_GE(m6, 187);
  EXPECT_LE(m6, 189);
  const int x25 = FirstColumnWith(h, kWhite, 30, 76, 59, 99);  // lane 25: band 1, column 1
  EXPECT_GE(x25, 37);
  EXPECT_LE(x25, 39);
  EXPECT_EQ(h.Pixel(30, 100), kWhite);
  EXPECT_EQ(h.Pixel(59, 124), kWhite);
}

// Two double-byte characters are 4 bytes: X = 30c - 1, so in column 0 the label starts left of
// the sheet. The text cell and the mask cell hold exactly the label printed at that X.
TEST(HeaderSheet, FourByteLabelInTheFirstColumnStartsAtMinusOne) {
  mk::DocData d = MakeDoc(25);
  d.Lane[24].Label = "鍵盤";
  d.Lane[25].Label = "";
  ASSERT_EQ(mk::AnsiByteLen(d.Lane[24].Label), 4);
  const Picture h = MakeSheets(d).Head;
  const plat::Font font = mk::LabelFont();
  Picture text(30, 25), mask(30, 25, kWhite);
  text.DrawText(-1, 2, d.Lane[24].Label, plat::Rgb(128, 192, 255), font);  // lane 24 has a back channel
  mask.DrawText(1, 4, d.Lane[24].Label, kBlack, font);
  mask.DrawText(-1, 2, d.Lane[24].Label, kBlack, font);
  EXPECT_GT(FirstColumnWith(text, plat::Rgb(128, 192, 255), 0, 0, 29, 24), -1);
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 30; ++x) {
      ASSERT_EQ(h.Pixel(x, 75 + y), text.Pixel(x, y)) << "text cell " << x << "," << y;
      ASSERT_EQ(h.Pixel(x, 100 + y), mask.Pixel(x, y)) << "mask cell " << x << "," << y;
    }
}

TEST(HeaderSheet, GroupBarsOverFourLanesAndMissingLanesAreSkipped) {
  mk::DocData d = MakeDoc(28);
  d.Fmt.Gt.resize(4);
  d.Fmt.GtCount = 3;
  d.Fmt.Gt[0].Lane = 5;
  d.Fmt.Gt[1].Lane = 26;   // 26 to 29, of which 29 does not exist
  d.Fmt.Gt[2].Lane = 500;  // names no lane at all
  d.Fmt.Gt[3].Lane = -3;   // only lane 0 exists of -3 to 0
  const Picture h = MakeSheets(d).Head;
  for (int l = 5; l <= 8; ++l) {
    const mk::Rgb c = d.Lane[l].Color2;
    const int x = 30 * l;
    EXPECT_TRUE(AllOf(h, mk::ScaleColor(c, 192), x, 25, x + 29, 26)) << l;
    EXPECT_TRUE(AllOf(h, mk::ScaleColor(c, 128), x, 27, x + 29, 27)) << l;
    EXPECT_TRUE(AllOf(h, kBlack, x, 50, x + 29, 51)) << l;
  }
  EXPECT_TRUE(AllOf(h, kBlack, 270, 25, 299, 26));  // lane 9: no bar
  EXPECT_TRUE(AllOf(h, kWhite, 270, 50, 299, 51));
  for (int l = 26; l <= 28; ++l) {
    const int x = 30 * (l - 24);
    EXPECT_TRUE(AllOf(h, mk::ScaleColor(d.Lane[l].Color2, 192), x, 75, x + 29, 76)) << l;
    EXPECT_TRUE(AllOf(h, mk::ScaleColor(d.Lane[l].Color2, 128), x, 77, x + 29, 77)) << l;
    EXPECT_TRUE(AllOf(h, kBlack, x, 100, x + 29, 101)) << l;
  }
  EXPECT_TRUE(AllOf(h, kBlack, 150, 75, 179, 77));  // lane 29 is not in the table
  EXPECT_TRUE(AllOf(h, kBlack, 0, 50, 29, 51));     // lane 0's mask top (group at -3)
}
