// Plain arithmetic and texts of the chart window: control layout, caption, the close question,
// scroll ranges and the measure-count change.
#pragma once
#include <cstdint>
#include <string>

#include "chartfmt/docdata.h"

namespace mk {

// Design sizes the layout reads.
constexpr int kForm1ToolbarHeight = 24;
constexpr int kForm1StripHeight = 25;  // Frame1
constexpr int kForm1HScrollHeight = 17;
constexpr int kForm1VScrollWidth = 17;
constexpr int kForm1ButtonHeight = 17;  // Command1, Command2
constexpr int kForm1MinOuterWidth = 123;

// Smallest outer height: toolbar, both buttons and 80 pixels.
inline int Form1MinOuterHeight(int toolbarHeight) { return toolbarHeight + 2 * kForm1ButtonHeight + 80; }

// Control geometry for a client area of sw x sh with a toolbar of height tb (0 when hidden).
struct Form1Layout {
  int frame1Top = 0, frame1Width = 0;
  int canvasTop = 0, canvasWidth = 0, canvasHeight = 0;
  int stripWidth = 0;
  int hscrollTop = 0, hscrollWidth = 0;
  int vscrollLeft = 0, vscrollTop = 0, vscrollHeight = 0;
  int command1Top = 0, command2Top = 0, check1Top = 0;  // all three at vscrollLeft
};
Form1Layout ComputeForm1Layout(int tb, int sw, int sh);

// "name[*] - script title", name the file name or "新規".
std::string CaptionText(const DocData& doc, const std::string& scriptTitle);
// The save question of a modified chart: "ファイル [name] は変更されています" CR LF "保存しますか？".
std::string ModifiedQuestion(const std::string& fileName);

// Vertical scroll bar: maximum for a measure count, page step, and the scroll position in
// ticks for a value.
int VScrollMaxFor(int mesCount);
int VScrollPageStep();
int32_t ScrollPosFor(int value, int maximum, bool scrlUp);
// Units one wheel notch moves: g_Wheel eighths of a measure, at least one unit.
int WheelStep();
// Whether a vertical scroll event to value v is left undrawn: a jump of more than g_ScrollSkip
// units from last while scroll skipping is on and the thumb is being dragged, unless the wheel
// moved the bar.
bool SkipScrollRedraw(int last, int v, bool skipOn, bool thumbDragged, bool wheel);

// Grid divisions of the grid list's fixed items 0..8; 0 for any other index.
int16_t GridDivForIndex(int index);
// The custom grid's answer: the integer part of the number the text starts with, 4 when that is
// outside 1..192 (an empty or cancelled answer included). warn: the value does not divide 192.
int16_t CustomGridDiv(const std::string& answer, bool& warn);

// Toolbar images: TB_Scrl shows 3 (down arrow) for measure 0 at the bottom, else 2 (up arrow);
// TB_Wall shows 5, 6 or 7 for the wallpaper modes 1, 2 and 3.
int ScrollButtonImage(int16_t scrlUp);
int WallButtonImage(int16_t mode);

// Horizontal range of a canvas width (Scr_Chg).
struct HScrollRange {
  bool enabled = false;
  int maximum = 0;
  int pageStep = 0;
};
HScrollRange ScrChgRange(int laneCount, int canvasWidth);

// The last measure the vertical scroll bar reaches: the chart's last measure, or further, to the
// furthest floating entry on the lanes, so that an entry dragged or pasted past the end can be
// seen and dragged back; never further than a 16-bit scroll range holds.
int ViewLastMeasure(const DocData& doc);
// The scroll bar's value once its maximum changes: with measure 0 at the bottom it keeps its
// distance from the maximum (the measures in view stay in view), at least 0; never above the
// new maximum.
int KeptScrollValue(int oldMaximum, int oldValue, int newMaximum, bool scrlUp);

// Mes_Change: the new measure count applied to every lane, and the scroll bar's new maximum (for
// ViewLastMeasure) and value (KeptScrollValue). Returns false, changing nothing, when the count
// would leave 0 .. g_MaxMeasure.
struct MesChangeScroll {
  int maximum = 0;
  int value = 0;
};
bool ApplyMesChange(DocData& doc, int delta, int oldMaximum, int oldValue, MesChangeScroll& out);
std::string MesLabelText(int mesCount);

}  // namespace mk
