// Landing the floating selection: every selected object is written back into the grid and the
// selection list is emptied.
#pragma once
#include <cstdint>

#include "chartfmt/docdata.h"

namespace mk {

struct DropResult {
  bool grew = false;     // the measure count changed to hold the entries
  int32_t dropped = 0;   // entries that could not be written (off the lanes, past the limits)
  bool full = false;     // some were left out because the chart holds as many cells as it may
};

// Grows the chart once to the furthest measure the entries need (at most maxMeasure), writes
// every entry that then lies inside the grid and empties the list. Entries off the lanes, before
// measure 0 or past the measure limit are dropped. A front value is written as the lane can hold
// it: an open object (above 10000) stays open only on the first lane of a lane group and is an
// ordinary object elsewhere; a tempo value above 255 is written as 255. Later entries for the
// same cell win. With keep (a copy drag) the list stays as it was, now also in the grid.
DropResult ObjDeSel(DocData& d, int maxMeasure, bool keep = false);

// The value a front-layer entry lands as on lane.
int16_t LandedFrontValue(const DocData& d, int lane, int16_t value);

// Cells of the grid that hold a record of their own.
int64_t StoredCells(const DocData& d);

}  // namespace mk
