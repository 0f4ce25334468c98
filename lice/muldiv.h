// a × b ÷ c with the product kept exact in 128 bits, truncated toward zero, without a
// 128-bit integer type (32-bit targets have none). The caller guarantees c ≠ 0 and a
// quotient that fits in 64 bits, as edge clipping does (the quotient never exceeds |a|).
#ifndef LICE_MULDIV_H
#define LICE_MULDIV_H

#include <cstdint>

namespace LICE
{
inline std::int64_t MulDivTrunc(std::int64_t a, std::int64_t b, std::int64_t c)
{
  using U = std::uint64_t;
  const bool negative = (a < 0) != (b < 0) ? !(c < 0) : (c < 0);
  const U ua = a < 0 ? U(0) - U(a) : U(a);
  const U ub = b < 0 ? U(0) - U(b) : U(b);
  const U uc = c < 0 ? U(0) - U(c) : U(c);

  // The 128-bit product hi:lo from four 32 × 32-bit partial products.
  const U aLo = ua & 0xFFFFFFFFu, aHi = ua >> 32, bLo = ub & 0xFFFFFFFFu, bHi = ub >> 32;
  const U ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
  const U middle = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
  U lo = (middle << 32) | (ll & 0xFFFFFFFFu);
  U hi = hh + (lh >> 32) + (hl >> 32) + (middle >> 32);

  // Restoring division of hi:lo by uc, one quotient bit per step.
  U remainder = 0, quotient = 0;
  for (int bit = 0; bit < 128; ++bit)
  {
    const bool carry = (remainder >> 63) != 0;
    remainder = (remainder << 1) | (hi >> 63);
    hi = (hi << 1) | (lo >> 63);
    lo <<= 1;
    quotient <<= 1;
    if (carry || remainder >= uc)
    {
      remainder -= uc;
      quotient |= 1;
    }
  }
  return negative ? static_cast<std::int64_t>(U(0) - quotient) : static_cast<std::int64_t>(quotient);
}
}  // namespace LICE

#endif
