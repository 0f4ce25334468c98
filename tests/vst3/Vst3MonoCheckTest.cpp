// The mono-check strip's meter in a VST 3 plug-in: audio through the processor's process
// call, on either sample width, reaches the strip's reading through the frame's run loop,
// and the meter gathers nothing while the strip is hidden or the view removed. The adapter
// is linked in, so that the strip's control can be read; its window only stands in for one.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "IGraphicsPlug.h"
#include "IPlugVST3.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"
#include "KyvMonoCheckView.h"
#include "StandInWindowBackend.h"
#include "Vst3TestSupport.h"

using namespace vst3;

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = 44100.0;
constexpr int32 kBlock = 512;

const IPlugVST3Product kProduct = {MakeUid(5, 6, 7, 8), "Fx|Delay", "", "", &KyvBrindlowInfo,
                                   [] { return static_cast<IPlugBase*>(MakeKyvBrindlow()); }};

KyvCorrelationMeter* StripMeter(IGraphicsLice* editor)
{
  for (int32_t i = 0; i < editor->ControlCount(); ++i)
    if (auto* meter = dynamic_cast<KyvCorrelationMeter*>(editor->GetControl(i))) return meter;
  return nullptr;
}

// An active, processing instance of |sampleSize| with 10 ms of delay and the wet side at
// -6 dB (set by the first block's parameter changes), its view attached in a stand-in
// window.
class MeteredVst3Brindlow
{
public:
  explicit MeteredVst3Brindlow(int32 sampleSize) : mSampleSize(sampleSize)
  {
    if (mAdapter->initialize(mApp) != kResultOk) return;
    mChanges->Add(KyvBrindlow::kDelay, 0, Plug()->ParameterAt(KyvBrindlow::kDelay)->ToNormalized(10.0));
    mChanges->Add(KyvBrindlow::kWetMix, 0, Plug()->ParameterAt(KyvBrindlow::kWetMix)->ToNormalized(-6.0));
    ProcessSetup setup{kRealtime, sampleSize, kBlock, kRate};
    if (mAdapter->setupProcessing(setup) != kResultOk || mAdapter->setActive(1) != kResultOk) return;
    mAdapter->setProcessing(1);
    view = mAdapter->createView(kEditorViewType);
#if defined(_WIN32)
    const FIDString platform = kPlatformTypeHWND;
#else
    const FIDString platform = kPlatformTypeX11EmbedWindowID;
#endif
    mReady = mAttached = view && view->setFrame(frame) == kResultOk && view->attached(&mParent, platform) == kResultOk;
  }
  // The host closes the editor's window.
  void Remove()
  {
    if (mAttached) view->removed();
    mAttached = false;
  }
  ~MeteredVst3Brindlow()
  {
    if (view)
    {
      if (mAttached) view->removed();
      view->setFrame(nullptr);
      view->release();
    }
    mAdapter->setProcessing(0);
    mAdapter->setActive(0);
    mAdapter->terminate();
    mAdapter->release();
    mChanges->release();
    frame->release();
    mApp->release();
  }
  bool Ready() const { return mReady; }
  KyvBrindlow* Plug() const { return static_cast<KyvBrindlow*>(mAdapter->Plug()); }
  KyvBrindlowGraphics* Editor() const { return static_cast<KyvBrindlowGraphics*>(EditorOf(mAdapter->Plug())); }

  // One second of a sine on both inputs, in 512-frame process calls, then the run loop
  // turned until the editor's timer (its frame rate) has fired.
  void RunSine(double frequency)
  {
    StereoBlock<float> block32(kBlock);
    StereoBlock<double> block64(kBlock);
    AudioBusBuffers in{2, 0, {nullptr}}, out{2, 0, {nullptr}};
    if (mSampleSize == kSample64)
      in.channelBuffers64 = block64.inPtr, out.channelBuffers64 = block64.outPtr;
    else
      in.channelBuffers32 = block32.inPtr, out.channelBuffers32 = block32.outPtr;
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = mSampleSize;
    data.numSamples = kBlock;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    for (int32 at = 0; at + kBlock <= int32(kRate); at += kBlock)
    {
      for (int32 i = 0; i < kBlock; ++i)
      {
        const double x = 0.5 * std::sin(2.0 * kPi * frequency * double(at + i) / kRate);
        block32.in[0][size_t(i)] = block32.in[1][size_t(i)] = float(x);
        block64.in[0][size_t(i)] = block64.in[1][size_t(i)] = x;
      }
      data.inputParameterChanges = mChangesSent ? nullptr : mChanges;
      mChangesSent = true;
      mAdapter->process(data);
    }
    for (int turn = 0; turn < 3; ++turn)
    {
      std::this_thread::sleep_for(std::chrono::milliseconds(40));
      frame->Pump(0);
    }
  }

  vst3host::PlugFrame* frame = new vst3host::PlugFrame;
  IPlugView* view = nullptr;

private:
  int32 mSampleSize;
  IPlugVST3* mAdapter = new IPlugVST3(kProduct);
  vst3host::HostApplication* mApp = new vst3host::HostApplication;
  vst3host::ParameterChanges* mChanges = new vst3host::ParameterChanges;
  bool mChangesSent = false;
  bool mReady = false;
  bool mAttached = false;
  int mParent = 0;
};
}  // namespace

TEST(Vst3MonoCheck, ProcessedAudioReachesTheStripsMeterOnlyWhileItShows)
{
  const TickingStandInWindows windows;
  for (int32 sampleSize : {kSample32, kSample64})
  {
    SCOPED_TRACE(sampleSize == kSample64 ? "64-bit" : "32-bit");
    MeteredVst3Brindlow brindlow(sampleSize);
    ASSERT_TRUE(brindlow.Ready());
    KyvBrindlowGraphics* editor = brindlow.Editor();
    ASSERT_NE(editor, nullptr);
    brindlow.RunSine(60.0);
    EXPECT_FALSE(brindlow.Plug()->OutputMeter().Read(0.3).valid) << "the strip hidden: nothing gathered";

    editor->ShowMonoCheck(true);
    ASSERT_EQ(brindlow.frame->resizeCount, 1) << "the frame is told the taller size";
    brindlow.RunSine(60.0);
    const KyvCorrelationMeter* meter = StripMeter(editor);
    ASSERT_NE(meter, nullptr);
    // The lagging side is g x(n - D): correlation cos(w D), mono loss
    // 10 log10((1 + g^2 + 2 g cos(w D)) / (2 (1 + g^2))).
    const double d = double(brindlow.Plug()->DelayLine().DelaySamples());
    EXPECT_EQ(d, 441.0) << "the first block's changes reached the processor";
    const double g = std::pow(10.0, -6.0 / 20.0), cosine = std::cos(2.0 * kPi * 60.0 * d / kRate);
    ASSERT_TRUE(meter->Reading().valid);
    EXPECT_NEAR(meter->Reading().correlation, cosine, 0.02);
    EXPECT_NEAR(meter->Reading().monoLossDb, 10.0 * std::log10((1 + g * g + 2 * g * cosine) / (2 * (1 + g * g))), 0.1);

    brindlow.Remove(); // the window closes with the strip still chosen
    EXPECT_FALSE(brindlow.Plug()->OutputMeter().Active());
    // Another tone (correlation 0 at this delay) gathers nothing: the meter holds the last.
    const double before = brindlow.Plug()->OutputMeter().Read(0.3).correlation;
    brindlow.RunSine(25.0);
    EXPECT_DOUBLE_EQ(brindlow.Plug()->OutputMeter().Read(0.3).correlation, before) << "the view removed: nothing gathered";
  }
}
