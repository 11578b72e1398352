// The pointer on the chart canvas: canvas pixels to lane, measure, grid step and tick, the
// status-bar texts of that position, and the hit test of a select-mode press.
#pragma once
#include <cstdint>
#include <string>

#include "chartfmt/docdata.h"

namespace mk {

// Width of a lane on the canvas, in pixels.
inline constexpr int kLanePixels = 30;

// What the conversion reads of the window besides the record: the canvas size and the
// horizontal scroll bar (one unit is 5 pixels; lanes are kLanePixels wide).
struct CanvasGeom {
  int Width = 0;
  int Height = 0;
  int HScrollValue = 0;
};

// Sets CurLane, CurMes, CurStep, CurTick, CurX and CurY from the canvas position (x, y). Off the
// canvas (x = Width and y = Height still count as inside) lane, measure and step become -1 and
// tick, x and y keep their values; right of the last lane only the lane becomes -1. CurMes may
// lie past MesCount: callers compare before they touch the grid.
void UpdateCursorPos(DocData& d, const CanvasGeom& g, double x, double y);

// The status-bar panels "CursorLane" and "CursorPos" for the pointer fields of d.
std::string CursorLaneText(const DocData& d);
std::string CursorPosText(const DocData& d);

// What a select-mode press found at or just before the pointer.
enum class Hit : int16_t {
  None = 0,      // nothing in the scanned positions, or the scan ran past the start
  Front = 1,     // a front-layer object (1..10000; an open object is no hit)
  Back = 2,      // a back-layer object where the front layer holds none
  Selected = 3,  // a selected entry at that position (either layer)
};
struct HitResult {
  Hit Code = Hit::None;
  int16_t Tick = 0;  // where the scan stopped: the position found, else the last one examined
  int16_t Mes = 0;   // (-1 when it ran past the start of the chart)
};

// Scans from (mes, tick) backward in time over nearest(10 - Zoom) + 1 positions (the previous
// measure is entered at its spare tick 192); at each position the selection comes first, then
// the front layer, then the back layer.
HitResult HitTestObject(const DocData& d, int lane, int mes, int tick);

}  // namespace mk
