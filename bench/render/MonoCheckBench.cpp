// How long a mono check of Brindlow takes (goal: under 50 ms for the command).
// In this process: the impulse through the loaded plug-in, then the analysis, then
// the plot; and the whole `brindlow-render --mono-check` as a process, plug-in
// loading and start-up included.
#include "MonoCheck.h"
#include "MonoCheckReport.h"
#include "VstPluginHost.h"
#include "PluginSettings.h"
#include "ResponsePlot.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace
{
constexpr double kRate = 44100.0;

// One Brindlow for all in-process benchmarks, on "Vocal Doubler" (the longest delay).
PluginHost& Brindlow()
{
  static VstPluginHost host;
  static bool loaded = false;
  if (!loaded) {
    std::string error;
    if (!host.Load(BRINDLOW_PLUGIN, error) || (host.Prepare(kRate, 512, 1, false), !SelectProgram(host, "Vocal Doubler", error))) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::exit(1);
    }
    loaded = true;
  }
  return host;
}

void BM_ImpulseResponse(benchmark::State& state)
{
  PluginHost& host = Brindlow();
  ImpulseResponse response;
  std::string error;
  for (auto _ : state) {
    MeasureImpulseResponse(host, kRate, 1, RenderOptions(), response, error);
    benchmark::DoNotOptimize(response.right.data());
  }
}
BENCHMARK(BM_ImpulseResponse)->Unit(benchmark::kMillisecond);

void BM_Analysis(benchmark::State& state)
{
  ImpulseResponse response;
  std::string error;
  MeasureImpulseResponse(Brindlow(), kRate, 1, RenderOptions(), response, error);
  for (auto _ : state) {
    MonoCheckResult result = AnalyseResponse(response);
    benchmark::DoNotOptimize(result.notches.data());
  }
}
BENCHMARK(BM_Analysis)->Unit(benchmark::kMillisecond);

void BM_Plot(benchmark::State& state)
{
  ImpulseResponse response;
  std::string error;
  MeasureImpulseResponse(Brindlow(), kRate, 1, RenderOptions(), response, error);
  const MonoCheckResult result = AnalyseResponse(response);
  const MonoCheckSubject subject = DescribeSubject(Brindlow());
  for (auto _ : state) {
    auto bitmap = DrawResponsePlot(subject, result);
    benchmark::DoNotOptimize(bitmap->PixelData());
  }
}
BENCHMARK(BM_Plot)->Unit(benchmark::kMillisecond);

// The command a user types, as a process of its own; `withPlot` adds --plot.
void RunCommand(benchmark::State& state, bool withPlot)
{
  const std::string plot = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/mono-check-bench.png";
  std::vector<std::string> words = {RENDER_TOOL, "--mono-check", "--program", "Vocal Doubler"};
  if (withPlot) words.insert(words.end(), {"--plot", plot});
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0 || waitpid(pid, &status, 0) < 0 ||
        !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("brindlow-render --mono-check failed");
      break;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

void BM_MonoCheckCommand(benchmark::State& state)
{
  RunCommand(state, false);
}
BENCHMARK(BM_MonoCheckCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MonoCheckCommandWithPlot(benchmark::State& state)
{
  RunCommand(state, true);
}
BENCHMARK(BM_MonoCheckCommandWithPlot)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

BENCHMARK_MAIN();
