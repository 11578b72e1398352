// Whether the charts of a script read back as they were written: the channel names, lane groups
// and numbering modes that the chart lines cannot carry faithfully, found when the script is read.
#pragma once
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

// Where the script said what the check looks at (1-based line numbers, 0 when not said).
struct ScriptLineNumbers {
  std::vector<int> lanes;   // by lane number; entry 0 unused
  std::vector<int> groups;  // by group index
  int tmpc = 0;
  int mesc = 0;
};

struct LayoutFault {
  int line1 = 0;  // the line at fault
  int line2 = 0;  // the line it conflicts with; 0 when none
  std::string reason;
  bool empty() const { return reason.empty(); }
};

// The first layout of doc's script (lanes, groups, channels, symbols, numbering modes) whose
// chart lines would be read back into other places or other values than they were written
// from; empty when every chart of the script reads back as written:
// - a channel the writer prints must be empty of characters the reader drops, must not be
//   cut short by a separator symbol that follows a text the reader knows as a channel, and must
//   not be taken for another channel that comes before it in the reader's order of trial (the
//   same name, or one that begins it); lanes of part 99 may share a channel among themselves;
// - lane groups must not share lanes;
// - a group lane numbered with the BGA list that is written in the group's lines (coded in the
//   WAV numbering mode) must have numbers that mode can code.
LayoutFault CheckChartLayout(const DocData& doc, const ScriptLineNumbers& lines);

}  // namespace mk
