#pragma once

#include <cstdint>
// What the editor window needs of a window system. IGraphicsWindow keeps every decision
// (when to paint, the edit-box states, geometry, text-to-value); a back-end only performs
// the window operations and reports the window's events through the owner's Handle*
// calls, as portable events (IKeyPress codes, whole wheel steps, IMouseKeys).
//
// Threads: every member runs on the host's GUI thread, the one that opened the window;
// the back-end calls the owner's Handle* operations on that thread only. Window handles
// are opaque pointers.
//
// A back-end plugs in through the factory below: the default factory makes the
// platform's back-end; tests and the snapshot tool install their own.

#include <string>
#include <vector>

#include "IGraphicsTypes.h"

class IGraphicsWindow;
class ITextRenderer;

class IWindowBackend
{
public:
  virtual ~IWindowBackend() = default;

  // --- the editor window ---
  // Creates the editor window inside |parent| at |rect| (relative to the parent), ticking
  // every |tickMs| milliseconds, maps it and has it painted. Null on failure.
  virtual void* CreateEditorWindow(IGraphicsWindow* owner, void* parent, const IBounds& rect, int tickMs) = 0;
  virtual void DestroyEditorWindow(void* window) = 0;
  // Any thread but the window's own: the editor goes away (the host closed the plug-in
  // from another thread) while its window is still open. Lets go of the window without
  // touching it from this thread; it must never reach the editor again.
  virtual void AbandonEditorWindow(void* window) { DestroyEditorWindow(window); }
  // Rectangle in screen coordinates of the area where a window places its children (its
  // client area; for a window without a frame, its outer rectangle). Re-opening in a new
  // parent keeps the editor's offset from its old parent's area corner.
  virtual bool ScreenRect(void* window, IBounds& rect) = 0;
  // Grows the window, and the host's frames around it, by (dW, dH).
  virtual void GrowWindow(void* window, int32_t dW, int32_t dH) = 0;
  // Sizes the window itself to width x height and leaves the host's frames alone: the host
  // asked for the size and sizes its own windows. By default through GrowWindow, for a
  // back-end whose GrowWindow touches only the editor's window.
  virtual void SetWindowSize(void* window, int32_t width, int32_t height)
  {
    IBounds rect;
    if (ScreenRect(window, rect)) GrowWindow(window, width - rect.Width(), height - rect.Height());
  }
  // Has |area| repainted at once through the owner's HandlePaint.
  virtual void RepaintNow(void* window, const IBounds& area) = 0;
  // Copies |area| of |surface| to the same place of the window.
  virtual bool CopyToScreen(void* window, LICE_IBitmap* surface, const IBounds& area) = 0;
  // The host's idle call: a back-end without a timer of its own pumps the window's events
  // here, without blocking, and runs the owner's tick when one is due.
  virtual void Idle(void* /*window*/) {}
  // Maps or unmaps the window; it keeps its contents and connection either way.
  virtual void ShowWindow(void* /*window*/, bool /*show*/) {}
  // The window system's own handle of window (an X11 window id), for hosts that embed
  // it themselves (an LV2 UI hands it over as its widget); 0 when there is none.
  virtual uintptr_t SystemWindow(void* /*window*/) const { return 0; }
  // The parent a top-level editor window is created in (the default screen's root window
  // on X11, as a parent for CreateEditorWindow); null where the window system has none
  // or cannot be reached.
  virtual void* TopLevelParent() { return nullptr; }
  // The scale the platform asks of an editor window inside |parent|: on X11 the server's
  // Xft.dpi resource / 96, on Windows the DPI of |parent| / 96 (1 for a host that is not
  // DPI-aware). 0 when unknown. A back-end that follows changes while the window is open
  // (a window moved to another monitor) reports them through the owner's
  // HandlePlatformScale.
  virtual double PlatformScale(void* /*parent*/) { return 0.0; }
  // The descriptor that turns readable when |window| has events waiting, or -1.
  virtual int EventFileDescriptor(void* /*window*/) const { return -1; }
  // Takes the keyboard focus while a drawn edit box is being typed into, and gives it back.
  virtual void SetKeyboardFocus(void* /*window*/, bool /*take*/) {}

  // --- text: the renderer that draws into the editor's bitmap (lives as long as the process) ---
  virtual ITextRenderer* TextRenderer() = 0;

  // --- native in-place boxes: a back-end without them gets boxes drawn by the toolkit ---
  virtual bool HasNativeEditBoxes() const { return false; }
  virtual void* CreateEditBox(void* /*window*/, const IBounds& /*rect*/, const char* /*text*/) { return nullptr; }
  virtual void* CreateListBox(void* /*window*/, const IBounds& /*rect*/, const std::vector<std::string>& /*items*/,
                              int32_t /*selected*/)
  {
    return nullptr;
  }
  virtual void SetBoxText(void* /*box*/, const char* /*text*/) {}
  // At most |maxChars| - 1 characters of the box's text.
  virtual std::string BoxText(void* /*box*/, int32_t /*maxChars*/) { return std::string(); }
  virtual void DestroyBox(void* /*box*/) {}
};

// Makes a window back-end; the caller owns it.
using WindowBackendFactory = IWindowBackend* (*)();

// The back-end for a new editor, made by the installed factory (the platform's by default).
IWindowBackend* CreateWindowBackend();
// Installs |factory| for editors made from now on; null restores the platform's own.
// Call it before editors are made (GUI or main thread).
void SetWindowBackendFactory(WindowBackendFactory factory);
// The platform's own back-end (defined in the platform's back-end files).
IWindowBackend* CreatePlatformWindowBackend();
