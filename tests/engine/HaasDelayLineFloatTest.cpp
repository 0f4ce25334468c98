// The 32-bit processing of the delay line against the 64-bit route it replaces:
// widen the input, Process(), narrow both outputs. Every comparison is bit for bit.
#include "HaasDelayLine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#define BRINDLOW_TEST_MXCSR 1
#endif

namespace
{
constexpr double kRate = 44100.0;

// What the plug-in did before it had a 32-bit route: a 64-bit delay line fed the
// widened input, its outputs narrowed. Each step goes through memory, as there.
struct WidenedReference
{
  HaasDelayLine line;

  void Process(const float* in, float* lead, float* lag, int32_t frames, double gain)
  {
    std::vector<double> wide(in, in + frames);
    std::vector<double> leadWide(static_cast<size_t>(frames)), lagWide(static_cast<size_t>(frames));
    line.Process(wide.data(), leadWide.data(), lagWide.data(), frames, gain);
    for (int32_t i = 0; i < frames; ++i) {
      lead[i] = static_cast<float>(leadWide[static_cast<size_t>(i)]);
      lag[i] = static_cast<float>(lagWide[static_cast<size_t>(i)]);
    }
  }
};

std::vector<float> RandomFloats(std::mt19937& rng, size_t n)
{
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::vector<float> v(n);
  for (float& x : v) x = dist(rng);
  return v;
}

float FromBits(uint32_t bits)
{
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// Samples a host may send by mistake, and those at the edges of the format.
std::vector<float> AwkwardFloats()
{
  return {FromBits(0x7f800001u), // signalling NaN
          FromBits(0xffa00000u), // signalling NaN, negative, other payload
          FromBits(0x7fc12345u), // quiet NaN with a payload
          std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::denorm_min(),
          -std::numeric_limits<float>::denorm_min() * 77.0f,
          std::numeric_limits<float>::min() / 3.0f,
          std::numeric_limits<float>::max(),
          -std::numeric_limits<float>::max(),
          0.0f,
          -0.0f,
          1.0f};
}

::testing::AssertionResult SameBits(const std::vector<float>& actual, const std::vector<float>& expected)
{
  if (actual.size() != expected.size()) return ::testing::AssertionFailure() << "sizes differ";
  for (size_t i = 0; i < actual.size(); ++i) {
    uint32_t a, e;
    std::memcpy(&a, &actual[i], sizeof a);
    std::memcpy(&e, &expected[i], sizeof e);
    if (a != e)
      return ::testing::AssertionFailure() << "sample " << i << ": bits " << std::hex << a << " instead of " << e;
  }
  return ::testing::AssertionSuccess();
}

// Runs signal through both lines in the given block lengths with the given gains.
void RunBoth(HaasDelayLine& line, WidenedReference& reference, const std::vector<float>& signal,
             const std::vector<int32_t>& blocks, const std::vector<double>& gains)
{
  std::vector<float> lead(signal.size()), lag(signal.size()), expectedLead(signal.size()),
      expectedLag(signal.size());
  size_t pos = 0;
  for (size_t b = 0; b < blocks.size(); ++b) {
    const double gain = gains[b % gains.size()];
    line.ProcessFloat(signal.data() + pos, lead.data() + pos, lag.data() + pos, blocks[b], gain);
    reference.Process(signal.data() + pos, expectedLead.data() + pos, expectedLag.data() + pos, blocks[b], gain);
    pos += static_cast<size_t>(blocks[b]);
  }
  EXPECT_TRUE(SameBits(lead, expectedLead)) << "leading side";
  EXPECT_TRUE(SameBits(lag, expectedLag)) << "lagging side";
  EXPECT_EQ(line.WriteIndex(), reference.line.WriteIndex());
}

std::vector<int32_t> RandomBlocks(std::mt19937& rng, size_t total, int32_t longest)
{
  std::uniform_int_distribution<int32_t> length(1, longest);
  std::vector<int32_t> blocks;
  for (size_t done = 0; done < total;) {
    const int32_t n = std::min<int32_t>(length(rng), static_cast<int32_t>(total - done));
    blocks.push_back(n);
    done += static_cast<size_t>(n);
  }
  return blocks;
}
} // namespace

TEST(HaasDelayLineFloat, RandomBlocksMatchTheWidenedRoute)
{
  std::mt19937 rng(7);
  struct Setup
  {
    double rate, delayMs, maxMs;
  };
  // Ordinary settings, the shortest and longest delays, and a line only a few
  // frames long, where every block wraps the buffer many times.
  for (const Setup& s : {Setup{kRate, 20.0, 40.0}, Setup{kRate, 1.0, 40.0}, Setup{kRate, 40.0, 40.0},
                         Setup{96000.0, 0.0, 40.0}, Setup{1000.0, 3.0, 5.0}, Setup{48000.0, 7.3, 11.0}}) {
    SCOPED_TRACE(testing::Message() << s.rate << " Hz, " << s.delayMs << " of " << s.maxMs << " ms");
    HaasDelayLine line;
    WidenedReference reference;
    ASSERT_TRUE(line.Rebuild(s.rate, s.delayMs, s.maxMs));
    ASSERT_TRUE(reference.line.Rebuild(s.rate, s.delayMs, s.maxMs));
    const std::vector<float> signal = RandomFloats(rng, 20000);
    RunBoth(line, reference, signal, RandomBlocks(rng, signal.size(), 3000), {0.31622776601683794, 1.0, 3.1622776601683795, -0.7});
  }
}

TEST(HaasDelayLineFloat, DelayChangesMidStreamMatch)
{
  std::mt19937 rng(11);
  HaasDelayLine line;
  WidenedReference reference;
  ASSERT_TRUE(line.Rebuild(kRate, 20.0));
  ASSERT_TRUE(reference.line.Rebuild(kRate, 20.0));
  std::uniform_real_distribution<double> delayMs(0.0, 45.0);
  for (int round = 0; round < 40; ++round) {
    const double ms = delayMs(rng);
    line.SetDelay(kRate, ms);
    reference.line.SetDelay(kRate, ms);
    const std::vector<float> signal = RandomFloats(rng, 1500);
    RunBoth(line, reference, signal, RandomBlocks(rng, signal.size(), 700), {0.5});
  }
}

TEST(HaasDelayLineFloat, AwkwardSamplesAndGainsMatchBitForBit)
{
  // Huge gains overflow to infinity and tiny ones underflow into denormals when narrowed.
  const std::vector<double> gains = {1.0, 1e30, 1e-40, -3.0, 0.0, std::numeric_limits<double>::quiet_NaN()};
  HaasDelayLine line;
  WidenedReference reference;
  ASSERT_TRUE(line.Rebuild(1000.0, 2.0, 4.0));
  ASSERT_TRUE(reference.line.Rebuild(1000.0, 2.0, 4.0));
  std::vector<float> signal;
  for (int repeat = 0; repeat < 8; ++repeat)
    for (float x : AwkwardFloats()) signal.push_back(x);
  std::vector<int32_t> blocks(signal.size() / 4, 4);
  RunBoth(line, reference, signal, blocks, gains);
}

TEST(HaasDelayLineFloat, WithoutABufferTheInputPassesAndTheLaggingSideIsSilent)
{
  HaasDelayLine line;
  WidenedReference reference;
  std::vector<float> signal = AwkwardFloats();
  // Longer than the engine's own step through the input.
  for (int i = 0; i < 700; ++i) signal.push_back(static_cast<float>(i) * 0.25f);
  RunBoth(line, reference, signal, {static_cast<int32_t>(signal.size())}, {2.0});
  std::vector<float> lead(signal.size()), lag(signal.size(), 5.0f);
  line.ProcessFloat(signal.data(), lead.data(), lag.data(), static_cast<int32_t>(signal.size()), 2.0);
  EXPECT_EQ(lag, std::vector<float>(signal.size(), 0.0f));
}

#ifdef BRINDLOW_TEST_MXCSR
// Hosts commonly have the processor treat denormals as zero and flush tiny results:
// the conversions then change denormal samples, and the 32-bit route must do the same.
TEST(HaasDelayLineFloat, DenormalsAsZeroModeMatches)
{
  std::vector<float> signal;
  for (int repeat = 0; repeat < 20; ++repeat)
    for (float x : AwkwardFloats()) signal.push_back(x);
  for (bool withBuffer : {true, false}) {
    HaasDelayLine line;
    WidenedReference reference;
    if (withBuffer) {
      ASSERT_TRUE(line.Rebuild(1000.0, 3.0, 10.0));
      ASSERT_TRUE(reference.line.Rebuild(1000.0, 3.0, 10.0));
    }
    const unsigned int saved = _mm_getcsr();
    _mm_setcsr(saved | 0x8040u); // flush to zero, denormals are zero
    std::vector<float> lead(signal.size()), lag(signal.size()), expectedLead(signal.size()),
        expectedLag(signal.size());
    const int32_t frames = static_cast<int32_t>(signal.size());
    line.ProcessFloat(signal.data(), lead.data(), lag.data(), frames, 1e-5);
    reference.Process(signal.data(), expectedLead.data(), expectedLag.data(), frames, 1e-5);
    _mm_setcsr(saved);
    EXPECT_TRUE(SameBits(lead, expectedLead)) << "with buffer " << withBuffer;
    EXPECT_TRUE(SameBits(lag, expectedLag)) << "with buffer " << withBuffer;
  }
}
#endif

TEST(HaasDelayLineFloat, InputMayShareMemoryWithEitherOutput)
{
  std::mt19937 rng(3);
  const std::vector<float> signal = RandomFloats(rng, 5000);
  const std::vector<int32_t> blocks = RandomBlocks(rng, signal.size(), 2500);
  enum Sharing { kInIsLead, kInIsLag, kAllThree, kLeadIsLag };
  for (bool withBuffer : {true, false}) {
    for (Sharing sharing : {kInIsLead, kInIsLag, kAllThree, kLeadIsLag}) {
      SCOPED_TRACE(testing::Message() << "sharing " << sharing << ", buffer " << withBuffer);
      HaasDelayLine line;
      WidenedReference reference;
      if (withBuffer) {
        ASSERT_TRUE(line.Rebuild(kRate, 5.0));
        ASSERT_TRUE(reference.line.Rebuild(kRate, 5.0));
      }
      std::vector<float> shared = signal, other(signal.size(), 9.0f);
      std::vector<float> lead(signal.size()), lag(signal.size());
      std::vector<float> expectedLead(signal.size()), expectedLag(signal.size());
      size_t pos = 0;
      for (int32_t n : blocks) {
        float* s = shared.data() + pos;
        float* o = other.data() + pos;
        reference.Process(signal.data() + pos, expectedLead.data() + pos, expectedLag.data() + pos, n, 0.8);
        switch (sharing) {
        case kInIsLead: line.ProcessFloat(s, s, o, n, 0.8); break;
        case kInIsLag: line.ProcessFloat(s, o, s, n, 0.8); break;
        case kAllThree: line.ProcessFloat(s, s, s, n, 0.8); break;
        case kLeadIsLag: line.ProcessFloat(signal.data() + pos, o, o, n, 0.8); break;
        }
        pos += static_cast<size_t>(n);
      }
      // Where both outputs are one buffer the lagging side is written last.
      switch (sharing) {
      case kInIsLead: EXPECT_TRUE(SameBits(shared, expectedLead)); EXPECT_TRUE(SameBits(other, expectedLag)); break;
      case kInIsLag: EXPECT_TRUE(SameBits(other, expectedLead)); EXPECT_TRUE(SameBits(shared, expectedLag)); break;
      case kAllThree: EXPECT_TRUE(SameBits(shared, expectedLag)); break;
      case kLeadIsLag: EXPECT_TRUE(SameBits(other, expectedLag)); break;
      }
    }
  }
}

TEST(HaasDelayLineFloat, BlocksOfBothWidthsShareOneLine)
{
  // The ring holds what either kind of block stored: a 64-bit block's samples,
  // which no float can hold, come out of a later 32-bit block narrowed once.
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::uniform_int_distribution<int32_t> length(1, 1200);
  HaasDelayLine line, reference;
  ASSERT_TRUE(line.Rebuild(kRate, 9.0));
  ASSERT_TRUE(reference.Rebuild(kRate, 9.0));
  for (int block = 0; block < 200; ++block) {
    const int32_t n = length(rng);
    std::vector<double> wide(static_cast<size_t>(n));
    for (double& x : wide) x = dist(rng);
    const size_t count = static_cast<size_t>(n);
    std::vector<double> refLead(count), refLag(count);
    if (block % 3 == 0) {
      std::vector<double> lead(count), lag(count);
      line.Process(wide.data(), lead.data(), lag.data(), n, 1.25);
      reference.Process(wide.data(), refLead.data(), refLag.data(), n, 1.25);
      ASSERT_EQ(std::memcmp(lag.data(), refLag.data(), count * sizeof(double)), 0) << "block " << block;
      continue;
    }
    std::vector<float> narrow(wide.begin(), wide.end());
    std::vector<double> widened(narrow.begin(), narrow.end());
    std::vector<float> lead(count), lag(count);
    line.ProcessFloat(narrow.data(), lead.data(), lag.data(), n, 1.25);
    reference.Process(widened.data(), refLead.data(), refLag.data(), n, 1.25);
    ASSERT_TRUE(SameBits(lead, std::vector<float>(refLead.begin(), refLead.end()))) << "block " << block;
    ASSERT_TRUE(SameBits(lag, std::vector<float>(refLag.begin(), refLag.end()))) << "block " << block;
  }
}

TEST(HaasDelayLineFloat, IgnoresEmptyBlocksAndMissingBuffers)
{
  HaasDelayLine line;
  ASSERT_TRUE(line.Rebuild(kRate, 10.0));
  float in[4] = {1, 2, 3, 4}, lead[4] = {7, 7, 7, 7}, lag[4] = {7, 7, 7, 7};
  line.ProcessFloat(in, lead, lag, 0, 1.0);
  line.ProcessFloat(in, lead, lag, -5, 1.0);
  line.ProcessFloat(nullptr, lead, lag, 4, 1.0);
  line.ProcessFloat(in, nullptr, lag, 4, 1.0);
  line.ProcessFloat(in, lead, nullptr, 4, 1.0);
  EXPECT_EQ(line.WriteIndex(), 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lead[i], 7.0f);
    EXPECT_EQ(lag[i], 7.0f);
  }
}
