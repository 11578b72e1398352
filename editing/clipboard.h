// The internal clipboard for chart objects: one block for the whole program, copied from the
// floating selection of one chart and pasted as the floating selection of any chart of the same
// numbering modes. Values are never converted.
#pragma once
#include <cstdint>
#include <vector>

#include "chartfmt/docdata.h"
#include "editing/edithost.h"

namespace mk {

// One copied object, relative to the block's origin.
struct ClipEntry {
  int16_t Lane = 0;               // lane minus the origin lane
  int32_t Pos = 0;                // measure * 192 + tick minus the origin position
  int16_t Value = 0;              // the cell value as the grid held it
  int16_t Back = 0;               // -1 back layer, 0 front layer
  int16_t Table = kSelTableNone;  // the table the value counted from (SelEntryTable)
  bool operator==(const ClipEntry&) const = default;
};

// The block: entries 1..g_ClipCount of g_Clip (entry 0 unused), its origin lane and the origin's
// tick within its measure, and the WAV and BGA numbering modes of the chart it came from. Empty
// at start-up; only a copy changes it.
extern std::vector<ClipEntry> g_Clip;
extern int32_t g_ClipCount;
extern int16_t g_ClipLane;
extern int32_t g_ClipTick;
extern int16_t g_ClipMode;
extern int16_t g_ClipBMode;

// Empties the clipboard (the start-up state).
void ClearClipboard();

// True when the clipboard holds a block that d can take: not empty, and copied from a chart with
// the same WAV and BGA numbering modes (a block of larger numbers must not reach a chart of a
// smaller range).
bool ClipPasteable(const DocData& d);

// Copies the floating selection into the clipboard, replacing the whole block. The origin is the
// smallest lane and the earliest position among the entries, but never a lane past LaneCount nor
// a position past the chart's last tick. False (clipboard untouched) when nothing is selected.
// The chart does not change.
bool EditCopy(const DocData& d);

// Copy, then the snapshot, then the selection is emptied and the chart redrawn. False (nothing
// done) when nothing is selected.
bool EditCut(DocData& d, EditHost& host);

// The snapshot, then the selection is emptied (its objects are not in the grid, so they are
// gone; Undo brings them back as the selection). False (nothing done) when nothing is selected.
bool EditDelete(DocData& d, EditHost& host);

// Where a paste puts the block.
enum class PasteAt {
  Pointer,  // origin on the pressed lane and the grid line under the pointer (context menu)
  Scroll,   // every object on the lane it was copied from and at its tick within the measure, in
            // the first measure that begins at or after the visible start (Edit menu)
};

// The position the block's origin goes to.
int32_t PasteBase(const DocData& d, PasteAt where);

// The snapshot, the current selection landed, then the block becomes the floating selection and
// the chart is redrawn. Entries the drop could not land stay selected, before the block. Entries
// off the lanes or past the last measure stay in the selection as they are; the later drop
// grows for them or leaves them floating. False (nothing done) when the block cannot be pasted into d
// (ClipPasteable).
bool EditPaste(DocData& d, EditHost& host, PasteAt where);

}  // namespace mk
