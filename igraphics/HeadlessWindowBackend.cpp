#include "HeadlessWindowBackend.h"

#include "ITextRenderer.h"
#include "image_loaders.h"

bool HeadlessWindowBackend::RenderText(LICE_IBitmap* surface, const ITextStyle& style, const char* text,
                                       const IBounds& rect)
{
  ITextRenderer* renderer = GetTextRenderer();
  return renderer && surface && renderer->RenderText(surface, style, text, rect);
}

#ifndef BRINDLOW_NO_IMAGE_DECODERS
LICE_IBitmap* HeadlessWindowBackend::DecodePngResource(void* moduleInstance, int32_t resourceId)
{
  return LICE::DecodePngResource(moduleInstance, resourceId, nullptr);
}

LICE_IBitmap* HeadlessWindowBackend::DecodeJpegResource(void* moduleInstance, int32_t resourceId)
{
  return LICE::DecodeJpegResource(moduleInstance, resourceId, nullptr);
}
#else
// Built without decoders: no embedded image can be read.
LICE_IBitmap* HeadlessWindowBackend::DecodePngResource(void*, int32_t) { return nullptr; }
LICE_IBitmap* HeadlessWindowBackend::DecodeJpegResource(void*, int32_t) { return nullptr; }
#endif
