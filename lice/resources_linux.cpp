// Module resources on Linux: a singly linked list of the records that the generated
// resource files register while the module initialises.

#include "resources.h"
#include "resources_embedded.h"

#include <strings.h>

namespace {
// Constant-initialised, so it is valid before any registrar runs.
LICE_EmbeddedResource* g_resourceHead = nullptr;
}  // namespace

void LICE_RegisterEmbeddedResource(LICE_EmbeddedResource* res)
{
  if (!res) return;
  res->next = g_resourceHead;
  g_resourceHead = res;
}

bool LICE_FindModuleResource(void* /*module*/, int id, const char* type,
                             const unsigned char** bytes, size_t* size)
{
  if (!type || !bytes || !size) return false;
  for (const LICE_EmbeddedResource* r = g_resourceHead; r; r = r->next)
  {
    if (r->id == id && strcasecmp(r->type, type) == 0)
    {
      *bytes = r->bytes;
      *size = r->size;
      return true;
    }
  }
  return false;
}
