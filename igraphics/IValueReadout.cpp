#include "IValueReadout.h"

#include "IEditorDelegate.h"
#include "IGraphicsLice.h"
#include "IParam.h"

IValueReadout::IValueReadout(IEditorDelegate* plug, const IBounds& bounds, int32_t source, const ITextStyle& style)
  : IControl(plug, bounds, -1, IBlend(kBlendThroughAlpha, 1.0f)), mSource(source), mStyle(style)
{
}

void IValueReadout::StandInFor(int32_t controlIndex) { mStandIns.push_back(controlIndex); }

void IValueReadout::CoverWith(const IBitmapStrip& backdrop, int32_t offsetY)
{
  mCover = backdrop;
  mCoverOffsetY = offsetY;
}

int32_t IValueReadout::LingerTicks() const
{
  const IGraphicsLice* graphics = Graphics();
  return graphics ? graphics->FrameRate() : 0;
}

std::string IValueReadout::TextFor(const IParameter& param, double normalized)
{
  const double value = param.FromNormalized(normalized);
  char text[IParameter::kDisplayTextBufferSize];
  param.HostDisplayText(value, false, text, int(sizeof text));
  std::string shown(text);
  // Hyphen-minus stays: the Windows renderer draws text in the ANSI code page, which has
  // no minus sign.
  const char* label = param.LabelFor(value);
  if (label[0]) shown.append(" ").append(label);
  return shown;
}

bool IValueReadout::GestureUnderWay(int32_t paramIdx)
{
  IGraphicsLice* graphics = Graphics();
  // The editor's count of its own changes tells a wheel step or a click from a host's value.
  const uint32_t edits = graphics->EditCount(paramIdx);
  const bool edited = mEditsKnown && edits != mEditsSeen;
  mEditsKnown = true;
  mEditsSeen = edits;
  return edited || graphics->CapturedControl() == mSource || graphics->HoveredControl() == mSource;
}

void IValueReadout::IdleHook()
{
  IGraphicsLice* graphics = Graphics();
  const IControl* source = graphics ? graphics->GetControl(mSource) : nullptr;
  IParameter* param = source && mPlug ? mPlug->ParameterAt(source->ParamIdx()) : nullptr;
  if (!param) return;
  if (GestureUnderWay(source->ParamIdx()))
    mTicksLeft = LingerTicks();
  else if (mTicksLeft > 0)
    --mTicksLeft;
  if (mTicksLeft > 0)
    Show(TextFor(*param, graphics->ParameterValue(source->ParamIdx())));
  else
    Hide();
}

void IValueReadout::Show(const std::string& text)
{
  if (text == mText) return;
  if (mText.empty()) HideStandIns(true);
  mText = text;
  MarkDirty(false);
}

void IValueReadout::Hide()
{
  if (mText.empty()) return;
  mText.clear();
  HideStandIns(false);
  MarkDirty(false);
}

void IValueReadout::HideStandIns(bool hidden)
{
  IGraphicsLice* graphics = Graphics();
  for (int32_t index : mStandIns)
    if (IControl* control = graphics ? graphics->GetControl(index) : nullptr) control->SetHidden(hidden);
}

bool IValueReadout::Paint(IGraphicsLice* graphics)
{
  if (mText.empty()) return true;
  if (mCover.bitmap)
  {
    const IBlend copy(kBlendCopy, 1.0f);
    graphics->BlitImage(mCover, mBounds, mBounds.left, mBounds.top + mCoverOffsetY, &copy);
  }
  return graphics->RenderText(mStyle, mText.c_str(), mBounds);
}
