// Number, lane and kind steps of the batch edit.
#include "editing/batchedit.h"

#include <algorithm>
#include <chrono>

#include "chartfmt/defcode.h"
#include "editing/dropsel.h"

namespace mk {

ClockRandom::ClockRandom()
    : gen_(static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count())) {}

int ClockRandom::Draw(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen_); }

BatchRefusal CheckBatch(const BatchParams& p) {
  if (p.numOp == kOpRandom && p.numLo > p.numHi) return BatchRefusal::Number;
  if (p.laneOp == kOpRandom && p.laneLo > p.laneHi) return BatchRefusal::Lane;
  if (p.numOp == kOpConstant && p.numLo == 0) return BatchRefusal::Number;
  if (p.numOp == kOpRandom && p.numLo == 0) return BatchRefusal::Number;
  return BatchRefusal::None;
}

int LaneNumberMax(const DocData& d, int lane) {
  const bool bga =
      lane >= 1 && lane <= d.LaneCount && lane < static_cast<int>(d.Lane.size()) && d.Lane[lane].Part == kPartBga;
  const int max = DefNumMax(bga ? d.Fmt.BNum : d.Fmt.WNum);
  return max > 0 ? max : 1295;  // a mode without a table: the largest two-character code
}

namespace {

int16_t Clamp16(int v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

// False (the entry untouched) when the operation has no number the lane's numbering holds.
bool NumberStep(SelEntry& e, const BatchParams& p, int max, RandomSource& random) {
  const bool open = e.Value > kOpenObjectBase;
  const int base = open ? kOpenObjectBase : 0;
  int v = e.Value;
  switch (p.numOp) {
    case kOpConstant:
      if (p.numLo > max) return false;
      v = p.numLo + base;
      break;
    case kOpAdd: v = std::min(v + p.numLo, max + base); break;
    case kOpSubtract: v = std::max(v - p.numLo, 1 + base); break;
    case kOpRandom:
      if (p.numLo > max) return false;
      v = random.Draw(p.numLo, std::min(p.numHi, max)) + base;
      break;
    default: break;
  }
  e.Value = Clamp16(v);
  return true;
}

void LaneStep(const DocData& d, SelEntry& e, const BatchParams& p, RandomSource& random) {
  int lane = e.Lane;
  switch (p.laneOp) {
    case kOpConstant: lane = p.laneLo; break;
    case kOpAdd: lane += p.laneLo; break;
    case kOpSubtract: lane -= p.laneLo; break;
    case kOpRandom: lane = random.Draw(p.laneLo, p.laneHi); break;
    default: break;
  }
  SetSelLane(d, e, Clamp16(lane), SelEntryTable(d, e));
}

void KindStep(SelEntry& e, const BatchParams& p) {
  if (e.Back != 0) {
    if (p.backTo == kKindFront) {
      e.Back = 0;
    } else if (p.backTo == kKindOpen) {
      e.Back = 0;
      e.Value = Clamp16(e.Value + kOpenObjectBase);
    }
  } else if (e.Value > kOpenObjectBase) {
    if (p.openTo == kKindFront) {
      e.Value = static_cast<int16_t>(e.Value - kOpenObjectBase);
    } else if (p.openTo == kKindBack) {
      e.Value = static_cast<int16_t>(e.Value - kOpenObjectBase);
      e.Back = -1;
    }
  } else {
    if (p.frontTo == kKindBack) {
      e.Back = -1;
    } else if (p.frontTo == kKindOpen) {
      e.Value = Clamp16(e.Value + kOpenObjectBase);
    }
  }
}

}  // namespace

int32_t BatchEdit(DocData& d, const BatchParams& p, RandomSource& random) {
  if (d.LaneCount < 1) return 0;
  const int n = SelectedEntryCount(d);
  int32_t unchanged = 0;
  for (int i = 1; i <= n; ++i) {
    SelEntry e = d.Sel[i];
    if (!NumberStep(e, p, LaneNumberMax(d, e.Lane), random)) {
      ++unchanged;
      continue;
    }
    LaneStep(d, e, p, random);
    KindStep(e, p);
    // Off the lanes the entry floats on until it is dragged back; on them it must be savable.
    const bool onLanes = e.Lane >= 0 && e.Lane <= d.LaneCount;
    if (onLanes && SelEntryFault(d, e) != StoreFault::None) {
      ++unchanged;
      continue;
    }
    d.Sel[i] = e;
  }
  return unchanged;
}

std::string BatchUnchangedText(int32_t unchanged) {
  if (unchanged < 1) return {};
  return std::to_string(unchanged) + "個のオブジェは変更しませんでした（その番号や種類ではレーンに保存できません）";
}

}  // namespace mk
