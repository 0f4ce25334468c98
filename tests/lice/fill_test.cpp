// FillArea, MaskArea, FetchPixel and BlendPixel.
#include "combiners.h"
#include "test_bitmaps.h"

#include <gtest/gtest.h>

#include <climits>

namespace
{
using namespace LICE;
using namespace lice_test;

constexpr PixelWord kBackground = 0x11223344;

// Expects `inside` within [x0, x1) x [y0, y1) and the background elsewhere.
void ExpectRect(const LICE_IBitmap& bm, int x0, int y0, int x1, int y1, PixelWord inside)
{
  for (int y = 0; y < bm.Height(); ++y)
    for (int x = 0; x < bm.Width(); ++x)
    {
      const bool in = x >= x0 && x < x1 && y >= y0 && y < y1;
      ASSERT_EQ(At(bm, x, y), in ? inside : kBackground) << x << "," << y;
    }
}

TEST(Fill, ClipsToTheBitmapAtEveryEdge)
{
  LICE_MemBitmap bm(5, 4, 4);
  for (int y = -3; y <= 5; ++y)
    for (int x = -3; x <= 6; ++x)
    {
      FillSolid(bm, kBackground);
      FillArea(&bm, x, y, 3, 2, 0xFFABCDEF, 1.0f, kOpCopy);
      ExpectRect(bm, std::max(x, 0), std::max(y, 0), std::min(x + 3, 5), std::min(y + 2, 4), 0xFFABCDEF);
    }
  FillSolid(bm, kBackground);
  FillArea(&bm, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0xFF000000, 1.0f, kOpCopy);
  ExpectRect(bm, 0, 0, 0, 0, 0); // untouched
  FillArea(&bm, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 0xFF000000, 1.0f, kOpAdd);
  FillArea(&bm, 1, 1, -2, 3, 0xFF000000, 1.0f, kOpCopy);
  FillArea(&bm, 0, 0, 5, 4, 0xFF000000, 0.0f, kOpCopy);
  FillArea(&bm, 0, 0, 5, 4, 0xFF000000, 1.0f, 6);
  FillArea(nullptr, 0, 0, 5, 4, 0xFF000000, 1.0f, kOpCopy);
  ExpectRect(bm, 0, 0, 0, 0, 0); // untouched
  FillArea(&bm, -1, -1, INT_MAX, INT_MAX, 0xFF000000, 1.0f, kOpCopy);
  ExpectRect(bm, 0, 0, 5, 4, 0xFF000000);
}

TEST(Fill, CopyShiftAndMaskForms)
{
  LICE_MemBitmap bm(2, 2, 4);
  const PixelWord white = 0xFFFFFFFF, black = 0xFF000000;
  FillSolid(bm, black);
  FillArea(&bm, 0, 0, 2, 2, white, 0.5f, kOpCopy);
  EXPECT_EQ(At(bm, 1, 1), 0xFE7F7F7Fu);
  FillSolid(bm, black);
  FillArea(&bm, 0, 0, 2, 2, white, 0.25f, kOpCopy);
  EXPECT_EQ(At(bm, 1, 1), 0xFD3F3F3Fu); // c/4 + p/2 + p/4 per byte
  FillSolid(bm, black);
  FillArea(&bm, 0, 0, 2, 2, white, 0.75f, kOpCopy);
  EXPECT_EQ(At(bm, 1, 1), 0xFDBEBEBEu); // c/2 + c/4 + p/4 per byte
  // The source-alpha flag scales the opacity: colour alpha 128 at 1.0 -> weight 128.
  FillSolid(bm, black);
  FillArea(&bm, 0, 0, 2, 2, 0x80FFFFFF, 1.0f, kOpCopy | kSourceAlpha);
  EXPECT_EQ(At(bm, 0, 0), 0xBF7F7F7Fu);
  // Alpha 0 colour with the flag draws nothing.
  FillArea(&bm, 0, 0, 2, 2, 0x00FFFFFF, 1.0f, kOpAdd | kSourceAlpha);
  EXPECT_EQ(At(bm, 0, 0), 0xBF7F7F7Fu);
}

TEST(Fill, CombinersTakeTheWeightAsSourceAlpha)
{
  LICE_MemBitmap bm(1, 1, 4);
  // Copy at weight 100: alpha (40 - 100) * 156 / 256 + 100 = 64 (-36.56 truncated).
  FillSolid(bm, Rgba(10, 20, 30, 40));
  FillArea(&bm, 0, 0, 1, 1, Rgba(200, 100, 50, 7), 100.0f / 256, kOpCopy);
  EXPECT_EQ(At(bm, 0, 0), Rgba(85, 52, 38, 64));
  // Add at full weight: alpha 40 + 256 clamps to 255, whatever the colour's own alpha.
  FillSolid(bm, Rgba(10, 20, 30, 40));
  FillArea(&bm, 0, 0, 1, 1, Rgba(200, 100, 50, 0), 1.0f, kOpAdd);
  EXPECT_EQ(At(bm, 0, 0), Rgba(210, 120, 80, 255));
  // Copy refuses negative weights; add does not.
  FillSolid(bm, Rgba(10, 20, 30, 40));
  FillArea(&bm, 0, 0, 1, 1, Rgba(200, 100, 50, 0), -0.5f, kOpCopy);
  EXPECT_EQ(At(bm, 0, 0), Rgba(10, 20, 30, 40));
  FillArea(&bm, 0, 0, 1, 1, Rgba(20, 20, 20, 0), -0.5f, kOpAdd);
  EXPECT_EQ(At(bm, 0, 0), Rgba(0, 10, 20, 104)); // alpha: A = w = -128, 40 + 128 * 128 / 256
}

TEST(Fill, EveryOperation)
{
  LICE_MemBitmap bm(3, 1, 4);
  for (int op = kOpCopy; op <= kOpHsvAdjust; ++op)
  {
    FillSolid(bm, Rgba(200, 100, 255, 128));
    FillArea(&bm, 1, 0, 5, 1, Rgba(128, 255, 0, 9), 0.3f, op);
    PixelWord want = Rgba(200, 100, 255, 128);
    const int w = WeightFromAlpha(0.3f);
    WithPlainCombiner(op, [&](auto c) { decltype(c)::Blend(want, 128, 255, 0, w, w); });
    EXPECT_EQ(At(bm, 0, 0), Rgba(200, 100, 255, 128)) << op;
    EXPECT_EQ(At(bm, 1, 0), want) << op;
    EXPECT_EQ(At(bm, 2, 0), want) << op;
  }
}

TEST(Mask, ClearsAlphaInTheClippedRectangle)
{
  LICE_MemBitmap bm(4, 3, 4);
  FillSolid(bm, kBackground);
  MaskArea(&bm, -1, 1, 3, 5, 0x00FFFFFF, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(At(bm, x, y), (x < 2 && y >= 1) ? 0x00223344u : kBackground) << x << "," << y;
  MaskArea(&bm, 0, 0, 4, 3, 0xFFFFFF00, 0x000000AA);
  EXPECT_EQ(At(bm, 3, 0), 0x112233AAu);
  MaskArea(&bm, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0);
  MaskArea(nullptr, 0, 0, 4, 3, 0, 0);
  EXPECT_EQ(At(bm, 3, 0), 0x112233AAu);
}

TEST(Pixel, FetchOutsideIsZero)
{
  LICE_MemBitmap bm(4, 3, 4);
  FillPattern(bm);
  EXPECT_EQ(FetchPixel(&bm, 2, 1), PatternPixel(2, 1));
  EXPECT_EQ(FetchPixel(&bm, -1, 0), 0u);
  EXPECT_EQ(FetchPixel(&bm, 4, 0), 0u);
  EXPECT_EQ(FetchPixel(&bm, 0, 3), 0u);
  EXPECT_EQ(FetchPixel(&bm, INT_MIN, INT_MAX), 0u);
  EXPECT_EQ(FetchPixel(nullptr, 0, 0), 0u);
  PixelLessBitmap noPixels;
  EXPECT_EQ(FetchPixel(&noPixels, 0, 0), 0u);
}

TEST(Pixel, BlendUsesTheColoursOwnAlpha)
{
  LICE_MemBitmap bm(2, 1, 4);
  FillSolid(bm, 0xFF000000);
  BlendPixel(&bm, 1, 0, 0xFFFFFFFF, 0.25f, kOpCopy);
  EXPECT_EQ(At(bm, 1, 0), 0xFD3F3F3Fu);
  EXPECT_EQ(At(bm, 0, 0), 0xFF000000u);
  // Add at full weight with the colour's alpha 7 as the source alpha; the flag is ignored.
  BlendPixel(&bm, 0, 0, Rgba(100, 0, 200, 7), 1.0f, kOpAdd | kSourceAlpha);
  EXPECT_EQ(At(bm, 0, 0), Rgba(100, 0, 200, 255));
  // Copy at weight 100: alpha (255 - 7) * 156 / 256 + 7 = 158.
  FillSolid(bm, 0xFF000000);
  BlendPixel(&bm, 0, 0, Rgba(100, 0, 200, 7), 100.0f / 256, kOpCopy);
  EXPECT_EQ(At(bm, 0, 0), Rgba(40, 0, 79, 158));

  const auto before = Snapshot(bm);
  BlendPixel(&bm, -1, 0, 0xFFFFFFFF, 1.0f, kOpCopy);
  BlendPixel(&bm, 2, 0, 0xFFFFFFFF, 1.0f, kOpCopy);
  BlendPixel(&bm, 0, INT_MIN, 0xFFFFFFFF, 1.0f, kOpCopy);
  BlendPixel(&bm, 0, 0, 0xFFFFFFFF, 1.0f, 6);
  BlendPixel(&bm, 0, 0, 0xFFFFFFFF, 0.003f, kOpAdd);
  BlendPixel(&bm, 0, 0, 0xFFFFFFFF, -1.0f, kOpCopy);
  BlendPixel(nullptr, 0, 0, 0xFFFFFFFF, 1.0f, kOpCopy);
  EXPECT_EQ(Snapshot(bm), before);
}
} // namespace
