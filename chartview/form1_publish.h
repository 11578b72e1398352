// Publishing a chart window's record to the frame's per-chart controls (SetThisWin's body).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"
#include "chartview/framepanels.h"

namespace mk {

// The rows of the WAV list (numbers 1..N of WNum) and of the BGA list (0..N of BNum), their file
// and comment as ShownValueOf shows them.
std::vector<DefRow> WavRows(const DocData& doc);
std::vector<DefRow> BgaRows(const DocData& doc);

// The script's player program: the install folder followed by its "#VIEWER" text, a "\" in it
// read as "/".
std::string PlayerProgram(const ScrFormat& fmt, const std::string& installDir);
// True when the script names a player program that is a file in the install folder.
bool PlayerAvailable(const DocData& doc, const std::string& installDir);

// The view of the document's definition tab: the definition toolbar enabled with the buttons the
// tab offers and its play tooltip, the tab's list or the free-statement box shown and enabled
// (the list's row of CurDef selected), the others hidden; leaving for the WAV or free-statement
// tab closes the BGA preview window. An unknown tab counts as the free-statement tab.
void ApplyDefTabView(const DocData& doc, FramePanels& frame);

// Makes window the current one (g_CurWin) and rebuilds every per-chart control of the frame
// from doc. scriptInfo is the help text of the window's script. Works on any record: unsized
// tables give empty lists, an unknown tab counts as the free-statement tab.
void PublishChart(const DocData& doc, int16_t window, const std::string& scriptInfo, FramePanels& frame);

}  // namespace mk
