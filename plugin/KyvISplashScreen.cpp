#include "KyvISplashScreen.h"

#include "IGraphicsLice.h"

KyvISplashScreen::KyvISplashScreen(IEditorDelegate* plug, int32_t x, int32_t y, const IBitmapStrip& strip,
                                   const IBounds& hiddenTargetArea)
  : IBitmapOverlayControl(plug, x, y, strip, hiddenTargetArea), mHiddenArea(hiddenTargetArea)
{
}

bool KyvISplashScreen::Paint(IGraphicsLice* graphics)
{
  if (mValue < 0.5)
  {
    SetTargetArea(mHiddenArea);
    return true;
  }
  // Shown: the whole editor is its click area, so the controls beneath get no click.
  SetTargetArea(IBounds(0, 0, graphics->Width(), graphics->Height()));
  return IBitmapControl::Paint(graphics);
}
