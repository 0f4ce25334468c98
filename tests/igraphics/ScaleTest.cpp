// Drawing at a scale: artwork from its double-size counterpart or resampled, frames kept
// apart, and the pixel primitives covering the device pixels of their panel pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "IBitmapControls.h"
#include "ImageCache.h"
#include "TestSupport.h"

namespace {

const PixelWord kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGreen = 0xFF00FF00u, kYellow = 0xFFFFFF00u;

// Artwork 7: two frames of 6 x 4, red over blue. Its counterpart 107 (unless missing):
// two frames of 12 x 8, green over yellow, so the pixels show which one was drawn.
class ArtworkGraphics : public TestGraphics
{
public:
  explicit ArtworkGraphics(IPlugBase* plug) : TestGraphics(plug, 366, 212) {}

  LICE_IBitmap* LoadImageResource(int32_t resourceId, const char* name) override
  {
    decodes.push_back(resourceId);
    names.push_back(name);
    if (resourceId == 7) return TwoFrames(6, 4, kRed, kBlue);
    if (resourceId == 107 && withDoubleSize) return TwoFrames(12, 8, kGreen, kYellow);
    return nullptr;
  }

  static LICE_MemBitmap* TwoFrames(int width, int frameHeight, PixelWord first, PixelWord second)
  {
    auto* bitmap = new LICE_MemBitmap(width, 2 * frameHeight, 4);
    LICE::FillArea(bitmap, 0, 0, width, frameHeight, first, 1.0f, LICE::kOpCopy);
    LICE::FillArea(bitmap, 0, frameHeight, width, frameHeight, second, 1.0f, LICE::kOpCopy);
    return bitmap;
  }

  bool withDoubleSize = true;
  std::vector<std::string> names;
};

class ScaleTest : public ::testing::Test
{
protected:
  ScaleTest() : plug(3)
  {
    graphics = new ArtworkGraphics(&plug);
    plug.AttachEditor(graphics);
  }
  ~ScaleTest() override
  {
    // The strips live in the module-wide cache: the next test decodes its own.
    IImageCache& cache = IImageCache::Shared();
    for (int id : {7, 107})
      while (LICE_IBitmap* bitmap = cache.Find(id)) cache.Remove(bitmap);
  }

  IBitmapControl* AddPart()
  {
    const IBitmapStrip strip = graphics->LoadImageStrip(7, "img/part.png", 2);
    auto* control = new IBitmapControl(&plug, 10, 10, -1, strip, kBlendCopy);
    graphics->AddControl(control);
    return control;
  }

  void PaintAll() { graphics->PaintArea(IBounds(0, 0, 366, 212)); }

  // Whether every device pixel of |area| holds |colour|.
  bool AllOf(const IBounds& area, PixelWord colour) const
  {
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (LICE::FetchPixel(graphics->DrawBitmap(), x, y) != colour) return false;
    return true;
  }

  TestPlug plug;
  ArtworkGraphics* graphics;
};

TEST_F(ScaleTest, AtTwoTheDoubleSizeCounterpartIsDrawnAsItIsAndOnlyWhenNeeded)
{
  IBitmapControl* part = AddPart();
  PaintAll();
  EXPECT_EQ(graphics->decodes, std::vector<int>{7});  // 1x: no counterpart looked for
  EXPECT_TRUE(AllOf(IBounds(10, 10, 16, 14), kRed));

  ASSERT_TRUE(graphics->SetHostScale(2.0));
  PaintAll();
  EXPECT_EQ(graphics->decodes, (std::vector<int>{7, 107}));
  EXPECT_EQ(graphics->names.back(), "img/part@2x.png");
  EXPECT_TRUE(AllOf(IBounds(20, 20, 32, 28), kGreen));
  part->SetValue(1.0);  // the second frame, none of the first
  PaintAll();
  EXPECT_TRUE(AllOf(IBounds(20, 20, 32, 28), kYellow));

  // Other scales are resampled from the counterpart, frame by frame.
  ASSERT_TRUE(graphics->SetHostScale(1.5));
  PaintAll();
  EXPECT_TRUE(AllOf(IBounds(15, 15, 24, 21), kYellow));
  EXPECT_EQ(graphics->decodes.size(), 2u);  // found once
}

TEST_F(ScaleTest, WithoutACounterpartTheOneTimesPictureIsResampled)
{
  graphics->withDoubleSize = false;
  IBitmapControl* part = AddPart();
  for (double scale : {2.0, 2.5, 3.0})
  {
    ASSERT_TRUE(graphics->SetHostScale(scale));
    part->SetValue(0.0);
    PaintAll();
    const int32_t w = int32_t(std::lround(6 * scale)), h = int32_t(std::lround(4 * scale));
    const int32_t x = int32_t(std::lround(10 * scale));
    EXPECT_TRUE(AllOf(IBounds(x, x, x + w, x + h), kRed)) << scale;
    part->SetValue(1.0);
    PaintAll();
    EXPECT_TRUE(AllOf(IBounds(x, x, x + w, x + h), kBlue)) << scale;
  }
}

TEST(DoubleSizeName, GoesBeforeTheExtension)
{
  EXPECT_EQ(IGraphicsLice::DoubleSizeName("img/knob.png"), "img/knob@2x.png");
  EXPECT_EQ(IGraphicsLice::DoubleSizeName("knob"), "knob@2x");
  EXPECT_EQ(IGraphicsLice::DoubleSizeName("art.v2/knob"), "art.v2/knob@2x");
  EXPECT_EQ(IGraphicsLice::DoubleSizeName(".png"), ".png@2x");
}

TEST_F(ScaleTest, PixelPrimitivesCoverTheDevicePixelsOfTheirPanelPixels)
{
  ASSERT_TRUE(graphics->SetHostScale(2.0));
  ASSERT_EQ(graphics->DrawBitmap()->Width(), 732);
  LICE::FillArea(graphics->DrawBitmap(), 0, 0, 732, 424, 0xFF000000u, 1.0f, LICE::kOpCopy);
  const IRgba red(255, 255, 0, 0);
  const IBlend copy(kBlendCopy, 1.0f);
  graphics->FillBounds(red, IBounds(1, 1, 3, 3), &copy);
  EXPECT_TRUE(AllOf(IBounds(2, 2, 6, 6), kRed));
  EXPECT_TRUE(AllOf(IBounds(6, 2, 7, 6), 0xFF000000u));
  graphics->VerticalLine(red, 10, 0, 1);
  EXPECT_TRUE(AllOf(IBounds(20, 0, 22, 4), kRed));
  EXPECT_TRUE(AllOf(IBounds(22, 0, 23, 4), 0xFF000000u));
  graphics->HorizontalLine(red, 211, 360, 1000);  // held to the surface's last device row
  EXPECT_TRUE(AllOf(IBounds(720, 422, 732, 424), kRed));
  graphics->WritePixel(red, 100, 100);
  EXPECT_TRUE(AllOf(IBounds(200, 200, 202, 202), kRed));
  EXPECT_EQ(graphics->ReadPixel(100, 100), red);
}

}  // namespace
