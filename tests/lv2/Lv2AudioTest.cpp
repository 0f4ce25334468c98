// Audio through both plug-ins of the built bundle, loaded by lilv: the Haas output for
// port values, presets, state, hostile port values and blocks of any length.
#include <gtest/gtest.h>

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>
#include <lv2/presets/presets.h>

#include <cmath>
#include <limits>
#include <random>

#include "KyvBrindlow.h"
#include "Lv2TestHost.h"
#include "RandomSeeds.h"

namespace
{
constexpr const char* kMono = "urn:ardelnu:brindlow:mono";
constexpr const char* kStereo = "urn:ardelnu:brindlow:stereo";
constexpr int kFrames = 4000;

struct Settings
{
  float delayMs;
  float pan; // 0 left leads, 1 right leads
  float wetMixDb;
};

void Apply(Lv2Plugin& plug, const Settings& s)
{
  plug.Set("delay", s.delayMs);
  plug.Set("pan", s.pan);
  plug.Set("wet_mix", s.wetMixDb);
}

// The leading side is the input unchanged; the lagging side the input delayed by
// trunc(ms * rate / 1000) samples and scaled by 10^(dB / 20).
void ExpectHaas(const std::vector<std::vector<float>>& out, const std::vector<float>& in, double rate,
                const Settings& s, const std::string& what)
{
  ASSERT_EQ(out.size(), 2u) << what;
  const bool rightLeads = s.pan >= 0.5f;
  const std::vector<float>& lead = out[rightLeads ? 1 : 0];
  const std::vector<float>& lag = out[rightLeads ? 0 : 1];
  const int delay = DelaySamples(rate, s.delayMs);
  const double gain = std::pow(10.0, double(s.wetMixDb) / 20.0);
  for (size_t i = 0; i < in.size(); ++i)
  {
    ASSERT_EQ(lead[i], in[i]) << what << ", leading side at " << i;
    const double expected = int(i) >= delay ? in[i - delay] * gain : 0.0;
    ASSERT_NEAR(lag[i], expected, 1e-6 * std::fmax(1.0, std::fabs(expected))) << what << ", lagging side at " << i;
  }
}

// The signal the plug-in reads on the leading side's input; the other input carries a
// constant that must never reach the output.
std::vector<std::vector<float>> Inputs(const Lv2Plugin& plug, const std::vector<float>& signal, const Settings& s)
{
  if (plug.Inputs() == 1) return {signal};
  std::vector<float> other(signal.size(), 0.25f);
  return s.pan >= 0.5f ? std::vector<std::vector<float>>{other, signal}
                       : std::vector<std::vector<float>>{signal, other};
}

std::string Describe(const char* uri, double rate, const Settings& s)
{
  return std::string(uri) + " at " + std::to_string(int(rate)) + " Hz, " + std::to_string(s.delayMs) + " ms, pan " +
         std::to_string(int(s.pan)) + ", " + std::to_string(s.wetMixDb) + " dB";
}
} // namespace

TEST(Lv2Audio, AnImpulseThroughBothPluginsAtBothRates)
{
  const Settings settings[] = {{20.0f, 0, 0.0f}, {40.0f, 1, -4.1f}, {1.0f, 0, 10.0f}, {33.3f, 1, -10.0f}};
  for (const char* uri : {kMono, kStereo})
  {
    for (double rate : {44100.0, 48000.0})
    {
      for (const Settings& s : settings)
      {
        Lv2Plugin plug(uri, rate);
        ASSERT_TRUE(plug.Ok()) << uri;
        Apply(plug, s);
        const std::vector<float> impulse = Impulse(kFrames);
        ExpectHaas(plug.Run(Inputs(plug, impulse, s)), impulse, rate, s, Describe(uri, rate, s));
      }
    }
  }
}

namespace
{
struct PresetTarget
{
  Lv2Plugin* plug;
  UridMap* urids;
};

void SetPortValue(const char* symbol, void* userData, const void* value, uint32_t size, uint32_t type)
{
  auto* target = static_cast<PresetTarget*>(userData);
  float v = NAN;
  if (type == target->urids->Map(LV2_ATOM__Float) && size == sizeof(float))
    v = *static_cast<const float*>(value);
  else if (type == target->urids->Map(LV2_ATOM__Double) && size == sizeof(double))
    v = float(*static_cast<const double*>(value));
  else if (type == target->urids->Map(LV2_ATOM__Int) && size == sizeof(int32_t))
    v = float(*static_cast<const int32_t*>(value));
  target->plug->Set(symbol, v);
}
} // namespace

TEST(Lv2Presets, EveryFactoryProgramLoadsIntoBothPlugins)
{
  Lv2World& world = Lv2World::Get();
  IPlugBase programs(KyvBrindlowInfo());
  const LilvNode* presetClass = world.Node(LV2_PRESETS__Preset);
  for (const char* uri : {kMono, kStereo})
  {
    Lv2Plugin plug(uri, 48000.0);
    ASSERT_TRUE(plug.Ok()) << uri;
    LilvNodes* presets = lilv_plugin_get_related(plug.Plugin(), presetClass);
    ASSERT_EQ(lilv_nodes_size(presets), 13u) << uri << ": the factory programs, no user slots";
    int found = 0;
    bool vocalDoubler = false;
    LILV_FOREACH(nodes, it, presets)
    {
      const LilvNode* preset = lilv_nodes_get(presets, it);
      ASSERT_GE(lilv_world_load_resource(world.World(), preset), 0) << lilv_node_as_uri(preset);
      LilvState* state = lilv_state_new_from_world(world.World(), world.Urids().MapFeatureData(), preset);
      ASSERT_NE(state, nullptr) << lilv_node_as_uri(preset);
      const std::string label = lilv_state_get_label(state) ? lilv_state_get_label(state) : "";
      int program = -1;
      for (int p = 0; p < programs.PresetCount(); ++p)
        if (label == programs.PresetName(p)) program = p;
      ASSERT_GE(program, 0) << "preset \"" << label << "\" is no program";
      ASSERT_LT(program, 13) << label;

      plug.Set("delay", -1.0f); // the preset must set every port
      plug.Set("pan", -1.0f);
      plug.Set("wet_mix", -100.0f);
      PresetTarget target{&plug, &world.Urids()};
      lilv_state_restore(state, plug.Instance(), &SetPortValue, &target, 0, world.Urids().Features());
      lilv_state_free(state);

      programs.RecallPreset(program);
      const Settings expected{float(programs.ParameterAt(KyvBrindlow::kDelay)->Value()),
                              float(programs.ParameterAt(KyvBrindlow::kPan)->Value()),
                              float(programs.ParameterAt(KyvBrindlow::kWetMix)->Value())};
      EXPECT_EQ(plug.Get("delay"), expected.delayMs) << label;
      EXPECT_EQ(plug.Get("pan"), expected.pan) << label;
      EXPECT_EQ(plug.Get("wet_mix"), expected.wetMixDb) << label;
      if (label == "Vocal Doubler")
      {
        vocalDoubler = true;
        EXPECT_EQ(plug.Get("delay"), 40.0f);
        EXPECT_EQ(plug.Get("pan"), 0.0f);
        EXPECT_EQ(plug.Get("wet_mix"), -4.1f);
      }
      plug.RunMono(std::vector<float>(2000, 0.0f)); // the delay line forgets the last preset's impulse
      const std::vector<float> impulse = Impulse(kFrames);
      ExpectHaas(plug.Run(Inputs(plug, impulse, expected)), impulse, 48000.0, expected, std::string(uri) + " " + label);
      ++found;
    }
    lilv_nodes_free(presets);
    EXPECT_EQ(found, 13);
    EXPECT_TRUE(vocalDoubler) << uri;
  }
}

TEST(Lv2State, SaveChangeRestoreGivesTheSavedSound)
{
  for (const char* uri : {kMono, kStereo})
  {
    const Settings saved{33.0f, 1, -3.0f};
    const Settings changed{5.0f, 0, 2.0f};
    Lv2Plugin plug(uri, 44100.0);
    ASSERT_TRUE(plug.Ok());
    Apply(plug, saved);
    plug.RunMono(std::vector<float>(64, 0.0f));
    std::vector<uint8_t> state;
    uint32_t type = 0;
    ASSERT_EQ(plug.Save(state, type), LV2_STATE_SUCCESS) << uri;
    EXPECT_EQ(type, Lv2World::Get().Urids().Map(LV2_ATOM__Chunk));

    Apply(plug, changed);
    plug.RunMono(std::vector<float>(3000, 0.0f));
    // A host restores the state and the port values it saved with it, as lilv does.
    ASSERT_EQ(plug.Restore(state, type), LV2_STATE_SUCCESS) << uri;
    Apply(plug, saved);
    const std::vector<float> impulse = Impulse(kFrames);
    ExpectHaas(plug.Run(Inputs(plug, impulse, saved)), impulse, 44100.0, saved, std::string(uri) + " restored");

    // The ports describe the instance with the state: after a restore they apply again,
    // even when they did not change since the last run.
    Apply(plug, changed);
    plug.RunMono(std::vector<float>(3000, 0.0f));
    ASSERT_EQ(plug.Restore(state, type), LV2_STATE_SUCCESS) << uri;
    plug.RunMono(std::vector<float>(3000, 0.0f));
    ExpectHaas(plug.Run(Inputs(plug, impulse, changed)), impulse, 44100.0, changed, std::string(uri) + " ports win");
  }
}

TEST(Lv2State, AValueOfAnotherTypeOrSizeIsRefusedAndTheStateKept)
{
  const Settings kept{12.0f, 0, 4.0f};
  Lv2Plugin plug(kStereo, 44100.0);
  ASSERT_TRUE(plug.Ok());
  std::vector<uint8_t> state;
  uint32_t type = 0;
  Apply(plug, {30.0f, 1, -2.0f});
  plug.RunMono(std::vector<float>(16, 0.0f));
  ASSERT_EQ(plug.Save(state, type), LV2_STATE_SUCCESS);
  Apply(plug, kept);
  plug.RunMono(std::vector<float>(16, 0.0f));

  const uint32_t other = Lv2World::Get().Urids().Map(LV2_ATOM__String);
  EXPECT_EQ(plug.Restore(state, other), LV2_STATE_ERR_BAD_TYPE) << "another type";
  std::vector<uint8_t> cut(state.begin(), state.end() - 1);
  EXPECT_EQ(plug.Restore(cut, type), LV2_STATE_ERR_BAD_TYPE) << "one byte short";
  std::vector<uint8_t> header(state.begin(), state.begin() + std::min<size_t>(8, state.size()));
  EXPECT_EQ(plug.Restore(header, type), LV2_STATE_ERR_BAD_TYPE) << "the header only";
  EXPECT_EQ(plug.Restore({}, type), LV2_STATE_ERR_BAD_TYPE) << "empty";
  std::vector<uint8_t> garbage(state.size(), 0x01);
  EXPECT_EQ(plug.Restore(garbage, type), LV2_STATE_ERR_BAD_TYPE) << "garbage of the right size";
  std::vector<uint8_t> headerless(state.begin() + 8, state.end());
  EXPECT_EQ(plug.Restore(headerless, type), LV2_STATE_ERR_BAD_TYPE) << "the values without the header";

  plug.RunMono(std::vector<float>(3000, 0.0f));
  const std::vector<float> impulse = Impulse(kFrames);
  ExpectHaas(plug.Run(Inputs(plug, impulse, kept)), impulse, 44100.0, kept, "after refused states");
}

TEST(Lv2Ports, HostileValuesAreClampedOrIgnoredAndTheAudioStaysFinite)
{
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case
  {
    const char* symbol;
    float value;
    Settings expected; // after starting from {10 ms, Left, -2 dB}
  };
  const Case cases[] = {
    {"delay", nan, {10.0f, 0, -2.0f}},       {"delay", inf, {10.0f, 0, -2.0f}},
    {"delay", -inf, {10.0f, 0, -2.0f}},      {"delay", 1e30f, {40.0f, 0, -2.0f}},
    {"delay", -1e30f, {1.0f, 0, -2.0f}},     {"pan", nan, {10.0f, 0, -2.0f}},
    {"pan", 7.0f, {10.0f, 1, -2.0f}},        {"pan", -3.0f, {10.0f, 0, -2.0f}},
    {"wet_mix", inf, {10.0f, 0, -2.0f}},     {"wet_mix", 1e30f, {10.0f, 0, 10.0f}},
    {"wet_mix", -1e30f, {10.0f, 0, -10.0f}}, {"wet_mix", nan, {10.0f, 0, -2.0f}},
  };
  for (const char* uri : {kMono, kStereo})
  {
    for (const Case& c : cases)
    {
      Lv2Plugin plug(uri, 48000.0);
      ASSERT_TRUE(plug.Ok());
      Apply(plug, {10.0f, 0, -2.0f});
      plug.RunMono(std::vector<float>(16, 0.0f));
      plug.Set(c.symbol, c.value);
      // A few runs with the value standing, and one to empty the delay line.
      for (int i = 0; i < 3; ++i) plug.RunMono(std::vector<float>(700, 0.0f));
      const std::vector<float> impulse = Impulse(kFrames);
      const std::string what = std::string(uri) + " " + c.symbol + " = " + std::to_string(c.value);
      const auto out = plug.Run(Inputs(plug, impulse, c.expected));
      for (const auto& channel : out)
        for (float sample : channel) ASSERT_TRUE(std::isfinite(sample)) << what;
      ExpectHaas(out, impulse, 48000.0, c.expected, what);
    }
  }
}

TEST(Lv2Ports, BlocksOfRandomLengthGiveTheSamplesOfOneBlock)
{
  constexpr int kIterations = 8;
  for (int iteration = 0; iteration < kIterations; ++iteration)
  {
    const uint32_t seed = test_random::IterationSeed(0x4C563201u, iteration);
    if (!test_random::Selected(seed)) continue;
    SCOPED_TRACE(test_random::ReplayHint(seed, "lv2_tests", "Lv2Ports.BlocksOfRandomLengthGiveTheSamplesOfOneBlock"));
    std::mt19937 random(seed);
    const char* uri = random() % 2 ? kStereo : kMono;
    const double rate = random() % 2 ? 44100.0 : 48000.0;
    const Settings s{1.0f + float(random() % 39000) / 1000.0f, float(random() % 2), float(int(random() % 201) - 100) / 10.0f};
    const int frames = 20000;
    std::vector<std::vector<float>> input(2, std::vector<float>(frames));
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    for (auto& channel : input)
      for (float& x : channel) x = sample(random);

    Lv2Plugin whole(uri, rate);
    Lv2Plugin pieces(uri, rate);
    ASSERT_TRUE(whole.Ok() && pieces.Ok());
    Apply(whole, s);
    Apply(pieces, s);
    input.resize(size_t(whole.Inputs()));
    const auto expected = whole.Run(input);
    std::vector<std::vector<float>> got(2);
    for (int done = 0; done < frames;)
    {
      // Empty runs, short ones and ones longer than the block size the plug-in chose.
      const int n = std::min(frames - done, int(random() % 6) == 0 ? 0 : int(random() % 9000));
      if (test_random::Verbose()) std::printf("run of %d frames at %d\n", n, done);
      std::vector<std::vector<float>> part;
      for (const auto& channel : input) part.emplace_back(channel.begin() + done, channel.begin() + done + n);
      const auto out = pieces.Run(part);
      for (int c = 0; c < 2; ++c) got[c].insert(got[c].end(), out[c].begin(), out[c].end());
      done += n;
    }
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < frames; ++i) ASSERT_EQ(got[c][i], expected[c][i]) << "channel " << c << " frame " << i;
  }
}

TEST(Lv2Ports, TheHostsMaximumBlockLengthIsTakenAndLongerRunsStillWork)
{
  UridMap& urids = Lv2World::Get().Urids();
  const int32_t maxBlock = 64;
  LV2_Options_Option options[] = {
    {LV2_OPTIONS_INSTANCE, 0, urids.Map(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t), urids.Map(LV2_ATOM__Int),
     &maxBlock},
    {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr},
  };
  const LV2_Feature optionsFeature = {LV2_OPTIONS__options, options};
  const LV2_Feature* features[] = {urids.Features()[0], &optionsFeature, nullptr};
  const Settings s{40.0f, 1, -4.1f};
  Lv2Plugin plug(kStereo, 48000.0, features);
  ASSERT_TRUE(plug.Ok());
  Apply(plug, s);
  const std::vector<float> impulse = Impulse(kFrames); // 4000 frames: 63 blocks of 64 and a part
  ExpectHaas(plug.Run(Inputs(plug, impulse, s)), impulse, 48000.0, s, "blocks of at most 64 frames");
}
