// Test fixture: one plug-in instance created through the module's entry point and
// driven only through its AEffect, plus the helpers the host-side tests share.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "VstTestHost.h"

enum { kDelayParam = 0, kPanParam = 1, kWetMixParam = 2 };

class VstFixture : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_NE(host.EntryPoint(), nullptr) << host.LoadError();
    effect = host.Create();
    ASSERT_NE(effect, nullptr);
  }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return host.Dispatch(effect, opcode, index, value, ptr, opt);
  }

  // The usual start-up of a host: rate, block size, open, switch on.
  void Start(float rate = 44100.0f, int blockSize = 512) {
    Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    Dispatch(effSetBlockSize, 0, blockSize);
    Dispatch(effOpen);
    Dispatch(effMainsChanged, 0, 1);
  }

  // A text opcode's answer, read from a buffer much larger than any limit and
  // checked to be terminated within limit bytes.
  std::string Text(VstInt32 opcode, VstInt32 index = 0, size_t limit = 256) {
    std::vector<char> buffer(1024, '\x7f');
    Dispatch(opcode, index, 0, buffer.data());
    const void* end = std::memchr(buffer.data(), '\0', limit);
    EXPECT_NE(end, nullptr) << "opcode " << opcode << " wrote more than " << limit << " bytes";
    if (!end) return std::string();
    // Nothing beyond the terminator may have been touched.
    const size_t n = static_cast<const char*>(end) - buffer.data();
    for (size_t i = n + 1; i < buffer.size(); ++i) {
      if (buffer[i] != '\x7f') {
        ADD_FAILURE() << "opcode " << opcode << " wrote past its text at byte " << i;
        break;
      }
    }
    return std::string(buffer.data(), n);
  }

  std::string ParamDisplay(int index) { return Text(effGetParamDisplay, index, kVstMaxParamStrLen); }

  void SetParameter(int index, float value) { effect->setParameter(effect, index, value); }
  float GetParameter(int index) { return effect->getParameter(effect, index); }

  // Sets a parameter to a real value through the host's text entry.
  void SetParameterText(int index, const char* text) {
    ASSERT_EQ(Dispatch(effString2Parameter, index, 0, const_cast<char*>(text)), 1) << text;
  }

  std::vector<unsigned char> Chunk(bool bank) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
    if (size <= 0 || !data) return {};
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
  }

  VstIntPtr SetChunk(bool bank, std::vector<unsigned char> bytes) {
    return Dispatch(effSetChunk, bank ? 0 : 1, static_cast<VstIntPtr>(bytes.size()), bytes.data());
  }

  // Runs one block through the 32-bit callback; inputs.size() host input buffers.
  std::vector<std::vector<float>> ProcessFloat(const std::vector<std::vector<float>>& inputs, int frames) {
    std::vector<std::vector<float>> in = inputs;
    std::vector<float*> inPtrs;
    for (auto& ch : in) inPtrs.push_back(ch.data());
    std::vector<std::vector<float>> out(2, std::vector<float>(frames, 12345.0f));
    std::vector<float*> outPtrs = {out[0].data(), out[1].data()};
    effect->processReplacing(effect, inPtrs.data(), outPtrs.data(), frames);
    return out;
  }

  std::vector<std::vector<double>> ProcessDouble(const std::vector<std::vector<double>>& inputs, int frames) {
    std::vector<std::vector<double>> in = inputs;
    std::vector<double*> inPtrs;
    for (auto& ch : in) inPtrs.push_back(ch.data());
    std::vector<std::vector<double>> out(2, std::vector<double>(frames, 12345.0));
    std::vector<double*> outPtrs = {out[0].data(), out[1].data()};
    effect->processDoubleReplacing(effect, inPtrs.data(), outPtrs.data(), frames);
    return out;
  }

  VstTestHost host;
  AEffect* effect = nullptr;
};

// A test signal without repeats, so a wrong delay cannot line up by chance.
inline std::vector<double> TestSignal(int frames, double seed = 1.0) {
  std::vector<double> s(frames);
  for (int i = 0; i < frames; ++i) s[i] = std::sin(0.01 * seed * (i + 1)) * 0.5 + 0.001 * ((i * 7919) % 101);
  return s;
}

inline std::vector<float> ToFloat(const std::vector<double>& v) { return std::vector<float>(v.begin(), v.end()); }

// The Haas lagging side: the input delayed by delaySamples frames (zeros before
// the first sample), times 10^(dB/20).
inline std::vector<double> ExpectedLag(const std::vector<double>& in, int delaySamples, double wetMixDb) {
  const double gain = std::pow(10.0, wetMixDb / 20.0);
  std::vector<double> lag(in.size(), 0.0);
  for (size_t i = delaySamples; i < in.size(); ++i) lag[i] = in[i - delaySamples] * gain;
  return lag;
}
