// Keys as the editor receives them, whichever window system or host delivered them.
#pragma once

#include <cstdint>

// Key numbers given to DispatchKey.
enum IKeyCode : int32_t
{
  kKeySpace = 0,
  kKeyUp = 1,
  kKeyDown = 2,
  kKeyLeft = 3,
  kKeyRight = 4,
  kKeyDigit0 = 5,   // ... kKeyDigit0 + 9
  kKeyLetterA = 15, // ... kKeyLetterA + 25
  kKeyLastDispatched = kKeyLetterA + 25,
  // Keys that only the in-place edit box uses; never given to a control.
  kKeyReturn = 100,
  kKeyEscape,
  kKeyBackspace,
  kKeyDelete,
  kKeyHome,
  kKeyEnd,
};

// One key press as every window back-end reports it: the key's code (an IKeyCode, or -1
// for a key that has none) and the printable character it types (0 for none).
struct IKeyPress
{
  int32_t code = -1;
  char character = 0;

  IKeyPress() = default;
  IKeyPress(int32_t c, char ch = 0) : code(c), character(ch) {}
  // Whether controls receive this key through DispatchKey.
  bool Dispatched() const { return code >= kKeySpace && code <= kKeyLastDispatched; }
};
