// A small chart record for the definition-table tests: tempo lane 0, WAV lanes 1, 2 and 4, a
// BGA lane 3 (part 88), measures 0..3, numbering modes as asked.
#pragma once
#include <string>

#include "chartfmt/docdata.h"

namespace deftest {

mk::DocData MakeDoc(int16_t wavMode = 1, int16_t bgaMode = 1);
// Writes one value (front or back layer) and brings the cell's Division up to date.
void Put(mk::DocData& d, int lane, int mes, int tick, int16_t value, bool back = false);
int16_t At(const mk::DocData& d, int lane, int mes, int tick, bool back = false);
// Names every WAV and BGA entry 1..n "w<n>.wav" / "b<n>.bmp".
void NameEntries(mk::DocData& d, int n);
// Everything a number can live in: tables, grid, selection, undo levels, CurDef.
bool SameNumbers(const mk::DocData& a, const mk::DocData& b);
// The WAV file an object at a place refers to ("" for an empty cell or entry).
std::string WavFileAt(const mk::DocData& d, int lane, int mes, int tick, bool back = false);

}  // namespace deftest
