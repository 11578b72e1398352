// Cascade, tile and icon geometry for the Window menu.
#include "frame/arrange.h"

#include <algorithm>
#include <cmath>

namespace mk {

std::vector<PxRect> CascadeRects(int n, int areaWidth, int areaHeight, int step) {
  std::vector<PxRect> out;
  if (n <= 0) return out;
  areaWidth = std::max(1, areaWidth);
  areaHeight = std::max(1, areaHeight);
  step = std::max(1, step);
  // Positions that fit while the windows keep half the area.
  const int fit = std::max(1, std::min((areaWidth - areaWidth / 2) / step, (areaHeight - areaHeight / 2) / step) + 1);
  const int used = std::min(n, fit);
  const int w = areaWidth - (used - 1) * step, h = areaHeight - (used - 1) * step;
  for (int k = 0; k < n; ++k) {
    const int off = (k % fit) * step;
    out.push_back({off, off, w, h});
  }
  return out;
}

std::vector<PxRect> TileRects(int n, int areaWidth, int areaHeight, bool horizontal) {
  std::vector<PxRect> out;
  if (n <= 0) return out;
  // Strips across the long way of the arrangement: rows when horizontal, columns otherwise.
  const int strips = n <= 3 ? n : static_cast<int>(std::sqrt(static_cast<double>(n)));
  const int along = horizontal ? areaHeight : areaWidth;   // the strips divide this
  const int across = horizontal ? areaWidth : areaHeight;  // each strip's windows divide this
  for (int s = 0; s < strips; ++s) {
    // The later strips take the windows that do not divide evenly.
    const int count = n / strips + (s >= strips - n % strips ? 1 : 0);
    const int a0 = static_cast<int>(static_cast<long long>(along) * s / strips);
    const int a1 = static_cast<int>(static_cast<long long>(along) * (s + 1) / strips);
    for (int i = 0; i < count; ++i) {
      const int c0 = static_cast<int>(static_cast<long long>(across) * i / count);
      const int c1 = static_cast<int>(static_cast<long long>(across) * (i + 1) / count);
      out.push_back(horizontal ? PxRect{c0, a0, c1 - c0, a1 - a0} : PxRect{a0, c0, a1 - a0, c1 - c0});
    }
  }
  return out;
}

std::vector<PxRect> IconRects(int n, int iconWidth, int iconHeight, int areaWidth, int areaHeight) {
  std::vector<PxRect> out;
  if (n <= 0) return out;
  iconWidth = std::max(1, iconWidth);
  iconHeight = std::max(1, iconHeight);
  const int perRow = std::max(1, areaWidth / iconWidth);
  for (int k = 0; k < n; ++k)
    out.push_back({(k % perRow) * iconWidth, areaHeight - (k / perRow + 1) * iconHeight, iconWidth, iconHeight});
  return out;
}

}  // namespace mk
