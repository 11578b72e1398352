// Writing the dense chart: 999 measures of 64 lanes, every tick of every front layer and every
// fourth tick of every back layer occupied (a 49 MB file). Reports MB/s and, as the counter
// "ratio_to_one_write", the time against writing the same number of bytes with one buffered
// write: for a whole save (text, CP932, atomic replace flushed to disk), for the text alone and
// for the atomic replace alone, which bounds what a save can reach.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "platform/core/textfile.h"

namespace {

mk::DocData DenseChart() {
  constexpr int kLanes = 64;
  constexpr int kLastMeasure = 998;
  mk::DocData d;
  d.Fmt.WNum = 3;
  d.Fmt.BNum = 3;
  d.Fmt.Ml = 3;
  d.Keys.HSymbol = {"#"};
  d.Keys.SSymbol = {":"};
  d.Keys.Title = "TITLE";
  d.Keys.Bpm = "BPM";
  d.Keys.Wav = "WAV";
  d.Keys.Bga = "BMP";
  d.Keys.Tmpc = "03";
  d.Keys.Mesc = "02";
  d.Title = "高密度の譜面";
  d.Bpm = 180;
  d.Wav.resize(1296);
  d.Bga.resize(1296);
  for (int n = 1; n <= 1295; ++n) d.Wav[n] = {"sound" + std::to_string(n) + ".wav", "音 " + std::to_string(n)};
  d.Fmt.Gt = {{"Keys", 1, "1", "1"}};
  d.Fmt.GtCount = 0;
  d.LaneCount = kLanes;
  d.Lane.resize(kLanes + 1);
  for (int l = 1; l <= kLanes; ++l) {
    mk::LaneInfo& li = d.Lane[l];
    li.Part = static_cast<int16_t>(l <= 4 ? 1 : l <= 56 ? 2 : l <= 60 ? 88 : 99);
    const std::string code = mk::DefNumToText(static_cast<int16_t>(l), 3);
    li.Channel = l == 4 ? "__" : l > 60 ? "SS" : std::string(1, 'C').append(code);
    li.BackChannel = l > 60 ? "__" : std::string(1, 'B').append(code);
    li.PChannel = li.Channel;
    li.PBackChannel = li.BackChannel;
  }
  d.MesCount = kLastMeasure;
  d.Obj.resize(kLanes + 1);
  for (auto& lane : d.Obj) lane.Mes.resize(kLastMeasure + 1);
  for (int m = 0; m <= kLastMeasure; ++m) {
    mk::MesData& tempo = d.Obj[0].Mes.Write(m);
    tempo.Length = m % 4 == 0 ? 0.75 : 0;
    for (int t = 0; t < 192; t += 48) tempo.Obj[t] = static_cast<int16_t>(100 + t / 48);
    for (int l = 1; l <= kLanes; ++l) {
      mk::MesData& cell = d.Obj[l].Mes.Write(m);
      for (int t = 0; t < 192; ++t) {
        int16_t v = static_cast<int16_t>(1 + (l * 7 + m * 3 + t) % 1295);
        cell.Obj[t] = (l == 1 && t % 8 == 0) ? static_cast<int16_t>(v + mk::kOpenObjectBase) : v;
        if (t % 4 == 0) cell.BackObj[t] = static_cast<int16_t>(1 + (v * 5) % 1295);
      }
    }
  }
  mk::RecalcLaneResolution(d, 0, kLanes, 0, kLastMeasure);
  return d;
}

const mk::DocData& Chart() {
  static const mk::DocData d = DenseChart();
  return d;
}

std::string Target(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string("writer_bench_") + std::to_string(getpid()) + name))
      .string();
}

// Seconds for one buffered write of n bytes, best of a few.
double OneBufferedWrite(const std::string& path, size_t n) {
  const std::string bytes(n, 'x');
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::remove(path.c_str());
  return best;
}

void BM_SaveDenseChart(benchmark::State& state) {
  const mk::DocData& d = Chart();
  const std::string path = Target(".bms");
  size_t bytes = 0;
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::string error;
    if (!mk::WriteChartFile(path, d, 0, error)) state.SkipWithError(error.c_str());
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  bytes = std::filesystem::file_size(path);
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
  state.counters["ratio_to_one_write"] =
      total / static_cast<double>(state.iterations()) / OneBufferedWrite(Target(".raw"), bytes);
}
BENCHMARK(BM_SaveDenseChart)->Unit(benchmark::kMillisecond)->UseRealTime();

// The text alone, without encoding and disk.
void BM_ChartTextDense(benchmark::State& state) {
  const mk::DocData& d = Chart();
  size_t bytes = 0;
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::string text = mk::ChartText(d, 0);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
  state.counters["ratio_to_one_write"] =
      total / static_cast<double>(state.iterations()) / OneBufferedWrite(Target(".raw"), bytes);
}
BENCHMARK(BM_ChartTextDense)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of a save: the same number of bytes through the atomic replace (temporary file,
// flush to disk, rename) that every save uses.
void BM_AtomicWriteSameBytes(benchmark::State& state) {
  const std::string path = Target(".atomic");
  std::string error;
  const std::string bytes(std::filesystem::file_size([&] {
                            mk::WriteChartFile(path, Chart(), 0, error);
                            return path;
                          }()),
                          'x');
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!plat::WriteFileAtomic(path, bytes, error)) state.SkipWithError(error.c_str());
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(bytes.size() * state.iterations()));
  state.counters["ratio_to_one_write"] =
      total / static_cast<double>(state.iterations()) / OneBufferedWrite(Target(".raw"), bytes.size());
}
BENCHMARK(BM_AtomicWriteSameBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
