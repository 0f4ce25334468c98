// IPlugCLAP: the CLAP adapter. It owns one plug-in and the clap_plugin a host drives,
// translates the host's calls (life cycle, processing, parameters as events, state,
// audio ports, presets, editor) into the plug-in base's calls, and carries the
// plug-in's calls to the host back as output events and host extension calls.
//
// Threads, as CLAP tags them: [main] calls (init, activate, parameters' info and text,
// state, ports, editor, preset load) come on the host's main thread, which is also the
// editor's GUI thread; [audio] calls (start/stop, reset, process, flush while active) on
// the audio thread, never two at once. The adapter takes no lock of its own: each call
// into the plug-in base takes the plug-in's lock (process holds it across a batch of
// parameter changes and the sub-blocks between them), and no host call is made with it
// held.
// The editor's gestures cross from the main thread to process() or flush() through a
// lock-free queue (IPlugCLAPEditQueue).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "IPlugBase.h"
#include "IPlugCLAPEditQueue.h"
#include "IPlugHostCalls.h"
#include "IPlugInfo.h"
#include "clap_abi.h"

// What a product's CLAP entry file hands the adapter.
struct IPlugCLAPProduct
{
  const char* id;                      // reverse-domain; hosts store it, so it never changes
  const IPlugInfo& (*info)();          // the product's description
  IPlugBase* (*make)();                // a new plug-in, editor attached when it has one
  const char* const* features;         // CLAP feature strings, null-terminated
};

class IPlugCLAP : public IPlugHostCalls
{
public:
  // Parameter ids are the parameter indexes, 0 ... count - 1: hosts store them in
  // projects, so a parameter keeps its index for ever.
  static constexpr int kMaxChannels = 8; // per port, for the pointer arrays of a sub-block
  static constexpr uint32_t kEditorTimerMs = 33;

  // Takes ownership of plug (not null), made by product (which also gives the tail and
  // the factory programs; without it the plug-in offers neither tail nor preset load).
  // host is kept, not called: create_plugin may not call the host.
  IPlugCLAP(const clap_plugin_descriptor_t* descriptor, const clap_host_t* host, IPlugBase* plug,
            const IPlugCLAPProduct* product);
  ~IPlugCLAP() override;
  IPlugCLAP(const IPlugCLAP&) = delete;
  IPlugCLAP& operator=(const IPlugCLAP&) = delete;

  const clap_plugin_t* ClapPlugin() const { return &mClapPlugin; }
  IPlugBase* Plug() const { return mPlug.get(); }
  // The adapter behind a clap_plugin, or null.
  static IPlugCLAP* From(const clap_plugin_t* plugin);

  // ---- IPlugHostCalls: the plug-in's calls to the host, never under its lock ----
  // Main (GUI) thread: queued for the next process() or flush(); the host is asked for a
  // flush when it is not processing.
  void BeginEdit(int index) override;
  void Automate(int index, double normalized) override;
  void EndEdit(int index) override;
  bool HostProduct(char* product, int size, int* version) override;
  // [main] The editor changed its size by itself: the host's gui request_resize.
  void EditorResized(int width, int height) override;

  // ---- Used by the extension tables (IPlugCLAPExtensions.cpp, IPlugCLAPGui.cpp) ----
  // [main] Audio ports and their configurations.
  uint32_t PortCount(bool isInput) const;
  bool PortInfo(uint32_t index, bool isInput, clap_audio_port_info_t* info) const;
  uint32_t PortConfigCount() const;
  bool PortConfig(uint32_t index, clap_audio_ports_config_t* config) const;
  bool SelectPortConfig(clap_id id);
  // [main] Parameters.
  bool ParamInfo(uint32_t index, clap_param_info_t* info) const;
  bool ParamValue(clap_id id, double* value);
  bool ParamValueToText(clap_id id, double value, char* text, uint32_t capacity) const;
  bool ParamTextToValue(clap_id id, const char* text, double* value) const;
  // [audio] while active, else [main]; never beside process().
  void Flush(const clap_input_events_t* in, const clap_output_events_t* out);
  // [main] State.
  bool SaveState(const clap_ostream_t* stream);
  bool LoadState(const clap_istream_t* stream);
  // [main or audio] Samples the effect rings on after its input stops.
  uint32_t TailSamples() const { return static_cast<uint32_t>(mPlug->TailSamplesForHost()); }
  // [main] A built-in program by its key (the program index as decimal text), as the
  // product defines it (LoadFactoryProgramFromHost).
  bool LoadPreset(uint32_t kind, const char* location, const char* key);
  // [main] Editor.
  bool GuiCreate(const char* api, bool isFloating);
  void GuiDestroy();
  // Hides the open window (keeping it) or shows it again; false before set_parent.
  bool GuiShow(bool show);
  bool GuiSize(uint32_t* width, uint32_t* height) const;
  // The host's scale to the editor; false when the editor ignores it.
  bool GuiSetScale(double scale);
  bool GuiCanResize() const;
  bool GuiResizeHints(clap_gui_resize_hints_t* hints) const;
  // The nearest size the editor takes (the panel's aspect ratio, scale 1 ... 3).
  bool GuiAdjustSize(uint32_t* width, uint32_t* height) const;
  // The host resized the editor; true when the size was taken as given.
  bool GuiSetSize(uint32_t width, uint32_t height);
  bool GuiSetParent(const clap_window_t* window);
  void EditorEvents(); // from the host's timer and fd callbacks
  bool HasEditor() const { return mPlug->Editor() != nullptr; }

  // Extension tables a host asks for by id (null for unknown ones).
  const void* Extension(const char* id) const;

private:
  // The clap_plugin callbacks.
  static bool CLAP_ABI ClapInit(const clap_plugin_t* plugin);
  static void CLAP_ABI ClapDestroy(const clap_plugin_t* plugin);
  static bool CLAP_ABI ClapActivate(const clap_plugin_t* plugin, double rate, uint32_t minFrames, uint32_t maxFrames);
  static void CLAP_ABI ClapDeactivate(const clap_plugin_t* plugin);
  static bool CLAP_ABI ClapStartProcessing(const clap_plugin_t* plugin);
  static void CLAP_ABI ClapStopProcessing(const clap_plugin_t* plugin);
  static void CLAP_ABI ClapReset(const clap_plugin_t* plugin);
  static clap_process_status CLAP_ABI ClapProcess(const clap_plugin_t* plugin, const clap_process_t* process);
  static const void* CLAP_ABI ClapGetExtension(const clap_plugin_t* plugin, const char* id);
  static void CLAP_ABI ClapOnMainThread(const clap_plugin_t* plugin);

  bool Init();
  clap_process_status Process(const clap_process_t& process);
  // Runs frames [start, end) of the block's buffers through the plug-in, with count
  // parameter changes inside them (changes may be null when count is 0).
  void Run(const clap_process_t& process, bool doublePath, uint32_t start, uint32_t end,
           const IParameterChange* changes, int count);
  // Runs the block with the host's count input events (count > 0).
  void RunWithEvents(const clap_process_t& process, bool doublePath, const clap_input_events_t& in, uint32_t count);
  static constexpr int kChangesPerBatch = 64;
  // Reads a PARAM_VALUE event of a known parameter, its time held to the block; false for
  // any other event (other spaces and types are skipped).
  bool ReadChange(const clap_event_header_t* event, uint32_t frames, IParameterChange* change) const;
  // Hands the queued editor gestures to the host as output events at time 0.
  void SendQueuedEdits(const clap_output_events_t* out);
  void QueueEdit(IPlugCLAPEditQueue::EKind kind, int index, double value);
  // Tells the host when the plug-in's tail differs from what it was last told ([audio]).
  void ReportTail();
  // Asserts in debug builds, where the host can tell, that the caller is on its main thread.
  void AssertMainThread() const;
  void CloseEditor();

  clap_plugin_t mClapPlugin;
  const clap_host_t* mHost;
  std::unique_ptr<IPlugBase> mPlug;
  int mInputChannels = 0;    // channels of the main input in the selected configuration

  // Host extensions, looked up in init (null where the host has none).
  const clap_host_params_t* mHostParams = nullptr;
  const clap_host_state_t* mHostState = nullptr;
  const clap_host_tail_t* mHostTail = nullptr;
  const clap_host_preset_load_t* mHostPresetLoad = nullptr;
  const clap_host_thread_check_t* mHostThreadCheck = nullptr;
  const clap_host_timer_support_t* mHostTimer = nullptr;
  const clap_host_posix_fd_support_t* mHostFd = nullptr;
  const clap_host_gui_t* mHostGui = nullptr;

  std::atomic<bool> mActive{false};
  std::atomic<bool> mProcessing{false};
  const IPlugCLAPProduct* mProduct;
  std::atomic<uint32_t> mReportedTail{0};
  IPlugCLAPEditQueue mEdits;

  // Editor: created by gui create, its window opened in set_parent.
  bool mGuiCreated = false;
  bool mEditorOpen = false;
  clap_id mTimerId = CLAP_INVALID_ID;
  int mRegisteredFd = -1;
};
