// Painting helpers of the artwork generator, all drawn through the raster library (fills,
// coverage masks, lines, blits) and the text back-end.
#pragma once

#include <string>

#include "bitmap.h"
#include "shapes.h"

namespace Artwork {

// Colour from 0xRRGGBB, opaque.
PixelWord Rgb(uint32_t rgb);
// Straight mix of two colours, t = 0 gives a, 1 gives b.
PixelWord Mix(PixelWord a, PixelWord b, double t);

// Paints a mask in one colour (copy through the coverage, at the given opacity).
void Paint(LICE_IBitmap* bitmap, const Mask& mask, PixelWord colour, float opacity = 1.0f);
// Paints a mask with a vertical gradient from `top` at row y0 to `bottom` at row y1.
void PaintGradient(LICE_IBitmap* bitmap, const Mask& mask, PixelWord top, PixelWord bottom,
                   int y0, int y1);
// Fills a rectangle with a vertical gradient (rows y .. y + h - 1).
void FillGradient(LICE_IBitmap* bitmap, int x, int y, int w, int h, PixelWord top,
                  PixelWord bottom);
// Horizontal streaks of a brushed metal finish over a rectangle given in panel units, drawn
// k device pixels to the unit (deterministic).
void Brush(LICE_IBitmap* bitmap, int k, int x, int y, int w, int h, unsigned seed, float strength);
// A one-pixel antialiased line.
void Line(LICE_IBitmap* bitmap, int x1, int y1, int x2, int y2, PixelWord colour,
          float opacity = 1.0f);

struct TextLook {
  std::string face = "Tahoma";
  int size = 11;
  int style = 0;      // 0 normal, 1 bold, 2 italic
  int alignment = 0;  // 0 left, 1 centred, 2 right
  PixelWord colour = 0xFF000000u;
};
// Draws text into the rectangle, starting at its top; false when no font is usable.
bool Text(LICE_IBitmap* bitmap, const TextLook& look, int left, int top, int right,
          const char* text);
// Width of a text in pixels.
int TextWidth(const TextLook& look, const char* text);

// Copies the red channel of `alphaMap` into the alpha channel of `bitmap` (same size).
void AlphaFromRed(LICE_IBitmap* bitmap, const LICE_IBitmap* alphaMap);

}  // namespace Artwork
