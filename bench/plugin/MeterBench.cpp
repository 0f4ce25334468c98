// What the output meter costs the processing callback: Brindlow made in-process as a
// VST 2.4 host makes it, 32-bit and 64-bit blocks of 64, 512 and 4096 frames with the
// meter off and on, in alternating rounds. "x meter off" is the goal's figure (at most 1.5).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "IPlugVST.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

namespace
{
template <typename T>
struct Block
{
  explicit Block(int frames) : in0(size_t(frames)), in1(size_t(frames)), out0(size_t(frames)), out1(size_t(frames))
  {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> dist(-0.5, 0.5);
    for (T& x : in0) x = T(dist(rng));
    for (T& x : in1) x = T(dist(rng));
  }
  std::vector<T> in0, in1, out0, out1;
  T* inputs[2] = {in0.data(), in1.data()};
  T* outputs[2] = {out0.data(), out1.data()};
};

template <typename Body>
double FastestNsPerFrame(int frames, Body&& body)
{
  const int reps = std::max(1, 400000 / frames);
  double best = 1e30;
  for (int round = 0; round < 7; ++round)
  {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < reps; ++r) body();
    const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, ns / (double(reps) * frames));
  }
  return best;
}

template <typename T>
void BM_ProcessWithMeter(benchmark::State& state)
{
  const int frames = int(state.range(0));
  AEffect* effect = CreateVSTPlugin(nullptr, []() -> IPlugBase* { return MakeKyvBrindlow(); });
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  effect->dispatcher(effect, effSetBlockSize, 0, frames, nullptr, 0.0f);
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  OutputCorrelationMeter& meter = static_cast<KyvBrindlow*>(IPlugVST::PlugOf(effect))->OutputMeter();
  Block<T> block(frames);
  auto process = [&] {
    if constexpr (sizeof(T) == sizeof(float))
      effect->processReplacing(effect, block.inputs, block.outputs, frames);
    else
      effect->processDoubleReplacing(effect, block.inputs, block.outputs, frames);
    benchmark::ClobberMemory();
  };
  meter.SetActive(true);
  for (auto _ : state) process();
  double on = 1e30, off = 1e30;
  for (int pass = 0; pass < 3; ++pass)
  {
    meter.SetActive(false);
    off = std::min(off, FastestNsPerFrame(frames, process));
    meter.SetActive(true);
    on = std::min(on, FastestNsPerFrame(frames, process));
  }
  state.counters["ns/frame on"] = on;
  state.counters["ns/frame off"] = off;
  state.counters["x meter off"] = on / off;
  state.SetItemsProcessed(state.iterations() * frames);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}
}  // namespace

BENCHMARK_TEMPLATE(BM_ProcessWithMeter, float)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_TEMPLATE(BM_ProcessWithMeter, double)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK_MAIN();
