// The shipped pictures: the sizes, frames and alpha the layout relies on, knob frames whose
// pointer sweeps 270 degrees from minimum to maximum, and 2x pictures that are the 1x
// drawing with finer detail, not the 1x pictures enlarged.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "image_loaders.h"
#include "lice.h"
#include "PictureDetail.h"
#include "resources.h"

namespace
{
using namespace picture_detail;

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
    {"kyvBrindlow@2x.png", 732, 424, 2},
    {"switch@2x.png", 94, 84, 6},
    {"knob@2x.png", 156, 10140, 6},
    {"splash@2x.png", 450, 180, 2},
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

// The modules' artwork resources (the objects every module links): each picture under its
// id, and at 2x under its id + 100, byte for byte the committed file.
TEST(Artwork, ModulesCarryEachPictureUnderItsIdAndAt2xUnderItsIdPlus100)
{
  const struct
  {
    int id;
    const char* name;
  } resources[] = {
    {100, "kyvBrindlow.png"}, {101, "switch.png"}, {102, "knob.png"}, {103, "splash.png"},
    {200, "kyvBrindlow@2x.png"}, {201, "switch@2x.png"}, {202, "knob@2x.png"}, {203, "splash@2x.png"},
  };
  for (const auto& resource : resources)
  {
    std::ifstream file(kImgDir + "/" + resource.name, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    ASSERT_TRUE(LICE_FindModuleResource(nullptr, resource.id, "PNG", &bytes, &size)) << resource.id;
    EXPECT_FALSE(expected.empty()) << resource.name;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), size), expected) << resource.id << " " << resource.name;
  }
}

// Angle (degrees, 0 up, clockwise) of the knob's light pointer in one frame of a strip
// drawn at scale k (frames of 78k x 78k).
double PointerAngle(const LICE_IBitmap* strip, int k, int frame)
{
  const int size = 78 * k;
  double sx = 0, sy = 0;
  int n = 0;
  for (int y = 0; y < size; ++y)
  {
    for (int x = 0; x < size; ++x)
    {
      const double dx = (x + 0.5) / k - 39.0, dy = (y + 0.5) / k - 39.0;
      const double r = std::hypot(dx, dy);
      if (r < 8.0 || r > 22.0) continue; // the cap, inside the grip ring
      const PixelWord p = LICE::FetchPixel(strip, x, frame * size + y);
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
  for (const int k : {1, 2})
  {
    auto knob = Load(k == 1 ? "knob.png" : "knob@2x.png");
    ASSERT_NE(knob, nullptr);
    for (int frame = 0; frame < 65; ++frame)
    {
      const double expected = -135.0 + 270.0 * frame / 64.0;
      EXPECT_NEAR(PointerAngle(knob.get(), k, frame), expected, 3.0) << "frame " << frame << " at " << k << "x";
    }
    // Transparent corners, opaque body: the knob sits on the panel through its alpha.
    EXPECT_EQ(LICE::Alpha(LICE::FetchPixel(knob.get(), 0, 0)), 0);
    EXPECT_EQ(LICE::Alpha(LICE::FetchPixel(knob.get(), 39 * k, (32 * 78 + 39) * k)), 255);
  }
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

struct PicturePair
{
  const char *oneX, *twoX;
  int frameHeight; // 1x height of one frame
};
const PicturePair kPairs[] = {
  {"kyvBrindlow.png", "kyvBrindlow@2x.png", 212},
  {"switch.png", "switch@2x.png", 21},
  {"knob.png", "knob@2x.png", 78},
  {"splash.png", "splash@2x.png", 90},
};

// Both are drawn from the same shapes with area coverage, so each 2 x 2 block averages to the
// 1x pixel within a level or two (hinted text differs most). A shape placed or sized
// without the scale, or a sharpening enlargement of the 1x picture, is further off.
TEST(Artwork, PicturesAt2xShrunkToHalfAreThe1xDrawing)
{
  for (const PicturePair& pair : kPairs)
  {
    auto one = Load(pair.oneX), two = Load(pair.twoX);
    ASSERT_TRUE(one && two) << pair.oneX;
    const int frames = one->Height() / pair.frameHeight, w = one->Width(), h = pair.frameHeight;
    for (int frame = 0; frame < frames; ++frame)
    {
      const Region shrunk = Shrink(Crop(two.get(), 0, 2 * frame * h, 2 * w, 2 * h));
      const double own = MeanDifference(shrunk, Crop(one.get(), 0, frame * h, w, h));
      EXPECT_LT(own, 2.0) << pair.twoX << " frame " << frame;
      // Knob frames: closer to its own 1x frame than to the next one (same turn, same order).
      if (frame + 1 < frames)
      {
        EXPECT_LT(own, MeanDifference(shrunk, Crop(one.get(), 0, (frame + 1) * h, w, h)))
          << pair.twoX << " frame " << frame;
      }
    }
  }
}

TEST(Artwork, PicturesAt2xCarryDetailThe1xOnesEnlargedLack)
{
  for (const PicturePair& pair : kPairs)
  {
    auto one = Load(pair.oneX), two = Load(pair.twoX);
    ASSERT_TRUE(one && two) << pair.oneX;
    const int frames = one->Height() / pair.frameHeight, w = one->Width(), h = pair.frameHeight;
    for (int frame = 0; frame < frames; frame += 16)
    {
      const Region oneX = Crop(one.get(), 0, frame * h, w, h);
      std::string why;
      EXPECT_TRUE(DrawnAt2x(Crop(two.get(), 0, 2 * frame * h, 2 * w, 2 * h), oneX, &why))
        << pair.twoX << " frame " << frame << ": " << why;
      // The measure tells an enlarged 1x picture apart.
      EXPECT_FALSE(DrawnAt2x(Enlarge(oneX, false), oneX, &why)) << pair.oneX << " repeated: " << why;
      EXPECT_FALSE(DrawnAt2x(Enlarge(oneX, true), oneX, &why)) << pair.oneX << " interpolated: " << why;
    }
  }
}

} // namespace
