// Settled memory of the program with a long chart open, against the program without a chart.
//
// The chart: 999 measures of the shipped "nexal" script extended to 64 lanes, every front and
// back channel of every lane and the pad group's digit line holding 32 codes in every measure
// (the reader benchmark's chart). The program runs from a copy of its folder whose settings
// allow 999 measures, offscreen; its resident memory is read once it has stopped changing.
// BM_SettledMemory reports both figures and their difference as a multiple of the file size
// (aim: <= 4).
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "chartfmt/scriptread.h"
#include "reader_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMeasures = 999;
constexpr int kLanes = 64;
constexpr int kSlots = 32;

struct Folder {
  std::string dir;
  std::string chart;
  size_t chartBytes = 0;
};

// A copy of the program's folder with settings for long charts, and the chart in it.
const Folder& TheFolder() {
  static const Folder f = [] {
    Folder out;
    char tmpl[] = "/tmp/mirkan-memory-bench-XXXXXX";
    if (!mkdtemp(tmpl)) std::abort();
    out.dir = std::string(tmpl) + "/";
    for (const auto& e : fs::directory_iterator(fs::path(MIRKAN_PROGRAM).parent_path()))
      if (e.is_regular_file()) fs::copy_file(e.path(), fs::path(out.dir) / e.path().filename());
    std::ofstream(out.dir + "Mirkan.ini") << "[Default]\r\nMaxMeasure=999\r\nScrollSpeed=8\r\n";

    // The shipped script with lanes up to 64, as the reader benchmark extends it.
    std::string script;
    {
      std::ifstream in(out.dir + "nexal.dfn", std::ios::binary);
      script.assign(std::istreambuf_iterator<char>(in), {});
    }
    const size_t eol = script.find("#EOL");
    if (eol == std::string::npos) std::abort();
    std::string extra;
    for (int l = 16; l <= kLanes; ++l) {
      const std::string ch = "Q" + std::to_string(l);
      extra += "Extra," + ch + "," + ch + ",__,202020,F0F0F0,808080,100\r\n";
    }
    script.insert(eol, extra);
    std::ofstream(out.dir + "nexal.dfn", std::ios::binary | std::ios::trunc) << script;

    mk::DocData d;
    std::string info;
    if (!mk::ReadScript(out.dir + "nexal.dfn", d, info).ok || d.LaneCount != kLanes) {
      std::fprintf(stderr, "the extended nexal script did not read\n");
      std::exit(1);
    }
    const std::string text = readerfix::DenseChart(d, kMeasures, kSlots);
    out.chartBytes = text.size();
    out.chart = out.dir + "long.nxl";
    std::ofstream(out.chart, std::ios::binary) << text;
    return out;
  }();
  return f;
}

long RssKb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (in >> key) {
    if (key == "VmRSS:") {
      long kb = 0;
      in >> kb;
      return kb;
    }
    in.ignore(1 << 16, '\n');
  }
  return -1;
}

// Starts the program (with the chart when given), waits until its resident memory has not
// moved by more than 64 KB for two seconds (at most 60 s), and returns it in KB; -1 on failure.
long SettledRssKb(const std::vector<std::string>& args) {
  const Folder& f = TheFolder();
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::vector<std::string> all{f.dir + "Mirkan"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  using namespace std::chrono;
  const auto start = steady_clock::now();
  long last = -1, settled = -1;
  auto since = start;
  while (steady_clock::now() - start < seconds(60)) {
    std::this_thread::sleep_for(milliseconds(100));
    const long now = RssKb(pid);
    if (now < 0) break;
    if (last < 0 || std::labs(now - last) > 64) {
      last = now;
      since = steady_clock::now();
    } else if (steady_clock::now() - since >= seconds(2) && steady_clock::now() - start >= seconds(3)) {
      settled = now;
      break;
    }
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return settled;
}

void BM_SettledMemory(benchmark::State& state) {
  const Folder& f = TheFolder();
  long without = 0, with = 0;
  for (auto _ : state) {
    without = SettledRssKb({});
    with = SettledRssKb({f.chart});
    if (without < 0 || with < 0) state.SkipWithError("the program did not settle");
  }
  const double delta = static_cast<double>(with - without) * 1024.0;
  state.counters["without_MB"] = static_cast<double>(without) * 1024.0 / 1e6;
  state.counters["with_MB"] = static_cast<double>(with) * 1024.0 / 1e6;
  state.counters["chart_MB"] = delta / 1e6;
  state.counters["file_MB"] = static_cast<double>(f.chartBytes) / 1e6;
  state.counters["x_file"] = delta / static_cast<double>(f.chartBytes);
}
BENCHMARK(BM_SettledMemory)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3);

}  // namespace

BENCHMARK_MAIN();
