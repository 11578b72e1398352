// The lane header strip above the canvas: one 30 x 25 cell per lane, composed from the sprite
// sheets and scrolled with the canvas's lane columns.
#pragma once
#include "chartfmt/docdata.h"
#include "chartview/viewstate.h"
#include "platform/gfx/picture.h"

namespace mk {

// Repaints the whole strip. With no lanes the strip keeps its picture; returns false then.
bool HeadDraw2(const DocData& doc, const ViewState& view, const SpriteSheets& sheets, plat::Picture& strip);
// The second entry of the strip repaint.
bool HeadObj(const DocData& doc, const ViewState& view, const SpriteSheets& sheets, plat::Picture& strip);

// First and last lane edge (in lane coordinates, multiples of 30) visited for a view starting at
// x0 and ending at xr: from the edge at or left of x0 to the first edge right of xr.
inline int FirstEdge(int x0, int step) { return x0 - x0 % step; }
inline int LastEdge(int xr, int step) { return xr - xr % step + step; }

}  // namespace mk
