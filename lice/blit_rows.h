#pragma once
// Inner row loops of the rectangle blits. Each is instantiated per combiner, so the
// operation is chosen once per call. The copy through source alpha at full weight, the
// editor's most common blit, has a loop the compiler can vectorise.

#include "combiners.h"

#include <cstdint>

namespace LICE
{
namespace detail
{
template <class C>
inline void BlendRow(PixelWord* dp, const PixelWord* sp, int n, int w)
{
  for (int i = 0; i < n; ++i) BlendWord<C>(dp[i], sp[i], w);
}

// Copy through source alpha at full weight; same result as the combiner, pixel for pixel.
void CopySourceAlphaRow(PixelWord* dp, const PixelWord* sp, int n);

template <>
inline void BlendRow<CopySourceAlphaFullCombiner>(PixelWord* dp, const PixelWord* sp, int n, int)
{
  CopySourceAlphaRow(dp, sp, n);
}

// Copies byte `from` of each source word to byte `to` of the destination word (bit offsets).
inline void CopyChannelRow(PixelWord* dp, const PixelWord* sp, int n, int from, int to)
{
  const PixelWord keep = ~(PixelWord(0xFF) << to);
  for (int i = 0; i < n; ++i) dp[i] = (dp[i] & keep) | (((sp[i] >> from) & 0xFF) << to);
}
} // namespace detail
} // namespace LICE
