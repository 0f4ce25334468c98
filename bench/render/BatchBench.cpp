// Rendering ten 30-second stereo files (48 kHz, 24-bit WAV, the way stems come
// out of a DAW) through Brindlow with the batch mode, with 1 worker and with 2,
// 4 ... up to one per core. Wall time is what counts: each result carries the
// seconds of audio rendered per second and, beside 1 worker, its speed-up over
// the 1-worker run of the same process ("speedup"; the goal is at least 0.9 per
// core). The files live in /dev/shm when it exists, so that the disk does not
// set the pace. BRINDLOW_BENCH_PLUGIN in the environment renders through another build.
#include "Batch.h"
#include "Options.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr int kFiles = 10;
constexpr int kSeconds = 30;
constexpr int kRate = 48000;

struct Fixture
{
  std::string dir;
  std::vector<std::string> inputs;
};

void RemoveFixture();

// Never destroyed: the exit handler that removes the files still reads it.
const Fixture& Files()
{
  static const Fixture* fixture = [] {
    auto* made = new Fixture;
    Fixture& f = *made;
    // In memory when the system offers it: the disk's write-back would
    // otherwise set the pace, not the cores.
    char inMemory[] = "/dev/shm/brindlow-batch-bench-XXXXXX";
    char onDisk[] = "/tmp/brindlow-batch-bench-XXXXXX";
    if (mkdtemp(inMemory))
      f.dir = inMemory;
    else
      f.dir = mkdtemp(onDisk) ? onDisk : "/tmp";
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> dist(-0.7f, 0.7f);
    std::vector<float> frames(static_cast<size_t>(kRate) * 2);
    for (int i = 0; i < kFiles; ++i) {
      f.inputs.push_back(f.dir + "/stem" + std::to_string(i) + ".wav");
      SF_INFO info = {};
      info.samplerate = kRate;
      info.channels = 2;
      info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
      SNDFILE* file = sf_open(f.inputs.back().c_str(), SFM_WRITE, &info);
      if (!file) continue;
      for (int s = 0; s < kSeconds; ++s) {
        for (float& x : frames) x = dist(rng);
        sf_writef_float(file, frames.data(), kRate);
      }
      sf_close(file);
    }
    std::atexit(RemoveFixture);
    return made;
  }();
  return *fixture;
}

void RemoveFixture()
{
  const Fixture& f = Files();
  for (const std::string& path : f.inputs) {
    std::remove(path.c_str());
    std::remove((f.dir + "/out/" + path.substr(path.find_last_of('/') + 1)).c_str());
  }
  std::remove((f.dir + "/out").c_str());
  std::remove(f.dir.c_str());
}

std::string PluginPath()
{
  const char* other = std::getenv("BRINDLOW_BENCH_PLUGIN");
  return other && *other ? other : BRINDLOW_PLUGIN;
}

double gOneWorkerSeconds = 0.0; // per iteration, from the 1-worker run

void BM_Batch(benchmark::State& state)
{
  const Fixture& files = Files();
  RenderOptions options;
  options.inputs = files.inputs;
  options.outDir = files.dir + "/out";
  options.jobs = static_cast<int>(state.range(0));
  options.program = "Vocal Doubler";
  options.quiet = true;
  const std::string plugin = PluginPath();

  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state)
    if (RunBatch(options, plugin) != kExitOk) state.SkipWithError("the batch failed");
  const double perIteration =
    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / static_cast<double>(state.iterations());

  state.counters["audio_s_per_s"] =
    benchmark::Counter(static_cast<double>(kFiles * kSeconds) * static_cast<double>(state.iterations()),
                       benchmark::Counter::kIsRate);
  if (options.jobs == 1)
    gOneWorkerSeconds = perIteration;
  else if (gOneWorkerSeconds > 0.0)
    state.counters["speedup"] = gOneWorkerSeconds / perIteration;
}

void WorkerCounts(benchmark::internal::Benchmark* b)
{
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  for (int jobs = 1; jobs < cores; jobs *= 2) b->Arg(jobs);
  b->Arg(cores);
}
} // namespace

BENCHMARK(BM_Batch)->Apply(WorkerCounts)->ArgName("jobs")->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

BENCHMARK_MAIN();
