// The object search: selects the objects of a chart that lie on chosen lanes, in a measure range
// and a definition-number range, and are of chosen kinds.
#pragma once
#include <cstdint>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

struct FindCriteria {
  std::vector<bool> lanes;  // by lane 0..LaneCount: the lane's row is ticked
  int mesFrom = 0, mesTo = 0;
  int numFrom = 1, numTo = 255;  // compared with the definition number (an open object's less 10000)
  bool front = true;             // front-layer objects
  bool back = true;              // back-layer objects
  bool open = true;              // open objects (front layer; they need `front` too)
  bool narrow = false;           // keep the matching part of the selection instead of searching the chart
};

struct FindResult {
  bool grew = false;  // putting entries back lengthened the chart
};

// Whether one selection entry meets the criteria.
bool FindMatches(const FindCriteria& c, const SelEntry& e);

// New search: the selection is dropped into the grid, then every object of lanes 1..LaneCount
// that matches is lifted into the selection, in lane, measure, tick order (front before back).
// Narrowing: the entries of the selection that match stay selected in their order, the others
// go back into the grid. Entries go back the way a dropped selection does (ObjDeSel); those the
// grid cannot hold where they are stay selected after the matches. A chart
// without lanes is left as it is. Takes no undo snapshot.
FindResult FindObjects(DocData& d, const FindCriteria& c, int maxMeasure);

// The first lane of each lane group of the script, by lane 0..LaneCount.
std::vector<bool> GroupStartLanes(const DocData& d);

}  // namespace mk
