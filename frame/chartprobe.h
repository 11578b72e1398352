// Trying a chart before a window is given to it: the chart is read with its script into a
// scratch record, so that a file that cannot be read is known while every window still holds
// what it held.
#pragma once
#include <cstdint>
#include <string>

#include "chartfmt/chartio.h"
#include "chartfmt/scriptmsg.h"

namespace mk {

// Reads the chart file path (title: the file name path ends with) with script number script
// (0: the default script) the way a new window would: script, the default measure count, then
// the chart. No window and no global record is touched (the script's help text is rebuilt as
// any reading of it does). Empty when the chart reads; otherwise the message to show: the
// script's own message when the script fails, else "エラー" with the path and the reason.
// ahead, when given, receives the read, for the window to take (ChartRead(ChartReadAhead&&, ...)).
ScriptMessage TryChartRead(const std::string& path, const std::string& title, int16_t script,
                           ChartReadAhead* ahead = nullptr);

}  // namespace mk
