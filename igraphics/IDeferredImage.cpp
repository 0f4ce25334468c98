#include "IDeferredImage.h"

namespace
{
std::atomic<int> gDecodeCount{0};
}  // namespace

IDeferredImage::IDeferredImage(int width, int height, Decoder decode, void* module, int resourceId)
  : mWidth(width), mHeight(height), mDecode(decode), mModule(module), mResourceId(resourceId)
{
}

int IDeferredImage::DecodeCount() { return gDecodeCount.load(); }

const LICE_IBitmap* IDeferredImage::Decoded() const
{
  std::call_once(mDecodeOnce, [this] {
    LICE_IBitmap* bitmap = mDecode ? mDecode(mModule, mResourceId, nullptr) : nullptr;
    if (bitmap && (bitmap->Width() != mWidth || bitmap->Height() != mHeight))
    {
      delete bitmap;
      bitmap = nullptr;
    }
    mPixels.reset(bitmap);
    gDecodeCount.fetch_add(1);
    mDecodeDone.store(true, std::memory_order_release);
  });
  return mPixels.get();
}

PixelWord* IDeferredImage::PixelData() const
{
  const LICE_IBitmap* pixels = Decoded();
  return pixels ? pixels->PixelData() : nullptr;
}

int IDeferredImage::RowStride() const
{
  const LICE_IBitmap* pixels = Decoded();
  return pixels ? pixels->RowStride() : mWidth;
}

bool IDeferredImage::IsBottomUp() const
{
  const LICE_IBitmap* pixels = Decoded();
  return pixels && pixels->IsBottomUp();
}
