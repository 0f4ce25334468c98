// Makes the engine's allocation fail by replacing the nothrow array new of this
// test program, and checks that the engine then runs without a buffer.
#include "HaasDelayLine.h"

#include <gtest/gtest.h>

#include <new>
#include <vector>

namespace
{
bool gFailAllocations = false;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
  if (gFailAllocations) return nullptr;
  try {
    return ::operator new[](size); // same family as the delete[] that frees it
  } catch (...) {
    return nullptr;
  }
}

TEST(HaasDelayLineAllocation, FailedAllocationLeavesNoBuffer)
{
  HaasDelayLine line;
  ASSERT_TRUE(line.Rebuild(44100.0, 20.0));

  gFailAllocations = true;
  const bool built = line.Rebuild(48000.0, 20.0);
  gFailAllocations = false;

  EXPECT_FALSE(built);
  EXPECT_FALSE(line.HasBuffer());
  EXPECT_EQ(line.Length(), 0);
  EXPECT_EQ(line.DelaySamples(), 0);
  std::vector<double> in = {0.25, -0.5, 0.75, 1.0}, lead(4), lag(4, 3.0);
  line.Process(in.data(), lead.data(), lag.data(), 4, 2.0);
  EXPECT_EQ(lead, in);
  EXPECT_EQ(lag, std::vector<double>(4, 0.0));

  // The next rebuild that can allocate brings the delay back.
  ASSERT_TRUE(line.Rebuild(48000.0, 20.0));
  EXPECT_EQ(line.Length(), 1922);
  EXPECT_EQ(line.DelaySamples(), 960);
}
