// Process start to the first shown window: the tool beside a minimal Qt
// Widgets window started the same way (target: at most 1.5 times as long),
// both an empty one and one that shows a line of text.
// Each iteration spawns the probe and takes the time from the spawn to the
// moment the probe reports its window shown.
//
// Every start is one repetition, and the starts of the three probes are
// interleaved in random order, so that a spell of other work on the machine
// weighs on all of them alike; compare the medians.
//
// The platform is the environment's QT_QPA_PLATFORM, the headless one when
// unset. scripts/start_bench.sh runs it both headless and on an X server
// (Xvfb), where a window is shown as on a desktop, and prints the ratios.
//
//   ./build/release/bench/ui/ui_start_bench

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

long long NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Seconds from the spawn to the shown window, or a negative value on failure.
double StartToShown(const char* probe) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, channel[0]);
  char* argv[] = {const_cast<char*>(probe), nullptr};
  pid_t child = 0;
  const long long started = NowNs();
  const int spawned = posix_spawn(&child, probe, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(channel[1]);
  if (spawned != 0) {
    close(channel[0]);
    return -1;
  }
  std::string reported;
  char buffer[64];
  ssize_t got = 0;
  while ((got = read(channel[0], buffer, sizeof buffer)) > 0) reported.append(buffer, static_cast<std::size_t>(got));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || reported.empty()) return -1;
  return static_cast<double>(std::atoll(reported.c_str()) - started) / 1e9;
}

void Run(benchmark::State& state, const char* probe) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  for (auto _ : state) {
    const double seconds = StartToShown(probe);
    if (seconds < 0) {
      state.SkipWithError("the probe did not show its window");
      return;
    }
    state.SetIterationTime(seconds);
  }
}

void BM_StartToShownWindow_Tolvaro(benchmark::State& state) { Run(state, TOLVARO_PROBE); }
void BM_StartToShownWindow_MinimalQt(benchmark::State& state) { Run(state, MINIMAL_PROBE); }
void BM_StartToShownWindow_MinimalQtWithText(benchmark::State& state) { Run(state, MINIMAL_TEXT_PROBE); }

}  // namespace

constexpr int kStarts = 61;

BENCHMARK(BM_StartToShownWindow_MinimalQt)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kStarts)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_StartToShownWindow_MinimalQtWithText)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kStarts)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_StartToShownWindow_Tolvaro)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(kStarts)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
  // Interleaved unless the command line says otherwise (the later flag wins).
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  std::vector<char*> args(argv, argv + argc);
  args.insert(args.empty() ? args.end() : args.begin() + 1, interleave);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
