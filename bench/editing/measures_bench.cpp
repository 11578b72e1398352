// Measure insert and delete at the first measure of a long chart (999 measures of 101 lanes, about
// 50 000 objects): every later measure of every lane moves. With the undo snapshot, as the
// command runs. The check at the end holds that no cell was copied or lost (the moves shift cell
// references, not contents).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "chartfmt/defcode.h"
#include "editing/dropsel.h"
#include "editing/measures.h"
#include "editing/undo.h"

namespace {

constexpr int kMeasures = 999;
constexpr int kLanes = 101;
constexpr int kObjects = 50000;

mk::DocData MakeChart() {
  mk::DocData d;
  d.LaneCount = kLanes;
  d.Lane.resize(kLanes + 1);
  d.Obj.resize(kLanes + 1);
  d.MesCount = kMeasures - 1;
  mk::ResizeMeasures(d, d.MesCount);
  std::mt19937 rng(7);
  for (int i = 0; i < kObjects; ++i) {
    const int l = 1 + static_cast<int>(rng() % kLanes);
    const int m = static_cast<int>(rng() % kMeasures);
    d.Obj[l].Mes.Write(m).Obj[static_cast<int>(rng() % 16) * 12] = static_cast<int16_t>(1 + rng() % 255);
  }
  mk::RecalcLaneResolution(d, 0, kLanes, 0, d.MesCount);
  d.Sel.resize(1);
  return d;
}

// The window's steps, without the window.
class Host : public mk::EditHost {
 public:
  explicit Host(mk::DocData& d) : d_(d) {}
  void ObjBackup() override { mk::ObjBackup(d_); }
  void ObjDeSel() override { mk::ObjDeSel(d_, kMeasures); }
  void MesCountChanged() override {}
  void ObjDraw() override {}

 private:
  mk::DocData& d_;
};

void BM_MesInsertThenDelete(benchmark::State& state) {
  mk::DocData d = MakeChart();
  Host host(d);
  d.CurMes = 0;
  const int64_t cells = mk::StoredCells(d);
  for (auto _ : state) {
    if (!mk::MesInsert(d, host, kMeasures) || !mk::MesDelete(d, host)) state.SkipWithError("refused");
    benchmark::DoNotOptimize(d.Obj.data());
  }
  if (mk::StoredCells(d) != cells) state.SkipWithError("cells were added or lost");
}
BENCHMARK(BM_MesInsertThenDelete)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
