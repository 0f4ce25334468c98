#include "text_freetype.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using FreeTypeText::Canvas;
using FreeTypeText::Font;
using FreeTypeText::Placement;

constexpr uint32_t kPaper = 0xFFF0E8E0u;

struct Buffer {
  Buffer(int w, int h, int row, uint32_t fill) : pixels(static_cast<size_t>(row) * h, fill) {
    canvas.pixels = pixels.data();
    canvas.width = w;
    canvas.height = h;
    canvas.rowPixels = row;
  }
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * canvas.rowPixels + x]; }
  std::vector<uint32_t> pixels;
  Canvas canvas;
};

struct Ink {
  int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
  int count = 0;
  bool Any() const { return count > 0; }
};

Ink FindInk(const Buffer& b, uint32_t paper) {
  Ink ink;
  for (int y = 0; y < b.canvas.height; ++y) {
    for (int x = 0; x < b.canvas.width; ++x) {
      if (b.At(x, y) == paper) continue;
      ++ink.count;
      ink.minX = std::min(ink.minX, x);
      ink.maxX = std::max(ink.maxX, x);
      ink.minY = std::min(ink.minY, y);
      ink.maxY = std::max(ink.maxY, y);
    }
  }
  return ink;
}

Font Tahoma(int size, int style = FreeTypeText::kStyleNormal) {
  Font f;
  f.face = "Tahoma";
  f.size = size;
  f.style = style;
  return f;
}

Placement Box(int l, int t, int r, int b, int align) {
  Placement p;
  p.left = l;
  p.top = t;
  p.right = r;
  p.bottom = b;
  p.alignment = align;
  return p;
}

int Channel(uint32_t word, int shift) { return static_cast<int>((word >> shift) & 255); }

TEST(FreeTypeTextDraw, InkIsTheColourMixedOverTheBackground) {
  Buffer b(120, 40, 120, kPaper);
  const uint32_t colour = 0xFF2050C0u;
  ASSERT_TRUE(FreeTypeText::Draw(b.canvas, Tahoma(20, FreeTypeText::kStyleBold),
                                 Box(2, 2, 118, 38, 0), colour, "Haas 40"));
  const Ink ink = FindInk(b, kPaper);
  ASSERT_GT(ink.count, 40);
  int darkest = 255 * 3;
  for (uint32_t p : b.pixels) {
    if (p == kPaper) continue;
    EXPECT_EQ(p >> 24, 0xFFu) << "an opaque background stays opaque";
    // Every channel moved the same fraction of the way from the paper to the colour.
    const double t = (Channel(p, 16) - 0xF0) / double(0x20 - 0xF0);
    EXPECT_NEAR(Channel(p, 8), 0xE8 + t * (0x50 - 0xE8), 2.0);
    EXPECT_NEAR(Channel(p, 0), 0xE0 + t * (0xC0 - 0xE0), 2.0);
    darkest = std::min(darkest, Channel(p, 16) + Channel(p, 8) + Channel(p, 0));
  }
  EXPECT_LE(darkest, 0x20 + 0x50 + 0xC0 + 6) << "bold strokes reach the full colour";
}

TEST(FreeTypeTextDraw, ColourAlphaIsIgnored) {
  Buffer opaque(100, 30, 100, kPaper), clear(100, 30, 100, kPaper);
  ASSERT_TRUE(FreeTypeText::Draw(opaque.canvas, Tahoma(12), Box(0, 0, 100, 30, 0), 0xFF393F46u,
                                 "v1.03"));
  ASSERT_TRUE(FreeTypeText::Draw(clear.canvas, Tahoma(12), Box(0, 0, 100, 30, 0), 0x00393F46u,
                                 "v1.03"));
  EXPECT_EQ(opaque.pixels, clear.pixels);
}

TEST(FreeTypeTextDraw, TransparentCanvasGetsCoverageAsAlpha) {
  Buffer b(60, 30, 60, 0x00000000u);
  ASSERT_TRUE(FreeTypeText::Draw(b.canvas, Tahoma(18), Box(0, 0, 60, 30, 0), 0xFF112233u, "Wo"));
  int partial = 0;
  for (uint32_t p : b.pixels) {
    if (p == 0) continue;
    EXPECT_EQ(p & 0xFFFFFFu, 0x112233u) << "straight alpha keeps the pure colour";
    if ((p >> 24) < 255) ++partial;
  }
  EXPECT_GT(partial, 0) << "edges are antialiased";
}

TEST(FreeTypeTextDraw, AlignsLeftCentredAndRightWithinTheRectangle) {
  const Placement left = Box(20, 4, 280, 30, FreeTypeText::kAlignLeft);
  Placement centre = left, right = left;
  centre.alignment = FreeTypeText::kAlignCentre;
  right.alignment = FreeTypeText::kAlignRight;
  Buffer a(300, 40, 300, kPaper), c(300, 40, 300, kPaper), r(300, 40, 300, kPaper);
  const Font font = Tahoma(11);
  ASSERT_TRUE(FreeTypeText::Draw(a.canvas, font, left, 0xFF212528u, "HUH"));
  ASSERT_TRUE(FreeTypeText::Draw(c.canvas, font, centre, 0xFF212528u, "HUH"));
  ASSERT_TRUE(FreeTypeText::Draw(r.canvas, font, right, 0xFF212528u, "HUH"));
  const Ink ia = FindInk(a, kPaper), ic = FindInk(c, kPaper), ir = FindInk(r, kPaper);
  ASSERT_TRUE(ia.Any() && ic.Any() && ir.Any());
  EXPECT_GE(ia.minX, 20);
  EXPECT_LE(ia.minX, 22);
  EXPECT_LE(ir.maxX, 279);
  EXPECT_GE(ir.maxX, 277);
  EXPECT_NEAR((ic.minX + ic.maxX) / 2.0, 150.0, 1.5);
  // Only the horizontal position differs.
  EXPECT_EQ(ia.maxX - ia.minX, ic.maxX - ic.minX);
  EXPECT_EQ(ia.maxX - ia.minX, ir.maxX - ir.minX);
  EXPECT_EQ(ia.minY, ir.minY);
}

TEST(FreeTypeTextDraw, LinesStartAtTheTopAndStackByTheCellHeight) {
  Buffer one(100, 100, 100, kPaper), two(100, 100, 100, kPaper);
  const Placement tall = Box(0, 10, 100, 100, FreeTypeText::kAlignLeft);
  ASSERT_TRUE(FreeTypeText::Draw(one.canvas, Tahoma(16), tall, 0xFF000000u, "H"));
  ASSERT_TRUE(FreeTypeText::Draw(two.canvas, Tahoma(16), tall, 0xFF000000u, "H\r\nH"));
  const Ink i1 = FindInk(one, kPaper), i2 = FindInk(two, kPaper);
  ASSERT_TRUE(i1.Any());
  EXPECT_GE(i1.minY, 10);
  EXPECT_LT(i1.maxY, 10 + 16) << "not centred vertically: the line sits at the top";
  EXPECT_EQ(i2.minY, i1.minY);
  EXPECT_EQ(i2.maxY, i1.maxY + 16);
  int w = 0, h = 0;
  ASSERT_TRUE(FreeTypeText::Measure(Tahoma(16), "H\nHH", &w, &h));
  EXPECT_EQ(h, 32);
  int w1 = 0;
  ASSERT_TRUE(FreeTypeText::Measure(Tahoma(16), "HH", &w1, nullptr));
  EXPECT_EQ(w, w1) << "the widest line decides the width";
}

TEST(FreeTypeTextDraw, SpillsOutOfTheRectangleButNeverOutOfTheCanvas) {
  // A 40 x 12 canvas inside a larger buffer: the padding columns and rows must stay intact.
  const uint32_t guard = 0x12345678u;
  Buffer b(40, 20, 64, guard);
  for (int y = 4; y < 16; ++y) {
    for (int x = 0; x < 40; ++x) b.pixels[static_cast<size_t>(y) * 64 + x] = kPaper;
  }
  Canvas inner = b.canvas;
  inner.pixels = b.pixels.data() + 4 * 64;
  inner.height = 12;
  // The rectangle is narrower than the text and partly above and left of the canvas.
  ASSERT_TRUE(FreeTypeText::Draw(inner, Tahoma(24), Box(-9, -6, 5, 2, 0), 0xFF000000u,
                                 "Brindlow Brindlow"));
  ASSERT_TRUE(FreeTypeText::Draw(inner, Tahoma(24), Box(30, 8, 38, 9, 2), 0xFF000000u,
                                 "Wide text to the left"));
  ASSERT_TRUE(FreeTypeText::Draw(inner, Tahoma(24), Box(100000, -100000, 100001, 0, 0),
                                 0xFF000000u, "far away"));
  int inkInside = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 64; ++x) {
      const uint32_t p = b.pixels[static_cast<size_t>(y) * 64 + x];
      const bool inCanvas = y >= 4 && y < 16 && x < 40;
      if (!inCanvas) {
        ASSERT_EQ(p, guard) << "wrote outside the canvas at " << x << "," << y;
      } else if (p != kPaper) {
        ++inkInside;
      }
    }
  }
  EXPECT_GT(inkInside, 20) << "text outside its rectangle is still drawn (no clipping)";
}

TEST(FreeTypeTextDraw, EmptyTextDrawsNothingAndBadCanvasFails) {
  Buffer b(20, 20, 20, kPaper);
  EXPECT_TRUE(FreeTypeText::Draw(b.canvas, Tahoma(12), Box(0, 0, 20, 20, 0), 0xFF000000u, ""));
  EXPECT_TRUE(FreeTypeText::Draw(b.canvas, Tahoma(12), Box(0, 0, 20, 20, 0), 0xFF000000u, nullptr));
  EXPECT_FALSE(FindInk(b, kPaper).Any());
  Canvas narrow = b.canvas;
  narrow.rowPixels = 10;  // rows shorter than the width
  EXPECT_FALSE(FreeTypeText::Draw(narrow, Tahoma(12), Box(0, 0, 20, 20, 0), 0xFF000000u, "x"));
  Canvas none;
  EXPECT_FALSE(FreeTypeText::Draw(none, Tahoma(12), Box(0, 0, 20, 20, 0), 0xFF000000u, "x"));
  EXPECT_FALSE(FreeTypeText::Draw(b.canvas, Tahoma(0), Box(0, 0, 20, 20, 0), 0xFF000000u, "x"));
  EXPECT_FALSE(FreeTypeText::Draw(b.canvas, Tahoma(-12), Box(0, 0, 20, 20, 0), 0xFF000000u, "x"));
  EXPECT_FALSE(FreeTypeText::Draw(b.canvas, Tahoma(1 << 20), Box(0, 0, 20, 20, 0), 0xFF000000u, "x"))
    << "an absurd size is refused, not rendered";
  EXPECT_FALSE(FindInk(b, kPaper).Any());
}

TEST(FreeTypeTextFaces, TahomaComesFromTheWineFontsWithItsOwnBoldFace) {
  const std::string regular = FreeTypeText::ResolvedFile(Tahoma(11));
  const std::string bold = FreeTypeText::ResolvedFile(Tahoma(12, FreeTypeText::kStyleBold));
  EXPECT_NE(regular.find("tahoma.ttf"), std::string::npos) << regular;
  EXPECT_NE(bold.find("tahomabd.ttf"), std::string::npos) << bold;
}

TEST(FreeTypeTextFaces, AMissingFaceFallsBackToASansFace) {
  Font missing = Tahoma(14);
  missing.face = "No Such Face Brindlow";
  EXPECT_FALSE(FreeTypeText::ResolvedFile(missing).empty());
  Buffer b(80, 20, 80, kPaper);
  ASSERT_TRUE(FreeTypeText::Draw(b.canvas, missing, Box(0, 0, 80, 20, 0), 0xFF000000u, "Sans"));
  EXPECT_TRUE(FindInk(b, kPaper).Any());
}

TEST(FreeTypeTextFaces, BoldAndItalicChangeTheGlyphs) {
  int normal = 0, bold = 0;
  ASSERT_TRUE(FreeTypeText::Measure(Tahoma(14), "Brindlow", &normal, nullptr));
  ASSERT_TRUE(FreeTypeText::Measure(Tahoma(14, FreeTypeText::kStyleBold), "Brindlow", &bold, nullptr));
  EXPECT_GT(bold, normal);
  // Bold strokes are heavier, not only wider spaced.
  auto stemWidth = [](int style) {
    Buffer s(60, 70, 60, kPaper);
    EXPECT_TRUE(FreeTypeText::Draw(s.canvas, Tahoma(60, style), Box(10, 0, 60, 70, 0),
                                   0xFF000000u, "l"));
    int dark = 0;
    for (int x = 0; x < 60; ++x) dark += (s.At(x, 30) & 255) < 128;
    return dark;
  };
  EXPECT_GE(stemWidth(FreeTypeText::kStyleBold), stemWidth(FreeTypeText::kStyleNormal) + 2);
  Buffer n(80, 20, 80, kPaper), i(80, 20, 80, kPaper);
  ASSERT_TRUE(FreeTypeText::Draw(n.canvas, Tahoma(14), Box(4, 0, 80, 20, 0), 0xFF000000u, "lll"));
  ASSERT_TRUE(FreeTypeText::Draw(i.canvas, Tahoma(14, FreeTypeText::kStyleItalic),
                                 Box(4, 0, 80, 20, 0), 0xFF000000u, "lll"));
  // A slanted stem leans right: its top row starts further right than its bottom row.
  const Ink in = FindInk(i, kPaper);
  ASSERT_TRUE(in.Any());
  auto firstInkX = [&](int y) {
    for (int x = 0; x < 80; ++x) {
      if (i.At(x, y) != kPaper) return x;
    }
    return -1;
  };
  EXPECT_GT(firstInkX(in.minY), firstInkX(in.maxY));
  EXPECT_NE(n.pixels, i.pixels);
}

}  // namespace
