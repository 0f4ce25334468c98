// Text drawn by the window layer's renderer (FreeType here) while part of the editor is
// repainted: what lies outside the painted area stays exactly as it was.
#include <gtest/gtest.h>

#include <vector>

#include "HeadlessWindowBackend.h"
#include "IGraphicsWindow.h"
#include "ITextControl.h"
#include "ITextStyle.h"
#include "TestSupport.h"

namespace {

// A plain backdrop that, like a bitmap backdrop, repaints only the area being painted.
class Backdrop : public IControl
{
public:
  Backdrop(IPlugBase* plug, const IBounds& bounds) : IControl(plug, bounds, -1) {}
  bool Paint(IGraphicsLice* graphics) override
  {
    const IBlend copy(kBlendCopy, 1.0f);
    return graphics->FillBounds(IRgba(255, 230, 230, 225), mBounds.Intersection(graphics->DrawArea()), &copy);
  }
};

std::vector<uint32_t> Pixels(IGraphicsLice& g, const IBounds& area)
{
  std::vector<uint32_t> out;
  for (int32_t y = area.top; y < area.bottom; ++y)
    for (int32_t x = area.left; x < area.right; ++x)
    {
      const IRgba p = g.ReadPixel(x, y);
      out.push_back(uint32_t(p.A) << 24 | uint32_t(p.R) << 16 | uint32_t(p.G) << 8 | uint32_t(p.B));
    }
  return out;
}

TEST(TextRepaint, RepaintingPartOfATextLeavesTheRestOfItUntouched)
{
  TestPlug plug(1);
  auto* window = new IGraphicsWindow(&plug, 160, 30, 30, CreateHeadlessWindowBackend());
  const IRgba ink(255, 20, 20, 20);
  ITextStyle style(14, &ink, "DejaVu Sans", kTextNormal, kAlignLeft, 0);
  window->AddControl(new Backdrop(&plug, IBounds(0, 0, 160, 30)));
  window->AddControl(new ITextControl(&plug, IBounds(4, 6, 156, 24), style, "Wet Mix 0 dB, Delay 20 ms"));
  plug.AttachEditor(window);

  window->PaintArea(IBounds(0, 0, 160, 30));
  const IBounds rest(40, 0, 160, 30);
  const std::vector<uint32_t> before = Pixels(*window, rest);
  bool inked = false;
  for (uint32_t p : before) inked = inked || (p & 0xFF) < 128;
  ASSERT_TRUE(inked) << "the text is drawn at all";

  for (int i = 0; i < 5; ++i) window->PaintArea(IBounds(0, 0, 40, 30));  // only the start of the text
  EXPECT_EQ(Pixels(*window, rest), before);
}

}  // namespace
