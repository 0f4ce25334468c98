// The audio path allocates nothing, also for blocks longer than the block size the
// host announced. This executable replaces malloc and its relatives (the module
// resolves them here) and counts the calls made while processing runs.
#include "VstFixture.h"

#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include "CountingMalloc.h"

using VstAllocation = VstFixture;

TEST_F(VstAllocation, ProcessingAllocatesNothing) {
  Start(44100.0f, 64);  // the host promised 64 frames; it sends more below
  const std::vector<double> signal = TestSignal(3000);
  std::vector<double> inD[2] = {signal, signal};
  std::vector<double> outD[2] = {std::vector<double>(3000), std::vector<double>(3000)};
  std::vector<float> inF[2] = {ToFloat(signal), ToFloat(signal)};
  std::vector<float> outF[2] = {std::vector<float>(3000), std::vector<float>(3000)};
  double* inDP[2] = {inD[0].data(), inD[1].data()};
  double* outDP[2] = {outD[0].data(), outD[1].data()};
  float* inFP[2] = {inF[0].data(), inF[1].data()};
  float* outFP[2] = {outF[0].data(), outF[1].data()};

  gAllocations = 0;
  gCounting = true;
  for (int frames : {64, 1, 3000, 63, 65, 1000}) {
    effect->processReplacing(effect, inFP, outFP, frames);
    effect->processDoubleReplacing(effect, inDP, outDP, frames);
  }
  // Automation between blocks, as from the host's audio thread.
  effect->setParameter(effect, kDelayParam, 0.25f);
  effect->setParameter(effect, kPanParam, 1.0f);
  effect->processReplacing(effect, inFP, outFP, 3000);
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);

  // The counter does see the module's allocations.
  gAllocations = 0;
  gCounting = true;
  Dispatch(effSetBlockSize, 0, 4096);
  gCounting = false;
  EXPECT_GT(gAllocations.load(), 0);
}

TEST_F(VstAllocation, ThirtyTwoBitBlocksAllocateNothingWhicheverRouteTheyTake) {
  Start(44100.0f, 256);
  std::vector<float> a = ToFloat(TestSignal(2000)), b = ToFloat(TestSignal(2000, 2.0)), c(2000);
  float* inPlace[2] = {a.data(), b.data()};
  float* sharedOut[2] = {c.data(), c.data()};  // taken by the 64-bit route
  float* missingIn[2] = {nullptr, b.data()};
  gAllocations = 0;
  gCounting = true;
  for (int frames : {256, 2000, 3}) {
    effect->processReplacing(effect, inPlace, inPlace, frames);
    effect->processReplacing(effect, inPlace, sharedOut, frames);
    effect->processReplacing(effect, missingIn, inPlace, 1);
  }
  gCounting = false;
  // A mono input, as a host connects it through the speaker arrangement.
  VstSpeakerArrangement in{};
  in.numChannels = 1;
  VstSpeakerArrangement out{};
  out.numChannels = 2;
  Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
  float* outs[2] = {b.data(), c.data()};
  gCounting = true;
  effect->processReplacing(effect, inPlace, outs, 2000);
  effect->processReplacing(effect, inPlace, outs, 100);
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);
}

// With the trace written to a file, a thread the host uses for audio only (fresh,
// as hosts start them) neither allocates for its blocks nor for the parameter
// changes it sends, whose records are dropped there.
class VstAllocationTraced : public VstFixture {
 public:
  void SetUp() override {
    path = ::testing::TempDir() + "alloc-trace-" + std::to_string(getpid()) + ".log";
    unlink(path.c_str());
    setenv("BRINDLOW_TRACE", path.c_str(), 1);
    VstFixture::SetUp();
    unsetenv("BRINDLOW_TRACE");
  }
  void TearDown() override { unlink(path.c_str()); }
  std::string path;
};

TEST_F(VstAllocationTraced, AudioThreadAllocatesNothingWithTheTraceOn) {
  Start(44100.0f, 512);
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  if (text.str().find("(effOpen)") == std::string::npos)
    GTEST_SKIP() << "the module was loaded before BRINDLOW_TRACE was set (run this test alone)";

  std::vector<float> a = ToFloat(TestSignal(512)), b(512), c(512);
  float* ins[2] = {a.data(), a.data()};
  float* outs[2] = {b.data(), c.data()};
  std::thread audio([&] {
    gAllocations = 0;
    gCounting = true;
    for (int block = 0; block < 4; ++block) {
      effect->processReplacing(effect, ins, outs, 512);
      effect->setParameter(effect, kDelayParam, 0.1f * static_cast<float>(block));
    }
    gCounting = false;
  });
  audio.join();
  EXPECT_EQ(gAllocations.load(), 0);
}
