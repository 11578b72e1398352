// Charts for the editing tests: the shipped samples read with their scripts, and small charts
// built in place.
#pragma once
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace edittest {

struct ShippedPair {
  std::string script;  // file in scripts/
  std::string sample;  // file in samples/
};
const std::vector<ShippedPair>& ShippedPairs();

// The sample read into a record of its script (fails the test when either does not read).
mk::DocData LoadShipped(const ShippedPair& p);

// A chart of `lanes` plain lanes (channels "11".."", WAV numbering mode 1) and measures 0..mesCount.
mk::DocData SmallChart(int lanes, int mesCount);

// Puts a value in the front (or back) layer and recomputes the cell's slot count.
void Put(mk::DocData& d, int lane, int mes, int tick, int value, bool back = false);

// The chart as the writer prints it.
std::string Text(const mk::DocData& d);

// The chart as the next save writes it, read back into a fresh record of the same script: its
// lines, or without them the file of that name in scripts/.
mk::DocData ReadBack(const mk::DocData& d, const std::vector<std::string>& scriptLines, const std::string& scriptFile);

}  // namespace edittest
