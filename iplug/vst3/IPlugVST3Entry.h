// The module's entry: the plug-in factory for one product, and the module's
// entry and exit calls (nested pairs counted). A product's entry file exports
// GetPluginFactory, ModuleEntry / ModuleExit (Linux) and InitDll / ExitDll (Windows)
// and forwards them here.
#pragma once

#include "IPlugVST3.h"

namespace IPlugVST3Entry
{
bool Enter(void* moduleHandle);
bool Exit();
// A reference to the module's one factory, for the host to release.
vst3::IPluginFactory* Factory(const IPlugVST3Product& product);
} // namespace IPlugVST3Entry
