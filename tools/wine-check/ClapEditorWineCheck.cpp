// The editor of Brindlow.clap through the gui extension, as a Windows host opens it:
// embedded ("win32") in a top-level window of the host's, driven with mouse messages.
// The gestures must come back to the host as output events of a params flush, which
// the plug-in asks for (request_flush) because nothing is processing; the window must
// show the Linux snapshot; and the window must go whichever way the host ends it.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ClapWineHost.h"
#include "EditorChecks.h"
#include "WineCheck.h"

using namespace winecheck;

namespace
{
constexpr uint32_t kEditorWidth = 366, kEditorHeight = 212;
constexpr clap_id kDelay = 0;
constexpr double kDelayDefaultMs = 20.0;
// The Delay knob's centre in the panel (the knob covers x 56..134, y 73..151).
constexpr POINT kDelayKnob = {95, 112};
constexpr int kDragPixels = 40; // a knob turns its full range over 312 pixels

struct Instance
{
  hostkit::ClapInstance clap;
  const clap_plugin_t* plugin = nullptr;
  const clap_plugin_gui_t* gui = nullptr;
  const clap_plugin_params_t* params = nullptr;
};

void MakeInstance(Instance& instance, ClapWineHost& host, const hostkit::ClapModule& module, const char* id)
{
  if (!instance.clap.Create(module, host.Host(), id)) return;
  instance.plugin = instance.clap.Plugin();
  instance.gui = instance.clap.Extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
  instance.params = instance.clap.Extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
}

clap_window_t Win32Window(HWND window)
{
  clap_window_t clapWindow{};
  clapWindow.api = CLAP_WINDOW_API_WIN32;
  clapWindow.win32 = window;
  return clapWindow;
}

bool ClassRegistered(HMODULE module)
{
  WNDCLASSA wc;
  return GetClassInfoA(module, "IPlugWndClass", &wc) != 0;
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// Dispatches messages for |ms| milliseconds, flushing whenever the plug-in asks.
void PumpAndFlush(ClapWineHost& host, const Instance& instance, DWORD ms)
{
  const DWORD start = GetTickCount();
  do
  {
    Pump(10);
    host.FlushIfRequested(instance.plugin);
  } while (GetTickCount() - start < ms);
}

// The questions a host asks before it opens the window.
void CheckNegotiation(const Instance& instance)
{
  const clap_plugin_gui_t* gui = instance.gui;
  const clap_plugin_t* plugin = instance.plugin;
  Check(gui->is_api_supported(plugin, CLAP_WINDOW_API_WIN32, false), "gui: win32 embedded is supported");
  Check(!gui->is_api_supported(plugin, CLAP_WINDOW_API_WIN32, true), "gui: win32 floating is not");
  Check(!gui->is_api_supported(plugin, CLAP_WINDOW_API_X11, false), "gui: x11 is not, on Windows");
  const char* api = nullptr;
  bool floating = true;
  Check(gui->get_preferred_api(plugin, &api, &floating) && api && !std::strcmp(api, "win32") && !floating,
        "gui: the preferred api is win32, embedded");
  Check(gui->create(plugin, CLAP_WINDOW_API_WIN32, false), "gui: create(win32, embedded)");
  // The host's scale sizes the editor; the rest of the checks run at 1.
  uint32_t width = 0, height = 0;
  Check(gui->set_scale(plugin, 2.0), "gui: set_scale(2) is taken");
  bool sized = gui->get_size(plugin, &width, &height);
  Check(sized && width == 2 * kEditorWidth && height == 2 * kEditorHeight,
        "gui: get_size at scale 2 is 732 x 424 (got " + std::to_string(width) + " x " + std::to_string(height) + ")");
  Check(gui->set_scale(plugin, 1.0), "gui: set_scale(1) is taken");
  sized = gui->get_size(plugin, &width, &height);
  Check(sized && width == kEditorWidth && height == kEditorHeight,
        "gui: get_size is 366 x 212 (got " + std::to_string(width) + " x " + std::to_string(height) + ")");
  Check(gui->can_resize(plugin), "gui: can_resize is true (the panel keeps its aspect ratio)");
}

// Outside the label rectangles the window shows exactly the Linux snapshot.
void CheckPixels(HWND editor, const char* referencePng)
{
  const std::vector<std::uint32_t> shown = ReadPixels(editor, kEditorWidth, kEditorHeight);
  std::vector<std::uint32_t> reference;
  if (!Check(LoadReference(referencePng, kEditorWidth, kEditorHeight, reference),
             std::string("reference snapshot ") + referencePng + " read"))
    return;
  const PixelComparison result = CompareOutsideLabels(shown, reference, kEditorWidth, kEditorHeight);
  Check(!shown.empty() && result.differing == 0,
        "the CLAP editor shows the Linux snapshot outside the label rectangles (" +
            std::to_string(result.differing) + " pixels differ" + result.firstDifference + ")");
  Check(result.labelsWithoutText.empty(), "every label rectangle holds text" + result.labelsWithoutText);
}

// A drag up the Delay knob reaches the host as GESTURE_BEGIN, rising PARAM_VALUEs,
// GESTURE_END for the Delay's id, through flushes the plug-in asked for.
void CheckDelayDrag(ClapWineHost& host, const Instance& instance, HWND editor)
{
  host.Events().clear();
  const int requestsBefore = host.FlushRequests();
  PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(kDelayKnob.x, kDelayKnob.y));
  for (int dy = 4; dy <= kDragPixels; dy += 4)
    PostMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, At(kDelayKnob.x, kDelayKnob.y - dy));
  PostMessageA(editor, WM_LBUTTONUP, 0, At(kDelayKnob.x, kDelayKnob.y - kDragPixels));
  PumpAndFlush(host, instance, 300); // the window's own timer ticks at 30 Hz meanwhile

  std::string order;
  bool rising = true;
  double last = kDelayDefaultMs;
  for (const ClapOutputEvent& e : host.Events())
  {
    const bool gesture = e.type == CLAP_EVENT_PARAM_GESTURE_BEGIN || e.type == CLAP_EVENT_PARAM_GESTURE_END;
    if (e.space != CLAP_CORE_EVENT_SPACE_ID || (e.type != CLAP_EVENT_PARAM_VALUE && !gesture)) continue;
    if (e.param != kDelay)
    {
      order += '?';
      continue;
    }
    if (e.type == CLAP_EVENT_PARAM_VALUE)
    {
      order += 'v';
      rising = rising && e.value > last;
      last = e.value;
    }
    else
      order += e.type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? 'b' : 'e';
  }
  const bool shaped = order.size() >= 3 && order.front() == 'b' && order.back() == 'e' &&
                      order.find_first_not_of('v', 1) == order.size() - 1;
  Check(shaped, "Delay drag: flushes give GESTURE_BEGIN, PARAM_VALUE..., GESTURE_END for id 0 (got \"" + order +
                    "\", " + std::to_string(host.FlushRequests() - requestsBefore) + " flush requests)");
  const double expected = kDelayDefaultMs + 39.0 * kDragPixels / 312.0;
  char text[160];
  std::snprintf(text, sizeof text, "the values rise from 20 ms to %.3f ms (a 40 px drag: %.3f ms)", last, expected);
  Check(rising && std::fabs(last - expected) < 0.05, text);
  double value = 0.0;
  Check(instance.params && instance.params->get_value(instance.plugin, kDelay, &value) && value == last,
        "params get_value gives the last value sent");
}

// Embedded in a host window, shown, driven, hidden, destroyed.
void CheckOpenDriveClose(ClapWineHost& host, const Instance& instance, HMODULE module, const char* referencePng)
{
  const clap_plugin_gui_t* gui = instance.gui;
  const clap_plugin_t* plugin = instance.plugin;
  CheckNegotiation(instance);
  HWND frame = MakeParentWindow("CLAP host frame", 40, 40);
  const clap_window_t parent = Win32Window(frame);
  Check(gui->set_parent(plugin, &parent), "gui: set_parent with the host's window");
  Check(gui->show(plugin), "gui: show");
  PumpAndFlush(host, instance, 100);
  HWND editor = EditorChild(frame);
  const SIZE size = ClientSize(editor);
  if (!Check(editor && IsWindowVisible(editor) && size.cx == LONG(kEditorWidth) && size.cy == LONG(kEditorHeight),
             "a visible 366 x 212 child window of class \"IPlugWndClass\" in the host's window"))
  {
    gui->destroy(plugin);
    DestroyWindow(frame);
    return;
  }
  // The splash covers the controls at the first openings; a click on the backdrop hides it.
  PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 190));
  PostMessageA(editor, WM_LBUTTONUP, 0, At(20, 190));
  PumpAndFlush(host, instance, 150);
  CheckPixels(editor, referencePng);
  CheckDelayDrag(host, instance, editor);
  Check(gui->hide(plugin) && IsWindow(editor) && !IsWindowVisible(editor), "gui: hide keeps the window, not shown");
  Check(gui->show(plugin) && IsWindowVisible(editor), "gui: show again");
  Check(gui->hide(plugin), "gui: hide once more");
  gui->destroy(plugin);
  Pump(50);
  Check(!IsWindow(editor) && !EditorChild(frame), "gui: destroy takes the editor's window away");
  Check(!ClassRegistered(module), "and gives its window class back");
  DestroyWindow(frame);
}

// A host may create and destroy without ever giving a parent, and may destroy a shown
// editor without hiding it first.
void CheckOtherEndings(ClapWineHost& host, const Instance& instance, HMODULE module)
{
  const clap_plugin_gui_t* gui = instance.gui;
  const clap_plugin_t* plugin = instance.plugin;
  Check(gui->create(plugin, CLAP_WINDOW_API_WIN32, false), "gui: create again");
  gui->destroy(plugin);
  Check(!ClassRegistered(module), "create then destroy, never shown: no window class is left");

  HWND frame = MakeParentWindow("CLAP host frame, destroyed while shown", 40, 400);
  const clap_window_t parent = Win32Window(frame);
  Check(gui->create(plugin, CLAP_WINDOW_API_WIN32, false) && gui->set_parent(plugin, &parent) && gui->show(plugin),
        "gui: create, set_parent and show once more");
  PumpAndFlush(host, instance, 100);
  HWND editor = EditorChild(frame);
  Check(editor && IsWindowVisible(editor), "the editor shows again");
  gui->destroy(plugin);
  PumpAndFlush(host, instance, 150); // a timer left behind would fire on a dead window here
  Check(!IsWindow(editor) && !EditorChild(frame) && !ClassRegistered(module),
        "destroy while shown takes the window and its class away");
  DestroyWindow(frame);
}
} // namespace

void RunClapEditorChecks(const hostkit::ClapModule& module, const char* pluginId, const char* referencePng)
{
  ClapWineHost host;
  Instance instance;
  MakeInstance(instance, host, module, pluginId);
  if (!Check(instance.plugin && instance.gui, "an instance for the editor, with the gui extension")) return;
  const HMODULE library = static_cast<HMODULE>(module.Handle());
  CheckOpenDriveClose(host, instance, library, referencePng);
  CheckOtherEndings(host, instance, library);
}
