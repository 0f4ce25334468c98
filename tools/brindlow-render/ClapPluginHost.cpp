#include "ClapPluginHost.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
// The indexer and receiver the plug-in's preset provider reports to.
bool CLAP_ABI DeclareFiletype(const clap_preset_discovery_indexer_t*, const clap_preset_discovery_filetype_t*)
{
  return true;
}
bool CLAP_ABI DeclareLocation(const clap_preset_discovery_indexer_t* indexer,
                              const clap_preset_discovery_location_t* location)
{
  if (location) static_cast<ClapPluginHost*>(indexer->indexer_data)->DeclareLocation(*location);
  return true;
}
bool CLAP_ABI DeclareSoundpack(const clap_preset_discovery_indexer_t*, const clap_preset_discovery_soundpack_t*)
{
  return true;
}
const void* CLAP_ABI IndexerExtension(const clap_preset_discovery_indexer_t*, const char*) { return nullptr; }

ClapPluginHost* ReceiverHost(const clap_preset_discovery_metadata_receiver_t* receiver)
{
  return static_cast<ClapPluginHost*>(receiver->receiver_data);
}
void CLAP_ABI OnError(const clap_preset_discovery_metadata_receiver_t*, int32_t, const char*) {}
bool CLAP_ABI BeginPreset(const clap_preset_discovery_metadata_receiver_t* receiver, const char* name, const char* key)
{
  return ReceiverHost(receiver)->BeginPreset(name, key);
}
void CLAP_ABI AddPluginId(const clap_preset_discovery_metadata_receiver_t* receiver,
                          const clap_universal_plugin_id_t* id)
{
  if (id) ReceiverHost(receiver)->PresetIsFor(*id);
}
void CLAP_ABI IgnoreText(const clap_preset_discovery_metadata_receiver_t*, const char*) {}
void CLAP_ABI IgnoreFlags(const clap_preset_discovery_metadata_receiver_t*, uint32_t) {}
void CLAP_ABI IgnoreTimes(const clap_preset_discovery_metadata_receiver_t*, clap_timestamp, clap_timestamp) {}
void CLAP_ABI IgnorePair(const clap_preset_discovery_metadata_receiver_t*, const char*, const char*) {}

int VersionNumber(const char* text)
{
  int major = 0, minor = 0, revision = 0;
  if (text) std::sscanf(text, "%d.%d.%d", &major, &minor, &revision);
  return major * 10000 + minor * 100 + revision;
}
} // namespace

ClapPluginHost::ClapPluginHost() = default;

ClapPluginHost::~ClapPluginHost()
{
  Unload();
}

bool ClapPluginHost::Load(const std::string& path, std::string& error)
{
  std::string why;
  if (!mModule.Load(path, why))
  {
    error = "cannot load plug-in \"" + path + "\": " + why;
    return false;
  }
  if (!mInstance.Create(mModule, mHost.Host()))
  {
    error = "\"" + path + "\" did not make a CLAP plug-in";
    Unload();
    return false;
  }
  mPlugin = mInstance.Plugin();
  mDescriptor = mInstance.Descriptor();
  mParamsExt = mInstance.Extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  mPortsExt = mInstance.Extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
  mConfigExt = mInstance.Extension<clap_plugin_audio_ports_config_t>(CLAP_EXT_AUDIO_PORTS_CONFIG);
  mPresetLoadExt = mInstance.Extension<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD);
  if (!mPresetLoadExt) mPresetLoadExt = mInstance.Extension<clap_plugin_preset_load_t>(CLAP_EXT_PRESET_LOAD_COMPAT);
  mTailExt = mInstance.Extension<clap_plugin_tail_t>(CLAP_EXT_TAIL);
  mLatencyExt = mInstance.Extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
  mParams = mInstance.ParamInfos();
  ReadPorts();
  FindPresets(mModule.Entry());
  return true;
}

void ClapPluginHost::ReadPorts()
{
  mInputChannels = mOutputChannels = 0;
  mSupports64 = false;
  if (!mPortsExt) return;
  clap_audio_port_info_t info{};
  if (mPortsExt->count(mPlugin, true) > 0 && mPortsExt->get(mPlugin, 0, true, &info))
  {
    mInputChannels = static_cast<int>(info.channel_count);
    mSupports64 = (info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS) != 0;
  }
  if (mPortsExt->count(mPlugin, false) > 0 && mPortsExt->get(mPlugin, 0, false, &info))
  {
    mOutputChannels = static_cast<int>(info.channel_count);
    mSupports64 = mSupports64 && (info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS) != 0;
  }
}

void ClapPluginHost::FindPresets(const clap_plugin_entry_t* entry)
{
  auto* factory = static_cast<const clap_preset_discovery_factory_t*>(entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID));
  if (!factory)
    factory = static_cast<const clap_preset_discovery_factory_t*>(entry->get_factory(CLAP_PRESET_DISCOVERY_FACTORY_ID_COMPAT));
  if (!factory) return;
  clap_preset_discovery_indexer_t indexer{CLAP_VERSION, "brindlow-render", "Brindlow project", "", "1.3.0", this,
                                          &DeclareFiletype, &::DeclareLocation, &DeclareSoundpack, &IndexerExtension};
  const clap_preset_discovery_metadata_receiver_t receiver{
    this, &OnError, &::BeginPreset, &AddPluginId, &IgnoreText, &IgnoreFlags, &IgnoreText, &IgnoreText, &IgnoreTimes,
    &IgnoreText, &IgnorePair};
  for (uint32_t i = 0, n = factory->count(factory); i < n; ++i)
  {
    const clap_preset_discovery_provider_descriptor_t* descriptor = factory->get_descriptor(factory, i);
    const clap_preset_discovery_provider_t* provider =
      descriptor ? factory->create(factory, &indexer, descriptor->id) : nullptr;
    if (!provider) continue;
    mPluginLocations.clear();
    if (provider->init(provider))
    {
      for (size_t l = 0; l < mPluginLocations.size(); ++l)
      {
        provider->get_metadata(provider, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr, &receiver);
        BeginPreset(nullptr, nullptr); // closes the last one
      }
    }
    provider->destroy(provider);
  }
}

void ClapPluginHost::DeclareLocation(const clap_preset_discovery_location_t& location)
{
  if (location.kind == CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN) mPluginLocations.push_back(location.name ? location.name : "");
}

bool ClapPluginHost::BeginPreset(const char* name, const char* key)
{
  if (mPresetOpen && mPresetForUs) mPresets.push_back(mPendingPreset);
  mPresetOpen = name != nullptr;
  mPresetForUs = false;
  mPendingPreset = {name ? name : "", key ? key : ""};
  return true;
}

void ClapPluginHost::PresetIsFor(const clap_universal_plugin_id_t& id)
{
  if (id.abi && id.id && std::strcmp(id.abi, "clap") == 0 && std::strcmp(id.id, mDescriptor->id) == 0)
    mPresetForUs = true;
}

void ClapPluginHost::Unload()
{
  mInstance.Destroy();
  mPlugin = nullptr;
  mDescriptor = nullptr;
  mModule.Unload();
}

void ClapPluginHost::Prepare(double sampleRate, int blockSize, int inputChannels, bool)
{
  mInstance.Deactivate();
  // The layout whose main input has the channels given, where the plug-in offers layouts.
  for (uint32_t i = 0, n = mConfigExt ? mConfigExt->count(mPlugin) : 0; i < n; ++i)
  {
    clap_audio_ports_config_t config{};
    if (mConfigExt->get(mPlugin, i, &config) && config.has_main_input &&
        config.main_input_channel_count == static_cast<uint32_t>(inputChannels))
    {
      mConfigExt->select(mPlugin, config.id);
      break;
    }
  }
  ReadPorts();
  mInstance.Activate(sampleRate, 1, static_cast<uint32_t>(blockSize));
}

void ClapPluginHost::Start()
{
  mInstance.StartProcessing();
}

void ClapPluginHost::Stop()
{
  mInstance.StopProcessing();
}

template <class Sample>
void ClapPluginHost::ProcessBlock(Sample** inputs, Sample** outputs, int frames)
{
  if (!mInstance.IsActive() || frames <= 0) return;
  mCall.SetAudio(inputs, static_cast<uint32_t>(mInputChannels), outputs, static_cast<uint32_t>(mOutputChannels));
  mCall.Run(mPlugin, static_cast<uint32_t>(frames)); // no events in; what comes out is dropped
}

void ClapPluginHost::Process(float** inputs, float** outputs, int frames)
{
  ProcessBlock(inputs, outputs, frames);
}

void ClapPluginHost::Process(double** inputs, double** outputs, int frames)
{
  if (mSupports64) ProcessBlock(inputs, outputs, frames);
}

std::string ClapPluginHost::EffectName() const
{
  return mDescriptor && mDescriptor->name ? mDescriptor->name : "";
}

std::string ClapPluginHost::VendorName() const
{
  return mDescriptor && mDescriptor->vendor ? mDescriptor->vendor : "";
}

int ClapPluginHost::Version() const
{
  return VersionNumber(mDescriptor ? mDescriptor->version : nullptr);
}

bool ClapPluginHost::HasEditor() const
{
  return mPlugin->get_extension(mPlugin, "clap.gui") != nullptr;
}

int ClapPluginHost::LatencySamples() const
{
  return mLatencyExt && mInstance.IsActive() ? static_cast<int>(mLatencyExt->get(mPlugin)) : 0;
}

int ClapPluginHost::TailSamples() const
{
  if (!mTailExt) return 0;
  const uint32_t tail = mTailExt->get(mPlugin);
  return tail >= 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(tail);
}

std::string ClapPluginHost::ParamName(int index) const
{
  return index >= 0 && index < NumParams() ? mParams[static_cast<size_t>(index)].name : "";
}

double ClapPluginHost::Value(int index) const
{
  double value = 0.0;
  mInstance.ParamValue(mParams[static_cast<size_t>(index)].id, value);
  return value;
}

void ClapPluginHost::SetValue(int index, double value)
{
  // Not inside process here, so flush is the way in, active or not.
  mInstance.FlushParam(mParams[static_cast<size_t>(index)], value);
}

std::string ClapPluginHost::Text(int index, double value) const
{
  char text[CLAP_NAME_SIZE] = {};
  if (!mParamsExt || !mParamsExt->value_to_text(mPlugin, mParams[static_cast<size_t>(index)].id, value, text, sizeof text))
    std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string ClapPluginHost::ParamDisplay(int index) const
{
  return index >= 0 && index < NumParams() ? Text(index, Value(index)) : "";
}

float ClapPluginHost::ParamValue(int index) const
{
  if (index < 0 || index >= NumParams()) return 0.0f;
  const clap_param_info_t& info = mParams[static_cast<size_t>(index)];
  const double width = info.max_value - info.min_value;
  return width > 0.0 ? static_cast<float>((Value(index) - info.min_value) / width) : 0.0f;
}

void ClapPluginHost::SetParamValue(int index, float normalized)
{
  if (index < 0 || index >= NumParams() || std::isnan(normalized)) return;
  const clap_param_info_t& info = mParams[static_cast<size_t>(index)];
  const double x = std::min(std::max(static_cast<double>(normalized), 0.0), 1.0);
  double value = info.min_value + x * (info.max_value - info.min_value);
  if (info.flags & CLAP_PARAM_IS_STEPPED) value = std::round(value);
  SetValue(index, value);
}

std::string ClapPluginHost::DisplayForNormalized(int index, float normalized)
{
  if (index < 0 || index >= NumParams()) return "";
  const clap_param_info_t& info = mParams[static_cast<size_t>(index)];
  const double x = std::min(std::max(static_cast<double>(normalized), 0.0), 1.0);
  double value = info.min_value + x * (info.max_value - info.min_value);
  if (info.flags & CLAP_PARAM_IS_STEPPED) value = std::round(value);
  return Text(index, value);
}

bool ClapPluginHost::SetParamFromString(int index, const std::string& text)
{
  if (index < 0 || index >= NumParams() || !mParamsExt) return false;
  double value = 0.0;
  if (!mParamsExt->text_to_value(mPlugin, mParams[static_cast<size_t>(index)].id, text.c_str(), &value)) return false;
  SetValue(index, value);
  return true;
}

void ClapPluginHost::SetProgram(int program)
{
  if (program < 0 || program >= NumPrograms() || !mPresetLoadExt) return;
  if (mPresetLoadExt->from_location(mPlugin, CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN, nullptr,
                                    mPresets[static_cast<size_t>(program)].second.c_str()))
    mCurrentProgram = program;
}

std::vector<std::string> ClapPluginHost::ProgramNames()
{
  std::vector<std::string> names;
  for (const auto& preset : mPresets) names.push_back(preset.first);
  return names;
}

std::string ClapPluginHost::ProgramName() const
{
  return mCurrentProgram >= 0 && mCurrentProgram < NumPrograms() ? mPresets[static_cast<size_t>(mCurrentProgram)].first
                                                                 : "";
}
