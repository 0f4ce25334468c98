#pragma once
// A small test bitmap for the stroke tests: plain memory with guard words around and
// between the rows, an optional bottom-up row order, and helpers to read it as text.

#include "bitmap.h"
#include "lice.h"
#include "lines.h"

#include <string>
#include <vector>

class StrokeCanvas : public LICE_IBitmap
{
public:
  static constexpr PixelWord kGuard = 0x5EA5E5A5;
  static constexpr int kPad = 3;      // guard words after each row
  static constexpr int kMargin = 40;  // guard words before the first and after the last row

  StrokeCanvas(int width, int height, PixelWord background = 0, bool bottomUp = false)
      : mWidth(width), mHeight(height), mBottomUp(bottomUp),
        mStore(static_cast<size_t>(width + kPad) * height + 2 * kMargin, kGuard)
  {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) At(x, y) = background;
  }

  PixelWord* PixelData() const override { return const_cast<PixelWord*>(mStore.data()) + kMargin; }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int RowStride() const override { return mWidth + kPad; }
  bool IsBottomUp() const override { return mBottomUp; }
  bool SetSize(int, int) override { return false; }

  // The pixel at image position (x, y), honouring the row order.
  PixelWord& At(int x, int y)
  {
    const int row = mBottomUp ? mHeight - 1 - y : y;
    return PixelData()[x + row * RowStride()];
  }
  PixelWord At(int x, int y) const { return const_cast<StrokeCanvas*>(this)->At(x, y); }

  // One character per pixel, rows separated by '/': '.' for `background`, '#' for
  // `colour`, '?' for anything else.
  std::string Picture(PixelWord background, PixelWord colour) const
  {
    std::string s;
    for (int y = 0; y < mHeight; ++y)
    {
      if (y) s += '/';
      for (int x = 0; x < mWidth; ++x)
      {
        const PixelWord p = At(x, y);
        s += p == background ? '.' : p == colour ? '#' : '?';
      }
    }
    return s;
  }

  int CountNot(PixelWord background) const
  {
    int n = 0;
    for (int y = 0; y < mHeight; ++y)
      for (int x = 0; x < mWidth; ++x) n += At(x, y) != background;
    return n;
  }

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
  int mWidth, mHeight;
  bool mBottomUp;
  std::vector<PixelWord> mStore;
};

// Colours used throughout.
constexpr PixelWord kBlack = 0xFF000000u;
constexpr PixelWord kWhite = 0xFFFFFFFFu;
constexpr PixelWord kClear = 0x00000000u;
