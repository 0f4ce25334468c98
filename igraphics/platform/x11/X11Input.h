#pragma once
// X11 input in the editor's portable terms, free of any X header so that it is tested
// without a server: key symbols to key presses, the event state to IMouseKeys, the
// double-click rule, and the frame-rate limit of the idle-driven tick.

#include <cstdint>

#include "IGraphicsTypes.h"

// The key press for an X key symbol (the symbol of the key's level under the current shift
// state). Digits, letters, space and the arrows carry the editor's key codes; Return, Enter,
// Escape, BackSpace, Delete, Home and End the edit box's; other printable ASCII symbols only
// their character.
IKeyPress KeyPressForKeySymbol(uint32_t keysym);

// The buttons and modifiers of an X event state word (Shift, Control, Mod1 as alt,
// Button1 as left, Button3 as right).
IMouseKeys MouseKeysForState(uint16_t state);

// Two presses of button 1 within kIntervalMs and kDistance pixels (in x and in y) make a
// double click; a third press starts counting afresh.
class IDoubleClickRule
{
public:
  static constexpr uint32_t kIntervalMs = 400;
  static constexpr int32_t kDistance = 4;

  // A press at (x, y) at |timeMs| (the server's millisecond clock, which wraps). Answers
  // whether it completes a double click.
  bool Press(int32_t x, int32_t y, uint32_t timeMs);
  void Forget() { mArmed = false; }

private:
  bool mArmed = false;
  int32_t mX = 0, mY = 0;
  uint32_t mTime = 0;
};

// Limits the tick to the editor's frame rate when it runs from the host's idle calls.
class ITickLimiter
{
public:
  explicit ITickLimiter(int32_t periodMs) : mPeriodMs(periodMs > 0 ? periodMs : 1) {}
  // Answers whether a tick is due at |nowMs| (a monotonic clock), and if so counts it.
  // The first call is always due.
  bool Due(int64_t nowMs);

private:
  int64_t mPeriodMs;
  int64_t mLast = 0;
  bool mStarted = false;
};
