// Rewriting the definition numbers held in a grid: the live grid, an undo level's grid or a
// selection list, lane kind by lane kind.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

// The new value of a non-zero cell value; back is true for the back layer. Returning v leaves
// it; empty cells (0) are never passed.
using ValueMap = std::function<int16_t(int16_t v, bool back)>;

// True when lane (1..LaneCount) of doc is of the kind asked for: numbered from the BGA table
// (part 88) or from the WAV table (any other part). Lane 0, the tempo lane, is neither.
bool DefLaneOf(const DocData& doc, int lane, bool bga);

// Applies map to every value of ticks 0..191 of both layers in the lanes of the kind asked for
// (lane parts read from doc), measure by measure. A cell is written (un-shared) only when one of
// its values changes; where map erased an object (gave 0) its Division follows what it now
// holds, and a cell left empty shares the empty record again. Returns true when a value changed.
bool RemapGrid(std::vector<LaneMes>& grid, const DocData& doc, bool bga, const ValueMap& map);

// Applies map to the values of entries 1..count of a selection list whose lanes are of the kind
// asked for. Entries whose value becomes 0 leave the list (count follows). True when changed.
bool RemapSelection(std::vector<SelEntry>& sel, int32_t& count, const DocData& doc, bool bga, const ValueMap& map);

// The same map on the live grid, the selection and both undo levels (grid and selection).
bool RemapEverywhere(DocData& doc, bool bga, const ValueMap& map);

}  // namespace mk
