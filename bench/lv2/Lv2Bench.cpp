// The LV2 plug-in's run() against the VST 2.4 plug-in's processReplacing on the same
// 512-frame stereo block, both loaded from the built binaries through the host kits as hosts do
// and measured in turns within one run, so both see the same machine load. The counter
// "lv2_vs_vst" is the ratio of their times per block (goal: at most 1.1).
#include "Lv2HostKit.h"
#include "VstHostKit.h"

#include <benchmark/benchmark.h>
#include <lv2/core/lv2.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace
{
constexpr double kSampleRate = 44100.0;
constexpr int kFrames = 512;
constexpr int kCallsPerTurn = 32;

std::vector<float> Noise(int n, unsigned seed)
{
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> dist(-0.5f, 0.5f);
  std::vector<float> v(static_cast<size_t>(n));
  for (float& x : v) x = dist(rng);
  return v;
}

struct Plugins
{
  hostkit::VstModule vstModule;
  hostkit::Lv2Binary lv2Binary;
  hostkit::Lv2UridMap urids; // the plug-in maps two URIs at instantiate
  AEffect* effect = nullptr;
  const LV2_Descriptor* descriptor = nullptr;
  LV2_Handle instance = nullptr;
  std::string error;

  Plugins()
  {
    if (!vstModule.Load(BRINDLOW_PLUGIN, error) || !lv2Binary.Load(BRINDLOW_LV2_DSP, error)) return;
    effect = vstModule.MakeEffect(&hostkit::PlainHostCallback, error);
    descriptor = lv2Binary.Descriptor("urn:ardelnu:brindlow:stereo");
    if (!effect || !descriptor)
    {
      error = "no VST effect or no stereo LV2 descriptor";
      return;
    }
    hostkit::Dispatch(effect, effOpen);
    hostkit::Dispatch(effect, effSetSampleRate, 0, 0, nullptr, float(kSampleRate));
    hostkit::Dispatch(effect, effSetBlockSize, 0, kFrames);
    hostkit::Dispatch(effect, effMainsChanged, 0, 1);

    const LV2_Feature* const features[] = {urids.MapFeature(), nullptr};
    instance = descriptor->instantiate(descriptor, kSampleRate, "", features);
    if (!instance)
    {
      error = "the LV2 plug-in refused to instantiate";
      return;
    }
    descriptor->activate(instance);
  }
  ~Plugins()
  {
    if (instance)
    {
      descriptor->deactivate(instance);
      descriptor->cleanup(instance);
    }
    if (effect)
    {
      hostkit::Dispatch(effect, effMainsChanged, 0, 0);
      hostkit::Dispatch(effect, effClose);
    }
  }
};

void BM_Lv2RunVersusVstProcess512(benchmark::State& state)
{
  Plugins plugins;
  if (!plugins.error.empty())
  {
    state.SkipWithError(plugins.error.c_str());
    return;
  }
  std::vector<float> in[2] = {Noise(kFrames, 1), Noise(kFrames, 2)};
  std::vector<float> out[2] = {std::vector<float>(kFrames), std::vector<float>(kFrames)};
  float* ins[2] = {in[0].data(), in[1].data()};
  float* outs[2] = {out[0].data(), out[1].data()};
  // The ports at the plug-in's defaults, as the VST plug-in starts.
  float controls[3] = {20.0f, 0.0f, 0.0f};
  for (uint32_t p = 0; p < 3; ++p) plugins.descriptor->connect_port(plugins.instance, p, &controls[p]);
  plugins.descriptor->connect_port(plugins.instance, 3, ins[0]);
  plugins.descriptor->connect_port(plugins.instance, 4, ins[1]);
  plugins.descriptor->connect_port(plugins.instance, 5, outs[0]);
  plugins.descriptor->connect_port(plugins.instance, 6, outs[1]);

  using Clock = std::chrono::steady_clock;
  Clock::duration vst{}, lv2{};
  bool vstFirst = true;
  auto runVst = [&] {
    const auto t0 = Clock::now();
    for (int i = 0; i < kCallsPerTurn; ++i) plugins.effect->processReplacing(plugins.effect, ins, outs, kFrames);
    benchmark::ClobberMemory();
    vst += Clock::now() - t0;
  };
  auto runLv2 = [&] {
    const auto t0 = Clock::now();
    for (int i = 0; i < kCallsPerTurn; ++i) plugins.descriptor->run(plugins.instance, kFrames);
    benchmark::ClobberMemory();
    lv2 += Clock::now() - t0;
  };
  for (auto _ : state)
  {
    // Turns in alternating order, so neither always finds the caches as the other left them.
    if (vstFirst)
    {
      runVst();
      runLv2();
    }
    else
    {
      runLv2();
      runVst();
    }
    vstFirst = !vstFirst;
  }
  const double blocks = double(state.iterations()) * kCallsPerTurn;
  const double vstNs = std::chrono::duration<double, std::nano>(vst).count() / blocks;
  const double lv2Ns = std::chrono::duration<double, std::nano>(lv2).count() / blocks;
  state.counters["vst_ns_per_block"] = vstNs;
  state.counters["lv2_ns_per_block"] = lv2Ns;
  state.counters["lv2_vs_vst"] = lv2Ns / vstNs;
}
} // namespace

BENCHMARK(BM_Lv2RunVersusVstProcess512)->MinTime(2.0);

BENCHMARK_MAIN();
