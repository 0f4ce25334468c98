// Line segments: clipping, the dedicated horizontal/vertical/diagonal paths, the general
// two-ended stepping, antialiasing weights and the blend forms.

#include "stroke_canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>

#include "RandomSeeds.h"

namespace {

using LICE::DrawLineSegment;
constexpr int kCopyMode = LICE::kOpCopy, kAddMode = LICE::kOpAdd;

// A picture of width x height with '#' at the listed points.
std::string PictureOf(int width, int height, const std::vector<std::pair<int, int>>& points)
{
  std::string s;
  for (int y = 0; y < height; ++y)
  {
    if (y) s += '/';
    for (int x = 0; x < width; ++x)
    {
      bool on = false;
      for (auto [px, py] : points) on = on || (px == x && py == y);
      s += on ? '#' : '.';
    }
  }
  return s;
}

std::string Line(int w, int h, int x1, int y1, int x2, int y2)
{
  StrokeCanvas c(w, h, kBlack);
  DrawLineSegment(&c, x1, y1, x2, y2, kWhite, 1.0f, kCopyMode, false);
  EXPECT_TRUE(c.GuardsIntact());
  return c.Picture(kBlack, kWhite);
}

TEST(LineSegment, HorizontalAndVerticalIncludeBothEnds)
{
  EXPECT_EQ(Line(8, 5, 5, 3, 1, 3), PictureOf(8, 5, {{1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}}));
  EXPECT_EQ(Line(5, 6, 2, 1, 2, 4), PictureOf(5, 6, {{2, 1}, {2, 2}, {2, 3}, {2, 4}}));
  EXPECT_EQ(Line(5, 6, 2, 4, 2, 1), PictureOf(5, 6, {{2, 1}, {2, 2}, {2, 3}, {2, 4}}));
  EXPECT_EQ(Line(4, 4, 1, 2, 1, 2), PictureOf(4, 4, {{1, 2}}));
}

TEST(LineSegment, ClippedAtEveryEdge)
{
  std::vector<std::pair<int, int>> row5, column0, column9, row0, diagonal, antiDiagonal;
  for (int i = 0; i < 10; ++i)
  {
    row5.push_back({i, 5});
    column0.push_back({0, i});
    column9.push_back({9, i});
    row0.push_back({i, 0});
    diagonal.push_back({i, i});
    antiDiagonal.push_back({i, 9 - i});
  }
  EXPECT_EQ(Line(10, 10, -10, 5, 20, 5), PictureOf(10, 10, row5));
  EXPECT_EQ(Line(10, 10, 20, 5, -10, 5), PictureOf(10, 10, row5));
  EXPECT_EQ(Line(10, 10, 0, -100, 0, 100), PictureOf(10, 10, column0));
  EXPECT_EQ(Line(10, 10, 9, 100, 9, -3), PictureOf(10, 10, column9));
  EXPECT_EQ(Line(10, 10, INT_MIN, 0, INT_MAX, 0), PictureOf(10, 10, row0));
  // Through opposite corners.
  EXPECT_EQ(Line(10, 10, -5, -5, 14, 14), PictureOf(10, 10, diagonal));
  EXPECT_EQ(Line(10, 10, -5, 14, 14, -5), PictureOf(10, 10, antiDiagonal));
  EXPECT_EQ(Line(10, 10, INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2), PictureOf(10, 10, diagonal));
}

TEST(LineSegment, ClippedSlopeKeepsItsCourse)
{
  // (-4, 0)-(12, 8) enters at (0, 2) and leaves at (9, 7); in between y = 2 + 5x/9, rounded.
  EXPECT_EQ(Line(10, 10, -4, 0, 12, 8),
            PictureOf(10, 10, {{0, 2}, {1, 3}, {2, 3}, {3, 4}, {4, 4}, {5, 5}, {6, 5}, {7, 6}, {8, 6}, {9, 7}}));
}

TEST(LineSegment, OutsideTheBitmapDrawsNothing)
{
  const std::string empty = PictureOf(10, 10, {});
  EXPECT_EQ(Line(10, 10, -5, -5, -1, 20), empty);    // left
  EXPECT_EQ(Line(10, 10, 10, 0, 30, 9), empty);      // right
  EXPECT_EQ(Line(10, 10, -3, -8, 20, -1), empty);    // above
  EXPECT_EQ(Line(10, 10, 0, 10, 9, 10), empty);      // below
  EXPECT_EQ(Line(10, 10, -5, 3, 3, -5), empty);      // passes the top-left corner outside
  EXPECT_EQ(Line(10, 10, 6, 14, 14, 6), empty);      // passes the bottom-right corner outside
  EXPECT_EQ(Line(10, 10, -1, -1, -1, -1), empty);
}

// Every pixel of a plain segment lies on the nearest row (or column) to the exact line,
// one per step along the longer axis, from either end.
TEST(LineSegment, PlainSegmentsFollowTheExactLine)
{
  for (int round = 0; round < 400; ++round)
  {
    const std::uint32_t seed = test_random::IterationSeed(99, round);
    if (!test_random::Selected(seed)) continue;
    std::mt19937 rng(seed);
    const int x1 = int(rng() % 40), y1 = int(rng() % 30), x2 = int(rng() % 40), y2 = int(rng() % 30);
    SCOPED_TRACE(test_random::ReplayHint(seed, "lice_lines_tests", "LineSegment.PlainSegmentsFollowTheExactLine"));
    StrokeCanvas c(40, 30, kBlack);
    DrawLineSegment(&c, x1, y1, x2, y2, kWhite, 1.0f, kCopyMode, false);
    const int dx = x2 - x1, dy = y2 - y1;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int n = std::max(std::abs(dx), std::abs(dy));
    ASSERT_EQ(c.CountNot(kBlack), n + 1) << x1 << "," << y1 << " " << x2 << "," << y2;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
      {
        if (c.At(x, y) != kWhite) continue;
        const double exact = xMajor ? (dx ? y1 + double(dy) * (x - x1) / dx : y1)
                                    : (dy ? x1 + double(dx) * (y - y1) / dy : x1);
        const double off = (xMajor ? y : x) - exact;
        ASSERT_LE(std::fabs(off), 0.501) << x1 << "," << y1 << " " << x2 << "," << y2 << " at " << x << "," << y;
      }
  }
}

TEST(LineSegment, ShiftFormsAtExactOpacities)
{
  struct Case
  {
    float alpha;
    PixelWord expected;
  } cases[] = {
      {0.5f, 0xFE7F7F7Fu},    // each byte halved before the sum
      {0.25f, 0xFD3F3F3Fu},   // colour/4 + pixel/2 + pixel/4
      {0.75f, 0xFDBEBEBEu},   // colour/2 + colour/4 + pixel/4
      {0.501f, 0xFF7F7F7Fu},  // weight 128 otherwise: (colour + pixel) / 2 per byte
  };
  for (const Case& k : cases)
  {
    StrokeCanvas h(6, 3, kBlack), v(3, 6, kBlack);
    DrawLineSegment(&h, 1, 1, 4, 1, kWhite, k.alpha, kCopyMode, false);
    DrawLineSegment(&v, 1, 4, 1, 1, kWhite, k.alpha, kCopyMode, true);
    for (int i = 1; i <= 4; ++i)
    {
      EXPECT_EQ(h.At(i, 1), k.expected) << k.alpha;
      EXPECT_EQ(v.At(1, i), k.expected) << k.alpha;
    }
    EXPECT_EQ(h.CountNot(kBlack), 4);
  }
  // A general slope at weight 128 averages per byte as well.
  StrokeCanvas g(8, 4, kBlack);
  DrawLineSegment(&g, 0, 0, 6, 2, kWhite, 0.5f, kCopyMode, false);
  EXPECT_EQ(g.At(0, 0), 0xFF7F7F7Fu);
  EXPECT_EQ(g.At(6, 2), 0xFF7F7F7Fu);
}

TEST(LineSegment, DiagonalAntialiasedAtFullCopy)
{
  // Centres get 3/4 of the colour, the neighbours towards the next pixel 1/4.
  for (bool reversed : {false, true})
  {
    StrokeCanvas c(6, 6, kBlack);
    if (reversed)
      DrawLineSegment(&c, 4, 4, 1, 1, kWhite, 1.0f, kCopyMode, true);
    else
      DrawLineSegment(&c, 1, 1, 4, 4, kWhite, 1.0f, kCopyMode, true);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(c.At(i, i), 0xFDBEBEBEu) << i;
    for (auto [x, y] : {std::pair{2, 1}, {1, 2}, {3, 2}, {2, 3}, {4, 3}, {3, 4}})
      EXPECT_EQ(c.At(x, y), 0xFD3F3F3Fu) << x << "," << y << " reversed " << reversed;
    EXPECT_EQ(c.CountNot(kBlack), 10);
  }
}

TEST(LineSegment, DiagonalAntialiasedThroughCombiner)
{
  StrokeCanvas c(5, 5, kClear);
  DrawLineSegment(&c, 3, 0, 0, 3, kWhite, 1.0f, kAddMode, true);
  // Add at 192/256 of white: 191; at 64/256: 63 (all four channels).
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(c.At(3 - i, i), 0xBFBFBFBFu);
  for (auto [x, y] : {std::pair{2, 0}, {3, 1}, {1, 1}, {2, 2}, {0, 2}, {1, 3}}) EXPECT_EQ(c.At(x, y), 0x3F3F3F3Fu);
  EXPECT_EQ(c.CountNot(kClear), 10);
  // Without antialiasing the same call is four plain pixels.
  StrokeCanvas plain(5, 5, kClear);
  DrawLineSegment(&plain, 3, 0, 0, 3, kWhite, 1.0f, kAddMode, false);
  EXPECT_EQ(plain.CountNot(kClear), 4);
  EXPECT_EQ(plain.At(2, 1), kWhite);
}

TEST(LineSegment, GeneralAntialiasedSharesWeightAcrossTheLine)
{
  // (0,0)-(4,1): the exact line crosses x = 1, 2, 3 at y = 0.25, 0.5, 0.75. Adding white
  // shows each pixel's weight w as 255 * w / 256.
  StrokeCanvas c(6, 3, kClear);
  DrawLineSegment(&c, 0, 0, 4, 1, kWhite, 1.0f, kAddMode, true);
  const int row0[6] = {255, 190, 126, 63, 0, 0};
  const int row1[6] = {0, 63, 127, 190, 255, 0};
  for (int x = 0; x < 6; ++x)
  {
    EXPECT_EQ(c.At(x, 0), row0[x] * 0x01010101u) << x;
    EXPECT_EQ(c.At(x, 1), row1[x] * 0x01010101u) << x;
    EXPECT_EQ(c.At(x, 2), 0u);
  }
  // At half opacity every weight is halved.
  StrokeCanvas half(6, 3, kClear);
  DrawLineSegment(&half, 0, 0, 4, 1, kWhite, 0.5f, kAddMode, true);
  EXPECT_EQ(half.At(0, 0), 127 * 0x01010101u);           // 128 of 256
  EXPECT_EQ(half.At(1, 0), (255 * (191 * 128 / 256) / 256) * 0x01010101u);
}

TEST(LineSegment, AntialiasedPairsStayNearTheExactLine)
{
  for (int round = 0; round < 200; ++round)
  {
    const std::uint32_t seed = test_random::IterationSeed(7, round);
    if (!test_random::Selected(seed)) continue;
    std::mt19937 rng(seed);
    const int x1 = int(rng() % 30), y1 = int(rng() % 30), x2 = int(rng() % 30), y2 = int(rng() % 30);
    SCOPED_TRACE(test_random::ReplayHint(seed, "lice_lines_tests", "LineSegment.AntialiasedPairsStayNearTheExactLine") +
                 "\n  DrawLineSegment(" + std::to_string(x1) + ", " + std::to_string(y1) + ", " + std::to_string(x2) +
                 ", " + std::to_string(y2) + ", add, antialiased)");
    const int dx = x2 - x1, dy = y2 - y1;
    if (dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy)) continue;
    StrokeCanvas c(30, 30, kClear);
    DrawLineSegment(&c, x1, y1, x2, y2, kWhite, 1.0f, kAddMode, true);
    ASSERT_TRUE(c.GuardsIntact());
    const bool xMajor = std::abs(dx) > std::abs(dy);
    // Along the major axis, the weights across the line sum to a full pixel and their
    // centre lies on the exact line.
    const int lo = xMajor ? std::min(x1, x2) : std::min(y1, y2), hi = xMajor ? std::max(x1, x2) : std::max(y1, y2);
    for (int k = lo + 1; k < hi; ++k)
    {
      double sum = 0, moment = 0;
      for (int j = 0; j < 30; ++j)
      {
        const double v = xMajor ? (c.At(k, j) & 0xFF) : (c.At(j, k) & 0xFF);
        sum += v;
        moment += v * j;
      }
      const double exact = xMajor ? y1 + double(dy) * (k - x1) / dx : x1 + double(dx) * (k - y1) / dy;
      ASSERT_NEAR(sum, 253, 3) << round << " at " << k;
      ASSERT_NEAR(moment / sum, exact, 0.02) << round << " at " << k;
    }
  }
}

TEST(LineSegment, WeightAndOperationRules)
{
  const PixelWord gray = 0xFFC8C8C8u, dim = 0xFF646464u;
  auto draw = [&](float alpha, int mode) {
    StrokeCanvas c(6, 3, gray);
    DrawLineSegment(&c, 0, 1, 5, 1, dim, alpha, mode, false);
    return c.At(2, 1);
  };
  EXPECT_EQ(draw(0.003f, kCopyMode), gray);  // weight trunc(0.768) = 0
  EXPECT_EQ(draw(-1.0f, kCopyMode), gray);   // copy with a negative weight
  EXPECT_EQ(draw(1.0f, 6), gray);        // unknown operation
  EXPECT_EQ(draw(1.0f, 0xF0), gray);     // channel copy is a blit-only operation
  // Other operations take negative weights as they are: 200 + 100 * -128 / 256 = 150.
  EXPECT_EQ(draw(-0.5f, kAddMode), 0x80969696u);
  // The source-alpha flag and the filter bits are ignored.
  EXPECT_EQ(draw(1.0f, kCopyMode | LICE::kSourceAlpha | LICE::kFilterBilinear), dim);
  DrawLineSegment(nullptr, 0, 0, 5, 5, kWhite, 1.0f, kCopyMode, true);
}

// A bottom-up bitmap shows the same picture, row for row.
TEST(LineSegment, BottomUpBitmapShowsTheSamePicture)
{
  const int segments[][4] = {{1, 2, 17, 9}, {3, 1, 3, 11}, {0, 11, 11, 0}, {2, 2, 9, 11}, {18, 0, 0, 1}};
  for (bool aa : {false, true})
    for (const auto& s : segments)
    {
      StrokeCanvas down(20, 12, kBlack), up(20, 12, kBlack, true);
      DrawLineSegment(&down, s[0], s[1], s[2], s[3], 0xFF30A0F0u, 0.8f, kCopyMode, aa);
      DrawLineSegment(&up, s[0], s[1], s[2], s[3], 0xFF30A0F0u, 0.8f, kCopyMode, aa);
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(up.At(x, y), down.At(x, y)) << x << "," << y;
      EXPECT_GT(down.CountNot(kBlack), 0);
    }
}

TEST(LineSegment, NeverWritesOutsideTheBitmap)
{
  for (int round = 0; round < 2000; ++round)
  {
    const std::uint32_t seed = test_random::IterationSeed(3, round);
    if (!test_random::Selected(seed)) continue;
    std::mt19937 rng(seed);
    const bool bottomUp = rng() % 2 == 1;
    StrokeCanvas c(13, 7, kBlack, bottomUp);
    auto coord = [&] { return int(rng() % 60) - 25; };
    const int x1 = coord(), y1 = coord(), x2 = coord(), y2 = coord();
    const float alpha = float(rng() % 5) * 0.3f;
    const int mode = int(rng() % 6);
    const bool antialias = rng() % 3 == 0;
    char call[160];
    std::snprintf(call, sizeof call, "DrawLineSegment(%d, %d, %d, %d, alpha %g, mode %d, antialias %d) on 13x7%s", x1,
                  y1, x2, y2, double(alpha), mode, int(antialias), bottomUp ? " bottom-up" : "");
    if (test_random::Verbose()) std::fprintf(stderr, "running %s\n", call);
    DrawLineSegment(&c, x1, y1, x2, y2, kWhite, alpha, mode, antialias);
    ASSERT_TRUE(c.GuardsIntact()) << call << "\n  "
                                  << test_random::ReplayHint(seed, "lice_lines_tests", "LineSegment.NeverWritesOutsideTheBitmap");
  }
}

}  // namespace
