// The definition-table tests' chart record.
#include "deftables_fixture.h"

#include "chartfmt/defcode.h"

namespace deftest {

using namespace mk;

DocData MakeDoc(int16_t wavMode, int16_t bgaMode) {
  DocData d;
  d.Fmt.WNum = wavMode;
  d.Fmt.BNum = bgaMode;
  d.Wav.assign(static_cast<size_t>(DefNumMax(wavMode)) + 1, DefEntry{});
  d.Bga.assign(static_cast<size_t>(DefNumMax(bgaMode)) + 1, DefEntry{});
  d.LaneCount = 4;
  d.Lane.assign(5, LaneInfo{});
  d.Lane[1].Part = 1;
  d.Lane[2].Part = 1;
  d.Lane[3].Part = kPartBga;
  d.Lane[4].Part = 2;
  d.MesCount = 3;
  d.Obj.assign(5, LaneMes{});
  for (LaneMes& l : d.Obj) l.Mes.resize(4);
  d.Sel.assign(1, SelEntry{});
  d.Keys.Tmpc = "03";  // a tempo channel, so that tempo values are saved
  d.Folder = "/charts/";
  return d;
}

void Put(DocData& d, int lane, int mes, int tick, int16_t value, bool back) {
  MesData& c = d.Obj[lane].Mes.Write(mes);
  (back ? c.BackObj : c.Obj)[tick] = value;
  RecalcLaneResolution(d, lane, lane, mes, mes);
}

int16_t At(const DocData& d, int lane, int mes, int tick, bool back) {
  const MesData& c = d.Obj[lane].Mes[mes];
  return (back ? c.BackObj : c.Obj)[tick];
}

void NameEntries(DocData& d, int n) {
  for (int i = 1; i <= n; ++i) {
    d.Wav[i].File = "w" + std::to_string(i) + ".wav";
    d.Bga[i].File = "b" + std::to_string(i) + ".bmp";
  }
}

bool SameNumbers(const DocData& a, const DocData& b) {
  return a.Wav == b.Wav && a.Bga == b.Bga && a.Obj == b.Obj && a.UndoObj == b.UndoObj && a.UndoObj2 == b.UndoObj2 &&
         a.Sel == b.Sel && a.SelCount == b.SelCount && a.UndoSel == b.UndoSel && a.UndoSelCount == b.UndoSelCount &&
         a.UndoSel2 == b.UndoSel2 && a.UndoSelCount2 == b.UndoSelCount2 && a.CurDef == b.CurDef;
}

std::string WavFileAt(const DocData& d, int lane, int mes, int tick, bool back) {
  int v = At(d, lane, mes, tick, back);
  if (v > kOpenObjectBase) v -= kOpenObjectBase;
  return v >= 1 && v < static_cast<int>(d.Wav.size()) ? d.Wav[v].File : std::string();
}

}  // namespace deftest
