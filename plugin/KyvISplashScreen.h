// The product's splash screen: an overlay that, while shown, is clicked anywhere in the
// editor (so any click hides it), and while hidden is clicked in a strip along the top.
#pragma once

#include "IBitmapControls.h"

class KyvISplashScreen : public IBitmapOverlayControl
{
public:
  KyvISplashScreen(IEditorDelegate* plug, int32_t x, int32_t y, const IBitmapStrip& strip,
                   const IBounds& hiddenTargetArea);

  bool Paint(IGraphicsLice* graphics) override;

private:
  IBounds mHiddenArea;  // where a click shows the splash again
};
