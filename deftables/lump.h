// The batch load dialog's rules: the slot list, the start slot, the file pattern and what OK
// writes into the chart.
#pragma once
#include <string>
#include <vector>

#include "chartfmt/docdata.h"
#include "deftables/deflists.h"

namespace mk {

// Fillable numbers: WAV 1..N_W (none for an unknown mode), BGA 0..255 whatever the BGA mode.
int LumpFirstSlot(DefKind k);
int LumpLastSlot(const DocData& doc, DefKind k);
// Slot list rows in ascending number: the number's code (WAV by the WAV mode, BGA always two
// base-16 digits), followed by "*" when the definition has a file.
std::vector<std::string> LumpSlotRows(const DocData& doc, DefKind k);
// Row (0-based) of the slot list and its number.
int LumpSlotOfRow(DefKind k, int row);
int LumpRowOfSlot(DefKind k, int slot);
// The start slot the dialog opens with: number (the list's selected definition), brought into
// the slot list (a number above the last slot becomes the last, one below the first the first).
int LumpInitialSlot(const DocData& doc, DefKind k, int number);
// The file list's pattern: "*.wav;*.zq" for WAV, BgaFilePattern for BGA.
std::string LumpFilePattern(const DocData& doc, DefKind k);
// A browsed folder as the chart folder: with a "/" appended unless it ends in one.
std::string LumpFolder(const std::string& folder);

// OK: the chart folder becomes LumpFolder(folder) even when no file is given; files, in list
// order, fill startSlot and the following slots (each with an empty comment); files past the
// last slot are dropped. True when the folder or an entry changed.
bool ApplyLump(DocData& doc, DefKind k, int startSlot, const std::vector<std::string>& files,
               const std::string& folder);

}  // namespace mk
