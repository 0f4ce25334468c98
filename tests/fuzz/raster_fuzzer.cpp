// The raster routines with arbitrary geometry, weights and modes on small bitmaps of
// every kind (memory bitmaps with any line alignment, system bitmaps, bottom-up rows).
// The routines report nothing, so the sanitizers are the judges: no read or write
// outside a bitmap, no undefined arithmetic on any coordinate or weight. Values are read
// from the input into named locals first: the order in which function arguments are
// evaluated differs between compilers, and a finding must replay the same everywhere.
#include "FuzzInput.h"
#include "lice.h"
#include "test_bitmaps.h"

#include <memory>
#include <vector>

namespace
{
using fuzz::Input;
using namespace LICE;

std::unique_ptr<LICE_IBitmap> MakeBitmap(Input& in)
{
  const int w = in.Range(0, 24), h = in.Range(0, 24);
  std::unique_ptr<LICE_IBitmap> bm;
  switch (in.Range(0, 3))
  {
    case 0: bm = std::make_unique<LICE_SysBitmap>(w, h); break;
    case 1: bm = std::make_unique<lice_test::BottomUpBitmap>(w, h, 4); break;
    case 2: bm = std::make_unique<LICE_MemBitmap>(w, h, 1); break;
    default: bm = std::make_unique<LICE_MemBitmap>(w, h, 8); break;
  }
  const PixelWord seed = in.Raw<PixelWord>();
  for (int y = 0; y < bm->Height(); ++y)
    for (int x = 0; x < bm->Width(); ++x) lice_test::Set(*bm, x, y, seed * PixelWord(x * 31 + y * 17 + 1));
  return bm;
}

// Coordinates near the bitmaps most of the time, anything at all otherwise.
int Coord(Input& in) { return in.Range(0, 7) ? in.Range(-40, 40) : in.Raw<int>(); }

float Real(Input& in)
{
  switch (in.Range(0, 3))
  {
    case 0: return float(in.Range(-160, 160)) / 4.0f;
    case 1: return float(in.Range(-1000, 1000)) / 100.0f;
    default: return in.Raw<float>(); // NaN, infinities and huge values included
  }
}

float Alpha(Input& in)
{
  const float usual[] = {1.0f, 0.5f, 0.0f, 0.25f, 0.999f, 1.5f, -0.4f, 0.002f};
  return in.Range(0, 3) ? usual[in.Range(0, 7)] : in.Raw<float>();
}

int Mode(Input& in)
{
  if (in.Range(0, 7) == 0) return in.Raw<int>();
  int mode = in.Range(0, 6);
  if (in.Range(0, 5) == 0) mode = 0xF0 | in.Range(0, 15);
  if (in.Bool()) mode |= kSourceAlpha;
  if (in.Bool()) mode |= kFilterBilinear;
  return mode;
}

void RunOne(Input& in, LICE_IBitmap* dest, const LICE_IBitmap* src)
{
  switch (in.Range(0, 11))
  {
    case 0:
    {
      const Rect r{Coord(in), Coord(in), Coord(in), Coord(in)};
      const bool useRect = in.Bool();
      const int x = Coord(in), y = Coord(in);
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      // DrawImage also copies a bitmap onto itself, the areas overlapping.
      const LICE_IBitmap* from = in.Range(0, 7) == 0 ? dest : src;
      DrawImage(dest, from, x, y, useRect ? &r : nullptr, alpha, mode);
      break;
    }
    case 1:
    {
      const int x = Coord(in), y = Coord(in), sx = Coord(in), sy = Coord(in), w = Coord(in), h = Coord(in);
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      DrawImage(dest, src, x, y, sx, sy, w, h, alpha, mode);
      break;
    }
    case 2:
    {
      const int x = Coord(in), y = Coord(in), w = Coord(in), h = Coord(in);
      const float sx = Real(in), sy = Real(in), sw = Real(in), sh = Real(in);
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      DrawImageScaled(dest, src, x, y, w, h, sx, sy, sw, sh, alpha, mode);
      break;
    }
    case 3:
    {
      const int x = Coord(in), y = Coord(in), w = Coord(in), h = Coord(in);
      const float sx = Real(in), sy = Real(in), sw = Real(in), sh = Real(in), angle = Real(in);
      const bool clip = in.Bool();
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      const float ox = Real(in), oy = Real(in);
      DrawImageRotated(dest, src, x, y, w, h, sx, sy, sw, sh, angle, clip, alpha, mode, ox, oy);
      break;
    }
    case 4:
    {
      const int x = Coord(in), y = Coord(in), w = Coord(in), h = Coord(in);
      const PixelWord colour = in.Raw<PixelWord>();
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      FillArea(dest, x, y, w, h, colour, alpha, mode);
      break;
    }
    case 5:
    {
      const int x = Coord(in), y = Coord(in), w = Coord(in), h = Coord(in);
      const PixelWord andMask = in.Raw<PixelWord>(), orBits = in.Raw<PixelWord>();
      MaskArea(dest, x, y, w, h, andMask, orBits);
      break;
    }
    case 6:
    {
      const int x = Coord(in), y = Coord(in), fx = Coord(in), fy = Coord(in);
      const PixelWord colour = FetchPixel(src, fx, fy) ^ in.Raw<PixelWord>();
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      BlendPixel(dest, x, y, colour, alpha, mode);
      break;
    }
    case 7:
    {
      const int x1 = Coord(in), y1 = Coord(in), x2 = Coord(in), y2 = Coord(in);
      const PixelWord colour = in.Raw<PixelWord>();
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      const bool antialias = in.Bool();
      DrawLineSegment(dest, x1, y1, x2, y2, colour, alpha, mode, antialias);
      break;
    }
    case 8:
    {
      const float cx = Real(in), cy = Real(in), r = Real(in);
      const PixelWord colour = in.Raw<PixelWord>();
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      const bool antialias = in.Bool();
      DrawCircleOutline(dest, cx, cy, r, colour, alpha, mode, antialias);
      break;
    }
    case 9:
    {
      const float cx = Real(in), cy = Real(in), r = Real(in), a0 = Real(in), a1 = Real(in);
      const PixelWord colour = in.Raw<PixelWord>();
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      const bool antialias = in.Bool();
      DrawArcOutline(dest, cx, cy, r, a0, a1, colour, alpha, mode, antialias);
      break;
    }
    case 10:
    {
      // The mask block holds exactly stride x height bytes.
      const int w = in.Range(0, 30), h = in.Range(0, 30), stride = in.Range(0, 34);
      std::vector<unsigned char> mask(size_t(stride) * size_t(h));
      for (unsigned char& c : mask) c = in.Byte();
      const int x = Coord(in), y = Coord(in);
      const PixelWord colour = in.Raw<PixelWord>();
      const float alpha = Alpha(in);
      const int mode = Mode(in);
      DrawCoverageMask(dest, x, y, colour, mask.empty() ? nullptr : mask.data(), stride, w, h, alpha, mode);
      break;
    }
    default: CopyImage(dest, src); break;
  }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Input in(data, size);
  std::unique_ptr<LICE_IBitmap> dest = MakeBitmap(in);
  std::unique_ptr<LICE_IBitmap> src = MakeBitmap(in);
  for (int op = 0; op < 16 && !in.Empty(); ++op) RunOne(in, dest.get(), src.get());
  return 0;
}
