// Writing the floating selection back into the grid.
#include "editing/dropsel.h"

#include <algorithm>
#include <vector>

#include "chartfmt/chartread.h"
#include "chartfmt/defcode.h"
#include "editing/mescount.h"

namespace mk {

int64_t StoredCells(const DocData& d) {
  int64_t n = 0;
  for (const LaneMes& lane : d.Obj) n += static_cast<int64_t>(lane.Mes.StoredCells());
  return n;
}

int16_t LandedFrontValue(const DocData& d, int lane, int16_t value) {
  if (value > kOpenObjectBase) {
    if (GroupStartingAt(d, lane) >= 0) return value;
    value = static_cast<int16_t>(value - kOpenObjectBase);
  }
  // An open value that lands on the tempo lane is a tempo value like any other.
  if (lane == 0 && value > 255) return 255;
  return value;
}

namespace {

// The value an on-grid entry lands as, and why the grid cannot hold it there (measure aside).
StoreFault EntryFault(const DocData& d, const SelEntry& s, int16_t* landed) {
  *landed = s.Back != 0 ? s.Value : LandedFrontValue(d, s.Lane, s.Value);
  if (s.Tick >= kTicksPerMeasure) return StoreFault::Measure;  // the spare slot is never written
  return ObjectStoreFault(d, s.Lane, s.Back != 0, *landed);
}

}  // namespace

StoreFault SelEntryFault(const DocData& d, const SelEntry& s) {
  int16_t landed = 0;
  return EntryFault(d, s, &landed);
}

namespace {

// Why the grid has no cell for the entry: off the lanes, before measure 0, or off the ticks of a
// measure.
StoreFault PlaceFault(const DocData& d, const SelEntry& s) {
  if (s.Lane < 0 || s.Lane > d.LaneCount || s.Lane >= static_cast<int>(d.Obj.size())) return StoreFault::NoLane;
  if (s.Mes < 0) return StoreFault::BeforeStart;
  if (s.Tick < 0 || s.Tick >= kCellSlots) return StoreFault::Measure;
  return StoreFault::None;
}

// Why the drop leaves the entry floating (the measure limit and the cell count aside), and the
// value it lands as when it does not.
StoreFault DropFault(const DocData& d, const SelEntry& s, int16_t* landed) {
  *landed = 0;
  const StoreFault f = PlaceFault(d, s);
  return f != StoreFault::None ? f : EntryFault(d, s, landed);
}

// The measure count a drop grows the chart to for an entry in measure furthest.
int GrownCount(const DocData& d, int furthest, int maxMeasure) {
  return std::max<int>(d.MesCount, std::min(furthest, std::max<int>(maxMeasure, d.MesCount)));
}

}  // namespace

int32_t UnstorableSelected(const DocData& d, int maxMeasure, StoreFault* first) {
  const int n = SelectedEntryCount(d);
  const int lastMes = std::max<int>(maxMeasure, d.MesCount);
  int32_t count = 0;
  for (int i = 1; i <= n; ++i) {
    const SelEntry& s = d.Sel[i];
    int16_t landed = 0;
    StoreFault f = DropFault(d, s, &landed);
    if (f == StoreFault::None && s.Mes > lastMes) f = StoreFault::Measure;
    if (f == StoreFault::None) continue;
    if (count++ == 0 && first) *first = f;
  }
  return count;
}

std::string KeptFloatingText(const DropResult& r) {
  if (r.kept < 1) return {};
  const std::string why = r.full > 0 ? "オブジェのある小節が多すぎます" : StoreFaultText(r.keptFault);
  return std::to_string(r.kept) + "個のオブジェを選択のまま残しました（保存できない位置です：" + why + "）";
}

int MesCountAfterDrop(const DocData& d, int maxMeasure) {
  const int n = SelectedEntryCount(d);
  int furthest = -1;
  for (int i = 1; i <= n; ++i) {
    const SelEntry& s = d.Sel[i];
    int16_t landed = 0;
    if (DropFault(d, s, &landed) == StoreFault::None) furthest = std::max<int>(furthest, s.Mes);
  }
  return GrownCount(d, furthest, maxMeasure);
}

DropResult ObjDeSel(DocData& d, int maxMeasure, bool keep) {
  DropResult r;
  if (d.SelCount < 1) return r;
  const int n = SelectedEntryCount(d);
  // What each entry becomes: 1 written, 2 kept floating.
  std::vector<uint8_t> fate(static_cast<size_t>(n) + 1, 0);
  std::vector<int16_t> landed(static_cast<size_t>(n) + 1, 0);
  auto keepFloating = [&](int i, StoreFault f) {
    fate[i] = 2;
    if (r.kept++ == 0) r.keptFault = f;
  };
  int furthest = -1;
  for (int i = 1; i <= n; ++i) {
    const SelEntry& s = d.Sel[i];
    const StoreFault f = DropFault(d, s, &landed[i]);
    if (f != StoreFault::None) {
      keepFloating(i, f);
      continue;
    }
    fate[i] = 1;
    furthest = std::max<int>(furthest, s.Mes);
  }
  const int target = GrownCount(d, furthest, maxMeasure);
  if (target > d.MesCount) r.grew = Mes_Change(d, target - d.MesCount, maxMeasure);
  int64_t cells = StoredCells(d);
  int lane1 = INT16_MAX, lane2 = -1, mes1 = INT16_MAX, mes2 = -1;
  for (int i = 1; i <= n; ++i) {
    if (fate[i] != 1) continue;
    const SelEntry& s = d.Sel[i];
    if (s.Mes > d.MesCount) {
      keepFloating(i, StoreFault::Measure);
      continue;
    }
    MesList& list = d.Obj[s.Lane].Mes;
    if (!list.Stored(s.Mes)) {
      if (cells >= kMaxChartCells) {
        ++r.full;
        keepFloating(i, StoreFault::Measure);
        continue;
      }
      ++cells;
    }
    MesData& cell = list.Write(s.Mes);
    (s.Back != 0 ? cell.BackObj : cell.Obj)[s.Tick] = landed[i];
    lane1 = std::min<int>(lane1, s.Lane);
    lane2 = std::max<int>(lane2, s.Lane);
    mes1 = std::min<int>(mes1, s.Mes);
    mes2 = std::max<int>(mes2, s.Mes);
  }
  if (!keep) {
    std::vector<SelEntry> rest(1);
    rest.reserve(static_cast<size_t>(r.kept) + 1);
    for (int i = 1; i <= n; ++i)
      if (fate[i] == 2) rest.push_back(d.Sel[i]);
    d.Sel = std::move(rest);
    d.SelCount = r.kept;
  }
  if (lane2 >= 0) RecalcLaneResolution(d, lane1, lane2, mes1, mes2);
  return r;
}

}  // namespace mk
