// The shipped pictures: the sizes, frames and alpha the layout relies on, and knob frames
// whose pointer sweeps 270 degrees from minimum to maximum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "image_loaders.h"
#include "lice.h"

namespace
{

const std::string kImgDir = BRINDLOW_IMG_DIR;

std::unique_ptr<LICE_IBitmap> Load(const char* name)
{
  return std::unique_ptr<LICE_IBitmap>(LICE::DecodePngFile((kImgDir + "/" + name).c_str()));
}

// PNG colour type byte of the header: 2 RGB, 6 RGB with alpha.
int ColourType(const char* name)
{
  FILE* f = std::fopen((kImgDir + "/" + name).c_str(), "rb");
  if (!f) return -1;
  unsigned char header[26] = {};
  const size_t n = std::fread(header, 1, sizeof header, f);
  std::fclose(f);
  return n == sizeof header ? header[25] : -1;
}

TEST(Artwork, SizesAndAlphaAreWhatTheLayoutExpects)
{
  const struct
  {
    const char* name;
    int width, height, colourType;
  } images[] = {
    {"kyvBrindlow.png", 366, 212, 2},
    {"switch.png", 47, 42, 6},
    {"knob.png", 78, 5070, 6},
    {"splash.png", 225, 90, 2},
  };
  for (const auto& image : images)
  {
    auto bitmap = Load(image.name);
    ASSERT_NE(bitmap, nullptr) << image.name;
    EXPECT_EQ(bitmap->Width(), image.width) << image.name;
    EXPECT_EQ(bitmap->Height(), image.height) << image.name;
    EXPECT_EQ(ColourType(image.name), image.colourType) << image.name;
  }
}

// Angle (degrees, 0 up, clockwise) of the knob's light pointer in one 78 x 78 frame.
double PointerAngle(const LICE_IBitmap* strip, int frame)
{
  double sx = 0, sy = 0;
  int n = 0;
  for (int y = 0; y < 78; ++y)
  {
    for (int x = 0; x < 78; ++x)
    {
      const double dx = x + 0.5 - 39.0, dy = y + 0.5 - 39.0;
      const double r = std::hypot(dx, dy);
      if (r < 8.0 || r > 22.0) continue; // the cap, inside the grip ring
      const PixelWord p = LICE::FetchPixel(strip, x, frame * 78 + y);
      if (LICE::Red(p) + LICE::Green(p) + LICE::Blue(p) < 600) continue;
      sx += dx;
      sy += dy;
      ++n;
    }
  }
  if (n < 10) return NAN;
  return std::atan2(sx, -sy) * 180.0 / 3.14159265358979323846;
}

TEST(Artwork, KnobPointerSweeps270DegreesOverTheFrames)
{
  auto knob = Load("knob.png");
  ASSERT_NE(knob, nullptr);
  for (int frame = 0; frame < 65; ++frame)
  {
    const double expected = -135.0 + 270.0 * frame / 64.0;
    EXPECT_NEAR(PointerAngle(knob.get(), frame), expected, 3.0) << "frame " << frame;
  }
  // Transparent corners, opaque body: the knob sits on the panel through its alpha.
  EXPECT_EQ(LICE::Alpha(LICE::FetchPixel(knob.get(), 0, 0)), 0);
  EXPECT_EQ(LICE::Alpha(LICE::FetchPixel(knob.get(), 39, 32 * 78 + 39)), 255);
}

// Mean of red minus blue over a rectangle of the switch strip: high where the orange lights.
double Warmth(const LICE_IBitmap* strip, int x0, int x1, int frame)
{
  double sum = 0;
  int n = 0;
  for (int y = 4; y < 17; ++y)
    for (int x = x0; x < x1; ++x, ++n)
    {
      const PixelWord p = LICE::FetchPixel(strip, x, frame * 21 + y);
      sum += LICE::Red(p) - LICE::Blue(p);
    }
  return sum / n;
}

TEST(Artwork, SwitchLightsTheLeftSideInItsFirstFrameAndTheRightInItsSecond)
{
  auto sw = Load("switch.png");
  ASSERT_NE(sw, nullptr);
  EXPECT_GT(Warmth(sw.get(), 4, 20, 0), Warmth(sw.get(), 27, 43, 0) + 80);
  EXPECT_GT(Warmth(sw.get(), 27, 43, 1), Warmth(sw.get(), 4, 20, 1) + 80);
}

} // namespace
