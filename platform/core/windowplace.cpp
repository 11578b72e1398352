// A restored window's place fitted onto the screens there are now.
#include "platform/core/windowplace.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace plat {

namespace {

// Wide enough for any sum of two int coordinates.
struct Span {
  int64_t lo, hi;
};
Span Horizontal(const ScreenRect& r) { return {r.x, int64_t{r.x} + std::max(0, r.w)}; }
Span Vertical(const ScreenRect& r) { return {r.y, int64_t{r.y} + std::max(0, r.h)}; }

int64_t Overlap(Span a, Span b) { return std::max<int64_t>(0, std::min(a.hi, b.hi) - std::max(a.lo, b.lo)); }
// The gap between two spans; 0 when they touch or overlap.
int64_t Gap(Span a, Span b) { return std::max<int64_t>({0, b.lo - a.hi, a.lo - b.hi}); }

bool Inside(const ScreenRect& w, const ScreenRect& s) {
  const Span wx = Horizontal(w), wy = Vertical(w), sx = Horizontal(s), sy = Vertical(s);
  return wx.lo >= sx.lo && wx.hi <= sx.hi && wy.lo >= sy.lo && wy.hi <= sy.hi;
}

}  // namespace

ScreenRect FitOnScreens(const ScreenRect& window, const std::vector<ScreenRect>& screens) {
  const ScreenRect* best = nullptr;
  int64_t bestArea = 0;
  double bestGap = std::numeric_limits<double>::infinity();
  for (const ScreenRect& s : screens) {
    if (s.w <= 0 || s.h <= 0) continue;
    if (Inside(window, s)) return window;
    const int64_t area = Overlap(Horizontal(window), Horizontal(s)) * Overlap(Vertical(window), Vertical(s));
    const double gx = static_cast<double>(Gap(Horizontal(window), Horizontal(s)));
    const double gy = static_cast<double>(Gap(Vertical(window), Vertical(s)));
    const double gap = gx * gx + gy * gy;
    if (area > bestArea || (bestArea == 0 && area == 0 && gap < bestGap)) {
      best = &s;
      bestArea = area;
      bestGap = gap;
    }
  }
  if (!best) return window;
  const ScreenRect& s = *best;
  ScreenRect r;
  r.w = std::clamp(window.w, 1, s.w);
  r.h = std::clamp(window.h, 1, s.h);
  const int64_t x = std::clamp<int64_t>(window.x, s.x, int64_t{s.x} + s.w - r.w);
  const int64_t y = std::clamp<int64_t>(window.y, s.y, int64_t{s.y} + s.h - r.h);
  r.x = static_cast<int>(x);
  r.y = static_cast<int>(y);
  return r;
}

}  // namespace plat
