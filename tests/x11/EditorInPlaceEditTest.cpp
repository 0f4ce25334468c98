// Typing a value in place, in the window of a test plug-in whose control allows it: a right
// click opens the edit box over the control, a click into the box gives it the keyboard,
// Return commits on the next tick; a right click on the editor or Escape cancels.
#include <gtest/gtest.h>

#include <memory>

#include "EditorHost.h"
#include "TestDisplay.h"

namespace
{
// The bar of the test plug-in, in editor coordinates.
constexpr int32_t kBarX = 120, kBarY = 60;
// A corner of the editor outside the bar and the box.
constexpr int32_t kCornerX = 8, kCornerY = 8;
constexpr uint8_t kLeft = 1, kRight = 3;

class EditorInPlaceEditTest : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(display.Connected()) << display.Problem();
    ASSERT_TRUE(module.EntryPoint()) << module.LoadError();
    plug = std::make_unique<PluginInstance>(module);
    ASSERT_NE(plug->Effect(), nullptr);
    parent = display.CreateParent(40, 40, 300, 160);
    ASSERT_EQ(plug->OpenEditor(parent), 1);
    ASSERT_TRUE(plug->IdleUntil([&] { return (editor = display.ViewableOnlyChild(parent)) != XCB_NONE; }));
    plug->IdleFor(3);
    ASSERT_TRUE(display.ReadPixels(editor, panel));
    plug->ClearCalls();
  }

  void TearDown() override
  {
    plug.reset();
    if (parent != XCB_NONE) display.DestroyWindow(parent);
  }

  // Right click on the bar, wait for the box, click into it and empty it.
  void StartEditing()
  {
    display.Click(editor, kBarX, kBarY, kRight);
    ASSERT_TRUE(plug->IdleUntil([&] {
      WindowPixels now;
      return display.ReadPixels(editor, now) && now.rgb != panel.rgb;
    })) << "no edit box appeared";
    display.Click(editor, kBarX, kBarY, kLeft);
    plug->IdleFor(2);
    ASSERT_TRUE(display.TapKey(TestKey::kEnd));
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(display.TapKey(TestKey::kBackSpace));
    plug->IdleFor(2);
  }

  bool AutomatedGain()
  {
    for (const HostCall& call : plug->Calls())
      if (call.opcode == audioMasterAutomate && call.index == 0) return true;
    return false;
  }

  // Nothing changed and the box is gone: the window shows the panel as it was.
  void ExpectCancelled()
  {
    WindowPixels now;
    EXPECT_TRUE(plug->IdleUntil([&] { return display.ReadPixels(editor, now) && now.rgb == panel.rgb; }))
      << "the box stayed";
    EXPECT_EQ(plug->ParameterDisplay(0), "50.0");
    EXPECT_FALSE(AutomatedGain());
  }

  TestDisplay display;
  PluginModule module{INPLACE_EDIT_PLUGIN};
  std::unique_ptr<PluginInstance> plug;
  xcb_window_t parent = XCB_NONE, editor = XCB_NONE;
  WindowPixels panel; // before any editing
};
} // namespace

TEST_F(EditorInPlaceEditTest, TypedValueAndReturnSetTheParameterOnTheNextTick)
{
  ASSERT_EQ(plug->ParameterDisplay(0), "50.0");
  StartEditing();
  ASSERT_TRUE(display.TypeText("12.5"));
  plug->IdleFor(2);
  EXPECT_EQ(plug->ParameterDisplay(0), "50.0") << "typing alone must not commit";
  ASSERT_TRUE(display.TapKey(TestKey::kReturn));

  EXPECT_TRUE(plug->IdleUntil([&] { return plug->ParameterDisplay(0) == "12.5"; }));
  EXPECT_NEAR(plug->Parameter(0), 0.125f, 1e-6f);
  EXPECT_TRUE(AutomatedGain()) << "the host was not told";
  // The box is gone and the bar shows the new value.
  WindowPixels now;
  EXPECT_TRUE(plug->IdleUntil([&] {
    return display.ReadPixels(editor, now) && now.At(kBarX - 60, kBarY) != panel.At(kBarX - 60, kBarY) &&
           now.At(kCornerX, kCornerY) == panel.At(kCornerX, kCornerY);
  }));
}

TEST_F(EditorInPlaceEditTest, RightClickOnTheEditorCancels)
{
  StartEditing();
  ASSERT_TRUE(display.TypeText("12.5"));
  plug->IdleFor(2);
  display.Click(editor, kCornerX, kCornerY, kRight);
  ExpectCancelled();
  // The keyboard went back: Return now commits nothing.
  display.TapKey(TestKey::kReturn);
  plug->IdleFor(3);
  EXPECT_EQ(plug->ParameterDisplay(0), "50.0");
}

TEST_F(EditorInPlaceEditTest, EscapeCancels)
{
  StartEditing();
  ASSERT_TRUE(display.TypeText("12.5"));
  plug->IdleFor(2);
  ASSERT_TRUE(display.TapKey(TestKey::kEscape));
  ExpectCancelled();
}

TEST_F(EditorInPlaceEditTest, KeysTheHostForwardsTypeIntoTheBox)
{
  // Without a box the editor has no use for keys: the host may handle them itself.
  EXPECT_EQ(plug->Dispatch(effEditKeyDown, '7', 0), 0);
  display.Click(editor, kBarX, kBarY, kRight);
  ASSERT_TRUE(plug->IdleUntil([&] {
    WindowPixels now;
    return display.ReadPixels(editor, now) && now.rgb != panel.rgb;
  }));
  display.Click(editor, kBarX, kBarY, kLeft);
  plug->IdleFor(2);

  EXPECT_EQ(plug->Dispatch(effEditKeyDown, 0, VKEY_END), 1);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(plug->Dispatch(effEditKeyDown, 0, VKEY_BACK), 1);
  EXPECT_EQ(plug->Dispatch(effEditKeyDown, '7', 0), 1);
  EXPECT_EQ(plug->Dispatch(effEditKeyDown, '5', 0), 1);
  EXPECT_EQ(plug->Dispatch(effEditKeyDown, 0, VKEY_RETURN), 1);
  EXPECT_TRUE(plug->IdleUntil([&] { return plug->ParameterDisplay(0) == "75.0"; }));
  EXPECT_EQ(plug->Dispatch(effEditKeyDown, '7', 0), 0) << "the box is gone, the key is the host's";
}
