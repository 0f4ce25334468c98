// The PNG decoder reading from memory, as it reads the editor's artwork.
#include "ImageCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  fuzz::CheckDecoder([&](LICE_IBitmap* dest) { return LICE::DecodePngBlock(data, size, dest); });
  return 0;
}
