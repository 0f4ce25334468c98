// The extension-checking file decoders, their dialog filters and the handler list.

#include "image_loaders.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using Bitmap = std::unique_ptr<LICE_IBitmap>;

TEST(ImageNames, ExtensionIsWhatFollowsTheLastDotOrSlash)
{
  EXPECT_TRUE(LICE::ImageNameHasExtension("a/b.PNG", ".png"));
  EXPECT_TRUE(LICE::ImageNameHasExtension("c:\\art\\knob.Png", ".png"));
  EXPECT_TRUE(LICE::ImageNameHasExtension("x.y.png", ".png"));
  EXPECT_FALSE(LICE::ImageNameHasExtension("a.png/b", ".png"));
  EXPECT_FALSE(LICE::ImageNameHasExtension("a.png\\b", ".png"));
  EXPECT_FALSE(LICE::ImageNameHasExtension("png", ".png"));
  EXPECT_FALSE(LICE::ImageNameHasExtension("a.png.bak", ".png"));
  EXPECT_FALSE(LICE::ImageNameHasExtension("", ".png"));
  EXPECT_FALSE(LICE::ImageNameHasExtension(nullptr, ".png"));
}

TEST(ImageNames, CheckedDecodersRefuseOtherExtensions)
{
  // Copies of real images under names that do or do not fit.
  const std::string dir = ::testing::TempDir();
  const std::vector<unsigned char> png = ReadBytes(ImagePath("rgb8.png"));
  const std::vector<unsigned char> jpg = ReadBytes(ImagePath("gray.jpg"));
  const std::string pngOdd = dir + "lice_png.dat", jpgJfif = dir + "lice_x.JFIF", jpgJpe = dir + "lice_x.jpe";
  WriteBytes(pngOdd, png);
  WriteBytes(jpgJfif, jpg);
  WriteBytes(jpgJpe, jpg);

  EXPECT_EQ(LICE::DecodePngFileIfNamed(pngOdd.c_str(), true, nullptr), nullptr);
  EXPECT_TRUE(Bitmap(LICE::DecodePngFileIfNamed(pngOdd.c_str(), false, nullptr)));
  EXPECT_TRUE(Bitmap(LICE::DecodeJpegFileIfNamed(jpgJfif.c_str(), true, nullptr)));
  EXPECT_EQ(LICE::DecodeJpegFileIfNamed(jpgJpe.c_str(), true, nullptr), nullptr);
  EXPECT_TRUE(Bitmap(LICE::DecodeJpegFileIfNamed(jpgJpe.c_str(), false, nullptr)));
  EXPECT_TRUE(Bitmap(LICE::DecodePngFileIfNamed(ImagePath("rgb8.png").c_str(), true, nullptr)));
  EXPECT_TRUE(Bitmap(LICE::DecodeJpegFileIfNamed(ImagePath("gray.jpg").c_str(), true, nullptr)));

  // The wrong decoder for the content gives null, not a bitmap.
  EXPECT_EQ(LICE::DecodeJpegFileIfNamed(pngOdd.c_str(), false, nullptr), nullptr);
  EXPECT_EQ(LICE::DecodePngFileIfNamed(jpgJfif.c_str(), false, nullptr), nullptr);
  for (const std::string& f : {pngOdd, jpgJfif, jpgJpe}) std::remove(f.c_str());
}

TEST(ImageHandlers, FiltersAreNulSeparatedPairs)
{
  const char png[] = "PNG files (*.PNG)\0*.PNG\0";
  const char jpeg[] = "JPEG files (*.JPG;*.JPEG;*.JFIF)\0*.JPG;*.JPEG;*.JFIF\0";
  EXPECT_EQ(std::memcmp(LICE::PngFileFilter(), png, sizeof png), 0);
  EXPECT_EQ(std::memcmp(LICE::JpegFileFilter(), jpeg, sizeof jpeg), 0);
}

TEST(ImageHandlers, ListHoldsPngThenJpeg)
{
  const LICE::ImageFileHandler* h = LICE::FirstImageFileHandler();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->fileFilter, &LICE::PngFileFilter);
  EXPECT_EQ(h->decodeFile, &LICE::DecodePngFileIfNamed);
  ASSERT_NE(h->next, nullptr);
  EXPECT_EQ(h->next->fileFilter, &LICE::JpegFileFilter);
  EXPECT_EQ(h->next->decodeFile, &LICE::DecodeJpegFileIfNamed);
  EXPECT_EQ(h->next->next, nullptr);

  Bitmap bm(h->decodeFile(ImagePath("rgba8.png").c_str(), true, nullptr));
  EXPECT_TRUE(bm);
}

}  // namespace
