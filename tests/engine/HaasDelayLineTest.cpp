#include "HaasDelayLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace
{
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The frame-by-frame loop the engine has to reproduce exactly.
struct ReferenceLine
{
  std::vector<double> buffer;
  int32_t writeIndex = 0;
  int32_t delay = 0;

  ReferenceLine(int32_t length, int32_t delaySamples) : buffer(static_cast<size_t>(length), 0.0), delay(delaySamples) {}

  void Process(const double* in, double* lead, double* lag, int32_t frames, double gain)
  {
    const int32_t length = static_cast<int32_t>(buffer.size());
    for (int32_t i = 0; i < frames; ++i) {
      const double x = in[i];
      if (--writeIndex < 0) writeIndex = length - 1;
      buffer[static_cast<size_t>(writeIndex)] = x;
      lead[i] = x;
      int32_t readIndex = writeIndex + delay;
      if (readIndex >= length) readIndex -= length;
      lag[i] = buffer[static_cast<size_t>(readIndex)] * gain;
    }
  }
};

std::vector<double> RandomSignal(std::mt19937& rng, size_t n)
{
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> v(n);
  for (double& x : v) x = dist(rng);
  return v;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b)
{
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

double GainFromDecibels(double dB)
{
  return std::exp(dB * 0.1151292546497);
}
} // namespace

TEST(HaasDelayLine, LengthAndDelayFollowTheSampleRate)
{
  HaasDelayLine line;
  ASSERT_TRUE(line.Rebuild(44100.0, 20.0));
  EXPECT_EQ(line.Length(), 1766);
  EXPECT_EQ(line.DelaySamples(), 882);
  EXPECT_EQ(line.WriteIndex(), 0);

  line.SetDelay(44100.0, 1.0);
  EXPECT_EQ(line.DelaySamples(), 44); // 44.1 truncated

  ASSERT_TRUE(line.Rebuild(48000.0, 40.0));
  EXPECT_EQ(line.Length(), 1922);
  EXPECT_EQ(line.DelaySamples(), 1920);

  ASSERT_TRUE(line.Rebuild(96000.0, 40.0));
  EXPECT_EQ(line.Length(), 3842);
  EXPECT_EQ(line.DelaySamples(), 3840);
  ASSERT_TRUE(line.Rebuild(44100.0, 40.0));
  EXPECT_EQ(line.Length(), 1766);
  EXPECT_EQ(line.DelaySamples(), 1764);
}

TEST(HaasDelayLine, StartsWithDelayOfOneAndNoBuffer)
{
  HaasDelayLine line;
  EXPECT_FALSE(line.HasBuffer());
  EXPECT_EQ(line.DelaySamples(), 1);
  EXPECT_EQ(line.Length(), 0);
}

TEST(HaasDelayLine, ImpulseComesOutDelayedAndScaled)
{
  HaasDelayLine line;
  ASSERT_TRUE(line.Rebuild(44100.0, 20.0));
  const int32_t frames = 2000;
  std::vector<double> in(frames, 0.0), lead(frames, -7.0), lag(frames, -7.0);
  in[0] = 1.0;
  const double gain = GainFromDecibels(-4.1);
  EXPECT_NEAR(gain, 0.623735, 5e-7);
  line.Process(in.data(), lead.data(), lag.data(), frames, gain);
  EXPECT_TRUE(SameBits(lead, in));
  for (int32_t i = 0; i < frames; ++i)
    ASSERT_EQ(lag[static_cast<size_t>(i)], i == 882 ? gain : 0.0) << "frame " << i;
}

TEST(HaasDelayLine, RebuildEmptiesTheLine)
{
  HaasDelayLine line;
  ASSERT_TRUE(line.Rebuild(1000.0, 5.0)); // delay 5, length 42
  std::vector<double> ones(30, 1.0), lead(30), lag(30);
  line.Process(ones.data(), lead.data(), lag.data(), 30, 1.0);
  EXPECT_EQ(lag[29], 1.0);
  ASSERT_TRUE(line.Rebuild(1000.0, 5.0));
  std::vector<double> zeros(30, 0.0);
  line.Process(zeros.data(), lead.data(), lag.data(), 30, 1.0);
  for (double x : lag) EXPECT_EQ(x, 0.0);
}

// Random data, rates, delays and block lengths (1, odd, longer than the buffer),
// with delay changes between blocks: the engine gives the reference loop's bits.
TEST(HaasDelayLine, MatchesTheFrameLoopBitForBit)
{
  std::mt19937 rng(20261207);
  const double rates[] = {1000.0, 8000.0, 22050.0, 44100.0, 48000.0, 96000.0, 192000.0, 50.0};
  for (int trial = 0; trial < 60; ++trial) {
    const double rate = rates[static_cast<size_t>(trial) % std::size(rates)];
    const double ms = std::uniform_real_distribution<double>(0.0, 40.0)(rng);
    HaasDelayLine line;
    ASSERT_TRUE(line.Rebuild(rate, ms));
    ReferenceLine ref(line.Length(), static_cast<int32_t>(std::trunc(rate / 1000.0 * ms)));
    ASSERT_EQ(line.DelaySamples(), ref.delay);

    const double gain = GainFromDecibels(std::uniform_real_distribution<double>(-10.0, 10.0)(rng));
    const size_t total = 3 * static_cast<size_t>(line.Length()) + 777;
    const std::vector<double> in = RandomSignal(rng, total);
    std::vector<double> lead(total), lag(total), refLead(total), refLag(total);

    size_t pos = 0;
    while (pos < total) {
      const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
      size_t n = kind == 0 ? 1 : kind < 7 ? std::uniform_int_distribution<size_t>(2, 67)(rng)
                                          : std::uniform_int_distribution<size_t>(1, 2 * static_cast<size_t>(line.Length()))(rng);
      n = std::min(n, total - pos);
      if (kind == 9) { // a delay change between blocks, as the delay handler makes
        const double newMs = std::uniform_real_distribution<double>(0.0, 40.0)(rng);
        line.SetDelay(rate, newMs);
        ref.delay = static_cast<int32_t>(std::trunc(rate / 1000.0 * newMs));
        ASSERT_EQ(line.DelaySamples(), ref.delay);
      }
      line.Process(&in[pos], &lead[pos], &lag[pos], static_cast<int32_t>(n), gain);
      ref.Process(&in[pos], &refLead[pos], &refLag[pos], static_cast<int32_t>(n), gain);
      ASSERT_EQ(line.WriteIndex(), ref.writeIndex);
      pos += n;
    }
    ASSERT_TRUE(SameBits(lead, refLead)) << "trial " << trial;
    ASSERT_TRUE(SameBits(lag, refLag)) << "trial " << trial << " rate " << rate << " ms " << ms;
  }
}

TEST(HaasDelayLine, ExtremeDelaysMatchTheFrameLoop)
{
  // Delay 0 reads the sample just written; the longest delay reads the oldest slot.
  std::mt19937 rng(7);
  for (double ms : {0.0, 40.0}) {
    HaasDelayLine line;
    ASSERT_TRUE(line.Rebuild(44100.0, ms));
    ReferenceLine ref(line.Length(), line.DelaySamples());
    const std::vector<double> in = RandomSignal(rng, 5000);
    std::vector<double> lead(5000), lag(5000), refLead(5000), refLag(5000);
    for (size_t pos = 0; pos < in.size(); pos += 1000) {
      line.Process(&in[pos], &lead[pos], &lag[pos], 1000, 0.5);
      ref.Process(&in[pos], &refLead[pos], &refLag[pos], 1000, 0.5);
    }
    EXPECT_TRUE(SameBits(lag, refLag)) << ms;
    EXPECT_TRUE(SameBits(lead, refLead)) << ms;
  }
}

TEST(HaasDelayLine, InputMayShareMemoryWithEitherOutput)
{
  std::mt19937 rng(99);
  const std::vector<double> in = RandomSignal(rng, 4000);
  HaasDelayLine separate;
  ASSERT_TRUE(separate.Rebuild(48000.0, 13.7));
  std::vector<double> lead(in.size()), lag(in.size());
  separate.Process(in.data(), lead.data(), lag.data(), 4000, 1.7);

  HaasDelayLine inPlaceLead;
  ASSERT_TRUE(inPlaceLead.Rebuild(48000.0, 13.7));
  std::vector<double> shared = in, lag2(in.size());
  for (size_t pos = 0; pos < shared.size(); pos += 500)
    inPlaceLead.Process(&shared[pos], &shared[pos], &lag2[pos], 500, 1.7);
  EXPECT_TRUE(SameBits(shared, lead));
  EXPECT_TRUE(SameBits(lag2, lag));

  HaasDelayLine inPlaceLag;
  ASSERT_TRUE(inPlaceLag.Rebuild(48000.0, 13.7));
  std::vector<double> shared2 = in, lead3(in.size());
  for (size_t pos = 0; pos < shared2.size(); pos += 333)
    inPlaceLag.Process(&shared2[pos], &lead3[pos], &shared2[pos], static_cast<int32_t>(std::min<size_t>(333, in.size() - pos)), 1.7);
  EXPECT_TRUE(SameBits(lead3, lead));
  EXPECT_TRUE(SameBits(shared2, lag));
}

TEST(HaasDelayLine, UnusableSampleRatesLeaveNoBufferAndPassTheInputThrough)
{
  for (double rate : {0.0, -44100.0, kNaN, kInf, -kInf, 10000000.0, 1e300}) {
    HaasDelayLine line;
    ASSERT_TRUE(line.Rebuild(44100.0, 20.0));
    EXPECT_FALSE(line.Rebuild(rate, 20.0)) << rate;
    EXPECT_FALSE(line.HasBuffer());
    EXPECT_EQ(line.Length(), 0);
    EXPECT_EQ(line.DelaySamples(), 0);

    std::vector<double> in = {0.5, -0.25, 1.0}, lead(3, 9.0), lag(3, 9.0);
    line.Process(in.data(), lead.data(), lag.data(), 3, 1.0);
    EXPECT_EQ(lead, in);
    EXPECT_EQ(lag, std::vector<double>(3, 0.0));

    // In place as well: the input is passed on before the lagging side is cleared.
    std::vector<double> shared = in, lag2(3, 9.0);
    line.Process(shared.data(), shared.data(), lag2.data(), 3, 1.0);
    EXPECT_EQ(shared, in);
    EXPECT_EQ(lag2, std::vector<double>(3, 0.0));
  }
  HaasDelayLine justBelow;
  EXPECT_TRUE(justBelow.Rebuild(9999999.0, 40.0));
  EXPECT_EQ(justBelow.Length(), 399999 + 2);
}

TEST(HaasDelayLine, ProcessingBeforeAnyRebuildIsSafe)
{
  HaasDelayLine line;
  line.SetDelay(44100.0, 20.0);
  std::vector<double> in = {1.0, 2.0}, lead(2), lag(2, 5.0);
  line.Process(in.data(), lead.data(), lag.data(), 2, 1.0);
  EXPECT_EQ(lead, in);
  EXPECT_EQ(lag, std::vector<double>(2, 0.0));
}

TEST(HaasDelayLine, DelayStaysWithinTheBufferWhateverArrives)
{
  HaasDelayLine line;
  ASSERT_TRUE(line.Rebuild(44100.0, 20.0));
  line.SetDelay(44100.0, 55.0);
  EXPECT_EQ(line.DelaySamples(), line.Length() - 2);
  line.SetDelay(44100.0, kInf);
  EXPECT_EQ(line.DelaySamples(), line.Length() - 2);
  line.SetDelay(44100.0, -3.0);
  EXPECT_EQ(line.DelaySamples(), 0);
  line.SetDelay(44100.0, -kInf);
  EXPECT_EQ(line.DelaySamples(), 0);
  line.SetDelay(44100.0, 10.0);
  ASSERT_EQ(line.DelaySamples(), 441);
  line.SetDelay(44100.0, kNaN); // ignored
  EXPECT_EQ(line.DelaySamples(), 441);
  line.SetDelay(kNaN, 10.0);
  EXPECT_EQ(line.DelaySamples(), 441);
  line.SetDelay(1e12, 10.0); // a rate the buffer was not built for
  EXPECT_EQ(line.DelaySamples(), line.Length() - 2);

  ASSERT_TRUE(line.Rebuild(44100.0, kNaN));
  EXPECT_LE(line.DelaySamples(), line.Length() - 2);
  EXPECT_GE(line.DelaySamples(), 0);

  // A clamped delay still processes safely: an impulse comes out at the longest delay.
  ASSERT_TRUE(line.Rebuild(1000.0, 1000.0)); // length 42, delay clamped to 40
  EXPECT_EQ(line.DelaySamples(), 40);
  std::vector<double> in(100, 0.0), lead(100), lag(100);
  in[3] = 1.0;
  line.Process(in.data(), lead.data(), lag.data(), 100, 2.0);
  for (size_t i = 0; i < lag.size(); ++i) ASSERT_EQ(lag[i], i == 43 ? 2.0 : 0.0) << i;
}

TEST(HaasDelayLine, TinyRatesAndUnusableMaximums)
{
  HaasDelayLine line;
  ASSERT_TRUE(line.Rebuild(1.0, 20.0)); // less than one sample of delay fits
  EXPECT_EQ(line.Length(), 2);
  EXPECT_EQ(line.DelaySamples(), 0);
  std::vector<double> in = {1.0, 2.0, 3.0}, lead(3), lag(3);
  line.Process(in.data(), lead.data(), lag.data(), 3, 1.0);
  EXPECT_EQ(lag, in);

  EXPECT_FALSE(line.Rebuild(44100.0, 20.0, kNaN));
  EXPECT_FALSE(line.Rebuild(44100.0, 20.0, -1.0));
  EXPECT_FALSE(line.Rebuild(44100.0, 20.0, kInf));
  // A byte count past 32 bits is refused rather than allocated.
  EXPECT_FALSE(line.Rebuild(9000000.0, 20.0, 1000000.0));
  EXPECT_EQ(HaasDelayLine::LengthFor(9000000.0, 1000000.0), 0);
  EXPECT_EQ(HaasDelayLine::LengthFor(44100.0, 40.0), 1766);
  EXPECT_EQ(HaasDelayLine::LengthFor(1000.0, 40.0), 42);
}

TEST(HaasDelayLine, IgnoresEmptyBlocksAndMissingBuffers)
{
  HaasDelayLine line;
  ASSERT_TRUE(line.Rebuild(44100.0, 20.0));
  double x = 1.0, y = 3.0, z = 4.0;
  line.Process(&x, &y, &z, 0, 1.0);
  line.Process(&x, &y, &z, -5, 1.0);
  line.Process(nullptr, &y, &z, 1, 1.0);
  line.Process(&x, nullptr, &z, 1, 1.0);
  line.Process(&x, &y, nullptr, 1, 1.0);
  EXPECT_EQ(y, 3.0);
  EXPECT_EQ(z, 4.0);
  EXPECT_EQ(line.WriteIndex(), 0);
}
