// A small chart built in memory for the search, batch edit and count tests.
#pragma once
#include <string>

#include "chartfmt/defcode.h"
#include "chartfmt/docdata.h"

namespace searchtest {

// lanes 1..laneCount, measures 0..mesCount; lanes with a back channel where back is true; one
// lane group starting at groupLane (0: none).
inline mk::DocData MakeDoc(int laneCount, int mesCount, bool back = true, int groupLane = 0, int16_t wnum = 1,
                           int16_t bnum = 1) {
  mk::DocData d;
  d.LaneCount = static_cast<int16_t>(laneCount);
  d.MesCount = static_cast<int16_t>(mesCount);
  d.Lane.assign(laneCount + 1, mk::LaneInfo{});
  for (int i = 1; i <= laneCount; ++i) {
    d.Lane[i].Part = static_cast<int16_t>(10 + i);
    d.Lane[i].Label = "L" + std::to_string(i);
    d.Lane[i].BackChannel = back ? "B" + std::to_string(i) : "__";
    d.Lane[i].Channel = "C" + std::to_string(i);
  }
  d.Fmt.WNum = wnum;
  d.Fmt.BNum = bnum;
  d.Keys.Tmpc = "T0";  // tempo values are saved
  if (groupLane > 0) {
    d.Fmt.Gt.push_back(mk::GtEntry{"G", static_cast<int16_t>(groupLane), "", ""});
    d.Fmt.GtCount = 0;
  }
  d.Obj.assign(laneCount + 1, mk::LaneMes{});
  for (auto& l : d.Obj) l.Mes.resize(mesCount + 1);
  d.Sel.assign(1, mk::SelEntry{});
  return d;
}

inline void Put(mk::DocData& d, int lane, int mes, int tick, int value, bool back = false) {
  mk::MesData& c = d.Obj[lane].Mes.Write(mes);
  (back ? c.BackObj : c.Obj)[tick] = static_cast<int16_t>(value);
  mk::RecalcLaneResolution(d, lane, lane, mes, mes);
}

inline int16_t At(const mk::DocData& d, int lane, int mes, int tick, bool back = false) {
  const mk::MesData& c = d.Obj[lane].Mes[mes];
  return (back ? c.BackObj : c.Obj)[tick];
}

inline void Select(mk::DocData& d, mk::SelEntry e) {
  d.Sel.push_back(e);
  d.SelCount = static_cast<int32_t>(d.Sel.size() - 1);
}

}  // namespace searchtest
