// The copy through source alpha at full weight, the editor's most frequent blit, over
// whole rows. With SSE2 four pixels go at once, bit-identical to the per-pixel combiner:
// each channel becomes s + trunc((d - s) * k / 256) with k = 255 - A (and A + 1 in place
// of s for the alpha channel), computed as a magnitude product whose sign is put back.
#include "blit_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace LICE
{
namespace detail
{
#if defined(__SSE2__)
namespace
{
// Two pixels widened to 16-bit channels, blended into `d16`.
inline __m128i BlendTwo(__m128i s16, __m128i d16)
{
  const __m128i alphaOne = _mm_set_epi16(1, 0, 0, 0, 1, 0, 0, 0);
  const __m128i all255 = _mm_set1_epi16(255);
  __m128i a16 = _mm_shufflelo_epi16(s16, 0xFF);
  a16 = _mm_shufflehi_epi16(a16, 0xFF);
  const __m128i k = _mm_sub_epi16(all255, a16);
  const __m128i base = _mm_add_epi16(s16, alphaOne); // alpha mixes towards A + 1
  const __m128i diff = _mm_sub_epi16(d16, base);     // -256 .. 255
  const __m128i sign = _mm_srai_epi16(diff, 15);
  const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(diff, sign), sign);
  // magnitude * k < 65536, so the low 16 bits hold the whole product.
  const __m128i q = _mm_srli_epi16(_mm_mullo_epi16(magnitude, k), 8);
  return _mm_add_epi16(base, _mm_sub_epi16(_mm_xor_si128(q, sign), sign));
}
} // namespace
#endif

void CopySourceAlphaRow(PixelWord* dp, const PixelWord* sp, int n)
{
  int i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 4 <= n; i += 4)
  {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sp + i));
    const __m128i alpha = _mm_srli_epi32(s, 24);
    const int opaque = _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(255)));
    if (opaque == 0xFFFF)
    {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dp + i), s);
      continue;
    }
    const __m128i transparent = _mm_cmpeq_epi32(alpha, zero);
    if (_mm_movemask_epi8(transparent) == 0xFFFF) continue;

    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dp + i));
    const __m128i lo = BlendTwo(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i hi = BlendTwo(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    // Opaque pixels come out with alpha 256, which the saturating pack turns into 255.
    const __m128i blended = _mm_packus_epi16(lo, hi);
    const __m128i result = _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, blended));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dp + i), result);
  }
#endif
  for (; i < n; ++i) BlendWord<CopySourceAlphaFullCombiner>(dp[i], sp[i], 256);
}
} // namespace detail
} // namespace LICE
