#pragma once
// Public interface of the raster library: bitmaps (bitmap.h), the blend mode word and the
// blitting, scaling, rotation and fill routines declared here, strokes (lines.h) and image
// decoders (image_loaders.h). Routines never report errors: a null bitmap, a bitmap
// without pixels, an empty clip, a zero weight or an unknown operation draws nothing.

#include "bitmap.h"

namespace LICE
{
// Blend mode word: operation in bits 0-7, filter in bits 8-15, source-alpha flag.
enum : int
{
  kOpCopy = 0,
  kOpAdd = 1,
  kOpDodge = 2,
  kOpMultiply = 3,
  kOpOverlay = 4,
  kOpHsvAdjust = 5,
  // 0xF0-0xFF (DrawImage only): copy one byte per pixel; bits 0-1 select the source byte
  // (0 blue, 1 green, 2 red, 3 alpha), bits 2-3 the destination byte.
  kOpChannelCopy = 0xF0,
  kOpMask = 0xFF,
  kFilterBilinear = 0x100, // filter byte exactly 0x01; any other value samples the nearest pixel
  kFilterMask = 0xFF00,
  kSourceAlpha = 0x10000,  // weight each source pixel by its own alpha
};

inline PixelWord Rgba(int r, int g, int b, int a)
{
  return (PixelWord(a & 0xFF) << 24) | (PixelWord(r & 0xFF) << 16) | (PixelWord(g & 0xFF) << 8) |
         PixelWord(b & 0xFF);
}
inline int Red(PixelWord p) { return int((p >> 16) & 0xFF); }
inline int Green(PixelWord p) { return int((p >> 8) & 0xFF); }
inline int Blue(PixelWord p) { return int(p & 0xFF); }
inline int Alpha(PixelWord p) { return int(p >> 24); }

// Rectangle of a source bitmap; right and bottom are exclusive.
struct Rect
{
  int left, top, right, bottom;
};

// Every routine takes an opacity `alpha`; it becomes the integer weight trunc(alpha * 256)
// (1.0 -> 256, 0 draws nothing).

// Draws `srcRect` of `src` (null: the whole source) with its top-left corner at (x, y).
void DrawImage(LICE_IBitmap* dest, const LICE_IBitmap* src, int x, int y, const Rect* srcRect,
               float alpha, int mode);
// Same, with the source rectangle (srcX, srcY, srcX + width, srcY + height).
void DrawImage(LICE_IBitmap* dest, const LICE_IBitmap* src, int x, int y, int srcX, int srcY,
               int width, int height, float alpha, int mode);
// Sizes `dest` like `src` and copies every pixel.
void CopyImage(LICE_IBitmap* dest, const LICE_IBitmap* src);

// Draws the source area (srcX, srcY, srcW, srcH) scaled onto (x, y, width, height). A
// negative destination width or height mirrors the image.
void DrawImageScaled(LICE_IBitmap* dest, const LICE_IBitmap* src, int x, int y, int width,
                     int height, float srcX, float srcY, float srcW, float srcH, float alpha,
                     int mode);

// Draws the source area rotated by `angle` radians into (x, y, width, height); the centre of
// the destination maps to the centre of the source area moved by (centreOffsetX, Y).
// With `clipToSourceRect` only pixels inside the source area are sampled, otherwise any
// pixel of the source bitmap.
void DrawImageRotated(LICE_IBitmap* dest, const LICE_IBitmap* src, int x, int y, int width,
                      int height, float srcX, float srcY, float srcW, float srcH, float angle,
                      bool clipToSourceRect, float alpha, int mode, float centreOffsetX = 0.0f,
                      float centreOffsetY = 0.0f);

// Fills the rectangle with `colour`. With kSourceAlpha the opacity is scaled by the colour's alpha.
void FillArea(LICE_IBitmap* dest, int x, int y, int width, int height, PixelWord colour,
              float alpha, int mode);
// Each pixel of the rectangle becomes (pixel & andMask) | orBits.
void MaskArea(LICE_IBitmap* dest, int x, int y, int width, int height, PixelWord andMask,
              PixelWord orBits);
// The pixel at (x, y), or 0 outside the bitmap.
PixelWord FetchPixel(const LICE_IBitmap* bitmap, int x, int y);
// Blends `colour` (its own alpha as the source alpha) into the pixel at (x, y).
void BlendPixel(LICE_IBitmap* dest, int x, int y, PixelWord colour, float alpha, int mode);
} // namespace LICE

#include "image_loaders.h"
#include "lines.h"
