// Brindlow.clap's process() against Brindlow.so's processReplacing, both loaded with
// dlopen as hosts do, 32-bit stereo blocks of 512 frames: without events, and with one
// parameter event in the middle of each block (which splits it in two). Each result
// carries the ratio to processReplacing measured in the same run, in alternating rounds;
// the one with an event also its ratio to two half-block processReplacing calls with a
// setParameter between them, the VST way to make the same change at the same frame.
#include "clap_abi.h"
#include "vst24.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
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
    mLibrary = dlopen(BRINDLOW_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    auto entry = mLibrary ? reinterpret_cast<VSTPluginMainProc>(dlsym(mLibrary, "VSTPluginMain")) : nullptr;
    effect = entry ? entry([](AEffect*, VstInt32 op, VstInt32, VstIntPtr, void*, float) -> VstIntPtr {
      return op == audioMasterVersion ? 2400 : 0;
    })
                   : nullptr;
    if (!effect) return;
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, float(kRate));
    effect->dispatcher(effect, effSetBlockSize, 0, kFrames, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  }
  ~VstPlugin()
  {
    if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    if (mLibrary) dlclose(mLibrary);
  }
  void Process(Buffers& b) { effect->processReplacing(effect, b.ins, b.outs, kFrames); }
  // What a VST host does for the same change at the same frame: two half blocks with
  // the new value set between them.
  void ProcessSplit(Buffers& b)
  {
    float* ins[2] = {b.ins[0] + kFrames / 2, b.ins[1] + kFrames / 2};
    float* outs[2] = {b.outs[0] + kFrames / 2, b.outs[1] + kFrames / 2};
    effect->processReplacing(effect, b.ins, b.outs, kFrames / 2);
    mWetMix = mWetMix == 0.35f ? 0.4f : 0.35f;
    effect->setParameter(effect, 2, mWetMix);
    effect->processReplacing(effect, ins, outs, kFrames / 2);
  }
  AEffect* effect = nullptr;

private:
  void* mLibrary = nullptr;
  float mWetMix = 0.35f;
};

class ClapPlugin
{
public:
  ClapPlugin()
  {
    mLibrary = dlopen(BRINDLOW_CLAP, RTLD_NOW | RTLD_LOCAL);
    mEntry = mLibrary ? static_cast<const clap_plugin_entry_t*>(dlsym(mLibrary, "clap_entry")) : nullptr;
    if (!mEntry || !mEntry->init(BRINDLOW_CLAP)) return;
    auto factory = static_cast<const clap_plugin_factory_t*>(mEntry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    mHost.clap_version = CLAP_VERSION;
    mHost.name = "bench";
    mHost.version = "1";
    mHost.get_extension = [](const clap_host_t*, const char*) -> const void* { return nullptr; };
    mHost.request_restart = mHost.request_process = mHost.request_callback = [](const clap_host_t*) {};
    plugin = factory->create_plugin(factory, &mHost, factory->get_plugin_descriptor(factory, 0)->id);
    if (!plugin || !plugin->init(plugin) || !plugin->activate(plugin, kRate, 1, kFrames) ||
        !plugin->start_processing(plugin))
      plugin = nullptr;
    mEvent.header = {sizeof(mEvent), kFrames / 2, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    mEvent.param_id = 2; // Wet Mix
    mEvent.note_id = -1;
    mEvent.port_index = mEvent.channel = mEvent.key = -1;
  }
  ~ClapPlugin()
  {
    if (plugin)
    {
      plugin->stop_processing(plugin);
      plugin->deactivate(plugin);
      plugin->destroy(plugin);
    }
    if (mEntry) mEntry->deinit();
    if (mLibrary) dlclose(mLibrary);
  }

  // Points the process record at b's channels, once: a host keeps its records too, and
  // only the call is timed.
  void Attach(Buffers& b, bool withEvent)
  {
    mEventCount = withEvent ? 1 : 0;
    mInput = {b.ins, nullptr, 2, 0, 0};
    mOutput = {b.outs, nullptr, 2, 0, 0};
    mProcess.steady_time = -1;
    mProcess.frames_count = kFrames;
    mProcess.audio_inputs = &mInput;
    mProcess.audio_outputs = &mOutput;
    mProcess.audio_inputs_count = mProcess.audio_outputs_count = 1;
    mProcess.in_events = &mIn;
    mProcess.out_events = &mOut;
  }
  void Process()
  {
    mEvent.value = mEvent.value == -3.0 ? -2.0 : -3.0; // a new value each block
    plugin->process(plugin, &mProcess);
  }
  const clap_plugin_t* plugin = nullptr;

private:
  void* mLibrary = nullptr;
  const clap_plugin_entry_t* mEntry = nullptr;
  clap_host_t mHost{};
  clap_event_param_value_t mEvent{};
  clap_audio_buffer_t mInput{}, mOutput{};
  clap_process_t mProcess{};
  uint32_t mEventCount = 0;
  clap_input_events_t mIn{this,
                          [](const clap_input_events_t* l) { return static_cast<ClapPlugin*>(l->ctx)->mEventCount; },
                          [](const clap_input_events_t* l, uint32_t) -> const clap_event_header_t* {
                            return &static_cast<ClapPlugin*>(l->ctx)->mEvent.header;
                          }};
  clap_output_events_t mOut{nullptr, [](const clap_output_events_t*, const clap_event_header_t*) { return true; }};
};

// Nanoseconds per block of the fastest of several rounds: the machine is shared.
template <typename Body>
double FastestNs(Body&& body)
{
  double best = 1e30;
  for (int round = 0; round < 9; ++round)
  {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < 2000; ++r) body();
    best = std::min(best, std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / 2000);
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
  double clapNs = 1e30, vstNs = 1e30, vstSplitNs = 1e30;
  for (int pass = 0; pass < 3; ++pass)
  {
    clapNs = std::min(clapNs, FastestNs([&] { clap.Process(), benchmark::ClobberMemory(); }));
    vstNs = std::min(vstNs, FastestNs([&] { vst.Process(buffers), benchmark::ClobberMemory(); }));
    if (withEvent)
      vstSplitNs = std::min(vstSplitNs, FastestNs([&] { vst.ProcessSplit(buffers), benchmark::ClobberMemory(); }));
  }
  state.counters["ns/block"] = clapNs;
  state.counters["VST ns/block"] = vstNs;
  state.counters["x VST"] = clapNs / vstNs;
  // For context: the VST calls that make the same change at the same frame.
  if (withEvent) state.counters["x VST split+set"] = clapNs / vstSplitNs;
}
} // namespace

BENCHMARK_CAPTURE(BM_ClapProcessFloat512, no_events, false);
BENCHMARK_CAPTURE(BM_ClapProcessFloat512, one_event, true);
