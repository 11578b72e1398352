// Rewriting definition numbers in grids and selection lists.
#include "deftables/remap.h"

#include <algorithm>

#include "chartfmt/defcode.h"

namespace mk {

bool DefLaneOf(const DocData& doc, int lane, bool bga) {
  if (lane < 1 || lane > doc.LaneCount || lane >= static_cast<int>(doc.Lane.size())) return false;
  return (doc.Lane[lane].Part == kPartBga) == bga;
}

bool RemapGrid(std::vector<LaneMes>& grid, const DocData& doc, bool bga, const ValueMap& map,
               const std::vector<LaneMes>* done) {
  bool changed = false;
  const int lanes = std::min<int>(static_cast<int>(grid.size()) - 1, doc.LaneCount);
  for (int l = 1; l <= lanes; ++l) {
    if (!DefLaneOf(doc, l, bga)) continue;
    MesList& mes = grid[l].Mes;
    const MesList* seen = done && l < static_cast<int>(done->size()) ? &(*done)[l].Mes : nullptr;
    for (size_t m = 0; m < mes.size(); ++m) {
      if (!mes.Stored(m)) continue;
      if (seen && m < seen->size() && mes.SharesCell(*seen, m)) continue;
      const MesData& cell = mes[m];
      const auto differs = [&map](const CellLayer& layer, bool back) {
        for (const CellLayer::Entry& e : layer.Entries())
          if (e.Tick < kTicksPerMeasure && map(e.Value, back) != e.Value) return true;
        return false;
      };
      if (!differs(cell.Obj, false) && !differs(cell.BackObj, true)) continue;
      MesData& w = mes.Write(m);
      bool erased = w.Obj.Transform([&map](int16_t v) { return map(v, false); });
      erased = w.BackObj.Transform([&map](int16_t v) { return map(v, true); }) || erased;
      if (!erased) {
        changed = true;
        continue;  // no object left its tick: Division stands
      }
      w.Division = CellDivision(w);
      const MesData& none = MesList::Empty();
      if (w.Division == 0 && w.Length == 0 && w.Obj == none.Obj && w.BackObj == none.BackObj) mes.Clear(m);
      changed = true;
    }
  }
  return changed;
}

bool RemapSelection(std::vector<SelEntry>& sel, int32_t& count, const DocData& doc, bool bga, const ValueMap& map) {
  bool changed = false;
  const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(sel.size()) - 1);
  int32_t kept = 0;
  for (int32_t i = 1; i <= n; ++i) {
    SelEntry e = sel[i];
    if (e.Value != 0 && SelEntryTable(doc, e) == (bga ? kSelTableBga : kSelTableWav)) {
      const int16_t v = map(e.Value, e.Back != 0);
      changed = changed || v != e.Value;
      e.Value = v;
      if (v == 0) continue;
    }
    sel[++kept] = e;
  }
  if (n >= 0 && kept != n) {
    sel.resize(static_cast<size_t>(kept) + 1);
    count = kept;
  }
  return changed;
}

bool RemapEverywhere(DocData& doc, bool bga, const ValueMap& map, bool* levelsChanged) {
  bool changed = RemapGrid(doc.Obj, doc, bga, map);
  changed = RemapSelection(doc.Sel, doc.SelCount, doc, bga, map) || changed;
  bool levels = RemapGrid(doc.UndoObj, doc, bga, map, &doc.Obj);
  levels = RemapGrid(doc.UndoObj2, doc, bga, map, &doc.UndoObj) || levels;
  levels = RemapSelection(doc.UndoSel, doc.UndoSelCount, doc, bga, map) || levels;
  levels = RemapSelection(doc.UndoSel2, doc.UndoSelCount2, doc, bga, map) || levels;
  if (levelsChanged) *levelsChanged = levels;
  return changed;
}

}  // namespace mk
