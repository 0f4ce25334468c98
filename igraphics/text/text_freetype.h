// Text drawing for the Linux editor: FreeType glyphs, faces found through fontconfig.
//
// Draws a string into a 32-bit pixel buffer (PixelWord layout: A<<24 | R<<16 | G<<8 | B,
// alpha not premultiplied), the way the Windows editor draws it with DrawTextA and the flags
// DT_NOCLIP | DT_LEFT/DT_CENTER/DT_RIGHT: every line starts at the rectangle's top, is placed
// left, centred or right within the rectangle's width, and may spill out of the rectangle.
// The font cell (ascent + descent) is the requested pixel size, as with CreateFontA and a
// positive height. Pixels are only ever written inside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace FreeTypeText {

// Destination pixels; rowPixels is the distance from one row to the next in pixels, at least
// the width (negative for a bitmap stored bottom-up, with `pixels` at the top row).
struct Canvas {
  uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int rowPixels = 0;
};

enum Alignment { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };
enum Style { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };

struct Font {
  std::string face = "Arial";  // family name; a missing family falls back to a sans face
  double size = 12;            // cell height in pixels (1 ... 1024), fractions too
  int style = kStyleNormal;    // 0 normal, 1 bold, 2 italic
};

struct Placement {
  int left = 0, top = 0, right = 0, bottom = 0;  // the layout rectangle
  int alignment = kAlignLeft;
};

// A face opened for one font, kept for the life of the process; opaque to callers.
struct OpenFace;

// Resolves a font once (fontconfig, then FreeType) and answers the cached face on every later
// call; null when no usable font exists.
const OpenFace* FindFace(const Font& font);

// Draws `text` (Latin-1 / ASCII bytes, lines split at '\n', "\r\n" or '\r') antialiased over
// the canvas in colour (the colour's alpha byte is not used). Answers false only when no
// usable font exists or the canvas is invalid; an empty text answers true and draws nothing.
bool Draw(const Canvas& canvas, const Font& font, const Placement& place, uint32_t colour,
          const char* text);
// The same with a face found before.
bool Draw(const Canvas& canvas, const OpenFace* face, const Placement& place, uint32_t colour,
          const char* text);

// Width in pixels of the widest line and the height of all lines together, as Draw would
// lay them out. Answers false when no usable font exists.
bool Measure(const Font& font, const char* text, int* width, int* height);

// The font file drawn for a font (for diagnostics and tests); empty when none is usable.
std::string ResolvedFile(const Font& font);

// Each face keeps the glyphs it rendered (per character and sub-pixel pen phase) up to this
// many bytes; a face over the limit starts afresh on its next draw. 0 keeps none, so that
// every glyph is rendered anew.
constexpr size_t kDefaultGlyphCacheLimit = size_t(1) << 20;
void SetGlyphCacheLimit(size_t bytes);
// Bytes of glyphs a face keeps now.
size_t GlyphCacheBytes(const OpenFace* face);

}  // namespace FreeTypeText
