// What the panel paints: the artwork in place, the text on it, and a recorded checksum of
// the whole default panel so that any change to the pictures, the layout or the drawing
// shows up.
#include "EditorFixture.h"

#include <cstdint>

#include "IBitmapControls.h"
#include "bitmap.h"
#include "lice.h"

namespace
{

// FNV-1a over the visible pixels, row by row (the row padding is left out).
uint64_t PixelChecksum(const LICE_IBitmap* bitmap, int width, int height)
{
  uint64_t hash = 1469598103934665603ull;
  for (int y = 0; y < height; ++y)
  {
    for (int x = 0; x < width; ++x)
    {
      const PixelWord p = LICE::FetchPixel(bitmap, x, y);
      for (int shift = 0; shift < 32; shift += 8)
      {
        hash ^= (p >> shift) & 0xFF;
        hash *= 1099511628211ull;
      }
    }
  }
  return hash;
}

// Recorded from the default panel (program 0, splash hidden) with the shipped artwork and
// the Tahoma face of fonts-wine. Redraw the artwork or change the layout: record it anew.
const uint64_t kDefaultPanelChecksum = 0x093eecfb07a78862ull;

using EditorRender = EditorFixture;

TEST_F(EditorRender, TheDefaultPanelMatchesItsRecordedChecksum)
{
  PaintAll();
  const uint64_t sum = PixelChecksum(mEditor->DrawBitmap(), 366, 212);
  EXPECT_EQ(sum, kDefaultPanelChecksum) << std::hex << "checksum 0x" << sum;
}

TEST_F(EditorRender, ImagesLandWhereTheLayoutPutsThem)
{
  PaintAll();
  const LICE_IBitmap* panel = mEditor->DrawBitmap();
  const IBitmapStrip background = static_cast<IBitmapControl*>(Control(0))->Strip();
  const IBitmapStrip knob = static_cast<IKnobMultiControl*>(Control(1))->Strip();
  // A corner of the panel is the background image itself (copied, alpha included).
  EXPECT_EQ(LICE::FetchPixel(panel, 2, 2), LICE::FetchPixel(background.bitmap, 2, 2));
  EXPECT_EQ(LICE::FetchPixel(panel, 360, 205), LICE::FetchPixel(background.bitmap, 360, 205));
  // The centre of the Delay knob shows frame 32 of the strip (value 19/39 of 64 steps, rounded):
  // its opaque pixels are copied exactly.
  const int frameTop = 31 * 78;
  int opaque = 0;
  for (int y = 30; y < 48; ++y)
  {
    for (int x = 30; x < 48; ++x)
    {
      const PixelWord k = LICE::FetchPixel(knob.bitmap, x, frameTop + y);
      if ((k >> 24) != 0xFF) continue;
      ++opaque;
      EXPECT_EQ(LICE::FetchPixel(panel, 56 + x, 73 + y) & 0xFFFFFF, k & 0xFFFFFF) << x << "," << y;
    }
  }
  EXPECT_GT(opaque, 100);
}

TEST_F(EditorRender, TextIsDrawnInItsStyleColourOverTheBackground)
{
  PaintAll();
  const LICE_IBitmap* panel = mEditor->DrawBitmap();
  const IBitmapStrip background = static_cast<IBitmapControl*>(Control(0))->Strip();
  // The version line: some pixels changed, the darkest close to its colour (57, 64, 70).
  int changed = 0, darkest = 3 * 255;
  PixelWord darkestPixel = 0;
  for (int y = 196; y < 212; ++y)
  {
    for (int x = 150; x < 220; ++x)
    {
      const PixelWord p = LICE::FetchPixel(panel, x, y);
      if (p == LICE::FetchPixel(background.bitmap, x, y)) continue;
      ++changed;
      const int sum = LICE::Red(p) + LICE::Green(p) + LICE::Blue(p);
      if (sum < darkest)
      {
        darkest = sum;
        darkestPixel = p;
      }
    }
  }
  EXPECT_GT(changed, 20);
  EXPECT_NEAR(LICE::Red(darkestPixel), 57, 12);
  EXPECT_NEAR(LICE::Green(darkestPixel), 64, 12);
  EXPECT_NEAR(LICE::Blue(darkestPixel), 70, 12);
  // Nothing of the version line lands outside the panel's bottom rows or its own box.
  for (int x = 0; x < 150; ++x)
    EXPECT_EQ(LICE::FetchPixel(panel, x, 202), LICE::FetchPixel(background.bitmap, x, 202)) << x;
}

TEST_F(EditorRender, TheSplashCoversTheMiddleWhenShown)
{
  PaintAll();
  const PixelWord before = LICE::FetchPixel(mEditor->DrawBitmap(), 182, 100);
  mPlug->EditorOpened();
  PaintAll();
  const IBitmapStrip splash = static_cast<IBitmapControl*>(Control(10))->Strip();
  EXPECT_EQ(LICE::FetchPixel(mEditor->DrawBitmap(), 182, 100) & 0xFFFFFF,
            LICE::FetchPixel(splash.bitmap, 182 - 70, 100 - 61) & 0xFFFFFF);
  EXPECT_NE(LICE::FetchPixel(mEditor->DrawBitmap(), 182, 100), before);
}

} // namespace
