// The system bitmap without a window system: the same sizing rules as the Windows DIB
// section, over ordinary memory, and no device context.
#include "bitmap.h"

#include <climits>
#include <cstdint>
#include <new>

LICE_SysBitmap::LICE_SysBitmap(int width, int height) { SetSize(width, height); }

LICE_SysBitmap::~LICE_SysBitmap() { ReleasePixels(); }

void LICE_SysBitmap::ReleasePixels()
{
  delete[] static_cast<PixelWord*>(mDib);
  mDib = nullptr;
  mPixels = nullptr;
}

bool LICE_SysBitmap::SetSize(int width, int height)
{
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  if (width > 0 && height > 0 && width <= mAllocWidth && height <= mAllocHeight && mPixels)
    return true; // the allocation never shrinks

  ReleasePixels();
  mAllocWidth = 0;
  mAllocHeight = 0;
  if (width == 0 || height == 0) return false; // no pixels wanted

  // A negative or unrepresentable size fails like an allocation: the bitmap is left empty.
  const std::int64_t allocWidth = (std::int64_t(width) + 3) & ~std::int64_t(3);
  if (width < 0 || height < 0 || allocWidth > INT_MAX || allocWidth * height > INT_MAX / 4)
  {
    mWidth = 0;
    mHeight = 0;
    return true;
  }
  mAllocWidth = static_cast<int>(allocWidth);
  mAllocHeight = height;
  mDib = new (std::nothrow) PixelWord[static_cast<std::size_t>(allocWidth) * height];
  mPixels = static_cast<PixelWord*>(mDib);
  if (!mPixels)
  {
    mWidth = 0;
    mHeight = 0;
    mAllocWidth = 0;
    mAllocHeight = 0;
  }
  return true;
}
