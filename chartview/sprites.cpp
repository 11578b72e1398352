#include "chartview/sprites.h"

#include <algorithm>
#include <cmath>

#include "chartfmt/utils.h"
#include "chartview/viewstate.h"

namespace mk {

using plat::Color;
using plat::Picture;

namespace {

const char kUpper[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const char kLower[] = "0123456789abcdefghijklmnopqrstuvwxyz";

constexpr Color kBlack = plat::Rgb(0, 0, 0);
constexpr Color kWhite = plat::Rgb(255, 255, 255);
constexpr Color kGrey = plat::Rgb(127, 127, 127);

// Bevelled box w x 10 at (a, t): light top row and left column, dark right column and bottom row.
void BevelBox(Picture& p, int a, int t, int w, Color dark, Color light, Color face) {
  p.FillRect(a, t, a + w - 1, t + 9, dark);
  p.FillRect(a, t, a + w - 2, t + 8, light);
  p.FillRect(a + 1, t + 1, a + w - 2, t + 8, face);
}

void LaneBox(Picture& p, int a, int t, int w, const Rgb& c) {
  BevelBox(p, a, t, w, ScaleColor(c, 64), ScaleColor(c, 255), ScaleColor(c, 128));
}

int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The object sheet's text depends on the font alone, not on the chart: the glyph rows over the
// white ground of their mask rows (x 56-307, y 0-39) and the measure digits (x 56-405,
// y 40-107), drawn once for the program's run on an otherwise black picture.
const Picture& SheetText() {
  static const Picture text = [] {
    using namespace sheet;
    Picture p(kWideX, kDigitY + kDigitH, kBlack);
    p.FillRect(kGlyphX, 20, GlyphX(36) - 1, 39, kWhite);
    // Glyphs: each drawing stays inside its own 7 x 10 cell, so a wide glyph or its shadow never
    // reaches the neighbouring cell or strip.
    const plat::Font small = SheetFont(8);
    for (int i = 0; i < 36; ++i) {
      const std::string u(1, kUpper[i]), w(1, kLower[i]);
      const int x = GlyphX(i);
      auto put = [&](int dx, int row, const std::string& s, Color c) {
        p.DrawText(x + dx, row, s, c, small, x, row, x + kGlyphW - 1, row + kGlyphH - 1);
      };
      put(2, 20, u, kBlack);
      put(0, 20, u, kBlack);
      put(2, 30, w, kBlack);
      put(0, 30, w, kBlack);
      put(0, 0, u, kWhite);
      put(0, 10, w, kWhite);
    }
    const plat::Font big = SheetFont(50);
    for (int d = 0; d < 10; ++d) {
      const std::string s(1, static_cast<char>('0' + d));
      const int x = kDigitX + kDigitW * d;
      const int x2 = x + kDigitW - 1, y2 = kDigitY + kDigitH - 1;
      p.DrawText(x + 2, 40, s, plat::Rgb(8, 8, 8), big, x, 40, x2, y2);
      p.DrawText(x, 40, s, plat::Rgb(64, 64, 64), big, x, 40, x2, y2);
    }
    return p;
  }();
  return text;
}

}  // namespace

// The lane labels' font: the sheet font at 11 points, made smaller until any label of up to three
// half-width characters, centred at 8 pixels per byte (so from 3 pixels into its cell) and with
// its shadow 2 pixels to the right, stays clear of the lane lines on the cell's first and last
// column. Fonts whose half-width characters are wider than 8 pixels at 11 points need this.
plat::Font LabelFont() {
  static const plat::Font font = [] {
    using namespace sheet;
    std::string printable;
    for (char c = '!'; c <= '~'; ++c) printable += c;
    plat::Font f = SheetFont(11);
    const int x = FloorDiv(31 - 8 * 3, 2);
    for (f.pixels = plat::PointsToPixels(11); f.pixels > 6; --f.pixels) {
      const plat::CharExtent e = plat::MaxCharExtent(f, printable);
      if (x + e.inkLeft >= 1 && x + 2 * e.advance + e.inkRight + 2 <= kCellW - 2) break;
    }
    return f;
  }();
  return font;
}

const LaneInfo& LaneAt(const DocData& doc, int lane) {
  static const LaneInfo kNone;
  if (lane < 0 || lane >= static_cast<int>(doc.Lane.size())) return kNone;
  return doc.Lane[lane];
}

int ScaleComponent(int c, int m) {
  c = std::clamp(c, 0, 255);
  if (m <= 0) return 0;
  const double v = std::floor((static_cast<double>(c) / 255.0) * static_cast<double>(m));
  return v > 255 ? 255 : static_cast<int>(v);
}

Color ScaleColor(const Rgb& c, int m) {
  return plat::Rgb(ScaleComponent(c.R, m), ScaleComponent(c.G, m), ScaleComponent(c.B, m));
}

int ObjSheetWidth(int laneCount) {
  using namespace sheet;
  if (laneCount <= kTilesPerRow) return kWideX;
  return kWideX + kTileW * std::min(laneCount - kTilesPerRow, kTilesPerRow);
}
int ObjSheetHeight(int laneCount) { return std::max(220, 10 * (laneCount + 1)); }

void ObjMake(const DocData& doc, Picture& p) {
  using namespace sheet;
  const int lanes = std::max<int>(0, doc.LaneCount);
  p.SetBackColor(kBlack);
  p.Resize(ObjSheetWidth(lanes), ObjSheetHeight(lanes));
  p.Clear();
  const int bright = doc.Fmt.Bright;

  BevelBox(p, 0, 0, kBoxW, plat::Rgb(64, 64, 64), plat::Rgb(192, 192, 192), plat::Rgb(128, 128, 128));
  for (int l = 1; l <= lanes; ++l) {
    const LaneInfo& lane = LaneAt(doc, l);
    LaneBox(p, 0, 10 * l, kBoxW, lane.Color2);
    LaneBox(p, kBackX, 10 * l, kBackW, lane.Color3);
    p.FillRect(TileX(l), TileY(l), TileX(l) + kTileW - 1, TileY(l) + kTileH - 1, ScaleColor(lane.Color1, bright));
  }

  BevelBox(p, kOpenX, kOpenY, kOpenW, plat::Rgb(64, 0, 64), plat::Rgb(255, 0, 255), plat::Rgb(128, 0, 128));
  p.Outline(kSelX, kSelY, kSelX + kBoxW - 1, kSelY + kBoxH - 1, kWhite);
  p.Outline(kPointerX, kPointerY, kPointerX + kBoxW - 1, kPointerY + kBoxH - 1, plat::Rgb(255, 255, 0));
  p.Line(kPieceX, kGridY, kPieceX + 100, kGridY, plat::Rgb(64, 64, 64));
  p.Line(kPieceX, kBeatY, kPieceX + 100, kBeatY, kGrey);
  p.FillRect(kPieceX, kMeasureY, kPieceX + 100, kMeasureY + 1, kWhite);
  p.FillRect(kHeavyX, kLaneLineY, kHeavyX + 1, kLaneLineY + 99, kWhite);
  p.FillRect(kThinX, kLaneLineY, kThinX + 1, kLaneLineY + 99, kGrey);

  // The glyph rows with the ground of their masks, and the measure digits: copied from where
  // they were drawn once.
  const Picture& text = SheetText();
  p.Blt(kGlyphX, 0, GlyphX(36) - kGlyphX, 40, text, kGlyphX, 0, plat::Rop::Copy);
  p.Blt(kDigitX, 40, 10 * kDigitW, kDigitY + kDigitH - 40, text, kDigitX, 40, plat::Rop::Copy);
}

void HeadDraw(const DocData& doc, int stripHeight, Picture& p) {
  using namespace sheet;
  const int lanes = std::max<int>(0, doc.LaneCount);
  p.SetBackColor(kBlack);
  p.Resize(lanes <= 2 ? 94 : 720, 50 * (lanes / kCellsPerBand) + 75);

  // Gradients: 91 bands of H / 90 pixels, later bands over earlier ones.
  const double band = stripHeight / 90.0;
  for (int cell = 0; cell < 3; ++cell) {
    const int x = cell * kCellW;
    for (int i = 0; i <= 90; ++i) {
      const int v = 127 - i;
      const int h = static_cast<int>(std::lrint(v * 1.5));
      const Color c = cell == 0 ? plat::Rgb(v, v, h) : cell == 1 ? plat::Rgb(h, v, v) : plat::Rgb(v, h, v);
      const double top = band * i;
      p.FillRect(x, static_cast<int>(std::lrint(top)), x + kCellW - 1, static_cast<int>(std::lrint(top + band)), c);
    }
  }
  p.FillRect(90, 0, 91, stripHeight, kWhite);
  p.FillRect(92, 0, 93, stripHeight, kGrey);

  const plat::Font font = LabelFont();
  p.FillRect(0, 50, 29, 74, kWhite);
  p.DrawText(4, 54, "BPM", kBlack, font);
  p.DrawText(2, 52, "BPM", kBlack, font);
  p.DrawText(2, 27, "BPM", kWhite, font);

  for (int l = 1; l <= lanes; ++l) {
    const LaneInfo& lane = LaneAt(doc, l);
    const int cx = HeadCellX(l), top = HeadMaskY(l);
    const int n = AnsiByteLen(lane.Label);
    const int x = cx + FloorDiv(31 - 8 * n, 2);
    p.FillRect(cx, top, cx + kCellW - 1, top + kCellH - 1, kWhite);
    p.DrawText(x + 2, top + 4, lane.Label, kBlack, font);
    p.DrawText(x, top + 2, lane.Label, kBlack, font);
    p.DrawText(x, top - 23, lane.Label, lane.BackChannel == "__" ? kWhite : plat::Rgb(128, 192, 255), font);
  }

  // Group bars over each group's four lanes; lanes the table does not have are skipped.
  for (int g = 0; g <= doc.Fmt.GtCount && g < static_cast<int>(doc.Fmt.Gt.size()); ++g) {
    for (int k = 0; k < 4; ++k) {
      const int l = doc.Fmt.Gt[g].Lane + k;
      if (l < 0 || l > lanes) continue;
      const Rgb& c = LaneAt(doc, l).Color2;
      const int cx = HeadCellX(l), ty = HeadTextY(l), my = HeadMaskY(l);
      p.FillRect(cx, ty, cx + kCellW - 1, ty + 1, ScaleColor(c, 192));
      p.FillRect(cx, ty + 2, cx + kCellW - 1, ty + 2, ScaleColor(c, 128));
      p.FillRect(cx, my, cx + kCellW - 1, my + 1, kBlack);
    }
  }
}

}  // namespace mk
