// IPlugCLAPEntry: the library's entry calls (init, deinit, get_factory) with the plug-in
// factory and the preset discovery factory behind them. A product's entry file hands
// them its IPlugCLAPProduct and defines the clap_entry object itself:
//
//   extern "C" const clap_plugin_entry_t clap_entry = {CLAP_VERSION_INIT, Init, Deinit, GetFactory};
//
// with Init calling IPlugCLAPEntry::Init(product, path) and the others forwarding.
#pragma once

#include "IPlugCLAP.h"

namespace IPlugCLAPEntry
{
// Any thread, never beside another entry call: the first call keeps product and builds
// the descriptors; repeated calls only count (deinit undoes the last). Quick and silent.
bool Init(const IPlugCLAPProduct& product, const char* pluginPath);
void Deinit();
// [any] The plug-in factory, the preset discovery factory (both ids), or null.
const void* GetFactory(const char* factoryId);
// "major.minor.revision" of a version word 0xMMMMmmrr, into out (size bytes).
void VersionText(int versionWord, char* out, int size);
} // namespace IPlugCLAPEntry
