// A Windows VST host that opens Brindlow's editor the way a host does (effEditOpen with a
// window of its own as parent) and drives it with window messages, as a user's mouse
// would: knob drags, switch clicks, the Pan list, the wheel. It checks what reaches the
// host (begin, automate, end), what the audio does, what the window shows against the
// Linux snapshot of the same state, and how the window class and windows come and go.
// The in-place edit box, which the product's own controls never open, is checked on a
// small editor built from the toolkit (ToolkitEditorCheck.cpp).
//
//   EditorWineCheck.exe Brindlow.dll reference.png [capture.bmp]
//
// reference.png: the Linux headless snapshot of the editor at its defaults, splash
// hidden (brindlow-render --editor-snapshot). capture.bmp: where to write what the
// window showed. Exits 0 when every check passes. Run under Wine by tools/test-windows.sh.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "EditorChecks.h"
#include "WineCheck.h"
#include "VstHostKit.h"

using namespace winecheck;

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr int kBlockFrames = 4096;
constexpr int kEditorWidth = 366, kEditorHeight = 212;
constexpr int kDelay = 0, kPan = 1, kWetMix = 2;
// Where the product's controls sit in its editor.
constexpr POINT kDelayKnob = {95, 112}, kWetMixKnob = {272, 112}, kPanSwitch = {182, 106};
constexpr int kListId = 99;

// What the plug-in told the host, in order.
struct HostEvent
{
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  float value;
};
std::vector<HostEvent> gEvents;

VstIntPtr VSTCALLBACK HostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt)
{
  switch (opcode)
  {
    case audioMasterVersion: return 2400;
    case audioMasterGetSampleRate: return static_cast<VstIntPtr>(kSampleRate);
    case audioMasterGetBlockSize: return kBlockFrames;
    case audioMasterAutomate:
    case audioMasterBeginEdit:
    case audioMasterEndEdit: gEvents.push_back({effect, opcode, index, opt}); return 1;
    default: return 0;
  }
}

struct Plugin
{
  AEffect* effect = nullptr;

  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr)
  {
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
  }
  float Param(int index) { return effect->getParameter(effect, index); }
};

Plugin MakePlugin(const hostkit::VstModule& module)
{
  Plugin plugin;
  std::string error;
  plugin.effect = module.MakeEffect(HostCallback, error);
  if (!plugin.effect) return Plugin();
  plugin.effect->dispatcher(plugin.effect, effSetSampleRate, 0, 0, nullptr, kSampleRate);
  plugin.Dispatch(effSetBlockSize, 0, kBlockFrames);
  plugin.Dispatch(effOpen);
  plugin.Dispatch(effMainsChanged, 0, 1);
  return plugin;
}

void Close(Plugin& plugin)
{
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Dispatch(effClose);
  plugin.effect = nullptr;
}

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

void Click(HWND editor, POINT p, bool right = false)
{
  PostMessageA(editor, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, At(p));
  PostMessageA(editor, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, At(p));
  Pump(120);
}

// The splash shows at the first openings and covers the controls until clicked; a click
// on the bare backdrop hides it, and does nothing once it is hidden.
void HideSplash(HWND editor)
{
  Pump(100);
  Click(editor, POINT{20, 190});
}

// Frames between an impulse on the left input and its copy on the right output, after
// the delay line was emptied; -1 when it never arrives.
int MeasureLag(Plugin& plugin)
{
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Dispatch(effMainsChanged, 0, 1);
  std::vector<float> left(kBlockFrames, 0.0f), right(kBlockFrames, 0.0f), outL(kBlockFrames), outR(kBlockFrames);
  left[0] = 1.0f;
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outL.data(), outR.data()};
  plugin.effect->processReplacing(plugin.effect, inputs, outputs, kBlockFrames);
  for (int i = 0; i < kBlockFrames; ++i)
    if (outR[i] != 0.0f) return i;
  return -1;
}

std::vector<HostEvent> EventsOf(AEffect* effect, VstInt32 opcode, VstInt32 index)
{
  std::vector<HostEvent> found;
  for (const HostEvent& e : gEvents)
    if (e.effect == effect && e.opcode == opcode && e.index == index) found.push_back(e);
  return found;
}

// A drag up the Delay knob: begin, automate…, end reach the host, and the delay line
// follows the new value (1 to 40 ms over the normalised range, truncated to frames).
void CheckDelayDrag(Plugin& plugin, HWND editor)
{
  gEvents.clear();
  const float before = plugin.Param(kDelay);
  PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(kDelayKnob));
  for (int dy = 4; dy <= 40; dy += 4)
    PostMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kDelayKnob.x, kDelayKnob.y - dy));
  PostMessageA(editor, WM_LBUTTONUP, 0, MAKELPARAM(kDelayKnob.x, kDelayKnob.y - 40));
  Pump(150);

  std::string order;
  for (const HostEvent& e : gEvents)
    if (e.index == kDelay) order += e.opcode == audioMasterBeginEdit ? "b" : e.opcode == audioMasterEndEdit ? "e" : "a";
  const bool shaped = order.size() >= 3 && order.front() == 'b' && order.back() == 'e' &&
                      order.find_first_not_of('a', 1) == order.size() - 1;
  Check(shaped, "Delay drag: the host receives begin, automate..., end for parameter 0 (got \"" + order + "\")");
  const float after = plugin.Param(kDelay);
  char text[160];
  std::snprintf(text, sizeof text, "Delay drag up 40 px raises the value by 40/312 (%.4f -> %.4f)", before, after);
  Check(std::fabs((after - before) - 40.0f / 312.0f) < 0.002f, text);

  const double ms = 1.0 + 39.0 * after;
  const int expected = int(kSampleRate / 1000.0 * ms), lag = MeasureLag(plugin);
  std::snprintf(text, sizeof text, "the audio's delay follows: %d frames (%.3f ms expects %d)", lag, ms, expected);
  Check(std::abs(lag - expected) <= 1 && lag > 882, text);
}

// A click on the Pan switch flips it; a right click opens the list of its display texts
// with the current one selected; choosing "Right" sets Pan on the next tick.
void CheckPanSwitchAndList(Plugin& plugin, HWND editor)
{
  Click(editor, kPanSwitch);
  Check(plugin.Param(kPan) == 1.0f, "a click on the Pan switch sets Right");
  Click(editor, kPanSwitch);
  Check(plugin.Param(kPan) == 0.0f, "a second click sets Left again");

  Click(editor, kPanSwitch, true);
  HWND list = GetDlgItem(editor, kListId);
  if (!Check(list != nullptr, "a right click on Pan opens the list (control id 99)")) return;
  char className[32] = {};
  GetClassNameA(list, className, sizeof className);
  Check(lstrcmpiA(className, "ComboBox") == 0, std::string("the list is a COMBOBOX (") + className + ")");
  char first[16] = {}, second[16] = {};
  const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
  if (count == 2)
  {
    SendMessageA(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    SendMessageA(list, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(second));
  }
  Check(count == 2 && !std::strcmp(first, "Left") && !std::strcmp(second, "Right"),
        "the list holds \"Left\" and \"Right\"");
  Check(SendMessageA(list, CB_GETCURSEL, 0, 0) == 0, "\"Left\" is selected");
  Check((SendMessageA(list, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS) != 0,
        "the list wants every key, so a dialog parent leaves it Return and the arrows");

  // The user picks the next entry: the list tells the editor (CBN_SELCHANGE).
  gEvents.clear();
  PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
  PumpUntil([&] { return GetDlgItem(editor, kListId) == nullptr; });
  Check(plugin.Param(kPan) == 1.0f, "choosing \"Right\" sets Pan on the next tick");
  Check(!EventsOf(plugin.effect, audioMasterAutomate, kPan).empty(), "the host hears of the chosen Pan");
  Check(GetDlgItem(editor, kListId) == nullptr, "the list is gone after the choice");
  Click(editor, kPanSwitch);  // back to Left
}

void CheckDelayRefusesInPlaceEditing(HWND editor)
{
  Click(editor, kDelayKnob, true);
  Pump(100);
  Check(GetDlgItem(editor, kListId) == nullptr, "a right click on Delay opens nothing");
}

// One notch (120) is one step of 0.01, -240 two steps down, and 60 still reaches the
// knob, with 0 steps: the host hears the unchanged value once more.
void CheckWheel(Plugin& plugin, HWND editor)
{
  POINT screen = kWetMixKnob;
  ClientToScreen(editor, &screen);
  struct Case
  {
    short delta;
    float change;
  } cases[] = {{120, 0.01f}, {-240, -0.02f}, {60, 0.0f}};
  for (const Case& c : cases)
  {
    gEvents.clear();
    const float before = plugin.Param(kWetMix);
    PostMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, c.delta), MAKELPARAM(screen.x, screen.y));
    Pump(80);
    const std::vector<HostEvent> automated = EventsOf(plugin.effect, audioMasterAutomate, kWetMix);
    const float after = plugin.Param(kWetMix);
    char text[160];
    std::snprintf(text, sizeof text, "wheel %d on Wet Mix: one call, %.4f -> %.4f", c.delta, before, after);
    Check(automated.size() == 1 && std::fabs((after - before) - c.change) < 1e-4f &&
              std::fabs(automated[0].value - after) < 1e-6f,
          text);
  }
}

// Outside the label rectangles the window shows exactly the Linux snapshot; inside each
// label there is text, drawn by GDI here and by FreeType there.
void CheckPixels(HWND editor, const char* referencePath, const char* capturePath)
{
  const std::vector<std::uint32_t> shown = ReadPixels(editor, kEditorWidth, kEditorHeight);
  if (capturePath) WriteBmp(capturePath, shown, kEditorWidth, kEditorHeight);
  std::vector<std::uint32_t> reference;
  if (!LoadReference(referencePath, kEditorWidth, kEditorHeight, reference))
  {
    Check(false, std::string("reference snapshot ") + referencePath + " read");
    return;
  }
  const PixelComparison result = CompareOutsideLabels(shown, reference, kEditorWidth, kEditorHeight);
  Check(!shown.empty() && result.differing == 0,
        "the window shows the Linux snapshot outside the label rectangles (" + std::to_string(result.differing) +
            " pixels differ" + result.firstDifference + ")");
  Check(result.labelsWithoutText.empty(), "every label rectangle holds text" + result.labelsWithoutText);
}

bool ClassRegistered(HMODULE module)
{
  WNDCLASSA wc;
  return GetClassInfoA(module, "IPlugWndClass", &wc) != 0;
}

// Two editors open at once share the class; it goes after the last one closes.
void CheckTwoEditors(const hostkit::VstModule& library, HMODULE module, Plugin& first)
{
  Plugin second = MakePlugin(library);
  if (!Check(second.effect != nullptr, "a second instance")) return;
  HWND frame = MakeParentWindow("second host frame", 480, 40);
  Check(second.Dispatch(effEditOpen, 0, 0, frame) == 1 && EditorChild(frame), "a second editor opens beside the first");
  Check(ClassRegistered(module), "the window class is registered while both are open");
  first.Dispatch(effEditClose);
  Check(ClassRegistered(module), "closing the first keeps the class for the second");
  second.Dispatch(effEditClose);
  Check(!ClassRegistered(module), "closing the last unregisters it");
  Close(second);
  DestroyWindow(frame);
}

// Re-opened into a new parent, an open editor keeps its size and its offset.
void CheckReopenInNewParent(Plugin& plugin, HWND firstFrame)
{
  plugin.Dispatch(effEditOpen, 0, 0, firstFrame);
  HWND editor = EditorChild(firstFrame);
  SetWindowPos(editor, nullptr, 10, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frameRect;
  GetWindowRect(firstFrame, &frameRect);
  HWND newFrame = MakeParentWindow("new host frame", frameRect.left, frameRect.top);
  Check(plugin.Dispatch(effEditOpen, 0, 0, newFrame) == 1, "re-opening into a new parent answers 1");
  HWND moved = EditorChild(newFrame);
  RECT r = {};
  if (moved)
  {
    GetWindowRect(moved, &r);
    MapWindowPoints(nullptr, newFrame, reinterpret_cast<POINT*>(&r), 2);
  }
  char text[160];
  std::snprintf(text, sizeof text, "it moved into the new parent at the same offset and size (%ld, %ld, %ld x %ld)",
                r.left, r.top, r.right - r.left, r.bottom - r.top);
  Check(moved && !EditorChild(firstFrame) && r.left == 10 && r.top == 7 && r.right - r.left == kEditorWidth &&
            r.bottom - r.top == kEditorHeight,
        text);
  plugin.Dispatch(effEditClose);
  DestroyWindow(newFrame);
}

// Hosts may destroy their frame before effEditClose: closing then touches no dead window
// and still gives the class back; a list left open is forgotten, so the next opening
// starts clean.
void CheckHostDestroysFrameFirst(Plugin& plugin, HMODULE module)
{
  HWND frame = MakeParentWindow("short-lived host frame", 40, 400);
  plugin.Dispatch(effEditOpen, 0, 0, frame);
  HWND editor = EditorChild(frame);
  HideSplash(editor);
  Click(editor, kPanSwitch, true);
  Check(GetDlgItem(editor, kListId) != nullptr, "a list is open when the host's frame goes");
  DestroyWindow(frame);
  Pump(50);
  plugin.Dispatch(effEditClose);
  Check(!ClassRegistered(module), "effEditClose after the frame is gone still unregisters the class");

  HWND again = MakeParentWindow("host frame again", 40, 400);
  Check(plugin.Dispatch(effEditOpen, 0, 0, again) == 1, "the editor opens again afterwards");
  HWND reopened = EditorChild(again);
  HideSplash(reopened);
  Click(reopened, kPanSwitch, true);
  Check(GetDlgItem(reopened, kListId) != nullptr, "and a right click opens a new list: no stale edit box");
  plugin.Dispatch(effEditClose);
  DestroyWindow(again);
}

}  // namespace

int main(int argc, char** argv)
{
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 3)
  {
    std::printf("usage: EditorWineCheck.exe Brindlow.dll reference.png [capture.bmp]\n");
    return 2;
  }
  hostkit::VstModule library;
  std::string error;
  const bool loaded = library.Load(argv[1], error) && library.NamedMain();
  Check(loaded, std::string("load ") + argv[1] + (loaded ? "" : ": " + error));
  const HMODULE module = static_cast<HMODULE>(library.Handle());
  Plugin plugin = loaded ? MakePlugin(library) : Plugin();
  if (Check(plugin.effect != nullptr, "VSTPluginMain returned an effect"))
  {
    HWND frame = MakeParentWindow("host frame", 40, 40);
    Check(plugin.Dispatch(effEditOpen, 0, 0, frame) == 1, "effEditOpen answers 1");
    HWND editor = EditorChild(frame);
    const SIZE size = ClientSize(editor);
    Check(editor && size.cx == kEditorWidth && size.cy == kEditorHeight,
          "a child window of class \"IPlugWndClass\" of 366 x 212 exists");
    Check(ClassRegistered(module), "the window class is registered while the editor is open");
    if (editor)
    {
      HideSplash(editor);
      Pump(50);
      CheckPixels(editor, argv[2], argc > 3 ? argv[3] : nullptr);
      CheckDelayDrag(plugin, editor);
      CheckPanSwitchAndList(plugin, editor);
      CheckDelayRefusesInPlaceEditing(editor);
      CheckWheel(plugin, editor);
      CheckTwoEditors(library, module, plugin);
      CheckReopenInNewParent(plugin, frame);
      CheckHostDestroysFrameFirst(plugin, module);
    }
    DestroyWindow(frame);
    Close(plugin);
  }
  RunToolkitEditorChecks();
  library.Unload();
  std::printf("%s: %d check(s) failed\n", Failures() ? "FAILED" : "PASSED", Failures());
  return Failures() ? 1 : 0;
}
