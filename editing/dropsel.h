// Landing the floating selection: every selected object is written back into the grid and the
// selection list is emptied.
#pragma once
#include <cstdint>
#include <string>

#include "chartfmt/docdata.h"
#include "chartfmt/storable.h"

namespace mk {

struct DropResult {
  bool grew = false;                        // the measure count changed to hold the entries
  int32_t kept = 0;                         // entries left floating: the grid cannot hold them where they are
  StoreFault keptFault = StoreFault::None;  // why the first of them stays
  int32_t full = 0;                         // of them, those kept because the chart holds as many cells as it may
};

// Grows the chart once to the furthest measure the entries need (at most maxMeasure), writes
// every entry that then lies inside the grid and empties the list. A front value is written as
// the lane can hold it: an open object (above 10000) stays open only on the first lane of a lane
// group and is an ordinary object elsewhere; a tempo value above 255 is written as 255. An entry
// the next save could not write where it is (off the lanes, before measure 0, a layer without a
// channel, a number the lane's numbering cannot code, past the measure limit, or no room for
// another cell) is not written: it stays in the list, in its order, so that nothing is lost and
// the window never shows in the grid what the file would lose; a drag brings it back. Later
// entries for the same cell win. With keep (a copy drag) the list stays as it was, now also in
// the grid.
DropResult ObjDeSel(DocData& d, int maxMeasure, bool keep = false);

// The measure count the chart has once ObjDeSel(d, maxMeasure) has run: the drop grows it to the
// furthest entry it writes (at most maxMeasure); entries it leaves floating grow nothing.
int MesCountAfterDrop(const DocData& d, int maxMeasure);

// The status-bar text for entries a drop left floating; empty when none were.
std::string KeptFloatingText(const DropResult& r);

// How many entries of the floating selection the grid could not hold where they are now (off the
// lanes and before measure 0 among them), and the fault of the first of them.
int32_t UnstorableSelected(const DocData& d, int maxMeasure, StoreFault* first = nullptr);

// Why the grid cannot hold an entry on the lanes where it is, as the drop writes it (the measure
// limit aside).
StoreFault SelEntryFault(const DocData& d, const SelEntry& s);

// The value a front-layer entry lands as on lane.
int16_t LandedFrontValue(const DocData& d, int lane, int16_t value);

// Cells of the grid that hold a record of their own.
int64_t StoredCells(const DocData& d);

}  // namespace mk
