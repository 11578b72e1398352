// Hand-built documents for the selection, pointer and gesture tests.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "chartfmt/defcode.h"
#include "chartfmt/docdata.h"

namespace mk {
inline void PrintTo(const SelEntry& e, std::ostream* os) {
  *os << "{lane " << e.Lane << ", mes " << e.Mes << ", tick " << e.Tick << ", value " << e.Value
      << (e.Back != 0 ? ", back}" : "}");
}
}  // namespace mk

namespace seltest {

// Lanes 0..lanes (lane L labelled "L<n>", part 1 + (L - 1) / 3, a back channel on even lanes),
// measures 0..mesCount, grid 16, zoom 1, WAV table 1..255 without files, tempo channel "03".
inline mk::DocData MakeDoc(int lanes, int mesCount = 9) {
  mk::DocData d;
  d.LaneCount = static_cast<int16_t>(lanes);
  d.Lane.resize(lanes + 1);
  for (int l = 1; l <= lanes; ++l) {
    d.Lane[l].Label = "L" + std::to_string(l);
    d.Lane[l].Channel = "1" + std::to_string(l % 10);
    d.Lane[l].BackChannel = l % 2 == 0 ? "5" + std::to_string(l % 10) : "__";
    d.Lane[l].Part = static_cast<int16_t>(1 + (l - 1) / 3);
  }
  d.Fmt.WNum = d.Fmt.BNum = 1;
  d.Keys.Tmpc = "03";  // a tempo channel, so that tempo values are saved
  d.Wav.resize(256);
  d.Bga.resize(256);
  d.Obj.resize(lanes + 1);
  d.MesCount = static_cast<int16_t>(mesCount);
  mk::ResizeMeasures(d, d.MesCount);
  d.Sel.resize(1);
  return d;
}

// A lane group whose first lane is first.
inline void AddGroup(mk::DocData& d, int first) {
  mk::GtEntry g;
  g.Lane = static_cast<int16_t>(first);
  d.Fmt.Gt.push_back(g);
  d.Fmt.GtCount = static_cast<int16_t>(d.Fmt.Gt.size() - 1);
}

// Stores a value through the grid's write path and recomputes the cell's division.
inline void Put(mk::DocData& d, int lane, int mes, int tick, int value, bool back = false) {
  mk::MesData& c = d.Obj[lane].Mes.Write(mes);
  (back ? c.BackObj : c.Obj)[tick] = static_cast<int16_t>(value);
  mk::RecalcLaneResolution(d, lane, lane, mes, mes);
}

inline int16_t Front(const mk::DocData& d, int lane, int mes, int tick) { return d.Obj[lane].Mes[mes].Obj[tick]; }
inline int16_t Back(const mk::DocData& d, int lane, int mes, int tick) { return d.Obj[lane].Mes[mes].BackObj[tick]; }

// The entries 1..SelCount.
inline std::vector<mk::SelEntry> Entries(const mk::DocData& d) {
  return std::vector<mk::SelEntry>(d.Sel.begin() + 1, d.Sel.begin() + 1 + d.SelCount);
}

inline mk::SelEntry E(int lane, int mes, int tick, int value, int back = 0, int16_t table = mk::kSelTableLane) {
  return mk::SelEntry{static_cast<int16_t>(lane),  static_cast<int16_t>(mes),  static_cast<int16_t>(tick),
                      static_cast<int16_t>(value), static_cast<int16_t>(back), table};
}

// Every object of the grid as (lane, mes, tick, value, layer), in grid order.
inline std::vector<mk::SelEntry> GridObjects(const mk::DocData& d) {
  std::vector<mk::SelEntry> out;
  for (int l = 0; l < static_cast<int>(d.Obj.size()); ++l)
    for (int m = 0; m < static_cast<int>(d.Obj[l].Mes.size()); ++m) {
      const mk::MesData& c = d.Obj[l].Mes[m];
      for (int t = 0; t < mk::kCellSlots; ++t) {
        if (c.Obj[t] != 0) out.push_back(E(l, m, t, c.Obj[t], 0));
        if (c.BackObj[t] != 0) out.push_back(E(l, m, t, c.BackObj[t], -1));
      }
    }
  return out;
}

}  // namespace seltest
