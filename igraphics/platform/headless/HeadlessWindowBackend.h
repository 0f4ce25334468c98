#pragma once
// A back-end without a window system: no editor window can be made, so the window
// operations answer failure. Text is drawn with FreeType, which is all an editor needs to
// paint off screen (tests, the snapshot tool).

#include "IWindowBackend.h"

class HeadlessWindowBackend : public IWindowBackend
{
public:
  void* CreateEditorWindow(IGraphicsWindow*, void*, const IBounds&, int) override { return nullptr; }
  void DestroyEditorWindow(void*) override {}
  bool ScreenRect(void*, IBounds&) override { return false; }
  void GrowWindow(void*, int32_t, int32_t) override {}
  void RepaintNow(void*, const IBounds&) override {}
  bool CopyToScreen(void*, LICE_IBitmap*, const IBounds&) override { return false; }
  ITextRenderer* TextRenderer() override;
};

// A factory that makes headless back-ends (for SetWindowBackendFactory).
IWindowBackend* CreateHeadlessWindowBackend();
