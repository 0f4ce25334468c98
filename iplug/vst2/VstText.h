// Text and number handling shared by the VST 2.4 adapter's files.
#pragma once

#include <climits>
#include <cstring>

#include "vst24.h"

namespace vst_text
{
// Copies src into a buffer of limit bytes: at most limit - 1 characters, always
// terminated, and src is never read past them. Texts for the host are cut here;
// the full text stays with the plug-in.
inline void CopyToHost(char* dst, const char* src, int limit)
{
  if (!dst || limit <= 0) return;
  if (!src) src = "";
  const size_t n = strnlen(src, static_cast<size_t>(limit - 1));
  std::memcpy(dst, src, n);
  dst[n] = '\0';
}

inline int ClipToInt(VstIntPtr value)
{
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

} // namespace vst_text
