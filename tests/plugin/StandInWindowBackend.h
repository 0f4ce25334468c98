// A window back-end whose windows exist only as objects, for the thread-rule tests: an
// editor opens in any parent without a display, so that the calls a format makes only
// for an open editor (a host's window resized to the editor's size) can be driven.
// Installed for the editors made while a StandInWindows object lives.
#pragma once

#include "IGraphicsWindow.h"
#include "IWindowBackend.h"

class StandInWindowBackend : public IWindowBackend
{
public:
  void* CreateEditorWindow(IGraphicsWindow*, void*, const IBounds&, int) override { return &mWindow; }
  void DestroyEditorWindow(void*) override {}
  bool ScreenRect(void*, IBounds&) override { return false; }
  void GrowWindow(void*, int32_t, int32_t) override {}
  void RepaintNow(void*, const IBounds&) override {}
  bool CopyToScreen(void*, LICE_IBitmap*, const IBounds&) override { return true; }
  ITextRenderer* TextRenderer() override { return nullptr; }

private:
  int mWindow = 0;
};

struct StandInWindows
{
  StandInWindows() { SetWindowBackendFactory([]() -> IWindowBackend* { return new StandInWindowBackend; }); }
  ~StandInWindows() { SetWindowBackendFactory(nullptr); }
  StandInWindows(const StandInWindows&) = delete;
  StandInWindows& operator=(const StandInWindows&) = delete;
};
