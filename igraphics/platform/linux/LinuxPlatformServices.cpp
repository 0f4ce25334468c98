// Linux: paths come from the process and the loaded module. There are no native dialogs
// to offer, so the prompts answer "cancelled" and web addresses are not opened.
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "IPlatformServices.h"

namespace {
class LinuxPlatformServices : public IPlatformServices
{
public:
  bool AskForFile(void*, std::string&, bool, const char*) override { return false; }
  bool AskForColour(void*, IRgba&, const char*) override { return false; }
  bool AskYesNo(void*, const char*, const char*) override { return false; }
  void ShowMessage(void*, const char*, const char*) override {}
  bool OpenAddress(void*, const char*) override { return false; }

  // The artwork is compiled into each module, which needs no handle to find it.
  void* ThisModule() override { return nullptr; }

  bool ExecutablePath(std::string& path) override
  {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0) return false;
    path.assign(buffer, size_t(n));
    return true;
  }

  // The file of the module that holds this code (the module instance is not needed:
  // every module carries its own copy of the toolkit).
  bool ModulePath(void*, std::string& path) override
  {
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&CreatePlatformServices), &info) || !info.dli_fname) return false;
    path = info.dli_fname;
    return !path.empty();
  }
};
}  // namespace

IPlatformServices* CreatePlatformServices() { return new LinuxPlatformServices(); }
