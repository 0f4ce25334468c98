// Block processing speed of the Haas engine (64-bit and 32-bit samples) and of the
// built Brindlow.so through its VST callbacks (loaded with the VST 2.4 host kit, as a host does),
// at block sizes 64, 512 and 4096 (BRINDLOW_BENCH_PLUGIN in the environment loads another build). Each result carries its time per frame and its ratio to a baseline
// that only copies the same input into two outputs with memcpy, for the same
// sample type and block size, measured in the same run.
#include "HaasDelayLine.h"
#include "VstHostKit.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace
{
constexpr double kSampleRate = 44100.0;

template <typename T>
std::vector<T> Noise(size_t n)
{
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> dist(-0.5, 0.5);
  std::vector<T> v(n);
  for (T& x : v) x = static_cast<T>(dist(rng));
  return v;
}

template <typename T>
struct StereoBlock
{
  explicit StereoBlock(int frames)
    : in0(Noise<T>(static_cast<size_t>(frames))), in1(Noise<T>(static_cast<size_t>(frames))),
      out0(static_cast<size_t>(frames)), out1(static_cast<size_t>(frames))
  {
    inputs[0] = in0.data();
    inputs[1] = in1.data();
    outputs[0] = out0.data();
    outputs[1] = out1.data();
  }
  std::vector<T> in0, in1, out0, out1;
  T* inputs[2];
  T* outputs[2];
};

template <typename T>
void CopyToBothOutputs(StereoBlock<T>& b, int frames)
{
  std::memcpy(b.outputs[0], b.inputs[0], sizeof(T) * static_cast<size_t>(frames));
  std::memcpy(b.outputs[1], b.inputs[0], sizeof(T) * static_cast<size_t>(frames));
  benchmark::ClobberMemory();
}

// Nanoseconds per frame of the fastest of several rounds: the machine is shared,
// and the fastest round is the one least disturbed by anything else.
template <typename Body>
double FastestNsPerFrame(int frames, Body&& body)
{
  constexpr int kRounds = 9;
  const int reps = std::max(1, 1000000 / frames);
  double best = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < reps; ++r) body();
    const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, ns / (static_cast<double>(reps) * frames));
  }
  return best;
}

// Runs `body` under the benchmark loop, then times it against the baseline copy
// in alternating rounds and reports both per frame and their ratio.
template <typename T, typename Body>
void Measure(benchmark::State& state, int frames, Body&& body)
{
  for (auto _ : state) body();
  StereoBlock<T> baseline(frames);
  double bodyNs = 1e30, baselineNs = 1e30;
  for (int pass = 0; pass < 3; ++pass) {
    bodyNs = std::min(bodyNs, FastestNsPerFrame(frames, body));
    baselineNs = std::min(baselineNs, FastestNsPerFrame(frames, [&] { CopyToBothOutputs(baseline, frames); }));
  }
  state.counters["ns/frame"] = bodyNs;
  state.counters["baseline ns/frame"] = baselineNs;
  state.counters["x baseline"] = bodyNs / baselineNs;
  state.SetItemsProcessed(state.iterations() * frames);
}

void BM_BaselineCopyDouble(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  StereoBlock<double> block(frames);
  Measure<double>(state, frames, [&] { CopyToBothOutputs(block, frames); });
}

void BM_BaselineCopyFloat(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  StereoBlock<float> block(frames);
  Measure<float>(state, frames, [&] { CopyToBothOutputs(block, frames); });
}

void BM_EngineProcess(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  StereoBlock<double> block(frames);
  HaasDelayLine line;
  if (!line.Rebuild(kSampleRate, 20.0)) {
    state.SkipWithError("no delay line");
    return;
  }
  Measure<double>(state, frames, [&] {
    line.Process(block.inputs[0], block.outputs[0], block.outputs[1], frames, 0.623735);
    benchmark::ClobberMemory();
  });
}

void BM_EngineProcessFloat(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  StereoBlock<float> block(frames);
  HaasDelayLine line;
  if (!line.Rebuild(kSampleRate, 20.0)) {
    state.SkipWithError("no delay line");
    return;
  }
  Measure<float>(state, frames, [&] {
    line.ProcessFloat(block.inputs[0], block.outputs[0], block.outputs[1], frames, 0.623735);
    benchmark::ClobberMemory();
  });
}

// One Brindlow instance from the built module, opened and switched on as a host does.
class LoadedPlugin
{
public:
  explicit LoadedPlugin(int blockSize)
  {
    // BRINDLOW_BENCH_PLUGIN names another build of the module to measure, e.g. an
    // earlier one kept for comparison.
    const char* path = std::getenv("BRINDLOW_BENCH_PLUGIN");
    if (!mModule.Load(path && *path ? path : BRINDLOW_PLUGIN, mError)) return;
    mEffect = mModule.MakeEffect(&hostkit::PlainHostCallback, mError);
    if (!mEffect) return;
    Dispatch(effOpen, 0, 0, 0.0f);
    Dispatch(effSetSampleRate, 0, 0, static_cast<float>(kSampleRate));
    Dispatch(effSetBlockSize, 0, blockSize, 0.0f);
    Dispatch(effMainsChanged, 0, 1, 0.0f);
  }
  ~LoadedPlugin()
  {
    if (mEffect) {
      Dispatch(effMainsChanged, 0, 0, 0.0f);
      Dispatch(effClose, 0, 0, 0.0f);
    }
  }
  AEffect* Effect() const { return mEffect; }
  const std::string& Error() const { return mError; }

private:
  void Dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt)
  {
    hostkit::Dispatch(mEffect, opcode, index, value, nullptr, opt);
  }
  hostkit::VstModule mModule;
  AEffect* mEffect = nullptr;
  std::string mError;
};

void BM_VstProcessDouble(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  LoadedPlugin plugin(frames);
  if (!plugin.Effect()) {
    state.SkipWithError(plugin.Error().c_str());
    return;
  }
  AEffect* effect = plugin.Effect();
  StereoBlock<double> block(frames);
  Measure<double>(state, frames, [&] {
    effect->processDoubleReplacing(effect, block.inputs, block.outputs, frames);
    benchmark::ClobberMemory();
  });
}

void BM_VstProcessFloat(benchmark::State& state)
{
  const int frames = static_cast<int>(state.range(0));
  LoadedPlugin plugin(frames);
  if (!plugin.Effect()) {
    state.SkipWithError(plugin.Error().c_str());
    return;
  }
  AEffect* effect = plugin.Effect();
  StereoBlock<float> block(frames);
  Measure<float>(state, frames, [&] {
    effect->processReplacing(effect, block.inputs, block.outputs, frames);
    benchmark::ClobberMemory();
  });
}
} // namespace

BENCHMARK(BM_BaselineCopyDouble)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_BaselineCopyFloat)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_EngineProcess)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_EngineProcessFloat)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_VstProcessDouble)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_VstProcessFloat)->Arg(64)->Arg(512)->Arg(4096);

BENCHMARK_MAIN();
