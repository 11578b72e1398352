#include "chartview/form1_calc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chartview/viewsettings.h"
#include "editing/mescount.h"
#include "platform/core/vbnum.h"

namespace mk {

Form1Layout ComputeForm1Layout(int tb, int sw, int sh) {
  Form1Layout l;
  l.frame1Top = tb;
  l.canvasTop = tb + kForm1StripHeight;
  l.canvasWidth = sw - kForm1VScrollWidth;
  l.canvasHeight = sh - kForm1HScrollHeight - kForm1StripHeight - tb;
  l.stripWidth = sw - kForm1VScrollWidth;
  l.hscrollTop = l.canvasHeight + kForm1StripHeight + tb;
  l.hscrollWidth = sw - kForm1VScrollWidth;
  l.frame1Width = l.canvasWidth;
  l.vscrollHeight = l.canvasHeight + kForm1StripHeight - 2 * kForm1ButtonHeight;
  l.vscrollLeft = l.canvasWidth;
  l.command1Top = tb;
  l.vscrollTop = tb + kForm1ButtonHeight;
  l.command2Top = tb + kForm1ButtonHeight + l.vscrollHeight;
  l.check1Top = l.command2Top + kForm1ButtonHeight;
  return l;
}

std::string CaptionText(const DocData& doc, const std::string& scriptTitle) {
  const std::string name = doc.FileName.empty() ? "新規" : doc.FileName;
  return name + (doc.Dirty != 0 ? "*" : "") + " - " + scriptTitle;
}

std::string ModifiedQuestion(const std::string& fileName) {
  return "ファイル [" + (fileName.empty() ? std::string("新規") : fileName) + "] は変更されています\r\n保存しますか？";
}

int VScrollMaxFor(int mesCount) { return static_cast<int>(plat::RoundHalfEven(192.0 / g_ScrollSpeed * mesCount)); }

int VScrollPageStep() { return static_cast<int>(plat::RoundHalfEven(192.0 / g_ScrollSpeed)); }

int32_t ScrollPosFor(int value, int maximum, bool scrlUp) {
  return static_cast<int32_t>((scrlUp ? maximum - value : value) * g_ScrollSpeed);
}

int WheelStep() { return std::max(1, g_Wheel * ((192 / g_ScrollSpeed) / 8)); }

bool SkipScrollRedraw(int last, int v, bool skipOn, bool thumbDragged, bool wheel) {
  return std::abs(last - v) > g_ScrollSkip && skipOn && thumbDragged && !wheel;
}

int16_t GridDivForIndex(int index) {
  static constexpr int16_t kGridDivs[] = {4, 8, 12, 16, 24, 32, 48, 64, 192};
  return index >= 0 && index <= 8 ? kGridDivs[index] : 0;
}

int16_t CustomGridDiv(const std::string& answer, bool& warn) {
  const double x = std::floor(plat::LeadingNumber(answer));
  const int n = (x >= 1 && x <= 192) ? static_cast<int>(x) : 4;
  warn = 192 % n != 0;
  return static_cast<int16_t>(n);
}

int ScrollButtonImage(int16_t scrlUp) { return scrlUp != 0 ? 3 : 2; }
int WallButtonImage(int16_t mode) { return mode == 2 ? 6 : mode == 3 ? 7 : 5; }

HScrollRange ScrChgRange(int laneCount, int canvasWidth) {
  HScrollRange r;
  int m = static_cast<int>(plat::RoundHalfEven(((laneCount + 1) * 30 - canvasWidth) / 5.0));
  r.enabled = m >= 0;
  if (m < 0) m = 0;
  r.maximum = m;
  r.pageStep = canvasWidth / 5;
  return r;
}

int ViewLastMeasure(const DocData& doc) {
  int last = doc.MesCount;
  const int n = SelectedEntryCount(doc);
  for (int i = 1; i <= n; ++i) {
    const SelEntry& s = doc.Sel[i];
    if (s.Lane >= 0 && s.Lane <= doc.LaneCount) last = std::max<int>(last, s.Mes);
  }
  if (last == doc.MesCount) return last;
  int reach = static_cast<int>(INT16_MAX * static_cast<int64_t>(std::max(1, g_ScrollSpeed)) / kTicksPerMeasure);
  while (reach > 0 && VScrollMaxFor(reach) > INT16_MAX) --reach;
  return std::max<int>(doc.MesCount, std::min(last, reach));
}

int KeptScrollValue(int oldMaximum, int oldValue, int newMaximum, bool scrlUp) {
  int value = oldValue;
  if (scrlUp) value = std::max(0, newMaximum - (oldMaximum - oldValue));
  return std::min(value, newMaximum);
}

bool ApplyMesChange(DocData& doc, int delta, int oldMaximum, int oldValue, MesChangeScroll& out) {
  if (!Mes_Change(doc, delta, g_MaxMeasure)) return false;
  out.maximum = VScrollMaxFor(ViewLastMeasure(doc));
  out.value = KeptScrollValue(oldMaximum, oldValue, out.maximum, doc.ScrlUp != 0);
  return true;
}

std::string MesLabelText(int mesCount) { return "最大小節数： " + std::to_string(mesCount); }

}  // namespace mk
