#pragma once
// Translation of a control's blend into the raster library's blend mode word
// and opacity. The same table serves every primitive that takes a blend.

#include "IGraphicsTypes.h"
#include "lice.h"

constexpr int kRasterCopy = LICE::kOpCopy;
constexpr int kRasterAdd = LICE::kOpAdd;
constexpr int kRasterDodge = LICE::kOpDodge;
constexpr int kRasterBilinear = LICE::kFilterBilinear;
constexpr int kRasterUseSourceAlpha = LICE::kSourceAlpha;

struct IRasterBlend
{
  int mode;
  float opacity;
};

// A missing blend counts as method 0 with weight 1.0.
inline IRasterBlend RasterBlendFor(const IBlend* blend)
{
  if (!blend) return {kRasterCopy | kRasterUseSourceAlpha, 1.0f};
  switch (blend->method)
  {
    case kBlendCopy: return {kRasterCopy, blend->weight};
    case kBlendAdd: return {kRasterAdd | kRasterUseSourceAlpha, blend->weight};
    case kBlendColourDodge: return {kRasterDodge | kRasterUseSourceAlpha, blend->weight};
    default: return {kRasterCopy | kRasterUseSourceAlpha, blend->weight};
  }
}
