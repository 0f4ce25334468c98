// The trace a user sends with a host problem: what the adapter writes into it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "IPlugAudioThreads.h"
#include "IPlugTrace.h"
#include "VstBrindlow.h"

namespace {
VstIntPtr VSTCALLBACK ReaperLikeHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
  if (opcode == audioMasterGetProductString) {
    std::snprintf(static_cast<char*>(ptr), 64, "REAPER");
    return 1;
  }
  if (opcode == audioMasterGetVendorVersion) return 60500;
  return 0;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
}  // namespace

TEST(KyvBrindlowTrace, HostCallsLandInTheFileAsTheyHappen) {
  AudioThreads::Forget();  // the tests before may have processed on this thread
  const std::string path = ::testing::TempDir() + "brindlow-trace-" + std::to_string(getpid()) + ".log";
  unlink(path.c_str());
  ASSERT_TRUE(TraceToFile(path.c_str()));

  VstBrindlowPtr plug(&ReaperLikeHost);
  AEffect* effect = plug.GetAEffect();
  auto dispatch = [&](VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  };
  dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  dispatch(effOpen);
  std::string text = Slurp(path);
  EXPECT_TRUE(Has(text, "IPlugBase::IPlugBase")) << text;
  EXPECT_TRUE(Has(text, "10(effSetSampleRate):0:0")) << text;
  EXPECT_TRUE(Has(text, "0(effOpen):0:0")) << "written before the call returned\n" << text;
  EXPECT_TRUE(Has(text, "host_known:REAPER:v6.05")) << text;

  // Queries stay out; failures go in.
  char display[64];
  dispatch(effGetParamDisplay, 0, 0, display);
  dispatch(effSetSampleRate, 0, 0, nullptr, -1.0f);
  dispatch(effSetBlockSize, 0, 0);
  unsigned char junk[3] = {1, 2, 3};
  EXPECT_EQ(dispatch(effSetChunk, 0, sizeof junk, junk), 0);
  text = Slurp(path);
  EXPECT_FALSE(Has(text, "effGetParamDisplay")) << text;
  EXPECT_TRUE(Has(text, "sample rate -1 refused")) << text;
  EXPECT_TRUE(Has(text, "block size 0 refused")) << text;
  EXPECT_TRUE(Has(text, "bank chunk of 3 bytes refused")) << text;

  // Audio and parameter changes from the audio thread are not written by it.
  const size_t before = text.size();
  std::thread audio([&] {
    std::vector<float> in(64, 0.25f), out0(64), out1(64);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out0.data(), out1.data()};
    effect->processReplacing(effect, ins, outs, 64);
    effect->setParameter(effect, KyvBrindlow::kDelay, 0.5f);
    effect->processReplacing(effect, ins, outs, 64);
  });
  audio.join();
  EXPECT_EQ(Slurp(path).size(), before);
  dispatch(effMainsChanged, 0, 0);
  text = Slurp(path);
  EXPECT_TRUE(Has(text, "(1 records from audio threads not written)")) << text;
  EXPECT_TRUE(Has(text, "12(effMainsChanged):0:0")) << text;

  dispatch(effClose);  // destroys the plug-in
  plug.release();
  EXPECT_TRUE(Has(Slurp(path), "1(effClose)"));
  TraceToFile(nullptr);
  AudioThreads::Forget();
  unlink(path.c_str());
}
