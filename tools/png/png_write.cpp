#include "png_write.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace PngFile {

bool Write(const std::string& path, const LICE_IBitmap& bitmap, bool withAlpha,
           std::string* error) {
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0 || !bitmap.PixelData()) {
    if (error) *error = "empty bitmap";
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) *error = "cannot open " + path + " for writing";
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const int channels = withAlpha ? 4 : 3;
  std::vector<png_byte> row(static_cast<size_t>(w) * channels);
  bool ok = png && info;
  if (ok && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, w, h, 8, withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
      const int memoryRow = bitmap.IsBottomUp() ? h - 1 - y : y;
      const PixelWord* src = bitmap.PixelData() + static_cast<size_t>(memoryRow) * bitmap.RowStride();
      for (int x = 0; x < w; ++x) {
        png_byte* out = &row[static_cast<size_t>(x) * channels];
        out[0] = static_cast<png_byte>(src[x] >> 16);
        out[1] = static_cast<png_byte>(src[x] >> 8);
        out[2] = static_cast<png_byte>(src[x]);
        if (withAlpha) out[3] = static_cast<png_byte>(src[x] >> 24);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, info);
  } else {
    ok = false;
  }
  if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
  ok = (std::fclose(file) == 0) && ok;
  if (!ok && error) *error = "cannot write " + path;
  return ok;
}

}  // namespace PngFile
