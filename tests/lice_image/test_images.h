#pragma once
// Helpers shared by the image decoder tests.

#include "bitmap.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::string ImagePath(const std::string& name)
{
  return std::string(LICE_TEST_IMAGES) + "/" + name;
}

inline std::vector<unsigned char> ReadBytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A bitmap made from a reference dump of straight R, G, B (A) bytes, row by row; alpha
// 255 when the dump has three channels. Empty when the dump has the wrong size.
inline void BitmapFromDump(const std::vector<unsigned char>& dump, int width, int height, int channels,
                           LICE_MemBitmap& out)
{
  if (dump.size() != size_t(width) * height * channels) return;
  out.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
    {
      const unsigned char* e = &dump[(size_t(y) * width + x) * channels];
      const PixelWord a = channels == 4 ? e[3] : 255;
      out.PixelData()[y * out.RowStride() + x] = a << 24 | PixelWord(e[0]) << 16 | PixelWord(e[1]) << 8 | e[2];
    }
}

// The pixel word at image position (x, y), honouring stride and row order.
inline PixelWord PixelAt(const LICE_IBitmap& bm, int x, int y)
{
  const int row = bm.IsBottomUp() ? bm.Height() - 1 - y : y;
  return bm.PixelData()[x + static_cast<ptrdiff_t>(row) * bm.RowStride()];
}

// A bitmap over a plain vector with a wide row stride, an optional bottom-up row order
// and guard words around and between the rows, so that tests see any write that lands
// outside the image.
class GuardedBitmap : public LICE_IBitmap
{
public:
  static constexpr PixelWord kGuard = 0xDEADBEEF;
  static constexpr int kMargin = 64;  // guard words before the first and after the last row

  GuardedBitmap(int extraStride, bool bottomUp, bool refuseSize = false)
      : mExtraStride(extraStride), mBottomUp(bottomUp), mRefuseSize(refuseSize)
  {
  }

  PixelWord* PixelData() const override
  {
    return mStore.empty() ? nullptr : const_cast<PixelWord*>(mStore.data()) + kMargin;
  }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int RowStride() const override { return mWidth + mExtraStride; }
  bool IsBottomUp() const override { return mBottomUp; }
  bool SetSize(int width, int height) override
  {
    if (mRefuseSize) return false;
    if (width == mWidth && height == mHeight) return false;
    mWidth = width;
    mHeight = height;
    mStore.assign(static_cast<size_t>(RowStride()) * height + 2 * kMargin, kGuard);
    return true;
  }

  // True when every word outside the image area still holds the guard value.
  bool GuardsIntact() const
  {
    for (size_t i = 0; i < mStore.size(); ++i)
    {
      const bool inside = i >= size_t(kMargin) && i < mStore.size() - kMargin &&
                          int((i - kMargin) % RowStride()) < mWidth;
      if (!inside && mStore[i] != kGuard) return false;
    }
    return true;
  }

private:
  std::vector<PixelWord> mStore;
  int mWidth = 0, mHeight = 0;
  int mExtraStride;
  bool mBottomUp;
  bool mRefuseSize;
};
