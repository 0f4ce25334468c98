// Line, arc and circle primitives of the graphics object. At a scale s a stroke is
// round(s) device pixels wide: parallel one-pixel strokes side by side.
#include <cmath>

#include "IBlendModes.h"
#include "IGraphicsLice.h"
#include "lice.h"
#include "lines.h"

namespace {
// Offsets of the one-pixel strokes that make a stroke |scale| times as wide, centred.
int StrokeCount(double scale) { return scale > 1.0 ? int(std::lround(scale)) : 1; }
float StrokeOffset(int i, int count) { return float(i) - float(count - 1) * 0.5f; }
}  // namespace

bool IGraphicsLice::StrokeLine(const IRgba& colour, float x1, float y1, float x2, float y2, const IBlend* blend,
                               bool antialias)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  if (mScale == 1.0)
  {
    LICE::DrawLineSegment(mDrawBitmap, int(x1), int(y1), int(x2), int(y2), colour.Word(), rb.opacity, rb.mode,
                         antialias);
    return true;
  }
  // Side by side across the line's main direction.
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  const int count = StrokeCount(mScale);
  for (int i = 0; i < count; ++i)
  {
    const float offset = StrokeOffset(i, count);
    const float dx = steep ? offset : 0.0f, dy = steep ? 0.0f : offset;
    LICE::DrawLineSegment(mDrawBitmap, int(std::lround(ToDevice(x1) + dx)), int(std::lround(ToDevice(y1) + dy)),
                         int(std::lround(ToDevice(x2) + dx)), int(std::lround(ToDevice(y2) + dy)), colour.Word(),
                         rb.opacity, rb.mode, antialias);
  }
  return true;
}

bool IGraphicsLice::StrokeArc(const IRgba& colour, float centreX, float centreY, float radius, float startAngle,
                              float endAngle, const IBlend* blend, bool antialias)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  const int count = StrokeCount(mScale);
  for (int i = 0; i < count; ++i)
  {
    const float r = mScale == 1.0 ? radius : ToDevice(radius) + StrokeOffset(i, count);
    LICE::DrawArcOutline(mDrawBitmap, ToDevice(centreX), ToDevice(centreY), r, startAngle, endAngle, colour.Word(),
                        rb.opacity, rb.mode, antialias);
  }
  return true;
}

bool IGraphicsLice::StrokeCircle(const IRgba& colour, float centreX, float centreY, float radius,
                                 const IBlend* blend, bool antialias)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  const int count = StrokeCount(mScale);
  for (int i = 0; i < count; ++i)
  {
    const float r = mScale == 1.0 ? radius : ToDevice(radius) + StrokeOffset(i, count);
    LICE::DrawCircleOutline(mDrawBitmap, ToDevice(centreX), ToDevice(centreY), r, colour.Word(), rb.opacity, rb.mode,
                           antialias);
  }
  return true;
}
