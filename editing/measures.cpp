// Measure insert, delete and length change.
#include "editing/measures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "chartfmt/defcode.h"
#include "editing/dropsel.h"
#include "editing/mescount.h"
#include "platform/core/desktop.h"
#include "platform/core/vbnum.h"

namespace mk {

namespace {

bool CurMesInChart(const DocData& d) { return d.CurMes >= 0 && d.CurMes <= d.MesCount; }

}  // namespace

bool MesInsert(DocData& d, EditHost& host, int maxMeasure) {
  if (!CurMesInChart(d) || MesCountAfterDrop(d, maxMeasure) >= maxMeasure) return false;
  const int m = d.CurMes;
  host.ObjBackup();
  host.ObjDeSel();
  if (!Mes_Change(d, 1, maxMeasure)) return false;  // ruled out above
  for (LaneMes& lane : d.Obj) {
    lane.Mes.Insert(static_cast<size_t>(m));
    lane.Mes.resize(static_cast<size_t>(d.MesCount) + 1);  // the empty measure Mes_Change added
  }
  host.MesCountChanged();
  host.ObjDraw();
  return true;
}

bool MesDelete(DocData& d, EditHost& host, int maxMeasure) {
  if (!CurMesInChart(d)) return false;
  const int m = d.CurMes;
  // A chart that keeps a single measure once the selection lands loses nothing: the earlier
  // undo step and the modified mark stay as they were.
  const bool deletes = MesCountAfterDrop(d, maxMeasure) > 0;
  if (deletes) host.ObjBackup();
  host.ObjDeSel();
  if (deletes && d.MesCount > 0) {
    for (LaneMes& lane : d.Obj)
      if (static_cast<size_t>(m) < lane.Mes.size()) lane.Mes.Erase(static_cast<size_t>(m));
    Mes_Change(d, -1, d.MesCount);
    host.MesCountChanged();
  }
  host.ObjDraw();
  return true;
}

std::optional<double> LengthFactor(const std::string& answer) {
  const double v = plat::LeadingNumber(answer);
  if (!std::isfinite(v)) return std::nullopt;
  // To the nearest thousandth through its three-decimal text, as the prompt shows factors.
  const int len = std::snprintf(nullptr, 0, "%.3f", v);
  std::string text(static_cast<size_t>(len) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.3f", v);
  double r = std::strtod(text.c_str(), nullptr);
  if (r == 0) r = 0;  // no negative zero
  if (r < 0 || r > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<double>(static_cast<float>(r));
}

std::string LengthText(double factor) {
  if (!std::isfinite(factor)) factor = 0;
  const int len = std::snprintf(nullptr, 0, "%.3f", factor);
  std::string text(static_cast<size_t>(len) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.3f", factor);
  text.resize(static_cast<size_t>(len));
  return text;
}

bool MesLength(DocData& d, EditHost& host) {
  if (!CurMesInChart(d) || !HasCell(d, 0, d.CurMes)) return false;
  const int m = d.CurMes;
  const plat::InputResult a = plat::TheDesktop().InputBox(std::to_string(m) + "小節の倍率を入力してください",
                                                          "小節の短縮化", LengthText(d.Obj[0].Mes[m].Length));
  if (a.cancelled || a.text.empty()) return false;
  const std::optional<double> factor = LengthFactor(a.text);
  // The snapshot comes once the answer changes the chart: a cancel, an empty or refused answer
  // or the factor the measure has already leave the undo level and the modified mark alone.
  if (!factor || *factor == d.Obj[0].Mes[m].Length) return false;
  host.ObjBackup();
  d.Obj[0].Mes.Write(m).Length = *factor;
  RecalcLaneResolution(d, 0, 0, m, m);  // a normal length on an empty cell shares the empty record
  host.ObjDraw();
  return true;
}

}  // namespace mk
