// Brindlow's editor at twice its size in a real X11 window: the window measures twice the
// panel, a drag gives the parameter the values the same drag gives at 1x in panel units,
// and the size the user picks from the backdrop's menu resizes the window and reaches the
// plug-in. The instance is made in this process so that the test can act as a host
// asking for a scale.
#include "EditorWindowFixture.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "IGraphicsLice.h"
#include "IGraphicsPlug.h"
#include "IPlugVST.h"
#include "IWindowBackend.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

namespace
{
VstIntPtr VSTCALLBACK InProcessHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  return opcode == audioMasterVersion ? 2400 : 0;
}

// A host that sizes its windows, and the sizes it was asked for.
std::vector<std::pair<int, int>> gSizeWindowCalls;
VstIntPtr VSTCALLBACK SizingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float)
{
  if (opcode == audioMasterVersion) return 2400;
  if (opcode == audioMasterCanDo) return ptr && std::string(static_cast<const char*>(ptr)) == "sizeWindow" ? 1 : 0;
  if (opcode == audioMasterSizeWindow) gSizeWindowCalls.emplace_back(int(index), int(value));
  return 0;
}

// A Brindlow of this process, its editor asked for |scale| by the host and open in |parent|.
class ScaledBrindlow
{
public:
  ScaledBrindlow(TestDisplay& display, xcb_window_t parent, double scale, audioMasterCallback host = &InProcessHost)
    : mDisplay(display)
  {
    SetWindowBackendFactory(nullptr);  // the platform's, whatever an earlier test installed
    mEffect = CreateVSTPlugin(host, []() -> IPlugBase* { return MakeKyvBrindlow(); });
    if (!mEffect) return;
    Dispatch(effOpen);
    mEditor = EditorOf(IPlugVST::PlugOf(mEffect));
    if (!mEditor || !mEditor->SetHostScale(scale)) return;
    if (Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t(parent))) == 0) return;
    IdleUntil([&] { return (mWindow = display.ViewableOnlyChild(parent)) != XCB_NONE; });
  }
  ~ScaledBrindlow()
  {
    if (!mEffect) return;
    Dispatch(effEditClose);
    Dispatch(effClose);
  }

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr)
  {
    return mEffect->dispatcher(mEffect, opcode, index, value, ptr, 0.0f);
  }
  bool IdleUntil(const std::function<bool()>& done, int ticks = 90)
  {
    for (int i = 0; i < ticks; ++i)
    {
      Dispatch(effEditIdle);
      if (done()) return true;
      std::this_thread::sleep_for(kIdlePeriod);
    }
    return false;
  }
  void IdleFor(int ticks)
  {
    IdleUntil([] { return false; }, ticks);
  }
  // A press, a drag upwards in |steps| steps of |stepY| and a release, at window pixels.
  void DragUp(int32_t x, int32_t y, int32_t stepY, int steps)
  {
    mDisplay.MovePointer(mWindow, x, y);
    mDisplay.PressButton(Mouse::kLeft);
    IdleFor(1);
    for (int i = 1; i <= steps; ++i)
    {
      mDisplay.MovePointer(mWindow, x, y - i * stepY);
      IdleFor(1);
    }
    mDisplay.ReleaseButton(Mouse::kLeft);
    IdleFor(2);
  }
  float Parameter(VstInt32 index) const { return mEffect->getParameter(mEffect, index); }
  KyvBrindlow* Plug() const { return static_cast<KyvBrindlow*>(IPlugVST::PlugOf(mEffect)); }
  xcb_window_t Window() const { return mWindow; }
  IGraphicsLice* Editor() const { return mEditor; }

private:
  TestDisplay& mDisplay;
  AEffect* mEffect = nullptr;
  IGraphicsLice* mEditor = nullptr;
  xcb_window_t mWindow = XCB_NONE;
};

class EditorScaleTest : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(display.Connected()) << display.Problem();
    parent = display.CreateParent(20, 20, 1100, 640);
  }
  void TearDown() override
  {
    if (parent != XCB_NONE) display.DestroyWindow(parent);
  }

  // Opens an editor at |scale| with its splash hidden by a click at panel (80, 70).
  std::unique_ptr<ScaledBrindlow> Open(double scale, audioMasterCallback host = &InProcessHost)
  {
    auto brindlow = std::make_unique<ScaledBrindlow>(display, parent, scale, host);
    if (brindlow->Window() == XCB_NONE) return nullptr;
    brindlow->IdleFor(2);
    display.Click(brindlow->Window(), int32_t(Panel::kSplashX * scale), int32_t(Panel::kSplashY * scale), Mouse::kLeft);
    brindlow->IdleFor(14);  // past the double-click time
    return brindlow;
  }

  TestDisplay display;
  xcb_window_t parent = XCB_NONE;
};
} // namespace

TEST_F(EditorScaleTest, AtTwiceTheSizeTheWindowAndEveryDragAreTwiceTheirPanelUnits)
{
  float dragged[2] = {};
  for (int s = 1; s <= 2; ++s)
  {
    std::unique_ptr<ScaledBrindlow> brindlow = Open(s);
    ASSERT_NE(brindlow, nullptr) << "no editor window at scale " << s;
    WindowGeometry geometry;
    ASSERT_TRUE(display.Geometry(brindlow->Window(), geometry));
    EXPECT_EQ(geometry.width, Panel::kWidth * s);
    EXPECT_EQ(geometry.height, Panel::kHeight * s);
    // 60 panel units up from the Delay knob's centre, in steps of 10: 60 of the 312 units
    // (four knob heights) the whole range takes.
    const float before = brindlow->Parameter(Panel::kDelay);
    brindlow->DragUp(Panel::kDelayX * s, Panel::kDelayY * s, 10 * s, 6);
    dragged[s - 1] = brindlow->Parameter(Panel::kDelay);
    EXPECT_NEAR(dragged[s - 1] - before, 60.0f / 312.0f, 1e-4f) << "at scale " << s;
  }
  EXPECT_FLOAT_EQ(dragged[1], dragged[0]);
}

TEST_F(EditorScaleTest, TheSizeChosenFromTheBackdropsMenuResizesTheWindowAndTellsThePlugIn)
{
  std::unique_ptr<ScaledBrindlow> brindlow = Open(2.0);
  ASSERT_NE(brindlow, nullptr);
  // A right click on the backdrop, at panel (20, 60), drops the menu from there: one
  // 16-unit row per entry, "150%" the third.
  display.ChooseBackdropMenuEntry(brindlow->Window(), 2, 2.0, [&] { brindlow->IdleFor(3); });
  WindowGeometry geometry;
  EXPECT_TRUE(brindlow->IdleUntil([&] {
    return display.Geometry(brindlow->Window(), geometry) && geometry.width == 549 && geometry.height == 318;
  })) << geometry.width << " x " << geometry.height;
  EXPECT_DOUBLE_EQ(brindlow->Editor()->UserScale(), 1.5);
  ERect* rect = nullptr;
  ASSERT_EQ(brindlow->Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, 549);
  EXPECT_EQ(rect->bottom - rect->top, 318);
}

TEST_F(EditorScaleTest, TheMonoCheckChosenFromTheBackdropsMenuGrowsTheEditorAndTheHostHearsIt)
{
  gSizeWindowCalls.clear();
  std::unique_ptr<ScaledBrindlow> brindlow = Open(2.0, &SizingHost);
  ASSERT_NE(brindlow, nullptr);
  auto* editor = static_cast<KyvBrindlowGraphics*>(brindlow->Editor());
  // The menu from panel (20, 60): the seven sizes, then "Show mono check".
  auto chooseLast = [&] {
    display.ChooseBackdropMenuEntry(brindlow->Window(), 7, 2.0, [&] { brindlow->IdleFor(3); });
  };
  chooseLast();
  WindowGeometry geometry;
  EXPECT_TRUE(brindlow->IdleUntil([&] {
    return display.Geometry(brindlow->Window(), geometry) && geometry.width == 732 && geometry.height == 664;
  })) << geometry.width << " x " << geometry.height;
  EXPECT_TRUE(editor->MonoCheckShown());
  ASSERT_FALSE(gSizeWindowCalls.empty());
  EXPECT_EQ(gSizeWindowCalls.back(), std::make_pair(732, 664));
  EXPECT_TRUE(brindlow->Plug()->OutputMeter().Active()) << "the meter gathers while the strip shows";

  // Chosen again, the entry hides the strip: the panel's own size again, the meter off.
  chooseLast();
  EXPECT_TRUE(brindlow->IdleUntil([&] {
    return display.Geometry(brindlow->Window(), geometry) && geometry.width == 732 && geometry.height == 424;
  })) << geometry.width << " x " << geometry.height;
  EXPECT_FALSE(editor->MonoCheckShown());
  EXPECT_EQ(gSizeWindowCalls.back(), std::make_pair(732, 424));
  EXPECT_FALSE(brindlow->Plug()->OutputMeter().Active());
}
