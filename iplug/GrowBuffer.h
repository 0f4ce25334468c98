// GrowBuffer: a growable block of bytes with a granularity-based growth rule.
// PointerList: an ordered list of object pointers kept in a GrowBuffer.
#pragma once

#include <cstdint>

class GrowBuffer
{
public:
  explicit GrowBuffer(int granularity = 4096, int minCapacity = 0);
  ~GrowBuffer();

  GrowBuffer(const GrowBuffer&) = delete;
  GrowBuffer& operator=(const GrowBuffer&) = delete;

  // Sets the size to newSize bytes. Storage is reallocated when newSize exceeds the
  // capacity, or when shrinking is allowed and the block has become much too large.
  // Returns false (block and size unchanged) when newSize is negative or memory runs out.
  bool Resize(int newSize, bool allowShrink = true);

  // The data, or null while the size is 0.
  void* Get() const { return mSize > 0 ? mData : nullptr; }
  int GetSize() const { return mSize; }
  int Capacity() const { return mCapacity; }
  int Granularity() const { return mGranularity; }

  // How many times any GrowBuffer has obtained memory: lets the audio path prove it allocates nothing.
  static long AllocationCount();

  // The capacity that Resize would choose for newSize bytes (exposed for the growth rule's tests).
  int64_t CapacityFor(int newSize) const;

private:
  void* mData = nullptr;
  int mGranularity;
  int mCapacity = 0;
  int mSize = 0;
  int mMinCapacity;
};

template <class T>
class PointerList
{
public:
  PointerList() : mBuffer(4096) {}
  PointerList(const PointerList&) = delete;
  PointerList& operator=(const PointerList&) = delete;

  int GetSize() const { return mBuffer.GetSize() / static_cast<int>(sizeof(T*)); }

  // The pointer at index, or null for an index outside 0 ... count - 1.
  T* Get(int index) const
  {
    if (index < 0 || index >= GetSize()) return nullptr;
    return static_cast<T**>(mBuffer.Get())[index];
  }

  // Appends item; returns false (list unchanged) when memory runs out.
  bool Add(T* item)
  {
    const int n = GetSize();
    if (!mBuffer.Resize((n + 1) * static_cast<int>(sizeof(T*)), false)) return false;
    static_cast<T**>(mBuffer.Get())[n] = item;
    return true;
  }

  // Deletes every item, the last first, and empties the list.
  void DeleteAll()
  {
    for (int i = GetSize() - 1; i >= 0; --i) delete Get(i);
    mBuffer.Resize(0, true);
  }

private:
  GrowBuffer mBuffer;
};
