#include "GrowBuffer.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GrowBuffer, CapacityFollowsGranularityRule)
{
  GrowBuffer small(128);
  // Below a granularity of 4096: n + max(n / 2, granularity).
  EXPECT_EQ(small.CapacityFor(10), 10 + 128);
  EXPECT_EQ(small.CapacityFor(1000), 1000 + 500);

  GrowBuffer page(4096);
  // g = 4096 for small sizes: ((4096 + n + 96) rounded down to 4096) - 96.
  EXPECT_EQ(page.CapacityFor(8), 4096 - 96);
  EXPECT_EQ(page.CapacityFor(4001), 8192 - 96);
  // g = n / 2 rounded down to 4096: n = 100000 gives g = 49152.
  EXPECT_EQ(page.CapacityFor(100000), (49152 + 100000 + 96) / 4096 * 4096 - 96);
  // g is kept at most 4 MiB.
  EXPECT_EQ(page.CapacityFor(20000000), (4194304 + 20000000 + 96) / 4096 * 4096 - 96);

  GrowBuffer withMinimum(128, 5000);
  EXPECT_EQ(withMinimum.CapacityFor(10), 5000);
}

TEST(GrowBuffer, GrowsOnlyPastCapacityAndKeepsBytes)
{
  GrowBuffer buffer(4096);
  EXPECT_EQ(buffer.Get(), nullptr);
  ASSERT_TRUE(buffer.Resize(8));
  EXPECT_EQ(buffer.Capacity(), 4000);
  std::memcpy(buffer.Get(), "abcdefgh", 8);
  void* before = buffer.Get();

  ASSERT_TRUE(buffer.Resize(3999)); // within capacity: same block
  EXPECT_EQ(buffer.Get(), before);
  EXPECT_EQ(buffer.Capacity(), 4000);

  ASSERT_TRUE(buffer.Resize(5000));
  EXPECT_EQ(buffer.GetSize(), 5000);
  EXPECT_EQ(buffer.Capacity(), 8192 - 96);
  EXPECT_EQ(std::memcmp(buffer.Get(), "abcdefgh", 8), 0);
}

TEST(GrowBuffer, ShrinksOnlyWhenAllowedAndMuchTooLarge)
{
  GrowBuffer buffer(128);
  ASSERT_TRUE(buffer.Resize(10000));
  const int big = buffer.Capacity();
  EXPECT_EQ(big, 15000);

  ASSERT_TRUE(buffer.Resize(100, false));
  EXPECT_EQ(buffer.Capacity(), big) << "shrinking not allowed";

  ASSERT_TRUE(buffer.Resize(50, true));
  EXPECT_EQ(buffer.Capacity(), 50 + 128);

  ASSERT_TRUE(buffer.Resize(0));
  EXPECT_EQ(buffer.Get(), nullptr) << "data reads as null while empty";
}

TEST(GrowBuffer, RefusesNegativeAndOverlongSizes)
{
  GrowBuffer buffer(4096);
  ASSERT_TRUE(buffer.Resize(16));
  EXPECT_FALSE(buffer.Resize(-1));
  EXPECT_FALSE(buffer.Resize(2147483600)); // capacity would not fit an int
  EXPECT_EQ(buffer.GetSize(), 16);
  EXPECT_NE(buffer.Get(), nullptr);
}

TEST(PointerList, OutOfRangeReadsAsNullAndDeleteAllEmpties)
{
  static int alive = 0;
  struct Counted
  {
    Counted() { ++alive; }
    ~Counted() { --alive; }
  };
  PointerList<Counted> list;
  for (int i = 0; i < 1500; ++i) ASSERT_TRUE(list.Add(new Counted()));
  EXPECT_EQ(list.GetSize(), 1500);
  EXPECT_NE(list.Get(1499), nullptr);
  EXPECT_EQ(list.Get(1500), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  list.DeleteAll();
  EXPECT_EQ(alive, 0);
  EXPECT_EQ(list.GetSize(), 0);
}
