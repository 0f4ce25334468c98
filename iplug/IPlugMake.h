// How every format adapter makes its plug-in for a host: one at a time, under the
// process-wide construction lock (making a plug-in may fill module-wide tables such as
// the image cache), with a fallback preset for a plug-in that defines none.
#pragma once

#include <mutex>
#include <new>

#include "IPlugBase.h"

// The process-wide lock under which plug-ins are made.
std::mutex& PlugConstructionLock();

// Makes a plug-in with make(), then its adapter with wrap(plug), which takes ownership of
// the plug-in (wrap uses new (std::nothrow)). Null when either cannot be made; no
// exception leaves, since none may cross into a host.
template <class Adapter, class Wrap>
Adapter* MakePlugInForHost(IPlugBase* (*make)(), Wrap&& wrap)
{
  std::lock_guard<std::mutex> guard(PlugConstructionLock());
  try
  {
    IPlugBase* plug = make ? make() : nullptr;
    if (!plug) return nullptr;
    plug->AddFallbackPreset();
    Adapter* adapter = wrap(plug);
    if (!adapter) delete plug;
    return adapter;
  }
  catch (...)
  {
    return nullptr;
  }
}
