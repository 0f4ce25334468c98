// The VST 2.4 module's exported entry points: "VSTPluginMain" and its alias "main", the
// only symbols a host looks up. Every other symbol of the module stays hidden.
#include "IPlugVST.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

#if defined(_WIN32)
#define BRINDLOW_EXPORT __declspec(dllexport)
#else
#define BRINDLOW_EXPORT __attribute__((visibility("default")))
#endif

namespace
{
IPlugBase* MakeBrindlow()
{
  return MakeKyvBrindlow();
}
} // namespace

extern "C" BRINDLOW_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback hostCallback)
{
  return CreateVSTPlugin(hostCallback, &MakeBrindlow);
}

#if !defined(_WIN32)
// Older hosts look for "main". A C++ function may not be called main, so the
// alias gets its symbol name from the assembler; on Windows the .def file names it.
extern "C" BRINDLOW_EXPORT AEffect* VSTPluginMainAlias(audioMasterCallback hostCallback) __asm__("main");
extern "C" AEffect* VSTPluginMainAlias(audioMasterCallback hostCallback)
{
  return CreateVSTPlugin(hostCallback, &MakeBrindlow);
}
#endif
