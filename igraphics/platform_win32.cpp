// The Windows platform until its window back-end exists: the editor runs
// headless (no text renderer is installed); paths come from the loaded modules.
#include <windows.h>

#include "HeadlessWindowBackend.h"

namespace {
bool ModuleFileName(HMODULE module, std::string& path)
{
  char buffer[256];
  const DWORD n = GetModuleFileNameA(module, buffer, sizeof(buffer));
  if (n == 0 || n >= sizeof(buffer)) return false;
  path.assign(buffer, n);
  return true;
}

class Win32Backend : public HeadlessWindowBackend
{
public:
  bool ExecutablePath(std::string& path) override { return ModuleFileName(nullptr, path); }
  bool ModulePath(void* moduleInstance, std::string& path) override
  {
    return moduleInstance && ModuleFileName(static_cast<HMODULE>(moduleInstance), path);
  }
};
}  // namespace

IWindowBackend* CreatePlatformWindowBackend() { return new Win32Backend(); }
