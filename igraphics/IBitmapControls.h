#pragma once
// Controls painted from image strips: plain bitmaps, switches, knobs and overlays.

#include "IControl.h"

// The strip frame for a normalised value: frame 1 at 0, frame N at 1, halves
// rounding up. A strip of one frame always shows frame 1.
int32_t FrameForValue(double value, int32_t frameCount);

// An image strip that shows the frame matching its value.
class IBitmapControl : public IControl
{
public:
  IBitmapControl(IEditorDelegate* plug, int32_t x, int32_t y, int32_t paramIdx, const IBitmapStrip& strip,
                 int32_t blendMethod = kBlendThroughAlpha);

  bool Paint(IGraphicsLice* graphics) override;

  const IBitmapStrip& Strip() const { return mStrip; }

protected:
  IBitmapStrip mStrip;
};

// Each press steps the value through the strip's frames and wraps to the first.
class ISwitchControl : public IBitmapControl
{
public:
  using IBitmapControl::IBitmapControl;

  void MouseDown(int32_t x, int32_t y, const IMouseKeys& keys) override;
};

enum IKnobDirection : int32_t { kKnobVertical = 0, kKnobHorizontal = 1 };

// A drag changes the value; |gearing| control heights (or widths) of travel
// cover the full range. Paints nothing by itself.
class IKnobControl : public IControl
{
public:
  IKnobControl(IEditorDelegate* plug, const IBounds& bounds, int32_t paramIdx, int32_t direction = kKnobVertical,
               double gearing = 4.0, IBlend blend = IBlend());

  void MouseDrag(int32_t x, int32_t y, int32_t dX, int32_t dY, const IMouseKeys& keys) override;

  int32_t Direction() const { return mDirection; }
  double Gearing() const { return mGearing; }

protected:
  int32_t mDirection;
  double mGearing;
};

// A knob painted as a film strip.
class IKnobMultiControl : public IKnobControl
{
public:
  IKnobMultiControl(IEditorDelegate* plug, int32_t x, int32_t y, int32_t paramIdx, const IBitmapStrip& strip,
                    int32_t direction = kKnobVertical, double gearing = 4.0);

  bool Paint(IGraphicsLice* graphics) override;

  const IBitmapStrip& Strip() const { return mStrip; }

protected:
  IBitmapStrip mStrip;
};

// Shown only while its value is at least 0.5. While hidden it is clicked in a
// separate area; each press toggles it.
class IBitmapOverlayControl : public ISwitchControl
{
public:
  IBitmapOverlayControl(IEditorDelegate* plug, int32_t x, int32_t y, const IBitmapStrip& strip,
                        const IBounds& hiddenTargetArea);

  void MouseDown(int32_t x, int32_t y, const IMouseKeys& keys) override;
  bool Paint(IGraphicsLice* graphics) override;

  const IBounds& HiddenTargetArea() const { return mHiddenTargetArea; }

protected:
  IBounds mHiddenTargetArea;
};
