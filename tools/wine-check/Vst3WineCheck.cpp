// A minimal Windows VST 3 host that checks a built Brindlow.vst3 bundle the way a host
// first meets it, through the VST 3 host kit: load the module from the bundle, read the
// factory, make an instance, process an impulse, save, load and save its state again;
// then the editor, attached to a window of the host's ("HWND") and driven with mouse
// messages: a Delay drag must reach the host as beginEdit, rising performEdits, endEdit.
// Run under Wine, once per width the machine can run, by tools/test-windows.sh.
//
//   Vst3WineCheck.exe path\to\Brindlow.vst3 reference.png
//
// reference.png: the Linux headless snapshot of the editor at its defaults, splash
// hidden (brindlow-render --editor-snapshot). Exits 0 when every check passes.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "EditorChecks.h"
#include "Vst3HostKit.h"
#include "WineCheck.h"

using namespace winecheck;
using namespace vst3;

namespace
{
constexpr int kFrames = 2048;
constexpr int kDefaultDelayFrames = 882; // the default 20 ms at 44.1 kHz
constexpr int kEditorWidth = 366, kEditorHeight = 212;
constexpr POINT kDelayKnob = {95, 112};
constexpr int kDragPixels = 40;

LPARAM At(int x, int y)
{
  return MAKELPARAM(x, y);
}

void CheckFactory(vst3host::Module& module)
{
  PFactoryInfo info{};
  Check(module.Factory()->getFactoryInfo(&info) == kResultOk && !std::strcmp(info.vendor, "Ardelnu"),
        "factory vendor Ardelnu");
  PClassInfo2 cls{};
  Check(module.FirstAudioClass(&cls), "an audio effect class");
  Check(!std::strcmp(cls.name, "Brindlow-Mono/Stereo Delay"), "class name");
  Check(!std::strcmp(cls.version, "1.3.0") && !std::strcmp(cls.subCategories, "Fx|Delay|Spatial"),
        "class version 1.3.0, sub-categories Fx|Delay|Spatial");
  Check(vst3host::UidText(cls.cid) == "4B797642726E646C6F77565354330001",
        "the class id reads the same as on Linux (" + vst3host::UidText(cls.cid) + ")");
}

void CheckImpulseAndState(vst3host::Module& module)
{
  vst3host::Instance plugin(module);
  if (!Check(plugin.Ok(), "an instance" + (plugin.Ok() ? "" : ": " + plugin.Error()))) return;
  Check(plugin.Activate(44100.0, kFrames), "setupProcessing and setActive");
  std::vector<float> in0(kFrames), in1(kFrames), out0(kFrames, 9.0f), out1(kFrames, 9.0f);
  in0[0] = in1[0] = 1.0f;
  float* ins[2] = {in0.data(), in1.data()};
  float* outs[2] = {out0.data(), out1.data()};
  Check(plugin.Process32(ins, 2, outs, 2, kFrames) == kResultOk, "process");
  bool shape = out0[0] == 1.0f && out1[kDefaultDelayFrames] == 1.0f;
  for (int i = 1; i < kFrames; ++i) shape = shape && out0[i] == 0.0f;
  for (int i = 0; i < kFrames; ++i)
    if (i != kDefaultDelayFrames) shape = shape && out1[i] == 0.0f;
  Check(shape, "the impulse leads on the left and lags 882 frames on the right");
  plugin.Deactivate();
  const std::vector<uint8_t> first = plugin.SaveState(5);
  Check(!first.empty(), "state saved, five bytes per write");
  Check(plugin.LoadState(first, 3), "state loaded, three bytes per read");
  Check(plugin.SaveState() == first, "saved again: the same bytes");
}

void CheckEditor(vst3host::Module& module, const char* referencePng)
{
  vst3host::Instance plugin(module);
  if (!Check(plugin.Ok(), "an instance for the editor")) return;
  IPlugView* view = plugin.controller->createView(kEditorViewType);
  if (!Check(view != nullptr, "createView(\"editor\")")) return;
  vst3host::PlugFrame* frame = new vst3host::PlugFrame;
  Check(view->isPlatformTypeSupported(kPlatformTypeHWND) == kResultTrue, "HWND is supported");
  Check(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) == kResultFalse, "X11 is not, on Windows");
  ViewRect size{};
  Check(view->getSize(&size) == kResultTrue && size.right == kEditorWidth && size.bottom == kEditorHeight,
        "getSize is 366 x 212 before attached");
  Check(view->setFrame(frame) == kResultOk, "setFrame");
  HWND host = MakeParentWindow("VST 3 host frame", 40, 40);
  Check(view->attached(host, kPlatformTypeHWND) == kResultOk, "attached to the host's window");
  Pump(100);
  HWND editor = EditorChild(host);
  const SIZE shown = ClientSize(editor);
  if (Check(editor && IsWindowVisible(editor) && shown.cx == kEditorWidth && shown.cy == kEditorHeight,
            "a visible 366 x 212 child window in the host's window"))
  {
    // The splash covers the controls at the first openings; a click on the backdrop hides it.
    PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 190));
    PostMessageA(editor, WM_LBUTTONUP, 0, At(20, 190));
    Pump(150);
    const std::vector<std::uint32_t> pixels = ReadPixels(editor, kEditorWidth, kEditorHeight);
    std::vector<std::uint32_t> reference;
    if (Check(LoadReference(referencePng, kEditorWidth, kEditorHeight, reference), "reference snapshot read"))
    {
      const PixelComparison result = CompareOutsideLabels(pixels, reference, kEditorWidth, kEditorHeight);
      Check(!pixels.empty() && result.differing == 0,
            "the VST 3 editor shows the Linux snapshot outside the label rectangles (" +
              std::to_string(result.differing) + " pixels differ" + result.firstDifference + ")");
    }
    plugin.handler->calls.clear();
    PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, At(kDelayKnob.x, kDelayKnob.y));
    for (int dy = 4; dy <= kDragPixels; dy += 4)
      PostMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, At(kDelayKnob.x, kDelayKnob.y - dy));
    PostMessageA(editor, WM_LBUTTONUP, 0, At(kDelayKnob.x, kDelayKnob.y - kDragPixels));
    Pump(300);
    std::string order;
    bool rising = true;
    double last = 19.0 / 39.0;
    for (const vst3host::ComponentHandler::Call& call : plugin.handler->calls)
    {
      if (call.id != 0) order += '?';
      else if (call.kind == vst3host::ComponentHandler::kPerform)
      {
        order += 'v';
        rising = rising && call.value > last;
        last = call.value;
      }
      else
        order += call.kind == vst3host::ComponentHandler::kBegin ? 'b' : 'e';
    }
    Check(order.size() >= 3 && order.front() == 'b' && order.back() == 'e' &&
            order.find_first_not_of('v', 1) == order.size() - 1 && rising,
          "Delay drag: beginEdit, rising performEdits, endEdit for id 0 (got \"" + order + "\")");
  }
  Check(view->removed() == kResultOk, "removed");
  Pump(50);
  Check(!EditorChild(host), "removed takes the editor's window away");
  view->setFrame(nullptr);
  view->release();
  frame->release();
  DestroyWindow(host);
}
} // namespace

int main(int argc, char** argv)
{
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 3)
  {
    std::printf("usage: Vst3WineCheck.exe Brindlow.vst3 reference.png\n");
    return 2;
  }
  {
    vst3host::Module module(argv[1]);
    if (!Check(module.Loaded(), "the module loads from the bundle" + (module.Loaded() ? "" : ": " + module.Error()))) return 1;
    CheckFactory(module);
    CheckImpulseAndState(module);
    CheckEditor(module, argv[2]);
  }
  std::printf("%s: %d check(s) failed\n", Failures() ? "FAILED" : "PASSED", Failures());
  return Failures() ? 1 : 0;
}
