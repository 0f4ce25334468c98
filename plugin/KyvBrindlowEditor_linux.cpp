// Linux: the artwork is compiled into each module, which needs no instance handle to find it.
#include "KyvBrindlowEditor.h"

void* KyvModuleInstance() { return nullptr; }
