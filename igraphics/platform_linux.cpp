// The Linux platform: no window system yet, so the editor runs headless; paths
// come from the process and the loaded module.
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "HeadlessWindowBackend.h"

namespace {
class LinuxBackend : public HeadlessWindowBackend
{
public:
  bool ExecutablePath(std::string& path) override
  {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0) return false;
    path.assign(buffer, size_t(n));
    return true;
  }

  // The file of the module that holds this code (the module instance is not
  // needed: every module carries its own copy of the toolkit).
  bool ModulePath(void*, std::string& path) override
  {
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&CreatePlatformWindowBackend), &info) || !info.dli_fname) return false;
    path = info.dli_fname;
    return !path.empty();
  }
};
}  // namespace

IWindowBackend* CreatePlatformWindowBackend() { return new LinuxBackend(); }

