// File names are UTF-8 bytes on Linux already.

#include "image_file.h"

FILE* OpenImageFileForReading(const char* utf8Name)
{
  if (!utf8Name) return nullptr;
  return std::fopen(utf8Name, "rb");
}
