// The internal clipboard: copy, cut, delete and paste of the floating selection.
#include "editing/clipboard.h"

#include <algorithm>
#include <limits>

namespace mk {

std::vector<ClipEntry> g_Clip(1);
int32_t g_ClipCount = 0;
int16_t g_ClipLane = 0;
int32_t g_ClipTick = 0;
int16_t g_ClipMode = 0;
int16_t g_ClipBMode = 0;

namespace {

int16_t Clamp16(int64_t v) {
  return static_cast<int16_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

}  // namespace

void ClearClipboard() {
  g_Clip.assign(1, ClipEntry{});
  g_ClipCount = 0;
  g_ClipLane = 0;
  g_ClipTick = 0;
  g_ClipMode = 0;
  g_ClipBMode = 0;
}

bool ClipPasteable(const DocData& d) {
  return g_ClipCount > 0 && d.Fmt.WNum == g_ClipMode && d.Fmt.BNum == g_ClipBMode;
}

bool EditCopy(const DocData& d) {
  const int n = SelectedEntryCount(d);
  if (n < 1) return false;
  int originLane = d.LaneCount;
  int32_t originPos = static_cast<int32_t>(d.MesCount) * kTicksPerMeasure + (kTicksPerMeasure - 1);
  for (int i = 1; i <= n; ++i) {
    const SelEntry& s = d.Sel[i];
    originLane = std::min<int>(originLane, s.Lane);
    originPos = std::min(originPos, static_cast<int32_t>(s.Mes) * kTicksPerMeasure + s.Tick);
  }
  g_Clip.assign(static_cast<size_t>(n) + 1, ClipEntry{});
  for (int i = 1; i <= n; ++i) {
    const SelEntry& s = d.Sel[i];
    ClipEntry& c = g_Clip[i];
    c.Lane = Clamp16(s.Lane - originLane);
    c.Pos = static_cast<int32_t>(s.Mes) * kTicksPerMeasure + s.Tick - originPos;
    c.Value = s.Value;
    c.Back = s.Back;
    c.Table = SelEntryTable(d, s);
  }
  g_ClipLane = static_cast<int16_t>(originLane);
  g_ClipTick = originPos % kTicksPerMeasure;
  g_ClipCount = n;
  g_ClipMode = d.Fmt.WNum;
  g_ClipBMode = d.Fmt.BNum;
  return true;
}

bool EditCut(DocData& d, EditHost& host) {
  if (!EditCopy(d)) return false;
  return EditDelete(d, host);
}

bool EditDelete(DocData& d, EditHost& host) {
  if (SelectedEntryCount(d) < 1) return false;
  host.ObjBackup();
  d.Sel.assign(1, SelEntry{});
  d.SelCount = 0;
  host.ObjDraw();
  return true;
}

int32_t PasteBase(const DocData& d, PasteAt where) {
  if (where == PasteAt::Pointer) {
    const int step = kTicksPerMeasure / std::max<int>(1, d.GridDiv);
    return static_cast<int32_t>(d.CurMes) * kTicksPerMeasure + step * d.CurStep;
  }
  int32_t base = d.ScrollPos / kTicksPerMeasure * kTicksPerMeasure + g_ClipTick;
  if (d.ScrollPos % kTicksPerMeasure > 0) base += kTicksPerMeasure;
  return base;
}

bool EditPaste(DocData& d, EditHost& host, PasteAt where) {
  if (!ClipPasteable(d)) return false;
  host.ObjBackup();
  host.ObjDeSel();
  const int64_t base = PasteBase(d, where);
  const int laneBase = where == PasteAt::Pointer ? d.CurLane : g_ClipLane;
  const int n = std::min<int>(g_ClipCount, static_cast<int>(g_Clip.size()) - 1);
  // What the drop could not land floats on: the block joins it, after it.
  const int kept = SelectedEntryCount(d);
  d.Sel.resize(static_cast<size_t>(kept) + 1);
  d.Sel.reserve(static_cast<size_t>(kept) + static_cast<size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) {
    const ClipEntry& c = g_Clip[i];
    const int64_t p = base + c.Pos;
    // Floor division: a position before the chart's start lies in a negative measure, where the
    // drop leaves the entry floating.
    int64_t mes = p / kTicksPerMeasure, tick = p % kTicksPerMeasure;
    if (tick < 0) tick += kTicksPerMeasure, --mes;
    SelEntry s;
    SetSelLane(d, s, Clamp16(static_cast<int64_t>(laneBase) + c.Lane), c.Table);
    s.Mes = Clamp16(mes);
    s.Tick = static_cast<int16_t>(tick);
    s.Value = c.Value;
    s.Back = c.Back;
    d.Sel.push_back(s);
  }
  d.SelCount = kept + n;
  host.ObjDraw();
  return true;
}

}  // namespace mk
