// The system bitmap on Windows: a top-down 32-bit DIB section selected into a memory
// device context, so the editor window can copy it to the screen with one blit.
#include "bitmap.h"

#include <windows.h>

LICE_SysBitmap::LICE_SysBitmap(int width, int height)
{
  mDC = CreateCompatibleDC(nullptr);
  SetSize(width, height);
}

LICE_SysBitmap::~LICE_SysBitmap()
{
  ReleasePixels();
  if (mDC) DeleteDC(static_cast<HDC>(mDC));
}

void LICE_SysBitmap::ReleasePixels()
{
  if (mPrevBitmap && mDC) SelectObject(static_cast<HDC>(mDC), static_cast<HGDIOBJ>(mPrevBitmap));
  mPrevBitmap = nullptr;
  if (mDib) DeleteObject(static_cast<HGDIOBJ>(mDib));
  mDib = nullptr;
  mPixels = nullptr;
}

bool LICE_SysBitmap::SetSize(int width, int height)
{
  if (!mDC)
  {
    mWidth = 0;
    mHeight = 0;
    mPixels = nullptr;
    return false;
  }
  if (width == mWidth && height == mHeight) return false;
  mWidth = width;
  mHeight = height;
  if (width > 0 && height > 0 && width <= mAllocWidth && height <= mAllocHeight && mPixels)
    return true; // the DIB section never shrinks

  ReleasePixels();
  mAllocWidth = 0;
  mAllocHeight = 0;
  if (width == 0 || height == 0) return false; // no pixels wanted

  // A negative or unrepresentable size fails like a DIB-section creation.
  const long long allocWidth = (static_cast<long long>(width) + 3) & ~3LL;
  if (width < 0 || height < 0 || allocWidth * height > 0x7FFFFFFF / 4)
  {
    mWidth = 0;
    mHeight = 0;
    return true;
  }
  mAllocWidth = static_cast<int>(allocWidth);
  mAllocHeight = height;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = mAllocWidth;
  info.bmiHeader.biHeight = IsBottomUp() ? mAllocHeight : -mAllocHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits)
  {
    mDib = dib;
    mPixels = static_cast<PixelWord*>(bits);
    mPrevBitmap = SelectObject(static_cast<HDC>(mDC), dib);
  }
  else
  {
    if (dib) DeleteObject(dib);
    mWidth = 0;
    mHeight = 0;
  }
  return true;
}
