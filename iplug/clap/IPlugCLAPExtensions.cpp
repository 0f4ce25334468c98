// The plug-in's extension tables (audio ports and their configurations, parameters,
// tail, preset load) and what they translate to. State is in IPlugCLAPState.cpp, the
// editor in IPlugCLAPGui.cpp. Every table's entries are free functions (cdecl on
// 32-bit Windows) that find their adapter through the clap_plugin.
#include "IPlugCLAP.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "IPlugTrace.h"

namespace
{
const char* PortType(uint32_t channels)
{
  return channels == 1 ? CLAP_PORT_MONO : channels == 2 ? CLAP_PORT_STEREO : "";
}

// Whether every value of a stepped parameter has a text of its own (an enumeration).
bool EveryValueNamed(const IParameter& param)
{
  if (param.DisplayTextCount() == 0) return false;
  for (int v = static_cast<int>(param.Minimum()); v <= static_cast<int>(param.Maximum()); ++v)
    if (!param.DisplayTextFor(v)[0]) return false;
  return true;
}

IPlugCLAP* Adapter(const clap_plugin_t* plugin)
{
  return IPlugCLAP::From(plugin);
}

// ---- Tables ----

uint32_t CLAP_ABI PortsCount(const clap_plugin_t* p, bool isInput) { return Adapter(p)->PortCount(isInput); }
bool CLAP_ABI PortsGet(const clap_plugin_t* p, uint32_t index, bool isInput, clap_audio_port_info_t* info)
{
  return info && Adapter(p)->PortInfo(index, isInput, info);
}
const clap_plugin_audio_ports_t kAudioPorts = {PortsCount, PortsGet};

uint32_t CLAP_ABI ConfigCount(const clap_plugin_t* p) { return Adapter(p)->PortConfigCount(); }
bool CLAP_ABI ConfigGet(const clap_plugin_t* p, uint32_t index, clap_audio_ports_config_t* config)
{
  return config && Adapter(p)->PortConfig(index, config);
}
bool CLAP_ABI ConfigSelect(const clap_plugin_t* p, clap_id id) { return Adapter(p)->SelectPortConfig(id); }
const clap_plugin_audio_ports_config_t kAudioPortsConfig = {ConfigCount, ConfigGet, ConfigSelect};

uint32_t CLAP_ABI ParamsCount(const clap_plugin_t* p)
{
  return static_cast<uint32_t>(Adapter(p)->Plug()->ParameterCount());
}
bool CLAP_ABI ParamsInfo(const clap_plugin_t* p, uint32_t index, clap_param_info_t* info)
{
  return info && Adapter(p)->ParamInfo(index, info);
}
bool CLAP_ABI ParamsValue(const clap_plugin_t* p, clap_id id, double* value)
{
  return value && Adapter(p)->ParamValue(id, value);
}
bool CLAP_ABI ParamsValueToText(const clap_plugin_t* p, clap_id id, double value, char* text, uint32_t capacity)
{
  return text && capacity > 0 && Adapter(p)->ParamValueToText(id, value, text, capacity);
}
bool CLAP_ABI ParamsTextToValue(const clap_plugin_t* p, clap_id id, const char* text, double* value)
{
  return text && value && Adapter(p)->ParamTextToValue(id, text, value);
}
void CLAP_ABI ParamsFlush(const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out)
{
  Adapter(p)->Flush(in, out);
}
const clap_plugin_params_t kParams = {ParamsCount,       ParamsInfo,        ParamsValue,
                                      ParamsValueToText, ParamsTextToValue, ParamsFlush};

uint32_t CLAP_ABI TailGet(const clap_plugin_t* p) { return Adapter(p)->TailSamples(); }
const clap_plugin_tail_t kTail = {TailGet};

bool CLAP_ABI PresetFromLocation(const clap_plugin_t* p, uint32_t kind, const char* location, const char* key)
{
  return Adapter(p)->LoadPreset(kind, location, key);
}
const clap_plugin_preset_load_t kPresetLoad = {PresetFromLocation};

bool CLAP_ABI StateSave(const clap_plugin_t* p, const clap_ostream_t* stream)
{
  return stream && stream->write && Adapter(p)->SaveState(stream);
}
bool CLAP_ABI StateLoad(const clap_plugin_t* p, const clap_istream_t* stream)
{
  return stream && stream->read && Adapter(p)->LoadState(stream);
}
const clap_plugin_state_t kState = {StateSave, StateLoad};
} // namespace

// Defined in IPlugCLAPGui.cpp.
extern const clap_plugin_gui_t kIPlugCLAPGui;
extern const clap_plugin_timer_support_t kIPlugCLAPTimer;
extern const clap_plugin_posix_fd_support_t kIPlugCLAPFd;

const void* IPlugCLAP::Extension(const char* id) const
{
  if (!std::strcmp(id, CLAP_EXT_AUDIO_PORTS)) return &kAudioPorts;
  if (!std::strcmp(id, CLAP_EXT_AUDIO_PORTS_CONFIG) && PortConfigCount() > 1) return &kAudioPortsConfig;
  if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &kParams;
  if (!std::strcmp(id, CLAP_EXT_STATE)) return &kState;
  if (!std::strcmp(id, CLAP_EXT_TAIL)) return &kTail;
  if (!std::strcmp(id, CLAP_EXT_PRESET_LOAD) || !std::strcmp(id, CLAP_EXT_PRESET_LOAD_COMPAT))
    return mProduct && mProduct->info().presetCount > 0 ? &kPresetLoad : nullptr;
  if (HasEditor())
  {
    if (!std::strcmp(id, CLAP_EXT_GUI)) return &kIPlugCLAPGui;
    if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT)) return &kIPlugCLAPTimer;
    if (!std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT)) return &kIPlugCLAPFd;
  }
  return nullptr;
}

// ---- Audio ports: one main input and one main output, an in-place pair ----

uint32_t IPlugCLAP::PortCount(bool isInput) const
{
  AssertMainThread();
  return (isInput ? mInputChannels : mPlug->OutputChannelCount()) > 0 ? 1 : 0;
}

bool IPlugCLAP::PortInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) const
{
  AssertMainThread();
  if (index >= PortCount(isInput)) return false;
  std::memset(info, 0, sizeof(*info));
  const uint32_t channels = static_cast<uint32_t>(isInput ? mInputChannels : mPlug->OutputChannelCount());
  info->id = 0; // the input and the output share it: each is the other's in-place pair
  CopyBoundedText(info->name, isInput ? "Input" : "Output", sizeof(info->name));
  info->flags = CLAP_AUDIO_PORT_IS_MAIN | CLAP_AUDIO_PORT_SUPPORTS_64BITS | CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE;
  info->channel_count = channels;
  info->port_type = PortType(channels);
  info->in_place_pair = (mInputChannels > 0 && mPlug->OutputChannelCount() > 0) ? 0 : CLAP_INVALID_ID;
  return true;
}

// ---- Audio port configurations: the plug-in's legal channel pairs, by index ----

uint32_t IPlugCLAP::PortConfigCount() const
{
  return static_cast<uint32_t>(mPlug->ChannelConfigCount());
}

bool IPlugCLAP::PortConfig(uint32_t index, clap_audio_ports_config_t* config) const
{
  AssertMainThread();
  const IChannelConfig* io = mPlug->ChannelConfigAt(static_cast<int>(index));
  if (!io) return false;
  std::memset(config, 0, sizeof(*config));
  config->id = index;
  const char* names[] = {"None", "Mono", "Stereo"};
  if (io->mNIn >= 0 && io->mNIn <= 2 && io->mNOut >= 0 && io->mNOut <= 2)
    std::snprintf(config->name, sizeof(config->name), "%s \xe2\x86\x92 %s", names[io->mNIn], names[io->mNOut]);
  else
    std::snprintf(config->name, sizeof(config->name), "%d in \xe2\x86\x92 %d out", io->mNIn, io->mNOut);
  config->input_port_count = io->mNIn > 0 ? 1 : 0;
  config->output_port_count = io->mNOut > 0 ? 1 : 0;
  config->has_main_input = io->mNIn > 0;
  config->main_input_channel_count = io->mNIn > 0 ? static_cast<uint32_t>(io->mNIn) : 0;
  config->main_input_port_type = PortType(config->main_input_channel_count);
  config->has_main_output = io->mNOut > 0;
  config->main_output_channel_count = io->mNOut > 0 ? static_cast<uint32_t>(io->mNOut) : 0;
  config->main_output_port_type = PortType(config->main_output_channel_count);
  return true;
}

bool IPlugCLAP::SelectPortConfig(clap_id id)
{
  AssertMainThread();
  const IChannelConfig* io = mPlug->ChannelConfigAt(static_cast<int>(id));
  // Ports change only while deactivated; the outputs are the plug-in's own.
  if (!io || mActive.load() || io->mNOut != mPlug->OutputChannelCount() || io->mNIn < 0 ||
      io->mNIn > mPlug->InputChannelCount())
    return false;
  mInputChannels = io->mNIn;
  // One channel: input 1 disconnected, so the plug-in reads input 0 for either side.
  mPlug->ConnectInputsFromHost(mInputChannels);
  return true;
}

// ---- Parameters: ids are indexes; values are real ----

bool IPlugCLAP::ParamInfo(uint32_t index, clap_param_info_t* info) const
{
  AssertMainThread();
  const IParameter* param = mPlug->ParameterAt(static_cast<int>(index));
  if (!param) return false;
  std::memset(info, 0, sizeof(*info));
  info->id = index;
  info->flags = CLAP_PARAM_IS_AUTOMATABLE;
  if (param->IsIntegerKind())
  {
    info->flags |= CLAP_PARAM_IS_STEPPED;
    if (EveryValueNamed(*param)) info->flags |= CLAP_PARAM_IS_ENUM;
  }
  info->cookie = nullptr;
  mPlug->ParameterNameForHost(static_cast<int>(index), info->name, sizeof(info->name));
  param->Bounds(&info->min_value, &info->max_value);
  info->default_value = mPlug->ParameterDefaultForHost(static_cast<int>(index), false);
  return true;
}

bool IPlugCLAP::ParamValue(clap_id id, double* value)
{
  AssertMainThread();
  if (!mPlug->ParameterAt(static_cast<int>(id))) return false;
  *value = mPlug->ParameterValueForHost(static_cast<int>(id), false);
  return true;
}

bool IPlugCLAP::ParamValueToText(clap_id id, double value, char* text, uint32_t capacity) const
{
  AssertMainThread();
  const IParameter* param = mPlug->ParameterAt(static_cast<int>(id));
  if (!param || std::isnan(value)) return false;
  double lo = 0.0, hi = 0.0;
  param->Bounds(&lo, &hi);
  value = value < lo ? lo : (value > hi ? hi : value);
  char display[IParameter::kDisplayTextBufferSize];
  param->HostDisplayText(value, false, display, sizeof(display));
  // A value with a text of its own ("Left") carries no unit.
  const bool named = param->DisplayTextCount() > 0 && param->DisplayTextFor(static_cast<int>(std::lround(value)))[0];
  char full[IParameter::kDisplayTextBufferSize + IParameter::kMaxNameLen + 1];
  const char* label = named ? "" : param->HostLabel();
  std::snprintf(full, sizeof(full), label[0] ? "%s %s" : "%s", display, label);
  CopyBoundedText(text, full, capacity);
  return true;
}

bool IPlugCLAP::ParamTextToValue(clap_id id, const char* text, double* value) const
{
  AssertMainThread();
  const IParameter* param = mPlug->ParameterAt(static_cast<int>(id));
  double v = 0.0;
  if (!param || !param->ValueFromText(text, &v)) return false;
  double lo = 0.0, hi = 0.0;
  param->Bounds(&lo, &hi);
  *value = v < lo ? lo : (v > hi ? hi : v);
  return true;
}

// ---- Built-in programs ----

bool IPlugCLAP::LoadPreset(uint32_t kind, const char* location, const char* key)
{
  AssertMainThread();
  if (!mProduct) return false; // no programs to offer: the extension is not either
  // The key is the program index in decimal, nothing else.
  int index = -1;
  if (kind == CLAP_PRESET_DISCOVERY_LOCATION_PLUGIN && key && key[0] && std::strlen(key) <= 4)
  {
    index = 0;
    for (const char* c = key; *c && index >= 0; ++c)
      index = (*c >= '0' && *c <= '9') ? index * 10 + (*c - '0') : -1;
  }
  if (!mPlug->LoadFactoryProgramFromHost(index))
  {
    EmitTrace("IPlugCLAP::LoadPreset", __LINE__, "no built-in program \"%s\"", key ? key : "(null)");
    if (mHostPresetLoad && mHostPresetLoad->on_error)
      mHostPresetLoad->on_error(mHost, kind, location, key, 0, "no such built-in program");
    return false;
  }
  // As for a program switch of the plug-in's own: the host re-reads the values.
  if (mHostParams && mHostParams->rescan) mHostParams->rescan(mHost, CLAP_PARAM_RESCAN_VALUES);
  if (mHostState && mHostState->mark_dirty) mHostState->mark_dirty(mHost);
  if (mHostPresetLoad && mHostPresetLoad->loaded) mHostPresetLoad->loaded(mHost, kind, location, key);
  return true;
}
