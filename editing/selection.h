// Lifting objects out of the grid into the floating selection.
#pragma once
#include <cstdint>
#include <string>

#include "chartfmt/docdata.h"

namespace mk {

struct SelectResult {
  int32_t Added = 0;      // entries this call appended
  int16_t LastValue = 0;  // the value of the last one (as it stood in the grid)
};

// Lifts every object of both layers inside the rectangle between the corners (x1, m1, s1) and
// (x2, m2, s2), given in either order, into d.Sel and empties its cell. The positions are grid
// steps (a corner's step covers its whole cell; both corners in one cell cover its grid line
// only), or ticks with noGrid. A last measure past MesCount reaches to the end of the chart.
// A position that an entry of the list already holds is skipped, in both layers. Entries are
// appended by lane, measure and tick, front before back; the lane resolutions of the rectangle
// are recomputed. Lanes are limited to the lane table and measures to 0 and above.
SelectResult ObjSelect(DocData& d, int x1, int m1, int s1, int x2, int m2, int s2, bool noGrid = false);

// The sound a selection of exactly one object previews: the chart folder followed by the file of
// the WAV definition the object's number names. Empty (nothing to play) when the call added
// another number of objects, the number has no WAV definition or the definition has no file.
std::string SelectPreviewFile(const DocData& d, const SelectResult& r);

}  // namespace mk
