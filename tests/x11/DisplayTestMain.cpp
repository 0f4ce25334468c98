// Runs the window tests when an X server with XTEST answers at DISPLAY. Without one the
// run ends with exit code 77, which CTest reports as skipped: tools/test-x11.sh runs these
// tests under Xvfb.
#include <gtest/gtest.h>

#include <cstdio>

#include "TestDisplay.h"

int main(int argc, char** argv)
{
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (!testing::GTEST_FLAG(list_tests))
  {
    TestDisplay display;
    if (!display.Connected())
    {
      std::printf("skipped: %s (tools/test-x11.sh runs these tests under Xvfb)\n", display.Problem().c_str());
      return 77;
    }
  }
  return RUN_ALL_TESTS();
}
