// Brindlow.clap's editor in an X11 host: the gui extension's calls in the orders hosts
// make them, the host's main loop serving the window through the registered timer and
// descriptor, the panel's pixels, a drag reaching the host as a gesture, and the sizes
// the backdrop's menu asks of the host.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>

#include "ClapTestHost.h"
#include "HeadlessPanel.h"
#include "TestDisplay.h"

namespace
{
constexpr int32_t kWidth = 366, kHeight = 212;
constexpr int32_t kMonoHeight = 332; // the panel with the mono-check strip under it
constexpr int32_t kDelayX = 95, kDelayY = 112;
constexpr int32_t kSplashX = 80, kSplashY = 70;

// One plug-in instance with its host, and the host's main loop.
struct Editor
{
  ClapTestHost host;
  ClapInstance instance;
  const clap_plugin_t* p;
  const clap_plugin_gui_t* gui;

  explicit Editor(ClapModule& module)
    : instance(module, host), p(instance.plugin),
      gui(p ? instance.Ext<clap_plugin_gui_t>(CLAP_EXT_GUI) : nullptr)
  {
  }

  // Embedded, in the order hosts use: is_api_supported, create, set_scale, get_size,
  // set_parent, show. The size at that scale is the panel's, scaled.
  bool Open(xcb_window_t parent, double scale = 1.0)
  {
    uint32_t w = 0, h = 0;
    if (!gui->is_api_supported(p, CLAP_WINDOW_API_X11, false) || !gui->create(p, CLAP_WINDOW_API_X11, false))
      return false;
    if (!gui->set_scale(p, scale)) return false;
    if (!gui->get_size(p, &w, &h) || w != uint32_t(std::lround(kWidth * scale)) ||
        h != uint32_t(std::lround(kHeight * scale)))
      return false;
    clap_window_t window{};
    window.api = CLAP_WINDOW_API_X11;
    window.x11 = parent;
    return gui->set_parent(p, &window) && gui->show(p);
  }

  // One turn of the host's main loop: the plug-in's descriptors that are readable, then
  // its timers.
  void Turn()
  {
    const auto fds = std::vector<int>(host.fds);
    for (int fd : fds)
    {
      pollfd entry{fd, POLLIN, 0};
      if (poll(&entry, 1, 0) > 0) instance.Ext<clap_plugin_posix_fd_support_t>(CLAP_EXT_POSIX_FD_SUPPORT)->on_fd(
        p, fd, CLAP_POSIX_FD_READ);
    }
    if (host.timers.size() > size_t(host.unregisteredTimers))
      instance.Ext<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT)->on_timer(p, clap_id(host.timers.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  bool TurnUntil(const std::function<bool()>& done, int turns = 300)
  {
    for (int i = 0; i < turns; ++i)
    {
      Turn();
      if (done()) return true;
    }
    return false;
  }
  void Turns(int n) { TurnUntil([] { return false; }, n); }

  std::vector<ClapOutputList::Event> Flush()
  {
    ClapOutputList out;
    instance.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->flush(p, ClapEventList().In(), out.Out());
    return out.events;
  }
};

class ClapEditorX11 : public testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(display.Connected()) << display.Problem();
    ASSERT_TRUE(module.Entry()) << module.Error();
    parent = display.CreateParent(40, 40, kWidth + 40, kHeight + 40);
  }
  void TearDown() override { display.DestroyWindow(parent); }

  // The editor window in parent once it is on screen, or XCB_NONE.
  xcb_window_t Shown(Editor& editor, xcb_window_t into)
  {
    xcb_window_t shown = XCB_NONE;
    editor.TurnUntil([&] { return (shown = display.ViewableOnlyChild(into)) != XCB_NONE; });
    return shown;
  }

  // Whether parent has no child window left (the plug-in's connection is not ours, so
  // its requests reach the server in their own time).
  bool Emptied(Editor& editor, xcb_window_t into)
  {
    return editor.TurnUntil([&] { return display.Children(into).empty(); });
  }

  TestDisplay display;
  ClapModule module;
  xcb_window_t parent = XCB_NONE;
};
} // namespace

TEST_F(ClapEditorX11, EmbeddedX11OnlyResizableInThePanelsAspectRatio)
{
  Editor editor(module);
  ASSERT_TRUE(editor.gui);
  const clap_plugin_t* p = editor.p;
  EXPECT_FALSE(editor.gui->is_api_supported(p, CLAP_WINDOW_API_X11, true));
  EXPECT_FALSE(editor.gui->is_api_supported(p, CLAP_WINDOW_API_WAYLAND, false));
  EXPECT_FALSE(editor.gui->create(p, CLAP_WINDOW_API_X11, true));
  uint32_t w, h;
  EXPECT_FALSE(editor.gui->get_size(p, &w, &h)); // not before create
  EXPECT_FALSE(editor.gui->set_scale(p, 2.0));
  ASSERT_TRUE(editor.gui->create(p, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(editor.gui->set_scale(p, std::nan("")));
  EXPECT_FALSE(editor.gui->set_scale(p, 0.0));
  ASSERT_TRUE(editor.gui->get_size(p, &w, &h));
  EXPECT_EQ(w, uint32_t(kWidth)) << "ignored scales change nothing";
  EXPECT_TRUE(editor.gui->can_resize(p));
  clap_gui_resize_hints_t hints{};
  ASSERT_TRUE(editor.gui->get_resize_hints(p, &hints));
  EXPECT_TRUE(hints.can_resize_horizontally && hints.can_resize_vertically && hints.preserve_aspect_ratio);
  EXPECT_EQ(hints.aspect_ratio_width, uint32_t(kWidth));
  EXPECT_EQ(hints.aspect_ratio_height, uint32_t(kHeight));
  // A free size snaps to the largest panel inside it, from 1x to 3x.
  const struct { uint32_t w, h, adjustedW, adjustedH; } sizes[] = {
    {1000, 300, 518, 300}, {549, 900, 549, 318}, {100, 100, 366, 212}, {5000, 5000, 1098, 636}, {0xffffffffu, 1, 366, 212}};
  for (const auto& size : sizes)
  {
    w = size.w, h = size.h;
    EXPECT_TRUE(editor.gui->adjust_size(p, &w, &h));
    EXPECT_EQ(w, size.adjustedW) << size.w << "x" << size.h;
    EXPECT_EQ(h, size.adjustedH) << size.w << "x" << size.h;
  }
  EXPECT_TRUE(editor.gui->set_size(p, 732, 424));
  ASSERT_TRUE(editor.gui->get_size(p, &w, &h));
  EXPECT_EQ(w, 732u);
  EXPECT_EQ(h, 424u);
  EXPECT_FALSE(editor.gui->set_size(p, 1000, 300)) << "taken as the nearest size, not as given";
  ASSERT_TRUE(editor.gui->get_size(p, &w, &h));
  EXPECT_EQ(w, 518u);
  EXPECT_EQ(h, 300u);
  EXPECT_TRUE(editor.host.resizeRequests.empty()) << "sizes the host chose are not asked of it";
  editor.gui->destroy(p); // without a parent or show
  EXPECT_TRUE(editor.host.fds.empty());
}

TEST_F(ClapEditorX11, AtTheHostsScaleOfTwoTheWindowIsTwiceThePanel)
{
  Editor editor(module);
  const xcb_window_t bigParent = display.CreateParent(40, 40, 2 * kWidth + 40, 2 * kHeight + 40);
  ASSERT_TRUE(editor.Open(bigParent, 2.0));
  const xcb_window_t window = Shown(editor, bigParent);
  ASSERT_NE(window, XCB_NONE);
  WindowGeometry geometry;
  ASSERT_TRUE(display.Geometry(window, geometry));
  EXPECT_EQ(geometry.width, 732);
  EXPECT_EQ(geometry.height, 424);
  // The host resizes it: the window follows.
  EXPECT_TRUE(editor.gui->set_size(editor.p, 549, 318));
  EXPECT_TRUE(editor.TurnUntil([&] {
    return display.Geometry(window, geometry) && geometry.width == 549 && geometry.height == 318;
  })) << geometry.width << "x" << geometry.height;
  EXPECT_TRUE(editor.host.resizeRequests.empty());
  editor.gui->destroy(editor.p);
  EXPECT_TRUE(Emptied(editor, bigParent));
  display.DestroyWindow(bigParent);
}

TEST_F(ClapEditorX11, TheSizeTheUserPicksIsRequestedOfTheHost)
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
  ASSERT_TRUE(editor.TurnUntil([&] { return !editor.host.resizeRequests.empty(); }));
  EXPECT_EQ(editor.host.resizeRequests, (std::vector<std::pair<uint32_t, uint32_t>>{{732, 424}}));
  WindowGeometry geometry;
  EXPECT_TRUE(editor.TurnUntil([&] {
    return display.Geometry(window, geometry) && geometry.width == 732 && geometry.height == 424;
  })) << geometry.width << "x" << geometry.height;
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(editor.gui->get_size(editor.p, &w, &h));
  EXPECT_EQ(w, 732u);
  EXPECT_EQ(h, 424u);
  editor.gui->destroy(editor.p);
  EXPECT_TRUE(Emptied(editor, bigParent));
  display.DestroyWindow(bigParent);
}

// The mono check from the backdrop's menu (its last entry, after the seven sizes): the
// editor grows by the strip and asks the host for it, the host's free sizes keep the
// taller aspect ratio, and the same entry gives the panel's size back.
TEST_F(ClapEditorX11, TheMonoCheckFromTheMenuIsRequestedOfTheHostAndTakenBack)
{
  for (double scale : {1.0, 2.0})
  {
    SCOPED_TRACE(testing::Message() << "at the host's scale " << scale);
    const auto at = [scale](double units) { return int32_t(std::lround(units * scale)); };
    Editor editor(module);
    const xcb_window_t bigParent = display.CreateParent(40, 40, 3 * kWidth + 40, 3 * kMonoHeight + 40);
    ASSERT_TRUE(editor.Open(bigParent, scale));
    const xcb_window_t window = Shown(editor, bigParent);
    ASSERT_NE(window, XCB_NONE);
    editor.Turns(4);
    display.Click(window, at(kSplashX), at(kSplashY), 1); // the splash goes
    editor.Turns(40);                                     // past the double-click time
    const auto chooseLastEntry = [&] {
      display.ChooseBackdropMenuEntry(window, 7, scale, [&] { editor.Turns(3); });
    };
    const auto sizeIs = [&](int32_t w, int32_t h) {
      uint32_t width = 0, height = 0;
      WindowGeometry geometry;
      return editor.TurnUntil([&] {
        return display.Geometry(window, geometry) && geometry.width == w && geometry.height == h;
      }) && editor.gui->get_size(editor.p, &width, &height) && width == uint32_t(w) && height == uint32_t(h);
    };

    chooseLastEntry(); // "Show mono check"
    ASSERT_TRUE(editor.TurnUntil([&] { return !editor.host.resizeRequests.empty(); }));
    EXPECT_EQ(editor.host.resizeRequests,
              (std::vector<std::pair<uint32_t, uint32_t>>{{uint32_t(at(kWidth)), uint32_t(at(kMonoHeight))}}));
    EXPECT_TRUE(sizeIs(at(kWidth), at(kMonoHeight)));
    clap_gui_resize_hints_t hints{};
    ASSERT_TRUE(editor.gui->get_resize_hints(editor.p, &hints));
    EXPECT_EQ(hints.aspect_ratio_width, uint32_t(kWidth));
    EXPECT_EQ(hints.aspect_ratio_height, uint32_t(kMonoHeight));
    const struct { uint32_t w, h, adjustedW, adjustedH; } sizes[] = {
      {732, 2000, 732, 664}, {2000, 664, 732, 664}, {100, 100, 366, 332}, {5000, 5000, 1098, 996}};
    for (const auto& size : sizes)
    {
      uint32_t w = size.w, h = size.h;
      EXPECT_TRUE(editor.gui->adjust_size(editor.p, &w, &h));
      EXPECT_EQ(w, size.adjustedW) << size.w << "x" << size.h;
      EXPECT_EQ(h, size.adjustedH) << size.w << "x" << size.h;
    }
    EXPECT_TRUE(editor.gui->set_size(editor.p, 549, 498)) << "the strip's ratio at 1.5x";
    EXPECT_TRUE(sizeIs(549, 498));
    EXPECT_EQ(editor.host.resizeRequests.size(), 1u) << "a size the host chose is not asked of it";
    EXPECT_TRUE(editor.gui->set_size(editor.p, uint32_t(at(kWidth)), uint32_t(at(kMonoHeight))));
    EXPECT_TRUE(sizeIs(at(kWidth), at(kMonoHeight)));

    chooseLastEntry(); // "Hide mono check"
    ASSERT_TRUE(editor.TurnUntil([&] { return editor.host.resizeRequests.size() == 2; }));
    EXPECT_EQ(editor.host.resizeRequests.back(), std::make_pair(uint32_t(at(kWidth)), uint32_t(at(kHeight))));
    EXPECT_TRUE(sizeIs(at(kWidth), at(kHeight)));
    uint32_t w = 5000, h = 5000;
    EXPECT_TRUE(editor.gui->adjust_size(editor.p, &w, &h));
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(1098u, 636u)) << "the panel's own ratio again";
    editor.gui->destroy(editor.p);
    EXPECT_TRUE(Emptied(editor, bigParent));
    display.DestroyWindow(bigParent);
  }
}

TEST_F(ClapEditorX11, ShowsTheSamePixelsAsTheHeadlessPanel)
{
  Editor editor(module);
  ASSERT_TRUE(editor.Open(parent));
  const xcb_window_t window = Shown(editor, parent);
  ASSERT_NE(window, XCB_NONE);
  // Served by the host's loop: a timer near 30 Hz and the connection's descriptor.
  ASSERT_EQ(editor.host.timers.size(), 1u);
  EXPECT_LE(editor.host.timers[0], 40u);
  EXPECT_EQ(editor.host.fds.size(), 1u);
  // The first opening shows the splash over the default values (normalised).
  std::string error;
  WindowPixels expected, shown;
  ASSERT_TRUE(PaintHeadlessPanel({float(19.0 / 39.0), 0.0f, 0.5f}, true, expected, error)) << error;
  EXPECT_TRUE(editor.TurnUntil([&] { return display.ReadPixels(window, shown) && shown.rgb == expected.rgb; }))
    << CountDifferingPixels(shown, expected) << " pixels differ from the headless panel";
  editor.gui->destroy(editor.p); // while shown
  EXPECT_TRUE(Emptied(editor, parent));
  EXPECT_TRUE(editor.host.fds.empty());
  EXPECT_EQ(editor.host.unregisteredTimers, 1);
}

TEST_F(ClapEditorX11, HideUnmapsTheWindowAndShowMapsItAgain)
{
  Editor editor(module);
  ASSERT_TRUE(editor.gui->create(editor.p, CLAP_WINDOW_API_X11, false));
  EXPECT_FALSE(editor.gui->show(editor.p)); // embedded: no window before set_parent
  editor.gui->destroy(editor.p);
  ASSERT_TRUE(editor.Open(parent));
  const xcb_window_t window = Shown(editor, parent);
  ASSERT_NE(window, XCB_NONE);
  auto viewable = [&] {
    WindowGeometry geometry;
    return display.Geometry(window, geometry) && geometry.viewable;
  };
  for (int i = 0; i < 2; ++i)
  {
    ASSERT_TRUE(editor.gui->hide(editor.p));
    EXPECT_TRUE(editor.TurnUntil([&] { return !viewable(); })) << i;
    EXPECT_EQ(display.Children(parent).size(), 1u) << "hidden, not destroyed";
    ASSERT_TRUE(editor.gui->show(editor.p));
    EXPECT_TRUE(editor.TurnUntil(viewable)) << i;
  }
  editor.gui->hide(editor.p);
  editor.gui->destroy(editor.p); // while hidden
  EXPECT_TRUE(Emptied(editor, parent));
}

TEST_F(ClapEditorX11, TwentyCyclesAndTwoInstancesAtOnce)
{
  Editor first(module);
  for (int cycle = 0; cycle < 20; ++cycle)
  {
    ASSERT_TRUE(first.Open(parent)) << cycle;
    ASSERT_NE(Shown(first, parent), XCB_NONE) << cycle;
    if (cycle % 2) first.gui->hide(first.p);
    first.gui->destroy(first.p);
    ASSERT_TRUE(Emptied(first, parent)) << cycle;
  }
  EXPECT_TRUE(first.host.fds.empty());
  EXPECT_EQ(first.host.unregisteredTimers, 20);

  const xcb_window_t otherParent = display.CreateParent(500, 40, kWidth + 40, kHeight + 40);
  Editor second(module);
  ASSERT_TRUE(first.Open(parent));
  ASSERT_TRUE(second.Open(otherParent));
  EXPECT_NE(Shown(first, parent), XCB_NONE);
  EXPECT_NE(Shown(second, otherParent), XCB_NONE);
  first.gui->destroy(first.p);
  second.Turns(3); // the other editor carries on
  EXPECT_EQ(display.Children(otherParent).size(), 1u);
  second.gui->destroy(second.p);
  display.DestroyWindow(otherParent);
}

TEST_F(ClapEditorX11, DraggingDelayGivesGestureBeginValuesAndEnd)
{
  Editor editor(module);
  ASSERT_TRUE(editor.Open(parent));
  const xcb_window_t window = Shown(editor, parent);
  ASSERT_NE(window, XCB_NONE);
  editor.Turns(4);
  display.Click(window, kSplashX, kSplashY, 1); // the splash goes
  editor.Turns(40);                             // past the double-click time
  editor.Flush();
  const int flushesBefore = editor.host.requestFlushCount;

  display.MovePointer(window, kDelayX, kDelayY);
  display.PressButton(1);
  editor.Turns(2);
  for (int32_t y = kDelayY - 20; y > 20; y -= 20)
  {
    display.MovePointer(window, kDelayX, y);
    editor.Turns(2);
  }
  display.ReleaseButton(1);
  std::vector<ClapOutputList::Event> events;
  ASSERT_TRUE(editor.TurnUntil([&] {
    for (const auto& e : editor.Flush()) events.push_back(e);
    return !events.empty() && events.back().type == CLAP_EVENT_PARAM_GESTURE_END;
  }));
  EXPECT_GT(editor.host.requestFlushCount, flushesBefore); // not processing: a flush was asked for
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  double last = 20.0;
  for (size_t i = 1; i + 1 < events.size(); ++i)
  {
    EXPECT_EQ(events[i].type, CLAP_EVENT_PARAM_VALUE);
    EXPECT_EQ(events[i].param, 0u);
    EXPECT_GT(events[i].value, last) << "value " << i << " does not grow"; // real milliseconds
    last = events[i].value;
  }
  double now = 0;
  editor.instance.Ext<clap_plugin_params_t>(CLAP_EXT_PARAMS)->get_value(editor.p, 0, &now);
  EXPECT_DOUBLE_EQ(now, last);
  editor.gui->destroy(editor.p);
}

TEST_F(ClapEditorX11, NoEditorForAHostWithoutTimers)
{
  Editor editor(module);
  editor.host.offerTimer = false;
  // The host's extensions are looked up in init: a new instance sees the missing timer.
  ClapInstance instance(module, editor.host);
  auto gui = instance.Ext<clap_plugin_gui_t>(CLAP_EXT_GUI);
  EXPECT_FALSE(gui->create(instance.plugin, CLAP_WINDOW_API_X11, false));
}
