// Behaviour of the control classes: knobs, switches, overlays, wheel, in-place edit requests.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "IBitmapControls.h"
#include "ITextControl.h"
#include "TestSupport.h"

namespace {

const IMouseKeys kNoKeys;
const IMouseKeys kLeft(true, false, false, false, false);
const IMouseKeys kRight(false, true, false, false, false);
const IMouseKeys kControl(true, false, false, true, false);
const IMouseKeys kShift(true, false, true, false, false);

// A knob that paints nothing, to test the drag arithmetic on its own.
class BareKnob : public IKnobControl
{
public:
  using IKnobControl::IKnobControl;
  bool Paint(IGraphicsLice*) override { return true; }
};

class ControlsTest : public ::testing::Test
{
protected:
  ControlsTest() : plug(3, &log)
  {
    graphics = new TestGraphics(&plug, 366, 212);
    plug.AttachEditor(graphics);
    plug.ParameterAt(0)->DefineContinuous("Delay", 20.0, 1.0, 40.0, 0.001, "ms");
    plug.ParameterAt(1)->DefineChoice("Pan", 0, 2);
    plug.ParameterAt(2)->DefineContinuous("Wet Mix", 0.0, -10.0, 10.0, 0.1, "dB");
  }

  IKnobMultiControl* AddKnob(int paramIdx, int direction = kKnobVertical)
  {
    auto* knob = new IKnobMultiControl(&plug, 56, 73, paramIdx, IBitmapStrip(nullptr, 78, 5070, 65), direction, 4.0);
    graphics->AddControl(knob);
    return knob;
  }

  EventLog log;
  TestPlug plug;
  TestGraphics* graphics;
};

TEST_F(ControlsTest, BitmapControlsTakeTheSizeOfOneFrame)
{
  IKnobMultiControl* knob = AddKnob(0);
  EXPECT_EQ(knob->Bounds(), IBounds(56, 73, 134, 151));
  EXPECT_EQ(knob->TargetArea(), knob->Bounds());
  ISwitchControl sw(&plug, 159, 96, 1, IBitmapStrip(nullptr, 47, 42, 2), kBlendThroughAlpha);
  EXPECT_EQ(sw.Bounds(), IBounds(159, 96, 206, 117));
  // A strip that claims no frames is one frame, not a division by zero.
  IBitmapControl odd(&plug, 0, 0, -1, IBitmapStrip(nullptr, 10, 30, 0), kBlendCopy);
  EXPECT_EQ(odd.Bounds(), IBounds(0, 0, 10, 30));
}

TEST_F(ControlsTest, KnobDragUpFourHeightsCoversTheRangeAndControlMakesItTenTimesFiner)
{
  IKnobMultiControl* knob = AddKnob(0);
  graphics->DispatchMouseDown(90, 140, kLeft);
  graphics->DispatchMouseDrag(90, 140 - 312, kLeft);
  EXPECT_NEAR(knob->Value(), 1.0, 1e-12);
  graphics->DispatchMouseUp(90, 140 - 312, kLeft);
  ASSERT_FALSE(plug.automated.empty());
  EXPECT_NEAR(plug.automated.back().value, 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 40.0);

  knob->SetValue(0.0);
  graphics->DispatchMouseDown(90, 140, kControl);
  graphics->DispatchMouseDrag(90, 140 - 312, kControl);
  EXPECT_NEAR(knob->Value(), 0.1, 1e-12);
  graphics->DispatchMouseDrag(90, 140 - 312 + 156, kShift);  // back down half as far: -0.05
  EXPECT_NEAR(knob->Value(), 0.05, 1e-12);
}

TEST_F(ControlsTest, KnobDragBelowZeroStopsAtZeroAndReversesAtOnce)
{
  IKnobMultiControl* knob = AddKnob(0);
  knob->SetValue(0.1);
  graphics->DispatchMouseDown(90, 100, kLeft);
  graphics->DispatchMouseDrag(90, 400, kLeft);  // 300 px down
  EXPECT_DOUBLE_EQ(knob->Value(), 0.0);
  EXPECT_DOUBLE_EQ(plug.automated.back().value, 0.0);
  graphics->DispatchMouseDrag(90, 400 - 78, kLeft);  // one height back up
  EXPECT_NEAR(knob->Value(), 0.25, 1e-12);
}

TEST_F(ControlsTest, HorizontalKnobFollowsRightwardTravel)
{
  IKnobMultiControl* knob = AddKnob(0, kKnobHorizontal);
  graphics->DispatchMouseDown(90, 100, kLeft);
  graphics->DispatchMouseDrag(90 + 156, 50, kLeft);  // half of 4 widths, vertical travel ignored
  EXPECT_NEAR(knob->Value(), 0.5, 1e-12);
}

TEST_F(ControlsTest, DegenerateKnobIgnoresDragsInsteadOfProducingNaN)
{
  auto* flat = new BareKnob(&plug, IBounds(0, 10, 50, 10), 0, kKnobVertical, 4.0);
  auto* stuck = new BareKnob(&plug, IBounds(0, 20, 50, 70), 0, kKnobVertical, 0.0);
  graphics->AddControl(flat);
  graphics->AddControl(stuck);
  flat->MouseDrag(0, 0, 0, -10, kLeft);
  stuck->MouseDrag(0, 0, 0, -10, kLeft);
  EXPECT_DOUBLE_EQ(flat->Value(), 0.0);
  EXPECT_DOUBLE_EQ(stuck->Value(), 0.0);
  EXPECT_TRUE(plug.automated.empty());
}

TEST_F(ControlsTest, WheelStepsAreOneHundredthOrOneThousandthWithModifiers)
{
  IKnobMultiControl* knob = AddKnob(2);
  knob->SetValue(0.5);
  graphics->DispatchWheel(90, 100, kNoKeys, 3);
  EXPECT_NEAR(knob->Value(), 0.53, 1e-12);
  graphics->DispatchWheel(90, 100, kShift, -10);
  EXPECT_NEAR(knob->Value(), 0.52, 1e-12);
  graphics->DispatchWheel(90, 100, kControl, 5);
  EXPECT_NEAR(knob->Value(), 0.525, 1e-12);
  knob->SetValue(0.02);
  graphics->DispatchWheel(90, 100, kNoKeys, -5);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.0);
  EXPECT_DOUBLE_EQ(plug.automated.back().value, 0.0);
}

TEST_F(ControlsTest, SwitchPressesCycleThroughFramesAndWrap)
{
  auto* two = new ISwitchControl(&plug, 0, 0, 1, IBitmapStrip(nullptr, 47, 42, 2), kBlendThroughAlpha);
  auto* three = new ISwitchControl(&plug, 100, 0, -1, IBitmapStrip(nullptr, 30, 90, 3), kBlendThroughAlpha);
  graphics->AddControl(two);
  graphics->AddControl(three);

  std::vector<double> seen;
  for (int i = 0; i < 3; ++i)
  {
    graphics->DispatchMouseDown(10, 10, kLeft);
    graphics->DispatchMouseUp(10, 10, kLeft);
    seen.push_back(two->Value());
  }
  EXPECT_EQ(seen, (std::vector<double>{1.0, 0.0, 1.0}));
  EXPECT_DOUBLE_EQ(plug.ParameterAt(1)->Value(), 1.0);

  seen.clear();
  for (int i = 0; i < 4; ++i)
  {
    three->MouseDown(110, 10, kLeft);
    seen.push_back(three->Value());
  }
  EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
}

TEST_F(ControlsTest, RightClickAsksForTheInPlaceEditorUnlessTheControlRefuses)
{
  auto* sw = new ISwitchControl(&plug, 0, 0, 1, IBitmapStrip(nullptr, 47, 42, 2), kBlendThroughAlpha);
  IKnobMultiControl* knob = AddKnob(0);
  graphics->AddControl(sw);
  sw->SetValue(1.0);

  graphics->DispatchMouseDown(10, 10, kRight);
  ASSERT_EQ(graphics->editRequests.size(), 1u);
  EXPECT_EQ(graphics->editRequests[0].first, sw);
  EXPECT_EQ(graphics->editRequests[0].second, plug.ParameterAt(1));
  EXPECT_TRUE(sw->IsRedrawPending());
  // The switch does not step, but re-sends its value.
  EXPECT_DOUBLE_EQ(sw->Value(), 1.0);
  ASSERT_EQ(plug.automated.size(), 1u);
  EXPECT_DOUBLE_EQ(plug.automated[0].value, 1.0);
  graphics->DispatchMouseUp(10, 10, kRight);

  knob->SetNoInPlaceEdit(true);
  graphics->DispatchMouseDown(90, 100, kRight);
  EXPECT_EQ(graphics->editRequests.size(), 1u);
  graphics->DispatchMouseUp(90, 100, kRight);

  ProbeControl unbound(&plug, IBounds(0, 0, 5, 5), -1, "u", &log);
  unbound.MouseDown(1, 1, kRight);
  EXPECT_EQ(graphics->editRequests.size(), 1u);
}

TEST_F(ControlsTest, EditRequestWithoutAnEditorIsDropped)
{
  TestPlug lonely;
  lonely.ParameterAt(0)->DefineChoice("Pan", 0, 2);
  ISwitchControl sw(&lonely, 0, 0, 0, IBitmapStrip(nullptr, 47, 42, 2), kBlendThroughAlpha);
  sw.MarkClean();
  sw.EditValueInPlace();
  EXPECT_FALSE(sw.IsRedrawPending());
}

TEST_F(ControlsTest, ValueFromUserSendsOnlyChanges)
{
  IKnobMultiControl* knob = AddKnob(0);
  knob->ValueFromUser(0.0);
  EXPECT_TRUE(plug.automated.empty());
  knob->ValueFromUser(0.5);
  ASSERT_EQ(plug.automated.size(), 1u);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 20.5);
  EXPECT_TRUE(knob->IsRedrawPending());
}

TEST_F(ControlsTest, ValuesFromThePluginAreClampedButTheFirstStaysTheDefault)
{
  IKnobMultiControl* knob = AddKnob(0);
  knob->ValueFromPlugin(1.5);
  EXPECT_DOUBLE_EQ(knob->Value(), 1.0);
  EXPECT_DOUBLE_EQ(knob->DefaultValue(), 1.5);
  knob->SetValue(0.3);
  knob->DoubleClick(0, 0, kLeft);  // the default is clamped again on use
  EXPECT_DOUBLE_EQ(knob->Value(), 1.0);
  EXPECT_FALSE(plug.automated.empty());
}

TEST_F(ControlsTest, NaNFromThePluginBecomesTheLowerClamp)
{
  IKnobMultiControl* knob = AddKnob(0);
  knob->ValueFromPlugin(0.5);
  knob->ValueFromPlugin(std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(knob->Value(), 0.0);
  EXPECT_TRUE(knob->IsRedrawPending());
  EXPECT_TRUE(knob->Paint(graphics));  // frame selection stays defined
}

TEST_F(ControlsTest, DisablingMakesAControlUnclickableAndFaint)
{
  IKnobMultiControl* knob = AddKnob(0);
  knob->SetDisabled(true);
  EXPECT_FLOAT_EQ(knob->Blend().weight, 0.25f);
  EXPECT_EQ(graphics->ControlAt(90, 100), -1);
  knob->SetDisabled(false);
  EXPECT_FLOAT_EQ(knob->Blend().weight, 1.0f);
  EXPECT_EQ(graphics->ControlAt(90, 100), 0);
}

TEST_F(ControlsTest, OverlayIsHitInItsHiddenAreaUntilShownThenOverItsPicture)
{
  auto* overlay =
      new IBitmapOverlayControl(&plug, 70, 61, IBitmapStrip(nullptr, 225, 90, 1), IBounds(0, 0, 366, 34));
  graphics->AddControl(overlay);
  EXPECT_EQ(overlay->ParamIdx(), -1);
  overlay->Paint(graphics);  // value 0: hidden
  EXPECT_EQ(graphics->ControlAt(10, 10), 0);
  EXPECT_EQ(graphics->ControlAt(10, 40), -1);
  EXPECT_EQ(graphics->ControlAt(100, 100), -1);

  graphics->DispatchMouseDown(10, 10, kLeft);  // shows it
  graphics->DispatchMouseUp(10, 10, kLeft);
  EXPECT_DOUBLE_EQ(overlay->Value(), 1.0);
  overlay->Paint(graphics);
  EXPECT_EQ(graphics->ControlAt(10, 10), -1);
  EXPECT_EQ(graphics->ControlAt(100, 100), 0);
  EXPECT_TRUE(plug.automated.empty());  // no parameter: the host hears nothing
}

TEST_F(ControlsTest, TextControlPaintsItsTextOrNothing)
{
  ITextStyle style(11, nullptr, "Tahoma", kTextNormal, kAlignCentre, 0);
  auto* label = new ITextControl(&plug, IBounds(0, 0, 50, 13), style, "1ms");
  auto* empty = new ITextControl(&plug, IBounds(0, 20, 50, 33), style, "");
  graphics->AddControl(label);
  graphics->AddControl(empty);
  EXPECT_TRUE(empty->Paint(graphics));
  EXPECT_TRUE(graphics->texts.empty());
  EXPECT_TRUE(label->Paint(graphics));
  EXPECT_EQ(graphics->texts, (std::vector<std::string>{"1ms"}));
  EXPECT_EQ(label->ParamIdx(), -1);
}

TEST(TextStyleTest, DefaultsAndCopiesKeepTheirOwnSettings)
{
  ITextStyle plain(12);
  EXPECT_STREQ(plain.Face(), "Arial");
  EXPECT_EQ(plain.mColour, IRgba(255, 0, 0, 0));
  const IRgba grey(255, 57, 64, 70);
  ITextStyle version(12, &grey, "A face name that is much longer than thirty-one characters", kTextBold,
                     kAlignCentre, 0);
  EXPECT_EQ(std::strlen(version.Face()), 31u);
  ITextStyle copy(version);
  EXPECT_STREQ(copy.Face(), version.Face());
  EXPECT_EQ(copy.mColour, grey);
  EXPECT_EQ(copy.mStyle, kTextBold);
  EXPECT_EQ(copy.mAlignment, kAlignCentre);
}

}  // namespace
