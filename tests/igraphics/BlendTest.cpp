// The translation of control blends into raster modes, checked at the table and
// through the pixels each primitive leaves in the draw bitmap.
#include <gtest/gtest.h>

#include "IBlendModes.h"
#include "lines.h"
#include "TestSupport.h"

namespace {

TEST(BlendTableTest, EveryMethodMapsToItsModeAndKeepsItsWeight)
{
  const struct
  {
    int method;
    int mode;
  } table[] = {{0, 0x10000}, {1, 0}, {2, 0x10001}, {3, 0x10002}, {4, 0x10000}, {-1, 0x10000}, {99, 0x10000}};
  for (const auto& row : table)
  {
    const IBlend blend(row.method, 0.375f);
    const IRasterBlend raster = RasterBlendFor(&blend);
    EXPECT_EQ(raster.mode, row.mode) << "method " << row.method;
    EXPECT_FLOAT_EQ(raster.opacity, 0.375f);
  }
  const IRasterBlend none = RasterBlendFor(nullptr);
  EXPECT_EQ(none.mode, 0x10000);
  EXPECT_FLOAT_EQ(none.opacity, 1.0f);
}

// Draws with a primitive of the graphics object and with the raster routine the
// table names, on identical backgrounds, and compares the pixels.
class BlendPixelsTest : public ::testing::Test
{
protected:
  static constexpr uint32_t kBackground = 0x80406080u;
  static constexpr uint32_t kSource = 0xC0A03010u;

  BlendPixelsTest() : graphics(&plug, 16, 16), expected(16, 16, 4), image(4, 4, 4)
  {
    graphics.CreateDrawSurface();
    LICE::FillArea(graphics.DrawBitmap(), 0, 0, 16, 16, kBackground, 1.0f, LICE::kOpCopy);
    LICE::FillArea(&expected, 0, 0, 16, 16, kBackground, 1.0f, LICE::kOpCopy);
    LICE::FillArea(&image, 0, 0, 4, 4, kSource, 1.0f, LICE::kOpCopy);
  }

  void ExpectSamePixels()
  {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        ASSERT_EQ(LICE::FetchPixel(graphics.DrawBitmap(), x, y), LICE::FetchPixel(&expected, x, y))
            << "at " << x << "," << y;
  }

  TestPlug plug;
  TestGraphics graphics;
  LICE_MemBitmap expected;
  LICE_MemBitmap image;
};

TEST_F(BlendPixelsTest, AddAtHalfWeightBlitsWithAddThroughSourceAlpha)
{
  EventLog log;
  graphics.AddControl(new ProbeControl(&plug, IBounds(0, 0, 16, 16), -1, "p", &log));
  graphics.PaintArea(IBounds(0, 0, 16, 16));  // sets the draw area
  const IBlend add(kBlendAdd, 0.5f);
  graphics.BlitImage(IBitmapStrip(&image, 4, 4, 1), IBounds(2, 3, 6, 7), 0, 0, &add);
  LICE::DrawImage(&expected, &image, 2, 3, 0, 0, 4, 4, 0.5f, 0x10001);
  ExpectSamePixels();
  // The blend really added: the red channel grew.
  EXPECT_GT(LICE::Red(LICE::FetchPixel(graphics.DrawBitmap(), 3, 4)), 0x40);
}

TEST_F(BlendPixelsTest, MissingBlendBlitsThroughSourceAlphaAtFullWeight)
{
  EventLog log;
  graphics.AddControl(new ProbeControl(&plug, IBounds(0, 0, 16, 16), -1, "p", &log));
  graphics.PaintArea(IBounds(0, 0, 16, 16));
  graphics.BlitImage(IBitmapStrip(&image, 4, 4, 1), IBounds(0, 0, 4, 4), 0, 0, nullptr);
  LICE::DrawImage(&expected, &image, 0, 0, 0, 0, 4, 4, 1.0f, 0x10000);
  ExpectSamePixels();
}

TEST_F(BlendPixelsTest, PointsWithDodgeUseDodgeThroughSourceAlphaAtTheRoundedPosition)
{
  const IBlend dodge(kBlendColourDodge, 1.0f);
  graphics.PlotPoint(IRgba::FromWord(kSource), 4.6f, 2.4f, &dodge, true);
  LICE::BlendPixel(&expected, 5, 2, kSource, 1.0f, 0x10002);
  ExpectSamePixels();
  EXPECT_NE(LICE::FetchPixel(graphics.DrawBitmap(), 5, 2), kBackground);
}

TEST_F(BlendPixelsTest, FillsWithPlainCopyOverwriteAlphaToo)
{
  const IBlend copy(kBlendCopy, 1.0f);
  graphics.FillBounds(IRgba(0x20, 1, 2, 3), IBounds(3, 3, 8, 9), &copy);
  EXPECT_EQ(LICE::FetchPixel(graphics.DrawBitmap(), 3, 3), 0x20010203u);
  EXPECT_EQ(LICE::FetchPixel(graphics.DrawBitmap(), 7, 8), 0x20010203u);
  EXPECT_EQ(LICE::FetchPixel(graphics.DrawBitmap(), 8, 8), kBackground);
  LICE::FillArea(&expected, 3, 3, 5, 6, 0x20010203u, 1.0f, 0);
  ExpectSamePixels();
}

TEST_F(BlendPixelsTest, LinesTruncateTheirEndsAndBlendLikeImages)
{
  const IBlend add(kBlendAdd, 0.75f);
  graphics.StrokeLine(IRgba::FromWord(kSource), 1.9f, 2.7f, 12.2f, 9.9f, &add, false);
  LICE::DrawLineSegment(&expected, 1, 2, 12, 9, kSource, 0.75f, 0x10001, false);
  ExpectSamePixels();
  EXPECT_NE(LICE::FetchPixel(graphics.DrawBitmap(), 1, 2), kBackground);
}

TEST_F(BlendPixelsTest, CirclesAndArcsTakeTheirArgumentsUnchanged)
{
  const IBlend copy(kBlendCopy, 1.0f);
  graphics.StrokeCircle(IRgba::FromWord(kSource), 7.5f, 7.25f, 5.5f, &copy, true);
  graphics.StrokeArc(IRgba::FromWord(0xFF00FF00u), 8.0f, 8.0f, 3.0f, 0.5f, 2.0f, nullptr, false);
  LICE::DrawCircleOutline(&expected, 7.5f, 7.25f, 5.5f, kSource, 1.0f, 0, true);
  LICE::DrawArcOutline(&expected, 8.0f, 8.0f, 3.0f, 0.5f, 2.0f, 0xFF00FF00u, 1.0f, 0x10000, false);
  ExpectSamePixels();
}

TEST_F(BlendPixelsTest, ReadPixelSplitsTheWordIntoChannels)
{
  EXPECT_EQ(graphics.ReadPixel(0, 0), IRgba(0x80, 0x40, 0x60, 0x80));
}

}  // namespace
