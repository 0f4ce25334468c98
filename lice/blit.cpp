// Rectangle blits, fills and single-pixel access.
#include "blit_internal.h"
#include "blit_rows.h"

#include <algorithm>
#include <cstring>

namespace LICE
{
using detail::Rows;
using detail::RowsOf;

namespace
{
// A clipped area: destination origin, source origin and size, all within both bitmaps.
struct BlitArea
{
  int destX, destY, srcX, srcY, width, height;
};

// Clips the source rectangle [left, right) x [top, bottom) drawn at (x, y) to both bitmaps.
// 64-bit arithmetic keeps coordinates near the int limits from overflowing.
bool ClipBlit(const LICE_IBitmap* dest, const LICE_IBitmap* src, std::int64_t x, std::int64_t y,
              std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
              BlitArea& area)
{
  right = std::min<std::int64_t>(right, src->Width());
  bottom = std::min<std::int64_t>(bottom, src->Height());
  if (left < 0)
  {
    x -= left;
    left = 0;
  }
  if (top < 0)
  {
    y -= top;
    top = 0;
  }
  if (x < 0)
  {
    left -= x;
    x = 0;
  }
  if (y < 0)
  {
    top -= y;
    y = 0;
  }
  right = std::min<std::int64_t>(right, left + dest->Width() - x);
  bottom = std::min<std::int64_t>(bottom, top + dest->Height() - y);
  if (right <= left || bottom <= top) return false;
  area = {int(x), int(y), int(left), int(top), int(right - left), int(bottom - top)};
  return true;
}

template <class RowFn>
void ForEachRow(const Rows& d, const Rows& s, const BlitArea& a, RowFn&& rowFn)
{
  for (int j = 0; j < a.height; ++j)
    rowFn(d.Row(a.destY + j) + a.destX, s.Row(a.srcY + j) + a.srcX, a.width);
}

void DrawClipped(LICE_IBitmap* dest, const LICE_IBitmap* src, std::int64_t x, std::int64_t y,
                 std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                 float alpha, int mode)
{
  if (!dest || !src || alpha == 0.0f) return;
  BlitArea area;
  if (!ClipBlit(dest, src, x, y, left, top, right, bottom, area)) return;
  if (!dest->PixelData() || !src->PixelData()) return;
  const Rows d = RowsOf(dest), s = RowsOf(src);
  const int op = mode & kOpMask;

  if (op >= kOpChannelCopy)
  {
    const int from = (op & 3) * 8, to = ((op >> 2) & 3) * 8;
    ForEachRow(d, s, area, [&](PixelWord* dp, const PixelWord* sp, int n) {
      detail::CopyChannelRow(dp, sp, n, from, to);
    });
    return;
  }
  if (op == kOpCopy && !(mode & kSourceAlpha))
  {
    if (alpha == 1.0f)
    {
      ForEachRow(d, s, area, [](PixelWord* dp, const PixelWord* sp, int n) {
        std::memmove(dp, sp, sizeof(PixelWord) * static_cast<std::size_t>(n));
      });
      return;
    }
    if (alpha == 0.5f)
    {
      ForEachRow(d, s, area, [](PixelWord* dp, const PixelWord* sp, int n) {
        for (int i = 0; i < n; ++i) dp[i] = Average50(sp[i], dp[i]);
      });
      return;
    }
  }
  const int w = WeightFromAlpha(alpha);
  if (w == 0) return;
  WithBlitCombiner(mode, w, [&](auto combiner) {
    using C = decltype(combiner);
    ForEachRow(d, s, area, [w](PixelWord* dp, const PixelWord* sp, int n) {
      detail::BlendRow<C>(dp, sp, n, w);
    });
  });
}

// Clips x, y, width, height to the bitmap; false when nothing remains.
bool ClipRect(const LICE_IBitmap* bitmap, int x, int y, int width, int height, int& x0, int& y0,
              int& x1, int& y1)
{
  const std::int64_t l = std::max<std::int64_t>(x, 0), t = std::max<std::int64_t>(y, 0);
  const std::int64_t r = std::min<std::int64_t>(std::int64_t(x) + width, bitmap->Width());
  const std::int64_t b = std::min<std::int64_t>(std::int64_t(y) + height, bitmap->Height());
  if (r <= l || b <= t) return false;
  x0 = int(l), y0 = int(t), x1 = int(r), y1 = int(b);
  return true;
}

template <class PixelFn>
void ForEachPixel(LICE_IBitmap* bitmap, int x0, int y0, int x1, int y1, PixelFn&& fn)
{
  const Rows rows = RowsOf(bitmap);
  for (int y = y0; y < y1; ++y)
  {
    PixelWord* p = rows.Row(y);
    for (int x = x0; x < x1; ++x) fn(p[x]);
  }
}

// The shift-and-mask forms of copy at 1/4, 1/2, 3/4 and full weight; false for other weights.
template <class PixelFn>
bool CopyFastPath(int w, PixelWord colour, PixelFn&& apply)
{
  switch (w)
  {
    case 256: apply([colour](PixelWord&p) { p = colour; }); return true;
    case 128: apply([colour](PixelWord& p) { p = Average50(colour, p); }); return true;
    case 64: apply([colour](PixelWord& p) { p = Average25(colour, p); }); return true;
    case 192: apply([colour](PixelWord& p) { p = Average75(colour, p); }); return true;
    default: return false;
  }
}
} // namespace

void DrawImage(LICE_IBitmap* dest, const LICE_IBitmap* src, int x, int y, const Rect* srcRect,
               float alpha, int mode)
{
  if (!src) return;
  if (srcRect)
    DrawClipped(dest, src, x, y, srcRect->left, srcRect->top, srcRect->right, srcRect->bottom, alpha, mode);
  else
    DrawClipped(dest, src, x, y, 0, 0, src->Width(), src->Height(), alpha, mode);
}

void DrawImage(LICE_IBitmap* dest, const LICE_IBitmap* src, int x, int y, int srcX, int srcY,
               int width, int height, float alpha, int mode)
{
  DrawClipped(dest, src, x, y, srcX, srcY, std::int64_t(srcX) + width, std::int64_t(srcY) + height,
              alpha, mode);
}

void CopyImage(LICE_IBitmap* dest, const LICE_IBitmap* src)
{
  if (!dest || !src) return;
  dest->SetSize(src->Width(), src->Height());
  DrawImage(dest, src, 0, 0, nullptr, 1.0f, kOpCopy);
}

void FillArea(LICE_IBitmap* dest, int x, int y, int width, int height, PixelWord colour,
              float alpha, int mode)
{
  if (!dest) return;
  if (mode & kSourceAlpha) alpha *= float(Alpha(colour)) / 255.0f;
  int x0, y0, x1, y1;
  if (alpha == 0.0f || !dest->PixelData() || !ClipRect(dest, x, y, width, height, x0, y0, x1, y1)) return;
  const int w = WeightFromAlpha(alpha);
  const int op = mode & kOpMask;
  auto fillWith = [&](auto&& fn) { ForEachPixel(dest, x0, y0, x1, y1, fn); };
  if (op == kOpCopy && CopyFastPath(w, colour, fillWith)) return;
  if (w == 0 || (op == kOpCopy && w < 0)) return;
  const int r = Red(colour), g = Green(colour), b = Blue(colour);
  WithPlainCombiner(mode, [&](auto combiner) {
    using C = decltype(combiner);
    fillWith([=](PixelWord& p) { C::Blend(p, r, g, b, w, w); });
  });
}

void MaskArea(LICE_IBitmap* dest, int x, int y, int width, int height, PixelWord andMask,
              PixelWord orBits)
{
  int x0, y0, x1, y1;
  if (!dest || !dest->PixelData() || !ClipRect(dest, x, y, width, height, x0, y0, x1, y1)) return;
  ForEachPixel(dest, x0, y0, x1, y1, [=](PixelWord& p) { p = (p & andMask) | orBits; });
}

PixelWord FetchPixel(const LICE_IBitmap* bitmap, int x, int y)
{
  if (!bitmap || !bitmap->PixelData()) return 0;
  if (x < 0 || y < 0 || x >= bitmap->Width() || y >= bitmap->Height()) return 0;
  return RowsOf(bitmap).Row(y)[x];
}

void BlendPixel(LICE_IBitmap* dest, int x, int y, PixelWord colour, float alpha, int mode)
{
  if (!dest || !dest->PixelData()) return;
  if (x < 0 || y < 0 || x >= dest->Width() || y >= dest->Height()) return;
  PixelWord& pixel = RowsOf(dest).Row(y)[x];
  const int w = WeightFromAlpha(alpha);
  const int op = mode & kOpMask;
  if (op == kOpCopy && CopyFastPath(w, colour, [&](auto&& fn) { fn(pixel); })) return;
  if (w == 0 || (op == kOpCopy && w < 0)) return;
  WithPlainCombiner(mode, [&](auto combiner) {
    using C = decltype(combiner);
    BlendWord<C>(pixel, colour, w);
  });
}
} // namespace LICE
