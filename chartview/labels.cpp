#include "chartview/labels.h"

#include <string>

#include "chartfmt/defcode.h"
#include "chartview/sprites.h"

namespace mk {

int GlyphIndex(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'Z') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'z') return ch - 'a' + 10;
  return 0;
}

std::array<int, 2> CodeGlyphs(int value, int mode) {
  const std::string text = "00" + DefNumToText(static_cast<int16_t>(value), static_cast<int16_t>(mode));
  return {GlyphIndex(text[text.size() - 2]), GlyphIndex(text[text.size() - 1])};
}

int16_t LaneNumberingMode(const DocData& doc, int lane) {
  return LaneAt(doc, lane).Part == kPartBga ? doc.Fmt.BNum : doc.Fmt.WNum;
}

void DrawGlyphs(plat::Picture& target, const plat::Picture& objSheet, const int* xs, const int* glyphs, int count,
                int y, bool lower) {
  using namespace sheet;
  const int row = lower ? kLowerRow : 0;
  for (int i = 0; i < count; ++i)
    target.Blt(xs[i], y, kGlyphW, kGlyphH, objSheet, GlyphX(glyphs[i]), row + kMaskRow, plat::Rop::And);
  for (int i = 0; i < count; ++i)
    target.Blt(xs[i], y, kGlyphW, kGlyphH, objSheet, GlyphX(glyphs[i]), row, plat::Rop::Or);
}

void DrawObjectLabel(const DocData& doc, const PartsSwitches& parts, const plat::Picture& objSheet,
                     plat::Picture& target, int x, int y, int lane, int value, int back) {
  if (!parts.Spell) return;
  const int v = value > kOpenObjectBase ? value - kOpenObjectBase : value;
  if (lane != 0) {
    const std::array<int, 2> g = CodeGlyphs(v, LaneNumberingMode(doc, lane));
    const int xs[2] = {back == -1 ? x + 7 : x + 4, back == -1 ? x + 14 : x + 18};
    DrawGlyphs(target, objSheet, xs, g.data(), 2, y, parts.Lower);
    return;
  }
  // Tempo value: the last three characters of "000" and the number; a non-digit shows as 0.
  const std::string text = "000" + std::to_string(v);
  int g[3];
  for (int i = 0; i < 3; ++i) {
    const char c = text[text.size() - 3 + i];
    g[i] = c >= '0' && c <= '9' ? c - '0' : 0;
  }
  const int xs[3] = {x + 4, x + 11, x + 18};
  DrawGlyphs(target, objSheet, xs, g, 3, y, parts.Lower);
}

}  // namespace mk
