// Moving the current WAV or BGA definition one place up or down: the definition trades its
// number with the neighbour and every object of either number is renumbered.
#pragma once
#include "chartfmt/docdata.h"

namespace mk {

enum class DefMove { WAVUp, WAVDown, BGAUp, BGADown };

// The neighbour number a move of the current definition trades with, or -1 when the move is
// refused: WAVUp needs 2..N_W, WAVDown 1..N_W - 1, BGAUp 2..N_B, BGADown 1..N_B - 1 (BGA number
// 0 never moves and never receives another definition). A current number without a row in the
// list concerned is refused too.
int DefMoveNeighbour(const DocData& doc, DefMove move);

// Swaps the current definition S with its neighbour N: the table entries, and every value
// naming either number in the lanes of the table's kind (WAV: every lane but the tempo lane and
// those of part 88; BGA: the lanes of part 88), front, back and open objects (front only), on
// every tick. The floating selection and both undo levels are renumbered the same way, so a
// move is its own inverse everywhere a number lives. CurDef becomes N. The undo levels are
// marked modified (they go with the moved table); the chart's own mark and the drawing are left
// to the caller. False, changing nothing, when the move is refused.
bool MoveDefinition(DocData& doc, DefMove move);

}  // namespace mk
