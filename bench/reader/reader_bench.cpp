// Reading a dense chart from memory, against splitting the same bytes into lines.
//
// The chart: 999 measures of the shipped "nexal" script, its lane table extended to 64 lanes
// with further lanes of a higher part; every front and back channel of every lane and the pad
// group's digit line get a line of 32 codes in every measure. BM_ReadChart reports MB/s; at the
// end the program prints each read's median time as a multiple of BM_SplitLines's median
// (plat::SplitLines on the same bytes; aim: <= 4); BM_ReadChartFirst is the process's first read,
// whose cells all come from fresh memory. Freeing the grid and freeing the lines are
// left out of both alike. BM_ReadChartPresized reads into a grid already sized to every
// measure; BM_GridOnly and BM_SlotCountsOnly show the two costs of a read that splitting does
// not have.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>

#include "chartfmt/chartread.h"
#include "chartfmt/defcode.h"
#include "chartfmt/scriptread.h"
#include "platform/core/textfile.h"
#include "reader_fixture.h"

namespace {

constexpr int kMeasures = 999;
constexpr int kLanes = 64;
constexpr int kSlots = 32;

struct Setup {
  mk::DocData prepared;
  std::string text;
};

const Setup& Data() {
  static const Setup s = [] {
    Setup out;
    std::string info;
    const auto r = mk::ReadScript(std::string(MIRKAN_SOURCE_DIR) + "/scripts/nexal.dfn", out.prepared, info);
    if (!r.ok) {
      std::fprintf(stderr, "the nexal script did not read\n");
      std::exit(1);
    }
    mk::DocData& d = out.prepared;
    static const char kDigits[] = "0123456789";
    for (int l = d.LaneCount + 1; l <= kLanes; ++l) {
      mk::LaneInfo lane;
      lane.Name = "Extra";
      const char name[] = {'Q', kDigits[l / 10], kDigits[l % 10], '\0'};
      lane.Channel.assign(name, 3);
      lane.PChannel.assign(name, 3);
      lane.BackChannel.assign("__", 2);
      lane.PBackChannel.assign("__", 2);
      lane.Part = 100;
      d.Lane.push_back(lane);
    }
    d.LaneCount = kLanes;
    d.Obj.resize(kLanes + 1);
    out.text = readerfix::DenseChart(d, kMeasures, kSlots);
    return out;
  }();
  return s;
}

// presized: the window's grid already holds every measure (no growth while reading), so the
// figure is the parsing and the slot-count pass without the cost of allocating the grid.
void Read(benchmark::State& state, bool presized) {
  const Setup& s = Data();
  mk::DocData prepared = s.prepared;
  if (presized) {
    prepared.MesCount = kMeasures - 1;
    for (mk::LaneMes& lane : prepared.Obj) lane.Mes.resize(kMeasures);
  }
  for (auto _ : state) {
    state.PauseTiming();
    mk::DocData d = prepared;
    state.ResumeTiming();
    const mk::ChartReadResult r = mk::ReadChartText(d, s.text, mk::ChartCoding::Ansi, false);
    if (!r.ok) state.SkipWithError(mk::ChartReadMessage(r).c_str());
    benchmark::DoNotOptimize(d.Obj.data());
    state.PauseTiming();
    d = mk::DocData();  // freeing the grid is not part of the read
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.text.size()));
  state.counters["MB"] = static_cast<double>(s.text.size()) / 1e6;
}

// One step timed in a child process on fresh memory, as a newly started program would run it:
// the child starts from this process's heap given back to the system (malloc_trim) and from a
// cell pool that no read of this process has filled (the reads below run after these). What
// the step returns is kept past the clock, as a program keeps what it read. Returns the step's
// time in seconds, or -1.
template <class F>
double TimedInChild(F step) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    close(fds[0]);
    malloc_trim(0);
    const auto start = std::chrono::steady_clock::now();
    const auto kept = step();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(&kept);
    const ssize_t w = write(fds[1], &s, sizeof s);
    _exit(w == static_cast<ssize_t>(sizeof s) ? 0 : 1);  // nothing freed
  }
  close(fds[1]);
  double s = -1;
  if (read(fds[0], &s, sizeof s) != static_cast<ssize_t>(sizeof s)) s = -1;
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return s;
}

// The read and the line split, each on fresh memory; the read's time as a multiple of the
// split's is printed at the end as BM_ReadChartFresh (aim: <= 4).
void Fresh(benchmark::State& state, bool read) {
  const Setup& s = Data();
  for (auto _ : state) {
    const double t = read ? TimedInChild([&] {
      auto d = std::make_unique<mk::DocData>(s.prepared);
      if (!mk::ReadChartText(*d, s.text, mk::ChartCoding::Ansi, false).ok) _exit(2);
      return d;
    })
                          : TimedInChild([&] { return plat::SplitLines(s.text); });
    if (t < 0) {
      state.SkipWithError("the child did not report");
      break;
    }
    state.SetIterationTime(t);
  }
}
void BM_SplitLinesFresh(benchmark::State& state) { Fresh(state, false); }
BENCHMARK(BM_SplitLinesFresh)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
void BM_ReadChartFresh(benchmark::State& state) { Fresh(state, true); }
BENCHMARK(BM_ReadChartFresh)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// The first read of the process: every cell comes from fresh memory (later reads reuse the cells
// the earlier ones gave back). Registered first, so that it runs first.
void BM_ReadChartFirst(benchmark::State& state) { Read(state, false); }
BENCHMARK(BM_ReadChartFirst)->Unit(benchmark::kMillisecond)->Iterations(1);
void BM_ReadChart(benchmark::State& state) { Read(state, false); }
BENCHMARK(BM_ReadChart)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);
void BM_ReadChartPresized(benchmark::State& state) { Read(state, true); }
BENCHMARK(BM_ReadChartPresized)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SplitLines(benchmark::State& state) {
  const Setup& s = Data();
  for (auto _ : state) {
    auto lines = plat::SplitLines(s.text);
    benchmark::DoNotOptimize(lines.data());
    state.PauseTiming();
    lines = {};  // freeing the lines is not part of the split, as freeing the grid is not part of a read
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(s.text.size()));
}
BENCHMARK(BM_SplitLines)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);

// References for what a read pays beyond the text: sizing the grid of 65 lanes x 999 measures
// (empty measures cost no cell), and the slot-count pass over it.
void BM_GridOnly(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<mk::LaneMes> grid(kLanes + 1);
    for (mk::LaneMes& lane : grid) lane.Mes.resize(kMeasures);
    benchmark::DoNotOptimize(grid.data());
    state.PauseTiming();
    grid.clear();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GridOnly)->Unit(benchmark::kMillisecond);

void BM_SlotCountsOnly(benchmark::State& state) {
  const Setup& s = Data();
  mk::DocData d = s.prepared;
  if (!mk::ReadChartText(d, s.text, mk::ChartCoding::Ansi, false).ok) state.SkipWithError("read failed");
  for (auto _ : state) mk::RecalcLaneResolution(d, 0, d.LaneCount, 0, d.MesCount);
}
BENCHMARK(BM_SlotCountsOnly)->Unit(benchmark::kMillisecond);

// Console output plus, at the end, each read's time as a multiple of the line split's.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // The median of the repetitions where there are some, else the single run.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (median || (run.run_type == Run::RT_Iteration && !medians_.count(run.run_name.function_name)))
        times_[run.run_name.function_name] = run.GetAdjustedRealTime();
      if (median) medians_.insert(run.run_name.function_name);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto ratio = [&](const char* name, const char* splitName) {
      const auto read = times_.find(name), split = times_.find(splitName);
      if (read != times_.end() && split != times_.end() && split->second > 0)
        std::printf("%s: %.2f x the line split (aim: <= 4)\n", name, read->second / split->second);
    };
    ratio("BM_ReadChartFresh", "BM_SplitLinesFresh");
    for (const char* name : {"BM_ReadChartFirst", "BM_ReadChart", "BM_ReadChartPresized"}) ratio(name, "BM_SplitLines");
  }

 private:
  std::map<std::string, double> times_;
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  // glibc raises its mmap and trim thresholds after the first large free, so without this the
  // line split (many small blocks and a large vector) costs up to three times as much after the
  // reads have freed their grids as it does before them. Fixed at their defaults, every
  // benchmark sees the heap of a fresh process: large blocks (the grid's lanes, the split's
  // vector) mapped anew, small ones from the heap, and the ratios below no longer depend on the
  // order or the filter the benchmarks run with.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
