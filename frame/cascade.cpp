// Placement of new chart windows in a cascade.
#include "frame/cascade.h"

#include <algorithm>

namespace mk {

QPoint NextCascadePosition(const std::optional<QPoint>& previous, int step, const QSize& area) {
  if (!previous || step <= 0) return QPoint(0, 0);
  // The corners of a run lie on the diagonal in the top third of the area.
  const int stagger = std::max(0, area.height() / (3 * step));
  const QPoint next = *previous + QPoint(step, step);
  if (next.y() > stagger * step || next.x() > std::max(0, area.width() - 3 * step) || next.x() < 0 || next.y() < 0)
    return QPoint(0, 0);
  return next;
}

}  // namespace mk
