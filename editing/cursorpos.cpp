// Pointer position and hit test on the chart canvas.
#include "editing/cursorpos.h"

#include <algorithm>
#include <cmath>

#include "platform/core/vbnum.h"

namespace mk {

namespace {

int Nearest(double v) { return static_cast<int>(plat::RoundHalfEven(v)); }

int16_t Clamp16(int v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

// Integer division truncating toward zero and its remainder, as the formulas use them.
int Div(int a, int b) { return b == 0 ? 0 : a / b; }
int Mod(int a, int b) { return b == 0 ? 0 : a % b; }

}  // namespace

void UpdateCursorPos(DocData& d, const CanvasGeom& g, double x, double y) {
  const float fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (fx < 0 || fx > g.Width || fy < 0 || fy > g.Height) {
    d.CurLane = d.CurMes = d.CurStep = -1;
    return;
  }
  const double z = d.Zoom;
  const int64_t s = d.ScrollPos;
  const int gridDiv = std::max<int>(1, d.GridDiv);
  const int pm = std::max(1, Nearest(z * kTicksPerMeasure));
  const int off = Nearest(static_cast<double>(s % kTicksPerMeasure) * z);
  const int m0 = static_cast<int>(s / kTicksPerMeasure);
  const int zi = std::max(1, Nearest(z));

  // The 16-bit product V * 5 becomes single precision before x is added.
  const float scrolled = static_cast<float>(static_cast<int16_t>(g.HScrollValue * 5));
  const int ax = Nearest(scrolled + fx);
  d.CurLane = Clamp16(Div(ax, kLanePixels));
  d.CurX = Clamp16(Nearest(fx - static_cast<float>(Mod(ax, kLanePixels)) + 1));
  if (d.CurLane > d.LaneCount) d.CurLane = -1;

  if (d.ScrlUp != 0) {
    const int a = Nearest(static_cast<float>(g.Height) - fy + static_cast<float>(off));
    const int r = Mod(a, pm);
    const int q = std::max(1, pm / gridDiv);
    d.CurMes = Clamp16(Div(a, pm) + m0);
    d.CurStep = Clamp16(r / q);
    d.CurTick = Clamp16(r / zi);
    d.CurY = Clamp16(Nearest(fy + static_cast<float>(r % q) - 10));
    if (d.CurStep > 0) d.CurY = Clamp16(d.CurY + 1);
  } else {
    const int a = Nearest(static_cast<float>(off) + fy);
    const int r = Mod(a, pm);
    const int q = std::max(1, Nearest(static_cast<double>(pm) / gridDiv));
    d.CurMes = Clamp16(Div(a, pm) + m0);
    d.CurStep = Clamp16(r / q);
    d.CurTick = Clamp16(r / zi);
    d.CurY = Clamp16(Nearest(fy - static_cast<float>(r % q)));
  }
}

std::string CursorLaneText(const DocData& d) {
  if (d.CurLane == -1) return "レーン-- (Part--)";
  const int part = d.CurLane >= 0 && d.CurLane < static_cast<int>(d.Lane.size()) ? d.Lane[d.CurLane].Part : 0;
  return "レーン" + std::to_string(d.CurLane) + " (Part" + std::to_string(part) + ")";
}

std::string CursorPosText(const DocData& d) {
  if (d.CurMes == -1) return "--小節目   --拍";
  return std::to_string(d.CurMes) + "小節目   " + std::to_string(d.CurStep) + "拍";
}

HitResult HitTestObject(const DocData& d, int lane, int mes, int tick) {
  HitResult r;
  int t = tick + 1, m = mes;
  const int positions = std::max(0, Nearest(10 - d.Zoom)) + 1;
  const int selCount = SelectedEntryCount(d);
  for (int i = 0; i < positions; ++i) {
    if (--t < 0) {
      t = kTicksPerMeasure;
      --m;
    }
    if (m < 0) {
      r.Code = Hit::None;
      break;
    }
    bool found = false;
    for (int k = 1; k <= selCount && !found; ++k) {
      const SelEntry& e = d.Sel[k];
      found = e.Lane == lane && e.Mes == m && e.Tick == t;
    }
    if (found) {
      r.Code = Hit::Selected;
      break;
    }
    if (!HasCell(d, lane, m) || t >= kCellSlots) continue;
    const MesData& cell = d.Obj[lane].Mes[m];
    if (cell.Obj[t] >= 1 && cell.Obj[t] <= kOpenObjectBase) {
      r.Code = Hit::Front;
      break;
    }
    if (cell.BackObj[t] > 0) {
      r.Code = Hit::Back;
      break;
    }
  }
  r.Tick = Clamp16(t);
  r.Mes = Clamp16(m);
  return r;
}

}  // namespace mk
