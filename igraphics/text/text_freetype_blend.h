// Mixing a text colour into 32-bit pixels (A<<24 | R<<16 | G<<8 | B, straight alpha) by an
// 8-bit glyph coverage.
#pragma once

#include <algorithm>
#include <cstdint>

namespace FreeTypeText {

// Composites one coverage value of the colour over a pixel of any alpha (the colour's own
// alpha byte is not used).
inline uint32_t Over(uint32_t dst, uint32_t colour, unsigned coverage) {
  if (coverage >= 255) return 0xFF000000u | (colour & 0xFFFFFFu);
  const unsigned da = dst >> 24;
  const unsigned keep = da * (255 - coverage);  // destination weight, scaled by 255
  const unsigned outA255 = coverage * 255 + keep;
  if (outA255 == 0) return 0;
  uint32_t out = ((outA255 + 127) / 255) << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned s = (colour >> shift) & 255, d = (dst >> shift) & 255;
    const unsigned v = (s * coverage * 255 + d * keep + outA255 / 2) / outA255;
    out |= std::min(v, 255u) << shift;
  }
  return out;
}

// The same result as Over for an opaque destination, without divisions. With the
// destination's alpha at 255 Over's weights share the factor 255, and each channel reduces
// to (s * coverage + d * (255 - coverage) + 127) / 255; red and blue are mixed together in
// one word (each product fits 16 bits) and the division by 255 of a value y below 65536 is
// (y + 1 + (y >> 8)) >> 8.
inline uint32_t OverOpaque(uint32_t dst, uint32_t colour, unsigned coverage) {
  const unsigned rest = 255 - coverage;
  uint32_t rb = (colour & 0xFF00FFu) * coverage + (dst & 0xFF00FFu) * rest + 0x7F007Fu;
  rb = ((rb + 0x10001u + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
  uint32_t g = ((colour >> 8) & 255) * coverage + ((dst >> 8) & 255) * rest + 127;
  g = (g + 1 + (g >> 8)) >> 8;
  return 0xFF000000u | rb | (g << 8);
}

// Composites a row of coverage values over `count` pixels.
inline void CompositeRow(uint32_t* dst, const uint8_t* coverage, int count, uint32_t colour) {
  const uint32_t solid = 0xFF000000u | (colour & 0xFFFFFFu);
  for (int i = 0; i < count; ++i) {
    const unsigned c = coverage[i];
    if (c == 0) continue;
    if (c == 255) {
      dst[i] = solid;
    } else if ((dst[i] >> 24) == 255) {
      dst[i] = OverOpaque(dst[i], colour, c);
    } else {
      dst[i] = Over(dst[i], colour, c);
    }
  }
}

}  // namespace FreeTypeText
