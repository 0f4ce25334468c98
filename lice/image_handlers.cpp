// Extension-checking file decoders, their dialog filters and the handler list.

#include "image_loaders.h"

#include <strings.h>

namespace LICE
{

bool ImageNameHasExtension(const char* name, const char* extension)
{
  if (!name || !extension) return false;
  const char* p = name;
  while (*p) ++p;
  while (p > name && *p != '.' && *p != '/' && *p != '\\') --p;
  return strcasecmp(p, extension) == 0;
}

LICE_IBitmap* DecodePngFileIfNamed(const char* utf8Name, bool checkExtension, LICE_IBitmap* dest)
{
  if (checkExtension && !ImageNameHasExtension(utf8Name, ".png")) return nullptr;
  return DecodePngFile(utf8Name, dest);
}

LICE_IBitmap* DecodeJpegFileIfNamed(const char* utf8Name, bool checkExtension, LICE_IBitmap* dest)
{
  if (checkExtension && !ImageNameHasExtension(utf8Name, ".jpg") &&
      !ImageNameHasExtension(utf8Name, ".jpeg") && !ImageNameHasExtension(utf8Name, ".jfif"))
    return nullptr;
  return DecodeJpegFile(utf8Name, dest);
}

const char* PngFileFilter()
{
  return "PNG files (*.PNG)\0*.PNG\0";
}

const char* JpegFileFilter()
{
  return "JPEG files (*.JPG;*.JPEG;*.JFIF)\0*.JPG;*.JPEG;*.JFIF\0";
}

namespace {
ImageFileHandler g_jpegHandler = {DecodeJpegFileIfNamed, JpegFileFilter, nullptr};
ImageFileHandler g_pngHandler = {DecodePngFileIfNamed, PngFileFilter, nullptr};
ImageFileHandler* g_firstHandler = nullptr;  // constant-initialised: valid before registration

void PushHandler(ImageFileHandler* h)
{
  h->next = g_firstHandler;
  g_firstHandler = h;
}

struct HandlerRegistration
{
  HandlerRegistration()
  {
    PushHandler(&g_jpegHandler);
    PushHandler(&g_pngHandler);
  }
} g_handlerRegistration;
}  // namespace

const ImageFileHandler* FirstImageFileHandler()
{
  return g_firstHandler;
}
} // namespace LICE
