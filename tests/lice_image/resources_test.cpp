// Images carried inside the module (embedded by brindlow_embed_resources in this test's
// build) and the decoders that read them.

#include "image_loaders.h"
#include "resources.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Bitmap = std::unique_ptr<LICE_IBitmap>;

bool SamePixels(const LICE_IBitmap& a, const LICE_IBitmap& b)
{
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelAt(a, x, y) != PixelAt(b, x, y)) return false;
  return true;
}

TEST(ModuleResources, FoundByIdAndTypeWithTheFileBytes)
{
  const unsigned char* bytes = nullptr;
  size_t size = 0;
  ASSERT_TRUE(LICE_FindModuleResource(nullptr, 100, "PNG", &bytes, &size));
  const std::vector<unsigned char> file = ReadBytes(ImagePath("rgba8.png"));
  ASSERT_EQ(size, file.size());
  EXPECT_TRUE(std::equal(file.begin(), file.end(), bytes));

  EXPECT_TRUE(LICE_FindModuleResource(nullptr, 100, "png", &bytes, &size));  // type ignores case
  EXPECT_FALSE(LICE_FindModuleResource(nullptr, 100, "JPG", &bytes, &size));
  EXPECT_FALSE(LICE_FindModuleResource(nullptr, 99, "PNG", &bytes, &size));
  EXPECT_FALSE(LICE_FindModuleResource(nullptr, 100, nullptr, &bytes, &size));
}

TEST(ModuleResources, PngResourceDecodesLikeTheFile)
{
  Bitmap fromResource(LICE::DecodePngResource(nullptr, 101));
  Bitmap fromFile(LICE::DecodePngFile(ImagePath("palette4_trns.png").c_str()));
  ASSERT_TRUE(fromResource);
  ASSERT_TRUE(fromFile);
  EXPECT_TRUE(SamePixels(*fromResource, *fromFile));

  LICE_MemBitmap dest(1, 1, 4);
  EXPECT_EQ(LICE::DecodePngResource(nullptr, 100, &dest), &dest);
  EXPECT_EQ(dest.Width(), 13);
}

TEST(ModuleResources, JpegResourceDecodesLikeTheFile)
{
  Bitmap fromResource(LICE::DecodeJpegResource(nullptr, 7));
  Bitmap fromFile(LICE::DecodeJpegFile(ImagePath("color.jpg").c_str()));
  ASSERT_TRUE(fromResource);
  ASSERT_TRUE(fromFile);
  EXPECT_TRUE(SamePixels(*fromResource, *fromFile));
}

// The memory source ends cut data with an end-of-image marker, like the file source.
TEST(ModuleResources, CutJpegResourceDecodesLikeTheCutFile)
{
  Bitmap fromResource(LICE::DecodeJpegResource(nullptr, 8));
  Bitmap fromFile(LICE::DecodeJpegFile(ImagePath("color_cut.jpg").c_str()));
  ASSERT_TRUE(fromResource);
  ASSERT_TRUE(fromFile);
  EXPECT_TRUE(SamePixels(*fromResource, *fromFile));
}

TEST(ModuleResources, MissingWrongTypeOrShortResourceGivesNull)
{
  EXPECT_EQ(LICE::DecodePngResource(nullptr, 99), nullptr);
  EXPECT_EQ(LICE::DecodePngResource(nullptr, 7), nullptr);   // a JPG resource
  EXPECT_EQ(LICE::DecodeJpegResource(nullptr, 100), nullptr);  // a PNG resource
  EXPECT_EQ(LICE::DecodePngResource(nullptr, 102), nullptr);  // 7 bytes
  EXPECT_EQ(LICE::DecodeJpegResource(nullptr, 9), nullptr);   // 7 bytes
}

}  // namespace
