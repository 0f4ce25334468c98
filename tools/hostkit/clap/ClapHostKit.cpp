#include "ClapHostKit.h"

#include <algorithm>
#include <cstring>

namespace hostkit
{
// ---- Module ----

bool ClapModule::Load(const std::string& path, std::string& error, bool initialise, bool keepMapped)
{
  Unload();
  if (!mLibrary.Open(path, error, keepMapped)) return false;
  auto* entry = static_cast<const clap_plugin_entry_t*>(mLibrary.Symbol("clap_entry"));
  if (!entry)
    error = "it exports no clap_entry";
  else if (!clap_version_is_compatible(entry->clap_version))
    error = "its clap_entry speaks a CLAP version this host cannot use";
  else if (initialise && !entry->init(path.c_str()))
    error = "its clap_entry refused to initialise";
  else
  {
    mEntry = entry;
    mInitialised = initialise;
    return true;
  }
  mLibrary.Close();
  return false;
}

void ClapModule::Unload()
{
  if (mEntry && mInitialised) mEntry->deinit();
  mEntry = nullptr;
  mInitialised = false;
  mLibrary.Close();
}

// ---- Host ----

ClapHost::ClapHost(const char* name, const char* version)
{
  mHost.clap_version = CLAP_VERSION;
  mHost.host_data = this;
  mHost.name = name;
  mHost.vendor = "Brindlow project";
  mHost.url = "";
  mHost.version = version;
  mHost.get_extension = [](const clap_host_t* host, const char* id) { return From(host)->Extension(id); };
  mHost.request_restart = [](const clap_host_t* host) { From(host)->RequestRestart(); };
  mHost.request_process = [](const clap_host_t* host) { From(host)->RequestProcess(); };
  mHost.request_callback = [](const clap_host_t* host) { From(host)->RequestCallback(); };
}

// ---- Events ----

ClapInputEvents::ClapInputEvents() : mIn{this, Size, Get} {}

void ClapInputEvents::AddParam(uint32_t time, clap_id id, double value, uint16_t space, void* cookie)
{
  clap_event_param_value_t e{};
  e.header = {sizeof(e), time, space, CLAP_EVENT_PARAM_VALUE, 0};
  e.param_id = id;
  e.cookie = cookie;
  e.note_id = -1;
  e.port_index = e.channel = e.key = -1;
  e.value = value;
  mEvents.push_back(e);
}

uint32_t CLAP_ABI ClapInputEvents::Size(const clap_input_events_t* list)
{
  return static_cast<uint32_t>(static_cast<const ClapInputEvents*>(list->ctx)->mEvents.size());
}

const clap_event_header_t* CLAP_ABI ClapInputEvents::Get(const clap_input_events_t* list, uint32_t index)
{
  const auto& events = static_cast<const ClapInputEvents*>(list->ctx)->mEvents;
  return index < events.size() ? &events[index].header : nullptr;
}

const clap_input_events_t* ClapInputEvents::None()
{
  static const clap_input_events_t none{
    nullptr, [](const clap_input_events_t*) -> uint32_t { return 0; },
    [](const clap_input_events_t*, uint32_t) -> const clap_event_header_t* { return nullptr; }};
  return &none;
}

ClapOutputEvents::ClapOutputEvents() : mOut{this, TryPush} {}

bool CLAP_ABI ClapOutputEvents::TryPush(const clap_output_events_t* list, const clap_event_header_t* event)
{
  auto* self = static_cast<ClapOutputEvents*>(list->ctx);
  if (self->events.size() >= self->capacity) return false;
  Event copy{event->space_id, event->type, CLAP_INVALID_ID, 0.0};
  if (event->type == CLAP_EVENT_PARAM_VALUE && event->size >= sizeof(clap_event_param_value_t))
  {
    clap_event_param_value_t v;
    std::memcpy(&v, event, sizeof(v));
    copy.param = v.param_id;
    copy.value = v.value;
  }
  else if (event->size >= sizeof(clap_event_param_gesture_t))
  {
    clap_event_param_gesture_t g;
    std::memcpy(&g, event, sizeof(g));
    copy.param = g.param_id;
  }
  self->events.push_back(copy);
  return true;
}

const clap_output_events_t* ClapOutputEvents::Discard()
{
  static const clap_output_events_t discard{
    nullptr, [](const clap_output_events_t*, const clap_event_header_t*) { return true; }};
  return &discard;
}

// ---- Streams ----

ClapOutStream::ClapOutStream(size_t chunkSize) : chunk(chunkSize)
{
  stream.ctx = this;
  stream.write = [](const clap_ostream_t* s, const void* buffer, uint64_t size) -> int64_t {
    auto* self = static_cast<ClapOutStream*>(s->ctx);
    const size_t n = static_cast<size_t>(std::min<uint64_t>(size, self->chunk));
    const uint8_t* p = static_cast<const uint8_t*>(buffer);
    self->bytes.insert(self->bytes.end(), p, p + n);
    return static_cast<int64_t>(n);
  };
}

ClapInStream::ClapInStream(std::vector<uint8_t> data, size_t chunkSize) : bytes(std::move(data)), chunk(chunkSize)
{
  stream.ctx = this;
  stream.read = [](const clap_istream_t* s, void* buffer, uint64_t size) -> int64_t {
    auto* self = static_cast<ClapInStream*>(s->ctx);
    const size_t n = static_cast<size_t>(
      std::min<uint64_t>(std::min<uint64_t>(size, self->chunk), self->bytes.size() - self->pos));
    if (n) std::memcpy(buffer, self->bytes.data() + self->pos, n);
    self->pos += n;
    return static_cast<int64_t>(n);
  };
}

// ---- Process ----

ClapProcessCall::ClapProcessCall()
{
  mProcess.audio_inputs = &input;
  mProcess.audio_outputs = &output;
  mProcess.in_events = ClapInputEvents::None();
  mProcess.out_events = ClapOutputEvents::Discard();
}

void ClapProcessCall::SetAudio(float** inputs, uint32_t inChannels, float** outputs, uint32_t outChannels)
{
  input = {inputs, nullptr, inChannels, 0, 0};
  output = {outputs, nullptr, outChannels, 0, 0};
  mProcess.audio_inputs_count = inChannels > 0 ? 1 : 0;
  mProcess.audio_outputs_count = outChannels > 0 ? 1 : 0;
}

void ClapProcessCall::SetAudio(double** inputs, uint32_t inChannels, double** outputs, uint32_t outChannels)
{
  input = {nullptr, inputs, inChannels, 0, 0};
  output = {nullptr, outputs, outChannels, 0, 0};
  mProcess.audio_inputs_count = inChannels > 0 ? 1 : 0;
  mProcess.audio_outputs_count = outChannels > 0 ? 1 : 0;
}

void ClapProcessCall::SetEvents(const clap_input_events_t* in, const clap_output_events_t* out)
{
  mProcess.in_events = in ? in : ClapInputEvents::None();
  mProcess.out_events = out ? out : ClapOutputEvents::Discard();
}

clap_process_status ClapProcessCall::Run(const clap_plugin_t* plugin, uint32_t frames)
{
  mProcess.frames_count = frames;
  const clap_process_status status = plugin->process(plugin, &mProcess);
  if (mProcess.steady_time >= 0) mProcess.steady_time += frames;
  return status;
}

// ---- Instance ----

bool ClapInstance::Create(const ClapModule& module, const clap_host_t* host, const char* id)
{
  Destroy();
  const clap_plugin_factory_t* factory = module.PluginFactory();
  if (!factory) return false;
  const clap_plugin_descriptor_t* descriptor = nullptr;
  for (uint32_t i = 0, n = factory->get_plugin_count(factory); i < n && !descriptor; ++i)
  {
    const clap_plugin_descriptor_t* d = factory->get_plugin_descriptor(factory, i);
    if (d && d->id && (!id || std::strcmp(d->id, id) == 0)) descriptor = d;
  }
  const clap_plugin_t* plugin = descriptor ? factory->create_plugin(factory, host, descriptor->id) : nullptr;
  if (!plugin) return false;
  if (!plugin->init(plugin))
  {
    plugin->destroy(plugin);
    return false;
  }
  mPlugin = plugin;
  mDescriptor = descriptor;
  return true;
}

void ClapInstance::Destroy()
{
  if (!mPlugin) return;
  Deactivate();
  mPlugin->destroy(mPlugin);
  mPlugin = nullptr;
  mDescriptor = nullptr;
}

bool ClapInstance::Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames)
{
  Deactivate();
  mActive = mPlugin && mPlugin->activate(mPlugin, sampleRate, minFrames, maxFrames);
  return mActive;
}

bool ClapInstance::StartProcessing()
{
  if (mActive && !mProcessing) mProcessing = mPlugin->start_processing(mPlugin);
  return mProcessing;
}

void ClapInstance::StopProcessing()
{
  if (mProcessing) mPlugin->stop_processing(mPlugin);
  mProcessing = false;
}

void ClapInstance::Deactivate()
{
  StopProcessing();
  if (mActive) mPlugin->deactivate(mPlugin);
  mActive = false;
}

std::vector<clap_param_info_t> ClapInstance::ParamInfos() const
{
  std::vector<clap_param_info_t> infos;
  const auto* params = Extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  for (uint32_t i = 0, n = params ? params->count(mPlugin) : 0; i < n; ++i)
  {
    clap_param_info_t info{};
    if (params->get_info(mPlugin, i, &info)) infos.push_back(info);
  }
  return infos;
}

bool ClapInstance::ParamValue(clap_id id, double& value) const
{
  const auto* params = Extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  return params && params->get_value(mPlugin, id, &value);
}

bool ClapInstance::FlushParam(const clap_param_info_t& info, double value, const clap_output_events_t* out) const
{
  const auto* params = Extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
  if (!params) return false;
  ClapInputEvents one;
  one.AddParam(0, info.id, value, CLAP_CORE_EVENT_SPACE_ID, info.cookie);
  params->flush(mPlugin, one.In(), out);
  return true;
}

bool ClapInstance::SaveState(std::vector<uint8_t>& bytes, size_t chunk) const
{
  const auto* state = Extension<clap_plugin_state_t>(CLAP_EXT_STATE);
  ClapOutStream stream(chunk);
  if (!state || !state->save(mPlugin, &stream.stream)) return false;
  bytes = std::move(stream.bytes);
  return true;
}

bool ClapInstance::LoadState(const std::vector<uint8_t>& bytes, size_t chunk) const
{
  const auto* state = Extension<clap_plugin_state_t>(CLAP_EXT_STATE);
  ClapInStream stream(bytes, chunk);
  return state && state->load(mPlugin, &stream.stream);
}
} // namespace hostkit
