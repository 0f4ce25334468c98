// PNG decoding with libpng: every colour type and bit depth is decoded straight into the
// bitmap's rows as 32-bit pixel words with straight alpha.

#include "image_loaders.h"
#include "image_file.h"
#include "bitmap.h"
#include "resources.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "PNG rows are decoded as B, G, R, A bytes, which are pixel words only on little-endian machines");

namespace LICE
{
namespace {

struct MemorySource
{
  const unsigned char* next;
  size_t remaining;
};

// Everything a decode needs across the jump back from a libpng error. It lives in the
// frame of DecodePng, outside the function that sets the jump point, so the jump skips
// no destructor and no variable of that frame goes stale.
struct PngJob
{
  png_structp png = nullptr;
  png_infop info = nullptr;
  LICE_IBitmap* given = nullptr;
  LICE_IBitmap* created = nullptr;  // owned here until the decode succeeds
  LICE_IBitmap* bitmap = nullptr;   // given or created
  png_bytep* rows = nullptr;        // malloc'd
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp /*message*/)
{
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Data cut short is an error at once rather than zeros handed to libpng.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t n)
{
  MemorySource* src = static_cast<MemorySource*>(png_get_io_ptr(png));
  if (n > src->remaining) png_error(png, "PNG data cut short");
  std::memcpy(out, src->next, n);
  src->next += n;
  src->remaining -= n;
}

// Asks libpng for four 8-bit bytes per pixel in the order B, G, R, A, whatever the
// file's colour type, bit depth and transparency: on a little-endian machine that is the
// pixel word A<<24 | R<<16 | G<<8 | B itself, so rows need no conversion afterwards.
void RequestPixelWords(png_structp png, png_infop info)
{
  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (hasTrns) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  png_set_bgr(png);

  // Whether to add an opaque alpha byte depends on what the expansions above produce, not
  // on the file's colour type: palette, gray and RGB images with a transparency chunk
  // carry alpha by now too.
  const bool hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;
  if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);

  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// Sets up the destination bitmap and the row pointers. False leaves cleanup to the caller.
bool PrepareRows(PngJob* job, png_uint_32 width, png_uint_32 height)
{
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  if (job->given)
  {
    job->given->SetSize(w, h);
    job->bitmap = job->given;
  }
  else
  {
    job->created = new (std::nothrow) LICE_MemBitmap(w, h, 4);
    job->bitmap = job->created;
  }
  LICE_IBitmap* bm = job->bitmap;
  if (!bm || bm->Width() != w || bm->Height() != h || !bm->PixelData()) return false;

  job->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!job->rows) return false;
  const ptrdiff_t stride = bm->RowStride();
  PixelWord* first = bm->PixelData();
  if (bm->IsBottomUp())
  {
    first += (h - 1) * stride;
    for (int y = 0; y < h; ++y) job->rows[y] = reinterpret_cast<png_bytep>(first - y * stride);
  }
  else
  {
    for (int y = 0; y < h; ++y) job->rows[y] = reinterpret_cast<png_bytep>(first + y * stride);
  }
  return true;
}

// The only function that sets the jump point: it keeps all state in *job.
bool DecodeInto(PngJob* job, MemorySource* memory, FILE* file)
{
  if (setjmp(png_jmpbuf(job->png))) return false;

  if (memory)
    png_set_read_fn(job->png, memory, ReadFromMemory);
  else
    png_init_io(job->png, file);

  png_read_info(job->png, job->info);
  const png_uint_32 width = png_get_image_width(job->png, job->info);
  const png_uint_32 height = png_get_image_height(job->png, job->info);
  if (width == 0 || height == 0 ||
      static_cast<unsigned long long>(width) * height > kLiceMaxDecodedPixels)
    return false;

  RequestPixelWords(job->png, job->info);
  if (png_get_rowbytes(job->png, job->info) != static_cast<size_t>(width) * 4) return false;

  if (!PrepareRows(job, width, height)) return false;
  png_read_image(job->png, job->rows);
  return true;
}

LICE_IBitmap* DecodePng(MemorySource* memory, FILE* file, LICE_IBitmap* dest)
{
  PngJob job;
  job.given = dest;
  job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!job.png) return nullptr;
  job.info = png_create_info_struct(job.png);
  if (!job.info)
  {
    png_destroy_read_struct(&job.png, nullptr, nullptr);
    return nullptr;
  }

  const bool ok = DecodeInto(&job, memory, file);
  png_destroy_read_struct(&job.png, &job.info, nullptr);
  std::free(job.rows);
  if (!ok)
  {
    delete job.created;
    return nullptr;
  }
  return job.bitmap;
}

}  // namespace

LICE_IBitmap* DecodePngBlock(const void* data, size_t length, LICE_IBitmap* dest)
{
  if (!data || length < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) return nullptr;
  MemorySource source = {static_cast<const unsigned char*>(data), length};
  return DecodePng(&source, nullptr, dest);
}

bool ReadPngSize(const void* data, size_t length, int* width, int* height)
{
  // Signature (8 bytes), then the IHDR chunk: length (4), type (4), width (4), height (4),
  // both big-endian.
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (!bytes || length < 24 || png_sig_cmp(bytes, 0, 8) != 0 || std::memcmp(bytes + 12, "IHDR", 4) != 0)
    return false;
  auto bigEndian = [](const unsigned char* at) {
    return (unsigned long long)at[0] << 24 | (unsigned long long)at[1] << 16 | (unsigned long long)at[2] << 8 |
           (unsigned long long)at[3];
  };
  const unsigned long long w = bigEndian(bytes + 16), h = bigEndian(bytes + 20);
  if (w == 0 || h == 0 || w > 0x7FFFFFFFull || h > 0x7FFFFFFFull || w * h > kLiceMaxDecodedPixels) return false;
  if (width) *width = int(w);
  if (height) *height = int(h);
  return true;
}

bool ReadPngResourceSize(void* module, int resourceId, int* width, int* height)
{
  const unsigned char* bytes = nullptr;
  size_t size = 0;
  return LICE_FindModuleResource(module, resourceId, "PNG", &bytes, &size) && ReadPngSize(bytes, size, width, height);
}

LICE_IBitmap* DecodePngFile(const char* utf8Name, LICE_IBitmap* dest)
{
  FILE* file = OpenImageFileForReading(utf8Name);
  if (!file) return nullptr;
  LICE_IBitmap* result = DecodePng(nullptr, file, dest);
  std::fclose(file);
  return result;
}

LICE_IBitmap* DecodePngResource(void* module, int resourceId, LICE_IBitmap* dest)
{
  const unsigned char* bytes = nullptr;
  size_t size = 0;
  if (!LICE_FindModuleResource(module, resourceId, "PNG", &bytes, &size) || size < 8) return nullptr;
  return DecodePngBlock(bytes, size, dest);
}
} // namespace LICE
