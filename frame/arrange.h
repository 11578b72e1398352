// Arranging the chart windows in the frame's chart area: cascade, tiles one above the other or
// side by side, and the minimised windows in rows along the bottom. Pure geometry in pixels.
#pragma once
#include <vector>

#include "frame/palette_layout.h"

namespace mk {

// n windows stacked from the top-left corner, each step pixels right of and below the previous
// one, all of the same size: the area less the offsets, but never under half the area. When the
// offsets would pass that, the windows start again at the corner.
std::vector<PxRect> CascadeRects(int n, int areaWidth, int areaHeight, int step);

// n windows tiling the area. horizontal: in rows, one above the other (up to three windows, one
// row each; more share the rows of a square-ish grid, the later rows taking the extra windows);
// otherwise the same in columns side by side. Together they cover the area exactly.
std::vector<PxRect> TileRects(int n, int areaWidth, int areaHeight, bool horizontal);

// n minimised windows of iconWidth x iconHeight from the bottom-left corner, left to right, a new
// row above when a row is full.
std::vector<PxRect> IconRects(int n, int iconWidth, int iconHeight, int areaWidth, int areaHeight);

}  // namespace mk
