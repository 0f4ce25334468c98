#pragma once
// The module-wide image cache: every decoded, scaled or cropped image lives
// here exactly once, shared by all plug-in instances and editors, until it is
// released or the module unloads. Each operation holds the cache's lock. An
// artwork image may be held before its pixels are decoded (IDeferredImage): it
// decodes itself at its first paint, outside this lock.

#include <mutex>
#include <vector>

class LICE_IBitmap;

class IImageCache
{
public:
  static IImageCache& Shared();

  IImageCache() = default;
  ~IImageCache();  // deletes every cached bitmap
  IImageCache(const IImageCache&) = delete;
  IImageCache& operator=(const IImageCache&) = delete;

  // The bitmap of the first entry with |resourceId|, or null.
  LICE_IBitmap* Find(int resourceId);
  // Appends an entry; the cache owns |bitmap| from now on. Id -1 marks
  // bitmaps made at run time.
  void Insert(LICE_IBitmap* bitmap, int resourceId);
  // Removes the first entry holding |bitmap| and deletes the bitmap; a bitmap
  // the cache does not hold is left alone.
  void Remove(LICE_IBitmap* bitmap);

  int Count();
  bool Holds(LICE_IBitmap* bitmap);

private:
  struct Entry
  {
    int resourceId;
    LICE_IBitmap* bitmap;
  };

  std::mutex mLock;
  std::vector<Entry> mEntries;
};
