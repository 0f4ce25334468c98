// The library's entry calls, the plug-in factory with its one descriptor, and the
// preset discovery factory that lists the built-in programs in host browsers.
#include "IPlugCLAPEntry.h"

#include "IPlugMake.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

#include "IPlugCLAP.h"
#include "IPlugTrace.h"

namespace
{
// Written by the first Init, read by everything else until the last Deinit.
std::mutex gInitLock;
int gInitCount = 0;
const IPlugCLAPProduct* gProduct = nullptr;
char gVersion[32];
char gPresetProviderId[256];
char gPresetProviderName[256];
clap_plugin_descriptor_t gDescriptor;
clap_preset_discovery_provider_descriptor_t gProviderDescriptor;

// ---- Plug-in factory ----

uint32_t CLAP_ABI PluginCount(const clap_plugin_factory_t*)
{
  return gProduct ? 1 : 0;
}

const clap_plugin_descriptor_t* CLAP_ABI PluginDescriptor(const clap_plugin_factory_t*, uint32_t index)
{
  return gProduct && index == 0 ? &gDescriptor : nullptr;
}

const clap_plugin_t* CLAP_ABI CreatePlugin(const clap_plugin_factory_t*, const clap_host_t* host, const char* id)
{
  // Exact id only; the host is kept, not called.
  if (!gProduct || !host || !id || std::strcmp(id, gDescriptor.id) != 0) return nullptr;
  if (!clap_version_is_compatible(host->clap_version)) return nullptr;
  IPlugCLAP* adapter = MakePlugInForHost<IPlugCLAP>(gProduct->make, [host](IPlugBase* plug) {
    return new (std::nothrow) IPlugCLAP(&gDescriptor, host, plug, gProduct);
  });
  if (!adapter) EmitTrace("IPlugCLAP::create_plugin", __LINE__, "the plug-in could not be made");
  return adapter ? adapter->ClapPlugin() : nullptr;
}

const clap_plugin_factory_t kPluginFactory = {PluginCount, PluginDescriptor, CreatePlugin};

// ---- Preset discovery: one provider, one location inside the plug-in ----

struct Provider
{
  clap_preset_discovery_provider_t clap;
  const clap_preset_discovery_indexer_t* indexer;
};

bool CLAP_ABI ProviderInit(const clap_preset_discovery_provider_t* provider)
{
  const auto* self = static_cast<const Provider*>(provider->provider_data);
  clap_preset_discovery_location_t location{};
  location.flags = CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT;
  location.name = gProduct->info().effectName;
  location.kind = CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN;
  location.location = nullptr;
  return self->indexer->declare_location && self->indexer->declare_location(self->indexer, &location);
}

void CLAP_ABI ProviderDestroy(const clap_preset_discovery_provider_t* provider)
{
  delete static_cast<const Provider*>(provider->provider_data);
}

bool CLAP_ABI ProviderMetadata(const clap_preset_discovery_provider_t*, uint32_t kind, const char*,
                               const clap_preset_discovery_metadata_receiver_t* receiver)
{
  if (kind != CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN || !receiver || !receiver->begin_preset) return false;
  // The programs as the description defines them; no DSP, no editor.
  IPlugBase programs(gProduct->info());
  const clap_universal_plugin_id_t pluginId = {"clap", gDescriptor.id};
  for (int i = 0; i < programs.PresetCount(); ++i)
  {
    char key[16];
    std::snprintf(key, sizeof(key), "%d", i);
    if (!receiver->begin_preset(receiver, programs.PresetName(i), key)) break;
    if (receiver->add_plugin_id) receiver->add_plugin_id(receiver, &pluginId);
    if (receiver->set_flags) receiver->set_flags(receiver, CLAP_PRESET_DISCOVERY_IS_FACTORY_CONTENT);
    if (receiver->add_creator) receiver->add_creator(receiver, gDescriptor.vendor);
  }
  return true;
}

const void* CLAP_ABI ProviderExtension(const clap_preset_discovery_provider_t*, const char*)
{
  return nullptr;
}

uint32_t CLAP_ABI ProviderCount(const clap_preset_discovery_factory_t*)
{
  return gProduct && gProduct->info().presetCount > 0 ? 1 : 0;
}

const clap_preset_discovery_provider_descriptor_t* CLAP_ABI ProviderDescriptor(
  const clap_preset_discovery_factory_t*, uint32_t index)
{
  return index < ProviderCount(nullptr) ? &gProviderDescriptor : nullptr;
}

const clap_preset_discovery_provider_t* CLAP_ABI CreateProvider(const clap_preset_discovery_factory_t*,
                                                                 const clap_preset_discovery_indexer_t* indexer,
                                                                 const char* id)
{
  if (!ProviderCount(nullptr) || !indexer || !id || std::strcmp(id, gProviderDescriptor.id) != 0) return nullptr;
  Provider* provider = new (std::nothrow) Provider();
  if (!provider) return nullptr;
  provider->indexer = indexer;
  provider->clap.desc = &gProviderDescriptor;
  provider->clap.provider_data = provider;
  provider->clap.init = ProviderInit;
  provider->clap.destroy = ProviderDestroy;
  provider->clap.get_metadata = ProviderMetadata;
  provider->clap.get_extension = ProviderExtension;
  return &provider->clap;
}

const clap_preset_discovery_factory_t kPresetFactory = {ProviderCount, ProviderDescriptor, CreateProvider};
} // namespace

void IPlugCLAPEntry::VersionText(int versionWord, char* out, int size)
{
  const unsigned word = static_cast<unsigned>(versionWord);
  std::snprintf(out, static_cast<size_t>(size), "%u.%u.%u", word >> 16, (word >> 8) & 0xffu, word & 0xffu);
}

bool IPlugCLAPEntry::Init(const IPlugCLAPProduct& product, const char* /*pluginPath*/)
{
  std::lock_guard<std::mutex> guard(gInitLock);
  if (gInitCount++ > 0) return true;
  const IPlugInfo& info = product.info();
  VersionText(info.vendorVersion, gVersion, sizeof(gVersion));
  std::memset(&gDescriptor, 0, sizeof(gDescriptor));
  gDescriptor.clap_version = CLAP_VERSION;
  gDescriptor.id = product.id;
  gDescriptor.name = info.effectName;
  gDescriptor.vendor = info.vendorName ? info.vendorName : "";
  gDescriptor.url = "";
  gDescriptor.manual_url = "";
  gDescriptor.support_url = "";
  gDescriptor.version = gVersion;
  gDescriptor.description = "";
  gDescriptor.features = product.features;
  std::snprintf(gPresetProviderId, sizeof(gPresetProviderId), "%s.programs", product.id);
  std::snprintf(gPresetProviderName, sizeof(gPresetProviderName), "%s programs", info.effectName);
  gProviderDescriptor.clap_version = CLAP_VERSION;
  gProviderDescriptor.id = gPresetProviderId;
  gProviderDescriptor.name = gPresetProviderName;
  gProviderDescriptor.vendor = gDescriptor.vendor;
  gProduct = &product;
  return true;
}

void IPlugCLAPEntry::Deinit()
{
  std::lock_guard<std::mutex> guard(gInitLock);
  if (gInitCount == 0) return;
  if (--gInitCount == 0)
  {
    gProduct = nullptr;
    FlushTrace();
  }
}

const void* IPlugCLAPEntry::GetFactory(const char* factoryId)
{
  if (!factoryId || !gProduct) return nullptr;
  if (!std::strcmp(factoryId, CLAP_PLUGIN_FACTORY_ID)) return &kPluginFactory;
  if (!std::strcmp(factoryId, CLAP_PRESET_DISCOVERY_FACTORY_ID) ||
      !std::strcmp(factoryId, CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT))
    return ProviderCount(nullptr) ? &kPresetFactory : nullptr;
  return nullptr;
}
