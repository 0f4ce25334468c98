// JPEG decoding with the IJG interface (version 62): one scanline of samples at a time,
// turned into opaque pixel words.

#include "image_loaders.h"
#include "image_file.h"
#include "bitmap.h"
#include "resources.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>

namespace LICE
{
namespace {

struct JpegErrorManager
{
  jpeg_error_mgr pub;
  jmp_buf jumpBack;
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo)
{
  longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jumpBack, 1);
}

// Warnings (such as data cut short) are not shown anywhere.
void IgnoreJpegMessage(j_common_ptr, int) {}
void IgnoreJpegOutput(j_common_ptr) {}
void IgnoreJpegFormat(j_common_ptr, char* buffer)
{
  buffer[0] = '\0';
}
void ResetJpegErrors(j_common_ptr cinfo)
{
  cinfo->err->num_warnings = 0;
  cinfo->err->msg_code = 0;
}

// Reads from a block of memory. Once the block is used up it keeps supplying an
// end-of-image marker, so data cut short inside the image ends the image there.
const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void SourceNoOp(j_decompress_ptr) {}

boolean SupplyEndOfImage(j_decompress_ptr cinfo)
{
  cinfo->src->next_input_byte = kEndOfImage;
  cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
  return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count)
{
  if (count <= 0) return;
  const size_t skip = static_cast<size_t>(count) < cinfo->src->bytes_in_buffer
                          ? static_cast<size_t>(count)
                          : cinfo->src->bytes_in_buffer;
  cinfo->src->next_input_byte += skip;
  cinfo->src->bytes_in_buffer -= skip;
}

// State shared across the jump back from a library error; see the PNG decoder.
struct JpegJob
{
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  jpeg_source_mgr memorySource;
  bool created = false;
  LICE_IBitmap* given = nullptr;
  LICE_IBitmap* created_bitmap = nullptr;  // owned here until the decode succeeds
};

void ConvertScanline(const JSAMPLE* samples, int components, int width, PixelWord* out)
{
  if (components == 3)
  {
    for (int x = 0; x < width; ++x, samples += 3)
      out[x] = 0xFF000000u | static_cast<uint32_t>(samples[0]) << 16 |
               static_cast<uint32_t>(samples[1]) << 8 | samples[2];
  }
  else if (components == 1)
  {
    for (int x = 0; x < width; ++x) out[x] = 0xFF000000u | samples[x] * 0x010101u;
  }
  else
  {
    std::memset(out, 0, sizeof(PixelWord) * width);  // e.g. CMYK: transparent black
  }
}

// The only function that sets the jump point: it keeps all state in *job.
LICE_IBitmap* DecodeInto(JpegJob* job, const unsigned char* data, size_t size, FILE* file)
{
  jpeg_decompress_struct* cinfo = &job->cinfo;
  cinfo->err = jpeg_std_error(&job->errors.pub);
  job->errors.pub.error_exit = OnJpegError;
  job->errors.pub.emit_message = IgnoreJpegMessage;
  job->errors.pub.output_message = IgnoreJpegOutput;
  job->errors.pub.format_message = IgnoreJpegFormat;
  job->errors.pub.reset_error_mgr = ResetJpegErrors;
  if (setjmp(job->errors.jumpBack)) return nullptr;

  jpeg_create_decompress(cinfo);
  job->created = true;
  if (file)
  {
    jpeg_stdio_src(cinfo, file);
  }
  else
  {
    jpeg_source_mgr* src = &job->memorySource;
    src->next_input_byte = data;
    src->bytes_in_buffer = size;
    src->init_source = SourceNoOp;
    src->fill_input_buffer = SupplyEndOfImage;
    src->skip_input_data = SkipInput;
    src->resync_to_restart = jpeg_resync_to_restart;
    src->term_source = SourceNoOp;
    cinfo->src = src;
  }

  jpeg_read_header(cinfo, TRUE);
  if (static_cast<unsigned long long>(cinfo->image_width) * cinfo->image_height > kLiceMaxDecodedPixels)
    return nullptr;
  jpeg_start_decompress(cinfo);

  const int width = static_cast<int>(cinfo->output_width);
  const int height = static_cast<int>(cinfo->output_height);
  const int components = cinfo->output_components;
  JSAMPARRAY buffer = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                  cinfo->output_width * components, 1);

  LICE_IBitmap* bm = job->given;
  if (bm)
    bm->SetSize(width, height);
  else
    bm = job->created_bitmap = new (std::nothrow) LICE_MemBitmap(width, height, 4);
  if (!bm || bm->Width() != width || bm->Height() != height || !bm->PixelData()) return nullptr;

  ptrdiff_t step = bm->RowStride();
  PixelWord* row = bm->PixelData();
  if (bm->IsBottomUp())
  {
    row += (height - 1) * step;
    step = -step;
  }
  for (int y = 0; y < height; ++y, row += step)
  {
    if (jpeg_read_scanlines(cinfo, buffer, 1) != 1) return nullptr;  // our sources never suspend
    ConvertScanline(buffer[0], components, width, row);
  }
  jpeg_finish_decompress(cinfo);
  return bm;
}

LICE_IBitmap* DecodeJpeg(const unsigned char* data, size_t size, FILE* file, LICE_IBitmap* dest)
{
  JpegJob* job = new (std::nothrow) JpegJob;  // the decompressor record is large
  if (!job) return nullptr;
  job->given = dest;
  LICE_IBitmap* result = DecodeInto(job, data, size, file);
  if (job->created) jpeg_destroy_decompress(&job->cinfo);
  if (!result) delete job->created_bitmap;
  delete job;
  return result;
}

}  // namespace

LICE_IBitmap* DecodeJpegResource(void* module, int resourceId, LICE_IBitmap* dest)
{
  const unsigned char* bytes = nullptr;
  size_t size = 0;
  if (!LICE_FindModuleResource(module, resourceId, "JPG", &bytes, &size) || size < 8) return nullptr;
  return DecodeJpeg(bytes, size, nullptr, dest);
}

LICE_IBitmap* DecodeJpegFile(const char* utf8Name, LICE_IBitmap* dest)
{
  FILE* file = OpenImageFileForReading(utf8Name);
  if (!file) return nullptr;
  LICE_IBitmap* result = DecodeJpeg(nullptr, 0, file, dest);
  std::fclose(file);
  return result;
}
} // namespace LICE
