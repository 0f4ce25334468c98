// The one bounded text copy every part of the plug-in uses for texts that cross to or
// from a host: the core's answers, the adapters' fixed-size records.
#pragma once

#include <cstring>

// Copies src into dst, a buffer of size bytes: at most size - 1 characters, always
// terminated, and src is never read past them (a host's text need not be terminated
// within the buffer it lies in). Null src copies the empty text; nothing for size <= 0.
inline void CopyBoundedText(char* dst, const char* src, long long size)
{
  if (!dst || size <= 0) return;
  if (!src) src = "";
  const size_t n = strnlen(src, static_cast<size_t>(size - 1));
  std::memcpy(dst, src, n);
  dst[n] = '\0';
}
