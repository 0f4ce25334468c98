#include "png_write.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace PngFile {

namespace {

using Bytes = std::vector<png_byte>;

void Append(png_structp png, png_bytep data, png_size_t size) {
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}
void NoFlush(png_structp) {}

// Encodes the bitmap with one choice of row filters (PNG_FILTER_* bits); false on failure.
bool Encode(const LICE_IBitmap& bitmap, bool withAlpha, int filters, int memoryLevel, Bytes* out) {
  const int w = bitmap.Width(), h = bitmap.Height();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const int channels = withAlpha ? 4 : 3;
  std::vector<png_byte> row(static_cast<size_t>(w) * channels);
  bool ok = png && info;
  if (ok && setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(png, out, &Append, &NoFlush);
    png_set_IHDR(png, info, w, h, 8, withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, memoryLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
      const int memoryRow = bitmap.IsBottomUp() ? h - 1 - y : y;
      const PixelWord* src = bitmap.PixelData() + static_cast<size_t>(memoryRow) * bitmap.RowStride();
      for (int x = 0; x < w; ++x) {
        png_byte* px = &row[static_cast<size_t>(x) * channels];
        px[0] = static_cast<png_byte>(src[x] >> 16);
        px[1] = static_cast<png_byte>(src[x] >> 8);
        px[2] = static_cast<png_byte>(src[x]);
        if (withAlpha) px[3] = static_cast<png_byte>(src[x] >> 24);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, info);
  } else {
    ok = false;
  }
  if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
  return ok;
}

}  // namespace

bool Write(const std::string& path, const LICE_IBitmap& bitmap, bool withAlpha, std::string* error,
           Effort effort) {
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0 || !bitmap.PixelData()) {
    if (error) *error = "empty bitmap";
    return false;
  }
  Bytes best;
  if (effort == Effort::kFast) {
    if (!Encode(bitmap, withAlpha, PNG_ALL_FILTERS, 8, &best)) best.clear();
  } else {
    // libpng's per-row choice is a guess; flat synthetic pictures often pack better with one
    // filter for every row (or none), so each is tried and the smallest file kept.
    for (const int filters : {PNG_ALL_FILTERS, PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP,
                              PNG_FILTER_AVG, PNG_FILTER_PAETH}) {
      Bytes candidate;
      if (Encode(bitmap, withAlpha, filters, 9, &candidate) && (best.empty() || candidate.size() < best.size()))
        best.swap(candidate);
    }
  }
  if (best.empty()) {
    if (error) *error = "cannot encode " + path;
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) *error = "cannot open " + path + " for writing";
    return false;
  }
  const bool written = std::fwrite(best.data(), 1, best.size(), file) == best.size();
  const bool ok = (std::fclose(file) == 0) && written;
  if (!ok && error) *error = "cannot write " + path;
  return ok;
}

}  // namespace PngFile
