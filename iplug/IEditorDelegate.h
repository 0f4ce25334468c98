// IEditorDelegate: all that an editor may ask of the plug-in it edits. The plug-in base
// implements it; so does a format's editor-only binary, which holds no DSP and answers
// from the product's description. The editor never reads parameter values through it:
// values reach the editor through IGraphics::PushParameterToControls.
#pragma once

class IParameter;

class IEditorDelegate
{
public:
  virtual ~IEditorDelegate() = default;

  // Any thread: the number of parameters and their definitions (name, range, step,
  // label, display texts), fixed once the plug-in is made. The editor reads
  // definitions only, never the values they hold. Null outside 0 ... count - 1.
  virtual int ParameterCount() const = 0;
  virtual IParameter* ParameterAt(int index) const = 0;

  // GUI thread, never with the plug-in's lock held: a gesture on parameter index starts,
  // moves it to a normalised value (0 ... 1; clamped, NaN ignored), and ends.
  virtual void HostBeginEdit(int index) = 0;
  virtual void SetParameterFromGUI(int index, double normalized) = 0;
  virtual void HostEndEdit(int index) = 0;

  // GUI thread, never with the plug-in's lock held: the editor changed its size by itself
  // (the user chose a size, or the platform's scale changed) and now measures width x
  // height pixels; the adapter tells its host (see IGraphics.h).
  virtual void ResizeEditorRect(int width, int height) = 0;
};
