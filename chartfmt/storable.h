// Whether the chart writer can carry an object: the lane and layer must have a line that the
// reader takes back to the same cell, and the value a code that reads back as the same value.
// Every editing path asks this before it puts an object where the next save would drop or
// change it.
#pragma once
#include <string>

#include "chartfmt/docdata.h"

namespace mk {

// Why an object cannot be saved where it is.
enum class StoreFault {
  None,
  NoLane,       // lane outside 0..LaneCount
  NoChannel,    // no chart line carries this layer of the lane (the tempo lane's back layer, a "__" channel)
  Number,       // the value has no code that reads back as it in the lane's numbering
  Open,         // an open object anywhere but the front layer of a group's first lane
  Measure,      // past the last measure the chart may have
  BeforeStart,  // before measure 0
};

// How the writer carries one layer of a lane.
struct LayerCoding {
  bool written = false;  // some line carries it
  bool tempo = false;    // the tempo line: values 1 to 255 in base 16
  bool open = false;     // open objects (value + 10000) are written here and read back here
  int16_t mode = 0;      // numbering mode of the codes (when not tempo)
};
LayerCoding LayerCodingOf(const DocData& d, int lane, bool back);

// The fault of value on lane in the given layer; None for an empty value (0 or below), which
// needs no line.
StoreFault ObjectStoreFault(const DocData& d, int lane, bool back, int value);
inline bool CanStoreObject(const DocData& d, int lane, bool back, int value) {
  return ObjectStoreFault(d, lane, back, value) == StoreFault::None;
}

// The first group whose first lane is lane, or -1.
int GroupStartingAt(const DocData& d, int lane);

// A short Japanese reason for the status bar ("裏オブジェのチャンネルがないレーンです").
std::string StoreFaultText(StoreFault f);

}  // namespace mk
