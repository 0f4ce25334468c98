#include "IWindowBackend.h"

#include <atomic>

namespace {
std::atomic<WindowBackendFactory> gFactory{nullptr};
}  // namespace

IWindowBackend* CreateWindowBackend()
{
  const WindowBackendFactory factory = gFactory.load();
  return factory ? factory() : CreatePlatformWindowBackend();
}

void SetWindowBackendFactory(WindowBackendFactory factory) { gFactory.store(factory); }
