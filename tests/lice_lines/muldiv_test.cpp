// The exact a × b ÷ c behind edge clipping, against the compiler's 128-bit arithmetic
// at the extremes of int coordinates and across every sign combination.
#include "muldiv.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace
{
std::int64_t Reference(std::int64_t a, std::int64_t b, std::int64_t c)
{
  return static_cast<std::int64_t>(static_cast<__int128>(a) * b / c);
}

TEST(MulDivTrunc, MatchesWideArithmeticAtIntExtremesAndEverySign)
{
  // Differences of two int coordinates reach ±(2^32 − 1); their products overflow 64 bits.
  const std::int64_t span = std::int64_t(INT_MAX) - INT_MIN;
  const std::vector<std::int64_t> magnitudes = {1, 2, 3, 7, 255, 65536, 4294967295LL, span - 1, span,
                                                 123456789LL, 2147483647LL, 3000000000LL};
  int compared = 0;
  for (std::int64_t a : magnitudes)
    for (std::int64_t b : magnitudes)
      for (std::int64_t c : magnitudes)
      {
        if (a > c && b > c) continue;  // the quotient must fit, as it does when clipping
        for (int signs = 0; signs < 8; ++signs)
        {
          const std::int64_t sa = signs & 1 ? -a : a, sb = signs & 2 ? -b : b, sc = signs & 4 ? -c : c;
          ASSERT_EQ(LICE::MulDivTrunc(sa, sb, sc), Reference(sa, sb, sc)) << sa << " * " << sb << " / " << sc;
          ++compared;
        }
      }
  EXPECT_GT(compared, 1000);
}

TEST(MulDivTrunc, TruncatesTowardZero)
{
  EXPECT_EQ(LICE::MulDivTrunc(7, 1, 2), 3);
  EXPECT_EQ(LICE::MulDivTrunc(-7, 1, 2), -3);
  EXPECT_EQ(LICE::MulDivTrunc(7, -1, 2), -3);
  EXPECT_EQ(LICE::MulDivTrunc(7, 1, -2), -3);
  EXPECT_EQ(LICE::MulDivTrunc(0, 5, -3), 0);
}
}  // namespace
