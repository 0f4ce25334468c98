// Gestures on the panel reach the plug-in, the host and the audio.
#include "EditorFixture.h"

#include <cmath>
#include <vector>

namespace
{

const int kBlock = 4096;

// Sends one impulse through both inputs and answers where it comes out on `output`
// (the first sample whose level is above a trace), or -1.
int ImpulseArrival(AEffect* effect, int output)
{
  std::vector<float> in0(kBlock, 0.0f), in1(kBlock, 0.0f), out0(kBlock, 0.0f), out1(kBlock, 0.0f);
  in0[0] = in1[0] = 1.0f;
  float* inputs[] = {in0.data(), in1.data()};
  float* outputs[] = {out0.data(), out1.data()};
  effect->processReplacing(effect, inputs, outputs, kBlock);
  const std::vector<float>& out = output == 0 ? out0 : out1;
  for (int i = 0; i < kBlock; ++i)
    if (std::fabs(out[i]) > 1e-3f) return i;
  return -1;
}

using EditorGesture = EditorFixture;

TEST_F(EditorGesture, DraggingTheDelayKnobChangesTheDelayHeardAndTellsTheHost)
{
  StartAudio(44100.0f, kBlock);
  PaintAll(); // the window's first paint: the hidden splash leaves the knobs free
  ASSERT_EQ(ImpulseArrival(mEffect, 1), 882) << "20 ms at 44.1 kHz before the drag";
  Calls().clear();

  // Press on the Delay knob, drag 78 pixels up in two moves, release.
  mEditor->DispatchMouseDown(95, 112, kLeft);
  mEditor->DispatchMouseDrag(95, 80, kLeft);
  mEditor->DispatchMouseDrag(95, 34, kLeft);
  mEditor->DispatchMouseUp(95, 34, kLeft);

  // One knob height of travel is a quarter of the range: 20 ms + 39 ms / 4.
  const double expectedMs = 20.0 + 39.0 / 4.0;
  EXPECT_NEAR(mPlug->ParameterAt(KyvBrindlow::kDelay)->Value(), expectedMs, 1e-9);
  EXPECT_NEAR(Control(1)->Value(), 19.0 / 39.0 + 0.25, 1e-9);

  // The host saw begin, one automation per move, end: all for parameter 0, in that order.
  std::vector<VstInt32> gesture;
  for (const HostCall& call : Calls())
  {
    if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterAutomate || call.opcode == audioMasterEndEdit)
    {
      gesture.push_back(call.opcode);
      EXPECT_EQ(call.index, KyvBrindlow::kDelay);
    }
  }
  EXPECT_EQ(gesture, (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate, audioMasterAutomate,
                                            audioMasterEndEdit}));
  const std::vector<HostCall> automation = CallsOf(audioMasterAutomate);
  ASSERT_EQ(automation.size(), 2u);
  EXPECT_NEAR(automation.back().opt, 19.0 / 39.0 + 0.25, 1e-6);

  // The delay handler ran: the lagging side now arrives 29.75 ms later; the leading side
  // still passes the input at once.
  const int arrival = ImpulseArrival(mEffect, 1);
  EXPECT_NEAR(arrival, expectedMs * 44.1, 1.0);
  EXPECT_EQ(ImpulseArrival(mEffect, 0), 0);
}

TEST_F(EditorGesture, DraggingPastTheEndStopsAtTheMaximum)
{
  StartAudio(44100.0f, kBlock);
  PaintAll();
  mEditor->DispatchMouseDown(272, 112, kLeft);
  mEditor->DispatchMouseDrag(272, -500, kLeft); // far above the window
  mEditor->DispatchMouseUp(272, -500, kLeft);
  EXPECT_DOUBLE_EQ(mPlug->ParameterAt(KyvBrindlow::kWetMix)->Value(), 10.0);
  EXPECT_EQ(Control(5)->Value(), 1.0);
  EXPECT_EQ(CallsOf(audioMasterBeginEdit).at(0).index, KyvBrindlow::kWetMix);
}

TEST_F(EditorGesture, ClickingTheSwitchChoosesTheLeadingSide)
{
  StartAudio(44100.0f, kBlock);
  PaintAll();
  ASSERT_EQ(mPlug->LeadingOutputIndex(), 0);
  mEditor->DispatchMouseDown(182, 106, kLeft);
  mEditor->DispatchMouseUp(182, 106, kLeft);
  EXPECT_EQ(mPlug->ParameterAt(KyvBrindlow::kPan)->Value(), 1.0);
  EXPECT_EQ(Control(9)->Value(), 1.0);
  EXPECT_EQ(mPlug->LeadingOutputIndex(), 1) << "the side handler ran";
  const std::vector<HostCall> automation = CallsOf(audioMasterAutomate);
  ASSERT_FALSE(automation.empty());
  EXPECT_EQ(automation.back().index, KyvBrindlow::kPan);
  EXPECT_EQ(automation.back().opt, 1.0f);
  // Now the right output leads and the left one lags.
  EXPECT_EQ(ImpulseArrival(mEffect, 1), 0);
  EXPECT_EQ(ImpulseArrival(mEffect, 0), 882);
}

TEST_F(EditorGesture, HostValuesMoveTheControlsOnTheNextIdle)
{
  mEffect->setParameter(mEffect, KyvBrindlow::kPan, 1.0f);
  EXPECT_EQ(Control(9)->Value(), 0.0) << "host values wait for the GUI thread";
  mEditor->ApplyHostValues();  // what the tick does first
  EXPECT_EQ(Control(9)->Value(), 1.0);
  mEffect->setParameter(mEffect, KyvBrindlow::kDelay, 1.0f);
  mEditor->ApplyHostValues();
  EXPECT_EQ(Control(1)->Value(), 1.0);
  EXPECT_EQ(Control(5)->Value(), 0.5) << "other controls keep their values";
  // A program recall reaches the panel too: "Snare Drum" is 1 ms.
  Dispatch(effSetProgram, 0, 9);
  mEditor->ApplyHostValues();
  EXPECT_NEAR(Control(1)->Value(), 0.0, 1e-9);
}

} // namespace
