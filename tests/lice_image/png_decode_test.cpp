// PNG decoding of every colour type, bit depth and interlacing against ImageMagick's
// decode of the same files (the .rgba dumps next to them).

#include "GoldenPicture.h"
#include "image_loaders.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

// Compares a decoded bitmap with the reference dump (straight R, G, B, A bytes); reports
// the first mismatch and leaves the decoded picture and a difference picture next to the
// dump.
::testing::AssertionResult MatchesRgba(const LICE_IBitmap* bm, const std::string& dumpPath, int width, int height)
{
  const std::vector<unsigned char> rgba = ReadBytes(dumpPath);
  if (!bm) return ::testing::AssertionFailure() << "no bitmap";
  if (bm->Width() != width || bm->Height() != height)
    return ::testing::AssertionFailure() << "size " << bm->Width() << "x" << bm->Height();
  if (rgba.size() != size_t(width) * height * 4) return ::testing::AssertionFailure() << "bad dump";
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
    {
      const unsigned char* e = &rgba[(size_t(y) * width + x) * 4];
      const PixelWord want = PixelWord(e[3]) << 24 | PixelWord(e[0]) << 16 | PixelWord(e[1]) << 8 | e[2];
      const PixelWord got = PixelAt(*bm, x, y);
      if (got != want)
      {
        char text[80];
        std::snprintf(text, sizeof text, "pixel (%d,%d): got %08X, want %08X", x, y, got, want);
        LICE_MemBitmap expected;
        BitmapFromDump(rgba, width, height, 4, expected);
        return ::testing::AssertionFailure() << text << "; " << golden::Report(*bm, expected, dumpPath);
      }
    }
  return ::testing::AssertionSuccess();
}

constexpr int kW = 13, kH = 9;  // the size of every generated test PNG

class PngColourTypes : public ::testing::TestWithParam<const char*>
{
protected:
  std::string png() const { return ImagePath(std::string(GetParam()) + ".png"); }
  std::string expected() const { return ImagePath(std::string(GetParam()) + ".rgba"); }
};

TEST_P(PngColourTypes, MemoryPathMatchesReferenceDecoder)
{
  const std::vector<unsigned char> file = ReadBytes(png());
  std::unique_ptr<LICE_IBitmap> bm(LICE::DecodePngBlock(file.data(), file.size()));
  EXPECT_TRUE(MatchesRgba(bm.get(), expected(), kW, kH));
}

// The layout reads the size before anything is decoded: it must be the size decoded later.
TEST_P(PngColourTypes, HeaderSizeIsTheDecodedSize)
{
  const std::vector<unsigned char> file = ReadBytes(png());
  int width = 0, height = 0;
  ASSERT_TRUE(LICE::ReadPngSize(file.data(), file.size(), &width, &height));
  EXPECT_EQ(width, kW);
  EXPECT_EQ(height, kH);
}

TEST_P(PngColourTypes, FilePathMatchesReferenceDecoder)
{
  std::unique_ptr<LICE_IBitmap> bm(LICE::DecodePngFile(png().c_str()));
  EXPECT_TRUE(MatchesRgba(bm.get(), expected(), kW, kH));
}

// Rows go through the stride and the row order of the given bitmap, and nothing lands
// outside the image.
TEST_P(PngColourTypes, GivenBitmapWithWideStrideAndBottomUpRows)
{
  for (bool bottomUp : {false, true})
  {
    GuardedBitmap dest(5, bottomUp);
    const std::vector<unsigned char> file = ReadBytes(png());
    EXPECT_EQ(LICE::DecodePngBlock(file.data(), file.size(), &dest), &dest);
    EXPECT_TRUE(MatchesRgba(&dest, expected(), kW, kH)) << "bottomUp " << bottomUp;
    EXPECT_TRUE(dest.GuardsIntact());

    GuardedBitmap fromFile(3, bottomUp);
    EXPECT_EQ(LICE::DecodePngFile(png().c_str(), &fromFile), &fromFile);
    EXPECT_TRUE(MatchesRgba(&fromFile, expected(), kW, kH)) << "bottomUp " << bottomUp;
    EXPECT_TRUE(fromFile.GuardsIntact());
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, PngColourTypes,
    ::testing::Values("gray1", "gray2", "gray4", "gray8", "gray16", "gray2_trns", "gray8_trns",
                      "gray_alpha8", "gray_alpha16", "rgb8", "rgb16", "rgb8_trns", "rgb16_trns",
                      "rgba8", "rgba16", "palette1", "palette2", "palette4", "palette8",
                      "palette1_trns", "palette2_trns", "palette4_trns", "palette8_trns",
                      "rgba8_interlaced", "gray1_interlaced", "rgb16_interlaced",
                      "palette4_trns_interlaced"));

TEST(PngDecode, RgbaBytesBecomeAlphaHighWord)
{
  // The first pixel of rgba8.png, as stored in the file: R, G, B, A.
  const std::vector<unsigned char> rgba = ReadBytes(ImagePath("rgba8.rgba"));
  std::unique_ptr<LICE_IBitmap> bm(LICE::DecodePngFile(ImagePath("rgba8.png").c_str()));
  ASSERT_TRUE(bm);
  const unsigned char* mem = reinterpret_cast<const unsigned char*>(bm->PixelData());
  // In memory: blue, green, red, alpha.
  EXPECT_EQ(mem[0], rgba[2]);
  EXPECT_EQ(mem[1], rgba[1]);
  EXPECT_EQ(mem[2], rgba[0]);
  EXPECT_EQ(mem[3], rgba[3]);
}

TEST(PngDecode, OpaqueKindsLoadFullyOpaque)
{
  for (const char* name : {"rgb8.png", "gray4.png", "palette8.png", "rgb16_interlaced.png"})
  {
    std::unique_ptr<LICE_IBitmap> bm(LICE::DecodePngFile(ImagePath(name).c_str()));
    ASSERT_TRUE(bm) << name;
    for (int y = 0; y < bm->Height(); ++y)
      for (int x = 0; x < bm->Width(); ++x) ASSERT_EQ(PixelAt(*bm, x, y) >> 24, 0xFFu) << name;
  }
}

TEST(PngDecode, GivenMemBitmapIsResizedAndReturned)
{
  LICE_MemBitmap dest(200, 3, 4);
  std::unique_ptr<LICE_IBitmap> ref(LICE::DecodePngFile(ImagePath("palette8_trns.png").c_str()));
  ASSERT_TRUE(ref);
  EXPECT_EQ(LICE::DecodePngFile(ImagePath("palette8_trns.png").c_str(), &dest), &dest);
  ASSERT_EQ(dest.Width(), kW);
  ASSERT_EQ(dest.Height(), kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) EXPECT_EQ(PixelAt(dest, x, y), PixelAt(*ref, x, y));
}

TEST(PngDecode, BitmapThatCannotTakeTheSizeGivesNull)
{
  GuardedBitmap refuses(0, false, /*refuseSize=*/true);
  const std::vector<unsigned char> file = ReadBytes(ImagePath("rgb8.png"));
  EXPECT_EQ(LICE::DecodePngBlock(file.data(), file.size(), &refuses), nullptr);
  EXPECT_EQ(LICE::DecodePngFile(ImagePath("rgb8.png").c_str(), &refuses), nullptr);
}

TEST(PngDecode, MissingFileGivesNull)
{
  EXPECT_EQ(LICE::DecodePngFile(ImagePath("no-such-file.png").c_str()), nullptr);
  EXPECT_EQ(LICE::DecodePngFile(nullptr), nullptr);
}

TEST(PngDecode, ShortOrUnsignedMemoryGivesNull)
{
  std::vector<unsigned char> file = ReadBytes(ImagePath("rgb8.png"));
  EXPECT_EQ(LICE::DecodePngBlock(file.data(), 7), nullptr);
  EXPECT_EQ(LICE::DecodePngBlock(nullptr, 100), nullptr);
  EXPECT_FALSE(LICE::ReadPngSize(file.data(), 23, nullptr, nullptr));  // cut inside the header
  // A size the decoder refuses is refused here too, so the layout never promises it.
  std::vector<unsigned char> huge = file;
  huge[16] = huge[20] = 0x40;
  EXPECT_FALSE(LICE::ReadPngSize(huge.data(), huge.size(), nullptr, nullptr));
  EXPECT_EQ(LICE::DecodePngBlock(huge.data(), huge.size()), nullptr);
  file[1] ^= 0x20;  // "PNG" -> "pNG"
  EXPECT_EQ(LICE::DecodePngBlock(file.data(), file.size()), nullptr);
  EXPECT_FALSE(LICE::ReadPngSize(file.data(), file.size(), nullptr, nullptr));
}

}  // namespace
