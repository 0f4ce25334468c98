#include "HeadlessWindowBackend.h"

#include "text_freetype_renderer.h"

ITextRenderer* HeadlessWindowBackend::TextRenderer() { return FreeTypeTextRenderer(); }

IWindowBackend* CreateHeadlessWindowBackend() { return new HeadlessWindowBackend(); }
