// Module resources on Windows: the module's own resource section, written by the
// resource compiler from the .rc file that brindlow_embed_resources() generates.

#include "resources.h"

#include <windows.h>

bool LICE_FindModuleResource(void* module, int id, const char* type,
                             const unsigned char** bytes, size_t* size)
{
  if (!type || !bytes || !size) return false;
  HMODULE inst = static_cast<HMODULE>(module);
  HRSRC found = FindResourceA(inst, MAKEINTRESOURCEA(id), type);
  if (!found) return false;
  DWORD length = SizeofResource(inst, found);
  HGLOBAL loaded = LoadResource(inst, found);
  if (!loaded) return false;
  const void* locked = LockResource(loaded);
  if (!locked) return false;
  *bytes = static_cast<const unsigned char*>(locked);
  *size = length;
  return true;
}
