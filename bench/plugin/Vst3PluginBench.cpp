// Brindlow.vst3's process() against Brindlow.so's processReplacing, both loaded with
// dlopen as hosts do (the VST 3 one through the host kit), 32-bit stereo blocks of 512
// frames: without parameter changes, and with one Wet Mix point in the middle of each
// block (a new value each block). Each result carries the ratio to processReplacing
// measured in the same run, in rounds taken in turn; the one with a change its ratio to
// the VST way of making the change for a block: setParameter, then processReplacing.
#include "PluginBenchSupport.h"
#include "Vst3HostKit.h"

namespace
{
using namespace plugin_bench;

void BM_Vst3ProcessFloat512(benchmark::State& state, bool withChange)
{
  VstPlugin vst;
  vst3host::Module module(BRINDLOW_VST3);
  vst3host::Instance vst3(module);
  if (!vst.effect || !vst3.Ok() || !vst3.Activate(kRate, kFrames))
  {
    state.SkipWithError("a module could not be loaded");
    return;
  }
  Buffers buffers; // one set for both, so that alignment favours neither
  vst3host::ParameterChanges* changes = new vst3host::ParameterChanges;
  changes->Add(2, kFrames / 2, 0.35); // Wet Mix
  auto* point = &static_cast<vst3host::ParamQueue*>(changes->getParameterData(0))->points[0];
  // The process record points at the buffers once: a host keeps its records too, and
  // only the call is timed.
  vst3::AudioBusBuffers input{2, 0, {}}, output{2, 0, {}};
  input.channelBuffers32 = buffers.ins;
  output.channelBuffers32 = buffers.outs;
  vst3::ProcessData data{};
  data.symbolicSampleSize = vst3::kSample32;
  data.numSamples = kFrames;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &input;
  data.outputs = &output;
  data.inputParameterChanges = withChange ? changes : nullptr;
  auto process = [&] {
    point->value = point->value == 0.35 ? 0.4 : 0.35;
    vst3.processor->process(data);
  };
  for (auto _ : state)
  {
    process();
    benchmark::ClobberMemory();
  }
  const auto ns = FastestNsInTurn<3>({
    [&] { process(), benchmark::ClobberMemory(); },
    [&] { vst.Process(buffers), benchmark::ClobberMemory(); },
    [&] { vst.ProcessAfterSet(buffers), benchmark::ClobberMemory(); },
  });
  state.counters["ns/block"] = ns[0];
  state.counters["VST ns/block"] = ns[1];
  state.counters["x VST"] = ns[0] / ns[1];
  if (withChange) state.counters["x VST set+block"] = ns[0] / ns[2];
  changes->release();
}
} // namespace

BENCHMARK_CAPTURE(BM_Vst3ProcessFloat512, no_changes, false);
BENCHMARK_CAPTURE(BM_Vst3ProcessFloat512, one_change, true);
