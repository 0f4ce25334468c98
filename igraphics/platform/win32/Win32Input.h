#pragma once
// Windows input in the editor's portable terms. Plain functions, so they are tested on
// every platform.

#include <cstdint>

#include "IGraphicsTypes.h"

// The key press for a Windows virtual-key code (WM_KEYDOWN); code -1 for keys the editor
// does not use.
IKeyPress KeyPressForVirtualKey(int32_t virtualKey);
// The key code of the editor's key table for a virtual-key code, or -1 when the key is
// not dispatched to controls.
int32_t KeyCodeForVirtualKey(int32_t virtualKey);
// Whole wheel steps for a WM_MOUSEWHEEL delta (120 a notch), truncated toward zero.
int32_t WheelStepsForDelta(int32_t wheelDelta);
