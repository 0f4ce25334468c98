#pragma once
// The Linux editor window on X11, written on XCB: a child window inside the host's window,
// its own connection to the X server for as long as it is open, events pumped from the
// host's idle calls, and the off-screen bitmap presented through MIT-SHM when the server
// offers it, else with plain PutImage. A host that sizes the window itself, without the
// format's resize call, has the editor follow (IGraphicsWindow::HandleWindowResized).
// X errors arrive as events and are dropped: they never end the host's process. GUI
// thread only.

#include <memory>

#include "IWindowBackend.h"

class X11Editor;

class X11WindowBackend : public IWindowBackend
{
public:
  X11WindowBackend();
  ~X11WindowBackend() override;

  // |parent| is the host's X11 Window id. Null when there is no display, the server refuses
  // the connection, or the parent is no window.
  void* CreateEditorWindow(IGraphicsWindow* owner, void* parent, const IBounds& rect, int tickMs) override;
  void DestroyEditorWindow(void* window) override;
  void AbandonEditorWindow(void* window) override;
  bool ScreenRect(void* window, IBounds& rect) override;
  void GrowWindow(void* window, int32_t dW, int32_t dH) override;
  void RepaintNow(void* window, const IBounds& area) override;
  bool CopyToScreen(void* window, LICE_IBitmap* surface, const IBounds& area) override;
  void Idle(void* window) override;
  void ShowWindow(void* window, bool show) override;
  int EventFileDescriptor(void* window) const override;
  void SetKeyboardFocus(void* window, bool take) override;
  uintptr_t SystemWindow(void* window) const override;
  // The root window of the default screen on the display DISPLAY names.
  void* TopLevelParent() override;
  // The server's Xft.dpi resource / 96, read anew at each call (a change while a window
  // is open is not followed); 0 without a display or a sane value.
  double PlatformScale(void* parent) override;
  ITextRenderer* TextRenderer() override;

private:
  std::unique_ptr<X11Editor> mEditor;  // the open window, one per editor
};
