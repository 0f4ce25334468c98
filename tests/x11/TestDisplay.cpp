#include "TestDisplay.h"

#include <xcb/xtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <memory>

namespace
{
template <typename T> struct FreeReply
{
  void operator()(T* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply<T>>;

// Core event numbers that XTEST takes as its input types.
constexpr uint8_t kKeyPress = XCB_KEY_PRESS;
constexpr uint8_t kKeyRelease = XCB_KEY_RELEASE;
constexpr uint8_t kButtonPress = XCB_BUTTON_PRESS;
constexpr uint8_t kButtonRelease = XCB_BUTTON_RELEASE;
constexpr uint8_t kMotion = XCB_MOTION_NOTIFY;
} // namespace

TestDisplay::TestDisplay()
{
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  // A server that lost its last client resets and refuses connections for a moment.
  for (int attempt = 0; xcb_connection_has_error(connection) && attempt < 20 && std::getenv("DISPLAY"); ++attempt)
  {
    xcb_disconnect(connection);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    connection = xcb_connect(nullptr, &screenNumber);
  }
  if (xcb_connection_has_error(connection))
  {
    xcb_disconnect(connection);
    mProblem = "no X server at DISPLAY";
    return;
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
  Reply<xcb_test_get_version_reply_t> version(
    xcb_test_get_version_reply(connection, xcb_test_get_version(connection, 2, 2), nullptr));
  if (!it.rem || !version)
  {
    xcb_disconnect(connection);
    mProblem = "the X server has no XTEST extension";
    return;
  }
  mConnection = connection;
  mScreen = it.data;
  mKeySymbols = xcb_key_symbols_alloc(mConnection);
}

TestDisplay::~TestDisplay()
{
  if (mKeySymbols) xcb_key_symbols_free(mKeySymbols);
  if (mConnection) xcb_disconnect(mConnection);
}

xcb_window_t TestDisplay::CreateParent(int32_t x, int32_t y, int32_t width, int32_t height)
{
  const xcb_window_t window = xcb_generate_id(mConnection);
  const uint32_t values[] = {mScreen->black_pixel};
  xcb_create_window(mConnection, XCB_COPY_FROM_PARENT, window, mScreen->root, int16_t(x), int16_t(y),
                    uint16_t(width), uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, mScreen->root_visual,
                    XCB_CW_BACK_PIXEL, values);
  xcb_map_window(mConnection, window);
  Sync();
  return window;
}

void TestDisplay::DestroyWindow(xcb_window_t window)
{
  xcb_destroy_window(mConnection, window);
  Sync();
}

std::vector<xcb_window_t> TestDisplay::Children(xcb_window_t window)
{
  Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(mConnection, xcb_query_tree(mConnection, window), nullptr));
  if (!tree) return {};
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  return std::vector<xcb_window_t>(children, children + xcb_query_tree_children_length(tree.get()));
}

bool TestDisplay::Geometry(xcb_window_t window, WindowGeometry& out)
{
  const auto geometryCookie = xcb_get_geometry(mConnection, window);
  const auto attributesCookie = xcb_get_window_attributes(mConnection, window);
  const auto treeCookie = xcb_query_tree(mConnection, window);
  Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(mConnection, geometryCookie, nullptr));
  Reply<xcb_get_window_attributes_reply_t> attributes(
    xcb_get_window_attributes_reply(mConnection, attributesCookie, nullptr));
  Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(mConnection, treeCookie, nullptr));
  if (!geometry || !attributes || !tree) return false;
  out.x = geometry->x;
  out.y = geometry->y;
  out.width = geometry->width;
  out.height = geometry->height;
  out.parent = tree->parent;
  out.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
  return true;
}

xcb_window_t TestDisplay::ViewableOnlyChild(xcb_window_t window)
{
  const std::vector<xcb_window_t> children = Children(window);
  WindowGeometry geometry;
  return children.size() == 1 && Geometry(children[0], geometry) && geometry.viewable ? children[0] : XCB_NONE;
}

bool TestDisplay::ReadPixels(xcb_window_t window, WindowPixels& out)
{
  WindowGeometry geometry;
  if (!Geometry(window, geometry) || !geometry.viewable) return false;
  Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
    mConnection,
    xcb_get_image(mConnection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, uint16_t(geometry.width),
                  uint16_t(geometry.height), ~0u),
    nullptr));
  if (!image) return false;
  // 24-bit colour comes as one 32-bit little-endian word per pixel (B, G, R, pad).
  const size_t count = size_t(geometry.width) * size_t(geometry.height);
  if (image->depth < 24 || size_t(xcb_get_image_data_length(image.get())) != count * 4) return false;
  const uint8_t* bytes = xcb_get_image_data(image.get());
  out.width = geometry.width;
  out.height = geometry.height;
  out.rgb.resize(count);
  for (size_t i = 0; i < count; ++i)
    out.rgb[i] = uint32_t(bytes[4 * i]) | uint32_t(bytes[4 * i + 1]) << 8 | uint32_t(bytes[4 * i + 2]) << 16;
  return true;
}

bool TestDisplay::RootPosition(xcb_window_t window, int32_t x, int32_t y, int16_t& rootX, int16_t& rootY)
{
  Reply<xcb_translate_coordinates_reply_t> position(xcb_translate_coordinates_reply(
    mConnection, xcb_translate_coordinates(mConnection, window, mScreen->root, int16_t(x), int16_t(y)), nullptr));
  if (!position) return false;
  rootX = position->dst_x;
  rootY = position->dst_y;
  return true;
}

void TestDisplay::FakeInput(uint8_t type, uint8_t detail, int16_t rootX, int16_t rootY)
{
  xcb_test_fake_input(mConnection, type, detail, XCB_CURRENT_TIME, mScreen->root, rootX, rootY, XCB_NONE);
  Sync();
}

void TestDisplay::MovePointer(xcb_window_t window, int32_t x, int32_t y)
{
  int16_t rootX = 0, rootY = 0;
  if (RootPosition(window, x, y, rootX, rootY)) FakeInput(kMotion, 0, rootX, rootY);
}

void TestDisplay::PressButton(uint8_t button) { FakeInput(kButtonPress, button); }

void TestDisplay::ReleaseButton(uint8_t button) { FakeInput(kButtonRelease, button); }

void TestDisplay::Click(xcb_window_t window, int32_t x, int32_t y, uint8_t button)
{
  MovePointer(window, x, y);
  PressButton(button);
  ReleaseButton(button);
}

void TestDisplay::ChooseBackdropMenuEntry(xcb_window_t editor, int index, double scale,
                                          const std::function<void()>& letItOpen)
{
  const auto at = [scale](int32_t panel) { return int32_t(std::lround(panel * scale)); };
  Click(editor, at(20), at(60), 3);
  letItOpen();
  Click(editor, at(30), at(60 + 1 + index * 16 + 8), 1);
}

bool TestDisplay::TapKey(uint32_t keysym)
{
  xcb_keycode_t* codes = xcb_key_symbols_get_keycode(mKeySymbols, keysym);
  if (!codes) return false;
  const xcb_keycode_t code = codes[0];
  std::free(codes);
  if (code == XCB_NO_SYMBOL) return false;
  FakeInput(kKeyPress, code);
  FakeInput(kKeyRelease, code);
  return true;
}

bool TestDisplay::TypeText(const char* text)
{
  for (const char* c = text; *c; ++c)
  {
    // Latin-1 characters are their own key symbols; letters are typed as lower case.
    uint32_t keysym = uint8_t(*c);
    if (keysym >= 'A' && keysym <= 'Z') keysym += 'a' - 'A';
    if (!TapKey(keysym)) return false;
  }
  return true;
}

void TestDisplay::Sync()
{
  Reply<xcb_get_input_focus_reply_t> reply(
    xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
}
