// A Windows VST host on a screen of another DPI than 96: the editor opens at the DPI's
// scale of its panel inside a DPI-aware host, and at the panel's own size inside a host
// that is not (Windows stretches such a host's windows itself); WM_DPICHANGED, as a move
// to another monitor sends it, resizes the open editor. The toolkit's window back-end
// is asked for the platform's scale directly too.
//
//   DpiWineCheck.exe Brindlow.dll DPI [--unaware]
//
// DPI: what the screen is set to (Wine's LogPixels). --unaware: the host's thread is not
// DPI-aware. Exits 0 when every check passes. Run under Wine by tools/test-windows.sh,
// at 96 dpi and at 192.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "IWindowBackend.h"
#include "VstHostKit.h"
#include "WineCheck.h"

using namespace winecheck;

namespace {

constexpr int kPanelWidth = 366, kPanelHeight = 212;

VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
  switch (opcode)
  {
    case audioMasterVersion: return 2400;
    case audioMasterGetSampleRate: return 44100;
    case audioMasterGetBlockSize: return 512;
    default: return 0;
  }
}

// Looked up at run time, as a host does: Windows 10's functions, where older systems have none.
template <class Proc>
Proc User32Proc(const char* name)
{
  FARPROC found = GetProcAddress(GetModuleHandleA("user32.dll"), name);
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(found));
}

// Per-monitor aware (version 2) where Windows knows it, else system-DPI aware.
bool DeclareDpiAware()
{
  using SetContextProc = BOOL(WINAPI*)(HANDLE);
  if (const auto setContext = User32Proc<SetContextProc>("SetProcessDpiAwarenessContext"))
    if (setContext(reinterpret_cast<HANDLE>(-4))) return true;  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  return SetProcessDPIAware() != FALSE;
}

// Windows runs a program without a DPI manifest unaware; Wine runs every program as
// aware, unless a thread says otherwise, as a host does for the plug-in windows it
// leaves to Windows to stretch.
bool DeclareThreadUnaware()
{
  using SetThreadContextProc = HANDLE(WINAPI*)(HANDLE);
  const auto setContext = User32Proc<SetThreadContextProc>("SetThreadDpiAwarenessContext");
  return setContext && setContext(reinterpret_cast<HANDLE>(-1)) != nullptr;  // DPI_AWARENESS_CONTEXT_UNAWARE
}

UINT DpiOf(HWND window)
{
  using GetDpiProc = UINT(WINAPI*)(HWND);
  const auto getDpi = User32Proc<GetDpiProc>("GetDpiForWindow");
  return getDpi ? getDpi(window) : 0;
}

std::string Size(long width, long height) { return std::to_string(width) + " x " + std::to_string(height); }

// The editor's window and the rectangle it tells the host are both width x height.
void CheckEditorSize(AEffect* effect, HWND editor, int width, int height, const std::string& when)
{
  const SIZE shown = ClientSize(editor);
  Check(shown.cx == width && shown.cy == height,
        when + ": the editor window measures " + Size(width, height) + " (got " + Size(shown.cx, shown.cy) + ")");
  ERect* rect = nullptr;
  effect->dispatcher(effect, effEditGetRect, 0, 0, &rect, 0.0f);
  const long w = rect ? rect->right - rect->left : 0, h = rect ? rect->bottom - rect->top : 0;
  Check(w == width && h == height, when + ": effEditGetRect answers " + Size(width, height) + " (got " + Size(w, h) + ")");
}

}  // namespace

int main(int argc, char** argv)
{
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const bool aware = !(argc > 3 && std::strcmp(argv[3], "--unaware") == 0);
  const int screenDpi = argc > 2 ? std::atoi(argv[2]) : 0;
  if (argc < 3 || screenDpi < 96)
  {
    std::printf("usage: DpiWineCheck.exe Brindlow.dll DPI [--unaware]\n");
    return 2;
  }
  if (aware)
    Check(DeclareDpiAware(), "the host declares itself DPI-aware");
  else
    Check(DeclareThreadUnaware(), "the host's thread declares itself not DPI-aware");

  hostkit::VstModule library;
  std::string error;
  const bool loaded = library.Load(argv[1], error) && library.NamedMain();
  Check(loaded, std::string("load ") + argv[1] + (loaded ? "" : ": " + error));
  AEffect* effect = loaded ? library.MakeEffect(HostCallback, error) : nullptr;
  if (Check(effect != nullptr, "VSTPluginMain returned an effect"))
  {
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    HWND frame = MakeParentWindow("host frame", 40, 40);
    // What the editor finds: a host that is not DPI-aware is told 96 whatever the screen.
    const UINT frameDpi = DpiOf(frame);
    const UINT expectedDpi = aware ? UINT(screenDpi) : 96;
    Check(frameDpi == expectedDpi, "the host's window has " + std::to_string(expectedDpi) + " dpi (got " +
                                     std::to_string(frameDpi) + ")");
    // The toolkit's back-end, as the editor asks it before opening its window.
    IWindowBackend* backend = CreatePlatformWindowBackend();
    const double platformScale = backend->PlatformScale(frame);
    delete backend;
    char text[120];
    std::snprintf(text, sizeof text, "the window back-end's platform scale is %.2f (got %.2f)", expectedDpi / 96.0,
                  platformScale);
    Check(platformScale == expectedDpi / 96.0, text);

    Check(effect->dispatcher(effect, effEditOpen, 0, 0, frame, 0.0f) == 1, "effEditOpen answers 1");
    HWND editor = EditorChild(frame);
    if (Check(editor != nullptr, "the editor window is a child of the host's"))
    {
      const double scale = expectedDpi / 96.0;
      CheckEditorSize(effect, editor, int(std::lround(kPanelWidth * scale)), int(std::lround(kPanelHeight * scale)),
                      "opened at " + std::to_string(expectedDpi) + " dpi");
      // The window is told of 144 dpi, as a move to another monitor tells it.
      SendMessageA(editor, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), 0);
      Pump(100);
      CheckEditorSize(effect, editor, int(std::lround(kPanelWidth * 1.5)), int(std::lround(kPanelHeight * 1.5)),
                      "told of 144 dpi");
    }
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    DestroyWindow(frame);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  }
  library.Unload();
  std::printf("%s: %d check(s) failed\n", Failures() ? "FAILED" : "PASSED", Failures());
  return Failures() ? 1 : 0;
}
