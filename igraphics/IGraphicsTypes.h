#pragma once
// Plain records shared by the editor toolkit: rectangles, colours, blends,
// mouse state and image strips.

#include <cstdint>

#include "IKeyPress.h"

class LICE_IBitmap;

// Integer rectangle. Only the all-zero rectangle counts as empty.
struct IBounds
{
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  IBounds() = default;
  IBounds(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}

  bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }

  // Our right and bottom edges count as touching, those of |other| do not.
  bool Overlaps(const IBounds& other) const
  {
    if (IsEmpty() || other.IsEmpty()) return false;
    return right >= other.left && left < other.right && bottom >= other.top && top < other.bottom;
  }

  IBounds Union(const IBounds& other) const
  {
    if (IsEmpty()) return other;
    if (other.IsEmpty()) return *this;
    return IBounds(left < other.left ? left : other.left, top < other.top ? top : other.top,
                   right > other.right ? right : other.right, bottom > other.bottom ? bottom : other.bottom);
  }

  IBounds Intersection(const IBounds& other) const
  {
    if (!Overlaps(other)) return IBounds();
    return IBounds(left > other.left ? left : other.left, top > other.top ? top : other.top,
                   right < other.right ? right : other.right, bottom < other.bottom ? bottom : other.bottom);
  }

  bool Contains(int32_t x, int32_t y) const
  {
    return !IsEmpty() && left <= x && x < right && top <= y && y < bottom;
  }

  bool operator==(const IBounds& o) const
  {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const IBounds& o) const { return !(*this == o); }
};

// How a drawing call mixes with what is already drawn.
enum IBlendMethod : int32_t
{
  kBlendThroughAlpha = 0,  // copy through the source's alpha
  kBlendCopy = 1,          // plain copy, source alpha ignored
  kBlendAdd = 2,
  kBlendColourDodge = 3,
};

struct IBlend
{
  int32_t method = kBlendThroughAlpha;
  float weight = 1.0f;

  IBlend() = default;
  IBlend(int32_t m, float w) : method(m), weight(w) {}
};

// Colour with four 0..255 channels; towards the raster library a 32-bit word.
struct IRgba
{
  int32_t A = 255, R = 0, G = 0, B = 0;

  IRgba() = default;
  IRgba(int32_t a, int32_t r, int32_t g, int32_t b) : A(a), R(r), G(g), B(b) {}

  uint32_t Word() const
  {
    return (uint32_t(A & 255) << 24) | (uint32_t(R & 255) << 16) | (uint32_t(G & 255) << 8) | uint32_t(B & 255);
  }
  static IRgba FromWord(uint32_t w)
  {
    return IRgba(int32_t(w >> 24), int32_t((w >> 16) & 255), int32_t((w >> 8) & 255), int32_t(w & 255));
  }
  bool operator==(const IRgba& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IRgba& o) const { return !(*this == o); }
};

// Button and modifier state sent with every mouse event.
struct IMouseKeys
{
  bool left = false, right = false, shift = false, control = false, alt = false;

  IMouseKeys() = default;
  IMouseKeys(bool l, bool r, bool s, bool c, bool a) : left(l), right(r), shift(s), control(c), alt(a) {}
};

// A loaded image: |frames| equal bands stacked from top to bottom. The bitmap
// belongs to the image cache, never to the strip.
struct IBitmapStrip
{
  LICE_IBitmap* bitmap = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t frames = 1;

  IBitmapStrip() = default;
  IBitmapStrip(LICE_IBitmap* b, int32_t w, int32_t h, int32_t n) : bitmap(b), width(w), height(h), frames(n) {}

  // Height of one frame; a frame count below 1 counts as one frame.
  int32_t FrameHeight() const { return frames > 1 ? height / frames : height; }
};

