// The module-wide image cache and image loading through the graphics object.
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "IDeferredImage.h"
#include "ImageCache.h"
#include "TestSupport.h"

namespace {

// The cache is shared by the whole process; each test uses its own resource ids
// and checks counts relative to where it started.
class ImageCacheTest : public ::testing::Test
{
protected:
  ImageCacheTest() : graphics(&plug, 100, 100) { graphics.CreateDrawSurface(); }

  IImageCache& cache = IImageCache::Shared();
  TestPlug plug;
  TestGraphics graphics;
};

TEST_F(ImageCacheTest, SecondLoadOfAnIdSharesTheBitmapAndDecodesNothing)
{
  const IBitmapStrip first = graphics.LoadImageStrip(1102, "img/knob.png", 65);
  TestPlug otherPlug;
  TestGraphics other(&otherPlug, 10, 10);  // another editor of the same process
  const IBitmapStrip second = other.LoadImageStrip(1102, "img/knob.png", 65);

  ASSERT_NE(first.bitmap, nullptr);
  EXPECT_EQ(first.bitmap, second.bitmap);
  EXPECT_EQ(graphics.decodes, (std::vector<int>{1102}));
  EXPECT_TRUE(other.decodes.empty());
  EXPECT_EQ(first.width, 3);
  EXPECT_EQ(first.height, 2);
  EXPECT_EQ(second.frames, 65);
}

TEST_F(ImageCacheTest, FrameCountIsTakenAsGiven)
{
  const IBitmapStrip strip = graphics.LoadImageStrip(1103, "img/splash.png", 7);
  EXPECT_EQ(strip.frames, 7);
  EXPECT_EQ(strip.height, 2);
}

TEST_F(ImageCacheTest, ReleasingALoadedImageMakesTheNextLoadDecodeAgain)
{
  const IBitmapStrip strip = graphics.LoadImageStrip(1104, "x.png", 1);
  const int count = cache.Count();
  graphics.ReleaseImage(strip);
  EXPECT_EQ(cache.Count(), count - 1);
  EXPECT_EQ(cache.Find(1104), nullptr);
  graphics.LoadImageStrip(1104, "x.png", 1);
  EXPECT_EQ(graphics.decodes, (std::vector<int>{1104, 1104}));
}

TEST_F(ImageCacheTest, ScaledCopyIsOwnedByTheCacheUntilReleased)
{
  const IBitmapStrip source = graphics.LoadImageStrip(1105, "x.png", 2);
  const int count = cache.Count();
  const IBitmapStrip scaled = graphics.ScaledCopy(source, 12, 8);
  EXPECT_EQ(cache.Count(), count + 1);
  EXPECT_TRUE(cache.Holds(scaled.bitmap));
  EXPECT_EQ(scaled.width, 12);
  EXPECT_EQ(scaled.height, 8);
  EXPECT_EQ(scaled.frames, 2);
  EXPECT_EQ(scaled.bitmap->Width(), 12);
  // The source is one opaque colour, so every scaled pixel is that colour.
  EXPECT_EQ(LICE::FetchPixel(scaled.bitmap, 11, 7), 0xFF102030u);
  EXPECT_EQ(LICE::FetchPixel(scaled.bitmap, 0, 0), 0xFF102030u);

  graphics.ReleaseImage(scaled);
  EXPECT_EQ(cache.Count(), count);
  EXPECT_FALSE(cache.Holds(scaled.bitmap));
  EXPECT_TRUE(cache.Holds(source.bitmap));
}

TEST_F(ImageCacheTest, CroppedCopyTakesTheRectangleOfTheSource)
{
  LICE_MemBitmap* rows = MakeRowCodedStrip(20, 30);
  graphics.RetainImage(IBitmapStrip(rows, 20, 30, 1));
  const IBitmapStrip cropped = graphics.CroppedCopy(IBitmapStrip(rows, 20, 30, 3), IBounds(5, 10, 15, 14));
  EXPECT_EQ(cropped.width, 10);
  EXPECT_EQ(cropped.height, 4);
  EXPECT_EQ(cropped.frames, 3);
  EXPECT_EQ(RowOf(LICE::FetchPixel(cropped.bitmap, 0, 0)), 10);
  EXPECT_EQ(RowOf(LICE::FetchPixel(cropped.bitmap, 9, 3)), 13);
  EXPECT_TRUE(cache.Holds(cropped.bitmap));
  graphics.ReleaseImage(cropped);
  graphics.ReleaseImage(IBitmapStrip(rows, 20, 30, 1));  // deletes |rows|
  EXPECT_FALSE(cache.Holds(rows));
}

TEST_F(ImageCacheTest, ReleasingAnUnknownBitmapLeavesItAlone)
{
  LICE_MemBitmap stranger(4, 4, 4);
  const int count = cache.Count();
  graphics.ReleaseImage(IBitmapStrip(&stranger, 4, 4, 1));
  graphics.ReleaseImage(IBitmapStrip());
  EXPECT_EQ(cache.Count(), count);
  EXPECT_EQ(stranger.Width(), 4);  // still alive
}

TEST_F(ImageCacheTest, MissingArtworkIsReportedAndNeitherCachedNorReturned)
{
  graphics.missing.push_back(1199);
  const int count = cache.Count();
  ::testing::internal::CaptureStderr();
  const IBitmapStrip strip = graphics.LoadImageStrip(1199, "img/gone.png", 1);
  const std::string report = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("imgResourceFound"), std::string::npos);
  EXPECT_NE(report.find("IGraphicsLice"), std::string::npos);
  EXPECT_EQ(strip.bitmap, nullptr);
  EXPECT_EQ(strip.width, 0);
  EXPECT_EQ(cache.Count(), count);
  EXPECT_EQ(cache.Find(1199), nullptr);
}

TEST(ImageCacheLockTest, ConcurrentInsertsAndRemovalsKeepEveryEntry)
{
  IImageCache cache;  // a private cache: the shared one is untouched
  std::vector<LICE_MemBitmap*> kept;
  for (int i = 0; i < 4; ++i) kept.push_back(new LICE_MemBitmap(1, 1, 4));
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&cache, t] {
      for (int i = 0; i < 200; ++i)
      {
        auto* bitmap = new LICE_MemBitmap(1, 1, 4);
        cache.Insert(bitmap, 5000 + t);
        cache.Remove(bitmap);
      }
    });
  for (int i = 0; i < 4; ++i) cache.Insert(kept[size_t(i)], 6000 + i);
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(cache.Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(cache.Find(6000 + i), kept[size_t(i)]);
}

// A decoder that counts its calls and makes a bitmap of the size the resource id says.
std::atomic<int> gDecoderCalls{0};
LICE_IBitmap* CountingDecoder(void*, int resourceId, LICE_IBitmap*)
{
  gDecoderCalls.fetch_add(1);
  return new LICE_MemBitmap(resourceId, 2, 4);
}

// Two editors may paint the same cached image from two threads: the pixels are decoded
// once, and every reader gets the same ones.
TEST(DeferredImageTest, DecodedOnceWhicheverThreadReadsItFirst)
{
  gDecoderCalls = 0;
  IDeferredImage image(8, 2, &CountingDecoder, nullptr, 8);
  EXPECT_FALSE(image.IsDecoded());
  EXPECT_EQ(gDecoderCalls.load(), 0);
  std::vector<PixelWord*> seen(4, nullptr);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < seen.size(); ++t) threads.emplace_back([&image, &seen, t] { seen[t] = image.PixelData(); });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(gDecoderCalls.load(), 1);
  EXPECT_TRUE(image.IsDecoded());
  ASSERT_NE(seen[0], nullptr);
  for (PixelWord* pixels : seen) EXPECT_EQ(pixels, seen[0]);
  EXPECT_GE(image.RowStride(), 8);
}

// Pixels of another size than the header promised would be read past their end: none.
TEST(DeferredImageTest, PixelsOfAnotherSizeThanTheHeaderSaidAreDropped)
{
  IDeferredImage image(9, 2, &CountingDecoder, nullptr, 8);
  EXPECT_EQ(image.PixelData(), nullptr);
  EXPECT_EQ(image.Width(), 9);
  EXPECT_TRUE(image.IsDecoded());
  EXPECT_FALSE(image.SetSize(1, 1));
}

}  // namespace
