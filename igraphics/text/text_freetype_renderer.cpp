#include "text_freetype_renderer.h"

#include "ITextRenderer.h"
#include "ITextStyle.h"
#include "bitmap.h"
#include "text_freetype.h"

namespace {

FreeTypeText::Font FontOf(const ITextStyle& style) {
  FreeTypeText::Font font;
  font.face = style.Face();
  font.size = style.mSize * style.mDeviceScale;
  font.style = style.mStyle;
  return font;
}

// A style's font: the face is looked up (fontconfig, then the face file opened) when the
// style first draws, not when it is made, so an editor that is built but never shown (a
// host's scan) looks up nothing. The style and so its font belong to one thread, the GUI
// thread; the face cache it resolves through is the back-end's, shared and locked there.
class FreeTypeFont : public IPlatformFont {
 public:
  explicit FreeTypeFont(const ITextStyle& style) : mFont(FontOf(style)) {}
  const FreeTypeText::OpenFace* Face() const {
    if (!mLookedUp) {
      mFace = FreeTypeText::FindFace(mFont);
      mLookedUp = true;
    }
    return mFace;
  }

 private:
  const FreeTypeText::Font mFont;  // the style's settings when the font was made
  mutable const FreeTypeText::OpenFace* mFace = nullptr;  // owned by the back-end's face cache
  mutable bool mLookedUp = false;
};

class Renderer : public ITextRenderer {
 public:
  IPlatformFont* MakeFont(const ITextStyle& style) override {
    return new FreeTypeFont(style);
  }

  // The orientation is not supported: text is always drawn horizontally.
  bool RenderText(LICE_IBitmap* surface, const ITextStyle& style, const char* text,
                  const IBounds& rect) override {
    if (!text || !*text) return true;
    if (!surface || !surface->PixelData()) return false;
    FreeTypeText::Canvas canvas;
    canvas.width = surface->Width();
    canvas.height = surface->Height();
    canvas.rowPixels = surface->RowStride();
    canvas.pixels = surface->PixelData();
    if (surface->IsBottomUp() && canvas.height > 0) {
      canvas.pixels += static_cast<long>(canvas.height - 1) * canvas.rowPixels;
      canvas.rowPixels = -canvas.rowPixels;
    }
    FreeTypeText::Placement place;
    place.left = rect.left;
    place.top = rect.top;
    place.right = rect.right;
    place.bottom = rect.bottom;
    place.alignment = style.mAlignment;

    const auto* own = dynamic_cast<const FreeTypeFont*>(style.mFont);
    const FreeTypeText::OpenFace* face = own ? own->Face() : FreeTypeText::FindFace(FontOf(style));
    return FreeTypeText::Draw(canvas, face, place, style.mColour.Word(), text);
  }

  bool MeasureText(const ITextStyle& style, const char* text, int32_t* width) override {
    int w = 0, h = 0;
    if (!width || !FreeTypeText::Measure(FontOf(style), text ? text : "", &w, &h)) return false;
    *width = w;
    return true;
  }
};

}  // namespace

ITextRenderer* FreeTypeTextRenderer() {
  static Renderer renderer;
  return &renderer;
}

void InstallFreeTypeTextRenderer() {
  if (!GetTextRenderer()) SetTextRenderer(FreeTypeTextRenderer());
}
