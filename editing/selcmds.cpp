// Selection by measure, lane, part or the whole chart.
#include "editing/selcmds.h"

namespace mk {

namespace {

constexpr int kLastStep = 191;

int16_t PartOf(const DocData& d, int lane) {
  return lane >= 1 && lane < static_cast<int>(d.Lane.size()) ? d.Lane[lane].Part : 0;
}

}  // namespace

std::optional<SelRect> SelectionRect(const DocData& d, SelScope scope) {
  if (d.LaneCount < 1) return std::nullopt;
  const bool laneInChart = d.CurLane >= 0 && d.CurLane <= d.LaneCount;
  if ((scope == SelScope::Lane || scope == SelScope::Part) && !laneInChart) return std::nullopt;
  switch (scope) {
    case SelScope::Measure:
      if (d.CurMes < 0 || d.CurMes > d.MesCount) return std::nullopt;
      return SelRect{1, d.CurMes, 0, d.LaneCount, d.CurMes, kLastStep};
    case SelScope::Lane: return SelRect{d.CurLane, 0, 0, d.CurLane, d.MesCount, kLastStep};
    case SelScope::Part: {
      // Part numbers never decrease along the lanes: the first and last lane of the pointer's
      // part bound exactly its lanes. The tempo lane has part 0.
      const int16_t p = PartOf(d, d.CurLane);
      int first = -1, last = 0;
      for (int i = 0; i <= d.LaneCount; ++i) {
        if (PartOf(d, i) != p) continue;
        if (first == -1) first = i;
        last = i;
      }
      return SelRect{first, 0, 0, last, d.MesCount, kLastStep};
    }
    case SelScope::All: return SelRect{1, 0, 0, d.LaneCount, d.MesCount, kLastStep};
  }
  return std::nullopt;
}

}  // namespace mk
