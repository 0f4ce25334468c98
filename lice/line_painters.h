#pragma once
// Pixel writers of the stroke routines (not part of the public interface). A stroke
// picks its writer once per call and instantiates its loop for it.

#include "combiners.h"

#include <cstddef>

namespace LICE
{
namespace strokes
{
// The destination pixels in image order: row y starts at pixels + y * stride.
struct Canvas
{
  PixelWord* pixels;
  int width, height;
  std::ptrdiff_t stride;

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  PixelWord& At(int x, int y) const { return pixels[x + static_cast<std::ptrdiff_t>(y) * stride]; }
};

// Per-byte (colour byte + pixel byte) / 2, truncating.
inline PixelWord AverageBytes(PixelWord c, PixelWord p)
{
  return (c & p) + (((c ^ p) & 0xFEFEFEFEu) >> 1);
}

// Writers at a fixed weight: paint(pixel).
struct StoreWriter
{
  PixelWord colour;
  void operator()(PixelWord& p) const { p = colour; }
};
struct AverageBytesWriter
{
  PixelWord colour;
  void operator()(PixelWord& p) const { p = AverageBytes(colour, p); }
};
struct Half50Writer
{
  PixelWord colour;
  void operator()(PixelWord& p) const { p = Average50(colour, p); }
};
struct Quarter25Writer
{
  PixelWord colour;
  void operator()(PixelWord& p) const { p = Average25(colour, p); }
};
struct Quarter75Writer
{
  PixelWord colour;
  void operator()(PixelWord& p) const { p = Average75(colour, p); }
};
template <class C>
struct CombinerWriter
{
  int r, g, b, a, w;
  void operator()(PixelWord& p) const { C::Blend(p, r, g, b, a, w); }
};

// Writer with a weight per pixel (antialiasing, masks): paint(pixel, weight).
template <class C>
struct WeightedWriter
{
  int r, g, b, a;
  void operator()(PixelWord& p, int w) const { C::Blend(p, r, g, b, a, w); }
};

// The weight of a stroke, or 0 when it draws nothing: zero, or negative for copy.
inline int StrokeWeight(float alpha, int mode)
{
  const int w = WeightFromAlpha(alpha);
  if ((mode & kOpMask) == kOpCopy && w < 0) return 0;
  return w;
}

// Calls fn(writer) with the fixed-weight writer of the mode: copy at w = 256 stores the
// word, copy at w = 128 averages per byte, everything else blends through the plain
// combiner. Returns false for an unknown operation.
template <class Fn>
bool WithPlainWriter(int mode, int w, PixelWord colour, Fn&& fn)
{
  if ((mode & kOpMask) == kOpCopy && w == 256)
  {
    fn(StoreWriter{colour});
    return true;
  }
  if ((mode & kOpMask) == kOpCopy && w == 128)
  {
    fn(AverageBytesWriter{colour});
    return true;
  }
  return WithPlainCombiner(mode, [&](auto combiner) {
    using C = decltype(combiner);
    fn(CombinerWriter<C>{Red(colour), Green(colour), Blue(colour), Alpha(colour), w});
  });
}

// As WithPlainWriter, but copy at an opacity of exactly 1, 0.5, 0.25 or 0.75 first takes
// the shift-and-mask forms of the rectangle fill.
template <class Fn>
bool WithSegmentWriter(int mode, float alpha, int w, PixelWord colour, Fn&& fn)
{
  if ((mode & kOpMask) == kOpCopy)
  {
    if (alpha == 1.0f) return fn(StoreWriter{colour}), true;
    if (alpha == 0.5f) return fn(Half50Writer{colour}), true;
    if (alpha == 0.25f) return fn(Quarter25Writer{colour}), true;
    if (alpha == 0.75f) return fn(Quarter75Writer{colour}), true;
  }
  return WithPlainWriter(mode, w, colour, fn);
}

// Calls fn(writer) with the weighted writer of the operation; false if unknown.
template <class Fn>
bool WithWeightedWriter(int mode, PixelWord colour, Fn&& fn)
{
  return WithPlainCombiner(mode, [&](auto combiner) {
    using C = decltype(combiner);
    fn(WeightedWriter<C>{Red(colour), Green(colour), Blue(colour), Alpha(colour)});
  });
}

// The canvas of a bitmap in image order, or false when it has no pixels. A bottom-up
// bitmap gets a canvas that starts at its last memory row and steps backwards, so every
// stroke shows exactly the same picture in either row order.
inline bool CanvasOf(const LICE_IBitmap* bitmap, Canvas& canvas)
{
  if (!bitmap) return false;
  canvas.pixels = bitmap->PixelData();
  canvas.width = bitmap->Width();
  canvas.height = bitmap->Height();
  canvas.stride = bitmap->RowStride();
  if (!canvas.pixels || canvas.width <= 0 || canvas.height <= 0) return false;
  if (bitmap->IsBottomUp())
  {
    canvas.pixels += static_cast<std::ptrdiff_t>(canvas.height - 1) * canvas.stride;
    canvas.stride = -canvas.stride;
  }
  return true;
}
} // namespace strokes
} // namespace LICE
