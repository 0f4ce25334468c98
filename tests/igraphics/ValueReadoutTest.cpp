// The value read-out: when it shows (a press, a wheel step, the pointer resting on its
// control), what it shows (the editor's value, never the parameter's own), and how long
// it stays once the gesture is over.
#include <gtest/gtest.h>

#include "IBitmapControls.h"
#include "ITextControl.h"
#include "IValueReadout.h"
#include "TestSupport.h"

namespace {

const IMouseKeys kLeft(true, false, false, false, false);
const IMouseKeys kNone;

class ValueReadoutTest : public ::testing::Test
{
protected:
  enum { kGain = 0, kSide = 1 };
  // Control indices.
  enum { kBackground = 0, kKnob = 1, kScaleLabel = 2, kSwitch = 3, kGainReadout = 4, kSideReadout = 5 };

  ValueReadoutTest() : plug(3, &log)
  {
    plug.ParameterAt(kGain)->DefineContinuous("Gain", 0.0, -10.0, 10.0, 0.1, "dB");
    plug.ParameterAt(kSide)->DefineChoice("Side", 0, 2);
    plug.ParameterAt(kSide)->AddDisplayText(0, "Left");
    plug.ParameterAt(kSide)->AddDisplayText(1, "Right");
    graphics = new TestGraphics(&plug, 200, 100);
    graphics->AddControl(new ProbeControl(&plug, IBounds(0, 0, 200, 100), -1, "background", &log));
    graphics->AddControl(new IKnobMultiControl(&plug, 10, 10, kGain, IBitmapStrip(nullptr, 40, 80, 2)));
    graphics->AddControl(new ITextControl(&plug, kUnder, ITextStyle(), "-10 ... +10"));
    graphics->AddControl(new ISwitchControl(&plug, 100, 10, kSide, IBitmapStrip(nullptr, 20, 20, 2)));
    gainReadout = new IValueReadout(&plug, kUnder, kKnob, ITextStyle());
    gainReadout->StandInFor(kScaleLabel);
    graphics->AddControl(gainReadout);
    sideReadout = new IValueReadout(&plug, IBounds(90, 40, 140, 50), kSwitch, ITextStyle());
    graphics->AddControl(sideReadout);
    plug.AttachEditor(graphics);
    Tick();
  }

  void Tick(int count = 1)
  {
    for (int i = 0; i < count; ++i) graphics->TickControls();
  }

  // Normalised position of a gain in dB.
  static double Gain(double dB) { return (dB + 10.0) / 20.0; }

  const IBounds kUnder{0, 50, 60, 62};
  EventLog log;
  TestPlug plug;
  TestGraphics* graphics;
  IValueReadout* gainReadout;
  IValueReadout* sideReadout;
};

TEST_F(ValueReadoutTest, AtRestNothingShowsAndNothingIsPainted)
{
  EXPECT_FALSE(gainReadout->Showing());
  EXPECT_FALSE(sideReadout->Showing());
  graphics->PaintArea(IBounds(0, 0, 200, 100));
  EXPECT_EQ(graphics->texts, std::vector<std::string>{"-10 ... +10"}) << "only the scale label draws text";
  EXPECT_EQ(gainReadout->LingerTicks(), 30) << "a second at the editor's frame rate";
}

TEST_F(ValueReadoutTest, APressShowsTheEditorsValueInPlaceOfTheLabelUntilASecondAfterTheRelease)
{
  // The parameter object holds another value than the editor's slot: the slot's shows.
  plug.ParameterAt(kGain)->SetValue(7.0);
  graphics->DispatchMouseDown(30, 30, kLeft);
  Tick();
  ASSERT_TRUE(gainReadout->Showing());
  EXPECT_STREQ(gainReadout->Text(), "0 dB");
  EXPECT_TRUE(graphics->GetControl(kScaleLabel)->IsHidden());
  EXPECT_FALSE(sideReadout->Showing()) << "only the worked control's read-out";

  graphics->texts.clear();
  IBounds dirty;
  ASSERT_TRUE(graphics->CollectDirty(dirty));
  graphics->PaintArea(dirty);
  EXPECT_EQ(graphics->texts, std::vector<std::string>{"0 dB"}) << "the label is hidden, the value drawn";

  // A drag moves the slot; the read-out follows on the next tick.
  graphics->DispatchMouseDrag(30, 26, kLeft);
  Tick();
  EXPECT_STREQ(gainReadout->Text(), IValueReadout::TextFor(*plug.ParameterAt(kGain), graphics->ParameterValue(kGain)).c_str());
  EXPECT_STRNE(gainReadout->Text(), "0 dB");

  graphics->DispatchMouseUp(30, 26, kLeft);
  Tick(gainReadout->LingerTicks() - 1);
  EXPECT_TRUE(gainReadout->Showing()) << "it stays a little after the release";
  Tick();
  EXPECT_FALSE(gainReadout->Showing());
  EXPECT_FALSE(graphics->GetControl(kScaleLabel)->IsHidden()) << "the label is back";
  graphics->texts.clear();
  dirty = IBounds();
  ASSERT_TRUE(graphics->CollectDirty(dirty));
  EXPECT_TRUE(dirty.Union(kUnder) == dirty) << "the read-out's place is painted again";
  graphics->PaintArea(dirty);
  EXPECT_EQ(graphics->texts, std::vector<std::string>{"-10 ... +10"});
}

TEST_F(ValueReadoutTest, HoverShowsFollowsTheHostAndLeavingHidesASecondLater)
{
  graphics->SetTrackHover(true);
  graphics->DispatchMouseOver(150, 80, kNone);
  Tick();
  EXPECT_FALSE(gainReadout->Showing()) << "the pointer on another control";

  graphics->DispatchMouseOver(20, 20, kNone);
  Tick();
  EXPECT_STREQ(gainReadout->Text(), "0 dB");
  // A value the host sets while the pointer rests shows at the next tick; the parameter's
  // own value (a host thread may be changing it) is never read.
  plug.ParameterAt(kGain)->SetValue(9.0);
  graphics->PushParameterToControls(kGain, Gain(-4.1), true);
  Tick();
  EXPECT_STREQ(gainReadout->Text(), "-4.1 dB");

  graphics->DispatchMouseLeave();
  Tick(gainReadout->LingerTicks() - 1);
  EXPECT_TRUE(gainReadout->Showing());
  Tick();
  EXPECT_FALSE(gainReadout->Showing());

  // A host value while nobody works the control shows nothing.
  graphics->PushParameterToControls(kGain, Gain(3.0), true);
  Tick();
  EXPECT_FALSE(gainReadout->Showing());
}

TEST_F(ValueReadoutTest, AWheelStepOrAClickShowsWithoutHoverAndADisplayTextStandsAlone)
{
  ASSERT_FALSE(graphics->TrackHover());
  graphics->DispatchWheel(30, 30, kNone, 10);
  Tick();
  EXPECT_STREQ(gainReadout->Text(), "2.0 dB") << "ten steps of 1 %";
  Tick(gainReadout->LingerTicks());
  EXPECT_FALSE(gainReadout->Showing()) << "a second after the last step";

  graphics->DispatchMouseDown(110, 15, kLeft);
  graphics->DispatchMouseUp(110, 15, kLeft);
  Tick();
  EXPECT_STREQ(sideReadout->Text(), "Right");
  graphics->DispatchMouseDown(110, 15, kLeft);
  graphics->DispatchMouseUp(110, 15, kLeft);
  Tick();
  EXPECT_STREQ(sideReadout->Text(), "Left");
}

TEST_F(ValueReadoutTest, ADragReleasedOutsideTheEditorEndsTheHover)
{
  // No leave notice comes for a drag that ends outside the window.
  graphics->SetTrackHover(true);
  graphics->DispatchMouseOver(20, 20, kNone);
  graphics->DispatchMouseDown(20, 20, kLeft);
  graphics->DispatchMouseDrag(20, -30, kLeft);
  graphics->DispatchMouseUp(20, -30, kLeft);
  EXPECT_EQ(graphics->HoveredControl(), -1);
  Tick();  // the drag's change is seen here: the second's count starts
  Tick(gainReadout->LingerTicks());
  EXPECT_FALSE(gainReadout->Showing());

  graphics->DispatchMouseOver(20, 20, kNone);
  graphics->DispatchMouseDown(20, 20, kLeft);
  graphics->DispatchMouseUp(20, 20, kLeft);
  EXPECT_EQ(graphics->HoveredControl(), kKnob) << "released inside, the pointer still rests there";
}

TEST_F(ValueReadoutTest, NeverUnderThePointer)
{
  // The read-out lies over the knob's lower edge and the label: both keep their clicks.
  EXPECT_EQ(graphics->ControlAt(30, 55), kScaleLabel);
  graphics->DispatchMouseDown(30, 30, kLeft);
  Tick();
  graphics->DispatchMouseUp(30, 30, kLeft);
  EXPECT_EQ(graphics->ControlAt(30, 55), kBackground) << "the hidden label takes no click";
  EXPECT_EQ(graphics->ControlAt(30, 49), kKnob);
}

}  // namespace
