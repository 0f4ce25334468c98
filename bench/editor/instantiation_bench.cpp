// Instantiating the plug-in as a host does: the entry point (which builds the whole
// editor: images, controls, fonts, draw bitmap) up to the end of effOpen, then effClose
// outside the measured time.
#include <benchmark/benchmark.h>

#include <chrono>

#include "ImageCache.h"
#include "IPlugVST.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "KyvBrindlowEditor.h"

namespace
{
VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

// Entry point to the end of effOpen, in seconds; the instance is closed afterwards.
double InstantiateOnce()
{
  const auto start = std::chrono::steady_clock::now();
  AEffect* effect = CreateVSTPlugin(&HostCallback, []() -> IPlugBase* { return MakeKyvBrindlow(); });
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  const auto end = std::chrono::steady_clock::now();
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return std::chrono::duration<double>(end - start).count();
}

// Drops the decoded artwork so the next instance decodes it again.
void ForgetArtwork()
{
  IImageCache& cache = IImageCache::Shared();
  for (int id = KyvBrindlowEditor::kBackgroundId; id <= KyvBrindlowEditor::kSplashId; ++id)
    while (LICE_IBitmap* bitmap = cache.Find(id)) cache.Remove(bitmap);
}

// The very first instance in the process: fonts looked up, faces opened, images decoded.
void BM_InstantiateFirstInProcess(benchmark::State& state)
{
  for (auto _ : state) state.SetIterationTime(InstantiateOnce());
}
BENCHMARK(BM_InstantiateFirstInProcess)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Cold images: every instance decodes the four PNGs (the fonts stay open).
void BM_InstantiateCold(benchmark::State& state)
{
  for (auto _ : state)
  {
    ForgetArtwork();
    state.SetIterationTime(InstantiateOnce());
  }
}
BENCHMARK(BM_InstantiateCold)->UseManualTime()->Unit(benchmark::kMillisecond);

// Warm: the artwork comes from the image cache, as for every instance after the first.
void BM_InstantiateWarm(benchmark::State& state)
{
  InstantiateOnce(); // fills the cache
  for (auto _ : state) state.SetIterationTime(InstantiateOnce());
}
BENCHMARK(BM_InstantiateWarm)->UseManualTime()->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
