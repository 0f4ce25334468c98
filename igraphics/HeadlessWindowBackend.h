#pragma once
// A back-end without a window system: no editor window, edit box or dialog can
// be made, so those operations answer failure. Text is drawn by the process's
// text renderer and embedded images are decoded by the raster library, which
// is everything an editor needs to paint off screen.

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

  bool RenderText(LICE_IBitmap* surface, const ITextStyle& style, const char* text, const IBounds& rect) override;

  void* CreateEditBox(void*, const IBounds&, const char*) override { return nullptr; }
  void* CreateListBox(void*, const IBounds&, const std::vector<std::string>&, int32_t) override { return nullptr; }
  void SetBoxText(void*, const char*) override {}
  std::string BoxText(void*, int32_t) override { return std::string(); }
  void DestroyBox(void*) override {}

  bool AskForFile(void*, std::string&, bool, const char*) override { return false; }
  bool AskForColour(void*, IRgba&, const char*) override { return false; }
  bool AskYesNo(void*, const char*, const char*) override { return false; }
  void ShowMessage(void*, const char*, const char*) override {}
  bool OpenAddress(void*, const char*) override { return false; }

  bool ExecutablePath(std::string&) override { return false; }
  bool ModulePath(void*, std::string&) override { return false; }
  LICE_IBitmap* DecodePngResource(void* moduleInstance, int32_t resourceId) override;
  LICE_IBitmap* DecodeJpegResource(void* moduleInstance, int32_t resourceId) override;
};
