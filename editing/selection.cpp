// The rectangle selection: objects leave the grid for the selection list.
#include "editing/selection.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "chartfmt/defcode.h"

namespace mk {

namespace {

uint64_t PosKey(int lane, int mes, int tick) {
  return (static_cast<uint64_t>(static_cast<uint16_t>(lane)) << 32) |
         (static_cast<uint64_t>(static_cast<uint16_t>(mes)) << 16) | static_cast<uint16_t>(tick);
}

}  // namespace

SelectResult ObjSelect(DocData& d, int x1, int m1, int s1, int x2, int m2, int s2, bool noGrid) {
  SelectResult res;
  const bool sameCell = x1 == x2 && m1 == m2 && s1 == s2;
  int laneLo = std::min(x1, x2), laneHi = std::max(x1, x2);
  int startMes, startPos, endMes, endPos;
  if (m1 < m2) {
    startMes = m1, startPos = s1, endMes = m2, endPos = s2;
  } else if (m1 > m2) {
    startMes = m2, startPos = s2, endMes = m1, endPos = s1;
  } else {
    startMes = endMes = m1;
    startPos = std::min(s1, s2);
    endPos = std::max(s1, s2);
  }
  if (endMes > d.MesCount) {
    endMes = d.MesCount;
    endPos = kTicksPerMeasure;
  }
  int64_t startTick = startPos, endTick = endPos;
  if (!noGrid) {
    const int64_t w = kTicksPerMeasure / std::max<int>(1, d.GridDiv);
    startTick = w * startPos;
    endTick = sameCell ? startTick : w * endPos + w - 1;
  }
  // Only ticks 0..191 are ever scanned; the bound is held there so that a whole-measure request
  // on a coarse grid cannot overflow.
  endTick = std::min<int64_t>(endTick, kTicksPerMeasure - 1);

  laneLo = std::max(laneLo, 0);
  laneHi = std::min({laneHi, static_cast<int>(d.LaneCount), static_cast<int>(d.Obj.size()) - 1});
  const int mesLo = std::max(startMes, 0);
  const int mesHi = endMes;

  if (d.Sel.empty()) d.Sel.resize(1);
  const int32_t oldCount = std::min<int32_t>(d.SelCount, static_cast<int32_t>(d.Sel.size()) - 1);
  d.Sel.resize(static_cast<size_t>(oldCount) + 1);
  d.SelCount = oldCount;

  // Positions the list already holds inside the rectangle: a set looked up once per object.
  std::unordered_set<uint64_t> held;
  for (int32_t i = 1; i <= oldCount; ++i) {
    const SelEntry& e = d.Sel[i];
    if (e.Lane >= laneLo && e.Lane <= laneHi && e.Mes >= mesLo && e.Mes <= mesHi)
      held.insert(PosKey(e.Lane, e.Mes, e.Tick));
  }

  std::vector<int> taken;
  taken.reserve(kTicksPerMeasure);
  for (int l = laneLo; l <= laneHi; ++l) {
    MesList& list = d.Obj[l].Mes;
    const int last = std::min(mesHi, static_cast<int>(list.size()) - 1);
    for (int m = mesLo; m <= last; ++m) {
      const MesData& cell = list[m];
      const int div = cell.Division;
      if (div <= 0 || kTicksPerMeasure % div != 0) continue;
      const int step = kTicksPerMeasure / div;
      const int tFrom = m == startMes ? static_cast<int>(std::max<int64_t>(startTick, 0)) : 0;
      const int tTo = m == endMes ? static_cast<int>(endTick) : kTicksPerMeasure - 1;
      // Take in reading order; the cell is written only afterwards, and a cell left with
      // nothing at all goes back to the shared empty record without being copied first.
      taken.clear();
      // Both layers' ticks in order, on the cell's grid between tFrom and tTo.
      const CellLayer::EntryList& fe = cell.Obj.Entries();
      const CellLayer::EntryList& be = cell.BackObj.Entries();
      for (size_t i = 0, j = 0; i < fe.size() || j < be.size();) {
        const int tf = i < fe.size() ? fe[i].Tick : kCellSlots, tb = j < be.size() ? be[j].Tick : kCellSlots;
        const int t = std::min(tf, tb);
        const int16_t front = tf == t ? fe[i++].Value : int16_t{0};
        const int16_t back = tb == t ? be[j++].Value : int16_t{0};
        if (t < tFrom || t > tTo || t % step != 0) continue;
        if (front <= 0 && back <= 0) continue;
        if (!held.empty() && held.count(PosKey(l, m, t))) continue;
        const int16_t lane16 = static_cast<int16_t>(l), mes16 = static_cast<int16_t>(m), t16 = static_cast<int16_t>(t);
        if (front > 0) {
          d.Sel.push_back(SelEntry{lane16, mes16, t16, front, 0});
          res.LastValue = front;
        }
        if (back > 0) {
          d.Sel.push_back(SelEntry{lane16, mes16, t16, back, -1});
          res.LastValue = back;
        }
        taken.push_back(t);
      }
      if (taken.empty()) continue;
      // Emptied when the values taken are all the cell holds.
      const int nonzero = static_cast<int>(fe.size() + be.size());
      const bool emptied = cell.Length == 0 && nonzero == static_cast<int>(d.Sel.size()) - 1 - oldCount - res.Added;
      res.Added = static_cast<int32_t>(d.Sel.size()) - 1 - oldCount;
      if (emptied) {
        list.Clear(m);
        continue;
      }
      MesData& out = list.Write(m);
      for (int t : taken) {
        if (out.Obj[t] > 0) out.Obj[t] = 0;
        if (out.BackObj[t] > 0) out.BackObj[t] = 0;
      }
    }
  }
  d.SelCount = oldCount + res.Added;
  RecalcLaneResolution(d, laneLo, laneHi, mesLo, mesHi);
  return res;
}

std::string SelectPreviewFile(const DocData& d, const SelectResult& r) {
  if (r.Added != 1) return {};
  int v = r.LastValue;
  if (v > kOpenObjectBase) v -= kOpenObjectBase;
  if (v < 1 || v >= static_cast<int>(d.Wav.size()) || d.Wav[v].File.empty()) return {};
  return d.Folder + d.Wav[v].File;
}

}  // namespace mk
