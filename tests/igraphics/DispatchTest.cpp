// Hit testing and the mouse, wheel and key dispatchers of the graphics object.
#include <gtest/gtest.h>

#include "IBitmapControls.h"
#include "TestSupport.h"

namespace {

const IMouseKeys kLeft(true, false, false, false, false);
const IMouseKeys kRight(false, true, false, false, false);

class DispatchTest : public ::testing::Test
{
protected:
  DispatchTest() : plug(3, &log)
  {
    graphics = new TestGraphics(&plug, 200, 100);
    plug.AttachEditor(graphics);
    plug.ParameterAt(0)->DefineContinuous("Delay", 0.0, 0.0, 200.0, 0.001, "ms");
    plug.ParameterAt(1)->DefineChoice("Pan", 0, 2);
  }

  ProbeControl* Add(const IBounds& bounds, int paramIdx, const char* name)
  {
    auto* control = new ProbeControl(&plug, bounds, paramIdx, name, &log);
    graphics->AddControl(control);
    return control;
  }

  EventLog log;
  TestPlug plug;
  TestGraphics* graphics;  // owned by the plug-in
};

TEST_F(DispatchTest, PressGoesToTheLastAttachedVisibleEnabledControlUnderThePoint)
{
  Add(IBounds(0, 0, 200, 100), -1, "back");
  ProbeControl* middle = Add(IBounds(10, 10, 60, 60), -1, "middle");
  ProbeControl* overlay = Add(IBounds(0, 0, 100, 100), -1, "overlay");

  EXPECT_EQ(graphics->ControlAt(20, 20), 2);
  overlay->SetHidden(true);
  EXPECT_EQ(graphics->ControlAt(20, 20), 1);
  middle->SetDisabled(true);
  EXPECT_EQ(graphics->ControlAt(20, 20), 0);
  EXPECT_EQ(graphics->ControlAt(150, 50), 0);
  EXPECT_EQ(graphics->ControlAt(200, 50), -1);  // right edge is outside

  log.clear();
  graphics->DispatchMouseDown(20, 20, kLeft);
  graphics->DispatchMouseUp(20, 20, kLeft);
  EXPECT_EQ(log, (EventLog{"back down 20,20", "back up 20,20"}));
}

TEST_F(DispatchTest, CapturedControlGetsDragsAndReleaseOutsideItsBoundsWithDeltasFromThePress)
{
  Add(IBounds(0, 0, 200, 100), -1, "back");
  Add(IBounds(10, 10, 60, 60), 0, "knob");

  graphics->DispatchMouseDown(30, 40, kLeft);
  EXPECT_EQ(graphics->CapturedControl(), 1);
  graphics->DispatchMouseDrag(30, 35, kLeft);    // 5 up from the press
  graphics->DispatchMouseDrag(30, 35, kLeft);    // no movement: nothing
  graphics->DispatchMouseDrag(150, 90, kLeft);   // far outside the knob
  graphics->DispatchMouseUp(190, 95, kLeft);     // released outside
  EXPECT_EQ(graphics->CapturedControl(), -1);
  graphics->DispatchMouseDrag(20, 20, kLeft);    // no capture: nothing

  EXPECT_EQ(log, (EventLog{"knob down 30,40", "begin 0", "knob drag 0,-5", "knob drag 120,55", "knob up 190,95",
                           "end 0"}));
}

TEST_F(DispatchTest, ControlsWithoutParameterSendNoEditGestures)
{
  Add(IBounds(0, 0, 50, 50), -1, "free");
  Add(IBounds(50, 0, 100, 50), 1, "pan");
  graphics->DispatchMouseDown(10, 10, kLeft);
  graphics->DispatchMouseUp(10, 10, kLeft);
  graphics->DispatchMouseDown(60, 10, kLeft);
  graphics->DispatchMouseUp(60, 10, kLeft);
  EXPECT_EQ(log, (EventLog{"free down 10,10", "free up 10,10", "pan down 60,10", "begin 1", "pan up 60,10",
                           "end 1"}));
}

TEST_F(DispatchTest, PressOutsideEveryControlReleasesAnEarlierCapture)
{
  Add(IBounds(0, 0, 50, 50), -1, "a");
  graphics->DispatchMouseDown(10, 10, kLeft);
  EXPECT_EQ(graphics->CapturedControl(), 0);
  graphics->DispatchMouseDown(10, 10, kLeft);  // a press without a release: capture starts again
  EXPECT_EQ(graphics->CapturedControl(), 0);
  graphics->DispatchMouseUp(10, 10, kLeft);
  graphics->DispatchMouseDown(150, 90, kLeft);
  EXPECT_EQ(graphics->CapturedControl(), -1);
}

TEST_F(DispatchTest, WheelAndKeysGoToTheControlUnderThePointer)
{
  Add(IBounds(0, 0, 50, 50), -1, "a");
  Add(IBounds(50, 0, 100, 50), -1, "b");
  graphics->DispatchWheel(60, 10, kLeft, -3);
  graphics->DispatchWheel(10, 10, kLeft, 0);
  graphics->DispatchKey(10, 10, kKeyDigit0 + 7);
  graphics->DispatchWheel(150, 90, kLeft, 2);  // nothing there
  EXPECT_EQ(log, (EventLog{"b wheel -3,0", "a wheel 0,0", "a key 12,0"}));
}

TEST_F(DispatchTest, DoubleClickResetsAKnobToTheFirstPushedValueAndSendsIt)
{
  IBitmapStrip strip(nullptr, 78, 78 * 65, 65);
  auto* knob = new IKnobMultiControl(&plug, 10, 10, 0, strip, kKnobVertical, 4.0);
  graphics->AddControl(knob);
  // Host values reach the controls on the GUI thread's next tick: one each here.
  graphics->PushParameterToControls(0, 0.25, true);
  graphics->ApplyHostValues();
  graphics->PushParameterToControls(0, 0.75, true);
  graphics->ApplyHostValues();
  EXPECT_DOUBLE_EQ(knob->DefaultValue(), 0.25);

  EXPECT_FALSE(graphics->DispatchDoubleClick(20, 20, kLeft));
  EXPECT_DOUBLE_EQ(knob->Value(), 0.25);
  ASSERT_EQ(plug.automated.size(), 1u);
  EXPECT_EQ(plug.automated[0].index, 0);
  EXPECT_DOUBLE_EQ(plug.automated[0].value, 0.25);
  EXPECT_DOUBLE_EQ(plug.ParameterAt(0)->Value(), 50.0);
  EXPECT_EQ(graphics->CapturedControl(), -1);
}

TEST_F(DispatchTest, DoubleClickOnAControlThatTakesItAsPressCapturesWithoutEditGesture)
{
  ProbeControl* probe = Add(IBounds(0, 0, 50, 50), 0, "p");
  probe->SetDoubleClickAsPress(true);
  EXPECT_TRUE(graphics->DispatchDoubleClick(5, 6, kLeft));
  EXPECT_EQ(graphics->CapturedControl(), 0);
  graphics->DispatchMouseDrag(5, 10, kLeft);
  EXPECT_EQ(log, (EventLog{"p down 5,6", "p drag 0,4"}));
}

TEST_F(DispatchTest, DoubleClickWithoutKnownDefaultDoesNothing)
{
  ProbeControl* probe = Add(IBounds(0, 0, 50, 50), 0, "p");
  probe->SetValue(0.6);
  graphics->DispatchDoubleClick(5, 5, kLeft);
  EXPECT_DOUBLE_EQ(probe->Value(), 0.6);
  EXPECT_TRUE(plug.automated.empty());
}

TEST_F(DispatchTest, HoverIsReportedOnlyWhileTracking)
{
  Add(IBounds(0, 0, 50, 50), -1, "a");
  Add(IBounds(50, 0, 100, 50), -1, "b");
  EXPECT_FALSE(graphics->DispatchMouseOver(10, 10, IMouseKeys()));
  EXPECT_TRUE(log.empty());

  graphics->SetTrackHover(true);
  EXPECT_TRUE(graphics->DispatchMouseOver(10, 10, IMouseKeys()));
  EXPECT_TRUE(graphics->DispatchMouseOver(60, 10, IMouseKeys()));
  EXPECT_TRUE(graphics->DispatchMouseOver(150, 90, IMouseKeys()));  // nothing there: no change
  EXPECT_EQ(graphics->HoveredControl(), 1);
  graphics->DispatchMouseLeave();
  EXPECT_EQ(graphics->HoveredControl(), -1);
  EXPECT_EQ(log, (EventLog{"a over 10,10", "b over 60,10", "a leave", "a leave", "b leave"}));
}

TEST_F(DispatchTest, ValuesFromThePluginReachEveryControlOfTheParameterNormalised)
{
  ProbeControl* first = Add(IBounds(0, 0, 10, 10), 0, "a");
  ProbeControl* other = Add(IBounds(0, 0, 10, 10), 1, "b");
  ProbeControl* second = Add(IBounds(0, 0, 10, 10), 0, "c");
  graphics->PushParameterToControls(0, 50.0, false);  // range 0..200
  EXPECT_DOUBLE_EQ(first->Value(), 0.0);  // waits for the GUI thread
  graphics->ApplyHostValues();
  EXPECT_DOUBLE_EQ(first->Value(), 0.25);
  EXPECT_DOUBLE_EQ(second->Value(), 0.25);
  EXPECT_DOUBLE_EQ(other->Value(), 0.0);
  graphics->PushParameterToControls(2, 0.5, true);  // nobody shows parameter 2
  graphics->PushParameterToControls(99, 5.0, false);  // no such parameter: ignored
  graphics->PushParameterToControls(-1, 0.5, true);
  graphics->ApplyHostValues();
  EXPECT_DOUBLE_EQ(first->Value(), 0.25);
  EXPECT_DOUBLE_EQ(other->Value(), 0.0);
}

TEST_F(DispatchTest, BackdropGoesFirstAndShiftsEarlierControls)
{
  ProbeControl* a = Add(IBounds(0, 0, 10, 10), -1, "a");
  ProbeControl* b = Add(IBounds(0, 0, 10, 10), -1, "b");
  graphics->AttachBackdrop(150, "img/back.png");
  ASSERT_EQ(graphics->ControlCount(), 3);
  EXPECT_EQ(graphics->GetControl(1), a);
  EXPECT_EQ(graphics->GetControl(2), b);
  auto* back = dynamic_cast<IBitmapControl*>(graphics->GetControl(0));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Bounds(), IBounds(0, 0, 51, 2));
  EXPECT_EQ(back->ParamIdx(), -1);
  EXPECT_EQ(back->Blend().method, kBlendCopy);
  EXPECT_EQ(graphics->GetControl(3), nullptr);
  EXPECT_EQ(graphics->GetControl(-1), nullptr);
  EXPECT_EQ(graphics->AddControl(nullptr), -1);
  EXPECT_EQ(graphics->ControlCount(), 3);
  graphics->MarkAllDirty();  // no null reaches a loop
  EXPECT_EQ(graphics->ControlAt(5, 5), 2);
}

TEST_F(DispatchTest, ResizingDropsControlsAndCaptureAndTellsThePlugin)
{
  Add(IBounds(0, 0, 10, 10), -1, "a");
  graphics->DispatchMouseDown(5, 5, kLeft);
  graphics->SetEditorSize(366, 212);
  EXPECT_EQ(graphics->ControlCount(), 0);
  EXPECT_EQ(graphics->CapturedControl(), -1);
  EXPECT_EQ(graphics->Width(), 366);
  EXPECT_EQ(graphics->Height(), 212);
  ASSERT_EQ(plug.resizedTo.size(), 1u);
  EXPECT_EQ(plug.resizedTo[0], std::make_pair(366, 212));
  graphics->DispatchMouseUp(5, 5, kLeft);  // the deleted control is not called
  EXPECT_EQ(log, (EventLog{"a down 5,5"}));
}

TEST_F(DispatchTest, HoverIndexLeftFromADroppedLayoutIsHarmless)
{
  graphics->SetTrackHover(true);
  Add(IBounds(0, 0, 10, 10), -1, "a");
  Add(IBounds(10, 0, 20, 10), -1, "b");
  graphics->DispatchMouseOver(15, 5, IMouseKeys());
  graphics->SetEditorSize(50, 50);  // hover index 1 now names no control
  Add(IBounds(0, 0, 10, 10), -1, "c");
  EXPECT_TRUE(graphics->DispatchMouseOver(5, 5, IMouseKeys()));
  EXPECT_EQ(graphics->HoveredControl(), 0);
  EXPECT_EQ(log, (EventLog{"b over 15,5", "c over 5,5"}));
}

}  // namespace
