// The Windows editor window: a child of the host's window, of the class "IPlugWndClass"
// (registered with the first editor window of the process, unregistered after the last),
// ticking on timer 2, its messages turned into the owner's Handle* calls, and the native
// in-place boxes (an EDIT box, or a COMBOBOX list) subclassed so that Return and a choice
// commit on the next tick.
//
// Threads: everything here runs on the host's GUI thread, the one that opened the window
// (window procedures run on the thread that created the window). The window count is
// touched only there.
#include <windows.h>
#include <windowsx.h>

#include <string>
#include <vector>

#include "IGraphicsWindow.h"
#include "IWindowBackend.h"
#include "Win32Input.h"
#include "Win32TextRenderer.h"
#include "bitmap.h"

// DPI messages of Windows 8.1 and 10, for headers that predate them.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace {

constexpr char kClassName[] = "IPlugWndClass";
constexpr double kDefaultDpi = 96.0;
constexpr UINT_PTR kTickTimerId = 2;
constexpr int kBoxControlId = 99;
constexpr int kEditFontHeight = 14;

// Editor windows open in this process, and the module the class was registered with.
int gWindowCount = 0;
HINSTANCE gClassModule = nullptr;

LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

bool RegisterEditorClass(HINSTANCE module)
{
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = EditorWindowProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

// One window fewer; the class goes with the last one.
void ReleaseWindowCount()
{
  if (gWindowCount > 0 && --gWindowCount == 0)
  {
    UnregisterClassA(kClassName, gClassModule);
    gClassModule = nullptr;
  }
}

// The DPI functions of user32 (Windows 10 1607 and later), looked up at run time: a DLL
// that imported them would not load on older systems. Null where missing.
template <class Proc>
Proc User32Proc(const char* name)
{
  HMODULE user32 = GetModuleHandleA("user32.dll");
  FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(found));
}

// The scale of |window|'s DPI; 0 for no window. 1 where Windows cannot tell, and for a
// window that is not DPI-aware: Windows answers it 96 and stretches it itself.
double ScaleOfWindow(HWND window)
{
  using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
  static const auto getDpi = User32Proc<GetDpiForWindowProc>("GetDpiForWindow");
  if (!window) return 0.0;
  if (!getDpi) return 1.0;
  const UINT dpi = getDpi(window);
  return dpi ? dpi / kDefaultDpi : 0.0;
}

RECT ToRect(const IBounds& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

IMouseKeys KeysOf(WPARAM keyFlags)
{
  return IMouseKeys((keyFlags & MK_LBUTTON) != 0, (keyFlags & MK_RBUTTON) != 0, (keyFlags & MK_SHIFT) != 0,
                    (keyFlags & MK_CONTROL) != 0, (GetKeyState(VK_MENU) & 0x8000) != 0);
}

// Child windows that are not MDI children grow with the editor.
bool IsPlainChild(HWND window)
{
  return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) && !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void GrowBy(HWND window, const RECT& outer, int32_t dW, int32_t dH)
{
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + dW, outer.bottom - outer.top + dH,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

class Win32WindowBackend : public IWindowBackend
{
public:
  ~Win32WindowBackend() override
  {
    if (mEditFont) DeleteObject(mEditFont);
  }

  void* CreateEditorWindow(IGraphicsWindow* owner, void* parent, const IBounds& rect, int tickMs) override
  {
    HINSTANCE module = static_cast<HINSTANCE>(owner->ModuleInstance());
    mOwner = owner;
    mTickMs = tickMs > 0 ? tickMs : 1;
    if (gWindowCount++ == 0)
    {
      gClassModule = module;
      RegisterEditorClass(module);
    }
    HWND window = CreateWindowExA(0, kClassName, "IPlug", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                                  rect.Height(), static_cast<HWND>(parent), nullptr, module, this);
    if (!window)
    {
      ReleaseWindowCount();
      return nullptr;
    }
    mWindow = window;
    return window;
  }

  // The host may have destroyed its window, and the editor's with it, before closing the
  // editor: a window already gone is not touched again, but it still counts down.
  void DestroyEditorWindow(void* window) override
  {
    if (!window || window != mWindow) return;
    HWND alive = mWindowAlive ? mWindow : nullptr;
    mWindow = nullptr;
    if (alive) DestroyWindow(alive);
    mWindowAlive = false;
    ReleaseWindowCount();
  }

  // Another thread's window may not be destroyed from here: it forgets its editor, so
  // that its messages take the default handling, and closes itself on its own thread.
  void AbandonEditorWindow(void* window) override
  {
    if (!window || window != mWindow) return;
    HWND alive = mWindowAlive ? mWindow : nullptr;
    mWindow = nullptr;
    if (alive)
    {
      SetWindowLongPtrA(alive, GWLP_USERDATA, 0);
      PostMessageA(alive, WM_CLOSE, 0, 0);
    }
    mWindowAlive = false;
    ReleaseWindowCount();
  }

  void ShowWindow(void* window, bool show) override
  {
    if (IsLive(window)) ::ShowWindow(mWindow, show ? SW_SHOWNA : SW_HIDE);
  }

  // The client area in screen coordinates: where a parent places its children, so that
  // re-opening in a framed parent keeps the editor's offset.
  bool ScreenRect(void* window, IBounds& rect) override
  {
    HWND hwnd = static_cast<HWND>(window);
    RECT r;
    if (!hwnd || (hwnd == mWindow && !mWindowAlive) || !GetClientRect(hwnd, &r)) return false;
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    rect = IBounds(r.left, r.top, r.right, r.bottom);
    return true;
  }

  void GrowWindow(void* window, int32_t dW, int32_t dH) override
  {
    if (!IsLive(window)) return;
    HWND hwnd = mWindow, parent = nullptr, grandparent = nullptr;
    RECT own, parentRect, grandparentRect;
    GetWindowRect(hwnd, &own);
    if (IsPlainChild(hwnd) && (parent = GetParent(hwnd)) != nullptr)
    {
      GetWindowRect(parent, &parentRect);
      if (IsPlainChild(parent) && (grandparent = GetParent(parent)) != nullptr) GetWindowRect(grandparent, &grandparentRect);
    }
    GrowBy(hwnd, own, dW, dH);
    if (parent) GrowBy(parent, parentRect, dW, dH);
    if (grandparent) GrowBy(grandparent, grandparentRect, dW, dH);
  }

  void SetWindowSize(void* window, int32_t width, int32_t height) override
  {
    if (!IsLive(window)) return;
    SetWindowPos(mWindow, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }

  void RepaintNow(void* window, const IBounds& area) override
  {
    if (!IsLive(window)) return;
    const RECT r = ToRect(area);
    InvalidateRect(mWindow, &r, FALSE);
    UpdateWindow(mWindow);
  }

  // Called while painting (WM_PAINT): one BitBlt of the area from the draw bitmap's DC.
  bool CopyToScreen(void* window, LICE_IBitmap* surface, const IBounds& area) override
  {
    if (!IsLive(window)) return false;
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(mWindow, &ps);
    HDC source = surface ? static_cast<HDC>(surface->DeviceContext()) : nullptr;
    if (screen && source)
      BitBlt(screen, area.left, area.top, area.Width(), area.Height(), source, area.left, area.top, SRCCOPY);
    EndPaint(mWindow, &ps);
    return true;
  }

  double PlatformScale(void* parent) override { return ScaleOfWindow(static_cast<HWND>(parent)); }

  ITextRenderer* TextRenderer() override { return Win32TextRenderer(); }

  bool HasNativeEditBoxes() const override { return true; }

  void* CreateEditBox(void* window, const IBounds& rect, const char* text) override
  {
    return Subclass(MakeBox(window, "EDIT", text, WS_CHILD | WS_VISIBLE | ES_CENTER | ES_MULTILINE, rect));
  }

  void* CreateListBox(void* window, const IBounds& rect, const std::vector<std::string>& items,
                      int32_t selected) override
  {
    HWND box = MakeBox(window, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, rect);
    if (!box) return nullptr;
    for (const std::string& item : items) SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(box, CB_SETCURSEL, WPARAM(selected), 0);
    return Subclass(box);
  }

  // A list cannot take typed text: it selects the entry of that text instead.
  void SetBoxText(void* box, const char* text) override
  {
    if (box != mBox) return;
    if (mBoxIsList)
      SendMessageA(mBox, CB_SETCURSEL, WPARAM(SendMessageA(mBox, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text))), 0);
    else
      SendMessageA(mBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }

  std::string BoxText(void* box, int32_t maxChars) override
  {
    if (box != mBox || maxChars <= 0) return std::string();
    std::vector<char> text(size_t(maxChars), '\0');
    SendMessageA(mBox, WM_GETTEXT, WPARAM(maxChars), reinterpret_cast<LPARAM>(text.data()));
    text.back() = '\0';
    return std::string(text.data());
  }

  void DestroyBox(void* box) override
  {
    if (!box || box != mBox) return;
    HWND gone = mBox;
    Unsubclass();
    DestroyWindow(gone);
  }

  // --- from the window procedures ---
  IGraphicsWindow* ServedOwner(HWND hwnd) const
  {
    return hwnd == mWindow && mWindowAlive && mOwner && mOwner->NativeWindow() == hwnd ? mOwner : nullptr;
  }
  int TickMs() const { return mTickMs; }
  bool IsBox(HWND hwnd) const { return hwnd && hwnd == mBox; }
  void WindowCreated(HWND hwnd)
  {
    mWindow = hwnd;
    mWindowAlive = true;
  }
  void WindowGone(HWND hwnd)
  {
    if (hwnd == mWindow) mWindowAlive = false;
  }
  LRESULT BoxMessage(HWND box, UINT msg, WPARAM wParam, LPARAM lParam);

private:
  bool IsLive(void* window) const { return window && window == mWindow && mWindowAlive; }

  HWND MakeBox(void* window, const char* className, const char* text, DWORD style, const IBounds& rect)
  {
    if (!IsLive(window) || mBox) return nullptr;
    return CreateWindowExA(0, className, text, style, rect.left, rect.top, rect.Width(), rect.Height(), mWindow,
                           reinterpret_cast<HMENU>(INT_PTR(kBoxControlId)),
                           static_cast<HINSTANCE>(mOwner->ModuleInstance()), nullptr);
  }

  HWND Subclass(HWND box)
  {
    if (!box) return nullptr;
    mBox = box;
    char className[16] = {};
    GetClassNameA(box, className, sizeof className);
    mBoxIsList = lstrcmpiA(className, "COMBOBOX") == 0;
    SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    mSavedBoxProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProc)));
    if (!mEditFont)
      mEditFont = CreateFontA(kEditFontHeight, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(mEditFont), FALSE);
    return box;
  }

  void Unsubclass()
  {
    if (!mBox) return;
    SetWindowLongPtrA(mBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mSavedBoxProc));
    SetWindowLongPtrA(mBox, GWLP_USERDATA, 0);
    mBox = nullptr;
    mSavedBoxProc = nullptr;
  }

  IGraphicsWindow* mOwner = nullptr;
  HWND mWindow = nullptr;
  bool mWindowAlive = false;  // false once Windows destroyed it, whoever asked
  int mTickMs = 33;
  HWND mBox = nullptr;
  bool mBoxIsList = false;
  WNDPROC mSavedBoxProc = nullptr;
  HFONT mEditFont = nullptr;
};

Win32WindowBackend* BackendOf(HWND hwnd)
{
  return reinterpret_cast<Win32WindowBackend*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT HandleEditorMessage(IGraphicsWindow* g, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  // A choice in the list reaches its parent, this window, even while the list has the focus.
  if (msg == WM_COMMAND && LOWORD(wParam) == kBoxControlId && HIWORD(wParam) == CBN_SELCHANGE &&
      reinterpret_cast<void*>(lParam) == g->EditBox())
  {
    g->HandleListSelection();
    return 0;
  }
  // The window moved to a monitor of another DPI, or the user changed it: a top-level
  // window hears it with the new DPI, a child after its parent (per-monitor aware hosts).
  // Followed even while a box has the focus.
  if (msg == WM_DPICHANGED)
  {
    g->HandlePlatformScale(LOWORD(wParam) / kDefaultDpi);
    return 0;
  }
  if (msg == WM_DPICHANGED_AFTERPARENT)
  {
    g->HandlePlatformScale(ScaleOfWindow(hwnd));
    return 0;
  }
  // While the user types into the box the editor stands still; a right press cancels.
  if (g->EditHasFocus())
  {
    if (msg != WM_RBUTTONDOWN) return DefWindowProcA(hwnd, msg, wParam, lParam);
    g->HandleRightButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), KeysOf(wParam));
    return 0;
  }
  const int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  switch (msg)
  {
    case WM_PAINT:
    {
      RECT r;
      if (GetUpdateRect(hwnd, &r, FALSE)) g->HandlePaint(IBounds(r.left, r.top, r.right, r.bottom));
      // Whatever was not presented is validated here, or Windows would ask again at once.
      if (GetUpdateRect(hwnd, nullptr, FALSE)) return DefWindowProcA(hwnd, msg, wParam, lParam);
      return 0;
    }
    case WM_CLOSE: g->CloseEditorWindow(); return 0;
    case WM_KEYDOWN:
    {
      const IKeyPress key = KeyPressForVirtualKey(int32_t(wParam));
      if (key.Dispatched())
      {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd, &p);
        g->HandleKey(key, p.x, p.y);
      }
      return 0;
    }
    case WM_TIMER:
      if (wParam == kTickTimerId) g->HandleTick();
      return 0;
    case WM_MOUSEMOVE:
    {
      const bool wantsLeave = g->HandleMouseMove(x, y, KeysOf(wParam), GetCapture() == hwnd);
      if (wantsLeave && !(wParam & (MK_LBUTTON | MK_RBUTTON)))
      {
        TRACKMOUSEEVENT track = {sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, HOVER_DEFAULT};
        TrackMouseEvent(&track);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      g->HandleLeftButtonDown(x, y, KeysOf(wParam));
      return 0;
    case WM_RBUTTONDOWN:
      if (!g->EditBox()) SetCapture(hwnd);
      g->HandleRightButtonDown(x, y, KeysOf(wParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      ReleaseCapture();
      g->HandleButtonUp(x, y, KeysOf(wParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      if (g->HandleDoubleClick(x, y, KeysOf(wParam))) SetCapture(hwnd);
      return 0;
    case WM_MOUSEWHEEL:
    {
      // The position comes in screen coordinates.
      RECT r = {};
      GetWindowRect(hwnd, &r);
      g->HandleWheel(x - r.left, y - r.top, KeysOf(GET_KEYSTATE_WPARAM(wParam)),
                     WheelStepsForDelta(GET_WHEEL_DELTA_WPARAM(wParam)));
      return 0;
    }
    case WM_MOUSELEAVE: g->HandleMouseLeave(); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE)
  {
    auto* backend = static_cast<Win32WindowBackend*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(backend));
    backend->WindowCreated(hwnd);
    SetTimer(hwnd, kTickTimerId, UINT(backend->TickMs()), nullptr);
    return 0;
  }
  Win32WindowBackend* backend = BackendOf(hwnd);
  if (msg == WM_NCDESTROY)
  {
    if (backend) backend->WindowGone(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  // Messages before the owner knows its window (creation) go to the default handling.
  IGraphicsWindow* owner = backend ? backend->ServedOwner(hwnd) : nullptr;
  if (!owner) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return HandleEditorMessage(owner, hwnd, msg, wParam, lParam);
}

LRESULT Win32WindowBackend::BoxMessage(HWND box, UINT msg, WPARAM wParam, LPARAM lParam)
{
  const WNDPROC saved = mSavedBoxProc;
  switch (msg)
  {
    case WM_SETFOCUS: mOwner->HandleEditFocus(true); break;
    case WM_KILLFOCUS: mOwner->HandleEditFocus(false); break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN)
      {
        mOwner->HandleEditReturn();
        return 0;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == CBN_SELCHANGE)
      {
        mOwner->HandleListSelection();
        return 0;
      }
      break;
    // Hosts whose window is a dialog would take Return and the arrows for themselves.
    case WM_GETDLGCODE: return CallWindowProcA(saved, box, msg, wParam, lParam) | DLGC_WANTALLKEYS;
    // Gone with the editor window: forget it, so no later call touches it.
    case WM_NCDESTROY: Unsubclass(); break;
    default: break;
  }
  return CallWindowProcA(saved, box, msg, wParam, lParam);
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
  Win32WindowBackend* backend = BackendOf(hwnd);
  if (!backend || !backend->IsBox(hwnd)) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return backend->BoxMessage(hwnd, msg, wParam, lParam);
}

}  // namespace

IWindowBackend* CreatePlatformWindowBackend() { return new Win32WindowBackend(); }
