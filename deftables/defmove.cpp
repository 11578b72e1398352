// Definition moves with renumbering.
#include "deftables/defmove.h"

#include <algorithm>
#include <utility>

#include "chartfmt/defcode.h"
#include "deftables/remap.h"

namespace mk {

namespace {

bool IsBga(DefMove m) { return m == DefMove::BGAUp || m == DefMove::BGADown; }

}  // namespace

int DefMoveNeighbour(const DocData& doc, DefMove move) {
  const bool bga = IsBga(move);
  const std::vector<DefEntry>& table = bga ? doc.Bga : doc.Wav;
  const int last = std::min<int>(DefNumMax(bga ? doc.Fmt.BNum : doc.Fmt.WNum), static_cast<int>(table.size()) - 1);
  const int s = doc.CurDef;
  const bool up = move == DefMove::WAVUp || move == DefMove::BGAUp;
  if (s < 1 || s > last) return -1;  // no row, or BGA number 0
  if (up) return s >= 2 ? s - 1 : -1;
  return s < last ? s + 1 : -1;
}

bool MoveDefinition(DocData& doc, DefMove move) {
  const int n = DefMoveNeighbour(doc, move);
  if (n < 0) return false;
  const bool bga = IsBga(move);
  const int s = doc.CurDef;
  std::vector<DefEntry>& table = bga ? doc.Bga : doc.Wav;
  std::swap(table[s], table[n]);
  const int16_t a = static_cast<int16_t>(s), b = static_cast<int16_t>(n);
  const ValueMap swap = ValueMap::From([a, b](int16_t v, bool back) -> int16_t {
    if (v == a) return b;
    if (v == b) return a;
    if (back) return v;
    if (v == a + kOpenObjectBase) return static_cast<int16_t>(b + kOpenObjectBase);
    if (v == b + kOpenObjectBase) return static_cast<int16_t>(a + kOpenObjectBase);
    return v;
  });
  RemapEverywhere(doc, bga, swap);
  // The undo levels now go with the moved table, which is not the one on disk.
  doc.UndoDirty = doc.UndoDirty2 = -1;
  doc.CurDef = b;
  return true;
}

}  // namespace mk
