// The note count: objects of each lane, front and back layer apart.
#pragma once
#include <cstdint>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

struct NoteCounts {
  std::vector<int32_t> front;  // by lane 0..LaneCount
  std::vector<int32_t> back;
};

// Counts every value above 0 on the ticks that each cell's Division names, and every entry of
// the floating selection on a lane of the chart, since those are objects the user sees.
NoteCounts CountNotes(const DocData& d);

}  // namespace mk
