#include "chartview/laneheader.h"

#include "chartview/labels.h"
#include "chartview/sprites.h"

namespace mk {

using plat::Rop;

bool HeadDraw2(const DocData& doc, const ViewState& view, const SpriteSheets& sheets, plat::Picture& strip) {
  using namespace sheet;
  if (doc.LaneCount <= 0) return false;
  const int lanes = doc.LaneCount;
  const int x0 = ScrollX(view);
  const int xr = x0 + view.CanvasWidth;
  strip.SetBackColor(0);
  strip.Clear();

  const plat::Picture& head = sheets.Head;
  for (int p = FirstEdge(x0, kCellW); p <= LastEdge(xr, kCellW); p += kCellW) {
    const int l = p / kCellW;
    if (l < 0 || l > lanes) continue;
    const int x = p - x0;
    const LaneInfo& lane = LaneAt(doc, l);
    const int bgX = lane.Part == kPartBga ? 60 : lane.Part == kPartStacked ? 30 : 0;
    strip.Blt(x, 0, kCellW, kCellH, head, bgX, 0, Rop::Copy);
    strip.Blt(x, 0, kCellW, kCellH, head, HeadCellX(l), HeadMaskY(l), Rop::And);
    strip.Blt(x, 0, kCellW, kCellH, head, HeadCellX(l), HeadTextY(l), Rop::Or);
    const int mode = LaneNumberingMode(doc, l);
    if (lane.Hdr > 0) {
      const std::array<int, 2> g = CodeGlyphs(lane.Hdr, mode);
      const int xs[2] = {x + 1, x + 8};
      DrawGlyphs(strip, sheets.Obj, xs, g.data(), 2, 17, view.Parts.Lower);
    }
    if (lane.Hdr2 > 0) {
      const std::array<int, 2> g = CodeGlyphs(lane.Hdr2, mode);
      const int xs[2] = {x + 15, x + 22};
      DrawGlyphs(strip, sheets.Obj, xs, g.data(), 2, 17, view.Parts.Lower);
    }
  }

  if (view.Parts.Line) {
    for (int p = FirstEdge(x0, kCellW); p <= LastEdge(xr, kCellW); p += kCellW) {
      const int l = p / kCellW;
      if (l < 0 || l > lanes + 1) continue;
      const bool heavy = l < 1 || l == lanes + 1 || LaneAt(doc, l - 1).Part != LaneAt(doc, l).Part;
      strip.Blt(p - x0 - 1, 0, 2, kCellH, sheets.Obj, heavy ? kHeavyX : kThinX, kLaneLineY, Rop::Copy);
    }
  }
  return true;
}

bool HeadObj(const DocData& doc, const ViewState& view, const SpriteSheets& sheets, plat::Picture& strip) {
  return HeadDraw2(doc, view, sheets, strip);
}

}  // namespace mk
