// The 32-bit callback against the 64-bit one: a second instance, set up and
// automated the same way, is fed the widened input through processDoubleReplacing
// and its outputs narrowed. That is what the 32-bit callback has to give, bit for
// bit, whatever the channel situation, block lengths or buffer sharing.
#include "VstFixture.h"

#include <algorithm>
#include <cstdint>
#include <random>

namespace {
uint32_t Bits(float x) {
  uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

float FromBits(uint32_t b) {
  float x;
  std::memcpy(&x, &b, sizeof x);
  return x;
}

// Noise with now and then a sample a host may send by mistake or at the edge of
// the format: signalling and quiet NaNs, infinities, denormals, signed zeros.
std::vector<float> Noise(std::mt19937& rng, int frames) {
  static const float kAwkward[] = {FromBits(0x7f800001u), FromBits(0xffc00123u),
                                   std::numeric_limits<float>::infinity(),
                                   std::numeric_limits<float>::denorm_min() * 3.0f, -0.0f,
                                   std::numeric_limits<float>::max()};
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::uniform_int_distribution<int> pick(0, 499);
  std::vector<float> v(static_cast<size_t>(frames));
  for (float& x : v) {
    const int p = pick(rng);
    x = p < 6 ? kAwkward[p] : dist(rng);
  }
  return v;
}

::testing::AssertionResult SameBits(const float* actual, const std::vector<double>& wide, int frames) {
  for (int i = 0; i < frames; ++i) {
    const float expected = static_cast<float>(wide[static_cast<size_t>(i)]);
    if (Bits(actual[i]) != Bits(expected))
      return ::testing::AssertionFailure() << "frame " << i << ": bits " << std::hex << Bits(actual[i])
                                           << " instead of " << Bits(expected);
  }
  return ::testing::AssertionSuccess();
}

class VstFloatPath : public VstFixture {
 public:
  void SetUp() override {
    VstFixture::SetUp();
    reference = host.Create();
    ASSERT_NE(reference, nullptr);
  }

  void Both(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    host.Dispatch(effect, opcode, index, value, ptr, opt);
    host.Dispatch(reference, opcode, index, value, ptr, opt);
  }

  void StartBoth(int blockSize) {
    Both(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Both(effSetBlockSize, 0, blockSize);
    Both(effOpen);
    Both(effMainsChanged, 0, 1);
  }

  void SetBoth(int index, float value) {
    effect->setParameter(effect, index, value);
    reference->setParameter(reference, index, value);
  }

  // nIn input and nOut output channels connected, on both instances.
  void ArrangeBoth(int nIn, int nOut) {
    VstSpeakerArrangement in{};
    in.numChannels = nIn;
    VstSpeakerArrangement out{};
    out.numChannels = nOut;
    Both(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
  }

  // The reference's 64-bit outputs for the widened inputs; a null input stays null.
  std::vector<std::vector<double>> Reference(const std::vector<const float*>& inputs, int frames) {
    std::vector<std::vector<double>> wide(inputs.size());
    std::vector<double*> inPtrs(std::max<size_t>(inputs.size(), 1), nullptr);  // never a null array
    for (size_t i = 0; i < inputs.size(); ++i) {
      if (!inputs[i]) continue;
      wide[i].assign(inputs[i], inputs[i] + frames);
      inPtrs[i] = wide[i].data();
    }
    std::vector<std::vector<double>> out(2, std::vector<double>(static_cast<size_t>(frames), 0.0));
    double* outPtrs[2] = {out[0].data(), out[1].data()};
    reference->processDoubleReplacing(reference, inPtrs.data(), outPtrs, frames);
    return out;
  }

  // One block of separate host buffers through both instances; compares both outputs.
  void CompareBlock(const std::vector<const float*>& inputs, int frames, const char* what) {
    const auto expected = Reference(inputs, frames);
    std::vector<float> out0(static_cast<size_t>(frames), 12345.0f), out1(static_cast<size_t>(frames), 12345.0f);
    float* outPtrs[2] = {out0.data(), out1.data()};
    effect->processReplacing(effect, const_cast<float**>(inputs.data()), outPtrs, frames);
    ASSERT_TRUE(SameBits(out0.data(), expected[0], frames)) << what << ", output 0";
    ASSERT_TRUE(SameBits(out1.data(), expected[1], frames)) << what << ", output 1";
  }

  AEffect* reference = nullptr;
};
}  // namespace

TEST_F(VstFloatPath, RandomBlocksAndAutomationMatchTheWidenedRoute) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int> length(1, 1500);
  std::uniform_real_distribution<float> normalized(0.0f, 1.0f);
  std::uniform_int_distribution<int> coin(0, 3);
  StartBoth(512);  // blocks past 512 frames run in sub-blocks
  for (int block = 0; block < 300; ++block) {
    if (coin(rng) == 0) SetBoth(kDelayParam, normalized(rng));
    if (coin(rng) == 0) SetBoth(kWetMixParam, normalized(rng));
    if (coin(rng) == 0) SetBoth(kPanParam, static_cast<float>(coin(rng) & 1));
    const int frames = length(rng);
    const std::vector<float> left = Noise(rng, frames), right = Noise(rng, frames);
    CompareBlock({left.data(), right.data()}, frames, "stereo");
    if (HasFatalFailure()) return;
  }
}

TEST_F(VstFloatPath, SwitchingBetweenTheCallbacksKeepsOneStream) {
  // The 64-bit blocks carry samples no float holds; the 32-bit blocks after them
  // read those from the delay line and narrow them once.
  std::mt19937 rng(23);
  std::uniform_int_distribution<int> length(1, 900);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  StartBoth(256);
  SetBoth(kDelayParam, 0.1f);
  for (int block = 0; block < 200; ++block) {
    const int frames = length(rng);
    if (block % 2 == 0) {
      std::vector<double> in(static_cast<size_t>(frames));
      for (double& x : in) x = dist(rng);
      const auto mine = ProcessDouble({in, in}, frames);
      std::vector<double*> inPtrs = {in.data(), in.data()};
      std::vector<double> ref0(static_cast<size_t>(frames)), ref1(static_cast<size_t>(frames));
      double* refOut[2] = {ref0.data(), ref1.data()};
      reference->processDoubleReplacing(reference, inPtrs.data(), refOut, frames);
      // Bit for bit: NaNs from the 32-bit blocks travel through the delay line.
      ASSERT_EQ(std::memcmp(mine[0].data(), ref0.data(), ref0.size() * sizeof(double)), 0) << "64-bit block " << block;
      ASSERT_EQ(std::memcmp(mine[1].data(), ref1.data(), ref1.size() * sizeof(double)), 0) << "64-bit block " << block;
    } else {
      const std::vector<float> in = Noise(rng, frames);
      CompareBlock({in.data(), in.data()}, frames, "32-bit block");
      if (HasFatalFailure()) return;
    }
  }
}

TEST_F(VstFloatPath, MonoInputThroughTheSpeakerArrangement) {
  std::mt19937 rng(29);
  // The side chosen before and after the arrangement: either way, with the right side
  // leading and only one input, both routes read that input and lead with it.
  for (bool panFirst : {false, true}) {
    SCOPED_TRACE(panFirst ? "side set first" : "arrangement set first");
    StartBoth(512);
    ArrangeBoth(2, 2);
    SetBoth(kPanParam, 0.0f);
    if (panFirst) SetBoth(kPanParam, 1.0f);
    ArrangeBoth(1, 2);
    if (!panFirst) SetBoth(kPanParam, 1.0f);
    for (int frames : {512, 1, 1300, 77}) {
      const std::vector<float> in = Noise(rng, frames);
      CompareBlock({in.data()}, frames, "mono");  // the host hands over one input only
      if (HasFatalFailure()) return;
    }
    const std::vector<float> probe = Noise(rng, 64);
    std::vector<float> out0(64), out1(64);
    const float* inPtrs[1] = {probe.data()};
    float* outPtrs[2] = {out0.data(), out1.data()};
    effect->processReplacing(effect, const_cast<float**>(inPtrs), outPtrs, 64);
    EXPECT_TRUE(SameBits(out1.data(), std::vector<double>(probe.begin(), probe.end()), 64)) << "the leading side";
  }
}

TEST_F(VstFloatPath, UnconnectedAndMissingInputsReadSilence) {
  std::mt19937 rng(31);
  StartBoth(512);
  const std::vector<float> in = Noise(rng, 700);
  // Connected inputs without a host buffer.
  CompareBlock({nullptr, nullptr}, 700, "no input buffers");
  CompareBlock({in.data(), nullptr}, 700, "left input only");
  // No input connected at all: the host hands over no input buffer; the leading side
  // is silent, the lagging side plays out what the delay line still holds.
  ArrangeBoth(0, 2);
  const auto expected = Reference({}, 700);
  std::vector<float> out0(700, 5.0f), out1(700, 5.0f);
  float* outPtrs[2] = {out0.data(), out1.data()};
  float* noInputs[1] = {nullptr};
  effect->processReplacing(effect, noInputs, outPtrs, 700);
  EXPECT_TRUE(SameBits(out0.data(), expected[0], 700));
  EXPECT_TRUE(SameBits(out1.data(), expected[1], 700));
  EXPECT_EQ(out0, std::vector<float>(700, 0.0f));
}

TEST_F(VstFloatPath, OutputsMissingOrUnconnectedAreLeftAlone) {
  std::mt19937 rng(37);
  StartBoth(512);
  for (int block = 0; block < 3; ++block) {
    const std::vector<float> in = Noise(rng, 600);
    const auto expected = Reference({in.data(), in.data()}, 600);
    std::vector<float> out0(600, 5.0f);
    float* outPtrs[2] = {out0.data(), nullptr};
    const float* inPtrs[2] = {in.data(), in.data()};
    effect->processReplacing(effect, const_cast<float**>(inPtrs), outPtrs, 600);
    ASSERT_TRUE(SameBits(out0.data(), expected[0], 600)) << "block " << block;
  }
  // The stream goes on unbroken once both outputs are back.
  const std::vector<float> in = Noise(rng, 1000);
  CompareBlock({in.data(), in.data()}, 1000, "both outputs again");
}

TEST_F(VstFloatPath, HostBuffersSharedBetweenInputsAndOutputs) {
  std::mt19937 rng(41);
  // Which host buffer each of inputs 0, 1 and outputs 0, 1 is.
  struct Sharing {
    int in0, in1, out0, out1;
    const char* what;
  };
  const Sharing cases[] = {
      {0, 1, 0, 1, "in place"},
      {0, 1, 1, 0, "in place, outputs crossed"},
      {0, 0, 0, 1, "one input buffer for both, processed in place"},
      {0, 1, 2, 2, "one buffer for both outputs"},
      {0, 1, 0, 0, "first input buffer for both outputs"},
  };
  for (float pan : {0.0f, 1.0f}) {
    StartBoth(256);
    SetBoth(kPanParam, pan);
    SetBoth(kDelayParam, 0.02f);
    for (const Sharing& c : cases) {
      for (int frames : {256, 700, 5}) {
        SCOPED_TRACE(testing::Message() << c.what << ", pan " << pan << ", " << frames << " frames");
        std::vector<std::vector<float>> buffers = {Noise(rng, frames), Noise(rng, frames), Noise(rng, frames)};
        const auto expected = Reference({buffers[static_cast<size_t>(c.in0)].data(),
                                          buffers[static_cast<size_t>(c.in1)].data()},
                                         frames);
        float* in[2] = {buffers[static_cast<size_t>(c.in0)].data(), buffers[static_cast<size_t>(c.in1)].data()};
        float* out[2] = {buffers[static_cast<size_t>(c.out0)].data(), buffers[static_cast<size_t>(c.out1)].data()};
        effect->processReplacing(effect, in, out, frames);
        // All input is read before any output is written, and output 1 is written last.
        ASSERT_TRUE(SameBits(out[1], expected[1], frames));
        if (out[0] != out[1]) {
          ASSERT_TRUE(SameBits(out[0], expected[0], frames));
        }
      }
    }
  }
}

TEST_F(VstFloatPath, ConnectionChangesBetweenBlocksKeepTheRoute) {
  // Blocks that fit the block size take a shorter way through the plug-in while every
  // channel is connected; each change of the arrangement must switch that way on or off.
  std::mt19937 rng(43);
  StartBoth(512);
  SetBoth(kDelayParam, 0.3f);
  struct Step {
    int nIn;
    float pan;
  };
  const Step steps[] = {{2, 1.0f}, {1, 1.0f}, {2, 1.0f}, {0, 0.0f}, {2, 0.0f}, {1, 0.0f}, {2, 1.0f}};
  for (const Step& s : steps) {
    // The side first: the plug-in keeps the input it chose, connected or not.
    SetBoth(kPanParam, s.pan);
    ArrangeBoth(s.nIn, 2);
    for (int frames : {512, 100, 513}) {
      SCOPED_TRACE(testing::Message() << s.nIn << " inputs, pan " << s.pan << ", " << frames << " frames");
      // The host's array holds a buffer for each of the plug-in's inputs; those past
      // the connected ones hold samples that must not be heard.
      const std::vector<float> in0 = Noise(rng, frames), in1 = Noise(rng, frames);
      const std::vector<float> decoy(static_cast<size_t>(frames), 0.5f);
      CompareBlock({s.nIn > 0 ? in0.data() : decoy.data(), s.nIn > 1 ? in1.data() : decoy.data()}, frames,
                   "arranged");
      if (HasFatalFailure()) return;
    }
  }
}
