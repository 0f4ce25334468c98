// A host with one Brindlow instance and a top-level window on the test display, into which
// the tests open the editor and drive it with synthetic input.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "EditorHost.h"
#include "TestDisplay.h"

// The product's panel, in editor coordinates.
namespace Panel
{
constexpr int32_t kWidth = 366, kHeight = 212;
constexpr int32_t kDelayX = 95, kDelayY = 112;   // centre of the Delay knob
constexpr int32_t kWetMixX = 272, kWetMixY = 112; // centre of the Wet Mix knob
constexpr int32_t kPanX = 182, kPanY = 106;       // centre of the Pan switch
constexpr int32_t kSplashX = 80, kSplashY = 70;   // inside the splash while it shows
// The scale line under the Delay knob, where its value shows while the knob is worked.
constexpr int32_t kDelayLineLeft = 38, kDelayLineTop = 147, kDelayLineRight = 152, kDelayLineBottom = 160;
constexpr VstInt32 kDelay = 0, kPan = 1, kWetMix = 2;
} // namespace Panel

namespace Mouse
{
constexpr uint8_t kLeft = 1, kRight = 3, kWheelUp = 4, kWheelDown = 5;
}

class EditorWindowFixture : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(display.Connected()) << display.Problem();
    ASSERT_TRUE(module.EntryPoint()) << module.LoadError();
    plug = std::make_unique<PluginInstance>(module);
    ASSERT_NE(plug->Effect(), nullptr);
    parent = display.CreateParent(40, 40, Panel::kWidth + 40, Panel::kHeight + 40);
  }

  void TearDown() override
  {
    plug.reset();
    if (parent != XCB_NONE) display.DestroyWindow(parent);
  }

  // Opens the editor in |into| and waits until its window is on screen; answers it.
  xcb_window_t OpenEditor(PluginInstance& instance, xcb_window_t into)
  {
    if (instance.OpenEditor(into) != 1) return XCB_NONE;
    xcb_window_t editor = XCB_NONE;
    instance.IdleUntil([&] { return (editor = display.ViewableOnlyChild(into)) != XCB_NONE; });
    return editor;
  }

  // Opens the editor of |plug| and hides the splash that its first openings show.
  xcb_window_t OpenEditorWithoutSplash()
  {
    const xcb_window_t editor = OpenEditor(*plug, parent);
    if (editor == XCB_NONE) return editor;
    plug->IdleFor(2);
    display.Click(editor, Panel::kSplashX, Panel::kSplashY, Mouse::kLeft);
    // Past the double-click time, so that the next press is a press of its own.
    plug->IdleFor(14);
    plug->ClearCalls();
    return editor;
  }

  // Waits until the window shows something else than |before|.
  bool WaitForChange(xcb_window_t window, const WindowPixels& before)
  {
    return plug->IdleUntil([&] {
      WindowPixels now;
      return display.ReadPixels(window, now) && now.rgb != before.rgb;
    });
  }

  int CountCalls(VstInt32 opcode, VstInt32 index)
  {
    const std::vector<HostCall> calls = plug->Calls();
    return int(std::count_if(calls.begin(), calls.end(),
                             [&](const HostCall& c) { return c.opcode == opcode && c.index == index; }));
  }

  TestDisplay display;
  PluginModule module{BRINDLOW_PLUGIN};
  std::unique_ptr<PluginInstance> plug;
  xcb_window_t parent = XCB_NONE;
};
