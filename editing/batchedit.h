// The batch edit of the selection: every selected entry's definition number, lane and kind
// rewritten at once.
#pragma once
#include <cstdint>
#include <random>
#include <string>

#include "chartfmt/docdata.h"

namespace mk {

// Operation codes of the number and lane steps.
enum BatchOp : int { kOpConstant = 1, kOpAdd = 2, kOpSubtract = 3, kOpRandom = 4 };
// Kind codes of the kind step.
enum BatchKind : int { kKindFront = 1, kKindBack = 2, kKindOpen = 3 };

struct BatchParams {
  int numOp = kOpAdd;
  int numLo = 0, numHi = 0;  // operand, or the random range
  int laneOp = kOpAdd;
  int laneLo = 0, laneHi = 0;
  int frontTo = kKindFront;  // what front-layer objects become
  int backTo = kKindBack;    // what back-layer objects become
  int openTo = kKindOpen;    // what open objects become
};

// Uniform whole numbers; the batch edit draws once per entry for a random number and then once
// for a random lane.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A number from lo to hi inclusive (lo <= hi), each equally likely.
  virtual int Draw(int lo, int hi) = 0;
};

// The dialog's generator, seeded from the clock.
class ClockRandom : public RandomSource {
 public:
  ClockRandom();
  int Draw(int lo, int hi) override;
 private:
  std::mt19937 gen_;
};

enum class BatchRefusal { None, Number, Lane };  // "WAVの値が不正です", "レーンの値が不正です"

// The checks made before anything changes, in their order.
BatchRefusal CheckBatch(const BatchParams& p);

// The highest number an entry on this lane may take by adding: the numbering mode of the lane
// (BGA lanes the BGA mode, every other lane and lanes off the chart the WAV mode).
int LaneNumberMax(const DocData& d, int lane);

// Rewrites entries 1..SelCount in place, in list order: number, then lane, then kind. Measure and
// tick stay. Lanes are not limited to the chart's: entries pushed off it stay floating when the
// selection is dropped, until a drag brings them back. Every number operation is bounded by the numbering of the
// entry's lane: "add" stops at its highest number; a constant above it, or a random range that starts above it, leaves
// the entry as it was, and a random range is cut at it. An entry whose result the next save could not write on a lane
// of the chart (a layer without a channel, a number the new lane's numbering cannot code) is left as it was too.
// Returns the number of entries left as they were for these reasons. A chart without lanes is left as it is. Takes no
// snapshot (the caller does).
int32_t BatchEdit(DocData& d, const BatchParams& p, RandomSource& random);

// The status-bar text for entries a batch edit left as they were; empty for none.
std::string BatchUnchangedText(int32_t unchanged);

}  // namespace mk
