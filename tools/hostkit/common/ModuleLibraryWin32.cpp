#include "ModuleLibrary.h"

#include <windows.h>

#include <vector>

namespace hostkit
{
bool ModuleLibrary::Open(const std::string& path, std::string& error, bool)
{
  Close();
  // The path is UTF-8: the wide call, so that any file name loads.
  const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? static_cast<size_t>(length) : 1u, L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
  HMODULE module = LoadLibraryW(wide.data());
  if (!module)
  {
    error = "LoadLibrary failed (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  mHandle = module;
  return true;
}

void ModuleLibrary::Close()
{
  if (mHandle) FreeLibrary(static_cast<HMODULE>(mHandle));
  mHandle = nullptr;
}

void* ModuleLibrary::Symbol(const char* name) const
{
  return mHandle ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name)) : nullptr;
}
} // namespace hostkit
