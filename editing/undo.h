// The one-step undo of a chart window: the live grid, selection, modified flag and measure
// count, and two snapshot levels of the same. A snapshot shares the grid's cells instead of
// copying them; a cell is copied only when it is written afterwards.
#pragma once
#include "chartfmt/docdata.h"

namespace mk {

// Shifts level 1 into level 2, takes the live state into level 1, sets UndoOn and marks the
// chart modified (the flag before the edit is what Undo gives back).
void ObjBackup(DocData& d);

// Puts level 1 back: grid, selection, modified flag and measure count together. Does nothing
// and returns false while no snapshot is held (UndoOn 0).
bool Undo(DocData& d);

// Hands back the newest snapshot of a gesture that changed nothing: level 2 becomes level 1
// again and UndoOn is what it was before that snapshot. The modified flag stays set.
void DropLastBackup(DocData& d);

// A change that Undo does not take back (definition tables, header, free statements, a move or
// tidying of definitions, measures cut by the count dialog): the chart differs from its file,
// and so does whatever an undo level would give back, since that level goes with the changed
// tables. Marks the chart and both levels modified.
void MarkChangedBeyondUndo(DocData& d);

// The chart was written to its file: it is no longer modified, but every undo level now holds
// a state that differs from the file, so taking one back marks the chart modified again.
void MarkSaved(DocData& d);

}  // namespace mk
