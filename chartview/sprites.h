// The two sprite sheets of a chart window, drawn once per script read: the object sheet (boxes,
// tiles, line pieces, glyphs, measure digits) and the lane-header sheet (backgrounds, label cells,
// group bars). Every repaint only copies the fixed rectangles named here.
#pragma once
#include <cstdint>

#include "chartfmt/docdata.h"
#include "platform/gfx/picture.h"

namespace mk {

namespace sheet {
// Object sheet places (x, y).
constexpr int kBoxW = 28, kBoxH = 10;    // front box of lane L at (0, 10L)
constexpr int kBackX = 31, kBackW = 22;  // back box of lane L at (31, 10L)
constexpr int kOpenX = 310, kOpenY = 10, kOpenW = 88;
constexpr int kSelX = 310, kSelY = 0;          // selection highlight, 28 x 10
constexpr int kPointerX = 340, kPointerY = 0;  // pointer frame, 28 x 10
constexpr int kPieceX = 56;                    // line pieces start here
constexpr int kGridY = 110, kBeatY = 111, kMeasureY = 112;
constexpr int kLaneLineY = 120, kHeavyX = 56, kThinX = 58;
constexpr int kTileY = 120, kTileW = 6, kTileH = 100;
constexpr int kGlyphX = 56, kGlyphW = 7, kGlyphH = 10;
constexpr int kMaskRow = 20, kLowerRow = 10;  // paint rows at 0 / 10, masks at 20 / 30
constexpr int kDigitX = 56, kDigitW = 35, kDigitY = 41, kDigitH = 67;
// Lane-header sheet.
constexpr int kCellW = 30, kCellH = 25, kCellsPerBand = 24;

// Background tile of lane L: lanes 1 to 58 in the row at y 120 (x 60 to 407); from lane 59 on
// the sheet is widened by one block of 58 tiles right of x 410, filled in bands of 100 rows
// (the sheet's height, one 10-pixel row per lane, always holds them).
constexpr int kTilesPerRow = 58, kWideX = 410;
constexpr int TileX(int lane) {
  return lane <= kTilesPerRow ? 54 + 6 * lane : kWideX + kTileW * ((lane - kTilesPerRow - 1) % kTilesPerRow);
}
constexpr int TileY(int lane) {
  return lane <= kTilesPerRow ? kTileY : kTileY + kTileH * ((lane - kTilesPerRow - 1) / kTilesPerRow);
}
constexpr int GlyphX(int g) { return kGlyphX + kGlyphW * g; }
// Text cell and mask cell of lane L on the lane-header sheet.
constexpr int HeadCellX(int lane) { return kCellW * (lane % kCellsPerBand); }
constexpr int HeadTextY(int lane) { return 50 * (lane / kCellsPerBand) + 25; }
constexpr int HeadMaskY(int lane) { return 50 * (lane / kCellsPerBand + 1); }
}  // namespace sheet

// Lane L of the lane table, or an empty lane where the table has no such entry.
const LaneInfo& LaneAt(const DocData& doc, int lane);

// Colour component c scaled by m / 255, rounded down, in 0..255 (c above 255 counts as 255, a
// scale below 0 gives 0).
int ScaleComponent(int c, int m);
plat::Color ScaleColor(const Rgb& c, int m);

// Object sheet size for a lane count: 410 x 220, taller by one 10-pixel row per lane from 22
// lanes on, and from 59 lanes on wider by the tiles of the lanes beyond 58 (at most 58 tiles).
int ObjSheetWidth(int laneCount);
int ObjSheetHeight(int laneCount);

// The lane labels' font: the sheet font at 11 points, or smaller where that font's characters
// are too wide for a three-character label to fit its 30-pixel lane with its shadow.
plat::Font LabelFont();

// Redraws the whole object sheet from the record.
void ObjMake(const DocData& doc, plat::Picture& sheet);
// Paints the lane-header sheet for a strip of height stripHeight; it does not clear the sheet.
void HeadDraw(const DocData& doc, int stripHeight, plat::Picture& sheet);

}  // namespace mk
