#include "Win32TextRenderer.h"

#include <windows.h>

#include "ITextRenderer.h"
#include "ITextStyle.h"
#include "bitmap.h"

namespace {

// The style's font as GDI makes it: height in pixels (at the style's scale, to whole
// pixels), orientation in tenths of a degree, bold and italic from the style; everything
// else left to GDI.
HFONT CreateStyleFont(const ITextStyle& style)
{
  const int tenths = style.mOrientation * 10;
  const int height = style.mDeviceScale == 1.0 ? style.mSize : int(style.mSize * style.mDeviceScale + 0.5);
  return CreateFontA(height, 0, tenths, tenths, style.mStyle == kTextBold ? FW_BOLD : FW_DONTCARE,
                     style.mStyle == kTextItalic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, style.Face());
}

class GdiFont : public IPlatformFont
{
public:
  explicit GdiFont(HFONT font) : mFont(font) {}
  ~GdiFont() override { DeleteObject(mFont); }
  HFONT Handle() const { return mFont; }

private:
  HFONT mFont;
};

class GdiTextRenderer : public ITextRenderer
{
public:
  IPlatformFont* MakeFont(const ITextStyle& style) override
  {
    HFONT font = CreateStyleFont(style);
    return font ? new GdiFont(font) : nullptr;
  }

  bool RenderText(LICE_IBitmap* surface, const ITextStyle& style, const char* text, const IBounds& rect) override
  {
    return Draw(surface, style, text, rect, nullptr);
  }

  // The device context clips, so the text is drawn in place with only |clip| changed.
  bool RenderTextClipped(LICE_IBitmap* surface, const ITextStyle& style, const char* text, const IBounds& rect,
                         const IBounds& clip) override
  {
    return Draw(surface, style, text, rect, &clip);
  }

  bool MeasureText(const ITextStyle& style, const char* text, int32_t* width) override
  {
    if (!width) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    const GdiFont* own = dynamic_cast<const GdiFont*>(style.mFont);
    HFONT font = own ? own->Handle() : CreateStyleFont(style);
    HGDIOBJ previous = SelectObject(dc, font);
    RECT r = {0, 0, 0, 0};
    const int measured = DrawTextA(dc, text ? text : "", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);
    if (!own && font) DeleteObject(font);
    DeleteDC(dc);
    if (!measured) return false;
    *width = r.right - r.left;
    return true;
  }
private:
  static bool Draw(LICE_IBitmap* surface, const ITextStyle& style, const char* text, const IBounds& rect,
                   const IBounds* clip)
  {
    if (!text || !*text) return true;
    HDC dc = surface ? static_cast<HDC>(surface->DeviceContext()) : nullptr;
    if (!dc) return false;
    const int saved = SaveDC(dc);
    if (clip) IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
    // A style made before this renderer was installed has no font of its own.
    const GdiFont* own = dynamic_cast<const GdiFont*>(style.mFont);
    HFONT font = own ? own->Handle() : CreateStyleFont(style);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    // Every bitmap has its own device context, so the colour is set each time rather
    // than remembered; GDI has no use for the alpha.
    SetTextColor(dc, RGB(style.mColour.R, style.mColour.G, style.mColour.B));
    const UINT format =
      DT_NOCLIP | (style.mAlignment == kAlignCentre ? DT_CENTER : style.mAlignment == kAlignRight ? DT_RIGHT : DT_LEFT);
    RECT r = {rect.left, rect.top, rect.right, rect.bottom};
    const int drawn = DrawTextA(dc, text, -1, &r, format);
    // The raster library writes the same pixels next: GDI must have finished with them.
    GdiFlush();
    // Puts back the font, clip, mode and colour the bitmap's context had.
    RestoreDC(dc, saved);
    if (!own && font) DeleteObject(font);
    return drawn != 0;
  }
};

}  // namespace

ITextRenderer* Win32TextRenderer()
{
  static GdiTextRenderer renderer;
  return &renderer;
}
