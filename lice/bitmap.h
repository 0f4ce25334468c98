#pragma once
// 32-bit pixel bitmaps: the abstract interface every raster routine draws through, a
// bitmap in ordinary heap memory, and the system bitmap the editor paints into.

#include <cstdint>

// One pixel: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7 (in memory the bytes
// blue, green, red, alpha). Colours are straight, not premultiplied by alpha.
using PixelWord = std::uint32_t;

class LICE_IBitmap
{
public:
  virtual ~LICE_IBitmap() = default;
  // First pixel of row 0, or null when the bitmap has no pixels.
  virtual PixelWord* PixelData() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Distance between the starts of two rows, in pixels (never below the width).
  virtual int RowStride() const = 0;
  // A bottom-up bitmap stores image row y at memory row (height - 1 - y).
  virtual bool IsBottomUp() const { return false; }
  // Returns true when the size changed. Pixel contents are undefined afterwards.
  virtual bool SetSize(int width, int height) = 0;
  // Native device-context handle, or null.
  virtual void* DeviceContext() const { return nullptr; }
  virtual int ExtensionQuery(int, int) { return 0; }
};

// Bitmap in heap memory. Pixels start on a 64-byte boundary; rows are padded to a multiple
// of the line alignment. The block grows with 25 % headroom and never shrinks.
class LICE_MemBitmap : public LICE_IBitmap
{
public:
  explicit LICE_MemBitmap(int width = 0, int height = 0, int lineAlignment = 4);
  ~LICE_MemBitmap() override;
  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  PixelWord* PixelData() const override;
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int RowStride() const override;
  bool SetSize(int width, int height) override;

  // Usable bytes of the current block (the block itself is 63 bytes larger).
  int Capacity() const { return mCapacity; }

private:
  void* mBlock = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mCapacity = 0;
  int mAlignMask = 0;
};

// The bitmap the editor draws every frame into. Its allocated width is a multiple of 4 and
// is kept when the bitmap shrinks, so the stride is that of the largest size still in use.
// On Windows the pixels live in a DIB section selected into a memory device context (see
// sysbitmap_win32.cpp); elsewhere they live in ordinary memory and there is no device
// context (see sysbitmap_posix.cpp).
class LICE_SysBitmap : public LICE_IBitmap
{
public:
  explicit LICE_SysBitmap(int width = 0, int height = 0);
  ~LICE_SysBitmap() override;
  LICE_SysBitmap(const LICE_SysBitmap&) = delete;
  LICE_SysBitmap& operator=(const LICE_SysBitmap&) = delete;

  PixelWord* PixelData() const override { return mPixels; }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int RowStride() const override { return mAllocWidth; }
  bool SetSize(int width, int height) override;
  void* DeviceContext() const override { return mDC; }

private:
  void ReleasePixels();

  int mWidth = 0;
  int mHeight = 0;
  void* mDC = nullptr;          // HDC on Windows, null elsewhere
  PixelWord* mPixels = nullptr;
  int mAllocWidth = 0;
  int mAllocHeight = 0;
  void* mDib = nullptr;         // HBITMAP on Windows, the pixel block elsewhere
  [[maybe_unused]] void* mPrevBitmap = nullptr;  // HBITMAP selected before the DIB section (Windows only)
};
