#pragma once
// What every decoded image must satisfy, whichever decoder made it.
#include "FuzzInput.h"
#include "lice.h"

#include <memory>

namespace fuzz
{
// A decoded bitmap has a sane size and every pixel is readable; decoding the same bytes
// into a bitmap the caller gives yields the same picture.
template <class Decode>
void CheckDecoder(Decode decode)
{
  std::unique_ptr<LICE_IBitmap> made(decode(nullptr));
  if (!made) return;
  const int w = made->Width(), h = made->Height();
  FUZZ_CHECK(w > 0 && h > 0 && (unsigned long long)w * h <= LICE::kLiceMaxDecodedPixels, "decoded %d x %d", w, h);
  FUZZ_CHECK(made->PixelData() && made->RowStride() >= w, "decoded bitmap without rows");

  LICE_MemBitmap given(1, 1);
  LICE_IBitmap* again = decode(&given);
  FUZZ_CHECK(again == &given, "a second decode of the same bytes failed or ignored the given bitmap");
  FUZZ_CHECK(given.Width() == w && given.Height() == h, "sizes differ between decodes");
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      FUZZ_CHECK(LICE::FetchPixel(made.get(), x, y) == LICE::FetchPixel(&given, x, y),
                 "pixel (%d, %d) differs between decodes", x, y);
}
} // namespace fuzz
