#include "X11WindowBackend.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "IGraphicsWindow.h"
#include "X11Input.h"
#include "XftDpi.h"
#include "bitmap.h"
#include "text_freetype_renderer.h"

namespace {
int64_t NowMs()
{
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

IBounds RectOf(int32_t x, int32_t y, int32_t w, int32_t h) { return IBounds(x, y, x + w, y + h); }

// Frees an XCB reply or event when it goes out of scope.
template <class T>
struct Freed
{
  T* p;
  explicit Freed(T* reply) : p(reply) {}
  ~Freed() { std::free(p); }
  Freed(const Freed&) = delete;
  Freed& operator=(const Freed&) = delete;
  T* operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

// Marks the window an XEmbed client (_XEMBED_INFO: protocol version 0, no flags). Hosts
// that embed through XEmbed (a GtkSocket in Ardour, the VST 3 editor host) look for it on
// the child as soon as it exists, and the VST 3 editor host refuses a child whose flags
// already say mapped: it maps the window itself, and a GtkSocket maps it on our request.
void MarkXEmbedClient(xcb_connection_t* connection, xcb_window_t window)
{
  const char name[] = "_XEMBED_INFO";
  Freed<xcb_intern_atom_reply_t> atom(
    xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof(name) - 1, name), nullptr));
  if (!atom) return;
  const uint32_t info[2] = {0, 0}; // version, flags (XEMBED_MAPPED is bit 0)
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom->atom, atom->atom, 32, 2, info);
}
}  // namespace

// One open editor window and its connection.
class X11Editor
{
public:
  X11Editor(IGraphicsWindow* owner, int tickMs) : mOwner(owner), mTicks(tickMs) {}
  ~X11Editor() { Close(); }
  // Another thread lets go: no request for the window, only the connection is closed,
  // and with it the server destroys the window and its shared memory attachment.
  void Abandon();

  bool Open(xcb_window_t parent, const IBounds& rect);
  void Close();
  void Idle();
  bool Present(LICE_IBitmap* surface, const IBounds& area);
  bool ScreenRect(xcb_window_t window, IBounds& rect);
  void Resize(int32_t dW, int32_t dH);
  void Focus(bool take);
  void Show(bool show);
  xcb_window_t Window() const { return mWindow; }
  int FileDescriptor() const { return Usable() ? xcb_get_file_descriptor(mConnection) : -1; }
  IGraphicsWindow* Owner() const { return mOwner; }

private:
  void Handle(xcb_generic_event_t* event);
  void HandleButton(const xcb_button_press_event_t* e, bool press);
  void FlushMotion();
  void NoteConfigure(const xcb_generic_event_t* event);
  void FlushResize();
  bool EnsureImageBuffer(int32_t width, int32_t height);
  void FreeImageBuffer();
  bool PutArea(LICE_IBitmap* surface, const IBounds& area);
  bool Usable() const { return mConnection && !mGone && !xcb_connection_has_error(mConnection); }

  IGraphicsWindow* mOwner;
  ITickLimiter mTicks;
  IDoubleClickRule mClicks;
  xcb_connection_t* mConnection = nullptr;
  xcb_window_t mWindow = 0;
  xcb_gcontext_t mGc = 0;
  uint8_t mDepth = 24;
  bool mSwapBytes = false;  // the server wants most significant byte first
  xcb_key_symbols_t* mKeySymbols = nullptr;
  bool mGone = false;       // destroyed by the server (the host's window went first)
  bool mInIdle = false;
  IBounds mToPresent;       // gathered during one idle, presented once at its end
  bool mButtonHeld = false; // the press started in this window: X grabs the pointer for us
  bool mMotionPending = false;
  xcb_motion_notify_event_t mMotion{};
  // Our latest request to size the window: a size the server reports before it is stale.
  uint32_t mOwnResizeSequence = 0;
  // The last size someone else gave the window during one idle, handled at its end.
  bool mResizePending = false;
  int32_t mResizedWidth = 0, mResizedHeight = 0;
  xcb_window_t mFocusBefore = 0;

  // MIT-SHM image shared with the server, or a buffer for PutImage.
  bool mShmOffered = false;
  xcb_shm_seg_t mSegment = 0;
  uint8_t* mShared = nullptr;
  std::vector<uint8_t> mRows;
  int32_t mImageWidth = 0, mImageHeight = 0;
};

bool X11Editor::Open(xcb_window_t parent, const IBounds& rect)
{
  if (!parent) return false;
  // The display named by DISPLAY; a missing or refusing server leaves an errored connection.
  int screenNumber = 0;
  mConnection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(mConnection)) return false;

  // The parent must be a window of this server; its depth is ours.
  xcb_generic_error_t* error = nullptr;
  Freed<xcb_get_geometry_reply_t> geometry(
    xcb_get_geometry_reply(mConnection, xcb_get_geometry(mConnection, parent), &error));
  std::free(error);
  if (!geometry || (geometry->depth != 24 && geometry->depth != 32)) return false;
  mDepth = geometry->depth;
  mSwapBytes = xcb_get_setup(mConnection)->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;

  mWindow = xcb_generate_id(mConnection);
  // No background pixmap: the server never clears the window before we paint it.
  const uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK;
  const uint32_t values[] = {XCB_BACK_PIXMAP_NONE,
                             XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                               XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_LEAVE_WINDOW |
                               XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                               XCB_EVENT_MASK_FOCUS_CHANGE};
  error = xcb_request_check(
    mConnection, xcb_create_window_checked(mConnection, XCB_COPY_FROM_PARENT, mWindow, parent, int16_t(rect.left),
                                           int16_t(rect.top), uint16_t(rect.Width()), uint16_t(rect.Height()), 0,
                                           XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, mask, values));
  if (error)
  {
    std::free(error);
    mWindow = 0;
    return false;
  }
  MarkXEmbedClient(mConnection, mWindow);
  mGc = xcb_generate_id(mConnection);
  const uint32_t gcValues[] = {0};
  xcb_create_gc(mConnection, mGc, mWindow, XCB_GC_GRAPHICS_EXPOSURES, gcValues);
  mKeySymbols = xcb_key_symbols_alloc(mConnection);
  const xcb_query_extension_reply_t* shm = xcb_get_extension_data(mConnection, &xcb_shm_id);
  mShmOffered = shm && shm->present;
  xcb_map_window(mConnection, mWindow);
  xcb_flush(mConnection);
  return true;
}

void X11Editor::Close()
{
  if (!mConnection) return;
  if (!xcb_connection_has_error(mConnection))
  {
    // After the host destroyed its window these requests fail; the errors are never read.
    if (mFocusBefore) Focus(false);
    if (mSegment) xcb_shm_detach(mConnection, mSegment);
    if (mGc) xcb_free_gc(mConnection, mGc);
    if (mWindow && !mGone) xcb_destroy_window(mConnection, mWindow);
    xcb_flush(mConnection);
  }
  Abandon();
}

void X11Editor::Abandon()
{
  if (!mConnection) return;
  if (mKeySymbols) xcb_key_symbols_free(mKeySymbols);
  mKeySymbols = nullptr;
  if (mShared) shmdt(mShared);
  mShared = nullptr;
  mSegment = 0;
  xcb_disconnect(mConnection);
  mConnection = nullptr;
  mWindow = 0;
}

void X11Editor::Idle()
{
  if (!Usable()) return;
  mInIdle = true;
  mToPresent = IBounds();
  IBounds exposed;
  // Everything queued, without waiting for more; exposures become one rectangle.
  while (xcb_generic_event_t* event = xcb_poll_for_event(mConnection))
  {
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_EXPOSE)
    {
      const auto* e = reinterpret_cast<xcb_expose_event_t*>(event);
      exposed = exposed.Union(RectOf(e->x, e->y, e->width, e->height));
    }
    else if (type == XCB_MOTION_NOTIFY)
    {
      // Only the last of a run of motions matters: drags measure from the last position.
      mMotion = *reinterpret_cast<xcb_motion_notify_event_t*>(event);
      mMotionPending = true;
    }
    else
    {
      FlushMotion();
      Handle(event);
    }
    std::free(event);
  }
  FlushMotion();
  FlushResize();
  if (Usable() && mTicks.Due(NowMs())) mOwner->HandleTick();
  mInIdle = false;
  // One present per idle: the tick's painting and the exposed parts of the off-screen bitmap.
  const IBounds area = mToPresent.Union(exposed);
  if (!area.IsEmpty() && Usable()) PutArea(mOwner->DrawBitmap(), area);
  if (mConnection) xcb_flush(mConnection);
}

void X11Editor::FlushMotion()
{
  if (!mMotionPending) return;
  mMotionPending = false;
  const xcb_motion_notify_event_t& e = mMotion;
  IMouseKeys keys = MouseKeysForState(e.state);
  mOwner->HandleMouseMove(e.event_x, e.event_y, keys, mButtonHeld);
}

void X11Editor::NoteConfigure(const xcb_generic_event_t* event)
{
  const auto* e = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
  if (e->window != mWindow) return;
  // Reported before our latest resize reached the server: that resize replaces it. (The
  // sequence is the last of our requests the server had handled when it sent the event.)
  if (int32_t(event->full_sequence - mOwnResizeSequence) < 0) return;
  mResizePending = true;
  mResizedWidth = e->width;
  mResizedHeight = e->height;
}

void X11Editor::FlushResize()
{
  if (!mResizePending) return;
  mResizePending = false;
  // Our own resize reports the editor's size and changes nothing; a host that sized the
  // window itself (suil does, for jalv) gets the panel at the scale its size implies.
  mOwner->HandleWindowResized(mResizedWidth, mResizedHeight);
}

void X11Editor::HandleButton(const xcb_button_press_event_t* e, bool press)
{
  IMouseKeys keys = MouseKeysForState(e->state);
  const int32_t x = e->event_x, y = e->event_y;
  switch (e->detail)
  {
    case 1:
      keys.left = press;
      if (press)
      {
        mButtonHeld = true;
        if (mClicks.Press(x, y, e->time))
          mOwner->HandleDoubleClick(x, y, keys);
        else
          mOwner->HandleLeftButtonDown(x, y, keys);
      }
      else
      {
        mButtonHeld = keys.right;
        mOwner->HandleButtonUp(x, y, keys);
      }
      break;
    case 3:
      keys.right = press;
      if (press)
      {
        mButtonHeld = true;
        mClicks.Forget();
        mOwner->HandleRightButtonDown(x, y, keys);
      }
      else
      {
        mButtonHeld = keys.left;
        mOwner->HandleButtonUp(x, y, keys);
      }
      break;
    case 4:
    case 5:
      // One wheel step per press; the releases that follow carry nothing.
      if (press) mOwner->HandleWheel(x, y, keys, e->detail == 4 ? 1 : -1);
      break;
    default: break;
  }
}

void X11Editor::Handle(xcb_generic_event_t* event)
{
  switch (event->response_type & 0x7f)
  {
    case 0:
    {
      // An error of an earlier request: the window it named may be gone.
      const auto* e = reinterpret_cast<xcb_generic_error_t*>(event);
      if (e->error_code == XCB_WINDOW && e->resource_id == mWindow) mGone = true;
      break;
    }
    case XCB_BUTTON_PRESS: HandleButton(reinterpret_cast<xcb_button_press_event_t*>(event), true); break;
    case XCB_BUTTON_RELEASE: HandleButton(reinterpret_cast<xcb_button_press_event_t*>(event), false); break;
    case XCB_LEAVE_NOTIFY:
    {
      const auto* e = reinterpret_cast<xcb_leave_notify_event_t*>(event);
      // Leaving during a drag is part of the drag (the implicit grab keeps sending motions).
      if (e->mode == XCB_NOTIFY_MODE_NORMAL && !mButtonHeld) mOwner->HandleMouseLeave();
      break;
    }
    case XCB_KEY_PRESS:
    {
      const auto* e = reinterpret_cast<xcb_key_press_event_t*>(event);
      const int column = (e->state & XCB_MOD_MASK_SHIFT) ? 1 : 0;
      xcb_keysym_t sym = xcb_key_symbols_get_keysym(mKeySymbols, e->detail, column);
      if (!sym && column) sym = xcb_key_symbols_get_keysym(mKeySymbols, e->detail, 0);
      // With Num Lock (Mod2) the keypad types its digits and point.
      if (e->state & XCB_MOD_MASK_2)
      {
        const xcb_keysym_t keypad = xcb_key_symbols_get_keysym(mKeySymbols, e->detail, 1);
        if (keypad >= 0xff80 && keypad <= 0xffbd) sym = keypad;
      }
      mOwner->HandleKey(KeyPressForKeySymbol(sym), e->event_x, e->event_y);
      break;
    }
    case XCB_FOCUS_OUT:
    {
      // The user typed elsewhere (the host took the focus): the box loses it, and closing
      // the box later must not take it back.
      const auto* e = reinterpret_cast<xcb_focus_out_event_t*>(event);
      // Only a move to another window counts: "pointer" details come from the focus leaving
      // the pointer-root state (as our own taking of the focus does with the pointer inside),
      // and "inferior" from a child of ours.
      const bool movedAway = e->detail == XCB_NOTIFY_DETAIL_ANCESTOR || e->detail == XCB_NOTIFY_DETAIL_VIRTUAL ||
                             e->detail == XCB_NOTIFY_DETAIL_NONLINEAR ||
                             e->detail == XCB_NOTIFY_DETAIL_NONLINEAR_VIRTUAL;
      if (e->mode == XCB_NOTIFY_MODE_NORMAL && movedAway && mFocusBefore)
      {
        mFocusBefore = 0;
        mOwner->HandleFocusLost();
      }
      break;
    }
    case XCB_CONFIGURE_NOTIFY: NoteConfigure(event); break;
    case XCB_DESTROY_NOTIFY:
      if (reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == mWindow) mGone = true;
      break;
    case XCB_MAPPING_NOTIFY:
      xcb_refresh_keyboard_mapping(mKeySymbols, reinterpret_cast<xcb_mapping_notify_event_t*>(event));
      break;
    default: break;
  }
}

bool X11Editor::Present(LICE_IBitmap* surface, const IBounds& area)
{
  if (mInIdle)
  {
    mToPresent = mToPresent.Union(area);
    return true;
  }
  if (!Usable()) return false;
  const bool ok = PutArea(surface, area);
  xcb_flush(mConnection);
  return ok;
}

bool X11Editor::EnsureImageBuffer(int32_t width, int32_t height)
{
  if (width == mImageWidth && height == mImageHeight && (mShared || !mRows.empty())) return true;
  FreeImageBuffer();
  mImageWidth = width;
  mImageHeight = height;
  const size_t bytes = size_t(width) * size_t(height) * 4;
  if (mShmOffered)
  {
    const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id >= 0)
    {
      void* address = shmat(id, nullptr, 0);
      if (address != reinterpret_cast<void*>(-1))
      {
        mSegment = xcb_generate_id(mConnection);
        xcb_generic_error_t* error =
          xcb_request_check(mConnection, xcb_shm_attach_checked(mConnection, mSegment, uint32_t(id), 0));
        if (!error)
          mShared = static_cast<uint8_t*>(address);
        else
          shmdt(address), mSegment = 0;
        std::free(error);
      }
      // Marked for removal at once: it goes when both sides have let go, even after a crash.
      shmctl(id, IPC_RMID, nullptr);
    }
    // A remote server cannot share memory with us: PutImage from now on.
    if (!mShared) mShmOffered = false;
  }
  if (!mShared) mRows.resize(bytes);
  return true;
}

void X11Editor::FreeImageBuffer()
{
  if (mSegment && Usable()) xcb_shm_detach(mConnection, mSegment);
  if (mShared) shmdt(mShared);
  mShared = nullptr;
  mSegment = 0;
  mRows.clear();
}

bool X11Editor::PutArea(LICE_IBitmap* surface, const IBounds& requested)
{
  if (!surface || !surface->PixelData()) return false;
  const int32_t width = surface->Width(), height = surface->Height();
  const IBounds area = requested.Intersection(IBounds(0, 0, width, height));
  if (area.IsEmpty() || area.Width() <= 0 || area.Height() <= 0) return true;
  if (!EnsureImageBuffer(width, height)) return false;

  // Copy the area's rows, in the layout the server reads (32 bits a pixel, X RGB).
  uint8_t* image = mShared ? mShared : mRows.data();
  const int32_t stride = surface->RowStride();
  for (int32_t y = area.top; y < area.bottom; ++y)
  {
    const int32_t row = surface->IsBottomUp() ? height - 1 - y : y;
    const uint32_t* from = surface->PixelData() + size_t(row) * size_t(stride) + area.left;
    uint8_t* to = image + (size_t(y) * size_t(width) + size_t(area.left)) * 4;
    if (!mSwapBytes)
    {
      std::memcpy(to, from, size_t(area.Width()) * 4);
      continue;
    }
    for (int32_t x = 0; x < area.Width(); ++x)
    {
      const uint32_t p = from[x];
      to[4 * x] = uint8_t(p >> 24), to[4 * x + 1] = uint8_t(p >> 16), to[4 * x + 2] = uint8_t(p >> 8);
      to[4 * x + 3] = uint8_t(p);
    }
  }

  if (mShared)
  {
    xcb_shm_put_image(mConnection, mWindow, mGc, uint16_t(width), uint16_t(height), uint16_t(area.left),
                      uint16_t(area.top), uint16_t(area.Width()), uint16_t(area.Height()), int16_t(area.left),
                      int16_t(area.top), mDepth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, mSegment, 0);
    // The server must have read the image before we write into it again.
    std::free(xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
    return true;
  }
  // PutImage in bands of rows that fit one request.
  const size_t maxBytes = size_t(xcb_get_maximum_request_length(mConnection)) * 4 - 64;
  const size_t rowBytes = size_t(area.Width()) * 4;
  const int32_t bandRows = int32_t(maxBytes / rowBytes) > 0 ? int32_t(maxBytes / rowBytes) : 1;
  std::vector<uint8_t> band;
  for (int32_t top = area.top; top < area.bottom; top += bandRows)
  {
    const int32_t rows = area.bottom - top < bandRows ? area.bottom - top : bandRows;
    band.resize(rowBytes * size_t(rows));
    for (int32_t r = 0; r < rows; ++r)
      std::memcpy(band.data() + size_t(r) * rowBytes, image + (size_t(top + r) * size_t(width) + size_t(area.left)) * 4,
                  rowBytes);
    xcb_put_image(mConnection, XCB_IMAGE_FORMAT_Z_PIXMAP, mWindow, mGc, uint16_t(area.Width()), uint16_t(rows),
                  int16_t(area.left), int16_t(top), 0, mDepth, uint32_t(band.size()), band.data());
  }
  return true;
}

bool X11Editor::ScreenRect(xcb_window_t window, IBounds& rect)
{
  if (!Usable() || !window) return false;
  Freed<xcb_get_geometry_reply_t> geometry(
    xcb_get_geometry_reply(mConnection, xcb_get_geometry(mConnection, window), nullptr));
  if (!geometry) return false;
  Freed<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
    mConnection, xcb_translate_coordinates(mConnection, window, geometry->root, 0, 0), nullptr));
  if (!at) return false;
  rect = RectOf(at->dst_x, at->dst_y, geometry->width, geometry->height);
  return true;
}

void X11Editor::Resize(int32_t dW, int32_t dH)
{
  IBounds rect;
  if (!ScreenRect(mWindow, rect)) return;
  const uint32_t size[] = {uint32_t(rect.Width() + dW > 1 ? rect.Width() + dW : 1),
                           uint32_t(rect.Height() + dH > 1 ? rect.Height() + dH : 1)};
  mOwnResizeSequence =
    xcb_configure_window(mConnection, mWindow, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size).sequence;
  xcb_flush(mConnection);
}

void X11Editor::Focus(bool take)
{
  if (!Usable()) return;
  if (take)
  {
    Freed<xcb_get_input_focus_reply_t> before(
      xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
    mFocusBefore = before && before->focus != mWindow ? before->focus : xcb_window_t(XCB_INPUT_FOCUS_POINTER_ROOT);
    xcb_set_input_focus(mConnection, XCB_INPUT_FOCUS_PARENT, mWindow, XCB_CURRENT_TIME);
  }
  else if (mFocusBefore)
  {
    // Back to where it was (the host's window), if that still exists; an error is dropped.
    xcb_set_input_focus(mConnection, XCB_INPUT_FOCUS_PARENT, mFocusBefore, XCB_CURRENT_TIME);
    mFocusBefore = 0;
  }
  xcb_flush(mConnection);
}

void X11Editor::Show(bool show)
{
  if (!Usable()) return;
  // Mapped again, the window is exposed and repaints what it shows.
  if (show)
    xcb_map_window(mConnection, mWindow);
  else
    xcb_unmap_window(mConnection, mWindow);
  xcb_flush(mConnection);
}

// ---------------------------------------------------------------------------

X11WindowBackend::X11WindowBackend() = default;
X11WindowBackend::~X11WindowBackend() = default;

void* X11WindowBackend::CreateEditorWindow(IGraphicsWindow* owner, void* parent, const IBounds& rect, int tickMs)
{
  mEditor.reset();
  std::unique_ptr<X11Editor> editor(new X11Editor(owner, tickMs));
  if (!editor->Open(xcb_window_t(reinterpret_cast<uintptr_t>(parent)), rect)) return nullptr;
  mEditor = std::move(editor);
  return mEditor.get();
}

uintptr_t X11WindowBackend::SystemWindow(void* window) const
{
  return window && window == mEditor.get() ? mEditor->Window() : 0;
}

void* X11WindowBackend::TopLevelParent()
{
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  uintptr_t root = 0;
  if (!xcb_connection_has_error(connection))
  {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem && i < screenNumber; ++i) xcb_screen_next(&it);
    if (it.rem) root = it.data->root;
  }
  xcb_disconnect(connection);
  return reinterpret_cast<void*>(root);
}

double X11WindowBackend::PlatformScale(void* /*parent*/)
{
  // The resource database lives on the first screen's root window, whatever the screen.
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  double scale = 0.0;
  const xcb_setup_t* setup = xcb_connection_has_error(connection) ? nullptr : xcb_get_setup(connection);
  const xcb_screen_iterator_t it = setup ? xcb_setup_roots_iterator(setup) : xcb_screen_iterator_t{};
  if (it.rem)
  {
    // At most 1 MiB of resources (in 4-byte units); a desktop's database is a few KiB.
    constexpr uint32_t kMaxUnits = 1u << 18;
    Freed<xcb_get_property_reply_t> property(xcb_get_property_reply(
      connection,
      xcb_get_property(connection, 0, it.data->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, kMaxUnits),
      nullptr));
    if (property && property->format == 8 && property->type == XCB_ATOM_STRING)
    {
      const char* text = static_cast<const char*>(xcb_get_property_value(property.p));
      size_t length = size_t(xcb_get_property_value_length(property.p));
      // Cut short: its last line may be a value's beginning only.
      if (property->bytes_after)
        while (length > 0 && text[length - 1] != '\n') --length;
      scale = ScaleForXResources(text, length);
    }
  }
  xcb_disconnect(connection);
  return scale;
}

void X11WindowBackend::DestroyEditorWindow(void* window)
{
  if (window && window == mEditor.get()) mEditor.reset();
}

void X11WindowBackend::AbandonEditorWindow(void* window)
{
  if (!window || window != mEditor.get()) return;
  mEditor->Abandon();
  mEditor.reset();
}

bool X11WindowBackend::ScreenRect(void* window, IBounds& rect)
{
  if (!mEditor || !window) return false;
  // Our own window, or another window of the server (the host's) by its id.
  const xcb_window_t id =
    window == mEditor.get() ? mEditor->Window() : xcb_window_t(reinterpret_cast<uintptr_t>(window));
  return mEditor->ScreenRect(id, rect);
}

void X11WindowBackend::GrowWindow(void* window, int32_t dW, int32_t dH)
{
  // The host's windows are the host's to size; only ours follows the editor.
  if (window && window == mEditor.get()) mEditor->Resize(dW, dH);
}

void X11WindowBackend::RepaintNow(void* window, const IBounds& area)
{
  // Painting is synchronous: the owner paints into its bitmap and presents it.
  if (window && window == mEditor.get()) mEditor->Owner()->HandlePaint(area);
}

bool X11WindowBackend::CopyToScreen(void* window, LICE_IBitmap* surface, const IBounds& area)
{
  return window && window == mEditor.get() && mEditor->Present(surface, area);
}

void X11WindowBackend::ShowWindow(void* window, bool show)
{
  if (window && window == mEditor.get()) mEditor->Show(show);
}

void X11WindowBackend::Idle(void* window)
{
  if (window && window == mEditor.get()) mEditor->Idle();
}

int X11WindowBackend::EventFileDescriptor(void* window) const
{
  return window && window == mEditor.get() ? mEditor->FileDescriptor() : -1;
}

void X11WindowBackend::SetKeyboardFocus(void* window, bool take)
{
  if (window && window == mEditor.get()) mEditor->Focus(take);
}

ITextRenderer* X11WindowBackend::TextRenderer() { return FreeTypeTextRenderer(); }

IWindowBackend* CreatePlatformWindowBackend() { return new X11WindowBackend(); }
