// The editor through the gui extension: embedded only. The host's scale (set_scale) and
// its resizing (adjust_size, set_size, within the panel's aspect ratio) go to the editor;
// a size change of the editor's own (the user's choice) goes to the host as
// request_resize. On Linux
// the host gives the editor no event loop, so the window's connection is handed to the
// host's posix-fd-support and a timer-support timer ticks it; both call the editor's
// idle on the main thread. Without timer-support nothing would tick the editor, so
// create() refuses; without posix-fd-support the timer alone drains the events.
#include "IPlugCLAP.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "IGraphics.h"
#include "IPlugTrace.h"

namespace
{
#if defined(_WIN32)
const char* const kWindowApi = CLAP_WINDOW_API_WIN32;
#else
const char* const kWindowApi = CLAP_WINDOW_API_X11;
#endif

bool SupportedApi(const char* api, bool isFloating)
{
  return !isFloating && api && !std::strcmp(api, kWindowApi);
}

IPlugCLAP* Adapter(const clap_plugin_t* plugin)
{
  return IPlugCLAP::From(plugin);
}

bool CLAP_ABI GuiIsApiSupported(const clap_plugin_t*, const char* api, bool isFloating)
{
  return SupportedApi(api, isFloating);
}
bool CLAP_ABI GuiPreferredApi(const clap_plugin_t*, const char** api, bool* isFloating)
{
  if (!api || !isFloating) return false;
  *api = kWindowApi;
  *isFloating = false;
  return true;
}
bool CLAP_ABI GuiCreate(const clap_plugin_t* p, const char* api, bool isFloating)
{
  return Adapter(p)->GuiCreate(api, isFloating);
}
void CLAP_ABI GuiDestroy(const clap_plugin_t* p) { Adapter(p)->GuiDestroy(); }
bool CLAP_ABI GuiSetScale(const clap_plugin_t* p, double scale) { return Adapter(p)->GuiSetScale(scale); }
bool CLAP_ABI GuiGetSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height)
{
  return width && height && Adapter(p)->GuiSize(width, height);
}
bool CLAP_ABI GuiCanResize(const clap_plugin_t* p) { return Adapter(p)->GuiCanResize(); }
bool CLAP_ABI GuiResizeHints(const clap_plugin_t* p, clap_gui_resize_hints_t* hints)
{
  return hints && Adapter(p)->GuiResizeHints(hints);
}
bool CLAP_ABI GuiAdjustSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height)
{
  return width && height && Adapter(p)->GuiAdjustSize(width, height);
}
bool CLAP_ABI GuiSetSize(const clap_plugin_t* p, uint32_t width, uint32_t height)
{
  return Adapter(p)->GuiSetSize(width, height);
}
bool CLAP_ABI GuiSetParent(const clap_plugin_t* p, const clap_window_t* window)
{
  return Adapter(p)->GuiSetParent(window);
}
bool CLAP_ABI GuiSetTransient(const clap_plugin_t*, const clap_window_t*) { return false; }
void CLAP_ABI GuiSuggestTitle(const clap_plugin_t*, const char*) {}
bool CLAP_ABI GuiShow(const clap_plugin_t* p) { return Adapter(p)->GuiShow(true); }
bool CLAP_ABI GuiHide(const clap_plugin_t* p) { return Adapter(p)->GuiShow(false); }

void CLAP_ABI OnTimer(const clap_plugin_t* p, clap_id) { Adapter(p)->EditorEvents(); }
void CLAP_ABI OnFd(const clap_plugin_t* p, int, clap_posix_fd_flags_t) { Adapter(p)->EditorEvents(); }
} // namespace

extern const clap_plugin_gui_t kIPlugCLAPGui;
extern const clap_plugin_timer_support_t kIPlugCLAPTimer;
extern const clap_plugin_posix_fd_support_t kIPlugCLAPFd;

const clap_plugin_gui_t kIPlugCLAPGui = {
  GuiIsApiSupported, GuiPreferredApi, GuiCreate,    GuiDestroy,      GuiSetScale,
  GuiGetSize,        GuiCanResize,    GuiResizeHints, GuiAdjustSize, GuiSetSize,
  GuiSetParent,      GuiSetTransient, GuiSuggestTitle, GuiShow,      GuiHide,
};
const clap_plugin_timer_support_t kIPlugCLAPTimer = {OnTimer};
const clap_plugin_posix_fd_support_t kIPlugCLAPFd = {OnFd};

bool IPlugCLAP::GuiCreate(const char* api, bool isFloating)
{
  AssertMainThread();
  if (!HasEditor() || mGuiCreated || !SupportedApi(api, isFloating)) return false;
#if !defined(_WIN32)
  if (!mHostTimer || !mHostTimer->register_timer)
  {
    EmitTrace("IPlugCLAP::GuiCreate", __LINE__, "no editor: the host offers no timer to run it");
    return false;
  }
#endif
  mGuiCreated = true;
  return true;
}

void IPlugCLAP::GuiDestroy()
{
  AssertMainThread();
  CloseEditor();
  mGuiCreated = false;
}

bool IPlugCLAP::GuiSize(uint32_t* width, uint32_t* height) const
{
  const IGraphics* editor = mPlug->Editor();
  if (!mGuiCreated || !editor) return false;
  *width = static_cast<uint32_t>(editor->EditorWidth());
  *height = static_cast<uint32_t>(editor->EditorHeight());
  return true;
}

bool IPlugCLAP::GuiSetScale(double scale)
{
  AssertMainThread();
  IGraphics* editor = mPlug->Editor();
  return mGuiCreated && editor && editor->SetHostScale(scale);
}

bool IPlugCLAP::GuiCanResize() const
{
  const IGraphics* editor = mPlug->Editor();
  return mGuiCreated && editor && editor->CanResizeEditor();
}

bool IPlugCLAP::GuiResizeHints(clap_gui_resize_hints_t* hints) const
{
  if (!GuiCanResize()) return false;
  // The panel's own size in panel units: its pixels at scale s are round(units * s), so
  // dividing back and rounding recovers the units for every s from 1 to 3.
  const IGraphics* editor = mPlug->Editor();
  const double scale = editor->EditorScale() > 0.0 ? editor->EditorScale() : 1.0;
  hints->can_resize_horizontally = true;
  hints->can_resize_vertically = true;
  hints->preserve_aspect_ratio = true;
  hints->aspect_ratio_width = static_cast<uint32_t>(std::lround(editor->EditorWidth() / scale));
  hints->aspect_ratio_height = static_cast<uint32_t>(std::lround(editor->EditorHeight() / scale));
  return true;
}

bool IPlugCLAP::GuiAdjustSize(uint32_t* width, uint32_t* height) const
{
  const IGraphics* editor = mPlug->Editor();
  if (!mGuiCreated || !editor) return false;
  // Sizes beyond int are no size the panel takes; held so the editor snaps them to its largest.
  int w = static_cast<int>(std::min<uint32_t>(*width, INT_MAX));
  int h = static_cast<int>(std::min<uint32_t>(*height, INT_MAX));
  if (!editor->AdjustEditorSize(w, h)) return false;
  *width = static_cast<uint32_t>(w);
  *height = static_cast<uint32_t>(h);
  return true;
}

bool IPlugCLAP::GuiSetSize(uint32_t width, uint32_t height)
{
  AssertMainThread();
  IGraphics* editor = mPlug->Editor();
  if (!mGuiCreated || !editor) return false;
  if (static_cast<int>(width) == editor->EditorWidth() && static_cast<int>(height) == editor->EditorHeight())
    return true; // also what a host sends back while it answers request_resize
  if (width > INT_MAX || height > INT_MAX) return false;
  return editor->SetEditorSizeFromHost(static_cast<int>(width), static_cast<int>(height));
}

void IPlugCLAP::EditorResized(int width, int height)
{
  AssertMainThread();
  // Only an embedded editor the host has created is the host's to resize.
  if (!mGuiCreated || !mHostGui || !mHostGui->request_resize || width <= 0 || height <= 0) return;
  if (!mHostGui->request_resize(mHost, static_cast<uint32_t>(width), static_cast<uint32_t>(height)))
    EmitTrace("IPlugCLAP::EditorResized", __LINE__, "the host refused %dx%d", width, height);
}

bool IPlugCLAP::GuiSetParent(const clap_window_t* window)
{
  AssertMainThread();
  if (!mGuiCreated || !window || !window->api || std::strcmp(window->api, kWindowApi) != 0) return false;
#if defined(_WIN32)
  void* parent = window->win32;
#else
  void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window->x11));
#endif
  if (!parent) return false;
  CloseEditor(); // a second parent: the window moves there
  if (!mPlug->OpenEditorFromHost(parent)) return false;
  mEditorOpen = true;
  // The host's main loop serves the window from here on: a tick at the editor's frame
  // rate, and the connection's descriptor for the events in between.
  if (mHostTimer && mHostTimer->register_timer && !mHostTimer->register_timer(mHost, kEditorTimerMs, &mTimerId))
    mTimerId = CLAP_INVALID_ID;
  const int fd = mPlug->Editor()->EventFileDescriptor();
  if (fd >= 0 && mHostFd && mHostFd->register_fd && mHostFd->register_fd(mHost, fd, CLAP_POSIX_FD_READ))
    mRegisteredFd = fd;
  return true;
}

bool IPlugCLAP::GuiShow(bool show)
{
  AssertMainThread();
  if (!mEditorOpen) return false; // embedded: nothing to show before set_parent
  mPlug->ShowEditorFromHost(show);
  return true;
}

void IPlugCLAP::EditorEvents()
{
  AssertMainThread();
  if (mEditorOpen) mPlug->EditorIdleFromHost();
}

void IPlugCLAP::CloseEditor()
{
  if (!mEditorOpen) return;
  if (mRegisteredFd >= 0 && mHostFd && mHostFd->unregister_fd) mHostFd->unregister_fd(mHost, mRegisteredFd);
  mRegisteredFd = -1;
  if (mTimerId != CLAP_INVALID_ID && mHostTimer && mHostTimer->unregister_timer)
    mHostTimer->unregister_timer(mHost, mTimerId);
  mTimerId = CLAP_INVALID_ID;
  mPlug->CloseEditorFromHost();
  mEditorOpen = false;
}
