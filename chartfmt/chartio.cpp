// Frame-side chart reading: all-or-nothing reads into a window's record and the window steps.
#include "chartfmt/chartio.h"

#include <utility>

#include "chartfmt/globals.h"

namespace mk {

namespace {

ChartReadHost* g_ReadHost = nullptr;

bool ValidWindow(int16_t window) {
  return window >= 1 && window < static_cast<int>(g_Docs.size());
}

ChartReadResult NoWindow() { return ChartReadResult{false, 0, "チャートのウィンドウがありません"}; }

}  // namespace

ChartReadHost* SetChartReadHost(ChartReadHost* host) { return std::exchange(g_ReadHost, host); }

ChartReadResult ChartRead(const std::string& path, const std::string& title, int16_t window,
                          int16_t script, int16_t scratch) {
  if (!ValidWindow(window)) return NoWindow();
  // Read into a copy, so that a file that fails half-way leaves the window's chart untouched
  // and can never be saved under the file's name in part.
  DocData work = g_Docs[window];
  ChartReadResult result = ReadChartFile(work, path, title, scratch != 0);
  if (!result) return result;
  g_Docs[window] = std::move(work);
  if (scratch != 0 || !g_ReadHost) return result;
  g_ReadHost->SetThisWin(window);
  g_ReadHost->MesChange(window, 0);
  g_ReadHost->SetCaption(window, title + " - " + g_ReadHost->ScriptTitle(g_Docs[window].ScriptNo));
  g_ReadHost->AddRecentFile(path, script);
  return result;
}

ChartReadResult ChartReadStatements(int16_t window, std::string_view text) {
  if (!ValidWindow(window)) return NoWindow();
  DocData work = g_Docs[window];
  ChartReadResult result = ReadChartText(work, text, ChartCoding::Utf8, true);
  if (result) g_Docs[window] = std::move(work);
  return result;
}

}  // namespace mk
