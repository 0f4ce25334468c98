#include "GrowBuffer.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr int64_t kPage = 4096;
constexpr int64_t kMaxStep = 4194304;
std::atomic<long> sAllocations{0};
} // namespace

GrowBuffer::GrowBuffer(int granularity, int minCapacity)
  : mGranularity(std::max(granularity, 1)), mMinCapacity(std::max(minCapacity, 0))
{
}

GrowBuffer::~GrowBuffer()
{
  std::free(mData);
}

int64_t GrowBuffer::CapacityFor(int newSize) const
{
  const int64_t n = newSize;
  int64_t g = std::max<int64_t>(n / 2, mGranularity);
  int64_t capacity;
  if (mGranularity < 4096)
  {
    capacity = n + g;
  }
  else
  {
    g = std::clamp<int64_t>(g / kPage * kPage, kPage, kMaxStep);
    capacity = (g + n + 96) / kPage * kPage - 96;
  }
  return std::max<int64_t>(capacity, mMinCapacity);
}

bool GrowBuffer::Resize(int newSize, bool allowShrink)
{
  if (newSize < 0) return false;
  if (newSize == mSize) return true;

  const bool grow = newSize > mCapacity;
  const bool shrink = allowShrink && newSize < mSize && newSize < mCapacity / 2 &&
                      newSize < mCapacity - 4 * static_cast<int64_t>(mGranularity);
  if (grow || shrink)
  {
    const int64_t capacity = CapacityFor(newSize);
    if (capacity > INT_MAX) return false;
    if (capacity != mCapacity)
    {
      void* data = std::realloc(mData, static_cast<size_t>(std::max<int64_t>(capacity, 1)));
      if (!data)
      {
        // Retry as a fresh block holding the bytes that are kept.
        data = std::malloc(static_cast<size_t>(std::max<int64_t>(capacity, 1)));
        if (!data) return false;
        if (mData) std::memcpy(data, mData, static_cast<size_t>(std::min(mSize, newSize)));
        std::free(mData);
      }
      ++sAllocations;
      mData = data;
      mCapacity = static_cast<int>(capacity);
    }
  }
  mSize = newSize;
  return true;
}

long GrowBuffer::AllocationCount()
{
  return sAllocations.load();
}
