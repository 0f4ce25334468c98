// JPEG decoding against ImageMagick's decode of the same files (the .rgb dumps), cut
// data and hostile headers.

#include "GoldenPicture.h"
#include "image_loaders.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kJpegW = 24, kJpegH = 17;
constexpr int kTolerance = 1;  // both decoders use libjpeg; allow for other IDCT choices

using Bitmap = std::unique_ptr<LICE_IBitmap>;

// Compares a decoded bitmap with the reference dump (R, G, B bytes) within the tolerance;
// on a mismatch the decoded picture and a difference picture go next to the dump.
::testing::AssertionResult MatchesRgb(const LICE_IBitmap* bm, const std::string& dumpPath)
{
  const std::vector<unsigned char> rgb = ReadBytes(dumpPath);
  if (!bm) return ::testing::AssertionFailure() << "no bitmap";
  if (bm->Width() != kJpegW || bm->Height() != kJpegH) return ::testing::AssertionFailure() << "size";
  if (rgb.size() != size_t(kJpegW) * kJpegH * 3) return ::testing::AssertionFailure() << "bad dump";
  for (int y = 0; y < kJpegH; ++y)
    for (int x = 0; x < kJpegW; ++x)
    {
      const PixelWord p = PixelAt(*bm, x, y);
      const unsigned char* e = &rgb[(size_t(y) * kJpegW + x) * 3];
      if ((p >> 24) != 0xFF || std::abs(int((p >> 16) & 0xFF) - e[0]) > kTolerance ||
          std::abs(int((p >> 8) & 0xFF) - e[1]) > kTolerance || std::abs(int(p & 0xFF) - e[2]) > kTolerance)
      {
        LICE_MemBitmap expected;
        BitmapFromDump(rgb, kJpegW, kJpegH, 3, expected);
        return ::testing::AssertionFailure() << "pixel (" << x << "," << y << "); " << golden::Report(*bm, expected, dumpPath);
      }
    }
  return ::testing::AssertionSuccess();
}

class JpegKinds : public ::testing::TestWithParam<const char*>
{
};

TEST_P(JpegKinds, FileMatchesReferenceDecoder)
{
  const std::string name = GetParam();
  Bitmap bm(LICE::DecodeJpegFile(ImagePath(name + ".jpg").c_str()));
  EXPECT_TRUE(MatchesRgb(bm.get(), ImagePath(name + ".rgb")));
}

TEST_P(JpegKinds, GivenBitmapWithWideStrideAndBottomUpRows)
{
  const std::string name = GetParam();
  for (bool bottomUp : {false, true})
  {
    GuardedBitmap dest(7, bottomUp);
    EXPECT_EQ(LICE::DecodeJpegFile(ImagePath(name + ".jpg").c_str(), &dest), &dest);
    EXPECT_TRUE(MatchesRgb(&dest, ImagePath(name + ".rgb")));
    EXPECT_TRUE(dest.GuardsIntact());
  }
}

INSTANTIATE_TEST_SUITE_P(AllKinds, JpegKinds, ::testing::Values("color", "color444", "progressive", "gray"));

TEST(JpegDecode, GraySamplesBecomeEqualChannels)
{
  Bitmap bm(LICE::DecodeJpegFile(ImagePath("gray.jpg").c_str()));
  ASSERT_TRUE(bm);
  const std::vector<unsigned char> rgb = ReadBytes(ImagePath("gray.rgb"));
  for (int y = 0; y < kJpegH; ++y)
    for (int x = 0; x < kJpegW; ++x)
    {
      const PixelWord p = PixelAt(*bm, x, y);
      const unsigned g = rgb[(size_t(y) * kJpegW + x) * 3];
      ASSERT_EQ(p, 0xFF000000u | g << 16 | g << 8 | g) << x << "," << y;
    }
}

TEST(JpegDecode, FourComponentImageGivesTransparentBlackRows)
{
  Bitmap bm(LICE::DecodeJpegFile(ImagePath("cmyk.jpg").c_str()));
  ASSERT_TRUE(bm);
  ASSERT_EQ(bm->Width(), 16);
  ASSERT_EQ(bm->Height(), 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_EQ(PixelAt(*bm, x, y), 0u);
}

// Cut inside the compressed data, the image ends where the data does: the bitmap has the
// full size, and the rows that were complete match the whole file's.
TEST(JpegDecode, CutFileStillGivesTheImage)
{
  Bitmap whole(LICE::DecodeJpegFile(ImagePath("color.jpg").c_str()));
  Bitmap cut(LICE::DecodeJpegFile(ImagePath("color_cut.jpg").c_str()));
  ASSERT_TRUE(whole);
  ASSERT_TRUE(cut);
  ASSERT_EQ(cut->Width(), kJpegW);
  ASSERT_EQ(cut->Height(), kJpegH);
  int sameRows = 0;
  for (int y = 0; y < kJpegH; ++y)
  {
    bool same = true;
    for (int x = 0; x < kJpegW; ++x) same = same && PixelAt(*cut, x, y) == PixelAt(*whole, x, y);
    if (!same) break;
    ++sameRows;
  }
  EXPECT_GE(sameRows, 1);
  EXPECT_LT(sameRows, kJpegH);  // the last rows were not in the data
}

TEST(JpegDecode, DataWithoutAnImageGivesNull)
{
  const std::vector<unsigned char> good = ReadBytes(ImagePath("color.jpg"));
  const std::string path = ::testing::TempDir() + "lice_bad.jpg";
  // Cut inside the headers, before the frame header: no image.
  WriteBytes(path, std::vector<unsigned char>(good.begin(), good.begin() + 20));
  EXPECT_EQ(LICE::DecodeJpegFile(path.c_str()), nullptr);
  WriteBytes(path, std::vector<unsigned char>(200, 0x5A));
  EXPECT_EQ(LICE::DecodeJpegFile(path.c_str()), nullptr);
  WriteBytes(path, {});
  EXPECT_EQ(LICE::DecodeJpegFile(path.c_str()), nullptr);
  std::remove(path.c_str());
  EXPECT_EQ(LICE::DecodeJpegFile(path.c_str()), nullptr);  // no such file
}

TEST(JpegDecode, HugeDeclaredSizeIsRefused)
{
  std::vector<unsigned char> jpeg = ReadBytes(ImagePath("color.jpg"));
  size_t sof = 0;
  for (size_t i = 2; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0)
    {
      sof = i;
      break;
    }
  ASSERT_NE(sof, 0u);
  jpeg[sof + 5] = jpeg[sof + 7] = 0xFD;  // height and width 0xFDxx: about 4e9 pixels
  const std::string path = ::testing::TempDir() + "lice_huge.jpg";
  WriteBytes(path, jpeg);
  GuardedBitmap dest(0, false);
  EXPECT_EQ(LICE::DecodeJpegFile(path.c_str(), &dest), nullptr);
  EXPECT_EQ(dest.Width(), 0);
  std::remove(path.c_str());
}

TEST(JpegDecode, BitmapThatCannotTakeTheSizeGivesNull)
{
  GuardedBitmap refuses(0, false, /*refuseSize=*/true);
  EXPECT_EQ(LICE::DecodeJpegFile(ImagePath("color.jpg").c_str(), &refuses), nullptr);
}

}  // namespace
