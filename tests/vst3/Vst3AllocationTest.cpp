// process() allocates nothing: blocks with parameter points and program changes in both
// sample sizes, and flushes. This executable replaces malloc and its relatives (the
// module resolves them here) and counts the calls made meanwhile.
#include <gtest/gtest.h>

#include "CountingMalloc.h"
#include "Vst3TestSupport.h"

using namespace vst3;

TEST(Vst3Allocation, ProcessAllocatesNothing)
{
  vst3host::Module module(BRINDLOW_VST3_BUNDLE);
  vst3host::Instance plugin(module);
  ASSERT_TRUE(plugin.Ok()) << plugin.Error();
  ASSERT_TRUE(plugin.Activate(44100.0, 2048));
  StereoBlock<float> narrow(2048);
  StereoBlock<double> wide(2048);
  vst3host::ParameterChanges* changes = new vst3host::ParameterChanges;
  for (int32 t = 0; t < 2048; t += 97) changes->Add(static_cast<ParamID>(t % 3), t, (t % 11) / 10.0);
  changes->Add(0x50726F67, 700, 3 / 16.0); // a program change
  plugin.Process32(narrow.inPtr, 2, narrow.outPtr, 2, 2048, changes); // the first block may set up the thread's trace slot

  gAllocations = 0;
  gCounting = true;
  for (int round = 0; round < 4; ++round)
  {
    plugin.Process32(narrow.inPtr, 2, narrow.outPtr, 2, 2048, changes);
    plugin.Process32(nullptr, 0, nullptr, 0, 0, changes);
    plugin.processor->setProcessing(1);
  }
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);

  plugin.Deactivate();
  ASSERT_TRUE(plugin.Activate(44100.0, 2048, kSample64));
  plugin.Process64(wide.inPtr, 2, wide.outPtr, 2, 2048, changes);
  gAllocations = 0;
  gCounting = true;
  for (int round = 0; round < 4; ++round) plugin.Process64(wide.inPtr, 2, wide.outPtr, 2, 2048, changes);
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);

  // The counter does see the module's allocations.
  plugin.Deactivate();
  gAllocations = 0;
  gCounting = true;
  ASSERT_TRUE(plugin.Activate(96000.0, 4096));
  gCounting = false;
  EXPECT_GT(gAllocations.load(), 0);
  changes->release();
}
