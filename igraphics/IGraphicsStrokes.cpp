// Line, arc and circle primitives of the graphics object.
#include "IBlendModes.h"
#include "IGraphicsLice.h"
#include "lice.h"
#include "lines.h"

bool IGraphicsLice::StrokeLine(const IRgba& colour, float x1, float y1, float x2, float y2, const IBlend* blend,
                               bool antialias)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::DrawLineSegment(mDrawBitmap, int(x1), int(y1), int(x2), int(y2), colour.Word(), rb.opacity, rb.mode,
                       antialias);
  return true;
}

bool IGraphicsLice::StrokeArc(const IRgba& colour, float centreX, float centreY, float radius, float startAngle,
                              float endAngle, const IBlend* blend, bool antialias)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::DrawArcOutline(mDrawBitmap, centreX, centreY, radius, startAngle, endAngle, colour.Word(), rb.opacity,
                      rb.mode, antialias);
  return true;
}

bool IGraphicsLice::StrokeCircle(const IRgba& colour, float centreX, float centreY, float radius,
                                 const IBlend* blend, bool antialias)
{
  const IRasterBlend rb = RasterBlendFor(blend);
  LICE::DrawCircleOutline(mDrawBitmap, centreX, centreY, radius, colour.Word(), rb.opacity, rb.mode, antialias);
  return true;
}
