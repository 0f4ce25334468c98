#pragma once
// Filtered resampling for artwork drawn at another size than it was made: an area (box)
// filter along an axis that shrinks, a bilinear one along an axis that grows. Colours are
// filtered premultiplied by their alpha, so a transparent pixel's colour never bleeds
// into its neighbours (no dark fringes at transparent edges).

#include "bitmap.h"
#include "lice.h"

namespace LICE
{
// Fills the destination rectangle (x, y, width, height) of `dest` with `srcRect` of `src`
// resampled to that size. Only pixels inside `srcRect` are read, so the frames of a film
// strip resampled one at a time never mix. The pixels written are clipped to `dest`.
void ResampleImage(LICE_IBitmap* dest, int x, int y, int width, int height, const LICE_IBitmap* src,
                   const Rect& srcRect);
} // namespace LICE
