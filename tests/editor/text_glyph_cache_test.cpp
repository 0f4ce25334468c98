// Stored glyphs and the fast mixing must give exactly the pixels of rendering every glyph anew.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "text_freetype.h"
#include "text_freetype_blend.h"
#include "text_freetype_glyphs.h"

namespace {

using FreeTypeText::Canvas;
using FreeTypeText::Font;
using FreeTypeText::Glyph;
using FreeTypeText::GlyphCache;
using FreeTypeText::Placement;

Font MakeFont(const char* face, int size, int style) {
  Font f;
  f.face = face;
  f.size = size;
  f.style = style;
  return f;
}

// One text drawn in one place, as the editor and the artwork generator draw them.
struct Job {
  Font font;
  int align;
  uint32_t colour;
  const char* text;
};

const std::vector<Job>& Jobs() {
  static const std::vector<Job> jobs = {
    {MakeFont("Tahoma", 11, FreeTypeText::kStyleNormal), 0, 0xFF212528u, "1ms -10dB Haas iiillljjj"},
    {MakeFont("Tahoma", 11, FreeTypeText::kStyleNormal), 1, 0xFF212528u, "20ms\n0dB"},
    {MakeFont("Tahoma", 12, FreeTypeText::kStyleBold), 1, 0xFF393F46u, "v1.03 Brindlow"},
    {MakeFont("Tahoma", 11, FreeTypeText::kStyleBold), 2, 0xFFC02010u, "+10dB 40ms"},
    {MakeFont("Tahoma", 14, FreeTypeText::kStyleItalic), 2, 0xFF0030F0u, "Mono/Stereo\r\nDelay"},
    {MakeFont("No Such Face Brindlow", 17, FreeTypeText::kStyleNormal), 0, 0xFF10A040u, "Wavy, fill"},
    {MakeFont("Tahoma", 36, FreeTypeText::kStyleNormal), 1, 0xFF000000u, "WAVE &%@"},
  };
  return jobs;
}

// Every job over a fresh canvas whose background is `paper` (varied when paper is 0, so that
// transparent, half-covered and opaque pixels all occur).
std::vector<uint32_t> DrawAll(uint32_t paper) {
  constexpr int kW = 240, kH = 64 * 7;
  std::vector<uint32_t> pixels(static_cast<size_t>(kW) * kH, paper);
  if (paper == 0) {
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u);
  }
  Canvas canvas;
  canvas.pixels = pixels.data();
  canvas.width = kW;
  canvas.height = kH;
  canvas.rowPixels = kW;
  int top = 2;
  for (const Job& job : Jobs()) {
    Placement place;
    place.left = 5;
    place.right = kW - 5;
    place.top = top;
    place.bottom = top + 60;
    place.alignment = job.align;
    EXPECT_TRUE(FreeTypeText::Draw(canvas, job.font, place, job.colour, job.text)) << job.text;
    top += 64;
  }
  return pixels;
}

class GlyphCacheDraw : public ::testing::Test {
 protected:
  void TearDown() override { FreeTypeText::SetGlyphCacheLimit(FreeTypeText::kDefaultGlyphCacheLimit); }
};

TEST_F(GlyphCacheDraw, StoredGlyphsGiveThePixelsOfFreshRendering) {
  for (uint32_t paper : {0xFFF0E8E0u, 0x00000000u, 0u}) {
    SCOPED_TRACE(paper);
    FreeTypeText::SetGlyphCacheLimit(0);
    const std::vector<uint32_t> fresh = DrawAll(paper);
    FreeTypeText::SetGlyphCacheLimit(FreeTypeText::kDefaultGlyphCacheLimit);
    const std::vector<uint32_t> filling = DrawAll(paper);  // glyphs stored as they are drawn
    const std::vector<uint32_t> stored = DrawAll(paper);   // every glyph from the store
    EXPECT_TRUE(fresh == filling);
    EXPECT_TRUE(fresh == stored);
  }
  EXPECT_GT(FreeTypeText::GlyphCacheBytes(FreeTypeText::FindFace(Jobs()[0].font)), 0u);
}

TEST_F(GlyphCacheDraw, SizesAndStylesKeepTheirOwnGlyphs) {
  // The same letters in fonts that differ only in size or style, drawn alternately: each must
  // look as it does drawn alone with nothing stored.
  const Font fonts[] = {MakeFont("Tahoma", 11, 0), MakeFont("Tahoma", 12, 0),
                        MakeFont("Tahoma", 11, FreeTypeText::kStyleBold),
                        MakeFont("Tahoma", 11, FreeTypeText::kStyleItalic)};
  auto draw = [](const Font& font) {
    std::vector<uint32_t> pixels(100 * 20, 0xFFFFFFFFu);
    Canvas canvas{pixels.data(), 100, 20, 100};
    Placement place;
    place.right = 100;
    EXPECT_TRUE(FreeTypeText::Draw(canvas, font, place, 0xFF000000u, "dB ms"));
    return pixels;
  };
  FreeTypeText::SetGlyphCacheLimit(0);
  std::vector<std::vector<uint32_t>> alone;
  for (const Font& font : fonts) alone.push_back(draw(font));
  for (size_t i = 1; i < alone.size(); ++i) EXPECT_NE(alone[0], alone[i]) << "font " << i;
  FreeTypeText::SetGlyphCacheLimit(FreeTypeText::kDefaultGlyphCacheLimit);
  for (int round = 0; round < 2; ++round) {
    for (size_t i = 0; i < alone.size(); ++i) EXPECT_EQ(draw(fonts[i]), alone[i]) << "font " << i;
  }
}

TEST_F(GlyphCacheDraw, MeasuringAgreesWithAndWithoutStoredGlyphs) {
  for (const Job& job : Jobs()) {
    FreeTypeText::SetGlyphCacheLimit(0);
    int w0 = 0, h0 = 0;
    ASSERT_TRUE(FreeTypeText::Measure(job.font, job.text, &w0, &h0));
    FreeTypeText::SetGlyphCacheLimit(FreeTypeText::kDefaultGlyphCacheLimit);
    for (int round = 0; round < 2; ++round) {
      int w = 0, h = 0;
      ASSERT_TRUE(FreeTypeText::Measure(job.font, job.text, &w, &h));
      EXPECT_EQ(w, w0) << job.text;
      EXPECT_EQ(h, h0) << job.text;
    }
  }
}

TEST_F(GlyphCacheDraw, AFaceNeverKeepsMoreThanTheLimit) {
  const Font big = MakeFont("Tahoma", 96, FreeTypeText::kStyleNormal);
  const FreeTypeText::OpenFace* face = FreeTypeText::FindFace(big);
  ASSERT_NE(face, nullptr);
  const char* text = "The quick brown fox jumps over the lazy dog 0123456789";
  auto draw = [&] {
    std::vector<uint32_t> pixels(400 * 120, 0xFF808080u);
    Canvas canvas{pixels.data(), 400, 120, 400};
    Placement place;
    place.left = -1200;
    place.right = 400;
    EXPECT_TRUE(FreeTypeText::Draw(canvas, big, place, 0xFF102030u, text));
    return pixels;
  };
  FreeTypeText::SetGlyphCacheLimit(0);
  const std::vector<uint32_t> fresh = draw();
  EXPECT_EQ(FreeTypeText::GlyphCacheBytes(face), 0u);
  const size_t limit = 20000;  // a handful of these glyphs
  FreeTypeText::SetGlyphCacheLimit(limit);
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(draw(), fresh) << "round " << round;
    EXPECT_GT(FreeTypeText::GlyphCacheBytes(face), 0u);
    EXPECT_LE(FreeTypeText::GlyphCacheBytes(face), limit);
  }
}

TEST_F(GlyphCacheDraw, EditorsOnSeveralThreadsDrawTheSameText) {
  const std::vector<uint32_t> reference = DrawAll(0xFFF0E8E0u);
  // A small limit makes the faces start afresh now and then while other threads draw.
  FreeTypeText::SetGlyphCacheLimit(6000);
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 15; ++i) mismatches[t] += DrawAll(0xFFF0E8E0u) != reference;
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (size_t t = 0; t < mismatches.size(); ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

TEST(GlyphStore, KeysSeparateCodesAndPhases) {
  EXPECT_NE(GlyphCache::Key('a', 0), GlyphCache::Key('a', 1));
  EXPECT_NE(GlyphCache::Key('a', 63), GlyphCache::Key('b', 0));
  EXPECT_NE(GlyphCache::Key(255, 63), GlyphCache::Key(0, 0));
  EXPECT_EQ(GlyphCache::Key('a', 64), GlyphCache::Key('a', 0)) << "a phase is a fraction of 64";
}

TEST(GlyphStore, CountsBytesAndRefusesWhatOutgrowsTheLimit) {
  GlyphCache cache;
  Glyph small;
  small.ok = true;
  small.advance = 300;
  small.coverage.assign(100, 7);
  const size_t one = small.Bytes();
  ASSERT_TRUE(cache.Fits(small, 2 * one));
  const Glyph* kept = cache.Add(GlyphCache::Key('x', 5), Glyph(small));
  EXPECT_EQ(cache.Find(GlyphCache::Key('x', 5)), kept);
  EXPECT_EQ(kept->advance, 300);
  EXPECT_EQ(kept->coverage, small.coverage);
  EXPECT_EQ(cache.Find(GlyphCache::Key('x', 6)), nullptr);
  EXPECT_EQ(cache.Bytes(), one);
  EXPECT_TRUE(cache.Fits(small, 2 * one));
  EXPECT_FALSE(cache.Fits(small, 2 * one - 1));
  EXPECT_FALSE(GlyphCache().Fits(small, one - 1)) << "a glyph larger than the limit never fits";
  // Storing under a key again replaces the glyph without counting it twice.
  cache.Add(GlyphCache::Key('x', 5), Glyph(small));
  EXPECT_EQ(cache.Bytes(), one);
  EXPECT_EQ(cache.Count(), 1u);
  cache.Add(GlyphCache::Key('y', 0), Glyph(small));
  EXPECT_EQ(cache.Bytes(), 2 * one);
  cache.Clear();
  EXPECT_EQ(cache.Bytes(), 0u);
  EXPECT_EQ(cache.Find(GlyphCache::Key('x', 5)), nullptr);
}

TEST(GlyphMixing, OpaqueShortcutEqualsTheGeneralMixForEveryValue) {
  // Each channel of the shortcut is checked against the general formula for every colour value,
  // pixel value and coverage; the three channels get different values in each call.
  int wrong = 0;
  for (unsigned s = 0; s < 256; ++s) {
    const uint32_t colour = 0xFF000000u | (s << 16) | ((255 - s) << 8) | (s ^ 0x5Au);
    for (unsigned d = 0; d < 256; ++d) {
      const uint32_t pixel = 0xFF000000u | (((d + 77) & 255) << 16) | (d << 8) | (255 - d);
      for (unsigned c = 0; c < 256; ++c) {
        wrong += FreeTypeText::OverOpaque(pixel, colour, c) != FreeTypeText::Over(pixel, colour, c);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(GlyphMixing, ARowMixesEachPixelByItsOwnAlpha) {
  const uint32_t colour = 0x40C08020u;  // the colour's alpha is not used
  const std::vector<uint32_t> before = {0xFF102030u, 0x00000000u, 0x80FFFFFFu, 0xFF000000u,
                                        0x01ABCDEFu, 0xFFFFFFFFu, 0x7F7F7F7Fu, 0xFE010203u};
  const std::vector<uint8_t> coverage = {128, 200, 0, 255, 1, 254, 64, 99};
  std::vector<uint32_t> row = before;
  FreeTypeText::CompositeRow(row.data(), coverage.data(), static_cast<int>(row.size()), colour);
  for (size_t i = 0; i < row.size(); ++i) {
    const uint32_t expected = coverage[i] == 0 ? before[i] : FreeTypeText::Over(before[i], colour, coverage[i]);
    EXPECT_EQ(row[i], expected) << "pixel " << i;
  }
  EXPECT_EQ(row[3], 0xFFC08020u) << "full coverage gives the opaque colour";
  EXPECT_EQ(row[2], before[2]) << "no coverage leaves the pixel";
}

}  // namespace
