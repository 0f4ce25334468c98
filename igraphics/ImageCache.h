#pragma once
// The module-wide image cache: every decoded, scaled or cropped image lives
// here exactly once, shared by all plug-in instances and editors, until it is
// released or the module unloads. Each operation holds the cache's lock. An
// artwork image may be held before its pixels are decoded (IDeferredImage): it
// decodes itself at its first paint, outside this lock.

#include <mutex>
#include <vector>

class LICE_IBitmap;
class LICE_MemBitmap;

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

  // --- cached images at the scales editors draw them ---
  // A film strip of |frames| frames of |frameHeight| rows, |width| wide, |scale| times
  // the size of |source|, made frame by frame from |from| (|source| itself, or its
  // double-size counterpart). Frame |frame| (from 0; -1 all) is resampled, under the
  // cache's lock, the first time any editor asks for it; frames made before are only
  // read. The copy lives as long as |source| stays cached; for an image the cache does
  // not hold there is none (null).
  struct ScaledPixels
  {
    const LICE_IBitmap* bitmap = nullptr;
    int width = 0, frameHeight = 0;
  };
  ScaledPixels ScaledFrame(const LICE_IBitmap* source, const LICE_IBitmap* from, int frames, int width,
                           int frameHeight, double scale, int frame);

private:
  struct Scaled
  {
    const LICE_IBitmap* source;
    double scale;
    int frames;
    LICE_MemBitmap* pixels;
    int width, frameHeight;
    std::vector<bool> made;  // per frame
  };
  std::vector<Scaled> mScaled;

  struct Entry
  {
    int resourceId;
    LICE_IBitmap* bitmap;
  };

  std::mutex mLock;
  std::vector<Entry> mEntries;
};
