// Instantiating the plug-in as a host does: the entry point (which lays out the whole
// editor: controls, image sizes, styles, draw bitmap; no image decoded, no font looked up)
// up to the end of effOpen, then effClose outside the measured time. And the editor's first
// paint, where the artwork it shows is decoded and the fonts are found.
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

double Seconds(std::chrono::steady_clock::time_point since)
{
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

AEffect* MakeEffect()
{
  AEffect* effect = CreateVSTPlugin(&HostCallback, []() -> IPlugBase* { return MakeKyvBrindlow(); });
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  return effect;
}

void Close(AEffect* effect) { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }

// Entry point to the end of effOpen, in seconds; the instance is closed afterwards.
double InstantiateOnce()
{
  const auto start = std::chrono::steady_clock::now();
  AEffect* effect = MakeEffect();
  const double seconds = Seconds(start);
  Close(effect);
  return seconds;
}

// The first paint of a new instance's whole editor, in seconds.
double FirstPaintOnce()
{
  AEffect* effect = MakeEffect();
  IGraphicsLice* editor = EditorOf(IPlugVST::PlugOf(effect));
  const auto start = std::chrono::steady_clock::now();
  editor->PaintArea(IBounds(0, 0, editor->Width(), editor->Height()));
  const double seconds = Seconds(start);
  Close(effect);
  return seconds;
}

// Drops the decoded artwork so the next paint decodes it again.
void ForgetArtwork()
{
  IImageCache& cache = IImageCache::Shared();
  for (int id = KyvBrindlowEditor::kBackgroundId; id <= KyvBrindlowEditor::kSplashId; ++id)
    while (LICE_IBitmap* bitmap = cache.Find(id)) cache.Remove(bitmap);
}

// The very first instance in the process: nothing decoded or looked up yet.
void BM_InstantiateFirstInProcess(benchmark::State& state)
{
  for (auto _ : state) state.SetIterationTime(InstantiateOnce());
}
BENCHMARK(BM_InstantiateFirstInProcess)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The first paint in the process: fonts looked up, faces opened, the shown images decoded.
void BM_FirstPaintFirstInProcess(benchmark::State& state)
{
  for (auto _ : state) state.SetIterationTime(FirstPaintOnce());
}
BENCHMARK(BM_FirstPaintFirstInProcess)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Cold images: every first paint decodes the three PNGs it shows (the fonts stay open).
void BM_FirstPaintCold(benchmark::State& state)
{
  for (auto _ : state)
  {
    ForgetArtwork();
    state.SetIterationTime(FirstPaintOnce());
  }
}
BENCHMARK(BM_FirstPaintCold)->UseManualTime()->Unit(benchmark::kMillisecond);

// Warm: the artwork comes decoded from the image cache, as for every instance after the first.
void BM_InstantiateWarm(benchmark::State& state)
{
  FirstPaintOnce(); // fills the cache with decoded images
  for (auto _ : state) state.SetIterationTime(InstantiateOnce());
}
BENCHMARK(BM_InstantiateWarm)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_FirstPaintWarm(benchmark::State& state)
{
  FirstPaintOnce();
  for (auto _ : state) state.SetIterationTime(FirstPaintOnce());
}
BENCHMARK(BM_FirstPaintWarm)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
