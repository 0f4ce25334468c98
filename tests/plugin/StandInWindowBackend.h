// A window back-end whose windows exist only as objects, for the thread-rule tests: an
// editor opens in any parent without a display, so that the calls a format makes only
// for an open editor (a host's window resized to the editor's size) can be driven.
// Installed for the editors made while a StandInWindows (or TickingStandInWindows) object lives.
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

// The same, its windows ticked by the host's idle calls as a real window's are, so that
// the editor's controls get their idle hooks.
class TickingStandInBackend final : public StandInWindowBackend
{
public:
  void* CreateEditorWindow(IGraphicsWindow* owner, void* parent, const IBounds& bounds, int tickMs) override
  {
    mOwner = owner;
    return StandInWindowBackend::CreateEditorWindow(owner, parent, bounds, tickMs);
  }
  void Idle(void*) override
  {
    if (mOwner) mOwner->HandleTick();
  }

private:
  IGraphicsWindow* mOwner = nullptr;
};

// Installs |Backend| for the editors made while it lives.
template <class Backend>
struct InstalledWindowBackend
{
  InstalledWindowBackend() { SetWindowBackendFactory([]() -> IWindowBackend* { return new Backend; }); }
  ~InstalledWindowBackend() { SetWindowBackendFactory(nullptr); }
  InstalledWindowBackend(const InstalledWindowBackend&) = delete;
  InstalledWindowBackend& operator=(const InstalledWindowBackend&) = delete;
};
using StandInWindows = InstalledWindowBackend<StandInWindowBackend>;
using TickingStandInWindows = InstalledWindowBackend<TickingStandInBackend>;
