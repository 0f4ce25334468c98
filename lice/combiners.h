#pragma once
// Per-pixel combiners shared by every raster routine (blits, fills, lines, circles).
//
// Each combiner is a type with one static function
//   Blend(PixelWord& dest, int r, int g, int b, int a, int w)
// that mixes the source colour (r, g, b, a) with weight w (256 = full) into dest. All four
// channels are processed, alpha included. Divisions truncate toward zero; results without
// a clamp keep their low 8 bits. Routines pick the combiner once per call and instantiate
// their loops for it, so no per-pixel dispatch takes place.

#include "lice.h"

#include <cmath>
#include <cstdint>

namespace LICE
{
// Weights are not clamped to 0..256, but kept within a range whose arithmetic cannot
// overflow (opacity -16 .. +16). NaN draws nothing.
constexpr int kMaxWeight = 4096;

inline int WeightFromAlpha(float alpha)
{
  const float scaled = alpha * 256.0f;
  if (!(scaled == scaled)) return 0;
  if (scaled >= float(kMaxWeight)) return kMaxWeight;
  if (scaled <= -float(kMaxWeight)) return -kMaxWeight;
  return static_cast<int>(scaled);
}

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Two channels of a pixel packed into one word, used by the shift-and-mask blends.
inline PixelWord Half(PixelWord p) { return (p >> 1) & 0x7F7F7F7Fu; }
inline PixelWord Quarter(PixelWord p) { return (p >> 2) & 0x3F3F3F3Fu; }
// Per-byte averages of a colour c with a pixel p (weights 1/2, 1/4, 3/4 of c).
inline PixelWord Average50(PixelWord c, PixelWord p) { return Half(c) + Half(p); }
inline PixelWord Average25(PixelWord c, PixelWord p) { return Quarter(c) + Half(p) + Quarter(p); }
inline PixelWord Average75(PixelWord c, PixelWord p) { return Half(c) + Quarter(c) + Quarter(p); }

struct CopyCombiner
{
  static int Mix(int d, int s, int w) { return (d - s) * (256 - w) / 256 + s; }
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int w)
  {
    const PixelWord d = dest;
    dest = Rgba(Mix(Red(d), r, w), Mix(Green(d), g, w), Mix(Blue(d), b, w), Mix(Alpha(d), a, w));
  }
};

// Copy through the source alpha at full weight: transparent pixels leave the destination,
// opaque ones replace it, the rest mix by (255 - alpha).
struct CopySourceAlphaFullCombiner
{
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int)
  {
    if (a == 0) return;
    if (a == 255)
    {
      dest = Rgba(r, g, b, 255);
      return;
    }
    const PixelWord d = dest;
    const int k = 255 - a;
    const int a1 = a + 1;
    dest = Rgba(r + (Red(d) - r) * k / 256, g + (Green(d) - g) * k / 256,
                b + (Blue(d) - b) * k / 256, a1 + (Alpha(d) - a1) * k / 256);
  }
};

struct AddCombiner
{
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int w)
  {
    const PixelWord d = dest;
    dest = Rgba(Clamp255(Red(d) + r * w / 256), Clamp255(Green(d) + g * w / 256),
                Clamp255(Blue(d) + b * w / 256), Clamp255(Alpha(d) + a * w / 256));
  }
};

struct DodgeCombiner
{
  static int Mix(int d, int s, int w)
  {
    const int x = s * w / 256;
    if (x >= 255) return d ? 255 : 0;
    return Clamp255(d * 256 / (256 - x));
  }
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int w)
  {
    const PixelWord d = dest;
    dest = Rgba(Mix(Red(d), r, w), Mix(Green(d), g, w), Mix(Blue(d), b, w), Mix(Alpha(d), a, w));
  }
};

struct MultiplyCombiner
{
  static int Mix(int d, int s, int w)
  {
    return static_cast<int>(std::int64_t(d) * (std::int64_t(s) * w + std::int64_t(256 - w) * 256) / 65536);
  }
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int w)
  {
    const PixelWord d = dest;
    dest = Rgba(Mix(Red(d), r, w), Mix(Green(d), g, w), Mix(Blue(d), b, w), Mix(Alpha(d), a, w));
  }
};

struct OverlayCombiner
{
  static int Mix(int d, int s, int w)
  {
    const std::int64_t k = std::int64_t(s) * w + std::int64_t(256 - w) * 128;
    const std::int64_t v = (d * (32768 - k) / 256 + k) * d / 32768;
    return v < 0 ? 0 : (v > 255 ? 255 : static_cast<int>(v));
  }
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int w)
  {
    const PixelWord d = dest;
    dest = Rgba(Mix(Red(d), r, w), Mix(Green(d), g, w), Mix(Blue(d), b, w), Mix(Alpha(d), a, w));
  }
};

// Reciprocal table of the HSV conversion: T[0] = 0, T[i] = 65536 / i - 1.
struct HsvReciprocals
{
  std::uint16_t t[256];
  constexpr HsvReciprocals() : t{}
  {
    for (int i = 1; i < 256; ++i) t[i] = static_cast<std::uint16_t>(65536 / i - 1);
  }
};
inline constexpr HsvReciprocals kHsvReciprocals{};

// Treats the source colour as adjustments of the destination's hue (red), saturation
// (green) and value (blue); 128 in green and blue and 128 in red leave them nearly as is.
// The destination alpha becomes the source alpha.
struct HsvAdjustCombiner
{
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int w)
  {
    const std::uint16_t* T = kHsvReciprocals.t;
    const int R = Red(dest), G = Green(dest), B = Blue(dest);
    int maxc, minc, base, num;
    if (R >= G && R > B)
    {
      maxc = R;
      minc = G < B ? G : B;
      base = G >= B ? 0 : 383;
      num = G - B;
    }
    else if ((B >= R && R >= G) || (B >= G && G > R))
    {
      maxc = B;
      minc = R < G ? R : G;
      base = 256;
      num = R - G;
    }
    else
    {
      maxc = G;
      minc = R < B ? R : B;
      base = 128;
      num = B - R;
    }
    const int delta = maxc - minc;
    int S = delta * T[maxc] / 256;
    int V = maxc;
    int H = base + num * (T[delta] + 1) / 1024;

    H += (r + r / 2 - 192) * w / 256;
    // Overdriven weights can move the hue by more than one turn; wrap it fully.
    H %= 384;
    if (H < 0) H += 384;
    S = Clamp255(S + (g - 128) * w / 128);
    V = Clamp255(V + (b - 128) * w / 128);

    const int p = V * (256 - S) / 256;
    auto ramp = [&](int f) { return V * (16384 - f * S) / 16384; };
    int nr, ng, nb;
    if (H < 64) nr = V, ng = ramp(64 - H), nb = p;
    else if (H < 128) nr = ramp(H - 64), ng = V, nb = p;
    else if (H < 192) nr = p, ng = V, nb = ramp(192 - H);
    else if (H < 256) nr = p, ng = ramp(H - 192), nb = V;
    else if (H < 320) nr = ramp(320 - H), ng = p, nb = V;
    else nr = V, ng = p, nb = ramp(H - 320);
    dest = Rgba(nr, ng, nb, a);
  }
};

// The pixel becomes the source colour exactly.
struct PlainWriteCombiner
{
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int) { dest = Rgba(r, g, b, a); }
};

// Weights the source by its own alpha: w' = w * (a + 1) / 256. With SkipTransparent a
// source alpha of 0 leaves the destination untouched.
template <class Base, bool SkipTransparent>
struct SourceAlphaCombiner
{
  static void Blend(PixelWord& dest, int r, int g, int b, int a, int w)
  {
    if (SkipTransparent && a == 0) return;
    Base::Blend(dest, r, g, b, a, w * (a + 1) / 256);
  }
};

// Calls fn(Combiner{}) with the plain combiner of the operation (bits 0-7 of the mode);
// returns false, calling nothing, for an unknown operation.
template <class Fn>
bool WithPlainCombiner(int mode, Fn&& fn)
{
  switch (mode & kOpMask)
  {
    case kOpCopy: fn(CopyCombiner{}); return true;
    case kOpAdd: fn(AddCombiner{}); return true;
    case kOpDodge: fn(DodgeCombiner{}); return true;
    case kOpMultiply: fn(MultiplyCombiner{}); return true;
    case kOpOverlay: fn(OverlayCombiner{}); return true;
    case kOpHsvAdjust: fn(HsvAdjustCombiner{}); return true;
    default: return false;
  }
}

// Calls fn(Combiner{}) with the combiner that blits source pixels with weight w under the
// mode (operation and source-alpha flag). Copy at w = 256 is the plain write (or, through
// the source alpha, the full-weight form); copy with w <= 0 and unknown operations call
// nothing and return false.
template <class Fn>
bool WithBlitCombiner(int mode, int w, Fn&& fn)
{
  const bool sourceAlpha = (mode & kSourceAlpha) != 0;
  switch (mode & kOpMask)
  {
    case kOpCopy:
      if (w <= 0) return false;
      if (sourceAlpha)
      {
        if (w == 256) fn(CopySourceAlphaFullCombiner{});
        else fn(SourceAlphaCombiner<CopyCombiner, true>{});
      }
      else
      {
        if (w == 256) fn(PlainWriteCombiner{});
        else fn(CopyCombiner{});
      }
      return true;
    case kOpAdd:
      if (sourceAlpha) fn(SourceAlphaCombiner<AddCombiner, true>{});
      else fn(AddCombiner{});
      return true;
    case kOpDodge:
      if (sourceAlpha) fn(SourceAlphaCombiner<DodgeCombiner, true>{});
      else fn(DodgeCombiner{});
      return true;
    case kOpMultiply:
      if (sourceAlpha) fn(SourceAlphaCombiner<MultiplyCombiner, true>{});
      else fn(MultiplyCombiner{});
      return true;
    case kOpOverlay:
      if (sourceAlpha) fn(SourceAlphaCombiner<OverlayCombiner, false>{});
      else fn(OverlayCombiner{});
      return true;
    case kOpHsvAdjust:
      if (sourceAlpha) fn(SourceAlphaCombiner<HsvAdjustCombiner, false>{});
      else fn(HsvAdjustCombiner{});
      return true;
    default: return false;
  }
}

// Blends a whole source word through a combiner.
template <class C>
inline void BlendWord(PixelWord& dest, PixelWord src, int w)
{
  C::Blend(dest, Red(src), Green(src), Blue(src), Alpha(src), w);
}
} // namespace LICE
