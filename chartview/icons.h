// The program's own icons, drawn in code: the chart window's and the application's.
#pragma once
#include <QIcon>

namespace mk {

// A chart grid: dark lanes, a measure line and coloured objects (16, 32 and 48 pixels).
QIcon ChartWindowIcon();
// The application: a chart sheet on a rounded tile (16 to 256 pixels).
QIcon ApplicationIcon();

}  // namespace mk
