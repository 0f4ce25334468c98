#pragma once
// One-pixel strokes: line segments, circle outlines and arcs, optionally antialiased, and
// the coverage-mask draw they share. Only the operation byte of `mode` counts (copy, add,
// dodge, multiply, overlay, HSV adjust; any other value draws nothing); every pixel goes
// through the operation's plain combiner with the colour's R, G, B and its alpha as the
// source alpha. The weight is trunc(alpha * 256): 0 draws nothing, and so does a negative
// weight for copy. A null bitmap or a bitmap without pixels draws nothing.

#include "bitmap.h"

namespace LICE
{
// Draws the segment from (x1, y1) to (x2, y2), both ends included, clipped to the bitmap.
void DrawLineSegment(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, PixelWord colour,
                     float alpha, int mode, bool antialias);

// Draws the outline of the circle of `radius` around (cx, cy). Radii of exactly 2, 2.5,
// 3, 3.5 and 4 use fixed masks; a negative or non-finite radius draws nothing.
void DrawCircleOutline(LICE_IBitmap* dest, float cx, float cy, float radius, PixelWord colour,
                       float alpha, int mode, bool antialias);

// Draws the part of the circle outline from angle `startAngle` to `endAngle` (radians;
// 0 at twelve o'clock, growing clockwise on screen). A range of 2 pi or more is the whole
// circle; an empty or reversed range draws nothing.
void DrawArcOutline(LICE_IBitmap* dest, float cx, float cy, float radius, float startAngle,
                    float endAngle, PixelWord colour, float alpha, int mode, bool antialias);

// Blends `colour` through an 8-bit coverage mask (row-major, `maskStride` bytes per row)
// of width x height placed at (x, y): a mask byte c gives weight trunc(alpha * 256) * c / 256.
// A stride below the width draws nothing.
void DrawCoverageMask(LICE_IBitmap* dest, int x, int y, PixelWord colour, const unsigned char* mask,
                      int maskStride, int width, int height, float alpha, int mode);
} // namespace LICE
