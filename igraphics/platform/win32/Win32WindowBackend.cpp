// The Windows editor window. Until it is written the editor stays windowless on Windows:
// effEditOpen answers 0 and hosts show their own controls. Text would come from GDI.
#include "IWindowBackend.h"

namespace {
class Win32WindowBackend : public IWindowBackend
{
public:
  void* CreateEditorWindow(IGraphicsWindow*, void*, const IBounds&, int) override { return nullptr; }
  void DestroyEditorWindow(void*) override {}
  bool ScreenRect(void*, IBounds&) override { return false; }
  void GrowWindow(void*, int32_t, int32_t) override {}
  void RepaintNow(void*, const IBounds&) override {}
  bool CopyToScreen(void*, LICE_IBitmap*, const IBounds&) override { return false; }
  ITextRenderer* TextRenderer() override { return nullptr; }
};
}  // namespace

IWindowBackend* CreatePlatformWindowBackend() { return new Win32WindowBackend(); }
