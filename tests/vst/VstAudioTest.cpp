// Audio through both processing callbacks against the Haas output computed here.
#include "VstFixture.h"

#include <climits>
#include <limits>

using VstAudio = VstFixture;

namespace {
constexpr int kFrames = 3000;

void ExpectSamples(const std::vector<double>& actual, const std::vector<double>& expected, const char* what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (size_t i = 0; i < actual.size(); ++i) ASSERT_EQ(actual[i], expected[i]) << what << " at frame " << i;
}

void ExpectSamples(const std::vector<float>& actual, const std::vector<double>& expected, const char* what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (size_t i = 0; i < actual.size(); ++i)
    ASSERT_EQ(actual[i], static_cast<float>(expected[i])) << what << " at frame " << i;
}

std::vector<double> Silence(int frames) { return std::vector<double>(frames, 0.0); }

// Mono input: only the first input connected, both outputs.
void ConnectMonoInput(VstFixture& f) {
  VstSpeakerArrangement in{};
  in.type = kSpeakerArrMono;
  in.numChannels = 1;
  VstSpeakerArrangement out{};
  out.type = kSpeakerArrStereo;
  out.numChannels = 2;
  ASSERT_EQ(f.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
}
}  // namespace

TEST_F(VstAudio, PanLeftStereoBothPaths) {
  Start(44100.0f, 4096);
  const std::vector<double> left = TestSignal(kFrames, 1.0);
  const std::vector<double> right = TestSignal(kFrames, 3.0);
  const auto out = ProcessDouble({left, right}, kFrames);
  ExpectSamples(out[0], left, "leading left");
  ExpectSamples(out[1], ExpectedLag(left, 882, 0.0), "lagging right");  // 20 ms at 44.1 kHz

  Start(44100.0f, 4096);  // a new block size and rate empty the delay line
  const auto outF = ProcessFloat({ToFloat(left), ToFloat(right)}, kFrames);
  std::vector<double> leftF(kFrames);
  for (int i = 0; i < kFrames; ++i) leftF[i] = static_cast<float>(left[i]);
  ExpectSamples(outF[0], leftF, "leading left, 32-bit");
  ExpectSamples(outF[1], ExpectedLag(leftF, 882, 0.0), "lagging right, 32-bit");
}

TEST_F(VstAudio, PanRightStereoUsesTheRightInput) {
  Start();
  SetParameter(kPanParam, 1.0f);
  const std::vector<double> left = TestSignal(kFrames, 1.0);
  const std::vector<double> right = TestSignal(kFrames, 3.0);
  const auto out = ProcessDouble({left, right}, kFrames);
  ExpectSamples(out[1], right, "leading right");
  ExpectSamples(out[0], ExpectedLag(right, 882, 0.0), "lagging left");
  // The left input has no influence.
  Start();
  const auto quietLeft = ProcessDouble({Silence(kFrames), right}, kFrames);
  EXPECT_EQ(quietLeft, out);
}

TEST_F(VstAudio, MonoInputFeedsBothSides) {
  ConnectMonoInput(*this);
  Start(48000.0f, 512);
  SetParameterText(kDelayParam, "40");  // 1920 samples at 48 kHz
  SetParameter(kPanParam, 1.0f);
  const std::vector<double> mono = TestSignal(kFrames, 5.0);
  const auto out = ProcessDouble({mono}, kFrames);
  ExpectSamples(out[1], mono, "leading right");
  ExpectSamples(out[0], ExpectedLag(mono, 1920, 0.0), "lagging left");
}

TEST_F(VstAudio, SwitchingTheTrackToMonoAfterOpenKeepsTheSound) {
  // A host that opens the plug-in on a stereo track with the right side leading, then
  // turns the track into a mono one, and back. No parameter or program changes between.
  Start();
  SetParameter(kPanParam, 1.0f);
  const std::vector<double> left = TestSignal(kFrames, 1.0);
  const std::vector<double> right = TestSignal(kFrames, 3.0);
  ProcessDouble({left, right}, kFrames);

  ConnectMonoInput(*this);
  const std::vector<double> mono = TestSignal(kFrames, 5.0);
  const auto outD = ProcessDouble({mono}, kFrames);
  ExpectSamples(outD[1], mono, "leading right, mono track");
  const auto outF = ProcessFloat({ToFloat(mono)}, kFrames);
  ExpectSamples(outF[1], mono, "leading right, mono track, 32-bit");
  // The lagging side carries the mono input too, once the delay has passed.
  for (int i = 882; i < kFrames; ++i) ASSERT_EQ(outF[0][i], static_cast<float>(mono[i - 882])) << i;

  VstSpeakerArrangement stereo{};
  stereo.numChannels = 2;
  ASSERT_EQ(Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), nullptr), 1);
  const auto back = ProcessDouble({left, right}, kFrames);
  ExpectSamples(back[1], right, "leading right, stereo again");
  for (int i = 882; i < kFrames; ++i) ASSERT_EQ(back[0][i], right[i - 882]) << i;
}

TEST_F(VstAudio, WetMixScalesTheLaggingSide) {
  Start();
  SetParameterText(kWetMixParam, "-4.1");
  SetParameterText(kDelayParam, "1");  // 44 samples
  const std::vector<double> in = TestSignal(kFrames);
  const auto out = ProcessDouble({in, in}, kFrames);
  const std::vector<double> expected = ExpectedLag(in, 44, -4.1);
  for (int i = 0; i < kFrames; ++i) ASSERT_NEAR(out[1][i], expected[i], 1e-12) << i;
  EXPECT_NEAR(out[1][44] / in[0], 0.623735, 5e-7);
}

TEST_F(VstAudio, SegmentationDoesNotChangeTheSamples) {
  const std::vector<double> in = TestSignal(kFrames);
  Start(44100.0f, 1024);
  SetParameterText(kDelayParam, "3.3");
  const auto whole = ProcessDouble({in, in}, kFrames);

  for (bool floatPath : {false, true}) {
    Start(44100.0f, 1024);
    std::vector<std::vector<double>> pieces(2);
    const int sizes[] = {1, 3, 7, 64, 1, 511, 1000, 2};
    int done = 0, k = 0;
    while (done < kFrames) {
      const int n = std::min(sizes[k++ % 8], kFrames - done);
      const std::vector<double> part(in.begin() + done, in.begin() + done + n);
      if (floatPath) {
        const auto out = ProcessFloat({ToFloat(part), ToFloat(part)}, n);
        for (int c = 0; c < 2; ++c) pieces[c].insert(pieces[c].end(), out[c].begin(), out[c].end());
      } else {
        const auto out = ProcessDouble({part, part}, n);
        for (int c = 0; c < 2; ++c) pieces[c].insert(pieces[c].end(), out[c].begin(), out[c].end());
      }
      done += n;
    }
    for (int c = 0; c < 2; ++c) {
      for (int i = 0; i < kFrames; ++i) {
        const double expected = floatPath ? static_cast<float>(whole[c][i]) : whole[c][i];
        ASSERT_EQ(pieces[c][i], expected) << "channel " << c << " frame " << i << (floatPath ? " 32-bit" : "");
      }
    }
  }
}

TEST_F(VstAudio, BlocksLongerThanTheBlockSize) {
  const std::vector<double> in = TestSignal(kFrames);
  for (bool floatPath : {false, true}) {
    Start(44100.0f, 64);  // the host promised 64 frames and sends 3000
    std::vector<double> lead, lag;
    if (floatPath) {
      const auto out = ProcessFloat({ToFloat(in), ToFloat(in)}, kFrames);
      lead.assign(out[0].begin(), out[0].end());
      lag.assign(out[1].begin(), out[1].end());
    } else {
      const auto out = ProcessDouble({in, in}, kFrames);
      lead = out[0];
      lag = out[1];
    }
    std::vector<double> source = in;
    if (floatPath)
      for (double& s : source) s = static_cast<float>(s);
    const std::vector<double> expectedLag = ExpectedLag(source, 882, 0.0);
    for (int i = 0; i < kFrames; ++i) {
      ASSERT_EQ(lead[i], source[i]) << i;
      ASSERT_EQ(lag[i], expectedLag[i]) << i;
    }
  }
}

TEST_F(VstAudio, EmptyOrNegativeFrameCountsTouchNothing) {
  Start();
  for (int frames : {0, -1, INT_MIN}) {
    std::vector<float> in(8, 1.0f), out0(8, 7.0f), out1(8, 7.0f);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out0.data(), out1.data()};
    effect->processReplacing(effect, ins, outs, frames);
    EXPECT_EQ(out0, std::vector<float>(8, 7.0f));
    EXPECT_EQ(out1, std::vector<float>(8, 7.0f));
    std::vector<double> din(8, 1.0), dout(8, 7.0);
    double* dins[2] = {din.data(), din.data()};
    double* douts[2] = {dout.data(), dout.data()};
    effect->processDoubleReplacing(effect, dins, douts, frames);
    EXPECT_EQ(dout, std::vector<double>(8, 7.0));
  }
  // Null buffer arrays are not followed.
  effect->processReplacing(effect, nullptr, nullptr, 64);
  effect->processDoubleReplacing(effect, nullptr, nullptr, 64);
}

TEST_F(VstAudio, ImpulseAfterARateChange) {
  Start(96000.0f, 512);
  SetParameterText(kDelayParam, "40");
  Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  std::vector<double> impulse(4000, 0.0);
  impulse[0] = 1.0;
  const auto out = ProcessDouble({impulse, impulse}, 4000);
  for (int i = 0; i < 4000; ++i) ASSERT_EQ(out[1][i], i == 1764 ? 1.0 : 0.0) << i;
}

TEST_F(VstAudio, SwitchingOffEmptiesTheDelayLine) {
  Start();
  const std::vector<double> in = TestSignal(1000);
  ProcessDouble({in, in}, 1000);
  Dispatch(effMainsChanged, 0, 0);
  Dispatch(effMainsChanged, 0, 1);
  const auto out = ProcessDouble({Silence(1000), Silence(1000)}, 1000);
  EXPECT_EQ(out[1], Silence(1000)) << "nothing from before the switch-off comes out";
}

TEST_F(VstAudio, UnusableSampleRatesPassTheInputAndSilenceTheLaggingSide) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<double> in = TestSignal(2000);
  for (float rate : {0.0f, -44100.0f, nan, inf, 1e7f, 2e9f}) {
    Start(44100.0f, 256);
    ProcessDouble({in, in}, 2000);  // fill the delay line first
    Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    const auto out = ProcessDouble({in, in}, 2000);
    ExpectSamples(out[0], in, "leading side");
    ExpectSamples(out[1], Silence(2000), "lagging side");
    const auto outF = ProcessFloat({ToFloat(in), ToFloat(in)}, 2000);
    for (int i = 0; i < 2000; ++i) {
      ASSERT_EQ(outF[0][i], static_cast<float>(in[i])) << "rate " << rate;
      ASSERT_EQ(outF[1][i], 0.0f) << "rate " << rate;
    }
    // Parameter changes meanwhile stay harmless.
    SetParameter(kDelayParam, 1.0f);
    SetParameter(kDelayParam, 0.5f);
    // A usable rate brings the delay back.
    Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    SetParameterText(kDelayParam, "20");
    const auto back = ProcessDouble({in, in}, 2000);
    ExpectSamples(back[1], ExpectedLag(in, 882, 0.0), "after a usable rate");
  }
}

TEST_F(VstAudio, DisconnectedOutputIsLeftAlone) {
  VstSpeakerArrangement in{};
  in.numChannels = 2;
  VstSpeakerArrangement out{};
  out.numChannels = 1;
  ASSERT_EQ(Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  Start();
  const std::vector<double> signal = TestSignal(1000);
  const auto result = ProcessFloat({ToFloat(signal), ToFloat(signal)}, 1000);
  EXPECT_EQ(result[1], std::vector<float>(1000, 12345.0f));
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(result[0][i], static_cast<float>(signal[i]));
}

TEST_F(VstAudio, AbsurdSpeakerCountsAreClipped) {
  Start();
  const std::vector<double> signal = TestSignal(1000);
  for (VstInt32 count : {-1, INT_MIN, -2147483647, 3, 1000000, INT_MAX}) {
    VstSpeakerArrangement in{};
    in.numChannels = count;
    VstSpeakerArrangement out{};
    out.numChannels = count;
    EXPECT_EQ(Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
    // Host buffers for every channel the plug-in has; none may be read or written
    // beyond those, none outside the frames given.
    const auto result = ProcessDouble({signal, signal}, 1000);
    if (count < 0) {
      // Nothing connected: the outputs are the plug-in's own, the host's stay as they were.
      EXPECT_EQ(result[0], std::vector<double>(1000, 12345.0)) << count;
      EXPECT_EQ(result[1], std::vector<double>(1000, 12345.0)) << count;
    } else {
      ExpectSamples(result[0], signal, "leading side, all connected");
    }
  }
  // Null arrangements are allowed on either side.
  EXPECT_EQ(Dispatch(effSetSpeakerArrangement, 0, 0, nullptr), 1);
}

TEST_F(VstAudio, BlockSizesAreRefusedOrClipped) {
  Start(44100.0f, 256);
  const std::vector<double> in = TestSignal(2000);
  for (VstIntPtr size : {VstIntPtr(0), VstIntPtr(-5), VstIntPtr(INT_MIN), VstIntPtr(INT_MAX),
                         static_cast<VstIntPtr>(0x7fffffffffffLL)}) {
    Dispatch(effSetBlockSize, 0, size);
    const auto out = ProcessFloat({ToFloat(in), ToFloat(in)}, 2000);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(out[0][i], static_cast<float>(in[i])) << "block size " << size;
  }
}
