// The audio-thread calls allocate nothing: process with events in both sample sizes,
// flush while active, and reset at an unchanged rate. This executable replaces malloc
// and its relatives (the module resolves them here) and counts the calls made meanwhile.
#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>

#include "ClapTestHost.h"
#include "CountingMalloc.h"

TEST(ClapAllocation, AudioThreadCallsAllocateNothing)
{
  ClapModule module;
  ClapTestHost host;
  ClapInstance instance(module, host);
  ASSERT_TRUE(instance.plugin) << module.Error();
  const clap_plugin_t* p = instance.plugin;
  auto params = instance.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  ASSERT_TRUE(instance.Activate(44100.0, 2048));
  ClapBlock narrow(2048), wide(2048, 2, true);
  ClapEventList events;
  for (uint32_t t = 0; t < 2048; t += 97) events.AddParam(t, t % 3, 0.5 + t % 7);
  ClapOutputList out;
  narrow.Run(p, &events, &out); // the first block of a thread may set up its trace slot

  gAllocations = 0;
  gCounting = true;
  for (int round = 0; round < 4; ++round)
  {
    narrow.Run(p, &events, &out);
    wide.Run(p, &events, &out);
    params->flush(p, events.In(), out.Out());
    p->reset(p);
  }
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);

  // The counter does see the module's allocations.
  instance.Deactivate();
  gAllocations = 0;
  gCounting = true;
  ASSERT_TRUE(instance.Activate(96000.0, 4096));
  gCounting = false;
  EXPECT_GT(gAllocations.load(), 0);
}
