// KyvBrindlow in-process: the engine's handlers and the adapter's calls to the host,
// which a host can only observe indirectly.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <limits>
#include <memory>
#include <vector>

#include "VstBrindlow.h"

// Lets a test make the delay line's allocation fail: array allocations of at
// least this many bytes answer null while it is non-zero.
static size_t gFailArraysFrom = 0;

void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  if (gFailArraysFrom && size >= gFailArraysFrom) return nullptr;
  return std::malloc(size ? size : 1);
}
void* operator new[](size_t size) {
  if (void* p = operator new[](size, std::nothrow)) return p;
  throw std::bad_alloc();
}
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

struct RecordedCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  float opt;
};

// The host on the other side of the callback; one at a time, tests run on one thread.
struct FakeHost {
  std::vector<RecordedCall> calls;
  const char* product = "Cubase VST";
  VstIntPtr vendorVersion = 10300;
  bool giveTime = true;
  VstTimeInfo time{};
  VstIntPtr processEventsAnswers[8] = {1, 1, 1, 1, 1, 1, 1, 1};
  int processEventsCalls = 0;
  AEffect* reenter = nullptr;  // called back from inside the product query and automation
  float reenteredValue = -1.0f;
  int callsWithLockHeld = 0;
};
FakeHost* gHost = nullptr;

VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  if (!gHost) return 0;
  gHost->calls.push_back({opcode, index, value, opt});
  IPlugBase* plug = IPlugVST::PlugOf(effect);
  if (plug && plug->Lock().HeldByCurrentThread()) ++gHost->callsWithLockHeld;
  switch (opcode) {
    case audioMasterAutomate:
      if (gHost->reenter) {
        // The host applies the edit to the plug-in itself and reads it back at once.
        effect->setParameter(effect, index, opt);
        gHost->reenteredValue = effect->getParameter(effect, index);
      }
      return 0;
    case audioMasterGetProductString:
      if (gHost->reenter) gHost->reenteredValue = effect->getParameter(effect, KyvBrindlow::kWetMix);
      std::strcpy(static_cast<char*>(ptr), gHost->product);
      return 1;
    case audioMasterGetVendorVersion:
      return gHost->vendorVersion;
    case audioMasterGetTime:
      return gHost->giveTime ? reinterpret_cast<VstIntPtr>(&gHost->time) : 0;
    case audioMasterProcessEvents:
      return gHost->processEventsAnswers[gHost->processEventsCalls++ % 8];
    default:
      return 0;
  }
}

class KyvBrindlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gHost = &host;
    plug = VstBrindlowPtr(&HostCallback);
  }
  void TearDown() override {
    plug.reset();
    gHost = nullptr;
  }

  AEffect* Effect() { return plug.GetAEffect(); }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
    return Effect()->dispatcher(Effect(), opcode, index, value, ptr, opt);
  }
  void SetRate(float rate) { Dispatch(effSetSampleRate, 0, 0, nullptr, rate); }
  void SetValue(int param, const char* text) {
    ASSERT_EQ(Dispatch(effString2Parameter, param, 0, const_cast<char*>(text)), 1);
  }
  int CountCalls(VstInt32 opcode) const {
    int n = 0;
    for (const RecordedCall& c : host.calls) n += c.opcode == opcode;
    return n;
  }

  FakeHost host;
  VstBrindlowPtr plug;
};

TEST_F(KyvBrindlowTest, DelayInSamplesFollowsRateAndDelay) {
  SetRate(44100.0f);
  Dispatch(effOpen);
  EXPECT_EQ(plug->DelayLine().Length(), 1766);
  EXPECT_EQ(plug->DelayLine().DelaySamples(), 882);
  SetValue(KyvBrindlow::kDelay, "1");
  EXPECT_EQ(plug->DelayLine().DelaySamples(), 44);

  SetRate(48000.0f);
  SetValue(KyvBrindlow::kDelay, "40");
  EXPECT_EQ(plug->DelayLine().DelaySamples(), 1920);
  EXPECT_EQ(plug->DelayLine().Length(), 1922);

  SetRate(96000.0f);
  EXPECT_EQ(plug->DelayLine().Length(), 3842);
  SetRate(44100.0f);
  EXPECT_EQ(plug->DelayLine().DelaySamples(), 1764);
  EXPECT_EQ(plug->DelayLine().Length(), 1766);
}

TEST_F(KyvBrindlowTest, ProgramRecallRunsTheDelayHandler) {
  SetRate(44100.0f);
  Dispatch(effOpen);
  Dispatch(effSetProgram, 0, 9);  // "Snare Drum", 1 ms
  EXPECT_EQ(plug->DelayLine().DelaySamples(), 44);
}

TEST_F(KyvBrindlowTest, SideHandlerChoosesChannels) {
  Dispatch(effOpen);
  EXPECT_EQ(plug->LeadingOutputIndex(), 0);
  EXPECT_EQ(plug->LaggingOutputIndex(), 1);
  EXPECT_EQ(plug->InputChannelIndex(), 0);

  Effect()->setParameter(Effect(), KyvBrindlow::kPan, 0.7f);
  EXPECT_EQ(plug->LeadingOutputIndex(), 1);
  EXPECT_EQ(plug->LaggingOutputIndex(), 0);
  EXPECT_EQ(plug->InputChannelIndex(), 1) << "stereo input: the leading side's own input";

  // Input 1 disconnected after open: the input is chosen again at once, with no
  // change of Pan, and again when it comes back.
  VstSpeakerArrangement mono{};
  mono.numChannels = 1;
  Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), nullptr);
  EXPECT_EQ(plug->InputChannelIndex(), 0) << "mono input feeds both sides";
  EXPECT_EQ(plug->LeadingOutputIndex(), 1);
  EXPECT_EQ(plug->LaggingOutputIndex(), 0);
  VstSpeakerArrangement stereo{};
  stereo.numChannels = 2;
  Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo), nullptr);
  EXPECT_EQ(plug->InputChannelIndex(), 1) << "stereo again: the leading side's own input";
  SetValue(KyvBrindlow::kPan, "Left");
  EXPECT_EQ(plug->InputChannelIndex(), 0);
}

TEST_F(KyvBrindlowTest, PresetsHoldTheirValuesExactly) {
  ASSERT_EQ(plug->PresetCount(), 17);
  const double expected[17][3] = {{20, 0, 0},    {40, 0, -4.1},   {25.1, 0, -6.9}, {33.4, 0, 3},
                                  {23.6, 0, 1.3}, {15.1, 0, 0},    {12.3, 0, 0},    {30.7, 0, 0},
                                  {4.7, 0, 3.3},  {1, 0, 0},       {7, 0, 0},       {40, 0, -2},
                                  {10, 0, 0},     {20, 0, 0},      {20, 0, 0},      {20, 0, 0},
                                  {20, 0, 0}};
  for (int p = 0; p < 17; ++p) {
    const IByteChunk& state = plug->PresetAt(p)->mState;
    ASSERT_EQ(state.Size(), 24) << p;
    for (int i = 0; i < 3; ++i) {
      double v = 0;
      state.GetDouble(&v, 8 * i);
      EXPECT_EQ(v, expected[p][i]) << "program " << p << " parameter " << i;
    }
  }
  // Creating the presets left the parameters at their defaults.
  EXPECT_EQ(plug->ParameterAt(KyvBrindlow::kDelay)->Value(), 20.0);
  EXPECT_EQ(plug->CurrentPreset(), 0);
}

TEST_F(KyvBrindlowTest, LongProgramNamesAreKeptWhole) {
  char name[] = "A name far longer than the twenty-four characters of a host";
  Dispatch(effSetProgramName, 0, 0, name);
  EXPECT_STREQ(plug->PresetName(0), name);
}

TEST_F(KyvBrindlowTest, HostIdentificationConvertsTheVersion) {
  host.vendorVersion = 10300;
  Dispatch(effOpen);
  EXPECT_EQ(plug->HostKind(), 3);  // "cubase"
  EXPECT_EQ(plug->HostVersion(), 0x00010300);
  EXPECT_TRUE(plug->HostSetupDone());

  host.product = "REAPER";
  Dispatch(effOpen);
  EXPECT_EQ(plug->HostKind(), 3) << "identified once for the life of the instance";
  EXPECT_EQ(plug->IdentifyHost(), 3);
  EXPECT_EQ(CountCalls(audioMasterGetProductString), 1);
}

TEST_F(KyvBrindlowTest, HostWithAnOddVersion) {
  host.product = "Some Host";
  host.vendorVersion = 2050;
  EXPECT_EQ(plug->IdentifyHost(), 0);
  EXPECT_EQ(plug->HostVersion(), 0x00001432);
}

TEST_F(KyvBrindlowTest, AHostCallingBackFromItsCallbacksIsAnsweredWithTheLockFree) {
  host.reenter = Effect();
  Dispatch(effOpen);  // the host asks for a value from inside the product query
  EXPECT_EQ(host.reenteredValue, 0.5f);
  // An edit from the editor: the host sets and reads the parameter from inside automate.
  plug->SetParameterFromGUI(KyvBrindlow::kWetMix, 0.25);
  EXPECT_EQ(host.reenteredValue, 0.25f);
  EXPECT_DOUBLE_EQ(plug->ParameterAt(KyvBrindlow::kWetMix)->Normalized(), 0.25);
  EXPECT_GE(CountCalls(audioMasterAutomate), 1);
  EXPECT_EQ(host.callsWithLockHeld, 0) << "a callback arrived with the plug-in's lock held";
}

TEST_F(KyvBrindlowTest, AutomationAndEditGestures) {
  plug->HostBeginEdit(2);
  plug->SetParameterFromGUI(2, 0.75);
  plug->HostEndEdit(2);
  ASSERT_EQ(host.calls.size(), 3u);
  EXPECT_EQ(host.calls[0].opcode, audioMasterBeginEdit);
  EXPECT_EQ(host.calls[0].index, 2);
  EXPECT_EQ(host.calls[1].opcode, audioMasterAutomate);
  EXPECT_EQ(host.calls[1].index, 2);
  EXPECT_EQ(host.calls[1].opt, 0.75f);
  EXPECT_EQ(host.calls[2].opcode, audioMasterEndEdit);
  EXPECT_EQ(host.calls[2].index, 2);
  EXPECT_DOUBLE_EQ(plug->ParameterAt(2)->Value(), 5.0);

  // A two-value choice stores the rounded value but reports the control's own.
  host.calls.clear();
  plug->SetParameterFromGUI(KyvBrindlow::kPan, 0.5);
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].opt, 0.5f);
  EXPECT_EQ(plug->ParameterAt(KyvBrindlow::kPan)->Value(), 1.0);
  EXPECT_EQ(plug->LeadingOutputIndex(), 1) << "the side handler ran";
}

TEST_F(KyvBrindlowTest, TempoQuery) {
  host.time.tempo = 96.5;
  host.time.flags = kVstTempoValid;
  EXPECT_EQ(plug->HostTempo(), 96.5);
  ASSERT_FALSE(host.calls.empty());
  EXPECT_EQ(host.calls.back().opcode, audioMasterGetTime);
  EXPECT_EQ(host.calls.back().value, kVstTempoValid);

  host.time.flags = kVstTimeSigValid;
  EXPECT_EQ(plug->HostTempo(), 0.0) << "tempo not marked valid";
  host.time.flags = kVstTempoValid;
  host.time.tempo = -10.0;
  EXPECT_EQ(plug->HostTempo(), 0.0);
  host.time.tempo = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(plug->HostTempo(), 0.0);
  host.time.tempo = std::numeric_limits<double>::infinity();
  EXPECT_EQ(plug->HostTempo(), 0.0);
  host.giveTime = false;
  EXPECT_EQ(plug->HostTempo(), 0.0);
}

TEST_F(KyvBrindlowTest, SamplePositionQuery) {
  host.time.samplePos = 4410.9;
  EXPECT_EQ(plug->HostSamplePosition(), 4410);
  EXPECT_EQ(host.calls.back().value, 0) << "no validity flags asked for";
  host.time.samplePos = -1.0;
  EXPECT_EQ(plug->HostSamplePosition(), 0);
  host.time.samplePos = 1e12;
  EXPECT_EQ(plug->HostSamplePosition(), INT_MAX) << "saturates instead of overflowing";
  host.time.samplePos = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(plug->HostSamplePosition(), 0);
  host.giveTime = false;
  EXPECT_EQ(plug->HostSamplePosition(), 0);
}

TEST_F(KyvBrindlowTest, TimeSignatureQuery) {
  int num = -1, den = -1;
  host.time.timeSigNumerator = 7;
  host.time.timeSigDenominator = 8;
  host.time.flags = kVstTimeSigValid;
  plug->HostTimeSignature(&num, &den);
  EXPECT_EQ(num, 7);
  EXPECT_EQ(den, 8);
  EXPECT_EQ(host.calls.back().value, kVstTimeSigValid);

  host.time.flags = kVstTempoValid;
  plug->HostTimeSignature(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);
  host.time.flags = kVstTimeSigValid;
  host.time.timeSigDenominator = -4;
  plug->HostTimeSignature(&num, &den);
  EXPECT_EQ(num, 0);
  EXPECT_EQ(den, 0);
}

TEST_F(KyvBrindlowTest, ABlockSeesTheTransportReadBeforeItTookTheLock) {
  host.time.tempo = 96.5;
  host.time.samplePos = 4410.0;
  host.time.timeSigNumerator = 7;
  host.time.timeSigDenominator = 8;
  host.time.flags = kVstTempoValid | kVstTimeSigValid;
  SetRate(44100.0f);
  Dispatch(effMainsChanged, 0, 1);
  float in[2][16] = {}, out[2][16] = {};
  float* inputs[] = {in[0], in[1]};
  float* outputs[] = {out[0], out[1]};
  Effect()->processReplacing(Effect(), inputs, outputs, 16);
  EXPECT_EQ(CountCalls(audioMasterGetTime), 0) << "a product that does not ask costs the host nothing";
  plug->SetReadsTransport(true);
  Effect()->processReplacing(Effect(), inputs, outputs, 16);
  EXPECT_EQ(plug->Transport().tempo, 96.5);
  EXPECT_EQ(plug->Transport().samplePosition, 4410);
  EXPECT_EQ(plug->Transport().numerator, 7);
  EXPECT_EQ(plug->Transport().denominator, 8);
  EXPECT_EQ(host.callsWithLockHeld, 0);
}

TEST_F(KyvBrindlowTest, WithoutAHostCallbackQueriesAnswerZero) {
  VstBrindlowPtr orphan(nullptr);
  EXPECT_EQ(orphan->HostTempo(), 0.0);
  EXPECT_EQ(orphan->HostSamplePosition(), 0);
  orphan->HostAutomate(0, 0.5);
  AEffect* effect = orphan.GetAEffect();
  EXPECT_EQ(effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(orphan->HostKind(), 0);
}

TEST_F(KyvBrindlowTest, MidiListToHostGoesOnAfterARejection) {
  // Messages wait for the lock to be free, then all reach the host, refused or not.
  const MidiMessage messages[3] = {{0, 0x90, 60, 100}, {5, 0x80, 60, 0}, {9, 0xB0, 7, 64}};
  host.processEventsAnswers[1] = 0;
  EXPECT_TRUE(plug->SendMidiListToHost(messages, 3));
  EXPECT_EQ(host.processEventsCalls, 0) << "nothing reaches the host before the call ends";
  plug->FlushMidiToHost();
  EXPECT_EQ(host.processEventsCalls, 3);
  host.processEventsAnswers[1] = 1;
  host.processEventsCalls = 0;
  EXPECT_TRUE(plug->SendMidiListToHost(messages, 3));
  EXPECT_TRUE(plug->SendMidiListToHost(messages, 0));
  plug->FlushMidiToHost();
  EXPECT_EQ(host.processEventsCalls, 3);
}

TEST_F(KyvBrindlowTest, LatencyGoesIntoTheEntryObject) {
  plug->SetLatencySamples(64);
  EXPECT_EQ(Effect()->initialDelay, 64);
  EXPECT_EQ(plug->Latency(), 64);
}

TEST_F(KyvBrindlowTest, EngineWithoutADelayLinePassesTheInput) {
  // No sample rate or block size from the host yet: no delay line.
  Dispatch(effOpen);
  std::vector<double> in = {1, 2, 3, 4}, lead(4, 9), lag(4, 9);
  double* ins[2] = {in.data(), in.data()};
  double* outs[2] = {lead.data(), lag.data()};
  plug->ProcessBlock(ins, outs, 4);
  EXPECT_EQ(lead, in);
  EXPECT_EQ(lag, std::vector<double>(4, 0.0));
}

TEST_F(KyvBrindlowTest, FailedDelayLineAllocationPassesTheInput) {
  SetRate(44100.0f);
  Dispatch(effOpen);
  gFailArraysFrom = 1766 * sizeof(double);
  SetRate(48000.0f);
  gFailArraysFrom = 0;
  EXPECT_FALSE(plug->DelayLine().HasBuffer());

  std::vector<float> in(3000), left(3000, 9.0f), right(3000, 9.0f);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<float>(std::sin(0.01 * i));
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {left.data(), right.data()};
  Effect()->processReplacing(Effect(), ins, outs, 3000);
  EXPECT_EQ(left, in) << "leading side";
  EXPECT_EQ(right, std::vector<float>(3000, 0.0f)) << "lagging side";
  // Parameter changes without a delay line are harmless.
  SetValue(KyvBrindlow::kDelay, "33");
  Effect()->setParameter(Effect(), KyvBrindlow::kPan, 1.0f);
  Effect()->processReplacing(Effect(), ins, outs, 3000);
  EXPECT_EQ(right, in) << "Right leads now";
  EXPECT_EQ(left, std::vector<float>(3000, 0.0f));

  // The next rate change builds it again.
  SetRate(48000.0f);
  EXPECT_TRUE(plug->DelayLine().HasBuffer());
  EXPECT_EQ(plug->DelayLine().DelaySamples(), 1584);
}

}  // namespace
