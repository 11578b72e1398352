// Which lane, layer and value the chart writer can carry, by the writer's own routing: group
// digit and W lines in the WAV numbering, a lane's own lines in the lane's numbering, the tempo
// line in base 16.
#include "chartfmt/storable.h"

#include <algorithm>

namespace mk {

namespace {

constexpr const char* kNoChannel = "__";

int GroupCount(const DocData& d) { return std::min<int>(d.Fmt.GtCount + 1, static_cast<int>(d.Fmt.Gt.size())); }

// The group whose four lanes hold lane, with the lane's place in it (0..3); -1 when none.
int GroupOf(const DocData& d, int lane, int* place) {
  for (int i = 0; i < GroupCount(d); ++i) {
    const int g = d.Fmt.Gt[i].Lane;
    if (lane >= g && lane <= g + 3) {
      *place = lane - g;
      return i;
    }
  }
  return -1;
}

// A code in mode that reads back as n: two base-16 digits up to 255 (DefNumToText keeps the
// last two of larger numbers), two base-36 digits up to 1295 in modes 2 and 3 (the reader takes
// them whatever the mode's table size); no code at all in other modes.
bool Codable(int n, int16_t mode) {
  if (n < 1) return false;
  if (mode == 1) return n <= 255;
  if (mode == 2 || mode == 3) return n <= 1295;
  return false;
}

}  // namespace

int GroupStartingAt(const DocData& d, int lane) {
  for (int i = 0; i < GroupCount(d); ++i)
    if (d.Fmt.Gt[i].Lane == lane) return i;
  return -1;
}

LayerCoding LayerCodingOf(const DocData& d, int lane, bool back) {
  LayerCoding c;
  if (lane == 0) {
    c.written = !back && !d.Keys.Tmpc.empty();
    c.tempo = true;
    return c;
  }
  if (lane < 1 || lane > d.LaneCount || lane >= static_cast<int>(d.Lane.size())) return c;
  const LaneInfo& li = d.Lane[lane];
  const int16_t laneMode = li.Part == kPartBga ? d.Fmt.BNum : d.Fmt.WNum;
  if (back) {
    // A group's back lines and a part section's back lines both code in the lane's numbering.
    c.written = li.BackChannel != kNoChannel;
    c.mode = laneMode;
    return c;
  }
  int place = 0;
  if (GroupOf(d, lane, &place) >= 0 && place < 3) {
    // The digit lines; their digit 0 carries open objects, which read back on the first lane.
    c.written = true;
    c.mode = d.Fmt.WNum;
    c.open = place == 0;
    return c;
  }
  if (GroupOf(d, lane, &place) >= 0 && li.Channel == kNoChannel) {
    c.written = true;  // the fourth lane on the group's W line
    c.mode = d.Fmt.WNum;
    return c;
  }
  c.written = li.Channel != kNoChannel;
  c.mode = laneMode;
  return c;
}

StoreFault ObjectStoreFault(const DocData& d, int lane, bool back, int value) {
  if (value <= 0) return StoreFault::None;
  if (lane < 0 || lane > d.LaneCount || lane >= static_cast<int>(d.Obj.size())) return StoreFault::NoLane;
  const LayerCoding c = LayerCodingOf(d, lane, back);
  if (!c.written) return StoreFault::NoChannel;
  if (value >= kOpenObjectBase) {
    if (!c.open) return StoreFault::Open;
    return Codable(value - kOpenObjectBase, c.mode) ? StoreFault::None : StoreFault::Number;
  }
  if (c.tempo) return value <= 255 ? StoreFault::None : StoreFault::Number;
  return Codable(value, c.mode) ? StoreFault::None : StoreFault::Number;
}

std::string StoreFaultText(StoreFault f) {
  switch (f) {
    case StoreFault::None: return {};
    case StoreFault::NoLane: return "レーンの外です";
    case StoreFault::NoChannel: return "このレーンのこの層にはチャンネルがありません";
    case StoreFault::Number: return "このレーンの番号の形式では書けない番号です";
    case StoreFault::Open: return "オープンオブジェはグループの先頭レーンにしか置けません";
    case StoreFault::Measure: return "最大小節数を超えています";
    case StoreFault::BeforeStart: return "最初の小節より前です";
  }
  return {};
}

}  // namespace mk
