// The state stream: deterministic, moved a few bytes at a time, and refused (with the
// current state kept) when empty, cut short, foreign or garbled.
#include <gtest/gtest.h>

#include <random>

#include "ClapTestHost.h"

namespace
{
class ClapState : public ::testing::Test
{
protected:
  ClapModule module;
  ClapTestHost host;
  ClapInstance instance{module, host};
  const clap_plugin_t* p = instance.plugin;
  const clap_plugin_state_t* state = nullptr;
  const clap_plugin_params_t* params = nullptr;

  void SetUp() override
  {
    ASSERT_TRUE(p) << module.Error();
    state = instance.Ext<clap_plugin_state_t>(CLAP_EXT_STATE);
    params = instance.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  }

  void Set(clap_id id, double value)
  {
    ClapEventList events;
    events.AddParam(0, id, value);
    ClapOutputList out;
    params->flush(p, events.In(), out.Out());
  }

  std::vector<double> Values()
  {
    std::vector<double> v(3);
    for (clap_id i = 0; i < 3; ++i) params->get_value(p, i, &v[i]);
    return v;
  }

  std::vector<uint8_t> Save(const clap_plugin_t* plugin, size_t chunk = 1u << 20)
  {
    ClapOutStream out(chunk);
    EXPECT_TRUE(state->save(plugin, &out.stream));
    return out.bytes;
  }

  bool Load(std::vector<uint8_t> bytes, size_t chunk = 1u << 20)
  {
    ClapInStream in(std::move(bytes), chunk);
    return state->load(p, &in.stream);
  }
};
} // namespace

TEST_F(ClapState, SaveLoadSaveGivesTheSameBytesInAFreshInstance)
{
  Set(0, 31.25);
  Set(1, 1);
  Set(2, -3.5);
  const std::vector<uint8_t> first = Save(p);
  EXPECT_EQ(Save(p), first); // deterministic

  ClapTestHost otherHost;
  ClapInstance fresh(module, otherHost);
  ClapInStream in(first, 3);
  ASSERT_TRUE(state->load(fresh.plugin, &in.stream));
  EXPECT_EQ(Save(fresh.plugin), first);
  double v;
  params->get_value(fresh.plugin, 0, &v);
  EXPECT_EQ(v, 31.25);
}

TEST_F(ClapState, StreamsMovingOneToSevenBytesPerCall)
{
  Set(0, 12.5);
  const std::vector<uint8_t> whole = Save(p);
  for (size_t chunk = 1; chunk <= 7; ++chunk)
  {
    EXPECT_EQ(Save(p, chunk), whole) << chunk;
    Set(0, 1.0);
    ASSERT_TRUE(Load(whole, chunk)) << chunk;
    EXPECT_EQ(Values()[0], 12.5) << chunk;
  }
}

TEST_F(ClapState, EmptyCutOrForeignStreamsAreRefusedAndChangeNothing)
{
  Set(2, 4.0);
  const std::vector<uint8_t> good = Save(p);
  Set(2, -7.0);
  const std::vector<double> before = Values();
  EXPECT_FALSE(Load({}));
  for (size_t n = 1; n < good.size(); ++n)
    EXPECT_FALSE(Load(std::vector<uint8_t>(good.begin(), good.begin() + n), 5)) << "cut to " << n;
  for (size_t i = 0; i < good.size(); ++i)
  {
    std::vector<uint8_t> flipped = good;
    flipped[i] ^= 0x10;
    EXPECT_FALSE(Load(flipped)) << "byte " << i << " changed";
  }
  // The plug-in's bare chunk (what a VST host would hold) is not this stream.
  EXPECT_FALSE(Load(std::vector<uint8_t>(good.begin() + 12, good.end() - 4)));
  EXPECT_EQ(Values(), before);
}

TEST_F(ClapState, RandomBytesAreRefused)
{
  const std::vector<double> before = Values();
  // One seed per iteration: a failure names the seed, which replays it alone.
  for (uint32_t seed = 1; seed <= 200; ++seed)
  {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(random() % 4096);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    if (seed % 2 && bytes.size() >= 4) bytes[0] = 'B', bytes[1] = 'r', bytes[2] = 'C', bytes[3] = 'S';
    EXPECT_FALSE(Load(bytes, 1 + seed % 7)) << "seed " << seed;
  }
  EXPECT_EQ(Values(), before);
}

TEST_F(ClapState, AWriterThatStopsFailsTheSave)
{
  clap_ostream_t stuck{nullptr, [](const clap_ostream_t*, const void*, uint64_t) -> int64_t { return 0; }};
  clap_ostream_t broken{nullptr, [](const clap_ostream_t*, const void*, uint64_t) -> int64_t { return -1; }};
  EXPECT_FALSE(state->save(p, &stuck));
  EXPECT_FALSE(state->save(p, &broken));
}
