// Tidying a chart's WAV definition table: compaction (defined entries to the front, objects
// renumbered) and release (entries no object uses emptied).
#pragma once
#include "chartfmt/docdata.h"

namespace mk {

// Moves every WAV entry that names a file to the front of the table in its old order and
// renumbers the objects of every WAV lane (front, back and open objects) so that each keeps its
// file; objects of a number without a file are erased. The floating selection is dropped into
// the grid first (maxMeasure bounds that, as for ObjDeSel); the entries it leaves floating, each
// in its own table (SelEntryTable), and both undo levels are renumbered the same way, so an Undo
// afterwards brings back objects on the files they had (and leaves the chart marked modified).
// Lane 0 and the lanes of part 88 are never touched; values outside the object ranges are left
// as they are. Shows nothing, draws nothing and leaves the modified mark to the caller. True when
// the table or an object changed.
bool WAVCompact(DocData& doc, int maxMeasure);

// Empties the file and comment of every WAV entry 1..N that no object of a WAV lane uses (front,
// back or open object), after dropping the floating selection into the grid; an entry the drop
// leaves floating counts as a use of its number in its own table (SelEntryTable). Because an undo
// level could bring back objects of an emptied entry, UndoOn is cleared when an entry changed.
// True when an entry changed.
bool WAVDelUnused(DocData& doc, int maxMeasure);

}  // namespace mk
