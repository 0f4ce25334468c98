// PNG decoding of the editor's largest image (a 78 x 5070 RGBA knob strip), ours against
// libpng's own simplified reader decoding the same bytes into the same pixel layout.

#include "bitmap.h"
#include "image_loaders.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

const std::vector<unsigned char>& StripBytes()
{
  static const std::vector<unsigned char> bytes = [] {
    std::ifstream in(LICE_BENCH_STRIP, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }();
  return bytes;
}

void SetPixelCounters(benchmark::State& state, long pixels)
{
  // Seconds per pixel: printed with its SI prefix, e.g. "5.7n" for 5.7 ns.
  state.counters["per_pixel"] =
      benchmark::Counter(double(pixels) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Into a bitmap that already has the image's size, as when an image is decoded again.
void BM_DecodePngBlock(benchmark::State& state)
{
  const std::vector<unsigned char>& png = StripBytes();
  LICE_MemBitmap dest(78, 5070, 4);
  for (auto _ : state)
  {
    LICE_IBitmap* bm = LICE::DecodePngBlock(png.data(), png.size(), &dest);
    if (!bm) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(dest.PixelData()[1000]);
  }
  SetPixelCounters(state, 78L * 5070);
}
BENCHMARK(BM_DecodePngBlock)->Unit(benchmark::kMicrosecond);

// Including the new bitmap, as the editor's image cache does it.
void BM_DecodePngBlockNewBitmap(benchmark::State& state)
{
  const std::vector<unsigned char>& png = StripBytes();
  for (auto _ : state)
  {
    LICE_IBitmap* bm = LICE::DecodePngBlock(png.data(), png.size());
    if (!bm) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(bm);
    delete bm;
  }
  SetPixelCounters(state, 78L * 5070);
}
BENCHMARK(BM_DecodePngBlockNewBitmap)->Unit(benchmark::kMicrosecond);

// libpng's simplified API, BGRA bytes (the same memory layout as our pixel words) into a
// buffer allocated once.
void BM_LibpngSimplifiedRead(benchmark::State& state)
{
  const std::vector<unsigned char>& png = StripBytes();
  std::vector<unsigned char> pixels(78 * 5070 * 4);
  for (auto _ : state)
  {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
    {
      state.SkipWithError("begin_read failed");
      break;
    }
    image.format = PNG_FORMAT_BGRA;
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
    {
      state.SkipWithError("finish_read failed");
      break;
    }
    benchmark::DoNotOptimize(pixels[4000]);
  }
  SetPixelCounters(state, 78L * 5070);
}
BENCHMARK(BM_LibpngSimplifiedRead)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
