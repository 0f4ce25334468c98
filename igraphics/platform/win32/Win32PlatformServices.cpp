// Windows: paths come from the loaded modules. The dialogs, messages and the web address
// arrive with the Windows editor window; until then they answer "cancelled".
#include <windows.h>

#include "IPlatformServices.h"

namespace {
bool ModuleFileName(HMODULE module, std::string& path)
{
  char buffer[256];
  const DWORD n = GetModuleFileNameA(module, buffer, sizeof(buffer));
  if (n == 0 || n >= sizeof(buffer)) return false;
  path.assign(buffer, n);
  return true;
}

class Win32PlatformServices : public IPlatformServices
{
public:
  bool AskForFile(void*, std::string&, bool, const char*) override { return false; }
  bool AskForColour(void*, IRgba&, const char*) override { return false; }
  bool AskYesNo(void*, const char*, const char*) override { return false; }
  void ShowMessage(void*, const char*, const char*) override {}
  bool OpenAddress(void*, const char*) override { return false; }
  // The module holding this code, for its window class and its PNG resources.
  void* ThisModule() override
  {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CreatePlatformServices), &module);
    return module;
  }
  bool ExecutablePath(std::string& path) override { return ModuleFileName(nullptr, path); }
  bool ModulePath(void* moduleInstance, std::string& path) override
  {
    return moduleInstance && ModuleFileName(static_cast<HMODULE>(moduleInstance), path);
  }
};
}  // namespace

IPlatformServices* CreatePlatformServices() { return new Win32PlatformServices(); }
