#include "HeadlessWindowBackend.h"

#include "ITextRenderer.h"
#include "image_loaders.h"

bool HeadlessWindowBackend::RenderText(LICE_IBitmap* surface, const ITextStyle& style, const char* text,
                                       const IBounds& rect)
{
  ITextRenderer* renderer = GetTextRenderer();
  return renderer && surface && renderer->RenderText(surface, style, text, rect);
}

LICE_IBitmap* HeadlessWindowBackend::DecodePngResource(void* moduleInstance, int32_t resourceId)
{
  return LICE::DecodePngResource(moduleInstance, resourceId, nullptr);
}

LICE_IBitmap* HeadlessWindowBackend::DecodeJpegResource(void* moduleInstance, int32_t resourceId)
{
  return LICE::DecodeJpegResource(moduleInstance, resourceId, nullptr);
}
