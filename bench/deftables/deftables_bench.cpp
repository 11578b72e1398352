// Moving a definition and compacting the WAV table on a dense chart with both undo levels held.
//
// The chart: 64 lanes (every eighth of part 88) in 999 measures, each lane-measure holding 16
// front and 8 back objects with numbers spread over 1..1295, and two undo snapshots that share
// every cell with the grid. A move visits every cell of its lane kind in the grid, the selection
// and both undo levels, and copies only the cells that hold one of the two numbers (aim: a move
// under 50 ms). BM_WavCompact compacts a table whose every other entry has a file, which
// rewrites almost every cell (aim: under 1 s).
#include <benchmark/benchmark.h>

#include "chartfmt/defcode.h"
#include "deftables/defmove.h"
#include "deftables/wavtable.h"
#include "editing/undo.h"

namespace {

constexpr int kLanes = 64;
constexpr int kMeasures = 999;

mk::DocData Dense() {
  mk::DocData d;
  d.Fmt.WNum = 3;
  d.Fmt.BNum = 3;
  d.Wav.assign(1296, {});
  d.Bga.assign(1296, {});
  for (int i = 1; i <= 1295; i += 2) d.Wav[i].File = "s" + std::to_string(i) + ".wav";
  d.LaneCount = kLanes;
  d.Lane.assign(kLanes + 1, {});
  for (int l = 1; l <= kLanes; ++l) d.Lane[l].Part = l % 8 == 0 ? mk::kPartBga : 1;
  d.MesCount = kMeasures;
  d.Obj.assign(kLanes + 1, {});
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (int l = 0; l <= kLanes; ++l) {
    d.Obj[l].Mes.resize(kMeasures + 1);
    if (l == 0) continue;
    for (int m = 0; m <= kMeasures; ++m) {
      mk::MesData& c = d.Obj[l].Mes.Write(m);
      for (int k = 0; k < 16; ++k) c.Obj[k * 12] = static_cast<int16_t>(1 + (next() >> 8) % 1295);
      for (int k = 0; k < 8; ++k) c.BackObj[k * 24] = static_cast<int16_t>(1 + (next() >> 8) % 1295);
    }
  }
  mk::RecalcLaneResolution(d, 0, kLanes, 0, kMeasures);
  d.Sel.assign(1, {});
  mk::ObjBackup(d);
  mk::ObjBackup(d);
  d.CurDef = 600;
  return d;
}

void BM_MoveDefinition(benchmark::State& state) {
  mk::DocData d = Dense();
  bool down = true;
  for (auto _ : state) {
    mk::MoveDefinition(d, down ? mk::DefMove::WAVDown : mk::DefMove::WAVUp);
    down = !down;
  }
}
BENCHMARK(BM_MoveDefinition)->Unit(benchmark::kMillisecond);

void BM_WavCompact(benchmark::State& state) {
  const mk::DocData base = Dense();
  for (auto _ : state) {
    state.PauseTiming();
    mk::DocData d = base;
    state.ResumeTiming();
    mk::WAVCompact(d, kMeasures);
    benchmark::DoNotOptimize(d.Wav[1]);
    state.PauseTiming();
    d = mk::DocData{};
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WavCompact)->Unit(benchmark::kMillisecond);

void BM_WavDelUnused(benchmark::State& state) {
  const mk::DocData base = Dense();
  for (auto _ : state) {
    state.PauseTiming();
    mk::DocData d = base;
    state.ResumeTiming();
    mk::WAVDelUnused(d, kMeasures);
    benchmark::DoNotOptimize(d.Wav[1]);
  }
}
BENCHMARK(BM_WavDelUnused)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
