// run() allocates nothing, whatever the ports hold and however long the runs. This
// executable replaces malloc and its relatives (the plug-in binary resolves them here)
// and counts the calls made while the plug-ins run.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "Lv2TestHost.h"
#include "CountingMalloc.h"

TEST(Lv2Allocation, RunAllocatesNothing)
{
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (const char* uri : {"urn:ardelnu:brindlow:mono", "urn:ardelnu:brindlow:stereo"})
  {
    Lv2Plugin plug(uri, 48000.0);
    ASSERT_TRUE(plug.Ok()) << uri;
    // The counter does see the plug-in's own allocations: a second instance, made
    // straight through the descriptor.
    const LV2_Descriptor* descriptor = lilv_instance_get_descriptor(plug.Instance());
    gAllocations = 0;
    gCounting = true;
    LV2_Handle second = descriptor->instantiate(descriptor, 48000.0, "", Lv2World::Get().Urids().Features());
    gCounting = false;
    ASSERT_NE(second, nullptr);
    descriptor->cleanup(second);
    EXPECT_GT(gAllocations.load(), 0) << uri;

    std::vector<float> in[2] = {std::vector<float>(9000, 0.5f), std::vector<float>(9000, -0.5f)};
    std::vector<float> out[2] = {std::vector<float>(9000), std::vector<float>(9000)};
    float* ins[2] = {in[0].data(), in[1].data()};
    float* outs[2] = {out[0].data(), out[1].data()};
    plug.ConnectAudio(ins, outs);
    float* delay = plug.Control("delay");
    float* pan = plug.Control("pan");
    float* wetMix = plug.Control("wet_mix");
    float* view = plug.Control("mono_view");
    ASSERT_TRUE(delay && pan && wetMix && view);

    gAllocations = 0;
    gCounting = true;
    // Runs shorter and longer than the block size, with port values changing between
    // them, hostile ones included, and the meter switched on and off by the view port.
    const float delays[] = {1.0f, 40.0f, nan, 1e30f, 7.5f, -inf};
    int k = 0;
    for (uint32_t frames : {4096u, 1u, 9000u, 0u, 63u, 4097u})
    {
      *delay = delays[k];
      *pan = float(k % 2);
      *wetMix = k == 3 ? inf : -10.0f + 4.0f * float(k);
      *view = k == 4 ? nan : float(k / 2 % 2);
      lilv_instance_run(plug.Instance(), frames);
      ++k;
    }
    gCounting = false;
    EXPECT_EQ(gAllocations.load(), 0) << uri;
  }
}
