// Text between the plug-in (UTF-8) and VST 3 (UTF-16 String128 and fixed char arrays).
#pragma once

#include <cstddef>
#include <cstdint>

#include "vst3_abi.h"

namespace IPlugVST3Text
{
// UTF-8 text into a terminated UTF-16 array of capacity units (characters beyond the
// basic plane and broken bytes become U+FFFD).
inline void ToUtf16(const char* text, vst3::char16* out, int capacity)
{
  if (!out || capacity <= 0) return;
  int n = 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
  while (*p && n < capacity - 1)
  {
    uint32_t c = *p++;
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c >= 0x80 && c < 0xC0) more = -1;
    if (more > 0)
    {
      c &= 0x3F >> more;
      for (int k = 0; k < more; ++k)
      {
        if ((*p & 0xC0) != 0x80) { more = -1; break; }
        c = (c << 6) | (*p++ & 0x3F);
      }
    }
    out[n++] = static_cast<vst3::char16>(more < 0 || c > 0xFFFF ? 0xFFFD : c);
  }
  out[n] = 0;
}

// A terminated UTF-16 text (at most capacity units read) as UTF-8, terminated, cut to size bytes.
inline void ToUtf8(const vst3::char16* text, int capacity, char* out, int size)
{
  if (!out || size <= 0) return;
  int n = 0;
  for (int i = 0; text && i < capacity && text[i]; ++i)
  {
    const uint32_t c = text[i];
    char bytes[3];
    int len = 0;
    if (c < 0x80) bytes[len++] = static_cast<char>(c);
    else if (c < 0x800)
    {
      bytes[len++] = static_cast<char>(0xC0 | (c >> 6));
      bytes[len++] = static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
      bytes[len++] = static_cast<char>(0xE0 | (c >> 12));
      bytes[len++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      bytes[len++] = static_cast<char>(0x80 | (c & 0x3F));
    }
    if (n + len > size - 1) break;
    for (int k = 0; k < len; ++k) out[n++] = bytes[k];
  }
  out[n] = '\0';
}

// A terminated copy into a fixed char array (cut to size - 1 bytes).
inline void Copy(char* out, const char* text, size_t size)
{
  size_t n = 0;
  for (; text && text[n] && n + 1 < size; ++n) out[n] = text[n];
  out[n] = '\0';
}
} // namespace IPlugVST3Text
