// The test host's own connection to the X server: top-level parent windows for the
// editor, the window tree and geometry as the server sees them, pixels read back from a
// window, and synthetic input through the XTEST extension. One thread uses it at a time.
#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Key symbols the tests type (the X protocol's values).
namespace TestKey
{
constexpr uint32_t kReturn = 0xff0d;
constexpr uint32_t kEscape = 0xff1b;
constexpr uint32_t kBackSpace = 0xff08;
constexpr uint32_t kEnd = 0xff57;
} // namespace TestKey

struct WindowGeometry
{
  int32_t x = 0, y = 0;         // relative to the parent
  int32_t width = 0, height = 0;
  xcb_window_t parent = XCB_NONE;
  bool viewable = false;
};

// Pixels of a window as 0xRRGGBB words, row after row.
struct WindowPixels
{
  int32_t width = 0, height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int32_t x, int32_t y) const { return rgb[size_t(y) * size_t(width) + size_t(x)]; }
};

class TestDisplay
{
public:
  // Connects to $DISPLAY. Check Connected() before use.
  TestDisplay();
  ~TestDisplay();
  TestDisplay(const TestDisplay&) = delete;
  TestDisplay& operator=(const TestDisplay&) = delete;

  bool Connected() const { return mConnection != nullptr; }
  // Why the connection or the XTEST extension is missing; empty when all is well.
  const std::string& Problem() const { return mProblem; }
  xcb_connection_t* Connection() const { return mConnection; }

  // A mapped top-level window at (x, y) of the screen, the host's frame for an editor.
  xcb_window_t CreateParent(int32_t x, int32_t y, int32_t width, int32_t height);
  void DestroyWindow(xcb_window_t window);

  // Direct children of a window, bottom to top; empty when the window is gone.
  std::vector<xcb_window_t> Children(xcb_window_t window);
  // False when the window does not exist (any more).
  bool Geometry(xcb_window_t window, WindowGeometry& out);
  // The window's pixels; false when it is gone or not viewable.
  bool ReadPixels(xcb_window_t window, WindowPixels& out);
  // The one child of window while it is viewable, else XCB_NONE: an embedded editor on screen.
  xcb_window_t ViewableOnlyChild(xcb_window_t window);

  // Synthetic input. Coordinates are relative to |window|; each call is flushed.
  void MovePointer(xcb_window_t window, int32_t x, int32_t y);
  void PressButton(uint8_t button);
  void ReleaseButton(uint8_t button);
  void Click(xcb_window_t window, int32_t x, int32_t y, uint8_t button);
  // Brindlow's backdrop menu: a right click at panel (20, 60) of |editor| drawn at |scale|,
  // then, once |letItOpen| has given the editor time to open it, a click in its entry
  // |index| (counted from 0; one row of 16 panel units each, under a 1-unit frame).
  void ChooseBackdropMenuEntry(xcb_window_t editor, int index, double scale, const std::function<void()>& letItOpen);
  // Presses and releases the key that produces |keysym| (no modifiers needed).
  bool TapKey(uint32_t keysym);
  // Taps the keys of plain ASCII text (digits, letters, '.', '-').
  bool TypeText(const char* text);

  // A round trip: every request sent before has been handled by the server.
  void Sync();

private:
  void FakeInput(uint8_t type, uint8_t detail, int16_t rootX = 0, int16_t rootY = 0);
  bool RootPosition(xcb_window_t window, int32_t x, int32_t y, int16_t& rootX, int16_t& rootY);

  xcb_connection_t* mConnection = nullptr;
  xcb_screen_t* mScreen = nullptr;
  xcb_key_symbols_t* mKeySymbols = nullptr;
  std::string mProblem;
};
