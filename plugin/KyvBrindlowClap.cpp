// The CLAP module's one exported symbol, clap_entry: Brindlow's identity and maker
// handed to the CLAP adapter. The id is stored in hosts' projects: it never changes.
#include "IPlugCLAPEntry.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

namespace
{
const char* const kFeatures[] = {CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, CLAP_PLUGIN_FEATURE_DELAY,
                                 CLAP_PLUGIN_FEATURE_STEREO, CLAP_PLUGIN_FEATURE_MONO, nullptr};

IPlugBase* MakeBrindlow()
{
  return MakeKyvBrindlow();
}

const IPlugCLAPProduct kProduct = {"com.ardelnu.brindlow", &KyvBrindlowInfo, &MakeBrindlow, kFeatures};

bool CLAP_ABI Init(const char* path)
{
  return IPlugCLAPEntry::Init(kProduct, path);
}

void CLAP_ABI Deinit()
{
  IPlugCLAPEntry::Deinit();
}

const void* CLAP_ABI GetFactory(const char* id)
{
  return IPlugCLAPEntry::GetFactory(id);
}
} // namespace

// Declared extern (with default visibility) in clap_abi.h, so this const object keeps
// external linkage.
extern "C" const clap_plugin_entry_t clap_entry = {CLAP_VERSION_INIT, Init, Deinit, GetFactory};
