// The mono-check strip's costs on the GUI thread: a new setting analysed and the plot
// painted (a knob moved), and one frame of the meter (a reading taken and its part painted;
// goal at most 0.5 ms at 1x).
#include <benchmark/benchmark.h>

#include "IGraphicsLice.h"
#include "IGraphicsPlug.h"
#include "IPlugVST.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "KyvMonoCheckView.h"

namespace
{
VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

struct ShownStrip
{
  ShownStrip()
  {
    effect = CreateVSTPlugin(&HostCallback, []() -> IPlugBase* { return MakeKyvBrindlow(); });
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    editor = EditorOf(IPlugVST::PlugOf(effect));
    static_cast<KyvBrindlowGraphics*>(editor)->ShowMonoCheck(true);
    editor->PaintArea(IBounds(0, 0, editor->Width(), editor->Height()));
    for (int32_t i = 0; i < editor->ControlCount(); ++i)
    {
      if (auto* p = dynamic_cast<KyvMonoCheckPlot*>(editor->GetControl(i))) plot = p;
      if (auto* m = dynamic_cast<KyvCorrelationMeter*>(editor->GetControl(i))) meter = m;
    }
  }
  ~ShownStrip() { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }
  AEffect* effect;
  IGraphicsLice* editor;
  KyvMonoCheckPlot* plot = nullptr;
  KyvCorrelationMeter* meter = nullptr;
};

void BM_PlotForANewDelay(benchmark::State& state)
{
  ShownStrip strip;
  double delay = 0.0;
  for (auto _ : state)
  {
    delay = delay >= 1.0 ? 0.0 : delay + 0.01;
    strip.editor->SetParameterFromGUI(KyvBrindlow::kDelay, delay);
    strip.plot->IdleHook();
    strip.editor->PaintArea(strip.plot->Bounds());
  }
}

void BM_MeterFrame(benchmark::State& state)
{
  ShownStrip strip;
  for (auto _ : state)
  {
    strip.meter->IdleHook();
    strip.meter->MarkDirty(false);
    strip.editor->PaintArea(strip.meter->Bounds());
  }
}
}  // namespace

BENCHMARK(BM_PlotForANewDelay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeterFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
