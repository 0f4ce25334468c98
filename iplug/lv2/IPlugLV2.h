// IPlugLV2: the LV2 adapter of the DSP binary. It owns one plug-in per instance and
// translates the host's calls (instantiate, connect_port, activate, run, deactivate,
// cleanup, the state interface) into the plug-in base's calls. It carries no editor: the
// LV2 UI is a binary of its own (IPlugLV2UI.h).
//
// Threads (LV2's threading classes): instantiate, cleanup, activate and deactivate come on
// the host's main thread; connect_port and run on its audio thread; restore on the main
// thread, never during run; save on any thread, even during run (the plug-in's lock keeps
// the two apart). The adapter takes no lock of its own: each call into
// the plug-in base takes the plug-in's lock, and nothing here calls the host with it held.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "IPlugBase.h"
#include "IPlugHostCalls.h"
#include "IPlugLV2Info.h"

// The product's side of the read-out ports (IPlugLV2Readouts in IPlugLV2Info.h), one per
// instance. Threads: made and deleted on the host's main thread (instantiate, cleanup);
// SetViewShown and Read come on the audio thread inside run, so they allocate nothing,
// take no lock and never wait.
class IPlugLV2ReadoutSource
{
public:
  virtual ~IPlugLV2ReadoutSource() = default;
  // The UI shows the read-outs (its view port went to 1), or no longer does (0).
  virtual void SetViewShown(bool shown) = 0;
  // At the end of each run: values[0 ... outputCount - 1], the read-outs in the order of
  // IPlugLV2Readouts::outputs, each finite and within its port's range.
  virtual void Read(float* values) = 0;
};

// The descriptor of one plug-in of the bundle, with what instantiate needs to make it.
// descriptor comes first, so the LV2_Descriptor* the host hands back finds the rest.
struct IPlugLV2Entry
{
  LV2_Descriptor descriptor;
  const IPlugLV2Info* lv2;
  const IPlugLV2Variant* variant;
  IPlugBase* (*make)();
  // The read-outs of a plug-in made by make (opened, at its rate), where lv2->readouts
  // describes them; null leaves the read-out ports at 0.
  IPlugLV2ReadoutSource* (*makeReadouts)(IPlugBase* plug) = nullptr;
};

class IPlugLV2 : public IPlugHostCalls
{
public:
  // Blocks of at most this many frames when the host gives no bufsz:maxBlockLength; run()
  // takes any sample_count, longer runs being processed in sub-blocks.
  static constexpr int kDefaultBlockFrames = 4096;

  // Main thread: takes ownership of plug (not null), connects the variant's inputs and
  // opens it at rate. map is the host's urid:map (required).
  IPlugLV2(const IPlugLV2Entry& entry, IPlugBase* plug, double rate, int blockFrames, const LV2_URID_Map& map);
  ~IPlugLV2() override;
  IPlugLV2(const IPlugLV2&) = delete;
  IPlugLV2& operator=(const IPlugLV2&) = delete;

  IPlugBase* Plug() const { return mPlug.get(); }

  // Audio thread (or before the first run): port index's buffer.
  void ConnectPort(uint32_t port, void* data);
  // Audio thread: hands control values that changed since the last run to the plug-in
  // (and the view port's to the read-outs), processes frames, then writes the read-out
  // ports. Allocates nothing.
  void Run(uint32_t frames);
  // Main thread.
  void SetActive(bool active) { mPlug->SetActiveFromHost(active); }
  // The state as one atom:Chunk property (the bank chunk: its header and the parameter
  // values; program names and contents stay with the instance): save from any thread
  // (even during run), restore from the main thread while run is not called. After a
  // restore the ports' values apply again.
  LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle);
  LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

  // ---- IPlugHostCalls: nothing to tell an LV2 host from the DSP side (no editor here) ----
  void BeginEdit(int) override {}
  void Automate(int, double) override {}
  void EndEdit(int) override {}

  // The descriptor's callbacks.
  static LV2_Handle Instantiate(const LV2_Descriptor* descriptor, double rate, const char* bundlePath,
                                const LV2_Feature* const* features);
  static void ConnectPortCallback(LV2_Handle instance, uint32_t port, void* data);
  static void Activate(LV2_Handle instance);
  static void RunCallback(LV2_Handle instance, uint32_t frames);
  static void Deactivate(LV2_Handle instance);
  static void Cleanup(LV2_Handle instance);
  static const void* ExtensionData(const char* uri);

private:
  void TakeViewPort();
  void WriteReadouts();

  std::unique_ptr<IPlugBase> mPlug;
  // Destroyed before the plug-in it reads.
  std::unique_ptr<IPlugLV2ReadoutSource> mReadouts;
  uint32_t mViewPort = ~0u;   // ~0u without read-outs
  const float* mView = nullptr;
  bool mViewShown = false;
  std::vector<float*> mReadoutPorts; // null until connected
  std::vector<float> mReadoutValues;
  LV2_URID mStateKey;
  LV2_URID mChunkType;
  std::vector<const float*> mControls; // one per parameter, null until connected
  // The value last handed on, as its bits (so a NaN port is seen once), or kNoValue.
  static constexpr uint64_t kNoValue = ~uint64_t(0);
  std::vector<uint64_t> mLastControlBits;
  std::vector<float*> mInputs;
  std::vector<float*> mOutputs;
  std::vector<float*> mInputView; // the buffers at the current piece of a run
  std::vector<float*> mOutputView;
};

// The LV2_Descriptor of entry, filled with the adapter's callbacks (entry.descriptor.URI
// from the variant). For the binary's lv2_descriptor().
void FillLV2Descriptor(IPlugLV2Entry& entry);
