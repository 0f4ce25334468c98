// Brindlow.vst3's editor in an X11 host: the IPlugView calls in the orders hosts make
// them, the host's run loop serving the window through the registered event handler
// and timer, the panel's pixels, a drag reaching the host as an edit, and the sizes the
// backdrop's menu asks of the frame.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "HeadlessPanel.h"
#include "TestDisplay.h"
#include "Vst3TestSupport.h"

using namespace vst3;
using vst3host::ComponentHandler;

namespace
{
constexpr int32_t kWidth = 366, kHeight = 212;
constexpr int32_t kMonoHeight = 332; // the panel with the mono-check strip under it
constexpr int32_t kDelayX = 95, kDelayY = 112;
constexpr int32_t kSplashX = 80, kSplashY = 70;

void* ParentHandle(xcb_window_t window)
{
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

// One instance, its view and the host's frame with the run loop.
struct Editor
{
  vst3host::Instance instance;
  vst3host::PlugFrame* frame = new vst3host::PlugFrame;
  IPlugView* view = nullptr;

  explicit Editor(vst3host::Module& module) : instance(module) {}
  ~Editor()
  {
    Release();
    frame->release();
  }
  bool Create()
  {
    view = instance.controller ? instance.controller->createView(kEditorViewType) : nullptr;
    return view != nullptr;
  }
  void Release()
  {
    if (view) view->release();
    view = nullptr;
  }
  // As the SDK's editor host does: frame, platform, size, then attached.
  bool Open(xcb_window_t parent)
  {
    ViewRect size{};
    return Create() && view->setFrame(frame) == kResultOk &&
           view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) == kResultTrue &&
           view->getSize(&size) == kResultTrue && size.right == kWidth && size.bottom == kHeight &&
           view->attached(ParentHandle(parent), kPlatformTypeX11EmbedWindowID) == kResultOk;
  }
  bool TurnUntil(const std::function<bool()>& done, int turns = 300)
  {
    for (int i = 0; i < turns; ++i)
    {
      frame->Pump(0);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (done()) return true;
    }
    return false;
  }
  void Turns(int n) { TurnUntil([] { return false; }, n); }
};

class Vst3EditorX11 : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(display.Connected()) << display.Problem();
    ASSERT_TRUE(module.Loaded()) << module.Error();
    parent = display.CreateParent(40, 40, kWidth + 40, kHeight + 40);
  }
  void TearDown() override { display.DestroyWindow(parent); }

  xcb_window_t Shown(Editor& editor, xcb_window_t into)
  {
    xcb_window_t shown = XCB_NONE;
    editor.TurnUntil([&] { return (shown = display.ViewableOnlyChild(into)) != XCB_NONE; });
    return shown;
  }
  bool Emptied(Editor& editor, xcb_window_t into)
  {
    return editor.TurnUntil([&] { return display.Children(into).empty(); });
  }

  TestDisplay display;
  vst3host::Module module{BRINDLOW_VST3_BUNDLE};
  xcb_window_t parent = XCB_NONE;
};
} // namespace

TEST_F(Vst3EditorX11, ResizableX11ViewThatAnswersBeforeItIsAttached)
{
  Editor editor(module);
  ASSERT_TRUE(editor.Create());
  IPlugView* view = editor.view;
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
  EXPECT_EQ(view->canResize(), kResultTrue);
  // A free size is rewritten to the largest panel inside it, at 1x to 3x.
  ViewRect rect{10, 20, 510, 420};
  EXPECT_EQ(view->checkSizeConstraint(&rect), kResultFalse);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.right - rect.left, 500);
  EXPECT_EQ(rect.bottom - rect.top, 290);
  EXPECT_EQ(view->checkSizeConstraint(&rect), kResultTrue);
  rect = ViewRect{0, 0, 100, 5000};
  EXPECT_EQ(view->checkSizeConstraint(&rect), kResultFalse);
  EXPECT_EQ(rect.right, kWidth);
  EXPECT_EQ(rect.bottom, kHeight);
  rect = ViewRect{0, 0, -5, 0};
  EXPECT_EQ(view->checkSizeConstraint(&rect), kResultFalse);
  EXPECT_EQ(rect.right, kWidth) << "no size at all: the editor's own";
  void* obj = nullptr;
  ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport_iid.bytes, &obj), kResultOk);
  auto* scale = static_cast<IPlugViewContentScaleSupport*>(obj);
  EXPECT_EQ(scale->setContentScaleFactor(std::nanf("")), kResultFalse);
  EXPECT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
  scale->release();
  ViewRect size{};
  EXPECT_EQ(view->getSize(&size), kResultTrue);
  EXPECT_EQ(size.right, 732);
  EXPECT_EQ(size.bottom, 424);
  EXPECT_EQ(editor.frame->resizeCount, 0) << "not attached: the host reads getSize when it attaches";
  EXPECT_EQ(view->attached(ParentHandle(parent), kPlatformTypeHWND), kResultFalse);
  EXPECT_EQ(editor.instance.controller->createView("other"), nullptr);
  editor.Release(); // never attached
}

TEST_F(Vst3EditorX11, TheHostsScaleOfTwoResizesTheAttachedViewToTwiceThePanel)
{
  Editor editor(module);
  const xcb_window_t bigParent = display.CreateParent(40, 40, 2 * kWidth + 40, 2 * kHeight + 40);
  ASSERT_TRUE(editor.Open(bigParent));
  const xcb_window_t window = Shown(editor, bigParent);
  ASSERT_NE(window, XCB_NONE);
  void* obj = nullptr;
  ASSERT_EQ(editor.view->queryInterface(IPlugViewContentScaleSupport_iid.bytes, &obj), kResultOk);
  auto* scale = static_cast<IPlugViewContentScaleSupport*>(obj);
  EXPECT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
  EXPECT_EQ(editor.frame->resizeCount, 1);
  EXPECT_EQ(editor.frame->lastResize.right - editor.frame->lastResize.left, 732);
  EXPECT_EQ(editor.frame->lastResize.bottom - editor.frame->lastResize.top, 424);
  ViewRect size{};
  EXPECT_EQ(editor.view->getSize(&size), kResultTrue);
  EXPECT_EQ(size.right, 732);
  EXPECT_EQ(size.bottom, 424);
  WindowGeometry geometry;
  EXPECT_TRUE(editor.TurnUntil([&] {
    return display.Geometry(window, geometry) && geometry.width == 732 && geometry.height == 424;
  })) << geometry.width << "x" << geometry.height;
  EXPECT_EQ(scale->setContentScaleFactor(2.0f), kResultTrue);
  EXPECT_EQ(editor.frame->resizeCount, 1) << "the same scale again: no new size";
  scale->release();
  // The host resizes the view (after checkSizeConstraint): the window follows.
  ViewRect hostSize{0, 0, 549, 318};
  EXPECT_EQ(editor.view->onSize(&hostSize), kResultTrue);
  EXPECT_TRUE(editor.TurnUntil([&] {
    return display.Geometry(window, geometry) && geometry.width == 549 && geometry.height == 318;
  })) << geometry.width << "x" << geometry.height;
  EXPECT_EQ(editor.frame->resizeCount, 1);
  EXPECT_EQ(editor.view->removed(), kResultOk);
  EXPECT_TRUE(Emptied(editor, bigParent));
  display.DestroyWindow(bigParent);
}

TEST_F(Vst3EditorX11, TheSizeTheUserPicksReachesTheFrame)
{
  Editor editor(module);
  const xcb_window_t bigParent = display.CreateParent(40, 40, 2 * kWidth + 40, 2 * kHeight + 40);
  ASSERT_TRUE(editor.Open(bigParent));
  const xcb_window_t window = Shown(editor, bigParent);
  ASSERT_NE(window, XCB_NONE);
  editor.Turns(4);
  display.Click(window, kSplashX, kSplashY, 1); // the splash goes
  editor.Turns(40);                             // past the double-click time
  // "200%", the backdrop menu's fourth entry.
  display.ChooseBackdropMenuEntry(window, 3, 1.0, [&] { editor.Turns(3); });
  ASSERT_TRUE(editor.TurnUntil([&] { return editor.frame->resizeCount > 0; }));
  EXPECT_EQ(editor.frame->resizeCount, 1);
  EXPECT_EQ(editor.frame->lastResize.right - editor.frame->lastResize.left, 732);
  EXPECT_EQ(editor.frame->lastResize.bottom - editor.frame->lastResize.top, 424);
  WindowGeometry geometry;
  EXPECT_TRUE(editor.TurnUntil([&] {
    return display.Geometry(window, geometry) && geometry.width == 732 && geometry.height == 424;
  })) << geometry.width << "x" << geometry.height;
  EXPECT_EQ(editor.view->removed(), kResultOk);
  EXPECT_TRUE(Emptied(editor, bigParent));
  display.DestroyWindow(bigParent);
}

// The mono check from the backdrop's menu (its last entry, after the seven sizes): the
// view grows by the strip and asks the frame for it, checkSizeConstraint keeps the taller
// aspect ratio, and the same entry gives the panel's size back.
TEST_F(Vst3EditorX11, TheMonoCheckFromTheMenuReachesTheFrameAndIsTakenBack)
{
  Editor editor(module);
  const xcb_window_t bigParent = display.CreateParent(40, 40, 2 * kWidth + 40, 2 * kMonoHeight + 40);
  ASSERT_TRUE(editor.Open(bigParent));
  const xcb_window_t window = Shown(editor, bigParent);
  ASSERT_NE(window, XCB_NONE);
  editor.Turns(4);
  display.Click(window, kSplashX, kSplashY, 1); // the splash goes
  editor.Turns(40);                             // past the double-click time
  const auto chooseLastEntry = [&] {
    display.ChooseBackdropMenuEntry(window, 7, 1.0, [&] { editor.Turns(3); });
  };
  const auto sizeIs = [&](int32_t w, int32_t h) {
    ViewRect size{};
    WindowGeometry geometry;
    return editor.TurnUntil([&] {
      return display.Geometry(window, geometry) && geometry.width == w && geometry.height == h;
    }) && editor.view->getSize(&size) == kResultTrue && size.right - size.left == w && size.bottom - size.top == h;
  };
  const auto lastResizeIs = [&](int32_t w, int32_t h) {
    const ViewRect& r = editor.frame->lastResize;
    return r.right - r.left == w && r.bottom - r.top == h;
  };

  chooseLastEntry(); // "Show mono check"
  ASSERT_TRUE(editor.TurnUntil([&] { return editor.frame->resizeCount > 0; }));
  EXPECT_EQ(editor.frame->resizeCount, 1);
  EXPECT_TRUE(lastResizeIs(kWidth, kMonoHeight));
  EXPECT_TRUE(sizeIs(kWidth, kMonoHeight));
  const struct { int32_t w, h, checkedW, checkedH; } sizes[] = {
    {732, 2000, 732, 664}, {2000, 664, 732, 664}, {100, 100, 366, 332}, {5000, 5000, 1098, 996}};
  for (const auto& size : sizes)
  {
    ViewRect rect{0, 0, size.w, size.h};
    EXPECT_EQ(editor.view->checkSizeConstraint(&rect), kResultFalse);
    EXPECT_EQ(rect.right, size.checkedW) << size.w << "x" << size.h;
    EXPECT_EQ(rect.bottom, size.checkedH) << size.w << "x" << size.h;
  }
  ViewRect hostSize{0, 0, 732, 664};
  EXPECT_EQ(editor.view->checkSizeConstraint(&hostSize), kResultTrue);
  EXPECT_EQ(editor.view->onSize(&hostSize), kResultTrue);
  EXPECT_TRUE(sizeIs(732, 664));
  EXPECT_EQ(editor.frame->resizeCount, 1) << "a size the host chose is not asked of it";

  // At twice the size the menu is twice as far down: the host's size picked the scale.
  display.ChooseBackdropMenuEntry(window, 7, 2.0, [&] { editor.Turns(3); }); // "Hide mono check"
  ASSERT_TRUE(editor.TurnUntil([&] { return editor.frame->resizeCount == 2; }));
  EXPECT_TRUE(lastResizeIs(732, 424));
  EXPECT_TRUE(sizeIs(732, 424));
  ViewRect rect{0, 0, 5000, 5000};
  EXPECT_EQ(editor.view->checkSizeConstraint(&rect), kResultFalse);
  EXPECT_EQ(rect.right, 1098) << "the panel's own ratio again";
  EXPECT_EQ(rect.bottom, 636);
  EXPECT_EQ(editor.view->removed(), kResultOk);
  EXPECT_TRUE(Emptied(editor, bigParent));
  display.DestroyWindow(bigParent);
}

TEST_F(Vst3EditorX11, ShowsTheSamePixelsAsTheHeadlessPanelServedByTheRunLoop)
{
  Editor editor(module);
  ASSERT_TRUE(editor.Open(parent));
  const xcb_window_t window = Shown(editor, parent);
  ASSERT_NE(window, XCB_NONE);
  EXPECT_EQ(editor.frame->EventHandlerCount(), 1u);
  EXPECT_EQ(editor.frame->TimerCount(), 1u);
  std::string error;
  WindowPixels expected, shown;
  ASSERT_TRUE(PaintHeadlessPanel({float(19.0 / 39.0), 0.0f, 0.5f}, true, expected, error)) << error;
  EXPECT_TRUE(editor.TurnUntil([&] { return display.ReadPixels(window, shown) && shown.rgb == expected.rgb; }))
    << CountDifferingPixels(shown, expected) << " pixels differ from the headless panel";
  // removed, then setFrame(nullptr): everything registered is let go.
  EXPECT_EQ(editor.view->removed(), kResultOk);
  EXPECT_EQ(editor.frame->EventHandlerCount(), 0u);
  EXPECT_EQ(editor.frame->TimerCount(), 0u);
  EXPECT_EQ(editor.view->setFrame(nullptr), kResultOk);
  EXPECT_TRUE(Emptied(editor, parent));
}

TEST_F(Vst3EditorX11, TwentyCyclesInBothOrdersAndTwoInstancesAtOnce)
{
  Editor first(module);
  for (int cycle = 0; cycle < 20; ++cycle)
  {
    ASSERT_TRUE(first.Open(parent)) << cycle;
    ASSERT_NE(Shown(first, parent), XCB_NONE) << cycle;
    if (cycle % 2) // the frame dropped first, as some hosts do
    {
      first.view->setFrame(nullptr);
      first.view->removed();
    }
    else
    {
      first.view->removed();
      first.view->setFrame(nullptr);
    }
    first.Release();
    ASSERT_TRUE(Emptied(first, parent)) << cycle;
    ASSERT_EQ(first.frame->EventHandlerCount(), 0u) << cycle;
    ASSERT_EQ(first.frame->TimerCount(), 0u) << cycle;
  }

  const xcb_window_t otherParent = display.CreateParent(500, 40, kWidth + 40, kHeight + 40);
  Editor second(module);
  ASSERT_TRUE(first.Open(parent));
  ASSERT_TRUE(second.Open(otherParent));
  EXPECT_NE(Shown(first, parent), XCB_NONE);
  EXPECT_NE(Shown(second, otherParent), XCB_NONE);
  // A second view of the same instance cannot open the instance's one editor.
  IPlugView* again = first.instance.controller->createView(kEditorViewType);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->attached(ParentHandle(otherParent), kPlatformTypeX11EmbedWindowID), kResultFalse);
  again->release();
  first.view->removed();
  second.Turns(3); // the other editor carries on
  EXPECT_EQ(display.Children(otherParent).size(), 1u);
  second.view->removed();
  display.DestroyWindow(otherParent);
}

TEST_F(Vst3EditorX11, DraggingDelayGivesBeginRisingPerformsAndEndOnTheUiThread)
{
  Editor editor(module);
  ASSERT_TRUE(editor.Open(parent));
  const xcb_window_t window = Shown(editor, parent);
  ASSERT_NE(window, XCB_NONE);
  editor.Turns(4);
  display.Click(window, kSplashX, kSplashY, 1); // the splash goes
  editor.Turns(40);                             // past the double-click time
  std::vector<ComponentHandler::Call>& calls = editor.instance.handler->calls;
  calls.clear();

  display.MovePointer(window, kDelayX, kDelayY);
  display.PressButton(1);
  editor.Turns(2);
  for (int32_t y = kDelayY - 20; y > 20; y -= 20)
  {
    display.MovePointer(window, kDelayX, y);
    editor.Turns(2);
  }
  display.ReleaseButton(1);
  ASSERT_TRUE(editor.TurnUntil([&] { return !calls.empty() && calls.back().kind == ComponentHandler::kEnd; }));
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().kind, ComponentHandler::kBegin);
  double last = 19.0 / 39.0;
  for (size_t i = 0; i < calls.size(); ++i)
  {
    EXPECT_EQ(calls[i].id, 0u);
    EXPECT_EQ(calls[i].thread, std::this_thread::get_id()) << "call " << i << " off the UI thread";
    if (i == 0 || i + 1 == calls.size()) continue;
    EXPECT_EQ(calls[i].kind, ComponentHandler::kPerform);
    EXPECT_GT(calls[i].value, last) << "value " << i << " does not grow";
    last = calls[i].value;
  }
  EXPECT_DOUBLE_EQ(editor.instance.controller->getParamNormalized(0), last);
  editor.view->removed();
}

TEST_F(Vst3EditorX11, HostValuesReachTheEditor)
{
  Editor editor(module);
  ASSERT_TRUE(editor.Open(parent));
  const xcb_window_t window = Shown(editor, parent);
  ASSERT_NE(window, XCB_NONE);
  ASSERT_EQ(editor.instance.controller->setParamNormalized(1, 1.0), kResultOk);
  ASSERT_EQ(editor.instance.controller->setParamNormalized(2, 0.25), kResultOk);
  std::string error;
  WindowPixels expected, shown;
  ASSERT_TRUE(PaintHeadlessPanel({float(19.0 / 39.0), 1.0f, 0.25f}, true, expected, error)) << error;
  EXPECT_TRUE(editor.TurnUntil([&] { return display.ReadPixels(window, shown) && shown.rgb == expected.rgb; }))
    << CountDifferingPixels(shown, expected) << " pixels differ from the headless panel";
  editor.view->removed();
}
