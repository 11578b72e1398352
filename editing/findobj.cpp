// The object search over the grid or the current selection.
#include "editing/findobj.h"

#include <algorithm>

#include "chartfmt/defcode.h"
#include "editing/dropsel.h"

namespace mk {

std::vector<bool> GroupStartLanes(const DocData& d) {
  std::vector<bool> starts(static_cast<size_t>(std::max<int>(d.LaneCount, 0)) + 1, false);
  for (int g = 0; g <= d.Fmt.GtCount && g < static_cast<int>(d.Fmt.Gt.size()); ++g) {
    const int lane = d.Fmt.Gt[g].Lane;
    if (lane >= 0 && lane < static_cast<int>(starts.size())) starts[lane] = true;
  }
  return starts;
}

bool FindMatches(const FindCriteria& c, const SelEntry& e) {
  if (e.Lane < 0 || e.Lane >= static_cast<int>(c.lanes.size()) || !c.lanes[e.Lane]) return false;
  if (e.Mes < c.mesFrom || e.Mes > c.mesTo) return false;
  const bool open = e.Value > kOpenObjectBase;
  const int v = open ? e.Value - kOpenObjectBase : e.Value;
  if (v < c.numFrom || v > c.numTo) return false;
  if (open && !c.open) return false;
  if (e.Back == 0 && !c.front) return false;
  if (e.Back == -1 && !c.back) return false;
  return true;
}

namespace {

// Writes back the entries that did not match, as dropping a selection does, and leaves the
// matching ones selected.
FindResult PutBack(DocData& d, std::vector<SelEntry>&& kept, std::vector<SelEntry>&& back, int maxMeasure) {
  FindResult r;
  if (back.size() > 1) {
    d.Sel = std::move(back);
    d.SelCount = static_cast<int32_t>(d.Sel.size() - 1);
    r.grew = ObjDeSel(d, maxMeasure).grew;
    // Entries the grid cannot hold where they are stay selected, after the matches.
    kept.insert(kept.end(), d.Sel.begin() + 1, d.Sel.begin() + 1 + d.SelCount);
  }
  d.Sel = std::move(kept);
  d.SelCount = static_cast<int32_t>(d.Sel.size() - 1);
  return r;
}

}  // namespace

FindResult FindObjects(DocData& d, const FindCriteria& c, int maxMeasure) {
  FindResult r;
  if (d.LaneCount < 1 || static_cast<int>(d.Obj.size()) <= d.LaneCount) return r;
  std::vector<SelEntry> kept(1), back(1);  // element 0 unused, as in the selection list

  if (c.narrow) {
    const int n = SelectedEntryCount(d);
    for (int i = 1; i <= n; ++i) (FindMatches(c, d.Sel[i]) ? kept : back).push_back(d.Sel[i]);
    return PutBack(d, std::move(kept), std::move(back), maxMeasure);
  }

  r.grew = ObjDeSel(d, maxMeasure).grew;
  // What the grid could not hold floats on: it goes through the put-back with the rest.
  back.insert(back.end(), d.Sel.begin() + 1, d.Sel.begin() + 1 + d.SelCount);
  // Lifting every object and putting back those that do not match leaves the latter where they
  // are, except open values on lanes where no group starts: those go back as dropping a
  // selection writes them, so they are lifted and put back too.
  const std::vector<bool> groupStart = GroupStartLanes(d);
  int mes1 = INT32_MAX, mes2 = -1, lane1 = INT32_MAX, lane2 = -1;
  for (int lane = 1; lane <= d.LaneCount; ++lane) {
    MesList& list = d.Obj[lane].Mes;
    for (int m = 0; m <= d.MesCount && m < static_cast<int>(list.size()); ++m) {
      if (!list.Stored(m)) continue;
      const MesData& cell = list[m];
      const int div = cell.Division;
      if (div < 1 || div > kTicksPerMeasure || kTicksPerMeasure % div != 0) continue;
      const int step = kTicksPerMeasure / div;
      bool touched = false;
      for (int t = 0; t < kTicksPerMeasure; t += step) {
        const int16_t fv = list[m].Obj[t], bv = list[m].BackObj[t];
        if (fv <= 0 && bv <= 0) continue;
        for (int layer = 0; layer < 2; ++layer) {
          const int16_t v = layer == 0 ? fv : bv;
          if (v <= 0) continue;
          const SelEntry e{static_cast<int16_t>(lane), static_cast<int16_t>(m), static_cast<int16_t>(t), v,
                           static_cast<int16_t>(layer == 0 ? 0 : -1)};
          const bool match = FindMatches(c, e);
          if (!match && !(layer == 0 && v > kOpenObjectBase && !groupStart[lane])) continue;
          (match ? kept : back).push_back(e);
          MesData& w = list.Write(m);
          (layer == 0 ? w.Obj : w.BackObj)[t] = 0;
          touched = true;
        }
      }
      if (touched) {
        lane1 = std::min(lane1, lane);
        lane2 = std::max(lane2, lane);
        mes1 = std::min(mes1, m);
        mes2 = std::max(mes2, m);
      }
    }
  }
  if (lane2 >= 0) RecalcLaneResolution(d, lane1, lane2, mes1, mes2);
  FindResult p = PutBack(d, std::move(kept), std::move(back), maxMeasure);
  p.grew = p.grew || r.grew;
  return p;
}

}  // namespace mk
