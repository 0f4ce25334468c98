#include "ClapTestHost.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

ClapModule::ClapModule(const char* path)
{
  // As hosts load it; kept mapped after dlclose so that sanitizer reports can still
  // name its code.
  mLibrary = dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!mLibrary)
  {
    const char* error = dlerror();
    mError = error ? error : "dlopen failed";
    return;
  }
  mEntry = static_cast<const clap_plugin_entry_t*>(dlsym(mLibrary, "clap_entry"));
  if (!mEntry) mError = "no clap_entry";
  else if (!mEntry->init(path)) mError = "init failed", mEntry = nullptr;
}

ClapModule::~ClapModule()
{
  if (mEntry) mEntry->deinit();
  if (mLibrary) dlclose(mLibrary);
}

const clap_plugin_factory_t* ClapModule::Factory() const
{
  return mEntry ? static_cast<const clap_plugin_factory_t*>(mEntry->get_factory(CLAP_PLUGIN_FACTORY_ID)) : nullptr;
}

// ---- Host ----

namespace
{
bool CLAP_ABI IsMainThread(const clap_host_t* host)
{
  return std::this_thread::get_id() == static_cast<ClapTestHost*>(host->host_data)->mainThread;
}
bool CLAP_ABI IsAudioThread(const clap_host_t* host) { return !IsMainThread(host); }
const clap_host_thread_check_t kThreadCheck = {IsMainThread, IsAudioThread};

ClapTestHost* Of(const clap_host_t* host) { return static_cast<ClapTestHost*>(host->host_data); }

void CLAP_ABI ParamsRescan(const clap_host_t* host, uint32_t flags) { Of(host)->rescans.push_back(flags); }
void CLAP_ABI ParamsClear(const clap_host_t*, clap_id, uint32_t) {}
void CLAP_ABI ParamsRequestFlush(const clap_host_t* host) { ++Of(host)->requestFlushCount; }
const clap_host_params_t kParams = {ParamsRescan, ParamsClear, ParamsRequestFlush};

void CLAP_ABI MarkDirty(const clap_host_t* host) { ++Of(host)->markDirtyCount; }
const clap_host_state_t kState = {MarkDirty};

void CLAP_ABI TailChanged(const clap_host_t* host) { ++Of(host)->tailChangedCount; }
const clap_host_tail_t kTail = {TailChanged};

void CLAP_ABI PresetError(const clap_host_t* host, uint32_t, const char*, const char* key, int32_t, const char*)
{
  Of(host)->presetErrors.push_back(key ? key : "(null)");
}
void CLAP_ABI PresetLoaded(const clap_host_t* host, uint32_t, const char*, const char* key)
{
  Of(host)->loadedKeys.push_back(key ? key : "(null)");
}
const clap_host_preset_load_t kPresetLoad = {PresetError, PresetLoaded};

bool CLAP_ABI RegisterTimer(const clap_host_t* host, uint32_t period, clap_id* id)
{
  Of(host)->timers.push_back(period);
  *id = static_cast<clap_id>(Of(host)->timers.size());
  return true;
}
bool CLAP_ABI UnregisterTimer(const clap_host_t* host, clap_id)
{
  ++Of(host)->unregisteredTimers;
  return true;
}
const clap_host_timer_support_t kTimer = {RegisterTimer, UnregisterTimer};

bool CLAP_ABI RegisterFd(const clap_host_t* host, int fd, uint32_t)
{
  Of(host)->fds.push_back(fd);
  return true;
}
bool CLAP_ABI ModifyFd(const clap_host_t*, int, uint32_t) { return true; }
bool CLAP_ABI UnregisterFd(const clap_host_t* host, int fd)
{
  auto& fds = Of(host)->fds;
  auto it = std::find(fds.begin(), fds.end(), fd);
  if (it == fds.end()) return false;
  fds.erase(it);
  return true;
}
const clap_host_posix_fd_support_t kFd = {RegisterFd, ModifyFd, UnregisterFd};
} // namespace

ClapTestHost::ClapTestHost()
{
  std::memset(&mHost, 0, sizeof(mHost));
  mHost.clap_version = CLAP_VERSION;
  mHost.host_data = this;
  mHost.name = "Brindlow test host";
  mHost.vendor = "Brindlow";
  mHost.url = "";
  mHost.version = "1.2.3";
  mHost.get_extension = GetExtension;
  mHost.request_restart = RequestRestart;
  mHost.request_process = RequestProcess;
  mHost.request_callback = RequestCallback;
}

void CLAP_ABI ClapTestHost::RequestCallback(const clap_host_t* host)
{
  ++Self(host)->requestCallbackCount;
}

const void* CLAP_ABI ClapTestHost::GetExtension(const clap_host_t* host, const char* id)
{
  ClapTestHost* self = Self(host);
  if (!std::strcmp(id, CLAP_EXT_THREAD_CHECK)) return self->offerThreadCheck ? &kThreadCheck : nullptr;
  if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &kParams;
  if (!std::strcmp(id, CLAP_EXT_STATE)) return &kState;
  if (!std::strcmp(id, CLAP_EXT_TAIL)) return &kTail;
  if (!std::strcmp(id, CLAP_EXT_PRESET_LOAD)) return &kPresetLoad;
  if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT)) return self->offerTimer ? &kTimer : nullptr;
  if (!std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT)) return self->offerFd ? &kFd : nullptr;
  return nullptr;
}

// ---- Instance ----

ClapInstance::ClapInstance(ClapModule& module, ClapTestHost& host)
{
  const clap_plugin_factory_t* factory = module.Factory();
  if (!factory) return;
  const clap_plugin_descriptor_t* desc = factory->get_plugin_descriptor(factory, 0);
  plugin = desc ? factory->create_plugin(factory, host.Host(), desc->id) : nullptr;
  if (plugin && !plugin->init(plugin))
  {
    plugin->destroy(plugin);
    plugin = nullptr;
  }
}

ClapInstance::~ClapInstance()
{
  Deactivate();
  if (plugin) plugin->destroy(plugin);
}

bool ClapInstance::Activate(double rate, uint32_t maxFrames)
{
  if (!plugin->activate(plugin, rate, 1, maxFrames)) return false;
  mActive = true;
  return plugin->start_processing(plugin);
}

void ClapInstance::Deactivate()
{
  if (!plugin || !mActive) return;
  plugin->stop_processing(plugin);
  plugin->deactivate(plugin);
  mActive = false;
}

// ---- Events ----

ClapEventList::ClapEventList() : mIn{this, Size, Get} {}

void ClapEventList::AddParam(uint32_t time, clap_id id, double value, uint16_t space)
{
  clap_event_param_value_t e{};
  e.header = {sizeof(e), time, space, CLAP_EVENT_PARAM_VALUE, 0};
  e.param_id = id;
  e.note_id = -1;
  e.port_index = e.channel = e.key = -1;
  e.value = value;
  mEvents.push_back(e);
}

uint32_t CLAP_ABI ClapEventList::Size(const clap_input_events_t* list)
{
  return static_cast<uint32_t>(static_cast<ClapEventList*>(list->ctx)->mEvents.size());
}

const clap_event_header_t* CLAP_ABI ClapEventList::Get(const clap_input_events_t* list, uint32_t index)
{
  auto& events = static_cast<ClapEventList*>(list->ctx)->mEvents;
  return index < events.size() ? &events[index].header : nullptr;
}

ClapOutputList::ClapOutputList() : mOut{this, TryPush} {}

bool CLAP_ABI ClapOutputList::TryPush(const clap_output_events_t* list, const clap_event_header_t* event)
{
  auto* self = static_cast<ClapOutputList*>(list->ctx);
  if (self->events.size() >= self->capacity) return false;
  Event copy{event->type, CLAP_INVALID_ID, 0.0};
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

// ---- Streams ----

ClapOutStream::ClapOutStream(size_t chunkSize) : chunk(chunkSize)
{
  stream.ctx = this;
  stream.write = [](const clap_ostream_t* s, const void* buffer, uint64_t size) -> int64_t {
    auto* self = static_cast<ClapOutStream*>(s->ctx);
    const size_t n = std::min<uint64_t>(size, self->chunk);
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
    const size_t n = std::min<uint64_t>(std::min<uint64_t>(size, self->chunk), self->bytes.size() - self->pos);
    if (n) std::memcpy(buffer, self->bytes.data() + self->pos, n);
    self->pos += n;
    return static_cast<int64_t>(n);
  };
}

// ---- Blocks ----

ClapBlock::ClapBlock(uint32_t n, uint32_t inChannels, bool wide) : frames(n), use64(wide)
{
  in32.assign(inChannels, std::vector<float>(n));
  out32.assign(2, std::vector<float>(n));
  in64.assign(inChannels, std::vector<double>(n));
  out64.assign(2, std::vector<double>(n));
  for (auto& c : in32) inPtr32.push_back(c.data());
  for (auto& c : out32) outPtr32.push_back(c.data());
  for (auto& c : in64) inPtr64.push_back(c.data());
  for (auto& c : out64) outPtr64.push_back(c.data());
  input.channel_count = inChannels;
  output.channel_count = 2;
}

clap_process_status ClapBlock::Run(const clap_plugin_t* plugin, const ClapEventList* events, ClapOutputList* out)
{
  static ClapEventList empty;
  static ClapOutputList sink;
  input.data32 = use64 ? nullptr : inPtr32.data();
  input.data64 = use64 ? inPtr64.data() : nullptr;
  output.data32 = use64 ? nullptr : outPtr32.data();
  output.data64 = use64 ? outPtr64.data() : nullptr;
  clap_process_t process{};
  process.steady_time = steadyTime;
  process.frames_count = frames;
  process.transport = nullptr;
  process.audio_inputs = &input;
  process.audio_outputs = &output;
  process.audio_inputs_count = 1;
  process.audio_outputs_count = 1;
  process.in_events = (events ? events : &empty)->In();
  sink.events.clear();
  process.out_events = (out ? out : &sink)->Out();
  steadyTime += frames;
  return plugin->process(plugin, &process);
}
