// Number handling shared by the VST 2.4 adapter's files (texts are copied with the
// core's CopyBoundedText).
#pragma once

#include <climits>

#include "vst24.h"

namespace vst_text
{
inline int ClipToInt(VstIntPtr value)
{
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

} // namespace vst_text
