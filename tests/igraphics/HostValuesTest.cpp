// Host values handed from any thread to the GUI thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "IHostValues.h"

namespace {

TEST(IHostValues, TheLatestValueOfEachSlotIsTakenOnce)
{
  IHostValues values;
  values.Reset(3);
  values.Post(0, 0.25);
  values.Post(0, 0.75);
  values.Post(2, 1.0);
  values.Post(3, 0.5);   // no such slot
  values.Post(-1, 0.5);
  std::vector<std::pair<int, double>> taken;
  values.Take([&](int i, double v) { taken.push_back({i, v}); });
  EXPECT_EQ(taken, (std::vector<std::pair<int, double>>{{0, 0.75}, {2, 1.0}}));
  taken.clear();
  values.Take([&](int i, double v) { taken.push_back({i, v}); });
  EXPECT_TRUE(taken.empty()) << "nothing pending any more";
}

TEST(IHostValues, AValuePostedWhileTheGuiTakesIsNeverLost)
{
  IHostValues values;
  values.Reset(2);
  constexpr int kPosts = 20000;
  std::atomic<bool> done{false};
  double last[2] = {-1.0, -1.0};
  std::thread host([&] {
    for (int n = 1; n <= kPosts; ++n) values.Post(n % 2, double(n));
    done.store(true);
  });
  while (!done.load())
    values.Take([&](int i, double v) { last[i] = v; });
  host.join();
  values.Take([&](int i, double v) { last[i] = v; });
  EXPECT_EQ(last[0], double(kPosts));
  EXPECT_EQ(last[1], double(kPosts - 1));
}

}  // namespace
