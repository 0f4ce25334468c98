#include "Win32Input.h"

int32_t KeyCodeForVirtualKey(int32_t vk)
{
  switch (vk)
  {
    case 0x20: return kKeySpace;
    case 0x26: return kKeyUp;
    case 0x28: return kKeyDown;
    case 0x25: return kKeyLeft;
    case 0x27: return kKeyRight;
    default: break;
  }
  if (vk >= 0x30 && vk <= 0x39) return vk - 43;
  if (vk >= 0x41 && vk <= 0x5A) return vk - 50;
  if (vk >= 0x61 && vk <= 0x7A) return vk - 82;
  return -1;
}

IKeyPress KeyPressForVirtualKey(int32_t vk)
{
  switch (vk)
  {
    case 0x0D: return IKeyPress(kKeyReturn);
    case 0x1B: return IKeyPress(kKeyEscape);
    case 0x08: return IKeyPress(kKeyBackspace);
    case 0x2E: return IKeyPress(kKeyDelete);
    case 0x24: return IKeyPress(kKeyHome);
    case 0x23: return IKeyPress(kKeyEnd);
    default: return IKeyPress(KeyCodeForVirtualKey(vk));
  }
}

int32_t WheelStepsForDelta(int32_t wheelDelta) { return wheelDelta / 120; }
