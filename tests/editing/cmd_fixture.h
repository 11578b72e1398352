// A small chart record built by hand for the edit commands, and an edit host that runs the window's steps on it and
// records their order.
#pragma once
#include <string>
#include <vector>

#include "chartfmt/defcode.h"
#include "chartfmt/docdata.h"
#include "editing/dropsel.h"
#include "editing/edithost.h"
#include "editing/mescount.h"
#include "editing/undo.h"

namespace cmdtest {

// Lanes 0..lanes with measures 0..mesCount, every lane of part 1, numbering modes 1.
inline mk::DocData MakeDoc(int lanes, int mesCount) {
  mk::DocData d;
  d.LaneCount = static_cast<int16_t>(lanes);
  d.Lane.resize(static_cast<size_t>(lanes) + 1);
  for (int i = 1; i <= lanes; ++i) d.Lane[i].Part = 1;
  d.Obj.resize(static_cast<size_t>(lanes) + 1);
  d.MesCount = static_cast<int16_t>(mesCount);
  mk::ResizeMeasures(d, d.MesCount);
  d.Fmt.WNum = 1;
  d.Fmt.BNum = 1;
  d.Sel.assign(1, mk::SelEntry{});
  return d;
}

inline void Put(mk::DocData& d, int lane, int mes, int tick, int16_t value, bool back = false) {
  mk::MesData& c = d.Obj[lane].Mes.Write(mes);
  (back ? c.BackObj : c.Obj)[tick] = value;
  mk::RecalcLaneResolution(d, lane, lane, mes, mes);
}

inline int16_t At(const mk::DocData& d, int lane, int mes, int tick, bool back = false) {
  const mk::MesData& c = d.Obj[lane].Mes[mes];
  return (back ? c.BackObj : c.Obj)[tick];
}

inline void Select(mk::DocData& d, std::vector<mk::SelEntry> entries) {
  d.Sel.assign(1, mk::SelEntry{});
  d.Sel.insert(d.Sel.end(), entries.begin(), entries.end());
  d.SelCount = static_cast<int32_t>(entries.size());
}

inline std::vector<mk::SelEntry> Selected(const mk::DocData& d) {
  return {d.Sel.begin() + 1, d.Sel.begin() + 1 + d.SelCount};
}

// Runs the editing functions a chart window runs, logging each step.
class RecordingHost : public mk::EditHost {
 public:
  RecordingHost(mk::DocData& d, int maxMeasure = 999) : d_(d), max_(maxMeasure) {}
  void ObjBackup() override {
    mk::ObjBackup(d_);
    log += "backup ";
  }
  void ObjDeSel() override {
    mk::ObjDeSel(d_, max_);
    log += "desel ";
  }
  void MesCountChanged() override { log += "count "; }
  void ObjDraw() override { log += "draw "; }
  std::string log;

 private:
  mk::DocData& d_;
  int max_;
};

}  // namespace cmdtest
