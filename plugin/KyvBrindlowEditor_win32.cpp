// Windows: the module that holds this code, for its window class and its PNG resources.
#include <windows.h>

#include "KyvBrindlowEditor.h"

void* KyvModuleInstance()
{
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&KyvModuleInstance), &module);
  return module;
}
