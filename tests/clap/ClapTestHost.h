// A small CLAP host for tests, on the project's own CLAP header: loads the built
// Brindlow.clap with dlopen(RTLD_NOW | RTLD_LOCAL), makes instances through the plug-in
// factory, offers the host extensions a plug-in uses and records what it is told.
#pragma once

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "clap_abi.h"

class ClapModule
{
public:
  explicit ClapModule(const char* path = BRINDLOW_CLAP_PATH);
  ~ClapModule();
  const clap_plugin_entry_t* Entry() const { return mEntry; }
  const std::string& Error() const { return mError; }
  const clap_plugin_factory_t* Factory() const;

private:
  void* mLibrary = nullptr;
  const clap_plugin_entry_t* mEntry = nullptr;
  std::string mError;
};

// One host object per instance; it answers the plug-in and counts its requests.
class ClapTestHost
{
public:
  ClapTestHost();
  const clap_host_t* Host() const { return &mHost; }

  // Which extensions the host offers.
  bool offerThreadCheck = true;
  bool offerTimer = true;
  bool offerFd = true;

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

  std::thread::id mainThread = std::this_thread::get_id();

private:
  static const void* CLAP_ABI GetExtension(const clap_host_t* host, const char* id);
  static void CLAP_ABI RequestRestart(const clap_host_t*) {}
  static void CLAP_ABI RequestProcess(const clap_host_t*) {}
  static void CLAP_ABI RequestCallback(const clap_host_t* host);
  static ClapTestHost* Self(const clap_host_t* host) { return static_cast<ClapTestHost*>(host->host_data); }

  clap_host_t mHost;
};

// An instance made, initialised and (by Activate) active and processing.
class ClapInstance
{
public:
  ClapInstance(ClapModule& module, ClapTestHost& host);
  ~ClapInstance();
  const clap_plugin_t* plugin = nullptr;

  template <class T>
  const T* Ext(const char* id) const
  {
    return static_cast<const T*>(plugin->get_extension(plugin, id));
  }
  bool Activate(double rate = 44100.0, uint32_t maxFrames = 512);
  void Deactivate();

private:
  bool mActive = false;
};

// Events handed to the plug-in, sorted by the caller.
class ClapEventList
{
public:
  ClapEventList();
  void AddParam(uint32_t time, clap_id id, double value, uint16_t space = CLAP_CORE_EVENT_SPACE_ID);
  // The list as the plug-in sees it (its context follows copies of this object).
  const clap_input_events_t* In() const
  {
    mIn.ctx = const_cast<ClapEventList*>(this);
    return &mIn;
  }

private:
  static uint32_t CLAP_ABI Size(const clap_input_events_t* list);
  static const clap_event_header_t* CLAP_ABI Get(const clap_input_events_t* list, uint32_t index);
  std::vector<clap_event_param_value_t> mEvents;
  mutable clap_input_events_t mIn;
};

// Events the plug-in sends, copied as the host must (header.size bytes).
class ClapOutputList
{
public:
  ClapOutputList();
  const clap_output_events_t* Out() const
  {
    mOut.ctx = const_cast<ClapOutputList*>(this);
    return &mOut;
  }
  struct Event
  {
    uint16_t type;
    clap_id param;
    double value;
  };
  std::vector<Event> events;
  size_t capacity = 1000; // try_push fails beyond this

private:
  static bool CLAP_ABI TryPush(const clap_output_events_t* list, const clap_event_header_t* event);
  mutable clap_output_events_t mOut;
};

// Streams that move at most chunk bytes per call.
struct ClapOutStream
{
  explicit ClapOutStream(size_t chunk = 1u << 20);
  std::vector<uint8_t> bytes;
  size_t chunk;
  clap_ostream_t stream;
};

struct ClapInStream
{
  ClapInStream(std::vector<uint8_t> data, size_t chunk = 1u << 20);
  std::vector<uint8_t> bytes;
  size_t chunk;
  size_t pos = 0;
  clap_istream_t stream;
};

// One stereo (or mono) block of 32- or 64-bit buffers, with a process struct around it.
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
  clap_audio_buffer_t input{}, output{};
  int64_t steadyTime = 0;
};
