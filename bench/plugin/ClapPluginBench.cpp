// Brindlow.clap's process() against Brindlow.so's processReplacing, both loaded through
// the host kits as hosts load them, 32-bit stereo blocks of 512 frames: without events, and with one
// parameter event in the middle of each block (which splits it in two). Each result
// carries the ratio to processReplacing measured in the same run, in rounds taken in
// turn; the one with an event also its ratios to the VST ways of making the same change.
#include "ClapHostKit.h"
#include "PluginBenchSupport.h"

#include <string>

namespace
{
using namespace plugin_bench;

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
