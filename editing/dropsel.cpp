// Writing the floating selection back into the grid.
#include "editing/dropsel.h"

#include <algorithm>

#include "chartfmt/chartread.h"
#include "chartfmt/defcode.h"
#include "editing/mescount.h"

namespace mk {

namespace {

bool OnGrid(const DocData& d, const SelEntry& s) {
  return s.Lane >= 0 && s.Lane <= d.LaneCount && s.Lane < static_cast<int>(d.Obj.size()) && s.Mes >= 0 &&
         s.Tick >= 0 && s.Tick < kCellSlots;
}

}  // namespace

int64_t StoredCells(const DocData& d) {
  int64_t n = 0;
  for (const LaneMes& lane : d.Obj) n += static_cast<int64_t>(lane.Mes.StoredCells());
  return n;
}

int16_t LandedFrontValue(const DocData& d, int lane, int16_t value) {
  if (value > kOpenObjectBase) {
    const int groups = std::min<int>(d.Fmt.GtCount + 1, static_cast<int>(d.Fmt.Gt.size()));
    for (int g = 0; g < groups; ++g)
      if (d.Fmt.Gt[g].Lane == lane) return value;
    return static_cast<int16_t>(value - kOpenObjectBase);
  }
  if (lane == 0 && value > 255) return 255;
  return value;
}

DropResult ObjDeSel(DocData& d, int maxMeasure, bool keep) {
  DropResult r;
  if (d.SelCount < 1) return r;
  const int n = std::min<int>(d.SelCount, static_cast<int>(d.Sel.size()) - 1);
  int furthest = -1;
  for (int i = 1; i <= n; ++i)
    if (OnGrid(d, d.Sel[i])) furthest = std::max<int>(furthest, d.Sel[i].Mes);
  if (furthest > d.MesCount) {
    const int target = std::min(furthest, std::max<int>(maxMeasure, d.MesCount));
    r.grew = target > d.MesCount && Mes_Change(d, target - d.MesCount, maxMeasure);
  }
  int64_t cells = StoredCells(d);
  int lane1 = INT16_MAX, lane2 = -1, mes1 = INT16_MAX, mes2 = -1;
  for (int i = 1; i <= n; ++i) {
    const SelEntry& s = d.Sel[i];
    if (!OnGrid(d, s) || s.Mes > d.MesCount) {
      ++r.dropped;
      continue;
    }
    MesList& list = d.Obj[s.Lane].Mes;
    if (!list.Stored(s.Mes)) {
      if (cells >= kMaxChartCells) {
        ++r.dropped;
        r.full = true;
        continue;
      }
      ++cells;
    }
    MesData& cell = list.Write(s.Mes);
    if (s.Back != 0)
      cell.BackObj[s.Tick] = s.Value;
    else
      cell.Obj[s.Tick] = LandedFrontValue(d, s.Lane, s.Value);
    lane1 = std::min<int>(lane1, s.Lane);
    lane2 = std::max<int>(lane2, s.Lane);
    mes1 = std::min<int>(mes1, s.Mes);
    mes2 = std::max<int>(mes2, s.Mes);
  }
  if (!keep) {
    d.Sel.assign(1, SelEntry{});
    d.SelCount = 0;
  }
  if (lane2 >= 0) RecalcLaneResolution(d, lane1, lane2, mes1, mes2);
  return r;
}

}  // namespace mk
