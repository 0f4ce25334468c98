#pragma once
// PNG and JPEG decoding into 32-bit bitmaps (straight alpha, A<<24 | R<<16 | G<<8 | B).
//
// Every decoder takes an optional destination bitmap. When one is given it is resized to
// the image and returned; otherwise a new LICE_MemBitmap (line alignment 4) is created
// and the caller owns it. Any failure returns null (after which a given bitmap may have
// been resized, with undefined content). No decoder shows a message or keeps state.

#include <cstddef>

class LICE_IBitmap;

namespace LICE
{
// Largest image, in pixels, that the decoders accept: a file declaring more is refused
// before anything is allocated for it (512 MiB of pixels).
constexpr unsigned long long kLiceMaxDecodedPixels = 1ull << 27;

// `module` is the instance handle of the module whose resources hold the image (the
// HINSTANCE on Windows). PNG resources have type "PNG", JPEG resources type "JPG".
LICE_IBitmap* DecodePngResource(void* module, int resourceId, LICE_IBitmap* dest = nullptr);
LICE_IBitmap* DecodePngBlock(const void* data, size_t length, LICE_IBitmap* dest = nullptr);
LICE_IBitmap* DecodePngFile(const char* utf8Name, LICE_IBitmap* dest = nullptr);
// The size a PNG declares in its header, read without decoding anything (so an editor can
// lay itself out before it needs the pixels). False for data that is no PNG, or that
// declares a size the decoder refuses.
bool ReadPngSize(const void* data, size_t length, int* width, int* height);
bool ReadPngResourceSize(void* module, int resourceId, int* width, int* height);

// JPEG data cut short inside the compressed image still decodes: the decoder ends the
// image there, and the rows it did not reach hold what the JPEG library makes of
// missing data.
LICE_IBitmap* DecodeJpegResource(void* module, int resourceId, LICE_IBitmap* dest = nullptr);
LICE_IBitmap* DecodeJpegFile(const char* utf8Name, LICE_IBitmap* dest = nullptr);

// With `checkExtension`, a name that does not end in ".png" (respectively ".jpg", ".jpeg"
// or ".jfif"; any case) returns null without opening the file.
LICE_IBitmap* DecodePngFileIfNamed(const char* utf8Name, bool checkExtension, LICE_IBitmap* dest);
LICE_IBitmap* DecodeJpegFileIfNamed(const char* utf8Name, bool checkExtension, LICE_IBitmap* dest);

// Open-file-dialog filter pairs: description, NUL, patterns, NUL (then the final NUL of
// the string literal ends the list).
const char* PngFileFilter();
const char* JpegFileFilter();

// The file-format handlers, filled during static initialisation: PNG first, then JPEG.
struct ImageFileHandler
{
  LICE_IBitmap* (*decodeFile)(const char* utf8Name, bool checkExtension, LICE_IBitmap* dest);
  const char* (*fileFilter)();
  ImageFileHandler* next;
};
const ImageFileHandler* FirstImageFileHandler();

// True when `name` ends in `extension` (which includes its full stop), compared without
// regard to case, and nothing but the extension follows the last '.', '/' or '\\'.
bool ImageNameHasExtension(const char* name, const char* extension);
} // namespace LICE
