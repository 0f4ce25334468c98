// Antialiased circle and line drawing, against pixman rasterising the same one-pixel-wide
// stroke as triangles (a ring, a thin quad) and against a memcpy of as many pixels.

#include "bitmap.h"
#include "lice.h"
#include "lines.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kSize = 256;
constexpr double kPi = 3.14159265358979323846;
constexpr float kRadius = 100.0f, kCentre = 128.0f;
constexpr int kLine[4] = {10, 20, 240, 117};
constexpr PixelWord kColour = 0xFFF0A040u;

// Pixels that a drawing changes on a cleared bitmap: the unit of the per-pixel figures.
template <class Draw>
long TouchedPixels(Draw draw)
{
  LICE_MemBitmap bm(kSize, kSize, 4);
  LICE::FillArea(&bm, 0, 0, kSize, kSize, 0, 1.0f, LICE::kOpCopy);
  draw(&bm);
  long n = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) n += bm.PixelData()[x + y * bm.RowStride()] != 0;
  return n;
}

void SetPerPixel(benchmark::State& state, long pixels)
{
  // Seconds per pixel, printed with its SI prefix ("3.1n" is 3.1 ns).
  state.counters["per_pixel"] =
      benchmark::Counter(double(pixels) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["pixels"] = double(pixels);
}

void DrawOurCircle(LICE_IBitmap* bm, bool aa)
{
  LICE::DrawCircleOutline(bm, kCentre, kCentre, kRadius, kColour, 1.0f, LICE::kOpCopy, aa);
}
void DrawOurLine(LICE_IBitmap* bm, bool aa)
{
  LICE::DrawLineSegment(bm, kLine[0], kLine[1], kLine[2], kLine[3], kColour, 1.0f, LICE::kOpCopy, aa);
}

void BM_CircleOutline(benchmark::State& state)
{
  const bool aa = state.range(0) != 0;
  LICE_MemBitmap bm(kSize, kSize, 4);
  for (auto _ : state)
  {
    DrawOurCircle(&bm, aa);
    benchmark::ClobberMemory();
  }
  SetPerPixel(state, TouchedPixels([aa](LICE_IBitmap* b) { DrawOurCircle(b, aa); }));
}
BENCHMARK(BM_CircleOutline)->ArgName("antialias")->Arg(1)->Arg(0);

void BM_LineSegment(benchmark::State& state)
{
  const bool aa = state.range(0) != 0;
  LICE_MemBitmap bm(kSize, kSize, 4);
  for (auto _ : state)
  {
    DrawOurLine(&bm, aa);
    benchmark::ClobberMemory();
  }
  SetPerPixel(state, TouchedPixels([aa](LICE_IBitmap* b) { DrawOurLine(b, aa); }));
}
BENCHMARK(BM_LineSegment)->ArgName("antialias")->Arg(1)->Arg(0);

// ---- pixman: the same strokes as antialiased triangles composited over the bitmap -------

pixman_point_fixed_t Point(double x, double y)
{
  return {pixman_double_to_fixed(x), pixman_double_to_fixed(y)};
}

// A ring one pixel wide around the circle, in 512 segments of two triangles.
std::vector<pixman_triangle_t> RingTriangles()
{
  std::vector<pixman_triangle_t> tris;
  const int n = 512;
  const double c = kCentre + 0.5, ro = kRadius + 0.5, ri = kRadius - 0.5;
  for (int i = 0; i < n; ++i)
  {
    const double a0 = 2 * kPi * i / n, a1 = 2 * kPi * (i + 1) / n;
    const pixman_point_fixed_t o0 = Point(c + ro * std::sin(a0), c - ro * std::cos(a0));
    const pixman_point_fixed_t o1 = Point(c + ro * std::sin(a1), c - ro * std::cos(a1));
    const pixman_point_fixed_t i0 = Point(c + ri * std::sin(a0), c - ri * std::cos(a0));
    const pixman_point_fixed_t i1 = Point(c + ri * std::sin(a1), c - ri * std::cos(a1));
    tris.push_back({o0, o1, i0});
    tris.push_back({i0, o1, i1});
  }
  return tris;
}

// The segment as a quad one pixel wide.
std::vector<pixman_triangle_t> LineTriangles()
{
  const double x1 = kLine[0] + 0.5, y1 = kLine[1] + 0.5, x2 = kLine[2] + 0.5, y2 = kLine[3] + 0.5;
  const double len = std::hypot(x2 - x1, y2 - y1);
  const double nx = -(y2 - y1) / len * 0.5, ny = (x2 - x1) / len * 0.5;
  const pixman_point_fixed_t a = Point(x1 + nx, y1 + ny), b = Point(x2 + nx, y2 + ny);
  const pixman_point_fixed_t c = Point(x2 - nx, y2 - ny), d = Point(x1 - nx, y1 - ny);
  return {{a, b, c}, {a, c, d}};
}

void CompositeTriangles(const std::vector<pixman_triangle_t>& tris, LICE_IBitmap* bm)
{
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, bm->Width(), bm->Height(),
                                                 bm->PixelData(), bm->RowStride() * 4);
  const pixman_color_t colour = {0xF0F0, 0xA0A0, 0x4040, 0xFFFF};
  pixman_image_t* solid = pixman_image_create_solid_fill(&colour);
  pixman_composite_triangles(PIXMAN_OP_OVER, solid, dst, PIXMAN_a8, 0, 0, 0, 0, int(tris.size()), tris.data());
  pixman_image_unref(solid);
  pixman_image_unref(dst);
}

void BM_PixmanRing(benchmark::State& state)
{
  const std::vector<pixman_triangle_t> tris = RingTriangles();
  LICE_MemBitmap bm(kSize, kSize, 4);
  for (auto _ : state)
  {
    CompositeTriangles(tris, &bm);
    benchmark::ClobberMemory();
  }
  SetPerPixel(state, TouchedPixels([&](LICE_IBitmap* b) { CompositeTriangles(tris, b); }));
}
BENCHMARK(BM_PixmanRing);

void BM_PixmanLineQuad(benchmark::State& state)
{
  const std::vector<pixman_triangle_t> tris = LineTriangles();
  LICE_MemBitmap bm(kSize, kSize, 4);
  for (auto _ : state)
  {
    CompositeTriangles(tris, &bm);
    benchmark::ClobberMemory();
  }
  SetPerPixel(state, TouchedPixels([&](LICE_IBitmap* b) { CompositeTriangles(tris, b); }));
}
BENCHMARK(BM_PixmanLineQuad);

// The floor: copying as many pixel words as the antialiased circle touches.
void BM_MemcpyCirclePixels(benchmark::State& state)
{
  const long pixels = TouchedPixels([](LICE_IBitmap* b) { DrawOurCircle(b, true); });
  std::vector<PixelWord> from(pixels, kColour), to(pixels);
  for (auto _ : state)
  {
    std::memcpy(to.data(), from.data(), pixels * sizeof(PixelWord));
    benchmark::ClobberMemory();
  }
  SetPerPixel(state, pixels);
}
BENCHMARK(BM_MemcpyCirclePixels);

}  // namespace

BENCHMARK_MAIN();
