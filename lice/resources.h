#pragma once
// Lookup of images carried inside the plug-in module itself (the editor's artwork).
// Windows keeps them as real module resources; Linux as a table compiled into the
// module by brindlow_embed_resources() (see resources.cmake).

#include <cstddef>

// Finds the resource with numeric id `id` and named type `type` ("PNG", "JPG"; the type
// is compared without regard to case) in `module` (the module instance handle; ignored on
// Linux, where every module has its own table). On success sets *bytes and *size and
// returns true; the bytes stay valid while the module is loaded.
bool LICE_FindModuleResource(void* module, int id, const char* type,
                             const unsigned char** bytes, size_t* size);
