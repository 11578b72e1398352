// Undo levels on a long chart: 999 measures of 101 lanes holding about 50 000 objects.
//
// BM_ObjBackup, BM_Undo and BM_DropLastBackup time one snapshot step with an edit of one cell
// in between (the cost of a click); aim: under 1 ms. At the end the program prints the bytes
// the window's grid holds with both undo levels full and differing from it, against the size
// of the chart file written from it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <unordered_set>

#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/scriptread.h"
#include "editing/undo.h"

namespace {

constexpr int kMeasures = 999;
constexpr int kLanes = 101;
constexpr int kObjects = 50000;

mk::DocData MakeChart() {
  mk::DocData d;
  std::string info;
  if (!mk::ReadScript(std::string(MIRKAN_SOURCE_DIR) + "/scripts/nexal.dfn", d, info).ok) {
    std::fprintf(stderr, "the nexal script did not read\n");
    std::exit(1);
  }
  static const char kDigits[] = "0123456789";
  for (int l = d.LaneCount + 1; l <= kLanes; ++l) {
    mk::LaneInfo lane;
    lane.Name = "Extra";
    const char name[] = {'Q', kDigits[l / 100], kDigits[(l / 10) % 10], kDigits[l % 10], '\0'};
    lane.Channel = lane.PChannel = name;
    lane.BackChannel = lane.PBackChannel = "__";
    lane.Part = 100;
    d.Lane.push_back(lane);
  }
  d.LaneCount = kLanes;
  d.Obj.resize(kLanes + 1);
  d.MesCount = kMeasures;
  mk::ResizeMeasures(d, kMeasures);
  std::mt19937 rng(7);
  for (int i = 0; i < kObjects; ++i) {
    const int l = 1 + static_cast<int>(rng() % kLanes);
    const int m = static_cast<int>(rng() % (kMeasures + 1));
    const int t = static_cast<int>(rng() % 16) * 12;
    d.Obj[l].Mes.Write(m).Obj[t] = static_cast<int16_t>(1 + rng() % 255);
  }
  mk::RecalcLaneResolution(d, 0, kLanes, 0, kMeasures);
  d.Sel.resize(1);
  return d;
}

mk::DocData& Chart() {
  static mk::DocData d = MakeChart();
  return d;
}

void Click(mk::DocData& d, int i) {
  d.Obj[1 + i % kLanes].Mes.Write(i % kMeasures).Obj[0] = static_cast<int16_t>(1 + i % 200);
}

void BM_ObjBackup(benchmark::State& state) {
  mk::DocData d = Chart();
  int i = 0;
  for (auto _ : state) {
    mk::ObjBackup(d);
    state.PauseTiming();
    Click(d, ++i);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ObjBackup)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Undo(benchmark::State& state) {
  mk::DocData d = Chart();
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    mk::ObjBackup(d);
    Click(d, ++i);
    state.ResumeTiming();
    mk::Undo(d);
  }
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DropLastBackup(benchmark::State& state) {
  mk::DocData d = Chart();
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    mk::ObjBackup(d);
    Click(d, ++i);
    mk::ObjBackup(d);
    state.ResumeTiming();
    mk::DropLastBackup(d);
  }
}
BENCHMARK(BM_DropLastBackup)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Bytes of distinct cell records (with their entries) and block arrays reachable from the
// three grids.
size_t HeldBytes(const mk::DocData& d) {
  std::unordered_set<const void*> seen;
  size_t n = 0;
  for (const auto* grid : {&d.Obj, &d.UndoObj, &d.UndoObj2})
    for (const mk::LaneMes& lane : *grid) n += sizeof(mk::LaneMes) + lane.Mes.HeldBytes(seen);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  // Both levels full, each after an edit of 100 cells.
  mk::DocData d = Chart();
  for (int level = 0; level < 2; ++level) {
    mk::ObjBackup(d);
    for (int i = 0; i < 100; ++i) Click(d, level * 1000 + i * 7);
  }
  const size_t file = mk::ChartText(d, 0).size();
  const size_t held = HeldBytes(d);
  std::printf("window grid with both undo levels: %.1f MB; chart file %.2f MB (%.1f x); %d objects\n",
              static_cast<double>(held) / 1e6, static_cast<double>(file) / 1e6,
              static_cast<double>(held) / static_cast<double>(file), kObjects);
  return 0;
}
