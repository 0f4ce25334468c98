#include "X11Input.h"

namespace {
// Key symbols of the X protocol (keysymdef.h) that the editor uses.
enum : uint32_t
{
  kSymBackSpace = 0xff08,
  kSymReturn = 0xff0d,
  kSymEscape = 0xff1b,
  kSymHome = 0xff50,
  kSymLeft = 0xff51,
  kSymUp = 0xff52,
  kSymRight = 0xff53,
  kSymDown = 0xff54,
  kSymEnd = 0xff57,
  kSymKpEnter = 0xff8d,
  kSymKpHome = 0xff95,
  kSymKpLeft = 0xff96,
  kSymKpUp = 0xff97,
  kSymKpRight = 0xff98,
  kSymKpDown = 0xff99,
  kSymKpEnd = 0xff9c,
  kSymKpDelete = 0xff9f,
  kSymKpDecimal = 0xffae,
  kSymKp0 = 0xffb0,
  kSymKp9 = 0xffb9,
  kSymKpSubtract = 0xffad,
  kSymKpAdd = 0xffab,
  kSymDelete = 0xffff,
};

// X event state bits.
enum : uint16_t
{
  kShiftMask = 1 << 0,
  kControlMask = 1 << 2,
  kMod1Mask = 1 << 3,
  kButton1Mask = 1 << 8,
  kButton3Mask = 1 << 10,
};
}  // namespace

IKeyPress KeyPressForKeySymbol(uint32_t sym)
{
  switch (sym)
  {
    case kSymBackSpace: return IKeyPress(kKeyBackspace);
    case kSymReturn:
    case kSymKpEnter: return IKeyPress(kKeyReturn);
    case kSymEscape: return IKeyPress(kKeyEscape);
    case kSymHome:
    case kSymKpHome: return IKeyPress(kKeyHome);
    case kSymEnd:
    case kSymKpEnd: return IKeyPress(kKeyEnd);
    case kSymLeft:
    case kSymKpLeft: return IKeyPress(kKeyLeft);
    case kSymUp:
    case kSymKpUp: return IKeyPress(kKeyUp);
    case kSymRight:
    case kSymKpRight: return IKeyPress(kKeyRight);
    case kSymDown:
    case kSymKpDown: return IKeyPress(kKeyDown);
    case kSymDelete:
    case kSymKpDelete: return IKeyPress(kKeyDelete);
    case kSymKpDecimal: return IKeyPress(-1, '.');
    case kSymKpSubtract: return IKeyPress(-1, '-');
    case kSymKpAdd: return IKeyPress(-1, '+');
    default: break;
  }
  if (sym >= kSymKp0 && sym <= kSymKp9) sym = '0' + (sym - kSymKp0);
  if (sym == ' ') return IKeyPress(kKeySpace, ' ');
  if (sym >= '0' && sym <= '9') return IKeyPress(kKeyDigit0 + int32_t(sym - '0'), char(sym));
  if (sym >= 'A' && sym <= 'Z') return IKeyPress(kKeyLetterA + int32_t(sym - 'A'), char(sym));
  if (sym >= 'a' && sym <= 'z') return IKeyPress(kKeyLetterA + int32_t(sym - 'a'), char(sym));
  if (sym > ' ' && sym < 0x7f) return IKeyPress(-1, char(sym));
  return IKeyPress();
}

IMouseKeys MouseKeysForState(uint16_t state)
{
  return IMouseKeys((state & kButton1Mask) != 0, (state & kButton3Mask) != 0, (state & kShiftMask) != 0,
                    (state & kControlMask) != 0, (state & kMod1Mask) != 0);
}

bool IDoubleClickRule::Press(int32_t x, int32_t y, uint32_t timeMs)
{
  const int32_t dx = x > mX ? x - mX : mX - x;
  const int32_t dy = y > mY ? y - mY : mY - y;
  // Unsigned difference: correct across the wrap of the server's clock.
  const bool doubled = mArmed && uint32_t(timeMs - mTime) <= kIntervalMs && dx <= kDistance && dy <= kDistance;
  mArmed = !doubled;
  mX = x;
  mY = y;
  mTime = timeMs;
  return doubled;
}

bool ITickLimiter::Due(int64_t nowMs)
{
  if (mStarted && nowMs - mLast < mPeriodMs) return false;
  // Ticks keep to the frame grid, unless idle calls came so late that one was missed.
  mLast = (mStarted && nowMs - mLast < 2 * mPeriodMs) ? mLast + mPeriodMs : nowMs;
  mStarted = true;
  return true;
}
