#include "bitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace
{
// Only the lowest set bit of the requested alignment counts; 0 and 1 mean none.
int AlignMaskFor(int lineAlignment)
{
  const unsigned a = static_cast<unsigned>(lineAlignment);
  if (a <= 1) return 0;
  const unsigned lowest = a & (~a + 1u);
  // Alignments beyond 2^30 pixels cannot be honoured by any real bitmap; keep the mask an int.
  return lowest > (1u << 30) ? (1 << 30) - 1 : static_cast<int>(lowest - 1);
}

// Largest block we hand out: capacity is an int32 and the block carries 63 bytes extra.
constexpr std::int64_t kMaxCapacity = INT_MAX - 63;
} // namespace

LICE_MemBitmap::LICE_MemBitmap(int width, int height, int lineAlignment)
    : mAlignMask(AlignMaskFor(lineAlignment))
{
  if (width || height) SetSize(width, height);
}

LICE_MemBitmap::~LICE_MemBitmap() { std::free(mBlock); }

PixelWord* LICE_MemBitmap::PixelData() const
{
  if (!mBlock) return nullptr;
  const std::uintptr_t aligned = (reinterpret_cast<std::uintptr_t>(mBlock) + 63) & ~std::uintptr_t(63);
  return reinterpret_cast<PixelWord*>(aligned);
}

int LICE_MemBitmap::RowStride() const
{
  const std::int64_t stride = (std::int64_t(mWidth) + mAlignMask) & ~std::int64_t(mAlignMask);
  return stride > INT_MAX ? INT_MAX : static_cast<int>(stride);
}

bool LICE_MemBitmap::SetSize(int width, int height)
{
  if (width == mWidth && height == mHeight) return false;

  // Negative sizes are empty (two negative sides must not multiply into a positive size).
  std::int64_t bytes = 0;
  if (width > 0 && height > 0)
  {
    const std::int64_t stride = (std::int64_t(width) + mAlignMask) & ~std::int64_t(mAlignMask);
    bytes = stride * height * 4;
    if (bytes > kMaxCapacity) bytes = -1; // cannot be represented: fails like an allocation
  }
  mWidth = width;
  mHeight = height;

  if (bytes <= 0)
  {
    std::free(mBlock);
    mBlock = nullptr;
    mCapacity = 0;
  }
  else if (!mBlock)
  {
    mCapacity = static_cast<int>(bytes);
    mBlock = std::malloc(static_cast<std::size_t>(bytes) + 63);
  }
  else if (bytes > mCapacity)
  {
    std::int64_t capacity = bytes + bytes / 4;
    if (capacity > kMaxCapacity) capacity = kMaxCapacity;
    void* grown = std::realloc(mBlock, static_cast<std::size_t>(capacity) + 63);
    if (grown)
    {
      mBlock = grown;
      mCapacity = static_cast<int>(capacity);
    }
    else
    {
      std::free(mBlock);
      mCapacity = static_cast<int>(bytes);
      mBlock = std::malloc(static_cast<std::size_t>(bytes) + 63);
    }
  }
  // Otherwise the request fits the block, which never shrinks.

  if (!mBlock)
  {
    mWidth = 0;
    mHeight = 0;
    mCapacity = 0;
  }
  return true;
}
