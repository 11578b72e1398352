// Full canvas repaints of a dense chart on a 1600 x 1000 canvas: grid 16 at zoom 1, and zoom 10.
// Reports the median time per repaint over repetitions.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "chartview/canvasdraw.h"
#include "chartview/laneheader.h"
#include "chartview/sprites.h"

namespace {

// 64 lanes of four parts, 40 measures; every lane holds a 16th-note stream in the front layer,
// eighth notes in the back layer of every other lane, an open object per measure on every fourth
// lane, tempo values, measure lengths and a selection of 200 objects.
mk::DocData DenseChart() {
  mk::DocData d;
  const int lanes = 64, measures = 40;
  d.LaneCount = lanes;
  d.Lane.resize(lanes + 1);
  d.Fmt.Bright = 24;
  d.Fmt.WNum = 3;
  d.Fmt.BNum = 3;
  for (int l = 1; l <= lanes; ++l) {
    mk::LaneInfo& li = d.Lane[l];
    li.Label = "L" + std::to_string(l);
    li.BackChannel = l % 2 ? "__" : "51";
    li.Color1 = {static_cast<int16_t>(40 + l * 3), 120, 200};
    li.Color2 = {200, static_cast<int16_t>(l * 4), 90};
    li.Color3 = {90, 220, static_cast<int16_t>(l * 2)};
    li.Part = static_cast<int16_t>(l / 16);
  }
  d.Obj.resize(lanes + 1);
  d.MesCount = measures;
  mk::ResizeMeasures(d, measures);
  for (int m = 0; m <= measures; ++m) {
    d.Obj[0].Mes.Write(m).Obj[0] = static_cast<int16_t>(120 + m);
    d.Obj[0].Mes.Write(m).Division = 1;
    if (m % 4 == 3) d.Obj[0].Mes.Write(m).Length = 0.75;
    for (int l = 1; l <= lanes; ++l) {
      mk::MesData& c = d.Obj[l].Mes.Write(m);
      for (int t = 0; t < 192; t += 12) c.Obj[t] = static_cast<int16_t>((l * 31 + t + m) % 1295 + 1);
      if (l % 2 == 0)
        for (int t = 0; t < 192; t += 24) c.BackObj[t] = static_cast<int16_t>(l + 1);
      if (l % 4 == 1) c.Obj[6] = static_cast<int16_t>(10000 + l);
      c.Division = 32;
    }
  }
  d.Sel.resize(1);
  for (int i = 0; i < 200; ++i)
    d.Sel.push_back(mk::SelEntry{static_cast<int16_t>(1 + i % lanes), static_cast<int16_t>(i % 8),
                                 static_cast<int16_t>((i * 7) % 192), 5, 0});
  d.SelCount = 200;
  return d;
}

void RepaintAt(benchmark::State& state, double zoom) {
  mk::DocData d = DenseChart();
  d.Zoom = zoom;
  d.GridDiv = 16;
  d.ScrollPos = 192 + 40;
  mk::SpriteSheets sheets;
  mk::ObjMake(d, sheets.Obj);
  mk::HeadDraw(d, 25, sheets.Head);
  mk::ViewState view;
  view.CanvasWidth = 1600;
  view.CanvasHeight = 1000;
  view.HScrollValue = 3;
  plat::Picture canvas(1600, 1000);
  for (auto _ : state) {
    mk::ObjDraw(d, view, sheets, canvas, nullptr, false);
    benchmark::DoNotOptimize(canvas.Image().constBits());
  }
}

void BM_ObjDrawZoom1Grid16(benchmark::State& state) { RepaintAt(state, 1.0); }
void BM_ObjDrawZoom10Grid16(benchmark::State& state) { RepaintAt(state, 10.0); }

void BM_HeadDraw2(benchmark::State& state) {
  const mk::DocData d = DenseChart();
  mk::SpriteSheets sheets;
  mk::ObjMake(d, sheets.Obj);
  mk::HeadDraw(d, 25, sheets.Head);
  mk::ViewState view;
  view.CanvasWidth = 1600;
  plat::Picture strip(1600, 25);
  for (auto _ : state) {
    mk::HeadDraw2(d, view, sheets, strip);
    benchmark::DoNotOptimize(strip.Image().constBits());
  }
}

BENCHMARK(BM_ObjDrawZoom1Grid16)->Unit(benchmark::kMillisecond)->Repetitions(10)->DisplayAggregatesOnly(true);
BENCHMARK(BM_ObjDrawZoom10Grid16)->Unit(benchmark::kMillisecond)->Repetitions(10)->DisplayAggregatesOnly(true);
BENCHMARK(BM_HeadDraw2)->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // text rendering needs it
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
