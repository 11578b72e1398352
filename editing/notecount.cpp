// Counting the objects of a chart by lane and layer.
#include "editing/notecount.h"

#include <algorithm>

namespace mk {

NoteCounts CountNotes(const DocData& d) {
  NoteCounts c;
  const int lanes = std::max<int>(d.LaneCount, 0) + 1;
  c.front.assign(lanes, 0);
  c.back.assign(lanes, 0);
  for (int lane = 0; lane < lanes && lane < static_cast<int>(d.Obj.size()); ++lane) {
    const MesList& list = d.Obj[lane].Mes;
    for (int m = 0; m <= d.MesCount && m < static_cast<int>(list.size()); ++m) {
      if (!list.Stored(m)) continue;
      const MesData& cell = list[m];
      const int n = cell.Division;
      if (n < 1 || n > kTicksPerMeasure || kTicksPerMeasure % n != 0) continue;
      // Only the ticks of the cell's grid count.
      const int step = kTicksPerMeasure / n;
      const auto count = [step](const CellLayer& layer) {
        int k = 0;
        for (const CellLayer::Entry& e : layer.Entries())
          k += e.Tick < kTicksPerMeasure && e.Tick % step == 0 && e.Value > 0;
        return k;
      };
      c.front[lane] += count(cell.Obj);
      c.back[lane] += count(cell.BackObj);
    }
  }
  const int n = SelectedEntryCount(d);
  for (int i = 1; i <= n; ++i) {
    const SelEntry& e = d.Sel[i];
    if (e.Lane < 0 || e.Lane >= lanes || e.Mes < 0 || e.Value <= 0) continue;
    ++(e.Back != 0 ? c.back : c.front)[e.Lane];
  }
  return c;
}

}  // namespace mk
