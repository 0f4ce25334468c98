// Mouse input on Brindlow's editor window, as a user gives it in a Linux host: the X server
// delivers the synthetic events to the editor's window and the host's idle calls let the
// editor handle them.
#include "EditorWindowFixture.h"

namespace
{
std::vector<HostCall> CallsOfParameter(const std::vector<HostCall>& calls, VstInt32 index)
{
  std::vector<HostCall> out;
  for (const HostCall& c : calls)
    if ((c.opcode == audioMasterBeginEdit || c.opcode == audioMasterAutomate || c.opcode == audioMasterEndEdit) &&
        c.index == index)
      out.push_back(c);
  return out;
}

// How many pixels differ between two pictures of the panel on the Delay knob's scale line,
// and elsewhere.
struct DelayLineChanges
{
  int onLine = 0, elsewhere = 0;
};
DelayLineChanges ChangesAroundDelayLine(const WindowPixels& before, const WindowPixels& after)
{
  DelayLineChanges changes;
  for (int32_t y = 0; y < after.height; ++y)
  {
    for (int32_t x = 0; x < after.width; ++x)
    {
      const bool onLine = x >= Panel::kDelayLineLeft && x < Panel::kDelayLineRight && y >= Panel::kDelayLineTop &&
                          y < Panel::kDelayLineBottom;
      (onLine ? changes.onLine : changes.elsewhere) += after.At(x, y) != before.At(x, y);
    }
  }
  return changes;
}
} // namespace

using EditorInputTest = EditorWindowFixture;

TEST_F(EditorInputTest, TheValueShowsWhileThePointerRestsOnAKnobAndGoesAfterItLeavesTheWindow)
{
  const xcb_window_t editor = OpenEditorWithoutSplash();
  ASSERT_NE(editor, XCB_NONE);
  WindowPixels rest;
  ASSERT_TRUE(display.ReadPixels(editor, rest));

  display.MovePointer(editor, Panel::kDelayX, Panel::kDelayY);
  ASSERT_TRUE(WaitForChange(editor, rest));
  WindowPixels shown;
  ASSERT_TRUE(display.ReadPixels(editor, shown));
  const DelayLineChanges changes = ChangesAroundDelayLine(rest, shown);
  EXPECT_GT(changes.onLine, 20);
  EXPECT_EQ(changes.elsewhere, 0);

  // Into the host's window beside the editor: the server's leave notice ends the hover, and
  // a second later the panel is as it was.
  display.MovePointer(editor, Panel::kWidth + 20, Panel::kHeight + 20);
  EXPECT_TRUE(plug->IdleUntil([&] {
    WindowPixels now;
    return display.ReadPixels(editor, now) && now.rgb == rest.rgb;
  })) << "the value stayed";
}

TEST_F(EditorInputTest, DraggingDelayUpwardsRaisesItInsideOneGesture)
{
  const xcb_window_t editor = OpenEditorWithoutSplash();
  ASSERT_NE(editor, XCB_NONE);
  const float before = plug->Parameter(Panel::kDelay);

  display.MovePointer(editor, Panel::kDelayX, Panel::kDelayY);
  display.PressButton(Mouse::kLeft);
  plug->IdleFor(1);
  // Upwards in steps, each handled before the next; the last two end above the window,
  // where the knob still has the pointer.
  int32_t y = Panel::kDelayY;
  while (y > -20)
  {
    y -= 20;
    display.MovePointer(editor, Panel::kDelayX, y);
    plug->IdleFor(1);
  }
  display.ReleaseButton(Mouse::kLeft);
  ASSERT_TRUE(plug->IdleUntil([&] { return CountCalls(audioMasterEndEdit, Panel::kDelay) == 1; }));

  const std::vector<HostCall> gesture = CallsOfParameter(plug->Calls(), Panel::kDelay);
  ASSERT_GE(gesture.size(), 3u);
  EXPECT_EQ(gesture.front().opcode, audioMasterBeginEdit);
  EXPECT_EQ(gesture.back().opcode, audioMasterEndEdit);
  float last = before;
  for (size_t i = 1; i + 1 < gesture.size(); ++i)
  {
    EXPECT_EQ(gesture[i].opcode, audioMasterAutomate);
    EXPECT_GT(gesture[i].opt, last) << "automation " << i << " does not grow";
    last = gesture[i].opt;
  }
  // The knob takes 312 pixels of travel for its whole range.
  EXPECT_NEAR(plug->Parameter(Panel::kDelay), before + float(Panel::kDelayY - y) / 312.0f, 0.01f);
  EXPECT_FLOAT_EQ(plug->Parameter(Panel::kDelay), last);
  EXPECT_TRUE(CallsOfParameter(plug->Calls(), Panel::kPan).empty());
  EXPECT_TRUE(CallsOfParameter(plug->Calls(), Panel::kWetMix).empty());
}

TEST_F(EditorInputTest, ClickingPanSwitchesTheLeadingSideAndTellsTheHost)
{
  const xcb_window_t editor = OpenEditorWithoutSplash();
  ASSERT_NE(editor, XCB_NONE);
  ASSERT_EQ(plug->ParameterDisplay(Panel::kPan), "Left");
  WindowPixels before;
  ASSERT_TRUE(display.ReadPixels(editor, before));

  display.Click(editor, Panel::kPanX, Panel::kPanY, Mouse::kLeft);
  ASSERT_TRUE(plug->IdleUntil([&] { return CountCalls(audioMasterEndEdit, Panel::kPan) == 1; }));
  EXPECT_EQ(plug->ParameterDisplay(Panel::kPan), "Right");
  EXPECT_EQ(CountCalls(audioMasterBeginEdit, Panel::kPan), 1);
  EXPECT_EQ(CountCalls(audioMasterAutomate, Panel::kPan), 1);
  // The switch shows its other position.
  EXPECT_TRUE(WaitForChange(editor, before));
}

TEST_F(EditorInputTest, WheelOverWetMixMovesItByOneHundredthPerStep)
{
  const xcb_window_t editor = OpenEditorWithoutSplash();
  ASSERT_NE(editor, XCB_NONE);
  const float before = plug->Parameter(Panel::kWetMix);

  for (int i = 0; i < 3; ++i) display.Click(editor, Panel::kWetMixX, Panel::kWetMixY, Mouse::kWheelUp);
  ASSERT_TRUE(plug->IdleUntil([&] { return CountCalls(audioMasterAutomate, Panel::kWetMix) == 3; }));
  EXPECT_NEAR(plug->Parameter(Panel::kWetMix), before + 0.03f, 1e-4f);

  display.Click(editor, Panel::kWetMixX, Panel::kWetMixY, Mouse::kWheelDown);
  ASSERT_TRUE(plug->IdleUntil([&] { return CountCalls(audioMasterAutomate, Panel::kWetMix) == 4; }));
  EXPECT_NEAR(plug->Parameter(Panel::kWetMix), before + 0.02f, 1e-4f);
  // The wheel over Wet Mix moves nothing else.
  EXPECT_EQ(CountCalls(audioMasterAutomate, Panel::kDelay), 0);
}

TEST_F(EditorInputTest, RightClickOnDelayOpensNothing)
{
  const xcb_window_t editor = OpenEditorWithoutSplash();
  ASSERT_NE(editor, XCB_NONE);
  const float before = plug->Parameter(Panel::kDelay);
  WindowPixels shown;
  ASSERT_TRUE(display.ReadPixels(editor, shown));

  display.Click(editor, Panel::kDelayX, Panel::kDelayY, Mouse::kRight);
  ASSERT_TRUE(plug->IdleUntil([&] { return CountCalls(audioMasterEndEdit, Panel::kDelay) == 1; }));
  plug->IdleFor(4);
  WindowPixels after;
  ASSERT_TRUE(display.ReadPixels(editor, after));
  // The pointer rests on the knob: its value shows in place of the scale line, and nothing
  // else changed.
  const DelayLineChanges changes = ChangesAroundDelayLine(shown, after);
  EXPECT_EQ(changes.elsewhere, 0) << "something was drawn over the panel";
  EXPECT_GT(changes.onLine, 0) << "the value is read out";

  // Typing goes nowhere either.
  display.TypeText("12");
  display.TapKey(TestKey::kReturn);
  plug->IdleFor(3);
  EXPECT_EQ(plug->Parameter(Panel::kDelay), before);
  EXPECT_EQ(CountCalls(audioMasterAutomate, Panel::kDelay), 0);
}

TEST_F(EditorInputTest, RightClickOnPanOpensItsListAndChoosingRightCommits)
{
  const xcb_window_t editor = OpenEditorWithoutSplash();
  ASSERT_NE(editor, XCB_NONE);
  // The list drops from the switch's centre, one 16-pixel row per side: "Left", "Right".
  constexpr int32_t kRowX = Panel::kPanX - 28, kLeftRowY = Panel::kPanY + 3, kRightRowY = Panel::kPanY + 25;
  constexpr uint32_t kMarked = 0x3366CC;
  display.Click(editor, Panel::kPanX, Panel::kPanY, Mouse::kRight);
  WindowPixels shown;
  ASSERT_TRUE(plug->IdleUntil([&] { return display.ReadPixels(editor, shown) && shown.At(kRowX, kLeftRowY) == kMarked; }))
    << "no list with the current side, Left, marked";
  EXPECT_NE(shown.At(kRowX, kRightRowY), kMarked);
  EXPECT_EQ(plug->ParameterDisplay(Panel::kPan), "Left");

  display.Click(editor, Panel::kPanX, kRightRowY + 4, Mouse::kLeft);
  EXPECT_TRUE(plug->IdleUntil([&] { return plug->ParameterDisplay(Panel::kPan) == "Right"; }));
  // The list is gone once chosen.
  EXPECT_TRUE(plug->IdleUntil([&] { return display.ReadPixels(editor, shown) && shown.At(kRowX, kLeftRowY) != kMarked; }));
}
