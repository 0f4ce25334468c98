// The trace's cost where it matters: an audio thread marking itself at every block
// and emitting a record that is dropped, and a user-interface thread keeping one.
#include "IPlugAudioThreads.h"
#include "IPlugTrace.h"

#include <benchmark/benchmark.h>

namespace
{
// The trace on, into a file whose writes cost nothing.
struct TraceOn
{
  TraceOn() { TraceToFile("/dev/null"); }
  ~TraceOn()
  {
    TraceToFile(nullptr);
    AudioThreads::Forget();
  }
};

void BM_MarkAudioThread(benchmark::State& state)
{
  AudioThreads::Forget();
  for (auto _ : state) MarkAudioThreadForTrace();
  AudioThreads::Forget();
}
BENCHMARK(BM_MarkAudioThread);

void BM_RecordDroppedOnAudioThread(benchmark::State& state)
{
  TraceOn on;
  MarkAudioThreadForTrace();
  for (auto _ : state) EmitTrace("IPlugVST::VSTSetParameter", 1, "%d:%f", 1, 0.5);
}
BENCHMARK(BM_RecordDroppedOnAudioThread);

void BM_RecordKeptOnUserInterfaceThread(benchmark::State& state)
{
  TraceOn on;
  AudioThreads::Forget();
  int n = 0;
  for (auto _ : state)
  {
    EmitTrace("IPlugVST::VSTDispatcher", 1, "%d(%s):%d:%d", 0, "effOpen", 0, 0);
    if (++n % 256 == 0) FlushTrace(); // the dispatcher writes after each call
  }
  FlushTrace();
}
BENCHMARK(BM_RecordKeptOnUserInterfaceThread);

void BM_RecordWithTraceOff(benchmark::State& state)
{
  TraceToFile(nullptr);
  for (auto _ : state) EmitTrace("IPlugVST::VSTDispatcher", 1, "%d(%s):%d:%d", 0, "effOpen", 0, 0);
}
BENCHMARK(BM_RecordWithTraceOff);
} // namespace

BENCHMARK_MAIN();
