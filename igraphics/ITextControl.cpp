#include "ITextControl.h"

#include "IGraphicsLice.h"

ITextControl::ITextControl(IEditorDelegate* plug, const IBounds& bounds, const ITextStyle& style, const char* text)
  : IControl(plug, bounds, -1, IBlend(kBlendThroughAlpha, 1.0f)), mStyle(style), mText(text ? text : "")
{
}

bool ITextControl::Paint(IGraphicsLice* graphics)
{
  if (mText.empty()) return true;
  return graphics->RenderText(mStyle, mText.c_str(), mBounds);
}

void ITextControl::SetText(const char* text)
{
  mText = text ? text : "";
  MarkDirty(false);
}
