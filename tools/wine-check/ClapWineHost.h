// The host side of ClapWineCheck.exe: a clap_host that offers the params extension
// (request_flush, rescan, clear) and keeps what the plug-in sends back as output events.
// Everything runs on the program's one thread, which is the host's main thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "clap_abi.h"

// One output event the plug-in pushed: a gesture begin/end or a parameter value.
struct ClapOutputEvent
{
  uint16_t type; // CLAP_EVENT_PARAM_GESTURE_BEGIN, _END or CLAP_EVENT_PARAM_VALUE
  clap_id paramId;
  double value; // plain; for PARAM_VALUE only
};

class ClapWineHost
{
public:
  ClapWineHost()
  {
    mHost.clap_version = CLAP_VERSION;
    mHost.host_data = this;
    mHost.name = "ClapWineCheck";
    mHost.vendor = "Brindlow";
    mHost.url = "";
    mHost.version = "1.0";
    mHost.get_extension = Extension;
    mHost.request_restart = mHost.request_process = mHost.request_callback = Ignore;
    mOut.ctx = this;
    mOut.try_push = Push;
  }
  ClapWineHost(const ClapWineHost&) = delete;
  ClapWineHost& operator=(const ClapWineHost&) = delete;

  const clap_host_t* Host() const { return &mHost; }
  // Output events collected so far, and how often the plug-in asked for a flush.
  std::vector<ClapOutputEvent>& Events() { return mEvents; }
  int FlushRequests() const { return mFlushRequests; }

  // Flushes |plugin| when it asked for it since the last flush, as a host's main loop does.
  void FlushIfRequested(const clap_plugin_t* plugin)
  {
    if (!mFlushPending) return;
    mFlushPending = false;
    auto* params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    static const clap_input_events_t noEvents{nullptr, NoEvents, NoEvent};
    if (params && params->flush) params->flush(plugin, &noEvents, &mOut);
  }

private:
  static ClapWineHost* Of(const clap_host_t* host) { return static_cast<ClapWineHost*>(host->host_data); }

  static const void* CLAP_ABI Extension(const clap_host_t*, const char* id)
  {
    static const clap_host_params_t params{Rescan, Clear, RequestFlush};
    return std::strcmp(id, CLAP_EXT_PARAMS) == 0 ? &params : nullptr;
  }
  static void CLAP_ABI Ignore(const clap_host_t*) {}
  static void CLAP_ABI Rescan(const clap_host_t*, clap_param_rescan_flags) {}
  static void CLAP_ABI Clear(const clap_host_t*, clap_id, clap_param_clear_flags) {}
  static void CLAP_ABI RequestFlush(const clap_host_t* host)
  {
    ++Of(host)->mFlushRequests;
    Of(host)->mFlushPending = true;
  }

  static uint32_t CLAP_ABI NoEvents(const clap_input_events_t*) { return 0; }
  static const clap_event_header_t* CLAP_ABI NoEvent(const clap_input_events_t*, uint32_t) { return nullptr; }
  static bool CLAP_ABI Push(const clap_output_events_t* list, const clap_event_header_t* event)
  {
    auto* self = static_cast<ClapWineHost*>(list->ctx);
    if (event->space_id != CLAP_CORE_EVENT_SPACE_ID) return true;
    if (event->type == CLAP_EVENT_PARAM_VALUE && event->size >= sizeof(clap_event_param_value_t))
    {
      const auto* value = reinterpret_cast<const clap_event_param_value_t*>(event);
      self->mEvents.push_back({event->type, value->param_id, value->value});
    }
    else if ((event->type == CLAP_EVENT_PARAM_GESTURE_BEGIN || event->type == CLAP_EVENT_PARAM_GESTURE_END) &&
             event->size >= sizeof(clap_event_param_gesture_t))
    {
      const auto* gesture = reinterpret_cast<const clap_event_param_gesture_t*>(event);
      self->mEvents.push_back({event->type, gesture->param_id, 0.0});
    }
    return true;
  }

  clap_host_t mHost{};
  clap_output_events_t mOut{};
  std::vector<ClapOutputEvent> mEvents;
  int mFlushRequests = 0;
  bool mFlushPending = false;
};

// The editor checks (ClapEditorWineCheck.cpp): opens, drives and closes the editor of
// fresh instances from |factory|; |referencePng| is the Linux snapshot of the editor.
void RunClapEditorChecks(HMODULE module, const clap_plugin_factory_t* factory, const char* pluginId,
                         const char* referencePng);
