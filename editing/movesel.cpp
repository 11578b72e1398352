// Selection drag and auto-scroll arithmetic.
#include "editing/movesel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/core/vbnum.h"

namespace mk {

namespace {

int16_t Clamp16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

// Milliseconds for a pointer d pixels beyond an edge.
int Interval(int d, int per) { return std::max(5, 50 - d / per); }

}  // namespace

void MoveSelection(DocData& d, int fromLane, int fromMes, int fromStep, int toLane, int toMes, int toStep) {
  const int64_t stepLen = kTicksPerMeasure / std::max<int>(1, d.GridDiv);
  const int64_t laneDelta = static_cast<int64_t>(toLane) - fromLane;
  const int64_t tickDelta =
      (static_cast<int64_t>(toMes) - fromMes) * kTicksPerMeasure + stepLen * toStep - stepLen * fromStep;
  const int32_t n = std::min<int32_t>(d.SelCount, static_cast<int32_t>(d.Sel.size()) - 1);
  if (n < 1 || (laneDelta == 0 && tickDelta == 0)) return;
  for (int32_t i = 1; i <= n; ++i) {
    SelEntry& e = d.Sel[i];
    SetSelLane(d, e, Clamp16(e.Lane + laneDelta), SelEntryTable(d, e));
    const int64_t pos = static_cast<int64_t>(e.Mes) * kTicksPerMeasure + e.Tick + tickDelta;
    // Floor division: a position before the chart's start gives a negative measure and a tick
    // that is still 0..191.
    int64_t mes = pos / kTicksPerMeasure;
    if (pos % kTicksPerMeasure < 0) --mes;
    e.Mes = Clamp16(mes);
    e.Tick = static_cast<int16_t>(pos - mes * kTicksPerMeasure);
  }
}

void UpdateAutoScroll(AutoScroll& a, double x, double y, int canvasWidth, int canvasHeight) {
  a.PointerX = static_cast<int16_t>(std::clamp(plat::RoundHalfEven(x), -32768.0, 32767.0));
  a.PointerY = static_cast<int16_t>(std::clamp(plat::RoundHalfEven(y), -32768.0, 32767.0));
  auto axis = [](TimerState& t, double p, int extent, int per) {
    int dist;
    if (p < 0)
      dist = static_cast<int>(plat::RoundHalfEven(std::min(std::fabs(p), 1e6)));
    else if (p > extent)
      dist = static_cast<int>(plat::RoundHalfEven(std::min(std::fabs(p - extent), 1e6)));
    else {
      t.Running = false;
      return;
    }
    t.Interval = Interval(dist, per);
    t.Running = true;
  };
  axis(a.X, x, canvasWidth, 10);
  axis(a.Y, y, canvasHeight, 7);
}

int AutoScrollValue(int pointer, int extent, int value, int minimum, int maximum, int divisor) {
  divisor = std::max(1, divisor);
  int64_t v = value;
  auto step = [divisor](int64_t dist) {
    const int64_t q = dist / divisor;
    return q * q + 2;
  };
  if (pointer < 0)
    v -= step(std::llabs(static_cast<int64_t>(pointer)));
  else if (pointer > extent)
    v += step(static_cast<int64_t>(pointer) - extent);
  return static_cast<int>(std::clamp<int64_t>(v, minimum, maximum));
}

}  // namespace mk
