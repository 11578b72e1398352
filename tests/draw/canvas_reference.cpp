// The canvas repaint done the long way, piece by piece as the layout describes it: lane tiles in
// 6 x 100 slices, lines in 100-pixel pieces, lane lines in 2 x 100 pieces, every row laid out for
// zoom 1 and none skipped. The tests hold the fast repaint to this picture.
#include "canvas_reference.h"

#include <cmath>

#include "chartfmt/utils.h"
#include "chartview/labels.h"

namespace drawtest {

using plat::Picture;
using plat::Rop;

namespace {

int Round(double v) { return static_cast<int>(std::lrint(v)); }

}  // namespace

Picture ReferenceObjDraw(const mk::DocData& doc, const mk::ViewState& view, const mk::SpriteSheets& sheets) {
  const Picture& s = sheets.Obj;
  const int X0 = view.HScrollValue * 5, W = view.CanvasWidth, H = view.CanvasHeight;
  const int XR = X0 + W;
  const int PPM = Round(doc.Zoom * 192);
  const int FIRST = doc.ScrollPos / 192;
  const int OFF = Round((doc.ScrollPos % 192) * doc.Zoom);
  const int ROWS = H / 192 + 1;
  const bool up = doc.ScrlUp != 0;
  auto YL = [&](int k) { return up ? H + OFF - (k - 1) * PPM : k * PPM - OFF; };
  auto YT = [&](int k) { return YL(k) - PPM; };
  Picture c(W, H);

  if (view.Parts.Back) {
    if (doc.CanvasWallOn == 0) {
      for (int j = 1; j <= H / 100 + 1; ++j)
        for (int p = X0 - X0 % 6; p <= XR - XR % 6 + 6; p += 6) {
          const int L = p / 30;
          if (p >= 30 && L <= doc.LaneCount) {
            const mk::Rgb& col = doc.Lane[L].Color1;
            if (col.R + col.G + col.B != 0) c.Blt(p - X0, 100 * (j - 1), 6, 100, s, 54 + 6 * L, 120, Rop::Copy);
          }
        }
    } else if (doc.CanvasWallMode == 1 && view.Wall) {
      const Picture& w = *view.Wall;
      c.Blt(Round((W - w.Width()) / 2.0), Round((H - w.Height()) / 2.0), w.Width(), w.Height(), w, 0, 0, Rop::Copy);
    } else if (doc.CanvasWallMode == 2 && view.Wall) {
      const Picture& w = *view.Wall;
      for (int cc = 1; cc <= W / w.Width() + 1; ++cc)
        for (int r = 1; r <= H / w.Height() + 1; ++r)
          c.Blt((cc - 1) * w.Width(), (r - 1) * w.Height(), w.Width(), w.Height(), w, 0, 0, Rop::Copy);
    } else if (doc.CanvasWallMode == 3 && view.WallStretched) {
      c.Blt(0, 0, W, H, *view.WallStretched, 0, 0, Rop::Copy);
    }
  }

  for (int k = 1; k <= ROWS + 1; ++k) {
    const int m = FIRST + k - 1;
    const std::string num = "000" + std::to_string(m);
    for (int i = 0; i < 3; ++i)
      c.Blt(W / 2 - 52 + 35 * i, YL(k) - PPM / 2 - 33, 35, 67, s, 56 + 35 * (num[num.size() - 3 + i] - '0'), 41,
            Rop::Or);
    if (m <= doc.MesCount && doc.Obj[0].Mes[m].Length > 0) {
      const std::string t = mk::FormatNumberShort(doc.Obj[0].Mes[m].Length);
      c.DrawText(37, YT(k) + 7, t, plat::Rgb(0, 0, 0), mk::SheetFont(12));
      c.DrawText(35, YT(k) + 5, t, plat::Rgb(192, 192, 192), mk::SheetFont(12));
    }
  }

  if (view.Parts.Line) {
    for (int k = 1; k <= ROWS + 1; ++k)
      for (int i = 1; i <= W / 100 + 1; ++i) {
        const int x = 100 * (i - 1);
        c.Blt(x, YT(k) - 1, 100, 2, s, 56, 112, Rop::Copy);
        if (doc.GridDiv != 192 && view.Parts.Grid)
          for (int j = 1; j <= doc.GridDiv - 1; ++j)
            c.Blt(x, YT(k) + (PPM / doc.GridDiv) * j, 100, 1, s, 56, 110, Rop::Copy);
        for (int j = 1; j <= 3; ++j) c.Blt(x, YT(k) + (PPM / 4) * j, 100, 1, s, 56, 111, Rop::Copy);
      }
    for (int j = 1; j <= H / 100 + 1; ++j)
      for (int p = X0 - X0 % 30; p <= XR - XR % 30 + 30; p += 30) {
        const int L = p / 30, x = p - X0 - 1, y = 100 * (j - 1);
        if (L == 0 || L == doc.LaneCount + 1)
          c.Blt(x, y, 2, 100, s, 56, 120, Rop::Copy);
        else if (L >= 1 && L <= doc.LaneCount) {
          if (doc.Lane[L - 1].Part == doc.Lane[L].Part)
            c.Blt(x, y, 2, 100, s, 58, 120, Rop::Or);
          else
            c.Blt(x, y, 2, 100, s, 56, 120, Rop::Copy);
        }
      }
  }

  for (int k = 1; k <= ROWS + 1; ++k) {
    const int m = FIRST + k - 1;
    if (m > doc.MesCount) continue;
    const int Y0 = up ? YL(k) : YT(k), dir = up ? -1 : 1;
    for (int p = X0 - X0 % 30; p <= XR - XR % 30 + 30; p += 30) {
      const int L = p / 30, x = p - X0 + 1;
      if (L > doc.LaneCount) break;
      const mk::MesData& cell = doc.Obj[L].Mes[m];
      for (int i = 1; i <= cell.Division; ++i) {
        const int t = (192 / cell.Division) * (i - 1);
        const int y = Y0 + dir * Round(t * doc.Zoom) - (up ? 10 : 0);
        const int v = cell.Obj[t];
        if (v > 10000) {
          c.Blt(x, y, 88, 10, s, 310, 10, Rop::Copy);
          mk::DrawObjectLabel(doc, view.Parts, s, c, x + 30, y, L, v - 10000, 0);
        } else if (v != 0) {
          c.Blt(x, y, 28, 10, s, 0, 10 * L, Rop::Copy);
          mk::DrawObjectLabel(doc, view.Parts, s, c, x, y, L, v, 0);
        }
        if (cell.BackObj[t] != 0) {
          c.Blt(x + 3, y, 22, 10, s, 31, 10 * L, Rop::Copy);
          mk::DrawObjectLabel(doc, view.Parts, s, c, x, y, L, cell.BackObj[t], -1);
        }
      }
    }
  }

  const int firstLane = X0 / 30;
  const int lastLane = std::min<int>(doc.LaneCount, (XR - XR % 30 + 30) / 30);
  for (int i = 1; i <= doc.SelCount; ++i) {
    const mk::SelEntry& e = doc.Sel[i];
    if (e.Mes < FIRST || e.Mes > FIRST + ROWS || e.Lane < firstLane || e.Lane > lastLane) continue;
    const int x = 30 * e.Lane - X0 + 1;
    const int y = up ? Round(H + OFF - (e.Mes - FIRST) * PPM - e.Tick * doc.Zoom - 9)
                     : Round((e.Mes - FIRST) * PPM - OFF + e.Tick * doc.Zoom + doc.Zoom - 2);
    c.Blt(x, y, 28, 10, s, 0, 10 * e.Lane, Rop::Copy);
    mk::DrawObjectLabel(doc, view.Parts, s, c, x, y, e.Lane, e.Value, e.Back);
    c.Blt(x, y, 28, 10, s, 310, 0, Rop::Or);
  }
  return c;
}

}  // namespace drawtest
