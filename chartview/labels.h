// Object number labels: small shadowed glyphs copied from the object sheet's glyph strips.
#pragma once
#include <array>
#include <cstdint>

#include "chartfmt/docdata.h"
#include "chartview/viewstate.h"
#include "platform/gfx/picture.h"

namespace mk {

// Glyph cell (0 to 35) of one code character: its place in "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
// either case; any other character takes cell 0.
int GlyphIndex(char ch);

// The two glyph cells of value's code in a numbering mode: the last two characters of "00"
// followed by the code.
std::array<int, 2> CodeGlyphs(int value, int mode);

// Numbering mode of a lane: BNum for a part-88 lane, else WNum.
int16_t LaneNumberingMode(const DocData& doc, int lane);

// Shadowed glyphs at (xs[i], y): every mask first (AND), then every paint (OR); lower picks the
// lower-case strips.
void DrawGlyphs(plat::Picture& target, const plat::Picture& objSheet, const int* xs, const int* glyphs, int count,
                int y, bool lower);

// The label of an object whose front box has its top-left corner at (x, y): the two-character
// code of a definition, or three decimal digits on lane 0. back = -1 spaces a back-layer label.
// Nothing is drawn while labels are switched off.
void DrawObjectLabel(const DocData& doc, const PartsSwitches& parts, const plat::Picture& objSheet,
                     plat::Picture& target, int x, int y, int lane, int value, int back);

}  // namespace mk
