// The mono-check view's read-out ports of both plug-ins of the built bundle, loaded by
// lilv: the rate the instance was made with, and the output meter, which gathers only
// while the view port (mono_view) is 1.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Lv2TestHost.h"

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kBlock = 256;

std::vector<float> Sine(double frequency, double rate, uint32_t frames, uint32_t start)
{
  std::vector<float> v(frames);
  for (uint32_t i = 0; i < frames; ++i) v[i] = float(0.5 * std::sin(2.0 * kPi * frequency * double(start + i) / rate));
  return v;
}

// Runs seconds of a sine into every input, block by block, as a host does.
void RunSine(Lv2Plugin& plug, double frequency, double rate, double seconds)
{
  const uint32_t total = uint32_t(seconds * rate);
  for (uint32_t done = 0; done < total; done += kBlock) plug.RunMono(Sine(frequency, rate, kBlock, done));
}
} // namespace

TEST(Lv2Readouts, TheRateIsTheInstancesAndTheMeterReadsOnlyWhileTheViewShows)
{
  // The lagging side is g x(n - D): correlation cos(w D), mono loss
  // 10 log10((1 + g^2 + 2 g cos(w D)) / (2 (1 + g^2))).
  struct Case
  {
    const char* uri;
    double rate;
    float delayMs, wetMixDb, pan;
    double frequency;
  } cases[] = {{"urn:ardelnu:brindlow:stereo", 48000.0, 10.0f, -6.0f, 0.0f, 60.0},
               {"urn:ardelnu:brindlow:mono", 96000.0, 3.3f, 4.0f, 1.0f, 500.0},
               {"urn:ardelnu:brindlow:stereo", 44100.0, 25.0f, 0.0f, 1.0f, 440.0}};
  for (const Case& c : cases)
  {
    SCOPED_TRACE(testing::Message() << c.uri << " at " << c.rate << " Hz, " << c.delayMs << " ms, " << c.wetMixDb
                                    << " dB, " << c.frequency << " Hz");
    Lv2Plugin plug(c.uri, c.rate);
    ASSERT_TRUE(plug.Ok());
    plug.Set("delay", c.delayMs);
    plug.Set("wet_mix", c.wetMixDb);
    plug.Set("pan", c.pan);
    ASSERT_FLOAT_EQ(plug.Get("mono_view"), 0.0f) << "the view port's default";

    RunSine(plug, c.frequency, c.rate, 0.5);
    EXPECT_FLOAT_EQ(plug.Get("sample_rate"), float(c.rate));
    EXPECT_EQ(plug.Get("meter_seconds"), 0.0f) << "no UI shows the view: no reading";
    EXPECT_EQ(plug.Get("correlation"), 0.0f);
    EXPECT_EQ(plug.Get("mono_loss"), 0.0f);

    plug.Set("mono_view", 1.0f);
    RunSine(plug, c.frequency, c.rate, 0.5);
    EXPECT_NEAR(plug.Get("meter_seconds"), 0.3, 0.02);
    const double d = std::trunc(c.rate / 1000.0 * double(c.delayMs));
    const double g = std::pow(10.0, double(c.wetMixDb) / 20.0);
    const double cosine = std::cos(2.0 * kPi * c.frequency * d / c.rate);
    EXPECT_NEAR(plug.Get("correlation"), cosine, 0.02);
    EXPECT_NEAR(plug.Get("mono_loss"), 10.0 * std::log10((1 + g * g + 2 * g * cosine) / (2 * (1 + g * g))), 0.1);

    // Hidden again: the meter forgets, the next run reads nothing.
    plug.Set("mono_view", 0.0f);
    RunSine(plug, c.frequency, c.rate, 0.01);
    EXPECT_EQ(plug.Get("meter_seconds"), 0.0f);
    EXPECT_EQ(plug.Get("correlation"), 0.0f);
    // Shown again, it starts from fresh audio; a view port the host fills with NaN
    // changes nothing.
    plug.Set("mono_view", 1.0f);
    RunSine(plug, c.frequency, c.rate, 0.1);
    EXPECT_GT(plug.Get("meter_seconds"), 0.0f);
    EXPECT_LT(plug.Get("meter_seconds"), 0.15f);
    plug.Set("mono_view", NAN);
    RunSine(plug, c.frequency, c.rate, 0.3);
    EXPECT_GT(plug.Get("meter_seconds"), 0.25f) << "NaN did not switch the meter off";
  }
}
