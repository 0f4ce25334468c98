#include "ImageCache.h"

#include "lice.h"

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
  }
  delete doomed;
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
