// The output meter on its own: readings against the closed form for signals of known
// correlation, the chunk window, starting over, the low hold, and a reader racing the
// audio thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "OutputCorrelationMeter.h"

namespace {
constexpr double kRate = 48000.0;
constexpr double kPi = 3.14159265358979323846;

// Feeds left/right through the meter in blocks of |block| frames.
void Feed(OutputCorrelationMeter& meter, const std::vector<double>& left, const std::vector<double>& right, int block)
{
  for (size_t i = 0; i < left.size(); i += size_t(block))
  {
    const int n = int(std::min(left.size() - i, size_t(block)));
    meter.Add(left.data() + i, right.data() + i, n);
  }
}

std::vector<double> Sine(double frequency, double phase, double gain, size_t frames)
{
  std::vector<double> v(frames);
  for (size_t i = 0; i < frames; ++i) v[i] = gain * std::sin(2.0 * kPi * frequency * double(i) / kRate + phase);
  return v;
}
}  // namespace

TEST(OutputCorrelationMeter, SinesReadTheirPhaseAndLevelDifference)
{
  // L = sin(wt), R = g sin(wt - phi): correlation cos(phi), and the mono sum loses
  // 10 log10((1 + g^2 + 2 g cos phi) / (2 (1 + g^2))) against the sides' mean.
  for (double phi : {0.0, 0.7, kPi / 2, 2.4, kPi})
    for (double g : {1.0, 0.3, 2.5})
    {
      SCOPED_TRACE(testing::Message() << "phi " << phi << " g " << g);
      OutputCorrelationMeter meter;
      meter.SetSampleRate(kRate);
      meter.SetActive(true);
      Feed(meter, Sine(441.0, 0.0, 1.0, 48000), Sine(441.0, -phi, g, 48000), 300);
      const CorrelationReading r = meter.Read(0.3);
      ASSERT_TRUE(r.valid);
      EXPECT_NEAR(r.seconds, 0.3, 0.01);
      EXPECT_NEAR(r.correlation, std::cos(phi), 0.01);
      const double expected = 10.0 * std::log10((1 + g * g + 2 * g * std::cos(phi)) / (2 * (1 + g * g)));
      EXPECT_NEAR(r.monoLossDb, std::max(expected, OutputCorrelationMeter::kFloorDb), 0.05);
    }
}

TEST(OutputCorrelationMeter, ReadsOnlyTheNewestWindowAndNothingWhileOffOrSilent)
{
  OutputCorrelationMeter meter;
  meter.SetSampleRate(kRate);
  const std::vector<double> a = Sine(300.0, 0.0, 1.0, 24000);
  std::vector<double> minusA(a);
  for (double& x : minusA) x = -x;
  Feed(meter, a, a, 256);
  EXPECT_FALSE(meter.Read(0.3).valid) << "off: nothing is gathered";

  meter.SetActive(true);
  std::vector<double> silence(24000, 0.0);
  Feed(meter, silence, silence, 256);
  EXPECT_FALSE(meter.Read(0.3).valid) << "silence has no correlation";

  // Half a second in phase, then half a second opposed: a 300 ms window sees only the latter.
  Feed(meter, a, a, 256);
  EXPECT_NEAR(meter.Read(0.3).correlation, 1.0, 1e-6);
  Feed(meter, a, minusA, 256);
  EXPECT_NEAR(meter.Read(0.3).correlation, -1.0, 1e-6);
  EXPECT_EQ(meter.Read(0.3).monoLossDb, OutputCorrelationMeter::kFloorDb);

  // Off and on again: what came before is forgotten, also a chunk half gathered.
  Feed(meter, a, a, 100);
  meter.SetActive(false);
  meter.SetActive(true);
  EXPECT_FALSE(meter.Read(0.3).valid);
  Feed(meter, a, minusA, 128);
  EXPECT_NEAR(meter.Read(0.3).correlation, -1.0, 1e-6);
}

TEST(OutputCorrelationMeter, StaysFiniteWhateverTheHostSends)
{
  OutputCorrelationMeter meter;
  meter.SetSampleRate(std::nan(""));  // keeps a chunk length of its own
  meter.SetActive(true);
  std::vector<double> a = Sine(100.0, 0.0, 1.0, 4800);
  std::vector<double> b(a);
  b[17] = std::nan("");
  b[900] = INFINITY;
  Feed(meter, a, b, 64);
  meter.Add(nullptr, a.data(), 64);
  meter.Add(a.data(), a.data(), -5);
  const CorrelationReading r = meter.Read(10.0);
  ASSERT_TRUE(r.valid);
  EXPECT_TRUE(std::isfinite(r.correlation));
  EXPECT_TRUE(std::isfinite(r.monoLossDb));
  std::vector<float> f(4800, 0.25f);
  meter.Add(f.data(), f.data(), 4800);
  EXPECT_TRUE(std::isfinite(meter.Read(0.3).correlation));
}

TEST(OutputCorrelationMeter, AReaderRacingTheAudioThreadSeesOnlyWholeChunks)
{
  // The writer alternates whole chunks of correlation +1 and -1 at full level: any
  // reading made of whole chunks is a mean of the two, so a torn chunk would show as a
  // correlation outside [-1, 1] or a mono loss above 0 dB.
  OutputCorrelationMeter meter;
  meter.SetSampleRate(kRate);
  meter.SetActive(true);
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread writer([&] {
    std::vector<float> a(480, 0.5f), b(480, -0.5f);
    // Far faster than real time (a chunk every 10 ms), yet slow enough that the reader is
    // not lapped round the whole ring while it reads.
    for (int i = 0; !stop.load(); ++i, ++blocks)
    {
      meter.Add(a.data(), (i & 1) ? b.data() : a.data(), 480);
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  });
  int readings = 0;
  while (blocks.load() < 2000)
  {
    const CorrelationReading r = meter.Read(0.05);
    if (!r.valid) continue;
    ++readings;
    ASSERT_GE(r.correlation, -1.0);
    ASSERT_LE(r.correlation, 1.0);
    ASSERT_LE(r.monoLossDb, 1e-9);
  }
  stop = true;
  writer.join();
  EXPECT_GT(readings, 0);
}

TEST(CorrelationLowHold, HoldsTheLowestOfTheLastThreeSeconds)
{
  CorrelationLowHold hold;
  EXPECT_DOUBLE_EQ(hold.Update(0.0, 0.8), 0.8);
  EXPECT_DOUBLE_EQ(hold.Update(0.5, -0.4), -0.4);
  EXPECT_DOUBLE_EQ(hold.Update(1.0, 0.9), -0.4);
  EXPECT_DOUBLE_EQ(hold.Update(3.4, 0.9), -0.4) << "still within three seconds";
  EXPECT_DOUBLE_EQ(hold.Update(3.7, 0.9), 0.9) << "the low has passed";
  // Readings at the editor's frame rate over a long run keep the window right.
  double t = 4.0;
  for (int i = 0; i < 3000; ++i, t += 1.0 / 30) hold.Update(t, 0.5 + 0.4 * std::sin(t));
  double lowest = 1.0;
  for (double s = t - 2.9; s < t; s += 0.01) lowest = std::min(lowest, 0.5 + 0.4 * std::sin(s));
  EXPECT_NEAR(hold.Update(t, 0.9), lowest, 0.02);
  EXPECT_DOUBLE_EQ(hold.Update(t + 0.01, NAN), hold.Value()) << "a missing reading changes nothing";
}
