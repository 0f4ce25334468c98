// Brindlow.clap's process() against Brindlow.so's processReplacing, both loaded with
// dlopen as hosts do, 32-bit stereo blocks of 512 frames: without events, and with one
// parameter event in the middle of each block (which splits it in two). Each result
// carries the ratio to processReplacing measured in the same run, in rounds taken in
// turn; the one with an event also its ratios to the VST ways of making the same change.
#include "clap_abi.h"
#include "PluginBenchSupport.h"

#include <string>

namespace
{
using namespace plugin_bench;

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
    if (mEventCount) mEvent.value = mEvent.value == -3.0 ? -2.0 : -3.0; // a new value each block
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
