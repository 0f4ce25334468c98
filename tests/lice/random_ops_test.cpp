// Composes many random operations on random bitmaps and compares one checksum per routine
// family with values recorded from this implementation after the pixel-exact tests had
// verified every routine. Any later change of the arithmetic, the clipping or the choice
// of loop changes a checksum. The generator is our own so the sequence never depends on
// the standard library.
#include "test_bitmaps.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace
{
using namespace LICE;

// xorshift32
struct Prng
{
  std::uint32_t state;
  std::uint32_t Next()
  {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int Range(int lo, int hi) { return lo + int(Next() % std::uint32_t(hi - lo + 1)); }
  template <class T, int N>
  T Pick(const T (&items)[N]) { return items[Next() % N]; }
};

const float kAlphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.3f, 0.999f, 1.5f, -0.4f, 0.0f, 0.002f, 0.6f};
const float kAngles[] = {0.0f, 0.5f, -1.25f, 3.0f, 1.5707964f};

std::unique_ptr<LICE_IBitmap> RandomBitmap(Prng& rng, int maxSide)
{
  const int w = rng.Range(0, maxSide), h = rng.Range(0, maxSide);
  std::unique_ptr<LICE_IBitmap> bm;
  switch (rng.Range(0, 3))
  {
    case 0: bm = std::make_unique<LICE_SysBitmap>(w, h); break;
    case 1: bm = std::make_unique<lice_test::BottomUpBitmap>(w, h, 4); break;
    default: bm = std::make_unique<LICE_MemBitmap>(w, h, rng.Pick<int, 3>({1, 4, 8})); break;
  }
  for (int y = 0; y < bm->Height(); ++y)
    for (int x = 0; x < bm->Width(); ++x)
    {
      PixelWord p = rng.Next();
      const int kind = rng.Range(0, 3); // transparent and opaque pixels are common in artwork
      if (kind == 0) p &= 0x00FFFFFF;
      if (kind == 1) p |= 0xFF000000;
      lice_test::Set(*bm, x, y, p);
    }
  return bm;
}

int RandomMode(Prng& rng, bool channelCopy)
{
  int op = rng.Range(0, 6); // 6 is unknown and must draw nothing
  if (channelCopy && rng.Range(0, 5) == 0) op = 0xF0 | rng.Range(0, 15);
  if (rng.Range(0, 1)) op |= kSourceAlpha;
  if (rng.Range(0, 1)) op |= kFilterBilinear;
  if (rng.Range(0, 9) == 0) op |= 0x200; // another filter value: nearest
  return op;
}

float Quarter(Prng& rng, int lo, int hi) { return float(rng.Range(lo * 4, hi * 4)) / 4.0f; }

// FNV-1a over the image pixels, chained onto the running value.
std::uint32_t Fold(std::uint32_t hash, const LICE_IBitmap& bm)
{
  for (int y = 0; y < bm.Height(); ++y)
    for (int x = 0; x < bm.Width(); ++x)
    {
      const PixelWord p = lice_test::At(bm, x, y);
      for (int b = 0; b < 32; b += 8) hash = (hash ^ ((p >> b) & 0xFF)) * 16777619u;
    }
  return hash;
}

template <class Op>
std::uint32_t RunFamily(std::uint32_t seed, Op&& op)
{
  Prng rng{seed};
  std::uint32_t hash = 2166136261u;
  for (int i = 0; i < 400; ++i)
  {
    auto dest = RandomBitmap(rng, 24);
    auto src = RandomBitmap(rng, 24);
    op(rng, *dest, *src);
    hash = Fold(hash, *dest);
  }
  return hash;
}

// Arguments are drawn into named values first: the evaluation order of function arguments
// is unspecified and must not change the sequence.
TEST(RandomOperations, ChecksumsPerFamilyStayTheSame)
{
  const std::uint32_t drawImage = RunFamily(0x1234567u, [](Prng& rng, LICE_IBitmap& d, LICE_IBitmap& s) {
    const float alpha = rng.Pick(kAlphas);
    const int mode = RandomMode(rng, true);
    const int x = rng.Range(-20, 20), y = rng.Range(-20, 20);
    if (rng.Range(0, 1))
    {
      Rect r{rng.Range(-8, 20), rng.Range(-8, 20), rng.Range(-8, 30), rng.Range(-8, 30)};
      DrawImage(&d, &s, x, y, &r, alpha, mode);
    }
    else
    {
      DrawImage(&d, &s, x, y, nullptr, alpha, mode);
    }
  });
  const std::uint32_t scaled = RunFamily(0x2345678u, [](Prng& rng, LICE_IBitmap& d, LICE_IBitmap& s) {
    const int x = rng.Range(-20, 20), y = rng.Range(-20, 20);
    const int w = rng.Range(-40, 40), h = rng.Range(-40, 40);
    const float sx = Quarter(rng, -5, 20), sy = Quarter(rng, -5, 20);
    const float sw = Quarter(rng, -30, 30), sh = Quarter(rng, -30, 30);
    const float alpha = rng.Pick(kAlphas);
    const int mode = RandomMode(rng, false);
    DrawImageScaled(&d, &s, x, y, w, h, sx, sy, sw, sh, alpha, mode);
  });
  const std::uint32_t rotated = RunFamily(0x3456789u, [](Prng& rng, LICE_IBitmap& d, LICE_IBitmap& s) {
    const int x = rng.Range(-20, 20), y = rng.Range(-20, 20);
    const int w = rng.Range(-30, 30), h = rng.Range(-30, 30);
    const float sx = Quarter(rng, -5, 20), sy = Quarter(rng, -5, 20);
    const float sw = Quarter(rng, -25, 25), sh = Quarter(rng, -25, 25);
    const float angle = rng.Pick(kAngles);
    const bool clip = rng.Range(0, 1) == 1;
    const float alpha = rng.Pick(kAlphas);
    const int mode = RandomMode(rng, false);
    const float ox = Quarter(rng, -4, 4), oy = Quarter(rng, -4, 4);
    DrawImageRotated(&d, &s, x, y, w, h, sx, sy, sw, sh, angle, clip, alpha, mode, ox, oy);
  });
  const std::uint32_t fills = RunFamily(0x456789Au, [](Prng& rng, LICE_IBitmap& d, LICE_IBitmap&) {
    const int x = rng.Range(-20, 20), y = rng.Range(-20, 20);
    const int w = rng.Range(-5, 40), h = rng.Range(-5, 40);
    const PixelWord colour = rng.Next();
    const float alpha = rng.Pick(kAlphas);
    const int mode = RandomMode(rng, false);
    FillArea(&d, x, y, w, h, colour, alpha, mode);
    const int mx = rng.Range(-20, 20), my = rng.Range(-20, 20);
    const int mw = rng.Range(-5, 40), mh = rng.Range(-5, 40);
    const PixelWord andMask = rng.Next();
    const PixelWord orBits = rng.Next() & 0x01010101;
    MaskArea(&d, mx, my, mw, mh, andMask, orBits);
  });
  const std::uint32_t pixels = RunFamily(0x56789ABu, [](Prng& rng, LICE_IBitmap& d, LICE_IBitmap& s) {
    for (int i = 0; i < 20; ++i)
    {
      const int fx = rng.Range(-2, 25), fy = rng.Range(-2, 25);
      const PixelWord fetched = FetchPixel(&s, fx, fy);
      const int x = rng.Range(-2, 25), y = rng.Range(-2, 25);
      const PixelWord colour = fetched ^ rng.Next();
      const float alpha = rng.Pick(kAlphas);
      const int mode = RandomMode(rng, false);
      BlendPixel(&d, x, y, colour, alpha, mode);
    }
    CopyImage(&s, &d);
    BlendPixel(&d, 0, 0, FetchPixel(&s, 0, 0) + 1, 1.0f, kOpAdd);
  });

  EXPECT_EQ(drawImage, 2788257470u);
  EXPECT_EQ(scaled, 2555411123u);
  EXPECT_EQ(rotated, 4067023299u);
  EXPECT_EQ(fills, 1466470147u);
  EXPECT_EQ(pixels, 2834493074u);
}
} // namespace
