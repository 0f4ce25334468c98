#include "ImageCache.h"

#include "lice.h"
#include "resample.h"

IImageCache& IImageCache::Shared()
{
  static IImageCache cache;
  return cache;
}

IImageCache::~IImageCache()
{
  std::lock_guard<std::mutex> hold(mLock);
  for (Entry& entry : mEntries) delete entry.bitmap;
  mEntries.clear();
  for (Scaled& scaled : mScaled) delete scaled.pixels;
  mScaled.clear();
}

LICE_IBitmap* IImageCache::Find(int resourceId)
{
  std::lock_guard<std::mutex> hold(mLock);
  for (const Entry& entry : mEntries)
    if (entry.resourceId == resourceId) return entry.bitmap;
  return nullptr;
}

void IImageCache::Insert(LICE_IBitmap* bitmap, int resourceId)
{
  if (!bitmap) return;
  std::lock_guard<std::mutex> hold(mLock);
  mEntries.push_back({resourceId, bitmap});
}

void IImageCache::Remove(LICE_IBitmap* bitmap)
{
  if (!bitmap) return;
  LICE_IBitmap* doomed = nullptr;
  {
    std::lock_guard<std::mutex> hold(mLock);
    for (auto it = mEntries.begin(); it != mEntries.end(); ++it)
    {
      if (it->bitmap == bitmap)
      {
        doomed = it->bitmap;
        mEntries.erase(it);
        break;
      }
    }
    // Its copies at scale go with it: a new image could come at its address.
    for (size_t i = mScaled.size(); doomed && i-- > 0;)
    {
      if (mScaled[i].source != doomed) continue;
      delete mScaled[i].pixels;
      mScaled.erase(mScaled.begin() + std::ptrdiff_t(i));
    }
  }
  delete doomed;
}

IImageCache::ScaledPixels IImageCache::ScaledFrame(const LICE_IBitmap* source, const LICE_IBitmap* from, int frames,
                                                   int width, int frameHeight, double scale, int frame)
{
  if (!source || !from || frames < 1 || width <= 0 || frameHeight <= 0) return ScaledPixels();
  std::lock_guard<std::mutex> hold(mLock);
  bool held = false;
  for (const Entry& entry : mEntries) held = held || entry.bitmap == source;
  if (!held) return ScaledPixels();
  Scaled* copy = nullptr;
  for (Scaled& known : mScaled)
    if (known.source == source && known.scale == scale && known.frames == frames) copy = &known;
  if (!copy)
  {
    auto* pixels = new LICE_MemBitmap(width, frameHeight * frames, 4);
    LICE::FillArea(pixels, 0, 0, width, frameHeight * frames, 0u, 1.0f, LICE::kOpCopy);
    mScaled.push_back({source, scale, frames, pixels, width, frameHeight, std::vector<bool>(size_t(frames), false)});
    copy = &mScaled.back();
  }
  const int sourceFrameHeight = from->Height() / frames;
  for (int k = frame < 0 ? 0 : frame; k < frames && (frame < 0 || k == frame); ++k)
  {
    if (copy->made[size_t(k)]) continue;
    copy->made[size_t(k)] = true;
    // Reading |from| decodes it when it was deferred: no decoder takes this lock.
    LICE::ResampleImage(copy->pixels, 0, k * frameHeight, width, frameHeight, from,
                        LICE::Rect{0, k * sourceFrameHeight, from->Width(), (k + 1) * sourceFrameHeight});
  }
  return ScaledPixels{copy->pixels, copy->width, copy->frameHeight};
}

int IImageCache::Count()
{
  std::lock_guard<std::mutex> hold(mLock);
  return int(mEntries.size());
}

bool IImageCache::Holds(LICE_IBitmap* bitmap)
{
  std::lock_guard<std::mutex> hold(mLock);
  for (const Entry& entry : mEntries)
    if (entry.bitmap == bitmap) return true;
  return false;
}
