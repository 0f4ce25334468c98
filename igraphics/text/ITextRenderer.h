#pragma once
// Hook between the toolkit and whatever draws text on this platform. The
// toolkit knows fonts only as opaque IPlatformFont objects made by the renderer.

#include "IGraphicsTypes.h"

class ITextStyle;

class IPlatformFont
{
public:
  virtual ~IPlatformFont() = default;
};

class ITextRenderer
{
public:
  virtual ~ITextRenderer() = default;

  // A font for the style's face, size, weight, slant and orientation, or null.
  virtual IPlatformFont* MakeFont(const ITextStyle& style) = 0;

  // Draws |text| into |surface| inside |rect| with the style's font, colour and
  // alignment, without clipping. Answers whether anything could be drawn.
  virtual bool RenderText(LICE_IBitmap* surface, const ITextStyle& style, const char* text, const IBounds& rect) = 0;

  // Draws like RenderText but changes only the pixels inside |clip|, so that text repainted
  // in part of the editor never darkens its antialiased edges outside that part. By default
  // the text is drawn into a view of the clip rectangle; a renderer that draws through a
  // device context can clip there instead.
  virtual bool RenderTextClipped(LICE_IBitmap* surface, const ITextStyle& style, const char* text,
                                 const IBounds& rect, const IBounds& clip);

  // Width in pixels of |text| drawn with the style; false when it cannot be measured.
  virtual bool MeasureText(const ITextStyle&, const char*, int32_t*) { return false; }
};

// The process-wide text renderer (not owned) that styles make their fonts with; the first
// editor installs its window back-end's renderer when none is installed yet.
// Styles made while none is installed have no font and draw no text.
void SetTextRenderer(ITextRenderer* renderer);
ITextRenderer* GetTextRenderer();
