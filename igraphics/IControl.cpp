#include "IControl.h"

#include <cmath>

#include "IGraphicsLice.h"
#include "IEditorDelegate.h"
#include "IParam.h"

IControl::IControl(IEditorDelegate* plug, const IBounds& bounds, int32_t paramIdx, IBlend blend)
  : mPlug(plug), mBounds(bounds), mTargetArea(bounds), mParamIdx(paramIdx), mBlend(blend)
{
}


void IControl::MouseDown(int32_t, int32_t, const IMouseKeys& keys)
{
  if (keys.right) EditValueInPlace();
}

void IControl::MouseUp(int32_t, int32_t, const IMouseKeys&) {}
void IControl::MouseDrag(int32_t, int32_t, int32_t, int32_t, const IMouseKeys&) {}

void IControl::DoubleClick(int32_t, int32_t, const IMouseKeys&)
{
  if (mDefaultValue >= 0.0)
  {
    mValue = mDefaultValue;
    MarkDirty(true);
  }
}

void IControl::Wheel(int32_t, int32_t, const IMouseKeys& keys, int32_t steps)
{
  const double stepSize = (keys.shift || keys.control) ? 0.001 : 0.01;
  mValue += steps * stepSize;
  MarkDirty(true);
}

void IControl::KeyDown(int32_t, int32_t, int32_t) {}
void IControl::MouseOver(int32_t, int32_t, const IMouseKeys&) {}
void IControl::MouseLeave() {}

void IControl::ValueFromPlugin(double value)
{
  if (mDefaultValue < 0.0) mDefaultValue = value;
  if (value == mValue) return;
  mValue = value;
  MarkDirty(false);
  mRedrawPending = true;  // last, so a paint that read the old value is followed by another
}

void IControl::SetHidden(bool hidden)
{
  mHidden = hidden;
  mRedrawPending = true;
  MarkDirty(false);
}

void IControl::SetDisabled(bool disabled)
{
  mDisabled = disabled;
  mBlend.weight = disabled ? 0.25f : 1.0f;
  MarkDirty(false);
}

bool IControl::HitTest(int32_t x, int32_t y) { return mTargetArea.Contains(x, y); }

void IControl::MarkDirty(bool sendToPlugin)
{
  // A NaN (from a host or a degenerate gesture) is not a value; it falls back
  // to the lower clamp so that nothing downstream converts it to an integer.
  if (std::isnan(mValue) || mLowerClamp > mValue)
    mValue = mLowerClamp;
  else if (mValue > mUpperClamp)
    mValue = mUpperClamp;
  mDirty = true;
  if (!sendToPlugin || mParamIdx < 0) return;
  // Through the editor, which keeps the value as its own; a control not yet added to one
  // goes to the plug-in directly.
  if (mGraphics)
    mGraphics->SetParameterFromGUI(mParamIdx, mValue);
  else if (mPlug)
    mPlug->SetParameterFromGUI(mParamIdx, mValue);
}

void IControl::MarkClean()
{
  mDirty = mRedrawPending.exchange(false);
}

// A value from the plug-in sets dirty, then redraw pending. Should the editor's
// MarkClean fall between the two, dirty is cleared while pending is still to
// come; counting pending here keeps that value from being lost.
bool IControl::NeedsRedraw() { return mDirty || mRedrawPending; }

void IControl::EditValueInPlace()
{
  if (mParamIdx < 0 || mNoInPlaceEdit || !mPlug) return;
  IGraphicsLice* graphics = Graphics();
  if (!graphics) return;
  graphics->EditParameterInPlace(this, mPlug->ParameterAt(mParamIdx));
  mRedrawPending = true;
}

void IControl::ValueFromUser(double value)
{
  if (value == mValue) return;
  mValue = value;
  MarkDirty(true);
  mRedrawPending = true;
}
