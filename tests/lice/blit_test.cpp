// DrawImage and CopyImage: clipping, the fast paths and the choice of combiner.
#include "combiners.h"
#include "test_bitmaps.h"

#include <gtest/gtest.h>

#include <climits>

namespace
{
using namespace LICE;
using namespace lice_test;

constexpr PixelWord kBackground = 0x11223344;

// Expects dest to hold the source pixel (sx0 + x - dx0, ...) inside the given destination
// rectangle and the background everywhere else.
void ExpectCopied(const LICE_IBitmap& dest, int dx0, int dy0, int dx1, int dy1, int sx0, int sy0)
{
  for (int y = 0; y < dest.Height(); ++y)
    for (int x = 0; x < dest.Width(); ++x)
    {
      const bool inside = x >= dx0 && x < dx1 && y >= dy0 && y < dy1;
      const PixelWord want = inside ? PatternPixel(sx0 + x - dx0, sy0 + y - dy0) : kBackground;
      ASSERT_EQ(At(dest, x, y), want) << "at " << x << "," << y;
    }
}

struct BlitFixture : ::testing::Test
{
  LICE_MemBitmap src{10, 10, 4};
  LICE_MemBitmap dest{5, 5, 4};
  void SetUp() override
  {
    FillPattern(src);
    FillSolid(dest, kBackground);
  }
};

TEST_F(BlitFixture, NegativePositionCopiesTheVisiblePart)
{
  DrawImage(&dest, &src, -3, -2, nullptr, 1.0f, kOpCopy);
  ExpectCopied(dest, 0, 0, 5, 5, 3, 2);
}

// Clipping at every edge and corner of the destination, through the word-copy loop (alpha
// 1.0) and through a combiner loop (a weight just above full), which must agree.
TEST_F(BlitFixture, ClipsAtEveryEdgeAndCorner)
{
  LICE_MemBitmap small(3, 3, 4);
  FillPattern(small);
  for (float alpha : {1.0f, 1.001f})
    for (int y = -4; y <= 6; ++y)
      for (int x = -4; x <= 6; ++x)
      {
        FillSolid(dest, kBackground);
        DrawImage(&dest, &small, x, y, nullptr, alpha, kOpCopy);
        const int x0 = std::max(x, 0), y0 = std::max(y, 0);
        ExpectCopied(dest, x0, y0, std::min(x + 3, 5), std::min(y + 3, 5), x0 - x, y0 - y);
      }
}

TEST_F(BlitFixture, SourceRectangleIsClippedToTheSource)
{
  // Negative left/top move the destination right/down; right/bottom stop at the source.
  Rect r{-2, -1, 20, 20};
  DrawImage(&dest, &src, 0, 0, &r, 1.0f, kOpCopy);
  ExpectCopied(dest, 2, 1, 5, 5, 0, 0);

  FillSolid(dest, kBackground);
  Rect inner{8, 7, 12, 9};
  DrawImage(&dest, &src, 1, 1, &inner, 1.0f, kOpCopy);
  ExpectCopied(dest, 1, 1, 3, 3, 8, 7);

  FillSolid(dest, kBackground);
  DrawImage(&dest, &src, 1, 2, 4, 5, 2, 2, 1.0f, kOpCopy); // area form
  ExpectCopied(dest, 1, 2, 3, 4, 4, 5);
}

TEST_F(BlitFixture, NothingToDraw)
{
  const auto before = Snapshot(dest);
  Rect empty{3, 3, 3, 8};
  Rect inverted{5, 5, 2, 2};
  Rect outside{10, 0, 12, 2};
  DrawImage(&dest, &src, 0, 0, &empty, 1.0f, kOpCopy);
  DrawImage(&dest, &src, 0, 0, &inverted, 1.0f, kOpCopy);
  DrawImage(&dest, &src, 0, 0, &outside, 1.0f, kOpCopy);
  DrawImage(&dest, &src, 5, 0, nullptr, 1.0f, kOpCopy);
  DrawImage(&dest, &src, 0, -10, nullptr, 1.0f, kOpCopy);
  DrawImage(&dest, &src, 0, 0, nullptr, 0.0f, kOpCopy);
  DrawImage(&dest, &src, 0, 0, nullptr, 0.003f, kOpAdd);  // weight trunc(0.768) = 0
  DrawImage(&dest, &src, 0, 0, nullptr, -0.5f, kOpCopy);  // copy refuses negative weights
  DrawImage(&dest, &src, 0, 0, nullptr, 1.0f, 6);         // unknown operation
  DrawImage(&dest, nullptr, 0, 0, nullptr, 1.0f, kOpCopy);
  DrawImage(nullptr, &src, 0, 0, nullptr, 1.0f, kOpCopy);
  PixelLessBitmap noPixels;
  DrawImage(&dest, &noPixels, 0, 0, nullptr, 1.0f, kOpCopy);
  DrawImage(&noPixels, &src, 0, 0, nullptr, 1.0f, kOpCopy);
  LICE_MemBitmap emptyBitmap(0, 0, 4);
  DrawImage(&dest, &emptyBitmap, 0, 0, nullptr, 1.0f, kOpCopy);
  DrawImage(&emptyBitmap, &src, 0, 0, nullptr, 1.0f, kOpCopy);
  EXPECT_EQ(Snapshot(dest), before);
}

TEST_F(BlitFixture, CoordinatesNearIntLimitsDoNotOverflow)
{
  const auto before = Snapshot(dest);
  DrawImage(&dest, &src, INT_MAX, INT_MAX, nullptr, 1.0f, kOpCopy);
  DrawImage(&dest, &src, INT_MIN, INT_MIN, nullptr, 1.0f, kOpCopy);
  DrawImage(&dest, &src, 0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1.0f, kOpCopy);
  DrawImage(&dest, &src, 0, 0, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1.0f, kOpAdd);
  Rect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  DrawImage(&dest, &src, INT_MAX, 0, &huge, 1.0f, kOpCopy);
  EXPECT_EQ(Snapshot(dest), before);
  // A source rectangle starting far left moves the destination far right: nothing visible.
  DrawImage(&dest, &src, 0, 0, &huge, 1.0f, kOpCopy);
  EXPECT_EQ(Snapshot(dest), before);
  // Starting at INT_MIN with a width reaching into the source draws its visible part.
  DrawImage(&dest, &src, 0, 0, 0, 0, INT_MAX, INT_MAX, 1.0f, kOpCopy);
  ExpectCopied(dest, 0, 0, 5, 5, 0, 0);
}

TEST(Blit, HalfAlphaCopyHalvesEachByte)
{
  LICE_MemBitmap src(1, 1, 4), dest(1, 1, 4);
  src.PixelData()[0] = 0xFFFFFFFF;
  dest.PixelData()[0] = 0xFF000000;
  DrawImage(&dest, &src, 0, 0, nullptr, 0.5f, kOpCopy);
  EXPECT_EQ(dest.PixelData()[0], 0xFE7F7F7Fu);
  // A weight of 128 that is not exactly 0.5 goes through the copy combiner instead.
  dest.PixelData()[0] = 0xFF000000;
  DrawImage(&dest, &src, 0, 0, nullptr, 0.501f, kOpCopy);
  EXPECT_EQ(dest.PixelData()[0], 0xFF808080u); // (0 - 255) * 128 / 256 = -127 (truncated), + 255
}

TEST(Blit, CopyThroughSourceAlpha)
{
  LICE_MemBitmap src(3, 1, 4), dest(3, 1, 4);
  src.PixelData()[0] = Rgba(200, 100, 50, 0);
  src.PixelData()[1] = Rgba(200, 100, 50, 255);
  src.PixelData()[2] = Rgba(200, 100, 50, 200);
  FillSolid(dest, Rgba(10, 20, 30, 40));
  DrawImage(&dest, &src, 0, 0, nullptr, 1.0f, kOpCopy | kSourceAlpha);
  EXPECT_EQ(dest.PixelData()[0], Rgba(10, 20, 30, 40));
  EXPECT_EQ(dest.PixelData()[1], Rgba(200, 100, 50, 255));
  EXPECT_EQ(dest.PixelData()[2], Rgba(160, 83, 46, 167));

  // Below full weight the general form: w' = 128 * 201 / 256 = 100.
  FillSolid(dest, Rgba(10, 20, 30, 40));
  DrawImage(&dest, &src, 0, 0, nullptr, 0.5f, kOpCopy | kSourceAlpha);
  EXPECT_EQ(dest.PixelData()[0], Rgba(10, 20, 30, 40));
  EXPECT_EQ(dest.PixelData()[2], Rgba(85, 52, 38, 103));
}

TEST(Blit, EveryOperationUsesItsCombiner)
{
  LICE_MemBitmap src(2, 1, 4), dest(2, 1, 4);
  src.PixelData()[0] = Rgba(128, 255, 0, 64);
  src.PixelData()[1] = Rgba(128, 255, 0, 0);
  for (int op = kOpCopy; op <= kOpHsvAdjust; ++op)
    for (int flag : {0, int(kSourceAlpha)})
      for (float alpha : {0.75f, 1.0f, 1.5f})
      {
        FillSolid(dest, Rgba(200, 100, 255, 128));
        DrawImage(&dest, &src, 0, 0, nullptr, alpha, op | flag);
        PixelWord want[2] = {Rgba(200, 100, 255, 128), Rgba(200, 100, 255, 128)};
        const int w = WeightFromAlpha(alpha);
        WithBlitCombiner(op | flag, w, [&](auto c) {
          for (int i = 0; i < 2; ++i) BlendWord<decltype(c)>(want[i], src.PixelData()[i], w);
        });
        EXPECT_EQ(dest.PixelData()[0], want[0]) << op << " " << flag << " " << alpha;
        EXPECT_EQ(dest.PixelData()[1], want[1]) << op << " " << flag << " " << alpha;
      }
}

TEST(Blit, AddSaturates)
{
  LICE_MemBitmap src(1, 1, 4), dest(1, 1, 4);
  src.PixelData()[0] = Rgba(200, 200, 200, 0);
  dest.PixelData()[0] = Rgba(100, 100, 100, 30);
  DrawImage(&dest, &src, 0, 0, nullptr, 1.0f, kOpAdd);
  EXPECT_EQ(dest.PixelData()[0], Rgba(255, 255, 255, 30));
}

TEST(Blit, ChannelCopyMovesOneByte)
{
  LICE_MemBitmap src(2, 1, 4), dest(2, 1, 4);
  src.PixelData()[0] = 0xA1B2C3D4;
  src.PixelData()[1] = 0x01020304;
  FillSolid(dest, 0x55667788);
  // Source byte 2 (red) into destination byte 3 (alpha): 0xF0 | 2 | 3 << 2.
  DrawImage(&dest, &src, 0, 0, nullptr, 0.01f, kOpChannelCopy | 2 | (3 << 2));
  EXPECT_EQ(dest.PixelData()[0], 0xB2667788u);
  EXPECT_EQ(dest.PixelData()[1], 0x02667788u);
  // Blue into green; only a weight of exactly 0 stops it.
  DrawImage(&dest, &src, 0, 0, nullptr, -3.0f, kOpChannelCopy | 0 | (1 << 2));
  EXPECT_EQ(dest.PixelData()[0], 0xB266D488u);
  DrawImage(&dest, &src, 0, 0, nullptr, 0.0f, kOpChannelCopy | 3 | (0 << 2));
  EXPECT_EQ(dest.PixelData()[0], 0xB266D488u);
}

TEST(Blit, BottomUpBitmapsAreAddressedByImageRow)
{
  BottomUpBitmap src(4, 3, 4), dest(4, 3, 4);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) Set(src, x, y, PatternPixel(x, y));
  FillSolid(dest, kBackground);
  DrawImage(&dest, &src, 1, 1, nullptr, 1.0f, kOpCopy);
  EXPECT_EQ(At(dest, 1, 1), PatternPixel(0, 0));
  EXPECT_EQ(At(dest, 3, 2), PatternPixel(2, 1));
  EXPECT_EQ(At(dest, 0, 0), kBackground);
  EXPECT_EQ(FetchPixel(&dest, 1, 1), PatternPixel(0, 0));

  LICE_MemBitmap topDown(4, 3, 4);
  DrawImage(&topDown, &src, 0, 0, nullptr, 1.001f, kOpCopy);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(topDown, x, y), PatternPixel(x, y));
}

TEST(Blit, CopyImageSizesTheDestination)
{
  LICE_MemBitmap src(7, 3, 4), dest(0, 0, 4);
  FillPattern(src);
  CopyImage(&dest, &src);
  ASSERT_EQ(dest.Width(), 7);
  ASSERT_EQ(dest.Height(), 3);
  EXPECT_EQ(Snapshot(dest), Snapshot(src));
  CopyImage(&dest, nullptr);
  CopyImage(nullptr, &src);
  EXPECT_EQ(Snapshot(dest), Snapshot(src));
}

TEST(Blit, CopyOntoItselfOverlapping)
{
  LICE_MemBitmap bm(6, 1, 4);
  for (int x = 0; x < 6; ++x) bm.PixelData()[x] = PixelWord(x + 1);
  DrawImage(&bm, &bm, 2, 0, 0, 0, 4, 1, 1.0f, kOpCopy);
  const PixelWord want[6] = {1, 2, 1, 2, 3, 4};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(bm.PixelData()[x], want[x]);
}
} // namespace
