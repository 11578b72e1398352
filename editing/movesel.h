// Dragging the floating selection, and the auto-scroll that runs while a drag or a rubber band
// has the pointer beyond the canvas.
#pragma once
#include <cstdint>

#include "chartfmt/docdata.h"

namespace mk {

// Moves every entry of d.Sel by the lane difference and by the time between the two grid
// positions (a step is 192 \ GridDiv ticks), so each keeps its offset from the grid. Nothing is
// clamped: entries may leave the lanes or go before measure 0 (the drop leaves them floating
// there) and come back when dragged back.
void MoveSelection(DocData& d, int fromLane, int fromMes, int fromStep, int toLane, int toMes, int toStep);

// One auto-scroll timer as UpdateAutoScroll leaves it.
struct TimerState {
  bool Running = false;
  int Interval = 0;  // milliseconds
};

// The pointer the timers scroll toward, and the two timers.
struct AutoScroll {
  int16_t PointerX = 0;
  int16_t PointerY = 0;
  TimerState X;
  TimerState Y;
};

// Records the pointer and runs each timer while the pointer is beyond that axis's canvas edges
// (the edges themselves are inside): 50 ms less 1 ms per 10 pixels beyond a side edge, per 7
// pixels beyond the top or bottom, never below 5 ms.
void UpdateAutoScroll(AutoScroll& a, double x, double y, int canvasWidth, int canvasHeight);

// One timer tick on one axis: the scroll-bar value after scrolling toward the edge the pointer
// has left by (distance \ divisor)^2 + 2 units, within minimum..maximum. A divisor below 1
// counts as 1.
int AutoScrollValue(int pointer, int extent, int value, int minimum, int maximum, int divisor);

}  // namespace mk
