// The selection commands of the chart context menu: everything in this measure, this lane, this
// part, or the whole chart is added to the floating selection (by the window's ObjSelect, then a
// redraw; no snapshot, no modified mark). The current selection stays: its
// objects are out of the grid, so selecting again adds nothing twice.
#pragma once
#include <optional>

#include "chartfmt/docdata.h"

namespace mk {

enum class SelScope { Measure, Lane, Part, All };

// Lanes x1..x2, measure m1 grid step s1 to measure m2 grid step s2.
struct SelRect {
  int x1 = 0, m1 = 0, s1 = 0, x2 = 0, m2 = 0, s2 = 0;
  bool operator==(const SelRect&) const = default;
};

// The rectangle of a command, covering whole measures (step 0 to the last step 191); the measure
// and whole-chart rectangles start at lane 1, leaving the tempo lane out. Nothing when the
// chart has no lanes, or when the pointer's lane (for the lane and the part) or its measure (for
// the measure) is not in the chart.
std::optional<SelRect> SelectionRect(const DocData& d, SelScope scope);

}  // namespace mk
