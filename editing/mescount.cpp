// Measure count changes.
#include "editing/mescount.h"

#include <algorithm>

namespace mk {

bool MesChangeAllowed(const DocData& d, int delta, int maxMeasure) {
  const int count = d.MesCount + delta;
  return count >= 0 && count <= INT16_MAX && !(delta > 0 && count > maxMeasure);
}

bool Mes_Change(DocData& d, int delta, int maxMeasure) {
  if (!MesChangeAllowed(d, delta, maxMeasure)) return false;
  d.MesCount = static_cast<int16_t>(d.MesCount + delta);
  ResizeMeasures(d, d.MesCount);
  return true;
}

bool MesCutTakesSomething(const DocData& d, int newCount) {
  const int first = std::max(newCount + 1, 0);
  for (const LaneMes& lane : d.Obj) {
    const int last = std::min<int>(d.MesCount, static_cast<int>(lane.Mes.size()) - 1);
    for (int m = first; m <= last; ++m) {
      if (!lane.Mes.Stored(static_cast<size_t>(m))) continue;
      const MesData& c = lane.Mes[static_cast<size_t>(m)];
      if (c.Obj.Any() || c.BackObj.Any() || c.Length != 0) return true;
    }
  }
  const int n = SelectedEntryCount(d);
  for (int i = 1; i <= n; ++i) {
    const SelEntry& s = d.Sel[i];
    if (s.Lane >= 0 && s.Lane <= d.LaneCount && s.Mes >= first && s.Mes <= d.MesCount) return true;
  }
  return false;
}

bool MesButtonChange(DocData& d, EditHost& host, int delta, int maxMeasure, const std::function<bool()>& confirm) {
  if (!MesChangeAllowed(d, delta, maxMeasure)) return false;
  if (delta < 0 && MesCutTakesSomething(d, d.MesCount + delta)) {
    if (!confirm()) return false;
    host.ObjBackup();
  }
  Mes_Change(d, delta, maxMeasure);
  host.MesCountChanged();
  host.ObjDraw();
  return true;
}

}  // namespace mk
