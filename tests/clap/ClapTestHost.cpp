#include "ClapTestHost.h"

#include <algorithm>
#include <cstring>

// ---- Host extensions ----

namespace
{
ClapTestHost* Of(const clap_host_t* host) { return static_cast<ClapTestHost*>(hostkit::ClapHost::From(host)); }

bool CLAP_ABI IsMainThread(const clap_host_t* host) { return std::this_thread::get_id() == Of(host)->mainThread; }
bool CLAP_ABI IsAudioThread(const clap_host_t* host) { return !IsMainThread(host); }
const clap_host_thread_check_t kThreadCheck = {IsMainThread, IsAudioThread};

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

void CLAP_ABI ResizeHintsChanged(const clap_host_t*) {}
bool CLAP_ABI RequestResize(const clap_host_t* host, uint32_t width, uint32_t height)
{
  Of(host)->resizeRequests.emplace_back(width, height);
  return true;
}
bool CLAP_ABI RequestShowOrHide(const clap_host_t*) { return false; }
void CLAP_ABI Closed(const clap_host_t*, bool) {}
const clap_host_gui_t kGui = {ResizeHintsChanged, RequestResize, RequestShowOrHide, RequestShowOrHide, Closed};
} // namespace

const void* ClapTestHost::Extension(const char* id)
{
  if (!std::strcmp(id, CLAP_EXT_THREAD_CHECK)) return offerThreadCheck ? &kThreadCheck : nullptr;
  if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &kParams;
  if (!std::strcmp(id, CLAP_EXT_STATE)) return &kState;
  if (!std::strcmp(id, CLAP_EXT_TAIL)) return &kTail;
  if (!std::strcmp(id, CLAP_EXT_PRESET_LOAD)) return &kPresetLoad;
  if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT)) return offerTimer ? &kTimer : nullptr;
  if (!std::strcmp(id, CLAP_EXT_POSIX_FD_SUPPORT)) return offerFd ? &kFd : nullptr;
  if (!std::strcmp(id, CLAP_EXT_GUI)) return offerGui ? &kGui : nullptr;
  return nullptr;
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
  if (use64) call.SetAudio(inPtr64.data(), inChannels, outPtr64.data(), 2);
  else call.SetAudio(inPtr32.data(), inChannels, outPtr32.data(), 2);
}

clap_process_status ClapBlock::Run(const clap_plugin_t* plugin, const ClapEventList* events, ClapOutputList* out)
{
  static ClapOutputList sink;
  sink.events.clear();
  call.SetEvents(events ? events->In() : nullptr, (out ? out : &sink)->Out());
  return call.Run(plugin, frames);
}
