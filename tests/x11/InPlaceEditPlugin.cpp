// A small plug-in module made from the editor toolkit for the window tests: one
// continuous parameter "Gain" (0 ... 100 %, default 50) shown by a bar control that, unlike
// the product's knobs, lets the user type a value in place (right click).
#include "IControl.h"
#include "IGraphicsLice.h"
#include "IGraphicsWindow.h"
#include "IPlugBase.h"
#include "IPlugVST.h"

namespace
{
// Editor 240 x 120; the bar is 160 pixels wide, so the edit box takes its width.
constexpr int32_t kEditorWidth = 240, kEditorHeight = 120;
const IBounds kBarBounds(40, 40, 200, 80);

// A horizontal bar filled in proportion to the value.
class IBarControl : public IControl
{
public:
  IBarControl(IEditorDelegate* plug, const IBounds& bounds, int32_t paramIdx) : IControl(plug, bounds, paramIdx) {}

  bool Paint(IGraphicsLice* graphics) override
  {
    const IBounds bounds = Bounds();
    graphics->FillBounds(IRgba(255, 40, 40, 48), bounds, nullptr);
    IBounds filled = bounds;
    filled.right = bounds.left + int32_t((bounds.right - bounds.left) * Value() + 0.5);
    if (filled.right > filled.left) graphics->FillBounds(IRgba(255, 90, 180, 120), filled, nullptr);
    return true;
  }
};

class InPlaceEditPlugin : public IPlugBase
{
public:
  InPlaceEditPlugin()
    : IPlugBase(1, "2-2", 1, "In-place Edit Test", "", "Test Bench", 0x00010000, IFourCC('t', 'i', 'p', 'e'),
                IFourCC('t', 'e', 's', 't'), 0, false, false, false)
  {
    ParameterAt(0)->DefineContinuous("Gain", 50.0, 0.0, 100.0, 0.1, "%");
    IGraphicsWindow* editor = new IGraphicsWindow(this, kEditorWidth, kEditorHeight, 30);
    editor->AddControl(new IBarControl(this, kBarBounds, 0));
    AttachEditor(editor);
  }

  void ProcessBlock(double** inputs, double** outputs, int frames) override
  {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < frames; ++i) outputs[c][i] = inputs[c][i];
  }
};
} // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback hostCallback)
{
  return CreateVSTPlugin<InPlaceEditPlugin>(hostCallback);
}
