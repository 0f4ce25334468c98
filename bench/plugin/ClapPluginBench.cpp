// Brindlow.clap's process() against Brindlow.so's processReplacing, both loaded through
// the host kits as hosts load them, 32-bit stereo blocks of 512 frames: without events, and with one
// parameter event in the middle of each block (which splits it in two). Each result
// carries the ratio to processReplacing measured in the same run, in rounds taken in
// turn; the one with an event also its ratios to the VST ways of making the same change.
#include "ClapHostKit.h"
#include "VstHostKit.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace
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

// Brindlow.clap through the CLAP host kit, a minimal host (no extensions).
class ClapPlugin
{
public:
  ClapPlugin()
  {
    std::string error;
    if (!mModule.Load(BRINDLOW_CLAP, error) || !mInstance.Create(mModule, mHost.Host()) ||
        !mInstance.Activate(kRate, 1, kFrames) || !mInstance.StartProcessing())
      return;
    plugin = mInstance.Plugin();
    mOneEvent.AddParam(kFrames / 2, 2, 0.0); // Wet Mix
  }

  // Points the process record at b's channels, once: a host keeps its records too, and
  // only the call is timed.
  void Attach(Buffers& b, bool withEvent)
  {
    mWithEvent = withEvent;
    mCall.SetAudio(b.ins, 2, b.outs, 2);
    mCall.Record().steady_time = -1;
    mCall.SetEvents(withEvent ? mOneEvent.In() : hostkit::ClapInputEvents::None(),
                    hostkit::ClapOutputEvents::Discard());
  }
  void Process()
  {
    if (mWithEvent)
    {
      double& value = mOneEvent.Param(0).value;
      value = value == -3.0 ? -2.0 : -3.0; // a new value each block
    }
    mCall.Run(plugin, kFrames);
  }
  const clap_plugin_t* plugin = nullptr;

private:
  hostkit::ClapModule mModule;
  hostkit::ClapHost mHost{"bench", "1"};
  hostkit::ClapInstance mInstance;
  hostkit::ClapInputEvents mOneEvent;
  hostkit::ClapProcessCall mCall;
  bool mWithEvent = false;
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

void BM_ClapProcessFloat512(benchmark::State& state, bool withEvent)
{
  VstPlugin vst;
  ClapPlugin clap;
  if (!vst.effect || !clap.plugin)
  {
    state.SkipWithError("a module could not be loaded");
    return;
  }
  Buffers buffers; // one set for both, so that alignment favours neither
  clap.Attach(buffers, withEvent);
  for (auto _ : state)
  {
    clap.Process();
    benchmark::ClobberMemory();
  }
  const auto ns = FastestNsInTurn<4>({
    [&] { clap.Process(), benchmark::ClobberMemory(); },
    [&] { vst.Process(buffers), benchmark::ClobberMemory(); },
    [&] { vst.ProcessAfterSet(buffers), benchmark::ClobberMemory(); },
    [&] { vst.ProcessSplit(buffers), benchmark::ClobberMemory(); },
  });
  state.counters["ns/block"] = ns[0];
  state.counters["VST ns/block"] = ns[1];
  state.counters["x VST"] = ns[0] / ns[1];
  // For context, the VST ways to make the same change: once per block (setParameter,
  // then the block), and at the same frame (two half blocks with setParameter between).
  if (withEvent)
  {
    state.counters["x VST set+block"] = ns[0] / ns[2];
    state.counters["x VST split+set"] = ns[0] / ns[3];
  }
}
} // namespace

BENCHMARK_CAPTURE(BM_ClapProcessFloat512, no_events, false);
BENCHMARK_CAPTURE(BM_ClapProcessFloat512, one_event, true);
