// Where a new chart window opens: cascaded from the window opened before it, as desktop
// multi-document programs place new documents.
#pragma once
#include <QPoint>
#include <QSize>
#include <optional>

namespace mk {

// Top-left corner for a new window in a chart area of the given size: one step (a title bar's
// height) right of and below the previous window's corner, or the area's corner when there is
// no previous window or the step would pass the top third of the area (then the run of windows
// starts again at the corner).
QPoint NextCascadePosition(const std::optional<QPoint>& previous, int step, const QSize& area);

}  // namespace mk
