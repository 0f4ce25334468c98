// The output meter inside the plug-in: what it reads for sines and noise through the
// delay, on the 32-bit and the 64-bit route, and that it gathers nothing while off.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "VstBrindlow.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr float kRate = 44100.0f;

struct MeteredBrindlow
{
  MeteredBrindlow(const char* delayMs, const char* wetMixDb)
  {
    Dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
    Dispatch(effSetBlockSize, 0, 512);
    Dispatch(effOpen);
    Set(KyvBrindlow::kDelay, delayMs);
    Set(KyvBrindlow::kWetMix, wetMixDb);
    Dispatch(effMainsChanged, 0, 1);
    plug->OutputMeter().SetActive(true);
  }
  AEffect* Effect() const { return plug.GetAEffect(); }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0)
  {
    return Effect()->dispatcher(Effect(), opcode, index, value, ptr, opt);
  }
  void Set(int param, const char* text) { Dispatch(effString2Parameter, param, 0, const_cast<char*>(text)); }
  // One second of |left| / |right| (the right only read with two inputs) in 512-frame blocks.
  void Run(const std::vector<double>& left, const std::vector<double>& right, bool doubles)
  {
    for (size_t at = 0; at + 512 <= left.size(); at += 512)
    {
      if (doubles)
      {
        std::vector<double> inL(left.begin() + long(at), left.begin() + long(at) + 512);
        std::vector<double> inR(right.begin() + long(at), right.begin() + long(at) + 512), a(512), b(512);
        double* ins[2] = {inL.data(), inR.data()};
        double* outs[2] = {a.data(), b.data()};
        Effect()->processDoubleReplacing(Effect(), ins, outs, 512);
      }
      else
      {
        std::vector<float> inL(512), inR(512), a(512), b(512);
        for (size_t i = 0; i < 512; ++i) inL[i] = float(left[at + i]), inR[i] = float(right[at + i]);
        float* ins[2] = {inL.data(), inR.data()};
        float* outs[2] = {a.data(), b.data()};
        Effect()->processReplacing(Effect(), ins, outs, 512);
      }
    }
  }
  VstBrindlowPtr plug{nullptr};
};

std::vector<double> Sine(double frequency, size_t frames)
{
  std::vector<double> v(frames);
  for (size_t i = 0; i < frames; ++i) v[i] = 0.5 * std::sin(2.0 * kPi * frequency * double(i) / kRate);
  return v;
}
}  // namespace

TEST(KyvBrindlowMeter, ASineReadsTheCorrelationAndMonoLossOfItsDelayAndGain)
{
  // The lagging side is g x(n - D): correlation cos(w D), mono loss
  // 10 log10((1 + g^2 + 2 g cos(w D)) / (2 (1 + g^2))).
  struct Case
  {
    const char* delay;
    const char* wetMix;
    double frequency;
  } cases[] = {{"10", "0", 25.0}, {"10", "-6", 60.0}, {"3.3", "4", 500.0}, {"40", "-10", 180.0}, {"25", "0", 440.0}};
  for (bool doubles : {false, true})
    for (const Case& c : cases)
    {
      SCOPED_TRACE(testing::Message() << c.delay << " ms, " << c.wetMix << " dB, " << c.frequency << " Hz"
                                      << (doubles ? ", 64-bit" : ", 32-bit"));
      MeteredBrindlow m(c.delay, c.wetMix);
      const std::vector<double> in = Sine(c.frequency, 44100);
      m.Run(in, in, doubles);
      const double d = double(m.plug->DelayLine().DelaySamples());
      const double g = std::pow(10.0, std::stod(c.wetMix) / 20.0);
      const double cosine = std::cos(2.0 * kPi * c.frequency * d / kRate);
      const CorrelationReading r = m.plug->OutputMeter().Read(0.3);
      ASSERT_TRUE(r.valid);
      EXPECT_NEAR(r.correlation, cosine, 0.02);
      EXPECT_NEAR(r.monoLossDb, 10.0 * std::log10((1 + g * g + 2 * g * cosine) / (2 * (1 + g * g))), 0.1);
    }
}

TEST(KyvBrindlowMeter, MonoAtTheShortestDelayIsNearOneAndUncorrelatedNoiseNearZero)
{
  MeteredBrindlow mono("1", "0");
  const std::vector<double> low = Sine(40.0, 44100);
  mono.Run(low, low, false);
  EXPECT_GT(mono.plug->OutputMeter().Read(0.3).correlation, 0.95);

  // Two independent noises in: the leading side's own input and its delayed copy come out.
  std::mt19937 rng(11);
  std::normal_distribution<double> noise(0.0, 0.3);
  std::vector<double> a(44100), b(44100);
  for (size_t i = 0; i < a.size(); ++i) a[i] = noise(rng), b[i] = noise(rng);
  MeteredBrindlow stereo("12", "0");
  stereo.Run(a, b, false);
  const CorrelationReading r = stereo.plug->OutputMeter().Read(0.3);
  ASSERT_TRUE(r.valid);
  EXPECT_NEAR(r.correlation, 0.0, 0.05);
  EXPECT_NEAR(r.monoLossDb, 10.0 * std::log10(0.5), 0.3);
}

TEST(KyvBrindlowMeter, GathersNothingWhileNoViewShowsIt)
{
  MeteredBrindlow m("10", "0");
  m.plug->OutputMeter().SetActive(false);
  const std::vector<double> in = Sine(100.0, 44100);
  m.Run(in, in, false);
  EXPECT_FALSE(m.plug->OutputMeter().Read(0.3).valid);
}
