// The object search and the batch edit over a chart of 64 lanes and 999 measures holding
// 100 000 objects (two per lane and measure, most of them at four ticks): a new search that
// selects half of them, narrowing that selection to half again, and a batch edit of 100 000
// selected entries (random numbers and lanes). Aim: under 50 ms each. The chart being searched
// shares its cells with the original (as with an undo level), so every cell the search empties
// or thins is copied first; where the allocator has handed its memory back to the system, those
// copies fault their pages in again, which on a virtual machine can cost more than the search.
#include <benchmark/benchmark.h>

#include <memory>

#include "chartfmt/defcode.h"
#include "editing/batchedit.h"
#include "editing/dropsel.h"
#include "editing/findobj.h"

namespace {

constexpr int kLanes = 64;
constexpr int kLastMeasure = 998;

mk::DocData Chart() {
  mk::DocData d;
  d.Fmt.WNum = 3;
  d.Fmt.BNum = 3;
  d.LaneCount = kLanes;
  d.MesCount = kLastMeasure;
  d.Lane.assign(kLanes + 1, mk::LaneInfo{});
  for (int i = 1; i <= kLanes; ++i) d.Lane[i].BackChannel = "B";
  d.Obj.assign(kLanes + 1, mk::LaneMes{});
  d.Sel.assign(1, mk::SelEntry{});
  int placed = 0;
  for (int lane = 1; lane <= kLanes; ++lane) {
    d.Obj[lane].Mes.resize(kLastMeasure + 1);
    for (int m = 0; m <= kLastMeasure && placed < 100000; ++m) {
      mk::MesData& c = d.Obj[lane].Mes.Write(m);
      c.Obj[(m % 4) * 48] = static_cast<int16_t>(1 + (m + lane) % 1295);
      c.BackObj[96] = static_cast<int16_t>(1 + (m * 7 + lane) % 1295);
      placed += 2;
    }
  }
  mk::RecalcLaneResolution(d, 0, kLanes, 0, kLastMeasure);
  return d;
}

mk::FindCriteria Half(const mk::DocData& d) {
  mk::FindCriteria c;
  c.lanes.assign(d.LaneCount + 1, true);
  c.mesTo = d.MesCount;
  c.numFrom = 1;
  c.numTo = 647;
  return c;
}

void BM_NewSearch(benchmark::State& state) {
  const mk::DocData base = Chart();
  const mk::FindCriteria c = Half(base);
  int32_t found = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = std::make_unique<mk::DocData>(base);
    state.ResumeTiming();
    mk::FindObjects(*d, c, 999);
    found = d->SelCount;
    benchmark::DoNotOptimize(d->Sel.data());
    state.PauseTiming();
    d.reset();  // freeing the copied cells is not part of the search
    state.ResumeTiming();
  }
  state.counters["selected"] = found;
}

void BM_NarrowSearch(benchmark::State& state) {
  mk::DocData selected = Chart();
  mk::FindObjects(selected, Half(selected), 999);
  mk::FindCriteria c = Half(selected);
  c.numTo = 300;
  c.narrow = true;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = std::make_unique<mk::DocData>(selected);
    state.ResumeTiming();
    mk::FindObjects(*d, c, 999);
    benchmark::DoNotOptimize(d->Sel.data());
    state.PauseTiming();
    d.reset();
    state.ResumeTiming();
  }
  state.counters["entries"] = selected.SelCount;
}

void BM_BatchEdit(benchmark::State& state) {
  mk::DocData selected = Chart();
  mk::FindCriteria all = Half(selected);
  all.numTo = 1295;
  mk::FindObjects(selected, all, 999);
  mk::ClockRandom random;
  const mk::BatchParams p{
      .numOp = mk::kOpRandom, .numLo = 1, .numHi = 1295, .laneOp = mk::kOpRandom, .laneLo = 1, .laneHi = kLanes};
  for (auto _ : state) {
    state.PauseTiming();
    auto d = std::make_unique<mk::DocData>(selected);
    state.ResumeTiming();
    mk::BatchEdit(*d, p, random);
    benchmark::DoNotOptimize(d->Sel.data());
    state.PauseTiming();
    d.reset();
    state.ResumeTiming();
  }
  state.counters["entries"] = selected.SelCount;
}

}  // namespace

BENCHMARK(BM_NewSearch)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_NarrowSearch)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_BatchEdit)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
