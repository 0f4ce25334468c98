// The JPEG decoder reading from memory: each input is offered as an image resource of
// the module, which the decoder reads through its own memory source.
#include "ImageCheck.h"
#include "resources_embedded.h"

namespace
{
constexpr int kFuzzResourceId = 31000;
LICE_EmbeddedResource g_resource = {kFuzzResourceId, "JPG", nullptr, 0, nullptr};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static const bool registered = (LICE_RegisterEmbeddedResource(&g_resource), true);
  (void)registered;
  g_resource.bytes = data;
  g_resource.size = size;
  fuzz::CheckDecoder([](LICE_IBitmap* dest) { return LICE::DecodeJpegResource(nullptr, kFuzzResourceId, dest); });
  return 0;
}
