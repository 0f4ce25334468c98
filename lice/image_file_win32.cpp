// Windows takes UTF-16 names; a name that is not valid UTF-8 (or too long) is tried
// as it is, in the system code page.

#include "image_file.h"

#include <windows.h>

FILE* OpenImageFileForReading(const char* utf8Name)
{
  if (!utf8Name) return nullptr;
  wchar_t wide[2048];
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Name, -1, wide, 2048) > 0)
  {
    if (FILE* f = _wfopen(wide, L"rb")) return f;
  }
  return std::fopen(utf8Name, "rb");
}
