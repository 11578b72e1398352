// The floating selection on a dense 64-lane chart: selecting everything, moving it by one lane
// and dropping it, from about 10 000 to over 100 000 objects (the last: 999 measures). Each is
// timed alone on a chart that an undo snapshot shares, as it is after the edit that preceded it.
// Reports the median of five runs and the growth with the number of objects.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "chartfmt/defcode.h"
#include "editing/dropsel.h"
#include "editing/movesel.h"
#include "editing/selection.h"
#include "editing/undo.h"

namespace {

constexpr int kLanes = 64;

// 64 lanes; every lane holds two objects a measure in the front layer, and every other lane one
// more in the back layer: 160 objects a measure.
mk::DocData Dense(int measures) {
  mk::DocData d;
  d.LaneCount = kLanes;
  d.Lane.resize(kLanes + 1);
  for (int l = 1; l <= kLanes; ++l) {
    d.Lane[l].Channel = "1" + std::to_string(l);
    d.Lane[l].BackChannel = l % 2 ? "__" : "5" + std::to_string(l);
  }
  d.Fmt.WNum = d.Fmt.BNum = 1;  // codes a save can write, so that the drop lands the objects
  d.Obj.resize(kLanes + 1);
  d.MesCount = static_cast<int16_t>(measures - 1);
  mk::ResizeMeasures(d, d.MesCount);
  for (int l = 1; l <= kLanes; ++l)
    for (int m = 0; m < measures; ++m) {
      mk::MesData& c = d.Obj[l].Mes.Write(m);
      c.Obj[0] = static_cast<int16_t>(1 + (l + m) % 255);
      c.Obj[96] = static_cast<int16_t>(1 + (l * 3 + m) % 255);
      if (l % 2 == 0) c.BackObj[48] = static_cast<int16_t>(l);
    }
  mk::RecalcLaneResolution(d, 0, kLanes, 0, d.MesCount);
  d.Sel.resize(1);
  d.GridDiv = 16;
  return d;
}

int64_t Objects(int measures) { return static_cast<int64_t>(measures) * 160; }

// Each timed run works on a copy made before the runs and freed after them, so that what is
// measured is the operation and not the allocator's handling of the previous run's chart.
constexpr int kRuns = 5;

void BM_SelectAll(benchmark::State& state) {
  const int measures = static_cast<int>(state.range(0));
  const mk::DocData base = Dense(measures);
  std::vector<mk::DocData> docs(kRuns, base);
  for (mk::DocData& d : docs) mk::ObjBackup(d);
  size_t i = 0;
  for (auto _ : state) {
    mk::DocData& d = docs[i++ % docs.size()];
    mk::ObjSelect(d, 0, 0, 0, d.LaneCount, d.MesCount, 191);
    benchmark::DoNotOptimize(d.SelCount);
  }
  state.SetComplexityN(Objects(measures));
}

void BM_MoveOneLane(benchmark::State& state) {
  const int measures = static_cast<int>(state.range(0));
  mk::DocData d = Dense(measures);
  mk::ObjSelect(d, 0, 0, 0, d.LaneCount, d.MesCount, 191);
  int dir = 1;
  for (auto _ : state) {
    mk::MoveSelection(d, 10, 3, 0, 10 + dir, 3, 0);
    dir = -dir;
    benchmark::DoNotOptimize(d.Sel.data());
  }
  state.SetComplexityN(Objects(measures));
}

void BM_Drop(benchmark::State& state) {
  const int measures = static_cast<int>(state.range(0));
  mk::DocData lifted = Dense(measures);
  mk::ObjBackup(lifted);
  mk::ObjSelect(lifted, 0, 0, 0, lifted.LaneCount, lifted.MesCount, 191);
  // One lane right: the last lane's objects go, back objects reach lanes without a back channel
  // and float on.
  mk::MoveSelection(lifted, 10, 3, 0, 11, 3, 0);
  std::vector<mk::DocData> docs(kRuns, lifted);
  size_t i = 0;
  for (auto _ : state) {
    mk::DocData& d = docs[i++ % docs.size()];
    mk::ObjDeSel(d, 999);
    benchmark::DoNotOptimize(d.SelCount);
  }
  state.SetComplexityN(Objects(measures));
}

// 63 measures hold 10 080 objects, 625 hold 100 000, 999 hold 159 840.
void Sizes(benchmark::internal::Benchmark* b) {
  for (int m : {63, 125, 250, 500, 625, 999}) b->Arg(m);
  b->Unit(benchmark::kMillisecond)
      ->Iterations(1)
      ->Repetitions(kRuns)
      ->DisplayAggregatesOnly(true)
      ->Complexity(benchmark::oN);
}

BENCHMARK(BM_SelectAll)->Apply(Sizes);
BENCHMARK(BM_MoveOneLane)->Apply(Sizes);
BENCHMARK(BM_Drop)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
