// Object number labels: which glyph cells land where, in which case and spacing.
#include <gtest/gtest.h>

#include <vector>

#include "chartview/labels.h"
#include "drawfixture.h"

using namespace drawtest;
using plat::Picture;

namespace {

constexpr plat::Color kGround = plat::Rgb(0x64, 0x5A, 0x3C);

struct Glyph {
  int dx;  // from the box's left edge
  int g;   // glyph cell 0..35
};

// The target after the label: the ground everywhere, and at each glyph the ground ANDed with the
// glyph's mask cell and ORed with its paint cell (row 0 or 10 for upper or lower case).
void ExpectLabel(const Picture& sheet, const Picture& target, int x, int y, const std::vector<Glyph>& glyphs,
                 bool lower, const std::string& what) {
  const int row = lower ? 10 : 0;
  Picture want(target.Width(), target.Height(), kGround);
  want.Clear();
  for (const Glyph& gl : glyphs)
    for (int yy = 0; yy < 10; ++yy)
      for (int xx = 0; xx < 7; ++xx) {
        const int sx = 56 + 7 * gl.g + xx;
        const plat::Color c = (kGround & sheet.Pixel(sx, row + 20 + yy)) | sheet.Pixel(sx, row + yy);
        want.FillRect(x + gl.dx + xx, y + yy, x + gl.dx + xx, y + yy, c);
      }
  EXPECT_EQ(FirstDifference(want, target), "") << what;
}

}  // namespace

TEST(ObjectLabel, GlyphCellsAndPlacesByLaneLayerAndMode) {
  mk::DocData d = MakeDoc(4);
  d.Fmt.WNum = 1;
  d.Fmt.BNum = 3;
  d.Lane[2].Part = mk::kPartBga;
  const Picture sheet = MakeSheets(d).Obj;
  const struct {
    const char* what;
    int lane, value, back;
    bool lower;
    std::vector<Glyph> glyphs;
  } cases[] = {
      {"FF", 1, 255, 0, false, {{4, 15}, {18, 15}}},
      {"05", 1, 5, 0, false, {{4, 0}, {18, 5}}},
      {"open object of 12: 0C", 1, 10012, 0, false, {{4, 0}, {18, 12}}},
      {"part 88 in the BGA mode: 100 is 2S", 2, 100, 0, false, {{4, 2}, {18, 28}}},
      {"the same value on a WAV lane: 64", 3, 100, 0, false, {{4, 6}, {18, 4}}},
      {"back layer spacing", 1, 0xA5, -1, false, {{7, 10}, {14, 5}}},
      {"back flag other than -1 is the front layer", 1, 0xA5, 1, false, {{4, 10}, {18, 5}}},
      {"lower case", 1, 0xAB, 0, true, {{4, 10}, {18, 11}}},
      {"tempo 120", 0, 120, 0, false, {{4, 1}, {11, 2}, {18, 0}}},
      {"tempo 95 as 095, back flag ignored", 0, 95, -1, false, {{4, 0}, {11, 9}, {18, 5}}},
      {"tempo from 1000 shows its last three digits", 0, 1234, 0, false, {{4, 2}, {11, 3}, {18, 4}}},
      {"a minus sign draws as 0", 0, -5, 0, false, {{4, 0}, {11, 0}, {18, 5}}},
      {"mode 3 beyond 1295 has no code: 00", 2, 1500, 0, false, {{4, 0}, {18, 0}}},
      {"10000 itself is no open object", 2, 10000, 0, false, {{4, 0}, {18, 0}}},
      {"open object beyond the table", 2, 10000 + 2000, 0, false, {{4, 0}, {18, 0}}},
  };
  for (const auto& c : cases) {
    Picture target(60, 30, kGround);
    mk::PartsSwitches parts;
    parts.Lower = c.lower;
    mk::DrawObjectLabel(d, parts, sheet, target, 11, 9, c.lane, c.value, c.back);
    ExpectLabel(sheet, target, 11, 9, c.glyphs, c.lower, c.what);
  }
}

TEST(ObjectLabel, LowerCaseBase36AndNoLabelWhenSwitchedOff) {
  mk::DocData d = MakeDoc(1);
  d.Fmt.WNum = 2;
  const Picture sheet = MakeSheets(d).Obj;
  mk::PartsSwitches parts;
  parts.Lower = true;
  Picture lower(40, 20, kGround);
  mk::DrawObjectLabel(d, parts, sheet, lower, 0, 0, 1, 46, 0);  // 1A
  ExpectLabel(sheet, lower, 0, 0, {{4, 1}, {18, 10}}, true, "1a");

  parts.Spell = false;
  Picture off(40, 20, kGround);
  mk::DrawObjectLabel(d, parts, sheet, off, 0, 0, 1, 46, 0);
  EXPECT_EQ(FirstDifference(off, Picture(40, 20, kGround)), "");

  d.Fmt.WNum = 0;  // no numbering mode: "00"
  parts.Spell = true;
  parts.Lower = false;
  Picture none(40, 20, kGround);
  mk::DrawObjectLabel(d, parts, sheet, none, 0, 0, 1, 46, 0);
  ExpectLabel(sheet, none, 0, 0, {{4, 0}, {18, 0}}, false, "mode 0");
}

TEST(ObjectLabel, CodeCharactersMapToGlyphCellsWithinTheTable) {
  EXPECT_EQ(mk::GlyphIndex('0'), 0);
  EXPECT_EQ(mk::GlyphIndex('9'), 9);
  EXPECT_EQ(mk::GlyphIndex('A'), 10);
  EXPECT_EQ(mk::GlyphIndex('z'), 35);
  for (char ch : {'-', ' ', '*', '\0', '\x80'}) EXPECT_EQ(mk::GlyphIndex(ch), 0) << int(ch);
  for (int v : {-32768, -1, 0, 1295, 1296, 9999, 10000, 32767})
    for (int mode : {0, 1, 2, 3, 7}) {
      const auto g = mk::CodeGlyphs(v, mode);
      EXPECT_GE(g[0], 0);
      EXPECT_LE(g[0], 35);
      EXPECT_GE(g[1], 0);
      EXPECT_LE(g[1], 35);
    }
}
