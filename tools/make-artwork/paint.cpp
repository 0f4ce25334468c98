#include "paint.h"

#include <algorithm>
#include <cmath>

#include "lice.h"
#include "lines.h"
#include "text_freetype.h"

namespace Artwork {

PixelWord Rgb(uint32_t rgb) { return 0xFF000000u | (rgb & 0xFFFFFFu); }

PixelWord Mix(PixelWord a, PixelWord b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  PixelWord out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    const double ca = (a >> shift) & 255, cb = (b >> shift) & 255;
    out |= static_cast<PixelWord>(std::lround(ca + (cb - ca) * t)) << shift;
  }
  return out;
}

void Paint(LICE_IBitmap* bitmap, const Mask& mask, PixelWord colour, float opacity) {
  LICE::DrawCoverageMask(bitmap, 0, 0, colour, mask.cover.data(), mask.width, mask.width,
                         mask.height, opacity, LICE::kOpCopy);
}

void PaintGradient(LICE_IBitmap* bitmap, const Mask& mask, PixelWord top, PixelWord bottom,
                   int y0, int y1) {
  for (int y = 0; y < mask.height; ++y) {
    const double t = y1 > y0 ? double(y - y0) / (y1 - y0) : 0.0;
    LICE::DrawCoverageMask(bitmap, 0, y, Mix(top, bottom, t),
                           mask.cover.data() + static_cast<size_t>(y) * mask.width, mask.width,
                           mask.width, 1, 1.0f, LICE::kOpCopy);
  }
}

void FillGradient(LICE_IBitmap* bitmap, int x, int y, int w, int h, PixelWord top,
                  PixelWord bottom) {
  for (int row = 0; row < h; ++row) {
    const double t = h > 1 ? double(row) / (h - 1) : 0.0;
    LICE::FillArea(bitmap, x, y + row, w, 1, Mix(top, bottom, t), 1.0f, LICE::kOpCopy);
  }
}

void Brush(LICE_IBitmap* bitmap, int k, int x, int y, int w, int h, unsigned seed, float strength) {
  unsigned state = seed * 2654435761u + 1;
  auto next = [&state]() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  for (int row = 0; row < h; ++row) {
    // A few streaks per row, lighter or darker, of random length.
    for (int n = 0; n < 3; ++n) {
      const int len = 20 + static_cast<int>(next() % static_cast<unsigned>(std::max(w / 2, 21)));
      const int start = x - 10 + static_cast<int>(next() % static_cast<unsigned>(w + 10));
      const bool light = (next() & 1) != 0;
      const float opacity = strength * (0.4f + 0.6f * float(next() % 100) / 100.0f);
      // The same streaks at every scale, k device rows thick: the finish keeps its look.
      const int end = std::min(start + len, x + w - 1);
      for (int i = 0; i < k; ++i)
        LICE::DrawLineSegment(bitmap, k * start, k * (y + row) + i, k * end + k - 1, k * (y + row) + i,
                              light ? 0xFFFFFFFFu : 0xFF000000u, opacity, LICE::kOpCopy, false);
    }
  }
}

void Line(LICE_IBitmap* bitmap, int x1, int y1, int x2, int y2, PixelWord colour,
          float opacity) {
  LICE::DrawLineSegment(bitmap, x1, y1, x2, y2, colour, opacity, LICE::kOpCopy, true);
}

namespace {
FreeTypeText::Font FontOf(const TextLook& look) {
  FreeTypeText::Font font;
  font.face = look.face;
  font.size = look.size;
  font.style = look.style;
  return font;
}
}  // namespace

bool Text(LICE_IBitmap* bitmap, const TextLook& look, int left, int top, int right,
          const char* text) {
  FreeTypeText::Canvas canvas;
  canvas.pixels = bitmap->PixelData();
  canvas.width = bitmap->Width();
  canvas.height = bitmap->Height();
  canvas.rowPixels = bitmap->RowStride();
  FreeTypeText::Placement place;
  place.left = left;
  place.top = top;
  place.right = right;
  place.bottom = top + look.size;
  place.alignment = look.alignment;
  return FreeTypeText::Draw(canvas, FontOf(look), place, look.colour, text);
}

int TextWidth(const TextLook& look, const char* text) {
  int width = 0;
  FreeTypeText::Measure(FontOf(look), text, &width, nullptr);
  return width;
}

void AlphaFromRed(LICE_IBitmap* bitmap, const LICE_IBitmap* alphaMap) {
  // Channel copy: source byte 2 (red) into destination byte 3 (alpha).
  LICE::DrawImage(bitmap, alphaMap, 0, 0, nullptr, 1.0f, LICE::kOpChannelCopy | 2 | (3 << 2));
}

}  // namespace Artwork
