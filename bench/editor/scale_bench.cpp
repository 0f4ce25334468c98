// Opening the editor at a scale and its first paint: an instance made as a host makes it,
// the host's scale set, and the whole panel painted (artwork resampled for the scale, text
// at the scale's size). Arguments are the scale in percent; the goal is 2x at most twice
// the time of 1x.
#include <benchmark/benchmark.h>

#include <chrono>

#include "IGraphicsLice.h"
#include "IGraphicsPlug.h"
#include "IPlugVST.h"
#include "ImageCache.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

namespace
{
VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

// Entry point, effOpen, the host's scale and the first paint, in seconds.
double OpenAndPaintOnce(double scale)
{
  const auto start = std::chrono::steady_clock::now();
  AEffect* effect = CreateVSTPlugin(&HostCallback, []() -> IPlugBase* { return MakeKyvBrindlow(); });
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  IGraphicsLice* editor = EditorOf(IPlugVST::PlugOf(effect));
  editor->SetHostScale(scale);
  editor->PaintArea(IBounds(0, 0, editor->Width(), editor->Height()));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return seconds;
}

void ForgetArtwork()
{
  IImageCache& cache = IImageCache::Shared();
  for (int id = KyvBrindlowEditor::kBackgroundId; id <= KyvBrindlowEditor::kSplashId + 100; ++id)
    while (LICE_IBitmap* bitmap = cache.Find(id)) cache.Remove(bitmap);
}

// Artwork decoded already (every instance after the first in a process).
void BM_OpenAndFirstPaintAtScale(benchmark::State& state)
{
  const double scale = state.range(0) / 100.0;
  OpenAndPaintOnce(scale);  // decodes the artwork, opens the faces
  for (auto _ : state) state.SetIterationTime(OpenAndPaintOnce(scale));
}
BENCHMARK(BM_OpenAndFirstPaintAtScale)->Arg(100)->Arg(150)->Arg(200)->Arg(300)->UseManualTime()->Unit(
  benchmark::kMillisecond);

// Every opening decodes the artwork again (the fonts stay open).
void BM_OpenAndFirstPaintAtScaleCold(benchmark::State& state)
{
  const double scale = state.range(0) / 100.0;
  OpenAndPaintOnce(scale);
  for (auto _ : state)
  {
    ForgetArtwork();
    state.SetIterationTime(OpenAndPaintOnce(scale));
  }
}
BENCHMARK(BM_OpenAndFirstPaintAtScaleCold)->Arg(100)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
