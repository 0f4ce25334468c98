// IGraphics: what the plug-in core and the format adapters need of an attached editor.
// The editor toolkit implements it; the core knows nothing else of the toolkit.
//
// Threads. The host calls the editor's calls (open, close, idle, keys) on its GUI thread;
// it may set parameters, programs and state from any thread, the audio thread included,
// while the editor paints on the GUI thread. So:
// - PushParameterToControls may run on any thread. It only leaves the value in a
//   per-parameter slot (an atomic value and a dirty bit); the GUI thread hands it to the
//   controls on its next idle or tick. Host threads never write what painting reads.
// - Everything else here runs on the GUI thread only, and gestures and automation from
//   the editor go to the host from there.
// - The plug-in's lock is not held while a window is created, destroyed or painted, so
//   the host's GUI and audio threads never wait on each other through it.
// - The editor object may be destroyed on any thread (a host closes the plug-in where it
//   likes). A window still open then is closed normally on the thread that opened it, and
//   otherwise let go of without touching it from the foreign thread.
#pragma once

#include <cstdint>

#include "IKeyPress.h"

class IGraphics
{
public:
  virtual ~IGraphics() {}

  // Any thread: moves the controls bound to a parameter to value (real, or normalised
  // 0 ... 1) on the GUI thread's next idle or tick. Allocates nothing, takes no lock.
  virtual void PushParameterToControls(int paramIdx, double value, bool isNormalized) = 0;
  // Creates the off-screen surface the editor paints into (when attached, before any window).
  virtual void CreateDrawSurface() = 0;
  // GUI thread: opens the editor as a child of the host's window; answers the editor's
  // window, or null.
  virtual void* OpenEditorWindow(void* parentWindow) = 0;
  // GUI thread: opens the editor as a top-level window of the window system (the screen's
  // root as its parent on X11), for hosts that show a plug-in's own window. False when
  // there is no window system to reach or no window could be made.
  virtual bool OpenTopLevelEditorWindow() { return false; }
  // GUI thread: whether a window is open, and its id in the window system (an X11 window
  // id, for hosts that embed it themselves), 0 when none is open or it has none.
  virtual bool EditorWindowOpen() { return false; }
  virtual uintptr_t EditorWindowId() { return 0; }
  // GUI thread.
  virtual void CloseEditorWindow() = 0;
  // GUI thread: hides the open window, keeping it and all it holds, or shows it again
  // (an opened window starts shown). Nothing without an open window.
  virtual void ShowEditorWindow(bool /*show*/) {}
  // GUI thread, from the host's idle call or timer: lets a back-end without its own timer
  // pump its window's events and run the tick. Does nothing when no window is open.
  virtual void Idle() {}
  // GUI thread: a file descriptor that becomes readable when the open window has events
  // waiting (its window-system connection), for hosts that watch descriptors and call
  // Idle when one fires; -1 when no window is open or the back-end has none.
  virtual int EventFileDescriptor() const { return -1; }
  // GUI thread: a key the host forwards to the editor. Answers whether it was used.
  virtual bool HostKeyDown(const IKeyPress&) { return false; }
  virtual bool HostKeyUp(const IKeyPress&) { return false; }

  // --- size and scale: GUI thread ---
  // The editor is a panel of fixed proportions drawn at a scale factor s from 1 to 3; its
  // size in pixels is round(panel width * s) x round(panel height * s). s comes, in this
  // order, from the user's choice in the editor, the host (SetHostScale), the platform
  // (the DPI of the window the editor is a child of), else 1.
  // When s changes for a reason of the editor's own (the user's choice, the platform's
  // DPI), the editor resizes its window and tells the plug-in through
  // IEditorDelegate::ResizeEditorRect. When the host asked for the change (SetHostScale,
  // SetEditorSizeFromHost), the editor resizes its window but calls nothing back: the
  // adapter tells its host in the format's own way, where the format wants it.

  // The editor's size in pixels at its current scale.
  virtual int EditorWidth() const = 0;
  virtual int EditorHeight() const = 0;
  // The scale factor the editor is drawn at.
  virtual double EditorScale() const { return 1.0; }
  // The host's scale factor (CLAP set_scale, LV2 ui:scaleFactor, VST 3
  // setContentScaleFactor). Values outside 1 ... 3 are held to the range; NaN, zero and
  // negative values are ignored and answer false.
  virtual bool SetHostScale(double /*scale*/) { return false; }
  // Whether the host may resize the editor (keeping the panel's aspect ratio).
  virtual bool CanResizeEditor() const { return false; }
  // Moves width x height to the nearest size the editor can take: the panel's aspect
  // ratio, a scale from 1 to 3, whole pixels. False, with the sizes unchanged, when the
  // editor cannot be resized or a size is not positive.
  virtual bool AdjustEditorSize(int& /*width*/, int& /*height*/) const { return false; }
  // The host resized the editor to width x height: the editor takes the scale the
  // adjusted size implies as the user's size for this instance (a size equal to the
  // current one changes nothing). Answers whether the size was taken exactly as given.
  virtual bool SetEditorSizeFromHost(int /*width*/, int /*height*/) { return false; }
};
