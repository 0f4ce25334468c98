// The host side of CLAP, once for every host in this project (tests, brindlow-render,
// benchmarks, Wine checks): load a .clap, make an instance through its plug-in factory,
// answer it as a clap_host, hand it events and audio, move its state. Built on the
// project's own CLAP header. Anything a single host needs besides (recording what it is
// told, extensions it offers, presets) goes in that host, on top of these classes.
//
// Thread rules are CLAP's: ClapModule, ClapInstance's lifetime calls (Create, Activate,
// Deactivate), parameters and state on the host's main thread; StartProcessing,
// StopProcessing and ClapProcessCall::Run on its audio thread, never both at once for one
// instance. ClapHost's hooks are called from whichever thread the plug-in calls on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ModuleLibrary.h"
#include "clap_abi.h"

namespace hostkit
{
// A .clap file loaded, its clap_entry found and (by default) initialised.
class ClapModule
{
public:
  ClapModule() = default;
  ~ClapModule() { Unload(); }
  ClapModule(const ClapModule&) = delete;
  ClapModule& operator=(const ClapModule&) = delete;

  // False with error set (the reason, without the path) when the file does not load,
  // exports no clap_entry, speaks a CLAP version this host cannot use, or (with
  // initialise) refuses init. Without
  // initialise the caller calls Entry()->init itself and also deinit.
  bool Load(const std::string& path, std::string& error, bool initialise = true, bool keepMapped = false);
  void Unload();

  const clap_plugin_entry_t* Entry() const { return mEntry; }
  const void* Factory(const char* id) const { return mEntry ? mEntry->get_factory(id) : nullptr; }
  const clap_plugin_factory_t* PluginFactory() const
  {
    return static_cast<const clap_plugin_factory_t*>(Factory(CLAP_PLUGIN_FACTORY_ID));
  }
  void* Handle() const { return mLibrary.Handle(); }

private:
  ModuleLibrary mLibrary;
  const clap_plugin_entry_t* mEntry = nullptr;
  bool mInitialised = false;
};

// A clap_host: its name and version, and hooks a host overrides to answer more.
class ClapHost
{
public:
  ClapHost(const char* name, const char* version);
  virtual ~ClapHost() = default;
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  const clap_host_t* Host() const { return &mHost; }
  // The object behind a clap_host_t this class made (for a derived host's own callbacks).
  static ClapHost* From(const clap_host_t* host) { return static_cast<ClapHost*>(host->host_data); }

protected:
  // A host extension by id, or null (the default: a minimal host offers none).
  virtual const void* Extension(const char*) { return nullptr; }
  virtual void RequestRestart() {}
  virtual void RequestProcess() {}
  virtual void RequestCallback() {}

private:
  clap_host_t mHost{};
};

// Parameter-value events for a process or flush call, in the order added (the caller
// adds them in time order). Its clap_input_events_t follows copies of the object.
class ClapInputEvents
{
public:
  ClapInputEvents();
  ClapInputEvents(const ClapInputEvents& other) : mEvents(other.mEvents), mIn{this, Size, Get} {}
  ClapInputEvents& operator=(const ClapInputEvents& other)
  {
    mEvents = other.mEvents;
    return *this;
  }
  void AddParam(uint32_t time, clap_id id, double value, uint16_t space = CLAP_CORE_EVENT_SPACE_ID,
                void* cookie = nullptr);
  // An event added before, to change it between calls without reallocating.
  clap_event_param_value_t& Param(size_t index) { return mEvents[index]; }
  size_t Count() const { return mEvents.size(); }
  void Clear() { mEvents.clear(); }
  const clap_input_events_t* In() const { return &mIn; }
  // A list with no events.
  static const clap_input_events_t* None();

private:
  static uint32_t CLAP_ABI Size(const clap_input_events_t* list);
  static const clap_event_header_t* CLAP_ABI Get(const clap_input_events_t* list, uint32_t index);
  std::vector<clap_event_param_value_t> mEvents;
  clap_input_events_t mIn;
};

// What the plug-in sends back (gestures, values), copied as CLAP asks (header.size
// bytes, any alignment). try_push refuses events beyond capacity.
class ClapOutputEvents
{
public:
  struct Event
  {
    uint16_t space;
    uint16_t type;
    clap_id param; // CLAP_INVALID_ID for events that carry none
    double value;  // plain; for CLAP_EVENT_PARAM_VALUE only
  };
  ClapOutputEvents();
  ClapOutputEvents(const ClapOutputEvents&) = delete;
  ClapOutputEvents& operator=(const ClapOutputEvents&) = delete;
  const clap_output_events_t* Out() const { return &mOut; }
  std::vector<Event> events;
  size_t capacity = SIZE_MAX;
  // A list that takes every event and keeps none.
  static const clap_output_events_t* Discard();

private:
  static bool CLAP_ABI TryPush(const clap_output_events_t* list, const clap_event_header_t* event);
  clap_output_events_t mOut;
};

// Streams for the state extension that move at most chunk bytes per call, as some
// hosts do.
class ClapOutStream
{
public:
  explicit ClapOutStream(size_t chunk = 1u << 20);
  ClapOutStream(const ClapOutStream&) = delete;
  ClapOutStream& operator=(const ClapOutStream&) = delete;
  std::vector<uint8_t> bytes;
  size_t chunk;
  clap_ostream_t stream;
};

class ClapInStream
{
public:
  explicit ClapInStream(std::vector<uint8_t> data, size_t chunk = 1u << 20);
  ClapInStream(const ClapInStream&) = delete;
  ClapInStream& operator=(const ClapInStream&) = delete;
  std::vector<uint8_t> bytes;
  size_t chunk;
  size_t pos = 0;
  clap_istream_t stream;
};

// One process call's record on the caller's channel pointers: the main input and output
// port, the event lists, and the steady time, which advances by the frames processed
// unless it is -1 (unknown). Set once and Run per block: Run itself does no host work.
class ClapProcessCall
{
public:
  ClapProcessCall();
  void SetAudio(float** inputs, uint32_t inChannels, float** outputs, uint32_t outChannels);
  void SetAudio(double** inputs, uint32_t inChannels, double** outputs, uint32_t outChannels);
  void SetEvents(const clap_input_events_t* in, const clap_output_events_t* out);
  clap_process_status Run(const clap_plugin_t* plugin, uint32_t frames);
  clap_process_t& Record() { return mProcess; }
  clap_audio_buffer_t input{}, output{};

private:
  clap_process_t mProcess{};
};

// A plug-in instance made with the module's plug-in factory, initialised; destroyed (after
// stop_processing and deactivate where needed) with this object.
class ClapInstance
{
public:
  ClapInstance() = default;
  ~ClapInstance() { Destroy(); }
  ClapInstance(const ClapInstance&) = delete;
  ClapInstance& operator=(const ClapInstance&) = delete;

  // The factory's plug-in with id, or its first when id is null; false when the
  // factory has none, or create_plugin or init fails.
  bool Create(const ClapModule& module, const clap_host_t* host, const char* id = nullptr);
  void Destroy();

  const clap_plugin_t* Plugin() const { return mPlugin; }
  const clap_plugin_descriptor_t* Descriptor() const { return mDescriptor; }
  template <class T>
  const T* Extension(const char* id) const
  {
    return mPlugin ? static_cast<const T*>(mPlugin->get_extension(mPlugin, id)) : nullptr;
  }

  bool Activate(double sampleRate, uint32_t minFrames, uint32_t maxFrames);
  bool StartProcessing();
  void StopProcessing();
  void Deactivate(); // stops processing first
  bool IsActive() const { return mActive; }
  bool IsProcessing() const { return mProcessing; }

  // Parameters through the params extension: every info the plug-in gives, a value, and
  // a new value sent through flush (outside process), its output events to out.
  std::vector<clap_param_info_t> ParamInfos() const;
  bool ParamValue(clap_id id, double& value) const;
  bool FlushParam(const clap_param_info_t& info, double value,
                  const clap_output_events_t* out = ClapOutputEvents::Discard()) const;

  // The state extension, chunk bytes per stream call at most.
  bool SaveState(std::vector<uint8_t>& bytes, size_t chunk = 1u << 20) const;
  bool LoadState(const std::vector<uint8_t>& bytes, size_t chunk = 1u << 20) const;

private:
  const clap_plugin_t* mPlugin = nullptr;
  const clap_plugin_descriptor_t* mDescriptor = nullptr;
  bool mActive = false, mProcessing = false;
};
} // namespace hostkit
