// Pixel-exact results of every combiner. Expected values were worked out by hand from the
// blend rules (integer division truncating toward zero, low 8 bits kept where unclamped).
#include "combiners.h"

#include <gtest/gtest.h>

namespace
{
using namespace LICE;

template <class C>
PixelWord Apply(PixelWord dest, PixelWord src, int w)
{
  BlendWord<C>(dest, src, w);
  return dest;
}

// Colours written R, G, B, A for readability.
PixelWord C4(int r, int g, int b, int a) { return Rgba(r, g, b, a); }

TEST(Combiners, CopyTruncatesTowardZero)
{
  // Blue: (0 - 250) * 192 / 256 = -187.5 -> -187, + 250 = 63 (flooring would give 62).
  EXPECT_EQ(Apply<CopyCombiner>(C4(100, 50, 0, 255), C4(200, 150, 250, 55), 64), C4(125, 75, 63, 205));
  EXPECT_EQ(Apply<CopyCombiner>(C4(1, 2, 3, 4), C4(9, 8, 7, 6), 256), C4(9, 8, 7, 6));
  EXPECT_EQ(Apply<CopyCombiner>(C4(1, 2, 3, 4), C4(9, 8, 7, 6), 0), C4(1, 2, 3, 4));
  // Overdriven weights are not clamped: 0 - 100 * 256 / 256 + 100... low 8 bits survive.
  EXPECT_EQ(Apply<CopyCombiner>(C4(0, 0, 0, 0), C4(100, 0, 0, 0), 512), C4(200, 0, 0, 0));
}

TEST(Combiners, CopyThroughSourceAlpha)
{
  using SA = SourceAlphaCombiner<CopyCombiner, true>;
  // w' = 128 * 56 / 256 = 28.
  EXPECT_EQ(Apply<SA>(C4(100, 50, 0, 255), C4(200, 150, 250, 55), 128), C4(111, 61, 28, 233));
  EXPECT_EQ(Apply<SA>(C4(100, 50, 0, 255), C4(200, 150, 250, 0), 128), C4(100, 50, 0, 255));
}

TEST(Combiners, CopyThroughSourceAlphaAtFullWeight)
{
  using F = CopySourceAlphaFullCombiner;
  EXPECT_EQ(Apply<F>(C4(100, 50, 0, 255), C4(200, 150, 250, 55), 256), C4(122, 72, 55, 211));
  EXPECT_EQ(Apply<F>(C4(10, 20, 30, 40), C4(200, 100, 50, 200), 256), C4(160, 83, 46, 167));
  EXPECT_EQ(Apply<F>(C4(10, 20, 30, 40), C4(200, 100, 50, 0), 256), C4(10, 20, 30, 40));
  EXPECT_EQ(Apply<F>(C4(10, 20, 30, 40), C4(200, 100, 50, 255), 256), C4(200, 100, 50, 255));
  // Alpha 254 mixes towards 255, not 254: (A + 1) + (dA - (A + 1)) * 1 / 256.
  EXPECT_EQ(Alpha(Apply<F>(C4(0, 0, 0, 0), C4(0, 0, 0, 254), 256)), 255);
}

TEST(Combiners, AddClampsEveryChannel)
{
  EXPECT_EQ(Apply<AddCombiner>(C4(100, 100, 100, 100), C4(200, 200, 200, 200), 256), C4(255, 255, 255, 255));
  EXPECT_EQ(Apply<AddCombiner>(C4(100, 50, 0, 255), C4(200, 150, 250, 55), 100), C4(178, 108, 97, 255));
  EXPECT_EQ(Apply<AddCombiner>(C4(100, 50, 0, 255), C4(200, 150, 250, 55), -256), C4(0, 0, 0, 200));
  using SA = SourceAlphaCombiner<AddCombiner, true>;
  EXPECT_EQ(Apply<SA>(C4(100, 50, 0, 255), C4(200, 150, 250, 55), 256), C4(143, 82, 54, 255));
  EXPECT_EQ(Apply<SA>(C4(100, 50, 0, 200), C4(200, 150, 250, 0), 256), C4(100, 50, 0, 200));
}

TEST(Combiners, Dodge)
{
  // Red: x = 255 -> any non-zero value becomes 255; green: 0 stays 0.
  EXPECT_EQ(Apply<DodgeCombiner>(C4(100, 0, 30, 200), C4(255, 255, 100, 128), 256), C4(255, 0, 49, 255));
  EXPECT_EQ(Apply<DodgeCombiner>(C4(100, 0, 30, 200), C4(255, 255, 100, 128), -100), C4(72, 0, 26, 167));
  using SA = SourceAlphaCombiner<DodgeCombiner, true>;
  EXPECT_EQ(Apply<SA>(C4(100, 0, 30, 200), C4(255, 255, 100, 0), 256), C4(100, 0, 30, 200));
}

TEST(Combiners, Multiply)
{
  EXPECT_EQ(Apply<MultiplyCombiner>(C4(200, 100, 255, 128), C4(128, 255, 0, 64), 256), C4(100, 99, 0, 32));
  EXPECT_EQ(Apply<MultiplyCombiner>(C4(200, 100, 255, 128), C4(128, 255, 0, 64), 100), C4(160, 99, 155, 90));
  using SA = SourceAlphaCombiner<MultiplyCombiner, true>;
  EXPECT_EQ(Apply<SA>(C4(200, 100, 255, 128), C4(128, 255, 0, 0), 256), C4(200, 100, 255, 128));
}

TEST(Combiners, Overlay)
{
  EXPECT_EQ(Apply<OverlayCombiner>(C4(200, 100, 255, 128), C4(128, 255, 0, 64), 256), C4(200, 160, 254, 96));
  EXPECT_EQ(Apply<OverlayCombiner>(C4(200, 100, 255, 128), C4(10, 255, 0, 64), 100), C4(184, 123, 254, 115));
  // Through the source alpha a transparent pixel still blends, with w' = 256 / 256 = 1.
  using SA = SourceAlphaCombiner<OverlayCombiner, false>;
  EXPECT_EQ(Apply<SA>(C4(200, 100, 255, 128), C4(10, 255, 0, 0), 256), C4(199, 100, 254, 127));
}

TEST(Combiners, HsvAdjust)
{
  // Neutral adjustments (128, 128, 128) keep the colour up to rounding; alpha becomes the source's.
  EXPECT_EQ(Apply<HsvAdjustCombiner>(C4(200, 100, 50, 10), C4(128, 128, 128, 77), 256), C4(200, 99, 50, 77));
  EXPECT_EQ(Apply<HsvAdjustCombiner>(C4(200, 100, 50, 10), C4(200, 180, 60, 77), 256), C4(0, 64, 1, 77));
  // Gray counts as blue (hue 256); added saturation tints it blue.
  EXPECT_EQ(Apply<HsvAdjustCombiner>(C4(90, 90, 90, 10), C4(128, 200, 128, 77), 256), C4(39, 39, 90, 77));
  EXPECT_EQ(Apply<HsvAdjustCombiner>(C4(10, 40, 220, 10), C4(0, 128, 255, 77), 128), C4(13, 255, 100, 77));
  // Through the source alpha there is no early exit: weight 1 barely changes the colour.
  using SA = SourceAlphaCombiner<HsvAdjustCombiner, false>;
  EXPECT_EQ(Apply<SA>(C4(200, 100, 50, 10), C4(200, 180, 60, 0), 256), C4(200, 99, 50, 0));
}

TEST(Combiners, HsvAdjustWrapsOverdrivenHue)
{
  // Weight 4096 turns the hue (13) by 3040, i.e. 7 full turns and 352: hue 373, the last
  // sector, where blue ramps as 200 * (16384 - 53 * 191) / 16384 = 76. Wrapping only once
  // would leave the hue far outside every sector and blue a meaningless low byte.
  EXPECT_EQ(Apply<HsvAdjustCombiner>(C4(200, 100, 50, 10), C4(255, 128, 128, 0), 4096), C4(200, 50, 76, 0));
}

TEST(Combiners, WeightFromAlpha)
{
  EXPECT_EQ(WeightFromAlpha(1.0f), 256);
  EXPECT_EQ(WeightFromAlpha(0.5f), 128);
  EXPECT_EQ(WeightFromAlpha(0.003f), 0);
  EXPECT_EQ(WeightFromAlpha(-0.5f), -128);
  EXPECT_EQ(WeightFromAlpha(2.0f), 512);
  EXPECT_EQ(WeightFromAlpha(1e30f), kMaxWeight);
  EXPECT_EQ(WeightFromAlpha(-1e30f), -kMaxWeight);
  EXPECT_EQ(WeightFromAlpha(__builtin_nanf("")), 0);
}

TEST(Combiners, DispatchPicksOneCombinerPerMode)
{
  int calls = 0;
  auto count = [&](auto) { ++calls; };
  EXPECT_FALSE(WithBlitCombiner(6, 256, count));
  EXPECT_FALSE(WithBlitCombiner(kOpChannelCopy, 256, count));
  EXPECT_FALSE(WithBlitCombiner(kOpCopy, 0, count));
  EXPECT_FALSE(WithBlitCombiner(kOpCopy | kSourceAlpha, -5, count));
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(WithBlitCombiner(kOpAdd, -5, count)); // only copy refuses negative weights
  EXPECT_TRUE(WithPlainCombiner(kOpHsvAdjust | kSourceAlpha, count));
  EXPECT_FALSE(WithPlainCombiner(6, count));
  EXPECT_EQ(calls, 2);

  PixelWord d = C4(10, 20, 30, 40);
  WithBlitCombiner(kOpCopy | kSourceAlpha, 256, [&](auto c) {
    BlendWord<decltype(c)>(d, C4(200, 100, 50, 200), 256);
  });
  EXPECT_EQ(d, C4(160, 83, 46, 167)); // the full-weight form
}
} // namespace
