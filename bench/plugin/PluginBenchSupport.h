// What the plug-in format benchmarks share: 512-frame stereo buffers, Brindlow.so loaded
// as a VST 2.4 host loads it (the baseline every format is measured against), and the
// timing of several bodies in rounds taken in turn.
#pragma once

#include "VstHostKit.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace plugin_bench
{
constexpr int kFrames = 512;
constexpr double kRate = 44100.0;

struct Buffers
{
  std::vector<float> in0 = std::vector<float>(kFrames, 0.25f), in1 = std::vector<float>(kFrames, -0.25f);
  std::vector<float> out0 = std::vector<float>(kFrames), out1 = std::vector<float>(kFrames);
  float* ins[2] = {in0.data(), in1.data()};
  float* outs[2] = {out0.data(), out1.data()};
};

class VstPlugin
{
public:
  VstPlugin()
  {
    std::string error;
    effect = mModule.Load(BRINDLOW_PLUGIN, error) ? mModule.MakeEffect(&hostkit::PlainHostCallback, error) : nullptr;
    if (!effect) return;
    hostkit::Dispatch(effect, effOpen);
    hostkit::Dispatch(effect, effSetSampleRate, 0, 0, nullptr, float(kRate));
    hostkit::Dispatch(effect, effSetBlockSize, 0, kFrames);
    hostkit::Dispatch(effect, effMainsChanged, 0, 1);
  }
  ~VstPlugin()
  {
    if (effect) hostkit::Dispatch(effect, effClose);
  }
  void Process(Buffers& b) { effect->processReplacing(effect, b.ins, b.outs, kFrames); }
  // What a VST host does for the same change: before the block (VST changes per block)...
  void ProcessAfterSet(Buffers& b)
  {
    ToggleWetMix();
    effect->processReplacing(effect, b.ins, b.outs, kFrames);
  }
  // ... or at the same frame: two half blocks with the new value set between them.
  void ProcessSplit(Buffers& b)
  {
    float* ins[2] = {b.ins[0] + kFrames / 2, b.ins[1] + kFrames / 2};
    float* outs[2] = {b.outs[0] + kFrames / 2, b.outs[1] + kFrames / 2};
    effect->processReplacing(effect, b.ins, b.outs, kFrames / 2);
    ToggleWetMix();
    effect->processReplacing(effect, ins, outs, kFrames / 2);
  }
  AEffect* effect = nullptr;

private:
  void ToggleWetMix()
  {
    mWetMix = mWetMix == 0.35f ? 0.4f : 0.35f;
    effect->setParameter(effect, 2, mWetMix);
  }
  hostkit::VstModule mModule;
  float mWetMix = 0.35f;
};

// Nanoseconds per block of each body, the fastest of many short rounds taken in turn:
// the machine is shared, and rounds in turn see the same disturbances.
template <size_t N>
std::array<double, N> FastestNsInTurn(const std::array<std::function<void()>, N>& bodies)
{
  std::array<double, N> best;
  best.fill(1e30);
  for (int round = 0; round < 300; ++round)
    for (size_t k = 0; k < N; ++k)
    {
      const auto start = std::chrono::steady_clock::now();
      for (int r = 0; r < 200; ++r) bodies[k]();
      const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
      best[k] = std::min(best[k], ns / 200);
    }
  return best;
}

} // namespace plugin_bench
