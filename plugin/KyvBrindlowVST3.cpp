// The VST 3 module's exported entry points: Brindlow's identity and maker handed to the
// VST 3 adapter. The class id is stored in hosts' projects and presets: it never changes.
#include "IPlugVST3Entry.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

namespace
{
IPlugBase* MakeBrindlow()
{
  return MakeKyvBrindlow();
}

const IPlugVST3Product kProduct = {
  vst3::MakeUid(0x4B797642, 0x726E646C, 0x6F775653, 0x54330001), // "KyvBrndlowVST3" + 1
  "Fx|Delay|Spatial",
  "",
  "",
  &KyvBrindlowInfo,
  &MakeBrindlow,
};
} // namespace

#if defined(_WIN32)
#define BRINDLOW_VST3_EXPORT extern "C" __declspec(dllexport)
#else
#define BRINDLOW_VST3_EXPORT extern "C" __attribute__((visibility("default")))
#endif

BRINDLOW_VST3_EXPORT vst3::IPluginFactory* VST3_API GetPluginFactory()
{
  return IPlugVST3Entry::Factory(kProduct);
}

#if defined(_WIN32)
BRINDLOW_VST3_EXPORT bool InitDll()
{
  return IPlugVST3Entry::Enter(nullptr);
}
BRINDLOW_VST3_EXPORT bool ExitDll()
{
  return IPlugVST3Entry::Exit();
}
#else
BRINDLOW_VST3_EXPORT bool ModuleEntry(void* sharedLibraryHandle)
{
  return IPlugVST3Entry::Enter(sharedLibraryHandle);
}
BRINDLOW_VST3_EXPORT bool ModuleExit()
{
  return IPlugVST3Entry::Exit();
}
#endif
