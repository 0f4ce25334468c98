#include "ITextRenderer.h"

#include "bitmap.h"

namespace {
// A rectangle of another bitmap, sharing its pixels.
class BitmapView : public LICE_IBitmap
{
public:
  BitmapView(LICE_IBitmap& base, const IBounds& area) : mArea(area), mBase(base)
  {
    // Bottom-up rows run backwards in memory: the view starts at the memory row of its last row.
    const int memoryRow = base.IsBottomUp() ? base.Height() - area.bottom : area.top;
    mPixels = base.PixelData() + long(memoryRow) * base.RowStride() + area.left;
  }
  PixelWord* PixelData() const override { return mPixels; }
  int Width() const override { return mArea.Width(); }
  int Height() const override { return mArea.Height(); }
  int RowStride() const override { return mBase.RowStride(); }
  bool IsBottomUp() const override { return mBase.IsBottomUp(); }
  bool SetSize(int, int) override { return false; }

private:
  IBounds mArea;
  LICE_IBitmap& mBase;
  PixelWord* mPixels;
};
}  // namespace

bool ITextRenderer::RenderTextClipped(LICE_IBitmap* surface, const ITextStyle& style, const char* text,
                                      const IBounds& rect, const IBounds& clip)
{
  if (!surface || !surface->PixelData()) return false;
  const IBounds inside = clip.Intersection(IBounds(0, 0, surface->Width(), surface->Height()));
  if (inside.IsEmpty() || inside.Width() <= 0 || inside.Height() <= 0) return true;  // nothing of it to change
  BitmapView view(*surface, inside);
  const IBounds moved(rect.left - inside.left, rect.top - inside.top, rect.right - inside.left,
                      rect.bottom - inside.top);
  return RenderText(&view, style, text, moved);
}
