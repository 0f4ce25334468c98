// KyvBrindlow's direct 32-bit processing in-process: when it takes a block, when it
// leaves it to the 64-bit route, and the base's sub-blocks around it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "VstBrindlow.h"

namespace {

// A Brindlow instance without a host, switched on at 44.1 kHz with the given block size.
VstBrindlowPtr Started(int blockSize) {
  VstBrindlowPtr plug(nullptr);
  AEffect* e = plug.GetAEffect();
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  e->dispatcher(e, effSetBlockSize, 0, blockSize, nullptr, 0.0f);
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
  return plug;
}

std::vector<float> Noise(std::mt19937& rng, size_t n) {
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::vector<float> v(n);
  for (float& x : v) x = dist(rng);
  return v;
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

TEST(KyvBrindlowFloat, TakesABlockOnlyWithItsInputAndBothOutputs) {
  auto plug = Started(512);
  std::vector<float> in(64, 0.5f), a(64, 9.0f), b(64, 9.0f);
  const float* inputs[2] = {in.data(), nullptr};
  float* outputs[2] = {a.data(), b.data()};
  EXPECT_TRUE(plug->ProcessBlockFloat(inputs, outputs, 64));
  EXPECT_EQ(a, in);  // Left leads with input 0

  // The input it reads missing: the 64-bit route pads it with silence.
  const float* noLeft[2] = {nullptr, in.data()};
  EXPECT_FALSE(plug->ProcessBlockFloat(noLeft, outputs, 64));
  // An output missing, or both outputs one buffer.
  float* oneOutput[2] = {a.data(), nullptr};
  float* sharedOutput[2] = {a.data(), a.data()};
  EXPECT_FALSE(plug->ProcessBlockFloat(inputs, oneOutput, 64));
  EXPECT_FALSE(plug->ProcessBlockFloat(inputs, sharedOutput, 64));
  EXPECT_FALSE(plug->ProcessBlockFloat(nullptr, outputs, 64));
  EXPECT_FALSE(plug->ProcessBlockFloat(inputs, nullptr, 64));
  // Declined blocks left the delay line where it was.
  EXPECT_EQ(plug->DelayLine().WriteIndex(), plug->DelayLine().Length() - 64);
}

TEST(KyvBrindlowFloat, RunsLongerThanTheHostsInputAreCompletedWithSilence) {
  // The base's float route pads an input shorter than the run with silence, also
  // when the product processes the sub-blocks itself.
  std::mt19937 rng(3);
  auto plug = Started(128);
  auto reference = Started(128);
  for (int attached : {0, 100, 128, 129, 300, 450}) {
    SCOPED_TRACE(attached);
    const int frames = 450;
    std::vector<float> in = Noise(rng, 450);
    std::vector<float> lead(450, 9.0f), lag(450, 9.0f);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {lead.data(), lag.data()};
    plug->AttachInputsFloat(0, 2, inputs, attached);
    plug->AttachOutputsFloat(0, 2, outputs);
    plug->RunBlockFloat(frames);

    std::vector<double> wide(450, 0.0), refLead(450), refLag(450);
    for (int i = 0; i < attached; ++i) wide[static_cast<size_t>(i)] = in[static_cast<size_t>(i)];
    double* refIn[2] = {wide.data(), wide.data()};
    double* refOut[2] = {refLead.data(), refLag.data()};
    reference->AttachInputsDouble(0, 2, refIn);
    reference->AttachOutputsDouble(0, 2, refOut);
    reference->RunBlockDouble(frames);
    EXPECT_TRUE(SameBits(lead, std::vector<float>(refLead.begin(), refLead.end())));
    EXPECT_TRUE(SameBits(lag, std::vector<float>(refLag.begin(), refLag.end())));
  }
}

TEST(KyvBrindlowFloat, WetMixReachesTheNextBlockHoweverItChanges) {
  // The gain is worked out again only when Wet Mix differs from the last block's;
  // programs and stored state set the value without a handler.
  auto plug = Started(512);
  AEffect* e = plug.GetAEffect();
  e->dispatcher(e, effString2Parameter, KyvBrindlow::kDelay, 0, const_cast<char*>("1"), 0.0f);  // 44 samples
  const int delay = plug->DelayLine().DelaySamples();
  ASSERT_EQ(delay, 44);
  auto lagOfImpulse = [&](bool useFloat) {
    std::vector<float> inF(100, 0.0f), leadF(100), lagF(100);
    std::vector<double> inD(100, 0.0), leadD(100), lagD(100);
    inF[0] = 1.0f;
    inD[0] = 1.0;
    float* fi[2] = {inF.data(), inF.data()};
    float* fo[2] = {leadF.data(), lagF.data()};
    double* di[2] = {inD.data(), inD.data()};
    double* dout[2] = {leadD.data(), lagD.data()};
    if (useFloat)
      e->processReplacing(e, fi, fo, 100);
    else
      e->processDoubleReplacing(e, di, dout, 100);
    return useFloat ? static_cast<double>(lagF[static_cast<size_t>(delay)]) : lagD[static_cast<size_t>(delay)];
  };
  auto expected = [&](bool useFloat) {
    const double gain = plug->ParameterAt(KyvBrindlow::kWetMix)->GainFromDecibels();
    return useFloat ? static_cast<double>(static_cast<float>(gain)) : gain;
  };
  for (bool useFloat : {true, false}) {
    SCOPED_TRACE(useFloat ? "32-bit" : "64-bit");
    e->setParameter(e, KyvBrindlow::kWetMix, 0.5f);  // 0 dB
    EXPECT_EQ(lagOfImpulse(useFloat), 1.0);
    e->setParameter(e, KyvBrindlow::kWetMix, 1.0f);  // +10 dB
    EXPECT_EQ(lagOfImpulse(useFloat), expected(useFloat));
    // A program other than the current one ("Background Vocals" +3 dB, "Heavy Guitar" +1.3 dB).
    e->dispatcher(e, effSetProgram, 0, useFloat ? 3 : 4, nullptr, 0.0f);
    e->dispatcher(e, effString2Parameter, KyvBrindlow::kDelay, 0, const_cast<char*>("1"), 0.0f);
    EXPECT_DOUBLE_EQ(plug->ParameterAt(KyvBrindlow::kWetMix)->Value(), useFloat ? 3.0 : 1.3);
    EXPECT_EQ(lagOfImpulse(useFloat), expected(useFloat));
    plug->ParameterAt(KyvBrindlow::kWetMix)->SetValue(-7.5);  // as a state restore does, no handler
    EXPECT_EQ(lagOfImpulse(useFloat), expected(useFloat));
  }
}
