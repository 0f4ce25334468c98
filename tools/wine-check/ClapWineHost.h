// The host side of ClapWineCheck.exe, on the CLAP host kit: a clap_host that offers the
// params extension (request_flush, rescan, clear) and keeps what the plug-in sends back
// as output events. Everything runs on the program's one thread, which is the host's
// main thread.
#pragma once

#include <cstring>
#include <vector>

#include "ClapHostKit.h"

// One output event the plug-in pushed (ClapWineHost keeps gestures and values only).
using ClapOutputEvent = hostkit::ClapOutputEvents::Event;

class ClapWineHost : public hostkit::ClapHost
{
public:
  ClapWineHost() : hostkit::ClapHost("ClapWineCheck", "1.0") {}

  // Output events collected so far, and how often the plug-in asked for a flush.
  std::vector<ClapOutputEvent>& Events() { return mOut.events; }
  int FlushRequests() const { return mFlushRequests; }

  // Flushes |plugin| when it asked for it since the last flush, as a host's main loop does.
  void FlushIfRequested(const clap_plugin_t* plugin)
  {
    if (!mFlushPending) return;
    mFlushPending = false;
    auto* params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    if (params && params->flush) params->flush(plugin, hostkit::ClapInputEvents::None(), mOut.Out());
  }

protected:
  const void* Extension(const char* id) override
  {
    static const clap_host_params_t params{Rescan, Clear, RequestFlush};
    return std::strcmp(id, CLAP_EXT_PARAMS) == 0 ? &params : nullptr;
  }

private:
  static ClapWineHost* Of(const clap_host_t* host) { return static_cast<ClapWineHost*>(From(host)); }
  static void CLAP_ABI Rescan(const clap_host_t*, clap_param_rescan_flags) {}
  static void CLAP_ABI Clear(const clap_host_t*, clap_id, clap_param_clear_flags) {}
  static void CLAP_ABI RequestFlush(const clap_host_t* host)
  {
    ++Of(host)->mFlushRequests;
    Of(host)->mFlushPending = true;
  }

  hostkit::ClapOutputEvents mOut;
  int mFlushRequests = 0;
  bool mFlushPending = false;
};

// The editor checks (ClapEditorWineCheck.cpp): opens, drives and closes the editor of
// fresh instances from |module|; |referencePng| is the Linux snapshot of the editor.
void RunClapEditorChecks(const hostkit::ClapModule& module, const char* pluginId, const char* referencePng);
