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
// every entry that then lies inside the grid (a tempo value above 255 as 255) and empties the
// list. Entries off the lanes, before measure 0 or past the measure limit are dropped.
DropResult ObjDeSel(DocData& d, int maxMeasure);

// Cells of the grid that hold a record of their own.
int64_t StoredCells(const DocData& d);

}  // namespace mk
