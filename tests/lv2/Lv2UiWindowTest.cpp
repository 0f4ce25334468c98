// The LV2 UI binary as a host embeds it: loaded directly (the LV2 host kit), instantiated in an X11
// window of the test's own (ui:parent), idled through ui:idleInterface, values sent with
// port_event, scaled and resized by the host (ui:scaleFactor, opts:interface, ui:resize),
// and driven with XTEST input. Needs a display (tools/test-x11.sh: Xvfb).
#include <gtest/gtest.h>

#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>

#include "HeadlessPanel.h"
#include "Lv2HostKit.h"
#include "TestDisplay.h"

namespace
{
constexpr int32_t kWidth = 366, kHeight = 212;
constexpr int32_t kDelayX = 95, kDelayY = 112; // centre of the Delay knob
constexpr int32_t kSplashX = 80, kSplashY = 70; // inside the splash while it shows
constexpr uint8_t kLeftButton = 1;

// What the UI asked of the host: a port write or a touch.
struct UiCall
{
  enum Kind
  {
    kWrite,
    kTouchBegin,
    kTouchEnd
  } kind;
  uint32_t port;
  float value;
};

class Lv2UiHost
{
public:
  Lv2UiHost()
  {
    if (!mBinary.Load(BRINDLOW_LV2_UI, mError)) return;
    mDescriptor = mBinary.UiDescriptor("urn:ardelnu:brindlow:ui");
    if (!mDescriptor) mError = "no urn:ardelnu:brindlow:ui in lv2ui_descriptor";
  }
  ~Lv2UiHost() { Cleanup(); }
  const LV2UI_Descriptor* Descriptor() const { return mDescriptor; }
  const std::string& LoadError() const { return mError; }
  std::vector<UiCall>& Calls() { return mCalls; }
  // The sizes the UI gave the host's ui:resize, in order.
  std::vector<std::pair<int, int>>& Resized() { return mResized; }
  // The UI's opts:interface, setting ui:scaleFactor to scale; its status.
  uint32_t SetScaleFactor(float scale)
  {
    const auto* options = static_cast<const LV2_Options_Interface*>(mDescriptor->extension_data(LV2_OPTIONS__interface));
    if (!options) return LV2_OPTIONS_ERR_UNKNOWN;
    mScaleFactor.SetScale(scale);
    return options->set(mHandle, mScaleFactor.Options());
  }
  // The UI's ui:resize: the host resized the widget; the UI's answer (0 when taken).
  int ResizeWidget(int width, int height)
  {
    const auto* resize = static_cast<const LV2UI_Resize*>(mDescriptor->extension_data(LV2_UI__resize));
    return resize ? resize->ui_resize(mHandle, width, height) : -1;
  }

  // Instantiates the UI in parent (or without ui:parent when XCB_NONE), with urid:map,
  // ui:resize and the ui:scaleFactor scale (none when 0); answers the widget.
  uintptr_t Instantiate(xcb_window_t parent, float scale = 0.0f)
  {
    mParentFeature = {LV2_UI__parent, reinterpret_cast<void*>(uintptr_t(parent))};
    mTouch = {this, &TouchCallback};
    mTouchFeature = {LV2_UI__touch, &mTouch};
    mIdleFeature = {LV2_UI__idleInterface, nullptr};
    mResize = {this, &ResizeCallback};
    mResizeFeature = {LV2_UI__resize, &mResize};
    mScaleFactor.SetScale(scale);
    std::vector<const LV2_Feature*> features = {&mTouchFeature, &mIdleFeature, &mResizeFeature, mMap.MapFeature()};
    if (scale > 0.0f) features.push_back(mScaleFactor.Feature());
    if (parent) features.push_back(&mParentFeature);
    features.push_back(nullptr);
    LV2UI_Widget widget = nullptr;
    mHandle = mDescriptor->instantiate(mDescriptor, "urn:ardelnu:brindlow:stereo", BRINDLOW_LV2_BUNDLE "/",
                                       &WriteCallback, this, &widget, features.data());
    mIdle = static_cast<const LV2UI_Idle_Interface*>(mDescriptor->extension_data(LV2_UI__idleInterface));
    return reinterpret_cast<uintptr_t>(widget);
  }
  LV2UI_Handle Handle() const { return mHandle; }
  void Cleanup()
  {
    if (mHandle) mDescriptor->cleanup(mHandle);
    mHandle = nullptr;
  }
  void PortEvent(uint32_t port, float value) { mDescriptor->port_event(mHandle, port, sizeof value, 0, &value); }

  bool IdleUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5))
  {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;)
    {
      if (mIdle && mHandle) mIdle->idle(mHandle);
      if (done()) return true;
      if (std::chrono::steady_clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  void IdleFor(int ticks)
  {
    int left = ticks;
    IdleUntil([&left] { return --left <= 0; });
  }

private:
  static void WriteCallback(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t protocol,
                            const void* buffer)
  {
    auto* host = static_cast<Lv2UiHost*>(controller);
    ASSERT_EQ(size, sizeof(float));
    ASSERT_EQ(protocol, 0u);
    host->mCalls.push_back({UiCall::kWrite, port, *static_cast<const float*>(buffer)});
  }
  static int ResizeCallback(LV2UI_Feature_Handle handle, int width, int height)
  {
    static_cast<Lv2UiHost*>(handle)->mResized.emplace_back(width, height);
    return 0;
  }
  static void TouchCallback(LV2UI_Feature_Handle handle, uint32_t port, bool grabbed)
  {
    static_cast<Lv2UiHost*>(handle)->mCalls.push_back({grabbed ? UiCall::kTouchBegin : UiCall::kTouchEnd, port, 0});
  }

  hostkit::Lv2Binary mBinary;
  std::string mError;
  const LV2UI_Descriptor* mDescriptor = nullptr;
  LV2UI_Handle mHandle = nullptr;
  const LV2UI_Idle_Interface* mIdle = nullptr;
  LV2UI_Touch mTouch{};
  LV2UI_Resize mResize{};
  hostkit::Lv2UridMap mMap;
  hostkit::Lv2ScaleFactorOption mScaleFactor{mMap, 0.0f};
  LV2_Feature mParentFeature{}, mTouchFeature{}, mIdleFeature{}, mResizeFeature{};
  std::vector<UiCall> mCalls;
  std::vector<std::pair<int, int>> mResized;
};

class Lv2UiWindow : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(display.Connected()) << display.Problem();
    ASSERT_NE(host.Descriptor(), nullptr) << host.LoadError();
    parent = display.CreateParent(40, 40, 3 * kWidth + 40, 3 * kHeight + 40);
  }
  void TearDown() override
  {
    host.Cleanup();
    if (parent != XCB_NONE) display.DestroyWindow(parent);
  }

  // Instantiates the UI in parent (at the host's scale, none when 0) and waits until its
  // window is on screen.
  xcb_window_t Open(float scale = 0.0f)
  {
    const uintptr_t widget = host.Instantiate(parent, scale);
    if (!widget) return XCB_NONE;
    const bool shown = host.IdleUntil([&] {
      WindowGeometry geometry;
      return display.Geometry(xcb_window_t(widget), geometry) && geometry.viewable;
    });
    return shown ? xcb_window_t(widget) : XCB_NONE;
  }

  // Whether window measures width x height once the server has it so.
  bool Measures(xcb_window_t window, int32_t width, int32_t height)
  {
    WindowGeometry geometry;
    const bool sized = host.IdleUntil(
      [&] { return display.Geometry(window, geometry) && geometry.width == width && geometry.height == height; });
    if (!sized) ADD_FAILURE() << geometry.width << "x" << geometry.height << ", not " << width << "x" << height;
    return sized;
  }

  void ExpectShows(xcb_window_t window, const WindowPixels& expected, const char* what)
  {
    WindowPixels shown;
    const bool same = host.IdleUntil([&] { return display.ReadPixels(window, shown) && shown.rgb == expected.rgb; });
    EXPECT_TRUE(same) << what << ": " << CountDifferingPixels(shown, expected) << " pixels differ";
  }

  TestDisplay display;
  Lv2UiHost host;
  xcb_window_t parent = XCB_NONE;
};
} // namespace

TEST_F(Lv2UiWindow, PaintsTheHeadlessPanelWithTheSplashOnTheFirstThreeOpenings)
{
  std::string error;
  WindowPixels splash, panel, values;
  ASSERT_TRUE(PaintHeadlessPanel({19.0f / 39.0f, 0.0f, 0.5f}, true, splash, error)) << error;
  ASSERT_TRUE(PaintHeadlessPanel({19.0f / 39.0f, 0.0f, 0.5f}, false, panel, error)) << error;
  // Delay 32.2 ms, Right leading, Wet Mix -5 dB: normalised 0.8, 1, 0.25.
  ASSERT_TRUE(PaintHeadlessPanel({0.8f, 1.0f, 0.25f}, false, values, error)) << error;

  // Each UI instance lives while its window is open; the splash counts openings in the process.
  for (int opening = 1; opening <= 4; ++opening)
  {
    const xcb_window_t window = Open();
    ASSERT_NE(window, XCB_NONE) << "opening " << opening;
    const std::vector<xcb_window_t> children = display.Children(parent);
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0], window) << "the widget is the editor's window";
    WindowGeometry geometry;
    ASSERT_TRUE(display.Geometry(window, geometry));
    EXPECT_EQ(geometry.width, kWidth);
    EXPECT_EQ(geometry.height, kHeight);
    const std::string what = "opening " + std::to_string(opening);
    ExpectShows(window, opening <= 3 ? splash : panel, what.c_str());
    if (opening == 4)
    {
      host.PortEvent(0, 32.2f);
      host.PortEvent(1, 1.0f);
      host.PortEvent(2, -5.0f);
      ExpectShows(window, values, "values from port_event");
    }
    host.Cleanup();
    display.Sync();
    EXPECT_TRUE(host.IdleUntil([&] { return display.Children(parent).empty(); })) << what << ": window outlived cleanup";
  }
}

TEST_F(Lv2UiWindow, DraggingDelayWritesItsPortInsideTouches)
{
  const xcb_window_t window = Open();
  ASSERT_NE(window, XCB_NONE);
  host.IdleFor(2);
  display.Click(window, kSplashX, kSplashY, kLeftButton); // the first opening shows the splash
  host.IdleFor(14);
  host.Calls().clear();

  display.MovePointer(window, kDelayX, kDelayY);
  display.PressButton(kLeftButton);
  host.IdleFor(2);
  for (int32_t y = kDelayY; y > -20;)
  {
    y -= 20;
    display.MovePointer(window, kDelayX, y);
    host.IdleFor(2);
  }
  display.ReleaseButton(kLeftButton);
  ASSERT_TRUE(host.IdleUntil([&] { return !host.Calls().empty() && host.Calls().back().kind == UiCall::kTouchEnd; }));

  const std::vector<UiCall>& calls = host.Calls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().kind, UiCall::kTouchBegin);
  float last = 20.0f; // the default
  for (size_t i = 0; i < calls.size(); ++i)
  {
    EXPECT_EQ(calls[i].port, 0u) << "call " << i << ": only Delay moves";
    if (i == 0 || i + 1 == calls.size()) continue;
    EXPECT_EQ(calls[i].kind, UiCall::kWrite) << i;
    EXPECT_GT(calls[i].value, last) << "write " << i << " does not grow (real milliseconds)";
    EXPECT_LE(calls[i].value, 40.0f);
    last = calls[i].value;
  }
  // 312 pixels of travel for the whole range: 140 pixels up (to y = -28) is 17.5 ms more.
  EXPECT_NEAR(last, 20.0f + float(kDelayY + 28) / 312.0f * 39.0f, 0.1f);
}

TEST_F(Lv2UiWindow, ShowOpensATopLevelWindowAndHideClosesIt)
{
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(display.Connection())).data->root;
  const std::vector<xcb_window_t> before = display.Children(root);
  EXPECT_EQ(host.Instantiate(XCB_NONE), 0u) << "no widget without ui:parent";
  ASSERT_NE(host.Handle(), nullptr);
  const auto* show = static_cast<const LV2UI_Show_Interface*>(host.Descriptor()->extension_data(LV2_UI__showInterface));
  ASSERT_NE(show, nullptr);

  auto newWindow = [&] {
    for (xcb_window_t w : display.Children(root))
      if (std::find(before.begin(), before.end(), w) == before.end()) return w;
    return xcb_window_t(XCB_NONE);
  };
  for (int round = 0; round < 2; ++round)
  {
    ASSERT_EQ(show->show(host.Handle()), 0);
    WindowGeometry geometry;
    ASSERT_TRUE(host.IdleUntil([&] { return display.Geometry(newWindow(), geometry) && geometry.viewable; }))
      << "round " << round << ": no top-level window";
    EXPECT_EQ(geometry.width, kWidth);
    EXPECT_EQ(geometry.height, kHeight);
    EXPECT_EQ(show->show(host.Handle()), 0) << "showing a shown UI";
    ASSERT_EQ(show->hide(host.Handle()), 0);
    display.Sync();
    EXPECT_TRUE(host.IdleUntil([&] { return newWindow() == XCB_NONE; })) << "round " << round << ": hide left it";
  }
}

TEST_F(Lv2UiWindow, AtTheHostsScaleFactorOfTwoTheWidgetIsTwiceThePanel)
{
  const xcb_window_t window = Open(2.0f);
  ASSERT_NE(window, XCB_NONE);
  EXPECT_TRUE(Measures(window, 732, 424));
  ASSERT_EQ(host.Resized().size(), 1u);
  EXPECT_EQ(host.Resized()[0], std::make_pair(732, 424)) << "the host was told the widget's size";
}

TEST_F(Lv2UiWindow, TheHostsLaterScaleAndSizeReachTheEditorAndTheSizeOutlivesTheInstance)
{
  const xcb_window_t window = Open();
  ASSERT_NE(window, XCB_NONE);
  ASSERT_TRUE(Measures(window, kWidth, kHeight));
  EXPECT_EQ(host.SetScaleFactor(1.5f), uint32_t(LV2_OPTIONS_SUCCESS));
  EXPECT_TRUE(Measures(window, 549, 318));
  EXPECT_EQ(host.Resized().back(), std::make_pair(549, 318));
  EXPECT_NE(host.SetScaleFactor(-1.0f), uint32_t(LV2_OPTIONS_SUCCESS));
  EXPECT_EQ(host.Resized().back(), std::make_pair(549, 318)) << "a refused scale changes nothing";

  // The host resizes the widget to a free size: the editor takes the panel inside it and
  // tells the host.
  host.Resized().clear();
  EXPECT_NE(host.ResizeWidget(1000, 300), 0);
  EXPECT_TRUE(Measures(window, 518, 300));
  ASSERT_EQ(host.Resized().size(), 1u);
  EXPECT_EQ(host.Resized()[0], std::make_pair(518, 300));
  EXPECT_EQ(host.ResizeWidget(732, 424), 0);
  EXPECT_TRUE(Measures(window, 732, 424));
  EXPECT_EQ(host.Resized().size(), 1u) << "a size taken as given is not told back";

  // A size the host chose is the editor's own size for this process: the next instance
  // opens at it, whatever the host's scale.
  host.Cleanup();
  const xcb_window_t again = Open(1.0f);
  ASSERT_NE(again, XCB_NONE);
  EXPECT_TRUE(Measures(again, 732, 424));
}

TEST_F(Lv2UiWindow, TheSizeTheUserPicksIsToldToTheHost)
{
  const xcb_window_t window = Open();
  ASSERT_NE(window, XCB_NONE);
  host.IdleFor(2);
  display.Click(window, kSplashX, kSplashY, kLeftButton); // the first opening shows the splash
  host.IdleFor(40);                                       // past the double-click time
  host.Resized().clear();
  // "200%", the backdrop menu's fourth entry.
  display.ChooseBackdropMenuEntry(window, 3, 1.0, [&] { host.IdleFor(3); });
  ASSERT_TRUE(host.IdleUntil([&] { return !host.Resized().empty(); }));
  EXPECT_EQ(host.Resized(), (std::vector<std::pair<int, int>>{{732, 424}}));
  EXPECT_TRUE(Measures(window, 732, 424));
}

TEST_F(Lv2UiWindow, TheMonoCheckChosenFromTheMenuGrowsTheWidgetAndSwitchesTheViewPortForTheProcess)
{
  constexpr uint32_t kViewPort = 7; // the stereo plug-in's mono_view
  auto viewWrites = [&] {
    std::vector<float> values;
    for (const UiCall& call : host.Calls())
      if (call.kind == UiCall::kWrite && call.port == kViewPort) values.push_back(call.value);
    return values;
  };
  // The backdrop's menu: seven sizes, then the mono check.
  auto chooseMonoCheck = [&](xcb_window_t window) {
    display.ChooseBackdropMenuEntry(window, 7, 1.0, [&] { host.IdleFor(3); });
  };

  xcb_window_t window = Open();
  ASSERT_NE(window, XCB_NONE);
  host.IdleFor(2);
  display.Click(window, kSplashX, kSplashY, kLeftButton); // the first opening shows the splash
  host.IdleFor(40);                                       // past the double-click time
  host.Resized().clear();
  host.Calls().clear();
  chooseMonoCheck(window);
  ASSERT_TRUE(host.IdleUntil([&] { return !host.Resized().empty(); }));
  EXPECT_EQ(host.Resized(), (std::vector<std::pair<int, int>>{{kWidth, 332}})) << "the panel and the 120-unit strip";
  EXPECT_TRUE(Measures(window, kWidth, 332));
  EXPECT_EQ(viewWrites(), std::vector<float>{1.0f}) << "the DSP starts its meter";

  // The view holds for the process: closed, the UI switches the meter off; the next
  // instance opens with the view and switches it on again.
  host.Cleanup();
  EXPECT_EQ(viewWrites(), (std::vector<float>{1.0f, 0.0f}));
  host.Calls().clear();
  host.Resized().clear();
  window = Open();
  ASSERT_NE(window, XCB_NONE);
  EXPECT_TRUE(Measures(window, kWidth, 332));
  EXPECT_EQ(host.Resized(), (std::vector<std::pair<int, int>>{{kWidth, 332}}));
  EXPECT_EQ(viewWrites().back(), 1.0f);

  // Hidden from the same menu entry: back to the panel, the meter off.
  display.Click(window, kSplashX, kSplashY, kLeftButton); // the second opening shows the splash too
  host.IdleFor(40);
  host.Calls().clear();
  host.Resized().clear();
  chooseMonoCheck(window);
  ASSERT_TRUE(host.IdleUntil([&] { return !host.Resized().empty(); }));
  EXPECT_EQ(host.Resized(), (std::vector<std::pair<int, int>>{{kWidth, kHeight}}));
  EXPECT_TRUE(Measures(window, kWidth, kHeight));
  EXPECT_EQ(viewWrites(), std::vector<float>{0.0f});
}
