// Start-up time to the first paint of the frame, against an empty Qt main window with an MDI area
// built by the same build. Each iteration starts the programs once each (offscreen unless
// QT_QPA_PLATFORM says otherwise); the counters give the medians of the clock times, their ratio,
// and the ratio of the median processor times. The same window with a menu bar of text is timed
// beside them (text_floor_*): a first paint that shows any text costs at least that much.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The environment of the started program: ours, with the first-paint mark and the sound choice.
std::vector<std::string> ChildEnv(bool soundOff) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string kv = *e;
    if (kv.rfind("MIRKAN_AUDIO_BACKEND=", 0) == 0 || kv.rfind("SDL_AUDIODRIVER=", 0) == 0 ||
        kv.rfind("QT_QPA_PLATFORM=", 0) == 0)
      continue;
    env.push_back(kv);
  }
  const char* qpa = std::getenv("QT_QPA_PLATFORM");
  env.push_back(std::string("QT_QPA_PLATFORM=") + (qpa && *qpa ? qpa : "offscreen"));
  env.push_back("MIRKAN_FIRST_PAINT_EXIT=1");
  if (soundOff) env.push_back("MIRKAN_AUDIO_BACKEND=null");
  return env;
}

struct RunTime {
  double wall = -1;  // seconds from the start to the end; negative when it did not end with code 0
  double cpu = 0;    // processor seconds it used (user and system)
};

RunTime TimeRun(const std::string& path, const std::vector<std::string>& env) {
  std::vector<char*> argv{const_cast<char*>(path.c_str()), nullptr};
  std::vector<char*> envp;
  for (const std::string& s : env) envp.push_back(const_cast<char*>(s.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
  const auto t0 = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, path.c_str(), &fa, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) return {};
  int status = 0;
  rusage use{};
  wait4(pid, &status, 0, &use);
  const auto t1 = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  auto secs = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return {std::chrono::duration<double>(t1 - t0).count(), secs(use.ru_utime) + secs(use.ru_stime)};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Arg 0: the normal sound device; arg 1: sound off (the null backend).
void BM_StartToFirstPaint(benchmark::State& state) {
  const bool soundOff = state.range(0) != 0;
  const std::vector<std::string> env = ChildEnv(soundOff);
  const std::string mirkan = std::string(MIRKAN_BIN_DIR) + "/Mirkan";
  // One run of each first, unmeasured, so that both start from a warm file cache.
  TimeRun(EMPTY_MDI_PATH, env);
  TimeRun(MENU_MDI_PATH, env);
  TimeRun(mirkan, env);
  std::vector<double> ours, empty, floor, oursCpu, emptyCpu;
  for (auto _ : state) {
    const RunTime e = TimeRun(EMPTY_MDI_PATH, env);
    const RunTime f = TimeRun(MENU_MDI_PATH, env);
    const RunTime m = TimeRun(mirkan, env);
    if (e.wall < 0 || f.wall < 0 || m.wall < 0) {
      state.SkipWithError("a program did not reach its first paint");
      return;
    }
    empty.push_back(e.wall);
    floor.push_back(f.wall);
    ours.push_back(m.wall);
    emptyCpu.push_back(e.cpu);
    oursCpu.push_back(m.cpu);
    state.SetIterationTime(m.wall);
  }
  const double me = Median(empty), mm = Median(ours);
  state.counters["empty_ms"] = me * 1e3;
  state.counters["mirkan_ms"] = mm * 1e3;
  state.counters["ratio"] = me > 0 ? mm / me : 0;
  const double mf = Median(floor);
  state.counters["text_floor_ms"] = mf * 1e3;
  state.counters["text_floor_ratio"] = me > 0 ? mf / me : 0;
  // Processor time is steadier than the clock on a busy machine.
  const double ce = Median(emptyCpu), cm = Median(oursCpu);
  state.counters["cpu_ratio"] = ce > 0 ? cm / ce : 0;
}
BENCHMARK(BM_StartToFirstPaint)
    ->ArgName("sound_off")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
