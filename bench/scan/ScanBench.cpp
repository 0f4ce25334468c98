// A host's scan of each format's module: load + one instance + unload in a fresh process
// (scan_host, started with posix_spawn and waited for, per iteration), reported as the
// median of the repetitions. BRINDLOW_SCAN_DIR, when set, holds other builds of the modules
// to time instead (Brindlow.so, Brindlow.clap, Brindlow.vst3, Brindlow.lv2/brindlow-lv2.so).
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <string>

extern char** environ;

namespace
{
std::string ModulePath(const char* builtPath, const char* nameInScanDir)
{
  const char* dir = std::getenv("BRINDLOW_SCAN_DIR");
  return dir && *dir ? std::string(dir) + "/" + nameInScanDir : std::string(builtPath);
}

// One fresh process that scans the module; false when it could not start or failed.
bool ScanOnce(const char* format, const std::string& path)
{
  std::string host = BRINDLOW_SCAN_HOST, formatArg = format, pathArg = path;
  char* argv[] = {host.data(), formatArg.data(), pathArg.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, host.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_Scan(benchmark::State& state, const char* format, std::string path)
{
  for (auto _ : state)
  {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = ScanOnce(format, path);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!ok)
    {
      state.SkipWithError(("scan_host failed on " + path).c_str());
      break;
    }
  }
}

void Register(const char* name, const char* format, std::string path)
{
  benchmark::RegisterBenchmark(name, BM_Scan, format, std::move(path))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
}
} // namespace

int main(int argc, char** argv)
{
  Register("BM_ScanVst2", "vst2", ModulePath(BRINDLOW_VST2, "Brindlow.so"));
  Register("BM_ScanClap", "clap", ModulePath(BRINDLOW_CLAP, "Brindlow.clap"));
  Register("BM_ScanVst3", "vst3", ModulePath(BRINDLOW_VST3, "Brindlow.vst3"));
  Register("BM_ScanLv2", "lv2", ModulePath(BRINDLOW_LV2_DSP, "Brindlow.lv2/brindlow-lv2.so"));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
