// Runs the window tests when an X server with XTEST answers at DISPLAY. Without one the
// run ends with exit code 77, which CTest reports as skipped: tools/test-x11.sh runs these
// tests under Xvfb.
#include <gtest/gtest.h>

#include <cstdio>

#include "TestDisplay.h"

int main(int argc, char** argv)
{
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display. The connection stays open for the whole run: an
  // X server that resets when its last client leaves refuses connections while it does.
  if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  TestDisplay display;
  if (!display.Connected())
  {
    std::printf("skipped: %s (tools/test-x11.sh runs these tests under Xvfb)\n", display.Problem().c_str());
    return 77;
  }
  return RUN_ALL_TESTS();
}
