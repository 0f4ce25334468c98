// X11 input in the editor's terms: key symbols, event state, the double-click rule and
// the frame-rate limit of the idle-driven tick.
#include <gtest/gtest.h>

#include "X11Input.h"

namespace {

TEST(X11Input, KeySymbolsMapToTheKeyTableAndTheEditKeys)
{
  EXPECT_EQ(KeyPressForKeySymbol(0x20).code, kKeySpace);
  EXPECT_EQ(KeyPressForKeySymbol(0x20).character, ' ');
  EXPECT_EQ(KeyPressForKeySymbol(0xff52).code, kKeyUp);
  EXPECT_EQ(KeyPressForKeySymbol(0xff54).code, kKeyDown);
  EXPECT_EQ(KeyPressForKeySymbol(0xff51).code, kKeyLeft);
  EXPECT_EQ(KeyPressForKeySymbol(0xff53).code, kKeyRight);
  EXPECT_EQ(KeyPressForKeySymbol('0').code, 5);
  EXPECT_EQ(KeyPressForKeySymbol('9').code, 14);
  EXPECT_EQ(KeyPressForKeySymbol('a').code, 15);
  EXPECT_EQ(KeyPressForKeySymbol('Z').code, 40);
  EXPECT_EQ(KeyPressForKeySymbol('z').character, 'z');
  // The keypad types digits and the decimal point too.
  EXPECT_EQ(KeyPressForKeySymbol(0xffb7).code, kKeyDigit0 + 7);
  EXPECT_EQ(KeyPressForKeySymbol(0xffae).character, '.');
  EXPECT_FALSE(KeyPressForKeySymbol(0xffae).Dispatched());

  EXPECT_EQ(KeyPressForKeySymbol(0xff0d).code, kKeyReturn);
  EXPECT_EQ(KeyPressForKeySymbol(0xff8d).code, kKeyReturn);
  EXPECT_EQ(KeyPressForKeySymbol(0xff1b).code, kKeyEscape);
  EXPECT_EQ(KeyPressForKeySymbol(0xff08).code, kKeyBackspace);
  EXPECT_EQ(KeyPressForKeySymbol(0xffff).code, kKeyDelete);
  EXPECT_EQ(KeyPressForKeySymbol(0xff50).code, kKeyHome);
  EXPECT_EQ(KeyPressForKeySymbol(0xff57).code, kKeyEnd);
  EXPECT_FALSE(KeyPressForKeySymbol(0xff0d).Dispatched()) << "controls never see Return";

  EXPECT_EQ(KeyPressForKeySymbol('-').code, -1);
  EXPECT_EQ(KeyPressForKeySymbol('-').character, '-');
  const IKeyPress f1 = KeyPressForKeySymbol(0xffbe);
  EXPECT_EQ(f1.code, -1);
  EXPECT_EQ(f1.character, 0);
  EXPECT_EQ(KeyPressForKeySymbol(0).code, -1);
  EXPECT_EQ(KeyPressForKeySymbol(0xe9).character, 0) << "only ASCII is typed";
}

TEST(X11Input, StateBitsBecomeButtonsAndModifiers)
{
  const IMouseKeys none = MouseKeysForState(0);
  EXPECT_FALSE(none.left || none.right || none.shift || none.control || none.alt);
  const IMouseKeys all = MouseKeysForState(0x0100 | 0x0400 | 0x1 | 0x4 | 0x8);
  EXPECT_TRUE(all.left && all.right && all.shift && all.control && all.alt);
  const IMouseKeys middleAndLock = MouseKeysForState(0x0200 | 0x2 | 0x10);  // button 2, caps lock, num lock
  EXPECT_FALSE(middleAndLock.left || middleAndLock.right || middleAndLock.shift || middleAndLock.control ||
               middleAndLock.alt);
}

TEST(X11Input, DoubleClickNeedsTwoPressesWithin400MsAnd4Pixels)
{
  IDoubleClickRule rule;
  EXPECT_FALSE(rule.Press(100, 100, 1000));
  EXPECT_TRUE(rule.Press(104, 96, 1400)) << "at both limits";
  EXPECT_FALSE(rule.Press(104, 96, 1450)) << "a third press starts afresh";
  EXPECT_TRUE(rule.Press(104, 96, 1500));

  EXPECT_FALSE(rule.Press(10, 10, 5000));
  EXPECT_FALSE(rule.Press(10, 10, 5401)) << "too late";
  EXPECT_FALSE(rule.Press(15, 10, 5500)) << "too far";
  EXPECT_TRUE(rule.Press(15, 10, 5600));

  EXPECT_FALSE(rule.Press(0, 0, 0xFFFFFF00u));
  EXPECT_TRUE(rule.Press(0, 0, 0x00000010u)) << "across the wrap of the server's clock";

  EXPECT_FALSE(rule.Press(0, 0, 100));
  rule.Forget();
  EXPECT_FALSE(rule.Press(0, 0, 150)) << "a right press in between breaks the pair";
}

TEST(X11Input, TheTickKeepsToTheFrameRate)
{
  ITickLimiter ticks(33);
  EXPECT_TRUE(ticks.Due(1000)) << "the first idle ticks at once";
  EXPECT_FALSE(ticks.Due(1010));
  EXPECT_FALSE(ticks.Due(1032));
  EXPECT_TRUE(ticks.Due(1033));
  EXPECT_TRUE(ticks.Due(1070)) << "late idles do not shift the grid";
  EXPECT_FALSE(ticks.Due(1098));
  EXPECT_TRUE(ticks.Due(1099));
  EXPECT_TRUE(ticks.Due(5000)) << "after a long pause, at once";
  EXPECT_FALSE(ticks.Due(5032));
  int ticked = 0;
  for (int64_t t = 6000; t < 9300; t += 5) ticked += ticks.Due(t) ? 1 : 0;
  EXPECT_EQ(ticked, 100) << "idle every 5 ms: one tick each 33 ms";
}

}  // namespace
