// IPlugBase: the host-independent plug-in. It owns the parameters, presets, legal channel
// configurations, the routing between host buffers and the 64-bit buffers the DSP sees,
// the attached editor, and one re-entrant lock. A product derives from it; a format
// adapter (VST 2.4, LV2, CLAP) owns one and translates its host's calls into the
// "calls from a format adapter" below, and the plug-in's calls to the host back through
// the IPlugHostCalls it installs.
//
// Threads and the lock. The host calls processing on its audio thread and the editor on
// its GUI thread; parameters, programs and state may come from either.
// - Every call from an adapter goes through the "calls from a format adapter" below and
//   takes the plug-in's lock inside the core: an adapter holds none, takes none and keeps
//   no copy of the product's data, so audio never runs against a half-applied change.
// - Product hooks run under the lock and do not take it again.
// - The lock is never held while the plug-in calls the host (IPlugHostCalls) or the
//   window system (IGraphics open, close, idle, keys): a host that takes its own lock in
//   a callback while its audio thread holds that lock and waits for ours cannot deadlock.
//   Debug builds assert it on every such path.
// - The audio path (the Process...FromHost calls, SetParameterFromHost) allocates nothing.
#pragma once

#include <atomic>
#include <vector>

#include "GrowBuffer.h"
#include "IByteChunk.h"
#include "IParam.h"
#include "IPlugLock.h"
#include "IPlugStructs.h"
#include "IProgram.h"
#include "IEditorDelegate.h"
#include "IKeyPress.h"
#include "IPlugHostCalls.h"
#include "IPlugInfo.h"
#include "IPlugText.h"

class IGraphics;

class IPlugBase : public IEditorDelegate
{
public:
  static constexpr int kNameSize = 128; // effect, product and vendor names: 127 characters
  // Block sizes above this are clipped: longer blocks are still processed (in
  // sub-blocks), the scratch buffers just do not grow without bound.
  static constexpr int kMaxBlockFrames = 1 << 16;
  // MIDI messages a block may send before the host takes them.
  static constexpr int kMidiOutCapacity = 256;

  // A plug-in as info describes it: parameters and presets defined, no editor yet. info
  // is kept (for the factory programs) and must outlive the plug-in: a product's is static.
  explicit IPlugBase(const IPlugInfo& info);

  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName,
            const char* productName, const char* vendorName, int vendorVersion, int uniqueID,
            int mfrID, int latency, bool doesMidi, bool doesChunks, bool isInstrument);
  virtual ~IPlugBase();
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Product hooks ----
  // Each runs under the plug-in's lock, taken by the core call that runs it: a hook
  // takes no lock of its own and calls neither the host nor the window system.
  virtual void ResetProcessing();
  // Called after parameter index changed its value.
  virtual void ParameterChanged(int index);
  // inputs / outputs hold one 64-bit buffer of frames samples per channel (null without channels).
  virtual void ProcessBlock(double** inputs, double** outputs, int frames);
  // A product may process a 32-bit block directly, skipping the conversion to and from
  // ProcessBlock's 64-bit buffers; it must then give exactly the samples that route
  // gives. inputs / outputs hold one host buffer of frames samples per channel, or null
  // where the channel is unconnected or the host gave none (or fewer frames). Answers
  // true when it wrote every connected output; false (the default) sends the block
  // through ProcessBlock. Called under the lock, once per sub-block.
  virtual bool ProcessBlockFloat(const float* const* inputs, float* const* outputs, int frames);
  // Called after SetInputsConnected changed whether some input is connected (the host
  // switched a track between mono and stereo, say), on the thread that changed it and
  // under the lock. Anything chosen from the connected inputs is chosen again here.
  virtual void InputConnectionsChanged() {}
  virtual void EditorOpened() {}
  virtual void EditorClosing() {}
  virtual void UnusedHook() {}
  virtual void SetActive(bool active);
  virtual void HandleMidiMessage(const MidiMessage& message);
  // Writes the name of note into text (at least 64 bytes); the base has none.
  virtual bool GetNoteName(int note, char* text);
  // Under the lock: how many samples the effect goes on sounding after its input stops
  // (hosts must not cut it off sooner); 0, the default, for none. Asked again after every
  // change of a parameter or the sample rate that comes through the calls below.
  virtual int TailSamples() { return 0; }
  virtual bool WriteState(IByteChunk& chunk);
  virtual int ReadState(const IByteChunk& chunk, int startPos);

  // ---- Calls to the host, through the adapter's IPlugHostCalls (none without one) ----
  // Never called with the lock held (debug builds assert it).
  void SetHostCalls(IPlugHostCalls* host) { mHostCalls = host; }
  IPlugHostCalls* HostCalls() const { return mHostCalls; }
  void HostBeginEdit(int index) override;
  virtual void HostAutomate(int index, double normalized);
  void HostEndEdit(int index) override;
  // Lock free only (debug builds assert it): ask the host now. A block reads the
  // transport through Transport(), read before it took the lock.
  virtual int HostSamplePosition();
  virtual double HostTempo();
  virtual void HostTimeSignature(int* numerator, int* denominator);
  // Whether the host's transport is read before each block (off by default, so that a
  // product which does not use it costs the host nothing per block). Set at construction.
  void SetReadsTransport(bool reads) { mReadsTransport = reads; }
  // Under the lock, inside a block: the host's transport as it was read just before
  // the block took the lock (all zero unless SetReadsTransport(true)).
  const ITransport& Transport() const { return mTransport; }
  // Asks the host who it is, once, with the lock free, and keeps the answer (SetHost).
  virtual int IdentifyHost();
  void ResizeEditorRect(int width, int height) override;
  virtual void UnusedHookWithArg(int) {}
  // Under the lock, once, when the host opens the plug-in: adapts to hosts known to
  // need it (some take only two inputs).
  virtual void HostSpecificSetup();
  // Takes ownership of editor, pushes every normalised parameter value to it and lets it
  // create its draw surface.
  virtual void AttachEditor(IGraphics* editor);
  // Sizes the scratch buffers for blocks of frames samples; frames <= 0 is refused.
  // Not for the audio thread: it may allocate.
  virtual void SetBlockFrames(int frames);
  // Lock free (it tells the host): keeps the latency and tells the adapter.
  virtual void SetLatencySamples(int samples);
  // Any thread, lock held or not: queues a message for the host, which receives it once
  // the call that sent it has let go of the lock. False when the queue is full.
  virtual bool SendMidiToHost(const MidiMessage& message);
  virtual bool SendMidiListToHost(const MidiMessage* messages, int count);

  // ---- Calls from a format adapter ----
  // Each takes the lock itself; the adapter holds none and translates only. Texts are
  // written cut to the caller's size bytes and terminated (CopyBoundedText).

  // Main thread: the host opened the plug-in. Identifies the host (asking it with the
  // lock free), then, under the lock, HostSpecificSetup and every change handler.
  void OpenFromHost();
  // Main thread, not while processing: a new sample rate. One that is not finite and
  // positive is refused (HostSampleRateUsable() false, the rate unchanged); either way
  // ResetProcessing runs.
  void SetSampleRateFromHost(double rate);
  // Main thread: the largest block to come. Refused (false) when not positive; clipped
  // to kMaxBlockFrames. May allocate: never from the audio thread.
  bool SetBlockSizeFromHost(long long frames);
  // Main thread: processing is switched on or off (off also resets the processing).
  void SetActiveFromHost(bool active);
  // Any thread: a value from the host, normalised (0 ... 1) or real. Values that are not
  // finite are ignored (false); others are clamped to the range. The editor is told, then
  // the parameter is set, then its change handler runs. Allocates nothing.
  bool SetParameterFromHost(int index, double value, bool isNormalized);
  // Any thread: a typed or host-given text read as the parameter's value (ValueFromText),
  // then set as above. False for an unknown parameter or a text that is no value.
  bool SetParameterFromHostText(int index, const char* text);
  // Any thread: the current value, normalised or real; 0 for an unknown parameter.
  double ParameterValueForHost(int index, bool normalized);
  // Any thread: the value the parameter was defined with, normalised or real; 0 for an
  // unknown parameter. Definitions never change, so no lock is needed.
  double ParameterDefaultForHost(int index, bool normalized) const;
  // Any thread: the parameter's name (fixed), or the unit label for its current value
  // (empty where the value has a text of its own). False for an unknown parameter.
  bool ParameterNameForHost(int index, char* text, int size) const;
  bool ParameterLabelForHost(int index, char* text, int size);
  // Any thread: the display text of the current value (or of a normalised value given),
  // terminated, cut to size bytes. False for an unknown parameter.
  bool ParameterTextForHost(int index, char* text, int size);
  bool ParameterTextForHost(int index, double normalized, char* text, int size);
  // Any thread: recalls preset index (the current one is kept first when the plug-in has
  // no chunks), or renames the current one (cut to IProgram::kNameSize - 1 characters).
  void SelectProgramFromHost(int index);
  void RenameProgramFromHost(const char* name);
  // Any thread, the audio thread too (it allocates nothing and calls no one): makes
  // program index the current one without recalling it, for a host that sets the
  // program's values itself (as changes in a block, or with a state it loads), so that
  // the state saved next carries it. An index that is not a program changes nothing.
  void SetCurrentProgramFromHost(int index);
  // Any thread: the current program's index, and the name of program index (false,
  // empty text, for one that does not exist).
  int CurrentProgramForHost();
  bool ProgramNameForHost(int index, char* text, int size);
  // Main thread (it allocates): sets every parameter to factory program index as the
  // product defines it (not as the instance's program slots hold it now), all under one
  // lock so audio sees all of its values or none. False, nothing changed, for an index
  // that is not a factory program or a plug-in not made from an IPlugInfo.
  bool LoadFactoryProgramFromHost(int index);
  // Main thread (it allocates), no lock: how many factory programs the product defines,
  // and program index as defined: its name (cut to size bytes) and the real value of
  // each of the first count parameters. False for an index that is not one, or a
  // plug-in not made from an IPlugInfo. For adapters whose host applies programs on the
  // audio thread, which must hold the values beforehand.
  int FactoryProgramCountForHost() const;
  bool FactoryProgramForHost(int index, char* name, int size, double* values, int count) const;
  // Any thread: the name of MIDI note (GetNoteName); false and the empty text for none.
  bool NoteNameForHost(int note, char* text, int size);
  // Main thread, never during a block: the host connects the first count inputs (or
  // outputs) and leaves the others unconnected; count is clipped to the channels there are.
  void ConnectInputsFromHost(int count);
  void ConnectOutputsFromHost(int count);
  // Any thread, not during a block: clears the processing's memory (ResetProcessing).
  void ResetFromHost();
  // Any thread: the state as a host stores it: header, then WriteState; a bank also keeps
  // the current program first. Answers the size and sets *data to bytes owned by the
  // plug-in, which stay as they are until the next SaveStateForHost of the same kind
  // (program or bank) and are freed with the plug-in; LoadStateFromHost never touches
  // them. 0 on failure. Adapters hand them on before returning to the host (CLAP, LV2)
  // or give the host the pointer, which it reads before asking again (VST 2.4).
  int SaveStateForHost(bool bank, const void** data);
  // Any thread: restores what SaveStateForHost wrote (the bytes are copied first, so
  // the host's may be the plug-in's own from a save). A state that cannot be read leaves
  // the parameters as they were (false); the editor is told the values read.
  bool LoadStateFromHost(bool bank, const void* data, long long size);
  // Audio thread: one block of host buffers (one per channel; null arrays or no frames
  // do nothing). Marks the thread as an audio thread, runs under the lock, then hands
  // queued MIDI to the host. Allocates nothing.
  void ProcessFloatFromHost(float** inputs, float** outputs, int frames);
  void ProcessDoubleFromHost(double** inputs, double** outputs, int frames);
  // Audio thread: frames start ... end - 1 of a block of host buffers, with parameter
  // changes that take effect at their frames (sample-accurate automation): each is set,
  // as SetParameterFromHost sets it, just before the frame it names is processed. The
  // changes come in frame order; a frame before the previous change's counts as that one's,
  // one at or past end as end (the change is set after the last frame). Every change is
  // set even when there is nothing to process. One lock for the whole call; allocates nothing.
  void ProcessFloatFromHost(float** inputs, float** outputs, int start, int end, const IParameterChange* changes,
                            int count);
  void ProcessDoubleFromHost(double** inputs, double** outputs, int start, int end, const IParameterChange* changes,
                             int count);
  // Audio thread: MIDI from the host, every message handled (HandleMidiMessage) under
  // one lock; what the plug-in sends back reaches the host after it, with the lock free.
  void ProcessMidiFromHost(const MidiMessage* messages, int count);
  // The caller's thread, lock free: hands the queued MIDI messages to the host.
  void FlushMidiToHost();

  // GUI thread, never under the lock (debug builds assert it): the editor opens in the
  // host's window parent (false when it could not), closes, is hidden or shown again,
  // gets an idle call, or a key the host forwards.
  bool OpenEditorFromHost(void* parent);
  void CloseEditorFromHost();
  void ShowEditorFromHost(bool show);
  void EditorIdleFromHost();
  bool EditorKeyFromHost(const IKeyPress& key, bool down);

  // Any thread, lock free: TailSamples() as it was after the last change made through the
  // calls above (0 until the host opens the plug-in).
  int TailSamplesForHost() const { return mTailSamples.load(std::memory_order_relaxed); }

  // Whether the host's last sample rate was one a plug-in can run at (finite and
  // positive). The base keeps its previous rate when it is not; products go quiet
  // on whatever depends on the rate.
  bool HostSampleRateUsable() const { return mHostSampleRateUsable; }
  bool HostSetupDone() const { return mHostSetupDone; }

  // ---- Identity ----
  const char* EffectName() const { return mEffectName; }
  const char* ProductName() const { return mProductName; }
  const char* VendorName() const { return mVendorName; }
  int UniqueID() const { return mUniqueID; }
  int MfrID() const { return mMfrID; }
  int HostKind() const { return mHostKind; }
  int HostVersion() const { return mHostVersion; }
  bool DoesChunks() const { return mDoesChunks; }
  bool DoesMidi() const { return mDoesMidi; }
  bool IsInstrument() const { return mIsInstrument; }
  int Latency() const { return mLatency; }
  double SampleRate() const { return mSampleRate; }
  int BlockSize() const { return mBlockSize; }
  IGraphics* Editor() const { return mEditor; }
  IPlugLock& Lock() { return mLock; }

  // Stores the host's identity: HostKind from the product string, and its packed version.
  void SetHost(const char* productString, int version);
  // The version word, or its decimal form (major * 100 + minor) * 100 + revision.
  int EffectVersion(bool decimal) const;
  void EffectVersionText(char* out, int outSize) const;

  // ---- Parameters ----
  int ParameterCount() const override { return mParams.GetSize(); }
  IParameter* ParameterAt(int index) const override { return mParams.Get(index); }
  // Ignores rates that are not finite and positive.
  void SetSampleRateHz(double rate);
  // GUI thread: the only way an editor control changes a parameter. Sets it and runs the
  // hook under the lock, then tells the host with the lock free.
  void SetParameterFromGUI(int index, double normalized) override;
  void NotifyAllParametersChanged();
  void PushAllParametersToEditor();

  // ---- Channels ----
  int ChannelConfigCount() const { return mChannelConfigs.GetSize(); }
  const IChannelConfig* ChannelConfigAt(int index) const { return mChannelConfigs.Get(index); }
  // True when a configuration matches; a negative count matches any.
  bool LegalIO(int nInputs, int nOutputs) const;
  int InputChannelCount() const { return mInChannels.GetSize(); }
  int OutputChannelCount() const { return mOutChannels.GetSize(); }

  // Connect or disconnect the channels start ... start + count - 1 that exist. Under the
  // lock (Connect...FromHost take it), or while no host has the plug-in yet; never
  // during a block.
  void SetInputsConnected(int start, int count, bool connected);
  void SetOutputsConnected(int start, int count, bool connected);
  bool IsInputConnected(int index) const;
  bool IsOutputConnected(int index) const;

  // Per block, under the lock: attach inputs, attach outputs, run. Each connected channel
  // takes the next host buffer; unconnected inputs read silence and unconnected outputs are
  // dropped. A run longer than the block size is processed in sub-blocks of at most the
  // block size; a run of frames <= 0 does nothing. Nothing here allocates.
  void AttachInputsDouble(int start, int count, double** buffers);
  void AttachInputsFloat(int start, int count, float** buffers, int frames);
  void AttachOutputsDouble(int start, int count, double** buffers);
  void AttachOutputsFloat(int start, int count, float** buffers);
  void RunBlockDouble(int frames);
  void RunBlockFloat(int frames);
  // A 32-bit block from the host: the same as attaching all inputs and all outputs,
  // then RunBlockFloat, only quicker while every channel is connected.
  void RunHostBlockFloat(float** inputs, float** outputs, int frames);
  // Inputs from the third on become unconnected, outputs from the third on connected.
  void RestrictToTwoInputs();

  // ---- Presets and state ----
  bool WriteParams(IByteChunk& chunk);
  // Reads one double per parameter from startPos; answers the position after the last
  // value, or -1 (parameters unchanged) when the chunk holds too few bytes.
  int UnserializeParams(const IByteChunk& chunk, int startPos);
  // Fills the first free preset slot: name, then one value per parameter in index order.
  // Each value may be given as an integer or a floating-point number whatever the
  // parameter's kind; missing values take the parameter's current value, extra ones are ignored.
  template <class... Values>
  void DefinePreset(const char* name, Values... values)
  {
    const double list[] = {0.0, static_cast<double>(values)...};
    DefinePresetValues(name, list + 1, static_cast<int>(sizeof...(values)));
  }
  void DefinePresetValues(const char* name, const double* values, int count);
  // Fills up to count free slots with the current values, named name or "Default".
  void CapturePresets(const char* name, int count);
  void AddFallbackPreset();
  bool RecallPreset(int index);
  void UpdateCurrentPreset(const char* name);
  const char* PresetName(int index) const;
  void NextUserPresetName(char* out, int outSize) const;
  IProgram* FirstFreePreset() const;
  int PresetCount() const { return mPresets.GetSize(); }
  IProgram* PresetAt(int index) const { return mPresets.Get(index); }
  int CurrentPreset() const { return mCurrentPreset; }

private:
  struct InputChannel;
  struct OutputChannel;

  void ParseChannelIOString(const char* channelIOStr, int* maxIn, int* maxOut);
  void PrepareSubBlock(bool floatPath, int offset, int frames);
  void FinishSubBlockFloat(int offset, int frames);
  // Offers the sub-block at offset to ProcessBlockFloat; true when it was processed.
  bool ProcessSubBlockFloat(int offset, int frames);
  void SilenceOutputs(bool floatPath, int frames);
  void RunBlock(bool floatPath, int frames);
  // Whether every input and output channel is connected (none are without channels).
  bool EveryChannelConnected() const;
  // SetParameterFromHost with the lock already held.
  bool SetParameterLocked(int index, double value, bool isNormalized);
  // Debug builds: the calling thread does not hold the lock (it is about to call the host
  // or the window system).
  void AssertLockFree() const;
  // Lock free, before a block takes the lock: the host's transport.
  void ReadTransport(ITransport* transport);
  // Under the lock: keeps TailSamples() for TailSamplesForHost.
  void RefreshTail();
  int ConnectedChannelCount(bool inputs) const;
  // frames frames of the host buffers from start on, as one block.
  void RunHostSegment(float** inputs, float** outputs, int start, int frames);
  void RunHostSegment(double** inputs, double** outputs, int start, int frames);
  // The audio thread's protocol around a block: the transport read with the lock free,
  // body under the lock, then the MIDI the block queued handed to the host.
  template <class Body>
  void ProcessUnderLock(Body&& body);
  // Whether frames start ... end - 1 of the host's arrays can be processed.
  template <class Sample>
  bool HostBlockUsable(Sample** inputs, Sample** outputs, int start, int end) const;
  // Under the lock: the segments between the changes, each change set between them.
  template <class Sample>
  void RunWithChanges(Sample** inputs, Sample** outputs, int start, int end, const IParameterChange* changes,
                      int count);

  PointerList<IChannelConfig> mChannelConfigs;
  char mEffectName[kNameSize];
  char mProductName[kNameSize];
  char mVendorName[kNameSize];
  int mUniqueID;
  int mMfrID;
  int mVersion;
  int mHostKind = -1;
  int mHostVersion = 0;
  bool mDoesChunks;
  bool mDoesMidi;
  bool mIsInstrument;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mAttachedInputFrames = 0; // frames of the 32-bit inputs attached for this block
  bool mAllConnected = false;   // EveryChannelConnected(), kept by the Set...Connected calls
  int mLatency;
  PointerList<IParameter> mParams;
  IGraphics* mEditor = nullptr;
  PointerList<IProgram> mPresets;
  int mCurrentPreset = 0;
  GrowBuffer mInData;  // double* per input channel, handed to ProcessBlock
  GrowBuffer mOutData; // double* per output channel
  GrowBuffer mInFloatData;  // const float* per input channel, handed to ProcessBlockFloat
  GrowBuffer mOutFloatData; // float* per output channel
  // The host's buffers from a segment's first frame on: inputs, then outputs.
  std::vector<float*> mSegmentFloat;
  std::vector<double*> mSegmentDouble;
  std::atomic<int> mTailSamples{0};
  PointerList<InputChannel> mInChannels;
  PointerList<OutputChannel> mOutChannels;
  IPlugLock mLock;
  IPlugHostCalls* mHostCalls = nullptr;
  bool mHostSampleRateUsable = true;
  bool mHostSetupDone = false;
  IByteChunk mProgramChunk; // the state last handed to the host, per kind
  IByteChunk mBankChunk;
  IByteChunk mLoadChunk;    // a state from the host, while it is read
  // The description the plug-in was made from, for its factory programs (null without).
  const IPlugInfo* mInfo = nullptr;
  bool mReadsTransport = false;
  ITransport mTransportRead; // as read from the host before a block, audio thread only
  ITransport mTransport;     // the current block's, written under the lock
  // MIDI for the host, filled under the lock and handed over once it is free.
  MidiMessage mMidiOut[kMidiOutCapacity];
  int mMidiOutCount = 0;
};
