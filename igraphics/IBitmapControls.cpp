#include "IBitmapControls.h"

#include <cmath>

#include "IGraphicsLice.h"

namespace {
IBounds StripBounds(int32_t x, int32_t y, const IBitmapStrip& strip)
{
  return IBounds(x, y, x + strip.width, y + strip.FrameHeight());
}
}  // namespace

int32_t FrameForValue(double value, int32_t frameCount)
{
  if (frameCount < 2) return 1;
  // Values outside 0..1 select the end frames; a NaN selects the first.
  if (!(value >= 0.0)) value = 0.0;
  if (value > 1.0) value = 1.0;
  int32_t k = int32_t((frameCount - 1) * value + 0.5) + 1;
  if (k < 1) k = 1;
  if (k > frameCount) k = frameCount;
  return k;
}

IBitmapControl::IBitmapControl(IEditorDelegate* plug, int32_t x, int32_t y, int32_t paramIdx, const IBitmapStrip& strip,
                               int32_t blendMethod)
  : IControl(plug, StripBounds(x, y, strip), paramIdx, IBlend(blendMethod, 1.0f)), mStrip(strip)
{
}

bool IBitmapControl::Paint(IGraphicsLice* graphics)
{
  return graphics->BlitStripFrame(mStrip, mBounds, FrameForValue(mValue, mStrip.frames), &mBlend);
}

void ISwitchControl::MouseDown(int32_t, int32_t, const IMouseKeys& keys)
{
  if (keys.right)
    EditValueInPlace();
  else
    mValue += mStrip.frames >= 2 ? 1.0 / (mStrip.frames - 1) : 1.0;
  if (mValue > 1.001) mValue = 0.0;
  MarkDirty(true);
}

IKnobControl::IKnobControl(IEditorDelegate* plug, const IBounds& bounds, int32_t paramIdx, int32_t direction,
                           double gearing, IBlend blend)
  : IControl(plug, bounds, paramIdx, blend), mDirection(direction), mGearing(gearing)
{
}

void IKnobControl::MouseDrag(int32_t, int32_t, int32_t dX, int32_t dY, const IMouseKeys& keys)
{
  const double gearing = (keys.shift || keys.control) ? mGearing * 10.0 : mGearing;
  // The denominator is the negative height, so moving up raises the value.
  const double extent = mDirection == kKnobVertical ? double(mBounds.top - mBounds.bottom)
                                                    : double(mBounds.right - mBounds.left);
  // A control without extent or gearing cannot map travel to a value.
  if (extent == 0.0 || gearing == 0.0 || !std::isfinite(gearing)) return;
  mValue += (mDirection == kKnobVertical ? dY : dX) / extent / gearing;
  MarkDirty(true);
}

IKnobMultiControl::IKnobMultiControl(IEditorDelegate* plug, int32_t x, int32_t y, int32_t paramIdx,
                                     const IBitmapStrip& strip, int32_t direction, double gearing)
  : IKnobControl(plug, StripBounds(x, y, strip), paramIdx, direction, gearing, IBlend(kBlendThroughAlpha, 1.0f)),
    mStrip(strip)
{
}

bool IKnobMultiControl::Paint(IGraphicsLice* graphics)
{
  return graphics->BlitStripFrame(mStrip, mBounds, FrameForValue(mValue, mStrip.frames), &mBlend);
}

IBitmapOverlayControl::IBitmapOverlayControl(IEditorDelegate* plug, int32_t x, int32_t y, const IBitmapStrip& strip,
                                             const IBounds& hiddenTargetArea)
  : ISwitchControl(plug, x, y, -1, strip, kBlendThroughAlpha), mHiddenTargetArea(hiddenTargetArea)
{
}

void IBitmapOverlayControl::MouseDown(int32_t x, int32_t y, const IMouseKeys& keys)
{
  ISwitchControl::MouseDown(x, y, keys);
}

bool IBitmapOverlayControl::Paint(IGraphicsLice* graphics)
{
  if (mValue < 0.5)
  {
    mTargetArea = mHiddenTargetArea;
    return true;
  }
  mTargetArea = mBounds;
  return IBitmapControl::Paint(graphics);
}
