// Opening a chart with one very long line, against opening the shipped Nexal sample: the program
// runs offscreen from a copy of its folder (no splash) with the chart on its command line and
// ends right after its first paint, when the chart's window has been drawn.
//
// Each case is the sample with one line made kLineMb megabytes long (MIRKAN_LONGLINE_MB sets
// another size): the title, the artist, the genre, WAV 01's comment, WAV 01's file name, or a
// free statement added. Each iteration starts the program on the sample and on the case, one
// after the other. Counters: the case's wall time and peak memory (the iteration time is the
// case's wall time), both less the sample's (extra_s, extra_MB), the extra memory as a multiple
// of the line (x_line), and the lines the program wrote to standard error.
// Aims: extra_s <= 2, x_line <= 4, stderr_lines at most a few.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr size_t kLineMb = 100;

size_t LineBytes() {
  const char* v = std::getenv("MIRKAN_LONGLINE_MB");
  const long mb = v ? std::atol(v) : 0;
  return (mb > 0 ? static_cast<size_t>(mb) : kLineMb) << 20;
}

struct LongCase {
  const char* name;
  const char* line;    // the sample's line that becomes long (its start), or "" to add one
  const char* prefix;  // the long line's text before the long value
  const char* suffix;  // and after it
};
const LongCase kCases[] = {
    {"title", "#TITLE ", "#TITLE ", ""},        {"artist", "#ARTIST ", "#ARTIST ", ""},
    {"genre", "#GENRE ", "#GENRE ", ""},        {"wav_comment", ";WAV01 ", ";WAV01 ", ""},
    {"wav_file", "#WAV01 ", "#WAV01 ", ".wav"}, {"free_statement", "", "#FREETEXT ", ""},
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A copy of the program's folder that shows no splash (its first paint would come before the
// chart is read), and the sample in it.
const std::string& Folder() {
  static const std::string dir = [] {
    char tmpl[] = "/tmp/mirkan-longline-bench-XXXXXX";
    if (!mkdtemp(tmpl)) std::abort();
    const std::string d = std::string(tmpl) + "/";
    for (const auto& e : fs::directory_iterator(fs::path(MIRKAN_PROGRAM).parent_path()))
      if (e.is_regular_file()) fs::copy_file(e.path(), fs::path(d) / e.path().filename());
    std::ofstream(d + "Mirkan.ini") << "[Default]\r\nSplash=0\r\n";
    fs::copy_file(fs::path(MIRKAN_SOURCE_DIR) / "samples" / "nexal_sample.nxl", d + "sample.nxl");
    return d;
  }();
  return dir;
}

// The sample with case c's line long; the chart's path.
std::string WriteCase(const LongCase& c) {
  std::string text = ReadFile(Folder() + "sample.nxl");
  const std::string longLine = c.prefix + std::string(LineBytes(), 'x') + c.suffix;
  const size_t at = *c.line ? text.find(std::string("\r\n") + c.line) : std::string::npos;
  if (at == std::string::npos) {
    if (*c.line) {
      std::fprintf(stderr, "the sample has no line %s\n", c.line);
      std::exit(1);
    }
    text += longLine + "\r\n";
  } else {
    const size_t from = at + 2, to = text.find("\r\n", from);
    text.replace(from, to - from, longLine);
  }
  const std::string path = Folder() + c.name + ".nxl";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  return path;
}

struct Run {
  double wall = -1;  // seconds; negative when the program did not end with code 0
  double peakMb = 0;
  long errLines = 0;
};

// In a process of its own (this program started again with --run-one): starts the program on
// chart, waits for it and prints its wall time in seconds and its peak memory in KB. The peak
// of a started process counts the memory of the process that started it, so that one is kept
// small.
int RunOne(const char* program, const char* chart, const char* errFile) {
  const pid_t pid = fork();
  if (pid < 0) return 1;
  const auto t0 = std::chrono::steady_clock::now();
  if (pid == 0) {
    const int err = open(errFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_WRONLY);
    if (err < 0 || null < 0) _exit(126);
    dup2(null, 1);
    dup2(err, 2);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("MIRKAN_FIRST_PAINT_EXIT", "1", 1);
    setenv("MIRKAN_AUDIO_BACKEND", "null", 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    unsetenv("MIRKAN_SCREENSHOT");
    execl(program, program, chart, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage use{};
  wait4(pid, &status, 0, &use);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
  std::printf("%f %ld\n", wall, use.ru_maxrss);
  return 0;
}

std::string g_self;  // this program

Run RunOn(const std::string& chart) {
  const std::string program = Folder() + "Mirkan", errFile = Folder() + "stderr.txt", outFile = Folder() + "run.txt";
  std::vector<std::string> args{g_self, "--run-one", program, chart, errFile};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  Run r;
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, g_self.c_str(), &fa, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) return r;
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return r;
  double wall = -1;
  long peakKb = 0;
  if (std::sscanf(ReadFile(outFile).c_str(), "%lf %ld", &wall, &peakKb) != 2) return r;
  r.wall = wall;
  r.peakMb = static_cast<double>(peakKb) * 1024.0 / 1e6;
  const std::string err = ReadFile(errFile);
  r.errLines = std::count(err.begin(), err.end(), '\n');
  return r;
}

void BM_OpenLongLine(benchmark::State& state) {
  const LongCase& c = kCases[state.range(0)];
  state.SetLabel(c.name);
  const std::string chart = WriteCase(c), sample = Folder() + "sample.nxl";
  RunOn(sample);  // once unmeasured, from a warm file cache
  Run base, run;
  for (auto _ : state) {
    base = RunOn(sample);
    run = RunOn(chart);
    if (base.wall < 0 || run.wall < 0) {
      state.SkipWithError("the program did not end after its first paint");
      break;
    }
    state.SetIterationTime(run.wall);
  }
  fs::remove(chart);
  if (run.wall < 0) return;
  const double lineMb = static_cast<double>(LineBytes()) / 1e6;
  state.counters["sample_s"] = base.wall;
  state.counters["sample_MB"] = base.peakMb;
  state.counters["peak_MB"] = run.peakMb;
  state.counters["extra_s"] = run.wall - base.wall;
  state.counters["extra_MB"] = run.peakMb - base.peakMb;
  state.counters["x_line"] = (run.peakMb - base.peakMb) / lineMb;
  state.counters["stderr_lines"] = static_cast<double>(run.errLines);
}
BENCHMARK(BM_OpenLongLine)
    ->DenseRange(0, static_cast<int>(std::size(kCases)) - 1)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--run-one") return RunOne(argv[2], argv[3], argv[4]);
  std::error_code ec;
  g_self = fs::read_symlink("/proc/self/exe", ec).string();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
