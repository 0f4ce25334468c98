// The tests' CLAP host, on the project's CLAP host kit (tools/hostkit/clap): loads the
// built Brindlow.clap as hosts do, makes instances through the plug-in factory, offers
// the host extensions a plug-in uses and records what it is told.
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ClapHostKit.h"

// The module, loaded on construction; kept mapped after unloading so that sanitizer
// reports can still name its code.
class ClapModule : public hostkit::ClapModule
{
public:
  explicit ClapModule(const char* path = BRINDLOW_CLAP_PATH) { Load(path, mError, true, true); }
  const std::string& Error() const { return mError; }
  using hostkit::ClapModule::Factory; // by id
  const clap_plugin_factory_t* Factory() const { return PluginFactory(); }

private:
  std::string mError;
};

// One host object per instance; it answers the plug-in and counts its requests.
class ClapTestHost : public hostkit::ClapHost
{
public:
  ClapTestHost() : hostkit::ClapHost("Brindlow test host", "1.2.3") {}

  // Which extensions the host offers.
  bool offerThreadCheck = true;
  bool offerTimer = true;
  bool offerFd = true;
  bool offerGui = true;

  int requestFlushCount = 0;
  int requestCallbackCount = 0;
  int tailChangedCount = 0;
  int markDirtyCount = 0;
  std::vector<uint32_t> rescans;             // params rescan flags, in order
  std::vector<std::string> loadedKeys;       // preset-load loaded()
  std::vector<std::string> presetErrors;     // preset-load on_error()
  std::vector<uint32_t> timers;              // registered timer periods; index + 1 is the id
  std::vector<int> fds;                      // registered descriptors (removed on unregister)
  int unregisteredTimers = 0;
  std::vector<std::pair<uint32_t, uint32_t>> resizeRequests; // gui request_resize, accepted

  std::thread::id mainThread = std::this_thread::get_id();

protected:
  const void* Extension(const char* id) override;
  void RequestCallback() override { ++requestCallbackCount; }
};

// An instance made, initialised and (by Activate) active and processing.
class ClapInstance : public hostkit::ClapInstance
{
public:
  ClapInstance(ClapModule& module, ClapTestHost& host)
  {
    Create(module, host.Host());
    plugin = Plugin();
  }
  const clap_plugin_t* plugin = nullptr;

  template <class T>
  const T* Ext(const char* id) const
  {
    return Extension<T>(id);
  }
  bool Activate(double rate = 44100.0, uint32_t maxFrames = 512)
  {
    return hostkit::ClapInstance::Activate(rate, 1, maxFrames) && StartProcessing();
  }
};

// Events handed to the plug-in, sorted by the caller.
using ClapEventList = hostkit::ClapInputEvents;

// Events the plug-in sends; try_push fails beyond capacity.
struct ClapOutputList : hostkit::ClapOutputEvents
{
  ClapOutputList() { capacity = 1000; }
};

// Streams that move at most chunk bytes per call.
using ClapOutStream = hostkit::ClapOutStream;
using ClapInStream = hostkit::ClapInStream;

// One stereo (or mono) block of 32- or 64-bit buffers, with a process call around it.
struct ClapBlock
{
  ClapBlock(uint32_t frames, uint32_t inChannels = 2, bool use64 = false);
  // Runs the block through plugin with events (may be null).
  clap_process_status Run(const clap_plugin_t* plugin, const ClapEventList* events = nullptr,
                          ClapOutputList* out = nullptr);
  uint32_t frames;
  bool use64;
  std::vector<std::vector<float>> in32, out32;
  std::vector<std::vector<double>> in64, out64;
  std::vector<float*> inPtr32, outPtr32;
  std::vector<double*> inPtr64, outPtr64;
  hostkit::ClapProcessCall call;
};
