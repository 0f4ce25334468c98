// The editor through the gui extension: embedded only, fixed size, no scaling. On Linux
// the host gives the editor no event loop, so the window's connection is handed to the
// host's posix-fd-support and a timer-support timer ticks it; both call the editor's
// idle on the main thread. Without timer-support nothing would tick the editor, so
// create() refuses; without posix-fd-support the timer alone drains the events.
#include "IPlugCLAP.h"

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
bool CLAP_ABI GuiSetScale(const clap_plugin_t*, double) { return false; } // the panel has one size
bool CLAP_ABI GuiGetSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height)
{
  return width && height && Adapter(p)->GuiSize(width, height);
}
bool CLAP_ABI GuiCanResize(const clap_plugin_t*) { return false; }
bool CLAP_ABI GuiResizeHints(const clap_plugin_t*, clap_gui_resize_hints_t*) { return false; }
bool CLAP_ABI GuiAdjustSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height)
{
  return width && height && Adapter(p)->GuiSize(width, height); // the only usable size
}
bool CLAP_ABI GuiSetSize(const clap_plugin_t* p, uint32_t width, uint32_t height)
{
  uint32_t w = 0, h = 0;
  return Adapter(p)->GuiSize(&w, &h) && w == width && h == height;
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
