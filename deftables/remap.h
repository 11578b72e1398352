// Rewriting the definition numbers held in a grid: the live grid, an undo level's grid or a
// selection list, lane kind by lane kind.
#pragma once
#include <cstdint>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

// A renumbering of cell values, held as two lookup tables (front and back layer) over the
// values 0..11295; values outside them, and 0, always stay as they are.
class ValueMap {
 public:
  static constexpr int kSize = kOpenObjectBase + 1296;
  // Builds the tables from f(v, back), called once per value and layer.
  template <class F>
  static ValueMap From(F f) {
    ValueMap m;
    m.front_.resize(kSize);
    m.back_.resize(kSize);
    for (int v = 0; v < kSize; ++v) {
      const auto x = static_cast<int16_t>(v);
      m.front_[v] = v == 0 ? x : f(x, false);
      m.back_[v] = v == 0 ? x : f(x, true);
    }
    return m;
  }
  int16_t operator()(int16_t v, bool back) const {
    if (v < 0 || v >= kSize) return v;
    return back ? back_[v] : front_[v];
  }

 private:
  std::vector<int16_t> front_, back_;
};

// True when lane (1..LaneCount) of doc is of the kind asked for: numbered from the BGA table
// (part 88) or from the WAV table (any other part). Lane 0, the tempo lane, is neither.
bool DefLaneOf(const DocData& doc, int lane, bool bga);

// Applies map to every value of ticks 0..191 of both layers in the lanes of the kind asked for
// (lane parts read from doc), measure by measure. A cell is written (un-shared) only when one of
// its values changes; where map erased an object (gave 0) its Division follows what it now
// holds, and a cell left empty shares the empty record again. Returns true when a value changed.
// Cells that are the very record of the same place in done (a grid this map was already applied
// to, which copies every cell it changes) hold nothing to change and are skipped unread.
bool RemapGrid(std::vector<LaneMes>& grid, const DocData& doc, bool bga, const ValueMap& map,
               const std::vector<LaneMes>* done = nullptr);

// Applies map to the values of entries 1..count of a selection list whose numbers count from
// the table asked for (SelEntryTable: on the lanes the lane's, off them the one they carry, so
// entries dragged off the lanes are renumbered too and land back on their file). Entries whose value becomes 0 leave
// the list (count follows). True when changed.
bool RemapSelection(std::vector<SelEntry>& sel, int32_t& count, const DocData& doc, bool bga, const ValueMap& map);

// The same map on the live grid, the selection and both undo levels (grid and selection).
// Returns whether the live grid or selection changed; levelsChanged (when given) receives
// whether an undo level did.
bool RemapEverywhere(DocData& doc, bool bga, const ValueMap& map, bool* levelsChanged = nullptr);

}  // namespace mk
