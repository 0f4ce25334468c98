#include "ModuleLibrary.h"

#include <dlfcn.h>

namespace hostkit
{
bool ModuleLibrary::Open(const std::string& path, std::string& error, bool keepMapped)
{
  Close();
  // dlopen searches the library path for a bare file name; a plug-in is named by its file.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  dlerror();
  mHandle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | (keepMapped ? RTLD_NODELETE : 0));
  if (!mHandle)
  {
    const char* why = dlerror();
    error = why ? why : "dlopen failed";
    return false;
  }
  return true;
}

void ModuleLibrary::Close()
{
  if (mHandle) dlclose(mHandle);
  mHandle = nullptr;
}

void* ModuleLibrary::Symbol(const char* name) const
{
  return mHandle ? dlsym(mHandle, name) : nullptr;
}
} // namespace hostkit
