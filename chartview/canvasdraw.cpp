// The canvas repaint. The picture is the one the piecewise layout gives (tiles of 6 x 100, line
// pieces of 100 x 1 or 2 and 2 x 100, rows laid out for zoom 1); since the tiles and pieces are
// plain colour, whole lane columns, canvas-wide lines and full-height lane lines are drawn as
// single fills of the colour read from the sheet, and rows that lie wholly outside the canvas
// are skipped.
#include "chartview/canvasdraw.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chartfmt/utils.h"
#include "chartview/labels.h"
#include "chartview/laneheader.h"
#include "chartview/sprites.h"

namespace mk {

using plat::Picture;
using plat::Rop;

namespace {

int Round(double v) { return static_cast<int>(std::lrint(v)); }

void DrawWallpaper(const DocData& doc, const ViewState& view, const ViewFrame& f, Picture& canvas) {
  if (doc.CanvasWallMode == 3) {
    if (view.WallStretched) canvas.Blt(0, 0, f.W, f.H, *view.WallStretched, 0, 0, Rop::Copy);
    return;
  }
  if (!view.Wall) return;
  const Picture& wall = *view.Wall;
  const int w = wall.Width(), h = wall.Height();
  if (w <= 0 || h <= 0) return;
  if (doc.CanvasWallMode == 1) {
    canvas.Blt(Round((f.W - w) / 2.0), Round((f.H - h) / 2.0), w, h, wall, 0, 0, Rop::Copy);
  } else if (doc.CanvasWallMode == 2) {
    for (int c = 1; c <= f.W / w + 1; ++c)
      for (int r = 1; r <= f.H / h + 1; ++r) canvas.Blt((c - 1) * w, (r - 1) * h, w, h, wall, 0, 0, Rop::Copy);
  }
}

// The cleared canvas with the lane colour tiles: each lane column from lane 1 on whose first
// colour is not black, over the whole height. One row is composed and repeated.
void ClearWithLaneTiles(const DocData& doc, const ViewFrame& f, const Picture& sheetPic, Picture& canvas) {
  std::vector<plat::Color> row(std::max(f.W, 0), canvas.BackColor());
  const int from = std::max(1, f.X0 / 30);
  const int to = std::min<int>(doc.LaneCount, f.XR / 30 + 1);
  for (int l = from; l <= to; ++l) {
    const Rgb& c = LaneAt(doc, l).Color1;
    if (c.R + c.G + c.B == 0) continue;
    const plat::Color tile = sheetPic.Pixel(sheet::TileX(l), sheet::TileY(l));
    const int x1 = std::max(0, 30 * l - f.X0), x2 = std::min(f.W, 30 * l - f.X0 + 30);
    for (int x = x1; x < x2; ++x) row[x] = tile;
  }
  canvas.RepeatRow(0, f.H - 1, row);
}

void DrawMeasureLabels(const DocData& doc, const ViewFrame& f, const Picture& sheetPic, Picture& canvas) {
  const plat::Font font = SheetFont(12);
  for (int k = 1; k <= f.Rows + 1; ++k) {
    const int m = f.First + k - 1;
    const int yl = f.YL(k), yt = f.YT(k);
    const int ny = yl - f.PPM / 2 - 33;
    if (ny < f.H && ny + sheet::kDigitH > 0) {
      const std::string num = "000" + std::to_string(m);
      for (int i = 0; i < 3; ++i) {
        const char ch = num[num.size() - 3 + i];
        const int d = ch >= '0' && ch <= '9' ? ch - '0' : 0;
        canvas.Blt(f.W / 2 - 52 + 35 * i, ny, sheet::kDigitW, sheet::kDigitH, sheetPic,
                   sheet::kDigitX + sheet::kDigitW * d, sheet::kDigitY, Rop::Or);
      }
    }
    if (m <= doc.MesCount && HasCell(doc, 0, m) && doc.Obj[0].Mes[m].Length > 0 && yt + 5 < f.H && yt + 40 > 0) {
      const std::string text = FormatNumberShort(doc.Obj[0].Mes[m].Length);
      canvas.DrawText(37, yt + 7, text, plat::Rgb(0, 0, 0), font);
      canvas.DrawText(35, yt + 5, text, plat::Rgb(192, 192, 192), font);
    }
  }
}

void DrawLines(const DocData& doc, const ViewState& view, const ViewFrame& f, const Picture& sheetPic,
               Picture& canvas) {
  using namespace sheet;
  const plat::Color measure = sheetPic.Pixel(kPieceX, kMeasureY);
  const plat::Color grid = sheetPic.Pixel(kPieceX, kGridY);
  const plat::Color beat = sheetPic.Pixel(kPieceX, kBeatY);
  const int width = (f.W / 100 + 1) * 100;
  const bool gridOn = doc.GridDiv != 192 && doc.GridDiv > 0 && view.Parts.Grid;
  const int step = gridOn ? f.PPM / doc.GridDiv : 0;
  for (int k = 1; k <= f.Rows + 1; ++k) {
    const int yt = f.YT(k);
    if (yt - 1 >= f.H || yt + f.PPM <= 0) continue;  // every line of the row is off the canvas
    canvas.FillRop(0, yt - 1, width, 2, measure, Rop::Copy);
    if (gridOn && step == 0 && doc.GridDiv > 1) {
      canvas.FillRop(0, yt, width, 1, grid, Rop::Copy);  // a grid finer than a pixel: all on one row
    } else if (gridOn) {
      for (int j = 1; j <= doc.GridDiv - 1 && yt + step * j < f.H; ++j)
        canvas.FillRop(0, yt + step * j, width, 1, grid, Rop::Copy);
    }
    for (int j = 1; j <= 3; ++j) canvas.FillRop(0, yt + (f.PPM / 4) * j, width, 1, beat, Rop::Copy);
  }

  const plat::Color heavy = sheetPic.Pixel(kHeavyX, kLaneLineY);
  const plat::Color thin = sheetPic.Pixel(kThinX, kLaneLineY);
  const int height = (f.H / 100 + 1) * 100;
  for (int p = FirstEdge(f.X0, 30); p <= LastEdge(f.XR, 30); p += 30) {
    const int l = p / 30;
    if (l < 0 || l > doc.LaneCount + 1) continue;
    const bool isHeavy = l == 0 || l == doc.LaneCount + 1 || LaneAt(doc, l - 1).Part != LaneAt(doc, l).Part;
    canvas.FillRop(p - f.X0 - 1, 0, 2, height, isHeavy ? heavy : thin, isHeavy ? Rop::Copy : Rop::Or);
  }
}

void DrawObjects(const DocData& doc, const ViewState& view, const ViewFrame& f, const Picture& sheetPic,
                 Picture& canvas) {
  using namespace sheet;
  const double zoom = doc.Zoom;
  for (int k = 1; k <= f.Rows + 1; ++k) {
    const int m = f.First + k - 1;
    if (m > doc.MesCount) continue;
    // Boxes of the row stand between its upper edge less 10 and its lower edge plus 9.
    if (f.YL(k) + 9 < 0 || f.YT(k) - 10 >= f.H) continue;
    const int y0 = f.Up ? f.YL(k) - 10 : f.YT(k);
    const int dir = f.Up ? -1 : 1;
    for (int p = FirstEdge(f.X0, 30); p <= LastEdge(f.XR, 30); p += 30) {
      const int l = p / 30;
      if (l > doc.LaneCount) break;
      if (l < 0 || !HasCell(doc, l, m)) continue;
      const MesData& cell = doc.Obj[l].Mes[m];
      const int d = std::min<int>(cell.Division, kTicksPerMeasure);
      if (d <= 0) continue;
      const int x = p - f.X0 + 1;
      const int span = kTicksPerMeasure / d;
      for (int i = 0; i < d; ++i) {
        const int t = span * i;
        const int y = y0 + dir * Round(t * zoom);
        const int v = cell.Obj[t];
        if (v != 0) {
          if (v > kOpenObjectBase) {
            canvas.Blt(x, y, kOpenW, kBoxH, sheetPic, kOpenX, kOpenY, Rop::Copy);
            DrawObjectLabel(doc, view.Parts, sheetPic, canvas, x + 30, y, l, v - kOpenObjectBase, 0);
          } else {
            canvas.Blt(x, y, kBoxW, kBoxH, sheetPic, 0, 10 * l, Rop::Copy);
            DrawObjectLabel(doc, view.Parts, sheetPic, canvas, x, y, l, v, 0);
          }
        }
        const int b = cell.BackObj[t];
        if (b != 0) {
          canvas.Blt(x + 3, y, kBackW, kBoxH, sheetPic, kBackX, 10 * l, Rop::Copy);
          DrawObjectLabel(doc, view.Parts, sheetPic, canvas, x, y, l, b, -1);
        }
      }
    }
  }
}

void DrawSelection(const DocData& doc, const ViewState& view, const ViewFrame& f, const Picture& sheetPic,
                   Picture& canvas) {
  using namespace sheet;
  const int firstLane = f.X0 / 30;
  const int lastLane = std::min<int>(doc.LaneCount, LastEdge(f.XR, 30) / 30);
  const int count = SelectedEntryCount(doc);
  for (int i = 1; i <= count; ++i) {
    const SelEntry& e = doc.Sel[i];
    if (e.Mes < f.First || e.Mes > f.First + f.Rows || e.Lane < firstLane || e.Lane > lastLane) continue;
    const int x = 30 * e.Lane - f.X0 + 1;
    const double rowTop = static_cast<double>(e.Mes - f.First) * f.PPM;
    const int y = f.Up ? Round(f.H + f.Off - rowTop - e.Tick * doc.Zoom - 9)
                       : Round(rowTop - f.Off + e.Tick * doc.Zoom + doc.Zoom - 2);
    canvas.Blt(x, y, kBoxW, kBoxH, sheetPic, 0, 10 * e.Lane, Rop::Copy);
    DrawObjectLabel(doc, view.Parts, sheetPic, canvas, x, y, e.Lane, e.Value, e.Back);
    canvas.Blt(x, y, kBoxW, kBoxH, sheetPic, kSelX, kSelY, Rop::Or);
  }
}

}  // namespace

ViewFrame MakeViewFrame(const DocData& doc, const ViewState& view) {
  ViewFrame f;
  f.X0 = ScrollX(view);
  f.W = view.CanvasWidth;
  f.H = view.CanvasHeight;
  f.XR = f.X0 + f.W;
  f.PPM = Round(doc.Zoom * kTicksPerMeasure);
  f.First = doc.ScrollPos / kTicksPerMeasure;
  f.Off = Round((doc.ScrollPos % kTicksPerMeasure) * doc.Zoom);
  f.Rows = f.H / kTicksPerMeasure + 1;
  f.Up = doc.ScrlUp != 0;
  return f;
}

std::string SelectionInfoText(int selCount) {
  return selCount < 1 ? std::string() : std::to_string(selCount) + "個のオブジェを選択";
}

bool ObjDraw(const DocData& doc, const ViewState& view, const SpriteSheets& sheets, Picture& canvas,
             SelectionPublisher* frame, bool currentWindow) {
  if (doc.LaneCount <= 0) return false;
  const ViewFrame f = MakeViewFrame(doc, view);
  canvas.SetBackColor(0);
  canvas.Resize(f.W, f.H);
  const Picture& sheetPic = sheets.Obj;

  if (view.Parts.Back && doc.CanvasWallOn == 0) {
    ClearWithLaneTiles(doc, f, sheetPic, canvas);
  } else {
    canvas.Clear();
    if (view.Parts.Back) DrawWallpaper(doc, view, f, canvas);
  }
  DrawMeasureLabels(doc, f, sheetPic, canvas);
  if (view.Parts.Line) DrawLines(doc, view, f, sheetPic, canvas);
  DrawObjects(doc, view, f, sheetPic, canvas);
  if (doc.SelCount >= 1) DrawSelection(doc, view, f, sheetPic, canvas);
  if (frame && currentWindow) frame->PublishSelection(SelectionInfoText(doc.SelCount), doc.SelCount >= 1);
  return true;
}

bool ObjDraw(const DocData& doc, const ViewState& view, const SpriteSheets& sheets, plat::Canvas& canvas,
             SelectionPublisher* frame, bool currentWindow) {
  if (doc.LaneCount <= 0) return false;
  canvas.ClearOverlay();
  return ObjDraw(doc, view, sheets, canvas.Image(), frame, currentWindow);
}

}  // namespace mk
