#pragma once
// Base of every editor control: a rectangle that shows one normalised value,
// bound to at most one plug-in parameter, and reacts to the mouse. Everything here runs
// on the GUI thread but ValueFromPlugin's flags, which NeedsRedraw reads.

#include <atomic>

#include "IGraphicsTypes.h"

class IEditorDelegate;
class IGraphicsLice;

class IControl
{
public:
  // plug: what the control may ask of the plug-in it edits (parameter definitions,
  // gestures); it reaches its graphics object once added to one.
  IControl(IEditorDelegate* plug, const IBounds& bounds, int32_t paramIdx = -1, IBlend blend = IBlend());
  virtual ~IControl() = default;

  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Mouse and key handlers; the graphics object calls them on the control under the pointer.
  virtual void MouseDown(int32_t x, int32_t y, const IMouseKeys& keys);
  virtual void MouseUp(int32_t x, int32_t y, const IMouseKeys& keys);
  virtual void MouseDrag(int32_t x, int32_t y, int32_t dX, int32_t dY, const IMouseKeys& keys);
  virtual void DoubleClick(int32_t x, int32_t y, const IMouseKeys& keys);
  virtual void Wheel(int32_t x, int32_t y, const IMouseKeys& keys, int32_t steps);
  virtual void KeyDown(int32_t x, int32_t y, int32_t keyCode);
  virtual void MouseOver(int32_t x, int32_t y, const IMouseKeys& keys);
  virtual void MouseLeave();

  virtual bool Paint(IGraphicsLice* graphics) = 0;

  // A value pushed by the plug-in; the first one becomes the default.
  virtual void ValueFromPlugin(double value);
  virtual void SetHidden(bool hidden);
  virtual void SetDisabled(bool disabled);
  virtual bool HitTest(int32_t x, int32_t y);
  // Clamps the value, marks the control for painting and, when asked, sends
  // the value to the bound parameter.
  virtual void MarkDirty(bool sendToPlugin);
  // Called after painting: a value that arrived meanwhile keeps the control
  // dirty for one more tick.
  virtual void MarkClean();
  virtual bool NeedsRedraw();
  // Once per editor tick (IGraphicsLice::TickControls), before dirty controls are collected.
  virtual void IdleHook() {}

  // Asks the editor for an in-place edit box for the bound parameter.
  void EditValueInPlace();
  // A value typed or chosen in the in-place editor.
  void ValueFromUser(double value);

  IEditorDelegate* Plug() const { return mPlug; }
  // Called by the graphics object that takes the control.
  void SetGraphics(IGraphicsLice* graphics) { mGraphics = graphics; }
  const IBounds& Bounds() const { return mBounds; }
  const IBounds& TargetArea() const { return mTargetArea; }
  void SetTargetArea(const IBounds& area) { mTargetArea = area; }
  int32_t ParamIdx() const { return mParamIdx; }
  double Value() const { return mValue; }
  void SetValue(double value) { mValue = value; }
  double DefaultValue() const { return mDefaultValue; }
  bool IsDirty() const { return mDirty; }
  bool IsHidden() const { return mHidden; }
  bool IsDisabled() const { return mDisabled; }
  bool IsRedrawPending() const { return mRedrawPending; }
  bool NoInPlaceEdit() const { return mNoInPlaceEdit; }
  void SetNoInPlaceEdit(bool flag) { mNoInPlaceEdit = flag; }
  bool DoubleClickAsPress() const { return mDoubleClickAsPress; }
  void SetDoubleClickAsPress(bool flag) { mDoubleClickAsPress = flag; }
  const IBlend& Blend() const { return mBlend; }
  void SetClamp(double lower, double upper)
  {
    mLowerClamp = lower;
    mUpperClamp = upper;
  }

protected:
  // The editor this control belongs to; null until it is added to one.
  IGraphicsLice* Graphics() const { return mGraphics; }

  IEditorDelegate* mPlug;
  IGraphicsLice* mGraphics = nullptr;
  IBounds mBounds;
  IBounds mTargetArea;
  int32_t mParamIdx;
  double mValue = 0.0;
  double mDefaultValue = -1.0;
  double mLowerClamp = 0.0, mUpperClamp = 1.0;
  // Both flags are written from the host's thread while the editor paints;
  // ValueFromPlugin sets redraw pending last and MarkClean turns it into dirty.
  std::atomic<bool> mDirty{true};
  bool mHidden = false;
  bool mDisabled = false;
  std::atomic<bool> mRedrawPending{false};
  bool mNoInPlaceEdit = false;
  bool mDoubleClickAsPress = false;
  IBlend mBlend;
};
