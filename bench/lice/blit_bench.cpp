// Blit speed against two baselines measured in the same run: memcpy of the destination
// bytes (the floor for any blit) and pixman doing the same compositing. Our pixels are
// straight alpha while pixman expects premultiplied alpha, so pixman is a speed baseline
// only. Each benchmark reports ns per destination pixel and its ratio to the baselines.
#include "lice.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>

namespace
{
using namespace LICE;

// Artwork-like pixels: an opaque disc with a soft edge on a transparent ground, so every
// alpha class (0, 255, partial) is present as in the knob film strip.
void PaintArtwork(LICE_IBitmap& bm)
{
  const double cx = bm.Width() / 2.0, cy = bm.Height() / 2.0;
  const double r = std::min(cx, cy) * 0.8;
  for (int y = 0; y < bm.Height(); ++y)
    for (int x = 0; x < bm.Width(); ++x)
    {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const int a = std::clamp(int((r - d) * 32.0), 0, 255);
      bm.PixelData()[y * bm.RowStride() + x] = Rgba(x * 7, y * 5, (x + y) * 3, a);
    }
}

void PaintOpaque(LICE_IBitmap& bm, PixelWord seed)
{
  for (int y = 0; y < bm.Height(); ++y)
    for (int x = 0; x < bm.Width(); ++x)
      bm.PixelData()[y * bm.RowStride() + x] = 0xFF000000u | (seed * PixelWord(x + 3 * y + 1));
}

pixman_image_t* PixmanView(const LICE_IBitmap& bm)
{
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, bm.Width(), bm.Height(),
                                  reinterpret_cast<uint32_t*>(bm.PixelData()), bm.RowStride() * 4);
}

struct PixmanImage
{
  pixman_image_t* image;
  explicit PixmanImage(const LICE_IBitmap& bm) : image(PixmanView(bm)) {}
  ~PixmanImage() { pixman_image_unref(image); }
};

// Nanoseconds per call of fn, the best of several timed batches.
template <class Fn>
double NsPerCall(Fn&& fn)
{
  double best = 1e30;
  for (int batch = 0; batch < 5; ++batch)
  {
    int calls = 0;
    const auto start = std::chrono::steady_clock::now();
    auto now = start;
    do
    {
      fn();
      ++calls;
      now = std::chrono::steady_clock::now();
    } while (now - start < std::chrono::milliseconds(20));
    best = std::min(best, std::chrono::duration<double, std::nano>(now - start).count() / calls);
  }
  return best;
}

void MemcpyRows(LICE_IBitmap& dest, const LICE_IBitmap& src, int width, int height)
{
  for (int y = 0; y < height; ++y)
    std::memcpy(dest.PixelData() + y * dest.RowStride(), src.PixelData() + y * src.RowStride(),
                sizeof(PixelWord) * width);
  benchmark::ClobberMemory();
}

// Runs `ours` under the benchmark loop and reports ns per pixel, plus the ratio of our time
// to each baseline timed right after.
template <class Ours, class Memcpy, class Pixman>
void Measure(benchmark::State& state, long pixels, Ours&& ours, Memcpy&& memcpyBaseline,
             Pixman&& pixmanBaseline)
{
  for (auto _ : state)
  {
    ours();
    benchmark::ClobberMemory();
  }
  const double oursNs = NsPerCall(ours), memcpyNs = NsPerCall(memcpyBaseline),
               pixmanNs = NsPerCall(pixmanBaseline);
  state.counters["ns_per_px"] = oursNs / double(pixels);
  state.counters["memcpy_ns_per_px"] = memcpyNs / double(pixels);
  state.counters["pixman_ns_per_px"] = pixmanNs / double(pixels);
  state.counters["x_memcpy"] = oursNs / memcpyNs;
  state.counters["x_pixman"] = oursNs / pixmanNs;
}

void BM_DrawImageSourceAlpha(benchmark::State& state)
{
  const int w = int(state.range(0)), h = int(state.range(1));
  LICE_MemBitmap src(w, h, 4), dest(w, h, 4), work(w, h, 4);
  PaintArtwork(src);
  PaintOpaque(dest, 0x010203);
  PixmanImage ps(src), pd(work);
  Measure(
      state, long(w) * h, [&] { DrawImage(&dest, &src, 0, 0, nullptr, 1.0f, kOpCopy | kSourceAlpha); },
      [&] { MemcpyRows(work, src, w, h); },
      [&] { pixman_image_composite32(PIXMAN_OP_OVER, ps.image, nullptr, pd.image, 0, 0, 0, 0, 0, 0, w, h); });
}
BENCHMARK(BM_DrawImageSourceAlpha)->Args({78, 78})->Args({366, 212});

void BM_DrawImageCopy(benchmark::State& state)
{
  const int w = int(state.range(0)), h = int(state.range(1));
  LICE_MemBitmap src(w, h, 4), dest(w, h, 4), work(w, h, 4);
  PaintArtwork(src);
  PixmanImage ps(src), pd(work);
  Measure(
      state, long(w) * h, [&] { DrawImage(&dest, &src, 0, 0, nullptr, 1.0f, kOpCopy); },
      [&] { MemcpyRows(work, src, w, h); },
      [&] { pixman_image_composite32(PIXMAN_OP_SRC, ps.image, nullptr, pd.image, 0, 0, 0, 0, 0, 0, w, h); });
}
BENCHMARK(BM_DrawImageCopy)->Args({78, 78})->Args({366, 212});

// Bilinear scaling by `factor` (2 up or 1/4 down), copied into the destination.
void BM_DrawImageScaledBilinear(benchmark::State& state)
{
  const int sw = int(state.range(0)), sh = int(state.range(1));
  const double factor = state.range(2) > 0 ? double(state.range(2)) : 1.0 / double(-state.range(2));
  const int dw = int(sw * factor), dh = int(sh * factor);
  LICE_MemBitmap src(sw, sh, 4), dest(dw, dh, 4), work(dw, dh, 4);
  PaintArtwork(src);
  PixmanImage ps(src), pd(work);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(1.0 / factor), pixman_double_to_fixed(1.0 / factor));
  pixman_image_set_transform(ps.image, &t);
  pixman_image_set_filter(ps.image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  Measure(
      state, long(dw) * dh,
      [&] { DrawImageScaled(&dest, &src, 0, 0, dw, dh, 0, 0, float(sw), float(sh), 1.0f, kOpCopy | kFilterBilinear); },
      [&] { MemcpyRows(work, dest, dw, dh); },
      [&] { pixman_image_composite32(PIXMAN_OP_SRC, ps.image, nullptr, pd.image, 0, 0, 0, 0, 0, 0, dw, dh); });
}
BENCHMARK(BM_DrawImageScaledBilinear)->Args({78, 78, 2})->Args({366, 212, -4});

// A knob frame rotated by 0.5 rad with the bilinear filter through its alpha, as the editor
// draws rotated controls.
void BM_DrawImageRotatedBilinear(benchmark::State& state)
{
  const int n = int(state.range(0));
  LICE_MemBitmap src(n, n, 4), dest(n, n, 4), work(n, n, 4);
  PaintArtwork(src);
  PaintOpaque(dest, 0x030201);
  PixmanImage ps(src), pd(work);
  pixman_f_transform_t ft;
  pixman_f_transform_init_translate(&ft, -n / 2.0, -n / 2.0);
  pixman_f_transform_rotate(&ft, nullptr, std::cos(-0.5), std::sin(-0.5));
  pixman_f_transform_translate(&ft, nullptr, n / 2.0, n / 2.0);
  pixman_transform_t t;
  pixman_transform_from_pixman_f_transform(&t, &ft);
  pixman_image_set_transform(ps.image, &t);
  pixman_image_set_filter(ps.image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  Measure(
      state, long(n) * n,
      [&] {
        DrawImageRotated(&dest, &src, 0, 0, n, n, 0, 0, float(n), float(n), 0.5f, false, 1.0f,
                         kOpCopy | kSourceAlpha | kFilterBilinear);
      },
      [&] { MemcpyRows(work, dest, n, n); },
      [&] { pixman_image_composite32(PIXMAN_OP_OVER, ps.image, nullptr, pd.image, 0, 0, 0, 0, 0, 0, n, n); });
}
BENCHMARK(BM_DrawImageRotatedBilinear)->Arg(78);

void BM_FillArea(benchmark::State& state)
{
  const int w = 366, h = 212;
  const float alpha = float(state.range(0)) / 256.0f;
  LICE_MemBitmap dest(w, h, 4), work(w, h, 4);
  PaintOpaque(dest, 0x010101);
  PixmanImage pd(work);
  const pixman_color_t grey = {0x4000, 0x4000, 0x4000, 0xFFFF};
  pixman_image_t* solid = pixman_image_create_solid_fill(&grey);
  Measure(
      state, long(w) * h, [&] { FillArea(&dest, 0, 0, w, h, 0xFF404040, alpha, kOpCopy); },
      [&] { MemcpyRows(work, dest, w, h); },
      [&] { pixman_image_composite32(PIXMAN_OP_SRC, solid, nullptr, pd.image, 0, 0, 0, 0, 0, 0, w, h); });
  pixman_image_unref(solid);
}
BENCHMARK(BM_FillArea)->Arg(256)->Arg(128)->Arg(100);
} // namespace

BENCHMARK_MAIN();
