// Hand-built documents for the drawing tests.
#pragma once
#include <string>

#include "chartfmt/docdata.h"
#include "chartview/sprites.h"
#include "chartview/viewstate.h"
#include "platform/gfx/picture.h"

namespace drawtest {

inline constexpr plat::Color kBlack = plat::Rgb(0, 0, 0);
inline constexpr plat::Color kWhite = plat::Rgb(255, 255, 255);
inline constexpr plat::Color kGrey = plat::Rgb(127, 127, 127);

inline plat::Color C(const mk::Rgb& c) { return plat::Rgb(c.R, c.G, c.B); }

// lanes lanes, lane L with background (20L, 100, 200), front colour (200, 10L, 50) and back
// colour (90, 200, 5L), label "Ln" (n = L), part 1 for lanes 1-3, 2 for 4-6 and so on, a back
// channel on even lanes; measures 0..mesCount sized and empty.
inline mk::DocData MakeDoc(int lanes, int mesCount = 3) {
  mk::DocData d;
  d.LaneCount = static_cast<int16_t>(lanes);
  d.Lane.resize(lanes + 1);
  d.Fmt.Bright = 24;
  d.Fmt.WNum = 1;
  d.Fmt.BNum = 1;
  for (int l = 1; l <= lanes; ++l) {
    mk::LaneInfo& li = d.Lane[l];
    li.Label = "L" + std::to_string(l);
    li.Channel = "1" + std::to_string(l % 10);
    li.BackChannel = l % 2 == 0 ? "5" + std::to_string(l % 10) : "__";
    li.Color1 = {static_cast<int16_t>((20 * l) % 256), 100, 200};
    li.Color2 = {200, static_cast<int16_t>((10 * l) % 256), 50};
    li.Color3 = {90, 200, static_cast<int16_t>((5 * l) % 256)};
    li.Part = static_cast<int16_t>(1 + (l - 1) / 3);
  }
  d.Obj.resize(lanes + 1);
  d.MesCount = static_cast<int16_t>(mesCount);
  mk::ResizeMeasures(d, static_cast<int16_t>(mesCount));
  d.Sel.resize(1);
  return d;
}

// Puts a front (back = false) or back object and sets the cell's division to fit.
inline void Put(mk::DocData& d, int lane, int mes, int tick, int value, bool back = false) {
  mk::MesData& c = d.Obj[lane].Mes.Write(mes);
  (back ? c.BackObj : c.Obj)[tick] = static_cast<int16_t>(value);
  int div = 192;
  for (int cand : {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 192}) {
    bool ok = true;
    for (int t = 0; t < 192 && ok; ++t)
      if ((c.Obj[t] != 0 || c.BackObj[t] != 0) && t % (192 / cand) != 0) ok = false;
    if (ok) {
      div = cand;
      break;
    }
  }
  c.Division = static_cast<int16_t>(div);
}

inline mk::SpriteSheets MakeSheets(const mk::DocData& d, int stripHeight = 25) {
  mk::SpriteSheets s;
  mk::ObjMake(d, s.Obj);
  mk::HeadDraw(d, stripHeight, s.Head);
  return s;
}

// First differing pixel of two pictures as text, or empty when they are the same.
inline std::string FirstDifference(const plat::Picture& a, const plat::Picture& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return "sizes " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " and " +
           std::to_string(b.Width()) + "x" + std::to_string(b.Height());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return {};
}

}  // namespace drawtest
