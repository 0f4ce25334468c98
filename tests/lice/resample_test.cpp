// Filtered resampling of artwork to other sizes.
#include <gtest/gtest.h>

#include "resample.h"
#include "test_bitmaps.h"

namespace
{
using lice_test::At;
using lice_test::FillPattern;
using lice_test::FillSolid;
using lice_test::Set;

struct Size
{
  int width, height;
};
const Size kSizes[] = {{8, 8}, {12, 12}, {20, 20}, {25, 19}, {5, 5}, {3, 7}};

TEST(ResampleImage, AFlatColourStaysFlatAtEverySize)
{
  LICE_MemBitmap source(8, 8);
  for (PixelWord colour : {LICE::Rgba(200, 100, 50, 255), LICE::Rgba(10, 220, 90, 128)})
  {
    FillSolid(source, colour);
    for (const Size& size : kSizes)
    {
      LICE_MemBitmap dest(size.width, size.height);
      LICE::ResampleImage(&dest, 0, 0, size.width, size.height, &source, LICE::Rect{0, 0, 8, 8});
      for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) ASSERT_EQ(At(dest, x, y), colour) << size.width << "x" << size.height;
    }
  }
}

TEST(ResampleImage, TransparentEdgesGetNoDarkFringeAndASmoothAlpha)
{
  // White, opaque on the left half, beside pixels that are transparent black.
  LICE_MemBitmap source(8, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) Set(source, x, y, x < 4 ? LICE::Rgba(255, 255, 255, 255) : 0u);
  for (const Size& size : {Size{20, 10}, Size{12, 6}, Size{5, 3}})
  {
    LICE_MemBitmap dest(size.width, size.height);
    LICE::ResampleImage(&dest, 0, 0, size.width, size.height, &source, LICE::Rect{0, 0, 8, 4});
    bool partial = false;
    for (int x = 0; x < size.width; ++x)
    {
      const PixelWord p = At(dest, x, 0);
      if (LICE::Alpha(p) == 0) continue;
      EXPECT_EQ(p & 0xFFFFFFu, 0xFFFFFFu) << "a dark fringe at x " << x << " of " << size.width;
      partial = partial || LICE::Alpha(p) < 255;
    }
    // A filter blends the edge; nearest-neighbour sampling would step from 255 to 0.
    EXPECT_TRUE(partial) << size.width;
  }
}

TEST(ResampleImage, OnlyTheSourceRectangleIsReadSoStripFramesNeverMix)
{
  // Two frames of 6 x 6 stacked: red over blue.
  LICE_MemBitmap strip(6, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 6; ++x) Set(strip, x, y, y < 6 ? LICE::Rgba(255, 0, 0, 255) : LICE::Rgba(0, 0, 255, 255));
  for (const int frameSize : {9, 15, 4})
  {
    LICE_MemBitmap dest(frameSize, 2 * frameSize);
    for (int frame = 0; frame < 2; ++frame)
      LICE::ResampleImage(&dest, 0, frame * frameSize, frameSize, frameSize, &strip,
                          LICE::Rect{0, frame * 6, 6, frame * 6 + 6});
    for (int y = 0; y < 2 * frameSize; ++y)
      for (int x = 0; x < frameSize; ++x)
        ASSERT_EQ(At(dest, x, y), y < frameSize ? LICE::Rgba(255, 0, 0, 255) : LICE::Rgba(0, 0, 255, 255))
          << frameSize << " at " << x << "," << y;
  }
}

TEST(ResampleImage, TheSameSizeCopiesAndPixelsOutsideTheDestinationAreLeftAlone)
{
  LICE_MemBitmap source(7, 5);
  FillPattern(source);
  LICE_MemBitmap copy(7, 5);
  LICE::ResampleImage(&copy, 0, 0, 7, 5, &source, LICE::Rect{0, 0, 7, 5});
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(At(copy, x, y), At(source, x, y));

  LICE_MemBitmap small(4, 4);
  FillSolid(small, 0x12345678u);
  LICE::ResampleImage(&small, 2, 2, 10, 10, &source, LICE::Rect{0, 0, 7, 5});  // clipped, not overrun
  EXPECT_EQ(At(small, 1, 1), 0x12345678u);
  EXPECT_NE(At(small, 2, 2), 0x12345678u);
  LICE::ResampleImage(&small, 0, 0, 4, 4, &source, LICE::Rect{3, 3, 3, 9});  // an empty source: nothing
  EXPECT_EQ(At(small, 0, 0), 0x12345678u);
}
} // namespace
