// Processing as hosts drive it: parameter changes at their frame, mono and stereo
// inputs, 32- and 64-bit buffers, in-place buffers, any block size, reset and tail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ClapTestHost.h"

namespace
{
constexpr clap_id kDelay = 0, kPan = 1, kWetMix = 2;

class ClapProcess : public ::testing::Test
{
protected:
  ClapModule module;
  ClapTestHost host;
  ClapInstance instance{module, host};
  const clap_plugin_t* p = instance.plugin;

  void SetUp() override { ASSERT_TRUE(p) << module.Error(); }

  // Fills every input channel with a constant and runs it through until the delay
  // line holds nothing else.
  void Prime(ClapBlock& block, float level)
  {
    for (auto& c : block.in32) std::fill(c.begin(), c.end(), level);
    for (auto& c : block.in64) std::fill(c.begin(), c.end(), level);
    for (int i = 0; i < 8; ++i) block.Run(p);
  }
};
} // namespace

TEST_F(ClapProcess, ParameterEventTakesEffectExactlyAtItsFrame)
{
  ASSERT_TRUE(instance.Activate(44100.0, 512));
  for (bool wide : {false, true})
  {
    ClapBlock block(512, 2, wide);
    Prime(block, 0.5f);
    ClapEventList events;
    events.AddParam(100, kWetMix, -6.0);
    events.AddParam(300, kPan, 1.0); // Right leads from frame 300 on
    ASSERT_EQ(block.Run(p, &events), CLAP_PROCESS_CONTINUE);
    const double gain = std::pow(10.0, -6.0 / 20.0);
    for (uint32_t i = 0; i < 512; ++i)
    {
      const double left = wide ? block.out64[0][i] : block.out32[0][i];
      const double right = wide ? block.out64[1][i] : block.out32[1][i];
      const double lag = i < 100 ? 0.5 : 0.5 * gain;
      ASSERT_NEAR(i < 300 ? left : right, 0.5, 1e-7) << "frame " << i; // leading side
      ASSERT_NEAR(i < 300 ? right : left, lag, 1e-7) << "frame " << i; // lagging side
    }
    events = ClapEventList();
    events.AddParam(0, kWetMix, 0.0);
    events.AddParam(0, kPan, 0.0);
    block.Run(p, &events);
  }
}

TEST_F(ClapProcess, ManyEventsInOneBlockEachTakeEffectAtTheirFrame)
{
  ASSERT_TRUE(instance.Activate(44100.0, 512));
  ClapBlock block(512);
  Prime(block, 0.5f);
  // More changes than the adapter copies out of the host's list at once.
  ClapEventList events;
  for (uint32_t k = 0; k < 150; ++k) events.AddParam(3 * k + 1, kWetMix, k % 2 ? 6.0 : -6.0);
  block.Run(p, &events);
  for (uint32_t i = 0; i < 512; ++i)
  {
    const uint32_t last = i == 0 ? 0 : std::min<uint32_t>((i - 1) / 3, 149); // the last change at or before i
    const double db = i == 0 ? 0.0 : (last % 2 ? 6.0 : -6.0);
    ASSERT_NEAR(block.out32[1][i], 0.5 * std::pow(10.0, db / 20.0), 1e-6) << "frame " << i;
  }
}

TEST_F(ClapProcess, EventsInOtherSpacesOutOfRangeOrUnknownChangeNothing)
{
  ASSERT_TRUE(instance.Activate());
  ClapBlock block(64);
  ClapEventList events;
  events.AddParam(0, kDelay, 33.0, 1); // another space
  events.AddParam(1, 17, 5.0);          // no such parameter
  events.AddParam(2, kWetMix, NAN);     // not a value
  events.AddParam(70, kWetMix, 99.0);   // past the block: applied at its end, clamped
  block.Run(p, &events);
  auto params = instance.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  double delay = 0, wet = 0;
  params->get_value(p, kDelay, &delay);
  params->get_value(p, kWetMix, &wet);
  EXPECT_EQ(delay, 20.0);
  EXPECT_EQ(wet, 10.0);
}

TEST_F(ClapProcess, MonoInputFeedsBothSidesAndStereoReadsTheLeadingSide)
{
  auto configs = instance.Ext<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  auto params = instance.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  ClapEventList right;
  right.AddParam(0, kPan, 1.0);
  params->flush(p, right.In(), ClapOutputList().Out()); // inactive: [main]

  ASSERT_TRUE(configs->select(p, 0)); // mono in
  ASSERT_TRUE(instance.Activate());
  ClapBlock mono(256, 1);
  Prime(mono, 0.25f);
  EXPECT_FLOAT_EQ(mono.out32[1][10], 0.25f); // Right leads, from the one input
  EXPECT_FLOAT_EQ(mono.out32[0][10], 0.25f); // and lags, delayed
  instance.Deactivate();

  ASSERT_TRUE(configs->select(p, 1)); // stereo in
  ASSERT_TRUE(instance.Activate());
  ClapBlock stereo(256, 2);
  std::fill(stereo.in32[0].begin(), stereo.in32[0].end(), 0.1f);
  std::fill(stereo.in32[1].begin(), stereo.in32[1].end(), 0.7f);
  for (int i = 0; i < 8; ++i) stereo.Run(p);
  EXPECT_FLOAT_EQ(stereo.out32[1][10], 0.7f); // the leading side's own input
  EXPECT_FLOAT_EQ(stereo.out32[0][10], 0.7f);
}

TEST_F(ClapProcess, InPlaceBuffersGiveTheSameOutput)
{
  ASSERT_TRUE(instance.Activate(48000.0, 300));
  std::vector<float> signal(300);
  for (size_t i = 0; i < signal.size(); ++i) signal[i] = std::sin(0.05f * float(i));
  // Separate buffers, block by block from an empty delay line...
  ClapBlock separate(300);
  std::vector<std::vector<float>> expected[2];
  for (int round = 0; round < 6; ++round)
  {
    separate.in32[0] = separate.in32[1] = signal;
    separate.Run(p);
    expected[0].push_back(separate.out32[0]);
    expected[1].push_back(separate.out32[1]);
  }
  // ...then the same channel pointers in and out, as an in-place pair allows.
  p->reset(p);
  ClapBlock shared(300);
  shared.inPtr32 = shared.outPtr32;
  for (int round = 0; round < 6; ++round)
  {
    shared.out32[0] = shared.out32[1] = signal;
    shared.Run(p);
    ASSERT_EQ(shared.out32[0], expected[0][round]) << "block " << round;
    ASSERT_EQ(shared.out32[1], expected[1][round]) << "block " << round;
  }
}

TEST_F(ClapProcess, AnyBlockSizeWithoutTransportGivesFiniteOutput)
{
  ASSERT_TRUE(instance.Activate(96000.0, 777));
  for (uint32_t frames : {1u, 2u, 3u, 64u, 511u, 777u})
  {
    ClapBlock block(frames);
    for (auto& c : block.in32)
      for (size_t i = 0; i < c.size(); ++i) c[i] = (i % 2) ? 1e30f : -1e30f;
    for (auto& c : block.out32) std::fill(c.begin(), c.end(), NAN); // every sample must be written
    ClapEventList events;
    events.AddParam(frames / 2, kWetMix, 10.0);
    ASSERT_EQ(block.Run(p, &events), CLAP_PROCESS_CONTINUE);
    for (auto& c : block.out32)
      for (float x : c) ASSERT_TRUE(std::isfinite(x)) << frames;
  }
}

TEST_F(ClapProcess, ResetEmptiesTheDelayLine)
{
  ASSERT_TRUE(instance.Activate());
  ClapBlock block(512);
  Prime(block, 0.5f);
  p->reset(p);
  for (auto& c : block.in32) std::fill(c.begin(), c.end(), 0.0f);
  block.Run(p);
  for (float x : block.out32[1]) ASSERT_EQ(x, 0.0f);
}

TEST_F(ClapProcess, TailFollowsTheDelayAndTheHostHearsOfItFromProcess)
{
  auto tail = instance.Ext<clap_plugin_tail_t>(CLAP_EXT_TAIL);
  ASSERT_TRUE(instance.Activate(44100.0, 256));
  EXPECT_EQ(tail->get(p), 882u); // 20 ms
  ClapBlock block(256);
  ClapEventList events;
  events.AddParam(10, kDelay, 33.333);
  block.Run(p, &events);
  EXPECT_EQ(tail->get(p), static_cast<uint32_t>(std::ceil(33.333 / 1000.0 * 44100.0)));
  EXPECT_EQ(host.tailChangedCount, 1);
  block.Run(p, &events); // the same value again: no news
  EXPECT_EQ(host.tailChangedCount, 1);
}
