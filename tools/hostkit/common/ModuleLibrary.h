// A plug-in binary loaded into the process: the one place the host kits meet the
// platform's loader (dlopen on Linux, LoadLibrary on Windows; CMake picks the file).
#pragma once

#include <string>

namespace hostkit
{
class ModuleLibrary
{
public:
  ModuleLibrary() = default;
  ~ModuleLibrary() { Close(); }
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  // Loads path (UTF-8) as hosts do: every symbol resolved now, none shared with other
  // modules. keepMapped leaves the code mapped after Close (Linux only), so that sanitizer
  // reports made later can still name it. On failure, error says why (the loader's words).
  bool Open(const std::string& path, std::string& error, bool keepMapped = false);
  void Close();
  bool IsOpen() const { return mHandle != nullptr; }
  // An exported symbol, or null.
  void* Symbol(const char* name) const;
  // The loader's handle (HMODULE on Windows), for callers that need the platform's own calls.
  void* Handle() const { return mHandle; }

private:
  void* mHandle = nullptr;
};
} // namespace hostkit
