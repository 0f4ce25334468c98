// Circle outlines (fixed masks, midpoint walk, antialiased walk), arcs and coverage masks.

#include "stroke_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <set>
#include <utility>

#include "RandomSeeds.h"

namespace {

using LICE::DrawArcOutline;
using LICE::DrawCircleOutline;
using LICE::DrawCoverageMask;
constexpr int kCopyMode = LICE::kOpCopy, kAddMode = LICE::kOpAdd;
constexpr float kPi = 3.14159265358979f;

using Points = std::set<std::pair<int, int>>;

Points Lit(const StrokeCanvas& c, PixelWord background)
{
  Points p;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.At(x, y) != background) p.insert({x, y});
  return p;
}

Points Circle(int size, float cx, float cy, float r, bool aa)
{
  StrokeCanvas c(size, size, kBlack);
  DrawCircleOutline(&c, cx, cy, r, kWhite, 1.0f, kCopyMode, aa);
  EXPECT_TRUE(c.GuardsIntact());
  return Lit(c, kBlack);
}

TEST(CircleOutline, PlainRadiusFiveIsTheMidpointCircle)
{
  // Offsets of the midpoint circle of radius 5, worked out by hand from the decision
  // variable d = (5 - 4r) / 4: -3.75, -0.75, 4.25 (y to 4), 3.25 (y to 3).
  Points expected;
  const int octant[][2] = {{0, 5}, {1, 5}, {2, 5}, {3, 4}};
  for (auto& o : octant)
    for (int sx : {-1, 1})
      for (int sy : {-1, 1})
      {
        expected.insert({10 + sx * o[0], 10 + sy * o[1]});
        expected.insert({10 + sy * o[1], 10 + sx * o[0]});
      }
  EXPECT_EQ(Circle(21, 10, 10, 5, false), expected);
}

TEST(CircleOutline, PlainCircleIsSymmetricAndOnTheRadius)
{
  // Integer radii: a fractional offset truncates towards the centre on one side only.
  for (float r : {6.0f, 10.0f, 13.0f, 1.0f})
  {
    const Points lit = Circle(41, 20, 20, r, false);
    ASSERT_FALSE(lit.empty()) << r;
    for (auto [x, y] : lit)
    {
      const int dx = x - 20, dy = y - 20;
      EXPECT_TRUE(lit.count({20 - dx, y}) && lit.count({x, 20 - dy}) && lit.count({20 + dy, 20 + dx}))
          << "r " << r << " at " << x << "," << y;
      EXPECT_NEAR(std::hypot(dx, dy), r, 1.0) << "r " << r << " at " << x << "," << y;
    }
  }
}

TEST(CircleOutline, SmallRadiiUseTheFixedMasks)
{
  // Radius 2: the 5 x 5 diamond, its corner at (trunc(cx - 2), trunc(cy - 2)).
  const Points diamond = {{5, 3}, {4, 4}, {6, 4}, {3, 5}, {7, 5}, {4, 6}, {6, 6}, {5, 7}};
  EXPECT_EQ(Circle(12, 5.0f, 5.0f, 2.0f, false), diamond);
  EXPECT_EQ(Circle(12, 5.7f, 5.9f, 2.0f, false), diamond);
  // Radius 2.25 takes the general path, which reaches row 2.
  const Points general = Circle(12, 5.0f, 5.0f, 2.25f, false);
  EXPECT_TRUE(general.count({5, 2}));
  EXPECT_FALSE(diamond.count({5, 2}));
  // Radius 3.5 plain: 8 x 8, two pixels thick at the diagonals.
  const Points r35 = Circle(12, 4.0f, 4.0f, 3.5f, false);
  EXPECT_EQ(r35.size(), 28u);
  EXPECT_TRUE(r35.count({0, 3}) && r35.count({7, 4}) && r35.count({2, 1}) && r35.count({5, 6}));
}

TEST(CircleOutline, AntialiasedMaskOfRadiusThree)
{
  // Copying white over black with weight c gives 255 - floor(255 * (256 - c) / 256).
  const int mask[7][7] = {{0, 143, 255, 255, 255, 143, 0},   {143, 255, 97, 64, 97, 255, 143},
                          {255, 112, 0, 0, 0, 112, 255},     {255, 48, 0, 0, 0, 48, 255},
                          {255, 112, 0, 0, 0, 112, 255},     {143, 255, 97, 64, 97, 255, 143},
                          {0, 143, 255, 255, 255, 143, 0}};
  StrokeCanvas c(10, 10, kBlack);
  DrawCircleOutline(&c, 4.5f, 4.2f, 3.0f, kWhite, 1.0f, kCopyMode, true);  // corner (1, 1)
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
    {
      const bool inside = x >= 1 && x < 8 && y >= 1 && y < 8;
      const int m = inside ? mask[y - 1][x - 1] : 0;
      const unsigned v = m ? 255 - 255 * (256 - m) / 256 : 0;
      EXPECT_EQ(c.At(x, y), 0xFF000000u | v * 0x010101u) << x << "," << y;
    }
}

TEST(CircleOutline, AntialiasedWalkSplitsWeightByTheExactRadius)
{
  // Radius 5 around (10, 10), adding white: at x = 1 the circle is at y = 4.899, so the
  // outer pixel gets trunc(0.899 * 256) = 230 and the inner 26; at x = 2 (y = 4.583)
  // 149 and 107; at x = 3 (y = 4) the full weight.
  StrokeCanvas c(21, 21, kClear);
  DrawCircleOutline(&c, 10, 10, 5, kWhite, 1.0f, kAddMode, true);
  auto value = [&](int x, int y) { return int(c.At(x, y) & 0xFF); };
  EXPECT_EQ(value(11, 15), 255 * 230 / 256);
  EXPECT_EQ(value(11, 14), 255 * 26 / 256);
  EXPECT_EQ(value(12, 15), 255 * 149 / 256);
  EXPECT_EQ(value(12, 14), 255 * 107 / 256);
  EXPECT_EQ(value(13, 14), 255);
  EXPECT_EQ(value(14, 13), 255);
  EXPECT_EQ(value(15, 11), 255 * 230 / 256);  // the same point mirrored on the diagonal
  EXPECT_EQ(value(14, 11), 255 * 26 / 256);
  EXPECT_EQ(value(9, 5), 255 * 230 / 256);    // and on both axes
  EXPECT_EQ(value(10, 10), 0);
}

TEST(CircleOutline, AntialiasedCircleIsSymmetric)
{
  StrokeCanvas c(41, 41, kClear);
  DrawCircleOutline(&c, 20, 20, 13.3f, kWhite, 1.0f, kAddMode, true);
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x)
    {
      ASSERT_EQ(c.At(x, y), c.At(40 - x, y)) << x << "," << y;
      ASSERT_EQ(c.At(x, y), c.At(x, 40 - y)) << x << "," << y;
      ASSERT_EQ(c.At(x, y), c.At(y, x)) << x << "," << y;
      if (c.At(x, y))
      {
        ASSERT_NEAR(std::hypot(x - 20, y - 20), 13.3, 1.5);
      }
    }
}

// Clipping: a circle around a point near or outside a corner shows exactly the part of
// the same circle drawn whole in a larger bitmap.
TEST(CircleOutline, ClippedAtEveryEdgeAndCorner)
{
  for (bool aa : {false, true})
    for (float r : {3.0f, 6.0f, 9.5f})
    {
      StrokeCanvas whole(60, 60, kBlack);
      DrawCircleOutline(&whole, 30, 30, r, kWhite, 1.0f, kCopyMode, aa);
      for (int cx : {-4, -1, 0, 5, 9, 10, 13})
        for (int cy : {-4, 0, 4, 9, 12})
        {
          StrokeCanvas part(10, 10, kBlack);
          DrawCircleOutline(&part, float(cx), float(cy), r, kWhite, 1.0f, kCopyMode, aa);
          ASSERT_TRUE(part.GuardsIntact());
          for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
              ASSERT_EQ(part.At(x, y), whole.At(x - cx + 30, y - cy + 30))
                  << "r " << r << " centre " << cx << "," << cy << " at " << x << "," << y;
        }
    }
}

TEST(CircleOutline, UnusableArgumentsDrawNothing)
{
  for (float r : {-3.0f, NAN, INFINITY, 1e30f})
    EXPECT_TRUE(Circle(20, 10, 10, r, false).empty()) << r;
  EXPECT_TRUE(Circle(20, NAN, 10, 5, true).empty());
  EXPECT_TRUE(Circle(20, 1e30f, -1e30f, 5, true).empty());
  StrokeCanvas c(20, 20, kBlack);
  DrawCircleOutline(&c, 10, 10, 5, kWhite, 0.0f, kCopyMode, false);
  DrawCircleOutline(&c, 10, 10, 3, kWhite, -1.0f, kCopyMode, true);
  DrawCircleOutline(&c, 10, 10, 5, kWhite, 1.0f, 6, true);
  EXPECT_EQ(c.CountNot(kBlack), 0);
  DrawCircleOutline(nullptr, 10, 10, 5, kWhite, 1.0f, kCopyMode, true);
}

// ---- Arcs -----------------------------------------------------------------------------

// The arc routines clip the circle to bands of rows between the ends' heights. The centre
// and radius below keep those heights off whole numbers, so the float rounding of the
// angles cannot move a band edge; the angles stay on their side of pi and 2 pi.
constexpr float kArcCx = 15.0f, kArcCy = 15.5f, kArcR = 9.3f;
constexpr float kBelowPi = 3.1415925f, kAbovePi = 3.1415928f, kBelowTwoPi = 6.2831850f;

Points Arc(float start, float end, bool aa, float r = kArcR)
{
  StrokeCanvas c(31, 31, kBlack);
  DrawArcOutline(&c, kArcCx, kArcCy, r, start, end, kWhite, 1.0f, kCopyMode, aa);
  EXPECT_TRUE(c.GuardsIntact());
  return Lit(c, kBlack);
}

Points Where(const Points& p, bool (*keep)(int x, int y))
{
  Points out;
  for (auto [x, y] : p)
    if (keep(x, y)) out.insert({x, y});
  return out;
}

bool SubsetOf(const Points& a, const Points& b)
{
  for (const auto& p : a)
    if (!b.count(p)) return false;
  return true;
}

TEST(ArcOutline, QuartersAndHalvesOfTheCircle)
{
  for (bool aa : {false, true})
  {
    const Points full = Circle(31, kArcCx, kArcCy, kArcR, aa);
    ASSERT_FALSE(full.empty());
    EXPECT_EQ(Arc(0, 2 * kPi, aa), full);
    EXPECT_EQ(Arc(-1, 9, aa), full);  // more than a turn
    // Whole turns before the range do not matter.
    EXPECT_EQ(Arc(4 * kPi, 4.5f * kPi, aa), Arc(0, kPi / 2, aa));

    // The plain arc is exactly the circle within the piece's bands. The antialiased one
    // loses the outer fringe pixels that fall just outside a band's first or last row.
    auto expectPart = [&](float start, float end, bool (*region)(int, int)) {
      const Points arc = Arc(start, end, aa), part = Where(full, region);
      if (aa)
      {
        EXPECT_TRUE(SubsetOf(arc, part)) << start << " " << end;
        EXPECT_GT(arc.size(), part.size() * 3 / 4) << start << " " << end;
      }
      else
      {
        EXPECT_EQ(arc, part) << start << " " << end;
      }
    };
    // 0 to pi/2: the upper right quarter, from the centre column and down to the centre row.
    expectPart(0, kPi / 2, [](int x, int y) { return x >= 15 && y <= 15; });
    // The right half, and the left half, which stops short of the centre column.
    expectPart(0, kBelowPi, [](int x, int) { return x >= 15; });
    expectPart(kAbovePi, kBelowTwoPi, [](int x, int) { return x < 15; });
    // Across twelve o'clock: split at 0 into [3pi/2, 2pi] and [0, pi/2]: the upper half.
    expectPart(-kPi / 2, kPi / 2, [](int, int y) { return y <= 15; });
    // Across six o'clock: split at pi.
    expectPart(kPi / 2, 3 * kPi / 2, [](int, int y) { return y >= 15; });
  }
  // The two plain halves together make the circle.
  StrokeCanvas both(31, 31, kBlack);
  DrawArcOutline(&both, kArcCx, kArcCy, kArcR, 0, kBelowPi, kWhite, 1.0f, kCopyMode, false);
  DrawArcOutline(&both, kArcCx, kArcCy, kArcR, kAbovePi, kBelowTwoPi, kWhite, 1.0f, kCopyMode, false);
  EXPECT_EQ(Lit(both, kBlack), Circle(31, kArcCx, kArcCy, kArcR, false));
}

TEST(ArcOutline, EmptyOrUnusableRangesDrawNothing)
{
  EXPECT_TRUE(Arc(1.0f, 0.5f, false).empty());
  EXPECT_TRUE(Arc(NAN, 1.0f, true).empty());
  EXPECT_TRUE(Arc(0.0f, INFINITY, true).empty());
  EXPECT_TRUE(Arc(1e20f, 1e20f + 1.0f, false).empty());
  EXPECT_TRUE(Arc(0, 1, false, -2.0f).empty());
  DrawArcOutline(nullptr, 1, 1, 1, 0, 1, kWhite, 1.0f, kCopyMode, true);
}

TEST(ArcOutline, CentreOutsideTheBitmapClipsSafely)
{
  for (int round = 0; round < 500; ++round)
  {
    const std::uint32_t seed = test_random::IterationSeed(11, round);
    if (!test_random::Selected(seed)) continue;
    std::mt19937 rng(seed);
    const bool bottomUp = rng() % 2 == 0;
    StrokeCanvas c(12, 9, kBlack, bottomUp);
    auto f = [&](float lo, float hi) { return lo + (hi - lo) * float(rng() % 10000) / 10000.0f; };
    const float cx = f(-15, 27), cy = f(-15, 24), radius = f(0, 20), start = f(-7, 7), end = f(-7, 14);
    const float alpha = f(-0.5f, 1.5f);
    const int mode = int(rng() % 6);
    const bool antialias = rng() % 3 == 0;
    char call[200];
    std::snprintf(call, sizeof call,
                  "DrawArcOutline(centre %.9g, %.9g, radius %.9g, angles %.9g to %.9g, alpha %.9g, mode %d, "
                  "antialias %d) on 12x9%s",
                  double(cx), double(cy), double(radius), double(start), double(end), double(alpha), mode,
                  int(antialias), bottomUp ? " bottom-up" : "");
    if (test_random::Verbose()) std::fprintf(stderr, "running %s\n", call);
    DrawArcOutline(&c, cx, cy, radius, start, end, kWhite, alpha, mode, antialias);
    ASSERT_TRUE(c.GuardsIntact()) << call << "\n  "
                                  << test_random::ReplayHint(seed, "lice_lines_tests", "ArcOutline.CentreOutsideTheBitmapClipsSafely");
  }
}

// ---- Coverage masks and bottom-up bitmaps ----------------------------------------------

TEST(CoverageMask, ClippedAtEveryEdgeAndCorner)
{
  const unsigned char full[12] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
  for (int x = -6; x <= 12; ++x)
    for (int y = -5; y <= 12; ++y)
    {
      StrokeCanvas c(10, 10, kBlack);
      DrawCoverageMask(&c, x, y, kWhite, full, 4, 4, 3, 1.0f, kCopyMode);
      ASSERT_TRUE(c.GuardsIntact());
      for (int py = 0; py < 10; ++py)
        for (int px = 0; px < 10; ++px)
        {
          const bool covered = px >= x && px < x + 4 && py >= y && py < y + 3;
          ASSERT_EQ(c.At(px, py), covered ? kWhite : kBlack) << x << "," << y << " at " << px << "," << py;
        }
    }
}

TEST(CoverageMask, MaskBytesScaleTheWeight)
{
  // Two rows of three with a stride of five: the last two bytes of each row are not mask.
  const unsigned char mask[10] = {128, 255, 0, 99, 99, 1, 64, 255, 99, 99};
  StrokeCanvas c(5, 4, kClear);
  DrawCoverageMask(&c, 1, 1, kWhite, mask, 5, 3, 2, 1.0f, kAddMode);
  auto v = [&](int x, int y) { return int(c.At(x, y) & 0xFF); };
  EXPECT_EQ(v(1, 1), 255 * 128 / 256);
  EXPECT_EQ(v(2, 1), 255 * 255 / 256);
  EXPECT_EQ(v(3, 1), 0);
  EXPECT_EQ(v(1, 2), 0);  // weight 256 * 1 / 256 = 1 adds 255 / 256 = 0
  EXPECT_EQ(v(2, 2), 255 * 64 / 256);
  EXPECT_EQ(v(3, 2), 255 * 255 / 256);
  EXPECT_EQ(v(4, 1), 0);
  EXPECT_EQ(v(4, 2), 0);

  StrokeCanvas half(5, 4, kClear);
  DrawCoverageMask(&half, 1, 1, kWhite, mask, 5, 3, 2, 0.5f, kAddMode);
  EXPECT_EQ(int(half.At(2, 1) & 0xFF), 255 * (128 * 255 / 256) / 256);

  StrokeCanvas none(5, 4, kClear);
  DrawCoverageMask(&none, 1, 1, kWhite, mask, 5, 3, 2, -1.0f, kCopyMode);
  DrawCoverageMask(&none, 1, 1, kWhite, mask, 5, 3, 2, 1.0f, 7);
  DrawCoverageMask(&none, 1, 1, kWhite, nullptr, 5, 3, 2, 1.0f, kAddMode);
  DrawCoverageMask(&none, 1, 1, kWhite, mask + 5, -5, 3, 2, 1.0f, kAddMode);  // rows would run backwards
  EXPECT_EQ(none.CountNot(kClear), 0);
}

TEST(BottomUp, StrokesShowTheSamePictureRowForRow)
{
  const unsigned char mask[6] = {10, 20, 30, 40, 50, 60};
  auto drawAll = [&](StrokeCanvas& c) {
    DrawCircleOutline(&c, 12, 9, 7, 0xFF20C040u, 1.0f, kCopyMode, false);
    DrawCircleOutline(&c, 25, 10, 6.5f, 0xFFC02040u, 0.7f, kAddMode, true);
    DrawCircleOutline(&c, 4, 4, 3, 0xFF4020C0u, 1.0f, kCopyMode, true);
    DrawArcOutline(&c, 20, 12, 8, 0, kPi / 2, 0xFFFFFF00u, 1.0f, kCopyMode, false);
    DrawArcOutline(&c, 20, 12, 5, kPi / 3, 4.0f, 0xFF00FFFFu, 1.0f, kCopyMode, true);
    DrawCoverageMask(&c, 2, 15, kWhite, mask, 3, 3, 2, 1.0f, kCopyMode);
  };
  StrokeCanvas down(32, 20, kBlack), up(32, 20, kBlack, true);
  drawAll(down);
  drawAll(up);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(up.At(x, y), down.At(x, y)) << x << "," << y;
  EXPECT_GT(down.CountNot(kBlack), 100);
}

}  // namespace
